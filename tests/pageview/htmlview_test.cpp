#include "pageview/htmlview.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "pageview/olebrowser.h"
#include "framework/sysutils.h"
#include "tests/pageview/viewhost.h"

namespace hv {
namespace {

constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

SCROLLINFO ScrollInfo(HWND hwnd) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd, SB_VERT, &si);
  return si;
}

class HtmlViewTest : public test::PageViewHost {
 protected:
  void SetUp() override { OpenView("hv_html_test_", kViewWidth, kViewHeight, "sub"); }

  std::wstring LongPage(int paragraphs) {
    std::string page = "<title>Long</title><hr>";
    for (int i = 0; i < paragraphs; ++i) page += "<p>Paragraph " + std::to_string(i) + " of a long page.</p>";
    return Write("long.htm", page);
  }


  const html::LayoutBox* FirstBox(html::BoxKind kind, html::BulletShape shape = html::BulletShape::Disc) const {
    for (const html::LayoutBox& b : view_->Layout().boxes)
      if (b.kind == kind && (kind != html::BoxKind::Bullet || b.bullet == shape)) return &b;
    return nullptr;
  }

  void Click(POINT p) {
    LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageW(view_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(view_->Handle(), WM_LBUTTONUP, 0, at);
  }

  static POINT Center(const TRect& r, int scroll = 0) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2 - scroll};
  }

};

TEST_F(HtmlViewTest, WindowTextIsThePathAndAMissingFileKeepsThePage) {
  EXPECT_EQ(WindowText(view_->Handle()), L"");
  wchar_t className[64] = {};
  GetClassNameW(view_->Handle(), className, 64);
  EXPECT_STREQ(className, L"THtmlView");
  EXPECT_EQ(GetParent(view_->Handle()), top_);

  std::wstring page = Write("one.htm", "<title>One</title><p>first page</p>");
  ASSERT_TRUE(view_->Navigate(page));
  EXPECT_EQ(WindowText(view_->Handle()), page);
  EXPECT_EQ(view_->Path(), page);
  EXPECT_EQ(view_->Document().title, "One");

  EXPECT_FALSE(view_->Navigate((folder_ / "missing.htm").wstring()));
  EXPECT_FALSE(view_->Navigate(folder_.wstring())) << "a folder is no page";
  EXPECT_FALSE(view_->Navigate(L""));
  EXPECT_EQ(WindowText(view_->Handle()), page);
  EXPECT_EQ(view_->Path(), page);
  ASSERT_EQ(view_->Document().blocks.size(), 1u);
  EXPECT_EQ(view_->Document().blocks[0].Text(), "first page");
}

TEST_F(HtmlViewTest, ScrollRangeFollowsTheContent) {
  ASSERT_TRUE(view_->Navigate(Write("short.htm", "<p>short</p>")));
  SCROLLINFO shortInfo = ScrollInfo(view_->Handle());
  RECT client{};
  GetClientRect(view_->Handle(), &client);
  EXPECT_EQ(client.right, kViewWidth - GetSystemMetrics(SM_CXVSCROLL)) << "the bar stays even with nothing to scroll";
  EXPECT_LE(shortInfo.nMax + 1, static_cast<int>(shortInfo.nPage));

  ASSERT_TRUE(view_->Navigate(LongPage(60)));
  SCROLLINFO longInfo = ScrollInfo(view_->Handle());
  EXPECT_EQ(longInfo.nMax + 1, view_->Layout().height);
  EXPECT_EQ(static_cast<int>(longInfo.nPage), kViewHeight);
  EXPECT_GT(view_->Layout().height, 60 * 16);
  EXPECT_EQ(longInfo.nPos, 0);
}

TEST_F(HtmlViewTest, WheelKeysAndScrollBarMoveThePage) {
  ASSERT_TRUE(view_->Navigate(LongPage(60)));
  HWND hwnd = view_->Handle();
  const int line = view_->LineStep();
  const int last = view_->Layout().height - kViewHeight;
  UINT wheelLines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
  ASSERT_GT(line, 8);
  ASSERT_LT(static_cast<int>(wheelLines) * line, last);

  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(10, 10));
  EXPECT_EQ(view_->ScrollPos(), static_cast<int>(wheelLines) * line);
  EXPECT_EQ(ScrollInfo(hwnd).nPos, view_->ScrollPos());
  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
  EXPECT_EQ(view_->ScrollPos(), static_cast<int>(wheelLines) * line) << "half a notch waits for the other half";
  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
  EXPECT_EQ(view_->ScrollPos(), 0);

  SendMessageW(hwnd, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(view_->ScrollPos(), 0) << "no scrolling above the top";
  SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(view_->ScrollPos(), line);
  SendMessageW(hwnd, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(view_->ScrollPos(), line + kViewHeight - line);
  SendMessageW(hwnd, WM_KEYDOWN, VK_PRIOR, 0);
  EXPECT_EQ(view_->ScrollPos(), line);
  SendMessageW(hwnd, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(view_->ScrollPos(), last);
  EXPECT_EQ(ScrollInfo(hwnd).nPos, last);
  SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(view_->ScrollPos(), last) << "no scrolling past the end";
  SendMessageW(hwnd, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(view_->ScrollPos(), 0);
  EXPECT_EQ(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);

  SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(view_->ScrollPos(), line);
  SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(view_->ScrollPos(), last);
  SendMessageW(hwnd, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(view_->ScrollPos(), 0);

  ASSERT_TRUE(view_->Navigate(LongPage(61)));
  EXPECT_EQ(view_->ScrollPos(), 0) << "a new page starts at its top";
}

TEST_F(HtmlViewTest, ClickingALinkShowsTheLinkedLocalPage) {
  std::wstring target = Write("sub\\b.htm", "<p>page b <a href='../a.htm'>back</a></p>");
  std::wstring start = Write("a.htm",
                             "<p><a href='sub/b.htm#part'>to b</a></p><p><a href='nowhere.htm'>missing</a></p>"
                             "<p><a href='http://example.com/'>outside</a> <a href='#top'>here</a></p>");
  std::vector<std::wstring> shown;
  view_->OnNavigate = [&](const std::wstring& path) { shown.push_back(path); };
  ASSERT_TRUE(view_->Navigate(start));
  const auto links = view_->Layout().links;
  ASSERT_EQ(links.size(), 4u);

  for (size_t i = 1; i < links.size(); ++i) Click(Center(links[i].rect));
  EXPECT_EQ(view_->Path(), start) << "missing pages, other schemes and places on the page go nowhere";

  // A press on the link and a release elsewhere is no click.
  SendMessageW(view_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(Center(links[0].rect).x, Center(links[0].rect).y));
  SendMessageW(view_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(kViewWidth - 30, kViewHeight - 5));
  EXPECT_EQ(view_->Path(), start);

  Click(Center(links[0].rect));
  EXPECT_EQ(view_->Path(), (folder_ / "sub" / "b.htm").wstring());
  EXPECT_EQ(WindowText(view_->Handle()), view_->Path());
  EXPECT_EQ(view_->Document().blocks[0].Text(), "page b back");
  EXPECT_EQ(shown.size(), 2u);

  ASSERT_EQ(view_->Layout().links.size(), 1u);
  Click(Center(view_->Layout().links[0].rect));
  EXPECT_EQ(view_->Path(), (folder_ / "a.htm").wstring()) << "'..' climbs out of the page's folder";
  EXPECT_EQ(GetFocus(), view_->Handle()) << "a click gives the view the keyboard";
}

TEST_F(HtmlViewTest, TheCursorIsAHandOverLinks) {
  ASSERT_TRUE(view_->Navigate(Write("cursor.htm", "<p>text <a href='x.htm'>a link</a></p>")));
  HWND hwnd = view_->Handle();
  auto cursorAt = [&](POINT p) {
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    SetCursor(nullptr);
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  POINT overLink = Center(view_->Layout().links[0].rect);
  POINT check = overLink;
  ClientToScreen(hwnd, &check);
  SetCursorPos(check.x, check.y);
  POINT actual{};
  GetCursorPos(&actual);
  if (actual.x != check.x || actual.y != check.y) GTEST_SKIP() << "this display cannot move the pointer";
  EXPECT_EQ(cursorAt(overLink), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(cursorAt(POINT{2, kViewHeight - 2}), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(HtmlViewTest, LinksFollowTheScrolledPage) {
  std::string page = "<p><a href='b.htm'>top link</a></p>";
  for (int i = 0; i < 40; ++i) page += "<p>filler</p>";
  Write("b.htm", "<p>b</p>");
  std::wstring start = Write("scrolled.htm", page);
  ASSERT_TRUE(view_->Navigate(start));
  TRect link = view_->Layout().links[0].rect;
  view_->ScrollTo(link.top + 2);
  ASSERT_EQ(view_->ScrollPos(), link.top + 2);
  Click(Center(link));  // where the link was before scrolling
  EXPECT_EQ(view_->Path(), start);
  Click(Center(link, view_->ScrollPos()));
  EXPECT_EQ(view_->Path(), (folder_ / "b.htm").wstring());
}

TEST_F(HtmlViewTest, PaintsBackgroundRulesBulletsShadesAndBorders) {
  ASSERT_TRUE(view_->Navigate(Write("paint.htm",
                                    "<ul><li>item<ul><li>inner<ul><li>deep</li></ul></li></ul></li></ul><hr>"
                                    "<pre>code</pre><table border=1><tr><td>cell</td></tr></table>")));
  const html::LayoutBox* rule = FirstBox(html::BoxKind::Rule);
  const html::LayoutBox* square = FirstBox(html::BoxKind::Bullet, html::BulletShape::Square);
  const html::LayoutBox* disc = FirstBox(html::BoxKind::Bullet, html::BulletShape::Disc);
  const html::LayoutBox* shade = FirstBox(html::BoxKind::Shade);
  const html::LayoutBox* border = FirstBox(html::BoxKind::CellBorder);
  ASSERT_TRUE(rule && square && disc && shade && border);

  std::vector<uint32_t> pixels = Capture();
  EXPECT_EQ(At(pixels, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(At(pixels, 2, kViewHeight - 3), 0xFFFFFFu);
  EXPECT_EQ(At(pixels, rule->rect.right + 1, rule->rect.top), 0xFFFFFFu);
  for (int y = rule->rect.top; y < rule->rect.bottom; ++y)
    for (int x = rule->rect.left; x < rule->rect.right; ++x) ASSERT_EQ(At(pixels, x, y), 0xA0A0A0u) << x << "," << y;
  EXPECT_EQ(At(pixels, rule->rect.left, rule->rect.top - 1), 0xFFFFFFu);
  EXPECT_EQ(At(pixels, rule->rect.left, rule->rect.bottom), 0xFFFFFFu);
  for (int y = square->rect.top; y < square->rect.bottom; ++y)
    for (int x = square->rect.left; x < square->rect.right; ++x) EXPECT_EQ(At(pixels, x, y), 0u) << x << "," << y;
  EXPECT_EQ(At(pixels, square->rect.left - 1, square->rect.top), 0xFFFFFFu);
  EXPECT_EQ(At(pixels, (disc->rect.left + disc->rect.right) / 2, (disc->rect.top + disc->rect.bottom) / 2), 0u);
  EXPECT_EQ(At(pixels, shade->rect.right - 2, shade->rect.top + 1), 0xF0F0F0u);
  EXPECT_EQ(At(pixels, border->rect.left, (border->rect.top + border->rect.bottom) / 2), 0xB4B4B4u);
  EXPECT_EQ(At(pixels, border->rect.right - 1, border->rect.top), 0xB4B4B4u);
  EXPECT_EQ(At(pixels, border->rect.right, border->rect.top), 0xFFFFFFu);

  // Scrolled by 7 pixels, everything moves up by 7.
  std::string longer = "<hr>";
  for (int i = 0; i < 40; ++i) longer += "<p>filler</p>";
  ASSERT_TRUE(view_->Navigate(Write("scroll.htm", longer)));
  rule = FirstBox(html::BoxKind::Rule);
  view_->ScrollTo(7);
  pixels = Capture();
  EXPECT_EQ(At(pixels, rule->rect.left + 3, rule->rect.top - 7), 0xA0A0A0u);
  EXPECT_EQ(At(pixels, rule->rect.left + 3, rule->rect.top), 0xFFFFFFu);

  // A real paint leaves nothing to paint.
  InvalidateRect(view_->Handle(), nullptr, FALSE);
  UpdateWindow(view_->Handle());
  EXPECT_FALSE(GetUpdateRect(view_->Handle(), nullptr, FALSE));
}

TEST_F(HtmlViewTest, PagesDecodeByTheirCharset) {
  const std::string captions =
      "\xE9\xA6\x96\xE9\xA1\xB5 \xE4\xB8\x8A\xE9\xA1\xB5 \xE4\xB8\x8B\xE9\xA1\xB5 \xE5\xB0\xBE\xE9\xA1\xB5";
  ASSERT_TRUE(view_->Navigate(
      Write("gbk.htm",
            "<meta http-equiv='Content-Type' content='text/html; charset=gb2312'><p>\xCA\xD7\xD2\xB3 \xC9\xCF\xD2\xB3 "
            "\xCF\xC2\xD2\xB3 \xCE\xB2\xD2\xB3</p>")));
  EXPECT_EQ(view_->Document().charset, html::Charset::Gbk);
  ASSERT_EQ(view_->Document().blocks.size(), 1u);
  EXPECT_EQ(view_->Document().blocks[0].Text(), captions);

  ASSERT_TRUE(view_->Navigate(Write("utf8.htm", "<meta charset=utf-8><p>" + captions + "</p>")));
  EXPECT_EQ(view_->Document().charset, html::Charset::Utf8);
  EXPECT_EQ(view_->Document().blocks[0].Text(), captions);

  ASSERT_TRUE(view_->Navigate(Write("bom.htm", std::string("\xFF\xFE<\0p\0>\0\x96\x99\0\0", 10))));
  EXPECT_EQ(view_->Document().blocks[0].Text(), "\xE9\xA6\x96") << "UTF-16 with its byte-order mark";

  ASSERT_TRUE(view_->Navigate(Write("latin.htm", "<meta charset=iso-8859-1><p>caf\xE9 \x80</p>")));
  EXPECT_EQ(view_->Document().blocks[0].Text(), "caf\xC3\xA9 \xE2\x82\xAC");

  // Chinese text lays out in boxes of its own, on a line of sensible height.
  ASSERT_TRUE(view_->Navigate(Write("mixed.htm", "<meta charset=utf-8><p>Buttons " + captions + "</p>")));
  int wide = 0;
  for (const html::LayoutBox& b : view_->Layout().boxes) {
    if (b.kind != html::BoxKind::Text) continue;
    wide += html::HasWideChars(b.text);
    EXPECT_GT(b.rect.Width(), 0) << b.text;
    EXPECT_GE(b.rect.Height(), 10);
  }
  EXPECT_EQ(wide, 4);
}

TEST_F(HtmlViewTest, ResizingLaysThePageOutAgain) {
  std::string words;
  for (int i = 0; i < 200; ++i) words += "word ";
  ASSERT_TRUE(view_->Navigate(Write("words.htm", "<p>" + words + "</p>")));
  int wideHeight = view_->Layout().height;
  MoveWindow(view_->Handle(), 0, 0, kViewWidth / 2, kViewHeight, TRUE);
  EXPECT_GT(view_->Layout().height, wideHeight * 3 / 2);
  EXPECT_EQ(ScrollInfo(view_->Handle()).nMax + 1, view_->Layout().height);
  for (const html::LayoutBox& b : view_->Layout().boxes) EXPECT_LE(b.rect.right, kViewWidth / 2);
  MoveWindow(view_->Handle(), 0, 0, kViewWidth, kViewHeight, TRUE);
  EXPECT_EQ(view_->Layout().height, wideHeight);
}

TEST_F(HtmlViewTest, ErrorsInsideTheWindowProcedureGoToTheHandler) {
  std::wstring start = Write("a.htm", "<p><a href='b.htm'>b</a></p>");
  Write("b.htm", "<p>b</p>");
  ASSERT_TRUE(view_->Navigate(start));
  view_->OnNavigate = [](const std::wstring&) { throw Exception("navigation handler failed"); };
  Click(Center(view_->Layout().links[0].rect));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "navigation handler failed");
  errors_.clear();
  EXPECT_TRUE(IsWindow(view_->Handle()));
  EXPECT_EQ(view_->Path(), (folder_ / "b.htm").wstring()) << "the page itself was shown before the handler failed";
}

TEST_F(HtmlViewTest, TheViewGoesWithItsParent) {
  HWND panel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, top_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  THtmlView child;
  HWND hwnd = child.Create(panel, RECT{0, 0, 100, 100});
  DestroyWindow(panel);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(child.Handle(), nullptr);
  EXPECT_TRUE(IsWindow(view_->Handle())) << "the other view stays";
  EXPECT_TRUE(child.Navigate(Write("late.htm", "<p>still readable</p>"))) << "the model works without a window";
  EXPECT_EQ(child.Document().blocks[0].Text(), "still readable");
  EXPECT_THROW(THtmlView().Create(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7777)), RECT{0, 0, 10, 10}), EOSError);
}

// --- the platform's browser control -------------------------------------------

TEST(OleBrowserTest, NoBrowserWithoutOle) {
  bool created = true;
  bool engine = true;
  std::thread([&] {
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    engine = TOleBrowser::EngineAvailable();
    created =
        TOleBrowser::TryCreate(host) != nullptr || TOleBrowser::CreateControl(host, RECT{0, 0, 10, 10}) != nullptr;
    DestroyWindow(host);
  }).join();
  EXPECT_FALSE(engine) << "a thread that never initialised OLE can create no COM objects";
  EXPECT_FALSE(created);
}

TEST(OleBrowserTest, TryCreateGivesABrowserOnlyWithAnEngine) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  {
    std::unique_ptr<TOleBrowser> browser = TOleBrowser::TryCreate(host);
    if (TOleBrowser::EngineAvailable()) {
      ASSERT_NE(browser, nullptr);
      EXPECT_EQ(GetParent(browser->Handle()), host);
      EXPECT_TRUE(browser->Navigate(L"C:\\windows\\win.ini"));
      EXPECT_EQ(WindowText(browser->Handle()), L"C:\\windows\\win.ini");
    } else {
      EXPECT_EQ(browser, nullptr) << "no engine, no browser: the page view of our own takes its place";
    }
  }
  DestroyWindow(host);
  OleUninitialize();
}

// Wine has the browser control even where it has no engine behind it, so
// the container itself can be checked: the control activates in place
// inside the host window and follows its size.
TEST(OleBrowserTest, TheControlActivatesInPlaceInsideTheHost) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  std::unique_ptr<TOleBrowser> control = TOleBrowser::CreateControl(host, RECT{10, 20, 310, 220});
  if (!control) {
    DestroyWindow(host);
    OleUninitialize();
    GTEST_SKIP() << "this platform has no web browser control";
  }
  EXPECT_EQ(GetParent(control->Handle()), host);
  wchar_t className[64] = {};
  GetClassNameW(control->Handle(), className, 64);
  EXPECT_STREQ(className, L"TOleBrowserHost");
  HWND inner = GetWindow(control->Handle(), GW_CHILD);
  ASSERT_NE(inner, nullptr) << "the control made its window in ours";
  RECT r{};
  GetClientRect(inner, &r);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);
  MoveWindow(control->Handle(), 0, 0, 150, 100, TRUE);
  GetClientRect(inner, &r);
  EXPECT_EQ(r.right, 150) << "resizing the host resizes the control";
  EXPECT_EQ(r.bottom, 100);

  EXPECT_TRUE(control->Navigate(L"C:\\windows\\win.ini"));
  EXPECT_EQ(WindowText(control->Handle()), L"C:\\windows\\win.ini");
  EXPECT_EQ(control->Path(), L"C:\\windows\\win.ini");
  control.reset();
  EXPECT_FALSE(IsWindow(inner));
  DestroyWindow(host);
  OleUninitialize();
}

}  // namespace
}  // namespace hv
