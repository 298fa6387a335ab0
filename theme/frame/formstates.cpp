// The frame's mouse, moving and sizing, the window states and their
// actions, the application's minimize and restore, and the tray icon.

#include <windows.h>
// After <windows.h>.
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/lazymodule.h"
#include "framework/screen.h"
#include "framework/utilwindow.h"
#include "framework/winstring.h"
#include "theme/core/dropdown.h"
#include "theme/frame/frameresources.h"
#include "theme/frame/menubar.h"
#include "theme/frame/popupmenu.h"
#include "theme/frame/themeform.h"
#include "theme/frame/traysupport.h"
#include "theme/frame/workarea.h"

namespace hv {

// --- the tray icon ------------------------------------------------------------

struct TTeTrayIconRecord {
  NOTIFYICONDATAA data{};
};

namespace {

// The shell's library is loaded when a frame first goes to the tray, not
// with every start of the program.
using TShellNotifyIcon = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

BOOL NotifyIcon(DWORD what, NOTIFYICONDATAA& data) {
  static const auto notify = Shell32Module().Entry<TShellNotifyIcon>("Shell_NotifyIconA");
  return notify(what, &data);
}

}  // namespace

TTeTrayIcon::TTeTrayIcon(TTeCustomForm& frame, bool prepare)
    : frame_(frame), record_(std::make_unique<TTeTrayIconRecord>()), prepared_(prepare) {
  if (!prepare) return;
  // The record's first, smallest form, which every shell understands. Its
  // window waits until the icon is added: most frames (every popup menu's)
  // never show one.
  NOTIFYICONDATAA& data = record_->data;
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.uID = static_cast<UINT>(reinterpret_cast<uintptr_t>(&frame_));
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = 0x56C;
}

TTeTrayIcon::~TTeTrayIcon() { Remove(); }

HWND TTeTrayIcon::Window() {
  if (!window_) window_ = std::make_unique<TUtilWindow>([this](TMessage& message) { WndProc(message); });
  return window_->Handle();
}

void TTeTrayIcon::SetIcon(TCustomForm* form) {
  if (!prepared_) return;
  HICON icon = form && form->Icon() ? form->Icon()->Handle() : nullptr;
  if (!icon && Application()->Icon()) icon = Application()->Icon()->Handle();
  if (!icon) icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  record_->data.hIcon = icon;
  if (shown_) NotifyIcon(NIM_MODIFY, record_->data);
}

void TTeTrayIcon::SetTip(const std::string& tip) {
  std::string ansi = Utf8ToAnsi(tip);
  char* target = record_->data.szTip;
  const size_t length = std::min<size_t>(ansi.size(), 63);
  std::memcpy(target, ansi.data(), length);
  target[length] = '\0';
}

void TTeTrayIcon::Add() {
  if (!prepared_) return;
  if (!record_->data.hIcon) SetIcon(nullptr);
  record_->data.hWnd = Window();
  // The shell's answer is not reported: without a notification area the
  // window is only hidden, and a double click cannot bring it back anyway.
  NotifyIcon(NIM_ADD, record_->data);
  shown_ = true;
}

void TTeTrayIcon::Remove() {
  if (!shown_) return;
  shown_ = false;
  // Shown means the entry was found; this runs in destructors.
  NotifyIcon(NIM_DELETE, record_->data);
}

void TTeTrayIcon::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_QUERYENDSESSION:
      message.Result = 1;
      return;
    case WM_ENDSESSION:
      Remove();
      break;
    case 0x56C:
      if (message.LParam == WM_LBUTTONDBLCLK)
        frame_.Restore();
      else if (message.LParam == WM_RBUTTONUP)
        frame_.ShowSystemMenu();
      return;
    default:
      break;
  }
  window_->Default(message);
}

bool TTeCustomForm::TrayIconShown() const { return tray_->Shown(); }

HWND TTeCustomForm::TrayWindow() const { return tray_->Window(); }

// --- mouse ------------------------------------------------------------------------

namespace {

TShiftState HeldShift(int held) {
  if (held == 8) return {ssLeft};
  if (held == 16) return {ssRight};
  return {};
}

}  // namespace

void TTeCustomForm::FrameMouseMessage(TMessage& message) {
  HWND wnd = Handle();
  RECT wr{};
  GetWindowRect(wnd, &wr);
  // Non-client messages carry screen points; client ones client points.
  const TPoint screen{XOfLParam(message.LParam), YOfLParam(message.LParam)};
  const TPoint windowPoint{screen.x - wr.left, screen.y - wr.top};
  auto fromClient = [&] {
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    return TPoint{screen.x + origin.x - wr.left, screen.y + origin.y - wr.top};
  };
  auto takeFocus = [&] {
    if (!active_) SetFocus(wnd);
    if (const auto& close = OpenDropDownCloser()) close();
  };
  switch (message.Msg) {
    case WM_NCLBUTTONDOWN:
      takeFocus();
      heldButtons_ = kHeldLeft;
      FrameMouseDown(TMouseButton::mbLeft, {ssLeft}, windowPoint.x, windowPoint.y);
      break;
    case WM_NCLBUTTONUP:
      heldButtons_ = 0;
      FrameMouseUp(TMouseButton::mbLeft, {}, windowPoint.x, windowPoint.y);
      break;
    case WM_NCLBUTTONDBLCLK:
      FrameMouseDown(TMouseButton::mbLeft, {ssLeft, ssDouble}, windowPoint.x, windowPoint.y);
      FrameMouseUp(TMouseButton::mbLeft, {ssLeft, ssDouble}, windowPoint.x, windowPoint.y);
      heldButtons_ = 0;
      message.Result = 1;
      MarkHandled();
      return;
    case WM_NCRBUTTONDOWN:
      takeFocus();
      heldButtons_ = kHeldRight;
      FrameMouseDown(TMouseButton::mbRight, {ssRight}, windowPoint.x, windowPoint.y);
      break;
    case WM_NCRBUTTONUP:
      heldButtons_ = 0;
      FrameMouseUp(TMouseButton::mbRight, {}, windowPoint.x, windowPoint.y);
      break;
    case WM_NCMOUSEMOVE:
      FrameMouseMove(HeldShift(heldButtons_), windowPoint.x, windowPoint.y);
      break;
    case WM_MOUSEMOVE:
      if (hotCode_ != kHitNone && heldButtons_ != kHeldLeft) {
        hotCode_ = kHitNone;
        PaintNonClient();
      }
      if (heldButtons_ != 0) {
        TPoint p = fromClient();
        FrameMouseMove(HeldShift(heldButtons_), p.x, p.y);
      }
      return;
    case WM_LBUTTONUP:
      if (heldButtons_ != 0) {
        TPoint p = fromClient();
        heldButtons_ = 0;
        FrameMouseUp(TMouseButton::mbLeft, {}, p.x, p.y);
      }
      return;
    default:
      return;
  }
  message.Result = 0;
  MarkHandled();
}

void TTeCustomForm::FrameMouseDown(TMouseButton button, TShiftState, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressedCode_ = hotCode_ = HitTest(x, y);
  downPoint_ = lastPoint_ = {x, y};
  PaintNonClient();
  if (pressedCode_ >= kHitCaption && pressedCode_ <= kHitBottomRight) {
    moving_ = true;
    lastOutline_ = {};
    if (dragging_->DragMode() == kfdmBorder) {
      paintingEnabled_ = false;
      outlineMode_ = true;
    }
  }
  SetCapture(Handle());
}

void TTeCustomForm::FrameMouseMove(TShiftState shift, int x, int y) {
  TCustomForm* form = OwnerForm();
  if (!form) return;
  if (!shift.Contains(ssLeft) || !moving_) {
    const int code = HitTest(x, y);
    if (code != hotCode_) {
      hotCode_ = code;
      PaintNonClient();
    }
    return;
  }
  TDragInput in;
  in.pressedCode = pressedCode_;
  in.bounds = form->BoundsRect();
  in.down = downPoint_;
  in.last = lastPoint_;
  in.point = {x, y};
  in.minSize = GetMinTrackSize();
  in.fullDrag = dragging_->DragMode() == kfdmFullDrag;
  in.moveable = dragging_->Moveable();
  in.sizeable = dragging_->Sizeable();
  in.state = windowState_;
  const TDragResult drag = DragBounds(in);
  TRect bounds = drag.bounds;
  if (drag.moved) {
    const TRect workArea = GravitationWorkArea(form->HandleIfAllocated());
    bounds = gravitation_->SnapRect(bounds, workArea, shadow_->Enabled() ? shadow_->Size() : 0);
  }
  if (in.fullDrag) {
    if (drag.changed) SetFormBounds(bounds);
    hotCode_ = HitTest(x, y);
    PaintNonClient();
  } else if (drag.changed) {
    DrawOutline(bounds);
  }
  lastPoint_ = {x, y};
}

void TTeCustomForm::FrameMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const int code = HitTest(x, y);
  TCustomForm* form = OwnerForm();
  if (button == TMouseButton::mbLeft) {
    ReleaseCapture();
    const int pressed = pressedCode_;
    const bool outline = outlineMode_;
    if (shift.Contains(ssDouble)) {
      // The press that began the double click started a drag; it ends here
      // without moving anything.
      if (outline) {
        DrawOutline({});
        outlineMode_ = false;
        paintingEnabled_ = true;
      }
      pressedCode_ = kHitNone;
      moving_ = false;
      if (pressed == kHitCaption && borderIcons_.Contains(kbiMaximize)) {
        if (windowState_ == kwsMinimized)
          Restore();
        else
          Maximize();
      } else if (pressed == kHitSystemMenu) {
        Close();
      }
      return;
    }
    if (code == pressed) {
      switch (code) {
        case kHitClose:
          Close();
          break;
        case kHitHelp:
          ShowHelp();
          break;
        case kHitMinimize:
          Minimize();
          break;
        case kHitMaximize:
          Maximize();
          break;
        case kHitRollup:
          Rollup();
          break;
        case kHitTray:
          MinimizeToTray();
          break;
        case kHitSystemMenu:
          ShowSystemMenu();
          break;
        default:
          break;
      }
    }
    if (!outline) {
      // A release away from the last move point still ends the drag where
      // the button came up: moves can be merged away before it arrives.
      if (moving_ && !shift.Contains(ssDouble) && TPoint{x, y} != lastPoint_) FrameMouseMove({ssLeft}, x, y);
      PaintNonClient();
    } else {
      // Outline mode ends whatever happens while the window moves.
      struct TOutlineEnd {
        TTeCustomForm& frame;
        ~TOutlineEnd() {
          frame.dragging_->SetDragMode(kfdmBorder);
          frame.outlineMode_ = false;
          frame.paintingEnabled_ = true;
        }
      };
      DrawOutline({});
      {
        TOutlineEnd end{*this};
        // The window takes the outline's place in one go.
        dragging_->SetDragMode(kfdmFullDrag);
        FrameMouseMove({ssLeft}, x, y);
      }
      PaintNonClient();
      if (form) form->Invalidate();
    }
    pressedCode_ = kHitNone;
    moving_ = false;
  }
  if (button == TMouseButton::mbRight && code == kHitCaption && form) {
    const TRect client = GetFrameClientRect();
    systemMenuPos_ = form->ClientToScreen({x - client.left, y - client.top});
    ShowSystemMenu();
    systemMenuPos_ = {};
  }
  pressedCode_ = kHitNone;
}

void TTeCustomForm::DrawOutline(const TRect& rect) {
  if (windowState_ == kwsMaximized) return;
  TScreenDC screen;
  TCanvas canvas;
  TCanvasPaintScope scope(canvas, screen.Get());
  canvas.Brush()->SetStyle(bsClear);
  canvas.Pen()->SetColor(clWhite);
  canvas.Pen()->SetWidth(2);
  canvas.Pen()->SetStyle(psInsideFrame);
  canvas.Pen()->SetMode(pmXor);
  if (!lastOutline_.IsEmpty()) canvas.Rectangle(lastOutline_);
  if (!rect.IsEmpty()) canvas.Rectangle(rect);
  lastOutline_ = rect;
}

// --- state actions ------------------------------------------------------------------

void TTeCustomForm::SetFormBounds(const TRect& bounds) {
  TCustomForm* form = OwnerForm();
  if (!form) return;
  form->SetBoundsRect(bounds);
  // The window shows its new place at once, not after the caller is done.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
}

void TTeCustomForm::LeaveIconic() {
  TCustomForm* form = OwnerForm();
  if (!form || !form->HandleAllocated()) return;
  // A frame minimized with the application brings the application back.
  const bool application = windowState_ == kwsMinimized && minimizeApplication_ && Application()->Minimized();
  if (!application && !IsIconic(form->HandleIfAllocated())) return;
  TScopedFlag busy(appEventsBusy_);
  if (application) Application()->Restore();
  if (IsIconic(form->HandleIfAllocated())) ShowWindow(form->HandleIfAllocated(), SW_RESTORE);
}

bool TTeCustomForm::BeginStateAction(const TTeFormActionEvent& event, TTeWindowState target, bool needsForm) {
  hotCode_ = kHitNoButton;
  bool allow = true;
  if (event) event(this, allow);
  // Minimizing needs the form, and a form shown modally stays where it is.
  if (!allow || (needsForm && (!OwnerForm() || OwnerForm()->Modal()))) return false;
  if (windowState_ != target) return true;
  // Asked for the state it is in, a window goes back instead.
  Restore();
  return false;
}

void TTeCustomForm::LeaveTray() {
  if (windowState_ != kwsTray || !tray_->Shown()) return;
  TCustomForm* form = OwnerForm();
  {
    TScopedFlag busy(appEventsBusy_);
    if (minimizeApplication_) Application()->Restore();
  }
  if (form && form->HandleAllocated()) {
    ShowWindow(form->HandleIfAllocated(), SW_RESTORE);
    SetForegroundWindow(form->HandleIfAllocated());
  }
  tray_->Remove();
}

void TTeCustomForm::Maximize() {
  if (!BeginStateAction(OnMaximize, kwsMaximized, false)) return;
  LeaveTray();
  TCustomForm* form = OwnerForm();
  LeaveIconic();
  previousState_ = windowState_;
  if (pendingState_ == kwsNormal && windowState_ != kwsRollup && windowState_ != kwsMinimized && form)
    restoreBounds_ = form->BoundsRect();
  windowState_ = kwsMaximized;
  SetFormBounds(GetMaximizedRect());
  if (form) form->Invalidate();
  PaintNonClient();
  if (form && form->FormStyle() == TFormStyle::fsMDIChild) {
    UpdateFrame();
    ShowMdiButtonsOnParent(true);
    UpdateMdiParentCaption();
  }
  pendingState_ = kwsNormal;
}

void TTeCustomForm::Minimize() {
  if (!BeginStateAction(OnMinimize, kwsMinimized, true)) return;
  LeaveTray();
  TCustomForm* form = OwnerForm();
  // The system may have minimized the window already (the taskbar, the
  // window manager): then the frame only follows, and the bounds to go back
  // to are the window's normal place, not where the icon sits.
  const bool iconic = form->HandleAllocated() && IsIconic(form->HandleIfAllocated());
  previousState_ = windowState_;
  windowState_ = kwsMinimized;
  MdiRefresh();
  if (pendingState_ == kwsNormal && previousState_ != kwsRollup && previousState_ != kwsMaximized) {
    restoreBounds_ = form->BoundsRect();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (iconic && GetWindowPlacement(form->HandleIfAllocated(), &placement)) {
      const RECT& r = placement.rcNormalPosition;
      restoreBounds_ = Rect(r.left, r.top, r.right, r.bottom);
    }
  }
  if (!iconic && minimizeApplication_) {
    TScopedFlag busy(appEventsBusy_);
    Application()->Minimize();
  } else if (!iconic) {
    SetFormBounds(GetMinimizedRect());
  }
  pendingState_ = kwsNormal;
}

void TTeCustomForm::Rollup() {
  if (!BeginStateAction(OnRollup, kwsRollup, false)) return;
  LeaveTray();
  TCustomForm* form = OwnerForm();
  LeaveIconic();
  previousState_ = windowState_;
  windowState_ = kwsRollup;
  if (previousState_ != kwsMinimized && previousState_ != kwsMaximized && form) restoreBounds_ = form->BoundsRect();
  SetFormBounds(GetRollupRect());
  pendingState_ = kwsNormal;
}

void TTeCustomForm::MinimizeToTray() {
  if (!BeginStateAction(OnMinToTray, kwsTray, true)) return;
  TCustomForm* form = OwnerForm();
  previousState_ = windowState_;
  windowState_ = kwsTray;
  if (pendingState_ == kwsNormal && previousState_ == kwsNormal) restoreBounds_ = form->BoundsRect();
  if (minimizeApplication_) {
    tray_->SetTip(Application()->Title());
    TScopedFlag busy(appEventsBusy_);
    Application()->Minimize();
  } else {
    tray_->SetTip(form->Caption());
  }
  if (form->HandleAllocated()) ShowWindow(form->HandleIfAllocated(), SW_HIDE);
  tray_->Add();
  pendingState_ = kwsNormal;
}

void TTeCustomForm::Restore() {
  hotCode_ = kHitNoButton;
  TCustomForm* form = OwnerForm();
  // A frame that never left its normal state has nothing to go back to but
  // where it is.
  const TRect back = restoreBounds_.IsEmpty() && form ? form->BoundsRect() : restoreBounds_;
  bool rerun = false;
  switch (windowState_) {
    case kwsNormal:
      SetFormBounds(back);
      break;
    case kwsMaximized:
      if (previousState_ == kwsRollup) {
        windowState_ = kwsNormal;
        SetFormBounds(back);
        Rollup();
      } else if (previousState_ == kwsMinimized) {
        // Maximized while minimized: the window stays maximized.
        if (!minimizeApplication_) {
          windowState_ = kwsNormal;
          SetFormBounds(back);
          Maximize();
        }
      } else {
        previousState_ = kwsMaximized;
        windowState_ = kwsNormal;
        SetFormBounds(back);
        if (shadow_->Enabled()) {
          if (form) form->Invalidate();
          PaintNonClient();
        }
        MdiRefresh();
      }
      break;
    case kwsMinimized:
      LeaveIconic();
      if (previousState_ == kwsMaximized) {
        Maximize();
        rerun = true;
      } else if (previousState_ == kwsRollup) {
        Rollup();
        rerun = true;
      } else {
        windowState_ = kwsNormal;
        SetFormBounds(back);
      }
      break;
    case kwsRollup:
      if (GetMaximizedRect().Width() == frameWidth_ || previousState_ == kwsMaximized) {
        Maximize();
        rerun = true;
      } else {
        windowState_ = kwsNormal;
        // The window unrolls where it now is.
        TRect r = back;
        if (form) r = Bounds(form->Left(), form->Top(), back.Width(), back.Height());
        SetFormBounds(r);
      }
      break;
    case kwsTray: {
      const TRect savedBounds = restoreBounds_;
      const TTeWindowState savedPrevious = previousState_;
      LeaveTray();
      restoreBounds_ = savedBounds;
      previousState_ = savedPrevious;
      if (savedPrevious == kwsMaximized) {
        Maximize();
        restoreBounds_ = savedBounds;
        rerun = true;
      } else if (savedPrevious == kwsRollup) {
        Rollup();
        restoreBounds_ = savedBounds;
        rerun = true;
      } else {
        windowState_ = kwsNormal;
        SetFormBounds(back);
      }
      break;
    }
  }
  if (rerun) previousState_ = kwsNormal;
}

void TTeCustomForm::Close() {
  bool allow = true;
  if (OnClose) OnClose(this, allow);
  if (!allow) return;
  TCustomForm* form = OwnerForm();
  if (!form) return;
  // A modal form ends its modal loop instead.
  if (form->Modal()) {
    form->SetModalResult(mrCancel);
    return;
  }
  // The framework's close processing: the close query, the form's own close
  // event with its action, and for the main form the end of the program.
  if (form->FormStyle() == TFormStyle::fsMDIChild)
    CloseMdiChild(*form);
  else
    form->Close();
}

void TTeCustomForm::CloseMdiChild(TCustomForm& form) {
  if (!form.CloseQuery()) return;
  // A child goes to its minimized state through the frame, or stays.
  TCloseAction action = borderIcons_.Contains(kbiMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone;
  if (form.OnClose) form.OnClose(&form, action);
  switch (action) {
    case TCloseAction::caHide:
      form.Hide();
      UpdateMdiParentCaption();
      break;
    case TCloseAction::caMinimize:
      if (windowState_ != kwsMinimized) Minimize();
      break;
    case TCloseAction::caFree:
      form.Release();
      break;
    default:
      break;
  }
}

void TTeCustomForm::ShowHelp() {
  if (Handle()) SendMessageW(Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
}

namespace {

// The built-in system menu: caption, frame image, short cut.
struct TSystemMenuEntry {
  const char* caption;
  int image;
  TShortCut shortCut;
};
constexpr TSystemMenuEntry kRestoreEntry{"&Restore", kfiRestore, 0};
constexpr TSystemMenuEntry kMinimizeEntry{"Mi&nimize", kfiMinimize, 0};
constexpr TSystemMenuEntry kMaximizeEntry{"Ma&ximize", kfiMaximize, 0};
constexpr TSystemMenuEntry kRollupEntry{"Ro&llup", kfiRollup, 0};
constexpr TSystemMenuEntry kTrayEntry{"Minimize to &Tray", kfiTray, 0};
constexpr TSystemMenuEntry kCloseEntry{"&Close", kfiClose, kscAlt | 0x73};  // Alt+F4

}  // namespace

std::unique_ptr<TTeCustomItem> TTeCustomForm::CreateMenuItem() { return std::make_unique<TTeCustomItem>(nullptr); }

void TTeCustomForm::Notification(TComponent* component, TOperation operation) {
  TTeHook::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == systemMenuLink_) systemMenuLink_ = nullptr;
  if (component == trayMenuLink_) trayMenuLink_ = nullptr;
  if (component == menuBar_) menuBar_ = nullptr;
}

void TTeCustomForm::SetSystemMenuLink(TComponent* value) {
  if (systemMenuLink_ == value) return;
  if (systemMenuLink_) systemMenuLink_->RemoveFreeNotification(this);
  systemMenuLink_ = value;
  if (value) value->FreeNotification(this);
}

void TTeCustomForm::SetTrayMenuLink(TComponent* value) {
  if (trayMenuLink_ == value) return;
  if (trayMenuLink_) trayMenuLink_->RemoveFreeNotification(this);
  trayMenuLink_ = value;
  if (value) value->FreeNotification(this);
}

void TTeCustomForm::BuildSystemMenu() {
  systemMenu_ = CreateMenuItem();
  TTeCustomItem& root = *systemMenu_;
  const TTeWindowState s = windowState_;
  auto add = [&](const TSystemMenuEntry& entry) {
    std::unique_ptr<TTeCustomItem> item = CreateMenuItem();
    item->SetCaption(entry.caption);
    item->SetShortCut(entry.shortCut);
    if (entry.image >= 0) {
      item->SetImages(&FrameImageList());
      item->SetImageIndex(entry.image);
    }
    item->OnClick = [this](TTeCustomItem* clicked) { SystemMenuClick(clicked); };
    root.Add(item.release());
  };
  if (s != kwsNormal) add(kRestoreEntry);
  if (borderIcons_.Contains(kbiMinimize) && (s == kwsNormal || s == kwsMaximized || s == kwsRollup))
    add(kMinimizeEntry);
  if (borderIcons_.Contains(kbiMaximize) && (s == kwsNormal || s == kwsRollup)) add(kMaximizeEntry);
  if (borderIcons_.Contains(kbiRollup) && (s == kwsNormal || s == kwsMaximized)) add(kRollupEntry);
  if (borderIcons_.Contains(kbiTray) && (s == kwsNormal || s == kwsMaximized || s == kwsRollup)) add(kTrayEntry);
  if (borderIcons_.Contains(kbiClose)) {
    if (root.Count() > 0) add({"-", -1, 0});
    add(kCloseEntry);
  }
}

void TTeCustomForm::ShowSystemMenu() {
  hotCode_ = kHitNoButton;
  TCustomForm* form = OwnerForm();
  TPoint at = systemMenuPos_;
  if (windowState_ == kwsTray) {
    POINT cursor{};
    GetCursorPos(&cursor);
    at = {cursor.x, cursor.y};
  } else if (at == TPoint{} && form) {
    at = form->ClientToScreen({0, 0});
  }
  // Whatever menu is open goes first.
  TTeCustomPopupMenu::CloseOpenMenus();
  if (windowState_ == kwsTray && trayMenuLink_) {
    if (auto* menu = dynamic_cast<TTeCustomPopupMenu*>(trayMenuLink_)) {
      menu->SetPopupMenuOptions(trayMenuOptions_.get());
      menu->Items()->SetBringToForeground(true);
      menu->Popup(at.x, at.y);
    }
    return;
  }
  if (windowState_ != kwsTray && systemMenuLink_) {
    if (auto* menu = dynamic_cast<TTeCustomPopupMenu*>(systemMenuLink_)) {
      menu->SetPopupMenuOptions(systemMenuOptions_.get());
      menu->Popup(at.x, at.y);
    }
    return;
  }
  BuildSystemMenu();
  TTeCustomItem& root = *systemMenu_;
  root.SetPopupOptions(systemMenuOptions_.get());
  root.SetBringToForeground(windowState_ == kwsTray);
  root.SetOwnerWindow(form);
  root.SetAnimateOnOpen(true);
  root.SetOpenedByProgram(true);
  root.Popup(nullptr, at.x, at.y, nullptr);
}

void TTeCustomForm::SystemMenuClick(TTeCustomItem* item) {
  if (!item) return;
  const std::string& caption = item->Caption();
  if (caption == kCloseEntry.caption)
    Close();
  else if (caption == kMaximizeEntry.caption)
    Maximize();
  else if (caption == kMinimizeEntry.caption)
    Minimize();
  else if (caption == kRollupEntry.caption)
    Rollup();
  else if (caption == kTrayEntry.caption)
    MinimizeToTray();
  else if (caption == kRestoreEntry.caption)
    Restore();
}

// --- the application's minimize and restore -----------------------------------------

void TTeCustomForm::SystemSized(uintptr_t kind) {
  // Minimized or restored by the system rather than by the frame: the frame
  // follows, and a restored window goes back to its own normal state.
  if (appEventsBusy_) {
    iconic_ = kind == SIZE_MINIMIZED;
    return;
  }
  if (kind == SIZE_MINIMIZED) {
    iconic_ = true;
    if (windowState_ != kwsMinimized && windowState_ != kwsTray) Minimize();
    return;
  }
  if (!iconic_) return;
  iconic_ = false;
  if (windowState_ != kwsMinimized) return;
  if (minimizeApplication_ && Application()->Minimized())
    Application()->Restore();
  else
    Restore();
}

void TTeCustomForm::TakeApplicationEvents() {
  if (appEventsTaken_) return;
  TApplication* app = Application();
  savedAppMinimize_ = app->OnMinimize;
  savedAppRestore_ = app->OnRestore;
  app->OnMinimize = [this](TObject*) { ApplicationMinimized(); };
  app->OnRestore = [this](TObject*) { ApplicationRestored(); };
  appEventsTaken_ = true;
}

void TTeCustomForm::GiveApplicationEventsBack() {
  if (!appEventsTaken_) return;
  TApplication* app = Application();
  app->OnMinimize = savedAppMinimize_;
  app->OnRestore = savedAppRestore_;
  appEventsTaken_ = false;
}

void TTeCustomForm::ApplicationMinimized() {
  // The frame's own minimize must not come back here through the application's.
  const bool ours = appEventsBusy_;
  TScopedFlag busy(appEventsBusy_);
  if (!ours && windowState_ != kwsMinimized && windowState_ != kwsTray && minimizeApplication_) Minimize();
  if (savedAppMinimize_) savedAppMinimize_(Application());
}

void TTeCustomForm::ApplicationRestored() {
  const bool ours = appEventsBusy_;
  TScopedFlag busy(appEventsBusy_);
  if (!ours && windowState_ == kwsMinimized && minimizeApplication_) {
    Restore();
    PaintNonClient();
  }
  if (savedAppRestore_) savedAppRestore_(Application());
}

}  // namespace hv
