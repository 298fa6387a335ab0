#pragma once
// The pages a reader has been through in one view, as a browser keeps them
// for Back and Forward: each with the place it was scrolled to when the
// reader left it. Portable.

#include <cstddef>
#include <string>
#include <vector>

namespace hv::html {

struct HistoryEntry {
  std::wstring path;
  int scrollY = 0;
};

class TPageHistory {
 public:
  // A reader never walks back this far; the oldest entries go first.
  static constexpr size_t kMaxEntries = 200;

  // A page (or a place on the current page) is shown: it becomes the
  // current entry and whatever lay ahead of the old one is forgotten.
  void Visit(const std::wstring& path, int scrollY = 0);
  // Remembers where the current page is scrolled to, before it is left.
  void SaveScroll(int scrollY);

  bool CanGoBack() const { return current_ > 0 && !entries_.empty(); }
  bool CanGoForward() const { return current_ + 1 < entries_.size(); }
  // The entry one step back or forward, without moving there: the page may
  // have gone meanwhile, and then the history must stay where it is.
  const HistoryEntry* PeekBack() const;
  const HistoryEntry* PeekForward() const;
  // Moves one step once the page of that step is shown.
  void StepBack();
  void StepForward();

  const HistoryEntry* Current() const { return entries_.empty() ? nullptr : &entries_[current_]; }
  size_t Count() const { return entries_.size(); }
  size_t Position() const { return current_; }

 private:
  std::vector<HistoryEntry> entries_;
  size_t current_ = 0;
};

}  // namespace hv::html
