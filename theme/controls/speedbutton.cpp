// The speed button's behaviour and geometry: states, groups, the repeat
// timer, the chevron and its menu, the glyph strip and the layouts.

#include "theme/controls/speedbutton.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "framework/forms.h"
#include "framework/gdi.h"
#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/timer.h"
#include "framework/winstring.h"
#include "theme/core/popupmenu.h"

namespace hv {

// --- pure geometry ------------------------------------------------------------------

namespace {

// The offset of a glyph of extent g from the start of a button of extent b,
// with a caption of extent t beside it (0: none).
int GlyphStart(int b, int g, int t, int margin, int spacing) {
  if (margin != -1) return margin;
  if (t != 0) return spacing == -1 ? (b - g - t) / 3 : (b - g - spacing - t) / 2;
  return (b - g) / 2;
}

}  // namespace

TRect SpeedGlyphRect(const TRect& button, TSize g, TSize t, TButtonLayout layout, int margin, int spacing) {
  int left = 0;
  int top = 0;
  if (layout == blGlyphLeft || layout == blGlyphRight) {
    left = g.cx != 0 ? GlyphStart(button.Width(), g.cx, t.cx, margin, spacing) : button.left;
    top = (button.Height() - g.cy) / 2;
  } else {
    left = (button.Width() - g.cx) / 2;
    top = g.cx != 0 ? GlyphStart(button.Height(), g.cy, t.cy, margin, spacing) : button.top;
  }
  if (layout == blGlyphRight) left = button.right - left - g.cx - 1;
  if (layout == blGlyphBottom) top = button.bottom - top - g.cy - 1;
  return Rect(left, top, left + g.cx, top + g.cy);
}

TRect SpeedCaptionRect(const TRect& button, const TRect& whole, const TRect& glyph, bool hasGlyph, TSize t,
                       TButtonLayout layout, int spacing) {
  int left = 0;
  int top = 0;
  if (!hasGlyph) {
    left = whole.left + (whole.Width() - t.cx) / 2;
    top = whole.top + (whole.Height() - t.cy) / 2;
  } else {
    switch (layout) {
      case blGlyphLeft:
        left = spacing == -1 ? glyph.right + (button.right - glyph.right - t.cx) / 2 : glyph.right + spacing;
        top = (button.Height() - t.cy) / 2;
        break;
      case blGlyphRight:
        left = spacing == -1 ? (glyph.left - button.left - t.cx) / 2 : glyph.left - spacing - t.cx;
        top = (button.Height() - t.cy) / 2;
        break;
      case blGlyphTop:
        left = (button.Width() - t.cx) / 2;
        top = spacing == -1 ? glyph.bottom + (button.bottom - glyph.bottom - t.cy) / 2 : glyph.bottom + spacing;
        break;
      case blGlyphBottom:
        left = (button.Width() - t.cx) / 2;
        top = spacing == -1 ? (glyph.top - button.top - t.cy) / 2 : glyph.top - spacing - t.cy;
        break;
    }
  }
  return Rect(left, top, left + t.cx, top + t.cy);
}

int GlyphCountOf(int width, int height) {
  if (height <= 0 || width <= 0 || width % height != 0) return 1;
  const int count = width / height;
  return count < 5 ? count : 1;
}

// --- construction -------------------------------------------------------------------

TTeCustomSpeedButton::TTeCustomSpeedButton(TComponent* owner)
    : TTeGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
  SetTransparent(true);
  SetBounds(Left(), Top(), 29, 29);
  SetControlStyle(ControlStyle().Include(csCaptureMouse).Include(csDoubleClicks));
  glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
}

TTeCustomSpeedButton::~TTeCustomSpeedButton() {
  Destroying();
  DestroyComponents();
}

void TTeCustomSpeedButton::Loaded() {
  TTeGraphicControl::Loaded();
  if (!Enabled()) state_ = ksbsDisabled;
}

// --- properties -----------------------------------------------------------------------

void TTeCustomSpeedButton::SetShowChevron(bool value) {
  if (value == showChevron_) return;
  showChevron_ = value;
  if (!IsLoading()) SetWidth(Width() + (value ? GetChevronWidth() : -GetChevronWidth()));
  Invalidate();
}

void TTeCustomSpeedButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  if (value) SetTransparent(true);
  Invalidate();
}

void TTeCustomSpeedButton::SetGroupIndex(int value) {
  if (value == groupIndex_) return;
  groupIndex_ = value;
  BroadcastPressed();
  if (down_) state_ = groupIndex_ != 0 ? ksbsLatched : ksbsNormal;
  Invalidate();
}

void TTeCustomSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (!value)
    state_ = ksbsNormal;
  else
    state_ = groupIndex_ != 0 ? ksbsLatched : Hovered() ? ksbsPressed : ksbsNormal;
  if (value) BroadcastPressed();
  Invalidate();
}

void TTeCustomSpeedButton::SetAllowAllUp(bool value) {
  if (value == allowAllUp_) return;
  allowAllUp_ = value;
  BroadcastPressed();
}

void TTeCustomSpeedButton::SetChevronMenu(TTePopupMenuBase* value) {
  if (value == chevronMenu_) return;
  if (chevronMenu_) RemoveFreeNotification(chevronMenu_);
  chevronMenu_ = value;
  if (value) FreeNotification(value);
}

void TTeCustomSpeedButton::Notification(TComponent* component, TOperation operation) {
  TTeGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == chevronMenu_) chevronMenu_ = nullptr;
}

void TTeCustomSpeedButton::SetGlyph(const TBitmap* value) {
  if (value)
    glyph_->Assign(value);
  else
    glyph_->SetSize(0, 0);
}

void TTeCustomSpeedButton::GlyphChanged() {
  // A strip of a new size is cut into as many square images as it holds;
  // drawing into the same strip keeps the count the program chose.
  const TSize size{glyph_->Width(), glyph_->Height()};
  if (size.cx != glyphSize_.cx || size.cy != glyphSize_.cy) {
    glyphSize_ = size;
    if (size.cy != 0) numGlyphs_ = GlyphCountOf(size.cx, size.cy);
  }
  Invalidate();
}

void TTeCustomSpeedButton::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TTeCustomSpeedButton::SetMargin(int value) {
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TTeCustomSpeedButton::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TTeCustomSpeedButton::SetShowCaption(bool value) {
  if (value == showCaption_) return;
  showCaption_ = value;
  Invalidate();
}

void TTeCustomSpeedButton::SetShowGlyph(bool value) {
  if (value == showGlyph_) return;
  showGlyph_ = value;
  Invalidate();
}

void TTeCustomSpeedButton::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

void TTeCustomSpeedButton::SetBlackAndWhiteGlyph(bool value) {
  if (value == blackAndWhiteGlyph_) return;
  blackAndWhiteGlyph_ = value;
  Invalidate();
}

// --- groups ---------------------------------------------------------------------------------

void TTeCustomSpeedButton::BroadcastPressed() {
  TWinControl* parent = Parent();
  if (groupIndex_ == 0 || !parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i)
    parent->Controls(i)->Perform(CM_BUTTONPRESSED, static_cast<uintptr_t>(groupIndex_),
                                 reinterpret_cast<intptr_t>(this));
}

void TTeCustomSpeedButton::ButtonPressed(TMessage& message) {
  auto* sender = dynamic_cast<TTeCustomSpeedButton*>(reinterpret_cast<TControl*>(message.LParam));
  if (!sender || sender == this || static_cast<int>(message.WParam) != groupIndex_) return;
  if (!Parent() || !Parent()->HandleAllocated()) return;
  if (sender->down_ && down_) {
    down_ = false;
    state_ = ksbsNormal;
    Invalidate();
  }
  // A group shares one AllowAllUp.
  allowAllUp_ = sender->allowAllUp_;
}

// --- messages ---------------------------------------------------------------------------------

void TTeCustomSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_BUTTONPRESSED: return ButtonPressed(message);
    case CM_DIALOGCHAR: return DialogChar(message);
    case CM_ENABLEDCHANGED:
      EnabledChanged();
      break;
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
      captionSizeValid_ = false;
      break;
    default:
      break;
  }
  TTeGraphicControl::WndProc(message);
}

void TTeCustomSpeedButton::EnabledChanged() {
  if (Enabled())
    state_ = down_ && groupIndex_ != 0 ? ksbsLatched : ksbsNormal;
  else
    state_ = ksbsDisabled;
  Invalidate();
}

void TTeCustomSpeedButton::DialogChar(TMessage& message) {
  // The accelerator is the character after a single "&" of the caption.
  const std::wstring caption = Widen(Caption());
  wchar_t accelerator = 0;
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    accelerator = caption[i + 1];
    break;
  }
  const auto typed = static_cast<wchar_t>(message.WParam);
  if (accelerator && std::towupper(typed) == std::towupper(accelerator) && Enabled() && Visible() && Parent() &&
      Parent()->Showing()) {
    Click();
    message.Result = 1;
    return;
  }
  TTeGraphicControl::WndProc(message);
}

// --- mouse -----------------------------------------------------------------------------------------

void TTeCustomSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseDown(button, shift, x, y);
  mouseIsDown_ = true;
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  const TPoint p{x, y};
  if (GetButtonRect().Contains(p)) {
    state_ = ksbsPressed;
    Invalidate();
  } else if (GetChevronRect().Contains(p)) {
    state_ = ksbsChevronPressed;
    ChevronClick();
    Invalidate();
    return;
  }
  if (allowTimer_) {
    if (!repeatTimer_) {
      repeatTimer_ = std::make_unique<TTimer>(nullptr);
      repeatTimer_->SetEnabled(false);
      repeatTimer_->SetOnTimer([this](TObject*) { RepeatTick(); });
    }
    repeatTimer_->SetInterval(kFirstRepeatMs);
    repeatTimer_->SetEnabled(true);
  }
}

void TTeCustomSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseMove(shift, x, y);
  // While the button holds the mouse the window system reports no
  // crossings: the button tells them itself, so that a press dragged out
  // lets go and one dragged back in takes hold again.
  if (!mouseIsDown_ || !MouseCapture()) return;
  const bool inside = ClientRect().Contains({x, y});
  if (inside != MouseInControl()) Perform(inside ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TTeCustomSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseUp(button, shift, x, y);
  mouseIsDown_ = false;
  const bool inside = ClientRect().Contains({x, y}) && (state_ == ksbsPressed || state_ == ksbsLatched);
  if (state_ == ksbsChevronPressed) {
    state_ = ksbsNormal;
    OpenChevronMenu();
    Invalidate();
  }
  if (state_ != ksbsChevronPressed && !down_) {
    state_ = ksbsNormal;
    Invalidate();
  }
  if (inside) {
    if (!down_ && groupIndex_ != 0)
      SetDown(true);
    else if (allowAllUp_)
      SetDown(false);
    else if (groupIndex_ != 0)
      state_ = ksbsLatched;
    Invalidate();
  }
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TTeCustomSpeedButton::MouseEnter() {
  TTeGraphicControl::MouseEnter();
  if (mouseIsDown_ && Enabled()) state_ = ksbsPressed;
  Invalidate();
}

void TTeCustomSpeedButton::MouseLeave() {
  TTeGraphicControl::MouseLeave();
  if (down_ && groupIndex_ != 0)
    state_ = ksbsLatched;
  else if (state_ != ksbsChevronPressed && state_ != ksbsDisabled)
    state_ = ksbsNormal;
  Invalidate();
}

void TTeCustomSpeedButton::RepeatTick() {
  repeatTimer_->SetInterval(kRepeatMs);
  if (state_ != ksbsPressed || !MouseCapture()) return;
  try {
    Click();
  } catch (...) {
    repeatTimer_->SetEnabled(false);
    throw;
  }
}

void TTeCustomSpeedButton::Click() {
  if (state_ == ksbsChevronPressed) return;
  TTeGraphicControl::Click();
}

void TTeCustomSpeedButton::DblClick() {
  if (down_) TTeGraphicControl::DblClick();
}

void TTeCustomSpeedButton::ChevronClick() {
  if (OnChevronClick) OnChevronClick(this);
}

void TTeCustomSpeedButton::OpenChevronMenu() {
  if (!chevronMenu_) return;
  const int width = Width();
  const int height = Height();
  TPoint p{0, 0};
  const TPopupAlignment alignment = chevronMenu_->Alignment();
  if (menuPosition_ == dmpBottom) {
    p = alignment == paLeft    ? TPoint{GetChevronRect().left - 1, height}
        : alignment == paRight ? TPoint{width + 1, height}
                               : TPoint{width / 2, height};
  } else {
    p = alignment == paLeft    ? TPoint{width, -1}
        : alignment == paRight ? TPoint{-1, -1}
                               : TPoint{width / 2, height};
  }
  p = ClientToScreen(p);
  // Whatever the form holds captured or tracked lets go before the menu
  // takes the mouse.
  for (TControl* c = Parent(); c; c = c->Parent())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
      form->Perform(CM_CANCELMODE);
      break;
    }
  chevronMenu_->SetPopupComponent(this);
  chevronMenu_->Popup(p.x, p.y);
}

// --- geometry ----------------------------------------------------------------------------------

TRect TTeCustomSpeedButton::GetButtonRect() const {
  TRect r = ClientRect();
  if (showChevron_) r.right -= GetChevronWidth();
  return r;
}

TRect TTeCustomSpeedButton::GetChevronRect() const {
  TRect r = ClientRect();
  r.left = showChevron_ ? r.right - GetChevronWidth() : r.right;
  return r;
}

TRect TTeCustomSpeedButton::GetChevronArrowRect() const {
  const TRect c = GetChevronRect();
  const TSize arrow = GetChevronArrowSize();
  const int left = c.right - GetChevronWidth() + (GetChevronWidth() - arrow.cx) / 2;
  const int top = (c.bottom - arrow.cy) / 2;
  return Rect(left, top, left + arrow.cx, top + arrow.cy);
}

TSize TTeCustomSpeedButton::GetGlyphSize() const {
  if (glyph_->Empty()) return {0, 0};
  return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

TSize TTeCustomSpeedButton::GetCaptionSize() const {
  if (captionSizeValid_) return captionSize_;
  const std::string caption = Caption();
  TSize size{0, 0};
  if (!caption.empty()) {
    TMemoryDC dc;
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.Font()->Assign(Font());
    size = {canvas.TextWidth(caption), canvas.TextHeight("Pq")};
    canvas.SetHandle(nullptr);
  }
  captionSize_ = size;
  captionSizeValid_ = true;
  return size;
}

TRect TTeCustomSpeedButton::GetGlyphRect() const {
  const TSize g = showGlyph_ ? GetGlyphSize() : TSize{0, 0};
  const TSize t = showCaption_ ? GetCaptionSize() : TSize{0, 0};
  return SpeedGlyphRect(GetButtonRect(), g, t, layout_, margin_, spacing_);
}

TRect TTeCustomSpeedButton::GetCaptionRect() const {
  const TSize t = showCaption_ ? GetCaptionSize() : TSize{0, 0};
  return SpeedCaptionRect(GetButtonRect(), Rect(0, 0, Width(), Height()), GetGlyphRect(), !glyph_->Empty(), t,
                          layout_, spacing_);
}

// --- the rest of the family -------------------------------------------------------------------

TTeThemeSpeedButton::TTeThemeSpeedButton(TComponent* owner) : TTeCustomSpeedButton(owner) {}

TTeThemeSpeedButton::~TTeThemeSpeedButton() { Destroying(); }

void TTeThemeSpeedButton::SetThemeEngine(TTeThemeEngine* value) {
  if (themeLink_.Set(value)) Invalidate();
}

void TTeThemeSpeedButton::Notification(TComponent* component, TOperation operation) {
  TTeCustomSpeedButton::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Invalidate();
}

TTeSpeedDivider::TTeSpeedDivider(TComponent* owner) : TTeGraphicControl(owner) {
  SetWidth(8);
  SetTransparent(true);
}

TTeSpeedContainer::TTeSpeedContainer(TComponent* owner) : TTeCustomControl(owner) {
  SetControlStyle(ControlStyle().Include(csAcceptsControls));
  SetTransparent(true);
}

// --- published properties -------------------------------------------------------------------

void TTeCustomSpeedButton::PublishProperties(TPropertyList& p) {
  p.Boolean("AllowAllUp", &TTeCustomSpeedButton::AllowAllUp, &TTeCustomSpeedButton::SetAllowAllUp, false);
  p.Boolean("AllowTimer", &TTeCustomSpeedButton::AllowTimer, &TTeCustomSpeedButton::SetAllowTimer, false);
  p.Boolean("BlackAndWhiteGlyph", &TTeCustomSpeedButton::BlackAndWhiteGlyph,
            &TTeCustomSpeedButton::SetBlackAndWhiteGlyph);
  p.Component("ChevronMenu", &TTeCustomSpeedButton::ChevronMenu, &TTeCustomSpeedButton::SetChevronMenu);
  p.Boolean("Down", &TTeCustomSpeedButton::Down, &TTeCustomSpeedButton::SetDown, false);
  p.Boolean("Flat", &TTeCustomSpeedButton::Flat, &TTeCustomSpeedButton::SetFlat, false);
  p.Object("Glyph", &TTeCustomSpeedButton::Glyph);
  p.Integer("GroupIndex", &TTeCustomSpeedButton::GroupIndex, &TTeCustomSpeedButton::SetGroupIndex, 0);
  p.Enum("Layout", &TTeCustomSpeedButton::Layout, &TTeCustomSpeedButton::SetLayout,
         {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, blGlyphLeft);
  p.Integer("Margin", &TTeCustomSpeedButton::Margin, &TTeCustomSpeedButton::SetMargin, -1);
  p.Enum("MenuPosition", &TTeCustomSpeedButton::MenuPosition, &TTeCustomSpeedButton::SetMenuPosition,
         {"dmpBottom", "dmpRight"}, dmpBottom);
  p.Integer("NumGlyphs", &TTeCustomSpeedButton::NumGlyphs, &TTeCustomSpeedButton::SetNumGlyphs, 1);
  p.Boolean("ShowCaption", &TTeCustomSpeedButton::ShowCaption, &TTeCustomSpeedButton::SetShowCaption, true);
  p.Boolean("ShowChevron", &TTeCustomSpeedButton::ShowChevron, &TTeCustomSpeedButton::SetShowChevron, false);
  p.Boolean("ShowGlyph", &TTeCustomSpeedButton::ShowGlyph, &TTeCustomSpeedButton::SetShowGlyph, true);
  p.Integer("Spacing", &TTeCustomSpeedButton::Spacing, &TTeCustomSpeedButton::SetSpacing, 4);
  p.Event("OnChevronClick", &TTeCustomSpeedButton::OnChevronClick);
}

void TTeThemeSpeedButton::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeSpeedButton::ThemeEngine, &TTeThemeSpeedButton::SetThemeEngine);
  p.String("Version", &TTeThemeSpeedButton::Version, &TTeThemeSpeedButton::SetVersion, std::nullopt);
}

}  // namespace hv
