#pragma once
// The geometry and tables of the two bevelled styles (Advanced and KDE) as
// pure functions over plain values, so that what the painting code carries
// out can be checked without a window system. Portable.

#include <array>
#include <cstdint>
#include <vector>

#include "framework/types.h"

namespace hv {

// GetSize answers, kinds 0 to 29; above them 0.
using TStdSizeTable = std::array<int, 30>;
extern const TStdSizeTable kAdvancedSizes;
extern const TStdSizeTable kKdeSizes;
int StdTableSize(const TStdSizeTable& table, int kind);

// The 7 x 4 arrow of the menus, combo and chevron buttons in a: a filled
// triangle pointing up or down.
std::array<TPoint, 3> ArrowTriangle(const TRect& a, bool up);

// The roll-up (up) and roll-down glyph triangles of the caption buttons in
// the glyph area g.
std::array<TPoint, 3> RollTriangle(const TRect& g, bool up);

// The blocks of a progress bar that is not smooth: inside is the frame's
// inside, bar the filled part. Each block is cut to the inside; none when
// the bar is shorter than one block pitch.
std::vector<TRect> ProgressBlocks(const TRect& inside, const TRect& bar, bool vertical);

// The five points of a pointed track-bar thumb: vertical thumbs point right
// (shape 1) or left (2), horizontal ones down (1) or up (2). Shape 0 and
// others have no point: the rect's four corners, the first repeated.
std::array<TPoint, 5> ThumbPolygon(const TRect& rect, bool vertical, int shape);

// Whether edge i (from point i to the next) of a closed polygon faces up or
// left, where the light of a bevel falls.
bool EdgeFacesLight(const std::array<TPoint, 5>& points, size_t i);

// The frame-control renderer draws a whole button; only the black pixels at
// least `inset` pixels inside the bitmap belong to the glyph. They become
// glyph, every other pixel the transparent marker.
void RecolorGlyphInside(uint32_t* pixels, int width, int height, uint32_t glyph, int inset);

// KDE's caption texture: a pattern of colour with a lighter pixel on every
// 4-pixel grid point and a darker one diagonally below-right of it.
std::array<uint32_t, 64> DotsPattern(uint32_t colour, uint32_t light, uint32_t dark);

// The one-pixel lines of the selected system-menu button on a menu bar:
// one every third row of r, from its top. Only those inside r: the button
// must not paint over its neighbours on the bar.
std::vector<TRect> MenuButtonLines(const TRect& r);

}  // namespace hv
