#include "pageview/htmlview.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <type_traits>
#include <vector>

#include "pageview/pageimages.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"
#include "pageview/findbar.h"
#include "pageview/htmllink.h"

namespace hv {

namespace {

// A page bigger than this is no help page; reading it would only stall the
// window.
constexpr LONGLONG kMaxPageBytes = 32LL << 20;

constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kLinkColor = RGB(0, 0, 0xCC);
constexpr COLORREF kShadeColor = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kBorderColor = RGB(0xB4, 0xB4, 0xB4);
constexpr COLORREF kRuleColor = RGB(0xA0, 0xA0, 0xA0);

constexpr COLORREF ColorOf(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }
// Chinese characters need more pixels than Latin letters to keep all their
// strokes; below this the CJK faces at hand (Wine's WenQuanYi Zen Hei in
// particular) drop strokes and the text turns unreadable.
constexpr int kMinWidePixels = 14;

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <typename Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct FileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FileCloser>;

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

bool ReadWholeFile(const std::wstring& path, std::string& out) {
  if (path.empty()) return false;
  HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  FileHandle file(raw);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(raw, &size) || size.QuadPart < 0 || size.QuadPart > kMaxPageBytes) return false;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD got = 0;
    if (!ReadFile(raw, bytes.data() + done, chunk, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  bytes.resize(done);
  out = std::move(bytes);
  return true;
}

// The code pages the portable decoder has no tables for.
std::string DecodeWithCodePage(std::string_view bytes, html::Charset charset) {
  UINT codePage;
  switch (charset) {
    case html::Charset::Gbk:
      codePage = 936;
      break;
    case html::Charset::Windows1252:
      codePage = 1252;
      break;
    case html::Charset::Ansi:
      codePage = CP_ACP;
      break;
    default:
      return {};
  }
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  int count = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), count);
  return Narrow(wide);
}

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

HWND ToHwnd(WPARAM wParam) { return reinterpret_cast<HWND>(wParam); }

}  // namespace

// The GDI fonts of every style met so far, and a DC to measure with.
class THtmlView::Fonts {
 public:
  Fonts() : dc_(CreateCompatibleDC(nullptr)) {
    if (!dc_) throw EOSError("Cannot create a device context for the page view");
    HDC screen = GetDC(nullptr);
    dpi_ = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi_ <= 0) dpi_ = 96;
    if (FontInstalled(dc_.get(), L"Tahoma")) {
      face_ = L"Tahoma";
    } else {
      LOGFONTW gui{};
      if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui)) face_ = gui.lfFaceName;
    }
  }

  HDC Dc() const { return dc_.get(); }

  // Every size in percent of its normal size; the fonts made so far go.
  void SetZoom(int percent) {
    if (percent == zoom_) return;
    zoom_ = percent;
    entries_.clear();
  }

  // `wide` picks a face with Chinese glyphs; Wine maps SimSun to the CJK
  // face the system has.
  HFONT Get(const html::RunStyle& style, bool wide, bool underline) {
    for (const Entry& e : entries_)
      if (e.style == style && e.wide == wide && e.underline == underline) return e.font.get();
    int pixels = style.Pixels();
    if (wide) pixels = std::max(pixels, kMinWidePixels);
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1, MulDiv(pixels, dpi_ * zoom_, 96 * 100));
    lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style.italic;
    lf.lfUnderline = underline;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    const wchar_t* face = face_.c_str();
    if (wide) {
      lf.lfCharSet = GB2312_CHARSET;
      face = L"SimSun";
    } else if (style.monospace) {
      lf.lfCharSet = DEFAULT_CHARSET;
      lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      face = L"Courier New";
    } else if (style.serif) {
      lf.lfCharSet = DEFAULT_CHARSET;
      lf.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
      face = L"Times New Roman";
    } else {
      lf.lfCharSet = DEFAULT_CHARSET;
      lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    }
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    GdiHandle<HFONT> font(CreateFontIndirectW(&lf));
    HFONT result = font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (font) entries_.push_back(Entry{style, wide, underline, std::move(font)});
    return result;
  }

 private:
  struct Entry {
    html::RunStyle style;
    bool wide;
    bool underline;
    GdiHandle<HFONT> font;
  };
  MemoryDc dc_;
  int dpi_ = 96;
  int zoom_ = 100;
  std::wstring face_;
  std::vector<Entry> entries_;
};

class THtmlView::Measurer : public html::TextMeasurer {
 public:
  explicit Measurer(Fonts& fonts, TPageImages* images = nullptr) : fonts_(fonts), images_(images) {}

  TSize ImageSize(std::string_view src) override { return images_ ? images_->Size(src) : TSize{}; }

  int TextWidth(std::string_view utf8, const html::RunStyle& style) override {
    std::wstring text = Widen(utf8);
    if (text.empty() || text.size() > INT_MAX) return 0;
    Selection font(fonts_.Dc(), fonts_.Get(style, html::HasWideChars(utf8), false));
    SIZE size{};
    GetTextExtentPoint32W(fonts_.Dc(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  // A line must hold both the text face and the Chinese face, since a line
  // of one style may mix them.
  html::FontMetrics Metrics(const html::RunStyle& style) override {
    int ascent = 0, descent = 0, leading = 0;
    for (bool wide : {false, true}) {
      Selection font(fonts_.Dc(), fonts_.Get(style, wide, false));
      TEXTMETRICW tm{};
      if (!GetTextMetricsW(fonts_.Dc(), &tm)) continue;
      ascent = std::max<int>(ascent, tm.tmAscent);
      descent = std::max<int>(descent, tm.tmDescent);
      leading = std::max<int>(leading, tm.tmExternalLeading);
    }
    return html::FontMetrics{ascent + descent + leading, ascent + leading / 2};
  }

 private:
  Fonts& fonts_;
  TPageImages* images_;
};

THtmlView::THtmlView() : images_(std::make_unique<TPageImages>()) {}

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
  if (!fonts_) fonts_ = std::make_unique<Fonts>();
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
  Measurer measurer(*fonts_);
  return std::max(1, measurer.Metrics(html::RunStyle{}).height);
}

bool THtmlView::Load(const std::wstring& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  // Linked sheets are local files beside the page; nothing is fetched from the web.
  const std::string page = Narrow(path);
  html::SheetLoader sheets = [&page](std::string_view href) -> std::optional<std::string> {
    std::optional<std::string> file = html::ResolveLocalLink(page, href);
    std::string text;
    if (!file || !ReadWholeFile(Widen(*file), text)) return std::nullopt;
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
  };
  html::Document document = html::ParseHtmlBytes(bytes, DecodeWithCodePage, sheets);
  document_ = std::move(document);
  path_ = path;
  images_->SetPage(path_);  // the last page's images go with it
  scrollY_ = 0;
  scrollX_ = 0;
  wheelRemainder_ = 0;
  pressed_ = false;
  if (hwnd_) {
    SetWindowTextW(hwnd_, path_.c_str());
    Relayout();
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  return true;
}

void THtmlView::Relayout() {
  if (!hwnd_ || !fonts_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  fonts_->SetZoom(zoom_);
  Measurer measurer(*fonts_, images_.get());
  html::LayoutOptions options;
  options.width = client.right - client.left;
  options.margin = options.margin * zoom_ / 100;
  options.zoom = zoom_;
  layout_ = html::LayoutDocument(document_, measurer, options);
  layoutWidth_ = options.width;
  // Boxes come nearly in top-to-bottom order; these bounds let a paint find
  // the visible ones by bisection instead of looking at all of them.
  const size_t count = layout_.boxes.size();
  reachBelow_.resize(count);
  startAbove_.resize(count);
  int reach = INT_MIN;
  for (size_t i = 0; i < count; ++i) reachBelow_[i] = reach = std::max(reach, layout_.boxes[i].rect.bottom);
  int start = INT_MAX;
  for (size_t i = count; i-- > 0;) startAbove_[i] = start = std::min(start, layout_.boxes[i].rect.top);
  LayoutChanged();
  UpdateScrollBar();
}

int THtmlView::PrefixWidth(const html::LayoutBox& box, std::string_view prefix) const {
  if (!fonts_) return 0;
  Measurer measurer(*fonts_);
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
  scrollX_ = x;
  if (!hwnd_) return;
  SetScrollPos(hwnd_, SB_HORZ, scrollX_, TRUE);
  InvalidateRect(hwnd_, nullptr, FALSE);
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
  y = std::clamp(y, 0, MaxScroll());
  if (y == scrollY_) return;
  scrollY_ = y;
  if (!hwnd_) return;
  SetScrollPos(hwnd_, SB_VERT, scrollY_, TRUE);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

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
  const size_t first = static_cast<size_t>(
      std::upper_bound(reachBelow_.begin(), reachBelow_.end(), pageTop) - reachBelow_.begin());
  const size_t last = static_cast<size_t>(
      std::lower_bound(startAbove_.begin(), startAbove_.end(), pageBottom) - startAbove_.begin());
  for (size_t index = first; index < last && index < layout_.boxes.size(); ++index) {
    const html::LayoutBox& box = layout_.boxes[index];
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
        std::wstring text = Widen(box.text);
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
