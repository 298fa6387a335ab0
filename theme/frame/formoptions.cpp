#include "theme/frame/formoptions.h"

#include <algorithm>
#include <cstdlib>

#include "framework/classes.h"

namespace hv {

// --- TTeShadow -------------------------------------------------------------

void TTeShadow::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TTeShadow*>(source)) {
    enabled_ = other->enabled_;
    size_ = other->size_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TTeShadow::SetEnabled(bool value) {
  // A shadow without width would make the frame larger than its window.
  if (value && size_ <= 0) value = false;
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TTeShadow::SetSize(int value) {
  value = std::min(value, kMaxSize);
  if (value == size_) return;
  size_ = value;
  if (value <= 0) enabled_ = false;
  Changed();
}

void TTeShadow::Changed() {
  if (OnChange) OnChange(this);
}

void TTeShadow::PublishProperties(TPropertyList& p) {
  p.Boolean("Enabled", &TTeShadow::Enabled, &TTeShadow::SetEnabled, false);
  p.Integer("Size", &TTeShadow::Size, &TTeShadow::SetSize, kDefaultSize);
}

// --- TTeGravitation --------------------------------------------------------

void TTeGravitation::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TTeGravitation*>(source)) {
    enabled_ = other->enabled_;
    size_ = other->size_;
    reserved_ = other->reserved_;
    return;
  }
  TPersistent::Assign(source);
}

void TTeGravitation::SetSize(int value) { size_ = std::clamp(value, kMinSize, kMaxSize); }

TRect TTeGravitation::SnapRect(const TRect& bounds, const TRect& workArea, int shadowSize) const {
  if (!enabled_) return bounds;
  int right = bounds.right - shadowSize;
  int bottom = bounds.bottom - shadowSize;
  int dx = 0;
  if (std::abs(bounds.left - workArea.left) < size_)
    dx = workArea.left - bounds.left;
  else if (std::abs(right - workArea.right) < size_)
    dx = workArea.right - right;
  int dy = 0;
  if (std::abs(bounds.top - workArea.top) < size_)
    dy = workArea.top - bounds.top;
  else if (std::abs(bottom - workArea.bottom) < size_)
    dy = workArea.bottom - bottom;
  return bounds.Offset(dx, dy);
}

void TTeGravitation::PublishProperties(TPropertyList& p) {
  p.Boolean("Enabled", &TTeGravitation::Enabled, &TTeGravitation::SetEnabled, true);
  p.Integer("Size", &TTeGravitation::Size, &TTeGravitation::SetSize, kDefaultSize);
}

// --- TTeDragging -----------------------------------------------------------

void TTeDragging::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TTeDragging*>(source)) {
    sizeable_ = other->sizeable_;
    moveable_ = other->moveable_;
    dragMode_ = other->dragMode_;
    return;
  }
  TPersistent::Assign(source);
}

void TTeDragging::PublishProperties(TPropertyList& p) {
  p.Boolean("Sizeable", &TTeDragging::Sizeable, &TTeDragging::SetSizeable, true);
  p.Boolean("Moveable", &TTeDragging::Moveable, &TTeDragging::SetMoveable, true);
  p.Enum("DragMode", &TTeDragging::DragMode, &TTeDragging::SetDragMode, {"kfdmBorder", "kfdmFullDrag"}, kfdmFullDrag);
}

// --- TTeAnimation ----------------------------------------------------------

void TTeAnimation::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TTeAnimation*>(source)) {
    enabled_ = other->enabled_;
    time_ = other->time_;
    resolution_ = other->resolution_;
    tileCount_ = other->tileCount_;
    effect_ = other->effect_;
    direction_ = other->direction_;
    return;
  }
  TPersistent::Assign(source);
}

void TTeAnimation::SetTime(int value) { time_ = std::clamp(value, kMinTime, kMaxTime); }
void TTeAnimation::SetResolution(int value) { resolution_ = std::clamp(value, 1, kMaxResolution); }
void TTeAnimation::SetTileCount(int value) { tileCount_ = std::clamp(value, 1, kMaxTileCount); }

void TTeAnimation::PublishProperties(TPropertyList& p) {
  p.Boolean("Enabled", &TTeAnimation::Enabled, &TTeAnimation::SetEnabled, false);
  p.Integer("Time", &TTeAnimation::Time, &TTeAnimation::SetTime, kDefaultTime);
  p.Integer("Resolution", &TTeAnimation::Resolution, &TTeAnimation::SetResolution, 1);
  p.Integer("TileCount", &TTeAnimation::TileCount, &TTeAnimation::SetTileCount, 1);
  p.Enum("Effect", &TTeAnimation::Effect, &TTeAnimation::SetEffect,
         {"keRandomSelect", "keFade", "keDiagonal", "keDown", "keIn", "keOut", "keRectIn", "keRectOut", "kePixel",
          "kePixelLine", "keDiamondIn", "keDiamondOut", "keSmoothDiagonal", "keSmoothRectIn", "keSmoothRectOut"},
         keFade);
  p.Enum("Direction", &TTeAnimation::Direction, &TTeAnimation::SetDirection,
         {"kdNone", "kdNoRotate", "kdRotate90", "kdRotate180", "kdRotate270"}, kdNone);
}

// --- TTeEffectOptions ------------------------------------------------------

TTeEffectOptions::TTeEffectOptions()
    : blending_(std::make_unique<TTeBlending>()),
      shadow_(std::make_unique<TTeShadow>()),
      animation_(std::make_unique<TTeAnimation>()) {}

TTeEffectOptions::~TTeEffectOptions() = default;

void TTeEffectOptions::Assign(const TPersistent* source) {
  if (source && &source->ClassInfo() == &ClassInfo()) {
    auto* other = static_cast<const TTeEffectOptions*>(source);
    blending_->Assign(other->blending_.get());
    shadow_->Assign(other->shadow_.get());
    animation_->Assign(other->animation_.get());
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TTeEffectOptions::SetBlending(const TTeBlending* value) {
  blending_->Assign(value);
  Changed();
}

void TTeEffectOptions::SetShadow(const TTeShadow* value) {
  shadow_->Assign(value);
  Changed();
}

void TTeEffectOptions::SetAnimation(const TTeAnimation* value) {
  animation_->Assign(value);
  Changed();
}

void TTeEffectOptions::Changed() {
  if (OnChange) OnChange(this);
}

void TTeEffectOptions::PublishProperties(TPropertyList& p) {
  p.Object("Blending", &TTeEffectOptions::Blending);
  p.Object("Shadow", &TTeEffectOptions::Shadow);
  p.Object("Animation", &TTeEffectOptions::Animation);
}

void RegisterFormOptionClasses() { RegisterClasses<TTeFormOptions, TTePopupMenuOptions>(); }

}  // namespace hv
