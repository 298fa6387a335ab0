#include "pageview/pagehistory.h"

namespace hv::html {

void TPageHistory::Visit(const std::wstring& path, int scrollY) {
  if (!entries_.empty()) entries_.resize(current_ + 1);
  entries_.push_back(HistoryEntry{path, scrollY});
  if (entries_.size() > kMaxEntries)
    entries_.erase(entries_.begin(), entries_.begin() + (entries_.size() - kMaxEntries));
  current_ = entries_.size() - 1;
}

void TPageHistory::SaveScroll(int scrollY) {
  if (!entries_.empty()) entries_[current_].scrollY = scrollY;
}

const HistoryEntry* TPageHistory::PeekBack() const { return CanGoBack() ? &entries_[current_ - 1] : nullptr; }

const HistoryEntry* TPageHistory::PeekForward() const { return CanGoForward() ? &entries_[current_ + 1] : nullptr; }

void TPageHistory::StepBack() {
  if (CanGoBack()) --current_;
}

void TPageHistory::StepForward() {
  if (CanGoForward()) ++current_;
}

}  // namespace hv::html
