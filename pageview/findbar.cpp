#include "pageview/findbar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {

constexpr COLORREF kBarColor = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kEdgeColor = RGB(0xB4, 0xB4, 0xB4);
constexpr COLORREF kLabelColor = RGB(0, 0, 0);
constexpr COLORREF kNoMatchColor = RGB(0xC0, 0, 0);
constexpr int kPad = 4;
constexpr int kLabelWidth = 36;
constexpr int kEditWidth = 220;
constexpr int kCloseSize = 16;
constexpr UINT_PTR kEditSubclass = 1;
constexpr wchar_t kNoMatches[] = L"No matches";

}  // namespace

TFindBar::~TFindBar() {
  if (edit_) RemoveWindowSubclass(edit_, EditProc, kEditSubclass);
  if (hwnd_) {
    HWND hwnd = hwnd_;
    DestroyWindow(hwnd);
    if (hwnd_) SetWindowLongPtrW(hwnd, 0, 0);
  }
}

void TFindBar::Create(HWND parent) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kClassName, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOSError("Cannot register the find bar's window class");
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
  if (!CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr, instance, this))
    throw EOSError(Format("Cannot create the find bar (error %lu)", GetLastError()));
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0,
                          0, hwnd_, nullptr, instance, nullptr);
  if (!edit_) throw EOSError(Format("Cannot create the find bar's box (error %lu)", GetLastError()));
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  SetWindowSubclass(edit_, EditProc, kEditSubclass, reinterpret_cast<DWORD_PTR>(this));
}

int TFindBar::Height() const {
  LOGFONTW lf{};
  int text = 13;
  if (font_ && GetObjectW(font_.Get(), sizeof lf, &lf)) text = std::max(8, static_cast<int>(std::abs(lf.lfHeight)));
  return text + 2 * kPad + 8;
}

bool TFindBar::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void TFindBar::Open(const RECT& client) {
  if (!hwnd_) return;
  Place(client);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void TFindBar::Close() {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
  bool hadFocus = GetFocus() == edit_;
  ShowWindow(hwnd_, SW_HIDE);
  if (hadFocus) SetFocus(GetParent(hwnd_));
  if (OnClose) OnClose();
}

void TFindBar::Place(const RECT& client) {
  if (!hwnd_) return;
  int height = Height();
  MoveWindow(hwnd_, client.left, client.bottom - height, client.right - client.left, height, TRUE);
}

std::string TFindBar::Text() const {
  if (!edit_) return {};
  int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
  int got = GetWindowTextW(edit_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(0, got)));
  return Narrow(text);
}

void TFindBar::SetText(const std::wstring& text) {
  if (edit_) SetWindowTextW(edit_, text.c_str());
}

void TFindBar::SetStatus(const std::wstring& status) {
  if (status == status_) return;
  status_ = status;
  if (hwnd_) {
    RECT r = StatusRect();
    InvalidateRect(hwnd_, &r, TRUE);
  }
}

RECT TFindBar::CloseBoxRect() const {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  int top = (client.bottom - kCloseSize) / 2;
  return RECT{client.right - kPad - kCloseSize, top, client.right - kPad, top + kCloseSize};
}

RECT TFindBar::StatusRect() const {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  int left = kPad + kLabelWidth + kEditWidth + 2 * kPad;
  return RECT{left, 1, std::max(left, static_cast<int>(CloseBoxRect().left) - kPad), client.bottom};
}

void TFindBar::Layout() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  int height = client.bottom - client.top - 2 * kPad;
  MoveWindow(edit_, kPad + kLabelWidth, kPad + 1, kEditWidth, std::max(0, height), TRUE);
}

void TFindBar::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  TBrushHandle face(CreateSolidBrush(kBarColor));
  TBrushHandle edge(CreateSolidBrush(kEdgeColor));
  FillRect(dc, &client, face.Get());
  RECT line{client.left, client.top, client.right, client.top + 1};
  FillRect(dc, &line, edge.Get());

  TSelectObject font(dc, font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLabelColor);
  RECT label{kPad, 1, kPad + kLabelWidth - kPad, client.bottom};
  DrawTextW(dc, L"Find:", -1, &label, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  RECT status = StatusRect();
  SetTextColor(dc, status_ == kNoMatches ? kNoMatchColor : kLabelColor);
  DrawTextW(dc, status_.c_str(), static_cast<int>(status_.size()), &status,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);

  // The close box is a cross of two strokes, drawn as a shape.
  RECT box = CloseBoxRect();
  TPenHandle pen(CreatePen(PS_SOLID, 2, RGB(0x50, 0x50, 0x50)));
  TSelectObject usePen(dc, pen.Get());
  MoveToEx(dc, box.left + 4, box.top + 4, nullptr);
  LineTo(dc, box.right - 4, box.bottom - 4);
  MoveToEx(dc, box.right - 4, box.top + 4, nullptr);
  LineTo(dc, box.left + 4, box.bottom - 4);
}

void TFindBar::ReportError(const std::string& message) {
  if (!OnError) return;
  try {
    OnError(message);
  } catch (...) {
    // Nothing may leave a window procedure, not even a failing report.
  }
}

bool TFindBar::HandleEditKey(UINT msg, WPARAM key) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  if (msg == WM_CHAR) return key == L'\r' || key == 27;  // no beep for the keys handled below
  switch (key) {
    case VK_RETURN:
    case VK_F3:
      if (OnStep) OnStep(shift);
      return true;
    case VK_ESCAPE:
      Close();
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK TFindBar::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TFindBar*>(data);
  if (self && (msg == WM_KEYDOWN || msg == WM_CHAR)) {
    // The platform's message dispatch cannot carry exceptions.
    try {
      if (self->HandleEditKey(msg, wParam)) return 0;
    } catch (const std::exception& e) {
      self->ReportError(e.what());
      return 0;
    } catch (...) {
      self->ReportError("Unknown error in the find bar");
      return 0;
    }
  }
  if (msg == WM_GETDLGCODE) return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTALLKEYS;
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TFindBar::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TFindBar* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<TFindBar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<TFindBar*>(GetWindowLongPtrW(hwnd, 0));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, 0, 0);
    self->hwnd_ = nullptr;
    self->edit_ = nullptr;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  try {
    return self->HandleMessage(msg, wParam, lParam);
  } catch (const std::exception& e) {
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    self->ReportError(e.what());
  } catch (...) {
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    self->ReportError("Unknown error in the find bar");
  }
  return 0;
}

LRESULT TFindBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      TPaintDC paint(hwnd_);
      Paint(paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == edit_ && HIWORD(wParam) == EN_CHANGE && OnChange) OnChange();
      return 0;
    case WM_LBUTTONUP: {
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT box = CloseBoxRect();
      if (PtInRect(&box, p)) Close();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace hv
