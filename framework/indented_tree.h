#pragma once
// Indented text as a tree view loads it: one item per line, indentation gives
// the depth. This turns the bytes into the tree in absolute-index order
// (depth-first, parent before children). The help viewer's topic index is
// such a text; what its lines mean is the viewer's business (its topic index).
// Portable: no window system here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// Yields the lines of an index file in order. A NUL byte ends the text; CR,
// LF and CR LF each end one line; a final line break adds no empty line.
class TopicLineReader {
 public:
  explicit TopicLineReader(std::string_view bytes);
  // The next line without its line break; false once the text is used up.
  bool Next(std::string_view& line);

 private:
  std::string_view rest_;
};

struct TopicLine {
  int level = 0;          // one per leading TAB or space
  std::string_view text;  // what follows the indentation
};
TopicLine ParseTopicLine(std::string_view line);

// 16 bytes per line whatever the platform: a huge index costs its own size
// plus this, and nothing more.
struct TopicNode {
  int32_t parent;       // absolute index of the parent; -1 for a root
  int32_t level;        // depth in the tree; 0 for a root
  uint32_t textOffset;  // the node's raw text ("title path") in the source
  uint32_t textLength;
};

// A line whose level jumps by two or more below the previous node.
struct TopicLevelError {
  int level;              // the line's level
  std::string_view text;  // the line's text, as in the source bytes
  int line;               // 1-based line number

  // "Invalid level (%d) for item "%s"" with the raw bytes as %s.
  std::string Message() const;
};

// The tree-view error text, for a caller that converts the item's text first.
std::string InvalidLevelMessage(int level, std::string_view text);

// The nodes point into the bytes given to BuildTopicTree, which must outlive
// the tree.
struct TopicTree {
  std::string_view source;
  std::vector<TopicNode> nodes;  // in absolute-index order
  // Set when building stopped at a bad level: `nodes` then holds the nodes
  // built before that line, and the lines after it were not looked at.
  std::optional<TopicLevelError> error;

  int Count() const { return static_cast<int>(nodes.size()); }
  std::string_view Text(int index) const;   // raw, as in the file
};

// The text an index is read from: up to its first NUL byte. Throws EReadError
// when that exceeds 2 GB (node offsets are 32-bit).
std::string_view TopicSource(std::string_view bytes);

// Builds the tree, one node per line. The first line is a root whatever its
// indentation; a line one level deeper than the node before it becomes that
// node's last child; a line at the same level or shallower becomes the last
// child of the matching ancestor (a root at level 0). A deeper jump ends the
// build with `error` set; it is returned, not thrown, so the caller can show
// the partial tree before reporting (the tree view raises ETreeViewError).
// Every node is appended after all nodes that exist, so creation order is the
// absolute-index order. Linear in the size of the input.
// Throws EReadError when the text exceeds 2 GB (offsets are 32-bit).
TopicTree BuildTopicTree(std::string_view bytes);

// The same walk with no list of nodes: add(parent, level, text) is called
// for each node in absolute-index order, parent being the absolute index of
// the node's parent (-1 for a root). Only the chain of ancestors of the last
// node is kept, so a caller that makes its own nodes holds the index once.
// `source` is what TopicSource gives. Answers the level error that ended the
// walk, if any; the lines after it are not looked at.
template <class Add>
std::optional<TopicLevelError> WalkTopicTree(std::string_view source, Add&& add) {
  // ancestors[k]: the absolute index of the last node's ancestor at depth k,
  // the last node itself at the end.
  std::vector<int32_t> ancestors;
  int32_t count = 0;
  std::string_view line;
  TopicLineReader reader(source);
  for (int lineNumber = 1; reader.Next(line); ++lineNumber) {
    const TopicLine parsed = ParseTopicLine(line);
    // The first line is a root; then a line one level deeper than the last
    // node is its child, a deeper one is an error, and any other becomes the
    // next sibling of the last node's ancestor at the line's level.
    size_t depth = 0;
    if (!ancestors.empty()) {
      const size_t previous = ancestors.size() - 1;
      if (static_cast<size_t>(parsed.level) > previous + 1)
        return TopicLevelError{parsed.level, parsed.text, lineNumber};
      depth = static_cast<size_t>(parsed.level);
    }
    const int32_t parent = depth > 0 ? ancestors[depth - 1] : -1;
    add(parent, static_cast<int32_t>(depth), parsed.text);
    ancestors.resize(depth + 1);
    ancestors[depth] = count++;
  }
  return std::nullopt;
}

}  // namespace hv
