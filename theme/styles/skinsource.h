#pragma once
// Where the skinned styles find their atlases: the resources of the running
// program, unless a test hands in a lookup of its own. A skin that is missing
// or is not a whole PCX image of the size its style cuts from makes that
// style unavailable, so that everything painted with it falls back to the
// plain look instead of showing holes or an error.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace hv {

// The bytes of the skin resource named, or no value when there is none.
using TTeSkinLookup = std::function<std::optional<std::span<const uint8_t>>(const char* name)>;

// Replaces the lookup and forgets every judgement made with the old one; an
// empty lookup restores the program's resources. Answers the previous one.
TTeSkinLookup SetSkinLookup(TTeSkinLookup lookup);

// The bytes of the skin named, by the current lookup.
std::optional<std::span<const uint8_t>> FindSkin(const char* name);

// Whether the skin named is there, decodes whole, and is at least the size
// given. Judged once per name until the lookup changes: availability is
// asked at every paint.
bool IsSkinUsable(const char* name, int minWidth, int minHeight);

}  // namespace hv
