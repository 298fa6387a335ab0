#include "framework/extctrls.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {
void DrawBevel(HDC dc, RECT& r, TBevelCut cut, int width) {
  if (cut == TBevelCut::bvNone) return;
  if (cut == TBevelCut::bvSpace) {
    InflateRect(&r, -width, -width);
    return;
  }
  UINT edge = cut == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER;
  for (int i = 0; i < width; ++i) DrawEdge(dc, &r, edge, BF_RECT | BF_ADJUST);
}

const std::vector<std::string_view> kBevelNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
}  // namespace

// ---- TPanel ----------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
  SetBounds(Left(), Top(), 185, 41);
  SetColor(clBtnFace);
}

int TPanel::FrameWidth() const {
  int width = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) width += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) width += bevelWidth_;
  return width;
}

TRect TPanel::AlignmentRect() const {
  TRect r = ClientRect();
  int frame = FrameWidth();
  return r.Inflate(-frame, -frame);
}

void TPanel::Paint() {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  RECT r{0, 0, Width(), Height()};
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(Rect(0, 0, Width(), Height()));
  DrawBevel(dc, r, bevelOuter_, bevelWidth_);
  InflateRect(&r, -borderWidth_, -borderWidth_);
  DrawBevel(dc, r, bevelInner_, bevelWidth_);
  std::string text = Caption();
  if (text.empty()) return;
  canvas->Brush()->SetStyle(bsClear);
  TRect textRect = Rect(r.left, r.top, r.right, r.bottom);
  unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  format |= alignment_ == TAlignment::taCenter ? DT_CENTER : alignment_ == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
  canvas->TextRect(textRect, text, format);
}

void TPanel::WndProc(TMessage& message) {
  if (message.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::WndProc(message);
}

void TPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Realign();
  Invalidate();
}
void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Realign();
  Invalidate();
}
void TPanel::SetBevelWidth(int value) {
  if (value == bevelWidth_ || value < 1) return;
  bevelWidth_ = value;
  Realign();
  Invalidate();
}
void TPanel::SetBorderWidth(int value) {
  if (value == borderWidth_ || value < 0) return;
  borderWidth_ = value;
  Realign();
  Invalidate();
}
void TPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TPanel::PublishProperties(TPropertyList& p) {
  // Starts with a colour of its own, not the parent's.
  p.Color("Color", &TPanel::Color, &TPanel::SetColor, clBtnFace).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentColor();
  };
  p.Boolean("ParentColor", &TPanel::ParentColor, &TPanel::SetParentColor, false);
  p.Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"},
         TAlignment::taCenter);
  p.Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, kBevelNames, TBevelCut::bvNone);
  p.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, kBevelNames, TBevelCut::bvRaised);
  p.Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1);
  p.Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth, 0);
}

// ---- TImage ----------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  SetBounds(Left(), Top(), 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PictureChanged() {
  if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  if (TGraphic* graphic = picture_->Graphic()) graphic->SetTransparent(transparent_);
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = picture_->Width(), h = picture_->Height();
  if (stretch_) return Rect(0, 0, Width(), Height());
  if (center_) return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
  return Rect(0, 0, w, h);
}

void TImage::Paint() {
  TGraphic* graphic = picture_->Graphic();
  if (!graphic || graphic->Empty()) return;
  Canvas()->StretchDraw(DestRect(), graphic);
}

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  PictureChanged();
}
void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Invalidate();
}
void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  Invalidate();
}
void TImage::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  PictureChanged();
}

void TImage::PublishProperties(TPropertyList& p) {
  p.Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false);
  p.Boolean("Center", &TImage::Center, &TImage::SetCenter, false);
  p.Object("Picture", &TImage::Picture);
  p.Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
  p.Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
}

// ---- TSplitter -------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(TAlign::alLeft);
  SetBounds(Left(), Top(), 3, 100);
  SetCursor(crHSplit);
  SetParentColor(true);
}

TControl* TSplitter::FindControl() const {
  if (!Parent()) return nullptr;
  TRect me = BoundsRect();
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    TRect r = c->BoundsRect();
    bool touches = false;
    switch (Align()) {
      case TAlign::alLeft: touches = r.right == me.left; break;
      case TAlign::alRight: touches = r.left == me.right; break;
      case TAlign::alTop: touches = r.bottom == me.top; break;
      case TAlign::alBottom: touches = r.top == me.bottom; break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  control_ = FindControl();
  downAt_ = ClientToScreen({x, y});
  if (control_) {
    bool horizontal = Align() == TAlign::alLeft || Align() == TAlign::alRight;
    startSize_ = horizontal ? control_->Width() : control_->Height();
  }
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!control_ || !shift.Contains(ssLeft)) return;
  TPoint at = ClientToScreen({x, y});
  int delta = 0;
  switch (Align()) {
    case TAlign::alLeft: delta = at.x - downAt_.x; break;
    case TAlign::alRight: delta = downAt_.x - at.x; break;
    case TAlign::alTop: delta = at.y - downAt_.y; break;
    case TAlign::alBottom: delta = downAt_.y - at.y; break;
    default: return;
  }
  int size = std::max(minSize_, startSize_ + delta);
  if (Align() == TAlign::alLeft || Align() == TAlign::alRight) control_->SetWidth(size);
  else control_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (control_ && OnMoved) OnMoved(this);
  control_ = nullptr;
}

void TSplitter::PublishProperties(TPropertyList& p) {
  p.Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30);
  p.Event("OnMoved", &TSplitter::OnMoved);
}

// ---- TSpeedButton ----------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(Left(), Top(), 23, 22);
  SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
  SetParentColor(true);
}

void TSpeedButton::Paint() {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  RECT r{0, 0, Width(), Height()};
  bool sunken = pressed_ || down_;
  if (!transparent_ || !flat_) {
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
  }
  if (!flat_) DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  else if (sunken) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  else if (MouseInControl() && Enabled()) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  canvas->Brush()->SetStyle(bsClear);
  TRect text = Rect(r.left, r.top, r.right, r.bottom);
  if (sunken) text = text.Offset(1, 1);
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  canvas->TextRect(text, Caption(), DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void TSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(message);
      if (flat_) Invalidate();
      return;
    case CM_BUTTONPRESSED:
      if (message.LParam != reinterpret_cast<intptr_t>(this) && static_cast<int>(message.WParam) == groupIndex_ &&
          groupIndex_ != 0 && down_) {
        down_ = false;
        Invalidate();
      }
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == TMouseButton::mbLeft && Enabled()) {
    pressed_ = true;
    Invalidate();
  }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!shift.Contains(ssLeft) || !MouseCapture()) return;
  bool inside = ClientRect().Contains({x, y});
  if (inside != pressed_) {
    pressed_ = inside;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  bool wasPressed = pressed_;
  pressed_ = false;
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  Invalidate();
  if (wasPressed && ClientRect().Contains({x, y}) && Enabled()) {
    if (groupIndex_ != 0) SetDown(true);
    Click();
  }
}

void TSpeedButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
}
void TSpeedButton::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}
void TSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (value && groupIndex_ != 0 && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      Parent()->Controls(i)->Perform(CM_BUTTONPRESSED, static_cast<uintptr_t>(groupIndex_),
                                     reinterpret_cast<intptr_t>(this));
  Invalidate();
}

void TSpeedButton::PublishProperties(TPropertyList& p) {
  p.Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false);
  p.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false);
  p.Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0);
  p.Boolean("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent, true);
}

// ---- TStatusBar ------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStringList>()) {
  SetAlign(TAlign::alBottom);
  SetBounds(Left(), Top(), 185, 19);
  SetColor(clBtnFace);
  panels_->OnChange = [this](TObject*) { UpdatePanels(); };
}

TStatusBar::~TStatusBar() {
  Destroying();
  DestroyComponents();
  DestroyHandle();
}

int TStatusBar::PanelWidth(int index) const {
  std::string line = panels_->Get(index);
  int64_t width = 0;
  std::string_view head = std::string_view(line).substr(0, line.find(' '));
  return TryStrToInt64(head, width) ? static_cast<int>(std::clamp<int64_t>(width, 0, 32767)) : 50;
}

std::string TStatusBar::PanelText(int index) const {
  std::string line = panels_->Get(index);
  size_t space = line.find(' ');
  return space == std::string::npos ? std::string() : line.substr(space + 1);
}

void TStatusBar::SetPanel(int index, int width, const std::string& text) {
  std::string line = std::to_string(width) + (text.empty() ? "" : " " + text);
  if (index == panels_->Count()) panels_->Add(line);
  else panels_->Put(index, line);
}

void TStatusBar::SetSimplePanel(bool value) {
  if (value == simplePanel_) return;
  simplePanel_ = value;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), SB_SIMPLE, value, 0);
}

void TStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  RecreateWnd();
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClassName = STATUSCLASSNAMEW;
  params.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
  if (sizeGrip_) params.style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
  if (simplePanel_) SendMessageW(HandleIfAllocated(), SB_SIMPLE, TRUE, 0);
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  HWND wnd = HandleIfAllocated();
  int count = std::min(panels_->Count(), 255);
  std::vector<int> edges;
  int x = 0;
  for (int i = 0; i < count; ++i) {
    x += PanelWidth(i);
    edges.push_back(i == count - 1 ? -1 : x);
  }
  if (edges.empty()) edges.push_back(-1);
  SendMessageW(wnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < count; ++i)
    SendMessageW(wnd, SB_SETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(Widen(PanelText(i)).c_str()));
}

void TStatusBar::WndProc(TMessage& message) {
  if (message.Msg == WM_SIZE) {
    TWinControl::WndProc(message);
    UpdatePanels();
    return;
  }
  TWinControl::WndProc(message);
}

void TStatusBar::PublishProperties(TPropertyList& p) {
  // Starts with a colour of its own, not the parent's.
  p.Color("Color", &TStatusBar::Color, &TStatusBar::SetColor, clBtnFace).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentColor();
  };
  p.Boolean("ParentColor", &TStatusBar::ParentColor, &TStatusBar::SetParentColor, false);
  p.Strings("Panels", &TStatusBar::Panels);
  p.Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false);
  p.Boolean("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip, true);
}

}  // namespace hv
