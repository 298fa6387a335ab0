#include "pageview/htmlview.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>
#include <type_traits>
#include <vector>

#include "pageview/pageimages.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"
#include "pageview/findbar.h"
#include "pageview/htmllink.h"
#include "pageview/pagefonts.h"
#include "pageview/pageloader.h"
#include "pageview/pagepart.h"

namespace hv {

namespace {

// A block's own background, border or shade in the flow of the page.
bool IsBackground(const html::LayoutBox& box) {
  return !box.floated && (box.kind == html::BoxKind::Fill || box.kind == html::BoxKind::Shade ||
                          box.kind == html::BoxKind::CellBorder || box.kind == html::BoxKind::Rule);
}

constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kLinkColor = RGB(0, 0, 0xCC);
constexpr COLORREF kShadeColor = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kBorderColor = RGB(0xB4, 0xB4, 0xB4);
constexpr COLORREF kRuleColor = RGB(0xA0, 0xA0, 0xA0);

constexpr COLORREF ColorOf(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <typename Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// Puts an object into a DC for the life of the guard.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

HWND ToHwnd(WPARAM wParam) { return reinterpret_cast<HWND>(wParam); }

}  // namespace

THtmlView::THtmlView()
    : document_(std::make_shared<const html::Document>()), images_(std::make_shared<TPageImages>()) {}

THtmlView::~THtmlView() {
  if (hwnd_) {
    HWND hwnd = hwnd_;
    DestroyWindow(hwnd);  // WM_NCDESTROY unlinks us
    if (hwnd_) SetWindowLongPtrW(hwnd, 0, 0);
  }
}

HWND THtmlView::Create(HWND parent, const RECT& bounds) {
  if (hwnd_) throw EInvalidOperation("The page view already has a window");
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kClassName, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOSError("Cannot register the page view's window class");
  }
  if (!fonts_) fonts_ = std::make_unique<TPageFonts>();
  HWND hwnd = CreateWindowExW(
      0, kClassName, path_.c_str(),
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, bounds.left,
      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr, instance, this);
  if (!hwnd) throw EOSError(Format("Cannot create the page view window (error %lu)", GetLastError()));
  Relayout();
  return hwnd_;
}

int THtmlView::LineStep() const {
  if (!fonts_) return 16;
  TPageMeasurer measurer(*fonts_);
  return std::max(1, measurer.Metrics(html::RunStyle{}).height);
}

bool THtmlView::Load(const std::wstring& path) {
  long long size = 0;
  PageFile file = OpenPageFile(path, size);
  if (!file) return false;
  // A long page shows its first part at once, read and laid out here; the
  // worker reads and lays out the whole while the window goes on answering.
  // Without a window there is nothing to answer: the page is read whole.
  const bool longPage = hwnd_ && static_cast<unsigned long long>(size) > kFirstPartBytes;
  BigString bytes;
  if (!ReadPageBytes(file.get(), longPage ? kFirstPartBytes + 1 : static_cast<size_t>(size), bytes)) return false;
  const std::string_view shown = longPage ? html::FirstPart(bytes, kFirstPartBytes) : std::string_view(bytes);
  auto images = std::make_shared<TPageImages>();
  images->SetPage(path);
  auto document = std::make_shared<const html::Document>(ParsePage(shown, path));
  if (loader_) loader_->Cancel();
  // The last page's document, layout and images go with it.
  document_ = std::move(document);
  images_ = std::move(images);
  path_ = path;
  firstPart_ = longPage;
  longPage_ = longPage;
  pendingScroll_.reset();
  pendingPlace_.clear();
  scrollY_ = 0;
  scrollX_ = 0;
  wheelRemainder_ = 0;
  pressed_ = false;
  if (hwnd_) {
    SetWindowTextW(hwnd_, path_.c_str());
    Relayout();
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  if (longPage) {
    if (!loader_) loader_ = std::make_unique<TPageLoader>(hwnd_, kLaidOutMessage);
    loader_->Load(std::move(file), path_, images_, CurrentOptions());
  }
  return true;
}

bool THtmlView::Loading() const { return loader_ && loader_->Busy(); }

html::LayoutOptions THtmlView::CurrentOptions() const {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  html::LayoutOptions options;
  options.width = client.right - client.left;
  options.margin = options.margin * zoom_ / 100;
  options.zoom = zoom_;
  return options;
}

void THtmlView::Relayout() {
  if (!hwnd_ || !fonts_) return;
  fonts_->SetZoom(zoom_);
  fonts_->Trim();  // nothing is painted or measured now
  const html::LayoutOptions options = CurrentOptions();
  if (longPage_ && !firstPart_) {
    // The old layout stays on show until the new one is there.
    if (!loader_) loader_ = std::make_unique<TPageLoader>(hwnd_, kLaidOutMessage);
    loader_->Relayout(document_, images_, options);
    layoutWidth_ = options.width;
    return;
  }
  TPageMeasurer measurer(*fonts_, images_.get());
  ShowLayout(html::LayoutDocument(*document_, measurer, options), options.width, false);
}

void THtmlView::ShowLayout(html::PageLayout&& layout, int width, bool keepSelection) {
  // The selection stays when the boxes it lies in are the same in the new
  // layout: the first part of a page laid out again as part of the whole.
  const size_t reach = std::max(anchor_.box, focus_.box);
  keepSelection = keepSelection && caret_ && reach < layout_.boxes.size() && reach < layout.boxes.size() &&
                  std::equal(layout_.boxes.begin(), layout_.boxes.begin() + static_cast<ptrdiff_t>(reach) + 1,
                             layout.boxes.begin(), [](const html::LayoutBox& a, const html::LayoutBox& b) {
                               return a.text == b.text && a.rect == b.rect && a.kind == b.kind;
                             });
  html::PageLayout old = std::exchange(layout_, std::move(layout));
  layoutWidth_ = width;
  bands_.Build(layout_.boxes);
  LayoutChanged(keepSelection);
  UpdateScrollBar();
}

void THtmlView::OnLaidOut() {
  if (!loader_) return;
  std::unique_ptr<TLaidOutPage> page = loader_->Take();
  if (!page) return;
  const bool wholePage = firstPart_;
  // A page that could not be read whole stays with its first part, laid
  // out from here on like any page this long.
  firstPart_ = false;
  if (page->document) {
    const bool samePage = page->document == document_;
    const int oldHeight = layout_.height;
    const int oldY = scrollY_;
    document_ = std::move(page->document);
    ShowLayout(std::move(page->layout), page->options.width, !samePage);
    // Laid out anew at another width or zoom, the page keeps the line at
    // the top of the view; the whole page after its first part keeps every
    // pixel where it was.
    if (samePage && oldHeight > 0)
      scrollY_ = static_cast<int>(static_cast<double>(oldY) / oldHeight * layout_.height + 0.5);
  }
  // Read or not, the page is as whole as it will be: the place a link or
  // Back was going to is gone to now.
  if (!pendingPlace_.empty()) {
    if (std::optional<int> y = PlaceTop(pendingPlace_)) scrollY_ = *y;
  } else if (pendingScroll_) {
    scrollY_ = *pendingScroll_;
  }
  const bool pending = pendingScroll_ || !pendingPlace_.empty();
  pendingScroll_.reset();
  pendingPlace_.clear();
  UpdateScrollBar();
  if (pending) history_.SaveScroll(scrollY_);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  const html::LayoutOptions now = CurrentOptions();
  if (page->document && (page->options.width != now.width || page->options.zoom != now.zoom)) {
    Relayout();  // the view changed while the page was read
  } else if (wholePage && OnLoaded) {
    OnLoaded();
  }
}

int THtmlView::PrefixWidth(const html::LayoutBox& box, std::string_view prefix) const {
  if (!fonts_) return 0;
  TPageMeasurer measurer(*fonts_);
  return measurer.TextWidth(prefix, box.style);
}

int THtmlView::ClientHeight() const {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  return client.bottom - client.top;
}

int THtmlView::MaxScroll() const { return std::max(0, layout_.height - PageHeight()); }

void THtmlView::UpdateScrollBar() {
  if (!hwnd_) return;
  // The sideways bar only shows for a page wider than the view (a long
  // preformatted line, a wide table or image); the layout's width does not
  // depend on the height it takes. It goes first: it takes from the height.
  RECT client{};
  GetClientRect(hwnd_, &client);
  scrollX_ = std::clamp(scrollX_, 0, std::max<int>(0, layout_.width - client.right));
  SCROLLINFO sx{};
  sx.cbSize = sizeof sx;
  sx.fMask = SIF_ALL;
  sx.nMax = std::max(0, layout_.width - 1);
  sx.nPage = static_cast<UINT>(std::max<LONG>(0, client.right));
  sx.nPos = scrollX_;
  SetScrollInfo(hwnd_, SB_HORZ, &sx, TRUE);
  scrollY_ = std::clamp(scrollY_, 0, MaxScroll());
  // The bar stays when there is nothing to scroll (greyed), so the client
  // width, and with it the layout, does not flip as pages change.
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, layout_.height - 1);
  si.nPage = static_cast<UINT>(std::max(0, PageHeight()));
  si.nPos = scrollY_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void THtmlView::ScrollXTo(int x) {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  x = std::clamp(x, 0, std::max<int>(0, layout_.width - client.right));
  if (x == scrollX_) return;
  const int dx = scrollX_ - x;
  scrollX_ = x;
  if (!hwnd_) return;
  SetScrollPos(hwnd_, SB_HORZ, scrollX_, TRUE);
  ScrollPixels(dx, 0);
}

void THtmlView::ScrollPixels(int dx, int dy) {
  RECT page{};
  GetClientRect(hwnd_, &page);
  page.bottom = std::min<LONG>(page.bottom, PageHeight());
  RECT waiting{};
  // Pixels still waiting for a paint would move with the rest unpainted;
  // and a step bigger than the view uncovers all of it anyway.
  if (GetUpdateRect(hwnd_, &waiting, FALSE) || std::abs(dx) >= page.right || std::abs(dy) >= page.bottom) {
    InvalidateRect(hwnd_, &page, FALSE);
    return;
  }
  ScrollWindowEx(hwnd_, dx, dy, &page, &page, nullptr, nullptr, SW_INVALIDATE);
}

void THtmlView::OnHScroll(WPARAM wParam) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int line = LineStep();
  const int page = std::max<int>(line, client.right - line);
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
      ScrollXTo(scrollX_ - line);
      break;
    case SB_LINERIGHT:
      ScrollXTo(scrollX_ + line);
      break;
    case SB_PAGELEFT:
      ScrollXTo(scrollX_ - page);
      break;
    case SB_PAGERIGHT:
      ScrollXTo(scrollX_ + page);
      break;
    case SB_LEFT:
      ScrollXTo(0);
      break;
    case SB_RIGHT:
      ScrollXTo(INT_MAX);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd_, SB_HORZ, &si)) ScrollXTo(si.nTrackPos);
      break;
    }
    default:
      break;
  }
}

void THtmlView::ScrollTo(int y) {
  pendingScroll_.reset();
  pendingPlace_.clear();
  y = std::clamp(y, 0, MaxScroll());
  if (y == scrollY_) return;
  const int dy = scrollY_ - y;
  scrollY_ = y;
  if (!hwnd_) return;
  MoveThumb(scrollY_ + dy, scrollY_);
  ScrollPixels(0, dy);
}

// Drawing the scroll bar takes longer than painting the strip a step
// uncovers; on a long page most steps leave the thumb on the same pixel, and
// then the bar is left as it is.
void THtmlView::MoveThumb(int from, int to) {
  SCROLLBARINFO before{};
  before.cbSize = sizeof before;
  const bool known = GetScrollBarInfo(hwnd_, OBJID_VSCROLL, &before);
  SetScrollPos(hwnd_, SB_VERT, to, FALSE);
  SCROLLBARINFO after{};
  after.cbSize = sizeof after;
  if (known && GetScrollBarInfo(hwnd_, OBJID_VSCROLL, &after) && after.xyThumbTop == before.xyThumbTop &&
      after.xyThumbBottom == before.xyThumbBottom)
    return;
  // Set from where it was, so that the bar sees a change and draws it.
  SetScrollPos(hwnd_, SB_VERT, from, FALSE);
  SetScrollPos(hwnd_, SB_VERT, to, TRUE);
}

void THtmlView::ScrollWhenLoaded(int y) {
  ScrollTo(y);
  if (firstPart_) pendingScroll_ = y;
}

void THtmlView::ScrollToPlaceWhenLoaded(const std::string& name) {
  if (std::optional<int> y = PlaceTop(name)) ScrollTo(*y);
  if (firstPart_ && !name.empty()) pendingPlace_ = name;
}

int THtmlView::RememberedScroll() const { return pendingScroll_ ? *pendingScroll_ : scrollY_; }

void THtmlView::OnScroll(WPARAM wParam) {
  int line = LineStep();
  int page = std::max(line, PageHeight() - line);
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      ScrollTo(scrollY_ - line);
      break;
    case SB_LINEDOWN:
      ScrollTo(scrollY_ + line);
      break;
    case SB_PAGEUP:
      ScrollTo(scrollY_ - page);
      break;
    case SB_PAGEDOWN:
      ScrollTo(scrollY_ + page);
      break;
    case SB_TOP:
      ScrollTo(0);
      break;
    case SB_BOTTOM:
      ScrollTo(MaxScroll());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the one in wParam stops at 65535.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd_, SB_VERT, &si)) ScrollTo(si.nTrackPos);
      break;
    }
    default:
      break;
  }
}

void THtmlView::OnWheel(WPARAM wParam) {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
  int notches = wheelRemainder_ / WHEEL_DELTA;
  wheelRemainder_ -= notches * WHEEL_DELTA;
  if (notches == 0 || lines == 0) return;
  int step = lines == WHEEL_PAGESCROLL ? std::max(LineStep(), PageHeight() - LineStep())
                                       : static_cast<int>(std::min<UINT>(lines, 100)) * LineStep();
  ScrollTo(scrollY_ - notches * step);
}

void THtmlView::OnKey(WPARAM key) {
  switch (key) {
    case VK_UP:
      OnScroll(SB_LINEUP);
      break;
    case VK_DOWN:
      OnScroll(SB_LINEDOWN);
      break;
    case VK_PRIOR:
      OnScroll(SB_PAGEUP);
      break;
    case VK_NEXT:
      OnScroll(SB_PAGEDOWN);
      break;
    case VK_HOME:
      OnScroll(SB_TOP);
      break;
    case VK_END:
      OnScroll(SB_BOTTOM);
      break;
    case VK_SPACE:
      OnScroll(GetKeyState(VK_SHIFT) < 0 ? SB_PAGEUP : SB_PAGEDOWN);
      break;
    default:
      break;
  }
}

const html::LinkArea* THtmlView::LinkAtClient(POINT p) const {
  return layout_.LinkAt(TPoint{p.x + scrollX_, p.y + scrollY_});
}

void THtmlView::PaintTo(HDC dc, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  // A view with nothing laid out (the viewer at start, before a topic is
  // chosen) is its background alone: one fill cannot flicker, and it spares
  // the first paint an off-screen bitmap of the whole view in fresh memory.
  if (layout_.boxes.empty()) {
    GdiHandle<HBRUSH> page(layout_.background != html::kNoColor ? CreateSolidBrush(ColorOf(layout_.background))
                                                                : nullptr);
    FillRect(dc, &area, page ? page.get() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return;
  }
  MemoryDc memory(CreateCompatibleDC(dc));
  GdiHandle<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
  if (!memory || !bitmap) throw EOutOfResources("Not enough memory to paint the page");
  HDC mem = memory.get();
  Selection keepBitmap(mem, bitmap.get());
  RECT all{0, 0, width, height};
  if (layout_.background != html::kNoColor) {
    GdiHandle<HBRUSH> page(CreateSolidBrush(ColorOf(layout_.background)));
    FillRect(mem, &all, page ? page.get() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  } else {
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }

  GdiHandle<HBRUSH> shade(CreateSolidBrush(kShadeColor));
  GdiHandle<HBRUSH> border(CreateSolidBrush(kBorderColor));
  GdiHandle<HBRUSH> rule(CreateSolidBrush(kRuleColor));
  GdiHandle<HBRUSH> ink(CreateSolidBrush(kTextColor));
  GdiHandle<HPEN> inkPen(CreatePen(PS_SOLID, 1, kTextColor));
  SetBkMode(mem, TRANSPARENT);
  SetTextAlign(mem, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);

  const int dx = -area.left - scrollX_;
  const int dy = -area.top - scrollY_;
  // Glyphs reach a little past their boxes; this covers the tallest overhang.
  constexpr int kReach = 64;
  const int pageTop = area.top + scrollY_ - kReach;
  const int pageBottom = area.bottom + scrollY_ + kReach;
  bands_.Touching(pageTop, pageBottom, shown_);
  // Floats paint over the backgrounds of the blocks they stand in, as
  // browsers paint them: those backgrounds go first.
  for (int pass = layout_.hasFloats ? 0 : 1; pass < 2; ++pass)
  for (size_t index : shown_) {
    if (index >= layout_.boxes.size()) continue;
    const html::LayoutBox& box = layout_.boxes[index];
    if (layout_.hasFloats && (pass == 0) != IsBackground(box)) continue;
    RECT r{box.rect.left + dx, box.rect.top + dy, box.rect.right + dx, box.rect.bottom + dy};
    // Glyphs may reach a little past their box (italics, tall CJK faces).
    int slack = box.kind == html::BoxKind::Text ? (r.bottom - r.top) / 2 : 0;
    if (r.bottom + slack <= 0 || r.top - slack >= height || r.right + slack <= 0 || r.left - slack >= width) continue;
    switch (box.kind) {
      case html::BoxKind::Shade:
        FillRect(mem, &r, shade.get());
        break;
      case html::BoxKind::CellBorder:
        if (box.color != html::kNoColor) {
          GdiHandle<HBRUSH> own(CreateSolidBrush(ColorOf(box.color)));
          FrameRect(mem, &r, own ? own.get() : border.get());
        } else {
          FrameRect(mem, &r, border.get());
        }
        break;
      case html::BoxKind::Fill: {
        GdiHandle<HBRUSH> own(CreateSolidBrush(ColorOf(box.color)));
        if (own) FillRect(mem, &r, own.get());
        break;
      }
      case html::BoxKind::Rule:
        if (box.color != html::kNoColor) {
          GdiHandle<HBRUSH> own(CreateSolidBrush(ColorOf(box.color)));
          FillRect(mem, &r, own ? own.get() : rule.get());
        } else {
          FillRect(mem, &r, rule.get());
        }
        break;
      case html::BoxKind::Bullet:
        if (box.bullet == html::BulletShape::Square) {
          FillRect(mem, &r, ink.get());
        } else {
          Selection pen(mem, inkPen.get());
          Selection brush(mem, box.bullet == html::BulletShape::Disc ? ink.get() : GetStockObject(NULL_BRUSH));
          Ellipse(mem, r.left, r.top, r.right, r.bottom);
        }
        break;
      case html::BoxKind::Image:
        images_->Draw(mem, box.text, r);
        break;
      case html::BoxKind::Text: {
        std::wstring text = DisplayText(box.text);
        if (text.empty() || text.size() > INT_MAX) break;
        if (box.style.background != html::kNoColor) {
          GdiHandle<HBRUSH> behind(CreateSolidBrush(ColorOf(box.style.background)));
          if (behind) FillRect(mem, &r, behind.get());
        }
        PaintMarks(mem, index, box, r);
        Selection font(mem, fonts_->Get(box.style, html::HasWideChars(box.text), box.style.underline || box.link));
        const uint32_t own = box.style.color;
        SetTextColor(mem, own <= 0xFFFFFF ? ColorOf(own) : box.link ? kLinkColor : kTextColor);
        ExtTextOutW(mem, r.left, box.baseline + dy, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
        RECT selected{};
        if (SelectedPart(index, box, r, selected)) {
          SetTextColor(mem, SelectedTextColor());
          ExtTextOutW(mem, r.left, box.baseline + dy, ETO_CLIPPED, &selected, text.data(),
                      static_cast<UINT>(text.size()), nullptr);
        }
        break;
      }
    }
  }
  BitBlt(dc, area.left, area.top, width, height, mem, 0, 0, SRCCOPY);
}

void THtmlView::ReportError(const std::string& message) {
  try {
    if (onError_) {
      onError_(message);
      return;
    }
  } catch (...) {
    // A failing error handler must not take the window procedure with it;
    // the message box below still tells the user.
  }
  MessageBoxW(hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr, Widen(message).c_str(), L"Error", MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK THtmlView::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  THtmlView* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<THtmlView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<THtmlView*>(GetWindowLongPtrW(hwnd, 0));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, 0, 0);
    self->hwnd_ = nullptr;
    self->loader_.reset();  // nobody is left to show what it makes
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  // The one place where errors of the page view end: the platform's
  // message dispatch cannot carry exceptions.
  try {
    return self->HandleMessage(msg, wParam, lParam);
  } catch (const std::exception& e) {
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);  // else WM_PAINT comes back at once, forever
    self->ReportError(e.what());
  } catch (...) {
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    self->ReportError("Unknown error in the page view");
  }
  return 0;
}

LRESULT THtmlView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (std::optional<LRESULT> handled = HandleReadingMessage(msg, wParam, lParam)) return *handled;
  switch (msg) {
    case WM_SIZE: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      if (client.right - client.left != layoutWidth_) {
        Relayout();
      } else {
        UpdateScrollBar();
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painting covers every pixel
    case kLaidOutMessage:
      OnLaidOut();
      return 0;
    case WM_PAINT: {
      PaintScope paint(hwnd_);
      PaintTo(paint.Dc(), paint.Area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      PaintTo(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_VSCROLL:
      OnScroll(wParam);
      return 0;
    case WM_HSCROLL:
      OnHScroll(wParam);
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(wParam);
      return 0;
    case WM_KEYDOWN:
      OnKey(wParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd_);
      const html::LinkArea* link = LinkAtClient(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      pressed_ = link != nullptr;
      pressedHref_ = link ? link->href : std::string();
      if (pressed_) SetCapture(hwnd_);
      return 0;
    }
    case WM_LBUTTONUP: {
      bool wasPressed = pressed_;
      std::string href = std::move(pressedHref_);
      pressed_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      const html::LinkArea* link = LinkAtClient(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      // A click is a press and a release on the same link.
      if (wasPressed && link && link->href == href) FollowLink(href);
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    case WM_SETCURSOR:
      if (ToHwnd(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        SetCursor(LoadCursorW(nullptr, LinkAtClient(p) ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace hv
