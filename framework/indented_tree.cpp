#include "framework/indented_tree.h"

#include <limits>

#include "framework/sysutils.h"

namespace hv {

TopicLineReader::TopicLineReader(std::string_view bytes) : rest_(bytes.substr(0, bytes.find('\0'))) {}

bool TopicLineReader::Next(std::string_view& line) {
  if (rest_.empty()) return false;
  size_t end = 0;
  while (end < rest_.size() && rest_[end] != '\r' && rest_[end] != '\n') ++end;
  line = rest_.substr(0, end);
  if (end < rest_.size()) {
    const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
    end += crlf ? 2 : 1;
  }
  rest_.remove_prefix(end);
  return true;
}

TopicLine ParseTopicLine(std::string_view line) {
  size_t level = 0;
  while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
  return {static_cast<int>(level), line.substr(level)};
}

std::string InvalidLevelMessage(int level, std::string_view text) {
  return Format("Invalid level (%d) for item \"%.*s\"", level, static_cast<int>(text.size()), text.data());
}

std::string TopicLevelError::Message() const { return InvalidLevelMessage(level, text); }

std::string_view TopicTree::Text(int index) const {
  const TopicNode& node = nodes[static_cast<size_t>(index)];
  return source.substr(node.textOffset, node.textLength);
}

TopicTree BuildTopicTree(std::string_view bytes) {
  TopicTree tree;
  tree.source = bytes.substr(0, bytes.find('\0'));
  if (tree.source.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw EReadError("Topic index too large: " + std::to_string(tree.source.size()) + " bytes");

  // Counting first lets the node list be allocated once, at its final size:
  // a growing vector would briefly hold two copies of a large index.
  size_t lineCount = 0;
  std::string_view line;
  for (TopicLineReader counter(tree.source); counter.Next(line);) ++lineCount;
  tree.nodes.reserve(lineCount);

  // Each node goes in as the last child of the previous node or of one of its
  // ancestors, or as the last root. The previous node is always the last one
  // in depth-first order, so so is the new node: appending keeps the list in
  // absolute-index order and parents always come before their children.
  TopicLineReader reader(tree.source);
  for (int lineNumber = 1; reader.Next(line); ++lineNumber) {
    const TopicLine parsed = ParseTopicLine(line);
    int32_t parent = -1;
    if (!tree.nodes.empty()) {
      const auto previousIndex = static_cast<int32_t>(tree.nodes.size() - 1);
      const TopicNode& previous = tree.nodes.back();
      if (parsed.level == previous.level) {
        parent = previous.parent;
      } else if (parsed.level == previous.level + 1) {
        parent = previousIndex;
      } else if (parsed.level > previous.level) {
        tree.error = TopicLevelError{parsed.level, parsed.text, lineNumber};
        break;
      } else {
        // Shallower: climb to the ancestor at the line's own level and become
        // its next sibling. The climbs never total more than the descents, so
        // the whole build stays linear.
        int32_t ancestor = previous.parent;
        while (ancestor >= 0 && tree.nodes[static_cast<size_t>(ancestor)].level > parsed.level)
          ancestor = tree.nodes[static_cast<size_t>(ancestor)].parent;
        parent = ancestor >= 0 ? tree.nodes[static_cast<size_t>(ancestor)].parent : -1;
      }
    }
    const int32_t level = parent >= 0 ? tree.nodes[static_cast<size_t>(parent)].level + 1 : 0;
    tree.nodes.push_back({parent, level, static_cast<uint32_t>(parsed.text.data() - tree.source.data()),
                          static_cast<uint32_t>(parsed.text.size())});
  }
  return tree;
}

}  // namespace hv
