#pragma once
// The spin button: two small speed buttons that step an integer Position
// between Min and Max, repeat while held, a drag strip between them, and an
// optional associate, a windowed control whose text mirrors the position
// both ways. TTeThemeSpinButton's halves paint through its engine's style.

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/event.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/spinmath.h"
#include "theme/controls/themelink.h"

namespace hv {

class TBitmap;
class TTimer;
class TTeCustomSpeedButton;

using TTeChangingEvent = TEvent<void(TObject* sender, bool& allowChange)>;

constexpr int kSpinSyncMs = 400;

class TTeCustomSpinButton : public TTeCustomControl {
  HV_CLASS(TTeCustomSpinButton, TTeCustomControl)

 public:
  explicit TTeCustomSpinButton(TComponent* owner);
  ~TTeCustomSpinButton() override;

  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* value);
  TTeSpinAlign SpinAlign() const { return spinAlign_; }
  void SetSpinAlign(TTeSpinAlign value);
  TBitmap* UpGlyph() const;
  void SetUpGlyph(const TBitmap* value);
  TBitmap* DownGlyph() const;
  void SetDownGlyph(const TBitmap* value);
  int UpNumGlyphs() const;
  void SetUpNumGlyphs(int value);
  int DownNumGlyphs() const;
  void SetDownNumGlyphs(int value);
  bool EnabledSlider() const { return enabledSlider_; }
  void SetEnabledSlider(bool value);
  int Increment() const { return increment_; }
  void SetIncrement(int value) { increment_ = value; }
  int Max() const { return max_; }
  void SetMax(int value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Position() const { return position_; }
  void SetPosition(int value);

  TTeCustomSpeedButton* UpButton() const { return upButton_; }
  TTeCustomSpeedButton* DownButton() const { return downButton_; }
  // The half the space bar clicks.
  TTeCustomSpeedButton* FocusedButton() const { return focusedButton_; }
  TTimer* SyncTimer() const { return syncTimer_.get(); }
  bool SliderActive() const { return sliderActive_; }

  TTeChangingEvent OnChanging;
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  void Loaded() override;
  void Invalidate() override;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  // Makes one half, parented to the spin button and owned by it.
  using TButtonFactory = std::function<TTeCustomSpeedButton*(TTeCustomSpinButton& spin)>;
  // A derived class hands its own kind of halves to the construction, which
  // cannot reach an override.
  TTeCustomSpinButton(TComponent* owner, const TButtonFactory& createButton);

  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  // The spin button shows only its halves and what lies under it.
  void PaintClient() override {}

 private:
  TTeCustomSpeedButton* SetUpHalf(TTeCustomSpeedButton* button, const char* caption);
  void LayoutButtons();
  void PlaceBesideAssociate();
  void ButtonClick(TObject* sender);
  void ButtonMouseDown(TObject* sender, TMouseButton button);
  void WriteMirror();
  void ReadMirror();
  void UpdateSyncTimer();
  void Clamp();

  TWinControl* associate_ = nullptr;
  TTeSpinAlign spinAlign_ = saRight;
  bool enabledSlider_ = true;
  int increment_ = 1;
  int max_ = 100;
  int min_ = 0;
  int position_ = 0;
  TTeCustomSpeedButton* upButton_ = nullptr;
  TTeCustomSpeedButton* downButton_ = nullptr;
  TTeCustomSpeedButton* focusedButton_ = nullptr;
  std::unique_ptr<TTimer> syncTimer_;
  bool writing_ = false;
  bool sliderActive_ = false;
  TPoint sliderStart_{0, 0};
};

class TTeThemeSpinButton : public TTeCustomSpinButton {
  HV_CLASS(TTeThemeSpinButton, TTeCustomSpinButton)
  HV_THEME_CONTROL_LINK

 public:
  explicit TTeThemeSpinButton(TComponent* owner);
  ~TTeThemeSpinButton() override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace hv
