// The page's image path under damaged files: image files of every format the
// imaging component reads, made by its own encoders, then mutated at random
// (bits flipped, bytes set to edge values, runs cut, copied or inserted,
// sizes in the headers raised to tens of thousands, names that lie about
// the format) and read and drawn as a page would. Whatever a file holds, the
// reading never crashes, claims no more than its bounds, and the drawing
// stays inside the rectangle it is given.
//
// HV_IMAGE_MUTATIONS sets the number of files (a campaign runs millions);
// HV_IMAGE_SEED the first seed; HV_IMAGE_KEEP keeps the folder of mutants. Each file is written to disk before it is
// read, so the one that brings the process down is the one left there.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "framework/winstring.h"
#include "pageview/pageimages.h"
#include "tests/pageview/imagecodec.h"
#include "tests/pageview/viewcapture.h"

namespace hv {
namespace {

constexpr uint32_t kSentinel = 0x00ABCDEFu;
constexpr int kCanvas = 48;
constexpr RECT kDest{8, 8, 40, 40};

long long EnvNumber(const char* name, long long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  const long long value = std::atoll(text);
  return value > 0 ? value : fallback;
}

// Big-endian and little-endian writes into a header, where the file is
// long enough to have one.
void PutBE32(std::string& s, size_t at, uint32_t v) {
  if (at + 4 > s.size()) return;
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * (3 - i)));
}
void PutLE(std::string& s, size_t at, uint32_t v, int bytes) {
  if (at + static_cast<size_t>(bytes) > s.size()) return;
  for (int i = 0; i < bytes; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

struct Seed {
  const char* extension;
  std::string bytes;
};

// A PNG wrapped as the one image of an .ico, as icons since Vista hold them.
std::string IcoAround(const std::string& png, int w, int h) {
  std::string out;
  auto put16 = [&](uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
  };
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  };
  put16(0);
  put16(1);
  put16(1);
  out.push_back(static_cast<char>(w));
  out.push_back(static_cast<char>(h));
  out.push_back(0);
  out.push_back(0);
  put16(1);
  put16(32);
  put32(static_cast<uint32_t>(png.size()));
  put32(22);
  return out + png;
}

std::vector<Seed> MakeSeeds() {
  auto pattern = [](int x, int y) -> uint32_t {
    return (x + y) % 3 == 0 ? 0x80FF0000u : (x ^ y) & 1 ? 0xFF20A040u : 0xFFFFFFFFu;
  };
  std::vector<Seed> seeds;
  const std::array<std::pair<GUID, const char*>, 3> encoded = {
      {{GUID_ContainerFormatPng, "png"}, {GUID_ContainerFormatJpeg, "jpg"}, {GUID_ContainerFormatTiff, "tif"}}};
  for (const auto& [format, extension] : encoded) {
    std::string bytes = test::EncodeImage(format, 13, 9, pattern);
    if (!bytes.empty()) seeds.push_back({extension, std::move(bytes)});
  }
  seeds.push_back({"gif", test::Gif(13, 9, {1, 2, 3})});
  seeds.push_back({"bmp", test::Bmp(13, 9, pattern)});
  seeds.push_back({"ico", test::Ico(16, 16, pattern)});
  const std::string png = test::EncodeImage(GUID_ContainerFormatPng, 16, 16, pattern);
  if (!png.empty()) seeds.push_back({"ico", IcoAround(png, 16, 16)});
  return seeds;
}

// One random change; several make a mutant.
void Mutate(std::string& s, std::mt19937& rng) {
  auto pick = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(rng() % n); };
  static constexpr std::array<uint8_t, 8> kEdges = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xFE, 0x40, 0x20};
  static constexpr std::array<uint32_t, 6> kSizes = {0, 1, 30000, 65535, 0x7FFFFFFF, 0xFFFFFFFF};
  switch (rng() % 9) {
    case 0:  // a bit
      if (!s.empty()) s[pick(s.size())] ^= static_cast<char>(1u << (rng() % 8));
      break;
    case 1:  // an edge value
      if (!s.empty()) s[pick(s.size())] = static_cast<char>(kEdges[pick(kEdges.size())]);
      break;
    case 2:  // cut short
      s.resize(pick(s.size() + 1));
      break;
    case 3: {  // a run copied elsewhere
      if (s.empty()) break;
      const size_t from = pick(s.size()), n = std::min<size_t>(1 + pick(64), s.size() - from);
      const std::string run = s.substr(from, n);
      s.insert(pick(s.size() + 1), run);
      break;
    }
    case 4: {  // random bytes inserted
      const size_t n = 1 + pick(32);
      std::string run(n, '\0');
      for (char& c : run) c = static_cast<char>(rng());
      s.insert(pick(s.size() + 1), run);
      break;
    }
    case 5: {  // a run removed
      if (s.empty()) break;
      const size_t from = pick(s.size());
      s.erase(from, 1 + pick(std::min<size_t>(64, s.size() - from)));
      break;
    }
    case 6: {  // the size fields of the formats' headers raised or zeroed
      const uint32_t w = kSizes[pick(kSizes.size())], h = kSizes[pick(kSizes.size())];
      PutBE32(s, 16, w);  // PNG IHDR
      PutBE32(s, 20, h);
      PutLE(s, 18, w, 4);  // BMP info header
      PutLE(s, 22, h, 4);
      PutLE(s, 6, w, 2);  // GIF screen
      PutLE(s, 8, h, 2);
      break;
    }
    case 7:  // a 32-bit word of edge values anywhere
      if (s.size() >= 4) PutLE(s, pick(s.size() - 3), kSizes[pick(kSizes.size())], 4);
      break;
    default:  // the head of another format in front: a file that lies
      s.insert(0, std::string("\x89PNG\r\n\x1A\nGIF89aBM\xFF\xD8\xFF", 17).substr(pick(17)));
      break;
  }
}

// A fault ends the process at once with a line that says so, instead of
// waiting for a debugger that nobody attends.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* fault) {
  std::fprintf(stderr, "fault 0x%08lX at %p while reading a mutant\n", fault->ExceptionRecord->ExceptionCode,
               fault->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

class ImageMutationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetUnhandledExceptionFilter(ReportFault);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  static void TearDownTestSuite() { CoUninitialize(); }

  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("hv_image_mutations_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    if (std::getenv("HV_IMAGE_KEEP")) return;  // to look at the last mutant
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::filesystem::path folder_;
};

// Pixels outside `kDest` that drawing changed on a canvas of the sentinel.
int StrayPixels(const std::vector<uint32_t>& pixels) {
  int stray = 0;
  for (int y = 0; y < kCanvas; ++y)
    for (int x = 0; x < kCanvas; ++x) {
      const bool inside = x >= kDest.left && x < kDest.right && y >= kDest.top && y < kDest.bottom;
      if (!inside && pixels[static_cast<size_t>(y) * kCanvas + x] != kSentinel) ++stray;
    }
  return stray;
}

TEST_F(ImageMutationTest, DamagedFilesOfEveryFormatReadWithinBoundsAndDrawInsideTheirBox) {
  const std::vector<Seed> seeds = MakeSeeds();
  ASSERT_GE(seeds.size(), 6u) << "the system encodes PNG and JPEG at least";
  const std::string page = (folder_ / "page.htm").string();
  const std::array<const char*, 7> extensions = {"png", "gif", "jpg", "bmp", "ico", "tif", "txt"};

  // The seeds themselves read at their size, so the harness sees real
  // images; a TIFF is read by no page, only mutated into the others.
  for (const Seed& seed : seeds) {
    const std::string name = std::string("seed.") + seed.extension;
    std::ofstream(folder_ / name, std::ios::binary) << seed.bytes;
    TPageImages images;
    images.SetPage(Widen(page));
    const std::string extension = seed.extension;
    EXPECT_EQ(images.Size(name).cx, extension == "ico" ? 16 : extension == "tif" ? 0 : 13) << extension;
  }

  const long long runs = EnvNumber("HV_IMAGE_MUTATIONS", 600);
  const uint32_t firstSeed = static_cast<uint32_t>(EnvNumber("HV_IMAGE_SEED", 1));
  std::printf("mutants are written to %s\n", folder_.string().c_str());
  const RECT canvasRect{0, 0, kCanvas, kCanvas};
  HBRUSH sentinel = CreateSolidBrush(RGB(kSentinel >> 16, (kSentinel >> 8) & 0xFF, kSentinel & 0xFF));
  long long read = 0, slowestMs = 0, slowestSeed = 0;
  for (long long run = 0; run < runs; ++run) {
    std::mt19937 rng(firstSeed + static_cast<uint32_t>(run));
    std::string bytes = seeds[rng() % seeds.size()].bytes;
    const int changes = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < changes; ++i) Mutate(bytes, rng);
    const std::string name = std::string("m.") + extensions[rng() % extensions.size()];
    { std::ofstream(folder_ / name, std::ios::binary | std::ios::trunc) << bytes; }

    const auto start = std::chrono::steady_clock::now();
    TPageImages images;
    images.SetPage(Widen(page));
    const TSize size = images.Size(name);
    const std::vector<uint32_t> pixels = test::CapturePixels(kCanvas, kCanvas, [&](HDC dc) {
      FillRect(dc, &canvasRect, sentinel);
      images.Draw(dc, name, kDest);
    });
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (ms > slowestMs) {
      slowestMs = ms;
      slowestSeed = firstSeed + run;
    }

    const std::string what = "seed " + std::to_string(firstSeed + run) + ", " + std::to_string(bytes.size()) + " bytes";
    ASSERT_GE(size.cx, 0) << what;
    ASSERT_GE(size.cy, 0) << what;
    ASSERT_EQ(size.cx == 0, size.cy == 0) << what << ": an image has both sides or none";
    ASSERT_LE(static_cast<long long>(size.cx) * size.cy, TPageImages::kMaxPixels) << what;
    ASSERT_EQ(images.PixelBytes(), 4LL * size.cx * size.cy) << what << ": holds the pixels it shows, no more";
    ASSERT_EQ(StrayPixels(pixels), 0) << what << ": drawn outside its box";
    if (size.cx > 0) ++read;
  }
  DeleteObject(sentinel);
  std::printf("%lld mutated files, %lld still read as images, slowest %lld ms (seed %lld)\n", runs, read, slowestMs,
              slowestSeed);
  EXPECT_GT(read, 0) << "some mutants are still pictures, so drawing was exercised";
  EXPECT_LT(read, runs) << "some mutants are damaged beyond reading, so failing was exercised";
}

}  // namespace
}  // namespace hv
