#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "framework/graphics.h"
#include "framework/winstring.h"
#include "tests/theme/core/draw_test_support.h"
#include "theme/core/glyphs.h"
#include "theme/core/msimg32.h"
#include "theme/core/text.h"

#ifdef DrawTextEx
#undef DrawTextEx
#endif

namespace hv {
namespace {

using test::Rgb;
using test::TSurface;

int Extent(HDC dc, std::string_view text) {
  std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

// The canvas's font on its context, as EllipsizeText's callers pass it.
struct TFontOnDC {
  explicit TFontOnDC(TCanvas& canvas) : dc(canvas.Handle()), old(SelectObject(dc, canvas.Font()->Handle())) {}
  ~TFontOnDC() { SelectObject(dc, old); }
  HDC dc;
  HGDIOBJ old;
};

TEST(Text, MeasuresOnBothTextPaths) {
  TSurface s(200, 40);
  TCanvas& canvas = s.Canvas();
  const bool wide = WideTextCalls();
  EXPECT_TRUE(wide);  // Wine reports the NT line

  const int width = TextWidthEx(canvas, "Help topics", DT_SINGLELINE);
  const int height = TextHeightEx(canvas, "Help topics");
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  EXPECT_GT(TextWidthEx(canvas, "Help topics, all of them", DT_SINGLELINE), width);
  EXPECT_EQ(TextWidthEx(canvas, "", DT_SINGLELINE), 0);

  TRect calc{0, 0, 0, 0};
  EXPECT_EQ(DrawTextEx(canvas, "Help topics", calc, DT_CALCRECT | DT_SINGLELINE), height);
  EXPECT_EQ(calc.right, width);

  SetWideTextCalls(false);
  EXPECT_EQ(TextWidthEx(canvas, "Help topics", DT_SINGLELINE), width);
  EXPECT_EQ(TextHeightEx(canvas, "Help topics"), height);
  SetWideTextCalls(wide);

  // Drawing paints nothing behind the text and nothing outside the clip.
  s.Clear(0x00FF00);
  canvas.Font()->SetColor(0x0000FF);
  const int drawn = DrawTextEx(canvas, "Hi", TRect{10, 10, 60, 30}, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(drawn, height);
  EXPECT_EQ(GetBkMode(canvas.Handle()), TRANSPARENT);
  int red = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const uint32_t p = s.At(x, y);
      if (x < 10 || y < 10) {
        ASSERT_EQ(p, 0x00FF00u) << x << "," << y;
      }
      if (p != 0x00FF00u) ++red;
    }
  EXPECT_GT(red, 0);
}

TEST(EllipsizeText, FitsTheLongestHeadWithAnEllipsis) {
  TSurface s(10, 10);
  TFontOnDC font(s.Canvas());
  const std::string text = "A help topic with a long title";
  const int full = Extent(font.dc, text);
  EXPECT_EQ(EllipsizeText(font.dc, text, full), text);
  EXPECT_EQ(EllipsizeText(font.dc, text, full + 100), text);
  EXPECT_EQ(EllipsizeText(font.dc, text, 0), "...");
  EXPECT_EQ(EllipsizeText(font.dc, "", 0), "");

  const int max = full / 2;
  const std::string fitted = EllipsizeText(font.dc, text, max);
  ASSERT_GT(fitted.size(), 3u);
  ASSERT_EQ(fitted.substr(fitted.size() - 3), "...");
  const std::string head = fitted.substr(0, fitted.size() - 3);
  EXPECT_EQ(text.compare(0, head.size(), head), 0);
  EXPECT_LE(Extent(font.dc, fitted), max);
  EXPECT_GT(Extent(font.dc, text.substr(0, head.size() + 1) + "..."), max);

  // Characters are whole, however many bytes or UTF-16 units they take.
  const std::string cjk = "\xE5\xB8\xAE\xE5\x8A\xA9\xE4\xB8\xBB\xE9\xA2\x98\xF0\x9F\x98\x80\xE5\xB8\xAE\xE5\x8A\xA9";
  for (int width = 0; width < Extent(font.dc, cjk); width += 3) {
    const std::string r = EllipsizeText(font.dc, cjk, width);
    ASSERT_EQ(r.substr(r.size() - 3), "...");
    const std::string h = r.substr(0, r.size() - 3);
    ASSERT_EQ(cjk.compare(0, h.size(), h), 0);
    ASSERT_EQ(Narrow(Widen(h)), h) << "split character at width " << width;
  }
}

TEST(DrawRotatedText, TurnsTheTextInsideItsRect) {
  const TRect rect{5, 4, 25, 64};  // 20 wide, 60 high
  TSurface cw(30, 70, 0x00FF00), ccw(30, 70, 0x00FF00);
  cw.Canvas().Font()->SetColor(0x000000);
  ccw.Canvas().Font()->SetColor(0x000000);
  const unsigned flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  const int a = DrawRotatedText(cw.Canvas(), "Topics", rect, true, flags);
  const int b = DrawRotatedText(ccw.Canvas(), "Topics", rect, false, flags);
  EXPECT_GT(a, 0);
  EXPECT_EQ(a, b);
  int changed = 0;
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = rect.Contains({x, y});
      if (!inside) {
        ASSERT_EQ(cw.At(x, y), 0x00FF00u) << x << "," << y;
        ASSERT_EQ(ccw.At(x, y), 0x00FF00u) << x << "," << y;
        continue;
      }
      if (cw.At(x, y) != 0x00FF00u) ++changed;
      // Turning one way or the other differs by a half turn of the rect.
      const int mx = rect.left + rect.right - 1 - x, my = rect.top + rect.bottom - 1 - y;
      ASSERT_EQ(cw.At(x, y), ccw.At(mx, my)) << x << "," << y;
    }
  EXPECT_GT(changed, 0);
  EXPECT_EQ(DrawRotatedText(cw.Canvas(), "x", TRect{3, 3, 3, 10}, true, flags), 0);

  // The engine's own keyed copy lays down the same pixels as the platform's.
  TSurface own(30, 70, 0x00FF00);
  own.Canvas().Font()->SetColor(0x000000);
  {
    TMsImg32Fallback fallback;
    EXPECT_EQ(DrawRotatedText(own.Canvas(), "Topics", rect, true, flags), a);
  }
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(own.At(x, y), cw.At(x, y)) << x << "," << y;
}

// The renderer's own glyph, black on white, as the reference.
std::vector<bool> ReferenceGlyph(int w, int h, unsigned type, unsigned state) {
  TSurface ref(w, h);
  RECT r{0, 0, w, h};
  DrawFrameControl(ref.DC(), &r, type, state);
  std::vector<bool> black(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) black[static_cast<size_t>(y * w + x)] = ref.Raw(x, y) == 0;
  return black;
}

TEST(DrawFrameControlGlyph, BlackBecomesTheColourAndTheRestShowsThrough) {
  struct Case {
    unsigned type, state;
  } cases[] = {{DFC_MENU, DFCS_MENUCHECK},
               {DFC_MENU, DFCS_MENUARROW},
               {DFC_SCROLL, DFCS_SCROLLUP},
               {DFC_CAPTION, DFCS_CAPTIONCLOSE}};
  for (const Case& c : cases)
    for (bool ownCopy : {false, true}) {
      std::optional<TMsImg32Fallback> fallback;
      if (ownCopy) fallback.emplace();
      const int w = 13, h = 11;
      const std::vector<bool> black = ReferenceGlyph(w, h, c.type, c.state);
      int glyph = 0;
      for (bool b : black) glyph += b;
      EXPECT_GT(glyph, 0) << c.type << "/" << c.state;

      TSurface s(20, 16, 0x00FF00);
      DrawFrameControlGlyph(s.Canvas(), TRect{3, 2, 3 + w, 2 + h}, c.type, c.state, 0x0000C0);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
          const bool inGlyph =
              x >= 3 && x < 3 + w && y >= 2 && y < 2 + h && black[static_cast<size_t>((y - 2) * w + (x - 3))];
          ASSERT_EQ(s.At(x, y), inGlyph ? 0xC00000u : 0x00FF00u)
              << c.type << " at " << x << "," << y << (ownCopy ? ", own keyed copy" : "");
        }
    }
  TSurface s(4, 4, 0x00FF00);
  DrawFrameControlGlyph(s.Canvas(), TRect{2, 2, 2, 4}, DFC_MENU, DFCS_MENUCHECK, 0);
  EXPECT_EQ(s.At(2, 2), 0x00FF00u);
}

TEST(DrawFrameControlGlyph, AMarginLeavesTheRenderersEdgesOut) {
  // A pushed check box: its sunken edge is dark all round, the mark inside.
  const int w = 13, h = 13;
  const std::vector<bool> black = ReferenceGlyph(w, h, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  TSurface s(20, 20, 0x00FF00);
  DrawFrameControlGlyph(s.Canvas(), TRect{4, 3, 4 + w, 3 + h}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 0x0000C0,
                        2);
  int inside = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const int gx = x - 4, gy = y - 3;
      const bool kept = gx >= 2 && gx < w - 2 && gy >= 2 && gy < h - 2 && black[static_cast<size_t>(gy * w + gx)];
      inside += kept;
      ASSERT_EQ(s.At(x, y), kept ? 0xC00000u : 0x00FF00u) << x << "," << y;
    }
  EXPECT_GT(inside, 5) << "the check mark itself";
}

TEST(ButtonGlyph, LoadsEachKindOnceAndKeepsIt) {
  const char* names[] = {"TE_BTN_OK",    "TE_BTN_CANCEL", "TE_BTN_HELP",  "TE_BTN_YES",    "TE_BTN_NO",
                         "TE_BTN_CLOSE", "TE_BTN_ABORT",  "TE_BTN_RETRY", "TE_BTN_IGNORE", "TE_BTN_ALL"};
  for (int kind = bkOK; kind <= bkAll; ++kind) {
    EXPECT_STREQ(ButtonGlyphResourceName(kind), names[kind - 1]);
    TBitmap* glyph = ButtonGlyph(kind);
    ASSERT_NE(glyph, nullptr);
    ASSERT_FALSE(glyph->Empty()) << names[kind - 1];
    EXPECT_EQ(glyph->Width(), 36);
    EXPECT_EQ(glyph->Height(), 18);
    EXPECT_EQ(glyph->Canvas()->Pixels(0, 17), static_cast<TColor>(0xFF00FF));  // the key
    EXPECT_EQ(ButtonGlyph(kind), glyph);
    EXPECT_EQ(ButtonGlyph(kind + 128), glyph);
  }
  // No two glyphs alike.
  for (int a = bkOK; a <= bkAll; ++a)
    for (int b = a + 1; b <= bkAll; ++b) EXPECT_NE(ButtonGlyph(a)->SaveToBytes(), ButtonGlyph(b)->SaveToBytes());

  EXPECT_EQ(ButtonGlyphResourceName(bkCustom), nullptr);
  EXPECT_TRUE(ButtonGlyph(bkCustom)->Empty());
  EXPECT_TRUE(ButtonGlyph(11)->Empty());
  EXPECT_TRUE(ButtonGlyph(127)->Empty());
  EXPECT_TRUE(ButtonGlyph(-1)->Empty());

  TBitmap* before = ButtonGlyph(bkOK);
  FreeButtonGlyphs();
  TBitmap* after = ButtonGlyph(bkOK);
  EXPECT_FALSE(after->Empty());
  (void)before;
}

}  // namespace
}  // namespace hv
