// What a reader does in the page view beyond looking: following links and
// going back, selecting and copying, finding, zooming.

#include <windows.h>
// After <windows.h>, which it needs.
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "framework/lazymodule.h"
#include "framework/winstring.h"
#include "pageview/findbar.h"
#include "pageview/htmlview.h"
#include "pageview/linktarget.h"

namespace hv {

namespace {

// The steps a browser's zoom goes through, in percent.
constexpr int kZoomSteps[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};

constexpr COLORREF kSelectionColor = RGB(0x33, 0x99, 0xFF);
constexpr COLORREF kSelectedTextColor = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kMatchColor = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF kCurrentMatchColor = RGB(0xFF, 0x96, 0x32);

bool KeyDown(int key) { return GetKeyState(key) < 0; }

struct GlobalFreer {
  void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool SamePagePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// --- links and history -------------------------------------------------------

bool THtmlView::Navigate(const std::wstring& path) {
  history_.SaveScroll(RememberedScroll());
  if (!Load(path)) return false;
  history_.Visit(path_, scrollY_);
  Shown(false);
  return true;
}

void THtmlView::Shown(bool byReader) {
  if (OnNavigate) OnNavigate(path_);
  if (byReader && OnFollow) OnFollow(path_);
}

void THtmlView::FollowLink(const std::string& href) {
  html::LinkTarget target = html::ClassifyLink(Narrow(path_), href);
  switch (target.kind) {
    case html::LinkKind::None:
      return;
    case html::LinkKind::Outside:
      OpenOutside(Widen(target.url));
      return;
    case html::LinkKind::Place:
      GoToPlace(target.fragment);
      return;
    case html::LinkKind::Page:
      break;
  }
  std::wstring path = Widen(target.path);
  if (SamePagePath(path, path_)) {
    GoToPlace(target.fragment);
    return;
  }
  history_.SaveScroll(RememberedScroll());
  if (!Load(path)) return;
  if (!target.fragment.empty()) ScrollToPlaceWhenLoaded(target.fragment);
  history_.Visit(path_, scrollY_);
  Shown(true);
}

void THtmlView::GoToPlace(const std::string& name) {
  // "#" alone is the top of the page; a name the page lacks leaves the view
  // where it is, as a browser does. While the page loads, the name may be
  // in the part still to come.
  std::optional<int> y = name.empty() ? std::optional<int>(0) : PlaceTop(name);
  if (!y && !firstPart_) return;
  history_.SaveScroll(RememberedScroll());
  if (name.empty()) {
    ScrollTo(0);
  } else {
    ScrollToPlaceWhenLoaded(name);
  }
  history_.Visit(path_, scrollY_);
}

void THtmlView::OpenOutside(const std::wstring& url) {
  if (OnOutsideLink) {
    OnOutsideLink(url);
    return;
  }
  using TShellExecute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static const auto shellExecute = Shell32Module().Entry<TShellExecute>("ShellExecuteW");
  shellExecute(hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool THtmlView::GoBack() { return Step(true); }
bool THtmlView::GoForward() { return Step(false); }

bool THtmlView::Step(bool back) {
  const html::HistoryEntry* next = back ? history_.PeekBack() : history_.PeekForward();
  if (!next) return false;
  html::HistoryEntry entry = *next;
  history_.SaveScroll(RememberedScroll());
  bool otherPage = !SamePagePath(entry.path, path_);
  // A page that went away since keeps the reader where they are.
  if (otherPage && !Load(entry.path)) return false;
  ScrollWhenLoaded(entry.scrollY);
  if (back) {
    history_.StepBack();
  } else {
    history_.StepForward();
  }
  if (otherPage) Shown(true);
  return true;
}

// --- selection ---------------------------------------------------------------

html::TextRange THtmlView::SelectionRange() const {
  return focus_ < anchor_ ? html::TextRange{focus_, anchor_} : html::TextRange{anchor_, focus_};
}

std::string THtmlView::SelectedText() const { return text_ ? text_->Extract(SelectionRange()) : std::string(); }

void THtmlView::SelectAll() {
  if (!text_) return;
  html::TextRange all = text_->All();
  anchor_ = all.begin;
  focus_ = all.end;
  caret_ = true;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

// The selection shrinks to its moving end, where Shift and the arrows go on.
void THtmlView::ClearSelection() {
  if (anchor_ == focus_) return;
  anchor_ = focus_;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

bool THtmlView::CopySelection() const {
  std::wstring text = Widen(SelectedText());
  if (text.empty() || !hwnd_) return false;
  ClipboardScope clipboard(hwnd_);
  if (!clipboard.Open() || !EmptyClipboard()) return false;
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* target = GlobalLock(memory.get());
  if (!target) return false;
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.get());
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}

html::TextSpot THtmlView::SpotAtClient(POINT p) const {
  if (!text_) return {};
  return text_->SpotAt(
      TPoint{p.x + scrollX_, p.y + scrollY_},
      [this](const html::LayoutBox& box, std::string_view prefix) { return PrefixWidth(box, prefix); });
}

void THtmlView::StartSelection(POINT p, bool extend, bool word) {
  html::TextSpot spot = SpotAtClient(p);
  if (word && text_) {
    html::TextRange range = text_->WordAt(spot);
    anchor_ = range.begin;
    focus_ = range.end;
  } else {
    focus_ = spot;
    if (!extend || !caret_) anchor_ = spot;
  }
  caret_ = true;
  selecting_ = !word;
  if (selecting_) SetCapture(hwnd_);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void THtmlView::DragSelection(POINT p) {
  // Dragging past the top or the bottom scrolls the page along.
  int page = PageHeight();
  if (p.y < 0) ScrollTo(scrollY_ + p.y);
  if (p.y > page) ScrollTo(scrollY_ + p.y - page);
  html::TextSpot spot = SpotAtClient(p);
  if (spot == focus_) return;
  focus_ = spot;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void THtmlView::EndSelection() {
  if (!selecting_) return;
  selecting_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
}

// Shift with the arrows, Home and End moves the end of the selection, which
// starts where the mouse last pressed, or at the top of the view.
bool THtmlView::ExtendSelection(WPARAM key) {
  if (!text_ || !text_->HasText()) return false;
  if (!caret_) {
    html::TextSpot top = SpotAtClient(POINT{0, 0});
    anchor_ = focus_ = text_->LineStart(top);
    caret_ = true;
  }
  html::TextSpot spot = focus_;
  auto width = [this](const html::LayoutBox& b, std::string_view prefix) { return PrefixWidth(b, prefix); };
  switch (key) {
    case VK_LEFT:
      spot = text_->Previous(spot);
      break;
    case VK_RIGHT:
      spot = text_->Next(spot);
      break;
    case VK_UP:
      spot = text_->LineAbove(spot, text_->XOf(spot, width), width);
      break;
    case VK_DOWN:
      spot = text_->LineBelow(spot, text_->XOf(spot, width), width);
      break;
    case VK_HOME:
      spot = KeyDown(VK_CONTROL) ? text_->All().begin : text_->LineStart(spot);
      break;
    case VK_END:
      spot = KeyDown(VK_CONTROL) ? text_->All().end : text_->LineEnd(spot);
      break;
    default:
      return false;
  }
  focus_ = spot;
  const TRect& r = layout_.boxes[focus_.box].rect;
  int page = PageHeight();
  if (r.top < scrollY_) ScrollTo(r.top);
  if (r.bottom > scrollY_ + page) ScrollTo(r.bottom - page);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

// --- the page and its places ------------------------------------------------------

int THtmlView::PageHeight() const {
  int height = ClientHeight() - (FindBarOpen() ? findBar_->Height() : 0);
  return std::max(0, height);
}

std::optional<int> THtmlView::PlaceTop(const std::string& name) const {
  const html::Place* place = document_->FindPlace(name);
  if (!place) return std::nullopt;
  if (place->block < layout_.blockTops.size()) return layout_.blockTops[place->block];
  return layout_.height;
}

// Places in the text of the old layout mean nothing in the new one: the
// selection goes, and the find bar finds its words again.
void THtmlView::LayoutChanged(bool keepSelection) {
  text_ = std::make_unique<html::TPageText>(layout_.boxes);
  if (!keepSelection) {
    anchor_ = focus_ = html::TextSpot{};
    caret_ = false;
    EndSelection();
  }
  if (matches_.empty() && !FindBarOpen()) return;
  int keep = currentMatch_;
  matches_ = text_->Find(findWords_);
  currentMatch_ = matches_.empty() ? -1 : std::clamp(keep, 0, static_cast<int>(matches_.size()) - 1);
  ShowCurrentMatch(false);
}

std::optional<LRESULT> THtmlView::HandleReadingMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_SIZE:
      if (FindBarOpen()) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        findBar_->Place(client);
      }
      return std::nullopt;  // the plain handling lays the page out
    case WM_KEYDOWN:
      if (OnReadingKey(wParam)) return 0;
      return std::nullopt;
    case WM_SYSKEYDOWN:
      if (OnSysKey(wParam)) return 0;
      return std::nullopt;
    case WM_XBUTTONDOWN:
      return TRUE;
    case WM_XBUTTONUP:
      if (GET_XBUTTON_WPARAM(wParam) == XBUTTON1) GoBack();
      if (GET_XBUTTON_WPARAM(wParam) == XBUTTON2) GoForward();
      return TRUE;
    case WM_MOUSEWHEEL:
      if (OnCtrlWheel(wParam)) return 0;
      return std::nullopt;
    case WM_LBUTTONDOWN: {
      bool extend = (wParam & MK_SHIFT) != 0;
      if (!extend && LinkAtClient(p)) return std::nullopt;  // a press on a link may become a click
      SetFocus(hwnd_);
      StartSelection(p, extend, false);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      SetFocus(hwnd_);
      StartSelection(p, false, true);
      return 0;
    case WM_MOUSEMOVE:
      if (!selecting_) return std::nullopt;
      DragSelection(p);
      return 0;
    case WM_LBUTTONUP:
      if (!selecting_) return std::nullopt;
      EndSelection();
      return 0;
    case WM_CAPTURECHANGED:
      selecting_ = false;
      return std::nullopt;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
      return std::nullopt;
  }
}

// --- find ----------------------------------------------------------------------

void THtmlView::OpenFindBar() {
  if (!hwnd_) return;
  if (!findBar_) {
    auto bar = std::make_unique<TFindBar>();
    bar->Create(hwnd_);
    bar->OnChange = [this] { FindText(findBar_->Text()); };
    bar->OnStep = [this](bool backwards) { FindStep(backwards); };
    bar->OnClose = [this] { FindBarClosed(); };
    bar->OnError = [this](const std::string& message) { ReportError(message); };
    findBar_ = std::move(bar);
  }
  RECT client{};
  GetClientRect(hwnd_, &client);
  bool wasOpen = findBar_->Visible();
  findBar_->Open(client);
  if (!wasOpen) {
    UpdateScrollBar();
    if (!findWords_.empty()) FindText(findWords_);
  }
}

void THtmlView::CloseFindBar() {
  if (findBar_) findBar_->Close();
}

void THtmlView::FindBarClosed() {
  matches_.clear();
  currentMatch_ = -1;
  UpdateScrollBar();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

bool THtmlView::FindBarOpen() const { return findBar_ && findBar_->Visible(); }

void THtmlView::FindText(const std::string& words) {
  findWords_ = words;
  matches_ = text_ ? text_->Find(words) : std::vector<html::TextRange>();
  currentMatch_ = -1;
  // The first place at or below the top of the view, as a reader expects
  // when typing into the bar; past the last one, the first of the page.
  for (size_t i = 0; i < matches_.size() && currentMatch_ < 0; ++i)
    if (layout_.boxes[matches_[i].begin.box].rect.top >= scrollY_) currentMatch_ = static_cast<int>(i);
  if (currentMatch_ < 0 && !matches_.empty()) currentMatch_ = 0;
  ShowCurrentMatch(true);
}

bool THtmlView::FindStep(bool backwards) {
  if (findWords_.empty()) {
    OpenFindBar();
    return false;
  }
  if (matches_.empty()) {
    FindText(findWords_);
    if (matches_.empty()) return false;
    if (!backwards) return true;  // the first step lands on the first place
  }
  int count = static_cast<int>(matches_.size());
  currentMatch_ = ((currentMatch_ < 0 ? 0 : currentMatch_) + (backwards ? count - 1 : 1)) % count;
  ShowCurrentMatch(true);
  return true;
}

void THtmlView::ShowCurrentMatch(bool scroll) {
  if (findBar_) {
    std::wstring status;
    if (!matches_.empty()) {
      status = std::to_wstring(currentMatch_ + 1) + L" of " + std::to_wstring(matches_.size());
    } else if (!findWords_.empty()) {
      status = L"No matches";
    }
    findBar_->SetStatus(status);
  }
  if (currentMatch_ >= 0) {
    const html::TextRange& match = matches_[static_cast<size_t>(currentMatch_)];
    const TRect& first = layout_.boxes[match.begin.box].rect;
    const TRect& last = layout_.boxes[match.end.box].rect;
    int page = PageHeight();
    // A place out of sight comes to a third of the way down, where the eye
    // finds it.
    if (scroll && (first.top < scrollY_ || last.bottom > scrollY_ + page)) ScrollTo(first.top - page / 3);
    RECT client{};
    if (hwnd_) GetClientRect(hwnd_, &client);
    if (scroll && (first.left < scrollX_ || first.right > scrollX_ + client.right))
      ScrollXTo(first.left - client.right / 3);
  }
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

// --- zoom ----------------------------------------------------------------------

void THtmlView::SetZoom(int percent) {
  percent = std::clamp(percent, kMinZoom, kMaxZoom);
  if (percent == zoom_) return;
  // The line at the top of the view stays at the top.
  double at = layout_.height > 0 ? static_cast<double>(scrollY_) / layout_.height : 0.0;
  zoom_ = percent;
  Relayout();
  ScrollTo(static_cast<int>(at * layout_.height + 0.5));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void THtmlView::ZoomStep(int steps) {
  const int count = static_cast<int>(std::size(kZoomSteps));
  int i = 0;
  while (i < count && kZoomSteps[i] < zoom_) ++i;
  // Between two steps, the first step out is to the nearer one in that
  // direction.
  if (steps < 0 && (i >= count || kZoomSteps[i] > zoom_)) ++steps;
  SetZoom(kZoomSteps[std::clamp(i + steps, 0, count - 1)]);
}

// --- marks on the page ---------------------------------------------------------

void THtmlView::PaintMarks(HDC dc, size_t index, const html::LayoutBox& box, const RECT& r) const {
  if (!text_) return;
  auto fill = [&](std::pair<size_t, size_t> part, COLORREF colour) {
    if (part.first >= part.second) return;
    RECT mark = MarkRect(box, part, r);
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &mark, nullptr, 0, nullptr);
  };
  if (!matches_.empty()) {
    // Matches are in reading order and do not overlap: the first that ends
    // at or after this box is the first that may touch it.
    auto it = std::lower_bound(matches_.begin(), matches_.end(), index,
                               [](const html::TextRange& m, size_t box) { return m.end.box < box; });
    for (; it != matches_.end() && it->begin.box <= index; ++it) {
      bool current = currentMatch_ >= 0 && it - matches_.begin() == currentMatch_;
      fill(text_->PartOfBox(index, *it), current ? kCurrentMatchColor : kMatchColor);
    }
  }
  fill(text_->PartOfBox(index, SelectionRange()), kSelectionColor);
}

RECT THtmlView::MarkRect(const html::LayoutBox& box, std::pair<size_t, size_t> part, const RECT& r) const {
  std::string_view text = box.text;
  int from = part.first == 0 ? 0 : PrefixWidth(box, text.substr(0, part.first));
  int to = part.second >= text.size() ? box.rect.right - box.rect.left : PrefixWidth(box, text.substr(0, part.second));
  return RECT{r.left + from, r.top, r.left + to, r.bottom};
}

bool THtmlView::SelectedPart(size_t index, const html::LayoutBox& box, const RECT& r, RECT& part) const {
  if (!text_) return false;
  std::pair<size_t, size_t> range = text_->PartOfBox(index, SelectionRange());
  if (range.first >= range.second) return false;
  part = MarkRect(box, range, r);
  return true;
}

COLORREF THtmlView::SelectedTextColor() { return kSelectedTextColor; }

// --- keys and buttons ------------------------------------------------------------

bool THtmlView::OnReadingKey(WPARAM key) {
  bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
  if (ctrl) {
    switch (key) {
      case 'A':
        SelectAll();
        return true;
      case 'C':
      case VK_INSERT:
        CopySelection();
        return true;
      case 'F':
        OpenFindBar();
        return true;
      case VK_OEM_PLUS:
      case VK_ADD:
        ZoomStep(1);
        return true;
      case VK_OEM_MINUS:
      case VK_SUBTRACT:
        ZoomStep(-1);
        return true;
      case '0':
      case VK_NUMPAD0:
        SetZoom(100);
        return true;
      default:
        break;
    }
  }
  if (shift && ExtendSelection(key)) return true;
  switch (key) {
    case VK_F3:
      FindStep(shift);
      return true;
    case VK_ESCAPE:
      if (FindBarOpen()) {
        CloseFindBar();
      } else {
        ClearSelection();
      }
      return true;
    case VK_LEFT:
      OnHScroll(SB_LINELEFT);
      return true;
    case VK_RIGHT:
      OnHScroll(SB_LINERIGHT);
      return true;
    case VK_BACK:
      if (shift) {
        GoForward();
      } else {
        GoBack();
      }
      return true;
    default:
      return false;
  }
}

bool THtmlView::OnSysKey(WPARAM key) {
  if (!KeyDown(VK_MENU)) return false;
  if (key == VK_LEFT) {
    GoBack();
    return true;
  }
  if (key == VK_RIGHT) {
    GoForward();
    return true;
  }
  return false;
}

bool THtmlView::OnCtrlWheel(WPARAM wParam) {
  if (!(GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL)) return false;
  zoomWheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
  int notches = zoomWheel_ / WHEEL_DELTA;
  zoomWheel_ -= notches * WHEEL_DELTA;
  if (notches != 0) ZoomStep(notches);
  return true;
}

}  // namespace hv
