#pragma once
// The page view of our own, for platforms without a working web browser
// control: a child window that reads a local HTML file and shows it
// readably, with vertical scrolling and links between local pages. Like a
// browser's address bar, its window text is the path of the page it shows.
// A reader works in it as in a browser: Back and Forward, selecting and
// copying, finding, zooming (htmlviewreading.cpp).

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pageview/htmldocument.h"
#include "pageview/boxbands.h"
#include "pageview/htmllayout.h"
#include "pageview/pagehistory.h"
#include "pageview/pagetext.h"

namespace hv {

class TFindBar;
class TPageFonts;
class TPageImages;
class TPageLoader;

// Whether two page paths name the same file (Windows paths ignore case).
bool SamePagePath(const std::wstring& a, const std::wstring& b);

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
  // A page shown is a new step of the history.
  // A page longer than kFirstPartBytes shows its first part at once; the
  // whole of it is read and laid out on a worker thread, and replaces the
  // first part when it is ready, where the reader has scrolled to. A place
  // named in the link, or the place Back returns to, is gone to then.
  bool Navigate(const std::wstring& path);
  const std::wstring& Path() const { return path_; }
  static constexpr size_t kFirstPartBytes = 64 << 10;
  // The page, or its layout at the view's width and zoom, is still being
  // made; what is shown is its first part, or the layout before.
  bool Loading() const;

  // The page shown, or its first part while it loads.
  const html::Document& Document() const { return *document_; }
  // The decoded images of the page shown; they go with the page.
  const TPageImages& Images() const { return *images_; }
  // In client coordinates of the unscrolled page.
  const html::PageLayout& Layout() const { return layout_; }
  int ScrollPos() const { return scrollY_; }
  // Moves the page to `y`; a place a link or Back was going to while the
  // page loads is forgotten.
  void ScrollTo(int y);
  // Sideways, for pages wider than the view.
  int ScrollXPos() const { return scrollX_; }
  void ScrollXTo(int x);
  // The pixels one arrow key or one wheel line moves.
  int LineStep() const;

  // Where errors inside the window procedure go; nothing leaves it. An empty
  // handler restores the default, a message box.
  void SetErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }
  // Called when the whole of a long page is laid out and shown.
  std::function<void()> OnLoaded;
  // Called after every page shown, by Navigate or by a click on a link.
  std::function<void(const std::wstring& path)> OnNavigate;
  // Called after a page the reader reached inside the view: by a link, Back
  // or Forward (not by Navigate).
  std::function<void(const std::wstring& path)> OnFollow;
  // Takes the http, https and mailto links the reader follows; by default
  // the system's handler for the address opens them.
  std::function<void(const std::wstring& url)> OnOutsideLink;

  // Back and Forward, each page at the place it was left. False when there
  // is no such step or its page cannot be read any more.
  bool GoBack();
  bool GoForward();
  bool CanGoBack() const { return history_.CanGoBack(); }
  bool CanGoForward() const { return history_.CanGoForward(); }
  const html::TPageHistory& History() const { return history_; }

  // The selection, in reading order; empty when nothing is selected.
  html::TextRange SelectionRange() const;
  std::string SelectedText() const;
  void SelectAll();
  void ClearSelection();
  // Puts the selected text on the clipboard as Unicode text; false when
  // nothing is selected or the clipboard is not to be had.
  bool CopySelection() const;

  // The find bar (made on first use) and the places it found.
  void OpenFindBar();
  void CloseFindBar();
  bool FindBarOpen() const;
  TFindBar* FindBar() const { return findBar_.get(); }
  // Finds the words and goes to the first place at or below the top of the
  // view; then steps to the next or the previous one, wrapping around.
  void FindText(const std::string& words);
  bool FindStep(bool backwards);
  const std::vector<html::TextRange>& Matches() const { return matches_; }
  int CurrentMatch() const { return currentMatch_; }

  // Zoom in percent, kMinZoom to kMaxZoom; the page is laid out anew.
  static constexpr int kMinZoom = 50;
  static constexpr int kMaxZoom = 300;
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);
  // Steps through the usual zoom levels: positive in, negative out.
  void ZoomStep(int steps);

  // The height the page shows in: the client area above the find bar.
  int PageHeight() const;

  // Paints the visible part of the page into `dc`, whose origin is the
  // client area's top left corner.
  void PaintTo(HDC dc, const RECT& area);

 private:
  // Posted by the worker when a page or a layout is ready.
  static constexpr UINT kLaidOutMessage = WM_USER + 0x120;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The reader's messages; nothing when the plain handling takes it.
  std::optional<LRESULT> HandleReadingMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Load(const std::wstring& path);
  void Shown(bool byReader);
  void GoToPlace(const std::string& name);
  // The top of the named place on the page (`id` or `<a name>`), if any.
  std::optional<int> PlaceTop(const std::string& name) const;
  void OpenOutside(const std::wstring& url);
  bool Step(bool back);
  void LayoutChanged(bool keepSelection = false);
  int PrefixWidth(const html::LayoutBox& box, std::string_view prefix) const;
  html::TextSpot SpotAtClient(POINT p) const;
  void StartSelection(POINT p, bool extend, bool word);
  void DragSelection(POINT p);
  void EndSelection();
  bool ExtendSelection(WPARAM key);
  void FindBarClosed();
  void ShowCurrentMatch(bool scroll);
  bool OnReadingKey(WPARAM key);
  bool OnSysKey(WPARAM key);
  bool OnCtrlWheel(WPARAM wParam);
  // Marks behind a text box: found places and the selection.
  void PaintMarks(HDC dc, size_t index, const html::LayoutBox& box, const RECT& r) const;
  RECT MarkRect(const html::LayoutBox& box, std::pair<size_t, size_t> part, const RECT& r) const;
  // The selected part of a text box, for drawing its text in the selected
  // colour; false when none of it is selected.
  bool SelectedPart(size_t index, const html::LayoutBox& box, const RECT& r, RECT& part) const;
  static COLORREF SelectedTextColor();
  void ReportError(const std::string& message);
  void Relayout();
  html::LayoutOptions CurrentOptions() const;
  // Puts a layout in place of the one shown; `keepSelection` keeps the
  // selection where the boxes it lies in are the same in both.
  void ShowLayout(html::PageLayout&& layout, int width, bool keepSelection);
  void OnLaidOut();
  // Scrolls now, and again once the whole page is laid out.
  void ScrollWhenLoaded(int y);
  void ScrollToPlaceWhenLoaded(const std::string& name);
  // Where the current page is to be found again: the place it is going to
  // while it loads, else where it is.
  int RememberedScroll() const;
  // Moves the pixels already painted and paints only the strip uncovered.
  void ScrollPixels(int dx, int dy);
  void MoveThumb(int from, int to);
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
  std::shared_ptr<const html::Document> document_;
  bool firstPart_ = false;  // document_ is the first part of a longer page
  bool longPage_ = false;   // laid out on the worker, since it is long
  std::optional<int> pendingScroll_;
  std::string pendingPlace_;
  std::unique_ptr<TPageLoader> loader_;
  html::PageLayout layout_;
  html::TBoxBands bands_;             // finds the boxes a paint shows
  mutable std::vector<size_t> shown_;  // the boxes of the paint at hand
  std::unique_ptr<TPageFonts> fonts_;
  std::shared_ptr<TPageImages> images_;
  int layoutWidth_ = -1;
  int scrollY_ = 0;
  int scrollX_ = 0;
  int wheelRemainder_ = 0;
  std::string pressedHref_;
  bool pressed_ = false;
  ErrorHandler onError_;

  html::TPageHistory history_;
  std::unique_ptr<html::TPageText> text_;
  html::TextSpot anchor_;   // where the selection began
  html::TextSpot focus_;    // where it ends, and moves
  bool caret_ = false;      // the reader has put the end of a selection somewhere
  bool selecting_ = false;  // the mouse is dragging a selection
  std::unique_ptr<TFindBar> findBar_;
  std::string findWords_;
  std::vector<html::TextRange> matches_;
  int currentMatch_ = -1;
  int zoom_ = 100;
  int zoomWheel_ = 0;
};

}  // namespace hv
