#pragma once
// The multi-line edit control as a control, with its lines as a TStrings.

#include <memory>

#include "framework/strings.h"
#include "framework/wincontrol.h"

namespace hv {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
  HV_CLASS(TMemo, TWinControl)

 public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;

  // Reading a line past the end gives an empty string, as the control does;
  // a line reads back at most 4,096 bytes in the ANSI code page.
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* value) { lines_->Assign(value); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TMemoStrings;
  std::unique_ptr<TStrings> lines_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
  bool readOnly_ = false;
};

}  // namespace hv
