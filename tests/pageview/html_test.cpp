#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "pageview/htmlcharset.h"
#include "pageview/htmldocument.h"
#include "pageview/htmllayout.h"
#include "pageview/htmllink.h"
#include "pageview/htmltokenizer.h"

namespace hv::html {
namespace {

std::vector<Token> Tokens(std::string_view text) {
  std::vector<Token> tokens;
  Tokenizer tokenizer(text);
  Token token;
  while (tokenizer.Next(token)) tokens.push_back(token);
  return tokens;
}

// "S:a", "E:a", "T:text", "C:comment", "D:doctype"
std::vector<std::string> Kinds(std::string_view text) {
  std::vector<std::string> out;
  for (const Token& t : Tokens(text)) {
    switch (t.kind) {
      case TokenKind::StartTag:
        out.push_back("S:" + t.name + (t.selfClosing ? "/" : ""));
        break;
      case TokenKind::EndTag:
        out.push_back("E:" + t.name);
        break;
      case TokenKind::Text:
        out.push_back("T:" + t.text);
        break;
      case TokenKind::Comment:
        out.push_back("C:" + t.text);
        break;
      case TokenKind::Doctype:
        out.push_back("D:" + t.text);
        break;
    }
  }
  return out;
}

using Strings = std::vector<std::string>;

TEST(HtmlTokenizerTest, TagsAndAttributes) {
  auto tokens =
      Tokens("<A HREF=\"pages/x.htm\" Title='It''s' checked data=un&amp;q>link</a x=1><BR/><img src=a.png />");
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[0].name, "a");
  ASSERT_NE(tokens[0].Attr("href"), nullptr);
  EXPECT_EQ(*tokens[0].Attr("href"), "pages/x.htm");
  EXPECT_EQ(*tokens[0].Attr("title"), "It");  // the second quote pair starts a new, nameless-looking attribute
  EXPECT_EQ(*tokens[0].Attr("checked"), "");
  EXPECT_EQ(*tokens[0].Attr("data"), "un&q");
  EXPECT_EQ(tokens[0].Attr("missing"), nullptr);
  EXPECT_EQ(tokens[1].text, "link");
  EXPECT_EQ(tokens[2].kind, TokenKind::EndTag);
  EXPECT_TRUE(tokens[2].attributes.empty()) << "end tags carry no attributes";
  EXPECT_EQ(tokens[3].name, "br");
  EXPECT_TRUE(tokens[3].selfClosing);
  EXPECT_EQ(*tokens[4].Attr("src"), "a.png");
  EXPECT_TRUE(tokens[4].selfClosing);

  auto dup = Tokens("<p class=a class=b>");
  EXPECT_EQ(*dup[0].Attr("class"), "a") << "the first of duplicate attributes wins";
}

TEST(HtmlTokenizerTest, CommentsDoctypesAndBogusMarkup) {
  EXPECT_EQ(
      Kinds("<!DOCTYPE html><!-- a <b> c -->x<?xml version=\"1.0\"?><!x>y<!-->z<!--->w"),
      (Strings{"D:html", "C: a <b> c ", "T:x", "C:xml version=\"1.0\"?", "C:x", "T:y", "C:", "T:z", "C:", "T:w"}));
  EXPECT_EQ(Kinds("a<!-- never closed <p>"), (Strings{"T:a", "C: never closed <p>"}));
}

TEST(HtmlTokenizerTest, ScriptAndStyleContentIsSkippedTitleIsText) {
  EXPECT_EQ(Kinds("<script>if (a<b) s = \"</scr\" + \"ipt>\";</SCRIPT >ok<style>p{}</style>"),
            (Strings{"S:script", "E:script", "T:ok", "S:style", "T:p{}", "E:style"}));
  EXPECT_EQ(Kinds("<title>A &amp; <b>B</b></title>"), (Strings{"S:title", "T:A & <b>B</b>", "E:title"}));
  EXPECT_EQ(Kinds("x<script>never closed <p>text"), (Strings{"T:x", "S:script"}));
  EXPECT_EQ(Kinds("<script src=a.js /><p>seen"), (Strings{"S:script/", "S:p", "T:seen"}))
      << "a self-closed script does not swallow the page";
}

TEST(HtmlTokenizerTest, MalformedMarkupBecomesText) {
  EXPECT_EQ(Kinds("a < b <3 and 1<2"), (Strings{"T:a < b <3 and 1<2"}));
  EXPECT_EQ(Kinds("x</>y</ 3>z"), (Strings{"T:x", "T:y", "T:z"}));
  EXPECT_EQ(Kinds("end<"), (Strings{"T:end<"}));
  EXPECT_EQ(Kinds("end</"), (Strings{"T:end", "T:</"}));
  EXPECT_EQ(Kinds("<p>cut <a href='never"), (Strings{"S:p", "T:cut "})) << "a tag cut off by the end vanishes";
  EXPECT_EQ(Kinds("<div"), Strings{});
}

TEST(HtmlTokenizerTest, CharacterReferences) {
  EXPECT_EQ(DecodeEntities("&lt;&gt;&amp;&quot;&apos;&nbsp;&copy;&eacute;&mdash;&euro;&hellip;"),
            "<>&\"'\u00A0\u00A9\u00E9\u2014\u20AC\u2026");
  EXPECT_EQ(DecodeEntities("&#65;&#x4E2D;&#X6587;&#128512;"), "A\u4E2D\u6587\U0001F600");
  EXPECT_EQ(DecodeEntities("&#128;&#x9F;"), "\u20AC\u0178") << "C1 controls mean windows-1252";
  EXPECT_EQ(DecodeEntities("&#0;&#xD800;&#x110000;&#99999999999;"), "\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(DecodeEntities("&#65"), "A") << "numeric without semicolon";
  EXPECT_EQ(DecodeEntities("&unknown; &; & &# &#x;"), "&unknown; &; & &# &#x;");
  EXPECT_EQ(DecodeEntities("&copy2024 &amp &notit; &mdash"), "\u00A92024 & \u00ACit; &mdash")
      << "only old Latin-1 names work without a semicolon";
  EXPECT_EQ(DecodeEntities("a.htm?x=1&copy=2&amp;y", true), "a.htm?x=1&copy=2&y")
      << "query strings in attributes survive";
  EXPECT_EQ(DecodeEntities(std::string("a\0b", 3)), "ab");
}

TEST(HtmlCharsetTest, ByteOrderMarkThenMetaThenAnsi) {
  EXPECT_EQ(DetectCharset("\xEF\xBB\xBF<meta charset=gbk>").charset, Charset::Utf8);
  EXPECT_EQ(DetectCharset("\xEF\xBB\xBFx").bomLength, 3u);
  EXPECT_EQ(DetectCharset("\xFF\xFE<\0").charset, Charset::Utf16LE);
  EXPECT_EQ(DetectCharset("\xFE\xFF\0<").charset, Charset::Utf16BE);
  EXPECT_EQ(DetectCharset("\xFE\xFF").bomLength, 2u);
  EXPECT_EQ(DetectCharset("<html><head><meta charset=\"UTF-8\">").charset, Charset::Utf8);
  EXPECT_EQ(DetectCharset("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=GB2312\">").charset,
            Charset::Gbk);
  EXPECT_EQ(DetectCharset("<meta http-equiv=content-type content='text/html;charset=\"gbk\"'>").charset, Charset::Gbk);
  EXPECT_EQ(DetectCharset("<meta content=\"text/html; charset=utf-8\" http-equiv=\"Content-Type\">").charset,
            Charset::Utf8);
  EXPECT_EQ(DetectCharset("<meta name=description content='charset=utf-8'>").charset, Charset::Ansi)
      << "only a Content-Type declaration counts";
  EXPECT_EQ(DetectCharset("<meta charset=iso-8859-1>").charset, Charset::Windows1252);
  EXPECT_EQ(DetectCharset("<meta charset=utf-16>").charset, Charset::Utf8);
  EXPECT_EQ(DetectCharset("<meta charset=koi8-r>").charset, Charset::Ansi);
  EXPECT_EQ(DetectCharset("<p>plain").charset, Charset::Ansi);
  EXPECT_EQ(DetectCharset("<!-- <meta charset=gbk> --><meta charset=utf-8>").charset, Charset::Utf8)
      << "a commented-out declaration is not one";
  std::string late = "<p>" + std::string(5000, 'x') + "<meta charset=utf-8>";
  EXPECT_EQ(DetectCharset(late).charset, Charset::Ansi);
  EXPECT_EQ(CharsetFromLabel(" GB18030 "), Charset::Gbk);
}

TEST(HtmlCharsetTest, PortableDecoding) {
  EXPECT_EQ(DecodeToUtf8(std::string("A\0\x2D\x4E\x3D\xD8\x00\xDE", 8), Charset::Utf16LE), "A\u4E2D\U0001F600");
  EXPECT_EQ(DecodeToUtf8(std::string("\0A\x4E\x2D\xD8\x3D", 6), Charset::Utf16BE), "A\u4E2D\uFFFD")
      << "a high surrogate without its pair";
  EXPECT_EQ(DecodeToUtf8("A", Charset::Utf16LE), "\uFFFD") << "an odd last byte";
  EXPECT_EQ(DecodeToUtf8("a\xC3\xA9\xE4\xB8\xAD", Charset::Utf8), "a\u00E9\u4E2D");
  EXPECT_EQ(DecodeToUtf8("\xC0\xAF|\xED\xA0\x80|\xE4\xB8|\xFF", Charset::Utf8),
            "\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD|\uFFFD")
      << "overlong forms, encoded surrogates, cut sequences and stray bytes";
  EXPECT_EQ(DecodeToUtf8("\x80\xE9\xFF", Charset::Windows1252), "\u20AC\u00E9\u00FF");
  EXPECT_EQ(DecodeToUtf8("a\xCA\xD7\xD2\xB3z", Charset::Gbk), "a\uFFFD\uFFFDz") << "one replacement per character";
}

TEST(HtmlCharsetTest, DecodePageUsesTheHookWithoutTheByteOrderMark) {
  std::string seenBytes;
  Charset seenCharset = Charset::Utf8;
  Decoder hook = [&](std::string_view bytes, Charset charset) {
    seenBytes = bytes;
    seenCharset = charset;
    return std::string("decoded");
  };
  EXPECT_EQ(DecodePage("<meta charset=gb2312>\xCA\xD7", hook), "decoded");
  EXPECT_EQ(seenCharset, Charset::Gbk);
  EXPECT_EQ(seenBytes, "<meta charset=gb2312>\xCA\xD7");
  CharsetInfo info;
  DecodePage(std::string("\xFF\xFE"
                         "a\0",
                         4),
             hook, &info);
  EXPECT_EQ(seenBytes, std::string("a\0", 2));
  EXPECT_EQ(info.charset, Charset::Utf16LE);

  Decoder refuses = [](std::string_view, Charset) { return std::string(); };
  EXPECT_EQ(DecodePage("<meta charset=utf-8>\xC3\xA9", refuses), "<meta charset=utf-8>\u00E9")
      << "a hook that cannot decode leaves it to the portable decoder";

  Document doc = ParseHtmlBytes("\xEF\xBB\xBF<title>\xE9\xA6\x96\xE9\xA1\xB5</title>");
  EXPECT_EQ(doc.title, "\u9996\u9875");
  EXPECT_EQ(doc.charset, Charset::Utf8);
}

// --- document model ----------------------------------------------------------

std::vector<std::string> BlockTexts(const Document& doc) {
  std::vector<std::string> out;
  for (const Block& b : doc.blocks) out.push_back(b.Text());
  return out;
}

TEST(HtmlDocumentTest, TitleHeadingsParagraphsAndWhiteSpace) {
  Document doc = ParseHtml(
      "<html><head><title>  The\n  Guide </title><style>h1{}</style></head>\n"
      "<body>\n<h1>Top   <i>level</i></h1>\n<p>One\ttwo\n\nthree </p><P>Four<p>  five  </p>loose <b>text</b>"
      "<h3>Small</h3></body></html>");
  EXPECT_EQ(doc.title, "The Guide");
  EXPECT_EQ(BlockTexts(doc), (Strings{"Top level", "One two three", "Four", "five", "loose text", "Small"}));
  EXPECT_EQ(doc.blocks[0].kind, BlockKind::Heading);
  EXPECT_EQ(doc.blocks[0].level, 1);
  EXPECT_TRUE(doc.blocks[0].runs[0].style.bold);
  EXPECT_EQ(doc.blocks[0].runs[0].style.heading, 1);
  EXPECT_TRUE(doc.blocks[0].runs[1].style.italic);
  EXPECT_EQ(doc.blocks[1].kind, BlockKind::Paragraph);
  EXPECT_EQ(doc.blocks[5].level, 3);
  EXPECT_EQ(ParseHtml("<title/>body text").title, "") << "a self-closed title swallows nothing";
  EXPECT_EQ(BlockTexts(ParseHtml("<title/>body text")), Strings{"body text"});
}

TEST(HtmlDocumentTest, InlineStylesAndLinks) {
  Document doc = ParseHtml(
      "<p>a <b>b <i>bi</i></b> <u>u</u> <code>c</code> <a href='x.htm'>link <em>it</em></a> <a "
      "name=top>anchor</a></p>");
  ASSERT_EQ(doc.blocks.size(), 1u);
  const auto& runs = doc.blocks[0].runs;
  auto find = [&](std::string_view text) -> const html::Run& {
    for (const html::Run& r : runs)
      if (r.text.find(text) != std::string::npos) return r;
    ADD_FAILURE() << "no run with " << text;
    return runs[0];
  };
  EXPECT_TRUE(find("b ").style.bold);
  EXPECT_TRUE(find("bi").style.bold && find("bi").style.italic);
  EXPECT_TRUE(find("u").style.underline);
  EXPECT_TRUE(find("c").style.monospace);
  EXPECT_EQ(find("link").href, "x.htm");
  EXPECT_EQ(find("it").href, "x.htm");
  EXPECT_TRUE(find("it").style.italic);
  EXPECT_EQ(find("anchor").href, "") << "a named anchor is no link";
  EXPECT_EQ(doc.blocks[0].Text(), "a b bi u c link it anchor");
}

TEST(HtmlDocumentTest, MisnestedAndUnclosedMarkup) {
  Document doc = ParseHtml("<p><b>x<i>y</b>z</i>w</p><p><a href=1>one<a href=2>two</a>three</p>");
  const auto& r = doc.blocks[0].runs;
  ASSERT_EQ(r.size(), 4u);
  EXPECT_TRUE(r[1].style.bold && r[1].style.italic);   // y
  EXPECT_TRUE(!r[2].style.bold && r[2].style.italic);  // z
  EXPECT_EQ(r[3].style, RunStyle{});                   // w
  const auto& links = doc.blocks[1].runs;
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[0].href, "1");
  EXPECT_EQ(links[1].href, "2") << "a link inside a link closes the first";
  EXPECT_EQ(links[2].href, "");
  EXPECT_EQ(BlockTexts(ParseHtml("</p></li></ul></table></b></a></h2></pre>text<b>bold to the end")),
            Strings{"textbold to the end"});
  EXPECT_TRUE(ParseHtml("").blocks.empty());
  EXPECT_TRUE(ParseHtml("<p> </p><div>\n</div>").blocks.empty()) << "blank paragraphs take no room";
}

TEST(HtmlDocumentTest, LineBreaks) {
  EXPECT_EQ(BlockTexts(ParseHtml("<p>a  <br> b<br/><br>c</br>d</p>")), Strings{"a\nb\n\nc\nd"});
  EXPECT_EQ(BlockTexts(ParseHtml("<p><br></p>")), Strings{"\n"});
}

TEST(HtmlDocumentTest, ListsNumberAndNest) {
  Document doc = ParseHtml(
      "<ul><li>one<ul><li>inner</li></ul>after inner</li><li><p>para item</p></li><li></li></ul>"
      "<ol start=7><li>seven<li>eight<li value=20>twenty<li>next</ol><li>stray</li>");
  ASSERT_EQ(doc.blocks.size(), 10u);
  auto check = [&](size_t i, std::string_view text, int indent, Marker marker, int number = 0) {
    SCOPED_TRACE(i);
    EXPECT_EQ(doc.blocks[i].Text(), text);
    EXPECT_EQ(doc.blocks[i].indent, indent);
    EXPECT_EQ(doc.blocks[i].marker, marker);
    if (marker == Marker::Number) {
      EXPECT_EQ(doc.blocks[i].number, number);
    }
  };
  check(0, "one", 1, Marker::Bullet);
  check(1, "inner", 2, Marker::Bullet);
  check(2, "after inner", 1, Marker::None);
  check(3, "para item", 1, Marker::Bullet);
  check(4, "", 1, Marker::Bullet);
  check(5, "seven", 1, Marker::Number, 7);
  check(6, "eight", 1, Marker::Number, 8);
  check(7, "twenty", 1, Marker::Number, 20);
  check(8, "next", 1, Marker::Number, 21);
  check(9, "stray", 1, Marker::Bullet);
}

TEST(HtmlDocumentTest, PreformattedKeepsWhiteSpace) {
  Document doc = ParseHtml("<pre>\r\n  a  <b>b</b>\r\n\tc\r\nab\td\n</pre><p>x   y</p>");
  ASSERT_EQ(doc.blocks.size(), 2u);
  EXPECT_EQ(doc.blocks[0].kind, BlockKind::Preformatted);
  EXPECT_EQ(doc.blocks[0].Text(), "  a  b\n        c\nab      d\n");
  EXPECT_TRUE(doc.blocks[0].runs[0].style.monospace);
  EXPECT_TRUE(doc.blocks[0].runs[1].style.bold);
  EXPECT_EQ(doc.blocks[1].Text(), "x y");
  EXPECT_EQ(BlockTexts(ParseHtml("<pre>\n\nkept</pre>")), Strings{"\nkept"}) << "only the first newline goes";
}

TEST(HtmlDocumentTest, TablesAreRowsOfCells) {
  Document doc = ParseHtml(
      "<table border=1><caption>Cap</caption><tr><th>Name<th>Value</tr>"
      "<tr><td><b>bold<td>plain<br>two</td>stray</tr><tr></tr>"
      "<tr><td>outer<table><tr><td>in1<td>in2</tr><tr><td>in3</table>tail</td></tr></table><p>after");
  ASSERT_EQ(doc.blocks.size(), 4u);
  EXPECT_EQ(doc.blocks[0].Text(), "Cap");
  EXPECT_EQ(doc.blocks[1].Text(), "stray") << "text between cells goes before the table";
  const Block& table = doc.blocks[2];
  ASSERT_EQ(table.kind, BlockKind::Table);
  ASSERT_EQ(table.rows.size(), 3u) << "the empty row is dropped";
  EXPECT_TRUE(table.rows[0][0].header);
  EXPECT_TRUE(table.rows[0][0].blocks[0].runs[0].style.bold);
  EXPECT_FALSE(table.rows[1][0].header);
  EXPECT_TRUE(table.rows[1][0].blocks[0].runs[0].style.bold);
  EXPECT_FALSE(table.rows[1][1].blocks[0].runs[0].style.bold) << "formatting ends with its cell";
  EXPECT_EQ(table.Text(), "Name\tValue\nbold\tplain\ntwo\nouter\nin1\tin2\nin3\ntail");
  EXPECT_EQ(doc.blocks[3].Text(), "after");
  // The inner table is a block of the cell, between the cell's paragraphs.
  const Blocks& nested = table.rows[2][0].blocks;
  ASSERT_EQ(nested.size(), 3u);
  EXPECT_EQ(nested[0].Text(), "outer");
  ASSERT_EQ(nested[1].kind, BlockKind::Table);
  ASSERT_EQ(nested[1].rows.size(), 2u);
  EXPECT_EQ(nested[1].rows[0][1].Text(), "in2");
  EXPECT_EQ(nested[2].Text(), "tail");
  // Every block has its place in the page's order, the table before its cells.
  EXPECT_EQ(doc.blockCount, 14u);
  EXPECT_LT(table.order, table.rows[0][0].blocks[0].order);
  EXPECT_LT(nested[0].order, nested[1].order);
  EXPECT_LT(nested[1].order, nested[1].rows[0][0].blocks[0].order);
  EXPECT_LT(nested[1].rows[1][0].blocks[0].order, nested[2].order);
  EXPECT_LT(nested[2].order, doc.blocks[3].order);

  // Lists in cells are lists: markers, numbers and indents of their own.
  Document lists = ParseHtml(
      "<ul><li>outside<table><tr><td><ol start=3><li>three<li value=9>nine<li>ten</ol><ul><li>dot</ul></td></tr>"
      "</table></ul>");
  ASSERT_EQ(lists.blocks.size(), 2u);
  const Blocks& items = lists.blocks[1].rows[0][0].blocks;
  ASSERT_EQ(items.size(), 4u);
  const int numbers[] = {3, 9, 10};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(items[i].marker, Marker::Number);
    EXPECT_EQ(items[i].number, numbers[i]);
    EXPECT_EQ(items[i].indent, 1) << "indents count from the cell, not the list around the table";
  }
  EXPECT_EQ(items[3].marker, Marker::Bullet);
  EXPECT_EQ(items[3].Text(), "dot");
  EXPECT_EQ(items[0].Text(), "three");

  // What a cell leaves open ends with it; what was open around the table
  // goes on after it.
  Document leaks = ParseHtml("<ul><li>a<table><tr><td><h2>head<td>cell</ul></table><li>b</ul>");
  ASSERT_EQ(leaks.blocks.size(), 3u);
  const Block& leakTable = leaks.blocks[1];
  EXPECT_EQ(leakTable.rows[0][0].blocks[0].kind, BlockKind::Heading);
  EXPECT_EQ(leakTable.rows[0][1].blocks[0].kind, BlockKind::Paragraph) << "the heading ended with its cell";
  EXPECT_EQ(leaks.blocks[2].Text(), "b");
  EXPECT_EQ(leaks.blocks[2].indent, 1) << "the list around the table is still open";

  Document open = ParseHtml("<table><tr><td>never closed");
  ASSERT_EQ(open.blocks.size(), 1u);
  EXPECT_EQ(open.blocks[0].Text(), "never closed");
  EXPECT_TRUE(ParseHtml("<table></table>").blocks.empty());
  EXPECT_EQ(BlockTexts(ParseHtml("<td>cell outside</td>")), Strings{"cell outside"});
}

TEST(HtmlDocumentTest, RulesQuotesDefinitionsImages) {
  Document doc = ParseHtml(
      "<p>a<hr>b</p><blockquote>q<blockquote>qq</blockquote></blockquote><dl><dt>term<dd>def</dl>"
      "<p><img src=x alt='Logo'><img src=y alt=''></p><template><p>hidden</p></template>");
  ASSERT_EQ(doc.blocks.size(), 8u);
  EXPECT_EQ(doc.blocks[1].kind, BlockKind::Rule);
  EXPECT_EQ(doc.blocks[3].Text(), "q");
  EXPECT_EQ(doc.blocks[3].indent, 1);
  EXPECT_EQ(doc.blocks[4].indent, 2);
  EXPECT_EQ(doc.blocks[5].Text(), "term");
  EXPECT_EQ(doc.blocks[5].indent, 0);
  EXPECT_EQ(doc.blocks[6].Text(), "def");
  EXPECT_EQ(doc.blocks[6].indent, 1);
  ASSERT_EQ(doc.blocks[7].runs.size(), 2u);
  EXPECT_EQ(doc.blocks[7].runs[0].image, "x");
  EXPECT_EQ(doc.blocks[7].runs[0].alt, "Logo");
  EXPECT_EQ(doc.blocks[7].runs[1].image, "y");
  EXPECT_EQ(doc.blocks[7].runs[1].alt, "");
}

// --- links ---------------------------------------------------------------------

TEST(HtmlLinkTest, ResolvesAgainstThePageFolder) {
  const std::string page = "C:\\Help\\pages\\window\\tree.htm";
  auto resolve = [&](std::string_view href) { return ResolveLocalLink(page, href).value_or("<none>"); };
  EXPECT_EQ(resolve("buttons.htm"), "C:\\Help\\pages\\window\\buttons.htm");
  EXPECT_EQ(resolve("../styles/luna.htm#top"), "C:\\Help\\pages\\styles\\luna.htm");
  EXPECT_EQ(resolve("./sub//x.htm?v=1"), "C:\\Help\\pages\\window\\sub\\x.htm");
  EXPECT_EQ(resolve("../../../../x.htm"), "C:\\x.htm") << "never above the drive";
  EXPECT_EQ(resolve("a%20b%2Ehtm"), "C:\\Help\\pages\\window\\a b.htm");
  EXPECT_EQ(resolve("bad%zz%00.htm"), "C:\\Help\\pages\\window\\bad%zz%00.htm");
  EXPECT_EQ(resolve("/root.htm"), "C:\\root.htm");
  EXPECT_EQ(resolve("D:/other/y.htm"), "D:\\other\\y.htm");
  EXPECT_EQ(resolve("file:///E:/z%20z.htm"), "E:\\z z.htm");
  EXPECT_EQ(resolve("FILE://server/share/dir/../f.htm"), "\\\\server\\share\\f.htm");
  EXPECT_EQ(resolve("file:/C:/one/y.htm"), "C:\\one\\y.htm") << "one slash before the drive";
  EXPECT_EQ(resolve("file:/top.htm"), "C:\\top.htm") << "one slash: the root of the page's drive";
  EXPECT_EQ(resolve("file://server/../../x.htm"), "<none>") << "a share named .. climbs out of its root";
  EXPECT_EQ(resolve("\\\\.\\share\\x.htm"), "<none>");
  EXPECT_EQ(resolve("//server//x.htm"), "<none>") << "no share";
  EXPECT_EQ(ResolveLocalLink("\\\\srv\\sh\\a\\p.htm", "file:/\xF7.htm").value_or(""), "\\\\srv\\sh\\\xF7.htm");
  EXPECT_EQ(resolve("#section"), "<none>");
  EXPECT_EQ(resolve("  "), "<none>");
  EXPECT_EQ(resolve("http://example.com/x.htm"), "<none>");
  EXPECT_EQ(resolve("mailto:someone@example.com"), "<none>");
  EXPECT_EQ(resolve("javascript:void(0)"), "<none>");
  EXPECT_EQ(ResolveLocalLink("\\\\srv\\sh\\a\\p.htm", "../../../q.htm").value_or(""), "\\\\srv\\sh\\q.htm");
  EXPECT_EQ(ResolveLocalLink("p.htm", "../q.htm").value_or(""), "..\\q.htm");
  EXPECT_EQ(NormalizePath("C:/a/./b/../c/"), "C:\\a\\c");
}

// --- layout ------------------------------------------------------------------------

// Every character is 10 pixels wide (monospace 8, Chinese 20); body lines
// are 16 high with the baseline at 12, first-level headings 32/24, the
// other headings 20/15.
class FixedMeasurer : public TextMeasurer {
 public:
  int TextWidth(std::string_view utf8, const RunStyle& style) override {
    ++calls;
    int width = 0;
    size_t pos = 0;
    while (pos < utf8.size()) width += IsWideChar(NextCodePoint(utf8, pos)) ? 20 : style.monospace ? 8 : 10;
    return width;
  }
  FontMetrics Metrics(const RunStyle& style) override {
    if (style.heading == 1) return {32, 24};
    if (style.heading > 1) return {20, 15};
    return {16, 12};
  }
  int calls = 0;
};

PageLayout Lay(std::string_view html, int width) {
  FixedMeasurer measurer;
  LayoutOptions options;
  options.width = width;
  return LayoutDocument(ParseHtml(html), measurer, options);
}

std::vector<const LayoutBox*> Boxes(const PageLayout& layout, BoxKind kind) {
  std::vector<const LayoutBox*> out;
  for (const LayoutBox& b : layout.boxes)
    if (b.kind == kind) out.push_back(&b);
  return out;
}

Strings TextsOf(const PageLayout& layout) {
  Strings out;
  for (const LayoutBox* b : Boxes(layout, BoxKind::Text)) out.push_back(b->text);
  return out;
}

TEST(HtmlLayoutTest, WrapsAtSpacesWithinTheWidth) {
  PageLayout fits = Lay("<p>aaa bbb ccc</p>", 86);  // 70 pixels inside the margins
  auto text = Boxes(fits, BoxKind::Text);
  ASSERT_EQ(text.size(), 2u);
  EXPECT_EQ(text[0]->text, "aaa bbb");
  EXPECT_EQ(text[0]->rect, Rect(8, 8, 78, 24));
  EXPECT_EQ(text[0]->baseline, 20);
  EXPECT_EQ(text[1]->text, "ccc");
  EXPECT_EQ(text[1]->rect, Rect(8, 24, 38, 40));
  EXPECT_EQ(fits.height, 48);

  EXPECT_EQ(TextsOf(Lay("<p>aaa bbb ccc</p>", 85)), (Strings{"aaa", "bbb", "ccc"})) << "one pixel less";
  EXPECT_EQ(TextsOf(Lay("<p>abcdefghij</p>", 51)), (Strings{"abc", "def", "ghi", "j"})) << "a word wider than the line";
  PageLayout styled = Lay("<p>xx a<b>bc</b>d</p>", 66);
  EXPECT_EQ(TextsOf(styled), (Strings{"xx", "a", "bc", "d"}));
  auto split = Boxes(styled, BoxKind::Text);
  EXPECT_EQ(split[1]->rect.top, 24) << "a word over several styles moves as one";
  EXPECT_EQ(split[2]->rect.top, 24);
  EXPECT_EQ(split[3]->rect, Rect(38, 24, 48, 40));
  EXPECT_EQ(TextsOf(Lay("<p>a<b>bc</b>d ef</p>", 46)), (Strings{"a", "bc", "d", "ef"}))
      << "cut between characters when even a line of its own is too narrow";
}

TEST(HtmlLayoutTest, ChineseBreaksBetweenCharactersButNotBeforeClosingPunctuation) {
  EXPECT_EQ(TextsOf(Lay("<p>\u4E2D\u6587\u5B57\uFF0C\u597D</p>", 76)), (Strings{"\u4E2D\u6587", "\u5B57\uFF0C\u597D"}));
  PageLayout mixed = Lay("<p>ab\u4E2Dc</p>", 400);
  EXPECT_EQ(TextsOf(mixed), (Strings{"ab", "\u4E2D", "c"})) << "boxes never mix scripts";
  for (const LayoutBox* b : Boxes(mixed, BoxKind::Text)) {
    size_t pos = 0;
    bool wide = IsWideChar(NextCodePoint(b->text, pos));
    EXPECT_EQ(HasWideChars(b->text), wide);
  }
  auto boxes = Boxes(mixed, BoxKind::Text);
  EXPECT_EQ(boxes[1]->rect.left, 28);
  EXPECT_EQ(boxes[2]->rect.left, 48);
}

TEST(HtmlLayoutTest, ForcedBreaksAndEmptyLines) {
  PageLayout layout = Lay("<p>a<br><br>b<br></p><p>c</p>", 200);
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0]->rect.top, 8);
  EXPECT_EQ(text[1]->rect.top, 40) << "one empty line between";
  EXPECT_EQ(text[2]->rect.top, 56 + 12) << "a final break adds no line; paragraphs are 12 apart";
}

TEST(HtmlLayoutTest, BlockSpacingRulesAndHeadings) {
  PageLayout layout = Lay("<p>a</p><hr><p>b</p><h1>H</h1><p>c</p>", 200);
  auto rules = Boxes(layout, BoxKind::Rule);
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0]->rect, Rect(8, 36, 192, 38));
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text[1]->rect.top, 50);
  EXPECT_EQ(text[2]->rect, Rect(8, 66 + 21, 18, 66 + 21 + 32)) << "a heading keeps two thirds of its height above";
  EXPECT_EQ(text[2]->style.heading, 1);
  EXPECT_EQ(text[3]->rect.top, 66 + 21 + 32 + 12);
  EXPECT_EQ(layout.height, 8 + 16 + 12 + 2 + 12 + 16 + 21 + 32 + 12 + 16 + 8);
}

TEST(HtmlLayoutTest, ListMarkersSitBesideTheFirstLine) {
  PageLayout layout = Lay("<ul><li>one<ul><li>two<ul><li>three</ul></ul></ul><ol start=9><li>x<li>y</ol>", 400);
  auto bullets = Boxes(layout, BoxKind::Bullet);
  ASSERT_EQ(bullets.size(), 3u);
  EXPECT_EQ(bullets[0]->rect, Rect(26, 14, 30, 18));
  EXPECT_EQ(bullets[0]->bullet, BulletShape::Disc);
  EXPECT_EQ(bullets[1]->rect, Rect(58, 30, 62, 34));
  EXPECT_EQ(bullets[1]->bullet, BulletShape::Circle);
  EXPECT_EQ(bullets[2]->bullet, BulletShape::Square);
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 7u);
  EXPECT_EQ(text[0]->rect.left, 40);
  EXPECT_EQ(text[1]->rect.left, 72);
  EXPECT_EQ(text[3]->text, "x");
  EXPECT_EQ(text[4]->text, "9.");
  EXPECT_EQ(text[4]->rect.right, 32);
  EXPECT_EQ(text[4]->baseline, text[3]->baseline);
  EXPECT_EQ(text[6]->text, "10.");
  EXPECT_EQ(text[6]->rect, Rect(2, text[5]->rect.top, 32, text[5]->rect.bottom));
}

TEST(HtmlLayoutTest, TableColumnsFitTheirContent) {
  PageLayout layout = Lay("<table border=1><tr><th>aa</th><td>b</td></tr><tr><td>ccc</td><td></td></tr></table>", 400);
  auto borders = Boxes(layout, BoxKind::CellBorder);
  ASSERT_EQ(borders.size(), 4u);
  EXPECT_EQ(borders[0]->rect, Rect(8, 8, 48, 34));
  EXPECT_EQ(borders[1]->rect, Rect(47, 8, 67, 34));
  EXPECT_EQ(borders[2]->rect, Rect(8, 33, 48, 59));
  EXPECT_EQ(borders[3]->rect, Rect(47, 33, 67, 59));
  auto shades = Boxes(layout, BoxKind::Shade);
  ASSERT_EQ(shades.size(), 1u);
  EXPECT_EQ(shades[0]->rect, Rect(9, 9, 47, 33));
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0]->rect, Rect(18, 13, 38, 29)) << "a heading cell centres its text";
  EXPECT_TRUE(text[0]->style.bold);
  EXPECT_EQ(layout.height, 8 + 51 + 8);
  // Shades come before the text they lie under.
  auto index = [&](const LayoutBox* b) { return b - layout.boxes.data(); };
  EXPECT_LT(index(shades[0]), index(text[0]));
}

TEST(HtmlLayoutTest, WideTablesShrinkToTheWidth) {
  PageLayout layout =
      Lay("<table border><tr><td>alpha beta gamma delta</td><td>one two three four five six</td></tr></table>", 200);
  auto borders = Boxes(layout, BoxKind::CellBorder);
  ASSERT_EQ(borders.size(), 2u);
  EXPECT_LE(borders[1]->rect.right, 193);
  for (const LayoutBox* t : Boxes(layout, BoxKind::Text)) {
    const LayoutBox* cell = t->rect.left < borders[1]->rect.left ? borders[0] : borders[1];
    EXPECT_GE(t->rect.left, cell->rect.left);
    EXPECT_LE(t->rect.right, cell->rect.right) << t->text;
  }
  EXPECT_GT(borders[0]->rect.Height(), 16 * 2) << "wrapped onto several lines";
}

TEST(HtmlLayoutTest, LinkAreasCoverTheLinkTextOnEachLine) {
  PageLayout layout = Lay("<p>go <a href='x.htm'>to the page</a> now</p>", 106);
  EXPECT_EQ(TextsOf(layout), (Strings{"go ", "to the", "page", " now"}));
  ASSERT_EQ(layout.links.size(), 2u);
  EXPECT_EQ(layout.links[0].rect, Rect(38, 8, 98, 24));
  EXPECT_EQ(layout.links[1].rect, Rect(8, 24, 48, 40));
  EXPECT_EQ(layout.links[1].href, "x.htm");
  ASSERT_NE(layout.LinkAt({40, 10}), nullptr);
  EXPECT_EQ(layout.LinkAt({40, 10})->href, "x.htm");
  EXPECT_EQ(layout.LinkAt({37, 10}), nullptr);
  EXPECT_EQ(layout.LinkAt({60, 30}), nullptr);
  EXPECT_TRUE(Boxes(layout, BoxKind::Text)[1]->link);
  EXPECT_FALSE(Boxes(layout, BoxKind::Text)[0]->link);
}

TEST(HtmlLayoutTest, PreformattedTextKeepsItsSpacesOnAShade) {
  PageLayout layout = Lay("<pre>\n  a  b\n\tc</pre>", 200);
  auto shades = Boxes(layout, BoxKind::Shade);
  ASSERT_EQ(shades.size(), 1u);
  EXPECT_EQ(shades[0]->rect, Rect(8, 8, 192, 48));
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 2u);
  EXPECT_EQ(text[0]->text, "  a  b");
  EXPECT_EQ(text[0]->rect, Rect(12, 12, 60, 28));
  EXPECT_EQ(text[1]->text, "        c");
  EXPECT_EQ(text[1]->rect.top, 28);
}

// The FixedMeasurer, and images of known sizes; any other source cannot be read.
class ImageMeasurer : public FixedMeasurer {
 public:
  TSize ImageSize(std::string_view src) override {
    ++lookups;
    if (src == "logo.png") return {30, 40};
    if (src == "wide.gif") return {600, 10};
    return {};
  }
  int lookups = 0;
};

PageLayout LayImages(std::string_view html, int width, ImageMeasurer& measurer) {
  LayoutOptions options;
  options.width = width;
  return LayoutDocument(ParseHtml(html), measurer, options);
}

TEST(HtmlLayoutTest, ImagesStandOnTheBaselineAtTheirSize) {
  ImageMeasurer measurer;
  PageLayout layout = LayImages("<p>ab<img src='logo.png' alt='Logo'>cd <img src=logo.png width=60></p>", 400, measurer);
  auto images = Boxes(layout, BoxKind::Image);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0]->text, "logo.png");
  // The taller image sets the baseline of the line: 8 + 80.
  EXPECT_EQ(images[0]->rect, Rect(28, 88 - 40, 58, 88)) << "after \"ab\", its bottom on the baseline";
  EXPECT_EQ(images[1]->rect, Rect(88, 8, 148, 88)) << "one side given: the other keeps the proportions";
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text[0]->baseline, 88);
  EXPECT_EQ(text[0]->rect, Rect(8, 76, 28, 92));
  EXPECT_EQ(measurer.lookups, 1) << "each source is asked for once per layout";
  // The line is as tall as the image plus the text's descent below the baseline.
  EXPECT_EQ(layout.height, 8 + 80 + 4 + 8);

  PageLayout given = LayImages("<img src=logo.png width=10 height=12>", 400, measurer);
  auto both = Boxes(given, BoxKind::Image);
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0]->rect, Rect(8, 8, 18, 20));
  PageLayout big = LayImages("<img src=logo.png width=1000000 height=1000000>", 400, measurer);
  auto huge = Boxes(big, BoxKind::Image);
  ASSERT_EQ(huge.size(), 1u);
  EXPECT_EQ(huge[0]->rect.Width(), kMaxImageSide);
  EXPECT_EQ(huge[0]->rect.Height(), kMaxImageSide);
}

TEST(HtmlLayoutTest, AnImageThatCannotBeReadShowsItsAltText) {
  ImageMeasurer measurer;
  PageLayout layout = LayImages("<p>x<img src=missing.png alt='The  logo'>y<img src=gone.png>z</p>", 400, measurer);
  EXPECT_TRUE(Boxes(layout, BoxKind::Image).empty());
  std::string all;
  for (const std::string& t : TextsOf(layout)) all += t;
  EXPECT_EQ(all, "xThe logoyz") << "alt text in place of the image; none without alt";
}

TEST(HtmlLayoutTest, ImagesWrapAndLinkLikeWords) {
  ImageMeasurer measurer;
  PageLayout layout = LayImages("<p>aaaa <a href='big.htm'><img src=wide.gif></a> b</p>", 200, measurer);
  auto images = Boxes(layout, BoxKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->rect, Rect(8, 24 + 10 - 10, 608, 34)) << "on a line of its own, never cut";
  EXPECT_TRUE(images[0]->link);
  ASSERT_EQ(layout.links.size(), 1u);
  EXPECT_EQ(layout.links[0].rect, images[0]->rect);
  EXPECT_EQ(layout.links[0].href, "big.htm");
  EXPECT_GE(layout.width, 608 + 8) << "the page is as wide as the image";
}

TEST(HtmlLayoutTest, PreformattedLinesAreNeverWrapped) {
  const std::string line(60, 'x');  // 480 pixels in the 8-pixel monospace
  PageLayout layout = Lay("<p>short</p><pre>" + line + " " + line + "\nnext</pre>", 200);
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[1]->text, line + " " + line) << "one line however wide";
  EXPECT_EQ(text[1]->rect.Width(), 121 * 8);
  EXPECT_EQ(text[2]->text, "next");
  EXPECT_EQ(text[2]->rect.top, text[1]->rect.bottom);
  auto shades = Boxes(layout, BoxKind::Shade);
  ASSERT_EQ(shades.size(), 1u);
  EXPECT_EQ(shades[0]->rect.right, text[1]->rect.right + 4) << "the shade reaches past the text by its padding";
  EXPECT_EQ(layout.width, shades[0]->rect.right + 8) << "the page is as wide as its widest line";
  EXPECT_EQ(Lay("<pre>a</pre>", 200).width, 200) << "a narrow page keeps the view's width";
}

TEST(HtmlLayoutTest, TheTitleIsNeverDrawn) {
  EXPECT_EQ(TextsOf(Lay("<title>T</title><p>x</p>", 200)), Strings{"x"});
  EXPECT_EQ(Boxes(Lay("<title>T</title><p>x</p>", 200), BoxKind::Text)[0]->rect.top, 8) << "x sits on the margin";
  EXPECT_EQ(TextsOf(Lay("<title>T</title><h1>T</h1>", 200)), Strings{"T"});
  EXPECT_TRUE(Lay("<title>Only a title</title>", 200).boxes.empty());
}

// Tables read their presentational attributes: borders only when asked for,
// a width in percent or pixels that the columns stretch to, padding, spans.
TEST(HtmlLayoutTest, TableAttributes) {
  // The FixedMeasurer gives 10 pixels a character and 16 a line.
  PageLayout plain = Lay("<table><tr><td>aa</td><td>b</td></tr></table>", 400);
  EXPECT_TRUE(Boxes(plain, BoxKind::CellBorder).empty()) << "no border attribute, no borders";
  EXPECT_TRUE(Boxes(Lay("<table border=0><tr><td>aa</td></tr></table>", 400), BoxKind::CellBorder).empty());
  auto plainText = Boxes(plain, BoxKind::Text);
  ASSERT_EQ(plainText.size(), 2u);
  EXPECT_EQ(plainText[0]->rect, Rect(13, 13, 33, 29)) << "the same place as with borders";

  PageLayout full = Lay("<table width='100%' border=1><tr><td>aa</td><td>bbbb</td></tr></table>", 400);
  auto cells = Boxes(full, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0]->rect.left, 8);
  EXPECT_EQ(cells[1]->rect.right, 392) << "the table spans the room between the margins";
  // The extra room goes to the columns in proportion to their content: 20 to 40.
  EXPECT_NEAR(cells[1]->rect.Width(), 2 * cells[0]->rect.Width(), 12);

  PageLayout fixed = Lay("<table width=200 border=1><tr><td>a</td></tr></table>", 400);
  ASSERT_EQ(Boxes(fixed, BoxKind::CellBorder).size(), 1u);
  EXPECT_EQ(Boxes(fixed, BoxKind::CellBorder)[0]->rect, Rect(8, 8, 208, 8 + 1 + 2 * 4 + 16 + 1));
  EXPECT_EQ(Boxes(Lay("<table width=2000 border=1><tr><td>a</td></tr></table>", 400), BoxKind::CellBorder)[0]->rect.right,
            392) << "never wider than the room";

  PageLayout padded = Lay("<table border=1 cellpadding=10><tr><td>a</td></tr></table>", 400);
  EXPECT_EQ(Boxes(padded, BoxKind::CellBorder)[0]->rect, Rect(8, 8, 8 + 1 + 20 + 10 + 1, 8 + 1 + 20 + 16 + 1));
  EXPECT_EQ(Boxes(padded, BoxKind::Text)[0]->rect, Rect(19, 19, 29, 35));

  // A heading cell over two columns covers both.
  PageLayout spanned =
      Lay("<table border=1><tr><th colspan=2>head</th></tr><tr><td>aaa</td><td>bbb</td></tr></table>", 400);
  auto spans = Boxes(spanned, BoxKind::CellBorder);
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0]->rect.left, spans[1]->rect.left);
  EXPECT_EQ(spans[0]->rect.right, spans[2]->rect.right);
  EXPECT_EQ(spans[1]->rect.right - 1, spans[2]->rect.left) << "neighbours share their border line";

  // A cell's width is the least its column gets.
  PageLayout widened = Lay("<table border=1><tr><td width=150>a</td><td>b</td></tr></table>", 400);
  auto wide = Boxes(widened, BoxKind::CellBorder);
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0]->rect.Width(), 151);
}

TEST(HtmlLayoutTest, HugeTablesStayBounded) {
  std::string page = "<table border=1>";
  for (int r = 0; r < 1000; ++r) {
    page += "<tr>";
    for (int c = 0; c < 100; ++c) page += "<td>x</td>";
  }
  page += "</table>";
  PageLayout many = Lay(page, 800);
  EXPECT_EQ(Boxes(many, BoxKind::CellBorder).size(), 100000u);
  // Columns never get narrower than their widest word; the page scrolls
  // sideways instead: 100 columns of 10 pixels of text, 2 * 4 of padding
  // and a shared border line.
  for (const LayoutBox& b : many.boxes) ASSERT_LE(b.rect.right, 8 + 100 * 19 + 1);
  EXPECT_EQ(Boxes(many, BoxKind::CellBorder)[99]->rect.right, 8 + 100 * 19 + 1);

  PageLayout spanning = Lay("<table border=1><tr><td colspan=1000000>a</td></tr><tr><td>b</td><td>c</td></tr></table>", 400);
  auto cells = Boxes(spanning, BoxKind::CellBorder);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0]->rect.left, 8);
  // A thousand columns at most; those no cell of their own starts in take
  // no room beyond the line they share.
  EXPECT_EQ(cells[0]->rect.right, cells[2]->rect.right);
  EXPECT_EQ(cells[2]->rect.right, 8 + 2 * 20 + 1);
  EXPECT_EQ(ParseHtml("<table><tr><td colspan=1000000>a</td></tr></table>").blocks[0].rows[0][0].colspan, 1000);
}

TEST(HtmlLayoutTest, DefinitionListsHaveNoParagraphGaps) {
  PageLayout layout = Lay("<p>intro</p><dl><dt>term</dt><dd>what it means</dd><dt>next</dt><dd>more</dd></dl><p>end</p>", 400);
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 6u);
  EXPECT_EQ(text[1]->rect.top, text[0]->rect.bottom + 12) << "one paragraph gap before the list";
  EXPECT_EQ(text[2]->rect.top, text[1]->rect.bottom) << "the description right under its term";
  EXPECT_GT(text[2]->rect.left, text[1]->rect.left) << "and indented";
  EXPECT_EQ(text[3]->rect.top, text[2]->rect.bottom);
  EXPECT_EQ(text[3]->rect.left, text[1]->rect.left);
  EXPECT_EQ(text[4]->rect.top, text[3]->rect.bottom);
  EXPECT_EQ(text[5]->rect.top, text[4]->rect.bottom + 12) << "and one after it";
}

TEST(HtmlLayoutTest, HeightGrowsWithContentAndTinyWidthsTerminate) {
  std::string page;
  int previous = 0;
  for (int i = 0; i < 5; ++i) {
    page += "<p>paragraph with some words</p>";
    int height = Lay(page, 120).height;
    EXPECT_GT(height, previous);
    previous = height;
  }
  const char* messy = "<ul><li><table><tr><td>x\u4E2D y<td><pre>  long line</pre></table></ul><hr><p>wordword";
  for (int width : {0, 1, 5, 17}) {
    PageLayout layout = Lay(messy, width);
    EXPECT_GT(layout.height, 0);
    for (const LayoutBox* b : Boxes(layout, BoxKind::Text)) EXPECT_FALSE(b->text.empty());
  }
}

TEST(HtmlLayoutTest, DeepNestingStillLeavesAColumn) {
  std::string page;
  for (int i = 0; i < 100; ++i) page += "<ul><li>";
  page += "deep";
  PageLayout layout = Lay(page, 300);
  auto text = Boxes(layout, BoxKind::Text);
  ASSERT_EQ(text.size(), 1u);
  EXPECT_LE(text[0]->rect.right, 292);
  EXPECT_GE(300 - 8 - text[0]->rect.left, 284 / 3);
}

// --- the sample help set ---------------------------------------------------------

std::string HelpFolder() {
#ifdef _WIN32
  // Under Wine the source tree is reached through the drive that maps "/".
  std::string folder = std::string("Z:") + HV_SOURCE_DIR + "/resources/help/";
#else
  std::string folder = std::string(HV_SOURCE_DIR) + "/resources/help/";
#endif
  return folder;
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  std::ifstream in(native, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CollectLinks(const std::vector<Run>& runs, std::vector<std::string>& out) {
  for (const Run& r : runs)
    if (!r.href.empty() && (out.empty() || out.back() != r.href)) out.push_back(r.href);
}

void CollectBlockLinks(const Block& block, std::vector<std::string>& out) {
  CollectLinks(block.runs, out);
  for (const auto& row : block.rows)
    for (const TableCell& cell : row)
      for (const Block& inner : cell.blocks) CollectBlockLinks(inner, out);
}

// The bundled help set is the viewer's first page: every topic has a page,
// every page reads cleanly and every link between pages arrives somewhere.
TEST(SampleHelpSetTest, IndexPagesAndLinksAgree) {
  const std::string folder = HelpFolder();
  std::optional<std::string> index = ReadFile(folder + "TrvNode.DLL");
  if (!index) GTEST_SKIP() << "no source tree at " << folder;
  for (char c : *index)
    ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the index is the same in every ANSI code page";

  // Lines "title path", one TAB per level; the viewer's own reader is tested
  // with the application, this only needs the paths.
  struct Topic {
    int level;
    std::string title, path;
  };
  std::vector<Topic> topics;
  std::istringstream lines(*index);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t level = line.find_first_not_of('\t');
    ASSERT_NE(level, std::string::npos) << "no empty lines";
    ASSERT_LE(level, topics.empty() ? 0 : static_cast<size_t>(topics.back().level) + 1) << line;
    size_t space = line.find(' ', level);
    ASSERT_NE(space, std::string::npos) << "every topic has a page: " << line;
    topics.push_back(Topic{static_cast<int>(level), line.substr(level, space - level), line.substr(space + 1)});
  }
  EXPECT_GE(topics.size(), 12u);
  int deepest = 0;
  for (const Topic& t : topics) deepest = std::max(deepest, t.level);
  EXPECT_EQ(deepest, 2) << "three levels";

  int chinesePages = 0;
  for (const Topic& topic : topics) {
    SCOPED_TRACE(topic.title);
    std::string path = folder + topic.path;
    std::optional<std::string> bytes = ReadFile(path);
    ASSERT_TRUE(bytes.has_value()) << path;
    Document doc = ParseHtmlBytes(*bytes);
    EXPECT_EQ(doc.charset, Charset::Utf8);
    ASSERT_FALSE(doc.blocks.empty());
    EXPECT_EQ(doc.blocks.front().kind, BlockKind::Heading);
    EXPECT_EQ(doc.blocks.front().Text(), doc.title) << "the page view shows the title once";
    bool wide = false;
    std::vector<std::string> links;
    for (const Block& block : doc.blocks) {
      wide = wide || HasWideChars(block.Text());
      CollectBlockLinks(block, links);
    }
    chinesePages += wide;
    for (const std::string& href : links) {
      std::optional<std::string> target = ResolveLocalLink(path, href);
      ASSERT_TRUE(target.has_value()) << href;
      EXPECT_TRUE(ReadFile(*target).has_value()) << href << " -> " << *target;
    }
  }
  EXPECT_GE(chinesePages, 2) << "the button captions appear in Chinese";
}

}  // namespace
}  // namespace hv::html
