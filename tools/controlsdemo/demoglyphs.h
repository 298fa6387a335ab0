#pragma once
// Small glyphs for the demonstration's speed buttons, drawn at run time so
// that the demo carries no image files of its own.

#include <memory>

namespace hv {

class TBitmap;

enum class TDemoGlyph { none, left, right, square, dot };

// A 16 x 16 picture on a background that the button treats as transparent
// (its bottom-left pixel).
std::unique_ptr<TBitmap> DemoGlyph(TDemoGlyph kind);

}  // namespace hv
