#include "pageview/pagefonts.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

#include "framework/winstring.h"
#include "pageview/pageimages.h"

namespace hv {

namespace {

// Chinese characters need more pixels than Latin letters to keep all their
// strokes; below this the CJK faces at hand (Wine's WenQuanYi Zen Hei in
// particular) drop strokes and the text turns unreadable.
constexpr int kMinWidePixels = 14;

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Whether asking for `face` gets that face, not a stand-in. Wine answers a
// face it lacks with whatever fontconfig offers: its Tahoma is a CJK face
// without a bullet, its Courier New a proportional one, which would put
// preformatted text out of its columns.
bool FontIsItself(HDC dc, const wchar_t* face) {
  if (!FontInstalled(dc, face)) return false;
  LOGFONTW lf{};
  lf.lfHeight = -13;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  TFontHandle font(CreateFontIndirectW(&lf));
  if (!font) return false;
  TSelectObject selected(dc, font.Get());
  wchar_t got[LF_FACESIZE] = {};
  return GetTextFaceW(dc, LF_FACESIZE, got) > 0 && _wcsicmp(got, face) == 0;
}

// The first of `faces` the system really has, or an empty name.
std::wstring FirstRealFace(HDC dc, std::initializer_list<const wchar_t*> faces) {
  for (const wchar_t* face : faces)
    if (FontIsItself(dc, face)) return face;
  return {};
}

}  // namespace

TPageFonts::TPageFonts() {
  HDC screen = GetDC(nullptr);
  dpi_ = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;
  face_ = FirstRealFace(dc_.Get(), {L"Tahoma", L"Verdana", L"DejaVu Sans", L"Liberation Sans", L"Arial"});
  if (face_.empty()) {
    LOGFONTW gui{};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui)) face_ = gui.lfFaceName;
  }
  // Without any of these the font mapper answers the usual name as best it can.
  monoFace_ = FirstRealFace(dc_.Get(), {L"Courier New", L"DejaVu Sans Mono", L"Liberation Mono", L"Consolas"});
  if (monoFace_.empty()) monoFace_ = L"Courier New";
  serifFace_ = FirstRealFace(dc_.Get(), {L"Times New Roman", L"DejaVu Serif", L"Liberation Serif", L"Georgia"});
  if (serifFace_.empty()) serifFace_ = L"Times New Roman";
}

void TPageFonts::SetZoom(int percent) {
  if (percent == zoom_) return;
  zoom_ = percent;
  entries_.clear();
}

void TPageFonts::Trim() {
  if (entries_.size() > kMaxFonts) entries_.clear();
}

// Wine maps SimSun to the CJK face the system has.
HFONT TPageFonts::Get(const html::RunStyle& style, bool wide, bool underline) {
  int pixels = style.Pixels();
  if (wide) pixels = std::max(pixels, kMinWidePixels);
  const Key key{pixels, style.bold, style.italic, style.monospace, style.serif, wide, underline};
  for (const Entry& e : entries_)
    if (e.key == key) return e.font.Get();
  LOGFONTW lf{};
  lf.lfHeight = -std::max(1, MulDiv(pixels, dpi_ * zoom_, 96 * 100));
  lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.italic;
  lf.lfUnderline = underline;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  const wchar_t* face = face_.c_str();
  if (wide) {
    lf.lfCharSet = GB2312_CHARSET;
    face = L"SimSun";
  } else if (style.monospace) {
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    face = monoFace_.c_str();
  } else if (style.serif) {
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    face = serifFace_.c_str();
  } else {
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  }
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  TFontHandle font(CreateFontIndirectW(&lf));
  HFONT result = font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (font) entries_.push_back(Entry{key, std::move(font)});
  return result;
}

TSize TPageMeasurer::ImageSize(std::string_view src) {
  CheckWanted();
  return images_ ? images_->Size(src) : TSize{};
}

std::wstring DisplayText(std::string_view utf8) {
  std::wstring text = Widen(utf8);
  std::replace(text.begin(), text.end(), L'\u00A0', L' ');
  return text;
}

int TPageMeasurer::TextWidth(std::string_view utf8, const html::RunStyle& style) {
  CheckWanted();
  std::wstring text = DisplayText(utf8);
  if (text.empty() || text.size() > INT_MAX) return 0;
  TSelectObject font(fonts_.Dc(), fonts_.Get(style, html::HasWideChars(utf8), false));
  SIZE size{};
  GetTextExtentPoint32W(fonts_.Dc(), text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

html::FontMetrics TPageMeasurer::Metrics(const html::RunStyle& style) {
  CheckWanted();
  int ascent = 0, descent = 0, leading = 0;
  for (bool wide : {false, true}) {
    TSelectObject font(fonts_.Dc(), fonts_.Get(style, wide, false));
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(fonts_.Dc(), &tm)) continue;
    ascent = std::max<int>(ascent, tm.tmAscent);
    descent = std::max<int>(descent, tm.tmDescent);
    leading = std::max<int>(leading, tm.tmExternalLeading);
  }
  return html::FontMetrics{ascent + descent + leading, ascent + leading / 2};
}

}  // namespace hv
