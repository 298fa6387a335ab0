// Table cells that hold whole blocks, laid out with a measurer of fixed
// sizes (10 pixels a character, lines of the font size plus 3, the baseline
// at the size less 1: 16 and 12 for body text): nested tables, lists and
// paragraph margins inside cells, the widths cells ask for, the bound on
// nesting, anchors, reading order and the cells' own borders.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "pageview/htmllayout.h"
#include "pageview/pagetext.h"
#include "tests/pageview/layoutboxes.h"
#include "tests/pageview/sizedmeasurer.h"

namespace hv::html {
namespace {

PageLayout Lay(const Document& doc, int width = 400) {
  SizedMeasurer measurer;
  LayoutOptions options;
  options.width = width;
  return LayoutDocument(doc, measurer, options);
}

PageLayout Lay(std::string_view html, int width = 400) { return Lay(ParseHtml(html), width); }

constexpr std::string_view kNested =
    "<table border=1 cellspacing=0 cellpadding=0><tr><td>"
    "<table border=1 cellspacing=0 cellpadding=0><tr><td>ab</td><td>cde</td></tr></table>"
    "</td></tr></table>";

TEST(CellLayoutTest, ANestedTableIsAGridInsideItsCell) {
  PageLayout layout = Lay(kNested);
  auto cells = Boxes(layout, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 3u);
  // The inner cells want 20 and 30 of text plus their outlines; the inner
  // table adds its frame of 1 a side: 56, and the outer cell its outline.
  EXPECT_EQ(cells[0]->rect, Rect(9, 9, 67, 31)) << "the outer cell holds the whole inner table";
  EXPECT_EQ(cells[1]->rect, Rect(11, 11, 33, 29));
  EXPECT_EQ(cells[2]->rect, Rect(33, 11, 65, 29)) << "neighbours share their outline";
  ASSERT_TRUE(TextBox(layout, "ab") && TextBox(layout, "cde"));
  EXPECT_EQ(TextBox(layout, "ab")->rect, Rect(12, 12, 32, 28));
  EXPECT_EQ(TextBox(layout, "cde")->rect, Rect(34, 12, 64, 28));
  // The inner table's frame stands inside the outer cell's outline.
  bool frame = false;
  for (const LayoutBox* fill : Boxes(layout, BoxKind::Fill)) frame = frame || fill->rect == Rect(10, 10, 66, 11);
  EXPECT_TRUE(frame) << "the inner frame's top edge";
}

TEST(CellLayoutTest, ACellIsAtLeastAsWideAsTheTableItHolds) {
  // A page narrower than the inner table: the columns keep what the inner
  // table needs at the least and the page scrolls sideways.
  PageLayout narrow = Lay(kNested, 40);
  auto cells = Boxes(narrow, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0]->rect.Width(), 58);
  EXPECT_GE(narrow.width, 67 + 8);
  // Beside a cell of long text, the cell with the inner table keeps its
  // least width and the text wraps instead.
  PageLayout beside = Lay(std::string("<table border=1 cellspacing=0 cellpadding=0><tr><td>") +
                              "<table border=1 cellspacing=0 cellpadding=0 width=120><tr><td>x</td></tr></table>"
                              "</td><td>aaaa bbbb cccc dddd eeee ffff gggg hhhh</td></tr></table>",
                          200);
  cells = Boxes(beside, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0]->rect.Width(), 122) << "the inner table's width and the outline";
  EXPECT_EQ(cells[1]->rect.Width(), 118) << "the inner table's 120 less its frame";
  // And a cell's widest preformatted line and widest image set its least
  // width as a word does.
  PageLayout pre = Lay("<table border=1 cellspacing=0 cellpadding=0><tr><td><pre>a b c d</pre></td>"
                       "<td>x</td></tr></table>",
                       60);
  cells = Boxes(pre, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0]->rect.Width(), 7 * 8 + 2 * 4 + 2) << "seven monospace characters, the shade's padding, the outline";
}

TEST(CellLayoutTest, ListsInCellsHaveTheirMarkers) {
  PageLayout layout =
      Lay("<table cellspacing=0 cellpadding=0><tr><td><ul><li>one<li>two</ul><ol start=9><li>ten</ol></td></tr></table>");
  // The items stand one indent (32) in from the cell's left at 8; the
  // bullet ends 10 before the text, centred 4 above the baseline.
  ASSERT_TRUE(TextBox(layout, "one") && TextBox(layout, "two") && TextBox(layout, "ten"));
  EXPECT_EQ(TextBox(layout, "one")->rect, Rect(40, 8, 70, 24));
  EXPECT_EQ(TextBox(layout, "two")->rect, Rect(40, 24, 70, 40));
  auto bullets = Boxes(layout, BoxKind::Bullet);
  ASSERT_EQ(bullets.size(), 2u);
  EXPECT_EQ(bullets[0]->rect, Rect(26, 14, 30, 18));
  EXPECT_EQ(bullets[1]->rect, Rect(26, 30, 30, 34));
  EXPECT_EQ(bullets[0]->bullet, BulletShape::Disc) << "the first level of the cell's own lists";
  // The numbered list follows on the next line, as lists do on the page.
  const LayoutBox* nine = TextBox(layout, "9.");
  ASSERT_TRUE(nine);
  EXPECT_EQ(nine->rect, Rect(12, 40, 32, 56)) << "the number ends 8 before the item's text";
  EXPECT_EQ(TextBox(layout, "ten")->rect.top, 40);
  EXPECT_EQ(TextBox(layout, "\xE2\x80\xA2"), nullptr) << "no bullet character in the text";
}

TEST(CellLayoutTest, ParagraphMarginsStayInsideTheCell) {
  PageLayout layout = Lay("<table cellspacing=0 cellpadding=0><tr><td><p>a</p><p>b</p></td><td>c</td></tr></table><p>d");
  ASSERT_TRUE(TextBox(layout, "a") && TextBox(layout, "b") && TextBox(layout, "c") && TextBox(layout, "d"));
  // The first paragraph's margin collapses with the cell's top and the
  // last one's with its bottom; between them the margin of 12 stays.
  EXPECT_EQ(TextBox(layout, "a")->rect.top, 8);
  EXPECT_EQ(TextBox(layout, "b")->rect.top, 8 + 16 + 12);
  EXPECT_EQ(TextBox(layout, "c")->rect.top, 8 + (44 - 16) / 2) << "the row is 44 tall, the other cell in its middle";
  EXPECT_EQ(TextBox(layout, "d")->rect.top, 8 + 44 + 12) << "the table's own margin below it";
  // A margin the page sets stays at the top of the cell.
  PageLayout styled = Lay("<table cellspacing=0 cellpadding=0><tr><td><p style='margin-top:5px'>a</p></td></tr></table>");
  ASSERT_TRUE(TextBox(styled, "a"));
  EXPECT_EQ(TextBox(styled, "a")->rect.top, 8 + 5);
  // A styled box inside a cell draws its background within the cell.
  PageLayout boxed = Lay("<table cellspacing=0 cellpadding=0><tr><td>"
                         "<div style='background:#ff0000; padding:2px'>x</div></td></tr></table>");
  PageLayout page = Lay("<div style='background:#ff0000; padding:2px'>x</div>");
  auto fills = Boxes(boxed, BoxKind::Fill);
  auto pageFills = Boxes(page, BoxKind::Fill);
  ASSERT_EQ(fills.size(), 1u);
  ASSERT_EQ(pageFills.size(), 1u);
  EXPECT_EQ(fills[0]->color, 0xFF0000u);
  EXPECT_EQ(fills[0]->rect.left, 8);
  EXPECT_EQ(fills[0]->rect.Width(), 14) << "x and 2 of padding a side: the cell is as wide as its box";
  EXPECT_EQ(fills[0]->rect.Height(), pageFills[0]->rect.Height()) << "as tall as on the page";
}

TEST(CellLayoutTest, TheAlignmentAroundATableCentresTheTableNotItsText) {
  PageLayout layout = Lay("<center><table border=1 cellspacing=0 cellpadding=0><tr><td>a</td></tr>"
                          "<tr><td>bbbbbb</td></tr><tr><td align=right><p>c</p></td></tr></table></center>");
  auto cells = Boxes(layout, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0]->rect.left, 8 + 1 + (384 - 64) / 2) << "the table stands in the middle";
  ASSERT_TRUE(TextBox(layout, "a") && TextBox(layout, "c"));
  EXPECT_EQ(TextBox(layout, "a")->rect.left, cells[0]->rect.left + 1) << "its text starts at the left";
  EXPECT_EQ(TextBox(layout, "c")->rect.right, cells[2]->rect.right - 1) << "a cell's own alignment holds for its paragraphs";
  // A header cell centres its text.
  PageLayout header = Lay("<table border=1 cellspacing=0 cellpadding=0><tr><th>h</th></tr><tr><td>bbbbbb</td></tr></table>");
  ASSERT_TRUE(TextBox(header, "h"));
  EXPECT_EQ(TextBox(header, "h")->rect.left, 9 + 1 + (60 - 10) / 2);
}

TEST(CellLayoutTest, DeepNestingIsBoundedAndKeepsTheText) {
  std::string deep;
  for (int i = 0; i < 60; ++i) deep += "<table border=1 cellspacing=0 cellpadding=0><tr><td>";
  deep += "deep";
  for (int i = 0; i < 60; ++i) deep += "</td></tr></table>";
  Document doc = ParseHtml(deep);
  PageLayout layout = Lay(doc);
  EXPECT_EQ(Boxes(layout, BoxKind::CellBorder).size(), static_cast<size_t>(kMaxTableNesting));
  ASSERT_TRUE(TextBox(layout, "deep")) << "the innermost text is still shown";

  // Far more tables and boxes than any page has: the text is all there and
  // the work stays linear.
  std::string huge;
  const int levels = 100000;
  huge.reserve(static_cast<size_t>(levels) * 40);
  for (int i = 0; i < levels; ++i) huge += i % 2 ? "<div style='padding:1px'>" : "<table><tr><td>";
  huge += "bottom";
  for (int i = levels; i-- > 0;) huge += i % 2 ? "</div>" : "</td></tr></table>";
  huge += "<p>after";
  const auto start = std::chrono::steady_clock::now();
  Document big = ParseHtml(huge);
  PageLayout bigLayout = Lay(big);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_TRUE(TextBox(bigLayout, "bottom"));
  EXPECT_TRUE(TextBox(bigLayout, "after"));
  EXPECT_LT(seconds, 20.0) << "far below what quadratic work would take";
}

TEST(CellLayoutTest, AnchorsInsideCellsLeadToTheirBlock) {
  Document doc = ParseHtml(
      "<p>intro</p><table cellspacing=0 cellpadding=0><tr><td><p>a</p>"
      "<table><tr><td>x</td></tr><tr><td><h3 id=inner>in</h3></td></tr></table></td></tr></table><p id=after>end");
  PageLayout layout = Lay(doc);
  ASSERT_EQ(layout.blockTops.size(), doc.blockCount);
  const Place* inner = doc.FindPlace("inner");
  const Place* after = doc.FindPlace("after");
  ASSERT_TRUE(inner && after);
  ASSERT_TRUE(TextBox(layout, "in") && TextBox(layout, "end"));
  EXPECT_EQ(layout.blockTops[inner->block], TextBox(layout, "in")->rect.top);
  EXPECT_EQ(layout.blockTops[after->block], TextBox(layout, "end")->rect.top);
  EXPECT_GT(TextBox(layout, "in")->rect.top, TextBox(layout, "x")->rect.top);
}

TEST(CellLayoutTest, TextReadsRowByRowAndCellByCell) {
  PageLayout layout = Lay("<table cellspacing=0 cellpadding=0><tr><td>left<table cellspacing=4>"
                          "<tr><td>in1</td><td>in2</td></tr><tr><td>in3</td></tr></table></td><td>right</td></tr>"
                          "<tr><td>last</td></tr></table>");
  TPageText text(layout.boxes);
  EXPECT_EQ(text.Extract(text.All()), "left\r\nin1\tin2\r\nin3\r\nright\r\nlast");
  std::vector<TextRange> found = text.Find("in2 in3");
  ASSERT_EQ(found.size(), 1u) << "a match reaches from one inner row to the next";
  EXPECT_EQ(layout.boxes[found[0].begin.box].text, "in2");
  EXPECT_EQ(layout.boxes[found[0].end.box].text, "in3");
  EXPECT_EQ(text.Find("in3 right").size(), 1u) << "and out of the inner table to the outer cell beside it";
}

TEST(CellLayoutTest, CellsDrawTheBorderAndPaddingTheirStyleGives) {
  PageLayout layout = Lay(
      "<style>td { border: 2px solid #ff0000; border-left-color: #0000ff; padding: 3px 1px }</style>"
      "<table cellspacing=4 cellpadding=0><tr><td>ab</td><td>c</td></tr></table>");
  std::vector<const LayoutBox*> red, blue;
  for (const LayoutBox* fill : Boxes(layout, BoxKind::Fill)) {
    if (fill->color == 0xFF0000) red.push_back(fill);
    if (fill->color == 0x0000FF) blue.push_back(fill);
  }
  ASSERT_EQ(red.size(), 6u) << "three sides of two cells";
  ASSERT_EQ(blue.size(), 2u);
  // Spacing 4 from the page's 8; the first cell is 20 of text, 1 of padding
  // and 2 of border a side, 16 + 6 + 4 tall.
  EXPECT_EQ(blue[0]->rect, Rect(12, 12, 14, 38));
  EXPECT_EQ(red[0]->rect, Rect(12, 12, 38, 14)) << "top";
  EXPECT_EQ(red[1]->rect, Rect(36, 12, 38, 38)) << "right";
  EXPECT_EQ(red[2]->rect, Rect(12, 36, 38, 38)) << "bottom";
  ASSERT_TRUE(TextBox(layout, "ab"));
  EXPECT_EQ(TextBox(layout, "ab")->rect, Rect(15, 17, 35, 33));
  EXPECT_EQ(blue[1]->rect.left, 42) << "the next cell after the spacing";

  // Collapsed borders: neighbours overlap by their border, drawn once.
  PageLayout collapsed = Lay(
      "<style>table { border-collapse: collapse } td { border: 1px solid #00ff00; padding: 0 }</style>"
      "<table><tr><td>ab</td><td>c</td></tr><tr><td>d</td><td>e</td></tr></table>");
  std::vector<const LayoutBox*> lefts;
  for (const LayoutBox* fill : Boxes(collapsed, BoxKind::Fill))
    if (fill->color == 0x00FF00 && fill->rect.Width() == 1 && fill->rect.Height() > 1) lefts.push_back(fill);
  ASSERT_EQ(lefts.size(), 8u);
  // Per cell: right edge, then left edge.
  EXPECT_EQ(lefts[0]->rect, Rect(29, 8, 30, 26)) << "the first cell's right edge";
  EXPECT_EQ(lefts[3]->rect, Rect(29, 8, 30, 26)) << "is the second cell's left edge";
  EXPECT_EQ(lefts[4]->rect.top, 25) << "the second row shares the first row's bottom line";
}

}  // namespace
}  // namespace hv::html
