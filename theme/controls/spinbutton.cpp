// The spin button's behaviour: its halves and their clicks, the keys, the
// drag strip, the position's bounds and its mirror in the associate's text.

#include "theme/controls/spinbutton.h"

#include <windows.h>

#include <string>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/timer.h"
#include "theme/controls/speedbutton.h"

namespace hv {

namespace {

// The resource arrow of a half, as a one-image strip; a program without the
// resource gets a half without an arrow rather than no spin button.
void LoadArrow(TTeCustomSpeedButton& button, bool up) {
  TBitmap arrow;
  try {
    arrow.LoadFromResourceName(GetModuleHandleW(nullptr), up ? "TE_SPIN_UP" : "TE_SPIN_DOWN");
  } catch (const EResNotFound&) {
    arrow.SetSize(0, 0);
  }
  button.SetGlyph(&arrow);
  button.SetNumGlyphs(1);
}

TTeCustomSpeedButton* MakePlainHalf(TTeCustomSpinButton& spin) {
  return TComponent::Create<TTeCustomSpeedButton>(&spin);
}

// Whether the text would read as `value`; a text that is no number reads as
// the largest integer.
int MirrorValue(const std::string& text) {
  int value = 0;
  return ParseSpinText(text, value) ? value : 0x7FFFFFFF;
}

}  // namespace

TTeCustomSpinButton::TTeCustomSpinButton(TComponent* owner) : TTeCustomSpinButton(owner, &MakePlainHalf) {}

TTeCustomSpinButton::TTeCustomSpinButton(TComponent* owner, const TButtonFactory& createButton)
    : TTeCustomControl(owner) {
  SetTransparent(true);
  SetBounds(Left(), Top(), kSpinWidth, 21);
  upButton_ = SetUpHalf(createButton(*this), "up");
  downButton_ = SetUpHalf(createButton(*this), "down");
  focusedButton_ = upButton_;
  syncTimer_ = std::make_unique<TTimer>(nullptr);
  syncTimer_->SetEnabled(false);
  syncTimer_->SetInterval(kSpinSyncMs);
  syncTimer_->SetOnTimer([this](TObject*) { ReadMirror(); });
  LayoutButtons();
}

TTeCustomSpinButton::~TTeCustomSpinButton() {
  Destroying();
  syncTimer_.reset();
  DestroyComponents();
}

TTeCustomSpeedButton* TTeCustomSpinButton::SetUpHalf(TTeCustomSpeedButton* button, const char* caption) {
  button->SetShowCaption(false);
  button->SetFlat(true);
  button->SetAllowTimer(true);
  button->SetEnabled(true);
  button->SetParent(this);
  // The caption names the half for the system's visual style.
  button->SetCaption(caption);
  LoadArrow(*button, std::string(caption) == "up");
  button->OnClick = [this](TObject* sender) { ButtonClick(sender); };
  button->OnMouseDown = [this](TObject* sender, TMouseButton b, TShiftState, int, int) { ButtonMouseDown(sender, b); };
  return button;
}

// --- layout -----------------------------------------------------------------------------

void TTeCustomSpinButton::LayoutButtons() {
  if (IsLoading() || !upButton_ || !downButton_) return;
  const TSpinHalves halves = SpinHalves(Width(), Height(), enabledSlider_);
  upButton_->SetBoundsRect(halves.up);
  downButton_->SetBoundsRect(halves.down);
}

void TTeCustomSpinButton::PlaceBesideAssociate() {
  if (!associate_) return;
  SetBoundsRect(SpinPlacement(associate_->BoundsRect(), spinAlign_));
}

void TTeCustomSpinButton::SetBounds(int left, int top, int width, int height) {
  TTeCustomControl::SetBounds(left, top, width, height);
  LayoutButtons();
}

void TTeCustomSpinButton::Loaded() {
  TTeCustomControl::Loaded();
  PlaceBesideAssociate();
  LayoutButtons();
  UpdateSyncTimer();
  Invalidate();
}

void TTeCustomSpinButton::Invalidate() {
  TTeCustomControl::Invalidate();
  if (upButton_) upButton_->Invalidate();
  if (downButton_) downButton_->Invalidate();
}

// --- properties ---------------------------------------------------------------------------

void TTeCustomSpinButton::SetAssociate(TWinControl* value) {
  if (value == this) value = nullptr;  // its own text would mirror nothing
  if (value == associate_) return;
  if (associate_) RemoveFreeNotification(associate_);
  associate_ = value;
  if (associate_) FreeNotification(associate_);
  UpdateSyncTimer();
  if (!associate_) return;
  WriteMirror();
  PlaceBesideAssociate();
}

void TTeCustomSpinButton::SetSpinAlign(TTeSpinAlign value) {
  if (value == spinAlign_) return;
  spinAlign_ = value;
  PlaceBesideAssociate();
}

TBitmap* TTeCustomSpinButton::UpGlyph() const { return upButton_->Glyph(); }
TBitmap* TTeCustomSpinButton::DownGlyph() const { return downButton_->Glyph(); }

void TTeCustomSpinButton::SetUpGlyph(const TBitmap* value) {
  if (value)
    upButton_->SetGlyph(value);
  else
    LoadArrow(*upButton_, true);
}

void TTeCustomSpinButton::SetDownGlyph(const TBitmap* value) {
  if (value)
    downButton_->SetGlyph(value);
  else
    LoadArrow(*downButton_, false);
}

int TTeCustomSpinButton::UpNumGlyphs() const { return upButton_->NumGlyphs(); }
void TTeCustomSpinButton::SetUpNumGlyphs(int value) { upButton_->SetNumGlyphs(value); }
int TTeCustomSpinButton::DownNumGlyphs() const { return downButton_->NumGlyphs(); }
void TTeCustomSpinButton::SetDownNumGlyphs(int value) { downButton_->SetNumGlyphs(value); }

void TTeCustomSpinButton::SetEnabledSlider(bool value) {
  if (value == enabledSlider_) return;
  enabledSlider_ = value;
  if (!value) sliderActive_ = false;
  LayoutButtons();
}

void TTeCustomSpinButton::Clamp() {
  if (position_ < min_) position_ = min_;
  if (position_ > max_) position_ = max_;
}

void TTeCustomSpinButton::SetMax(int value) {
  if (value == max_) return;
  max_ = value < min_ ? min_ : value;
  Clamp();
  WriteMirror();
}

void TTeCustomSpinButton::SetMin(int value) {
  if (value == min_) return;
  min_ = value > max_ ? max_ : value;
  Clamp();
  WriteMirror();
}

void TTeCustomSpinButton::SetPosition(int value) {
  if (value == position_) return;
  const int previous = position_;
  position_ = SpinStep(value, 0, 0, min_, max_);
  if (OnChanging) {
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) {
      position_ = previous;
      return;
    }
  }
  WriteMirror();
}

// --- the mirror ---------------------------------------------------------------------------

void TTeCustomSpinButton::UpdateSyncTimer() {
  if (syncTimer_) syncTimer_->SetEnabled(associate_ != nullptr && !IsDestroying());
}

void TTeCustomSpinButton::WriteMirror() {
  if (!associate_ || writing_) return;
  writing_ = true;
  try {
    if (MirrorValue(associate_->Text()) != position_) associate_->SetText(std::to_string(position_));
  } catch (...) {
    writing_ = false;
    throw;
  }
  writing_ = false;
}

void TTeCustomSpinButton::ReadMirror() {
  if (!associate_ || writing_) return;
  int value = position_;
  if (!ParseSpinText(associate_->Text(), value)) value = position_;
  if (value != position_) SetPosition(value);
}

// --- the halves ---------------------------------------------------------------------------

void TTeCustomSpinButton::ButtonClick(TObject* sender) {
  if (sender == upButton_) {
    SetPosition(SpinStep(position_, increment_, 1, min_, max_));
    if (OnUpClick) OnUpClick(this);
  } else if (sender == downButton_) {
    SetPosition(SpinStep(position_, increment_, -1, min_, max_));
    if (OnDownClick) OnDownClick(this);
  }
}

void TTeCustomSpinButton::ButtonMouseDown(TObject* sender, TMouseButton button) {
  if (button != TMouseButton::mbLeft) return;
  auto* half = sender == upButton_ ? upButton_ : sender == downButton_ ? downButton_ : nullptr;
  if (half && TabStop() && CanFocus()) focusedButton_ = half;
  // The keys go where the number is typed when there is such a place.
  if (associate_ && associate_->TabStop() && associate_->CanFocus()) {
    if (!associate_->Focused()) associate_->SetFocus();
  } else if (TabStop() && CanFocus() && !Focused()) {
    SetFocus();
  }
}

// --- keys and the mouse ---------------------------------------------------------------------

void TTeCustomSpinButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS;
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      // A drag of the strip keeps the mouse even over the halves, which
      // would otherwise be handed what passes over them.
      if (sliderActive_) return TControl::WndProc(message);
      break;
    default:
      break;
  }
  TTeCustomControl::WndProc(message);
}

void TTeCustomSpinButton::KeyDown(uint16_t& key, TShiftState shift) {
  TTeCustomControl::KeyDown(key, shift);
  if (key == VK_SPACE) {
    if (focusedButton_) focusedButton_->Click();
  } else if (key == VK_UP || key == VK_DOWN) {
    focusedButton_ = key == VK_UP ? upButton_ : downButton_;
    focusedButton_->Click();
  }
}

void TTeCustomSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !enabledSlider_) return;
  if (SpinSliderRect(Width(), Height()).Contains({x, y})) {
    sliderActive_ = true;
    sliderStart_ = {x, y};
  }
}

void TTeCustomSpinButton::MouseMove(TShiftState shift, int x, int y) {
  TTeCustomControl::MouseMove(shift, x, y);
  if (sliderActive_) {
    // Measured from where the drag began, every move: the value keeps
    // running while the mouse stays away from that point.
    SetPosition(SpinStep(position_, increment_, sliderStart_.y - y, min_, max_));
    return;
  }
  const TPoint p{x, y};
  const bool overHalf = upButton_->BoundsRect().Contains(p) || downButton_->BoundsRect().Contains(p);
  SetCursor(overHalf ? crDefault : crSizeNS);
}

void TTeCustomSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TTeCustomControl::MouseUp(button, shift, x, y);
  sliderActive_ = false;
}

void TTeCustomSpinButton::MouseLeave() {
  TTeCustomControl::MouseLeave();
  SetCursor(crDefault);
}

void TTeCustomSpinButton::Notification(TComponent* component, TOperation operation) {
  TTeCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == associate_) {
    associate_ = nullptr;
    UpdateSyncTimer();
  }
  if (component == upButton_) upButton_ = nullptr;
  if (component == downButton_) downButton_ = nullptr;
  if (component == focusedButton_) focusedButton_ = nullptr;
}

void TTeCustomSpinButton::PublishProperties(TPropertyList& p) {
  p.Component("Associate", &TTeCustomSpinButton::Associate, &TTeCustomSpinButton::SetAssociate);
  p.Enum("SpinAlign", &TTeCustomSpinButton::SpinAlign, &TTeCustomSpinButton::SetSpinAlign, {"saLeft", "saRight"},
         saRight);
  p.Boolean("EnabledSlider", &TTeCustomSpinButton::EnabledSlider, &TTeCustomSpinButton::SetEnabledSlider, true);
  p.Integer("Increment", &TTeCustomSpinButton::Increment, &TTeCustomSpinButton::SetIncrement, 1);
  p.Integer("Max", &TTeCustomSpinButton::Max, &TTeCustomSpinButton::SetMax, 100);
  p.Integer("Min", &TTeCustomSpinButton::Min, &TTeCustomSpinButton::SetMin, 0);
  p.Integer("Position", &TTeCustomSpinButton::Position, &TTeCustomSpinButton::SetPosition, 0);
  p.Integer("UpNumGlyphs", &TTeCustomSpinButton::UpNumGlyphs, &TTeCustomSpinButton::SetUpNumGlyphs, 1);
  p.Integer("DownNumGlyphs", &TTeCustomSpinButton::DownNumGlyphs, &TTeCustomSpinButton::SetDownNumGlyphs, 1);
  p.Boolean("TabStop", &TTeCustomSpinButton::TabStop, &TTeCustomSpinButton::SetTabStop, false);
  p.Event("OnChanging", &TTeCustomSpinButton::OnChanging);
  p.Event("OnUpClick", &TTeCustomSpinButton::OnUpClick);
  p.Event("OnDownClick", &TTeCustomSpinButton::OnDownClick);
}

// --- the themed spin button ---------------------------------------------------------------

TTeThemeSpinButton::TTeThemeSpinButton(TComponent* owner)
    : TTeCustomSpinButton(owner, [](TTeCustomSpinButton& spin) -> TTeCustomSpeedButton* {
        return TComponent::Create<TTeThemeSpeedButton>(&spin);
      }) {}

TTeThemeSpinButton::~TTeThemeSpinButton() { Destroying(); }

void TTeThemeSpinButton::SetThemeEngine(TTeThemeEngine* value) {
  themeLink_.Set(value);
  for (TTeCustomSpeedButton* half : {UpButton(), DownButton()})
    if (auto* themed = dynamic_cast<TTeThemeSpeedButton*>(half)) themed->SetThemeEngine(value);
  Invalidate();
}

void TTeThemeSpinButton::Notification(TComponent* component, TOperation operation) {
  TTeCustomSpinButton::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Invalidate();
}

void TTeThemeSpinButton::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeSpinButton::ThemeEngine, &TTeThemeSpinButton::SetThemeEngine);
  p.String("Version", &TTeThemeSpinButton::Version, &TTeThemeSpinButton::SetVersion, std::nullopt);
}

}  // namespace hv
