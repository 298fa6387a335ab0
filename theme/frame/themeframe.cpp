// TTeThemeForm: the frame measured, shaped and painted by the style of a
// theme engine, each part falling back to the system look while no style
// paints.

#include <windows.h>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "theme/core/colors.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/themeitem.h"
#include "theme/frame/themeform.h"

namespace hv {

TTeThemeForm::TTeThemeForm(TComponent* owner) : TTeCustomForm(owner) { SetActive(true); }

TTeThemeForm::~TTeThemeForm() { Destroying(); }

void TTeThemeForm::Loaded() {
  TTeCustomForm::Loaded();
  ApplyThemeToChildren();
}

void TTeThemeForm::SetThemeEngine(TTeThemeEngine* value) {
  if (value == themeEngine_) return;
  if (themeEngine_) RemoveFreeNotification(themeEngine_);
  themeEngine_ = value;
  if (value) FreeNotification(value);
  // While loading, the loaded step measures once everything is read.
  if (IsDestroying() || IsLoading() || !OwnerForm()) return;
  UpdateFrame();
  ApplyThemeToChildren();
}

void TTeThemeForm::Notification(TComponent* component, TOperation operation) {
  TTeCustomForm::Notification(component, operation);
  if (operation == TOperation::opRemove && component == themeEngine_) themeEngine_ = nullptr;
}

std::unique_ptr<TTeCustomItem> TTeThemeForm::CreateMenuItem() {
  auto item = std::make_unique<TTeThemeItem>(nullptr);
  item->SetThemeEngine(themeEngine_);
  return item;
}

TTeTheme* TTeThemeForm::Theme() const {
  return themeEngine_ && themeEngine_->ThemeAvailable() ? themeEngine_->Theme() : nullptr;
}

void TTeThemeForm::ThemeEngineChanged(TTeThemeEngine& engine) {
  UpdateFrame();
  RefreshFrame();
  if (TCustomForm* form = OwnerForm(); form && !IsLoading() && !IsDestroying())
    engine.Theme()->SetBiDiMode(form->BiDiMode());
  ApplyThemeToChildren();
}

void TTeThemeForm::ApplyThemeToChildren() {
  TCustomForm* form = OwnerForm();
  if (!form) return;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(form->Components(i))) control->Invalidate();
}

TThemeFrameSizes TTeThemeForm::Sizes(const TTeTheme& theme) const {
  TThemeFrameSizes m;
  m.border = theme.GetSize(ktsBorder);
  m.toolBorder = theme.GetSize(ktsToolBorder);
  m.caption = theme.GetSize(ktsCaption);
  m.toolCaption = theme.GetSize(ktsToolCaption);
  m.captionCorner = theme.GetSize(ktsCaptionCorner);
  m.buttonWidth = theme.GetSize(ktsButtonWidth);
  m.buttonHeight = theme.GetSize(ktsButtonHeight);
  m.toolButtonWidth = theme.GetSize(ktsToolButtonWidth);
  m.toolButtonHeight = theme.GetSize(ktsToolButtonHeight);
  m.buttonMargin = theme.GetSize(ktsButtonMargin);
  m.buttonTop = theme.GetSize(ktsButtonTop);
  m.buttonSpacing = theme.GetSize(ktsButtonSpacing);
  m.toolButtonMargin = theme.GetSize(ktsToolButtonMargin);
  m.toolButtonTop = theme.GetSize(ktsToolButtonTop);
  return m;
}

HRGN TTeThemeForm::CreateFrameRegion() {
  TTeTheme* theme = Theme();
  if (!theme || MdiChildMaximized()) return TTeCustomForm::CreateFrameRegion();
  if (HRGN region = theme->GetFormRegion(FrameWidth(), FrameHeight(), BorderStyle())) return region;
  return CreateRectRgn(0, 0, FrameWidth(), FrameHeight());
}

TRect TTeThemeForm::GetButtonRect(TTeBorderIcon icon) {
  TTeTheme* theme = Theme();
  if (!theme) return TTeCustomForm::GetButtonRect(icon);
  return ThemeButtonRect(Sizes(*theme), Shape(), icon);
}

TRect TTeThemeForm::GetFrameClientRect() {
  TTeTheme* theme = Theme();
  if (!theme) return TTeCustomForm::GetFrameClientRect();
  return ThemeClientRect(Sizes(*theme), SystemFrameMetrics(), Shape());
}

TRect TTeThemeForm::GetMaximizedRect() {
  // A style's borders stay inside the work area.
  if (Theme()) return MaximizedArea(0);
  return TTeCustomForm::GetMaximizedRect();
}

int TTeThemeForm::HitTest(int x, int y) {
  const int code = TTeCustomForm::HitTest(x, y);
  TTeTheme* theme = Theme();
  if (!theme) return code;
  const int border = theme->GetSize(BorderStyle() == kbsToolWindow ? ktsToolBorder : ktsBorder);
  return NarrowTopZone(code, {x, y}, GetFrameClientRect(), border);
}

void TTeThemeForm::PaintBackground() {
  const TTeThemePainting painting;
  if (TTeTheme* theme = Theme())
    FillBackground(theme->GetColor(ktcFace));
  else
    TTeCustomForm::PaintBackground();
}

void TTeThemeForm::PaintFrame(TCanvas& canvas) {
  const TTeThemePainting painting;
  TTeTheme* theme = Theme();
  if (!theme) {
    TTeCustomForm::PaintFrame(canvas);
    return;
  }
  const TRect band = ThemeCaptionBand(Sizes(*theme), Shape());
  const TRect client = GetFrameClientRect();
  PaintWithCaptionStrip(
      canvas, band.bottom,
      [&](TCanvas& c) { theme->DrawFormFrame(c, FrameWidth(), FrameHeight(), client, FrameActive(), BorderStyle()); },
      [&](TCanvas& c) { PaintThemeCaption(c, *theme, band); });
}

void TTeThemeForm::PaintThemeCaption(TCanvas& canvas, TTeTheme& theme, const TRect& band) {
  const bool tool = BorderStyle() == kbsToolWindow;
  const TThemeFrameSizes m = Sizes(theme);
  if (OwnerForm()) {
    const TTeThemeFont kind = tool ? ktfToolCaption : ktfCaption;
    TFont font;
    font.Assign(tool ? &SmallCaptionFont() : &CaptionFont());
    font.SetName(theme.GetFontName(kind));
    font.SetSize(theme.GetFontSize(kind));
    font.SetStyle(theme.GetFontStyle(kind));
    TColor shadow = theme.GetColor(ktcCaptionTextShadow);
    if (shadow != -1) {
      // Dark caption text gets a shadow that can still be seen.
      const TARGB text = ColorToARGB(theme.GetColor(ktcActiveCaptionText));
      if (RedOf(text) < 20 && GreenOf(text) < 20 && BlueOf(text) < 20) shadow = clBtnShadow;
    }
    PaintCaptionText(canvas, band, font, theme.GetColor(FrameActive() ? ktcActiveCaptionText : ktcInactiveCaptionText),
                     theme.HasCaptionShadow(), shadow, m.buttonWidth, m.toolButtonWidth,
                     theme.ThemeClass()->GetName() == "XP ThemeAPI");
  }
  for (TTeBorderIcon icon : {kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray}) {
    if (tool && icon != kbiClose) continue;
    const TRect r = GetButtonRect(icon);
    if (r.IsEmpty()) continue;
    if (icon == kbiSystemMenu) {
      PaintSystemMenuIcon(canvas, r);
      continue;
    }
    const TCaptionButtonLook look =
        CaptionButtonLook(HitCodeOfIcon(icon), PressedCode(), HotCode(), LeftHeld(), Moving());
    theme.DrawCaptionButton(canvas, r, CaptionGlyph(icon, WindowState()), look.hot, look.pressed, FrameActive(),
                            BorderStyle());
  }
}

void TTeThemeForm::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeForm::ThemeEngine, &TTeThemeForm::SetThemeEngine);
  p.String("Version", &TTeThemeForm::Version, &TTeThemeForm::SetVersion, std::nullopt);
}

}  // namespace hv
