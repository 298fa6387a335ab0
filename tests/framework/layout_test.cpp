#include "framework/layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/sysutils.h"

namespace hv {
namespace {

std::string ErrorOf(std::string_view text) {
  try {
    ParseLayout(text);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(LayoutTextTest, ParsesEveryValueKind) {
  TLayoutNode root = ParseLayout(
      "object FrmMain: TFrmMain\n"
      "  Left = -4\n"
      "  Caption = 'It''s'#13#10'ok'\n"
      "  Font.Name = 'MS Sans Serif'\n"
      "  Anchors = [akLeft, akTop]\n"
      "  Color = clBtnFace\n"
      "  Items.Strings = (\n"
      "    'one'\n"
      "    'two')\n"
      "  ThemeClass = {\n"
      "    090000004D6574616C4C756E61}\n"
      "  OnShow = FormShow\n"
      "  Mask = $FF00\n"
      "  Ratio = -1.5e2\n"
      "  Visible = false\n"
      "  Ref = Form2.Button1\n"
      "  Empty = []\n"
      "  object Panel1: TPanel\n"
      "    Align = alTop\n"
      "  end\n"
      "  object TTimer\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(root.className, "TFrmMain");
  EXPECT_EQ(root.name, "FrmMain");
  EXPECT_EQ(root.line, 1);
  ASSERT_EQ(root.properties.size(), 13u);
  auto value = [&](size_t i) { return root.properties[i].value; };
  EXPECT_EQ(value(0), TValue(int64_t{-4}));
  EXPECT_EQ(value(1), TValue(std::string("It's\r\nok")));
  EXPECT_EQ(root.properties[2].name, "Font.Name");
  EXPECT_EQ(value(3), TValue(TSetValue{{"akLeft", "akTop"}}));
  EXPECT_EQ(value(4), TValue(TIdent{"clBtnFace"}));
  EXPECT_EQ(value(5), TValue(TStringsValue{{"one", "two"}}));
  EXPECT_EQ(root.properties[6].line, 10);
  EXPECT_EQ(value(6), TValue(TBinary{{9, 0, 0, 0, 'M', 'e', 't', 'a', 'l', 'L', 'u', 'n', 'a'}}));
  EXPECT_EQ(value(7), TValue(TIdent{"FormShow"}));
  EXPECT_EQ(root.properties[7].line, 12);
  EXPECT_EQ(value(8), TValue(int64_t{0xFF00}));
  EXPECT_EQ(value(9), TValue(-150.0));
  EXPECT_EQ(value(10), TValue(false));
  EXPECT_EQ(value(11), TValue(TIdent{"Form2.Button1"}));
  EXPECT_EQ(value(12), TValue(TSetValue{}));
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].name, "Panel1");
  EXPECT_EQ(root.children[0].line, 18);
  EXPECT_EQ(root.children[0].properties[0].value, TValue(TIdent{"alTop"}));
  EXPECT_EQ(root.children[1].className, "TTimer");
  EXPECT_EQ(root.children[1].name, "");
}

TEST(LayoutTextTest, StringPiecesCodesAndContinuations) {
  auto caption = [](std::string_view value) {
    return std::get<std::string>(
        ParseLayout("object A: TA\n  Caption = " + std::string(value) + "\nend").properties.at(0).value);
  };
  EXPECT_EQ(caption("''"), "");
  EXPECT_EQ(caption("''''"), "'");
  EXPECT_EQ(caption("#65#$42'c'#0'd'"), std::string("ABc\0d", 5));
  EXPECT_EQ(caption("#233#20013"), "\xC3\xA9\xE4\xB8\xAD") << "codes above 127 are characters, stored as UTF-8";
  EXPECT_EQ(caption("'\xE9\xA6\x96\xE9\xA1\xB5'"), "\xE9\xA6\x96\xE9\xA1\xB5") << "UTF-8 inside quotes is kept";
  EXPECT_EQ(caption("\n    'one ' +\r\n    'two' + #33"), "one two!");
}

TEST(LayoutTextTest, ToleratesCrLfBomAndKeywordCase) {
  TLayoutNode root = ParseLayout("\xEF\xBB\xBFOBJECT A: TA\r\n  Left = 1\r\n  Object B: TB\r\n  END\r\nEnd\r\n");
  EXPECT_EQ(root.properties.at(0).value, TValue(int64_t{1}));
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(root.children[0].line, 3);
}

TEST(LayoutTextTest, NumbersAtTheirLimits) {
  auto number = [](std::string_view value) {
    return ParseLayout("object A: TA\n  N = " + std::string(value) + "\nend").properties.at(0).value;
  };
  EXPECT_EQ(number("9223372036854775807"), TValue(INT64_MAX));
  EXPECT_EQ(number("-9223372036854775808"), TValue(INT64_MIN));
  EXPECT_EQ(number("$7FFFFFFFFFFFFFFF"), TValue(INT64_MAX));
  EXPECT_EQ(number("-$8000000000000000"), TValue(INT64_MIN));
  EXPECT_EQ(number("-$10"), TValue(int64_t{-16}));
  EXPECT_EQ(number("1e3"), TValue(1000.0));
  EXPECT_EQ(number("2.5E-1"), TValue(0.25));
  EXPECT_EQ(number("0.0"), TValue(0.0));
}

TEST(LayoutTextTest, ErrorsNameTheLineAndWhatWasExpected) {
  EXPECT_EQ(ErrorOf("object A: TA\n  Left = 1\n  Top foo\nend"), "Line 3: '=' expected but 'foo' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  Left = 1\n  Top\n  = 2\n  Foo = \nend"),
            "Line 6: Property value expected but 'end' found");
  EXPECT_EQ(ErrorOf("obj A: TA\nend"), "Line 1: 'object' expected but 'obj' found");
  EXPECT_EQ(ErrorOf(""), "Line 1: 'object' expected but end of file found");
  EXPECT_EQ(ErrorOf("object A: TA\n  Left = 1\n"), "Line 3: 'end' expected but end of file found");
  EXPECT_EQ(ErrorOf("object A: TA\nend\nx"), "Line 3: End of file expected but 'x' found");
  EXPECT_EQ(ErrorOf("object : TA\nend"), "Line 1: Identifier expected but ':' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  C = 'abc\nend"), "Line 2: Unterminated string");
  EXPECT_EQ(ErrorOf("object A: TA\n  C = 'a' +\nend"), "Line 3: String constant expected but 'end' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  C = #\nend"), "Line 2: Character code expected but '#10' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  C = #55296\nend"), "Line 2: Invalid character code");
  EXPECT_EQ(ErrorOf("object A: TA\n  C = #1114112\nend"), "Line 2: Invalid character code");
  EXPECT_EQ(ErrorOf("object A: TA\n\n  N = 12a\nend"), "Line 3: Invalid number '12a'");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = 9223372036854775808\nend"), "Line 2: Invalid number '9223372036854775808'");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = $8000000000000000\nend"), "Line 2: Invalid number '$8000000000000000'");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = 1e999\nend"), "Line 2: Invalid number '1e999'");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = -inf\nend"), "Line 2: Invalid number '-inf'");
  EXPECT_EQ(ErrorOf("object A: TA\n  N = -\nend"), "Line 2: Invalid number '-'");
  EXPECT_EQ(ErrorOf("object A: TA\n  B = {\n    0A0}\nend"), "Line 3: Odd number of hex digits in binary value");
  EXPECT_EQ(ErrorOf("object A: TA\n  B = {0G}\nend"), "Line 2: '}' expected but 'G' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  S = [a b]\nend"), "Line 2: ']' expected but 'b' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  L = (\n    'a'\n    1)\nend"), "Line 4: ')' expected but '1' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  L = ('a'"), "Line 2: ')' expected but end of file found");
  EXPECT_EQ(ErrorOf("object A: TA\n  object B: TB\n  end\n  Left = 1\nend"), "Line 4: 'end' expected but 'Left' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  Left = 1\x01\nend"), "Line 2: 'end' expected but '#1' found");
  EXPECT_EQ(ErrorOf("object A: TA\n  " + std::string(256, 'x') + " = 1\nend"), "Line 2: Identifier too long");
}

TEST(LayoutTextTest, NestingAndSizeAreLimited) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "object A: TA\n";
    for (int i = 0; i < depth; ++i) text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(ParseLayout(nested(kMaxLayoutDepth)));
  EXPECT_EQ(ErrorOf(nested(kMaxLayoutDepth + 1)), Format("Line %d: Components nested too deeply", kMaxLayoutDepth + 1));
  std::string huge = "object A: TA\n  C = '" + std::string(kMaxLayoutSize, 'x') + "'\nend\n";
  EXPECT_EQ(ErrorOf(huge), "Line 1: Layout too large");
}

// The writer's output for this tree is what the text says, byte for byte.
const char kCanonical[] =
    "object FrmMain: TFrmMain\n"
    "  Left = -4\n"
    "  Caption = 'It''s'#13#10'ok'#9\n"
    "  Font.Name = 'MS Sans Serif'\n"
    "  Anchors = [akLeft, akTop]\n"
    "  Empty = []\n"
    "  Visible = False\n"
    "  Ratio = 0.1\n"
    "  Whole = 3.0\n"
    "  Color = clBtnFace\n"
    "  Items.Strings = (\n"
    "    'one'\n"
    "    ''\n"
    "    'two')\n"
    "  Nothing.Strings = ()\n"
    "  ThemeClass = {\n"
    "    090000004D6574616C4C756E61}\n"
    "  Blob = {}\n"
    "  Hint =\n"
    "    '012345678901234567890123456789012345678901234567890123456789012' +\n"
    "    '3456789'\n"
    "  OnShow = FormShow\n"
    "  object Panel1: TPanel\n"
    "    Align = alTop\n"
    "    object TLabel\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(LayoutTextTest, CanonicalTextWritesBackUnchanged) {
  TLayoutNode tree = ParseLayout(kCanonical);
  EXPECT_EQ(FormatLayout(tree), kCanonical);
  EXPECT_EQ(ParseLayout(FormatLayout(tree)), tree);
}

TEST(LayoutTextTest, WrittenTreesParseBackEqual) {
  TLayoutNode root;
  root.className = "TRoot";
  root.name = "Root";
  std::string allBytes;
  for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
  std::string chinese;
  for (int i = 0; i < 40; ++i) chinese += "\xE9\xA6\x96";  // 3-byte sequences across the piece boundary
  TBinary blob;
  for (int i = 0; i < 100; ++i) blob.bytes.push_back(static_cast<uint8_t>(i * 7));
  auto add = [&](std::string name, TValue value) { root.properties.push_back({std::move(name), std::move(value), 0}); };
  add("AllBytes", allBytes);
  add("Chinese", chinese);
  add("Quotes", std::string(150, '\''));
  add("Controls", std::string(100, '\n'));
  add("Min", INT64_MIN);
  add("Max", INT64_MAX);
  add("Tiny", 5e-324);
  add("Huge", 1.7976931348623157e308);
  add("Third", 1.0 / 3);
  add("Negative", -0.0);
  add("Blob", blob);
  add("List", TStringsValue{{allBytes, "", chinese}});
  add("Sub.Deep.Name", TIdent{"Other.Thing"});
  TLayoutNode child;
  child.className = "TChild";
  child.children.push_back(child);
  root.children.push_back(child);

  std::string text = FormatLayout(root);
  TLayoutNode back = ParseLayout(text);
  EXPECT_EQ(back, root);
  EXPECT_EQ(FormatLayout(back), text);
  EXPECT_EQ(std::get<std::string>(back.properties[1].value), chinese);
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 90u) << "long values are wrapped: " << text.substr(start, end - start);
  // The pieces never cut a UTF-8 sequence: each line of the wrapped value is valid on its own.
  EXPECT_NE(text.find("'\xE9\xA6\x96"), std::string::npos);
}

TEST(LayoutTextTest, WriterRefusesWhatWouldNotReadBack) {
  auto refuses = [](TLayoutNode node) {
    try {
      FormatLayout(node);
    } catch (const EWriteError&) {
      return true;
    }
    return false;
  };
  TLayoutNode node;
  node.className = "TA";
  EXPECT_FALSE(refuses(node));
  auto with = [&](std::string name, TValue value) {
    TLayoutNode n = node;
    n.properties.push_back({std::move(name), std::move(value), 0});
    return n;
  };
  EXPECT_TRUE(refuses(with("Bad Name", int64_t{1})));
  EXPECT_TRUE(refuses(with("End", int64_t{1})));
  EXPECT_TRUE(refuses(with("A..B", int64_t{1})));
  EXPECT_TRUE(refuses(with("P", TValue())));
  EXPECT_TRUE(refuses(with("P", std::nan(""))));
  EXPECT_TRUE(refuses(with("P", TIdent{"True"})));
  EXPECT_TRUE(refuses(with("P", TIdent{""})));
  EXPECT_TRUE(refuses(with("P", TSetValue{{"a.b"}})));
  TLayoutNode badClass = node;
  badClass.className = "9";
  EXPECT_TRUE(refuses(badClass));
  TLayoutNode deep = node;
  for (int i = 0; i < kMaxLayoutDepth; ++i) {
    TLayoutNode outer = node;
    outer.children.push_back(std::move(deep));
    deep = std::move(outer);
  }
  EXPECT_TRUE(refuses(deep));
}

}  // namespace
}  // namespace hv

namespace hv {
namespace {

TEST(LayoutTextTest, CollectionsParseWriteBackAndRefuseBrokenItems) {
  const std::string text =
      "object Bar1: TTestBar\n"
      "  Sections = <\n"
      "    item\n"
      "      Width = 50\n"
      "      Text = 'Ready'\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "  Empty = <>\n"
      "  Tag = 1\n"
      "end\n";
  const TLayoutNode root = ParseLayout(text);
  ASSERT_EQ(root.properties.size(), 3u);
  const auto* sections = std::get_if<TCollectionValue>(&root.properties[0].value);
  ASSERT_NE(sections, nullptr);
  ASSERT_EQ(sections->items.size(), 2u);
  ASSERT_EQ(sections->items[0].properties.size(), 2u);
  EXPECT_EQ(sections->items[0].properties[0].name, "Width");
  EXPECT_EQ(sections->items[0].properties[0].value, TValue(int64_t{50}));
  EXPECT_EQ(sections->items[0].properties[1].line, 5);
  EXPECT_TRUE(sections->items[1].properties.empty());
  EXPECT_EQ(root.properties[1].value, TValue(TCollectionValue{}));
  EXPECT_EQ(root.properties[2].line, 10);
  EXPECT_EQ(FormatLayout(root), text);

  EXPECT_EQ(ErrorOf("object A: T\n  S = <\n  Width = 1>\nend\n"),
            "Line 3: '>' expected but 'Width' found");
  EXPECT_EQ(ErrorOf("object A: T\n  S = <item\n  Width = 1\n  >\nend\n"), "Line 4: 'end' expected but '>' found");
  EXPECT_EQ(ErrorOf("object A: T\n  S = <item end\nend\n"), "Line 3: '>' expected but 'end' found");
  EXPECT_EQ(ErrorOf("object A: T\n  S = <item\n"), "Line 3: 'end' expected but end of file found");

  // Collections inside items count against the nesting limit.
  std::string deep = "object A: T\n  S = ";
  for (int i = 0; i < kMaxLayoutDepth; ++i) deep += "<item S = ";
  deep += "1";
  for (int i = 0; i < kMaxLayoutDepth; ++i) deep += " end>";
  deep += "\nend\n";
  EXPECT_NE(ErrorOf(deep).find("nested too deeply"), std::string::npos);
}

}  // namespace
}  // namespace hv
