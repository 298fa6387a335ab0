#pragma once
// Fonts, pens and brushes; the canvas that draws with them over a device
// context; the graphics a canvas draws and a picture holds (bitmaps, icons).
//
// Handles are made on first use and dropped whenever a value they were made
// from changes. A canvas selects its pen, brush and font into its device
// context only when a drawing call needs them, and puts the context's own
// objects back when it lets go of the context. Text is UTF-8.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/colors.h"
#include "framework/component.h"
#include "framework/event.h"
#include "framework/gdi.h"
#include "framework/set.h"
#include "framework/types.h"
#include "framework/winhandles.h"

// <windows.h> maps TextOut to TextOutA or TextOutW; the canvas's TextOut keeps
// its name whichever header a file includes first (see TCanvas::TextOutW).
#ifdef TextOut
#undef TextOut
#endif

namespace hv {

class TStream;
class TFiler;
class TCanvas;
class TBitmap;
struct TDibImage;

// System colours (top bit set) resolved to their current RGB value; every
// other value is returned unchanged.
TColor ColorToRGB(TColor color);

// Dots per inch of the screen, which relates a font's point size to its height.
int ScreenPixelsPerInch();

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

// Character sets by the names the platform gives them ("ANSI_CHARSET",
// "GB2312_CHARSET" ...), as stored layouts may write them.
std::optional<TFontCharset> IdentToCharset(std::string_view ident);
std::optional<std::string_view> CharsetToIdent(TFontCharset charset);

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : uint8_t {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle : uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// Raster operations of CopyRect, with the platform's values.
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// A pen, brush or font: values that a handle is made from, and OnChange after
// every change. The owner (a canvas, a control) hooks OnChange.
class TGraphicsObject : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TGraphicsObject, TPersistent)

 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
  HV_CLASS(TFont, TGraphicsObject)

 public:
  TFont();
  ~TFont() override;

  // The font handle, made on first use; the font owns it, and it dies with
  // the next change of anything but Color.
  HFONT Handle() const;
  // Takes over a font handle and reads the values back from it.
  void SetHandle(HFONT font);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points, from and to Height at the screen's resolution.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);

  void Assign(const TPersistent* source) override;

 private:
  // Drops the handle after the listeners have let go of it.
  void HandleChanged();

  std::string name_;
  int height_;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontCharset charset_ = 1;  // DEFAULT_CHARSET
  TFontPitch pitch_ = fpDefault;
  mutable TFontHandle handle_;
};

class TPen : public TGraphicsObject {
  HV_CLASS(TPen, TGraphicsObject)

 public:
  TPen();
  ~TPen() override;

  HPEN Handle() const;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  // The raster operation lines are drawn with; a canvas applies it with the pen.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);

  void Assign(const TPersistent* source) override;

 private:
  void HandleChanged();

  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  mutable TPenHandle handle_;
};

class TBrush : public TGraphicsObject {
  HV_CLASS(TBrush, TGraphicsObject)

 public:
  TBrush();
  ~TBrush() override;

  // bsClear gives the platform's hollow brush, which nobody deletes.
  HBRUSH Handle() const;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // A pattern brush: the brush keeps its own copy of the bitmap, and the
  // pattern wins over Style and Color while it is set. Null removes it.
  TBitmap* Bitmap() const { return bitmap_.get(); }
  void SetBitmap(const TBitmap* bitmap);

  void Assign(const TPersistent* source) override;

 private:
  void HandleChanged();

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  std::unique_ptr<TBitmap> bitmap_;
  mutable TBrushHandle handle_;
};

class TGraphic;

class TCanvas : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TCanvas, TPersistent)

 public:
  TCanvas();
  ~TCanvas() override;

  // The device context; a canvas without one asks CreateHandle for it, and
  // raises EInvalidOperation "Canvas does not allow drawing" when none comes.
  HDC Handle();
  // Puts back the objects the canvas selected into the old context, then
  // works on the new one (none: the canvas rests).
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return handle_ != nullptr; }

  TFont* Font() const { return font_.get(); }
  TPen* Pen() const { return pen_.get(); }
  TBrush* Brush() const { return brush_.get(); }
  // These copy the values; the canvas keeps its own objects.
  void SetFont(const TFont* font) { font_->Assign(font); }
  void SetPen(const TPen* pen) { pen_->Assign(pen); }
  void SetBrush(const TBrush* brush) { brush_->Assign(brush); }

  // Serialises drawing from several threads; nests.
  void Lock();
  bool TryLock();
  void Unlock();
  int LockCount() const { return lockCount_; }

  void MoveTo(int x, int y);
  // Draws up to (x, y), which itself stays undrawn, and moves the pen there.
  void LineTo(int x, int y);
  TPoint PenPos();
  void SetPenPos(TPoint point) { MoveTo(point.x, point.y); }
  // Outline with the pen, inside with the brush; right and bottom exclusive.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& rect) { Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
  void Polygon(std::span<const TPoint> points);
  void Polyline(std::span<const TPoint> points);
  // With the brush alone. Empty and inverted rectangles draw nothing.
  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void DrawFocusRect(const TRect& rect);

  // Text in the font's colour on the brush's (none with bsClear); TextOut
  // moves the pen to the end of the text.
  void TextOut(int x, int y, std::string_view text);
  // Files that include <windows.h> after this header see TextOut renamed to
  // TextOutW; this forwarder keeps their calls working.
  void TextOutW(int x, int y, std::string_view text) { TextOut(x, y, text); }
  // Text at (x, y) clipped to rect, whose rest is filled unless bsClear.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  // The platform's formatted text drawing (DT_* flags; DT_CALCRECT measures
  // into rect); returns the text height.
  int TextRect(TRect& rect, std::string_view text, unsigned format);
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // Graphics draw themselves: null and empty ones draw nothing.
  void Draw(int x, int y, const TGraphic* graphic);
  void StretchDraw(const TRect& rect, const TGraphic* graphic);
  // Copies (stretching when the sizes differ) with CopyMode.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

  // clNone when the point lies outside the context.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  // The bounds of the area that drawing reaches.
  TRect ClipRect();

  // Deselects everything, so that the next call selects afresh (for code
  // that changed the context behind the canvas's back).
  void Refresh();

  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  enum : unsigned { kHandleValid = 1, kFontValid = 2, kPenValid = 4, kBrushValid = 8 };

  // Called when a drawing call finds no context: subclasses that know where
  // to get one (a control's window, a bitmap's memory context) set it here.
  virtual void CreateHandle() {}
  void RequiredState(unsigned state);
  virtual void Changing();
  virtual void Changed();

 private:
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void DeselectHandles();
  void FontChanged();
  void PenChanged();
  void BrushChanged();

  HDC handle_ = nullptr;
  unsigned state_ = 0;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  // What the context held before the canvas selected its own objects.
  void* originalFont_ = nullptr;
  void* originalPen_ = nullptr;
  void* originalBrush_ = nullptr;
  TCopyMode copyMode_ = cmSrcCopy;
  std::recursive_mutex lock_;
  int lockCount_ = 0;
};

// Lends a canvas a device context for the length of one paint: locked and
// working on `dc` from construction, resting and unlocked again when the
// scope ends, also when painting throws.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TCanvas& canvas, HDC dc) : canvas_(canvas) {
    canvas_.Lock();
    canvas_.SetHandle(dc);
  }
  ~TCanvasPaintScope() {
    canvas_.SetHandle(nullptr);
    canvas_.Unlock();
  }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

 private:
  TCanvas& canvas_;
};

// A picture that can draw itself on a canvas and travel through streams.
class TGraphic : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TGraphic, TPersistent)

 public:
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  // Whether Draw leaves parts of the destination showing through.
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool transparent);

  // Draws the whole graphic into rect, stretched to it.
  virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
  // Read from the stream's position; a graphic reads only its own bytes.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  bool transparent_ = false;
};

enum TPixelFormat : uint8_t { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

// A device-independent bitmap (DIB section) with directly addressable rows,
// top row first. 1, 4 and 8-bit bitmaps carry a colour table (the palette).
class TBitmap : public TGraphic {
  HV_CLASS_NO_PROPERTIES(TBitmap, TGraphic)

 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pf32bit);
  ~TBitmap() override;

  void Assign(const TPersistent* source) override;

  bool Empty() const override { return !dib_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int width) override { SetSize(width, height_); }
  void SetHeight(int height) override { SetSize(width_, height); }
  // Keeps the pixels that still fit; new pixels are zero (black, or colour 0
  // of the palette). A zero side empties the bitmap.
  void SetSize(int width, int height);

  // Changing the format converts the pixels, nearest palette colour where the
  // new format has a palette. Palettised formats start with a standard palette.
  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat format);
  // Colour table as framework colours; 2, 16 or 256 entries, none above 8 bits.
  std::vector<TColor> PaletteColors() const;
  // Fewer colours than the table holds leave the rest unchanged.
  void SetPaletteColors(std::span<const TColor> colors);

  // The DIB section; the bitmap owns it. Null when empty.
  HBITMAP Handle() const { return dib_.Get(); }
  // Copies the pixels of any bitmap handle; the caller keeps the handle.
  void LoadFromHandle(HBITMAP bitmap);

  // Drawing into the bitmap. The canvas lives as long as the bitmap, and its
  // drawing calls fire the bitmap's OnChange.
  TCanvas* Canvas() const;

  // Row y, top row 0, with pending drawing finished. Rows are
  // BytesPerScanLine() long: 4-byte padded, pixels packed by the format.
  void* ScanLine(int y);
  const void* ScanLine(int y) const;
  int BytesPerScanLine() const;

  // The colour keyed out when drawing transparently: with tmAuto the pixel
  // at the bottom-left corner, with tmFixed the one set here (which also
  // switches to tmFixed).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  // RT_BITMAP resources of a module; EResNotFound when the module has none
  // of that name or id.
  void LoadFromResourceName(HINSTANCE module, std::string_view name);
  void LoadFromResourceID(HINSTANCE module, int id);

  // .bmp files; see bmpcodec.h for what loads. Loading replaces format,
  // palette and pixels; a bad file raises EInvalidGraphic and changes nothing.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void LoadFromBytes(std::span<const uint8_t> file);
  std::vector<uint8_t> SaveToBytes() const;

  void Draw(TCanvas& canvas, const TRect& rect) const override;

  // The memory context the DIB section is selected into; made on first use.
  HDC DC() const;

 protected:
  void Changed() override;

 private:
  friend class TBitmapCanvas;
  void Replace(TBitmapHandle dib, uint8_t* bits, TPixelFormat format, int width, int height,
               std::vector<uint32_t> palette);
  void LoadDib(const TDibImage& image);
  void DrawTransparent(HDC dest, const TRect& rect) const;
  void FreeDC() const;

  TBitmapHandle dib_;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat pixelFormat_ = pf32bit;
  std::vector<uint32_t> palette_;  // colour table as the platform keeps it
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  mutable std::unique_ptr<TMemoryDC> dc_;
  mutable void* dcOriginalBitmap_ = nullptr;
  mutable std::unique_ptr<TCanvas> canvas_;
};

// An icon: from a resource, a handle or an .ico stream.
class TIcon : public TGraphic {
  HV_CLASS_NO_PROPERTIES(TIcon, TGraphic)

 public:
  TIcon();
  ~TIcon() override;

  void Assign(const TPersistent* source) override;

  bool Empty() const override { return !handle_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Icons keep their size: both raise EInvalidGraphic.
  void SetWidth(int width) override;
  void SetHeight(int height) override;
  bool Transparent() const override { return true; }

  HICON Handle() const { return handle_.Get(); }
  // Takes over the icon handle.
  void SetHandle(HICON icon);
  // Gives the handle away; the icon is empty afterwards.
  HICON ReleaseHandle();

  // Icon resources (RT_GROUP_ICON); size 0 picks the system's icon size.
  void LoadFromResourceName(HINSTANCE module, std::string_view name, int size = 0);
  void LoadFromResourceID(HINSTANCE module, int id, int size = 0);

  // .ico files: loading takes the image closest to the system's icon size;
  // saving writes what was loaded, or the handle's image as a 32-bit icon.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  void Draw(TCanvas& canvas, const TRect& rect) const override;

 private:
  void Adopt(HICON icon, std::vector<uint8_t> data);

  TIconHandle handle_;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> data_;  // the .ico bytes it came from, if any
};

// Holds one graphic of any kind, and stores it in layouts as the binary
// property "Data": the class name (a length byte and the name) followed by
// the graphic's stream. The picture owns its graphic and hooks the graphic's
// OnChange, so that drawing on Bitmap()->Canvas() reaches the picture's own.
class TPicture : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TPicture, TPersistent)

 public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Copies the graphic (null empties the picture).
  void SetGraphic(const TGraphic* graphic);
  // The graphic as a bitmap or icon; a graphic of another kind is replaced
  // by an empty one of the kind asked for.
  TBitmap* Bitmap();
  TIcon* Icon();
  int Width() const;
  int Height() const;

  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

  // The "Data" bytes, read and written. Reading an unknown class raises
  // EInvalidGraphic "Unknown picture format" and leaves the picture as it was.
  void LoadFromData(std::span<const uint8_t> data);
  std::vector<uint8_t> SaveToData() const;

  using TGraphicFactory = std::unique_ptr<TGraphic> (*)();
  // Classes a stored picture may name, besides TBitmap and TIcon.
  static void RegisterGraphicClass(std::string_view className, TGraphicFactory factory);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* dest) const override;

 private:
  void Adopt(std::unique_ptr<TGraphic> graphic);
  void Changed();

  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace hv
