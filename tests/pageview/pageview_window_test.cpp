// The page view's real window with what makes a page wide or heavy. Images:
// files in every format the imaging component reads, written here byte by
// byte or through its encoders, laid out at their size and painted with their
// colours and alpha; files that are truncated, lying or huge show their alt
// text. Pages wider than the view scroll sideways. Styled pages paint their
// colours, boxes and borders where the layout puts them.

#include "pageview/pageimages.h"

#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "pageview/htmlview.h"
#include "tests/pageview/imagecodec.h"
#include "tests/pageview/viewhost.h"

namespace hv {
namespace {

constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;

using test::Bmp;
using test::Gif;
using test::Ico;

uint32_t Crc32(std::string_view bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (char ch : bytes) {
    crc ^= static_cast<uint8_t>(ch);
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

// A PNG whose header promises 30,000 x 30,000 pixels over a few bytes of data.
std::string HugePng() {
  auto chunk = [](std::string_view type, std::string_view data) {
    std::string out;
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>(data.size() >> (8 * i)));
    std::string body = std::string(type) + std::string(data);
    uint32_t crc = Crc32(body);
    out += body;
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>(crc >> (8 * i)));
    return out;
  };
  std::string ihdr;
  for (uint32_t v : {30000u, 30000u})
    for (int i = 3; i >= 0; --i) ihdr.push_back(static_cast<char>(v >> (8 * i)));
  ihdr += std::string("\x08\x06\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", ihdr) +
         chunk("IDAT", std::string("\x78\x9C\x63\x00\x00\x00\x01\x00\x01", 9)) + chunk("IEND", "");
}

class PageViewWindowTest : public test::PageViewHost {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PageViewHost::SetUpTestSuite();
  }
  static void TearDownTestSuite() {
    PageViewHost::TearDownTestSuite();
    CoUninitialize();
  }

  void SetUp() override { OpenView("hv_images_test_", kViewWidth, kViewHeight, "img"); }


  std::vector<const html::LayoutBox*> Images() const {
    std::vector<const html::LayoutBox*> out;
    for (const html::LayoutBox& b : view_->Layout().boxes)
      if (b.kind == html::BoxKind::Image) out.push_back(&b);
    return out;
  }

  std::string AllText() const {
    std::string text;
    for (const html::LayoutBox& b : view_->Layout().boxes)
      if (b.kind == html::BoxKind::Text) text += b.text;
    return text;
  }

};

// Channels within a tolerance: scaling and JPEG blur the edges a little.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift : {0, 8, 16}) {
    int a = static_cast<int>(actual >> shift & 0xFF), e = static_cast<int>(expected >> shift & 0xFF);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

TEST_F(PageViewWindowTest, EveryFormatShowsAtItsSizeWithItsColours) {
  // Left half opaque blue, right half blue at half alpha.
  Write("img/a.png", test::EncodeImage(GUID_ContainerFormatPng, 20, 10, [](int x, int) { return x < 10 ? 0xFF0000FFu : 0x800000FFu; }));
  Write("img/b.gif", Gif(6, 4, {1, 2}));  // a red frame, then a green one
  Write("img/c.jpg", test::EncodeImage(GUID_ContainerFormatJpeg, 16, 16, [](int, int) { return 0xFF00C000u; }));
  Write("img/d.bmp", Bmp(8, 6, [](int, int) { return 0xFFFFFF00u; }));
  Write("img/e.ico", Ico(16, 16, [](int x, int) { return x < 8 ? 0xFF008080u : 0x00000000u; }));
  ASSERT_TRUE(view_->Navigate(Write("page.htm",
      "<p><img src='img/a.png'> <img src='img/b.gif'> <img src='img/c.jpg'> <img src='img/d.bmp'> "
      "<img src='img/e.ico' alt='icon'></p>")));
  auto images = Images();
  ASSERT_EQ(images.size(), 5u) << AllText();
  const int sizes[5][2] = {{20, 10}, {6, 4}, {16, 16}, {8, 6}, {16, 16}};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(images[i]->rect.Width(), sizes[i][0]) << images[i]->text;
    EXPECT_EQ(images[i]->rect.Height(), sizes[i][1]) << images[i]->text;
    EXPECT_EQ(images[i]->rect.bottom, images[0]->rect.bottom) << "all on one baseline";
  }
  EXPECT_EQ(AllText().find("icon"), std::string::npos) << "alt text only when the image cannot be read";

  std::vector<uint32_t> pixels = Capture();
  const TRect& png = images[0]->rect;
  EXPECT_EQ(At(pixels, png.left + 2, png.top + 5), 0x0000FFu);
  EXPECT_TRUE(Near(At(pixels, png.right - 3, png.top + 5), 0x7F7FFFu, 2)) << "half alpha over white";
  EXPECT_EQ(At(pixels, png.right, png.top + 5), 0xFFFFFFu) << "nothing past the image";
  EXPECT_EQ(At(pixels, images[1]->rect.left + 3, images[1]->rect.top + 2), 0xFF0000u) << "the first frame";
  EXPECT_TRUE(Near(At(pixels, images[2]->rect.left + 8, images[2]->rect.top + 8), 0x00C000u, 12));
  EXPECT_EQ(At(pixels, images[3]->rect.left + 4, images[3]->rect.top + 3), 0xFFFF00u);
  EXPECT_EQ(At(pixels, images[4]->rect.left + 4, images[4]->rect.top + 8), 0x008080u);
  EXPECT_EQ(At(pixels, images[4]->rect.left + 12, images[4]->rect.top + 8), 0xFFFFFFu) << "the transparent half";
  EXPECT_EQ(view_->Images().Count(), 5);
}

TEST_F(PageViewWindowTest, WidthAndHeightScaleTheImage) {
  Write("img/a.png", test::EncodeImage(GUID_ContainerFormatPng, 20, 10, [](int x, int) { return x < 10 ? 0xFF0000FFu : 0xFFFF0000u; }));
  ASSERT_TRUE(view_->Navigate(Write("page.htm", "<img src='img/a.png' width=80><br><img src='img/a.png' width=10 height=30>")));
  auto images = Images();
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0]->rect.Width(), 80);
  EXPECT_EQ(images[0]->rect.Height(), 40);
  EXPECT_EQ(images[1]->rect.Width(), 10);
  EXPECT_EQ(images[1]->rect.Height(), 30);
  EXPECT_EQ(view_->Images().Count(), 1) << "one decoded image for both";
  std::vector<uint32_t> pixels = Capture();
  const TRect& big = images[0]->rect;
  EXPECT_EQ(At(pixels, big.left + 10, big.top + 20), 0x0000FFu);
  EXPECT_EQ(At(pixels, big.right - 10, big.top + 20), 0xFF0000u);
  EXPECT_EQ(At(pixels, big.left + 10, big.bottom - 1), 0x0000FFu) << "stretched to the whole box";
}

TEST_F(PageViewWindowTest, UnreadableImagesShowTheirAltTextWithinBoundedMemory) {
  std::string png = test::EncodeImage(GUID_ContainerFormatPng, 64, 64, [](int x, int y) { return (x ^ y) & 1 ? 0xFF102030u : 0xFFFFFFFFu; });
  ASSERT_GT(png.size(), 100u);
  Write("img/truncated.png", png.substr(0, png.size() / 2));
  Write("img/text.png", "this is not a picture at all");
  Write("img/huge.png", HugePng());
  Write("img/empty.gif", "");
  // A .png that holds a bitmap is read by what it holds.
  Write("img/bitmap.png", Bmp(4, 4, [](int, int) { return 0xFF00FF00u; }));
  ASSERT_TRUE(view_->Navigate(Write("page.htm",
      "<p><img src='img/truncated.png' alt='[cut]'><img src='img/text.png' alt='[text]'>"
      "<img src='img/huge.png' alt='[huge]'><img src='img/empty.gif' alt='[empty]'>"
      "<img src='img/missing.png' alt='[missing]'><img src='http://example.com/x.png' alt='[web]'>"
      "<img src='img/bitmap.png' alt='[bmp]'></p>")));
  EXPECT_EQ(AllText(), "[cut][text][huge][empty][missing][web]");
  auto images = Images();
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->text, "img/bitmap.png");
  EXPECT_EQ(view_->Images().PixelBytes(), 4 * 4 * 4) << "nothing held for the images that failed";
  Capture();  // painting the failed images is harmless
}

TEST_F(PageViewWindowTest, ImagesGoWithTheirPage) {
  Write("img/a.bmp", Bmp(30, 30, [](int, int) { return 0xFF336699u; }));
  ASSERT_TRUE(view_->Navigate(Write("one.htm", "<img src='img/a.bmp'>")));
  EXPECT_EQ(view_->Images().Count(), 1);
  EXPECT_EQ(view_->Images().PixelBytes(), 30 * 30 * 4);
  ASSERT_TRUE(view_->Navigate(Write("two.htm", "<p>no pictures here</p>")));
  EXPECT_EQ(view_->Images().Count(), 0);
  EXPECT_EQ(view_->Images().PixelBytes(), 0);
  // A page in a subfolder finds its images relative to itself.
  Write("img/b.bmp", Bmp(5, 7, [](int, int) { return 0xFF000000u; }));
  ASSERT_TRUE(view_->Navigate(Write("img/three.htm", "<img src='b.bmp'><img src='../img/a.bmp'>")));
  auto images = Images();
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0]->rect.Width(), 5);
  EXPECT_EQ(images[1]->rect.Width(), 30);
}

TEST_F(PageViewWindowTest, AWidePageScrollsSideways) {
  ASSERT_TRUE(view_->Navigate(Write("narrow.htm", "<pre>short</pre>")));
  EXPECT_EQ(GetWindowLongW(view_->Handle(), GWL_STYLE) & WS_HSCROLL, 0) << "no sideways bar for a page that fits";

  ASSERT_TRUE(view_->Navigate(Write("wide.htm", "<p>top</p><pre>" + std::string(150, 'x') + "</pre>")));
  RECT client{};
  GetClientRect(view_->Handle(), &client);
  const int width = view_->Layout().width;
  ASSERT_GT(width, client.right + 100) << "the line is not wrapped";
  EXPECT_NE(GetWindowLongW(view_->Handle(), GWL_STYLE) & WS_HSCROLL, 0);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(view_->Handle(), SB_HORZ, &si));
  EXPECT_EQ(si.nMax + 1, width);
  EXPECT_EQ(static_cast<int>(si.nPage), client.right);

  const html::LayoutBox* shade = nullptr;
  for (const html::LayoutBox& b : view_->Layout().boxes)
    if (b.kind == html::BoxKind::Shade) shade = &b;
  ASSERT_NE(shade, nullptr);
  const int row = shade->rect.top + 1;  // the shade's padding: no glyphs there
  std::vector<uint32_t> pixels = Capture();
  EXPECT_EQ(At(pixels, client.right - 5, row), 0xF0F0F0u) << "the shade runs on past the view";

  SendMessageW(view_->Handle(), WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(view_->ScrollXPos(), width - client.right);
  pixels = Capture();
  EXPECT_EQ(At(pixels, client.right - 5, row), 0xFFFFFFu) << "the page's right margin";
  EXPECT_EQ(At(pixels, client.right - 9, row), 0xF0F0F0u) << "the end of the shade";
  SendMessageW(view_->Handle(), WM_HSCROLL, SB_LINELEFT, 0);
  EXPECT_EQ(view_->ScrollXPos(), width - client.right - view_->LineStep());
  SendMessageW(view_->Handle(), WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(view_->ScrollXPos(), 0);
  SendMessageW(view_->Handle(), WM_HSCROLL, SB_RIGHT, 0);
  ASSERT_TRUE(view_->Navigate(Write("narrow2.htm", "<p>back to narrow</p>")));
  EXPECT_EQ(view_->ScrollXPos(), 0) << "a new page starts at its left edge";
}

// Styled pages: the page colour, box backgrounds and borders, table cell
// colours and alignment painted where the layout puts them, checked at
// points where no text stands.

int ClientWidth(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return client.right;
}

const html::LayoutBox* FillOf(const THtmlView& view, uint32_t color) {
  for (const html::LayoutBox& box : view.Layout().boxes)
    if (box.kind == html::BoxKind::Fill && box.color == color) return &box;
  return nullptr;
}

TEST_F(PageViewWindowTest, PageColourBoxBackgroundAndBordersArePaintedWhereTheyStand) {
  ASSERT_TRUE(view_->Navigate(Write("box.htm",
                                "<html><body bgcolor='#336699' style='margin: 0'>"
                                "<div style='margin: 10px; border: 4px solid #ff0000; padding: 10px; "
                                "background-color: #ffff00'></div></body></html>")));
  const int right = ClientWidth(view_->Handle()) - 10;
  const html::LayoutBox* fill = FillOf(*view_, 0xFFFF00);
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->rect, (TRect{10, 10, right, 10 + 4 + 20 + 4})) << "an empty box keeps its border and padding";
  const std::vector<uint32_t> pixels = Capture();
  EXPECT_EQ(At(pixels, 5, 5), 0x336699u) << "the page colour around the box";
  EXPECT_EQ(At(pixels, 5, 200), 0x336699u) << "and below the content, to the bottom of the window";
  EXPECT_EQ(At(pixels, 12, 20), 0xFF0000u) << "left border";
  EXPECT_EQ(At(pixels, 40, 12), 0xFF0000u) << "top border";
  EXPECT_EQ(At(pixels, 40, 36), 0xFF0000u) << "bottom border";
  EXPECT_EQ(At(pixels, right - 2, 20), 0xFF0000u) << "right border";
  EXPECT_EQ(At(pixels, 40, 24), 0xFFFF00u) << "the background inside";
  EXPECT_EQ(At(pixels, right + 2, 20), 0x336699u);
  EXPECT_EQ(At(pixels, 40, 39), 0x336699u) << "the margin below";
}

// A page with nothing to lay out is painted as its background alone, to
// every edge of the view, and the next such page replaces it.
TEST_F(PageViewWindowTest, APageWithNothingLaidOutShowsItsColourEverywhere) {
  RECT client{};
  GetClientRect(view_->Handle(), &client);
  const int w = client.right, h = client.bottom;
  for (auto [page, colour] : {std::pair{"<html><body bgcolor='#336699'></body></html>", 0x336699u},
                              std::pair{"<html><body></body></html>", 0xFFFFFFu}}) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(view_->Navigate(Write("empty.htm", page)));
    ASSERT_TRUE(view_->Layout().boxes.empty());
    const std::vector<uint32_t> pixels = Capture();
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, h / 2}})
      EXPECT_EQ(At(pixels, x, y), colour) << "at " << x << "," << y;
  }
}

TEST_F(PageViewWindowTest, LinkedSheetStylesABoxAndCellsTakeTheirColoursAndAlignment) {
  Write("look.css",
        "div.note { background-color: #123456; border-left: 6px solid #654321; padding: 8px; margin: 0 }\n"
        "td.left { background-color: #00ff00 }\n");
  ASSERT_TRUE(view_->Navigate(Write("styled.htm",
                                "<html><head><link rel=stylesheet href='look.css'></head>"
                                "<body style='margin: 0'><div class=note></div>"
                                "<table cellspacing=0 cellpadding=0 border=0>"
                                "<tr><td class=left width=50>&nbsp;</td><td bgcolor='#0000ff' width=50>&nbsp;</td></tr>"
                                "</table>"
                                "<table align=right cellspacing=0 cellpadding=0 width=40>"
                                "<tr><td bgcolor='#00ffff'>&nbsp;</td></tr></table></body></html>")));
  const html::LayoutBox* note = FillOf(*view_, 0x123456);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->rect, (TRect{0, 0, ClientWidth(view_->Handle()), 16}));
  const html::LayoutBox* left = FillOf(*view_, 0x00FF00);
  const html::LayoutBox* right = FillOf(*view_, 0x0000FF);
  const html::LayoutBox* aligned = FillOf(*view_, 0x00FFFF);
  ASSERT_TRUE(left && right && aligned);
  EXPECT_EQ(left->rect.left, 0);
  EXPECT_EQ(left->rect.right, 50);
  EXPECT_EQ(right->rect.left, 50);
  EXPECT_EQ(right->rect.right, 100);
  EXPECT_EQ(aligned->rect.right, ClientWidth(view_->Handle())) << "align=right puts the table against the right edge";
  EXPECT_EQ(aligned->rect.Width(), 40);

  const std::vector<uint32_t> pixels = Capture();
  EXPECT_EQ(At(pixels, 3, 8), 0x654321u) << "the left border";
  EXPECT_EQ(At(pixels, 100, 8), 0x123456u) << "the background";
  const int cellMiddle = (left->rect.top + left->rect.bottom) / 2;
  ASSERT_LT(cellMiddle, kViewHeight);
  EXPECT_EQ(At(pixels, 25, cellMiddle), 0x00FF00u);
  EXPECT_EQ(At(pixels, 75, cellMiddle), 0x0000FFu);
  EXPECT_EQ(At(pixels, 105, cellMiddle), 0xFFFFFFu) << "past the cells: the page's white";
  const int alignedMiddle = (aligned->rect.top + aligned->rect.bottom) / 2;
  ASSERT_LT(alignedMiddle, kViewHeight);
  EXPECT_EQ(At(pixels, ClientWidth(view_->Handle()) - 20, alignedMiddle), 0x00FFFFu);
  EXPECT_EQ(At(pixels, ClientWidth(view_->Handle()) - 45, alignedMiddle), 0xFFFFFFu);
}

}  // namespace
}  // namespace hv
