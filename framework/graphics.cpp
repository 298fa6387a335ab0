#include "framework/graphics.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <utility>

#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

TColor ColorToRGB(TColor color) {
  if (color < 0) return static_cast<TColor>(GetSysColor(color & 0xFF));
  return color;
}

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    TScreenDC screen;
    int value = GetDeviceCaps(screen, LOGPIXELSY);
    return value > 0 ? value : 96;
  }();
  return ppi;
}

namespace {
constexpr std::array<std::pair<TFontCharset, std::string_view>, 19> kCharsets{{
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
}};
}  // namespace

std::optional<TFontCharset> IdentToCharset(std::string_view ident) {
  for (const auto& [value, name] : kCharsets)
    if (SameText(name, ident)) return value;
  if (SameText(ident, "HANGUL_CHARSET")) return static_cast<TFontCharset>(HANGUL_CHARSET);
  return std::nullopt;
}

std::optional<std::string_view> CharsetToIdent(TFontCharset charset) {
  for (const auto& [value, name] : kCharsets)
    if (value == charset) return name;
  return std::nullopt;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// TFont

TFont::TFont() : name_("MS Sans Serif"), height_(-MulDiv(8, ScreenPixelsPerInch(), 72)) {}

TFont::~TFont() = default;

void TFont::HandleChanged() {
  // Whoever selected the old handle lets go of it in OnChange; only then may it die.
  TFontHandle old = std::move(handle_);
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW font{};
    font.lfHeight = height_;
    font.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style_.Contains(fsItalic);
    font.lfUnderline = style_.Contains(fsUnderline);
    font.lfStrikeOut = style_.Contains(fsStrikeOut);
    font.lfCharSet = charset_;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::wstring face = Widen(name_);
    face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
    std::wmemcpy(font.lfFaceName, face.c_str(), face.size() + 1);
    handle_.Reset(GdiCheck(CreateFontIndirectW(&font)));
  }
  return handle_.Get();
}

void TFont::SetHandle(HFONT font) {
  if (font == handle_.Get()) return;
  LOGFONTW info{};
  if (!font || GetObjectW(font, sizeof info, &info) != sizeof info) throw EInvalidGraphic("Invalid font handle");
  name_ = Narrow(std::wstring_view(info.lfFaceName, wcsnlen(info.lfFaceName, LF_FACESIZE)));
  height_ = info.lfHeight;
  style_ = TFontStyles();
  if (info.lfWeight >= FW_BOLD) style_.Include(fsBold);
  if (info.lfItalic) style_.Include(fsItalic);
  if (info.lfUnderline) style_.Include(fsUnderline);
  if (info.lfStrikeOut) style_.Include(fsStrikeOut);
  charset_ = info.lfCharSet;
  int pitch = info.lfPitchAndFamily & 3;
  pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  TFontHandle old = std::exchange(handle_, TFontHandle(font));
  Changed();
}

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == name_) return;
  name_ = name;
  HandleChanged();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  HandleChanged();
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  HandleChanged();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  HandleChanged();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  HandleChanged();
}

void TFont::Assign(const TPersistent* source) {
  auto font = dynamic_cast<const TFont*>(source);
  if (!font) return TGraphicsObject::Assign(source);
  if (font == this) return;
  bool same = name_ == font->name_ && height_ == font->height_ && style_ == font->style_ &&
              charset_ == font->charset_ && pitch_ == font->pitch_;
  if (same && color_ == font->color_) return;
  name_ = font->name_;
  height_ = font->height_;
  style_ = font->style_;
  color_ = font->color_;
  charset_ = font->charset_;
  pitch_ = font->pitch_;
  if (same)
    Changed();
  else
    HandleChanged();
}

void TFont::PublishProperties(TPropertyList& properties) {
  // The character set reads as a number or a platform name and is written by
  // name where it has one.
  TPropInfo& charset = properties.Integer("Charset", &TFont::Charset, &TFont::SetCharset, int64_t{DEFAULT_CHARSET});
  for (const auto& [value, name] : kCharsets) charset.idents.emplace_back(value, name);
  charset.idents.emplace_back(HANGUL_CHARSET, "HANGUL_CHARSET");
  charset.set = [&charset](TObject& o, const TValue& v) {
    int64_t value = TPropertyList::AsInteger(charset, v);
    if (value < 0 || value > 255) InvalidPropertyValue(charset.name);
    static_cast<TFont&>(o).SetCharset(static_cast<TFontCharset>(value));
  };
  properties.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
  properties.Integer("Height", &TFont::Height, &TFont::SetHeight);
  properties.String("Name", &TFont::Name, &TFont::SetName, std::nullopt);
  properties.Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, {"fpDefault", "fpVariable", "fpFixed"},
                  std::optional<TFontPitch>(fpDefault));
  properties.Set("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

// ---------------------------------------------------------------------------
// TPen

TPen::TPen() = default;
TPen::~TPen() = default;

void TPen::HandleChanged() {
  TPenHandle old = std::move(handle_);
  Changed();
}

HPEN TPen::Handle() const {
  if (!handle_) {
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_.Reset(GdiCheck(CreatePen(kStyles[style_], width_, static_cast<COLORREF>(ColorToRGB(color_)))));
  }
  return handle_.Get();
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  HandleChanged();
}

void TPen::SetWidth(int width) {
  if (width < 0) width = 0;
  if (width == width_) return;
  width_ = width;
  HandleChanged();
}

void TPen::SetStyle(TPenStyle style) {
  if (style > psInsideFrame) InvalidPropertyValue("Style");
  if (style == style_) return;
  style_ = style;
  HandleChanged();
}

void TPen::SetMode(TPenMode mode) {
  if (mode > pmNotXor) InvalidPropertyValue("Mode");
  if (mode == mode_) return;
  mode_ = mode;
  Changed();
}

void TPen::Assign(const TPersistent* source) {
  auto pen = dynamic_cast<const TPen*>(source);
  if (!pen) return TGraphicsObject::Assign(source);
  if (pen == this) return;
  bool same = color_ == pen->color_ && width_ == pen->width_ && style_ == pen->style_;
  if (same && mode_ == pen->mode_) return;
  color_ = pen->color_;
  width_ = pen->width_;
  style_ = pen->style_;
  mode_ = pen->mode_;
  if (same)
    Changed();
  else
    HandleChanged();
}

void TPen::PublishProperties(TPropertyList& properties) {
  properties.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
  properties.Enum(
      "Mode", &TPen::Mode, &TPen::SetMode,
      {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen",
       "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"},
      std::optional<TPenMode>(pmCopy));
  properties.Enum("Style", &TPen::Style, &TPen::SetStyle,
                  {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
                  std::optional<TPenStyle>(psSolid));
  properties.Integer("Width", &TPen::Width, &TPen::SetWidth, 1);
}

// ---------------------------------------------------------------------------
// TBrush

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::HandleChanged() {
  TBrushHandle old = std::move(handle_);
  Changed();
}

HBRUSH TBrush::Handle() const {
  if (!handle_) {
    COLORREF color = static_cast<COLORREF>(ColorToRGB(color_));
    static constexpr int kHatches[] = {0,        0,           HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                                       HS_CROSS, HS_DIAGCROSS};
    if (bitmap_ && !bitmap_->Empty())
      handle_.Reset(GdiCheck(CreatePatternBrush(bitmap_->Handle())));
    else if (style_ == bsClear)
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else if (style_ == bsSolid)
      handle_.Reset(GdiCheck(CreateSolidBrush(color)));
    else
      handle_.Reset(GdiCheck(CreateHatchBrush(kHatches[style_], color)));
  }
  return handle_.Get();
}

void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  // A colour asks for a solid fill, as one would expect after a clear one.
  if (style_ == bsClear) style_ = bsSolid;
  HandleChanged();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style > bsDiagCross) InvalidPropertyValue("Style");
  if (style == style_) return;
  style_ = style;
  HandleChanged();
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
  if (bitmap == bitmap_.get() || (!bitmap && !bitmap_)) return;
  if (bitmap) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    bitmap_ = std::move(copy);
  } else {
    bitmap_.reset();
  }
  HandleChanged();
}

void TBrush::Assign(const TPersistent* source) {
  auto brush = dynamic_cast<const TBrush*>(source);
  if (!brush) return TGraphicsObject::Assign(source);
  if (brush == this) return;
  if (color_ == brush->color_ && style_ == brush->style_ && !bitmap_ && !brush->bitmap_) return;
  color_ = brush->color_;
  style_ = brush->style_;
  if (brush->bitmap_) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(brush->bitmap_.get());
    bitmap_ = std::move(copy);
  } else {
    bitmap_.reset();
  }
  HandleChanged();
}

void TBrush::PublishProperties(TPropertyList& properties) {
  properties.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
  properties.Enum(
      "Style", &TBrush::Style, &TBrush::SetStyle,
      {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"},
      std::optional<TBrushStyle>(bsSolid));
}

// ---------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace hv
