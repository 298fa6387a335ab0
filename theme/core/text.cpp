#include "theme/core/text.h"

#include <windows.h>

#include <optional>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/winstring.h"
#include "theme/core/colors.h"
#include "theme/core/pixels.h"
#include "theme/core/tebitmap.h"

// Ours, not the platform's (see text.h).
#ifdef DrawTextEx
#undef DrawTextEx
#endif

namespace hv {

namespace {

std::optional<bool> gWideText;

bool PlatformIsNT() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The canvas's font and colour on its context for the length of one call,
// and the context's own put back after.
class TTextState {
 public:
  explicit TTextState(TCanvas& canvas) : dc_(canvas.Handle()), font_(dc_, canvas.Font()->Handle()) {
    oldColor_ = SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(canvas.Font()->Color())));
  }
  TTextState(const TTextState&) = delete;
  TTextState& operator=(const TTextState&) = delete;
  ~TTextState() { SetTextColor(dc_, oldColor_); }

  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  TSelectObject font_;
  COLORREF oldColor_ = 0;
};

int DrawTextOnDC(HDC dc, std::string_view text, TRect& rect, unsigned flags) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  int result;
  if (WideTextCalls()) {
    std::wstring wide = Widen(text);
    result = ::DrawTextExW(dc, wide.data(), static_cast<int>(wide.size()), &r, flags, nullptr);
  } else {
    std::string ansi = Utf8ToAnsi(text);
    result = ::DrawTextExA(dc, ansi.data(), static_cast<int>(ansi.size()), &r, flags, nullptr);
  }
  rect = TRect{r.left, r.top, r.right, r.bottom};
  return result;
}

int ExtentWidth(HDC dc, std::wstring_view text) {
  SIZE size{};
  if (WideTextCalls()) {
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  } else {
    std::string ansi = Utf8ToAnsi(Narrow(text));
    GetTextExtentPoint32A(dc, ansi.data(), static_cast<int>(ansi.size()), &size);
  }
  return size.cx;
}

}  // namespace

bool WideTextCalls() {
  if (!gWideText) gWideText = PlatformIsNT();
  return *gWideText;
}

void SetWideTextCalls(bool wide) { gWideText = wide; }

int DrawTextEx(TCanvas& canvas, std::string_view text, TRect& rect, unsigned flags) {
  TTextState state(canvas);
  SetBkMode(state.dc(), TRANSPARENT);
  return DrawTextOnDC(state.dc(), text, rect, flags);
}

int DrawTextEx(TCanvas& canvas, std::string_view text, const TRect& rect, unsigned flags) {
  TRect copy = rect;
  return DrawTextEx(canvas, text, copy, flags);
}

int TextWidthEx(TCanvas& canvas, std::string_view text, unsigned flags) {
  TRect rect{};
  DrawTextEx(canvas, text, rect, flags | DT_CALCRECT);
  return rect.right;
}

int TextHeightEx(TCanvas& canvas, std::string_view text) {
  TRect rect{};
  DrawTextEx(canvas, text, rect, DT_CALCRECT);
  return rect.bottom;
}

std::string EllipsizeText(HDC dc, std::string_view text, int maxWidth) {
  const std::wstring wide = Widen(text);
  if (ExtentWidth(dc, wide) <= maxWidth) return std::string(text);
  std::wstring head;
  size_t i = 0;
  while (i < wide.size()) {
    size_t length = 1;
    if (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1])) length = 2;
    std::wstring candidate = head;
    candidate.append(wide, i, length);
    if (ExtentWidth(dc, candidate + L"...") > maxWidth) break;
    head = std::move(candidate);
    i += length;
  }
  return Narrow(head) + "...";
}

int DrawRotatedText(TCanvas& canvas, std::string_view text, const TRect& rect, bool clockwise, unsigned flags) {
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return 0;
  TTeBitmap target, buffer;
  target.SetSize(w, h);
  buffer.SetSize(h, w);
  target.Fill(kTransparentMarker);
  buffer.Fill(kTransparentMarker);

  buffer.Font()->Assign(canvas.Font());
  TCanvas bufferCanvas;
  bufferCanvas.SetHandle(buffer.DC());
  bufferCanvas.SetFont(buffer.Font());
  const int result = DrawTextEx(bufferCanvas, text, TRect{0, 0, h, w}, flags);
  bufferCanvas.SetHandle(nullptr);

  RotatePixels(target.Pixels(), buffer.Pixels(), clockwise);
  target.Draw(canvas, rect.left, rect.top, true);
  return result;
}

}  // namespace hv
