#pragma once
// The platform's web browser control, hosted in a child window of our own:
// the smallest OLE container that lets it activate in place and navigate.
// The calling thread must have initialised OLE (OleInitialize) and keeps it
// initialised for the life of the browser.

#include <windows.h>

#include <memory>
#include <string>

struct IOleObject;
struct IOleInPlaceObject;
struct IWebBrowser2;

namespace hv {

class TOleBrowser {
 public:
  static constexpr const wchar_t* kClassName = L"TOleBrowserHost";

  // True when the platform can render HTML: its HTML document object can
  // be created. Wine without its Gecko engine (or with mshtml disabled)
  // cannot.
  static bool EngineAvailable();

  // The browser control in a new visible child window of `parent` filling
  // `bounds`, or null when the platform has no working engine or the
  // control refuses to be created or activated. Never raises.
  static std::unique_ptr<TOleBrowser> TryCreate(HWND parent, const RECT& bounds);
  // Filling the parent's client area.
  static std::unique_ptr<TOleBrowser> TryCreate(HWND parent);
  // The same without asking about the engine first: the control alone (the
  // frame around the engine) may exist where the engine does not.
  static std::unique_ptr<TOleBrowser> CreateControl(HWND parent, const RECT& bounds);

  ~TOleBrowser();
  TOleBrowser(const TOleBrowser&) = delete;
  TOleBrowser& operator=(const TOleBrowser&) = delete;

  // The host window; moving or sizing it resizes the control.
  HWND Handle() const { return hwnd_; }

  // Navigates to the path as a URL, with no flags, no target frame, no post
  // data and no extra headers, and makes it the host window's text. The
  // result is the control's acceptance of the request; loading is its own
  // affair.
  bool Navigate(const std::wstring& path);
  const std::wstring& Path() const { return path_; }

 private:
  class Site;

  TOleBrowser() = default;
  bool Open(HWND parent, const RECT& bounds);
  void Close();
  void Resize();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  Site* site_ = nullptr;  // a COM object: we hold one reference
  IOleObject* object_ = nullptr;
  IOleInPlaceObject* inPlace_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  std::wstring path_;
};

}  // namespace hv
