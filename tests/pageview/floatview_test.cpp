// Floats in the real view window: a float paints over the background of
// the block it stands in and answers clicks on its links; a two-column page
// built from floats keeps its columns when zoomed, and its text is selected
// in the page's order, the body before the sidebar that follows it.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "pageview/htmlview.h"
#include "tests/pageview/viewhost.h"

namespace hv {
namespace {

class FloatViewTest : public test::PageViewHost {
 protected:
  void SetUp() override { OpenView("hv_float_view_", 400, 300); }

  const html::LayoutBox* Fill(uint32_t color) const {
    for (const html::LayoutBox& box : view_->Layout().boxes)
      if (box.kind == html::BoxKind::Fill && box.color == color) return &box;
    return nullptr;
  }

  const html::LayoutBox* Text(const std::string& text) const {
    for (const html::LayoutBox& box : view_->Layout().boxes)
      if (box.kind == html::BoxKind::Text && box.text == text) return &box;
    return nullptr;
  }
};

TEST_F(FloatViewTest, AFloatPaintsOverTheBackgroundAroundItAndItsLinkAnswersAClick) {
  Write("two.htm", "<p>second page</p>");
  ASSERT_TRUE(view_->Navigate(Write("one.htm",
                                    "<style>body { margin: 0 } p { margin: 0 }</style><body>"
                                    "<div style='float: left; width: 100px; background: #ff0000'>"
                                    "<p><a href=two.htm>two</a></p><p>&nbsp;</p><p>&nbsp;</p></div>"
                                    "<div style='background: #00ff00'><p>beside</p></div>")));
  const html::LayoutBox* red = Fill(0xFF0000);
  const html::LayoutBox* green = Fill(0x00FF00);
  ASSERT_TRUE(red && green);
  EXPECT_EQ(red->rect.left, 0);
  EXPECT_EQ(red->rect.right, 100);
  EXPECT_EQ(green->rect.left, 0) << "the block's box reaches under the float";
  EXPECT_EQ(green->rect.top, red->rect.top);
  EXPECT_LT(green->rect.bottom, red->rect.bottom) << "one line tall: blocks in the flow do not hold floats";
  const html::LayoutBox* beside = Text("beside");
  ASSERT_NE(beside, nullptr);
  EXPECT_EQ(beside->rect.left, 100) << "the line runs beside the float";

  std::vector<uint32_t> pixels = Capture();
  EXPECT_EQ(At(pixels, 95, green->rect.top + 1), 0xFF0000u) << "the float over the green block";
  EXPECT_EQ(At(pixels, 300, green->rect.top + 1), 0x00FF00u);
  EXPECT_EQ(At(pixels, 95, red->rect.bottom - 2), 0xFF0000u) << "below the green block, the float's own";
  EXPECT_EQ(At(pixels, 200, red->rect.bottom - 2), 0xFFFFFFu);
  EXPECT_EQ(At(pixels, 105, red->rect.bottom + 2), 0xFFFFFFu);

  const html::LayoutBox* link = Text("two");
  ASSERT_NE(link, nullptr);
  const LPARAM at = MAKELPARAM((link->rect.left + link->rect.right) / 2, (link->rect.top + link->rect.bottom) / 2);
  SendMessageW(view_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(view_->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(view_->Path(), (folder_ / "two.htm").wstring());
}

TEST_F(FloatViewTest, TwoColumnsFromFloatsKeepTheirPlacesWhenZoomedAndSelectInThePagesOrder) {
  Write("basic.css",
        "body { margin: 0 } p { margin: 0 } div.documentwrapper { float: left; width: 100% }"
        "div.bodywrapper { margin: 0 0 0 100px } div.sphinxsidebar { float: left; width: 100px; margin-left: -100% }"
        "div.sphinxsidebar { background-color: #0000ff } div.clearer { clear: both }");
  ASSERT_TRUE(view_->Navigate(Write(
      "page.htm",
      "<link rel=stylesheet href=basic.css><body><div class=document><div class=documentwrapper><div class=bodywrapper>"
      "<p id=start>Body text</p><p>More body</p></div></div><div class=sphinxsidebar><p>Contents</p></div>"
      "<div class=clearer></div></div><p>Footer</p>")));
  const html::LayoutBox* body = Text("Body text");
  const html::LayoutBox* side = Text("Contents");
  const html::LayoutBox* footer = Text("Footer");
  ASSERT_TRUE(body && side && footer);
  EXPECT_EQ(side->rect.left, 0);
  EXPECT_EQ(body->rect.left, 100);
  EXPECT_EQ(side->rect.top, body->rect.top) << "the sidebar's top level with the body's";
  EXPECT_GE(footer->rect.top, Text("More body")->rect.bottom) << "below both columns";
  const html::LayoutBox* blue = Fill(0x0000FF);
  ASSERT_NE(blue, nullptr);
  EXPECT_EQ(blue->rect.left, 0);
  EXPECT_EQ(blue->rect.right, 100);
  std::vector<uint32_t> pixels = Capture();
  EXPECT_EQ(At(pixels, 98, blue->rect.bottom - 1), 0x0000FFu);
  EXPECT_EQ(At(pixels, 102, blue->rect.bottom - 1), 0xFFFFFFu);

  view_->SelectAll();
  EXPECT_EQ(view_->SelectedText(), "Body text\r\nMore body\r\nContents\r\nFooter");

  view_->SetZoom(200);
  body = Text("Body text");
  side = Text("Contents");
  ASSERT_TRUE(body && side);
  EXPECT_EQ(side->rect.left, 0);
  EXPECT_EQ(body->rect.left, 200) << "the column's margin grows with the zoom";
  EXPECT_EQ(side->rect.top, body->rect.top);
  ASSERT_EQ(view_->Layout().blockTops.size(), view_->Document().blocks.size());
  EXPECT_EQ(view_->Layout().blockTops[2], side->rect.top) << "the sidebar's block top, for its anchors";
}

}  // namespace
}  // namespace hv
