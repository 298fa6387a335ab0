#pragma once
// The topic index file TrvNode.DLL: an indented text (framework/indented_tree.h)
// whose lines read "title path". The tree is built in absolute-index order,
// which is also the order of the path list. Portable: no window system here.

#include <optional>
#include <string_view>

#include "framework/indented_tree.h"

namespace hv {

// Part 1 is the title (before the first space, or all of it), part 0 the path
// (after the first space, or empty), both trimmed of bytes <= 0x20. Any other
// part has no answer, and the caller's value stays as it was.
std::optional<std::string_view> SplitTopicLine(int part, std::string_view text);

// The title and the path of the node at an absolute index.
std::string_view TopicTitle(const TopicTree& tree, int index);
std::string_view TopicPath(const TopicTree& tree, int index);

}  // namespace hv
