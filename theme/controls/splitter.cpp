#include "theme/controls/splitter.h"

#include <windows.h>

#include <vector>

#include "framework/forms.h"
#include "framework/gdi.h"
#include "framework/graphics.h"
#include "theme/controls/splittermath.h"
#include "theme/core/theme.h"

namespace hv {

namespace {

TCustomForm* ParentFormOf(const TControl* control) {
  TCustomForm* form = nullptr;
  for (TWinControl* p = control->Parent(); p; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p)) form = f;
  return form;
}

// The halftone of the pattern drag line: black and white dots in turn.
TBrushHandle MakeHalftoneBrush() {
  static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  TBitmapHandle pattern(CreateBitmap(8, 8, 1, 1, kRows));
  return TBrushHandle(CreatePatternBrush(pattern.Get()));
}

}  // namespace

// The parent's device context for the length of one drag, with the pattern
// brush selected when the line is drawn as a halftone; everything goes back
// when the drag ends.
class TTeCustomSplitter::TLineDC {
 public:
  TLineDC(HWND window, bool pattern)
      : window_(window), dc_(GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE)) {
    if (!dc_ || !pattern) return;
    brush_ = MakeHalftoneBrush();
    if (brush_) previous_ = static_cast<HBRUSH>(SelectObject(dc_, brush_.Get()));
  }
  TLineDC(const TLineDC&) = delete;
  TLineDC& operator=(const TLineDC&) = delete;
  ~TLineDC() {
    if (!dc_) return;
    if (previous_) SelectObject(dc_, previous_);
    ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  TBrushHandle brush_;
  HBRUSH previous_ = nullptr;
};

TTeCustomSplitter::TTeCustomSplitter(TComponent* owner) : TTeGraphicControl(owner) {
  SetAlign(TAlign::alLeft);
  SetWidth(3);
  SetCursor(crHSplit);
}

TTeCustomSplitter::~TTeCustomSplitter() {
  // A drag cut short by the splitter's end gives back what it borrowed.
  if (activeControl_) activeControl_->OnKeyDown = oldKeyDown_;
}

void TTeCustomSplitter::SetBeveled(bool value) {
  if (value == beveled_) return;
  beveled_ = value;
  Repaint();
}

void TTeCustomSplitter::SetMinSize(int value) { minSize_ = std::max(0, value); }

void TTeCustomSplitter::PaintClient() {
  TTeGraphicControl::PaintClient();
  TCanvas& canvas = *Canvas();
  if (beveled_) {
    TRect r = ClientRect();
    if (SplitterResizesWidth(Align()))
      r = {r.left + 1, r.top - 2, r.right - 1, r.bottom + 2};
    else
      r = {r.left - 2, r.top + 1, r.right + 2, r.bottom - 1};
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnHighlight);
    canvas.FrameRect(r.Offset(1, 1));
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FrameRect(r.Offset(-1, -1));
  }
  if (OnPaint) OnPaint(this);
}

bool TTeCustomSplitter::CanResize(int newSize) {
  bool accept = true;
  if (OnCanResize) OnCanResize(this, newSize, accept);
  return accept;
}

bool TTeCustomSplitter::DoCanResize(int& newSize) {
  if (!CanResize(newSize)) return false;
  if (autoSnap_ && newSize <= minSize_) newSize = 0;
  return true;
}

TControl* TTeCustomSplitter::FindNeighbour() const {
  if (!Parent()) return nullptr;
  const std::optional<TPoint> probe = SplitterProbePoint(Align(), BoundsRect());
  if (!probe) return nullptr;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* child = Parent()->Controls(i);
    if (child == this || !child->Visible() || !child->Enabled()) continue;
    if (SplitterNeighbourHit(Align(), child->BoundsRect(), *probe)) return child;
  }
  return nullptr;
}

TSplitterStep TTeCustomSplitter::StepFor(int x, int y) const {
  const int size = SplitterResizesWidth(Align()) ? sizedControl_->Width() : sizedControl_->Height();
  return SplitterStepFor(Align(), downPos_, {x, y}, size, minSize_, maxSize_);
}

void TTeCustomSplitter::DrawLine() {
  if (!lineDC_ || !lineDC_->Get()) return;
  lineVisible_ = !lineVisible_;
  const TRect r = SplitterLineRect(Align(), BoundsRect(), split_);
  PatBlt(lineDC_->Get(), r.left, r.top, r.Width(), r.Height(), PATINVERT);
}

void TTeCustomSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || sizedControl_) return;
  TControl* neighbour = FindNeighbour();
  if (!neighbour) return;
  sizedControl_ = neighbour;
  sizedControl_->FreeNotification(this);
  downPos_ = {x, y};

  const bool horizontal = SplitterResizesWidth(Align());
  std::vector<int> aligned;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    const TControl* child = Parent()->Controls(i);
    // Hidden controls take no room.
    if (!child->Visible()) continue;
    const TAlign a = child->Align();
    if (horizontal && (a == TAlign::alLeft || a == TAlign::alRight)) aligned.push_back(child->Width());
    if (!horizontal && (a == TAlign::alTop || a == TAlign::alBottom)) aligned.push_back(child->Height());
  }
  const int neighbourSize = horizontal ? neighbour->Width() : neighbour->Height();
  const TRect client = Parent()->ClientRect();
  maxSize_ = SplitterMaxSize(horizontal ? client.Width() : client.Height(), minSize_, aligned, neighbourSize);
  // Only a size that differs from what the neighbour has now is applied.
  oldSize_ = neighbourSize;
  const TSplitterStep step = StepFor(x, y);
  split_ = step.split;
  newSize_ = step.size;

  lineDC_ = std::make_unique<TLineDC>(Parent()->Handle(), resizeStyle_ == rsPattern);
  if (TCustomForm* form = ParentFormOf(this); form && form->ActiveControl()) {
    activeControl_ = form->ActiveControl();
    activeControl_->FreeNotification(this);
    oldKeyDown_ = activeControl_->OnKeyDown;
    activeControl_->OnKeyDown = TKeyEvent(
        [this](TObject* sender, uint16_t& key, TShiftState keyShift) { FocusKeyDown(sender, key, keyShift); });
  }
  if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) DrawLine();
}

void TTeCustomSplitter::MouseMove(TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseMove(shift, x, y);
  if (!shift.Contains(ssLeft) || !sizedControl_) return;
  const TSplitterStep step = StepFor(x, y);
  int size = step.size;
  if (!DoCanResize(size)) return;
  const bool line = resizeStyle_ == rsLine || resizeStyle_ == rsPattern;
  if (line && lineVisible_) DrawLine();
  newSize_ = size;
  split_ = step.split;
  if (resizeStyle_ == rsUpdate) UpdateSize();
  if (line && sizedControl_) DrawLine();
}

void TTeCustomSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TTeGraphicControl::MouseUp(button, shift, x, y);
  if (!sizedControl_) return;
  if (lineVisible_) DrawLine();
  UpdateSize();
  StopSizing();
}

void TTeCustomSplitter::UpdateSize() {
  if (!sizedControl_ || newSize_ == oldSize_) return;
  const TRect bounds = SplitterResizedBounds(Align(), sizedControl_->BoundsRect(), newSize_);
  if (Align() == TAlign::alBottom || Align() == TAlign::alRight) {
    // Both edges move: the parent lays out once, after both.
    Parent()->DisableAlign();
    struct Enable {
      TWinControl* parent;
      ~Enable() { parent->EnableAlign(); }
    } enable{Parent()};
    sizedControl_->SetBoundsRect(bounds);
  } else {
    sizedControl_->SetBoundsRect(bounds);
  }
  Repaint();
  oldSize_ = newSize_;
  if (OnMoved) OnMoved(this);
}

void TTeCustomSplitter::StopSizing() {
  if (sizedControl_) {
    if (lineVisible_) DrawLine();
    sizedControl_->RemoveFreeNotification(this);
    sizedControl_ = nullptr;
    lineDC_.reset();
    lineVisible_ = false;
    if (activeControl_) {
      activeControl_->RemoveFreeNotification(this);
      TWinControl* control = std::exchange(activeControl_, nullptr);
      // The handler running now is the one being replaced: keep it alive
      // until it has returned.
      TKeyEvent running = std::move(control->OnKeyDown);
      control->OnKeyDown = std::move(oldKeyDown_);
      oldKeyDown_.Clear();
      retiredKeyDown_ = std::move(running);
    }
  }
  if (OnMoved) OnMoved(this);
}

void TTeCustomSplitter::FocusKeyDown(TObject* sender, uint16_t& key, TShiftState shift) {
  if (key == VK_ESCAPE) {
    StopSizing();
    return;
  }
  if (oldKeyDown_) oldKeyDown_(sender, key, shift);
}

void TTeCustomSplitter::MouseEnter() {
  TTeGraphicControl::MouseEnter();
  if (!sizedControl_) Repaint();
}

void TTeCustomSplitter::MouseLeave() {
  TTeGraphicControl::MouseLeave();
  if (!sizedControl_) Repaint();
}

void TTeCustomSplitter::RequestAlign() {
  TTeGraphicControl::RequestAlign();
  if (Cursor() != crHSplit && Cursor() != crVSplit) return;
  SetCursor(Align() == TAlign::alTop || Align() == TAlign::alBottom ? crVSplit : crHSplit);
}

void TTeCustomSplitter::Notification(TComponent* component, TOperation operation) {
  TTeGraphicControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == sizedControl_) {
    // The drag has nothing left to resize: it ends without a size.
    sizedControl_ = nullptr;
    lineDC_.reset();
    lineVisible_ = false;
    if (activeControl_) {
      activeControl_->OnKeyDown = std::move(oldKeyDown_);
      activeControl_->RemoveFreeNotification(this);
      activeControl_ = nullptr;
    }
  }
}

void TTeCustomSplitter::PublishProperties(TPropertyList& p) {
  p.Boolean("AutoSnap", &TTeCustomSplitter::AutoSnap, &TTeCustomSplitter::SetAutoSnap, true);
  p.Boolean("Beveled", &TTeCustomSplitter::Beveled, &TTeCustomSplitter::SetBeveled, false);
  p.Integer("MinSize", &TTeCustomSplitter::MinSize, &TTeCustomSplitter::SetMinSize, 30);
  p.Enum("ResizeStyle", &TTeCustomSplitter::ResizeStyle, &TTeCustomSplitter::SetResizeStyle,
         {"rsNone", "rsLine", "rsUpdate", "rsPattern"}, rsPattern);
  p.Event("OnCanResize", &TTeCustomSplitter::OnCanResize);
  p.Event("OnMoved", &TTeCustomSplitter::OnMoved);
  p.Event("OnPaint", &TTeCustomSplitter::OnPaint);
}

// ---- TTeThemeSplitter ----------------------------------------------------

void TTeThemeSplitter::SetThemeEngine(TTeThemeEngine* value) {
  if (themeLink_.Set(value)) Invalidate();
}

void TTeThemeSplitter::PaintClient() {
  TTeTheme* theme = UsableTheme();
  if (!theme) {
    TTeCustomSplitter::PaintClient();
    return;
  }
  BeginElementProbe();
  theme->DrawSplitter(*Canvas(), Rect(0, 0, Width(), Height()), MouseInControl(), Beveled());
  // A style without a splitter leaves the plain one.
  if (ElementLeftUnpainted()) TTeCustomSplitter::PaintClient();
}

// Nothing else tells the splitter that its engine is going.
void TTeThemeSplitter::Notification(TComponent* component, TOperation operation) {
  TTeCustomSplitter::Notification(component, operation);
  if (operation == TOperation::opRemove && themeLink_.Forget(component)) Invalidate();
}

void TTeThemeSplitter::PublishProperties(TPropertyList& p) {
  p.Component("ThemeEngine", &TTeThemeSplitter::ThemeEngine, &TTeThemeSplitter::SetThemeEngine);
  p.String("Version", &TTeThemeSplitter::Version, &TTeThemeSplitter::SetVersion, std::nullopt);
}

}  // namespace hv
