// The reader's side of the page view in a real window, driven by the
// messages a reader's keys and mouse send: links, places, Back and Forward,
// selection and the clipboard, the find bar, zoom and keyboard scrolling.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "framework/winstring.h"
#include "pageview/findbar.h"
#include "pageview/htmlview.h"
#include "tests/pageview/viewcapture.h"
#include "tests/pageview/viewhost.h"

namespace hv {
namespace {

constexpr int kViewWidth = 420;
constexpr int kViewHeight = 300;

// Keys held down for the thread while a test sends its messages, as the
// view reads the state of Ctrl, Shift and Alt from it.
class HeldKeys {
 public:
  HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  BYTE saved_[256] = {};
};

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<no clipboard>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// A white 24-bit .bmp of 4 by 2 pixels: rows of 12 bytes, no padding.
std::string SmallBmp() {
  std::string out = "BM";
  auto put = [&out](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  };
  put(54 + 24, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(4, 4);
  put(2, 4);
  put(1, 2);
  put(24, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  out.append(24, '\xFF');
  return out;
}

class HtmlViewReadingTest : public test::PageViewHost {
 protected:
  void SetUp() override {
    OpenView("hv_reading_test_", kViewWidth, kViewHeight, "sub");
    if (HasFatalFailure()) return;
    view_->OnOutsideLink = [this](const std::wstring& url) { outside_.push_back(url); };
    view_->OnFollow = [this](const std::wstring& path) { followed_.push_back(path); };
    SetFocus(view_->Handle());
  }

  static std::string Paragraphs(int count, const std::string& word = "Paragraph") {
    std::string page;
    for (int i = 0; i < count; ++i) page += "<p>" + word + " " + std::to_string(i) + " of a long page.</p>";
    return page;
  }

  void Key(WPARAM key) { SendMessageW(view_->Handle(), WM_KEYDOWN, key, 1); }
  void SysKey(WPARAM key) { SendMessageW(view_->Handle(), WM_SYSKEYDOWN, key, 1 | (1 << 29)); }
  void XButton(WORD button) {
    SendMessageW(view_->Handle(), WM_XBUTTONDOWN, MAKEWPARAM(0, button), MAKELPARAM(50, 50));
    SendMessageW(view_->Handle(), WM_XBUTTONUP, MAKEWPARAM(0, button), MAKELPARAM(50, 50));
  }

  // The link box whose href is `href`, scrolled into view, then clicked.
  void ClickLink(const std::string& href) {
    const html::LinkArea* area = nullptr;
    for (const html::LinkArea& link : view_->Layout().links)
      if (link.href == href) area = &link;
    ASSERT_NE(area, nullptr) << href;
    TRect r = area->rect;
    if (r.top < view_->ScrollPos() || r.bottom > view_->ScrollPos() + view_->PageHeight()) view_->ScrollTo(r.top);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2 - view_->ScrollPos());
    SendMessageW(view_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(view_->Handle(), WM_LBUTTONUP, 0, at);
  }

  const html::LayoutBox* TextBox(const std::string& text) const {
    for (const html::LayoutBox& b : view_->Layout().boxes)
      if (b.kind == html::BoxKind::Text && b.text.find(text) != std::string::npos) return &b;
    return nullptr;
  }

  void Drag(POINT from, POINT to) {
    HWND hwnd = view_->Handle();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  }

  std::vector<std::wstring> outside_;
  std::vector<std::wstring> followed_;
};

TEST_F(HtmlViewReadingTest, LinksBackAndForwardRestoreEachPageAndItsScrollPosition) {
  std::wstring a = Write("a.htm", Paragraphs(40) + "<p><a href=\"sub/b.htm\">to b</a></p>" + Paragraphs(10));
  std::wstring b = Write("sub\\b.htm", Paragraphs(60, "Bee") + "<p><a href=\"../a.htm\">to a</a></p>");
  ASSERT_TRUE(view_->Navigate(a));
  EXPECT_FALSE(view_->CanGoBack());
  ClickLink("sub/b.htm");
  int scrollOfA = view_->History().PeekBack() ? view_->History().PeekBack()->scrollY : -1;
  ASSERT_GT(scrollOfA, 0) << "the link lay below the first screen";
  EXPECT_EQ(view_->Path(), b);
  EXPECT_EQ(view_->ScrollPos(), 0) << "a new page opens at its top";
  EXPECT_EQ(followed_, std::vector<std::wstring>{b});
  Key(VK_NEXT);
  Key(VK_NEXT);
  const int scrollOfB = view_->ScrollPos();
  ASSERT_GT(scrollOfB, 0);

  {
    HeldKeys alt{VK_MENU};
    SysKey(VK_LEFT);
  }
  EXPECT_EQ(view_->Path(), a);
  EXPECT_EQ(view_->ScrollPos(), scrollOfA);
  XButton(XBUTTON2);
  EXPECT_EQ(view_->Path(), b) << "mouse button 5 goes forward";
  EXPECT_EQ(view_->ScrollPos(), scrollOfB);
  Key(VK_BACK);
  EXPECT_EQ(view_->Path(), a) << "Backspace goes back";
  EXPECT_EQ(view_->ScrollPos(), scrollOfA);
  {
    HeldKeys alt{VK_MENU};
    SysKey(VK_RIGHT);
  }
  EXPECT_EQ(view_->Path(), b);
  XButton(XBUTTON1);
  EXPECT_EQ(view_->Path(), a) << "mouse button 4 goes back";
  XButton(XBUTTON1);
  EXPECT_EQ(view_->Path(), a) << "nothing lies before the first page";
  EXPECT_EQ(followed_, (std::vector<std::wstring>{b, a, b, a, b, a}));

  // A page shown from outside (the topic tree) is a step of its own, and
  // cuts off what lay ahead.
  std::wstring c = Write("c.htm", "<p>see</p>");
  ASSERT_TRUE(view_->Navigate(c));
  EXPECT_FALSE(view_->CanGoForward());
  EXPECT_EQ(followed_.size(), 6u) << "only pages the reader reached inside the view are reported";
  // A page that went away meanwhile keeps the reader where they are.
  std::filesystem::remove(a);
  EXPECT_FALSE(view_->GoBack());
  EXPECT_EQ(view_->Path(), c);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(HtmlViewReadingTest, PlacesScrollToTheirBlockOnThePageAndAcrossPages) {
  std::wstring from =
      Write("from.htm",
            "<p><a href=\"#far\">down</a> <a href=\"to.htm#part2\">there</a> "
            "<a href=\"#nowhere\">no such place</a></p>" +
                Paragraphs(30) + "<h2 id=\"far\">Far heading</h2>" + Paragraphs(30) + "<p><a href=\"#\">top</a></p>");
  std::wstring to = Write("to.htm", Paragraphs(25) + "<p><a name=\"part2\"></a></p><h3>Part two</h3>" + Paragraphs(25));
  ASSERT_TRUE(view_->Navigate(from));
  const html::LayoutBox* heading = TextBox("Far heading");
  ASSERT_NE(heading, nullptr);
  ClickLink("#nowhere");
  EXPECT_EQ(view_->ScrollPos(), 0) << "a name the page lacks leaves the view where it is";
  EXPECT_EQ(view_->History().Count(), 1u);

  ClickLink("#far");
  EXPECT_EQ(view_->Path(), from);
  EXPECT_EQ(view_->ScrollPos(), heading->rect.top) << "the heading's box comes to the top of the view";
  EXPECT_EQ(view_->History().Count(), 2u) << "a place on the page is a step of the history";
  EXPECT_TRUE(followed_.empty()) << "the page stayed";
  Key(VK_END);  // the reader reads on to the end, where a link leads to the top
  const int leftAt = view_->ScrollPos();
  ASSERT_GT(leftAt, heading->rect.top);
  ClickLink("#");
  EXPECT_EQ(view_->ScrollPos(), 0);
  {
    HeldKeys alt{VK_MENU};
    SysKey(VK_LEFT);
  }
  EXPECT_EQ(view_->ScrollPos(), leftAt) << "back where the reader left, not where the step began";
  Key(VK_BACK);
  EXPECT_EQ(view_->ScrollPos(), 0);
  XButton(XBUTTON2);
  EXPECT_EQ(view_->ScrollPos(), leftAt);

  view_->ScrollTo(0);
  ClickLink("to.htm#part2");
  EXPECT_EQ(view_->Path(), to);
  const html::LayoutBox* part = TextBox("Part two");
  ASSERT_NE(part, nullptr);
  EXPECT_LE(view_->ScrollPos(), part->rect.top) << "the place lies just above the heading";
  EXPECT_GT(view_->ScrollPos(), part->rect.top - 3 * view_->LineStep());
  EXPECT_GT(view_->ScrollPos(), TextBox("Paragraph 24 ")->rect.top) << "the paragraphs before it are out of sight";
  Key(VK_BACK);
  EXPECT_EQ(view_->Path(), from);
  EXPECT_EQ(view_->ScrollPos(), 0);
}

TEST_F(HtmlViewReadingTest, OutsideLinksGoToTheSystemAndScriptNeverRuns) {
  std::wstring page = Write("links.htm",
                            "<p><a href=\"http://example.com/x\">web</a> <a href=\"mailto:a@example.com\">mail</a> "
                            "<a href=\"javascript:alert(1)\">script</a> <a href=\"missing.htm\">gone</a></p>");
  ASSERT_TRUE(view_->Navigate(page));
  ClickLink("http://example.com/x");
  ClickLink("mailto:a@example.com");
  ClickLink("javascript:alert(1)");
  ClickLink("missing.htm");
  EXPECT_EQ(outside_, (std::vector<std::wstring>{L"http://example.com/x", L"mailto:a@example.com"}));
  EXPECT_EQ(view_->Path(), page);
  EXPECT_EQ(view_->History().Count(), 1u);
  EXPECT_TRUE(followed_.empty());
}

TEST_F(HtmlViewReadingTest, SelectionAndCopyRoundTripNonLatinText) {
  const std::string words = "Привет мир — 帮助文档 — Ελληνικά";
  ASSERT_TRUE(view_->Navigate(Write("words.htm", "<meta charset=\"utf-8\"><p>" + words + "</p><p>second line</p>")));
  const html::LayoutBox* first = TextBox("Привет");
  const html::LayoutBox* second = TextBox("second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  int y = (first->rect.top + first->rect.bottom) / 2;
  Drag(POINT{first->rect.left - 4, y}, POINT{kViewWidth - 30, y});
  EXPECT_EQ(view_->SelectedText(), words);
  {
    HeldKeys ctrl{VK_CONTROL};
    Key('C');
  }
  EXPECT_EQ(ClipboardText(), Widen(words));

  {
    HeldKeys ctrl{VK_CONTROL};
    Key('A');
  }
  EXPECT_EQ(view_->SelectedText(), words + "\r\nsecond line");
  {
    HeldKeys ctrl{VK_CONTROL};
    Key(VK_INSERT);
  }
  EXPECT_EQ(ClipboardText(), Widen(words + "\r\nsecond line"));

  // Shift and the arrows move the end of the selection a character at a time.
  Key(VK_ESCAPE);
  EXPECT_EQ(view_->SelectedText(), "");
  SendMessageW(view_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(second->rect.left, (second->rect.top + second->rect.bottom) / 2));
  SendMessageW(view_->Handle(), WM_LBUTTONUP, 0,
               MAKELPARAM(second->rect.left, (second->rect.top + second->rect.bottom) / 2));
  {
    HeldKeys shift{VK_SHIFT};
    for (int i = 0; i < 6; ++i) Key(VK_RIGHT);
  }
  EXPECT_EQ(view_->SelectedText(), "second");
  {
    HeldKeys shift{VK_SHIFT};
    Key(VK_END);
  }
  EXPECT_EQ(view_->SelectedText(), "second line");
  {
    HeldKeys shift{VK_SHIFT};
    Key(VK_UP);
    Key(VK_HOME);
  }
  EXPECT_EQ(view_->SelectedText(), words + "\r\n") << "from the start of the line above to the anchor";
}

TEST_F(HtmlViewReadingTest, TheSelectionIsPaintedBehindTheText) {
  ASSERT_TRUE(view_->Navigate(Write("plain.htm", "<p>aaaa aaaa aaaa</p>")));
  const html::LayoutBox* box = TextBox("aaaa");
  ASSERT_NE(box, nullptr);
  std::vector<uint32_t> before = Capture();
  EXPECT_EQ(At(before, box->rect.left + 2, box->rect.top), 0xFFFFFFu);
  {
    HeldKeys ctrl{VK_CONTROL};
    Key('A');
  }
  std::vector<uint32_t> after = Capture();
  // The top row of a line of small letters holds no ink: it shows the mark.
  EXPECT_EQ(At(after, box->rect.left + 2, box->rect.top), 0x3399FFu);
  EXPECT_EQ(At(after, box->rect.right - 2, box->rect.top), 0x3399FFu);
  EXPECT_EQ(At(after, box->rect.left - 2, box->rect.top), 0xFFFFFFu) << "nothing left of the text";
  EXPECT_EQ(At(after, box->rect.left + 2, box->rect.bottom), 0xFFFFFFu) << "nothing below the line";
}

TEST_F(HtmlViewReadingTest, FindStepsThroughTheMatchesInOrderAndWraps) {
  std::string page = "<meta charset=\"utf-8\"><p>帮助 first</p>" + Paragraphs(30) + "<p>second 帮助</p>" +
                     Paragraphs(30) + "<p>third 帮助 and the end</p>";
  ASSERT_TRUE(view_->Navigate(Write("find.htm", page)));
  {
    HeldKeys ctrl{VK_CONTROL};
    Key('F');
  }
  TFindBar* bar = view_->FindBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(bar->Handle()));
  EXPECT_EQ(GetFocus(), bar->EditHandle()) << "typing goes into the bar";
  RECT barRect{};
  GetWindowRect(bar->Handle(), &barRect);
  EXPECT_EQ(barRect.bottom - barRect.top, bar->Height());
  EXPECT_EQ(view_->PageHeight(), kViewHeight - bar->Height()) << "the bar takes the bottom of the view";

  SetWindowTextW(bar->EditHandle(), L"帮助");  // as typed: the box reports the change
  ASSERT_EQ(view_->Matches().size(), 3u);
  EXPECT_EQ(view_->CurrentMatch(), 0);
  EXPECT_EQ(bar->Status(), L"1 of 3");
  std::vector<int> tops;
  for (int i = 0; i < 4; ++i) {
    const html::TextRange& m = view_->Matches()[static_cast<size_t>(view_->CurrentMatch())];
    const TRect& r = view_->Layout().boxes[m.begin.box].rect;
    EXPECT_GE(r.top, view_->ScrollPos()) << "the current match is in sight";
    EXPECT_LE(r.bottom, view_->ScrollPos() + view_->PageHeight());
    tops.push_back(r.top);
    Key(VK_F3);
  }
  EXPECT_LT(tops[0], tops[1]);
  EXPECT_LT(tops[1], tops[2]);
  EXPECT_EQ(tops[3], tops[0]) << "after the last comes the first again";
  EXPECT_EQ(view_->CurrentMatch(), 1);
  {
    HeldKeys shift{VK_SHIFT};
    Key(VK_F3);
    Key(VK_F3);
  }
  EXPECT_EQ(view_->CurrentMatch(), 2) << "backwards from the first wraps to the last";
  EXPECT_EQ(bar->Status(), L"3 of 3");

  // Enter in the box steps on too; the case of letters does not matter.
  SetWindowTextW(bar->EditHandle(), L"SECOND");
  ASSERT_EQ(view_->Matches().size(), 1u);
  SetWindowTextW(bar->EditHandle(), L"paragraph 1");
  EXPECT_EQ(view_->Matches().size(), 2u * 11u) << "1 and 10 to 19, in both runs of paragraphs";
  int current = view_->CurrentMatch();
  SendMessageW(bar->EditHandle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(view_->CurrentMatch(), (current + 1) % 22);

  SetWindowTextW(bar->EditHandle(), L"nowhere");
  EXPECT_TRUE(view_->Matches().empty());
  EXPECT_EQ(bar->Status(), L"No matches");

  SetWindowTextW(bar->EditHandle(), L"third");
  const html::TextRange& m = view_->Matches().at(0);
  const html::LayoutBox& box = view_->Layout().boxes[m.begin.box];
  std::vector<uint32_t> pixels = Capture();
  int y = box.rect.top - view_->ScrollPos();
  EXPECT_EQ(At(pixels, box.rect.left + 2, y), 0xFF9632u) << "the current match is marked";

  SendMessageW(bar->EditHandle(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_FALSE(IsWindowVisible(bar->Handle()));
  EXPECT_TRUE(view_->Matches().empty());
  EXPECT_EQ(view_->PageHeight(), kViewHeight);
  EXPECT_EQ(GetFocus(), view_->Handle());
  pixels = Capture();
  EXPECT_EQ(At(pixels, box.rect.left + 2, box.rect.top - view_->ScrollPos()), 0xFFFFFFu) << "no marks once closed";
}

TEST_F(HtmlViewReadingTest, ZoomScalesThePageBetweenItsLimits) {
  Write("dot.bmp", SmallBmp());
  ASSERT_TRUE(view_->Navigate(Write("zoom.htm",
                                    "<h1>Title</h1><p><img src=\"dot.bmp\" width=\"40\" height=\"20\"> "
                                    "<img src=\"dot.bmp\"></p>" +
                                        Paragraphs(20))));
  auto imageSizes = [this] {
    std::vector<std::pair<int, int>> sizes;
    for (const html::LayoutBox& b : view_->Layout().boxes)
      if (b.kind == html::BoxKind::Image) sizes.emplace_back(b.rect.Width(), b.rect.Height());
    return sizes;
  };
  EXPECT_EQ(imageSizes(), (std::vector<std::pair<int, int>>{{40, 20}, {4, 2}}));
  const int height100 = view_->Layout().height;
  const int line100 = TextBox("Paragraph 3")->rect.Height();
  EXPECT_EQ(view_->Zoom(), 100);
  SendMessageW(view_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(10, 10));
  EXPECT_EQ(view_->Zoom(), 110);
  EXPECT_EQ(view_->ScrollPos(), 0) << "Ctrl and the wheel zoom instead of scrolling";
  {
    HeldKeys ctrl{VK_CONTROL};
    Key(VK_OEM_PLUS);
    Key(VK_ADD);
  }
  EXPECT_EQ(view_->Zoom(), 150);
  EXPECT_EQ(imageSizes(), (std::vector<std::pair<int, int>>{{60, 30}, {6, 3}})) << "images grow with the text";
  EXPECT_GT(TextBox("Paragraph 3")->rect.Height(), line100 * 13 / 10);
  EXPECT_GT(view_->Layout().height, height100 * 13 / 10);
  for (int i = 0; i < 20; ++i) SendMessageW(view_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
  EXPECT_EQ(view_->Zoom(), 300);
  {
    HeldKeys ctrl{VK_CONTROL};
    Key('0');
  }
  EXPECT_EQ(view_->Zoom(), 100);
  EXPECT_EQ(view_->Layout().height, height100) << "back at 100 % the page is as it was";
  {
    HeldKeys ctrl{VK_CONTROL};
    for (int i = 0; i < 20; ++i) Key(VK_OEM_MINUS);
  }
  EXPECT_EQ(view_->Zoom(), 50);
  EXPECT_LT(TextBox("Paragraph 3")->rect.Height(), line100);
  view_->SetZoom(1000);
  EXPECT_EQ(view_->Zoom(), 300);
  view_->SetZoom(10);
  EXPECT_EQ(view_->Zoom(), 50);
}

TEST_F(HtmlViewReadingTest, SpaceAndShiftSpaceTurnThePage) {
  ASSERT_TRUE(view_->Navigate(Write("long.htm", Paragraphs(80))));
  const int line = view_->LineStep();
  Key(VK_SPACE);
  EXPECT_EQ(view_->ScrollPos(), kViewHeight - line);
  Key(VK_SPACE);
  EXPECT_EQ(view_->ScrollPos(), 2 * (kViewHeight - line));
  {
    HeldKeys shift{VK_SHIFT};
    Key(VK_SPACE);
  }
  EXPECT_EQ(view_->ScrollPos(), kViewHeight - line);
  Key(VK_HOME);
  EXPECT_EQ(view_->ScrollPos(), 0);
}

// Cells that hold blocks: their borders in pixels, links and places inside
// a nested table, selection, finding and zoom.
TEST_F(HtmlViewReadingTest, NestedCellsPaintLinkSelectAndFind) {
  ASSERT_TRUE(view_->Navigate(Write(
      "cells.htm", "<style>td.b { border: 3px solid #ff0000; padding: 4px }</style>"
                   "<table cellspacing=0 cellpadding=0><tr><td class=b>outer<table cellspacing=0 cellpadding=2>"
                   "<tr><td><a href=\"#deep\">go</a></td><td>find me</td></tr></table></td></tr></table>" +
                       Paragraphs(30) + "<table><tr><td>x</td><td><h3 id=deep>Deep heading</h3></td></tr></table>" +
                       Paragraphs(30))));
  const html::LayoutBox* top = nullptr;
  for (const html::LayoutBox& b : view_->Layout().boxes)
    if (b.kind == html::BoxKind::Fill && b.color == 0xFF0000 && b.rect.Width() > b.rect.Height()) top = top ? top : &b;
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->rect.Height(), 3);
  const std::vector<uint32_t> pixels = Capture();
  for (int y = top->rect.top; y < top->rect.bottom; ++y)
    for (int x = top->rect.left; x < top->rect.right; ++x) ASSERT_EQ(At(pixels, x, y), 0xFF0000u) << x << "," << y;
  EXPECT_EQ(At(pixels, top->rect.left + 1, top->rect.top - 1), 0xFFFFFFu) << "nothing above the border";
  EXPECT_EQ(At(pixels, top->rect.left + 4, top->rect.bottom), 0xFFFFFFu) << "the padding below it is the page's";
  EXPECT_EQ(At(pixels, top->rect.left + 1, top->rect.bottom + 2), 0xFF0000u) << "the left edge goes on down";

  {
    HeldKeys ctrl{VK_CONTROL};
    Key('A');
  }
  EXPECT_EQ(view_->SelectedText().substr(0, 30), "outer\r\ngo\tfind me\r\nParagraph 0") << "row by row, cell by cell";
  view_->FindText("FIND ME");
  EXPECT_EQ(view_->Matches().size(), 1u);

  const html::LayoutBox* heading = TextBox("Deep heading");
  ASSERT_NE(heading, nullptr);
  ClickLink("#deep");
  EXPECT_EQ(view_->ScrollPos(), heading->rect.top) << "the place in the cell comes to the top of the view";

  view_->SetZoom(200);
  const html::LayoutBox* zoomed = nullptr;
  for (const html::LayoutBox& b : view_->Layout().boxes)
    if (b.kind == html::BoxKind::Fill && b.color == 0xFF0000 && b.rect.Width() > b.rect.Height()) zoomed = zoomed ? zoomed : &b;
  ASSERT_NE(zoomed, nullptr);
  EXPECT_EQ(zoomed->rect.Height(), 6) << "borders grow with the zoom";
}

}  // namespace
}  // namespace hv
