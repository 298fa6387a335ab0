#include <windows.h>

#include <vector>

#include "framework/graphics.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {
RECT ToRECT(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

std::vector<POINT> ToPoints(std::span<const TPoint> points) {
  std::vector<POINT> result;
  result.reserve(points.size());
  for (const TPoint& p : points) result.push_back(POINT{p.x, p.y});
  return result;
}

// Raster operations of the pen modes, in TPenMode order.
constexpr int kPenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
                             R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                             R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};

static_assert(cmSrcCopy == SRCCOPY && cmSrcPaint == SRCPAINT && cmSrcAnd == SRCAND && cmSrcInvert == SRCINVERT &&
              cmSrcErase == SRCERASE && cmNotSrcCopy == NOTSRCCOPY && cmNotSrcErase == NOTSRCERASE &&
              cmMergeCopy == MERGECOPY && cmMergePaint == MERGEPAINT && cmPatCopy == PATCOPY &&
              cmPatPaint == PATPAINT && cmPatInvert == PATINVERT && cmDstInvert == DSTINVERT &&
              cmBlackness == BLACKNESS && cmWhiteness == WHITENESS);
}  // namespace

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
  font_->OnChange = [this](TObject*) { FontChanged(); };
  pen_->OnChange = [this](TObject*) { PenChanged(); };
  brush_->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
  RequiredState(kHandleValid);
  return handle_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == handle_) return;
  DeselectHandles();
  handle_ = dc;
  state_ = dc ? unsigned{kHandleValid} : 0u;
}

void TCanvas::RequiredState(unsigned state) {
  unsigned needed = state & ~state_;
  if (!needed) return;
  if (needed & kHandleValid) {
    CreateHandle();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    state_ |= kHandleValid;
  }
  if (needed & kFontValid) SelectFont();
  if (needed & kPenValid) SelectPen();
  if (needed & kBrushValid) SelectBrush();
}

void TCanvas::SelectFont() {
  HGDIOBJ previous = SelectObject(handle_, font_->Handle());
  if (!originalFont_) originalFont_ = previous;
  SetTextColor(handle_, static_cast<COLORREF>(ColorToRGB(font_->Color())));
  state_ |= kFontValid;
}

void TCanvas::SelectPen() {
  HGDIOBJ previous = SelectObject(handle_, pen_->Handle());
  if (!originalPen_) originalPen_ = previous;
  SetROP2(handle_, kPenModes[pen_->Mode()]);
  state_ |= kPenValid;
}

void TCanvas::SelectBrush() {
  HBRUSH brush = brush_->Handle();
  UnrealizeObject(brush);
  HGDIOBJ previous = SelectObject(handle_, brush);
  if (!originalBrush_) originalBrush_ = previous;
  COLORREF color = static_cast<COLORREF>(ColorToRGB(brush_->Color()));
  if (brush_->Style() == bsSolid) {
    // Text drawn with a solid brush gets the brush's colour behind it.
    SetBkColor(handle_, color);
    SetBkMode(handle_, OPAQUE);
  } else {
    // Hatches vanish where the background colour equals the brush colour.
    SetBkColor(handle_, ~color & 0xFFFFFF);
    SetBkMode(handle_, TRANSPARENT);
  }
  state_ |= kBrushValid;
}

void TCanvas::FontChanged() {
  if (state_ & kFontValid) {
    SelectObject(handle_, originalFont_);
    originalFont_ = nullptr;
    state_ &= ~kFontValid;
  }
}

void TCanvas::PenChanged() {
  if (state_ & kPenValid) {
    SelectObject(handle_, originalPen_);
    originalPen_ = nullptr;
    state_ &= ~kPenValid;
  }
}

void TCanvas::BrushChanged() {
  if (state_ & kBrushValid) {
    SelectObject(handle_, originalBrush_);
    originalBrush_ = nullptr;
    state_ &= ~kBrushValid;
  }
}

void TCanvas::DeselectHandles() {
  FontChanged();
  PenChanged();
  BrushChanged();
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Lock() {
  lock_.lock();
  ++lockCount_;
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock()) return false;
  ++lockCount_;
  return true;
}

void TCanvas::Unlock() {
  --lockCount_;
  lock_.unlock();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState(kHandleValid);
  MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState(kHandleValid | kPenValid | kBrushValid);
  ::LineTo(handle_, x, y);
  Changed();
}

TPoint TCanvas::PenPos() {
  RequiredState(kHandleValid);
  POINT p{};
  GetCurrentPositionEx(handle_, &p);
  return {p.x, p.y};
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(kHandleValid | kPenValid | kBrushValid);
  ::Rectangle(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  Changing();
  RequiredState(kHandleValid | kPenValid | kBrushValid);
  ::RoundRect(handle_, x1, y1, x2, y2, cornerWidth, cornerHeight);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(kHandleValid | kPenValid | kBrushValid);
  ::Ellipse(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  Changing();
  RequiredState(kHandleValid | kPenValid | kBrushValid);
  std::vector<POINT> p = ToPoints(points);
  ::Polygon(handle_, p.data(), static_cast<int>(p.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  Changing();
  RequiredState(kHandleValid | kPenValid | kBrushValid);
  std::vector<POINT> p = ToPoints(points);
  ::Polyline(handle_, p.data(), static_cast<int>(p.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  // The platform fills inverted rectangles as if they were the right way round.
  if (rect.IsEmpty()) return;
  Changing();
  RequiredState(kHandleValid | kBrushValid);
  RECT r = ToRECT(rect);
  ::FillRect(handle_, &r, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  if (rect.IsEmpty()) return;
  Changing();
  RequiredState(kHandleValid | kBrushValid);
  RECT r = ToRECT(rect);
  ::FrameRect(handle_, &r, brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  Changing();
  RequiredState(kHandleValid | kBrushValid);
  RECT r = ToRECT(rect);
  ::DrawFocusRect(handle_, &r);
  Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  Changing();
  RequiredState(kHandleValid | kFontValid | kBrushValid);
  std::wstring wide = Widen(text);
  int length = static_cast<int>(wide.size());
  ExtTextOutW(handle_, x, y, 0, nullptr, wide.c_str(), static_cast<UINT>(length), nullptr);
  SIZE extent{};
  GetTextExtentPoint32W(handle_, wide.c_str(), length, &extent);
  MoveToEx(handle_, x + extent.cx, y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  Changing();
  RequiredState(kHandleValid | kFontValid | kBrushValid);
  std::wstring wide = Widen(text);
  RECT r = ToRECT(rect);
  UINT options = ETO_CLIPPED | (brush_->Style() == bsSolid ? ETO_OPAQUE : 0);
  ExtTextOutW(handle_, x, y, options, &r, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  Changed();
}

int TCanvas::TextRect(TRect& rect, std::string_view text, unsigned format) {
  Changing();
  RequiredState(kHandleValid | kFontValid | kBrushValid);
  std::wstring wide = Widen(text);
  RECT r = ToRECT(rect);
  int height = DrawTextW(handle_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
  rect = {r.left, r.top, r.right, r.bottom};
  Changed();
  return height;
}

TSize TCanvas::TextExtent(std::string_view text) {
  RequiredState(kHandleValid | kFontValid);
  std::wstring wide = Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(handle_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  return {extent.cx, extent.cy};
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
  if (graphic && !graphic->Empty()) StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState(kHandleValid);
  // Monochrome sources take these two colours on their way to the context.
  SetBkColor(handle_, static_cast<COLORREF>(ColorToRGB(brush_->Color())));
  SetTextColor(handle_, static_cast<COLORREF>(ColorToRGB(font_->Color())));
  graphic->Draw(*this, rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  Changing();
  RequiredState(kHandleValid | kFontValid | kBrushValid);
  source.RequiredState(kHandleValid | kBrushValid);
  int w = dest.Width(), h = dest.Height(), sw = sourceRect.Width(), sh = sourceRect.Height();
  if (w == sw && h == sh && w > 0 && h > 0) {
    BitBlt(handle_, dest.left, dest.top, w, h, source.handle_, sourceRect.left, sourceRect.top, copyMode_);
  } else {
    int mode = SetStretchBltMode(handle_, COLORONCOLOR);
    StretchBlt(handle_, dest.left, dest.top, w, h, source.handle_, sourceRect.left, sourceRect.top, sw, sh, copyMode_);
    SetStretchBltMode(handle_, mode);
  }
  Changed();
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState(kHandleValid);
  COLORREF color = GetPixel(handle_, x, y);
  return color == CLR_INVALID ? clNone : static_cast<TColor>(color);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState(kHandleValid);
  SetPixelV(handle_, x, y, static_cast<COLORREF>(ColorToRGB(color)));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState(kHandleValid);
  RECT r{};
  GetClipBox(handle_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace hv
