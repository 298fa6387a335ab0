#include "theme/core/drawing.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "theme/core/colors.h"
#include "theme/core/rects.h"

namespace hv {

namespace {

void UsePen(TCanvas& canvas, TColor color) {
  TPen* pen = canvas.Pen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetColor(color);
}

void UseSolidBrush(TCanvas& canvas, TColor color) {
  TBrush* brush = canvas.Brush();
  brush->SetBitmap(nullptr);
  brush->SetStyle(bsSolid);
  brush->SetColor(color);
}

void UseClearBrush(TCanvas& canvas) {
  TBrush* brush = canvas.Brush();
  brush->SetBitmap(nullptr);
  brush->SetStyle(bsClear);
}

// An 8 x 8 pattern brush. The platform anchors patterns at the device
// origin; the brush origin is moved to where the canvas's logical origin
// lands, so that the pattern follows canvas coordinates.
class TPatternBrush {
 public:
  TPatternBrush(HDC dc, const std::array<uint32_t, 64>& pattern) : dc_(dc) {
    struct {
      BITMAPINFOHEADER header;
      uint32_t pixels[64];
    } packed{};
    packed.header.biSize = sizeof(BITMAPINFOHEADER);
    packed.header.biWidth = 8;
    packed.header.biHeight = -8;
    packed.header.biPlanes = 1;
    packed.header.biBitCount = 32;
    packed.header.biCompression = BI_RGB;
    for (size_t i = 0; i < pattern.size(); ++i) packed.pixels[i] = pattern[i] & 0x00FFFFFFu;
    brush_.Reset(GdiCheck(CreateDIBPatternBrushPt(&packed, DIB_RGB_COLORS)));
    POINT origin{0, 0};
    LPtoDP(dc, &origin, 1);
    SetBrushOrgEx(dc, origin.x & 7, origin.y & 7, &oldOrigin_);
  }
  TPatternBrush(const TPatternBrush&) = delete;
  TPatternBrush& operator=(const TPatternBrush&) = delete;
  ~TPatternBrush() { SetBrushOrgEx(dc_, oldOrigin_.x, oldOrigin_.y, nullptr); }

  HBRUSH Get() const { return brush_.Get(); }

 private:
  HDC dc_;
  TBrushHandle brush_;
  POINT oldOrigin_{};
};

// The checkerboard of FillDither in the pattern's pixel form.
std::array<uint32_t, 64> DitherPixels(TColor back, TColor dot) {
  return DitherPattern(ColorToARGB(back), ColorToARGB(dot));
}

std::vector<POINT> ToPoints(std::span<const TPoint> points) {
  std::vector<POINT> result(points.size());
  for (size_t i = 0; i < points.size(); ++i) result[i] = POINT{points[i].x, points[i].y};
  return result;
}

}  // namespace

void MoveTo(TCanvas& canvas, int x, int y) { canvas.MoveTo(x, y); }

void LineTo(TCanvas& canvas, int x, int y, TColor color) {
  UsePen(canvas, color);
  canvas.LineTo(x, y);
}

void Frame3D(TCanvas& canvas, const TRect& rect, TColor light, TColor dark) {
  UseClearBrush(canvas);
  canvas.MoveTo(rect.left, rect.bottom - 2);
  LineTo(canvas, rect.left, rect.top, light);
  LineTo(canvas, rect.right - 1, rect.top, light);
  LineTo(canvas, rect.right - 1, rect.bottom - 1, dark);
  LineTo(canvas, rect.left - 1, rect.bottom - 1, dark);
}

void DrawSides(TCanvas& canvas, TRect& rect, unsigned sides, int count, TColor light, TColor dark) {
  for (int i = 0; i < count; ++i) {
    if (sides & kSideLeft) {
      canvas.MoveTo(rect.left, rect.top);
      LineTo(canvas, rect.left, rect.bottom, light);
    }
    if (sides & kSideTop) {
      canvas.MoveTo(rect.left, rect.top);
      LineTo(canvas, rect.right, rect.top, light);
    }
    if (sides & kSideBottom) {
      canvas.MoveTo(rect.left, rect.bottom - 1);
      LineTo(canvas, rect.right, rect.bottom - 1, dark);
    }
    if (sides & kSideRight) {
      canvas.MoveTo(rect.right - 1, rect.top);
      LineTo(canvas, rect.right - 1, rect.bottom, dark);
    }
    if (sides & kSideLeft) ++rect.left;
    if (sides & kSideTop) ++rect.top;
    if (sides & kSideRight) --rect.right;
    if (sides & kSideBottom) --rect.bottom;
  }
}

void OutlineRect(TCanvas& canvas, const TRect& rect, TColor color) {
  UseClearBrush(canvas);
  UsePen(canvas, color);
  canvas.Rectangle(rect);
}

void OutlineRectXY(TCanvas& canvas, int left, int top, int right, int bottom, TColor color) {
  OutlineRect(canvas, TRect{left, top, right, bottom}, color);
}

void FillRectColor(TCanvas& canvas, const TRect& rect, TColor color) {
  UseSolidBrush(canvas, color);
  canvas.FillRect(rect);
}

void FillRectXY(TCanvas& canvas, int left, int top, int right, int bottom, TColor color) {
  FillRectColor(canvas, TRect{left, top, right, bottom}, color);
}

void FocusRectColor(TCanvas& canvas, const TRect& rect, TColor color) {
  UseSolidBrush(canvas, color);
  canvas.DrawFocusRect(rect);
}

void RoundFrame(TCanvas& canvas, const TRect& rect, int corner, TColor color) {
  UseClearBrush(canvas);
  UsePen(canvas, color);
  canvas.RoundRect(rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void RoundFill(TCanvas& canvas, const TRect& rect, int corner, TColor color) {
  UseSolidBrush(canvas, color);
  UsePen(canvas, color);
  canvas.RoundRect(rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void FramePolygon(TCanvas& canvas, std::span<const TPoint> points, TColor color) {
  if (points.empty()) return;
  UseClearBrush(canvas);
  UsePen(canvas, color);
  canvas.Polygon(points);
}

void FillPolygon(TCanvas& canvas, std::span<const TPoint> points, TColor color) {
  if (points.empty()) return;
  UseSolidBrush(canvas, color);
  UsePen(canvas, color);
  canvas.Polygon(points);
}

void FillPattern(TCanvas& canvas, const TRect& rect, const std::array<uint32_t, 64>& pattern) {
  const TRect area = DitherFillRect(rect);
  if (RectIsEmpty(area)) return;
  HDC dc = canvas.Handle();
  TPatternBrush brush(dc, pattern);
  RECT r{area.left, area.top, area.right, area.bottom};
  ::FillRect(dc, &r, brush.Get());
}

void FillDither(TCanvas& canvas, const TRect& rect, TColor back, TColor dot) {
  FillPattern(canvas, rect, DitherPixels(back, dot));
}

void FillPolygonDither(TCanvas& canvas, std::span<const TPoint> points, TColor back, TColor dot) {
  if (points.empty()) return;
  HDC dc = canvas.Handle();
  TPatternBrush brush(dc, DitherPixels(back, dot));
  std::vector<POINT> vertices = ToPoints(points);
  TSelectObject selectBrush(dc, brush.Get());
  TSelectObject selectPen(dc, GetStockObject(NULL_PEN));
  ::Polygon(dc, vertices.data(), static_cast<int>(vertices.size()));
}

void GradientFill(TCanvas& canvas, const TRect& rect, TColor from, TColor to, bool vertical) {
  std::vector<TGradientBand> bands = GradientBands(rect, ColorToRGB(from), ColorToRGB(to), vertical);
  if (bands.empty()) return;
  HDC dc = canvas.Handle();
  for (const TGradientBand& band : bands) {
    if (RectIsEmpty(band.rect)) continue;
    TBrushHandle brush(GdiCheck(CreateSolidBrush(static_cast<COLORREF>(band.color))));
    RECT r{band.rect.left, band.rect.top, band.rect.right, band.rect.bottom};
    ::FillRect(dc, &r, brush.Get());
  }
}

void DrawIconCentered(TCanvas& canvas, const TRect& rect, const TIcon* icon) {
  if (!icon || icon->Empty()) return;
  const TRect place = CenterRect(TRect{0, 0, 16, 16}, rect);
  DrawIconEx(canvas.Handle(), place.left, place.top, icon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

}  // namespace hv
