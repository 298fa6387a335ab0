#include "pageview/pagetext.h"

#include <gtest/gtest.h>

namespace hv::html {
namespace {

// Every character 10 pixels wide, whatever its script, so that places on a
// line are easy to name.
int CharWidth(const LayoutBox&, std::string_view prefix) {
  int count = 0;
  size_t pos = 0;
  while (pos < prefix.size()) {
    NextCodePoint(prefix, pos);
    ++count;
  }
  return count * 10;
}

int Chars(std::string_view text) { return CharWidth(LayoutBox{}, text) / 10; }

// Lines of boxes as a layout gives them: a box per style run, side by side
// on a baseline, lines 20 pixels apart.
class Page {
 public:
  Page& Line(std::initializer_list<std::string> texts) {
    int x = 10;
    for (const std::string& text : texts) Put(x, text);
    y_ += 20;
    return *this;
  }
  // A run at a given x on the current line, as cells of a table sit.
  Page& At(int x, const std::string& text) {
    Put(x, text);
    return *this;
  }
  Page& EndLine() {
    y_ += 20;
    return *this;
  }
  Page& Rule() {
    LayoutBox box;
    box.kind = BoxKind::Rule;
    box.rect = TRect{10, y_, 200, y_ + 2};
    boxes.push_back(box);
    y_ += 10;
    return *this;
  }
  LayoutBoxes boxes;

 private:
  void Put(int& x, const std::string& text) {
    LayoutBox box;
    box.kind = BoxKind::Text;
    box.text = text;
    box.rect = TRect{x, y_, x + 10 * Chars(text), y_ + 16};
    box.baseline = y_ + 12;
    x = box.rect.right;
    boxes.push_back(box);
  }
  int y_ = 10;
};

TEST(PageText, FindIgnoresCaseAcrossScriptsAndStepsInReadingOrder) {
  Page page;
  page.Line({"The ", "Straße", " and the STRASSE"})
      .Rule()
      .Line({"ΑΒΓ αβγ Привет ПРИВЕТ ＡＢＣ abc"})
      .Line({"帮助文档的帮助"});
  TPageText text(page.boxes);

  std::vector<TextRange> the = text.Find("the");
  ASSERT_EQ(the.size(), 2u);
  EXPECT_EQ(the[0], (TextRange{{0, 0}, {0, 3}}));
  EXPECT_EQ(the[1], (TextRange{{2, 5}, {2, 8}}));

  EXPECT_EQ(text.Find("STRAßE").size(), 1u);
  EXPECT_EQ(text.Find("αβγ").size(), 2u) << "Greek capitals fold";
  EXPECT_EQ(text.Find("привет").size(), 2u) << "Cyrillic capitals fold";
  EXPECT_EQ(text.Find("ａｂｃ").size(), 1u) << "full-width letters fold among themselves";

  std::vector<TextRange> help = text.Find("帮助");
  ASSERT_EQ(help.size(), 2u);
  EXPECT_EQ(help[0], (TextRange{{5, 0}, {5, 6}}));
  EXPECT_EQ(help[1], (TextRange{{5, 15}, {5, 21}}));

  EXPECT_TRUE(text.Find("").empty());
  EXPECT_TRUE(text.Find("missing").empty());
  EXPECT_EQ(text.Find("aaa").size(), 0u);
}

TEST(PageText, MatchesDoNotOverlapAndSpanBoxesAndLines) {
  Page page;
  page.Line({"aaaa"}).Line({"bold", " tail"}).Line({"next line"});
  TPageText text(page.boxes);
  std::vector<TextRange> a = text.Find("aa");
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[1], (TextRange{{0, 2}, {0, 4}}));

  std::vector<TextRange> across = text.Find("bold tail");
  ASSERT_EQ(across.size(), 1u);
  EXPECT_EQ(across[0], (TextRange{{1, 0}, {2, 5}}));

  std::vector<TextRange> wrapped = text.Find("tail  NEXT");
  ASSERT_EQ(wrapped.size(), 1u) << "a line end is white space, and white space runs match any run";
  EXPECT_EQ(wrapped[0], (TextRange{{2, 1}, {3, 4}}));
  EXPECT_TRUE(text.Find("tailnext").empty());
}

TEST(PageText, ExtractKeepsLinesAndCellsApart) {
  Page page;
  page.Line({"Name ", "value"}).At(10, "cell one").At(150, "cell two").EndLine().Line({"中文段落"});
  TPageText text(page.boxes);
  EXPECT_EQ(text.Extract(text.All()), "Name value\r\ncell one\tcell two\r\n中文段落");
  EXPECT_EQ(text.Extract(TextRange{{0, 2}, {2, 4}}), "me value\r\ncell");
  EXPECT_EQ(text.Extract(TextRange{{4, 3}, {4, 9}}), "文段") << "byte offsets of whole characters";
  EXPECT_EQ(text.Extract(TextRange{{2, 4}, {0, 2}}), "") << "a reversed range holds nothing";

  EXPECT_EQ(text.PartOfBox(1, TextRange{{0, 2}, {2, 4}}), (std::pair<size_t, size_t>{0, 5}));
  EXPECT_EQ(text.PartOfBox(2, TextRange{{0, 2}, {2, 4}}), (std::pair<size_t, size_t>{0, 4}));
  EXPECT_EQ(text.PartOfBox(3, TextRange{{0, 2}, {2, 4}}), (std::pair<size_t, size_t>{0, 0}));

  TPageText empty(Page().Rule().boxes);
  EXPECT_FALSE(empty.HasText());
  EXPECT_EQ(empty.Extract(empty.All()), "");
  EXPECT_TRUE(empty.Find("x").empty());
}

TEST(PageText, PointsFindTheNearestPlaceBetweenCharacters) {
  Page page;
  page.Line({"abcd", "中文"}).Line({"second"});
  TPageText text(page.boxes);
  // Line one: "abcd" spans x 10..50, "中文" 50..70, top 10, bottom 26.
  EXPECT_EQ(text.SpotAt(TPoint{24, 15}, CharWidth), (TextSpot{0, 1})) << "nearer the left edge of 'b'";
  EXPECT_EQ(text.SpotAt(TPoint{26, 15}, CharWidth), (TextSpot{0, 2}));
  EXPECT_EQ(text.SpotAt(TPoint{66, 15}, CharWidth), (TextSpot{1, 6})) << "after a whole Chinese character";
  EXPECT_EQ(text.SpotAt(TPoint{0, 15}, CharWidth), (TextSpot{0, 0})) << "left of the line";
  EXPECT_EQ(text.SpotAt(TPoint{500, 15}, CharWidth), (TextSpot{1, 6})) << "right of the line";
  EXPECT_EQ(text.SpotAt(TPoint{34, 0}, CharWidth), (TextSpot{0, 2})) << "above the page: the first line";
  EXPECT_EQ(text.SpotAt(TPoint{34, 45}, CharWidth), (TextSpot{2, 2})) << "on the second line";
  EXPECT_EQ(text.SpotAt(TPoint{500, 900}, CharWidth), (TextSpot{2, 6})) << "below the page: the end";

  EXPECT_EQ(text.LineBelow(TextSpot{0, 1}, 34, CharWidth), (TextSpot{2, 2})) << "the line below at the same x";
  EXPECT_EQ(text.LineAbove(TextSpot{2, 5}, 66, CharWidth), (TextSpot{1, 6}));
  EXPECT_EQ(text.LineAbove(TextSpot{1, 3}, 66, CharWidth), (TextSpot{0, 0})) << "above the first line: the start";
  EXPECT_EQ(text.LineBelow(TextSpot{2, 1}, 12, CharWidth), (TextSpot{2, 6})) << "below the last line: the end";

  EXPECT_EQ(text.XOf(TextSpot{1, 3}, CharWidth), 60);
  EXPECT_EQ(text.XOf(TextSpot{2, 0}, CharWidth), 10);
}

TEST(PageText, KeyboardStepsMoveByCharactersLinesAndWords) {
  Page page;
  page.Line({"ab", "中"}).Line({"cd"});
  TPageText text(page.boxes);
  TextSpot s{0, 0};
  s = text.Next(s);
  EXPECT_EQ(s, (TextSpot{0, 1}));
  s = text.Next(text.Next(s));
  EXPECT_EQ(s, (TextSpot{1, 3})) << "the end of a box and the start of the next are one place";
  s = text.Next(s);
  EXPECT_EQ(s, (TextSpot{2, 0})) << "the line end is one step";
  EXPECT_EQ(text.Next(TextSpot{2, 2}), (TextSpot{2, 2})) << "the end stays";
  EXPECT_EQ(text.Previous(TextSpot{2, 0}), (TextSpot{1, 3}));
  EXPECT_EQ(text.Previous(TextSpot{1, 3}), (TextSpot{1, 0}));
  EXPECT_EQ(text.Previous(TextSpot{1, 0}), (TextSpot{0, 1}));
  EXPECT_EQ(text.Previous(TextSpot{0, 0}), (TextSpot{0, 0}));

  EXPECT_EQ(text.LineStart(TextSpot{1, 3}), (TextSpot{0, 0}));
  EXPECT_EQ(text.LineEnd(TextSpot{0, 1}), (TextSpot{1, 3}));
  EXPECT_EQ(text.LineEnd(TextSpot{2, 0}), (TextSpot{2, 2}));

  Page words;
  words.Line({"see foo_bar2, 帮助文档。next"});
  TPageText w(words.boxes);
  EXPECT_EQ(w.WordAt(TextSpot{0, 6}), (TextRange{{0, 4}, {0, 12}}));
  EXPECT_EQ(w.Extract(w.WordAt(TextSpot{0, 17})), "帮助文档");
  EXPECT_EQ(w.Extract(w.WordAt(TextSpot{0, 3})), " ");
  EXPECT_EQ(w.Extract(w.WordAt(TextSpot{0, 999})), "next");
}

}  // namespace
}  // namespace hv::html
