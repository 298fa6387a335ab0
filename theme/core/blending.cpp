#include "theme/core/blending.h"

#include <algorithm>

#include "framework/properties.h"

namespace hv {

void TTeBlending::Assign(const TPersistent* source) {
  // The change notification belongs to the owner of each object and is not
  // copied: the frame would otherwise hear of changes to somebody else's.
  if (auto* other = dynamic_cast<const TTeBlending*>(source)) {
    enabled_ = other->enabled_;
    value_ = other->value_;
    reserved_ = other->reserved_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TTeBlending::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TTeBlending::SetValue(int value) {
  value = std::clamp(value, 0, 255);
  if (value == value_) return;
  value_ = value;
  Changed();
}

void TTeBlending::Changed() {
  if (OnChange) OnChange(this);
}

void TTeBlending::PublishProperties(TPropertyList& p) {
  p.Boolean("Enabled", &TTeBlending::Enabled, &TTeBlending::SetEnabled, false);
  p.Integer("Value", &TTeBlending::Value, &TTeBlending::SetValue, kDefaultValue);
}

}  // namespace hv
