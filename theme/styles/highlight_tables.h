#pragma once
// The size and colour tables of the Highlight and Lines styles, as data, so
// that they can be read against their designer's tables. Portable.

#include <array>
#include <cstdint>

#include "theme/core/colors.h"

namespace hv::highlight {

// The counts of the size and colour kinds of the style contract.
constexpr int kSizeKinds = 30;
constexpr int kColorKinds = 26;

constexpr std::array<int, kSizeKinds> kSizes = {
    4, 4, 26, 20, 10, 20, 16, 14, 12, 7, 7, 1, 6, 6, 23, 17, 13, 13, 13, 13, 11, 22, 4, 22, 17, 17, 1, 21, 15, 11,
};

// Kinds beyond the table have no element: 0.
constexpr int SizeOf(int kind) { return kind >= 0 && kind < kSizeKinds ? kSizes[static_cast<size_t>(kind)] : 0; }

// Where a table colour comes from: a framework colour (an RGB value or a
// system colour reference, resolved when asked for), or one of the engine's
// copies of the system colours taken when the theme library started, which
// do not follow later changes of the system colours.
enum class TBaseSource : uint8_t { kColor, kSharedWindow, kSharedFace, kSharedShadow };

struct TBaseColor {
  TBaseSource source = TBaseSource::kColor;
  TColor color = kFallbackColor;
};

using TColorTable = std::array<TBaseColor, kColorKinds>;

namespace entries {
// Written 0xRRGGBB, as the designers' tables are.
constexpr TBaseColor Rgb(uint32_t rgb) {
  return {TBaseSource::kColor, static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF))};
}
constexpr TBaseColor Sys(TColor color) { return {TBaseSource::kColor, color}; }
constexpr TBaseColor kFallback{TBaseSource::kColor, kFallbackColor};
constexpr TBaseColor kWindowCopy{TBaseSource::kSharedWindow, 0};
constexpr TBaseColor kFaceCopy{TBaseSource::kSharedFace, 0};
constexpr TBaseColor kShadowCopy{TBaseSource::kSharedShadow, 0};

// The navy, blue and orange of the engine's shared constants.
constexpr TBaseColor kNavy = Rgb(0x003399);
constexpr TBaseColor kBlue = Rgb(0x64A0FF);
constexpr TBaseColor kOrange = Rgb(0xF8C751);

constexpr TColorTable kHighlightColors = {
    Sys(clActiveCaption),
    Sys(clInactiveCaption),
    Rgb(0x000000),
    Rgb(0xFFFFFF),
    kFallback,
    Rgb(0xFFFFFF),
    Sys(clWindow),
    kNavy,
    kBlue,
    Rgb(0xFEFEFB),
    Rgb(0xC5C5B1),
    Sys(clBtnFace),
    kOrange,
    kNavy,
    Sys(clBtnFace),
    kBlue,
    Sys(clBtnFace),
    kBlue,
    Rgb(0x000000),
    Rgb(0xFFFFFF),
    Rgb(0x000000),
    Rgb(0xFFFFFF),
    Rgb(0x808080),
    Rgb(0x000000),
    Rgb(0x95CEFF),
    Rgb(0x316AC5),
};

constexpr TColorTable kLinesColors = {
    kBlue,         kShadowCopy,   Rgb(0x000000), Rgb(0xFFFFFF), kFallback,     Rgb(0xFFFFFF), kWindowCopy,
    kNavy,         kBlue,         Rgb(0xFEFEFB), Rgb(0xC5C5B1), kFaceCopy,     kOrange,       kNavy,
    kWindowCopy,   kBlue,         kWindowCopy,   kBlue,         Rgb(0x000000), Rgb(0xFFFFFF), Rgb(0x000000),
    Rgb(0xFFFFFF), Rgb(0x808080), Rgb(0x000000), Rgb(0x95CEFF), Rgb(0x316AC5),
};
}  // namespace entries

using entries::kHighlightColors;
using entries::kLinesColors;

// The base colour of a kind as a framework colour, before the colour
// pipeline; kinds beyond the table give the shared fallback.
inline TColor BaseColor(const TColorTable& table, int kind) {
  if (kind < 0 || kind >= kColorKinds) return kFallbackColor;
  const TBaseColor& entry = table[static_cast<size_t>(kind)];
  switch (entry.source) {
    case TBaseSource::kSharedWindow:
      return ARGBToColor(SharedWindowARGB());
    case TBaseSource::kSharedFace:
      return ARGBToColor(SharedFaceARGB());
    case TBaseSource::kSharedShadow:
      return ARGBToColor(SharedShadowARGB());
    case TBaseSource::kColor:
      break;
  }
  return entry.color;
}

}  // namespace hv::highlight
