// Pages laid out as nested boxes with a measurer of fixed sizes: 10 pixels
// a character, lines of the font size plus 3 with the baseline at the size
// less 1 (16 and 12 for body text). Exact rectangles for collapsing margins,
// borders and padding, widths, table columns and spans, list markers,
// alignment, indents and line heights, and what the styles and attributes
// of older pages give.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pageview/htmllayout.h"
#include "pageview/pagestyle.h"
#include "tests/pageview/layoutboxes.h"
#include "tests/pageview/sizedmeasurer.h"

namespace hv::html {
namespace {

PageLayout Lay(std::string_view html, int width = 400) {
  SizedMeasurer measurer;
  LayoutOptions options;
  options.width = width;
  return LayoutDocument(ParseHtml(html), measurer, options);
}

// Paragraphs without margins of their own, so that only the boxes' show.
constexpr std::string_view kFlat = "<style>p { margin: 0 }</style>";

TEST(BoxLayoutTest, SiblingMarginsCollapseToTheLarger) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<div style='margin: 10px 0'><p>a</p></div><div style='margin: 30px 0'><p>b</p></div>"
                          "<div style='margin: 5px 0'><p>c</p></div>");
  ASSERT_TRUE(TextBox(layout, "a") && TextBox(layout, "b") && TextBox(layout, "c"));
  EXPECT_EQ(TextBox(layout, "a")->rect, Rect(8, 10, 18, 26)) << "the first margin collapses with the page's 8";
  EXPECT_EQ(TextBox(layout, "b")->rect.top, 26 + 30);
  EXPECT_EQ(TextBox(layout, "c")->rect.top, 26 + 30 + 16 + 30);
  EXPECT_EQ(layout.height, 26 + 30 + 16 + 30 + 16 + 8) << "the last margin gives way to the page's own";
}

TEST(BoxLayoutTest, ParentAndChildMarginsCollapseUnlessABorderOrPaddingStandsBetween) {
  PageLayout open = Lay(std::string(kFlat) +
                        "<p>x</p><div style='margin-top: 5px; background: #ff0'><p style='margin-top: 20px'>a</p></div>");
  ASSERT_TRUE(TextBox(open, "a"));
  EXPECT_EQ(TextBox(open, "a")->rect.top, 24 + 20) << "5 and 20 collapse to 20";
  auto fills = Boxes(open, BoxKind::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0]->rect, Rect(8, 44, 392, 60)) << "the child's margin lies outside the parent's background";
  EXPECT_EQ(fills[0]->color, 0xFFFF00u);

  PageLayout bordered = Lay(std::string(kFlat) +
                            "<p>x</p><div style='margin-top: 5px; border-top: 1px solid red'>"
                            "<p style='margin: 20px 0'>a</p></div><p>y</p>");
  ASSERT_TRUE(TextBox(bordered, "a") && TextBox(bordered, "y"));
  EXPECT_EQ(TextBox(bordered, "a")->rect.top, 24 + 5 + 1 + 20) << "the border keeps both margins";
  auto edges = Boxes(bordered, BoxKind::Fill);
  ASSERT_EQ(edges.size(), 1u);
  EXPECT_EQ(edges[0]->rect, Rect(8, 29, 392, 30));
  EXPECT_EQ(edges[0]->color, 0xFF0000u);
  EXPECT_EQ(TextBox(bordered, "y")->rect.top, 50 + 16 + 20) << "no bottom border: the child's margin passes out";

  PageLayout padded = Lay(std::string(kFlat) +
                          "<div style='padding-bottom: 1px; margin-bottom: 4px'><p style='margin-bottom: 20px'>a</p></div>"
                          "<p>y</p>");
  EXPECT_EQ(TextBox(padded, "y")->rect.top, 8 + 16 + 20 + 1 + 4) << "padding keeps the child's margin inside";
}

TEST(BoxLayoutTest, EmptyBlocksLetTheirMarginsThroughAndNegativeOnesSubtract) {
  PageLayout empty = Lay(std::string(kFlat) +
                         "<p>x</p><div style='margin: 15px 0'></div><p style='margin-top: 10px'>y</p>");
  ASSERT_TRUE(TextBox(empty, "y"));
  EXPECT_EQ(TextBox(empty, "y")->rect.top, 24 + 15) << "15, 15 and 10 collapse into one";

  PageLayout negative = Lay(std::string(kFlat) +
                            "<p style='margin-bottom: 10px'>x</p><p style='margin-top: -4px'>y</p>");
  EXPECT_EQ(TextBox(negative, "y")->rect.top, 24 + 10 - 4);

  // An empty box with a border is still drawn: two lines with nothing between.
  PageLayout bordered = Lay(std::string(kFlat) + "<p>x</p><div style='border: 2px solid #00f'></div><p>y</p>");
  auto edges = Boxes(bordered, BoxKind::Fill);
  ASSERT_EQ(edges.size(), 4u);
  EXPECT_EQ(edges[0]->rect, Rect(8, 24, 392, 26));
  EXPECT_EQ(edges[1]->rect, Rect(8, 26, 392, 28));
  EXPECT_EQ(TextBox(bordered, "y")->rect.top, 28);
}

TEST(BoxLayoutTest, BordersAndPaddingSurroundTheContentPerSide) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<div style='border: 3px solid #0000ff; border-left: 6px solid #00ff00; padding: 5px 7px'>"
                          "<p>ab</p></div>");
  ASSERT_TRUE(TextBox(layout, "ab"));
  EXPECT_EQ(TextBox(layout, "ab")->rect, Rect(8 + 6 + 7, 8 + 3 + 5, 8 + 6 + 7 + 20, 8 + 3 + 5 + 16));
  auto edges = Boxes(layout, BoxKind::Fill);
  ASSERT_EQ(edges.size(), 4u);
  const int bottom = 8 + 3 + 5 + 16 + 5 + 3;
  EXPECT_EQ(edges[0]->rect, Rect(8, 8, 392, 11));
  EXPECT_EQ(edges[0]->color, 0x0000FFu);
  EXPECT_EQ(edges[1]->rect, Rect(8, bottom - 3, 392, bottom));
  EXPECT_EQ(edges[2]->rect, Rect(8, 8, 14, bottom));
  EXPECT_EQ(edges[2]->color, 0x00FF00u);
  EXPECT_EQ(edges[3]->rect, Rect(389, 8, 392, bottom));

  // A width without a style draws nothing, as in every browser; a style
  // without a width draws the medium 3 pixels.
  EXPECT_TRUE(Boxes(Lay("<div style='border-width: 4px'>a</div>"), BoxKind::Fill).empty());
  PageLayout styled = Lay(std::string(kFlat) + "<div style='border-style: solid'><p>a</p></div>");
  auto medium = Boxes(styled, BoxKind::Fill);
  ASSERT_EQ(medium.size(), 4u);
  EXPECT_EQ(medium[0]->rect.Height(), 3);
}

TEST(BoxLayoutTest, WidthsInPercentOrPixelsAndCentring) {
  PageLayout half = Lay(std::string(kFlat) + "<div style='width: 50%; border: 1px solid red'><p>a</p></div>");
  auto edges = Boxes(half, BoxKind::Fill);
  ASSERT_EQ(edges.size(), 4u);
  EXPECT_EQ(edges[0]->rect, Rect(8, 8, 8 + 192 + 2, 9)) << "half of the 384 between the margins, plus the border";

  PageLayout centred =
      Lay(std::string(kFlat) + "<div style='width: 100px; margin: 0 auto; background: silver'><p>a</p></div>");
  auto fill = Boxes(centred, BoxKind::Fill);
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_EQ(fill[0]->rect, Rect(8 + 142, 8, 8 + 142 + 100, 24));
  EXPECT_EQ(TextBox(centred, "a")->rect.left, 150);

  // Text wraps in the narrower box.
  PageLayout narrow = Lay(std::string(kFlat) + "<div style='width: 50px'><p>aaa bbb</p></div>");
  ASSERT_TRUE(TextBox(narrow, "aaa") && TextBox(narrow, "bbb"));
  EXPECT_EQ(TextBox(narrow, "bbb")->rect, Rect(8, 24, 38, 40));
}

TEST(BoxLayoutTest, TextAlignIndentAndLineHeight) {
  PageLayout centre = Lay(std::string(kFlat) + "<p style='text-align: center'>ab</p><p align=right>cd</p>");
  EXPECT_EQ(TextBox(centre, "ab")->rect, Rect(8 + 182, 8, 8 + 202, 24));
  EXPECT_EQ(TextBox(centre, "cd")->rect, Rect(392 - 20, 24, 392, 40));

  PageLayout indented = Lay(std::string(kFlat) + "<p style='text-indent: 30px'>aaa bbb</p>", 8 + 90 + 8);
  ASSERT_TRUE(TextBox(indented, "aaa") && TextBox(indented, "bbb"));
  EXPECT_EQ(TextBox(indented, "aaa")->rect.left, 38) << "the first line moves right";
  EXPECT_EQ(TextBox(indented, "bbb")->rect.left, 8) << "the next does not";

  PageLayout tall = Lay(std::string(kFlat) + "<p style='line-height: 40px'>a<br>b</p><p>c</p>");
  ASSERT_TRUE(TextBox(tall, "a") && TextBox(tall, "b") && TextBox(tall, "c"));
  EXPECT_EQ(TextBox(tall, "a")->rect, Rect(8, 8 + 12, 18, 8 + 12 + 16)) << "the 24 extra pixels split evenly";
  EXPECT_EQ(TextBox(tall, "b")->rect.top, 8 + 40 + 12);
  EXPECT_EQ(TextBox(tall, "c")->rect.top, 8 + 80);

  // An image taller than the set height makes its line taller: it stands on
  // the baseline, and the text keeps its place below the baseline.
  struct PicturedMeasurer : SizedMeasurer {
    TSize ImageSize(std::string_view) override { return {30, 50}; }
  } pictures;
  LayoutOptions options;
  options.width = 400;
  PageLayout pictured = LayoutDocument(
      ParseHtml(std::string(kFlat) + "<p style='line-height: 20px'>a<img src=x>b</p><p>c</p>"), pictures, options);
  auto images = Boxes(pictured, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  ASSERT_TRUE(TextBox(pictured, "a") && TextBox(pictured, "c"));
  // Text: 16 high with its baseline 12 down; 20 high lines put 2 above it.
  EXPECT_EQ(images[0]->rect, Rect(18, 8, 48, 58)) << "the image from the line's top to the baseline";
  EXPECT_EQ(TextBox(pictured, "a")->rect, Rect(8, 58 - 12, 18, 58 - 12 + 16));
  EXPECT_EQ(TextBox(pictured, "c")->rect.top, 58 + (20 - 2 - 12)) << "the line ends as far below the baseline as text";

  // Hidden text keeps its room: what follows stands where it would.
  const std::string hiddenPage = "<p>a <span style='visibility: %s; font-weight: bold'>bb<a href=x>link</a></span> c</p>";
  auto page = [&](const char* visibility) {
    std::string html = hiddenPage;
    html.replace(html.find("%s"), 2, visibility);
    return Lay(std::string(kFlat) + html);
  };
  PageLayout shown = page("visible"), hidden = page("hidden");
  // A space stays with the text box it follows or leads.
  ASSERT_TRUE(TextBox(shown, "bb") && TextBox(shown, " c") && TextBox(hidden, " c"));
  EXPECT_EQ(TextBox(hidden, "bb"), nullptr);
  EXPECT_EQ(TextBox(hidden, "link"), nullptr);
  EXPECT_TRUE(hidden.links.empty()) << "nothing to click where nothing shows";
  EXPECT_EQ(TextBox(hidden, " c")->rect, TextBox(shown, " c")->rect);

  // A bare number is a multiple of the font size (13): 26.
  PageLayout factor = Lay(std::string(kFlat) + "<p style='line-height: 2'>a<br>b</p>");
  EXPECT_EQ(TextBox(factor, "b")->rect.top - TextBox(factor, "a")->rect.top, 26);
}

TEST(BoxLayoutTest, TableColumnsFromPercentagesAndMinimumAndPreferredWidths) {
  // border 1: a frame of 1 and cell outlines of 1; no spacing, no padding.
  PageLayout percent = Lay("<table border=1 cellspacing=0 cellpadding=0 width=300>"
                           "<tr><td width='25%'>a</td><td>bb</td></tr></table>");
  auto cells = Boxes(percent, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0]->rect, Rect(9, 9, 9 + 74, 9 + 18)) << "a quarter of the 298 inside the frame";
  EXPECT_EQ(cells[1]->rect, Rect(83, 9, 307, 27)) << "the rest to the other column";
  auto frame = Boxes(percent, BoxKind::Fill);
  ASSERT_EQ(frame.size(), 4u);
  EXPECT_EQ(frame[0]->rect, Rect(8, 8, 308, 9));
  EXPECT_EQ(frame[1]->rect, Rect(8, 27, 308, 28));

  const std::string words = "<tr><td>aaaa aaaa aaaa</td><td>bbbbbbbbbb</td></tr></table>";
  // Room between the least (42 + 102) and the most (142 + 102): the wrapping
  // column gets what is left over its widest word.
  PageLayout between = Lay("<table border=1 cellspacing=0 cellpadding=0 width=200>" + words);
  cells = Boxes(between, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0]->rect.Width(), 96);
  EXPECT_EQ(cells[1]->rect.Width(), 102);
  // Less than the least: the columns keep their widest words; the table
  // grows past its width as in a browser.
  PageLayout tight = Lay("<table border=1 cellspacing=0 cellpadding=0 width=100>" + words);
  cells = Boxes(tight, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0]->rect.Width(), 42);
  EXPECT_EQ(cells[1]->rect.Width(), 102);
  ASSERT_TRUE(TextBox(tight, "aaaa"));
  EXPECT_EQ(Boxes(tight, BoxKind::Text).size(), 4u) << "one word a line in the first column";
  // Room for everything and no width: each column its longest line.
  PageLayout loose = Lay("<table border=1 cellspacing=0 cellpadding=0>" + words);
  cells = Boxes(loose, BoxKind::CellBorder);
  EXPECT_EQ(cells[0]->rect.Width(), 142);
  EXPECT_EQ(cells[1]->rect.Width(), 102);
}

TEST(BoxLayoutTest, RowAndColumnSpansWithSpacingAndPadding) {
  PageLayout layout = Lay("<table border=1 cellspacing=2 cellpadding=1>"
                          "<tr><td rowspan=2>a</td><td>b</td></tr><tr><td>c</td></tr>"
                          "<tr><td colspan=2>dddd</td></tr></table>");
  auto cells = Boxes(layout, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 4u);
  // Frame 1 and spacing 2 before the first cell; cells of 10 pixels of text,
  // 1 of padding and 1 of outline a side.
  // The spanning "dddd" needs 44 of the 14 + 2 + 14 the columns have: each
  // column gets half of the 14 more.
  EXPECT_EQ(cells[0]->rect, Rect(11, 11, 32, 53)) << "two rows and the spacing between them";
  EXPECT_EQ(cells[1]->rect, Rect(34, 11, 55, 31));
  EXPECT_EQ(cells[2]->rect, Rect(34, 33, 55, 53)) << "beside the cell that spans down";
  EXPECT_EQ(cells[3]->rect, Rect(11, 55, 55, 75)) << "across both columns";
  ASSERT_TRUE(TextBox(layout, "a"));
  EXPECT_EQ(TextBox(layout, "a")->rect.top, 13 + 11) << "in the middle of its rows";
  auto frame = Boxes(layout, BoxKind::Fill);
  ASSERT_EQ(frame.size(), 4u);
  EXPECT_EQ(frame[0]->rect, Rect(8, 8, 58, 9));
  EXPECT_EQ(frame[1]->rect, Rect(8, 77, 58, 78));

  // A cell spanning rows that needs more makes the last of them taller.
  PageLayout tall = Lay("<table border=1 cellspacing=0 cellpadding=0>"
                        "<tr><td rowspan=2>a<br>b<br>c<br>d</td><td>x</td></tr><tr><td>y</td></tr></table>");
  cells = Boxes(tall, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0]->rect.Height(), 4 * 16 + 2);
  EXPECT_EQ(cells[1]->rect.Height(), 16 + 2);
  EXPECT_EQ(cells[2]->rect.Height(), 4 * 16 + 2 - 18);
  EXPECT_EQ(TextBox(tall, "x")->rect.top, 10);

  // Spans beyond the table or absurd ones end at its edge.
  PageLayout huge = Lay("<table border=1><tr><td rowspan=1000000 colspan=1000000>a</td><td>b</td></tr>"
                        "<tr><td>c</td></tr></table>");
  EXPECT_EQ(Boxes(huge, BoxKind::CellBorder).size(), 3u);
}

TEST(BoxLayoutTest, NestedListMarkersFollowTheirTypes) {
  PageLayout layout = Lay("<ul><li>a<ul><li>b<ol type=a><li>c<li>d</ol></ul></ul>"
                          "<ol start=4 style='list-style-type: upper-roman'><li>e</ol><ul style='list-style: square'><li>f</ul>");
  auto bullets = Boxes(layout, BoxKind::Bullet);
  ASSERT_EQ(bullets.size(), 3u);
  EXPECT_EQ(bullets[0]->bullet, BulletShape::Disc);
  EXPECT_EQ(bullets[1]->bullet, BulletShape::Circle);
  EXPECT_EQ(bullets[2]->bullet, BulletShape::Square) << "list-style names the shape whatever the depth";
  ASSERT_TRUE(TextBox(layout, "a.") && TextBox(layout, "b.") && TextBox(layout, "IV."));
  ASSERT_TRUE(TextBox(layout, "c") && TextBox(layout, "b"));
  EXPECT_EQ(TextBox(layout, "a.")->baseline, TextBox(layout, "c")->baseline);
  EXPECT_EQ(TextBox(layout, "a.")->rect.right, TextBox(layout, "c")->rect.left - 8) << "the marker ends before the text";
  EXPECT_GT(TextBox(layout, "c")->rect.left, TextBox(layout, "b")->rect.left) << "each list deeper in";
  EXPECT_EQ(Boxes(Lay("<ul style='list-style-type: none'><li>a</ul>"), BoxKind::Bullet).size(), 0u);
}

TEST(BoxLayoutTest, MarkerTextInEachNumbering) {
  EXPECT_EQ(MarkerText(ListStyle::Decimal, 12), "12");
  EXPECT_EQ(MarkerText(ListStyle::LowerAlpha, 1), "a");
  EXPECT_EQ(MarkerText(ListStyle::LowerAlpha, 26), "z");
  EXPECT_EQ(MarkerText(ListStyle::UpperAlpha, 27), "AA");
  EXPECT_EQ(MarkerText(ListStyle::UpperAlpha, 703), "AAA");
  EXPECT_EQ(MarkerText(ListStyle::LowerRoman, 1994), "mcmxciv");
  EXPECT_EQ(MarkerText(ListStyle::UpperRoman, 3999), "MMMCMXCIX");
  EXPECT_EQ(MarkerText(ListStyle::UpperRoman, 4000), "4000") << "beyond roman numerals";
  EXPECT_EQ(MarkerText(ListStyle::LowerAlpha, 0), "0");
  EXPECT_EQ(MarkerText(ListStyle::LowerAlpha, -3), "-3");
}

TEST(BoxLayoutTest, PresentationalAttributesOfOlderPages) {
  PageLayout page = Lay("<body bgcolor=#336699 text=white link=yellow><p>a <a href=x>b</a></p>"
                        "<p><font color=red size=5>c</font><font size=-1>d</font><font face='Times'>e</font></p>"
                        "<center>f<table border=1 cellspacing=0 cellpadding=0><tr><td>g</td></tr></table></center>"
                        "<table align=right><tr><td bgcolor=#00ff00>h</td></tr></table></body>");
  EXPECT_EQ(page.background, 0x336699u);
  ASSERT_TRUE(TextBox(page, "a ") && TextBox(page, "b"));
  EXPECT_EQ(TextBox(page, "a ")->style.color, 0xFFFFFFu);
  EXPECT_EQ(TextBox(page, "b")->style.color, 0xFFFF00u) << "links take the body's link colour";
  ASSERT_TRUE(TextBox(page, "c") && TextBox(page, "d") && TextBox(page, "e"));
  EXPECT_EQ(TextBox(page, "c")->style.color, 0xFF0000u);
  EXPECT_EQ(TextBox(page, "c")->style.Pixels(), 20);
  EXPECT_EQ(TextBox(page, "d")->style.Pixels(), 11);
  EXPECT_TRUE(TextBox(page, "e")->style.serif);
  EXPECT_EQ(TextBox(page, "c")->baseline, TextBox(page, "d")->baseline) << "one line, the larger font setting it";
  ASSERT_TRUE(TextBox(page, "f") && TextBox(page, "g") && TextBox(page, "h"));
  EXPECT_EQ(TextBox(page, "f")->rect.left, 8 + 187);
  auto cells = Boxes(page, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0]->rect.left, 8 + (384 - 14) / 2 + 1) << "a table in a centre stands in the middle";
  auto fills = Boxes(page, BoxKind::Fill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back()->color, 0x00FF00u);
  EXPECT_EQ(fills.back()->rect.right, 392 - 1) << "align=right: against the right margin";
  EXPECT_EQ(TextBox(page, "h")->rect.right, 392 - 1 - 4);
}

TEST(BoxLayoutTest, StyleSheetsPickTheRuleThatWins) {
  PageLayout page = Lay("<style>div p { color: red; font-size: 20px } #x { color: blue } .y { color: green }"
                        " p.y { font-weight: bold } td { vertical-align: top; background-color: #abcdef }"
                        " span { background-color: yellow } h1 { font-size: 2em; text-align: right }</style>"
                        "<div><p>a</p><p id=x class=y>b</p><p class=y style='color: #010203'>c</p></div>"
                        "<p>d <span>e</span></p><h1>f</h1>"
                        "<table cellspacing=0 cellpadding=0><tr><td>g<br>g</td><td>h</td></tr></table>");
  ASSERT_TRUE(TextBox(page, "a") && TextBox(page, "b") && TextBox(page, "c") && TextBox(page, "d "));
  EXPECT_EQ(TextBox(page, "a")->style.color, 0xFF0000u);
  EXPECT_EQ(TextBox(page, "a")->style.Pixels(), 20);
  EXPECT_EQ(TextBox(page, "b")->style.color, 0x0000FFu) << "the id outweighs the class";
  EXPECT_TRUE(TextBox(page, "b")->style.bold);
  EXPECT_EQ(TextBox(page, "c")->style.color, 0x010203u) << "the style attribute outweighs the sheet";
  EXPECT_EQ(TextBox(page, "d ")->style.Pixels(), 13);
  ASSERT_TRUE(TextBox(page, "e"));
  EXPECT_EQ(TextBox(page, "e")->style.background, 0xFFFF00u);
  ASSERT_TRUE(TextBox(page, "f"));
  EXPECT_EQ(TextBox(page, "f")->style.Pixels(), 26);
  EXPECT_EQ(TextBox(page, "f")->rect.right, 392);
  ASSERT_TRUE(TextBox(page, "h"));
  EXPECT_EQ(TextBox(page, "h")->rect.top, Boxes(page, BoxKind::Text).back()->rect.top);
  EXPECT_EQ(TextBox(page, "h")->rect.top, TextBox(page, "g")->rect.top) << "vertical-align: top";
  auto fills = Boxes(page, BoxKind::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0]->color, 0xABCDEFu);
  EXPECT_EQ(fills[0]->rect.Height(), 32) << "the cell is as tall as its row";
}

TEST(BoxLayoutTest, DisplayTurnsBlocksInlineAndBack) {
  PageLayout page = Lay("<style>span.b { display: block } div.i { display: inline } .n { display: none }</style>"
                        "<p>a<span class=b>b</span>c</p><div class=i>d</div><div class=i>e</div><p>f<i class=n>g</i></p>");
  ASSERT_TRUE(TextBox(page, "a") && TextBox(page, "b") && TextBox(page, "c"));
  EXPECT_GT(TextBox(page, "b")->rect.top, TextBox(page, "a")->rect.top);
  EXPECT_GT(TextBox(page, "c")->rect.top, TextBox(page, "b")->rect.top);
  EXPECT_TRUE(TextBox(page, "de")) << "two inline divs run on in one line";
  for (const LayoutBox& box : page.boxes) EXPECT_EQ(box.text.find('g'), std::string::npos);
}

TEST(BoxLayoutTest, PreAndNowrapNeverWrap) {
  PageLayout pre = Lay("<pre>aaaa bbbb cccc dddd eeee ffff</pre>", 100);
  auto text = Boxes(pre, BoxKind::Text);
  ASSERT_EQ(text.size(), 1u);
  EXPECT_GT(pre.width, 100) << "the page widens instead";
  PageLayout nowrap = Lay("<p style='white-space: nowrap'>aaaa bbbb cccc dddd</p>", 100);
  ASSERT_EQ(Boxes(nowrap, BoxKind::Text).size(), 1u);
  PageLayout cell = Lay("<table><tr><td nowrap>aaaa bbbb cccc</td></tr></table>", 100);
  ASSERT_EQ(Boxes(cell, BoxKind::Text).size(), 1u);
  EXPECT_EQ(Boxes(pre, BoxKind::Shade).size(), 1u) << "this view's grey behind preformatted text";
  PageLayout coloured = Lay("<pre style='background-color: #eeffcc; padding: 5px'>x</pre>", 400);
  EXPECT_TRUE(Boxes(coloured, BoxKind::Shade).empty()) << "the page's own colour instead";
  ASSERT_EQ(Boxes(coloured, BoxKind::Fill).size(), 1u);
  EXPECT_EQ(Boxes(coloured, BoxKind::Fill)[0]->color, 0xEEFFCCu);
  PageLayout spaces = Lay("<div style='white-space: pre'>a   b\nc</div>", 400);
  ASSERT_TRUE(TextBox(spaces, "a   b") && TextBox(spaces, "c"));
}

TEST(BoxLayoutTest, HostileStylesStayBounded) {
  PageLayout big = Lay("<p style='font-size: 1000000px'>a</p><p style='font-size: -5px'>b</p>");
  ASSERT_TRUE(TextBox(big, "a") && TextBox(big, "b"));
  EXPECT_EQ(TextBox(big, "a")->style.Pixels(), kMaxFontPixels);
  EXPECT_EQ(TextBox(big, "b")->style.Pixels(), 13) << "a negative size is no size";

  // 100,000 nested boxes, each with a border and padding: the nesting stops
  // growing at the limit and the text keeps a column.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<div style='border: 1px solid red; padding: 1px; margin: 100000px'>";
  deep += "x";
  PageLayout nested = Lay(deep, 400);
  ASSERT_TRUE(TextBox(nested, "x"));
  EXPECT_GE(TextBox(nested, "x")->rect.Width(), 10);
  EXPECT_LE(nested.boxes.size(), 5 * PageStyle::kMaxDepth + 10);

  PageLayout wide = Lay("<div style='width: 100000000px; padding: 100000000px; border: 99999999px solid'>a</div>");
  EXPECT_TRUE(TextBox(wide, "a"));
}

}  // namespace
}  // namespace hv::html
