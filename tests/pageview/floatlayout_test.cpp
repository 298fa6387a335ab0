// Floats laid out with a measurer of fixed sizes (see sizedmeasurer.h) on a
// 400 pixel surface with the page's 8 pixel margin: exact rectangles of
// floated boxes and images, of the lines beside and below them, of what
// `clear` moves down, of the two-column pattern generated documentation
// builds from floats, and of justified lines; and how the page's model reads
// the styles and attributes that ask for floats.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>
#include <vector>

#include "pageview/boxbands.h"
#include "pageview/htmlfloat.h"
#include "pageview/htmllayout.h"
#include "tests/pageview/layoutboxes.h"
#include "tests/pageview/sizedmeasurer.h"

namespace hv::html {
namespace {

// Every image is 40 by 30.
class PictureMeasurer : public SizedMeasurer {
 public:
  TSize ImageSize(std::string_view) override { return {40, 30}; }
};

PageLayout Lay(std::string_view html, int width = 400) {
  PictureMeasurer measurer;
  LayoutOptions options;
  options.width = width;
  return LayoutDocument(ParseHtml(html), measurer, options);
}

TRect RectOf(const PageLayout& layout, std::string_view text) {
  const LayoutBox* box = TextBox(layout, text);
  return box ? box->rect : TRect{-1, -1, -1, -1};
}

constexpr std::string_view kFlat = "<style>p { margin: 0 }</style>";

// Words of four letters, 40 pixels each and 10 for a space: "aaaa bbbb ...".
std::string Words(int count, char first = 'a') {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += std::string(4, static_cast<char>(first + i));
  }
  return text;
}

TEST(FloatLayoutTest, LinesRunBesideALeftAndARightFloatUntilBelowThem) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<div style='float: left; width: 100px'><p>aa</p><p>bb</p></div>"
                          "<div style='float: right; width: 50px'><p>cc</p></div><p>" + Words(16) + "</p>");
  EXPECT_EQ(RectOf(layout, "aa"), Rect(8, 8, 28, 24));
  EXPECT_EQ(RectOf(layout, "bb"), Rect(8, 24, 28, 40));
  EXPECT_EQ(RectOf(layout, "cc"), Rect(342, 8, 362, 24)) << "the right float's box ends at the right edge";
  // Between both floats 234 pixels: four words; beside the left one alone
  // 284: five; below them the whole 384: the seven left.
  EXPECT_EQ(RectOf(layout, "aaaa bbbb cccc dddd"), Rect(108, 8, 298, 24));
  EXPECT_EQ(RectOf(layout, "eeee ffff gggg hhhh iiii"), Rect(108, 24, 348, 40));
  EXPECT_EQ(RectOf(layout, "jjjj kkkk llll mmmm nnnn oooo pppp"), Rect(8, 40, 348, 56));
  EXPECT_EQ(layout.height, 56 + 8);
  EXPECT_TRUE(layout.hasFloats);
  EXPECT_TRUE(TextBox(layout, "aa")->floated);
  EXPECT_FALSE(TextBox(layout, "aaaa bbbb cccc dddd")->floated);
  // The blocks inside the floats keep their tops, in the page's order.
  ASSERT_EQ(layout.blockTops.size(), 4u);
  EXPECT_EQ(layout.blockTops[0], 8);
  EXPECT_EQ(layout.blockTops[1], 24);
  EXPECT_EQ(layout.blockTops[2], 8);
  EXPECT_EQ(layout.blockTops[3], 8);
}

TEST(FloatLayoutTest, FloatsStackSidewaysAndGoDownWhenTheRowIsFull) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<div style='float: left; width: 150px'><p>a1</p></div>"
                          "<div style='float: left; width: 150px'><p>a2</p><p>x</p></div>"
                          "<div style='float: left; width: 150px'><p>a3</p></div>"
                          "<div style='float: right'><p>r1</p></div><div style='float: right'><p>r2</p></div>");
  EXPECT_EQ(RectOf(layout, "a1"), Rect(8, 8, 28, 24));
  EXPECT_EQ(RectOf(layout, "a2"), Rect(158, 8, 178, 24)) << "left floats stack rightwards";
  EXPECT_EQ(RectOf(layout, "a3"), Rect(8, 40, 28, 56))
      << "no room right of the second, which reaches lower than the first: below both";
  EXPECT_EQ(RectOf(layout, "r1"), Rect(372, 40, 392, 56)) << "shrunk to its content, never above the float before";
  EXPECT_EQ(RectOf(layout, "r2"), Rect(352, 40, 372, 56)) << "right floats stack leftwards";
}

TEST(FloatLayoutTest, ClearMovesBelowTheFloatsOfItsSideOnly) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<div style='float: left; width: 100px'><p>aa</p><p>bb</p></div>"
                          "<p>x</p><p style='clear: right'>y</p><p style='clear: left'>z</p>"
                          "<div style='float: right; width: 50px'><p>r</p></div><div style='clear: both'></div><p>w</p>");
  EXPECT_EQ(RectOf(layout, "x"), Rect(108, 8, 118, 24));
  EXPECT_EQ(RectOf(layout, "y"), Rect(108, 24, 118, 40)) << "no right float to clear";
  EXPECT_EQ(RectOf(layout, "z"), Rect(8, 40, 18, 56)) << "below the left float";
  EXPECT_EQ(RectOf(layout, "r"), Rect(342, 56, 352, 72));
  EXPECT_EQ(RectOf(layout, "w"), Rect(8, 72, 18, 88)) << "an empty box that clears both moves what follows down";
}

TEST(FloatLayoutTest, OnlyFormattingContextsGrowToHoldTheirFloats) {
  PageLayout plain = Lay(std::string(kFlat) +
                         "<div style='background: #00ff00'><div style='float: left'><p>aa</p><p>bb</p></div><p>x</p></div>"
                         "<p>" + Words(12) + "</p>");
  auto fills = Boxes(plain, BoxKind::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0]->rect, Rect(8, 8, 392, 24)) << "a box in the flow is as tall as its lines alone";
  EXPECT_EQ(RectOf(plain, "aaaa bbbb cccc dddd eeee ffff gggg"), Rect(28, 24, 368, 40))
      << "the float still narrows the next block's lines";
  EXPECT_EQ(RectOf(plain, "hhhh iiii jjjj kkkk llll"), Rect(8, 40, 248, 56));

  PageLayout holding = Lay(std::string(kFlat) +
                           "<div style='overflow: hidden; background: #00ff00'><div style='float: left'><p>aa</p><p>bb</p>"
                           "</div><p>x</p></div><p>y</p>");
  fills = Boxes(holding, BoxKind::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0]->rect, Rect(8, 8, 392, 40)) << "overflow other than visible holds the float";
  EXPECT_EQ(RectOf(holding, "y"), Rect(8, 40, 18, 56));

  PageLayout floated = Lay(std::string(kFlat) +
                           "<div style='float: left; border: 2px solid red; padding: 3px'>"
                           "<div style='float: right'><p>aa</p><p>bb</p></div></div><p>z</p>");
  // The outer float holds its inner one: 5 + 32 + 5 tall, 5 + 20 + 5 wide.
  std::vector<const LayoutBox*> edges = Boxes(floated, BoxKind::Fill);
  ASSERT_EQ(edges.size(), 4u);
  EXPECT_EQ(edges[0]->rect, Rect(8, 8, 38, 10));
  EXPECT_EQ(edges[1]->rect, Rect(8, 48, 38, 50));
  EXPECT_EQ(RectOf(floated, "aa"), Rect(13, 13, 33, 29));
  EXPECT_EQ(RectOf(floated, "z"), Rect(38, 8, 48, 24));
}

TEST(FloatLayoutTest, ASidebarPulledLeftByANegativeMarginStandsBesideTheBody) {
  // The two-column pattern of Sphinx's basic theme.
  const std::string page =
      "<style>p { margin: 0 } div.documentwrapper { float: left; width: 100% }"
      "div.bodywrapper { margin: 0 0 0 230px } div.sphinxsidebar { float: left; width: 230px; margin-left: -100% }"
      "div.clearer { clear: both }</style>"
      "<div class=related><p>top</p></div>"
      "<div class=document><div class=documentwrapper><div class=bodywrapper><div class=body>"
      "<p>body</p><p>more</p><p>last</p></div></div></div>"
      "<div class=sphinxsidebar><p>contents</p></div><div class=clearer></div></div><p>footer</p>";
  PageLayout layout = Lay(page);
  EXPECT_EQ(RectOf(layout, "top"), Rect(8, 8, 38, 24));
  EXPECT_EQ(RectOf(layout, "body"), Rect(238, 24, 278, 40));
  EXPECT_EQ(RectOf(layout, "last"), Rect(238, 56, 278, 72));
  EXPECT_EQ(RectOf(layout, "contents"), Rect(8, 24, 88, 40)) << "the sidebar at the left, level with the body's top";
  EXPECT_EQ(RectOf(layout, "footer"), Rect(8, 72, 68, 88)) << "below both columns";
  // In the page's text order the body comes before the sidebar.
  const LayoutBox* body = TextBox(layout, "body");
  const LayoutBox* contents = TextBox(layout, "contents");
  EXPECT_LT(body, contents);

  PageLayout narrow = Lay(page, 300);  // the columns keep their places at any width
  EXPECT_EQ(RectOf(narrow, "contents"), Rect(8, 24, 88, 40));
  EXPECT_EQ(RectOf(narrow, "body").left, 238);
}

TEST(FloatLayoutTest, ARightFloatedItemSitsAtTheEndOfTheLineItStartsAndInlineItemsShareALine) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<style>ul { margin: 0; padding: 0; list-style-type: none } li { display: inline }"
                          "li.right { float: right; margin-right: 5px }</style>"
                          "<ul><li class=right><a href=i.htm>index</a></li><li class=right>next |</li>"
                          "<li>home</li> <li>this</li></ul><p>after</p>");
  EXPECT_EQ(RectOf(layout, "index"), Rect(337, 8, 387, 24));
  EXPECT_EQ(RectOf(layout, "next |"), Rect(272, 8, 332, 24)) << "right floats stack leftwards, margins kept";
  EXPECT_EQ(RectOf(layout, "home this"), Rect(40, 8, 130, 24)) << "inline items on one line, without markers";
  EXPECT_TRUE(Boxes(layout, BoxKind::Bullet).empty());
  EXPECT_EQ(RectOf(layout, "after"), Rect(8, 24, 58, 40));
  ASSERT_EQ(layout.links.size(), 1u);
  EXPECT_EQ(layout.links[0].rect, Rect(337, 8, 387, 24)) << "a float's links are where it is drawn";
}

TEST(FloatLayoutTest, AnImageAlignedLeftFloatsWithItsSpaceAndBorderAndTextRunsBeside) {
  PageLayout layout = Lay(std::string(kFlat) + "<p><img src=pic.png align=left hspace=2 vspace=3 border=1>" + Words(20) +
                          "</p><p>next</p>");
  auto images = Boxes(layout, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  // Its room: 40 + 2 * (2 + 1) wide, 30 + 2 * (3 + 1) tall, at the top left.
  EXPECT_EQ(images[0]->rect, Rect(11, 12, 51, 42));
  EXPECT_TRUE(images[0]->floated);
  auto border = Boxes(layout, BoxKind::Fill);
  ASSERT_EQ(border.size(), 4u);
  EXPECT_EQ(border[0]->rect, Rect(10, 11, 52, 12));
  EXPECT_EQ(border[2]->rect, Rect(10, 42, 52, 43));
  EXPECT_EQ(border[0]->color, 0u);
  // Beside it 338 pixels: six words a line while the image reaches (to 46).
  EXPECT_EQ(RectOf(layout, "aaaa bbbb cccc dddd eeee ffff"), Rect(54, 8, 344, 24));
  EXPECT_EQ(RectOf(layout, "mmmm nnnn oooo pppp qqqq rrrr"), Rect(54, 40, 344, 56));
  EXPECT_EQ(RectOf(layout, "ssss tttt"), Rect(8, 56, 98, 72));
  EXPECT_EQ(RectOf(layout, "next"), Rect(8, 72, 48, 88));

  PageLayout right = Lay(std::string(kFlat) + "<p>ab <img src=pic.png style='float: right'> cd</p>");
  images = Boxes(right, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->rect, Rect(352, 8, 392, 38)) << "CSS float on an image, mid-line: at that line's top";
  EXPECT_EQ(RectOf(right, "ab cd"), Rect(8, 8, 58, 24));
  EXPECT_EQ(right.height, 38 + 8) << "the page holds its floats";

  PageLayout middle = Lay(std::string(kFlat) + "<p>ab<img src=pic.png align=middle hspace=5>cd</p>");
  images = Boxes(middle, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_FALSE(images[0]->floated);
  EXPECT_EQ(images[0]->rect, Rect(33, 8, 73, 38)) << "middle stays in the line, hspace on both sides";
  EXPECT_EQ(RectOf(middle, "cd"), Rect(78, 26, 98, 42));
}

TEST(FloatLayoutTest, ABreakThatClearsPutsTheRestBelowTheImages) {
  PageLayout layout = Lay(std::string(kFlat) + "<p><img src=a.png align=left>ab<br clear=all>cd<br>ef</p><p>gh</p>");
  EXPECT_EQ(RectOf(layout, "ab"), Rect(48, 8, 68, 24));
  EXPECT_EQ(RectOf(layout, "cd"), Rect(8, 38, 28, 54)) << "below the image, no empty line between";
  EXPECT_EQ(RectOf(layout, "ef"), Rect(8, 54, 28, 70));
  EXPECT_EQ(RectOf(layout, "gh"), Rect(8, 70, 28, 86));

  PageLayout plain = Lay(std::string(kFlat) + "<p><img src=a.png align=right>ab<br>cd</p>");
  EXPECT_EQ(RectOf(plain, "cd"), Rect(8, 24, 28, 40)) << "a plain break stays beside the image";
}

TEST(FloatLayoutTest, ACellHoldsTheImagesFloatedInIt) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<table width=200 cellpadding=0 cellspacing=0><tr><td><img src=a.png align=right>ab</td></tr>"
                          "</table><p>" + Words(10) + "</p>");
  auto images = Boxes(layout, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->rect.right, 8 + 200) << "at the right of its cell";
  const TRect ab = RectOf(layout, "ab");
  EXPECT_EQ(ab.left, 8);
  EXPECT_EQ(images[0]->rect.top, ab.top) << "level with the cell's first line";
  EXPECT_EQ(RectOf(layout, "aaaa bbbb cccc dddd eeee ffff gggg").left, 8)
      << "the text after the table runs the whole width: the float stayed in its cell";
  EXPECT_GE(RectOf(layout, "aaaa bbbb cccc dddd eeee ffff gggg").top, images[0]->rect.bottom) << "the row holds it";
}

TEST(FloatLayoutTest, AFloatedBoxInACellStaysInItsCellWhichGrowsToHoldIt) {
  const Document doc = ParseHtml(std::string(kFlat) +
                                 "<p>intro</p><table width=200 cellpadding=0 cellspacing=0><tr><td>"
                                 "<div style='float: left; width: 50px'><p>aa</p><p id=in>bb</p></div><p>" + Words(2) +
                                 "</p></td></tr></table><p id=after>after</p>");
  PictureMeasurer measurer;
  LayoutOptions options;
  options.width = 400;
  const PageLayout layout = LayoutDocument(doc, measurer, options);
  // The table stands 12 below the intro, as tables do, and keeps 12 below.
  EXPECT_EQ(RectOf(layout, "aa"), Rect(8, 36, 28, 52));
  EXPECT_EQ(RectOf(layout, "bb"), Rect(8, 52, 28, 68));
  EXPECT_EQ(RectOf(layout, "aaaa bbbb"), Rect(58, 36, 148, 52)) << "the cell's text runs beside the float";
  EXPECT_EQ(RectOf(layout, "after"), Rect(8, 80, 58, 96)) << "the row is as tall as the float, not its one line";
  // Anchors inside the float inside the cell move with both.
  const Place* in = doc.FindPlace("in");
  const Place* after = doc.FindPlace("after");
  ASSERT_TRUE(in && after);
  ASSERT_EQ(layout.blockTops.size(), doc.blockCount);
  EXPECT_EQ(layout.blockTops[in->block], 52);
  EXPECT_EQ(layout.blockTops[after->block], 80);
}

TEST(FloatLayoutTest, AnImageFloatedInANestedTableStaysInItsInnerCell) {
  PageLayout layout = Lay(std::string(kFlat) +
                          "<table width=300 cellpadding=0 cellspacing=0><tr><td>"
                          "<table width=200 cellpadding=0 cellspacing=0><tr><td><img src=a.png align=right>ab</td></tr></table>"
                          "</td></tr></table><p>" + Words(2) + "</p>");
  auto images = Boxes(layout, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->rect, Rect(168, 8, 208, 38)) << "at the right of the inner cell, not of the outer one";
  EXPECT_EQ(RectOf(layout, "ab"), Rect(8, 8, 28, 24));
  EXPECT_EQ(RectOf(layout, "aaaa bbbb"), Rect(8, 38 + 12, 98, 54 + 12))
      << "both rows hold it; the text after runs below, past the table's margin";
}

TEST(FloatLayoutTest, UnwrappedTextInAFloatWidensThePage) {
  PageLayout layout = Lay("<div style='float: left; width: 50px'><pre>" + std::string(60, 'a') + "</pre></div>");
  const LayoutBox* text = TextBox(layout, std::string(60, 'a'));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->rect.right - text->rect.left, 480);
  EXPECT_GE(layout.width, text->rect.right + 8) << "the page scrolls sideways to the end of the line";
}

TEST(FloatLayoutTest, AWordTooWideBesideAFloatMovesBelowIt) {
  PageLayout layout = Lay(std::string(kFlat) + "<div style='float: left; width: 300px'><p>aa</p></div><p>" +
                          std::string(10, 'w') + "</p>");
  EXPECT_EQ(RectOf(layout, std::string(10, 'w')), Rect(8, 24, 108, 40));
}

TEST(FloatLayoutTest, JustifiedLinesReachTheRightEdgeExceptTheLast) {
  PageLayout layout = Lay("<p style='text-align: justify; margin: 0'>" + Words(10) + "<br>" + Words(2, 'x') + " " +
                          Words(9, 'a') + "</p>");
  // Seven words take 340 of 384 pixels: the six spaces share 44.
  EXPECT_EQ(RectOf(layout, "aaaa "), Rect(8, 8, 65, 24));
  EXPECT_EQ(RectOf(layout, "bbbb "), Rect(65, 8, 122, 24));
  EXPECT_EQ(RectOf(layout, "cccc "), Rect(122, 8, 180, 24));
  EXPECT_EQ(RectOf(layout, "ffff "), Rect(294, 8, 352, 24));
  EXPECT_EQ(RectOf(layout, "gggg"), Rect(352, 8, 392, 24));
  EXPECT_EQ(RectOf(layout, "hhhh iiii jjjj"), Rect(8, 24, 148, 40)) << "a line a break ends is not stretched";
  EXPECT_EQ(RectOf(layout, "xxxx "), Rect(8, 40, 65, 56));
  EXPECT_EQ(RectOf(layout, "ffff gggg hhhh iiii"), Rect(8, 56, 198, 72)) << "nor is the last";
}

TEST(FloatLayoutTest, TheModelReadsFloatClearAndImageAttributes) {
  Document doc = ParseHtml(
      "<style>.l { float: left } .c { clear: both } .o { overflow: auto } span.r { float: right; width: 20px }</style>"
      "<div class=l>a</div><p class=c>b</p><div class=o>c</div><span class=r>d</span>"
      "<img src=x.png align=RIGHT hspace=4 vspace=5 border=2><img src=y.png align=top><img src=z.png class=l>");
  ASSERT_GE(doc.containers.size(), 4u);
  EXPECT_EQ(doc.containers[0].box.floating, Float::Left);
  EXPECT_EQ(doc.containers[1].box.clear, kClearLeft | kClearRight);
  EXPECT_TRUE(doc.containers[2].box.ownContext);
  EXPECT_EQ(doc.containers[3].box.floating, Float::Right) << "a floated span is a block";
  std::vector<const html::Run*> images;
  for (const Block& block : doc.blocks)
    for (const html::Run& run : block.runs)
      if (run.IsImage()) images.push_back(&run);
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[0]->imageFloat, Float::Right);
  EXPECT_EQ(images[0]->hspace, 4);
  EXPECT_EQ(images[0]->vspace, 5);
  EXPECT_EQ(images[0]->imageBorder, 2);
  EXPECT_EQ(images[1]->imageFloat, Float::None);
  EXPECT_EQ(images[2]->imageFloat, Float::Left);
}

TEST(FloatLayoutTest, ThousandsOfFloatsStayBounded) {
  std::string page;
  for (int i = 0; i < 4000; ++i) page += i % 2 ? "<div style='float: left'>x</div>" : "<img src=a.png align=right>";
  page += "<p>" + Words(20) + "</p>";
  for (int i = 0; i < 200; ++i) page += "<div style='float: left; width: 50px'>";
  page += "deep";
  const auto start = std::chrono::steady_clock::now();
  PageLayout layout = Lay(page);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(5));
  EXPECT_NE(TextBox(layout, "deep"), nullptr);
  EXPECT_EQ(Boxes(layout, BoxKind::Image).size(), 2000u);
  EXPECT_GT(layout.height, 0);

  // Floats nested deeper than the layout follows, holding many blocks.
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "<div style='float: left'>";
  for (int i = 0; i < 20000; ++i) deep += "<p>x</p>";
  const auto deepStart = std::chrono::steady_clock::now();
  PageLayout nested = Lay(deep);
  EXPECT_LT(std::chrono::steady_clock::now() - deepStart, std::chrono::seconds(5));
  EXPECT_EQ(nested.blockTops.size(), 20000u);
  EXPECT_GT(nested.height, 20000 * 16);
}

TEST(FloatSetTest, PlacesClearsAndNarrowsByMarginBoxes) {
  layout::FloatSet floats;
  EXPECT_EQ(floats.Band(0, 10, 0, 100), (std::pair<int, int>{0, 100}));
  layout::FloatArea a = floats.Place(Float::Left, 30, 20, 5, 0, 100);
  EXPECT_EQ(a.left, 0);
  EXPECT_EQ(a.top, 5);
  layout::FloatArea b = floats.Place(Float::Right, 80, 10, 0, 0, 100);
  EXPECT_EQ(b.top, 25) << "no room beside the first, and never above it";
  EXPECT_EQ(b.left, 20);
  EXPECT_EQ(floats.Band(10, 10, 0, 100), (std::pair<int, int>{30, 100}));
  EXPECT_EQ(floats.Band(20, 10, 0, 100), (std::pair<int, int>{30, 30})) << "never less than nothing";
  EXPECT_EQ(floats.Band(25, 5, 0, 100), (std::pair<int, int>{0, 20}));
  EXPECT_EQ(floats.Clear(kClearLeft, 0), 25);
  EXPECT_EQ(floats.Clear(kClearRight, 0), 35);
  EXPECT_EQ(floats.Clear(kClearLeft | kClearRight, 50), 50);
  EXPECT_EQ(floats.NextBottom(10, 20), 25);
  EXPECT_EQ(floats.NextBottom(40, 20), INT_MAX);
  // A margin pulling it narrower than nothing still fits anywhere.
  layout::FloatArea c = floats.Place(Float::Left, -50, 10, 0, 0, 100);
  EXPECT_EQ(c.top, 25);
  EXPECT_EQ(c.left, 0);
  EXPECT_EQ(c.right, -50);
  EXPECT_EQ(floats.LowestSince(c.serial, 0), 35);
  EXPECT_EQ(floats.LowestSince(0, 0), 35);
}

}  // namespace
}  // namespace hv::html

namespace hv::html {
namespace {

LayoutBox BoxAt(int top, int bottom) {
  LayoutBox box;
  box.kind = BoxKind::Fill;
  box.rect = TRect{0, top, 10, bottom};
  return box;
}

TEST(BoxBandsTest, FindsTheBoxesAStretchTouchesInTheirOrderWhateverTheirPlaces) {
  LayoutBoxes boxes;
  for (int i = 0; i < 2000; ++i) boxes.push_back(BoxAt(i * 20, i * 20 + 16));  // 0: 0-16, 1: 20-36, ...
  boxes.push_back(BoxAt(0, 40000));   // 2000: a background under everything
  boxes.push_back(BoxAt(10, 30));     // 2001: a sidebar's line, after the whole body
  boxes.push_back(BoxAt(-50, -10));   // 2002: pulled above the page
  TBoxBands bands;
  bands.Build(boxes);
  std::vector<size_t> shown;
  bands.Touching(18, 22, shown);
  std::vector<size_t> wanted{1, 2000, 2001};
  std::vector<size_t> exact;
  for (size_t i : shown)
    if (boxes[i].rect.top < 22 && boxes[i].rect.bottom > 18) exact.push_back(i);
  EXPECT_EQ(exact, wanted);
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_LT(shown.size(), 100u) << "not every box";

  bands.Touching(30000, 30010, shown);
  exact.clear();
  for (size_t i : shown)
    if (boxes[i].rect.top < 30010 && boxes[i].rect.bottom > 30000) exact.push_back(i);
  EXPECT_EQ(exact, (std::vector<size_t>{1500, 2000}));

  bands.Touching(-60, -40, shown);
  EXPECT_NE(std::find(shown.begin(), shown.end(), 2002u), shown.end());
  bands.Touching(90000, 90100, shown);
  EXPECT_TRUE(shown.empty()) << "below everything";
  bands.Touching(5, 5, shown);
  EXPECT_TRUE(shown.empty()) << "an empty stretch";

  bands.Build({});
  bands.Touching(0, 100, shown);
  EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace hv::html
