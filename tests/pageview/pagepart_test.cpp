#include "pageview/pagepart.h"

#include <gtest/gtest.h>

#include <string>

namespace hv::html {
namespace {

std::string Utf16(const std::string& ascii, bool little) {
  std::string out;
  for (char c : ascii) {
    out.push_back(little ? c : '\0');
    out.push_back(little ? '\0' : c);
  }
  return out;
}

// Whether the UTF-8 text ends after a whole character.
bool EndsWhole(std::string_view text) {
  size_t i = text.size();
  int continuation = 0;
  while (i > 0 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80) {
    --i;
    ++continuation;
  }
  if (i == 0) return continuation == 0;
  const unsigned char lead = static_cast<unsigned char>(text[i - 1]);
  const int expected = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  return continuation == expected;
}

TEST(PagePartTest, ShortPagesAreWholeAndLongOnesEndBeforeATag) {
  EXPECT_EQ(FirstPart("<p>short</p>", 100), "<p>short</p>");
  EXPECT_EQ(FirstPart("", 10), "");
  const std::string page = "<p>one two</p><p>three four</p><p>five six</p>";
  // The last tag at or before the limit starts the part left out.
  EXPECT_EQ(FirstPart(page, 30), "<p>one two</p><p>three four");
  EXPECT_EQ(FirstPart(page, 31), "<p>one two</p><p>three four</p>");
  EXPECT_EQ(FirstPart(page, 14), "<p>one two</p>");
  // A tag too far back is no place to cut: the part ends at the limit.
  const std::string text = "<p>" + std::string(200, 'a');
  EXPECT_EQ(FirstPart(text, 100).size(), 100u);
}

TEST(PagePartTest, NoUtf8CharacterIsSplit) {
  // Two-, three- and four-byte characters, without a tag to cut at.
  for (const std::string ch : {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"}) {
    std::string page = "<p>";
    while (page.size() < 400) page += ch;
    for (size_t limit = 100; limit < 110; ++limit) {
      std::string_view part = FirstPart(page, limit);
      EXPECT_LE(part.size(), limit) << limit;
      EXPECT_GE(part.size(), limit - 3) << limit;
      EXPECT_TRUE(EndsWhole(part)) << "limit " << limit << ", character of " << ch.size() << " bytes";
    }
  }
}

TEST(PagePartTest, Utf16PagesEndBeforeATagCodeUnitAndKeepSurrogatePairs) {
  for (bool little : {true, false}) {
    const std::string bom = little ? "\xFF\xFE" : "\xFE\xFF";
    const std::string page = bom + Utf16("<p>one two</p><p>three four</p><p>five six</p>", little);
    for (size_t limit = 40; limit < 70; ++limit) {
      std::string_view part = FirstPart(page, limit);
      ASSERT_EQ(part.size() % 2, 0u) << limit;
      ASSERT_LE(part.size(), limit);
      // The next code unit is a '<'.
      const std::string_view next = std::string_view(page).substr(part.size(), 2);
      EXPECT_EQ(next, little ? std::string_view("<\0", 2) : std::string_view("\0<", 2)) << limit;
    }
    // U+1F600 over and over, without a tag: never cut between its halves.
    const std::string pair = little ? std::string("\x3D\xD8\x00\xDE", 4) : std::string("\xD8\x3D\xDE\x00", 4);
    std::string faces = bom;
    while (faces.size() < 400) faces += pair;
    for (size_t limit = 100; limit < 108; ++limit) {
      std::string_view part = FirstPart(faces, limit);
      EXPECT_EQ((part.size() - bom.size()) % 4, 0u) << "limit " << limit << (little ? " LE" : " BE");
    }
  }
}

}  // namespace
}  // namespace hv::html
