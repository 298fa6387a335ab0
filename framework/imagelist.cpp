#include "framework/imagelist.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/filer.h"
#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/stream.h"
#include "framework/sysutils.h"

namespace hv {

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) { Recreate(); }

TCustomImageList::~TCustomImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

void TCustomImageList::Recreate() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | (masked_ ? ILC_MASK : 0), 4, 4);
  if (!handle_) throw EOutOfResources("Cannot create an image list");
  ImageList_SetBkColor(handle_, bkColor_ == clNone ? CLR_NONE : ColorToRGB(bkColor_));
}

_IMAGELIST* TCustomImageList::Handle() const { return handle_; }

int TCustomImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TCustomImageList::SetWidth(int value) {
  if (value == width_ || value <= 0) return;
  width_ = value;
  Recreate();
}

void TCustomImageList::SetHeight(int value) {
  if (value == height_ || value <= 0) return;
  height_ = value;
  Recreate();
}

void TCustomImageList::SetBkColor(TColor value) {
  if (value == bkColor_) return;
  bkColor_ = value;
  if (handle_) ImageList_SetBkColor(handle_, value == clNone ? CLR_NONE : ColorToRGB(value));
}

void TCustomImageList::SetMasked(bool value) {
  if (value == masked_) return;
  masked_ = value;
  Recreate();
}

int TCustomImageList::AddMasked(TBitmap* strip, TColor maskColor) {
  if (!strip || strip->Empty()) return -1;
  // The control reads the bitmap through a device-dependent copy.
  TScreenDC screen;
  TBitmapHandle copy(CreateCompatibleBitmap(screen.Get(), strip->Width(), strip->Height()));
  {
    TMemoryDC dc(screen.Get());
    TSelectObject select(dc.Get(), copy.Get());
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.Draw(0, 0, strip);
    canvas.SetHandle(nullptr);
  }
  int index = ImageList_AddMasked(handle_, copy.Get(), ColorToRGB(maskColor));
  if (index < 0) throw EInvalidOperation("Invalid image size");
  return index;
}

void TCustomImageList::Clear() {
  if (handle_) ImageList_Remove(handle_, -1);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (!handle_ || !canvas || index < 0 || index >= Count()) return;
  UINT style = ILD_NORMAL | (masked_ ? ILD_TRANSPARENT : 0);
  if (!enabled) style |= ILD_BLEND50;
  ImageList_Draw(handle_, index, canvas->Handle(), x, y, style);
}

std::unique_ptr<TBitmap> TCustomImageList::Strip() const {
  auto strip = std::make_unique<TBitmap>();
  int count = Count();
  strip->SetPixelFormat(TPixelFormat::pf24bit);
  strip->SetSize(std::max(1, count) * width_, height_);
  strip->Canvas()->Brush()->SetColor(clFuchsia);
  strip->Canvas()->FillRect(Rect(0, 0, strip->Width(), strip->Height()));
  for (int i = 0; i < count; ++i)
    ImageList_Draw(handle_, i, strip->Canvas()->Handle(), i * width_, 0, ILD_TRANSPARENT);
  return strip;
}

// Stored as a BMP strip whose magenta pixels are the mask.
void TCustomImageList::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Bitmap",
      [this](TStream& stream) {
        TBitmap strip;
        strip.LoadFromStream(stream);
        Clear();
        AddMasked(&strip, clFuchsia);
      },
      [this](TStream& stream) { Strip()->SaveToStream(stream); }, Count() > 0);
}

void TCustomImageList::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TCustomImageList*>(source)) {
    width_ = other->width_;
    height_ = other->height_;
    masked_ = other->masked_;
    bkColor_ = other->bkColor_;
    Recreate();
    if (other->Count() > 0) {
      auto strip = other->Strip();
      AddMasked(strip.get(), clFuchsia);
    }
    return;
  }
  TComponent::Assign(source);
}

void TCustomImageList::PublishProperties(TPropertyList& p) {
  p.Color("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor, clNone);
  p.Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, 16);
  p.Boolean("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked, true);
  p.Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, 16);
}

}  // namespace hv
