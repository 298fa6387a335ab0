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

  // Makes the frame and the view for the children of `item`, with the
  // window to keep active (the owner window's owner, or the owner).
  void Prepare(TTeCustomItem& item, TTeItemView* parentView, HWND keepActive);
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

 private:
  TTePopupForm* frame_ = nullptr;
  TTePopupView* view_ = nullptr;
  HWND keepActive_ = nullptr;
};

class TTeThemePopupWindow : public TTePopupWindow {
  HV_CLASS_NO_PROPERTIES(TTeThemePopupWindow, TTePopupWindow)

 public:
  explicit TTeThemePopupWindow(TComponent* owner) : TTePopupWindow(owner) {}

 protected:
  TTePopupForm* CreateFrame(TTeCustomItem& item) override;
};

}  // namespace hv
