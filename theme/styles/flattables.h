#pragma once
// The colour and size tables of the flat styles, as data. A colour entry is
// a framework colour (an RGB value or a system colour) and, for the shades
// of the face, the amount it is lightened (positive) or darkened
// (negative) by before the engine's tint applies.

#include <array>
#include <cstdint>

#include "framework/colors.h"
#include "theme/core/colors.h"

namespace hv::flattables {

struct TColorEntry {
  TColor color;
  int shade = 0;
};
constexpr int kColorKinds = 26;
constexpr int kSizeKinds = 30;
using TColorTable = std::array<TColorEntry, kColorKinds>;
using TSizeTable = std::array<int, kSizeKinds>;

// The tables are written 0xRRGGBB, as designers read them.
constexpr TColor FromRGB(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

constexpr TColorEntry F{kFallbackColor};
constexpr TColorEntry V(uint32_t rgb) { return {FromRGB(rgb)}; }
constexpr TColorEntry Face(int shade) { return {clBtnFace, shade}; }

constexpr TColorTable kFlatColors = {{
    {clActiveCaption}, {clInactiveCaption}, V(0x000000),  V(0xFFFFFF),  F,           V(0xFFFFFF),
    {clWindow},        {clBtnShadow},       Face(-30),    V(0xFEFEFB),  V(0xC5C5B1), {clBtnFace},
    V(0xB6BDD2),       {clBtnShadow},       Face(10),     V(0xB6BDD2),  Face(10),    V(0xB6BDD2),
    {clMenuText},      {clMenuText},        {clMenuText}, {clMenuText}, V(0x808080), V(0x000000),
    V(0x95CEFF),       V(0x316AC5),
}};

constexpr TColorTable kCoolFlatColors = {{
    V(0xF7DE9C), {clBtnFace}, V(0x000000), V(0x000000), V(0xFF0000), V(0x000000), V(0xFFFFFF), V(0xA09683), V(0x336699),
    V(0xFEFEFB), V(0xC5C5B1), {clBtnFace}, V(0xEBEAE1), V(0xA09683), {clBtnFace}, V(0xF7DE9C), {clBtnFace}, V(0xF7DE9C),
    V(0x000000), V(0x000000), V(0x000000), V(0x000000), V(0x808080), V(0x000000), V(0x95CEFF), V(0x316AC5),
}};
// Cool Flat answers kinds past its table in red, the others with the fallback.
constexpr TColorEntry kCoolFlatBeyond = V(0xFF0000);

constexpr TColorTable kOfficeXPColors = {{
    {clActiveCaption}, {clInactiveCaption}, V(0x000000),  V(0xFFFFFF),  F,           V(0xFFFFFF),
    {clWindow},        V(0x808080),         V(0x8592B5),  V(0xFEFEFB),  V(0xC5C5B1), {clBtnFace},
    V(0xB6BDD2),       V(0x000080),         Face(10),     V(0xB6BDD2),  V(0xFFFFFF), V(0xB6BDD2),
    {clMenuText},      {clMenuText},        {clMenuText}, {clMenuText}, V(0x808080), V(0x000000),
    V(0x95CEFF),       V(0x316AC5),
}};

constexpr TSizeTable kFlatSizes = {3,  3,  23, 20, 10, 18, 15, 14, 12, 6,  6,  1, 6,  6,  23,
                                   17, 13, 13, 13, 13, 11, 22, 10, 22, 17, 17, 1, 21, 15, 11};
constexpr TSizeTable kCoolFlatSizes = {3,  3,  23, 18, 10, 20, 20, 15, 15, 3,  3,  2, 3,  3,  22,
                                       17, 13, 13, 13, 13, 9,  18, 4,  18, 17, 17, 1, 18, 15, 11};

// The base colour of a kind, shades of the face worked out (system colours
// resolved for that); kinds past the table give `beyond`.
inline TColor BaseColor(const TColorTable& table, int kind, TColorEntry beyond = F) {
  const TColorEntry& entry = kind >= 0 && kind < kColorKinds ? table[static_cast<size_t>(kind)] : beyond;
  if (entry.shade > 0) return Lighten(entry.color, entry.shade);
  if (entry.shade < 0) return Darken(entry.color, -entry.shade);
  return entry.color;
}

constexpr int Size(const TSizeTable& table, int kind) {
  return kind >= 0 && kind < kSizeKinds ? table[static_cast<size_t>(kind)] : 0;
}

}  // namespace hv::flattables
