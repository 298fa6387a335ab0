#pragma once
// The show animation's transitions: a coarse mask that says, cell by cell,
// how much of the new image covers the old one at a given progress, filled
// by one of fourteen effects, and the frame that the mask makes of the two
// images, repeated over tiles and turned by a direction. Portable.

#include <cstdint>
#include <random>
#include <vector>

#include "theme/frame/formoptions.h"

namespace hv {

// Cell values: 0 the old image, 255 the new one, between a blend.
class TTransitionMask {
 public:
  TTransitionMask(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint8_t Get(int i, int j) const;
  // Cells outside the mask are skipped.
  void Set(int i, int j, uint8_t value);
  void Clear();
  // An integer line from one cell to another, both ends included.
  void Line(int x0, int y0, int x1, int y1, uint8_t value);
  const std::vector<uint8_t>& Cells() const { return cells_; }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> cells_;
};

// Fills a cleared mask for progress 0 ... 100; nothing at 0. keRandomSelect
// is for the caller to resolve first. `random` serves kePixelLine.
void FillTransitionMask(TkeEffect effect, int progress, TTransitionMask& mask, std::mt19937& random);

// keRandomSelect becomes one of the fourteen others, uniformly; any other
// effect stays.
TkeEffect ResolveEffect(TkeEffect effect, std::mt19937& random);

struct TTransitionGeometry {
  int maskWidth = 0, maskHeight = 0;  // mw, mh
  int tileWidth = 0, tileHeight = 0;  // tw, th
};
// For an image of width x height with the animation's resolution and tile count.
TTransitionGeometry TransitionGeometry(int width, int height, int resolution, int tileCount);

// One frame for progress p: `work` gets the old pixels where the mask is 0
// (and wherever the new pixel is the transparent marker), the new ones where
// it is 255, the new blended over the old between. All three are width x
// height ARGB pixels, rows top down.
void BuildTransitionFrame(TkeEffect effect, TTeDirection direction, int resolution, int tileCount, int progress,
                          const uint32_t* newPixels, const uint32_t* oldPixels, uint32_t* work, int width, int height,
                          std::mt19937& random);

}  // namespace hv
