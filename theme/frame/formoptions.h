#pragma once
// The option objects of the frame's and the menus' effects: translucency,
// drop shadow, snapping to the work area, how a form may be moved and sized,
// and the show animation, plus the two groups that bundle the pixel effects.
// Plain persistent objects: their owner publishes them, copies values into
// them when its property is written, and listens to the change notification
// of those whose change alters the frame's geometry. Portable.

#include <cstdint>
#include <memory>

#include "framework/component.h"
#include "framework/event.h"
#include "framework/types.h"
#include "theme/core/blending.h"

namespace hv {

// Transitions of the show animation; keRandomSelect picks one of the others.
enum TkeEffect : uint8_t {
  keRandomSelect,
  keFade,
  keDiagonal,
  keDown,
  keIn,
  keOut,
  keRectIn,
  keRectOut,
  kePixel,
  kePixelLine,
  keDiamondIn,
  keDiamondOut,
  keSmoothDiagonal,
  keSmoothRectIn,
  keSmoothRectOut
};
constexpr int kEffectCount = 15;

// How the transition mask is turned.
enum TTeDirection : uint8_t { kdNone, kdNoRotate, kdRotate90, kdRotate180, kdRotate270 };

// kfdmFullDrag moves and sizes the window live; kfdmBorder drags an outline.
enum TTeFormDragMode : uint8_t { kfdmBorder, kfdmFullDrag };

class TTeShadow : public TPersistent {
  HV_CLASS(TTeShadow, TPersistent)

 public:
  static constexpr int kDefaultSize = 4;
  static constexpr int kMaxSize = 20;

  void Assign(const TPersistent* source) override;

  // Stays off while Size is not positive.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Offset and width of the shadow in pixels, at most kMaxSize; a size of 0
  // or less is kept but switches the shadow off.
  int Size() const { return size_; }
  void SetSize(int value);

  TNotifyEvent OnChange;

 private:
  void Changed();

  bool enabled_ = false;
  int size_ = kDefaultSize;
};

class TTeGravitation : public TPersistent {
  HV_CLASS(TTeGravitation, TPersistent)

 public:
  static constexpr int kDefaultSize = 20;
  static constexpr int kMdiChildSize = 9;
  static constexpr int kMinSize = 1;
  static constexpr int kMaxSize = 50;

  void Assign(const TPersistent* source) override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  // Snapping distance in pixels.
  int Size() const { return size_; }
  void SetSize(int value);
  int Reserved() const { return reserved_; }
  void SetReserved(int value) { reserved_ = value; }

  // The proposed bounds of a window being dragged, moved onto the work
  // area's nearer edges when they lie closer than Size (strictly). The
  // shadow's width does not count as part of the window. The size never
  // changes.
  TRect SnapRect(const TRect& bounds, const TRect& workArea, int shadowSize) const;

 private:
  bool enabled_ = true;
  int size_ = kDefaultSize;
  int reserved_ = 0;
};

class TTeDragging : public TPersistent {
  HV_CLASS(TTeDragging, TPersistent)

 public:
  void Assign(const TPersistent* source) override;

  bool Sizeable() const { return sizeable_; }
  void SetSizeable(bool value) { sizeable_ = value; }
  bool Moveable() const { return moveable_; }
  void SetMoveable(bool value) { moveable_ = value; }
  TTeFormDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TTeFormDragMode value) { dragMode_ = value; }

 private:
  bool sizeable_ = true;
  bool moveable_ = true;
  TTeFormDragMode dragMode_ = kfdmFullDrag;
};

class TTeAnimation : public TPersistent {
  HV_CLASS(TTeAnimation, TPersistent)

 public:
  static constexpr int kDefaultTime = 400;
  static constexpr int kMinTime = 50, kMaxTime = 9000;
  static constexpr int kMaxResolution = 10;
  static constexpr int kMaxTileCount = 20;

  void Assign(const TPersistent* source) override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  // Duration in milliseconds.
  int Time() const { return time_; }
  void SetTime(int value);
  // Side of a mask cell in pixels.
  int Resolution() const { return resolution_; }
  void SetResolution(int value);
  // The transition repeats in TileCount × TileCount tiles.
  int TileCount() const { return tileCount_; }
  void SetTileCount(int value);
  TkeEffect Effect() const { return effect_; }
  void SetEffect(TkeEffect value) { effect_ = value; }
  TTeDirection Direction() const { return direction_; }
  void SetDirection(TTeDirection value) { direction_ = value; }

 private:
  bool enabled_ = false;
  int time_ = kDefaultTime;
  int resolution_ = 1;
  int tileCount_ = 1;
  TkeEffect effect_ = keFade;
  TTeDirection direction_ = kdNone;
};

// Blending, shadow and show animation together, for a window that is not a
// form frame (a popup menu) or for storing a form's effects in one block.
class TTeEffectOptions : public TPersistent {
  HV_CLASS(TTeEffectOptions, TPersistent)

 public:
  TTeEffectOptions();
  ~TTeEffectOptions() override;

  // Copies from an object of the very same class only.
  void Assign(const TPersistent* source) override;

  TTeBlending* Blending() const { return blending_.get(); }
  void SetBlending(const TTeBlending* value);
  TTeShadow* Shadow() const { return shadow_.get(); }
  void SetShadow(const TTeShadow* value);
  TTeAnimation* Animation() const { return animation_.get(); }
  void SetAnimation(const TTeAnimation* value);

  // After a write of one of the three, and after Assign.
  TNotifyEvent OnChange;

 private:
  void Changed();

  std::unique_ptr<TTeBlending> blending_;
  std::unique_ptr<TTeShadow> shadow_;
  std::unique_ptr<TTeAnimation> animation_;
};

class TTeFormOptions : public TTeEffectOptions {
  HV_CLASS_NO_PROPERTIES(TTeFormOptions, TTeEffectOptions)
};

class TTePopupMenuOptions : public TTeEffectOptions {
  HV_CLASS_NO_PROPERTIES(TTePopupMenuOptions, TTeEffectOptions)
};

// Makes the option classes known to the class registry for streaming; the
// theme library's start calls it.
void RegisterFormOptionClasses();

}  // namespace hv
