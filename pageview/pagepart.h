#pragma once
// The first part of a long page, shown while the whole of it is read: cut
// where a tag starts, so that no character and no word is split, whatever
// the page's charset. Portable.

#include <cstddef>
#include <string_view>

namespace hv::html {

// The first bytes of `bytes`, about `limit` of them: all of them when they
// are no more; else up to the last '<' at or below the limit (in UTF-16, the
// last '<' code unit), or, without one in the last half of that stretch, up
// to the start of a character.
std::string_view FirstPart(std::string_view bytes, size_t limit);

}  // namespace hv::html
