#include "app/topic_index.h"

#include "framework/sysutils.h"

namespace hv {

std::optional<std::string_view> SplitTopicLine(int part, std::string_view text) {
  const size_t space = text.find(' ');
  switch (part) {
    case 0:
      return space == std::string_view::npos ? std::string_view() : Trim(text.substr(space + 1));
    case 1:
      return Trim(text.substr(0, space));
    default:
      return std::nullopt;
  }
}

std::string_view TopicTitle(const TopicTree& tree, int index) { return *SplitTopicLine(1, tree.Text(index)); }

std::string_view TopicPath(const TopicTree& tree, int index) { return *SplitTopicLine(0, tree.Text(index)); }

}  // namespace hv
