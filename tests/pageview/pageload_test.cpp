// Long pages in a real view: the first part shows at once, the window goes on
// answering while the worker reads and lays out the whole, and the whole
// page then stands where a synchronous layout puts it; navigating, Back and
// places behave across the swap; a view that goes mid-load leaves nothing.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "pageview/htmlview.h"
#include "pageview/pagefonts.h"
#include "pageview/pageloader.h"
#include "framework/winstring.h"
#include "tests/pageview/viewcapture.h"
#include "tests/support/gui_objects.h"
#include "tests/support/pinger.h"
#include "tests/pageview/viewhost.h"

namespace hv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kViewWidth = 420;
constexpr int kViewHeight = 300;
constexpr int kLoadWithinMs = 60000;

class PageLoadTest : public test::PageViewHost {
 protected:
  static void SetUpTestSuite() {
    counting_ = test::InstallGuiObjectCounter();
    PageViewHost::SetUpTestSuite();
  }

  void SetUp() override { OpenView("hv_pageload_test_", kViewWidth, kViewHeight); }

  // Paragraphs of some 80 bytes each, `middle` after the first half, and a
  // last paragraph that tells the page is whole.
  static std::string LongPage(const std::string& word, int paragraphs, const std::string& middle = {}) {
    std::string page = "<html><head><title>" + word + "</title></head><body>\n";
    for (int i = 0; i < paragraphs; ++i) {
      if (i == paragraphs / 2) page += middle;
      page += "<p>" + word + " " + std::to_string(i) + " says <b>what</b> a long page says, and more.</p>\n";
    }
    return page + "<p>The end of " + word + ".</p></body></html>\n";
  }

  // Handles messages until `done` holds or the time is up.
  static bool PumpUntil(const std::function<bool()>& done, int withinMs = kLoadWithinMs) {
    const auto until = Clock::now() + std::chrono::milliseconds(withinMs);
    while (!done()) {
      if (Clock::now() > until) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    return true;
  }
  static void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
  }
  bool Loaded() { return PumpUntil([this] { return !view_->Loading(); }); }

  std::string LastBlockText() const {
    const auto& blocks = view_->Document().blocks;
    return blocks.empty() ? std::string() : blocks.back().Text();
  }

  // The page laid out in one go, on this thread, at the view's width.
  html::PageLayout Reference(const std::wstring& path) const {
    std::string bytes;
    EXPECT_TRUE(ReadWholePage(path, bytes));
    html::Document document = ParsePage(bytes, path);
    TPageFonts fonts;
    TPageMeasurer measurer(fonts);
    RECT client{};
    GetClientRect(view_->Handle(), &client);
    html::LayoutOptions options;
    options.width = client.right;
    return html::LayoutDocument(document, measurer, options);
  }

  static SCROLLINFO ScrollInfo(HWND hwnd) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, SB_VERT, &si);
    return si;
  }

  const html::LayoutBox* TextBox(const std::string& text) const {
    for (const html::LayoutBox& b : view_->Layout().boxes)
      if (b.kind == html::BoxKind::Text && b.text.find(text) != std::string::npos) return &b;
    return nullptr;
  }

  static inline bool counting_ = false;
};

TEST_F(PageLoadTest, TheWindowAnswersWhileALongPageLoadsAndThenShowsItWhole) {
  const std::wstring path = Write("big.htm", LongPage("Alpha", 45000));  // some 2.9 MB
  ASSERT_GT(std::filesystem::file_size(path), 5u << 19);
  test::TPinger pinger(view_->Handle());
  PumpUntil([&] { return pinger.Answers() > 0; });
  ASSERT_TRUE(view_->Navigate(path));
  EXPECT_TRUE(view_->Loading());
  EXPECT_EQ(view_->Path(), path);
  const size_t firstBlocks = view_->Document().blocks.size();
  EXPECT_GT(firstBlocks, 10u) << "the first part shows at once";
  EXPECT_LT(firstBlocks, 10000u) << "and only the first part";
  EXPECT_GT(view_->Layout().height, view_->PageHeight()) << "it fills the view";
  const int answersBefore = pinger.Answers();

  ASSERT_TRUE(Loaded());
  EXPECT_GT(pinger.Answers(), answersBefore + 5) << "the window answered while the page loaded";
  EXPECT_LT(pinger.LongestMs(), 2000) << "the longest the window went unanswered";
  EXPECT_EQ(LastBlockText(), "The end of Alpha.");
  EXPECT_EQ(view_->Document().blocks.size(), 45001u);
  EXPECT_EQ(view_->Layout().blockTops.size(), view_->Document().blockCount) << "every block laid out";

  const html::PageLayout reference = Reference(path);
  EXPECT_EQ(view_->Layout().height, reference.height);
  EXPECT_EQ(view_->Layout().boxes.size(), reference.boxes.size());
  const SCROLLINFO si = ScrollInfo(view_->Handle());
  EXPECT_EQ(si.nMax, reference.height - 1);
  EXPECT_EQ(si.nPage, static_cast<UINT>(view_->PageHeight()));
  SendMessageW(view_->Handle(), WM_KEYDOWN, VK_END, 1);
  EXPECT_EQ(view_->ScrollPos(), reference.height - view_->PageHeight());
  ASSERT_NE(TextBox("The end of Alpha."), nullptr);
  EXPECT_LT(TextBox("The end of Alpha.")->rect.bottom, reference.height);
}

TEST_F(PageLoadTest, NavigatingAwayMidLoadShowsTheNewPageOnly) {
  const std::wstring a = Write("a.htm", LongPage("Alpha", 15000));
  const std::wstring b = Write("b.htm", LongPage("Beta", 15000));
  const std::wstring c = Write("c.htm", "<p>Gamma is short.</p>");
  int loaded = 0;
  view_->OnLoaded = [&] { ++loaded; };
  ASSERT_TRUE(view_->Navigate(a));
  ASSERT_TRUE(view_->Navigate(b));
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->Path(), b);
  EXPECT_EQ(LastBlockText(), "The end of Beta.");
  EXPECT_EQ(loaded, 1) << "only the page asked for last is announced";

  // A short page is whole at once; the long one asked for before it never
  // comes, however long it is waited for.
  ASSERT_TRUE(view_->Navigate(a));
  ASSERT_TRUE(view_->Navigate(c));
  EXPECT_FALSE(view_->Loading());
  PumpFor(2500);
  EXPECT_EQ(view_->Path(), c);
  ASSERT_EQ(view_->Document().blocks.size(), 1u);
  EXPECT_EQ(view_->Document().blocks[0].Text(), "Gamma is short.");
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(TextBox("Alpha"), nullptr);
}

TEST_F(PageLoadTest, BackAndForwardRestoreEachPageAndItsScrollPositionOnceLoaded) {
  const std::wstring a = Write("a.htm", LongPage("Alpha", 12000));
  const std::wstring b = Write("b.htm", LongPage("Beta", 12000));
  ASSERT_TRUE(view_->Navigate(a));
  ASSERT_TRUE(Loaded());
  const int scrollOfA = view_->Layout().height * 3 / 4;
  view_->ScrollTo(scrollOfA);
  ASSERT_EQ(view_->ScrollPos(), scrollOfA);
  ASSERT_TRUE(view_->Navigate(b));
  const int firstPartOfB = view_->Layout().height;
  ASSERT_TRUE(Loaded());
  const int scrollOfB = view_->Layout().height * 2 / 3;
  ASSERT_GT(scrollOfB, firstPartOfB) << "the place lies beyond the first part";
  view_->ScrollTo(scrollOfB);

  ASSERT_TRUE(view_->GoBack());
  EXPECT_EQ(view_->Path(), a);
  EXPECT_TRUE(view_->Loading());
  EXPECT_LT(view_->ScrollPos(), scrollOfA) << "the first part is shorter than the place";
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->ScrollPos(), scrollOfA);
  EXPECT_EQ(ScrollInfo(view_->Handle()).nPos, scrollOfA);

  ASSERT_TRUE(view_->GoForward());
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->Path(), b);
  EXPECT_EQ(view_->ScrollPos(), scrollOfB);

  // Steps taken before a page is whole remember where each page was going.
  ASSERT_TRUE(view_->GoBack());
  ASSERT_TRUE(view_->GoForward());
  ASSERT_TRUE(view_->GoBack());
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->Path(), a);
  EXPECT_EQ(view_->ScrollPos(), scrollOfA);
  ASSERT_TRUE(view_->GoForward());
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->ScrollPos(), scrollOfB);

  // The reader scrolling while the page loads wins over the remembered place.
  ASSERT_TRUE(view_->GoBack());
  SendMessageW(view_->Handle(), WM_KEYDOWN, VK_NEXT, 1);
  const int readerAt = view_->ScrollPos();
  ASSERT_GT(readerAt, 0);
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->ScrollPos(), readerAt);
}

TEST_F(PageLoadTest, APlaceBeyondTheFirstPartIsGoneToOnceThePageIsWhole) {
  const std::wstring deep = Write("far.htm", LongPage("Alpha", 12000, "<h2 id=\"deep\">Deep heading</h2>\n"));
  const std::wstring from = Write("from.htm", "<p><a href=\"far.htm#deep\">down there</a></p>");
  ASSERT_TRUE(view_->Navigate(from));
  ASSERT_EQ(view_->Layout().links.size(), 1u);
  const TRect r = view_->Layout().links[0].rect;
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(view_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(view_->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(view_->Path(), deep);
  EXPECT_EQ(TextBox("Deep heading"), nullptr) << "the heading lies beyond the first part";
  ASSERT_TRUE(Loaded());
  const html::LayoutBox* heading = TextBox("Deep heading");
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(view_->ScrollPos(), heading->rect.top);
  EXPECT_EQ(view_->History().Current()->scrollY, heading->rect.top);

  ASSERT_TRUE(view_->GoBack());
  EXPECT_EQ(view_->Path(), from);
  ASSERT_TRUE(view_->GoForward());
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->ScrollPos(), heading->rect.top);
}

TEST_F(PageLoadTest, SelectionAndFindingMoveOnToTheWholePage) {
  const std::wstring path = Write("big.htm", LongPage("Alpha", 12000));
  ASSERT_TRUE(view_->Navigate(path));
  const html::LayoutBox* first = TextBox("Alpha 0");
  ASSERT_NE(first, nullptr);
  const LPARAM at = MAKELPARAM(first->rect.left + 2, (first->rect.top + first->rect.bottom) / 2);
  SendMessageW(view_->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(view_->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(view_->SelectedText(), "Alpha");
  view_->OpenFindBar();
  view_->FindText("the end of alpha");
  EXPECT_TRUE(view_->Matches().empty()) << "not in the first part";
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->SelectedText(), "Alpha") << "the selection stays where it was made";
  EXPECT_EQ(view_->Matches().size(), 1u) << "the words are found again in the whole page";
  view_->SelectAll();
  const std::string all = view_->SelectedText();
  EXPECT_TRUE(all.ends_with("The end of Alpha.")) << all.substr(all.size() > 40 ? all.size() - 40 : 0);
  view_->CloseFindBar();
}

TEST_F(PageLoadTest, ResizingALongPageLaysItOutAgainAwayFromTheWindow) {
  const std::wstring path = Write("big.htm", LongPage("Alpha", 12000));
  ASSERT_TRUE(view_->Navigate(path));
  ASSERT_TRUE(Loaded());
  const int wideHeight = view_->Layout().height;
  view_->ScrollTo(wideHeight / 2);
  MoveWindow(view_->Handle(), 0, 0, kViewWidth / 2, kViewHeight, TRUE);
  EXPECT_TRUE(view_->Loading());
  ASSERT_TRUE(Loaded());
  const html::PageLayout reference = Reference(path);
  EXPECT_EQ(view_->Layout().height, reference.height);
  EXPECT_GT(view_->Layout().height, wideHeight) << "narrower, the page grows longer";
  // The same line stays at the top: half way down before, half way now.
  EXPECT_NEAR(view_->ScrollPos(), reference.height / 2, view_->LineStep());
  MoveWindow(view_->Handle(), 0, 0, kViewWidth, kViewHeight, TRUE);
  ASSERT_TRUE(Loaded());
  EXPECT_EQ(view_->Layout().height, wideHeight);
}

TEST_F(PageLoadTest, AViewThatGoesMidLoadLeavesNoObjectBehind) {
  ASSERT_TRUE(counting_);
  const std::wstring path = Write("big.htm", LongPage("Alpha", 30000));
  const test::TGuiObjectCounts before = test::LiveGuiObjects();
  const long made = test::GuiObjectsMade();
  for (int wait : {0, 40, 200}) {
    THtmlView view;
    view.Create(top_, RECT{0, 0, kViewWidth, kViewHeight});
    ASSERT_TRUE(view.Navigate(path));
    EXPECT_TRUE(view.Loading());
    PumpFor(wait);
  }
  EXPECT_GT(test::GuiObjectsMade(), made) << "the counter saw the views' objects made";
  // The worker of a view gone frees its DC and fonts once its work stops.
  PumpUntil([&] { return test::LiveGuiObjects() == before; }, 20000);
  EXPECT_EQ(test::LiveGuiObjects(), before) << test::LiveGuiObjects().Describe() << " against "
                                            << before.Describe();
}

// White words space out grey rules: what a step scrolls on screen must be
// what a whole paint of the view shows there, to the pixel.
TEST_F(PageLoadTest, ScrollingMovesThePaintedPixelsExactly) {
  std::string page;
  for (int i = 0; i < 300; ++i) {
    page += "<p><font color=\"#ffffff\">";
    for (int line = 0; line <= i % 4; ++line) page += "spacer<br>";
    page += "</font></p><hr>";
  }
  ASSERT_TRUE(view_->Navigate(Write("rules.htm", page)));
  HWND hwnd = view_->Handle();
  RECT client{};
  GetClientRect(hwnd, &client);
  const int width = client.right, height = view_->PageHeight();
  UpdateWindow(hwnd);
  auto onScreen = [&] { return test::CaptureOnScreen(hwnd, width, height); };
  auto painted = [&] {
    std::vector<uint32_t> all = test::CaptureClient(hwnd, width, client.bottom);
    all.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    return all;
  };
  struct TStep {
    const char* name;
    UINT msg;
    WPARAM wParam;
  };
  const TStep steps[] = {
      {"line down", WM_VSCROLL, SB_LINEDOWN},          {"line down again", WM_VSCROLL, SB_LINEDOWN},
      {"wheel down", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
      {"page down", WM_VSCROLL, SB_PAGEDOWN},          {"line up", WM_VSCROLL, SB_LINEUP},
      {"wheel up", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA)},
      {"page up", WM_VSCROLL, SB_PAGEUP},              {"to the end", WM_VSCROLL, SB_BOTTOM},
      {"line up at the end", WM_VSCROLL, SB_LINEUP},
  };
  int rulesSeen = 0;
  for (const TStep& step : steps) {
    const int before = view_->ScrollPos();
    SendMessageW(hwnd, step.msg, step.wParam, 0);
    EXPECT_NE(view_->ScrollPos(), before) << step.name;
    UpdateWindow(hwnd);
    const std::vector<uint32_t> screen = onScreen();
    const std::vector<uint32_t> whole = painted();
    size_t differ = 0;
    while (differ < screen.size() && screen[differ] == whole[differ]) ++differ;
    EXPECT_EQ(differ, screen.size()) << step.name << ": first difference at x " << differ % width << ", y "
                                     << differ / width;
    for (uint32_t p : whole) rulesSeen += p == 0xA0A0A0;
  }
  EXPECT_GT(rulesSeen, 0) << "the rules showed, so the comparison saw something";
}

// A no-break space keeps words together but looks like a space: in faces
// that lack its glyph it must not show as a box or take a box's width.
TEST(PageFontsTest, NoBreakSpaceMeasuresAsASpace) {
  TPageFonts fonts;
  TPageMeasurer measurer(fonts);
  for (bool serif : {false, true}) {
    html::RunStyle style;
    style.serif = serif;
    EXPECT_EQ(measurer.TextWidth("Chapter\u00A03.\u00A0Tides", style), measurer.TextWidth("Chapter 3. Tides", style))
        << (serif ? "serif" : "sans");
  }
  EXPECT_EQ(DisplayText("a\u00A0b\u00A0"), L"a b ");
}

// The faces asked for are the faces drawn: where the system stands another
// face in for a missing one (Wine's Tahoma is a CJK face without a bullet,
// its Courier New a proportional one), the view takes a face it really has.
// Preformatted text keeps its columns, and a bullet in the text is a bullet.
TEST(PageFontsTest, FacesAreRealAndPreformattedTextKeepsItsColumns) {
  TPageFonts fonts;
  html::RunStyle plain, mono, serif;
  mono.monospace = true;
  serif.serif = true;
  struct Case {
    const char* name;
    const html::RunStyle& style;
    const std::wstring& face;
  };
  for (const Case& c : {Case{"plain", plain, fonts.Face()}, Case{"monospace", mono, fonts.MonospaceFace()},
                        Case{"serif", serif, fonts.SerifFace()}}) {
    SCOPED_TRACE(c.name);
    TSelectObject font(fonts.Dc(), fonts.Get(c.style, false, false));
    wchar_t drawn[LF_FACESIZE] = {};
    ASSERT_GT(GetTextFaceW(fonts.Dc(), LF_FACESIZE, drawn), 0);
    EXPECT_EQ(std::wstring(drawn), c.face);
    const wchar_t bullet = L'\u2022';
    WORD glyph = 0;
    ASSERT_EQ(GetGlyphIndicesW(fonts.Dc(), &bullet, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS), 1u);
    EXPECT_NE(glyph, 0xFFFF) << "no bullet glyph in " << Narrow(drawn);
  }
  TPageMeasurer measurer(fonts);
  EXPECT_EQ(measurer.TextWidth("iiiiiiii", mono), measurer.TextWidth("MMMMMMMM", mono));
  EXPECT_LT(measurer.TextWidth("iiiiiiii", plain), measurer.TextWidth("MMMMMMMM", plain));
}

// Fonts are kept per look, not per style: a page in a thousand colours
// makes one font, and pages in ever new sizes leave no more than a bounded
// number behind once the next page starts.
TEST(PageFontsTest, ColoursShareAFontAndTheCacheStaysBoundedAcrossPages) {
  TPageFonts fonts;
  html::RunStyle style;
  style.bold = true;
  const HFONT bold = fonts.Get(style, false, false);
  for (uint32_t color = 0; color < 1000; ++color) {
    style.color = color * 0x010203u;
    style.background = color % 2 ? html::kNoColor : color;
    style.invisible = color % 3 == 0;
    ASSERT_EQ(fonts.Get(style, false, false), bold);
  }
  EXPECT_EQ(fonts.Count(), 1u);
  // Each look still has a font of its own.
  EXPECT_NE(fonts.Get(style, false, true), bold);
  EXPECT_NE(fonts.Get(style, true, false), bold);
  EXPECT_EQ(fonts.Count(), 3u);

  TPageMeasurer measurer(fonts);
  html::RunStyle sized;
  sized.size = 20;
  const int width = measurer.TextWidth("measured before and after", sized);
  for (int pixels = 5; pixels < 5 + static_cast<int>(TPageFonts::kMaxFonts); ++pixels) {
    html::RunStyle other;
    other.size = static_cast<uint16_t>(pixels);
    fonts.Get(other, false, false);
  }
  ASSERT_GT(fonts.Count(), TPageFonts::kMaxFonts);
  fonts.Trim();
  EXPECT_EQ(fonts.Count(), 0u);
  EXPECT_EQ(measurer.TextWidth("measured before and after", sized), width);
  // A cache within the bound keeps what it has.
  fonts.Trim();
  EXPECT_EQ(fonts.Count(), 1u);
}

}  // namespace
}  // namespace hv
