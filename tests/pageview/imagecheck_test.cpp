// Which image files a page may hand to the platform's decoders: the five
// formats by their signatures, and bitmaps and icons only when what their
// headers claim lies inside the file and agrees with itself.

#include "pageview/imagecheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace hv::html {
namespace {

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}
void Put16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v));
  s.push_back(static_cast<char>(v >> 8));
}
void Set32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// A bitmap info header and its pixels (all zero), `rows` rows of `width`.
std::string InfoAndPixels(int32_t width, int32_t height, uint16_t bits, uint32_t rows, bool mask) {
  std::string s;
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(width));
  Put32(s, static_cast<uint32_t>(height));
  Put16(s, 1);
  Put16(s, bits);
  for (int i = 0; i < 6; ++i) Put32(s, 0);
  if (bits <= 8) s.append(4u << bits, '\0');
  const size_t row = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  s.append(row * rows, '\0');
  if (mask) s.append((static_cast<size_t>(width) + 31) / 32 * 4 * rows, '\0');
  return s;
}

std::string Bmp(int32_t width, int32_t height, uint16_t bits) {
  const std::string info = InfoAndPixels(width, height, bits, static_cast<uint32_t>(height < 0 ? -height : height), false);
  std::string s = "BM";
  Put32(s, static_cast<uint32_t>(14 + info.size()));
  Put32(s, 0);
  Put32(s, static_cast<uint32_t>(14 + 40 + (bits <= 8 ? 4u << bits : 0u)));
  return s + info;
}

std::string Ico(uint8_t entryWidth, uint8_t entryHeight, const std::string& image) {
  std::string s;
  Put16(s, 0);
  Put16(s, 1);
  Put16(s, 1);
  s.push_back(static_cast<char>(entryWidth));
  s.push_back(static_cast<char>(entryHeight));
  s.append(2, '\0');
  Put16(s, 1);
  Put16(s, 32);
  Put32(s, static_cast<uint32_t>(image.size()));
  Put32(s, 22);
  return s + image;
}

std::string PngHead(uint32_t width, uint32_t height) {
  std::string s("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
  for (uint32_t v : {width, height})
    for (int i = 3; i >= 0; --i) s.push_back(static_cast<char>(v >> (8 * i)));
  return s + std::string("\x08\x06\0\0\0", 5);
}

TEST(PageImageCheckTest, TheFiveFormatsByTheirSignatures) {
  EXPECT_EQ(CheckPageImage(PngHead(3, 3)), PageImageFormat::Png);
  EXPECT_EQ(CheckPageImage(std::string("GIF89a\x01\0\x01\0\x80\0\0" "\0\0\0\xFF\xFF\xFF" ",\0\0\0\0\x01\0\x01\0\0", 29)),
            PageImageFormat::Gif);
  EXPECT_EQ(CheckPageImage("\xFF\xD8\xFF\xE0"), PageImageFormat::Jpeg);
  EXPECT_EQ(CheckPageImage(Bmp(5, 3, 24)), PageImageFormat::Bmp);
  EXPECT_EQ(CheckPageImage(Ico(4, 4, InfoAndPixels(4, 8, 32, 4, true))), PageImageFormat::Ico);
  EXPECT_EQ(CheckPageImage("II*\0\x08\0\0\0"), PageImageFormat::None) << "TIFF is no page's format";
  EXPECT_EQ(CheckPageImage("GIF90a"), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage("<html>"), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage(""), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage("BM"), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage(std::string("\0\0\1\0", 4)), PageImageFormat::None);
}

TEST(PageImageCheckTest, GifsWhoseFirstPictureHasColours) {
  const std::string screen("GIF89a\x0D\0\x09\0", 10);
  const std::string global("\x80\0\0", 3);  // a table of two colours, for the whole file
  const std::string table("\0\0\0\xFF\xFF\xFF", 6);
  const std::string control("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);
  auto picture = [](bool local) {
    return std::string(",\0\0\0\0\x0D\0\x09\0", 9) + (local ? std::string("\x80\0\0\0\xFF\xFF\xFF", 7) : std::string(1, '\0')) +
           std::string("\x02\x01\x44\0;", 5);
  };
  EXPECT_EQ(CheckPageImage(screen + global + table + control + picture(false)), PageImageFormat::Gif);
  EXPECT_EQ(CheckPageImage(screen + std::string("\0\0\0", 3) + control + picture(true)), PageImageFormat::Gif)
      << "a table of the picture's own";
  EXPECT_EQ(CheckPageImage(screen + std::string("\0\0\0", 3) + control + picture(false)), PageImageFormat::None)
      << "no colours at all";
  EXPECT_EQ(CheckPageImage(screen + global + table + control), PageImageFormat::None) << "no picture";
  EXPECT_EQ(CheckPageImage(screen + global + table.substr(0, 3)), PageImageFormat::None) << "cut in the table";
  EXPECT_EQ(CheckPageImage(screen + global + table + "\x21\xF9\x04\x00"), PageImageFormat::None)
      << "cut in an extension";
  EXPECT_EQ(CheckPageImage(screen + global + table + "!"), PageImageFormat::None);
}

TEST(PageImageCheckTest, BitmapsWhosePixelsAreAllThere) {
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) EXPECT_EQ(CheckPageImage(Bmp(7, 5, bits)), PageImageFormat::Bmp) << bits;
  EXPECT_EQ(CheckPageImage(Bmp(7, -5, 24)), PageImageFormat::Bmp) << "top-down";

  std::string cut = Bmp(7, 5, 24);
  cut.pop_back();
  EXPECT_EQ(CheckPageImage(cut), PageImageFormat::None) << "the last row is short";
  std::string tall = Bmp(7, 5, 24);
  Set32(tall, 22, 0x08000020);
  EXPECT_EQ(CheckPageImage(tall), PageImageFormat::None);
  std::string odd = Bmp(7, 5, 24);
  odd[28] = 7;
  EXPECT_EQ(CheckPageImage(odd), PageImageFormat::None) << "7 bits a pixel";
  std::string far = Bmp(7, 5, 24);
  Set32(far, 10, 0x7FFFFFFF);
  EXPECT_EQ(CheckPageImage(far), PageImageFormat::None) << "pixels past the end";
  std::string zero = Bmp(7, 5, 24);
  Set32(zero, 18, 0);
  EXPECT_EQ(CheckPageImage(zero), PageImageFormat::None);
  std::string palette = Bmp(7, 5, 8);
  Set32(palette, 14 + 32, 257);
  EXPECT_EQ(CheckPageImage(palette), PageImageFormat::None) << "more colours than 8 bits name";
  std::string rle = Bmp(7, 5, 8);
  Set32(rle, 14 + 16, 1);
  rle.resize(rle.size() - 5 * 8);
  rle += std::string("\0\1", 2);  // the end of the bitmap
  EXPECT_EQ(CheckPageImage(rle), PageImageFormat::Bmp) << "compressed runs may be shorter than the pixels";
}

TEST(PageImageCheckTest, IconsWhoseDirectoryAgreesWithTheirPictures) {
  EXPECT_EQ(CheckPageImage(Ico(16, 16, InfoAndPixels(16, 32, 8, 16, true))), PageImageFormat::Ico);
  EXPECT_EQ(CheckPageImage(Ico(0, 0, InfoAndPixels(256, 512, 32, 256, true))), PageImageFormat::Ico) << "0 is 256";
  EXPECT_EQ(CheckPageImage(Ico(16, 16, PngHead(16, 16))), PageImageFormat::Ico);
  EXPECT_EQ(CheckPageImage(Ico(0, 0, PngHead(512, 300))), PageImageFormat::Ico);

  // A bitmap taller than its entry says: decoders fill a buffer sized by
  // the entry with the bitmap's rows.
  std::string tall = Ico(16, 16, InfoAndPixels(16, 32, 32, 16, true));
  Set32(tall, 22 + 8, 0x08000020);
  EXPECT_EQ(CheckPageImage(tall), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage(Ico(16, 16, InfoAndPixels(16, 64, 32, 32, true))), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage(Ico(16, 16, InfoAndPixels(8, 32, 32, 16, true))), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage(Ico(16, 16, PngHead(32, 16))), PageImageFormat::None);
  EXPECT_EQ(CheckPageImage(Ico(16, 16, InfoAndPixels(16, 32, 32, 16, false))), PageImageFormat::None) << "no mask";

  std::string beyond = Ico(16, 16, InfoAndPixels(16, 32, 32, 16, true));
  Set32(beyond, 6 + 8, static_cast<uint32_t>(beyond.size()));
  EXPECT_EQ(CheckPageImage(beyond), PageImageFormat::None) << "the picture runs past the file";
  std::string many = Ico(16, 16, InfoAndPixels(16, 32, 32, 16, true));
  many[4] = 100;
  EXPECT_EQ(CheckPageImage(many), PageImageFormat::None) << "entries past the file";
  std::string none = Ico(16, 16, InfoAndPixels(16, 32, 32, 16, true));
  none[4] = 0;
  EXPECT_EQ(CheckPageImage(none), PageImageFormat::None);
}

}  // namespace
}  // namespace hv::html
