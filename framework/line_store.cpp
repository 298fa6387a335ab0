#include "framework/line_store.h"

#include <algorithm>

namespace hv {

namespace {

// Calls visit(line) for each line of a text broken by CR LF, CR or LF.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    visit(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

}  // namespace

std::string_view TLineStore::Get(int index) const {
  const size_t start = starts_[static_cast<size_t>(index)];
  return std::string_view(text_).substr(start, End(index) - start);
}

size_t TLineStore::End(int index) const {
  const size_t next = static_cast<size_t>(index) + 1;
  return (next < starts_.size() ? starts_[next] : text_.size()) - 2;
}

void TLineStore::Insert(int index, std::string_view line) {
  const size_t at = index < Count() ? starts_[static_cast<size_t>(index)] : text_.size();
  if (at == text_.size()) {
    text_.append(line);
    text_ += "\r\n";
  } else {
    text_.insert(at, std::string(line) + "\r\n");
  }
  starts_.insert(starts_.begin() + index, at);
  for (size_t i = static_cast<size_t>(index) + 1; i < starts_.size(); ++i) starts_[i] += line.size() + 2;
}

void TLineStore::Delete(int index) {
  const size_t start = starts_[static_cast<size_t>(index)];
  const size_t length = End(index) + 2 - start;
  text_.erase(start, length);
  starts_.erase(starts_.begin() + index);
  for (size_t i = static_cast<size_t>(index); i < starts_.size(); ++i) starts_[i] -= length;
}

void TLineStore::Put(int index, std::string_view line) {
  const std::string copy(line);  // line may point into text_
  Delete(index);
  Insert(index, copy);
}

void TLineStore::Clear() {
  // Gives the memory back: a list that held a large index keeps none of it.
  std::string().swap(text_);
  std::vector<size_t>().swap(starts_);
}

void TLineStore::Assign(std::string_view text) {
  size_t lines = 0;
  ForEachLine(text, [&](std::string_view) { ++lines; });
  std::string stored;
  std::vector<size_t> starts;
  stored.reserve(text.size() + lines * 2);
  starts.reserve(lines);
  ForEachLine(text, [&](std::string_view line) {
    starts.push_back(stored.size());
    stored.append(line);
    stored += "\r\n";
  });
  text_ = std::move(stored);
  starts_ = std::move(starts);
}

void TLineStore::Adopt(std::string&& text) {
  // A text in stored form has exactly one line per LF, each LF after a CR
  // and no other CR: counted in one pass, the starts are then one block of
  // their final size.
  const size_t lineFeeds = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  const size_t returns = static_cast<size_t>(std::count(text.begin(), text.end(), '\r'));
  if (lineFeeds != returns || (!text.empty() && text.back() != '\n')) return Assign(text);
  std::vector<size_t> starts;
  starts.reserve(lineFeeds);
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    if (i == 0 || text[i - 1] != '\r') return Assign(text);
    starts.push_back(start);
    start = i + 1;
  }
  text_ = std::move(text);
  starts_ = std::move(starts);
}

}  // namespace hv
