#include "framework/bmpcodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/sysutils.h"

namespace hv {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An info header (40 bytes) with the given fields.
std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, int bits, uint32_t compression,
                                uint32_t colorsUsed = 0) {
  std::vector<uint8_t> h;
  Put32(h, 40);
  Put32(h, static_cast<uint32_t>(width));
  Put32(h, static_cast<uint32_t>(height));
  Put16(h, 1);
  Put16(h, static_cast<uint32_t>(bits));
  Put32(h, compression);
  Put32(h, 0);
  Put32(h, 0);
  Put32(h, 0);
  Put32(h, colorsUsed);
  Put32(h, 0);
  return h;
}

// A file around a DIB whose pixels start right after `headers`.
std::vector<uint8_t> File(const std::vector<uint8_t>& headers, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> f{'B', 'M'};
  Put32(f, static_cast<uint32_t>(14 + headers.size() + pixels.size()));
  Put32(f, 0);
  Put32(f, static_cast<uint32_t>(14 + headers.size()));
  f.insert(f.end(), headers.begin(), headers.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

TEST(BmpCodecTest, BottomUpRowsComeOutTopFirst) {
  // 2x2, 24 bits: the first stored row is the bottom one.
  std::vector<uint8_t> pixels{1, 2, 3, 4,  5,  6,  0, 0,  // bottom row, padded
                              7, 8, 9, 10, 11, 12, 0, 0};
  TDibImage image = DecodeBmpFile(File(InfoHeader(2, 2, 24, 0), pixels));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.bitCount, 24);
  EXPECT_TRUE(image.palette.empty());
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0}));

  // Negative height: stored top row first.
  TDibImage topDown = DecodeBmpFile(File(InfoHeader(2, -2, 24, 0), pixels));
  EXPECT_EQ(topDown.pixels, pixels);
}

TEST(BmpCodecTest, ColourTablesShortFullAndCore) {
  // 1 bit, 9 pixels wide: a table of two colours and 4-byte rows.
  std::vector<uint8_t> headers = InfoHeader(9, 1, 1, 0);
  Put32(headers, 0x00112233);
  Put32(headers, 0x00445566);
  TDibImage mono = DecodeBmpFile(File(headers, {0xAA, 0x80, 0, 0}));
  EXPECT_EQ(mono.palette, (std::vector<uint32_t>{0x112233, 0x445566}));
  EXPECT_EQ(mono.Stride(), 4);
  EXPECT_EQ(mono.pixels, (std::vector<uint8_t>{0xAA, 0x80, 0, 0}));

  // 8 bits with only three colours used: the table is padded to 256.
  headers = InfoHeader(1, 1, 8, 0, 3);
  Put32(headers, 0x00010203);
  Put32(headers, 0x00040506);
  Put32(headers, 0x000708FF);
  TDibImage eight = DecodeBmpFile(File(headers, {2, 0, 0, 0}));
  ASSERT_EQ(eight.palette.size(), 256u);
  EXPECT_EQ(eight.palette[2], 0x0708FFu);
  EXPECT_EQ(eight.palette[3], 0u);
  EXPECT_EQ(eight.pixels[0], 2);

  // An old core header: 16-bit sizes and three-byte table entries.
  std::vector<uint8_t> core;
  Put32(core, 12);
  Put16(core, 2);
  Put16(core, 1);
  Put16(core, 1);
  Put16(core, 1);
  core.insert(core.end(), {0x33, 0x22, 0x11, 0x66, 0x55, 0x44});
  TDibImage old = DecodeBmpFile(File(core, {0x40, 0, 0, 0}));
  EXPECT_EQ(old.width, 2);
  EXPECT_EQ(old.palette, (std::vector<uint32_t>{0x112233, 0x445566}));

  // A packed DIB (as resources hold it) has no file header.
  TDibImage packed = DecodePackedDib([&] {
    std::vector<uint8_t> dib = InfoHeader(9, 1, 1, 0);
    Put32(dib, 0x00112233);
    Put32(dib, 0x00445566);
    dib.insert(dib.end(), {0xAA, 0x80, 0, 0});
    return dib;
  }());
  EXPECT_EQ(packed.pixels, mono.pixels);
}

TEST(BmpCodecTest, BitFieldsAndSixteenBitImagesBecomeEightBitChannels) {
  // 5-6-5: pure red, pure green, pure blue and white.
  std::vector<uint8_t> headers = InfoHeader(4, 1, 16, 3);
  Put32(headers, 0xF800);
  Put32(headers, 0x07E0);
  Put32(headers, 0x001F);
  std::vector<uint8_t> pixels;
  for (uint32_t p : {0xF800u, 0x07E0u, 0x001Fu, 0xFFFFu}) Put16(pixels, p);
  TDibImage image = DecodeBmpFile(File(headers, pixels));
  EXPECT_EQ(image.bitCount, 24);
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));

  // Plain 16 bits are 5-5-5.
  pixels.clear();
  Put16(pixels, 0x7C00);
  Put16(pixels, 0x0010);
  TDibImage plain = DecodeBmpFile(File(InfoHeader(2, 1, 16, 0), pixels));
  EXPECT_EQ(plain.pixels, (std::vector<uint8_t>{0, 0, 255, 131, 0, 0, 0, 0}));

  // 32 bits with the masks in an unusual order are rearranged.
  headers = InfoHeader(1, 1, 32, 3);
  Put32(headers, 0x000000FF);
  Put32(headers, 0x0000FF00);
  Put32(headers, 0x00FF0000);
  TDibImage swapped = DecodeBmpFile(File(headers, {0x10, 0x20, 0x30, 0x40}));
  EXPECT_EQ(swapped.bitCount, 32);
  EXPECT_EQ(swapped.pixels, (std::vector<uint8_t>{0x30, 0x20, 0x10, 0}));
}

TEST(BmpCodecTest, RunLengthEncodedImages) {
  // RLE8, 4x3: a run, end of line, a delta over one row, an absolute run.
  std::vector<uint8_t> headers = InfoHeader(4, 3, 8, 1);
  for (int i = 0; i < 256; ++i) Put32(headers, 0);
  std::vector<uint8_t> data{3, 7,              // bottom row: 7 7 7
                            0, 0,              // end of line
                            0, 2, 1, 1,        // delta: right one, up one (to the top row)
                            0, 3, 1, 2, 3, 0,  // absolute: 1 2 3, padded to a word
                            0, 1};             // end of bitmap
  TDibImage rle8 = DecodeBmpFile(File(headers, data));
  EXPECT_EQ(rle8.bitCount, 8);
  EXPECT_EQ(rle8.pixels, (std::vector<uint8_t>{0, 1, 2, 3, 0, 0, 0, 0, 7, 7, 7, 0}));

  // RLE4, 5x1: a run alternating two nibbles, then an absolute run of three.
  headers = InfoHeader(5, 1, 4, 2);
  for (int i = 0; i < 16; ++i) Put32(headers, 0);
  TDibImage rle4 = DecodeBmpFile(File(headers, {2, 0x12, 0, 3, 0xAB, 0xC0, 0, 1}));
  EXPECT_EQ(rle4.pixels, (std::vector<uint8_t>{0x12, 0xAB, 0xC0, 0}));

  // Runs past the right edge are cut off, not written elsewhere.
  headers = InfoHeader(2, 2, 8, 1);
  for (int i = 0; i < 256; ++i) Put32(headers, 0);
  TDibImage clipped = DecodeBmpFile(File(headers, {5, 9, 0, 0, 1, 4, 0, 1}));
  EXPECT_EQ(clipped.pixels, (std::vector<uint8_t>{4, 0, 0, 0, 9, 9, 0, 0}));

  // An absolute run that the data cannot hold is an error.
  EXPECT_THROW(DecodeBmpFile(File(headers, {0, 9, 1, 2})), EInvalidGraphic);
}

TEST(BmpCodecTest, BadInputIsRefused) {
  std::vector<uint8_t> pixels(16, 0);
  EXPECT_THROW(DecodeBmpFile({}), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(std::vector<uint8_t>{'B', 'M', 0}), EInvalidGraphic);
  std::vector<uint8_t> wrongMagic = File(InfoHeader(2, 2, 24, 0), pixels);
  wrongMagic[0] = 'X';
  EXPECT_THROW(DecodeBmpFile(wrongMagic), EInvalidGraphic);
  // Truncated pixels, bad sizes, bit counts and compressions.
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, 2, 24, 0), std::vector<uint8_t>(15, 0))), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(0, 2, 24, 0), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, 0, 24, 0), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(-2, 2, 24, 0), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, INT32_MIN, 24, 0), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, 2, 7, 0), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, 2, 24, 4), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, -2, 8, 1), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, 2, 8, 0, 70000), pixels)), EInvalidGraphic);
  // A forged size is refused before anything is allocated for it.
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(30000, 30000, 32, 0), pixels)), EInvalidGraphic);
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(40000, 1, 8, 1), pixels)), EInvalidGraphic);
  // A truncated colour table.
  EXPECT_THROW(DecodeBmpFile(File(InfoHeader(2, 2, 8, 0), {1, 2, 3})), EInvalidGraphic);
  // An unknown header size.
  std::vector<uint8_t> odd = InfoHeader(2, 2, 24, 0);
  odd[0] = 20;
  EXPECT_THROW(DecodePackedDib(odd), EInvalidGraphic);
}

TEST(BmpCodecTest, EncodedFilesDecodeToTheSameImage) {
  for (int bits : {1, 4, 8, 24, 32}) {
    TDibImage image;
    image.width = 7;
    image.height = 3;
    image.bitCount = bits;
    if (bits <= 8)
      for (uint32_t i = 0; i < (1u << bits); ++i) image.palette.push_back(i * 0x010101u);
    image.pixels.resize(static_cast<size_t>(image.Stride()) * 3);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + bits);
    std::vector<uint8_t> file = EncodeBmpFile(image);
    TDibImage back = DecodeBmpFile(file);
    EXPECT_EQ(back.width, 7);
    EXPECT_EQ(back.bitCount, bits);
    EXPECT_EQ(back.palette, image.palette);
    EXPECT_EQ(back.pixels, image.pixels) << bits;
  }
  TDibImage inconsistent;
  inconsistent.width = 2;
  inconsistent.height = 2;
  inconsistent.bitCount = 24;
  inconsistent.pixels.resize(3);
  EXPECT_THROW(EncodeBmpFile(inconsistent), EInvalidGraphic);
}

}  // namespace
}  // namespace hv
