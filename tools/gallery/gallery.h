#pragma once
// The style gallery: every drawing operation of a style, in every state it
// takes, on one labelled sheet, so that a style can be looked at whole.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/types.h"

namespace hv {

class TBitmap;
class TTeBitmap;
class TTeTheme;

// One painted element: its name ("DrawCheckBox checked/hot") and where its
// painting landed on the sheet. The element was painted with this rect's
// top-left as its origin.
struct TGalleryCell {
  std::string name;
  TRect rect;
};

struct TGallerySheet {
  std::unique_ptr<TTeBitmap> bitmap;
  std::vector<TGalleryCell> cells;

  TGallerySheet();
  TGallerySheet(TGallerySheet&&) noexcept;
  ~TGallerySheet();
  // Null when there is no cell of that name.
  const TGalleryCell* Find(std::string_view name) const;
};

// Paints the sheet of one style; labels are plain system text.
TGallerySheet PaintStyleSheet(TTeTheme& theme, const std::string& title);

// The sheet as a 24-bit bitmap, ready to be saved.
std::unique_ptr<TBitmap> SheetToBitmap(const TTeBitmap& sheet);

}  // namespace hv
