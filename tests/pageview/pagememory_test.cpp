// Memory in a real view: pages of other sizes shown one after another leave
// the process no bigger than after the first few, whether the heaps keep
// freed space or not; and a page read where it lies or decoded once gives
// the text the decoder gives, in every charset.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "pageview/htmlview.h"
#include "pageview/pageloader.h"
#include "tests/pageview/viewhost.h"
#include "tests/support/processmemory.h"

namespace hv {
namespace {

constexpr double kMB = 1024.0 * 1024.0;

class PageMemoryTest : public test::PageViewHost {
 protected:
  void SetUp() override { OpenView("hv_pagememory_test_", 500, 400); }

  // A long generated page of about `bytes`: headings, paragraphs with links
  // and emphasis, lists and a table per section, read on the worker.
  static std::string Page(int number, size_t bytes) {
    std::string page = "<html><head><title>Page " + std::to_string(number) + "</title></head><body>\n";
    for (int s = 0; page.size() < bytes; ++s) {
      const std::string n = std::to_string(number) + "." + std::to_string(s);
      page += "<h2><a name='s" + n + "'></a>Section " + n + "</h2>\n";
      for (int p = 0; p < 3; ++p)
        page += "<p>The <b>setting " + n + "</b> tells the <a href='#s" + n + "'>reader</a> what to do with "
                "<i>input</i> that comes while an earlier request still runs.</p>\n";
      page += "<ul><li>First " + n + "</li><li>Second</li></ul><table border=1><tr><td>key</td><td>" + n +
              "</td></tr></table>\n";
    }
    return page + "<p>End of page " + std::to_string(number) + ".</p></body></html>\n";
  }

  void Show(const std::wstring& path) {
    ASSERT_TRUE(view_->Navigate(path));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (view_->Loading()) {
      ASSERT_LT(std::chrono::steady_clock::now(), until) << "the page never finished loading";
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    UpdateWindow(view_->Handle());
  }

  std::string FirstBlockText(const std::string& bytes) {
    const html::Document document = ParsePage(bytes, (folder_ / "page.htm").wstring());
    return document.blocks.empty() ? std::string() : document.blocks.front().Text();
  }
};

TEST_F(PageMemoryTest, ManyDifferentPagesShownInTurnLeaveMemoryWhereTheFirstFewLeftIt) {
  // Pages of 150 to 250 KB, each of its own size, each shown whole.
  constexpr int kPages = 100;
  std::vector<std::wstring> paths;
  for (int i = 0; i < kPages; ++i)
    paths.push_back(Write("page" + std::to_string(i) + ".htm", Page(i, 150000 + static_cast<size_t>(i * 37 % 100) * 1000)));
  // The first few pages make what every page needs (fonts, the worker, the
  // heaps' first growth).
  for (int i = 0; i < 3; ++i) Show(paths[static_cast<size_t>(i)]);
  ASSERT_NE(view_->Document().blocks.size(), 0u);
  const double heapBefore = test::HeapCommittedBytes();
  const double allBefore = test::CommittedPrivateBytes();
  for (int i = 3; i < kPages; ++i) {
    Show(paths[static_cast<size_t>(i)]);
    if (HasFatalFailure()) return;
  }
  Show(paths[0]);
  ASSERT_EQ(view_->Document().blocks.back().Text(), "End of page 0.");
  const double heapGrowth = (test::HeapCommittedBytes() - heapBefore) / kMB;
  const double allGrowth = (test::CommittedPrivateBytes() - allBefore) / kMB;
  RecordProperty("heap_growth_kb", static_cast<int>(heapGrowth * 1024));
  RecordProperty("committed_growth_kb", static_cast<int>(allGrowth * 1024));
  // Both stay within half a megabyte here. One page's document and layout
  // weigh a megabyte or more: a view that kept each page it showed would
  // grow by a hundred times that, and page-sized buffers taken from the
  // heap left it some 6 MB bigger, with holes the next page did not fit.
  EXPECT_LT(heapGrowth, 3.0) << "the heaps grew by " << heapGrowth << " MB";
  EXPECT_LT(allGrowth, 3.0) << "the committed memory grew by " << allGrowth << " MB";
}

TEST_F(PageMemoryTest, PagesReadWhereTheyLieOrDecodedOnceGiveTheSameText) {
  struct Case {
    const char* bytes;
    size_t size;
    const char* text;
  };
  const std::string utf16 = std::string("\xFF\xFE<\0p\0>\0" "\x2D\x4E" "\x87\x65", 12);
  const Case cases[] = {
      {"<p>plain text</p>", 17, "plain text"},
      {"<meta charset=utf-8><p>caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87</p>", 0, "caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87"},
      {"<meta charset=utf-8><p>broken \xFF here</p>", 0, "broken \xEF\xBF\xBD here"},
      {"\xEF\xBB\xBF<p>marked \xC3\xA9</p>", 0, "marked \xC3\xA9"},
      {"<meta charset=gb2312><p>\xD6\xD0\xCE\xC4</p>", 0, "\xE4\xB8\xAD\xE6\x96\x87"},
      {"<meta charset=iso-8859-1><p>caf\xE9 \x80</p>", 0, "caf\xC3\xA9 \xE2\x82\xAC"},
      {utf16.data(), utf16.size(), "\xE4\xB8\xAD\xE6\x96\x87"},
  };
  for (const Case& c : cases) {
    const std::string bytes(c.bytes, c.size ? c.size : std::char_traits<char>::length(c.bytes));
    EXPECT_EQ(FirstBlockText(bytes), c.text) << c.bytes;
  }
}

TEST_F(PageMemoryTest, AWholePageIsReadIntoMemoryOfItsOwn) {
  const std::string page = Page(7, 300000);
  const std::wstring path = Write("whole.htm", page);
  long long size = 0;
  PageFile file = OpenPageFile(path, size);
  ASSERT_TRUE(file);
  ASSERT_EQ(size, static_cast<long long>(page.size()));
  BigString bytes;
  ASSERT_TRUE(ReadPageBytes(file.get(), static_cast<size_t>(size), bytes));
  EXPECT_TRUE(bytes == BigString(page.begin(), page.end()));
  // The bytes start a region the system mapped for them alone, and it goes
  // with them.
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_EQ(VirtualQuery(bytes.data(), &info, sizeof info), sizeof info);
  EXPECT_EQ(info.AllocationBase, static_cast<void*>(bytes.data()));
  EXPECT_GE(info.RegionSize, page.size());
  const void* at = bytes.data();
  { BigString gone = std::move(bytes); }
  ASSERT_EQ(VirtualQuery(at, &info, sizeof info), sizeof info);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

}  // namespace
}  // namespace hv
