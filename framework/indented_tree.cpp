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

std::string_view TopicSource(std::string_view bytes) {
  const std::string_view source = bytes.substr(0, bytes.find('\0'));
  if (source.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw EReadError("Topic index too large: " + std::to_string(source.size()) + " bytes");
  return source;
}

TopicTree BuildTopicTree(std::string_view bytes) {
  TopicTree tree;
  tree.source = TopicSource(bytes);
  // Counting first lets the node list be allocated once, at its final size:
  // a growing vector would briefly hold two copies of a large index.
  size_t lineCount = 0;
  std::string_view line;
  for (TopicLineReader counter(tree.source); counter.Next(line);) ++lineCount;
  tree.nodes.reserve(lineCount);
  tree.error = WalkTopicTree(tree.source, [&tree](int32_t parent, int32_t level, std::string_view text) {
    tree.nodes.push_back(
        {parent, level, static_cast<uint32_t>(text.data() - tree.source.data()), static_cast<uint32_t>(text.size())});
  });
  return tree;
}

}  // namespace hv
