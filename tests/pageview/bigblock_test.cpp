// Buffers of a page's size live in memory mapped apart from the heap and
// go back to the system as soon as they are freed. Strings and vectors that grow across the line keep every element.
// A page is parsed where it lies exactly when decoding would give its bytes
// back unchanged.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pageview/bigblock.h"
#include "pageview/htmlcharset.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace hv {
namespace {

// Whether the page holding `at` is mapped in the process.
bool Mapped(const void* at) {
#ifdef _WIN32
  MEMORY_BASIC_INFORMATION info{};
  return VirtualQuery(at, &info, sizeof info) == sizeof info && info.State == MEM_COMMIT;
#else
  const auto page = reinterpret_cast<uintptr_t>(at) & ~uintptr_t{4095};
  unsigned char resident = 0;
  return mincore(reinterpret_cast<void*>(page), 1, &resident) == 0;
#endif
}

bool PageAligned(const void* at) { return reinterpret_cast<uintptr_t>(at) % 4096 == 0; }

TEST(BigBlockTest, ABlockOfAPagesSizeIsMappedOnItsOwnAndUnmappedWhenFreed) {
  BigBlockAllocator<char> allocator;
  const size_t sizes[] = {kBigBlockBytes, kBigBlockBytes + 1, 300000, 5u << 20};
  for (size_t size : sizes) {
    char* block = allocator.allocate(size);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(PageAligned(block)) << size;
    // Every byte is there to write, the last one included.
    block[0] = 'a';
    block[size - 1] = 'z';
    EXPECT_EQ(block[0], 'a');
    EXPECT_EQ(block[size - 1], 'z');
    EXPECT_TRUE(Mapped(block + size - 1));
    allocator.deallocate(block, size);
    EXPECT_FALSE(Mapped(block)) << size;
    EXPECT_FALSE(Mapped(block + size - 1)) << size;
  }
}

TEST(BigBlockTest, ACountPastTheAddressSpaceIsRefused) {
  BigBlockAllocator<uint64_t> allocator;
  EXPECT_THROW(allocator.allocate(SIZE_MAX / 4), std::bad_alloc);
}

TEST(BigBlockTest, StringsAndVectorsGrowingAcrossTheLineKeepEveryElement) {
  BigString text;
  std::string expected;
  for (int i = 0; text.size() < 3 * kBigBlockBytes; ++i) {
    const std::string piece = "word" + std::to_string(i) + ' ';
    text += piece;
    expected += piece;
  }
  EXPECT_EQ(std::string(text.data(), text.size()), expected);
  EXPECT_TRUE(PageAligned(text.data()));
  BigString copy = text;  // a copy maps a block of its own
  EXPECT_NE(copy.data(), text.data());
  EXPECT_EQ(copy, text);
  BigString moved = std::move(copy);
  EXPECT_EQ(moved, text);

  // Elements that own heap memory of their own move across each regrowth.
  std::vector<std::string, BigBlockAllocator<std::string>> words;
  for (int i = 0; i < 20000; ++i) words.push_back("a word long enough to live in the heap " + std::to_string(i));
  ASSERT_EQ(words.size(), 20000u);
  EXPECT_TRUE(PageAligned(words.data()));
  for (int i = 0; i < 20000; i += 997) EXPECT_EQ(words[static_cast<size_t>(i)], "a word long enough to live in the heap " + std::to_string(i));
  words.clear();
  words.shrink_to_fit();
  EXPECT_EQ(words.capacity(), 0u);
}

TEST(DecodesUnchangedTest, OnlyBytesThatDecodeToThemselvesAreReadWhereTheyLie) {
  using html::Charset;
  struct Case {
    std::string bytes;
    Charset charset;
    bool unchanged;
  };
  const Case cases[] = {
      {"", Charset::Ansi, true},
      {"<p>plain ASCII, \x01 and \x7F too</p>", Charset::Ansi, true},
      {std::string("with a NUL \0 inside", 19), Charset::Windows1252, true},
      {"<p>ASCII</p>", Charset::Gbk, true},
      {"caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80", Charset::Utf8, true},
      {"\xF4\x8F\xBF\xBF", Charset::Utf8, true},        // U+10FFFF, the last there is
      {"\xEF\xBF\xBD", Charset::Utf8, true},            // a replacement character written as such
      {"caf\xC3\xA9", Charset::Windows1252, false},     // two characters there
      {"\xE9", Charset::Ansi, false},
      {"\xD6\xD0", Charset::Gbk, false},
      {"ascii", Charset::Utf16LE, false},
      {"ascii", Charset::Utf16BE, false},
      {"\xC0\x80", Charset::Utf8, false},               // overlong NUL
      {"\xE0\x80\xAF", Charset::Utf8, false},           // overlong slash
      {"\xED\xA0\x80", Charset::Utf8, false},           // a surrogate
      {"\xF4\x90\x80\x80", Charset::Utf8, false},       // past U+10FFFF
      {"\xF5\x80\x80\x80", Charset::Utf8, false},
      {"\x80 stray continuation", Charset::Utf8, false},
      {"cut at the end \xE4\xB8", Charset::Utf8, false},
      {"cut at the end \xC3", Charset::Utf8, false},
      {"\xE4\xB8 cut in the middle", Charset::Utf8, false},
      {"\xFF", Charset::Utf8, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(html::DecodesUnchanged(c.bytes, c.charset), c.unchanged) << c.bytes;
    EXPECT_EQ(html::DecodeToUtf8(c.bytes, c.charset) == c.bytes, c.unchanged) << c.bytes;
  }
}

TEST(DecodesUnchangedTest, AgreesWithTheDecoderOnEveryMixOfBytes) {
  // Bytes drawn from those that make and break sequences, at every length
  // up to a few characters; read where they lie exactly when decoding gives
  // them back (UTF-16 is never read in place).
  const unsigned char alphabet[] = {'a', '<', 0x00, 0x7F, 0x80, 0xBF, 0xC2, 0xDF, 0xE0, 0xED,
                                    0xEF, 0xF0, 0xF4, 0xF5, 0xA0, 0x8F, 0x90, 0xFF, 0xC0};
  std::mt19937 random(20261209);
  std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(1, 9);
  const html::Charset charsets[] = {html::Charset::Utf8, html::Charset::Ansi, html::Charset::Windows1252,
                                    html::Charset::Gbk, html::Charset::Utf16LE};
  int unchanged = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string bytes;
    for (int n = length(random); n > 0; --n) bytes += static_cast<char>(alphabet[pick(random)]);
    for (html::Charset charset : charsets) {
      const bool same = html::DecodeToUtf8(bytes, charset) == bytes;
      const bool inPlace = html::DecodesUnchanged(bytes, charset);
      if (charset == html::Charset::Utf16LE) {
        EXPECT_FALSE(inPlace);
      } else {
        ASSERT_EQ(inPlace, same) << "charset " << static_cast<int>(charset) << ": " << bytes;
      }
      unchanged += inPlace;
    }
  }
  // Both answers were met many times over.
  EXPECT_GT(unchanged, 1000);
  EXPECT_LT(unchanged, 20000 * 4);
}

}  // namespace
}  // namespace hv
