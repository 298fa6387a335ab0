#pragma once
// The page view as a control: the platform's web browser control where the
// platform has a working HTML engine, otherwise the built-in page view. Either
// way the control's window text is the path it shows.

#include <functional>
#include <memory>
#include <string>

#include "framework/wincontrol.h"

namespace hv {

class THtmlView;
class TOleBrowser;

class TWebBrowser : public TWinControl {
  HV_CLASS_NO_PROPERTIES(TWebBrowser, TWinControl)

 public:
  explicit TWebBrowser(TComponent* owner);
  ~TWebBrowser() override;

  // Shows the page at a URL (a full local path, here); what the page view
  // does with a page it cannot read is its own affair.
  void Navigate(const std::wstring& url);
  const std::wstring& LocationURL() const { return location_; }
  // A page the reader reached inside the built-in view (a link, Back or
  // Forward), after it is shown; Navigate does not raise it.
  std::function<void(const std::wstring& path)> OnFollow;
  // The built-in page view, when it is the one in use.
  THtmlView* PageView() const { return htmlView_.get(); }
  bool UsesPlatformBrowser() const { return oleBrowser_ != nullptr; }

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void PlaceView();
  HWND ViewHandle() const;
  std::unique_ptr<TOleBrowser> oleBrowser_;
  std::unique_ptr<THtmlView> htmlView_;
  std::wstring location_;
};

}  // namespace hv
