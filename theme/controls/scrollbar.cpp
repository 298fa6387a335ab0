#include "theme/controls/scrollbar.h"

#include <windows.h>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/timer.h"
#include "theme/core/drawing.h"
#include "theme/core/themeengine.h"
#include "theme/core/visualstyles.h"

namespace hv {
namespace {

// Parts and states of the "ScrollBar" visual-style class.
constexpr int kSbpArrowButton = 1, kSbpThumbHorz = 2, kSbpThumbVert = 3;
constexpr int kSbpLowerTrackHorz = 4, kSbpUpperTrackHorz = 5, kSbpLowerTrackVert = 6, kSbpUpperTrackVert = 7;

bool DrawScrollStyle(HDC dc, const TRect& rect, int part, int state) {
  if (!VisualStylesActive()) return false;
  const TVisualStyleApi& api = VisualStyleApi();
  if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return false;
  HTHEME theme = api.OpenThemeData(nullptr, L"ScrollBar");
  if (!theme) return false;
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  api.DrawThemeBackground(theme, dc, part, state, &r, nullptr);
  api.CloseThemeData(theme);
  return true;
}

int SystemThumbMetric() { return GetSystemMetrics(SM_CYVTHUMB); }

int KeyboardSetting(UINT action) {
  int value = 0;
  SystemParametersInfoW(action, 0, &value, 0);
  return value;
}

}  // namespace

TTeCustomScrollBar::TTeCustomScrollBar(TComponent* owner) : TTeGraphicControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse});
  SetBounds(Left(), Top(), 121, SystemThumbMetric());
  SetPerformance(kspDoubleBuffer);
}

TTeCustomScrollBar::~TTeCustomScrollBar() = default;

TScrollBox TTeCustomScrollBar::Box() const {
  TScrollBox box{.vertical = kind_ == sbVertical,
                 .width = Width(),
                 .height = Height(),
                 .borderWidth = borderWidth_,
                 .showButtons = showButtons_};
  box.buttonSize = GetButtonSize();
  return box;
}

int TTeCustomScrollBar::GetButtonSize() const {
  return ScrollButtonSize(kind_ == sbVertical ? Height() : Width(), borderWidth_, SystemThumbMetric());
}

int TTeCustomScrollBar::GetThumbSize() const {
  return ScrollThumbSize(Range(), TrackLength(Box()), SystemThumbMetric());
}

TRect TTeCustomScrollBar::GetFirstButtonRect() const { return ScrollFirstButtonRect(Box()); }
TRect TTeCustomScrollBar::GetSecondButtonRect() const { return ScrollSecondButtonRect(Box()); }
TRect TTeCustomScrollBar::GetTrackRect() const { return ScrollTrackRect(Box()); }
TRect TTeCustomScrollBar::GetThumbRect() const { return ScrollThumbRect(Box(), Range(), GetThumbSize()); }
TRect TTeCustomScrollBar::GetPageUpRect() const { return ScrollPageUpRect(Box(), Range(), GetThumbSize()); }
TRect TTeCustomScrollBar::GetPageDownRect() const { return ScrollPageDownRect(Box(), Range(), GetThumbSize()); }

bool TTeCustomScrollBar::ThumbShowable() const {
  const TRect thumb = GetThumbRect();
  return Enabled() && thumb.Width() > 0 && thumb.Height() > 0;
}

void TTeCustomScrollBar::SetPosition(int value) {
  if (value == position_) return;
  position_ = std::clamp(value, min_, std::max(min_, max_));
  Invalidate();
  Change();
}

void TTeCustomScrollBar::SetMax(int value) {
  if (value == max_) return;
  max_ = std::max(value, min_);
  if (max_ < position_) SetPosition(max_);
  if (int64_t{max_} - min_ + 1 < pageSize_) pageSize_ = static_cast<int>(int64_t{max_} - min_ + 1);
  Invalidate();
}

void TTeCustomScrollBar::SetMin(int value) {
  if (value == min_) return;
  min_ = std::min(value, max_);
  if (min_ > position_) SetPosition(min_);
  if (int64_t{max_} - min_ + 1 < pageSize_) pageSize_ = static_cast<int>(int64_t{max_} - min_ + 1);
  Invalidate();
}

void TTeCustomScrollBar::SetPageSize(int value) {
  if (value == pageSize_ || value < 0) return;
  pageSize_ = static_cast<int>(std::min<int64_t>(value, int64_t{max_} - min_ + 1));
  Invalidate();
}

void TTeCustomScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  Invalidate();
}

void TTeCustomScrollBar::SetBorderWidth(int value) {
  if (value == borderWidth_) return;
  borderWidth_ = value;
  Invalidate();
}

void TTeCustomScrollBar::SetShowButtons(bool value) {
  if (value == showButtons_) return;
  showButtons_ = value;
  Invalidate();
}

void TTeCustomScrollBar::SetLargeChange(int value) { largeChange_ = std::clamp(value, 1, 32767); }
void TTeCustomScrollBar::SetSmallChange(int value) { smallChange_ = std::clamp(value, 1, 32767); }

void TTeCustomScrollBar::SetAutoScrollBackward(bool value) {
  if (value == autoScrollBackward_) return;
  autoScrollBackward_ = value;
  if (value) {
    autoScrollForward_ = false;
    StartRepeat(false);
  } else {
    StopRepeat();
  }
}

void TTeCustomScrollBar::SetAutoScrollForward(bool value) {
  if (value == autoScrollForward_) return;
  autoScrollForward_ = value;
  if (value) {
    autoScrollBackward_ = false;
    StartRepeat(false);
  } else {
    StopRepeat();
  }
}

void TTeCustomScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TTeCustomScrollBar::Scroll(TScrollCode code, int& position) {
  if (OnScroll) OnScroll(this, code, position);
}

void TTeCustomScrollBar::Step(unsigned virtualKey) {
  const TScrollStep step = ScrollStepFor(Range(), virtualKey, smallChange_, largeChange_);
  if (!step.valid) return;
  int position = step.position;
  Scroll(static_cast<TScrollCode>(step.code), position);
  SetPosition(position);
  if (step.code == scLineUp && position_ <= min_) autoScrollBackward_ = false;
  if (step.code == scLineDown && position_ >= max_) autoScrollForward_ = false;
}

void TTeCustomScrollBar::StartRepeat(bool immediate) {
  if (!repeatTimer_) {
    repeatTimer_ = std::make_unique<TTimer>(nullptr);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetOnTimer([this](TObject*) { RepeatTick(); });
  }
  if (immediate) {
    RepeatTick();
    repeatTimer_->SetInterval(ScrollRepeatInitialDelay(KeyboardSetting(SPI_GETKEYBOARDDELAY)));
  } else {
    repeatTimer_->SetInterval(ScrollRepeatInterval(KeyboardSetting(SPI_GETKEYBOARDSPEED)));
  }
  repeatTimer_->SetEnabled(true);
}

void TTeCustomScrollBar::StopRepeat() {
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TTeCustomScrollBar::RepeatTick() {
  // A handler that fails mid-repeat stops the repetition, never the program.
  try {
    if (repeatTimer_) repeatTimer_->SetInterval(ScrollRepeatInterval(KeyboardSetting(SPI_GETKEYBOARDSPEED)));
    const bool vertical = kind_ == sbVertical;
    if (FirstButtonPressedAndHot() || autoScrollBackward_) return Step(vertical ? VK_UP : VK_LEFT);
    if (SecondButtonPressedAndHot() || autoScrollForward_) return Step(vertical ? VK_DOWN : VK_RIGHT);
    const bool wasPageUpHot = pageUpHot_, wasPageDownHot = pageDownHot_;
    pageUpHot_ = IsOverPageUp(lastMouse_.x, lastMouse_.y);
    if (PageUpPressedAndHot()) return Step(VK_PRIOR);
    pageDownHot_ = IsOverPageDown(lastMouse_.x, lastMouse_.y);
    if (PageDownPressedAndHot()) {
      Step(VK_NEXT);
      if (wasPageUpHot != pageUpHot_ || wasPageDownHot != pageDownHot_) Invalidate();
    }
  } catch (...) {
    StopRepeat();
  }
}

bool TTeCustomScrollBar::UpdateHotFlags(int x, int y) {
  const bool before[] = {firstButtonHot_, secondButtonHot_, thumbHot_, pageUpHot_, pageDownHot_};
  firstButtonHot_ = showButtons_ && IsOverFirstButton(x, y);
  secondButtonHot_ = showButtons_ && IsOverSecondButton(x, y);
  thumbHot_ = IsOverThumb(x, y);
  pageUpHot_ = IsOverPageUp(x, y);
  pageDownHot_ = IsOverPageDown(x, y);
  const bool after[] = {firstButtonHot_, secondButtonHot_, thumbHot_, pageUpHot_, pageDownHot_};
  return !std::equal(std::begin(before), std::end(before), std::begin(after));
}

void TTeCustomScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  lastMouse_ = {x, y};
  UpdateHotFlags(x, y);
  if (ThumbShowable() && IsOverThumb(x, y)) {
    const TRect thumb = GetThumbRect();
    dragOffset_ = AxisCoordinate(x, y) - (kind_ == sbVertical ? thumb.top : thumb.left);
    int position = position_;
    Scroll(scTrack, position);
    SetPosition(position);
    Invalidate();
  }
  firstButtonDown_ = showButtons_ && IsOverFirstButton(x, y);
  secondButtonDown_ = showButtons_ && IsOverSecondButton(x, y);
  pageUpDown_ = IsOverPageUp(x, y);
  pageDownDown_ = IsOverPageDown(x, y);
  if (FirstButtonPressedAndHot() || SecondButtonPressedAndHot() || PageUpPressedAndHot() || PageDownPressedAndHot()) {
    Invalidate();
    StartRepeat(true);
  }
}

void TTeCustomScrollBar::MouseMove(TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseMove(shift, x, y);
  lastMouse_ = {x, y};
  if (Dragging()) {
    const TScrollBox box = Box();
    const int thumb = GetThumbSize();
    const int start = TrackStart(box), length = TrackLength(box);
    const int along = std::clamp(AxisCoordinate(x, y) - dragOffset_, start, std::max(start, start + length - thumb));
    int position = ScrollPositionAt(Range(), along, start, length, thumb);
    Scroll(scTrack, position);
    // What the handler made of the track position is not applied while
    // tracking: the thumb follows the mouse.
    SetPosition(ScrollPositionAt(Range(), along, start, length, thumb));
  }
  if (UpdateHotFlags(x, y)) Invalidate();
}

void TTeCustomScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  if (dragOffset_ != -1) {
    int position = position_;
    Scroll(scPosition, position);
    SetPosition(position);
  }
  dragOffset_ = -1;
  firstButtonDown_ = secondButtonDown_ = pageUpDown_ = pageDownDown_ = false;
  StopRepeat();
  int position = position_;
  Scroll(scEndScroll, position);
  SetPosition(position);
  Invalidate();
}

void TTeCustomScrollBar::MouseLeave() {
  TTeGraphicControl::MouseLeave();
  if (firstButtonHot_ || secondButtonHot_ || thumbHot_ || pageUpHot_ || pageDownHot_) {
    firstButtonHot_ = secondButtonHot_ = thumbHot_ = pageUpHot_ = pageDownHot_ = false;
    Invalidate();
  }
}

void TTeCustomScrollBar::WndProc(TMessage& message) {
  TTeGraphicControl::WndProc(message);
  if (message.Msg == CM_ENABLEDCHANGED) Invalidate();
}

void TTeCustomScrollBar::PaintClient() {
  TTeGraphicControl::PaintClient();
  PaintBorder();
  PaintTrack();
  if (showButtons_) {
    PaintFirstButton();
    PaintSecondButton();
  }
  if (ThumbShowable()) PaintThumb();
  if (PageUpPressedAndHot()) PaintPageUpArea();
  if (PageDownPressedAndHot()) PaintPageDownArea();
}

void TTeCustomScrollBar::PaintTrack() {
  const bool vertical = kind_ == sbVertical;
  TCanvas& canvas = *Canvas();
  if (DrawScrollStyle(canvas.Handle(), GetTrackRect(), vertical ? kSbpLowerTrackVert : kSbpLowerTrackHorz, 1))
    return;
  FillDither(canvas, GetTrackRect(), clScrollBar, clBtnHighlight);
}

void TTeCustomScrollBar::PaintBorder() {
  if (borderWidth_ <= 0 || VisualStylesActive()) return;
  Frame3D(*Canvas(), ClientRect(), clBtnShadow, clBtnHighlight);
}

namespace {

void PaintPlainButton(TCanvas& canvas, const TRect& rect, bool vertical, bool first, bool pressedAndHot, bool hot,
                      bool enabled) {
  const int styleState = (first ? 0 : 4) + (!enabled ? 4 : pressedAndHot ? 3 : hot ? 2 : 1);
  if (DrawScrollStyle(canvas.Handle(), rect, kSbpArrowButton, styleState + (vertical ? 0 : 8))) return;
  UINT state = vertical ? (first ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (first ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  if (pressedAndHot) state |= DFCS_PUSHED | DFCS_FLAT;
  if (!enabled) state |= DFCS_INACTIVE;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, state);
}

}  // namespace

void TTeCustomScrollBar::PaintFirstButton() {
  PaintPlainButton(*Canvas(), GetFirstButtonRect(), kind_ == sbVertical, true, FirstButtonPressedAndHot(),
                   firstButtonHot_, Enabled());
}

void TTeCustomScrollBar::PaintSecondButton() {
  PaintPlainButton(*Canvas(), GetSecondButtonRect(), kind_ == sbVertical, false, SecondButtonPressedAndHot(),
                   secondButtonHot_, Enabled());
}

void TTeCustomScrollBar::PaintThumb() {
  TCanvas& canvas = *Canvas();
  const TRect thumb = GetThumbRect();
  const int state = !Enabled() ? 4 : Dragging() ? 3 : thumbHot_ ? 2 : 1;
  if (DrawScrollStyle(canvas.Handle(), thumb, kind_ == sbVertical ? kSbpThumbVert : kSbpThumbHorz, state)) return;
  FillRectColor(canvas, thumb, clBtnFace);
  if (Dragging()) {
    OutlineRect(canvas, thumb, clBtnShadow);
    return;
  }
  Frame3D(canvas, thumb, cl3DLight, cl3DDkShadow);
  Frame3D(canvas, thumb.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
}

void TTeCustomScrollBar::PaintPageUpArea() {
  const bool vertical = kind_ == sbVertical;
  if (DrawScrollStyle(Canvas()->Handle(), GetPageUpRect(), vertical ? kSbpLowerTrackVert : kSbpLowerTrackHorz, 3))
    return;
  FillRectColor(*Canvas(), GetPageUpRect(), cl3DDkShadow);
}

void TTeCustomScrollBar::PaintPageDownArea() {
  const bool vertical = kind_ == sbVertical;
  if (DrawScrollStyle(Canvas()->Handle(), GetPageDownRect(), vertical ? kSbpUpperTrackVert : kSbpUpperTrackHorz, 3))
    return;
  FillRectColor(*Canvas(), GetPageDownRect(), cl3DDkShadow);
}

void TTeCustomScrollBar::PublishProperties(TPropertyList& p) {
  p.Integer("BorderWidth", &TTeCustomScrollBar::BorderWidth, &TTeCustomScrollBar::SetBorderWidth, 1);
  p.Boolean("ShowButtons", &TTeCustomScrollBar::ShowButtons, &TTeCustomScrollBar::SetShowButtons, true);
  p.Enum("Kind", &TTeCustomScrollBar::Kind, &TTeCustomScrollBar::SetKind, {"sbHorizontal", "sbVertical"},
                sbHorizontal);
  p.Integer("LargeChange", &TTeCustomScrollBar::LargeChange, &TTeCustomScrollBar::SetLargeChange, 1);
  p.Integer("Max", &TTeCustomScrollBar::Max, &TTeCustomScrollBar::SetMax, 100);
  p.Integer("Min", &TTeCustomScrollBar::Min, &TTeCustomScrollBar::SetMin, 0);
  p.Integer("PageSize", &TTeCustomScrollBar::PageSize, &TTeCustomScrollBar::SetPageSize, 0);
  p.Integer("Position", &TTeCustomScrollBar::Position, &TTeCustomScrollBar::SetPosition, 0);
  p.Integer("SmallChange", &TTeCustomScrollBar::SmallChange, &TTeCustomScrollBar::SetSmallChange, 1);
  p.Event("OnChange", &TTeCustomScrollBar::OnChange);
  p.Event("OnScroll", &TTeCustomScrollBar::OnScroll);
}

TTeThemeScrollBar::TTeThemeScrollBar(TComponent* owner) : TTeCustomScrollBar(owner) { SetBorderWidth(0); }

TTeThemeScrollBar::~TTeThemeScrollBar() = default;

void TTeThemeScrollBar::SetThemeEngine(TTeThemeEngine* value) {
  if (themeLink_.Set(value)) Invalidate();
}

void TTeThemeScrollBar::Notification(TComponent* component, TOperation operation) {
  TTeCustomScrollBar::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component) && !IsDestroying()) Invalidate();
}

void TTeThemeScrollBar::Loaded() {
  TTeCustomScrollBar::Loaded();
  Invalidate();
}

int TTeThemeScrollBar::GetButtonSize() const {
  TTeTheme* theme = UsableTheme();
  return theme ? theme->GetSize(ktsScrollBar) : TTeCustomScrollBar::GetButtonSize();
}

int TTeThemeScrollBar::GetThumbSize() const {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomScrollBar::GetThumbSize();
  return ScrollThumbSize(Range(), TrackLength(Box()), theme->GetSize(ktsScrollBar));
}

TTeElementState TTeThemeScrollBar::ButtonState(bool pressedAndHot, bool hot) const {
  if (!Enabled()) return kesDisabled;
  if (pressedAndHot) return kesPressed;
  return hot ? kesHot : kesNormal;
}

void TTeThemeScrollBar::PaintClient() {
  if (!UsableTheme()) return TTeCustomScrollBar::PaintClient();
  TTeGraphicControl::PaintClient();
  PaintTrack();
  if (ShowButtons()) {
    PaintFirstButton();
    PaintSecondButton();
  }
  if (ThumbShowable()) PaintThumb();
  // A pressed page area is drawn one pixel in from the track's sides.
  const bool vertical = Kind() == sbVertical;
  auto pressedArea = [&](TRect area) {
    area = vertical ? area.Inflate(-1, 0) : area.Inflate(0, -1);
    FillRectColor(*Canvas(), area, clBtnShadow);
  };
  if (PageUpPressedAndHot()) pressedArea(GetPageUpRect());
  if (PageDownPressedAndHot()) pressedArea(GetPageDownRect());
}

void TTeThemeScrollBar::PaintTrack() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomScrollBar::PaintTrack();
  theme->DrawScrollBarTrack(*Canvas(), ClientRect(), Kind());
}

void TTeThemeScrollBar::PaintBorder() {
  if (!UsableTheme()) TTeCustomScrollBar::PaintBorder();
}

void TTeThemeScrollBar::PaintFirstButton() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomScrollBar::PaintFirstButton();
  theme->DrawScrollButton(*Canvas(), GetFirstButtonRect(), Kind() == sbVertical, true,
                                          ButtonState(FirstButtonPressedAndHot(), firstButtonHot_));
}

void TTeThemeScrollBar::PaintSecondButton() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomScrollBar::PaintSecondButton();
  theme->DrawScrollButton(*Canvas(), GetSecondButtonRect(), Kind() == sbVertical, false,
                                          ButtonState(SecondButtonPressedAndHot(), secondButtonHot_));
}

void TTeThemeScrollBar::PaintThumb() {
  TTeTheme* theme = UsableTheme();
  if (!theme) return TTeCustomScrollBar::PaintThumb();
  const TTeElementState state = !Enabled() ? kesDisabled : Dragging() ? kesPressed : thumbHot_ ? kesHot : kesNormal;
  theme->DrawScrollThumb(*Canvas(), GetThumbRect(), Kind(), state);
}

void TTeThemeScrollBar::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeScrollBar::ThemeEngine, &TTeThemeScrollBar::SetThemeEngine);
  p.String("Version", &TTeThemeScrollBar::Version, &TTeThemeScrollBar::SetVersion, std::nullopt);
}

}  // namespace hv
