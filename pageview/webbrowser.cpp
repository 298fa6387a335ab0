#include "pageview/webbrowser.h"

#include <windows.h>

#include "framework/application.h"
#include "pageview/htmlview.h"
#include "pageview/olebrowser.h"
#include "framework/starttrace.h"
#include "framework/sysutils.h"

namespace hv {

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
  SetBounds(Left(), Top(), 300, 150);
  SetTabStop(true);
}

TWebBrowser::~TWebBrowser() {
  Destroying();
  DestroyComponents();
  DestroyHandle();
}

void TWebBrowser::CreateWnd() {
  TWinControl::CreateWnd();
  RECT bounds{0, 0, ClientWidth(), ClientHeight()};
  StartupMark("browser window");
  oleBrowser_ = TOleBrowser::TryCreate(HandleIfAllocated(), bounds);
  StartupMark(oleBrowser_ ? "platform browser made" : "no platform browser");
  if (!oleBrowser_) {
    htmlView_ = std::make_unique<THtmlView>();
    htmlView_->SetErrorHandler([](const std::string& message) {
      try {
        throw Exception(message);
      } catch (...) {
        Application()->HandleException(nullptr);
      }
    });
    // A link followed inside the view changes what the browser shows.
    htmlView_->OnNavigate = [this](const std::wstring& path) {
      location_ = path;
      SetWindowTextW(HandleIfAllocated(), path.c_str());
    };
    htmlView_->OnFollow = [this](const std::wstring& path) {
      if (OnFollow) OnFollow(path);
    };
    htmlView_->Create(HandleIfAllocated(), bounds);
  }
  if (!location_.empty()) Navigate(location_);
}

void TWebBrowser::DestroyWnd() {
  oleBrowser_.reset();
  htmlView_.reset();
  TWinControl::DestroyWnd();
}

HWND TWebBrowser::ViewHandle() const {
  if (oleBrowser_) return oleBrowser_->Handle();
  if (htmlView_) return htmlView_->Handle();
  return nullptr;
}

void TWebBrowser::PlaceView() {
  if (HWND view = ViewHandle()) MoveWindow(view, 0, 0, ClientWidth(), ClientHeight(), TRUE);
}

void TWebBrowser::Navigate(const std::wstring& url) {
  HandleNeeded();
  bool shown = oleBrowser_ ? oleBrowser_->Navigate(url) : htmlView_ && htmlView_->Navigate(url);
  if (!shown) return;  // the page shown stays, and so does its address
  location_ = url;
  SetWindowTextW(HandleIfAllocated(), url.c_str());
}

void TWebBrowser::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SIZE:
      TWinControl::WndProc(message);
      PlaceView();
      return;
    case WM_SETFOCUS:
      TWinControl::WndProc(message);
      if (HWND view = ViewHandle()) ::SetFocus(view);
      return;
    case WM_ERASEBKGND:
      message.Result = 1;  // the view covers everything
      return;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

}  // namespace hv
