#include "framework/control.h"

#include <windows.h>

#include <algorithm>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/wincontrol.h"

namespace hv {

namespace {
TControl* gCaptureControl = nullptr;
}

TShiftState KeysToShiftState(uint32_t keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift.Include(ssShift);
  if (keys & MK_CONTROL) shift.Include(ssCtrl);
  if (keys & MK_LBUTTON) shift.Include(ssLeft);
  if (keys & MK_RBUTTON) shift.Include(ssRight);
  if (keys & MK_MBUTTON) shift.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
  return shift;
}

TShiftState KeyDataToShiftState(intptr_t keyData) {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (keyData & 0x20000000) shift.Include(ssAlt);
  return shift;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  windowProc_ = DefaultWindowProc();
  font_->OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  Destroying();
  DestroyComponents();
  if (gCaptureControl == this) gCaptureControl = nullptr;
  ForgetMouseControl(this);
  SetParent(nullptr);
}

TControl::TWndMethod TControl::DefaultWindowProc() {
  return [this](TMessage& message) { WndProc(message); };
}

intptr_t TControl::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  TMessage message{msg, wParam, lParam, 0};
  windowProc_(message);
  return message.Result;
}

void TControl::Dispatch(TMessage& message) { DefaultHandler(message); }

void TControl::DefaultHandler(TMessage& message) {
  switch (message.Msg) {
    case WM_GETTEXT: {
      // Windowless controls answer with their caption, like a window would.
      std::wstring text = L"";
      int n = MultiByteToWideChar(CP_UTF8, 0, text_.data(), static_cast<int>(text_.size()), nullptr, 0);
      text.resize(static_cast<size_t>(n));
      MultiByteToWideChar(CP_UTF8, 0, text_.data(), static_cast<int>(text_.size()), text.data(), n);
      auto* buffer = reinterpret_cast<wchar_t*>(message.LParam);
      size_t capacity = message.WParam;
      if (!buffer || capacity == 0) {
        message.Result = 0;
        break;
      }
      size_t count = std::min(text.size(), capacity - 1);
      text.copy(buffer, count);
      buffer[count] = L'\0';
      message.Result = static_cast<intptr_t>(count);
      break;
    }
    case WM_GETTEXTLENGTH:
      message.Result = MultiByteToWideChar(CP_UTF8, 0, text_.data(), static_cast<int>(text_.size()), nullptr, 0);
      break;
    default:
      break;
  }
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(KeysToShiftState(static_cast<uint32_t>(message.WParam)), XOfLParam(message.LParam),
                YOfLParam(message.LParam));
      return;
    case WM_LBUTTONDOWN: return MouseButtonMessage(message, TMouseButton::mbLeft, true, false);
    case WM_LBUTTONDBLCLK: return MouseButtonMessage(message, TMouseButton::mbLeft, true, true);
    case WM_LBUTTONUP: return MouseButtonMessage(message, TMouseButton::mbLeft, false, false);
    case WM_RBUTTONDOWN: return MouseButtonMessage(message, TMouseButton::mbRight, true, false);
    case WM_RBUTTONDBLCLK: return MouseButtonMessage(message, TMouseButton::mbRight, true, true);
    case WM_RBUTTONUP: return MouseButtonMessage(message, TMouseButton::mbRight, false, false);
    case WM_MBUTTONDOWN: return MouseButtonMessage(message, TMouseButton::mbMiddle, true, false);
    case WM_MBUTTONDBLCLK: return MouseButtonMessage(message, TMouseButton::mbMiddle, true, true);
    case WM_MBUTTONUP: return MouseButtonMessage(message, TMouseButton::mbMiddle, false, false);
    case CM_MOUSEENTER: return CMMouseEnter(message);
    case CM_MOUSELEAVE: return CMMouseLeave(message);
    case CM_PARENTCOLORCHANGED: return CMParentColorChanged(message);
    case CM_PARENTFONTCHANGED: return CMParentFontChanged(message);
    case CM_PARENTSHOWHINTCHANGED: return CMParentShowHintChanged(message);
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
    case CM_HITTEST:
      message.Result = 1;
      return;
    case CM_CANCELMODE:
      if (gCaptureControl == this) SetMouseCapture(false);
      break;
    default:
      break;
  }
  Dispatch(message);
}

void TControl::MouseButtonMessage(TMessage& message, TMouseButton button, bool down, bool dbl) {
  int x = XOfLParam(message.LParam);
  int y = YOfLParam(message.LParam);
  TShiftState shift = KeysToShiftState(static_cast<uint32_t>(message.WParam));
  if (dbl) shift.Include(ssDouble);
  if (down) {
    if (button == TMouseButton::mbLeft) {
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
      controlState_.Include(csLButtonDown);
      if (dbl && controlStyle_.Contains(csDoubleClicks)) DblClick();
    }
    MouseDown(button, shift, x, y);
    return;
  }
  if (button == TMouseButton::mbLeft) {
    if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
    bool clicked = controlState_.Contains(csClicked);
    controlState_.Exclude(csLButtonDown).Exclude(csClicked);
    if (clicked && ClientRect().Contains({x, y})) Click();
  }
  MouseUp(button, shift, x, y);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::CMMouseEnter(TMessage& message) {
  if (message.LParam == 0 || message.LParam == reinterpret_cast<intptr_t>(this)) {
    mouseInControl_ = true;
    if (OnMouseEnter) OnMouseEnter(this);
  }
  if (parent_) parent_->Perform(CM_MOUSEENTER, 0, message.LParam ? message.LParam : reinterpret_cast<intptr_t>(this));
}

void TControl::CMMouseLeave(TMessage& message) {
  if (message.LParam == 0 || message.LParam == reinterpret_cast<intptr_t>(this)) {
    mouseInControl_ = false;
    if (OnMouseLeave) OnMouseLeave(this);
  }
  if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, message.LParam ? message.LParam : reinterpret_cast<intptr_t>(this));
}

void TControl::CMParentColorChanged(TMessage& message) {
  if (parentColor_ && parent_) {
    TColor color = message.WParam ? static_cast<TColor>(message.LParam) : parent_->Color();
    if (color != color_) {
      color_ = color;
      Perform(CM_COLORCHANGED);
    }
    parentColor_ = true;
  }
}

void TControl::CMParentFontChanged(TMessage&) {
  if (parentFont_ && parent_) {
    font_->Assign(parent_->Font());
    parentFont_ = true;  // Assign's change notification cleared it
  }
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (parentShowHint_ && parent_ && showHint_ != parent_->ShowHint()) {
    showHint_ = parent_->ShowHint();
    parentShowHint_ = true;
  }
}

void TControl::FontChanged() { Perform(CM_FONTCHANGED); }

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    if (!IsLoading()) {
      Perform(CM_PARENTCOLORCHANGED);
      Perform(CM_PARENTFONTCHANGED);
      Perform(CM_PARENTSHOWHINTCHANGED);
    }
  }
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* control = dynamic_cast<TWinControl*>(parent)) SetParent(control);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateControl(visible_, controlStyle_.Contains(csOpaque));
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  RequestAlign();
  if (resized) Resize();
}

void TControl::SetClientSize(int width, int height) {
  TRect client = ClientRect();
  SetBounds(left_, top_, width_ - client.Width() + width, height_ - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint origin = parent_->ClientOrigin();
  return {origin.x + left_, origin.y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint origin = ClientOrigin();
  return {p.x + origin.x, p.y + origin.y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint origin = ClientOrigin();
  return {p.x - origin.x, p.y - origin.y};
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  TAlign old = align_;
  align_ = value;
  if (!IsLoading() && old != TAlign::alNone && value == TAlign::alNone && parent_) {
    // Keep the size it had while aligned.
  }
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignAll(this);
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  VisibleChanging();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  RequestAlign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* value) { font_->Assign(value); }

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetText(const std::string& value) {
  if (GetText() == value) return;
  SetTextBuffer(value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
  if (value == showHint_ && !parentShowHint_) return;
  showHint_ = value;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (value == parentShowHint_) return;
  parentShowHint_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode value) {
  if (value == biDiMode_) return;
  biDiMode_ = value;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  if (!parent_ || !parent_->HandleAllocated() || !isVisible) return;
  RECT r{left_, top_, left_ + width_, top_ + height_};
  InvalidateRect(parent_->HandleIfAllocated(), &r, isOpaque ? FALSE : TRUE);
}

void TControl::Invalidate() { InvalidateControl(visible_, controlStyle_.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
  Invalidate();
  parent_->Update();
}

void TControl::BringToFront() {
  if (parent_) parent_->SetZOrderPosition(this, parent_->ControlCount() - 1);
}

void TControl::SendToBack() {
  if (parent_) parent_->SetZOrderPosition(this, 0);
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  if (value) {
    gCaptureControl = this;
    HWND wnd = nullptr;
    if (auto* windowed = dynamic_cast<TWinControl*>(this)) wnd = windowed->HandleIfAllocated();
    else if (parent_) wnd = parent_->HandleIfAllocated();
    if (wnd) SetCapture(wnd);
  } else {
    gCaptureControl = nullptr;
    ReleaseCapture();
  }
}

bool TControl::MouseCapture() const { return gCaptureControl == this; }
TControl* TControl::CaptureControl() { return gCaptureControl; }

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_) {
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
  }
  RequestAlign();
}

void TControl::PublishProperties(TPropertyList& p) {
  p.Integer("Left", &TControl::Left, &TControl::SetLeft);
  p.Integer("Top", &TControl::Top, &TControl::SetTop);
  p.Integer("Width", &TControl::Width, &TControl::SetWidth);
  p.Integer("Height", &TControl::Height, &TControl::SetHeight);
  p.Enum("Align", &TControl::Align, &TControl::SetAlign,
         {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, TAlign::alNone);
  p.Enum("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode,
         {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
         TBiDiMode::bdLeftToRight);
  p.String("Caption", &TControl::Caption, &TControl::SetCaption);
  p.Color("Color", &TControl::Color, &TControl::SetColor).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentColor();
  };
  p.Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, 0).idents = {
      {crDefault, "crDefault"}, {crNone, "crNone"},         {crArrow, "crArrow"},         {crCross, "crCross"},
      {crIBeam, "crIBeam"},     {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},
      {crSizeWE, "crSizeWE"},   {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crNo, "crNo"},
      {crHSplit, "crHSplit"},   {crVSplit, "crVSplit"},     {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}};
  p.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  p.Object("Font", &TControl::Font).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentFont();
  };
  p.String("Hint", &TControl::Hint, &TControl::SetHint);
  p.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
  p.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
  p.Boolean("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  p.Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
  p.Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true);
  p.Event("OnClick", &TControl::OnClick);
  p.Event("OnDblClick", &TControl::OnDblClick);
  p.Event("OnMouseDown", &TControl::OnMouseDown);
  p.Event("OnMouseMove", &TControl::OnMouseMove);
  p.Event("OnMouseUp", &TControl::OnMouseUp);
  p.Event("OnMouseEnter", &TControl::OnMouseEnter);
  p.Event("OnMouseLeave", &TControl::OnMouseLeave);
  p.Event("OnResize", &TControl::OnResize);
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& message) {
  if (message.Msg == WM_PAINT && message.WParam != 0) {
    TCanvasPaintScope scope(*canvas_, reinterpret_cast<HDC>(message.WParam));
    canvas_->Font()->Assign(Font());
    Paint();
    return;
  }
  TControl::WndProc(message);
}

}  // namespace hv
