#pragma once
// The window one open level of a menu shows in: a top-most tool window that
// is never activated, framed by a TTePopupForm, with a vertical item view.
// The themed pair asks the item's theme engine for the frame.

#include <memory>

#include "framework/forms.h"
#include "theme/frame/itemview.h"
#include "theme/frame/themeform.h"

namespace hv {

class TTePopupWindow;
class TTeThemeEngine;

// The vertical view of a popup window: its extent sizes the window.
class TTePopupView : public TTeItemView {
  HV_CLASS_NO_PROPERTIES(TTePopupView, TTeItemView)

 public:
  explicit TTePopupView(TComponent* owner) : TTeItemView(owner, false) {}
  void Resized() override;
};

class TTePopupForm : public TTeCustomForm {
  HV_CLASS_NO_PROPERTIES(TTePopupForm, TTeCustomForm)

 public:
  static constexpr int kBorder = 3;

  explicit TTePopupForm(TComponent* owner);

  TTeItemView* View() const { return view_; }
  void SetView(TTeItemView* value) { view_ = value; }
  // The window whose caption stays active while the popup shows.
  void SetKeepActive(HWND value) { keepActive_ = value; }

  TRect GetFrameClientRect() override;
  TSize GetMinTrackSize() override;
  int HitTest(int x, int y) override;
  void PaintFrame(TCanvas& canvas) override;
  void PaintBackground() override;
  void UpdateFrame() override;

 protected:
  void Dispatch(TMessage& message) override;

 private:
  TTeItemView* view_ = nullptr;
  HWND keepActive_ = nullptr;
};

class TTeThemePopupForm : public TTePopupForm {
  HV_CLASS_NO_PROPERTIES(TTeThemePopupForm, TTePopupForm)

 public:
  explicit TTeThemePopupForm(TComponent* owner) : TTePopupForm(owner) {}
  ~TTeThemePopupForm() override;

  TTeThemeEngine* ThemeEngine() const { return themeEngine_; }
  void SetThemeEngine(TTeThemeEngine* value);
  void PaintFrame(TCanvas& canvas) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTeThemeEngine* themeEngine_ = nullptr;
};

class TTePopupWindow : public TCustomForm {
  HV_CLASS_NO_PROPERTIES(TTePopupWindow, TCustomForm)

 public:
  explicit TTePopupWindow(TComponent* owner);
  ~TTePopupWindow() override;

  // Readies the frame and the view for the children of `item`, with the
  // window to keep active (the owner window's owner, or the owner). A
  // window is used again for later menus: each call sets it up afresh.
  void Prepare(TTeCustomItem& item, TTeItemView* parentView, HWND keepActive);
  // Creates the window and hooks the frame, once the level is placed.
  void Realize();
  // Hidden and unlinked from its menu, waiting for the next one. It keeps
  // its owner window, and goes with it when that window goes.
  void Retire();
  TTePopupForm* Frame() const { return frame_; }
  TTePopupView* View() const { return view_; }
  // The borders (and shadow) around the view's extent.
  TSize FrameExtra() const;
  // Shown and hidden without taking the activation.
  void ShowNoActivate();
  void HideNoActivate();

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  virtual TTePopupForm* CreateFrame(TTeCustomItem& item);
  // Links the frame to what `item` paints with; true when its look changed.
  virtual bool LinkFrame(TTePopupForm&, TTeCustomItem&) { return false; }

 private:
  TTePopupForm* frame_ = nullptr;
  TTePopupView* view_ = nullptr;
  HWND keepActive_ = nullptr;
  bool lookChanged_ = false;
};

class TTeThemePopupWindow : public TTePopupWindow {
  HV_CLASS_NO_PROPERTIES(TTeThemePopupWindow, TTePopupWindow)

 public:
  explicit TTeThemePopupWindow(TComponent* owner) : TTePopupWindow(owner) {}

 protected:
  TTePopupForm* CreateFrame(TTeCustomItem& item) override;
  bool LinkFrame(TTePopupForm& frame, TTeCustomItem& item) override;

 private:
  const void* lastLook_ = nullptr;
};

// The windows of closed menu levels wait for the next ones; these free them
// and count them.
void FreeIdlePopupWindows();
int IdlePopupWindows();

}  // namespace hv
