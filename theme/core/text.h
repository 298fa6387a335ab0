#pragma once
// Text output for the styles: formatted text through the platform's wide
// calls on the NT line and its ANSI calls elsewhere, measuring, fitting with
// an ellipsis, and text turned by a quarter. Text is UTF-8.

#include <string>
#include <string_view>

#include "framework/types.h"
#include "framework/winhandles.h"

// <windows.h> maps DrawTextEx to DrawTextExW or DrawTextExA; ours keeps its
// name whichever header a file includes first (see the forwarders below).
#ifdef DrawTextEx
#undef DrawTextEx
#endif

namespace hv {

class TCanvas;

// Whether text goes through the wide calls: true on the NT line, read from
// the platform on first use. Tests switch it to reach the ANSI path.
bool WideTextCalls();
void SetWideTextCalls(bool wide);

// Draws text with the canvas's font in the font's colour, nothing behind it
// (the context's background mode becomes transparent), with the platform's
// DT_* flags; with DT_CALCRECT rect receives the measured bounds. Returns
// the text height the platform answers.
int DrawTextEx(TCanvas& canvas, std::string_view text, TRect& rect, unsigned flags);
int DrawTextEx(TCanvas& canvas, std::string_view text, const TRect& rect, unsigned flags);
// For files that include <windows.h> after this header.
inline int DrawTextExW(TCanvas& canvas, std::string_view text, TRect& rect, unsigned flags) {
  return DrawTextEx(canvas, text, rect, flags);
}
inline int DrawTextExA(TCanvas& canvas, std::string_view text, TRect& rect, unsigned flags) {
  return DrawTextEx(canvas, text, rect, flags);
}

// The right edge and bottom edge of the text measured from (0, 0).
int TextWidthEx(TCanvas& canvas, std::string_view text, unsigned flags);
int TextHeightEx(TCanvas& canvas, std::string_view text);

// The text itself when it is at most maxWidth wide on the context's font;
// otherwise its longest head that fits together with "...", followed by
// "..." ("..." alone when not even one character fits). Characters are
// never split, surrogate pairs included.
std::string EllipsizeText(HDC dc, std::string_view text, int maxWidth);

// Text drawn with DrawTextEx into rect as if rect were turned on its side,
// then turned upright: reading downwards when clockwise, upwards otherwise.
// Returns DrawTextEx's result.
int DrawRotatedText(TCanvas& canvas, std::string_view text, const TRect& rect, bool clockwise, unsigned flags);

}  // namespace hv
