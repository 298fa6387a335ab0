#include "pageview/pagehistory.h"

#include <gtest/gtest.h>

namespace hv::html {
namespace {

TEST(PageHistory, BackAndForwardWalkThePagesWithTheirScrollPositions) {
  TPageHistory history;
  EXPECT_EQ(history.Current(), nullptr);
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_EQ(history.PeekBack(), nullptr);
  history.StepBack();  // nothing to step to
  EXPECT_EQ(history.Count(), 0u);

  history.Visit(L"C:\\a.htm");
  history.SaveScroll(120);
  history.Visit(L"C:\\b.htm", 40);
  history.SaveScroll(300);
  history.Visit(L"C:\\c.htm");
  ASSERT_TRUE(history.CanGoBack());
  EXPECT_FALSE(history.CanGoForward());
  EXPECT_EQ(history.PeekBack()->path, L"C:\\b.htm");
  EXPECT_EQ(history.PeekBack()->scrollY, 300) << "the place it was left at, not where it was entered";

  history.StepBack();
  history.StepBack();
  EXPECT_EQ(history.Current()->path, L"C:\\a.htm");
  EXPECT_EQ(history.Current()->scrollY, 120);
  EXPECT_FALSE(history.CanGoBack());
  history.StepBack();
  EXPECT_EQ(history.Position(), 0u) << "the first page stays the first";
  ASSERT_TRUE(history.CanGoForward());
  EXPECT_EQ(history.PeekForward()->path, L"C:\\b.htm");
  history.StepForward();
  history.StepForward();
  history.StepForward();
  EXPECT_EQ(history.Current()->path, L"C:\\c.htm");
  EXPECT_EQ(history.Position(), 2u);
}

TEST(PageHistory, AVisitFromTheMiddleForgetsWhatLayAhead) {
  TPageHistory history;
  history.Visit(L"a");
  history.Visit(L"b");
  history.Visit(L"c");
  history.StepBack();
  history.StepBack();
  history.Visit(L"d");
  EXPECT_EQ(history.Count(), 2u);
  EXPECT_FALSE(history.CanGoForward());
  EXPECT_EQ(history.PeekBack()->path, L"a");
  EXPECT_EQ(history.Current()->path, L"d");
}

TEST(PageHistory, TheOldestEntriesGoWhenTheHistoryIsFull) {
  TPageHistory history;
  for (size_t i = 0; i < TPageHistory::kMaxEntries + 5; ++i) history.Visit(std::to_wstring(i));
  EXPECT_EQ(history.Count(), TPageHistory::kMaxEntries);
  EXPECT_EQ(history.Current()->path, std::to_wstring(TPageHistory::kMaxEntries + 4));
  while (history.CanGoBack()) history.StepBack();
  EXPECT_EQ(history.Current()->path, L"5");
}

}  // namespace
}  // namespace hv::html
