#pragma once
// Image lists over comctl32: equal-sized images drawn by index, with a mask
// made from a key colour.

#include <memory>

#include "framework/colors.h"
#include "framework/component.h"
#include "framework/winhandles.h"

struct _IMAGELIST;

namespace hv {

class TBitmap;
class TCanvas;
class TFiler;

class TCustomImageList : public TComponent {
  HV_CLASS(TCustomImageList, TComponent)

 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  _IMAGELIST* Handle() const;
  int Count() const;
  int Width() const { return width_; }
  void SetWidth(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  bool Masked() const { return masked_; }
  void SetMasked(bool value);

  // Adds every image of a strip (width a multiple of Width); pixels of
  // `maskColor` become transparent. Returns the index of the first image.
  int AddMasked(TBitmap* strip, TColor maskColor);
  void Clear();
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
  // The images as one strip bitmap, and the key colour they were added with.
  std::unique_ptr<TBitmap> Strip() const;

  void DefineProperties(TFiler& filer) override;
  void Assign(const TPersistent* source) override;

 private:
  void Recreate();
  int width_ = 16;
  int height_ = 16;
  TColor bkColor_ = clNone;
  bool masked_ = true;
  _IMAGELIST* handle_ = nullptr;
};

class TImageList : public TCustomImageList {
  HV_CLASS_NO_PROPERTIES(TImageList, TCustomImageList)

 public:
  explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace hv
