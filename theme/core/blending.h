#pragma once
// The translucency option shared by the themed frame, the menus and the
// themed controls: whether a part is painted translucently over what lies
// behind it, and how opaque it is. Portable.

#include "framework/component.h"
#include "framework/event.h"

namespace hv {

class TTeBlending : public TPersistent {
  HV_CLASS(TTeBlending, TPersistent)

 public:
  static constexpr int kDefaultValue = 150;

  void Assign(const TPersistent* source) override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Opacity of the painted part: 0 shows only what lies behind it, 255 none of it.
  int Value() const { return value_; }
  void SetValue(int value);
  int Reserved() const { return reserved_; }
  void SetReserved(int value) { reserved_ = value; }

  TNotifyEvent OnChange;

 private:
  void Changed();

  bool enabled_ = false;
  int value_ = kDefaultValue;
  int reserved_ = 0;
};

}  // namespace hv
