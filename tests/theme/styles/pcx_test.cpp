#include "theme/styles/pcx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "framework/sysutils.h"
#include "tests/support/pixel_rows.h"

namespace hv {
namespace {

struct Header {
  uint8_t marker = 10;
  uint8_t version = 5;
  uint8_t encoding = 1;
  int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  uint8_t planes = 1;
  int bytesPerLine = 0;
};

std::vector<uint8_t> MakeHeader(const Header& h) {
  std::vector<uint8_t> out(kPcxHeaderSize, 0);
  auto word = [&](size_t at, int value) {
    out[at] = static_cast<uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  };
  out[0] = h.marker;
  out[1] = h.version;
  out[2] = h.encoding;
  out[3] = 8;
  word(4, h.xMin);
  word(6, h.yMin);
  word(8, h.xMax);
  word(10, h.yMax);
  out[65] = h.planes;
  word(66, h.bytesPerLine);
  return out;
}

// Palette entry i is (i, 255 - i, i ^ 0x5A), so every index has its own colour.
uint32_t TestColor(int i) { return (uint32_t(i) << 16) | (uint32_t(255 - i) << 8) | uint32_t(i ^ 0x5A); }

void AppendTestPalette(std::vector<uint8_t>& file) {
  file.push_back(12);
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = TestColor(i);
    file.push_back(uint8_t(c >> 16));
    file.push_back(uint8_t(c >> 8));
    file.push_back(uint8_t(c));
  }
}

std::vector<uint8_t> MakeFile(const Header& h, std::vector<uint8_t> data, bool palette = true) {
  std::vector<uint8_t> file = MakeHeader(h);
  file.insert(file.end(), data.begin(), data.end());
  if (palette) AppendTestPalette(file);
  return file;
}

uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

// The expected ARGB values of a decoded image's pixels.
#define EXPECT_IMAGE(image, ...) HV_EXPECT_PIXEL_ROWS(uint32_t, "pixel list", (image).Pixel(x, y), __VA_ARGS__)

PcxImage Decode(const std::vector<uint8_t>& file) {
  std::optional<PcxImage> image = DecodePcx(file);
  if (!image) throw Exception("not recognised as PCX");
  return std::move(*image);
}

TEST(PcxTest, RunLengthRules) {
  // 8 pixels wanted: a run of five, an empty run that still eats its value
  // byte, a literal, then a run of three cut to the two still wanted.
  const auto file = MakeFile({.xMax = 7, .bytesPerLine = 8}, {0xC5, 0x10, 0xC0, 0x77, 0x01, 0xC3, 0x09, 0x42});
  const PcxImage image = Decode(file);
  ASSERT_EQ(image.width, 8);
  ASSERT_EQ(image.height, 1);
  const std::vector<int> expected = {0x10, 0x10, 0x10, 0x10, 0x10, 0x01, 0x09, 0x09};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(image.Pixel(x, 0), Opaque(TestColor(expected[x]))) << x;
  EXPECT_EQ(image.dataBytesRead, 7u) << "decoding stops once every byte wanted is written";
}

TEST(PcxTest, LinePaddingAndPlanesAreDropped) {
  // Runs cross line ends; the padding byte of each 4-byte line is no pixel.
  // The run of 6s fills line 0's padding and line 1's first pixel.
  PcxImage runs = Decode(MakeFile({.xMax = 2, .yMax = 1, .bytesPerLine = 4}, {0xC3, 0x05, 0xC2, 0x06, 0xC3, 0x07}));
  EXPECT_EQ(runs.pixels, (std::vector<uint32_t>{Opaque(TestColor(5)), Opaque(TestColor(5)), Opaque(TestColor(5)),
                                                Opaque(TestColor(6)), Opaque(TestColor(7)), Opaque(TestColor(7))}));
  EXPECT_EQ(runs.dataBytesRead, 6u);

  // Raw lines, two planes of two bytes: only the first two bytes of each line.
  PcxImage raw = Decode(MakeFile({.encoding = 0, .xMax = 1, .yMax = 1, .planes = 2, .bytesPerLine = 2},
                                 {1, 2, 0x99, 0x99, 3, 4, 0x99, 0x99}));
  EXPECT_EQ(raw.pixels, (std::vector<uint32_t>{Opaque(TestColor(1)), Opaque(TestColor(2)), Opaque(TestColor(3)),
                                               Opaque(TestColor(4))}));
  EXPECT_EQ(raw.dataBytesRead, 8u);

  // The extent counts from Xmin/Ymin.
  PcxImage offset = Decode(MakeFile({.xMin = 10, .yMin = 20, .xMax = 12, .yMax = 21, .bytesPerLine = 4}, {0xC8, 3}));
  EXPECT_EQ(offset.width, 3);
  EXPECT_EQ(offset.height, 2);
}

TEST(PcxTest, VersionThreeUsesTheSystemPalette) {
  // No palette block: the file may be shorter than one, and whatever trails
  // the pixel data is never taken for colours.
  std::vector<uint8_t> file = MakeFile({.version = 3, .xMax = 3, .bytesPerLine = 4}, {7, 8, 15, 20}, false);
  PcxImage small = Decode(file);
  EXPECT_EQ(small.pixels, (std::vector<uint32_t>{0xFFC0C0C0u, 0xFF808080u, 0xFFFFFFFFu, 0xFF000000u}))
      << "index 20 lies outside the 16 colours";

  AppendTestPalette(file);
  PcxImage withTrailer = Decode(file);
  EXPECT_EQ(withTrailer.pixels, small.pixels);
}

TEST(PcxTest, MarkerDecidesWhetherItIsPcx) {
  std::vector<uint8_t> file = MakeFile({.xMax = 0, .bytesPerLine = 2}, {0x21, 0});
  EXPECT_TRUE(DecodePcx(file).has_value());
  file[0] = 205;
  ASSERT_TRUE(DecodePcx(file).has_value());
  EXPECT_EQ(DecodePcx(file)->Pixel(0, 0), Opaque(TestColor(0x21)));
  for (uint8_t other : {0, 9, 11, 0x42, 204, 206, 255}) {
    file[0] = other;
    EXPECT_FALSE(DecodePcx(file).has_value()) << int(other);
  }
  const std::vector<uint8_t> bmp = {'B', 'M'};
  EXPECT_THROW(DecodePcx(bmp), EReadError) << "the whole header is read before its first byte decides";
  std::vector<uint8_t> longBmp(kPcxHeaderSize, 0);
  longBmp[0] = 'B';
  EXPECT_FALSE(DecodePcx(longBmp).has_value());
}

TEST(PcxTest, DataEndingEarlyLeavesIndexZero) {
  // Without a palette block the data simply ends; a run missing its value
  // byte writes nothing.
  PcxImage v3 = Decode(MakeFile({.version = 3, .xMax = 9, .yMax = 1, .bytesPerLine = 10}, {0xC3, 0x0F, 0xC9}, false));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(v3.Pixel(x, 0), 0xFFFFFFFFu);
  for (int x = 3; x < 10; ++x) EXPECT_EQ(v3.Pixel(x, 0), 0xFF000000u) << x;
  for (int x = 0; x < 10; ++x) EXPECT_EQ(v3.Pixel(x, 1), 0xFF000000u) << x;
  EXPECT_EQ(v3.dataBytesRead, 3u);

  // With one, the palette block is read as pixel data too (its bytes are all
  // below 0xC0 here, one pixel each), then index 0 follows.
  std::vector<uint8_t> file = MakeFile({.xMax = 1999, .bytesPerLine = 2000}, {0xC2, 0x07}, false);
  std::vector<uint8_t> block = {12};
  for (int j = 0; j < 768; ++j) block.push_back(uint8_t(j % 0xC0));
  file.insert(file.end(), block.begin(), block.end());
  auto color = [&](int index) {
    return Opaque((block[1 + 3 * index] << 16) | (block[2 + 3 * index] << 8) | block[3 + 3 * index]);
  };
  const PcxImage v5 = Decode(file);
  EXPECT_IMAGE(v5, {0, 0, color(7)}, {1, 0, color(7)});
  for (int j = 0; j < 769; ++j) ASSERT_EQ(v5.Pixel(2 + j, 0), color(block[size_t(j)])) << j;
  for (int x = 2 + 769; x < 2000; ++x) ASSERT_EQ(v5.Pixel(x, 0), color(0)) << x;
  EXPECT_EQ(color(0), 0xFF000102u);
  EXPECT_EQ(v5.dataBytesRead, file.size() - kPcxHeaderSize);

  // Raw data that ends early.
  PcxImage raw =
      Decode(MakeFile({.version = 3, .encoding = 2, .xMax = 1, .yMax = 1, .bytesPerLine = 2}, {9, 10, 11}, false));
  EXPECT_EQ(raw.pixels, (std::vector<uint32_t>{Opaque(0xFF0000), Opaque(0x00FF00), Opaque(0xFFFF00), 0xFF000000u}));
  EXPECT_EQ(raw.dataBytesRead, 3u);
}

TEST(PcxTest, BrokenHeadersAreRefused) {
  auto message = [](const std::vector<uint8_t>& file) -> std::string {
    try {
      DecodePcx(file);
    } catch (const EInvalidGraphic& e) {
      return "invalid: " + e.Message();
    } catch (const EReadError& e) {
      return "read: " + e.Message();
    }
    return "accepted";
  };
  std::vector<uint8_t> shortHeader = MakeHeader({.xMax = 0, .bytesPerLine = 1});
  shortHeader.resize(127);
  EXPECT_EQ(message(shortHeader), "read: PCX image truncated: 127 bytes, the header alone takes 128");
  EXPECT_EQ(message({}), "read: PCX image truncated: 0 bytes, the header alone takes 128");

  EXPECT_EQ(message(MakeFile({.xMin = 5, .xMax = 4, .bytesPerLine = 2}, {})),
            "invalid: Invalid PCX image extent: (5, 0) to (4, 0)");
  EXPECT_EQ(message(MakeFile({.yMin = 1, .xMax = 4, .bytesPerLine = 6}, {})),
            "invalid: Invalid PCX image extent: (0, 1) to (4, 0)");
  EXPECT_EQ(message(MakeFile({.xMax = 9, .bytesPerLine = 9}, {})),
            "invalid: Invalid PCX image: lines of 9 bytes cannot hold 10 pixels (1 planes of 9 bytes)");
  EXPECT_EQ(message(MakeFile({.xMax = 9, .planes = 0, .bytesPerLine = 10}, {})),
            "invalid: Invalid PCX image: lines of 0 bytes cannot hold 10 pixels (0 planes of 10 bytes)");
  // 65536 x 65536 from a tiny file: refused before any allocation.
  EXPECT_EQ(message(MakeFile({.xMax = 0xFFFF, .yMax = 0xFFFF, .bytesPerLine = 0xFFFF}, {})),
            "invalid: PCX image too large: 65536 x 65536 pixels");
  EXPECT_EQ(message(MakeFile({.xMax = 4096, .yMax = 4095, .bytesPerLine = 4098}, {})),
            "invalid: PCX image too large: 4097 x 4096 pixels");
  EXPECT_EQ(message(MakeFile({.xMax = 4095, .yMax = 4095, .bytesPerLine = 4096}, {0xC1, 0})), "accepted")
      << "the limit itself is allowed";

  std::vector<uint8_t> noPalette = MakeFile({.xMax = 0, .bytesPerLine = 2}, {0x21, 0}, false);
  noPalette.resize(kPcxHeaderSize + kPcxPaletteBlockSize - 1);
  EXPECT_EQ(message(noPalette), "invalid: PCX image truncated: 896 bytes leave no room for the 769-byte palette block");
}

TEST(PcxTest, WriterProducesTheSkinFormat) {
  // Three pixels of index 5 plus the padding byte of an even line: one run,
  // then the padding as a literal.
  PcxIndexedImage odd{.width = 3, .height = 1, .indices = {5, 5, 5}};
  odd.palette[5] = 0x123456;
  std::vector<uint8_t> file = EncodePcx(odd);
  ASSERT_EQ(file.size(), kPcxHeaderSize + 3 + kPcxPaletteBlockSize);
  // Marker, version, run-length encoding, 8 bits; Xmax, Ymax; one plane.
  for (auto [at, value] : {std::pair{0, 10}, {1, 5}, {2, 1}, {3, 8}, {8, 2}, {10, 0}, {65, 1}})
    EXPECT_EQ(file[size_t(at)], value) << "header byte " << at;
  EXPECT_EQ(file[66] | (file[67] << 8), 4);
  EXPECT_EQ((std::vector<uint8_t>(file.begin() + 128, file.begin() + 131)), (std::vector<uint8_t>{0xC3, 5, 0}));
  EXPECT_EQ(file[131], 12);
  EXPECT_EQ(file[131 + 1 + 15], 0x12);
  EXPECT_EQ(file[131 + 1 + 16], 0x34);
  EXPECT_EQ(file[131 + 1 + 17], 0x56);

  // A single byte with both top bits set must go out as a run of one; runs
  // stop at 63 and at each line end.
  PcxIndexedImage runs{.width = 64, .height = 2, .indices = std::vector<uint8_t>(128, 0xC7)};
  runs.indices[64] = 0xBF;
  file = EncodePcx(runs);
  EXPECT_EQ((std::vector<uint8_t>(file.begin() + 128, file.end() - 769)),
            (std::vector<uint8_t>{0xFF, 0xC7, 0xC1, 0xC7, 0xBF, 0xFF, 0xC7}));
}

TEST(PcxTest, RoundTrips) {
  std::mt19937 random(1234);
  for (auto [w, h] : std::initializer_list<std::pair<int, int>>{{1, 1}, {3, 2}, {64, 3}, {127, 5}, {190, 372}}) {
    PcxIndexedImage source{.width = w, .height = h, .indices = std::vector<uint8_t>(size_t(w) * h)};
    // Mostly runs of random length, with scattered single values of every kind.
    for (size_t i = 0; i < source.indices.size();) {
      const uint8_t value = uint8_t(random());
      size_t run = random() % 4 == 0 ? 1 : random() % 150;
      for (; run > 0 && i < source.indices.size(); --run) source.indices[i++] = value;
    }
    for (int i = 0; i < 256; ++i) source.palette[size_t(i)] = TestColor(i);
    const std::vector<uint8_t> file = EncodePcx(source);
    const PcxImage decoded = Decode(file);
    ASSERT_EQ(decoded.width, w);
    ASSERT_EQ(decoded.height, h);
    EXPECT_EQ(decoded.dataBytesRead, file.size() - kPcxHeaderSize - kPcxPaletteBlockSize)
        << "the lines end where the palette block begins";
    for (size_t i = 0; i < source.indices.size(); ++i)
      ASSERT_EQ(decoded.pixels[i], Opaque(TestColor(source.indices[i]))) << w << "x" << h << " at " << i;
  }
}

TEST(PcxTest, OnlyAnUncutFileIsWhole) {
  PcxIndexedImage source{.width = 37, .height = 9, .indices = std::vector<uint8_t>(37 * 9)};
  for (size_t i = 0; i < source.indices.size(); ++i) source.indices[i] = uint8_t(i / 5 * 7);
  const std::vector<uint8_t> file = EncodePcx(source);
  ASSERT_TRUE(IsWholePcx(file));
  // Cut anywhere, from the first header byte to the last palette byte.
  for (size_t size = 0; size < file.size(); ++size)
    ASSERT_FALSE(IsWholePcx(std::span<const uint8_t>(file).first(size))) << size;
  std::vector<uint8_t> longer = file;
  longer.push_back(12);
  EXPECT_FALSE(IsWholePcx(longer)) << "a byte too many";
  std::vector<uint8_t> noMarker = file;
  noMarker[file.size() - kPcxPaletteBlockSize] = 0;
  EXPECT_FALSE(IsWholePcx(noMarker));
  std::vector<uint8_t> raw = file;
  raw[2] = 0;
  EXPECT_FALSE(IsWholePcx(raw)) << "the lines of a raw file would not end at the block";
  std::vector<uint8_t> taller = file;
  taller[10] = uint8_t(taller[10] + 1);
  EXPECT_FALSE(IsWholePcx(taller)) << "a header that claims another line";
  std::vector<uint8_t> noPcx = file;
  noPcx[0] = 'B';
  EXPECT_FALSE(IsWholePcx(noPcx));
  std::vector<uint8_t> inverted = file;
  inverted[8] = 0;
  inverted[9] = 0;
  inverted[4] = 5;
  EXPECT_FALSE(IsWholePcx(inverted)) << "an extent the reader refuses";
}

TEST(PcxTest, SkinDrawnInArgbKeepsItsKeyPixels) {
  // A 196 x 435 secondary skin as the generator draws it: ARGB with a
  // slightly-off magenta background and a pure one in the bottom-left corner,
  // the pixel Metal Luna keys it by.
  const int w = 196, h = 435;
  std::vector<uint32_t> argb(size_t(w) * h, 0xFFFE02FEu);
  for (int y = 10; y < 30; ++y)
    for (int x = 20; x < 60; ++x) argb[size_t(y) * w + x] = 0xFF3A6EA5u;
  argb[size_t(h - 1) * w] = 0xFFFF00FFu;
  argb[5] = 0x00F900FFu;  // alpha is not part of the colour
  const PcxIndexedImage indexed = IndexPcxColors(w, h, argb);
  EXPECT_EQ(indexed.palette[0], 0xFE02FEu) << "the first colour met becomes entry 0";
  EXPECT_EQ(indexed.palette[1], 0xF900FFu);
  EXPECT_EQ(indexed.palette[2], 0x3A6EA5u);
  EXPECT_EQ(indexed.palette[3], 0xFF00FFu);
  EXPECT_EQ(indexed.palette[4], 0u) << "unused entries stay black";

  const std::vector<uint8_t> file = EncodePcx(indexed);
  const PcxImage image = Decode(file);
  ASSERT_EQ(image.width, w);
  ASSERT_EQ(image.height, h);
  EXPECT_EQ(image.dataBytesRead, file.size() - kPcxHeaderSize - kPcxPaletteBlockSize);
  EXPECT_IMAGE(image, {0, 0, 0xFFFE02FEu}, {0, h - 1, 0xFFFF00FFu}, {5, 0, 0xFFF900FFu}, {20, 10, 0xFF3A6EA5u},
               {59, 29, 0xFF3A6EA5u}, {60, 29, 0xFFFE02FEu});
}

// Images written by the encoder (odd widths get a padding byte per line, so
// both the stream and the line-by-line decoder run), decoded whole, cut
// short and into a smaller view, on every pixel path.
TEST(PcxTest, DirectDecodeWritesThePaletteColoursOfEveryIndex) {
  std::mt19937 rng(5);
  for (const auto& size : {std::pair{1, 1}, {2, 3}, {7, 5}, {40, 9}, {33, 17}, {64, 8}}) {
    const int w = size.first, h = size.second;
    PcxIndexedImage source{.width = w, .height = h, .indices = {}};
    for (int i = 0; i < w * h; ++i) {
      if (w == 64) {
        // Runs and literal stretches of every length from 1 to past the
        // short-run limit on either side of it, at every alignment.
        const int x = i % 64, y = i / 64, length = 1 + (y * 3 + x / 16) % 21;
        const bool run = (x / 16) % 2 == 0;
        source.indices.push_back(static_cast<uint8_t>(run ? 200 + (x % 16) / length : (x * 7 + y) % 190));
        continue;
      }
      // Runs of a few values, and stray ones.
      source.indices.push_back(static_cast<uint8_t>(rng() % 3 == 0 ? rng() % 256 : (i / 5) % 4 + 190));
    }
    for (size_t i = 0; i < 256; ++i) source.palette[i] = (static_cast<uint32_t>(i) * 0x010305u) & 0xFFFFFFu;
    const std::vector<uint8_t> file = EncodePcx(source);
    const auto layout = ReadPcxLayout(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->lineSize, static_cast<uint32_t>(w + (w & 1)));
    PcxColorTable colors = ReadPcxColors(file, *layout);
    colors[0] = 0xFF0000EEu;  // what the data never reaches
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(PcxIndexAt(file, *layout, x, y), source.indices[static_cast<size_t>(y * w + x)]) << x << "," << y;

    // Cut inside the pixel data: the tail reads as index 0.
    for (size_t keep : {file.size(), kPcxHeaderSize + 3, kPcxHeaderSize}) {
      std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(keep));
      const size_t produced = [&] {
        // How many pixels the kept bytes give, by the plain rule.
        size_t in = kPcxHeaderSize, out = 0;
        const size_t wanted = size_t{layout->lineSize} * static_cast<size_t>(h);
        while (out < wanted && in < cut.size()) {
          const uint8_t b = cut[in++];
          if ((b & 0xC0) != 0xC0) {
            ++out;
          } else if (in < cut.size()) {
            ++in;
            out += b & 0x3F;
          } else {
            break;
          }
        }
        return std::min(out, wanted);
      }();
      for (TPixelPath path : {kppScalar, kppSse2, kppAvx2}) {
        std::vector<uint32_t> pixels(static_cast<size_t>(w * h), 0x12345678u);
        DecodePcxPixels(keep == file.size() ? std::span<const uint8_t>(file) : std::span<const uint8_t>(cut), *layout,
                        colors, {pixels.data(), w, h, w}, path);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const size_t at = static_cast<size_t>(y) * layout->lineSize + static_cast<size_t>(x);
            const uint8_t index = at < produced ? source.indices[static_cast<size_t>(y * w + x)] : 0;
            ASSERT_EQ(pixels[static_cast<size_t>(y * w + x)], colors[index])
                << w << "x" << h << " kept " << keep << " at " << x << "," << y << " path " << int{path};
          }
      }
    }

    // A view smaller than the image gets its part and nothing past it.
    if (w > 2 && h > 2) {
      std::vector<uint32_t> pixels(static_cast<size_t>((w + 1) * h), 0x12345678u);
      DecodePcxPixels(file, *layout, colors, {pixels.data(), w - 1, h - 1, w + 1});
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w + 1; ++x) {
          const uint32_t expected = x < w - 1 && y < h - 1 ? colors[source.indices[static_cast<size_t>(y * w + x)]]
                                                           : 0x12345678u;
          ASSERT_EQ(pixels[static_cast<size_t>(y * (w + 1) + x)], expected) << x << "," << y;
        }
    }
  }
}

TEST(PcxTest, KeyingThePaletteKeysEveryColourNearTheKey) {
  PcxColorTable colors{};
  for (size_t i = 0; i < 256; ++i) colors[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x01F3A7u & 0xFFFFFF);
  colors[3] = 0xFFFA05FBu;
  colors[4] = 0xFFF900FFu;
  colors[5] = 0xFFFF00FFu;
  const PcxColorTable keyed = KeyPcxColors(colors, 0xFFFF00FFu);
  EXPECT_EQ(keyed[3], kTransparentMarker);
  EXPECT_EQ(keyed[4], 0xFFF900FFu);
  EXPECT_EQ(keyed[5], kTransparentMarker);
  std::vector<uint32_t> pixels(colors.begin(), colors.end());
  MakeTransparentPixels({pixels.data(), 256, 1, 256}, 0xFFFF00FFu);
  EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), keyed.begin()));
}

TEST(PcxTest, WriterRefusesWhatItCannotWrite) {
  EXPECT_THROW(EncodePcx({.width = 0, .height = 1, .indices = {}}), EInvalidGraphic);
  EXPECT_THROW(EncodePcx({.width = 2, .height = 2, .indices = {1, 2, 3}}), EInvalidGraphic);
  EXPECT_THROW(EncodePcx({.width = 0xFFFF, .height = 1, .indices = std::vector<uint8_t>(0xFFFF)}), EInvalidGraphic)
      << "the padded line would not fit a word";
  EXPECT_THROW(IndexPcxColors(2, 2, std::vector<uint32_t>(3)), EInvalidGraphic);
  std::vector<uint32_t> many(257);
  for (uint32_t i = 0; i < many.size(); ++i) many[i] = 0xFF000000u | i;
  EXPECT_THROW(IndexPcxColors(257, 1, many), EInvalidGraphic);
  many.pop_back();
  const PcxIndexedImage full = IndexPcxColors(256, 1, many);
  EXPECT_EQ(full.indices[255], 255);
  EXPECT_EQ(full.palette[255], 255u);
}

}  // namespace
}  // namespace hv
