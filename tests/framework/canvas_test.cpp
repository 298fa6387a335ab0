#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "tests/framework/graphics_test_support.h"

namespace hv {
namespace {

using test::TSurface;

TEST(CanvasTest, FillRectCoversExactlyItsRectangle) {
  TSurface surface(20, 20);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Brush()->SetColor(clRed);
  canvas.FillRect(Rect(2, 3, 7, 9));
  EXPECT_TRUE(surface.Matches(Rect(2, 3, 7, 9), clRed, clWhite));

  // An empty or inverted rectangle paints nothing.
  surface.Fill(clWhite);
  canvas.FillRect(Rect(5, 5, 5, 9));
  canvas.FillRect(Rect(9, 9, 4, 4));
  EXPECT_TRUE(surface.Matches(TRect{}, clRed, clWhite));
}

TEST(CanvasTest, FrameRectDrawsTheOutermostPixelsWithTheBrush) {
  TSurface surface(12, 12);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Brush()->SetColor(clBlue);
  canvas.FrameRect(Rect(2, 2, 8, 7));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      bool border = Rect(2, 2, 8, 7).Contains({x, y}) && !Rect(3, 3, 7, 6).Contains({x, y});
      ASSERT_EQ(surface.At(x, y), border ? clBlue : clWhite) << x << "," << y;
    }
}

TEST(CanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  TSurface surface(12, 12);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Pen()->SetColor(clBlue);
  canvas.Brush()->SetColor(clLime);
  canvas.Rectangle(Rect(1, 2, 9, 10));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      TColor expected = Rect(2, 3, 8, 9).Contains({x, y})    ? clLime
                        : Rect(1, 2, 9, 10).Contains({x, y}) ? clBlue
                                                             : clWhite;
      ASSERT_EQ(surface.At(x, y), expected) << x << "," << y;
    }

  // A clear brush leaves the inside alone; a clear pen leaves the outline.
  surface.Fill(clWhite);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Rectangle(Rect(1, 2, 9, 10));
  EXPECT_EQ(surface.At(1, 2), clBlue);
  EXPECT_EQ(surface.At(4, 5), clWhite);
  surface.Fill(clWhite);
  canvas.Brush()->SetColor(clRed);  // back to solid
  canvas.Pen()->SetStyle(psClear);
  canvas.Rectangle(Rect(1, 2, 9, 10));
  EXPECT_EQ(surface.At(4, 5), clRed);
  EXPECT_EQ(surface.At(0, 2), clWhite);
}

TEST(CanvasTest, LineToStopsShortOfItsEndAndMovesThePen) {
  TSurface surface(12, 12);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.MoveTo(2, 5);
  canvas.LineTo(8, 5);
  EXPECT_TRUE(surface.Matches(Rect(2, 5, 8, 6), clBlack, clWhite));
  EXPECT_EQ(canvas.PenPos(), (TPoint{8, 5}));
  canvas.Pen()->SetColor(clRed);
  canvas.LineTo(8, 9);  // continues from the pen position, down
  EXPECT_EQ(surface.At(8, 5), clRed);
  EXPECT_EQ(surface.At(8, 8), clRed);
  EXPECT_EQ(surface.At(8, 9), clWhite);

  // A vertical line in the inverting pen mode turns white into black.
  surface.Fill(clWhite);
  canvas.Pen()->SetMode(pmNot);
  canvas.MoveTo(1, 1);
  canvas.LineTo(1, 4);
  EXPECT_TRUE(surface.Matches(Rect(1, 1, 2, 4), clBlack, clWhite));
}

TEST(CanvasTest, PolygonFillsItsInsideAndPolylineDrawsOnlyLines) {
  TSurface surface(20, 20);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Pen()->SetColor(clBlue);
  canvas.Brush()->SetColor(clRed);
  const TPoint triangle[] = {{2, 2}, {17, 2}, {2, 17}};
  canvas.Polygon(triangle);
  EXPECT_EQ(surface.At(5, 5), clRed);
  EXPECT_EQ(surface.At(8, 3), clRed);
  EXPECT_EQ(surface.At(2, 2), clBlue);
  EXPECT_EQ(surface.At(9, 2), clBlue);
  EXPECT_EQ(surface.At(15, 15), clWhite);
  EXPECT_EQ(surface.At(1, 5), clWhite);

  surface.Fill(clWhite);
  const TPoint corner[] = {{2, 2}, {10, 2}, {10, 10}};
  canvas.Polyline(corner);
  EXPECT_EQ(surface.At(5, 2), clBlue);
  EXPECT_EQ(surface.At(10, 6), clBlue);
  EXPECT_EQ(surface.At(10, 10), clWhite);     // the last end point stays undrawn
  EXPECT_EQ(surface.At(5, 5), clWhite);       // nothing filled
  canvas.Polygon(std::span<const TPoint>());  // nothing at all
}

TEST(CanvasTest, PixelsReadAndWriteSingleColours) {
  TSurface surface(8, 8);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.SetPixels(3, 4, clRed);
  EXPECT_TRUE(surface.Matches(Rect(3, 4, 4, 5), clRed, clWhite));
  EXPECT_EQ(canvas.Pixels(3, 4), clRed);
  EXPECT_EQ(canvas.Pixels(0, 0), clWhite);
  canvas.SetPixels(1, 1, clBtnFace);  // system colours land as their RGB value
  EXPECT_EQ(surface.At(1, 1), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(canvas.Pixels(100, 100), clNone);
}

TEST(CanvasTest, CopyRectCopiesAndStretches) {
  TSurface source(8, 8);
  source.Set(2, 2, clRed);
  source.Set(3, 2, clLime);
  source.Set(2, 3, clBlue);
  source.Set(3, 3, clYellow);
  TCanvas from;
  from.SetHandle(source.dc());

  TSurface dest(12, 12);
  TCanvas to;
  to.SetHandle(dest.dc());
  to.CopyRect(Rect(5, 6, 7, 8), from, Rect(2, 2, 4, 4));
  EXPECT_EQ(dest.At(5, 6), clRed);
  EXPECT_EQ(dest.At(6, 6), clLime);
  EXPECT_EQ(dest.At(5, 7), clBlue);
  EXPECT_EQ(dest.At(6, 7), clYellow);
  EXPECT_EQ(dest.At(4, 6), clWhite);
  EXPECT_EQ(dest.At(7, 7), clWhite);

  // Twice the size: each source pixel becomes a 2x2 block.
  dest.Fill(clWhite);
  to.CopyRect(Rect(0, 0, 4, 4), from, Rect(2, 2, 4, 4));
  const TColor blocks[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      ASSERT_EQ(dest.At(x, y), x < 4 && y < 4 ? blocks[y / 2][x / 2] : clWhite) << x << "," << y;

  // Copy modes combine: inverting the source gives the colour's complement.
  dest.Fill(clWhite);
  to.SetCopyMode(cmNotSrcCopy);
  to.CopyRect(Rect(0, 0, 1, 1), from, Rect(2, 2, 3, 3));
  EXPECT_EQ(dest.At(0, 0), static_cast<TColor>(0xFFFF00));
}

TEST(CanvasTest, ChangingTheBrushBetweenCallsAffectsOnlyLaterOnes) {
  TSurface surface(10, 4);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Brush()->SetColor(clRed);
  canvas.FillRect(Rect(0, 0, 3, 4));
  canvas.Brush()->SetColor(clBlue);
  canvas.FillRect(Rect(3, 0, 6, 4));
  // The selected brush too, as Rectangle uses it.
  canvas.Pen()->SetStyle(psClear);
  canvas.Brush()->SetColor(clLime);
  canvas.Rectangle(Rect(6, 0, 11, 5));
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(surface.At(0, y), clRed);
    EXPECT_EQ(surface.At(2, y), clRed);
    EXPECT_EQ(surface.At(3, y), clBlue);
    EXPECT_EQ(surface.At(5, y), clBlue);
    EXPECT_EQ(surface.At(6, y), clLime);
    EXPECT_EQ(surface.At(9, y), clLime);
  }
}

TEST(CanvasTest, SelectsOnlyWhatACallNeeds) {
  TSurface surface(8, 8);
  HGDIOBJ pen = GetCurrentObject(surface.dc(), OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(surface.dc(), OBJ_BRUSH);
  HGDIOBJ font = GetCurrentObject(surface.dc(), OBJ_FONT);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), brush);  // nothing yet
  canvas.FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), canvas.Brush()->Handle());
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), font);
  canvas.TextWidth("x");
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), canvas.Font()->Handle());
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), pen);
}

TEST(CanvasTest, PutsBackTheContextsOwnObjects) {
  TSurface surface(40, 20);
  HDC dc = surface.dc();
  HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Rectangle(Rect(0, 0, 5, 5));
    canvas.TextOut(0, 5, "Abc");
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), canvas.Pen()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.Brush()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font()->Handle());

    // A change while selected swaps the object without losing the original.
    canvas.Font()->SetHeight(-20);
    canvas.Pen()->SetWidth(3);
    canvas.Brush()->SetColor(clGreen);
    canvas.Rectangle(Rect(0, 0, 5, 5));
    canvas.TextOut(0, 5, "Abc");
    LOGFONTW selected{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof selected, &selected);
    EXPECT_EQ(selected.lfHeight, -20);

    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);

    // Drawing again, then dying, restores just the same.
    canvas.SetHandle(dc);
    canvas.Rectangle(Rect(0, 0, 5, 5));
    canvas.TextOut(0, 5, "Abc");
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
}

TEST(CanvasTest, WithoutAContextDrawingRaises) {
  TCanvas canvas;
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
  EXPECT_THROW(canvas.Handle(), EInvalidOperation);
}

TEST(CanvasTest, DrawingCallsReportChanges) {
  TSurface surface(4, 4);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  std::vector<std::string> log;
  canvas.OnChanging = [&](TObject*) { log.push_back("changing"); };
  canvas.OnChange = [&](TObject*) { log.push_back("change"); };
  canvas.FillRect(Rect(0, 0, 1, 1));
  canvas.MoveTo(1, 1);  // moving draws nothing
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "change"}));
}

TEST(CanvasTest, LockNestsAndTryLockAgreesWithin) {
  TCanvas canvas;
  canvas.Lock();
  canvas.Lock();
  EXPECT_EQ(canvas.LockCount(), 2);
  EXPECT_TRUE(canvas.TryLock());
  canvas.Unlock();
  canvas.Unlock();
  canvas.Unlock();
  EXPECT_EQ(canvas.LockCount(), 0);
}

TEST(CanvasTest, TextMeasuresAndTextRectFillsItsRectangle) {
  TSurface surface(60, 30);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  EXPECT_GT(canvas.TextWidth("Hello"), 0);
  EXPECT_GT(canvas.TextWidth("Hello, world"), canvas.TextWidth("Hello"));
  EXPECT_GT(canvas.TextHeight("Hg"), 0);
  EXPECT_EQ(canvas.TextWidth(""), 0);
  canvas.TextOut(2, 3, "Hi");
  EXPECT_EQ(canvas.PenPos(), (TPoint{2 + canvas.TextWidth("Hi"), 3}));

  // TextRect's opaque fill covers the whole clipping rectangle; nothing
  // escapes it, whatever the glyphs look like.
  canvas.Brush()->SetColor(clYellow);
  canvas.TextRect(Rect(10, 10, 30, 20), 12, 11, "Clipped text that is long");
  EXPECT_EQ(surface.At(10, 10), clYellow);
  EXPECT_EQ(surface.At(29, 19), clYellow);
  for (int x = 30; x < 60; ++x) EXPECT_EQ(surface.At(x, 12), clWhite);
  for (int x = 0; x < 60; ++x) EXPECT_EQ(surface.At(x, 20), clWhite);

  TRect measured = Rect(0, 0, 0, 0);
  int height = canvas.TextRect(measured, "Some text", DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured.Width(), canvas.TextWidth("Some text"));
  EXPECT_EQ(height, measured.Height());
}

TEST(FontTest, HandleFollowsTheValues) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  LOGFONTW info{};
  ASSERT_EQ(GetObjectW(font.Handle(), sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.lfHeight, font.Height());
  EXPECT_EQ(font.Size(), 8);

  font.SetHeight(-20);
  font.SetStyle({fsBold, fsItalic});
  font.SetName("Arial");
  font.SetCharset(GB2312_CHARSET);
  EXPECT_EQ(changes, 4);
  ASSERT_EQ(GetObjectW(font.Handle(), sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.lfHeight, -20);
  EXPECT_EQ(info.lfWeight, FW_BOLD);
  EXPECT_TRUE(info.lfItalic);
  EXPECT_FALSE(info.lfUnderline);
  EXPECT_EQ(info.lfCharSet, GB2312_CHARSET);
  EXPECT_STREQ(info.lfFaceName, L"Arial");

  // Equal values change nothing; the colour is no part of the handle.
  HFONT handle = font.Handle();
  font.SetHeight(-20);
  font.SetName("Arial");
  EXPECT_EQ(changes, 4);
  font.SetColor(clRed);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(font.Handle(), handle);

  font.SetSize(12);
  EXPECT_EQ(font.Height(), -MulDiv(12, ScreenPixelsPerInch(), 72));

  TFont copy;
  copy.Assign(&font);
  EXPECT_EQ(copy.Name(), "Arial");
  EXPECT_EQ(copy.Height(), font.Height());
  EXPECT_EQ(copy.Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(copy.Color(), clRed);
  EXPECT_EQ(copy.Charset(), GB2312_CHARSET);
  TPen pen;
  EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

TEST(FontTest, SetHandleTakesTheValuesOfAFont) {
  LOGFONTW info{};
  info.lfHeight = -17;
  info.lfWeight = FW_BOLD;
  info.lfUnderline = TRUE;
  info.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy(info.lfFaceName, L"Courier New");
  TFont font;
  font.SetHandle(CreateFontIndirectW(&info));
  EXPECT_EQ(font.Height(), -17);
  EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(font.Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(font.Name(), "Courier New");
}

TEST(FontTest, TextGrowsWithTheFont) {
  TSurface surface(4, 4);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Font()->SetHeight(-10);
  int small = canvas.TextHeight("Hg");
  canvas.Font()->SetHeight(-30);  // recreated and reselected under the canvas
  EXPECT_GT(canvas.TextHeight("Hg"), small);
}

TEST(FontTest, LayoutsSetFontPropertiesByName) {
  TFont font;
  const TClassInfo& info = font.ClassInfo();
  ASSERT_NE(info.FindProperty("Name"), nullptr);
  info.FindProperty("Name")->set(font, TValue(std::string("宋体")));
  info.FindProperty("Height")->set(font, TValue(int64_t{-13}));
  info.FindProperty("Style")->set(font, TValue(TSetValue{{"fsBold"}}));
  info.FindProperty("Color")->set(font, TValue(TIdent{"clNavy"}));
  info.FindProperty("Charset")->set(font, TValue(TIdent{"GB2312_CHARSET"}));
  EXPECT_EQ(font.Name(), "宋体");
  EXPECT_EQ(font.Height(), -13);
  EXPECT_EQ(font.Style(), TFontStyles{fsBold});
  EXPECT_EQ(font.Color(), clNavy);
  EXPECT_EQ(font.Charset(), 134);

  const TPropInfo* charset = info.FindProperty("Charset");
  EXPECT_EQ(charset->get(font), TValue(TIdent{"GB2312_CHARSET"}));
  EXPECT_FALSE(charset->IsDefault(font));
  charset->set(font, TValue(int64_t{0}));
  EXPECT_EQ(font.Charset(), ANSI_CHARSET);
  charset->set(font, TValue(int64_t{3}));  // no name: stays a number
  EXPECT_EQ(charset->get(font), TValue(int64_t{3}));
  charset->set(font, TValue(int64_t{1}));
  EXPECT_TRUE(charset->IsDefault(font));
  EXPECT_THROW(charset->set(font, TValue(TIdent{"KLINGON_CHARSET"})), EReadError);
  EXPECT_THROW(charset->set(font, TValue(int64_t{256})), EReadError);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(IdentToCharset("hangul_charset"), std::optional<TFontCharset>(129));
}

TEST(PenBrushTest, PublishedValuesAndDefaults) {
  TPen pen;
  TBrush brush;
  EXPECT_TRUE(pen.ClassInfo().FindProperty("Width")->IsDefault(pen));
  pen.ClassInfo().FindProperty("Style")->set(pen, TValue(TIdent{"psDot"}));
  pen.ClassInfo().FindProperty("Width")->set(pen, TValue(int64_t{2}));
  EXPECT_EQ(pen.Style(), psDot);
  EXPECT_EQ(pen.Width(), 2);
  brush.ClassInfo().FindProperty("Style")->set(brush, TValue(TIdent{"bsClear"}));
  EXPECT_EQ(brush.Style(), bsClear);
  // A colour after a clear brush asks for a solid fill again.
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), bsSolid);

  TPen other;
  other.Assign(&pen);
  EXPECT_EQ(other.Style(), psDot);
  EXPECT_EQ(other.Width(), 2);
}

TEST(PenBrushTest, SystemColoursResolveWhenDrawn) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clWindowText), static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_EQ(ColorToRGB(clHighlight), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
  EXPECT_EQ(ColorToRGB(clNone), clNone);

  TSurface surface(6, 6);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Brush()->SetColor(clBtnShadow);
  canvas.FillRect(Rect(0, 0, 3, 3));
  canvas.Pen()->SetColor(clHighlight);
  canvas.MoveTo(0, 4);
  canvas.LineTo(6, 4);
  EXPECT_EQ(surface.At(1, 1), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(surface.At(5, 4), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST(PenBrushTest, PatternBrushRepeatsItsBitmapFromTheOrigin) {
  TBitmap pattern(2, 2, pf32bit);
  pattern.Canvas()->SetPixels(0, 0, clRed);
  pattern.Canvas()->SetPixels(1, 0, clBlue);
  pattern.Canvas()->SetPixels(0, 1, clBlue);
  pattern.Canvas()->SetPixels(1, 1, clRed);
  TSurface surface(8, 8);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Brush()->SetBitmap(&pattern);
  pattern.Canvas()->SetPixels(0, 0, clLime);  // the brush holds its own copy
  canvas.FillRect(Rect(1, 1, 7, 7));
  for (int y = 1; y < 7; ++y)
    for (int x = 1; x < 7; ++x) ASSERT_EQ(surface.At(x, y), (x + y) % 2 ? clBlue : clRed) << x << "," << y;
  EXPECT_EQ(surface.At(0, 0), clWhite);
  canvas.Brush()->SetBitmap(nullptr);
  EXPECT_EQ(canvas.Brush()->Bitmap(), nullptr);
}

TEST(GdiTest, ClipRectRestoresThePreviousClipping) {
  TSurface surface(10, 10);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 10, 10));
  {
    TClipRect clip(surface.dc(), Rect(2, 2, 5, 5));
    EXPECT_EQ(canvas.ClipRect(), Rect(2, 2, 5, 5));
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 10, 10));
    {
      TClipRect inner(surface.dc(), Rect(3, 3, 9, 9));
      EXPECT_EQ(canvas.ClipRect(), Rect(3, 3, 5, 5));
    }
    EXPECT_EQ(canvas.ClipRect(), Rect(2, 2, 5, 5));
  }
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 10, 10));
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 5, 5), clRed, clWhite));
}

TEST(GdiTest, OwnersReleaseAndMove) {
  TBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
  HBRUSH raw = brush.Get();
  TBrushHandle moved(std::move(brush));
  EXPECT_FALSE(brush);
  EXPECT_EQ(moved.Get(), raw);
  moved.Reset();
  EXPECT_EQ(GetObjectType(raw), 0u);  // deleted

  TSurface surface(2, 2);
  HGDIOBJ before = GetCurrentObject(surface.dc(), OBJ_PEN);
  TPenHandle pen(CreatePen(PS_SOLID, 1, 0));
  {
    TSelectObject select(surface.dc(), pen.Get());
    EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), pen.Get());
  }
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), before);
  {
    TSaveDC saved(surface.dc());
    SetTextColor(surface.dc(), RGB(9, 9, 9));
  }
  EXPECT_NE(GetTextColor(surface.dc()), RGB(9, 9, 9));
  TMemoryDC memory;
  EXPECT_EQ(GetObjectType(memory.Get()), static_cast<DWORD>(OBJ_MEMDC));
  TScreenDC screen;
  EXPECT_GT(GetDeviceCaps(screen, BITSPIXEL), 0);
}

}  // namespace
}  // namespace hv
