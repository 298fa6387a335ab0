// The four skin images as committed: their format, their key pixels, and the
// structure the skinned styles rely on when they cut pictures out of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "theme/styles/pcx.h"

namespace hv {
namespace {

struct Rect {
  int left, top, right, bottom;
};

struct Skin {
  const char* name;
  int width, height;
  int keyX, keyY;
  uint32_t key;  // 0xRRGGBB
  bool primary;
};

const Skin kSkins[] = {
    {"XP_MAIN", 190, 372, 0, 0, 0xFE02FE, true},
    {"XP_MAIN1", 196, 435, 0, 0, 0xFF01FF, false},
    {"XP_METAL_MAIN", 190, 372, 0, 0, 0xFF00FF, true},
    {"XP_METAL_MAIN1", 196, 435, 0, 434, 0xFF00FF, false},
};

std::vector<uint8_t> ReadSkinFile(const char* name) {
#ifdef _WIN32
  // Under Wine the source tree is reached through the drive that maps "/".
  const std::string path = std::string("Z:") + HV_SOURCE_DIR + "/resources/skins/" + name + ".pcx";
#else
  const std::string path = std::string(HV_SOURCE_DIR) + "/resources/skins/" + name + ".pcx";
#endif
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot open " << path;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Word(const std::vector<uint8_t>& file, size_t at) { return file[at] | (file[at + 1] << 8); }

// What the styles' keying replaces: every channel within 5 of the key.
bool NearKey(uint32_t argb, uint32_t key) {
  for (int shift : {16, 8, 0}) {
    const int a = int((argb >> shift) & 0xFF), b = int((key >> shift) & 0xFF);
    if (std::abs(a - b) > 5) return false;
  }
  return true;
}

// Rectangles copied or stretched without the key: frames, caption buttons and
// the edges and centres of nine-part pictures. One entry per picture edge set:
// the picture rectangle and the corner margin left out (0: the whole picture).
struct Opaque {
  Rect rect;
  int margin;
};

std::vector<Opaque> FrameAreas() {
  std::vector<Opaque> out = {
      {{0, 0, 66, 29}, 0},    {{0, 29, 3, 57}, 0},     {{63, 29, 66, 57}, 0},  {{0, 57, 62, 60}, 0},
      {{63, 57, 66, 60}, 0},  {{66, 0, 132, 19}, 0},   {{66, 19, 68, 49}, 0},  {{130, 19, 132, 49}, 0},
      {{66, 49, 129, 51}, 0}, {{130, 49, 132, 51}, 0}, {{66, 70, 108, 84}, 0},
  };
  for (int row = 70; row <= 280; row += 30) out.push_back({{0, row, 63, row + 21}, 0});
  return out;
}

std::vector<Opaque> PrimaryAreas() {
  std::vector<Opaque> out;
  for (int row : {100, 130, 160, 190, 220}) out.push_back({{70, row, 143, row + 21}, 4});
  for (auto [x, y] : {std::pair{89, 278}, {109, 278}, {89, 301}, {109, 301}})
    out.push_back({{x, y, x + 20, y + 23}, 4});
  for (int row : {278, 292, 306, 320}) out.push_back({{132, row, 146, row + 14}, 3});
  out.push_back({{151, 248, 166, 304}, 0});  // combo button faces
  out.push_back({{0, 310, 57, 367}, 0});     // menu-bar child buttons
  out.push_back({{60, 331, 128, 346}, 0});   // status bar
  return out;
}

std::vector<Opaque> SecondaryAreas() {
  std::vector<Opaque> out = {
      {{103, 101, 121, 173}, 0},                             // state boxes
      {{1, 305, 18, 373}, 0},                                // scroll thumb and button faces
      {{19, 305, 36, 322}, 0},                               // scroll tracks
      {{37, 305, 54, 322}, 0},   {{153, 344, 168, 362}, 0},  // panel
  };
  for (int row : {344, 365, 386})
    for (int col : {68, 89, 110, 131}) {
      // The selected tab is the narrower picture inside the top tab's cell.
      if (row == 386 && col == 68)
        out.push_back({{69, 386, 87, 407}, 4});
      else
        out.push_back({{col, row, col + 21, row + 21}, 4});
    }
  return out;
}

bool InCorner(int x, int y, const Opaque& area) {
  const Rect& r = area.rect;
  const int m = area.margin;
  const bool left = x < r.left + m, right = x >= r.right - m, top = y < r.top + m, bottom = y >= r.bottom - m;
  return (left || right) && (top || bottom);
}

// Keyed pictures whose top-left pixel lies outside the drawn shape.
std::vector<std::pair<int, int>> KeyedCorners(bool primary) {
  std::vector<std::pair<int, int>> out;
  if (primary) {
    for (int row : {100, 130, 160, 190, 220}) {
      out.insert(out.end(), {{70, row}, {142, row}, {70, row + 20}, {142, row + 20}});
    }
    for (int row = 102; row < 230; row += 16) out.insert(out.end(), {{152, row}, {167, row + 15}});
    for (int row = 102; row < 294; row += 16) out.insert(out.end(), {{171, row}, {186, row + 15}});
    for (auto [x, y] : {std::pair{89, 278}, {109, 278}, {89, 301}, {109, 301}})
      out.insert(out.end(), {{x, y}, {x + 19, y + 22}});
    for (int row : {278, 292, 306, 320}) out.insert(out.end(), {{132, row}, {145, row + 13}});
    for (int row : {32, 49, 66})
      for (int col : {134, 151, 168}) out.insert(out.end(), {{col, row}, {col + 16, row + 16}});
    for (int row : {314, 321, 328, 335}) out.push_back({155, row});
    out.insert(out.end(), {{69, 279}, {60, 313}, {65, 313}});  // size grip, a chevron's tip row
  } else {
    for (int row : {344, 365}) out.insert(out.end(), {{68, row}, {88, row}});  // top tabs
    out.insert(out.end(), {{69, 386}, {86, 386}, {68, 400}, {87, 400}});       // the selected one
    for (int row : {375, 384, 393, 402})
      for (int col : {2, 11, 20, 29}) out.push_back({col, row});
    for (int n = 0; n < 5; ++n) {
      out.insert(out.end(), {{80, 122 + 43 * n}, {129, 117 + 55 * n}, {129, 67 + 55 * n}, {174, 106 + 55 * n}});
    }
  }
  return out;
}

void PrintTo(const Skin& skin, std::ostream* out) { *out << skin.name; }

class SkinFileTest : public testing::TestWithParam<Skin> {};

TEST_P(SkinFileTest, HeaderAndDataLayout) {
  const Skin& skin = GetParam();
  const std::vector<uint8_t> file = ReadSkinFile(skin.name);
  ASSERT_GT(file.size(), kPcxHeaderSize + kPcxPaletteBlockSize);
  EXPECT_EQ(file[0], 10);
  EXPECT_EQ(file[1], 5) << "version";
  EXPECT_EQ(file[2], 1) << "run-length encoded";
  EXPECT_EQ(file[3], 8) << "bits per pixel";
  EXPECT_EQ(Word(file, 4), 0);
  EXPECT_EQ(Word(file, 6), 0);
  EXPECT_EQ(Word(file, 8), skin.width - 1);
  EXPECT_EQ(Word(file, 10), skin.height - 1);
  EXPECT_EQ(file[65], 1) << "planes";
  EXPECT_EQ(Word(file, 66), skin.width) << "bytes per line";
  EXPECT_EQ(file[file.size() - kPcxPaletteBlockSize], 12) << "palette marker";

  const std::optional<PcxImage> image = DecodePcx(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, skin.width);
  EXPECT_EQ(image->height, skin.height);
  EXPECT_EQ(image->dataBytesRead, file.size() - kPcxHeaderSize - kPcxPaletteBlockSize)
      << "the pixel data ends exactly where the palette block begins";
}

TEST_P(SkinFileTest, KeyPixelAndOpaquePictures) {
  const Skin& skin = GetParam();
  const std::optional<PcxImage> image = DecodePcx(ReadSkinFile(skin.name));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, skin.width);
  EXPECT_EQ(image->Pixel(skin.keyX, skin.keyY), 0xFF000000u | skin.key);

  std::vector<Opaque> areas = FrameAreas();
  const std::vector<Opaque> own = skin.primary ? PrimaryAreas() : SecondaryAreas();
  areas.insert(areas.end(), own.begin(), own.end());
  for (const Opaque& area : areas) {
    int keyed = 0;
    for (int y = area.rect.top; y < area.rect.bottom; ++y)
      for (int x = area.rect.left; x < area.rect.right; ++x) {
        if ((x == 0 && y == 0) || InCorner(x, y, area)) continue;  // (0, 0): the cut-away window corner
        if (NearKey(image->Pixel(x, y), skin.key)) ++keyed;
      }
    EXPECT_EQ(keyed, 0) << skin.name << " picture at " << area.rect.left << "," << area.rect.top;
  }
  // Where the frame's top-left corner is the key, the region cuts it away.
  EXPECT_TRUE(skin.keyY != 0 || NearKey(image->Pixel(0, 0), skin.key));
}

TEST_P(SkinFileTest, KeyedPicturesHaveKeyedCorners) {
  const Skin& skin = GetParam();
  const std::optional<PcxImage> image = DecodePcx(ReadSkinFile(skin.name));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, skin.width);
  for (auto [x, y] : KeyedCorners(skin.primary))
    EXPECT_TRUE(NearKey(image->Pixel(x, y), skin.key)) << skin.name << " at " << x << "," << y;
  // The keyed pictures are not empty: each radio and check picture, each
  // thumb and each arrow has pixels of its own.
  auto drawn = [&](Rect r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) count += !NearKey(image->Pixel(x, y), skin.key);
    return count;
  };
  if (skin.primary) {
    for (int row = 102; row < 230; row += 16) EXPECT_GT(drawn({152, row, 168, row + 16}), 60) << row;
    for (int row = 102; row < 294; row += 16) EXPECT_GT(drawn({171, row, 187, row + 16}), 60) << row;
    for (int row = 311; row < 329; row += 3) EXPECT_GE(drawn({60, row, 66, row + 3}), 10) << row;
  } else {
    for (int row = 375; row < 411; row += 9)
      for (int col : {2, 11, 20, 29}) EXPECT_GE(drawn({col, row, col + 9, row + 9}), 12) << col << "," << row;
    for (int n = 0; n < 5; ++n) EXPECT_GT(drawn({80, 100 + 43 * n, 91, 123 + 43 * n}), 200) << n;
  }
}

// Stretched edges repeat one line: the top edge of a nine-part picture is the
// same in every column it is stretched over, a side edge the same in every row
// (the side of the push button follows its vertical shading, so only the
// top and bottom edges and the status bar are compared column by column).
TEST_P(SkinFileTest, StretchedEdgesAreUniform) {
  const Skin& skin = GetParam();
  const std::optional<PcxImage> image = DecodePcx(ReadSkinFile(skin.name));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, skin.width);
  auto uniformRows = [&](Rect r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left + 1; x < r.right; ++x)
        if (image->Pixel(x, y) != image->Pixel(r.left, y)) return false;
    return true;
  };
  // Caption middles and bottom edges of both frames.
  EXPECT_TRUE(uniformRows({10, 0, 56, 29})) << skin.name;
  EXPECT_TRUE(uniformRows({3, 57, 62, 60})) << skin.name;
  EXPECT_TRUE(uniformRows({76, 0, 121, 19})) << skin.name;
  if (skin.primary) {
    for (int row : {100, 130, 160, 190, 220}) EXPECT_TRUE(uniformRows({74, row, 139, row + 21})) << row;
    EXPECT_TRUE(uniformRows({60, 331, 128, 346}));
  } else {
    EXPECT_TRUE(uniformRows({19, 305, 36, 322})) << "horizontal scroll track";
    for (int row : {305, 322, 339, 356}) EXPECT_TRUE(uniformRows({4, row, 15, row + 17})) << row;
  }
}

// Every state of an element has a picture of its own: normal, hot, pressed
// and disabled differ in more than a stray pixel.
TEST_P(SkinFileTest, StatesLookDifferent) {
  const Skin& skin = GetParam();
  const std::optional<PcxImage> image = DecodePcx(ReadSkinFile(skin.name));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, skin.width);
  // Pictures of size w x h at the given top-left corners, pairwise.
  auto allDiffer = [&](int w, int h, std::vector<std::pair<int, int>> at) {
    for (size_t i = 0; i < at.size(); ++i)
      for (size_t j = i + 1; j < at.size(); ++j) {
        int differing = 0;
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            differing +=
                image->Pixel(at[i].first + x, at[i].second + y) != image->Pixel(at[j].first + x, at[j].second + y);
        EXPECT_GT(differing, std::min(w, h) / 2) << skin.name << ": " << at[i].first << "," << at[i].second
                                                 << " against " << at[j].first << "," << at[j].second;
      }
  };
  for (int row = 70; row <= 280; row += 30) allDiffer(21, 21, {{0, row}, {21, row}, {42, row}});
  allDiffer(14, 14, {{66, 70}, {80, 70}, {94, 70}});
  if (skin.primary) {
    allDiffer(73, 21, {{70, 100}, {70, 130}, {70, 160}, {70, 190}, {70, 220}});
    for (int add : {0, 64}) allDiffer(16, 16, {{152, 102 + add}, {152, 118 + add}, {152, 134 + add}, {152, 150 + add}});
    for (int add : {0, 64, 128})
      allDiffer(16, 16, {{171, 102 + add}, {171, 118 + add}, {171, 134 + add}, {171, 150 + add}});
    allDiffer(15, 14, {{151, 248}, {151, 262}, {151, 276}, {151, 290}});
    allDiffer(10, 7, {{155, 314}, {155, 321}, {155, 328}, {155, 335}});
    allDiffer(14, 14, {{132, 278}, {132, 292}, {132, 306}, {132, 320}});
    allDiffer(20, 23, {{89, 278}, {109, 278}, {89, 301}, {109, 301}});
    for (int row : {32, 49, 66}) allDiffer(17, 17, {{134, row}, {151, row}, {168, row}});
    for (int col : {0, 19, 38}) allDiffer(19, 19, {{col, 310}, {col, 329}, {col, 348}});
  } else {
    allDiffer(17, 17, {{1, 305}, {1, 322}, {1, 339}, {1, 356}});
    for (int col : {2, 11, 20, 29}) allDiffer(9, 9, {{col, 375}, {col, 384}, {col, 393}, {col, 402}});
    for (int col : {68, 89, 110, 131}) allDiffer(21, 21, {{col, 344}, {col, 365}, {col, 386}});
    allDiffer(18, 21, {{69, 344}, {69, 365}, {69, 386}});
    allDiffer(11, 23, {{80, 100}, {80, 143}, {80, 186}, {80, 229}, {80, 272}});
    allDiffer(22, 11, {{153, 96}, {153, 151}, {153, 206}, {153, 261}, {153, 316}});
    allDiffer(18, 18, {{103, 101}, {103, 119}, {103, 137}, {103, 155}});
  }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinFileTest, testing::ValuesIn(kSkins),
                         [](const testing::TestParamInfo<Skin>& info) { return std::string(info.param.name); });

// The inactive frame is the paler one: its caption carries less colour.
// Each skin as a style used to get it, step by step over every pixel: the
// indices decoded byte by byte, put through the palette, keyed by the
// corner pixel, then hue and brightness shifted pixel by pixel.
std::vector<uint32_t> StepwiseSkin(const std::vector<uint8_t>& file, const Skin& skin, int hue, int brightness) {
  const size_t lineSize = static_cast<size_t>(Word(file, 66)) * file[65];
  std::vector<uint8_t> lines(lineSize * static_cast<size_t>(skin.height), 0);
  size_t in = 128, out = 0;
  while (out < lines.size() && in < file.size()) {
    const uint8_t b = file[in++];
    size_t count = 1;
    uint8_t value = b;
    if ((b & 0xC0) == 0xC0) {
      count = b & 0x3F;
      value = file[in++];
    }
    for (size_t i = 0; i < count && out < lines.size(); ++i) lines[out++] = value;
  }
  const size_t palette = file.size() - 768;
  std::vector<uint32_t> pixels;
  for (int y = 0; y < skin.height; ++y)
    for (int x = 0; x < skin.width; ++x) {
      const size_t index = lines[static_cast<size_t>(y) * lineSize + static_cast<size_t>(x)];
      pixels.push_back(0xFF000000u | uint32_t{file[palette + 3 * index]} << 16 |
                       uint32_t{file[palette + 3 * index + 1]} << 8 | file[palette + 3 * index + 2]);
    }
  TPixelBuffer view{pixels.data(), skin.width, skin.height, skin.width};
  MakeTransparentPixels(view, GetPixelAt(view, skin.keyX, skin.keyY));
  HueShiftPixels(view, hue, kppScalar);
  BrightnessShiftPixels(view, brightness, kppScalar);
  return pixels;
}

TEST_P(SkinFileTest, OnePassDecodeGivesTheStepwisePixels) {
  const Skin& skin = GetParam();
  const std::vector<uint8_t> file = ReadSkinFile(skin.name);
  const auto layout = ReadPcxLayout(file);
  ASSERT_TRUE(layout);
  const PcxColorTable colors = ReadPcxColors(file, *layout);
  const uint8_t keyIndex = PcxIndexAt(file, *layout, skin.keyX, skin.keyY);
  EXPECT_EQ(colors[keyIndex] & 0xFFFFFFu, skin.key);
  for (auto [hue, brightness] : {std::pair{0, 0}, {40, 0}, {0, -30}, {-85, 25}, {200, 300}}) {
    const std::vector<uint32_t> expected = StepwiseSkin(file, skin, hue, brightness);
    PcxColorTable tinted = KeyPcxColors(colors, colors[keyIndex]);
    const TPixelBuffer table{tinted.data(), 256, 1, 256};
    HueShiftPixels(table, hue);
    BrightnessShiftPixels(table, brightness);
    for (TPixelPath path : {kppScalar, kppSse2, kppAvx2}) {
      std::vector<uint32_t> pixels(expected.size(), 0x12345678u);
      const size_t used = DecodePcxPixels(file, *layout, tinted, {pixels.data(), skin.width, skin.height, skin.width},
                                          path);
      EXPECT_EQ(used, file.size() - 128 - 769) << "the pixel data ends where the palette block begins";
      ASSERT_EQ(pixels, expected) << "hue " << hue << " brightness " << brightness << " path " << int{path};
    }
  }
}

TEST(SkinFileTest, InactiveCaptionIsPaler) {
  for (auto [active, inactive] : {std::pair{"XP_MAIN", "XP_MAIN1"}, {"XP_METAL_MAIN", "XP_METAL_MAIN1"}}) {
    const std::optional<PcxImage> a = DecodePcx(ReadSkinFile(active));
    const std::optional<PcxImage> b = DecodePcx(ReadSkinFile(inactive));
    ASSERT_TRUE(a && b);
    auto chroma = [](const PcxImage& image) {
      long sum = 0;
      for (int y = 2; y < 28; ++y) {
        const uint32_t c = image.Pixel(30, y);
        const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, bl = c & 0xFF;
        sum += std::max({r, g, bl}) - std::min({r, g, bl});
      }
      return sum;
    };
    EXPECT_LT(chroma(*b), chroma(*a)) << inactive;
  }
}

}  // namespace
}  // namespace hv
