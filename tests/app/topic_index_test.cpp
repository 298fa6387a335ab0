#include "app/topic_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace hv {
namespace {

using namespace std::string_view_literals;

std::vector<std::string> Lines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string_view line;
  for (TopicLineReader reader(bytes); reader.Next(line);) lines.emplace_back(line);
  return lines;
}

// One entry per node: its parent's index, its level and its raw text.
std::vector<std::string> Shape(const TopicTree& tree) {
  std::vector<std::string> shape;
  for (int i = 0; i < tree.Count(); ++i)
    shape.push_back(std::to_string(tree.nodes[size_t(i)].parent) + " " + std::to_string(tree.nodes[size_t(i)].level) +
                    " [" + std::string(tree.Text(i)) + "]");
  return shape;
}

using Strings = std::vector<std::string>;

TEST(TopicIndexTest, LineBreaksAndNul) {
  EXPECT_EQ(Lines("a\r\nb\rc\nd"), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines("a\n\rb"), (Strings{"a", "", "b"})) << "LF then CR ends two lines";
  EXPECT_EQ(Lines("a\r\r\nb"), (Strings{"a", "", "b"}));
  EXPECT_EQ(Lines("a\n"), (Strings{"a"})) << "a final break adds no empty line";
  EXPECT_EQ(Lines("a\r"), (Strings{"a"}));
  EXPECT_EQ(Lines("a\r\n\r\n"), (Strings{"a", ""}));
  EXPECT_EQ(Lines("\n"), (Strings{""}));
  EXPECT_EQ(Lines("\r\n"), (Strings{""}));
  EXPECT_EQ(Lines(""), (Strings{}));
  EXPECT_EQ(Lines("a\nb\0c\nd"sv), (Strings{"a", "b"})) << "NUL ends the text mid-line";
  EXPECT_EQ(Lines("a\n\0b"sv), (Strings{"a"}));
  EXPECT_EQ(Lines("\0a\nb"sv), (Strings{}));
  EXPECT_EQ(Lines("a\r\0\nb"sv), (Strings{"a"}));

  const TopicTree tree = BuildTopicTree("a\n\rb\0\n\tc"sv);
  EXPECT_EQ(Shape(tree), (Strings{"-1 0 [a]", "-1 0 []", "-1 0 [b]"}));
  EXPECT_FALSE(tree.error);
}

TEST(TopicIndexTest, Indentation) {
  auto check = [](std::string_view line, int level, std::string_view text) {
    const TopicLine parsed = ParseTopicLine(line);
    EXPECT_EQ(parsed.level, level) << line;
    EXPECT_EQ(parsed.text, text) << line;
  };
  check("Intro a.htm", 0, "Intro a.htm");
  check("\t\tx y", 2, "x y");
  check(" \t \tx", 4, "x");  // tabs and spaces count alike
  check("   ", 3, "");
  check("", 0, "");
  check("\x0Bx", 0, "\x0Bx");          // only TAB and space indent
  check("\xA1\xA1x", 0, "\xA1\xA1x");  // a double-byte space does not indent
}

TEST(TopicIndexTest, SplitTitleAndPath) {
  EXPECT_EQ(SplitTopicLine(1, "Intro"), "Intro");
  EXPECT_EQ(SplitTopicLine(0, "Intro"), "");
  EXPECT_EQ(SplitTopicLine(1, "Intro   pages\\a b.htm  "), "Intro");
  EXPECT_EQ(SplitTopicLine(0, "Intro   pages\\a b.htm  "), "pages\\a b.htm");
  EXPECT_EQ(SplitTopicLine(1, "\x01Tab\tbed \t x.htm\x1F"), "Tab\tbed") << "a TAB is trimmed but does not separate";
  EXPECT_EQ(SplitTopicLine(0, "\x01Tab\tbed \t x.htm\x1F"), "x.htm");
  EXPECT_EQ(SplitTopicLine(1, "\xA1\xA1Title\xA1\xA1page.htm"), "\xA1\xA1Title\xA1\xA1page.htm")
      << "a full-width space is no separator";
  EXPECT_EQ(SplitTopicLine(1, " leading"), "");
  EXPECT_EQ(SplitTopicLine(0, " leading"), "leading");
  EXPECT_EQ(SplitTopicLine(0, "\xEF\xBB\xBFStart s.htm"), "s.htm");
  EXPECT_EQ(SplitTopicLine(1, "\xEF\xBB\xBFStart s.htm"), "\xEF\xBB\xBFStart") << "a byte-order mark stays text";
  for (int part : {-1, 2, 3, 100}) EXPECT_FALSE(SplitTopicLine(part, "a b").has_value()) << part;

  // The caller's value is left alone for other parts.
  std::string_view result = "kept";
  result = SplitTopicLine(2, "a b").value_or(result);
  EXPECT_EQ(result, "kept");
}

TEST(TopicIndexTest, ExampleIndex) {
  const TopicTree tree = BuildTopicTree("Welcome index.htm\r\n\tSetup setup\\install.htm\r\nUsage usage.htm\r\n");
  ASSERT_FALSE(tree.error);
  EXPECT_EQ(Shape(tree),
            (Strings{"-1 0 [Welcome index.htm]", "0 1 [Setup setup\\install.htm]", "-1 0 [Usage usage.htm]"}));
  EXPECT_EQ(TopicTitle(tree, 0), "Welcome");
  EXPECT_EQ(TopicTitle(tree, 1), "Setup");
  EXPECT_EQ(TopicTitle(tree, 2), "Usage");
  EXPECT_EQ(TopicPath(tree, 0), "index.htm");
  EXPECT_EQ(TopicPath(tree, 1), "setup\\install.htm");
  EXPECT_EQ(TopicPath(tree, 2), "usage.htm");
}

TEST(TopicIndexTest, EdgeLines) {
  // An untitled line and an empty line in the middle: the empty one is a
  // root with empty title and path, wherever the lines around it are.
  const TopicTree tree = BuildTopicTree("A a.htm\n\tIntro\n\n\tB\n");
  ASSERT_FALSE(tree.error);
  EXPECT_EQ(Shape(tree), (Strings{"-1 0 [A a.htm]", "0 1 [Intro]", "-1 0 []", "2 1 [B]"}));
  EXPECT_EQ(TopicTitle(tree, 1), "Intro");
  EXPECT_EQ(TopicPath(tree, 1), "");
  EXPECT_EQ(TopicTitle(tree, 2), "");
  EXPECT_EQ(TopicPath(tree, 2), "");

  // A blank-only line is indented like any other: here one level deeper.
  EXPECT_EQ(Shape(BuildTopicTree("A\n \nB")), (Strings{"-1 0 [A]", "0 1 []", "-1 0 [B]"}));
  EXPECT_EQ(BuildTopicTree("").Count(), 0);
  EXPECT_FALSE(BuildTopicTree("").error);
}

TEST(TopicIndexTest, FirstLineIsARootWhateverItsIndentation) {
  const TopicTree tree = BuildTopicTree("\t\tFirst f.htm\n\t\tSecond s.htm\n\t\tThird t.htm\n");
  ASSERT_TRUE(tree.error);
  EXPECT_EQ(tree.error->level, 2);
  EXPECT_EQ(tree.error->text, "Second s.htm");
  EXPECT_EQ(tree.error->line, 2);
  EXPECT_EQ(tree.error->Message(), "Invalid level (2) for item \"Second s.htm\"");
  EXPECT_EQ(Shape(tree), (Strings{"-1 0 [First f.htm]"})) << "the node built so far stays, raw";

  // One level deeper than a deeply indented first line is its child.
  EXPECT_EQ(Shape(BuildTopicTree("\t\tFirst\n\tChild\n\tSibling\nRoot")),
            (Strings{"-1 0 [First]", "0 1 [Child]", "0 1 [Sibling]", "-1 0 [Root]"}));
}

TEST(TopicIndexTest, LevelJumpKeepsThePartialTree) {
  const TopicTree tree = BuildTopicTree("A\n\tB\n\t\tC\n\t\t\t\t\tD  d.htm \nE\n");
  ASSERT_TRUE(tree.error);
  EXPECT_EQ(tree.error->level, 5);
  EXPECT_EQ(tree.error->text, "D  d.htm ");
  EXPECT_EQ(tree.error->line, 4);
  EXPECT_EQ(tree.error->Message(), "Invalid level (5) for item \"D  d.htm \"");
  EXPECT_EQ(Shape(tree), (Strings{"-1 0 [A]", "0 1 [B]", "1 2 [C]"})) << "nothing after the bad line is read";
  EXPECT_EQ(InvalidLevelMessage(3, "x"), "Invalid level (3) for item \"x\"");

  // Jumping by two right after a root is just as bad.
  const TopicTree second = BuildTopicTree("A\r\n\t\tB\r\n");
  ASSERT_TRUE(second.error);
  EXPECT_EQ(second.error->line, 2);
  EXPECT_EQ(second.Count(), 1);
}

TEST(TopicIndexTest, WalkUpToAncestors) {
  const TopicTree tree = BuildTopicTree(
      "R1\n"
      "\tA\n"
      "\t\tA1\n"
      "\t\t\tA1x\n"
      "\t\t\t\tA1x1\n"
      "\tB\n"  // four levels up: sibling of A
      "\t\tB1\n"
      "\t\t\tB1x\n"
      "\t\tB2\n"  // one level up: sibling of B1
      "R2\n"      // two levels up: a root
      "\tC\n"
      "\t\t\t\n");  // a jump: the blank line at level 3
  ASSERT_TRUE(tree.error);
  EXPECT_EQ(tree.error->level, 3);
  EXPECT_EQ(tree.error->text, "");
  EXPECT_EQ(Shape(tree), (Strings{"-1 0 [R1]", "0 1 [A]", "1 2 [A1]", "2 3 [A1x]", "3 4 [A1x1]", "0 1 [B]", "5 2 [B1]",
                                  "6 3 [B1x]", "5 2 [B2]", "-1 0 [R2]", "9 1 [C]"}));
}

// The building rules applied literally to a pointer tree, then walked
// depth-first: an independent account of the absolute index of every node.
struct RefNode {
  RefNode* parent = nullptr;
  int level = 0;
  std::string text;
  std::vector<std::unique_ptr<RefNode>> children;
};

Strings ReferenceShape(std::string_view bytes, bool& failed) {
  std::vector<std::unique_ptr<RefNode>> roots;
  RefNode* previous = nullptr;
  failed = false;
  std::string_view line;
  for (TopicLineReader reader(bytes); reader.Next(line);) {
    const TopicLine parsed = ParseTopicLine(line);
    RefNode* parent = nullptr;
    if (previous) {
      if (parsed.level == previous->level) {
        parent = previous->parent;
      } else if (parsed.level == previous->level + 1) {
        parent = previous;
      } else if (parsed.level > previous->level) {
        failed = true;
        break;
      } else {
        RefNode* ancestor = previous->parent;
        while (ancestor && ancestor->level > parsed.level) ancestor = ancestor->parent;
        parent = ancestor ? ancestor->parent : nullptr;
      }
    }
    auto node = std::make_unique<RefNode>();
    node->parent = parent;
    node->level = parent ? parent->level + 1 : 0;
    node->text = std::string(parsed.text);
    previous = node.get();
    (parent ? parent->children : roots).push_back(std::move(node));
  }
  Strings shape;
  std::vector<std::pair<const RefNode*, int>> indexOf;
  auto walk = [&](auto& self, const RefNode& node) -> void {
    int parentIndex = -1;
    for (auto& [n, i] : indexOf)
      if (n == node.parent) parentIndex = i;
    indexOf.emplace_back(&node, static_cast<int>(shape.size()));
    shape.push_back(std::to_string(parentIndex) + " " + std::to_string(node.level) + " [" + node.text + "]");
    for (const auto& child : node.children) self(self, *child);
  };
  for (const auto& root : roots) walk(walk, *root);
  return shape;
}

TEST(TopicIndexTest, AbsoluteOrderMatchesADepthFirstWalk) {
  std::mt19937 random(42);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    int depth = 0;
    const int lines = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < lines; ++i) {
      // Mostly legal moves, with an occasional jump of two or more.
      int level = static_cast<int>(random() % (depth + 2));
      if (random() % 30 == 0) level = depth + 2 + static_cast<int>(random() % 3);
      for (int l = 0; l < level; ++l) bytes += random() % 2 ? '\t' : ' ';
      bytes += 'n';
      bytes += std::to_string(i);
      if (random() % 2) bytes.append(" p").append(std::to_string(i)).append(".htm");
      bytes += random() % 3 == 0 ? "\r\n" : "\n";
      depth = level;
    }
    bool failed = false;
    const Strings expected = ReferenceShape(bytes, failed);
    const TopicTree tree = BuildTopicTree(bytes);
    ASSERT_EQ(Shape(tree), expected) << bytes;
    ASSERT_EQ(tree.error.has_value(), failed) << bytes;
  }
}

TEST(TopicIndexTest, TheWalkMakesTheBuildsNodesAndStopsAtTheBadLevel) {
  const std::string_view bytes = "A a.htm\n\tB\n\t\tC\n\tD\nE\n\t\t\tF f.htm\nG\n";
  Strings walked;
  const std::optional<TopicLevelError> error =
      WalkTopicTree(TopicSource(bytes), [&](int32_t parent, int32_t level, std::string_view text) {
        walked.push_back(std::to_string(parent) + " " + std::to_string(level) + " [" + std::string(text) + "]");
      });
  EXPECT_EQ(walked, (Strings{"-1 0 [A a.htm]", "0 1 [B]", "1 2 [C]", "0 1 [D]", "-1 0 [E]"}));
  EXPECT_EQ(walked, Shape(BuildTopicTree(bytes)));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->level, 3);
  EXPECT_EQ(error->text, "F f.htm");
  EXPECT_EQ(error->line, 6);
  // The source ends at the first NUL byte.
  EXPECT_EQ(TopicSource("ab\0cd"sv), "ab");
}

TEST(TopicIndexTest, HundredThousandLines) {
  // Repeating blocks of a root, two children and a grandchild under the
  // second child, then a few empty roots.
  const int blocks = 20000;
  std::string bytes;
  for (int b = 0; b < blocks; ++b)
    bytes.append("Root")
        .append(std::to_string(b))
        .append(" r.htm\r\n\tOne o.htm\r\n\tTwo t.htm\r\n\t\tDeep d.htm\r\n\n");
  const TopicTree tree = BuildTopicTree(bytes);
  ASSERT_FALSE(tree.error);
  ASSERT_EQ(tree.Count(), blocks * 5);
  EXPECT_EQ(tree.nodes.capacity(), tree.nodes.size()) << "the node list is allocated once";
  for (int b = 0; b < blocks; ++b) {
    const int r = b * 5;
    ASSERT_EQ(tree.nodes[size_t(r)].parent, -1);
    ASSERT_EQ(TopicTitle(tree, r), std::string("Root").append(std::to_string(b)));
    ASSERT_EQ(tree.nodes[size_t(r + 1)].parent, r);
    ASSERT_EQ(tree.nodes[size_t(r + 2)].parent, r);
    ASSERT_EQ(tree.nodes[size_t(r + 3)].parent, r + 2);
    ASSERT_EQ(tree.nodes[size_t(r + 3)].level, 2);
    ASSERT_EQ(TopicPath(tree, r + 3), "d.htm");
    ASSERT_EQ(tree.nodes[size_t(r + 4)].parent, -1);
    ASSERT_EQ(tree.Text(r + 4), "");
  }
}

}  // namespace
}  // namespace hv
