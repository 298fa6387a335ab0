#pragma once
// The find bar of the page view: a strip along the bottom of the view with
// a box for the words to find, how many places hold them, and a close box.
// It only reports what the reader does; the view searches and highlights.

#include <windows.h>

#include <functional>
#include <string>

#include "framework/gdi.h"

namespace hv {

class TFindBar {
 public:
  static constexpr const wchar_t* kClassName = L"THtmlViewFindBar";

  TFindBar() = default;
  ~TFindBar();
  TFindBar(const TFindBar&) = delete;
  TFindBar& operator=(const TFindBar&) = delete;

  // Makes the bar, hidden, as a child of the view. Raises EOSError when the
  // platform refuses.
  void Create(HWND parent);
  HWND Handle() const { return hwnd_; }
  HWND EditHandle() const { return edit_; }

  // The height the bar takes from the bottom of the view while it shows.
  int Height() const;
  bool Visible() const;
  // Shows the bar over the bottom of `client` and puts the keyboard in its
  // box with the words selected, so that typing replaces them.
  void Open(const RECT& client);
  void Close();
  void Place(const RECT& client);

  // The words in the box, UTF-8.
  std::string Text() const;
  void SetText(const std::wstring& text);
  // "3 of 12", "No matches" or nothing; drawn beside the box.
  void SetStatus(const std::wstring& status);
  const std::wstring& Status() const { return status_; }

  // The box's text changed; step to the next (or previous) place; the bar
  // closed itself (Escape or its close box).
  std::function<void()> OnChange;
  std::function<void(bool backwards)> OnStep;
  std::function<void()> OnClose;
  // Where errors inside the bar's window procedures go.
  std::function<void(const std::string& message)> OnError;

  // Where the close box and the status text are, in the bar's client area.
  RECT CloseBoxRect() const;
  RECT StatusRect() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  bool HandleEditKey(UINT msg, WPARAM key);
  void ReportError(const std::string& message);
  void Paint(HDC dc);
  void Layout();

  HWND hwnd_ = nullptr;
  HWND edit_ = nullptr;
  TFontHandle font_;
  std::wstring status_;
};

}  // namespace hv
