#include "pageview/css.h"

#include "pageview/htmldocument.h"
#include "pageview/pagestyle.h"

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

namespace hv::html {
namespace {

TEST(PageStyleTest, ColoursParseInTheirWrittenForms) {
  EXPECT_EQ(ParseColor("#1A2b3C"), 0x1A2B3Cu);
  EXPECT_EQ(ParseColor(" #abc "), 0xAABBCCu);
  EXPECT_EQ(ParseColor("336699"), 0x336699u) << "old pages leave out the hash";
  EXPECT_EQ(ParseColor("rgb(255, 0, 10)"), 0xFF000Au);
  EXPECT_EQ(ParseColor("rgb(100%, 50%, 0%)"), 0xFF7F00u);
  EXPECT_EQ(ParseColor("Navy"), 0x000080u);
  EXPECT_FALSE(ParseColor("#12345").has_value());
  EXPECT_FALSE(ParseColor("rgb(1,2)").has_value());
  EXPECT_FALSE(ParseColor("no-such-colour").has_value());
  EXPECT_FALSE(ParseColor("").has_value());
}

const Run* RunWith(const Document& doc, std::string_view text) {
  for (const Block& b : doc.blocks)
    for (const Run& r : b.runs)
      if (r.text.find(text) != std::string::npos) return &r;
  return nullptr;
}

TEST(PageStyleTest, StyleBlocksStyleTheRunsAndHideWhatTheySayToHide) {
  Document doc = ParseHtml(
      "<html><head><style>p.note { font-weight: bold; color: #00f } .hide { display: none }\n"
      "span { font-style: italic } h1 { font-weight: normal } .mono { font-family: 'Courier New', monospace }"
      "</style></head><body><h1>Plain heading</h1><p class=note>bold blue <span>both</span></p>"
      "<div class=hide><p>gone</p><table><tr><td>gone too</td></tr></table><img src=x.png></div>"
      "<p>after <b>strong</b> <i style='font-style: normal; color: rgb(0,128,0)'>upright</i> "
      "<span class=mono>code</span></p></body></html>");
  std::vector<std::string> texts;
  for (const Block& b : doc.blocks) texts.push_back(b.Text());
  EXPECT_EQ(texts, (std::vector<std::string>{"Plain heading", "bold blue both", "after strong upright code"}));
  ASSERT_NE(RunWith(doc, "Plain"), nullptr);
  EXPECT_FALSE(RunWith(doc, "Plain")->style.bold) << "the sheet over the tag's default";
  EXPECT_EQ(RunWith(doc, "Plain")->style.heading, 1) << "still a heading's size";
  const html::Run* blue = RunWith(doc, "bold blue");
  ASSERT_NE(blue, nullptr);
  EXPECT_TRUE(blue->style.bold);
  EXPECT_EQ(blue->style.color, 0x0000FFu);
  const html::Run* both = RunWith(doc, "both");
  ASSERT_NE(both, nullptr);
  EXPECT_TRUE(both->style.italic);
  EXPECT_TRUE(both->style.bold) << "inherited from the paragraph";
  EXPECT_EQ(both->style.color, 0x0000FFu);
  EXPECT_EQ(RunWith(doc, "after")->style.color, 0xFFFFFFFFu) << "no colour: the view's default";
  EXPECT_TRUE(RunWith(doc, "strong")->style.bold);
  const html::Run* upright = RunWith(doc, "upright");
  ASSERT_NE(upright, nullptr);
  EXPECT_FALSE(upright->style.italic) << "the style attribute over the tag";
  EXPECT_EQ(upright->style.color, 0x008000u);
  EXPECT_TRUE(RunWith(doc, "code")->style.monospace);
}

TEST(PageStyleTest, LinkedSheetsAndFontColours) {
  std::vector<std::string> asked;
  SheetLoader loader = [&asked](std::string_view href) -> std::optional<std::string> {
    asked.emplace_back(href);
    if (href == "site.css") return std::string("a:link { color: #800000 } p { text-decoration: underline }");
    if (href == "loop.css") return std::string("@import url(loop.css); p { color: red }");
    return std::nullopt;
  };
  std::string page = "<link rel='StyleSheet' href='site.css'><link rel='alternate stylesheet' href='alt.css'>"
                     "<link rel=icon href=x.ico><link rel=stylesheet href=missing.css>"
                     "<p>under <a href='x.htm'>link</a> <font color=teal>teal</font></p>";
  for (int i = 0; i < 100; ++i) page += "<link rel=stylesheet href=loop.css>";
  Document doc = ParseHtml(page, loader);
  ASSERT_GE(asked.size(), 2u);
  EXPECT_EQ(asked[0], "site.css");
  EXPECT_EQ(asked[1], "missing.css") << "no alternate sheets, no icons";
  EXPECT_EQ(asked.size(), 32u) << "a page links at most so many sheets, and imports are never followed";
  EXPECT_TRUE(RunWith(doc, "under")->style.underline);
  EXPECT_EQ(RunWith(doc, "link")->style.color, 0x800000u);
  EXPECT_EQ(RunWith(doc, "teal")->style.color, 0x008080u);
  EXPECT_EQ(RunWith(ParseHtml("<p>plain</p>"), "plain")->style.color, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace hv::html
