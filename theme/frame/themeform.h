#pragma once
// The themed form frame. TTeCustomForm is a hook component dropped on a
// form: it takes over everything outside the form's client area (the client
// rectangle, the frame's painting, hit testing, the caption buttons, moving
// and sizing, the window states) through the messages of the form's window,
// and paints the client background. It draws the system's look;
// TTeThemeForm asks the style of a theme engine for every measurement, the
// window's outline and every painted part, and falls back to the system
// look part by part whenever no style paints.
//
// The work is split by concern: themeform.cpp (properties, loading, the
// messages, measuring), formpaint.cpp (painting), formstates.cpp (mouse,
// moving and sizing, window states, tray icon), formmdi.cpp (MDI parents and
// children), formeffects.cpp (snapshot, shadow, blending, show animation),
// themeframe.cpp (the style's frame).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/control.h"
#include "framework/event.h"
#include "framework/forms.h"
#include "framework/gdi.h"
#include "framework/scoped.h"
#include "theme/core/backgroundrequest.h"
#include "theme/core/sizegrip.h"
#include "theme/core/themeengine.h"
#include "theme/core/themeitems.h"
#include "theme/frame/formgeometry.h"
#include "theme/frame/formoptions.h"
#include "theme/frame/hooks.h"

namespace hv {

class TCanvas;
class TCustomForm;
class TTeBitmap;
class TTeTrayIcon;
class TTeCustomMenuBar;

// Plays the transition of `options` from oldImage to newImage (window-sized
// bitmaps) on a device context at (x, y), for the options' time however
// slow each frame is; ends with the new image, keyed.
void PlayTransition(HDC target, int x, int y, const TTeAnimation& options, const TTeBitmap& newImage,
                    const TTeBitmap& oldImage);

// Private messages the frame posts or answers.
constexpr uint32_t WM_TE_TRAYNOTIFY = 0x56C;    // the tray icon's callback
constexpr uint32_t WM_TE_REFRESHFRAME = 0x56D;  // wParam 13: give the caption bits back first
constexpr uint32_t WM_TE_MAXIMIZE = 0x56E;
constexpr uint32_t WM_TE_ENTERSTATE = 0x56F;    // wParam: 1 maximize, 2 minimize, 3 rollup, 4 tray
constexpr uint32_t WM_TE_PAINTWINDOW = 0xB1C8;  // lParam: a device context; wParam: x, y offsets

// The allow flag starts true; a handler sets it false to refuse the action.
using TTeFormActionEvent = TEvent<void(TObject* sender, bool& allow)>;

// Minimum and maximum size of a window; 0 means no limit.
class TSizeConstraints : public TPersistent {
  HV_CLASS(TSizeConstraints, TPersistent)

 public:
  int MaxHeight() const { return values_.maxHeight; }
  void SetMaxHeight(int value) { Set(values_.maxHeight, value); }
  int MaxWidth() const { return values_.maxWidth; }
  void SetMaxWidth(int value) { Set(values_.maxWidth, value); }
  int MinHeight() const { return values_.minHeight; }
  void SetMinHeight(int value) { Set(values_.minHeight, value); }
  int MinWidth() const { return values_.minWidth; }
  void SetMinWidth(int value) { Set(values_.minWidth, value); }
  const TFormConstraintValues& Values() const { return values_; }

  void Assign(const TPersistent* source) override;
  TNotifyEvent OnChange;

 private:
  void Set(int& field, int value);
  TFormConstraintValues values_;
};

class TTeCustomForm : public TTeHook, public TTeBackgroundSource, public TTeSizeGripHost {
  HV_CLASS(TTeCustomForm, TTeHook)

 public:
  explicit TTeCustomForm(TComponent* owner);
  ~TTeCustomForm() override;

  void Loaded() override;

  // --- published properties -------------------------------------------
  TTeAnimation* Animation() const { return animation_.get(); }
  void SetAnimation(const TTeAnimation* value);
  TTeBlending* Blending() const { return blending_.get(); }
  void SetBlending(const TTeBlending* value);
  TTeBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TTeBorderIcons value);
  TTeBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TTeBorderStyle value);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  TSizeConstraints* Constraints() const { return constraints_.get(); }
  void SetConstraints(const TSizeConstraints* value);
  TTeDragging* Dragging() const { return dragging_.get(); }
  void SetDragging(const TTeDragging* value);

  // TTeSizeGripHost: a status bar's grip sizes the window through the frame
  // while it is attached, sizeable and in its normal state.
  bool GripHostActive() const override { return Active(); }
  bool GripHostSizeable() const override;
  TTeGravitation* Gravitation() const { return gravitation_.get(); }
  void SetGravitation(const TTeGravitation* value);
  bool MinimizeApplication() const { return minimizeApplication_; }
  void SetMinimizeApplication(bool value) { minimizeApplication_ = value; }
  TTeFormPerformance Performance() const { return performance_; }
  void SetPerformance(TTeFormPerformance value) { performance_ = value; }
  TTeShadow* Shadow() const { return shadow_.get(); }
  void SetShadow(const TTeShadow* value);
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool value);
  bool StretchBackground() const { return stretchBackground_; }
  void SetStretchBackground(bool value) { stretchBackground_ = value; }
  TTePopupMenuOptions* SystemMenuOptions() const { return systemMenuOptions_.get(); }
  void SetSystemMenuOptions(const TTePopupMenuOptions* value);
  TTePopupMenuOptions* TrayMenuOptions() const { return trayMenuOptions_.get(); }
  void SetTrayMenuOptions(const TTePopupMenuOptions* value);
  TTeWindowState WindowState() const { return windowState_; }
  void SetWindowState(TTeWindowState value);

  TNotifyEvent OnCreate;
  // Paints the client background instead of PaintBackground, on Canvas().
  TNotifyEvent OnPaint;
  TNotifyEvent OnResize;
  TTeFormActionEvent OnClose;
  TTeFormActionEvent OnMinimize;
  TTeFormActionEvent OnMaximize;
  TTeFormActionEvent OnRollup;
  TTeFormActionEvent OnMinToTray;

  // --- what other parts call -------------------------------------------
  // Re-measures the frame, keeping the client area's size.
  virtual void UpdateFrame();
  // Paints the frame now; the region is passed on but limits nothing.
  void PaintNonClient(HRGN region = nullptr);
  // The client area in frame coordinates, moved to (0, 0).
  TRect FrameClientRect();
  // TTeBackgroundSource: while attached, the frame paints the client
  // background of a child's request through its own message handling.
  bool BackgroundSourceActive() const override { return Active(); }
  void AnswerBackgroundRequest(TMessage& message) override;
  // The canvas the client background is painted on (valid while OnPaint runs).
  TCanvas* Canvas() const { return frameCanvas_.get(); }

  // The state actions.
  void Restore();
  void Maximize();
  void Minimize();
  void Rollup();
  void MinimizeToTray();
  void Close();
  void ShowHelp();
  // Opens the system menu (the tray menu in kwsTray) at SystemMenuPosition,
  // else at the client origin: the linked popup menu, else the frame's own
  // menu of the state actions, and returns once it has closed.
  virtual void ShowSystemMenu();
  // One item of the built-in system menu; the caller owns it.
  virtual std::unique_ptr<TTeCustomItem> CreateMenuItem();
  // The built-in system menu's root while one has been built.
  TTeCustomItem* SystemMenuItems() const { return systemMenu_.get(); }
  // Popup menus shown instead of the built-in one (themed ones get the
  // frame's menu options).
  TComponent* SystemMenuLink() const { return systemMenuLink_; }
  void SetSystemMenuLink(TComponent* value);
  TComponent* TrayMenuLink() const { return trayMenuLink_; }
  void SetTrayMenuLink(TComponent* value);
  // The form's menu bar: it takes the form's short cuts first and the
  // keyboard menu (Alt, F10, Alt+letter); on an MDI parent it carries the
  // caption buttons of a maximized child.
  TTeCustomMenuBar* MenuBar() const { return menuBar_; }
  void SetMenuBar(TTeCustomMenuBar* value);

  // --- working state, for the frame's painters and for tests -------------
  bool FrameActive() const { return active_; }
  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  int WindowWidth() const { return windowWidth_; }
  int WindowHeight() const { return windowHeight_; }
  int HotCode() const { return hotCode_; }
  int PressedCode() const { return pressedCode_; }
  bool Moving() const { return moving_; }
  TTeWindowState PreviousState() const { return previousState_; }
  TTeWindowState PendingState() const { return pendingState_; }
  const TRect& RestoreBounds() const { return restoreBounds_; }
  bool PaintingEnabled() const { return paintingEnabled_; }
  // Where ShowSystemMenu opens the menu: a screen point, (0, 0) when the
  // caller gave none.
  TPoint SystemMenuPosition() const { return systemMenuPos_; }
  bool TrayIconShown() const;
  HWND TrayWindow() const;

  // The parent's MDI client window's messages, while this frame (on an MDI
  // parent) has it subclassed.
  intptr_t MdiClientMessage(HWND wnd, unsigned msg, uintptr_t wParam, intptr_t lParam);

  // --- the virtual operations, in slot order ------------------------------
  virtual void UpdateRegion();
  // A new region of the frame's outline, frame-sized; the caller owns it.
  virtual HRGN CreateFrameRegion();
  virtual TRect GetButtonRect(TTeBorderIcon icon);
  virtual TRect GetFrameClientRect();
  virtual TRect GetRollupRect();
  virtual TRect GetMinimizedRect();
  virtual TRect GetMaximizedRect();
  virtual TSize GetMaxTrackSize();
  virtual TSize GetMinTrackSize();
  virtual void PaintFrame(TCanvas& canvas);
  virtual void PaintBackground();
  virtual int HitTest(int x, int y);

  // Frame mouse, window-relative points.
  virtual void FrameMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void FrameMouseMove(TShiftState shift, int x, int y);
  virtual void FrameMouseUp(TMouseButton button, TShiftState shift, int x, int y);

 protected:
  void Dispatch(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Switched off, the window gets the system's frame back; on, the frame's.
  void ActiveChanged() override;

  // The owner form, when the owner is one (set whatever the hook's state).
  TCustomForm* OwnerForm() const;
  TFrameShape Shape() const;
  bool MdiChildMaximized() const;
  bool ShadowVisible() const;
  // The size grip of a control in the form's bottom-right corner, window-
  // relative, while it may size the window; empty otherwise.
  TRect SizeGripRect(const TRect& client);
  // The left button is held (the frame has the capture).
  bool LeftHeld() const { return heldButtons_ == kHeldLeft; }

  // The system look's parts, for subclasses that fall back to them.
  void PaintSystemFrame(TCanvas& canvas);
  void PaintSystemCaptionButton(TCanvas& canvas, TTeBorderIcon icon, const TRect& rect);
  // The frame painted by `frame`, then the caption strip (0, 0, frame
  // width, stripHeight) with its text and buttons by `caption`; with
  // ksfpNoBuffer the strip goes through a bitmap of its own, so that the
  // caption reaches the screen in one piece.
  void PaintWithCaptionStrip(TCanvas& canvas, int stripHeight, const std::function<void(TCanvas&)>& frame,
                             const std::function<void(TCanvas&)>& caption);
  // The caption text, ellipsized to the room the buttons leave; first its
  // shadow one pixel right and down when the look has one (shadowColor -1:
  // none, and none on an inactive frame).
  void PaintCaptionText(TCanvas& canvas, const TRect& band, const TFont& font, TColor color, bool hasShadow,
                        TColor shadowColor, int buttonWidth, int toolButtonWidth, bool xpThemeApi);
  // The form's (or the application's, or the system's) small icon, centred.
  void PaintSystemMenuIcon(TCanvas& canvas, const TRect& rect);
  // Fills the client rectangle, at the canvas's origin, in a colour.
  void FillBackground(TColor color);
  // Paints OnPaint or PaintBackground on a device context whose origin is
  // the client area's top-left corner.
  void PaintClient(HDC dc);
  void RefreshFrame();
  // The maximized bounds grown by inset on every side (the border's width
  // for the system look, which keeps its borders outside the work area).
  TRect MaximizedArea(int inset);

 private:
  static constexpr int kHeldLeft = 8;
  static constexpr int kHeldRight = 16;

  // The window's outer size, and the frame's within it (without the shadow).
  void SetWindowSize(int width, int height);

  // Messages before the form's own procedure.
  void WMNCCalcSize(TMessage& message);
  void WMWindowPosChanging(TMessage& message);
  void WMNCHitTest(TMessage& message);
  void WMNCActivate(TMessage& message);
  void WMPaint(TMessage& message);
  void WMEraseBkgnd(TMessage& message);
  void WMPaintWindow(TMessage& message);
  void FrameMouseMessage(TMessage& message);
  void EnterState(int state);
  // After the form's own procedure.
  void AfterGetText(TMessage& message);

  // Effects: the snapshot of what lies behind the window (screen
  // rectangle), the shadow and blending painted into a frame bitmap, and the
  // window's new screen rectangle from a WM_WINDOWPOSCHANGING record.
  void CaptureBackground(const TRect& screenRect);
  TRect ScreenRectOf(const void* windowPos) const;
  void PaintShadow(TTeBitmap& bitmap);
  void BlendFrame(TTeBitmap& bitmap);
  // Gives `area` of the bitmap the blending's opacity over the snapshot's
  // pixels at area moved by (dx, dy).
  void BlendArea(TTeBitmap& bitmap, const TRect& area, int dx, int dy);
  // The show animation: the window's first image, painted off screen,
  // fades in over the snapshot at the window's screen rectangle.
  void AnimateShow(const TRect& screenRect);

  // MDI.
  TCustomForm* MdiParent() const;
  static bool MdiChildCountsAsMaximized(const TCustomForm* parent);
  void UpdateMdiParentCaption();
  void MdiRefresh();
  void MdiActivate(TMessage& message);
  void MdiParentSized();
  void SubclassMdiClient();
  void ReleaseMdiClient();
  void CloseMdiChild(TCustomForm& form);
  // The parent's menu bar shows this maximized child's caption buttons, or
  // drops them.
  void ShowMdiButtonsOnParent(bool show);
  void ChainShortCut();
  void UnchainShortCut();

  // The common start of a state action: no button stays hot, the event may
  // refuse, and asking for the state the window is in restores it instead.
  // True when the action goes on.
  bool BeginStateAction(const TTeFormActionEvent& event, TTeWindowState target, bool needsForm);
  void SetFormBounds(const TRect& bounds);
  // A window the system holds minimized, or a frame minimized with the
  // application, is shown again before it takes other bounds.
  void LeaveIconic();
  // Any state action out of the tray shows the window and takes the icon away.
  void LeaveTray();
  void DrawOutline(const TRect& rect);
  void TakeApplicationEvents();
  void GiveApplicationEventsBack();
  void ApplicationMinimized();
  void ApplicationRestored();
  void SystemSized(uintptr_t kind);
  // The built-in menu's click: the state action of the item's caption.
  void SystemMenuClick(TTeCustomItem* item);
  void BuildSystemMenu();

  std::unique_ptr<TTeAnimation> animation_;
  std::unique_ptr<TTeBlending> blending_;
  std::unique_ptr<TTeDragging> dragging_;
  std::unique_ptr<TTeGravitation> gravitation_;
  std::unique_ptr<TTeShadow> shadow_;
  std::unique_ptr<TTePopupMenuOptions> systemMenuOptions_;
  std::unique_ptr<TTePopupMenuOptions> trayMenuOptions_;
  std::unique_ptr<TSizeConstraints> constraints_;
  std::unique_ptr<TCanvas> frameCanvas_;
  std::unique_ptr<TTeBitmap> persistentBuffer_;
  std::unique_ptr<TTeTrayIcon> tray_;
  std::unique_ptr<TTeCustomItem> systemMenu_;
  TComponent* systemMenuLink_ = nullptr;
  TComponent* trayMenuLink_ = nullptr;
  TTeCustomMenuBar* menuBar_ = nullptr;
  // The owner form's short-cut handler from before the frame's.
  TShortCutEvent savedShortCut_;

  TTeBorderIcons borderIcons_{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray};
  TTeBorderStyle borderStyle_ = kbsStandard;
  std::string caption_;
  bool minimizeApplication_ = true;
  TTeFormPerformance performance_ = ksfpNoBuffer;
  bool stayOnTop_ = false;
  bool stretchBackground_ = false;
  TTeWindowState windowState_ = kwsNormal;
  TTeWindowState pendingState_ = kwsNormal;
  TTeWindowState previousState_ = kwsNormal;

  int frameWidth_ = 0, frameHeight_ = 0;
  int windowWidth_ = 0, windowHeight_ = 0;
  bool active_ = false;
  // Shown and not yet sent its WM_NCPAINT: the activation on the way paints
  // nothing, the frame is painted once, with the state it ends up in.
  bool framePaintPending_ = false;
  int pressedCode_ = kHitNone;
  int hotCode_ = kHitNone;
  int heldButtons_ = 0;
  TPoint downPoint_, lastPoint_;
  bool moving_ = false;
  bool outlineMode_ = false;
  TRect lastOutline_;
  TPoint systemMenuPos_;
  bool paintingEnabled_ = true;
  TRect restoreBounds_;
  bool appEventsTaken_ = false;
  bool appEventsBusy_ = false;
  bool iconic_ = false;       // the system has the window minimized
  HWND mdiClient_ = nullptr;  // the parent's MDI client while subclassed
  std::unique_ptr<TTeBitmap> snapshot_;
  TRect lastCapture_;
  bool captureSuppressed_ = false;
  bool animating_ = false;
  std::unique_ptr<TTeBitmap> animationBitmap_;  // the window's image while the show animation runs
  TNotifyEvent savedAppMinimize_;
  TNotifyEvent savedAppRestore_;
  TIconHandle smallIcon_;
  std::string lastText_;
};

class TTeThemeForm : public TTeCustomForm, public TTeThemeLink {
  HV_CLASS(TTeThemeForm, TTeCustomForm)

 public:
  explicit TTeThemeForm(TComponent* owner);
  ~TTeThemeForm() override;

  void Loaded() override;

  TTeThemeEngine* ThemeEngine() const { return themeEngine_; }
  void SetThemeEngine(TTeThemeEngine* value);
  std::string Version() const { return kThemeVersion; }
  void SetVersion(const std::string&) {}

  // The engine's style when it paints, else none.
  TTeTheme* Theme() const;
  // Invalidates every control of the owner form, so that each repaints in the style.
  void ApplyThemeToChildren();

  // TTeThemeLink: the engine's refresh walk.
  TTeThemeEngine* LinkedThemeEngine() const override { return themeEngine_; }
  void ThemeEngineChanged(TTeThemeEngine& engine) override;

  HRGN CreateFrameRegion() override;
  std::unique_ptr<TTeCustomItem> CreateMenuItem() override;
  TRect GetButtonRect(TTeBorderIcon icon) override;
  TRect GetFrameClientRect() override;
  TRect GetMaximizedRect() override;
  void PaintFrame(TCanvas& canvas) override;
  void PaintBackground() override;
  int HitTest(int x, int y) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TThemeFrameSizes Sizes(const TTeTheme& theme) const;
  void PaintThemeCaption(TCanvas& canvas, TTeTheme& theme, const TRect& band);

  TTeThemeEngine* themeEngine_ = nullptr;
};

}  // namespace hv
