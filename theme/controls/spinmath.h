#pragma once
// The spin button's arithmetic: where its halves and its drag strip lie, where
// it stands beside its associate, the position it steps or drags to, and the
// reading of the associate's text. Pure.

#include <cstdint>
#include <string_view>

#include "framework/types.h"

namespace hv {

enum TTeSpinAlign : uint8_t { saLeft, saRight };

constexpr int kSpinWidth = 15;

struct TSpinHalves {
  TRect up;
  TRect down;
};

// The two halves of a spin button of that size: each (height div 2) less one
// row when the drag strip is on, the up half at the top, the down half at the
// bottom.
TSpinHalves SpinHalves(int width, int height, bool slider);

// The drag strip between the halves: (0, half - 1, width, half + 1).
TRect SpinSliderRect(int width, int height);

// The spin button's bounds beside an associate at `associate` (parent
// coordinates): kSpinWidth wide, as high as it, right or left of it.
TRect SpinPlacement(const TRect& associate, TTeSpinAlign align);

// position + steps * increment, held within [min, max] without overflowing
// on the way.
int SpinStep(int position, int increment, int steps, int min, int max);

// The associate's text as an integer: optional blanks, an optional sign and
// decimal digits, optional blanks, within 32 bits. False for anything else.
bool ParseSpinText(std::string_view text, int& value);

}  // namespace hv
