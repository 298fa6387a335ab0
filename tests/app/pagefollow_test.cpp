// The topic tree follows the reader through the page view: a link, Back or
// Forward to a page of the index selects its topic, and the page is shown
// once.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/treeview.h"
#include "framework/winstring.h"
#include "pageview/htmlview.h"
#include "pageview/webbrowser.h"
#include "tests/app/viewer_files.h"
#include "tests/support/win_test.h"
#include "theme/controls/themetreeview.h"

namespace hv {
namespace {

using test::PutViewerFile;
using test::RemoveViewerFile;
using test::ViewerFolder;

struct PageFollowTest : ::testing::Test {
  static void SetUpTestSuite() { StartViewer(); }
  void SetUp() override {
    PutViewerFile("TrvNode.DLL", "Welcome follow_index.htm\r\n\tUsage follow_usage.htm\r\nAgain follow_usage.htm\r\n");
    PutViewerFile("follow_index.htm",
            "<h1>Welcome</h1><p><a href=\"follow_usage.htm#how\">usage</a> <a href=\"follow_other.htm\">other</a></p>");
    std::string usage = "<p><a href=\"FOLLOW_INDEX.HTM\">home</a></p>";
    for (int i = 0; i < 80; ++i) usage += "<p>Usage, part " + std::to_string(i) + "</p>";
    PutViewerFile("follow_usage.htm", usage + "<h2 id=\"how\">How</h2>" + usage);
    PutViewerFile("follow_other.htm", "<p>Not in the index</p>");
    form = std::make_unique<TFrmMain>(nullptr);
    form->LoadFromLayout();
    form->TrvMenu->OnChange = [this, bound = form->TrvMenu->OnChange](TObject* sender, TTreeNode* node) {
      ++changes;
      bound(sender, node);
    };
    form->Show();
    test::PumpMessages();
  }
  void TearDown() override {
    if (form) ShowWindow(form->Handle(), SW_HIDE);
    form.reset();
    for (const char* name : {"TrvNode.DLL", "follow_index.htm", "follow_usage.htm", "follow_other.htm"})
      RemoveViewerFile(name);
  }
  THtmlView& View() { return *form->WebBrowser1->PageView(); }
  void ClickLink(const std::string& href) {
    for (const html::LinkArea& link : View().Layout().links) {
      if (link.href != href) continue;
      LPARAM at = MAKELPARAM((link.rect.left + link.rect.right) / 2,
                             (link.rect.top + link.rect.bottom) / 2 - View().ScrollPos());
      SendMessageW(View().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(View().Handle(), WM_LBUTTONUP, 0, at);
      return;
    }
    ADD_FAILURE() << "no link to " << href;
  }
  int Selected() {
    TTreeNode* node = form->TrvMenu->Selected();
    return node ? node->AbsoluteIndex() : -1;
  }
  std::string Page() { return Narrow(form->WebBrowser1->LocationURL()); }

  std::unique_ptr<TFrmMain> form;
  int changes = 0;
};

TEST_F(PageFollowTest, ALinkToAnIndexedPageSelectsItsTopicOnce) {
  ASSERT_NE(form->WebBrowser1->PageView(), nullptr) << "the built-in view shows pages where there is no HTML engine";
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(0));
  ASSERT_EQ(Page(), ViewerFolder() + "follow_index.htm");
  changes = 0;

  ClickLink("follow_usage.htm#how");
  EXPECT_EQ(Page(), ViewerFolder() + "follow_usage.htm");
  EXPECT_EQ(Selected(), 1) << "the first topic with that page";
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(View().History().Count(), 2u) << "the page was shown once, not again for the tree";
  EXPECT_GT(View().ScrollPos(), 0) << "at its place, which showing it again would have lost";

  ClickLink("FOLLOW_INDEX.HTM");
  EXPECT_EQ(Selected(), 0) << "file names match whatever their case";
  EXPECT_EQ(View().History().Count(), 3u);

  ClickLink("follow_other.htm");
  EXPECT_EQ(Page(), ViewerFolder() + "follow_other.htm");
  EXPECT_EQ(Selected(), 0) << "a page outside the index leaves the tree alone";
  EXPECT_EQ(changes, 2);

  SendMessageW(View().Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ(Page(), ViewerFolder() + "FOLLOW_INDEX.HTM");
  EXPECT_EQ(changes, 2) << "back on the selected topic's page: nothing to select";
  SendMessageW(View().Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ(Page(), ViewerFolder() + "follow_usage.htm");
  EXPECT_EQ(Selected(), 1) << "Back selects the topic too";
  EXPECT_EQ(View().History().Count(), 4u);
  EXPECT_EQ(View().History().Position(), 1u);

  // The topic "Again" has the same page as the selected one: choosing it
  // in the tree still shows the page, as a topic's page always is.
  form->TrvMenu->SetSelected(form->TrvMenu->Items()->Item(2));
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(View().History().Count(), 3u) << "a topic's page is a new step, and the steps ahead are gone";
  SendMessageW(View().Handle(), WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ(Selected(), 2) << "the selected topic already has the page Back shows";
  EXPECT_TRUE(test::TakeReportedExceptions().empty());
}

}  // namespace
}  // namespace hv
