#include <gtest/gtest.h>

#include "pageview/htmldocument.h"

namespace hv::html {
namespace {

// Each place names the block it starts, whatever element carries it.
TEST(Places, IdsAndAnchorNamesMarkTheBlockTheyStart) {
  Document doc = ParseHtml(
      "<p>intro</p>"
      "<h2 id=\"setup\">Setup</h2>"
      "<p>text <a name=\"inline\">here</a> and on</p>"
      "<a name=\"before\"></a><h3>Next</h3>"
      "<table><tr><td id=\"cell\">x</td></tr></table>"
      "<p id=\"\">no name</p>"
      "<div id=\"last\"></div>");
  ASSERT_EQ(doc.blocks.size(), 6u);
  ASSERT_NE(doc.FindPlace("setup"), nullptr);
  EXPECT_EQ(doc.FindPlace("setup")->block, 1u);
  EXPECT_EQ(doc.blocks[1].Text(), "Setup");
  EXPECT_EQ(doc.FindPlace("inline")->block, 2u) << "inside a paragraph: that paragraph";
  EXPECT_EQ(doc.FindPlace("before")->block, 3u) << "an empty anchor: the block that follows";
  EXPECT_EQ(doc.blocks[3].Text(), "Next");
  ASSERT_EQ(doc.blocks[4].kind, BlockKind::Table);
  EXPECT_EQ(doc.blocks[4].order, 4u);
  EXPECT_EQ(doc.FindPlace("cell")->block, 5u) << "inside a cell: the cell's own first block";
  EXPECT_EQ(doc.blocks[4].rows[0][0].blocks[0].order, 5u);
  EXPECT_EQ(doc.blocks[5].order, 6u) << "blocks after the table count the cell's";
  EXPECT_EQ(doc.blockCount, 7u);
  EXPECT_EQ(doc.FindPlace("last")->block, 7u) << "after the last block: the end of the page";
  Document named = ParseHtml("<p>a</p><table id=\"t\"><tr><td><table id=\"u\"><tr><td>x</table></table>");
  ASSERT_TRUE(named.FindPlace("t") && named.FindPlace("u"));
  EXPECT_EQ(named.FindPlace("t")->block, named.blocks[1].order) << "a table's name: the table, before its cells";
  EXPECT_EQ(named.FindPlace("u")->block, named.blocks[1].rows[0][0].blocks[0].order);
  EXPECT_EQ(doc.FindPlace(""), nullptr);
  EXPECT_EQ(doc.FindPlace("Setup"), nullptr) << "names are case-sensitive";
  EXPECT_EQ(doc.FindPlace("missing"), nullptr);
}

TEST(Places, TheFirstOfTwoEqualNamesWinsAndTheirNumberIsBounded) {
  Document doc = ParseHtml("<p id=\"a\">one</p><p id=\"a\">two</p>");
  EXPECT_EQ(doc.FindPlace("a")->block, 0u);
  std::string many;
  for (int i = 0; i < 100005; ++i) many += "<b id=\"i" + std::to_string(i) + "\">";
  EXPECT_EQ(ParseHtml(many).places.size(), 100000u);
}

}  // namespace
}  // namespace hv::html
