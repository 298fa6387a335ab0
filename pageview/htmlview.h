#pragma once
// The page view of our own, for platforms without a working web browser
// control: a child window that reads a local HTML file and shows it
// readably, with vertical scrolling and links between local pages. Like a
// browser's address bar, its window text is the path of the page it shows.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pageview/htmldocument.h"
#include "pageview/htmllayout.h"

namespace hv {

class TPageImages;

class THtmlView {
 public:
  using ErrorHandler = std::function<void(const std::string& message)>;

  static constexpr const wchar_t* kClassName = L"THtmlView";

  THtmlView();
  ~THtmlView();
  THtmlView(const THtmlView&) = delete;
  THtmlView& operator=(const THtmlView&) = delete;

  // Makes the window, a visible child of `parent` at `bounds` (parent client
  // coordinates). Raises EOSError when the platform refuses; a second call
  // while the window exists raises EInvalidOperation.
  HWND Create(HWND parent, const RECT& bounds);
  HWND Handle() const { return hwnd_; }

  // Reads, decodes, lays out and shows the file, scrolled to the top, and
  // makes the path the window text. A file that cannot be read (missing, a
  // folder, too large) changes nothing and gives false: the page shown stays.
  bool Navigate(const std::wstring& path);
  const std::wstring& Path() const { return path_; }

  const html::Document& Document() const { return document_; }
  // The decoded images of the page shown; they go with the page.
  const TPageImages& Images() const { return *images_; }
  // In client coordinates of the unscrolled page.
  const html::PageLayout& Layout() const { return layout_; }
  int ScrollPos() const { return scrollY_; }
  void ScrollTo(int y);
  // Sideways, for pages wider than the view.
  int ScrollXPos() const { return scrollX_; }
  void ScrollXTo(int x);
  // The pixels one arrow key or one wheel line moves.
  int LineStep() const;

  // Where errors inside the window procedure go; nothing leaves it. An empty
  // handler restores the default, a message box.
  void SetErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }
  // Called after every page shown, by Navigate or by a click on a link.
  std::function<void(const std::wstring& path)> OnNavigate;

  // Paints the visible part of the page into `dc`, whose origin is the
  // client area's top left corner.
  void PaintTo(HDC dc, const RECT& area);

 private:
  class Fonts;
  class Measurer;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void ReportError(const std::string& message);
  void Relayout();
  void UpdateScrollBar();
  int ClientHeight() const;
  int MaxScroll() const;
  const html::LinkArea* LinkAtClient(POINT p) const;
  void FollowLink(const std::string& href);
  void OnScroll(WPARAM wParam);
  void OnHScroll(WPARAM wParam);
  void OnWheel(WPARAM wParam);
  void OnKey(WPARAM key);

  HWND hwnd_ = nullptr;
  std::wstring path_;
  html::Document document_;
  html::PageLayout layout_;
  std::vector<int> reachBelow_;  // per box: the lowest bottom of it and every box before it
  std::vector<int> startAbove_;  // per box: the highest top of it and every box after it
  std::unique_ptr<Fonts> fonts_;
  std::unique_ptr<TPageImages> images_;
  int layoutWidth_ = -1;
  int scrollY_ = 0;
  int scrollX_ = 0;
  int wheelRemainder_ = 0;
  std::string pressedHref_;
  bool pressed_ = false;
  ErrorHandler onError_;
};

}  // namespace hv
