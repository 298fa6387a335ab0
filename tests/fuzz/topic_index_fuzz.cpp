// Builds a topic tree from arbitrary bytes and checks the shape it promises:
// parents before children, levels one below the parent, texts inside the
// input, and a bad level only ever one step past the nodes returned.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/topic_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const hv::TopicTree tree = hv::BuildTopicTree(bytes);
  if (tree.source.size() > bytes.size()) __builtin_trap();

  size_t lines = 0;
  std::string_view line;
  for (hv::TopicLineReader reader(bytes); reader.Next(line);) ++lines;
  if (tree.error ? static_cast<size_t>(tree.error->line) != tree.nodes.size() + 1 : tree.nodes.size() != lines)
    __builtin_trap();

  for (int i = 0; i < tree.Count(); ++i) {
    const hv::TopicNode& node = tree.nodes[static_cast<size_t>(i)];
    if (node.parent >= i || node.parent < -1) __builtin_trap();
    const int expectedLevel = node.parent < 0 ? 0 : tree.nodes[static_cast<size_t>(node.parent)].level + 1;
    if (node.level != expectedLevel) __builtin_trap();
    // Depth-first order: a node's parent is the previous node or one of its ancestors.
    if (i > 0) {
      int ancestor = i - 1;
      while (ancestor != node.parent && ancestor >= 0) ancestor = tree.nodes[static_cast<size_t>(ancestor)].parent;
      if (ancestor != node.parent) __builtin_trap();
    }
    if (static_cast<size_t>(node.textOffset) + node.textLength > tree.source.size()) __builtin_trap();
    const std::string_view text = tree.Text(i);
    if (text.find_first_of("\r\n") != std::string_view::npos) __builtin_trap();
    if (TopicTitle(tree, i).find(' ') != std::string_view::npos) __builtin_trap();
    if (TopicTitle(tree, i).size() + TopicPath(tree, i).size() > text.size()) __builtin_trap();
  }
  if (tree.error && tree.error->Message().empty()) __builtin_trap();
  return 0;
}
