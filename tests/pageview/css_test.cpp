#include "pageview/css.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hv::css {
namespace {

std::string ValueOf(const std::vector<Cascaded>& values, std::string_view property) {
  for (const Cascaded& c : values)
    if (c.property == property) return c.value;
  return "(none)";
}

TEST(CssParserTest, RulesSelectorsAndDeclarations) {
  StyleSheet sheet = ParseStyleSheet(
      "/* generated */ body { color: #333; MARGIN:0 }\n"
      "h1, H2.title , div#main > p.note:link {font-weight:bold;color : red !important;;}\n"
      "@media print { p { color: black } }\n"
      "@import url(x.css);\n"
      "p::first-line, a:hover { color: blue }\n"
      "td + td { color: green }\n"
      "pre{white-space:pre}");
  ASSERT_EQ(sheet.rules.size(), 3u) << "the @ rules, pseudo-elements, :hover and sibling selectors are skipped";
  EXPECT_EQ(sheet.rules[0].selectors[0].steps[0].tag, "body");
  ASSERT_EQ(sheet.rules[0].declarations.size(), 2u);
  EXPECT_EQ(sheet.rules[0].declarations[1].property, "margin");
  EXPECT_EQ(sheet.rules[0].declarations[1].value, "0");

  const Rule& group = sheet.rules[1];
  ASSERT_EQ(group.selectors.size(), 3u);
  EXPECT_EQ(group.selectors[1].steps[0].tag, "h2");
  EXPECT_EQ(group.selectors[1].steps[0].classes, std::vector<std::string>{"title"});
  const Selector& deep = group.selectors[2];
  ASSERT_EQ(deep.steps.size(), 2u);
  EXPECT_EQ(deep.combinators, std::vector<char>{'>'});
  EXPECT_EQ(deep.steps[0].id, "main");
  EXPECT_TRUE(deep.steps[1].link);
  EXPECT_EQ(deep.specificity, (1u << 16) | (2u << 8) | 2u);
  ASSERT_EQ(group.declarations.size(), 2u);
  EXPECT_EQ(group.declarations[1].value, "red");
  EXPECT_TRUE(group.declarations[1].important);
  EXPECT_EQ(sheet.rules[2].declarations[0].value, "pre");
}

TEST(CssParserTest, SelectorsMatchAncestorsAndChildren) {
  StyleSheet sheet = ParseStyleSheet("div.nav a { x: 1 } ul > li { x: 2 } .a .b .c { x: 3 } a:link { x: 4 } a:visited { x: 5 }");
  ASSERT_EQ(sheet.rules.size(), 5u);
  std::vector<Element> path = {{"body", "", "", false}, {"div", "", "nav top", false}, {"p", "", "", false},
                               {"a", "", "", true}};
  EXPECT_TRUE(Matches(sheet.rules[0].selectors[0], path)) << "a descendant at any depth";
  path[1].classes = "navigation";
  EXPECT_FALSE(Matches(sheet.rules[0].selectors[0], path)) << "class names are whole words";
  EXPECT_TRUE(Matches(sheet.rules[3].selectors[0], path));
  EXPECT_FALSE(Matches(sheet.rules[4].selectors[0], path)) << "no link of a help page counts as visited";
  path[3].link = false;
  EXPECT_FALSE(Matches(sheet.rules[3].selectors[0], path)) << "an anchor without href is no link";

  std::vector<Element> list = {{"ul", "", "", false}, {"li", "", "", false}};
  EXPECT_TRUE(Matches(sheet.rules[1].selectors[0], list));
  std::vector<Element> nested = {{"ul", "", "", false}, {"div", "", "", false}, {"li", "", "", false}};
  EXPECT_FALSE(Matches(sheet.rules[1].selectors[0], nested)) << "a child, not a grandchild";

  // The first ancestor with "b" leads nowhere; another one does.
  std::vector<Element> tricky = {{"div", "", "a", false}, {"div", "", "b", false}, {"div", "", "", false},
                                 {"div", "", "b", false}, {"span", "", "c", false}};
  EXPECT_TRUE(Matches(sheet.rules[2].selectors[0], tricky));
  tricky[0].classes = "";
  EXPECT_FALSE(Matches(sheet.rules[2].selectors[0], tricky));
}

TEST(CssParserTest, TheCascadeWeighsImportanceSpecificityAndOrder) {
  StyleSheet site = ParseStyleSheet("p { color: red } .note { color: green } p { color: blue } #x { font-size: 9px }");
  StyleSheet page = ParseStyleSheet("p { color: gray; font-size: 12px !important }");
  std::vector<Element> p = {{"p", "x", "note", false}};
  auto values = Cascade({&site, &page}, p);
  EXPECT_EQ(ValueOf(values, "color"), "green") << "a class outweighs later type rules";
  EXPECT_EQ(ValueOf(values, "font-size"), "12px") << "important outweighs an id";
  std::vector<Element> plain = {{"p", "", "", false}};
  EXPECT_EQ(ValueOf(Cascade({&site, &page}, plain), "color"), "gray") << "equal weight: the later sheet";
  EXPECT_EQ(ValueOf(Cascade({&site, &page}, plain, "color: olive"), "color"), "olive") << "the style attribute";
  EXPECT_EQ(ValueOf(Cascade({&site, &page}, p, "font-size: 1px"), "font-size"), "12px");
}

TEST(CssParserTest, HostileSheetsStayBounded) {
  // Binary bytes, unclosed blocks and strings.
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xFF));
  ParseStyleSheet(binary);
  EXPECT_TRUE(ParseStyleSheet("p { color: red").rules.size() <= 1);
  StyleSheet quoted = ParseStyleSheet("p { content: \"}\" } q { color: red }");
  ASSERT_EQ(quoted.rules.size(), 2u) << "a brace in a string ends nothing";
  EXPECT_EQ(quoted.rules[0].declarations[0].value, "\"}\"");
  EXPECT_EQ(ParseStyleSheet("/* never closed p { color: red }").rules.size(), 0u);

  // A selector of 10,000 steps is dropped, not matched.
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "div ";
  StyleSheet sheet = ParseStyleSheet(deep + "{ color: red } p { color: blue }");
  ASSERT_EQ(sheet.rules.size(), 1u);
  EXPECT_EQ(sheet.rules[0].selectors[0].steps[0].tag, "p");

  // A 10 MB sheet is read up to its limit, and the rule count is capped.
  std::string big;
  while (big.size() < (10u << 20)) big += ".c" + std::to_string(big.size()) + " { color: red }\n";
  StyleSheet capped = ParseStyleSheet(big);
  EXPECT_EQ(capped.rules.size(), kMaxRules);

  // Many ancestors that each could be the one: the match gives up in bounded time.
  StyleSheet many = ParseStyleSheet("div div div div div div div div div div div div div div div div span.none { x: 1 }");
  std::vector<Element> path(5000, Element{"div", "", "", false});
  path.push_back(Element{"span", "", "", false});
  EXPECT_FALSE(Matches(many.rules[0].selectors[0], path));
}

}  // namespace
}  // namespace hv::css
