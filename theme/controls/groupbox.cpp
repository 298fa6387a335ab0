#include "theme/controls/groupbox.h"

#include <windows.h>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/winstring.h"
#include "theme/controls/checkbox.h"
#include "theme/controls/markcontrol.h"
#include "theme/core/drawing.h"
#include "theme/core/text.h"
#include "theme/core/themeengine.h"
#include "theme/core/visualstyles.h"
// After <windows.h> and <uxtheme.h>, which it needs.
#include <vssym32.h>

namespace hv {

namespace {
// Centred, vertically centred, one line.
constexpr unsigned kCaptionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}  // namespace

TSize MeasureCaption(const TFont& font, std::string_view text) {
  TMemoryDC dc;
  TCanvas canvas;
  TCanvasPaintScope scope(canvas, dc);
  canvas.SetFont(&font);
  return {TextWidthEx(canvas, text, 0), TextHeightEx(canvas, text)};
}

// ---- TTeCustomGroupBox -----------------------------------------------------

TTeCustomGroupBox::TTeCustomGroupBox(TComponent* owner) : TTeCustomControl(owner) {
  SetControlStyle(ControlStyle().Include(csAcceptsControls).Include(csClickEvents).Include(csDoubleClicks));
  SetTransparent(false);
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 100, 90);
}

TTeCustomGroupBox::~TTeCustomGroupBox() {
  Destroying();
  DestroyComponents();
}

void TTeCustomGroupBox::SetCaptionMargin(int value) {
  if (value == captionMargin_) return;
  captionMargin_ = value;
  if (UseCheckBox()) PositionCheckBox();
  Invalidate();
}

void TTeCustomGroupBox::SetUseCheckBox(bool value) {
  if (value == useCheckBox_ && (value == (checkBox_ != nullptr))) return;
  useCheckBox_ = value;
  ApplyUseCheckBox();
}

void TTeCustomGroupBox::ApplyUseCheckBox() {
  if (useCheckBox_) {
    if (!checkBox_) checkBox_ = CreateCheckBox();
    checkBox_->SetParent(this);
    checkBox_->OnClick = [this](TObject* sender) { CheckBoxClick(sender); };
    checkBox_->SetAlignment(checkBoxAlignment_);
    checkBox_->SetChecked(checked_);
    checkBox_->SetTop(0);
    checkBox_->SetCaption(Caption());
    PositionCheckBox();
  } else if (checkBox_) {
    std::exchange(checkBox_, nullptr)->Free();
  }
  // The framework's own enabled state follows what Enabled reports.
  if (inherited::Enabled() != Enabled()) inherited::SetEnabled(Enabled());
  Realign();
  Invalidate();
}

TTeCustomCheckBox* TTeCustomGroupBox::CreateCheckBox() { return TComponent::Create<TTeCustomCheckBox>(this); }

void TTeCustomGroupBox::PositionCheckBox() {
  if (!checkBox_) return;
  const TSize text = MeasureCaption(*checkBox_->PaintFont(), checkBox_->Caption());
  const int width = GroupBoxCheckBoxWidth(Width(), captionMargin_, checkBox_->GetMarkSize().cx,
                                          checkBox_->Spacing(), text.cx);
  checkBox_->SetBounds(captionMargin_, checkBox_->Top(), width, checkBox_->Height());
  checkBox_->Invalidate();
}

TTeLeftRight TTeCustomGroupBox::CheckBoxAlignment() const {
  return checkBox_ ? checkBox_->Alignment() : checkBoxAlignment_;
}

void TTeCustomGroupBox::SetCheckBoxAlignment(TTeLeftRight value) {
  checkBoxAlignment_ = value;
  if (checkBox_) checkBox_->SetAlignment(value);
}

void TTeCustomGroupBox::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  if (UseCheckBox()) {
    checkBox_->SetChecked(value);
    SetEnabled(value);
  }
}

void TTeCustomGroupBox::CheckBoxClick(TObject*) {
  inherited::Click();
  if (checkBox_) SetChecked(checkBox_->Checked());
  if (OnCheckBoxClick) OnCheckBoxClick(this);
}

void TTeCustomGroupBox::SetEnabled(bool value) {
  enabledFlag_ = value || UseCheckBox();
  if (inherited::Enabled() != enabledFlag_)
    inherited::SetEnabled(enabledFlag_);  // delivers CM_ENABLEDCHANGED
  else
    Perform(CM_ENABLEDCHANGED);
}

void TTeCustomGroupBox::EnabledChanged() {
  const bool childrenEnabled = UseCheckBox() ? checked_ : Enabled();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (child != checkBox_) child->SetEnabled(childrenEnabled);
  }
}

int TTeCustomGroupBox::CaptionHeight() const {
  if (UseCheckBox()) return checkBox_->Height();
  return MeasureCaption(*Font(), Caption()).cy;
}

TRect TTeCustomGroupBox::GetFrameRect() { return GroupBoxFrameRect(Width(), Height(), CaptionHeight()); }

TRect TTeCustomGroupBox::CaptionRect() {
  if (UseCheckBox())
    return GroupBoxCaptionRect(captionMargin_, checkBox_->Width(), checkBox_->Height(), !Caption().empty());
  const TSize text = MeasureCaption(*Font(), Caption());
  return GroupBoxCaptionRect(captionMargin_, text.cx, text.cy, !Caption().empty());
}

TRect TTeCustomGroupBox::ClientRect() const {
  return GroupBoxClientRect(PaintWidth(), PaintHeight(), CaptionHeight());
}

void TTeCustomGroupBox::Loaded() {
  inherited::Loaded();
  ApplyUseCheckBox();
}

void TTeCustomGroupBox::Resize() {
  inherited::Resize();
  if (UseCheckBox()) PositionCheckBox();
}

void TTeCustomGroupBox::PaintClient() {
  inherited::PaintClient();
  PaintPlainFrame();
}

void TTeCustomGroupBox::PaintPlainFrame() {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(PaintFont());
  const TRect r = GetFrameRect();
  const TRect c = CaptionRect();
  const std::string caption = Caption();
  const bool textCaption = !UseCheckBox() && !caption.empty();
  const HDC dc = canvas.Handle();

  if (VisualStylesActive()) {
    const TVisualStyleApi& api = VisualStyleApi();
    if (HTHEME theme = api.OpenThemeData(nullptr, L"Button")) {
      const RECT frame{r.left, r.top, r.right, r.bottom};
      {
        TSaveDC saved(dc);
        ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
        api.DrawThemeBackground(theme, dc, BP_GROUPBOX, GBS_NORMAL, &frame, nullptr);
      }
      if (textCaption) {
        canvas.Font()->SetColor(clHighlight);
        const std::wstring wide = Widen(caption);
        const RECT text{c.left, c.top, c.right, c.bottom};
        SetTextColor(dc, ColorToRGB(clHighlight));
        api.DrawThemeText(theme, dc, BP_GROUPBOX, GBS_NORMAL, wide.c_str(), static_cast<int>(wide.size()),
                          kCaptionFlags | ControlReadingFlags(*this), 0, &text);
      }
      api.CloseThemeData(theme);
      return;
    }
  }

  // The classic etched frame: a light line, and a dark one up and left of
  // it, each leaving the caption's gap open.
  const auto etch = [&](const TRect& f, TColor color) {
    MoveTo(canvas, f.left, f.top);
    LineTo(canvas, c.left, f.top, color);
    MoveTo(canvas, c.right, f.top);
    LineTo(canvas, f.right, f.top, color);
    LineTo(canvas, f.right, f.bottom, color);
    LineTo(canvas, f.left, f.bottom, color);
    LineTo(canvas, f.left, f.top, color);
  };
  etch(r, clBtnHighlight);
  etch(r.Offset(-1, -1), clBtnShadow);
  if (!textCaption) return;
  DrawCaptionText(canvas, caption, c, kCaptionFlags | ControlReadingFlags(*this), Enabled());
}

void TTeCustomGroupBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_ENABLEDCHANGED:
      inherited::WndProc(message);
      EnabledChanged();
      return;
    case CM_TEXTCHANGED:
      if (UseCheckBox()) {
        checkBox_->SetCaption(Caption());
        PositionCheckBox();
      }
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      if (CanFocus() && IsCaptionAccelerator(static_cast<char32_t>(message.WParam), Caption())) {
        if (TWinControl* first = FindNextControl(nullptr, true, true); first && first->CanFocus()) first->SetFocus();
        message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  inherited::WndProc(message);
}

void TTeCustomGroupBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == TOperation::opRemove && component == checkBox_) checkBox_ = nullptr;
}

void TTeCustomGroupBox::PublishProperties(TPropertyList& p) {
  p.Integer("CaptionMargin", &TTeCustomGroupBox::CaptionMargin, &TTeCustomGroupBox::SetCaptionMargin, 12);
  p.Enum("CheckBoxAlignment", &TTeCustomGroupBox::CheckBoxAlignment, &TTeCustomGroupBox::SetCheckBoxAlignment,
         {"ktaLeftJustify", "ktaRightJustify", "ktaCenter"});
  p.Boolean("Checked", &TTeCustomGroupBox::Checked, &TTeCustomGroupBox::SetChecked, true);
  p.Boolean("UseCheckBox", &TTeCustomGroupBox::UseCheckBox, &TTeCustomGroupBox::SetUseCheckBox);
  p.Event("OnCheckBoxClick", &TTeCustomGroupBox::OnCheckBoxClick);
}

// ---- TTeThemeGroupBox ------------------------------------------------------

TTeThemeGroupBox::TTeThemeGroupBox(TComponent* owner) : TTeCustomGroupBox(owner) {}

void TTeThemeGroupBox::SetThemeEngine(TTeThemeEngine* value) {
  themeLink_.Set(value);
  ThemeEngineChanged();
  Invalidate();
}

void TTeThemeGroupBox::ThemeEngineChanged() {
  if (auto* box = dynamic_cast<TTeThemeCheckBox*>(CheckBox())) {
    box->SetThemeEngine(ThemeEngine());
    PositionCheckBox();
  }
}

TTeCustomCheckBox* TTeThemeGroupBox::CreateCheckBox() {
  auto* box = TComponent::Create<TTeThemeCheckBox>(this);
  box->SetThemeEngine(ThemeEngine());
  return box;
}

void TTeThemeGroupBox::PaintClient() {
  TTeTheme* style = UsableTheme();
  if (!style) return inherited::PaintClient();
  TTeTheme& theme = *style;
  TCanvas& canvas = *Canvas();
  if (!Transparent()) FillRectColor(canvas, Rect(0, 0, PaintWidth(), PaintHeight()), theme.GetColor(ktcFace));
  canvas.SetFont(PaintFont());
  const TRect r = GetFrameRect();
  BeginElementProbe();
  if (UseCheckBox()) {
    const TRect c = GroupBoxCaptionRect(CaptionMargin(), CheckBox()->Width(), CheckBox()->Height(), false);
    theme.DrawGroupBox(canvas, r, c, std::string());
  } else {
    const std::string caption = Caption();
    const TSize text{TextWidthEx(canvas, caption, 0), TextHeightEx(canvas, caption)};
    theme.DrawGroupBox(canvas, r, GroupBoxCaptionRect(CaptionMargin(), text.cx, text.cy, !caption.empty()), caption);
  }
  // A style without a group box leaves the frame in its plain look.
  if (ElementLeftUnpainted()) PaintPlainFrame();
}

void TTeThemeGroupBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  // The framework tells every component of the engine's owner; a box that
  // forgets its engine makes its check box forget it too.
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) {
    ThemeEngineChanged();
    Invalidate();
  }
}

void TTeThemeGroupBox::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeGroupBox::ThemeEngine, &TTeThemeGroupBox::SetThemeEngine);
  p.String("Version", &TTeThemeGroupBox::Version, &TTeThemeGroupBox::SetVersion, std::nullopt);
}

}  // namespace hv
