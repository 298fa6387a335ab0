#include "pageview/linktarget.h"

#include <gtest/gtest.h>

namespace hv::html {
namespace {

constexpr char kPage[] = "C:\\help\\pages\\intro.htm";

TEST(LinkTarget, LocalPagesResolveAndKeepTheirPlaceName) {
  LinkTarget t = ClassifyLink(kPage, "setup.htm");
  EXPECT_EQ(t.kind, LinkKind::Page);
  EXPECT_EQ(t.path, "C:\\help\\pages\\setup.htm");
  EXPECT_EQ(t.fragment, "");

  t = ClassifyLink(kPage, " ../usage.htm#Step%202 ");
  EXPECT_EQ(t.kind, LinkKind::Page);
  EXPECT_EQ(t.path, "C:\\help\\usage.htm");
  EXPECT_EQ(t.fragment, "Step 2");

  t = ClassifyLink(kPage, "file:///C:/other/x.htm#top");
  EXPECT_EQ(t.kind, LinkKind::Page);
  EXPECT_EQ(t.path, "C:\\other\\x.htm");
  EXPECT_EQ(t.fragment, "top");

  t = ClassifyLink(kPage, "intro.htm?x=1#a");
  EXPECT_EQ(t.kind, LinkKind::Page);
  EXPECT_EQ(t.path, kPage);
  EXPECT_EQ(t.fragment, "a");
}

TEST(LinkTarget, PlacesOnTheSamePage) {
  LinkTarget t = ClassifyLink(kPage, "#sec-2.1");
  EXPECT_EQ(t.kind, LinkKind::Place);
  EXPECT_EQ(t.fragment, "sec-2.1");
  t = ClassifyLink(kPage, "#");
  EXPECT_EQ(t.kind, LinkKind::Place);
  EXPECT_EQ(t.fragment, "") << "an empty name is the top of the page";
  t = ClassifyLink(kPage, "#%E4%B8%AD");
  EXPECT_EQ(t.fragment, "\xE4\xB8\xAD") << "a percent-encoded Chinese name";
}

TEST(LinkTarget, WebAndMailAddressesGoOutsideAsWritten) {
  for (const char* href : {"http://example.com/a?b#c", "HTTPS://example.com", "mailto:someone@example.com"}) {
    LinkTarget t = ClassifyLink(kPage, href);
    EXPECT_EQ(t.kind, LinkKind::Outside) << href;
    EXPECT_EQ(t.url, href);
    EXPECT_EQ(t.path, "");
  }
  EXPECT_EQ(ClassifyLink(kPage, "  http://x.org  ").url, "http://x.org");
}

TEST(LinkTarget, ScriptOtherSchemesAndEmptyLinksLeadNowhere) {
  for (const char* href : {"", "   ", "javascript:alert(1)", "JavaScript:void(0)", "vbscript:x", "ftp://x.org/f",
                           "about:blank", "data:text/html,<p>x</p>", "ms-its:x.chm::/a.htm", "file:relative.htm"}) {
    LinkTarget t = ClassifyLink(kPage, href);
    EXPECT_EQ(t.kind, LinkKind::None) << href;
    EXPECT_EQ(t.url, "") << href;
    EXPECT_EQ(t.path, "") << href;
  }
}

}  // namespace
}  // namespace hv::html
