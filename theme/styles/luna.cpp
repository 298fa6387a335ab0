#include <windows.h>

#include "theme/styles/luna.h"

#include <optional>
#include <span>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/scoped.h"
#include "framework/stream.h"
#include "framework/sysutils.h"
#include "theme/core/colors.h"
#include "theme/core/drawing.h"
#include "theme/core/glyphs.h"
#include "theme/core/rects.h"
#include "theme/core/tebitmap.h"
#include "theme/core/text.h"
#include "theme/core/themeitems.h"
#include "theme/styles/pcx.h"
#include "theme/styles/sharedpaint.h"
#include "theme/styles/skinsource.h"

namespace hv {

const TTeSkinResources kLunaSkins{"XP_MAIN", "XP_MAIN1", false};
const TTeSkinResources kMetalLunaSkins{"XP_METAL_MAIN", "XP_METAL_MAIN1", true};

namespace {

// The tables are written 0xRRGGBB, as designers read them.
constexpr TColor FromRGB(uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

using TColorTable = std::array<TColor, kThemeColorCount>;

// Kinds 0, 1, 4 and 12 have no colour of their own: they give the fallback.
namespace colortables {
constexpr TColor F = kFallbackColor;
constexpr TColorTable kLuna = {
    F,                  F,                  FromRGB(0x000000), FromRGB(0xFFFFFF), F,
    FromRGB(0xFFFFFF), FromRGB(0xFFFBF7), FromRGB(0x316AC5), FromRGB(0x21C321), FromRGB(0xFEFEFB),
    FromRGB(0xC5C5B1), FromRGB(0xEFEBDE), F,                  FromRGB(0x808080), FromRGB(0xFFFFFF),
    FromRGB(0x316AC5), FromRGB(0xFFFFFF), FromRGB(0x316AC5), FromRGB(0x000000), FromRGB(0xFFFFFF),
    FromRGB(0x000000), FromRGB(0xFFFFFF), FromRGB(0x808080), FromRGB(0x000000), FromRGB(0x95CEFF),
    FromRGB(0x316AC5),
};
constexpr TColorTable kMetalLuna = {
    F,                  F,                  FromRGB(0xFFFFFF), FromRGB(0x000080), F,
    FromRGB(0x808080), FromRGB(0xF8F8FF), FromRGB(0xA3A3B8), FromRGB(0x5A5A7B), FromRGB(0xFEFEFB),
    FromRGB(0xC5C5B1), FromRGB(0xE0DFE4), F,                  FromRGB(0x808080), FromRGB(0xFFFFFF),
    FromRGB(0xA3A3B8), FromRGB(0xFFFFFF), FromRGB(0xA3A3B8), FromRGB(0x000000), FromRGB(0xFFFFFF),
    FromRGB(0x000000), FromRGB(0xFFFFFF), FromRGB(0x808080), FromRGB(0x000000), FromRGB(0xE6E6F0),
    FromRGB(0xA3A3AD),
};
}  // namespace colortables
using colortables::kLuna;
using colortables::kMetalLuna;

TColor TableColor(const TColorTable& table, TTeThemeColor kind) {
  return kind < table.size() ? table[kind] : kFallbackColor;
}

constexpr std::array<int, kThemeSizeCount> kSizes = {
    3, 2, 29, 19, 10, 21, 21, 14, 14, 4, 4, 3, 3, 3, 22, 17, 16, 16, 16, 16, 11, 22, 4, 22, 17, 17, 2, 21, 15, 11,
};

// The skin geometry rests on these sizes.
constexpr int kBorder = kSizes[ktsBorder];
constexpr int kToolBorder = kSizes[ktsToolBorder];
constexpr int kCaption = kSizes[ktsCaption];
constexpr int kToolCaption = kSizes[ktsToolCaption];
constexpr int kCorner = kSizes[ktsCaptionCorner];
constexpr int kButtonSize = kSizes[ktsButtonWidth];
constexpr int kToolButtonSize = kSizes[ktsToolButtonWidth];

constexpr TColor kProgressSelection = FromRGB(0x21C321);

// --- transfers from a skin ---------------------------------------------------------

void Copy(TCanvas& canvas, const TTeBitmap& skin, const TRect& src, int x, int y, bool keyed) {
  skin.DrawRect(canvas, x, y, src, keyed);
}

void Stretch(TCanvas& canvas, const TTeBitmap& skin, const TRect& src, const TRect& dst, bool keyed) {
  skin.StretchDraw(canvas, dst, src, keyed);
}

void CopyCentered(TCanvas& canvas, const TTeBitmap& skin, const TRect& src, const TRect& bounds, bool keyed) {
  const TRect at = CenterRect(Bounds(0, 0, src.Width(), src.Height()), bounds);
  Copy(canvas, skin, src, at.left, at.top, keyed);
}

// Edges stretched opaque (top, bottom, left, right), the corners copied
// (top-left, top-right, bottom-left, bottom-right), then the centre.
void NinePart(TCanvas& canvas, const TTeBitmap& skin, const TRect& x, const TRect& d, int m, bool keyedCorners,
              bool keyedMiddle = false) {
  Stretch(canvas, skin, {x.left + m, x.top, x.right - m, x.top + m}, {d.left + m, d.top, d.right - m, d.top + m},
          keyedMiddle);
  Stretch(canvas, skin, {x.left + m, x.bottom - m, x.right - m, x.bottom},
          {d.left + m, d.bottom - m, d.right - m, d.bottom}, keyedMiddle);
  Stretch(canvas, skin, {x.left, x.top + m, x.left + m, x.bottom - m}, {d.left, d.top + m, d.left + m, d.bottom - m},
          keyedMiddle);
  Stretch(canvas, skin, {x.right - m, x.top + m, x.right, x.bottom - m},
          {d.right - m, d.top + m, d.right, d.bottom - m}, keyedMiddle);
  Copy(canvas, skin, {x.left, x.top, x.left + m, x.top + m}, d.left, d.top, keyedCorners);
  Copy(canvas, skin, {x.right - m, x.top, x.right, x.top + m}, d.right - m, d.top, keyedCorners);
  Copy(canvas, skin, {x.left, x.bottom - m, x.left + m, x.bottom}, d.left, d.bottom - m, keyedCorners);
  Copy(canvas, skin, {x.right - m, x.bottom - m, x.right, x.bottom}, d.right - m, d.bottom - m, keyedCorners);
  Stretch(canvas, skin, InflatedRect(x, -m), InflatedRect(d, -m), keyedMiddle);
}

void FramedNinePart(TCanvas& canvas, const TTeBitmap& skin, const TRect& x, const TRect& d, int m) {
  skin.DrawMargins(canvas, d, x, m, m, m, m, true, false);
}

// --- the window frame -----------------------------------------------------------------

namespace frame {

// A frame coordinate: an offset from the window's left or top edge, or from
// its right or bottom edge.
struct TEdge {
  bool fromEnd;
  int offset;
  int At(int extent) const { return fromEnd ? extent + offset : offset; }
};
constexpr TEdge S(int offset) { return {false, offset}; }
constexpr TEdge E(int offset) { return {true, offset}; }

// A copied piece uses only its destination's left and top.
struct TFramePiece {
  TRect src;
  TEdge left, top, right, bottom;
  bool stretch;
};

constexpr int B = kBorder, C = kCaption, K = kCorner;
constexpr std::array<TFramePiece, 10> kStandardFrame = {{
    {{0, 0, K, C}, S(0), S(0), {}, {}, false},
    {{K, 0, 66 - K, C}, S(K), S(0), E(-K), S(C), true},
    {{66 - K, 0, 66, C}, E(-K), S(0), {}, {}, false},
    {{0, 57, B, 57 + B}, S(0), E(-B), {}, {}, false},
    {{B, 57, 62, 57 + B}, S(B), E(-B), E(-B), E(0), true},
    {{63, 57, 63 + B, 57 + B}, E(-B), E(-B), {}, {}, false},
    {{0, 29, B, 29 + B}, S(0), S(C), {}, {}, false},
    {{0, 29 + B, B, 57}, S(0), S(C + B), S(B), E(-B), true},
    {{66 - B, 29, 66, 29 + B}, E(-B), S(C), {}, {}, false},
    {{66 - B, 29 + B, 66, 57}, E(-B), S(C + B), E(0), E(-B), true},
}};

constexpr int b = kToolBorder, c = kToolCaption;
constexpr std::array<TFramePiece, 10> kToolFrame = {{
    {{66, 0, 66 + K, c}, S(0), S(0), {}, {}, false},
    {{66 + K, 0, 131 - K, c}, S(K), S(0), E(-K), S(c), true},
    {{132 - K, 0, 132, c}, E(-K), S(0), {}, {}, false},
    {{66, 49, 66 + b, 49 + b}, S(0), E(-b), {}, {}, false},
    {{66 + b, 49, 131 - b, 49 + b}, S(b), E(-b), E(-b), E(0), true},
    {{130, 49, 130 + b, 49 + b}, E(-b), E(-b), {}, {}, false},
    {{66, c, 66 + b, c + b}, S(0), S(c), {}, {}, false},
    {{66, c + 3, 66 + b, 49}, S(0), S(c + b), S(b), E(-b), true},
    {{130, c, 130 + b, c + b}, E(-b), S(c), {}, {}, false},
    {{130, c + 3, 130 + b, 49}, E(-b), S(c + b), E(0), E(-b), true},
}};

}  // namespace frame

void DrawFramePieces(TCanvas& canvas, const TTeBitmap& skin, std::span<const frame::TFramePiece> pieces, int w, int h) {
  for (const frame::TFramePiece& piece : pieces) {
    const int left = piece.left.At(w), top = piece.top.At(h);
    if (piece.stretch)
      Stretch(canvas, skin, piece.src, {left, top, piece.right.At(w), piece.bottom.At(h)}, false);
    else  // keyed: the rounded corners' outer pixels are the key colour
      Copy(canvas, skin, piece.src, left, top, true);
  }
}

// The rounded top corners of a standard window: rows 0 to 4 lose 5, 3, 2, 1
// and 1 pixels on each side.
constexpr std::array<TRect, 4> kLeftCornerCuts = {{{0, 0, 5, 1}, {0, 0, 3, 2}, {0, 0, 2, 3}, {0, 0, 1, 5}}};

// --- pictures by state ---------------------------------------------------------------

// Caption-button rows by button kind (close, help, minimize, maximize,
// restore, roll up, roll down, tray).
constexpr std::array<int, 8> kCaptionButtonRows = {70, 100, 160, 130, 190, 280, 220, 250};
constexpr int kToolCloseRow = 70;
constexpr int kToolCloseLeft = 66;

// 0 normal, 1 hot, 2 pressed: pressed wins over hot.
int CaptionButtonColumn(bool hot, bool pressed) { return pressed ? 2 : hot ? 1 : 0; }

constexpr std::array<int, 6> kPushButtonRows = {100, 130, 160, 190, 220, 220};

// For the pictures laid out as one row per state 0..3, where the states
// beyond 3 take the normal row.
int StateRow(int first, int step, TTeElementState state) {
  return state >= kesHot && state <= kesDisabled ? first + step * state : first;
}

constexpr int kSpeedFaceW = 20, kSpeedFaceH = 23;
constexpr TPoint kSpeedA{89, 278}, kSpeedB{109, 278}, kSpeedC{89, 301}, kSpeedD{109, 301}, kSpeedOther{69, 278};

std::optional<TPoint> SpeedButtonFace(TTeElementState state, bool flat, bool down) {
  if (state == kesDisabled) return std::nullopt;
  if (flat) {
    switch (static_cast<int>(state)) {
      case kesNormal:
        return down ? std::optional<TPoint>(kSpeedC) : std::nullopt;
      case kesHot:
        return down ? kSpeedD : kSpeedA;
      case kesPressed:
        return kSpeedB;
      case 4:
      case 5:
        return kSpeedOther;
      default:
        return std::nullopt;
    }
  }
  switch (static_cast<int>(state)) {
    case kesNormal:
      return down ? kSpeedC : kSpeedA;
    case kesPressed:
      return down ? kSpeedC : kSpeedB;
    case kesHot:
    case 4:
    case 5:
      return kSpeedOther;
    default:
      return std::nullopt;
  }
}

// Track-bar thumbs: the picture index by state, and the first picture of
// each shape with the step between pictures.
int ThumbIndex(TTeElementState state) {
  switch (static_cast<int>(state)) {
    case kesHot:
      return 1;
    case kesPressed:
      return 2;
    case kesDisabled:
      return 4;
    case 4:
      return 3;
    default:
      return 0;
  }
}
struct TThumbPictures {
  TRect first;
  int step;
};
constexpr std::array<TThumbPictures, 3> kLyingThumbs = {{{{75, 128, 97, 139}, 43}, {{153, 96, 175, 107}, 55},
                                                          {{152, 78, 174, 89}, 55}}};
constexpr std::array<TThumbPictures, 3> kUprightThumbs = {{{{80, 100, 91, 123}, 43}, {{129, 96, 140, 118}, 55},
                                                            {{129, 67, 140, 89}, 55}}};

// Tab columns by position (top, bottom, left, right).
constexpr std::array<int, 4> kTabColumns = {68, 89, 131, 110};

std::optional<int> StateBoxRow(int variant) {
  switch (variant) {
    case 0:
      return 101;
    case 1:
    case 5:
      return 137;
    case 2:
      return 155;
    case 3:
    case 4:
      return 119;
    default:
      return std::nullopt;
  }
}

constexpr TRect kStatusBarPicture{60, 331, 128, 346};
constexpr TRect kSizeGripPicture{69, 279, 85, 296};
constexpr TRect kPanelSeparatorPicture{60, 348, 63, 363};
constexpr TRect kBandGripPicture{119, 58, 129, 64};
constexpr TRect kPanelPicture{153, 344, 168, 362};
constexpr int kMenuButtonSize = 19;

constexpr unsigned kDtLeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr unsigned kDtCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

}  // namespace

// --- life -------------------------------------------------------------------------------

TTeThemeLuna::TTeThemeLuna() : TTeThemeLuna(kLunaSkins) {}

TTeThemeLuna::TTeThemeLuna(const TTeSkinResources& skins) { LoadSkinsFrom(skins); }

TTeThemeLuna::~TTeThemeLuna() {
  secondarySkin_.reset();
  primarySkin_.reset();
}

void TTeThemeLuna::LoadSkins() { LoadSkinsFrom(kLunaSkins); }

namespace {

// The atlases as the skin generator draws them: every rectangle the style
// cuts lies within.
constexpr int kPrimaryWidth = 190, kPrimaryHeight = 372;
constexpr int kSecondaryWidth = 196, kSecondaryHeight = 435;

bool SkinsUsable(const TTeSkinResources& skins) {
  return IsSkinUsable(skins.primary, kPrimaryWidth, kPrimaryHeight) &&
         IsSkinUsable(skins.secondary, kSecondaryWidth, kSecondaryHeight);
}

// Loads one skin into the bitmap it already has, so that a reload keeps its
// DIB section: new pixel memory costs more to touch the first time than
// decoding a skin into it. Whatever cannot be loaded leaves the skin empty,
// as a new bitmap would be.
void LoadSkin(std::unique_ptr<TTeBitmap>& skin, const char* name, const TTePcxSkin& options) {
  const std::optional<std::span<const uint8_t>> bytes = FindSkin(name);
  if (!bytes || bytes->empty() || !IsPcxMarker((*bytes)[0])) {
    skin = std::make_unique<TTeBitmap>();
    return;
  }
  try {
    TCustomMemoryStream stream(bytes->data(), bytes->size());
    skin->LoadFromPcx(stream, options);
    if (skin->CachedBitmap()) skin->UpdateCachedBitmap();
  } catch (const Exception&) {
    skin = std::make_unique<TTeBitmap>();
  }
}

}  // namespace

bool TTeThemeLuna::IsThemeAvailable() { return SkinsUsable(kLunaSkins); }

void TTeThemeLuna::LoadSkinsFrom(const TTeSkinResources& skins) {
  // Decoded, keyed by a corner pixel's colour and tinted in one pass each.
  if (!primarySkin_) primarySkin_ = std::make_unique<TTeBitmap>();
  if (!secondarySkin_) secondarySkin_ = std::make_unique<TTeBitmap>();
  const auto [hue, brightness] = skinTint_;
  LoadSkin(primarySkin_, skins.primary, {true, false, hue, brightness});
  LoadSkin(secondarySkin_, skins.secondary, {true, skins.secondaryKeyBottomLeft, hue, brightness});
}

void TTeThemeLuna::UpdateColors() {
  {
    // Reloading keeps tints from accumulating.
    TScopedValue<std::pair<int, int>> tint(skinTint_, {DeltaHue(), DeltaBrightness()});
    LoadSkins();
  }
  // The framework copies follow the tinted pixels, as after the tint of
  // each skin one by one.
  for (TTeBitmap* skin : {primarySkin_.get(), secondarySkin_.get()})
    if (!skin->Empty() && !skin->CachedBitmap()) skin->UpdateCachedBitmap();
}

// --- colours, sizes, fonts ----------------------------------------------------------

int TTeThemeLuna::GetSize(TTeThemeSize kind) const { return kind < kSizes.size() ? kSizes[kind] : 0; }

TColor TTeThemeLuna::GetColor(TTeThemeColor kind) const { return AdjustColor(TableColor(kLuna, kind)); }

std::string TTeThemeLuna::GetFontName(TTeThemeFont) const { return "Tahoma"; }

int TTeThemeLuna::GetFontSize(TTeThemeFont kind) const { return kind == ktfCaption ? 10 : 8; }

TFontStyles TTeThemeLuna::GetFontStyle(TTeThemeFont kind) const {
  return kind == ktfCaption || kind == ktfToolCaption ? TFontStyles{fsBold} : TFontStyles{};
}

// --- window frame ---------------------------------------------------------------------

void TTeThemeLuna::DrawFormFrame(TCanvas& canvas, int width, int height, const TRect&, bool active,
                                 TTeBorderStyle borderStyle) {
  if (borderStyle == kbsStandard)
    DrawFramePieces(canvas, FrameSkin(active), frame::kStandardFrame, width, height);
  else if (borderStyle == kbsToolWindow)
    DrawFramePieces(canvas, FrameSkin(active), frame::kToolFrame, width, height);
}

HRGN TTeThemeLuna::GetFormRegion(int width, int height, TTeBorderStyle borderStyle) {
  HRGN region = CreateRectRgn(0, 0, width, height);
  if (!region || borderStyle != kbsStandard) return region;
  for (const TRect& cut : kLeftCornerCuts) {
    for (const TRect& r : {cut, TRect{width - cut.right, cut.top, width, cut.bottom}}) {
      TRegionHandle piece(CreateRectRgn(r.left, r.top, r.right, r.bottom));
      CombineRgn(region, region, piece.Get(), RGN_DIFF);
    }
  }
  return region;
}

void TTeThemeLuna::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeCaptionButton button, bool hot,
                                     bool pressed, bool active, TTeBorderStyle borderStyle) {
  if (button >= kCaptionButtonRows.size()) return;
  const int column = CaptionButtonColumn(hot, pressed);
  if (button == kcbClose && borderStyle == kbsToolWindow) {
    Copy(canvas, FrameSkin(active),
         Bounds(kToolCloseLeft + kToolButtonSize * column, kToolCloseRow, kToolButtonSize, kToolButtonSize),
         rect.left, rect.top, false);
    return;
  }
  if (button == kcbClose && borderStyle != kbsStandard) return;
  Copy(canvas, FrameSkin(active), Bounds(kButtonSize * column, kCaptionButtonRows[button], kButtonSize, kButtonSize),
       rect.left, rect.top, false);
}

// --- buttons and small controls ------------------------------------------------------

void TTeThemeLuna::DrawButton(TCanvas& canvas, int width, int height, uint8_t state) {
  if (state >= kPushButtonRows.size()) return;
  const int row = kPushButtonRows[state];
  NinePart(canvas, *primarySkin_, {70, row, 143, row + 21}, {0, 0, width, height}, 4, true);
}

void TTeThemeLuna::DrawCheckBox(TCanvas& canvas, const TRect& rect, TTeElementState state, TCheckBoxState check) {
  if (state > kesDisabled) return;
  const int row = 102 + 16 * state + (check == cbChecked ? 64 : check == cbGrayed ? 128 : 0);
  Copy(canvas, *primarySkin_, Bounds(171, row, 16, 16), rect.left, rect.top, true);
}

void TTeThemeLuna::DrawRadioButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool checked) {
  const int row = StateRow(102, 16, state) + (checked ? 64 : 0);
  Copy(canvas, *primarySkin_, Bounds(152, row, 16, 16), rect.left, rect.top, true);
}

void TTeThemeLuna::DrawSpeedButton(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat, bool down) {
  const std::optional<TPoint> face = SpeedButtonFace(state, flat, down);
  if (!face) return;
  // The picture of the other states is an outline on the key colour: its
  // edges and middle are keyed too, or the marker would show.
  const bool outlineOnly = *face == kSpeedOther;
  NinePart(canvas, *primarySkin_, Bounds(face->x, face->y, kSpeedFaceW, kSpeedFaceH), rect, 4, true, outlineOnly);
}

void TTeThemeLuna::DrawSpeedButtonChevron(TCanvas& canvas, const TRect& rect, TTeElementState state, bool flat,
                                          bool down) {
  DrawSpeedButton(canvas, rect, state, flat, down);
  const int row = StateRow(311, 3, state) + (down ? 12 : 0);
  CopyCentered(canvas, *primarySkin_, {60, row, 66, row + 3}, rect, true);
}

void TTeThemeLuna::DrawSpinButton(TCanvas& canvas, const TRect& rect, TTeElementState state, uint8_t) {
  const int row = StateRow(278, 14, state);
  NinePart(canvas, *primarySkin_, {132, row, 146, row + 14}, rect, 3, true);
}

void TTeThemeLuna::DrawComboButton(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  const int row = StateRow(248, 14, state);
  const int arrowRow = StateRow(314, 7, state);
  const TTeBitmap& skin = *primarySkin_;
  Copy(canvas, skin, {151, row, 166, row + 3}, rect.left, rect.top, false);
  Copy(canvas, skin, {151, row + 11, 166, row + 14}, rect.left, rect.bottom - 3, false);
  const TRect middle{rect.left, rect.top + 3, rect.right, rect.bottom - 3};
  Stretch(canvas, skin, {151, row + 3, 166, row + 11}, middle, false);
  CopyCentered(canvas, skin, {155, arrowRow, 165, arrowRow + 7}, middle, true);
}

void TTeThemeLuna::DrawGlyphButton(TCanvas& canvas, const TRect& rect, int glyph, TTeElementState state,
                                   bool second) {
  const int x = state == kesPressed ? 168 : state == kesHot ? 151 : 134;
  const int y = glyph == 1 ? 66 : second ? 49 : 32;
  Copy(canvas, *primarySkin_, Bounds(x, y, 17, 17), rect.left, rect.top, true);
}

void TTeThemeLuna::DrawMenuBarButton(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                                     bool hot) {
  if (!item) return;
  int x;
  switch (item->ButtonKind()) {
    case kibClose:
      x = 38;
      break;
    case kibRestore:
      x = 19;
      break;
    case kibMinimize:
      x = 0;
      break;
    case kibSystemMenu:
      FillRectColor(canvas, rect, GetColor(selected ? ktcMenuBarSelection : ktcMenu));
      return;
    default:
      return;
  }
  const int y = !selected ? 310 : hot ? 310 + kMenuButtonSize : 310 + 2 * kMenuButtonSize;
  CopyCentered(canvas, *primarySkin_, Bounds(x, y, kMenuButtonSize, kMenuButtonSize), rect, false);
}

// --- scroll bars, track bars, progress bars, tabs, panels ---------------------------------

void TTeThemeLuna::DrawScrollBarTrack(TCanvas& canvas, const TRect& rect, TScrollBarKind kind) {
  const TRect picture = kind == sbVertical ? TRect{37, 305, 54, 322} : TRect{19, 305, 36, 322};
  Stretch(canvas, *secondarySkin_, picture, rect, false);
}

void TTeThemeLuna::DrawScrollThumb(TCanvas& canvas, const TRect& rect, TScrollBarKind, TTeElementState state) {
  const int row = StateRow(305, 17, state);
  FramedNinePart(canvas, *secondarySkin_, {1, row, 18, row + 17}, rect, 3);
}

void TTeThemeLuna::DrawScrollButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first,
                                    TTeElementState state) {
  DrawScrollThumb(canvas, rect, vertical ? sbVertical : sbHorizontal, state);
  const int x = vertical ? (first ? 2 : 20) : (first ? 11 : 29);
  const int y = StateRow(375, 9, state);
  CopyCentered(canvas, *secondarySkin_, Bounds(x, y, 9, 9), rect, true);
}

void TTeThemeLuna::DrawTrackBarThumb(TCanvas& canvas, const TRect& rect, bool vertical, int shape,
                                     TTeElementState state) {
  if (shape < 0 || shape > 2) return;
  const TThumbPictures& pictures = (vertical ? kLyingThumbs : kUprightThumbs)[static_cast<size_t>(shape)];
  const TRect picture = pictures.first.Offset(0, pictures.step * ThumbIndex(state));
  Copy(canvas, *secondarySkin_, picture, rect.left, rect.top, true);
}

void TTeThemeLuna::DrawTrackBarTrack(TCanvas& canvas, const TRect& rect, const TRect& selectionRect) {
  FillRectColor(canvas, rect, GetColor(ktcWindow));
  Frame3D(canvas, rect, clBtnShadow, clBtnHighlight);
  if (!RectIsEmpty(selectionRect)) FillRectColor(canvas, InflatedRect(selectionRect, -1), kProgressSelection);
}

void TTeThemeLuna::DrawProgressBarFrame(TCanvas& canvas, const TRect& rect) {
  RoundFrame(canvas, rect, 3, GetColor(ktcFrame));
  FillRectColor(canvas, InflatedRect(rect, -1), GetColor(ktcWindow));
}

void TTeThemeLuna::DrawProgressBar(TCanvas& canvas, const TRect& rect, const TRect& barRect, bool vertical,
                                   bool smooth) {
  const TColor color = GetColor(ktcSelection);
  for (const TRect& block : ProgressBlocks(rect, barRect, vertical, smooth)) FillRectColor(canvas, block, color);
}

void TTeThemeLuna::DrawTab(TCanvas& canvas, const TRect& rect, TTabPosition position, TTeElementState state) {
  if (position >= kTabColumns.size()) return;
  TRect picture;
  if (state == kesNormal)
    picture = Bounds(kTabColumns[position], 365, 21, 21);
  else if (state == kesHot)
    picture = Bounds(kTabColumns[position], 344, 21, 21);
  else if (state == 4)
    picture = {69, 386, 87, 407};
  else
    return;
  NinePart(canvas, *secondarySkin_, picture, rect, 4, true);
}

void TTeThemeLuna::DrawPanel(TCanvas& canvas, const TRect& rect) {
  NinePart(canvas, *secondarySkin_, kPanelPicture, rect, 4, false);
}

void TTeThemeLuna::DrawStateBox(TCanvas& canvas, const TRect& rect, uint8_t, int variant) {
  const std::optional<int> row = StateBoxRow(variant);
  if (!row) return;
  FramedNinePart(canvas, *secondarySkin_, {103, *row, 121, *row + 18}, rect, 4);
}

// --- status bar --------------------------------------------------------------------

void TTeThemeLuna::DrawStatusBar(TCanvas& canvas, const TRect& rect) {
  Stretch(canvas, *primarySkin_, kStatusBarPicture, rect, false);
}

void TTeThemeLuna::DrawSizeGrip(TCanvas& canvas, const TRect& rect) {
  Stretch(canvas, *primarySkin_, kSizeGripPicture, rect, true);
}

void TTeThemeLuna::DrawStatusPanel(TCanvas& canvas, const TRect& rect, TTeStatusPanel* panel) {
  if (panel && panel->StatusBar()) {
    const TControl& bar = *panel->StatusBar();
    Stretch(canvas, *primarySkin_, kStatusBarPicture, {0, 0, bar.Width(), bar.Height()}, false);
  }
  Stretch(canvas, *primarySkin_, kPanelSeparatorPicture, {rect.right - 3, rect.top, rect.right, rect.bottom}, true);
}

// --- plain-painted elements ------------------------------------------------------------

void TTeThemeLuna::DrawListBorder(TCanvas& canvas, const TRect& rect, TTeElementState state) {
  if (state == kesDisabled)
    DrawNestedBorder(canvas, rect, GetColor(ktcDisabledFace), GetColor(ktcDisabledFrame), 8);
  else
    DrawNestedBorder(canvas, rect, GetColor(ktcWindow), GetColor(ktcFrame), 8);
}

void TTeThemeLuna::DrawScrollBoxBorder(TCanvas& canvas, const TRect& rect, bool enabled) {
  if (enabled)
    DrawNestedBorder(canvas, rect, GetColor(ktcFace), GetColor(ktcFrame), 9);
  else
    DrawNestedBorder(canvas, rect, GetColor(ktcDisabledFace), GetColor(ktcDisabledFrame), 9);
}

void TTeThemeLuna::DrawEdit(TCanvas& canvas, const TRect& rect, bool, uint8_t) {
  RoundFill(canvas, rect, 6, GetColor(ktcWindow));
  RoundFrame(canvas, rect, 6, GetColor(ktcFrame));
  const TRect lower{rect.left, rect.top + 20, rect.right, rect.bottom};
  OutlineRect(canvas, lower, GetColor(ktcFrame));
  TRect inside = InflatedRect(lower, -1);
  inside.top -= 3;
  FillRectColor(canvas, inside, GetColor(ktcWindow));
}

void TTeThemeLuna::DrawHeader(TCanvas& canvas, const TRect& rect, const std::string& text) {
  MoveTo(canvas, rect.left, rect.bottom);
  LineTo(canvas, rect.right, rect.bottom, GetColor(ktcFrame));
  const TColor light = GetColor(ktcHeaderLight), dark = GetColor(ktcHeaderDark);
  GradientFill(canvas, {rect.left + 1, rect.top, rect.right - 1, rect.top + 1}, light, dark, false);
  GradientFill(canvas, {rect.left, rect.top + 1, rect.right, rect.top + 2}, light, dark, false);
  GradientFill(canvas, {rect.left, rect.top + 2, rect.right, rect.bottom}, light, dark, false);
  SetThemeFont(canvas, *this, ktfHeader);
  canvas.Font()->SetColor(GetColor(ktcHeaderText));
  DrawTextEx(canvas, text, TRect{rect.left + 5, rect.top, rect.right - 5, rect.bottom},
             DrawTextBiDiModeFlags(kDtLeftMiddle));
}

void TTeThemeLuna::DrawGroupBox(TCanvas& canvas, const TRect& rect, const TRect& captionRect,
                                const std::string& caption) {
  DrawCutCornerGroupBox(*this, canvas, rect, captionRect, caption, GetColor(ktcFrame));
}

void TTeThemeLuna::DrawControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
}

void TTeThemeLuna::DrawMenuBarOnControlBar(TCanvas& canvas, const TRect& rect) {
  FillRectColor(canvas, rect, GetColor(ktcFace));
}

void TTeThemeLuna::DrawControlBand(TCanvas& canvas, const TRect& rect, const TRect& gripRect) {
  const TColor face = GetColor(ktcFace);
  FillRectColor(canvas, rect, face);
  Frame3D(canvas, rect, Lighten(face, 50), Darken(face, 50));
  primarySkin_->Tile(canvas, gripRect, kBandGripPicture, true);
}

void TTeThemeLuna::DrawListItem(TCanvas& canvas, const TRect& rect, uint8_t flags) {
  if (flags & 4) {
    const TRect grown = InflatedRect(rect, 1);
    FillRectColor(canvas, grown, GetColor(ktcFace));
    OutlineRect(canvas, grown, GetColor(ktcMenuItemSelection));
    return;
  }
  FillRectColor(canvas, rect, GetColor((flags & 2) ? ktcSelection : (flags & 1) ? ktcHotFace : ktcWindow));
}

void TTeThemeLuna::DrawSplitter(TCanvas& canvas, const TRect& rect, bool hot, bool) {
  FillRectColor(canvas, rect, GetColor(hot ? ktcHotFace : ktcFace));
}

// --- menus --------------------------------------------------------------------------

void TTeThemeLuna::MeasureMenuBarItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasureMenuBarItemOf(*this, canvas, item, width, height);
}

void TTeThemeLuna::MeasurePopupItem(TCanvas& canvas, TTeCustomItem* item, int& width, int& height) {
  MeasurePopupItemOf(*this, canvas, item, width, height);
}

void TTeThemeLuna::DrawMenuBar(TCanvas& canvas, int width, int height) {
  FillRectColor(canvas, {0, 0, width, height}, GetColor(ktcMenu));
}

void TTeThemeLuna::DrawPopupMenu(TCanvas& canvas, int width, int height) {
  const TRect rect{0, 0, width, height};
  OutlineRect(canvas, rect, GetColor(ktcMenuArrow));
  const TColor inner = GetColor(ktcMenuItem);
  Frame3D(canvas, InflatedRect(rect, -1), inner, inner);
  Frame3D(canvas, InflatedRect(rect, -2), inner, inner);
}

void TTeThemeLuna::DrawMenuBarItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected,
                                   bool hot) {
  if (!item) return;
  SetThemeFont(canvas, *this, ktfMenuBar);
  FillRectColor(canvas, rect, GetColor(item->OnControlBar() ? ktcFace : ktcMenu));
  const TRect inner = InflatedRect(rect, -1);
  if (!selected) {
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else if (item->OnControlBar()) {
    DrawSpeedButton(canvas, inner, hot ? kesNormal : kesPressed, false, false);
    canvas.Font()->SetColor(GetColor(ktcMenuBarText));
  } else {
    FillRectColor(canvas, inner, GetColor(ktcMenuBarSelection));
    canvas.Font()->SetColor(GetColor(ktcMenuBarSelectedText));
    OutlineRect(canvas, inner, GetColor(ktcMenuArrow));
  }
  DrawTextEx(canvas, item->Caption(), inner, DrawTextBiDiModeFlags(kDtCentred));
}

void TTeThemeLuna::DrawPopupItem(TCanvas& canvas, TTeCustomItem* item, const TRect& rect, bool selected, uint8_t) {
  if (DrawPopupItemBase(*this, canvas, item, rect, selected) && item->Count() > 0)
    DrawFrameControlGlyph(canvas, {rect.right - 24, rect.top, rect.right - 2, rect.bottom}, DFC_MENU,
                          DFCS_MENUARROW, clBlack);
}

void TTeThemeLuna::DrawPopupScrollButton(TCanvas& canvas, const TRect& rect, int direction, bool hot) {
  const TColor text = GetColor(ktcMenuItemText);
  const TColor back = GetColor(ktcMenuItem);
  canvas.Font()->SetColor(text);
  FillRectColor(canvas, rect, back);
  if (hot) Frame3D(canvas, rect, Darken(back, 60), Lighten(back, 60));
  const TRect box = CenterRect(Bounds(0, 0, 7, 4), rect);
  const int middle = (box.left + box.right - 1) / 2;
  std::array<TPoint, 3> triangle;
  if (direction == 1)
    triangle = {{{box.left, box.bottom - 1}, {box.right - 1, box.bottom - 1}, {middle, box.top}}};
  else if (direction == 2)
    triangle = {{{box.left, box.top}, {box.right - 1, box.top}, {middle, box.bottom - 1}}};
  else
    return;
  FillPolygon(canvas, triangle, text);
}

// --- Metal Luna ----------------------------------------------------------------------

TTeThemeMetalLuna::TTeThemeMetalLuna() : TTeThemeLuna(kMetalLunaSkins) {}

bool TTeThemeMetalLuna::IsThemeAvailable() { return SkinsUsable(kMetalLunaSkins); }

TColor TTeThemeMetalLuna::GetColor(TTeThemeColor kind) const {
  return AdjustColor(TableColor(kMetalLuna, kind));
}

void TTeThemeMetalLuna::LoadSkins() { LoadSkinsFrom(kMetalLunaSkins); }

void RegisterSkinnedStyles() {
  RegisterThemeClass(ThemeClassOf<TTeThemeLuna>(), kThemePosLuna);
  RegisterThemeClass(ThemeClassOf<TTeThemeMetalLuna>(), kThemePosMetalLuna);
}

}  // namespace hv
