#pragma once
// TSizedPool: a small bounded store of released items keyed by their size
// in pixels, handed back to the next request for exactly that size. The
// engine keeps the pixel memory of released bitmaps in one: memory a
// process has already written costs nothing to write again, while fresh
// memory costs a page fault per page on first touch, which under Wine is
// far more than filling the page. Portable: the items are whatever the
// caller stores.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace hv {

template <class Item>
class TSizedPool {
 public:
  // At most maxItems items and maxBytes bytes are kept; a put beyond either
  // drops the oldest items first.
  TSizedPool(size_t maxItems, size_t maxBytes) : maxItems_(maxItems), maxBytes_(maxBytes) {}

  // Keeps item for a later Take of width x height. Answers the items that
  // no longer fit (the oldest ones, or item itself when it alone is larger
  // than the bound), for the caller to free outside any lock it holds.
  std::vector<Item> Put(int width, int height, size_t bytes, Item item) {
    std::vector<Item> dropped;
    if (bytes > maxBytes_ || maxItems_ == 0) {
      dropped.push_back(std::move(item));
      return dropped;
    }
    entries_.push_back({width, height, bytes, std::move(item)});
    bytes_ += bytes;
    size_t first = 0;
    while (entries_.size() - first > maxItems_ || bytes_ > maxBytes_) {
      bytes_ -= entries_[first].bytes;
      dropped.push_back(std::move(entries_[first].item));
      ++first;
    }
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(first));
    return dropped;
  }

  // The most recently put item of exactly that size, taken out; none when
  // there is no such item.
  std::optional<Item> Take(int width, int height) {
    for (size_t i = entries_.size(); i-- > 0;) {
      if (entries_[i].width != width || entries_[i].height != height) continue;
      Item item = std::move(entries_[i].item);
      bytes_ -= entries_[i].bytes;
      entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
      return item;
    }
    return std::nullopt;
  }

  // Everything kept, taken out: for freeing on demand.
  std::vector<Item> TakeAll() {
    std::vector<Item> all;
    all.reserve(entries_.size());
    for (TEntry& entry : entries_) all.push_back(std::move(entry.item));
    entries_.clear();
    bytes_ = 0;
    return all;
  }

  size_t Count() const { return entries_.size(); }
  size_t Bytes() const { return bytes_; }

 private:
  struct TEntry {
    int width;
    int height;
    size_t bytes;
    Item item;
  };
  size_t maxItems_;
  size_t maxBytes_;
  size_t bytes_ = 0;
  std::vector<TEntry> entries_;  // oldest first
};

}  // namespace hv
