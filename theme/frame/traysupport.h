#pragma once
// The frame's notification-area icon: the record handed to the shell, and
// the hidden window its callback message arrives at.

#include <memory>
#include <string>

#include "framework/object.h"
#include "framework/winhandles.h"

namespace hv {

class TCustomForm;
class TTeCustomForm;
class TUtilWindow;
struct TTeTrayIconRecord;

class TTeTrayIcon {
 public:
  // Without `prepare` (at design time) the record stays empty and no icon
  // is ever added.
  TTeTrayIcon(TTeCustomForm& frame, bool prepare);
  ~TTeTrayIcon();
  TTeTrayIcon(const TTeTrayIcon&) = delete;
  TTeTrayIcon& operator=(const TTeTrayIcon&) = delete;

  // The form's icon, else the application's; an icon already shown changes.
  void SetIcon(TCustomForm* form);
  // At most 63 characters of the text, in the narrow code page.
  void SetTip(const std::string& tip);
  void Add();
  void Remove();
  bool Shown() const { return shown_; }
  // The window the shell calls back, made on first use.
  HWND Window();

 private:
  void WndProc(TMessage& message);

  TTeCustomForm& frame_;
  std::unique_ptr<TUtilWindow> window_;
  std::unique_ptr<TTeTrayIconRecord> record_;
  bool prepared_ = false;
  bool shown_ = false;
};

}  // namespace hv
