#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/bmpcodec.h"
#include "framework/filer.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "tests/framework/graphics_test_support.h"

namespace hv {
namespace {

using test::TSurface;

// Pixel (x, y) of a 24 or 32-bit bitmap, written straight into its memory.
void PutPixel(TBitmap& bitmap, int x, int y, TColor color) {
  auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
  int size = bitmap.PixelFormat() == pf32bit ? 4 : 3;
  row[x * size] = static_cast<uint8_t>(color >> 16);
  row[x * size + 1] = static_cast<uint8_t>(color >> 8);
  row[x * size + 2] = static_cast<uint8_t>(color);
}

std::vector<uint8_t> Rows(const TBitmap& bitmap) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
    bytes.insert(bytes.end(), row, row + bitmap.BytesPerScanLine());
  }
  return bytes;
}

TEST(BitmapTest, SizeFormatAndScanLines) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
  bitmap.SetWidth(5);
  EXPECT_TRUE(bitmap.Empty());  // no height yet, but the width is kept
  bitmap.SetHeight(3);
  EXPECT_FALSE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.BytesPerScanLine(), 20);
  bitmap.SetPixelFormat(pf24bit);
  EXPECT_EQ(bitmap.BytesPerScanLine(), 16);  // 15 bytes padded to 4
  bitmap.SetPixelFormat(pf4bit);
  EXPECT_EQ(bitmap.BytesPerScanLine(), 4);
  EXPECT_EQ(bitmap.PaletteColors().size(), 16u);
  // Rows are top-down: row 1 follows row 0 in memory.
  EXPECT_EQ(static_cast<uint8_t*>(bitmap.ScanLine(1)) - static_cast<uint8_t*>(bitmap.ScanLine(0)), 4);
  EXPECT_THROW(bitmap.ScanLine(3), EInvalidGraphic);
  EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphic);
  bitmap.SetSize(0, 3);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Handle(), nullptr);
}

TEST(BitmapTest, CanvasDrawsIntoTheBitmapAndResizingKeepsPixels) {
  TBitmap bitmap(6, 4, pf32bit);
  int changes = 0;
  bitmap.OnChange = [&](TObject*) { ++changes; };
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 3, 4));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(bitmap.Canvas()->Pixels(2, 3), clRed);
  EXPECT_EQ(bitmap.Canvas()->Pixels(3, 3), clBlack);  // new bitmaps start black

  bitmap.SetSize(10, 2);
  EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(bitmap.Canvas()->Pixels(2, 1), clRed);
  EXPECT_EQ(bitmap.Canvas()->Pixels(9, 1), clBlack);
  // The canvas keeps working on the resized bitmap.
  bitmap.Canvas()->FillRect(Rect(8, 0, 10, 2));
  EXPECT_EQ(bitmap.Canvas()->Pixels(9, 1), clRed);
}

TEST(BitmapTest, StretchDrawScalesBlocksExactly) {
  TBitmap bitmap(2, 2, pf24bit);
  PutPixel(bitmap, 0, 0, clRed);
  PutPixel(bitmap, 1, 0, clLime);
  PutPixel(bitmap, 0, 1, clBlue);
  PutPixel(bitmap, 1, 1, clYellow);
  TSurface surface(12, 12);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.StretchDraw(Rect(2, 2, 10, 10), &bitmap);
  const TColor blocks[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      bool inside = Rect(2, 2, 10, 10).Contains({x, y});
      ASSERT_EQ(surface.At(x, y), inside ? blocks[(y - 2) / 4][(x - 2) / 4] : clWhite) << x << "," << y;
    }

  surface.Fill(clWhite);
  canvas.Draw(5, 6, &bitmap);
  EXPECT_EQ(surface.At(5, 6), clRed);
  EXPECT_EQ(surface.At(6, 7), clYellow);
  EXPECT_EQ(surface.At(7, 7), clWhite);
  canvas.Draw(0, 0, nullptr);  // nothing to draw
  TBitmap empty;
  canvas.Draw(0, 0, &empty);
  EXPECT_EQ(surface.At(0, 0), clWhite);
}

TEST(BitmapTest, PalettisedBitmapsDrawTheirPaletteColours) {
  TBitmap bitmap(4, 2, pf8bit);
  const TColor colors[] = {0x123456, 0xABCDEF, 0x00FF80, 0x7F007F};
  bitmap.SetPaletteColors(colors);
  auto* top = static_cast<uint8_t*>(bitmap.ScanLine(0));
  auto* bottom = static_cast<uint8_t*>(bitmap.ScanLine(1));
  for (int x = 0; x < 4; ++x) {
    top[x] = static_cast<uint8_t>(x);
    bottom[x] = static_cast<uint8_t>(3 - x);
  }
  TSurface surface(4, 2);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Draw(0, 0, &bitmap);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(surface.At(x, 0), colors[x]);
    EXPECT_EQ(surface.At(x, 1), colors[3 - x]);
  }
  EXPECT_EQ(bitmap.PaletteColors()[1], 0xABCDEF);

  // A new palette recolours the same indexes.
  const TColor red[] = {clRed};
  bitmap.SetPaletteColors(red);
  canvas.Draw(0, 0, &bitmap);
  EXPECT_EQ(surface.At(0, 0), clRed);
  EXPECT_EQ(surface.At(3, 1), clRed);
  EXPECT_EQ(surface.At(1, 0), 0xABCDEF);

  // Converting keeps the colours: to 32 bits exactly, and back to a palette
  // that holds them.
  bitmap.SetPixelFormat(pf32bit);
  EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), 0xABCDEF);
  EXPECT_EQ(bitmap.Canvas()->Pixels(0, 1), 0x7F007F);
  TBitmap vga(2, 1, pf32bit);
  vga.Canvas()->SetPixels(0, 0, clTeal);
  vga.Canvas()->SetPixels(1, 0, clFuchsia);
  vga.SetPixelFormat(pf4bit);
  auto* row = static_cast<uint8_t*>(vga.ScanLine(0));
  EXPECT_EQ(vga.PaletteColors()[row[0] >> 4], clTeal);
  EXPECT_EQ(vga.PaletteColors()[row[0] & 15], clFuchsia);
}

TEST(BitmapTest, TransparentDrawingKeysOutTheCornerColour) {
  TBitmap bitmap(4, 4, pf24bit);
  bitmap.Canvas()->Brush()->SetColor(clFuchsia);
  bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(1, 1, 3, 3));
  EXPECT_EQ(bitmap.TransparentColor(), clFuchsia);
  bitmap.SetTransparent(true);

  TSurface surface(12, 12, clWhite);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Draw(1, 1, &bitmap);
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 4, 4), clRed, clWhite));

  // Stretched, the key still holds, pixel for pixel.
  surface.Fill(clWhite);
  canvas.StretchDraw(Rect(0, 0, 8, 8), &bitmap);
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 6, 6), clRed, clWhite));

  // A clipped destination receives only its part.
  surface.Fill(clWhite);
  {
    TClipRect clip(surface.dc(), Rect(0, 0, 3, 12));
    canvas.StretchDraw(Rect(0, 0, 8, 8), &bitmap);
  }
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 3, 6), clRed, clWhite));

  // A fixed key: now the red centre drops out and the frame shows.
  bitmap.SetTransparentColor(clRed);
  EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
  surface.Fill(clWhite);
  canvas.Draw(0, 0, &bitmap);
  EXPECT_EQ(surface.At(0, 0), clFuchsia);
  EXPECT_EQ(surface.At(1, 1), clWhite);
  bitmap.SetTransparentColor(clDefault);
  EXPECT_EQ(bitmap.TransparentMode(), tmAuto);

  // Palettised sources key by colour too.
  bitmap.SetPixelFormat(pf8bit);
  surface.Fill(clWhite);
  canvas.Draw(1, 1, &bitmap);
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 4, 4), clRed, clWhite));
}

void ExpectRoundTrip(TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  bitmap.SaveToStream(stream);  // two in a row: each load takes only its own
  stream.SetPosition(0);
  TBitmap first, second;
  first.LoadFromStream(stream);
  second.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  for (TBitmap* loaded : {&first, &second}) {
    EXPECT_EQ(loaded->PixelFormat(), bitmap.PixelFormat());
    EXPECT_EQ(loaded->Width(), bitmap.Width());
    EXPECT_EQ(loaded->Height(), bitmap.Height());
    EXPECT_EQ(loaded->PaletteColors(), bitmap.PaletteColors());
    EXPECT_EQ(Rows(*loaded), Rows(bitmap));
  }
}

TEST(BitmapTest, BmpStreamsRoundTrip) {
  TBitmap b8(5, 3, pf8bit);
  std::vector<TColor> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(static_cast<TColor>(i * 0x010203 & 0xFFFFFF));
  b8.SetPaletteColors(palette);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) static_cast<uint8_t*>(b8.ScanLine(y))[x] = static_cast<uint8_t>(y * 50 + x * 7);
  ExpectRoundTrip(b8);

  TBitmap b24(5, 3, pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) PutPixel(b24, x, y, static_cast<TColor>(x * 0x30 + y * 0x5000 + 0x0A0000));
  ExpectRoundTrip(b24);

  TBitmap b32(3, 4, pf32bit);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x)
      static_cast<uint32_t*>(b32.ScanLine(y))[x] = 0x80000000u + static_cast<uint32_t>(y * 3 + x);
  ExpectRoundTrip(b32);  // the alpha byte travels too

  TBitmap b1(9, 2, pf1bit);
  static_cast<uint8_t*>(b1.ScanLine(1))[0] = 0xA5;
  ExpectRoundTrip(b1);

  // An empty bitmap writes nothing and reads back empty.
  TBitmap empty;
  TMemoryStream stream;
  empty.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 0);
  TBitmap loaded(2, 2);
  loaded.LoadFromStream(stream);
  EXPECT_TRUE(loaded.Empty());
}

TEST(BitmapTest, BadFilesRaiseAndChangeNothing) {
  TBitmap bitmap(2, 2, pf24bit);
  PutPixel(bitmap, 1, 1, clRed);
  std::vector<uint8_t> good = bitmap.SaveToBytes();
  std::vector<uint8_t> truncated(good.begin(), good.end() - 4);
  TMemoryStream stream(truncated);
  TBitmap target(1, 1, pf8bit);
  EXPECT_THROW(target.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_EQ(target.Width(), 1);
  EXPECT_EQ(target.PixelFormat(), pf8bit);
  std::vector<uint8_t> junk{'B', 'M', 1, 2, 3};
  TMemoryStream junkStream(junk);
  EXPECT_THROW(target.LoadFromStream(junkStream), EInvalidGraphic);
  EXPECT_THROW(target.LoadFromBytes(std::vector<uint8_t>(60, 0)), EInvalidGraphic);
  EXPECT_EQ(target.Width(), 1);
}

TEST(BitmapTest, LoadsBitmapResources) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), "PALETTE8");
  ASSERT_EQ(bitmap.Width(), 4);
  ASSERT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  // The file's short colour table fills the first four entries.
  EXPECT_EQ(bitmap.PaletteColors()[0], 0x332211);
  EXPECT_EQ(bitmap.PaletteColors()[3], 0x8000FF);
  EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), 0x332211);  // top row first
  EXPECT_EQ(bitmap.Canvas()->Pixels(3, 0), 0x8000FF);
  EXPECT_EQ(bitmap.Canvas()->Pixels(0, 1), 0x8000FF);
  EXPECT_EQ(bitmap.Canvas()->Pixels(2, 1), 0x665544);
  EXPECT_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), "NO_SUCH_BITMAP"), EResNotFound);
  EXPECT_THROW(bitmap.LoadFromResourceID(GetModuleHandleW(nullptr), 4321), EResNotFound);
  EXPECT_EQ(bitmap.Width(), 4);
}

TEST(BitmapTest, AssignCopiesAndLoadFromHandleReadsAnyBitmap) {
  TBitmap source(3, 2, pf8bit);
  const TColor colors[] = {clRed, clGreen};
  source.SetPaletteColors(colors);
  static_cast<uint8_t*>(source.ScanLine(1))[2] = 1;
  source.SetTransparent(true);
  source.SetTransparentColor(clGreen);
  TBitmap copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.PixelFormat(), pf8bit);
  EXPECT_EQ(Rows(copy), Rows(source));
  EXPECT_EQ(copy.PaletteColors(), source.PaletteColors());
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clGreen);
  static_cast<uint8_t*>(source.ScanLine(0))[0] = 1;  // independent pixels
  EXPECT_EQ(static_cast<uint8_t*>(copy.ScanLine(0))[0], 0);

  copy.LoadFromHandle(source.Handle());
  EXPECT_EQ(copy.PixelFormat(), pf8bit);
  EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clGreen);
  EXPECT_EQ(copy.Canvas()->Pixels(2, 1), clGreen);
  EXPECT_EQ(copy.Canvas()->Pixels(1, 1), clRed);

  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  TFont font;
  EXPECT_THROW(copy.Assign(&font), EConvertError);
}

// A 16x16 icon: left half blue, right half transparent.
HICON MakeIcon() {
  std::vector<uint32_t> color(16 * 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) color[y * 16 + x] = x < 8 ? 0xFF0000FF : 0;
  std::vector<uint8_t> mask(2 * 16);
  for (int y = 0; y < 16; ++y) mask[y * 2 + 1] = 0xFF;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(16, 16, 1, 32, color.data());
  info.hbmMask = CreateBitmap(16, 16, 1, 1, mask.data());
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return icon;
}

TEST(IconTest, DrawsAndRoundTripsThroughStreams) {
  TIcon icon;
  EXPECT_TRUE(icon.Empty());
  icon.SetHandle(MakeIcon());
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  EXPECT_TRUE(icon.Transparent());
  EXPECT_THROW(icon.SetWidth(20), EInvalidGraphic);

  TSurface surface(20, 20);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Draw(2, 2, &icon);
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 10, 18), clBlue, clWhite));

  TMemoryStream stream;
  icon.SaveToStream(stream);
  stream.SetPosition(0);
  TIcon loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Width(), 16);
  surface.Fill(clWhite);
  canvas.Draw(2, 2, &loaded);
  EXPECT_TRUE(surface.Matches(Rect(2, 2, 10, 18), clBlue, clWhite));

  // What was loaded from a stream is written back unchanged.
  TMemoryStream again;
  loaded.SaveToStream(again);
  EXPECT_EQ(again.Bytes(), stream.Bytes());

  TIcon copy;
  copy.Assign(&loaded);
  EXPECT_NE(copy.Handle(), loaded.Handle());
  EXPECT_EQ(copy.Width(), 16);
  HICON released = copy.ReleaseHandle();
  EXPECT_TRUE(copy.Empty());
  DestroyIcon(released);

  std::vector<uint8_t> bad{0, 0, 1, 0, 1, 0, 16, 16};
  TMemoryStream badStream(bad);
  EXPECT_THROW(loaded.LoadFromStream(badStream), EInvalidGraphic);
  EXPECT_EQ(loaded.Width(), 16);
}

TEST(IconTest, LoadsIconResources) {
  TIcon icon;
  icon.LoadFromResourceName(GetModuleHandleW(nullptr), "BLUE16", 16);
  EXPECT_EQ(icon.Width(), 16);
  TSurface surface(16, 16);
  TCanvas canvas;
  canvas.SetHandle(surface.dc());
  canvas.Draw(0, 0, &icon);
  EXPECT_TRUE(surface.Matches(Rect(0, 0, 8, 16), clBlue, clWhite));
  EXPECT_THROW(icon.LoadFromResourceName(GetModuleHandleW(nullptr), "NO_SUCH_ICON"), EResNotFound);
}

TEST(PictureTest, HoldsOneGraphicAndStoresItAsData) {
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(picture.Graphic(), nullptr);
  EXPECT_TRUE(picture.SaveToData().empty());
  TBitmap* bitmap = picture.Bitmap();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  bitmap->Canvas()->SetPixels(1, 1, clRed);
  EXPECT_GE(changes, 3);  // the graphic's changes are the picture's
  EXPECT_EQ(picture.Width(), 3);

  std::vector<uint8_t> data = picture.SaveToData();
  ASSERT_GT(data.size(), 8u);
  EXPECT_EQ(data[0], 7);
  EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 8), "TBitmap");
  EXPECT_EQ(data[8], 'B');

  TPicture other;
  other.LoadFromData(data);
  auto* loaded = dynamic_cast<TBitmap*>(other.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(loaded->PixelFormat(), pf24bit);

  // An unknown class or a broken bitmap leaves the picture as it was.
  std::vector<uint8_t> unknown{5, 'T', 'J', 'u', 'n', 'k', 1, 2};
  EXPECT_THROW(other.LoadFromData(unknown), EInvalidGraphic);
  std::vector<uint8_t> broken(data.begin(), data.end() - 3);
  EXPECT_THROW(other.LoadFromData(broken), EInvalidGraphic);
  std::vector<uint8_t> shortName{9, 'T'};
  EXPECT_THROW(other.LoadFromData(shortName), EInvalidGraphic);
  EXPECT_EQ(other.Graphic(), loaded);

  // Assigning copies; asking for an icon replaces the bitmap.
  TPicture copy;
  copy.Assign(&picture);
  ASSERT_NE(copy.Graphic(), picture.Graphic());
  EXPECT_EQ(copy.Bitmap()->Canvas()->Pixels(1, 1), clRed);
  TBitmap target;
  target.Assign(&copy);
  EXPECT_EQ(target.Width(), 3);
  EXPECT_TRUE(copy.Icon()->Empty());
  EXPECT_EQ(copy.Width(), 0);
  copy.Assign(nullptr);
  EXPECT_EQ(copy.Graphic(), nullptr);
}

// A component with a picture and a font, as a stored layout sees them.
class TPictureHolder : public TComponent {
  HV_CLASS(TPictureHolder, TComponent)

 public:
  explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
  TPicture* Picture() const { return picture_.get(); }
  TFont* Font() const { return font_.get(); }

 private:
  std::unique_ptr<TPicture> picture_ = std::make_unique<TPicture>();
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

void TPictureHolder::PublishProperties(TPropertyList& properties) {
  properties.Object("Picture", &TPictureHolder::Picture);
  properties.Object("Font", &TPictureHolder::Font);
}

TEST(PictureTest, TravelsThroughStoredLayouts) {
  TPictureHolder holder(nullptr);
  holder.SetName("Holder");
  TBitmap* bitmap = holder.Picture()->Bitmap();
  bitmap->SetPixelFormat(pf8bit);
  bitmap->SetSize(19, 22);
  const TColor colors[] = {clWhite, clNavy};
  bitmap->SetPaletteColors(colors);
  static_cast<uint8_t*>(bitmap->ScanLine(21))[18] = 1;
  holder.Font()->SetName("宋体");
  holder.Font()->SetHeight(-13);
  holder.Font()->SetStyle({fsBold});
  holder.Font()->SetColor(clNavy);
  holder.Font()->SetCharset(ANSI_CHARSET);

  std::string text = WriteLayout(holder);
  EXPECT_NE(text.find("Picture.Data = {"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Style = [fsBold]"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Charset = ANSI_CHARSET"), std::string::npos) << text;

  TPictureHolder read(nullptr);
  ReadLayout(text, read);
  auto* loaded = dynamic_cast<TBitmap*>(read.Picture()->Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 19);
  EXPECT_EQ(loaded->PixelFormat(), pf8bit);
  EXPECT_EQ(Rows(*loaded), Rows(*bitmap));
  EXPECT_EQ(loaded->Canvas()->Pixels(18, 21), clNavy);
  EXPECT_EQ(read.Font()->Name(), "宋体");
  EXPECT_EQ(read.Font()->Height(), -13);
  EXPECT_EQ(read.Font()->Style(), TFontStyles{fsBold});
  EXPECT_EQ(read.Font()->Color(), clNavy);
  EXPECT_EQ(read.Font()->Charset(), ANSI_CHARSET);

  // Charsets by name, as hand-written layouts have them.
  TPictureHolder named(nullptr);
  ReadLayout("object Holder: TPictureHolder\n  Font.Charset = GB2312_CHARSET\nend\n", named);
  EXPECT_EQ(named.Font()->Charset(), GB2312_CHARSET);
  EXPECT_THROW(ReadLayout("object Holder: TPictureHolder\n  Picture.Data = {0154}\nend\n", named), EReadError);
}

}  // namespace
}  // namespace hv
