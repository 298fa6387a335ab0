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
#include "tests/pageview/viewhost.h"

namespace hv {
namespace {

constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;

using Pixel = std::function<uint32_t(int x, int y)>;  // 0xAARRGGBB

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v));
  out.push_back(static_cast<char>(v >> 8));
}

// A 24-bit bottom-up .bmp.
std::string Bmp(int w, int h, const Pixel& pixel) {
  const int stride = (w * 3 + 3) & ~3;
  std::string out = "BM";
  Put32(out, static_cast<uint32_t>(54 + stride * h));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      uint32_t c = pixel(x, y);
      row.push_back(static_cast<char>(c));
      row.push_back(static_cast<char>(c >> 8));
      row.push_back(static_cast<char>(c >> 16));
    }
    row.resize(static_cast<size_t>(stride), '\0');
    out += row;
  }
  return out;
}

// A one-image .ico holding a 32-bit bitmap with its alpha.
std::string Ico(int w, int h, const Pixel& pixel) {
  std::string image;
  Put32(image, 40);
  Put32(image, static_cast<uint32_t>(w));
  Put32(image, static_cast<uint32_t>(h * 2));  // colour and mask
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(image, pixel(x, y));
  const int maskStride = ((w + 31) / 32) * 4;
  image.append(static_cast<size_t>(maskStride * h), '\0');
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<char>(w));
  out.push_back(static_cast<char>(h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, static_cast<uint32_t>(image.size()));
  Put32(out, 22);
  return out + image;
}

// A .gif of one colour per frame: each pixel code follows a clear code, so
// every code stays three bits wide and no table is needed.
std::string Gif(int w, int h, const std::vector<int>& frameColours) {
  std::string out = "GIF89a";
  Put16(out, static_cast<uint16_t>(w));
  Put16(out, static_cast<uint16_t>(h));
  out.push_back(static_cast<char>(0xF1));  // global table of 4 colours
  out.push_back(0);
  out.push_back(0);
  const uint8_t palette[12] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF};
  out.append(reinterpret_cast<const char*>(palette), 12);
  for (int colour : frameColours) {
    out += std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);  // 100 ms a frame
    out.push_back(',');
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint16_t>(w));
    Put16(out, static_cast<uint16_t>(h));
    out.push_back(0);
    out.push_back(2);  // minimum code size
    std::string data;
    uint32_t acc = 0;
    int bits = 0;
    auto code = [&](uint32_t c) {
      acc |= c << bits;
      bits += 3;
      while (bits >= 8) {
        data.push_back(static_cast<char>(acc & 0xFF));
        acc >>= 8;
        bits -= 8;
      }
    };
    for (int i = 0; i < w * h; ++i) {
      code(4);
      code(static_cast<uint32_t>(colour));
    }
    code(5);
    if (bits > 0) data.push_back(static_cast<char>(acc & 0xFF));
    for (size_t at = 0; at < data.size(); at += 255) {
      size_t n = std::min<size_t>(255, data.size() - at);
      out.push_back(static_cast<char>(n));
      out += data.substr(at, n);
    }
    out.push_back(0);
  }
  out.push_back(';');
  return out;
}

// PNG and JPEG through the imaging component's own encoders.
std::string Encode(const GUID& container, int w, int h, const Pixel& pixel) {
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory))))
    return {};
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  factory->CreateEncoder(container, nullptr, &encoder);
  encoder->Initialize(stream, WICBitmapEncoderNoCache);
  encoder->CreateNewFrame(&frame, nullptr);
  frame->Initialize(nullptr);
  frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h));
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  frame->SetPixelFormat(&format);
  const bool alpha = IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA);
  const int bpp = alpha ? 4 : 3;
  const UINT stride = static_cast<UINT>((w * bpp + 3) & ~3);
  std::vector<BYTE> bits(static_cast<size_t>(stride) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = pixel(x, y);
      BYTE* p = &bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x * bpp)];
      p[0] = static_cast<BYTE>(c);
      p[1] = static_cast<BYTE>(c >> 8);
      p[2] = static_cast<BYTE>(c >> 16);
      if (alpha) p[3] = static_cast<BYTE>(c >> 24);
    }
  frame->WritePixels(static_cast<UINT>(h), stride, static_cast<UINT>(bits.size()), bits.data());
  frame->Commit();
  encoder->Commit();
  frame->Release();
  encoder->Release();
  factory->Release();
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream, &memory);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::string out(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  stream->Release();
  return out;
}

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
  Write("img/a.png", Encode(GUID_ContainerFormatPng, 20, 10, [](int x, int) { return x < 10 ? 0xFF0000FFu : 0x800000FFu; }));
  Write("img/b.gif", Gif(6, 4, {1, 2}));  // a red frame, then a green one
  Write("img/c.jpg", Encode(GUID_ContainerFormatJpeg, 16, 16, [](int, int) { return 0xFF00C000u; }));
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
  Write("img/a.png", Encode(GUID_ContainerFormatPng, 20, 10, [](int x, int) { return x < 10 ? 0xFF0000FFu : 0xFFFF0000u; }));
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
  std::string png = Encode(GUID_ContainerFormatPng, 64, 64, [](int x, int y) { return (x ^ y) & 1 ? 0xFF102030u : 0xFFFFFFFFu; });
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
