#pragma once
// The two bases every themed control derives from. TTeCustomControl is a
// windowed control with its own canvas, a frame of bevels and a border
// around its content rectangle (which is also its client rectangle) and
// focus tracking; TTeGraphicControl is painted on its parent's surface.
// Both paint through a selectable off-screen mode (Performance), can show
// their parent's background under them (Transparent) or mix themselves with
// it (Blending), and tell when the mouse enters and leaves. Neither asks a
// style for anything: the Theme classes built on them do (themelink.h).
//
// Painting is split by concern: customcontrol.cpp (the windowed base's
// properties, messages and frame), graphiccontrol.cpp (the windowless base),
// controlpaint.cpp (the paint surfaces and the parent's background).

#include <cstdint>
#include <memory>

#include "framework/set.h"
#include "framework/wincontrol.h"
#include "theme/core/blending.h"

namespace hv {

class TFont;
class TTeBitmap;
class TPropertyList;

// Where a control paints before its pixels reach the screen: straight to
// the screen, into the process's shared buffer, or into a bitmap of its own
// made for each paint.
enum TTePerformance : uint8_t { kspNoBuffer, kspSharedBuffer, kspDoubleBuffer };

enum TTeBevelCut : uint8_t { kbvNone, kbvLowered, kbvRaised, kbvSpace, kbvBorder, kbvFlatBorder };
enum TTeBevelKind : uint8_t { kbkNone, kbkSingle, kbkTile, kbkSoft, kbkBorder, kbkFlat };
enum TTeBevelSide : uint8_t { kbsLeft, kbsTop, kbsRight, kbsBottom };
using TTeBevelSides = TSet<TTeBevelSide>;
inline const TTeBevelSides kAllBevelSides{kbsLeft, kbsTop, kbsRight, kbsBottom};

// The content rectangle of a frame: (0, 0, width, height) less the border
// on every side and, on each side in `sides`, one bevel width per cut that
// is not kbvNone. Pure.
TRect FrameContentRect(int width, int height, int borderWidth, TTeBevelCut inner, TTeBevelCut outer,
                       TTeBevelSides sides, int bevelWidth);

// The cuts a preset sets; kbkNone sets nothing (false).
bool BevelKindCut(TTeBevelKind kind, TTeBevelCut& cut);

// The light and dark colours of an outer or inner bevel of a cut.
struct TBevelColors {
  TColor light;
  TColor dark;
};
TBevelColors BevelColors(TTeBevelCut cut, bool outer);

class TTeCustomControl : public TCustomControl {
  HV_CLASS(TTeCustomControl, TCustomControl)

 public:
  explicit TTeCustomControl(TComponent* owner);
  ~TTeCustomControl() override;

  TTePerformance Performance() const { return performance_; }
  void SetPerformance(TTePerformance value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TTeBlending* Blending() const { return blending_.get(); }
  void SetBlending(const TTeBlending* value);

  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TTeBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TTeBevelCut value);
  TTeBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TTeBevelCut value);
  TTeBevelSides BevelSides() const { return bevelSides_; }
  void SetBevelSides(TTeBevelSides value);
  TTeBevelKind BevelKind() const { return bevelKind_; }
  void SetBevelKind(TTeBevelKind value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  bool UseVisualStyles() const { return useVisualStyles_; }
  void SetUseVisualStyles(bool value);

  bool HasFocus() const { return hasFocus_; }
  // The size last asked for; all painting of the control goes by it.
  int PaintWidth() const { return paintWidth_; }
  int PaintHeight() const { return paintHeight_; }
  // Refreshed from Font at the start of every paint.
  TFont* PaintFont() const { return paintFont_.get(); }
  TTeBitmap* BlendBuffer() const { return blendBuffer_.get(); }

  TRect ClientRect() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

  // The content area: (0, 0, PaintWidth, PaintHeight) less the frame.
  virtual TRect GetContentRect() const;
  // The system's thumb height, the width of the built-in scroll-bar slot.
  virtual int GetScrollBarSize() const;

  // Paints this control's own background into a device context whose
  // origin is the control's top-left corner: the parent's first when
  // Transparent, then the frame and the content. What a background request
  // from a child is answered with.
  void PaintBackgroundInto(HDC dc);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Paint() override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;

  // Paints the content area; the base fills it with Color unless Transparent.
  virtual void PaintClient();
  // Paints the bevels and the border around the content area.
  virtual void PaintFrame();
  // After any bevel or border property changed, before the repaint.
  virtual void BorderChanged() {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void FocusEnter();
  virtual void FocusExit();

  // For the controls that show their frame: the bevel and border properties.
  static void PublishFrameProperties(TPropertyList& p);

 private:
  void WMEraseBkgnd(TMessage& message);
  void WMWindowPosChanging(TMessage& message);
  void FrameChanged();
  void PaintFrameVisualStyle(const TRect& outer, const TRect& content);
  void PaintFrameBevels(TRect rect);

  TTePerformance performance_ = kspNoBuffer;
  std::unique_ptr<TTeBitmap> blendBuffer_;
  bool hasFocus_ = false;
  bool transparent_ = false;
  std::unique_ptr<TFont> paintFont_;
  int borderWidth_ = 0;
  TTeBevelCut bevelInner_ = kbvLowered;
  TTeBevelCut bevelOuter_ = kbvLowered;
  TTeBevelSides bevelSides_ = kAllBevelSides;
  TTeBevelKind bevelKind_ = kbkNone;
  int bevelWidth_ = 0;
  std::unique_ptr<TTeBlending> blending_;
  bool useVisualStyles_ = true;
  int paintWidth_ = 0;
  int paintHeight_ = 0;
};

class TTeGraphicControl : public TGraphicControl {
  HV_CLASS(TTeGraphicControl, TGraphicControl)

 public:
  explicit TTeGraphicControl(TComponent* owner);
  ~TTeGraphicControl() override;

  TTePerformance Performance() const { return performance_; }
  void SetPerformance(TTePerformance value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // Changes made to the object itself take effect at the next paint.
  TTeBlending* Blending() const { return blending_.get(); }
  void SetBlending(const TTeBlending* value);

  TFont* PaintFont() const { return paintFont_.get(); }
  TTeBitmap* BlendBuffer() const { return blendBuffer_.get(); }

  void Loaded() override;

 protected:
  void Paint() override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;

  // Fills the client rectangle with Color unless Transparent.
  virtual void PaintClient();
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}

 private:
  TTePerformance performance_ = kspNoBuffer;
  bool transparent_ = false;
  std::unique_ptr<TTeBlending> blending_;
  std::unique_ptr<TTeBitmap> blendBuffer_;
  std::unique_ptr<TFont> paintFont_;
};

}  // namespace hv
