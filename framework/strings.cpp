#include "framework/strings.h"

#include "framework/filer.h"
#include "framework/sysutils.h"

namespace hv {

void TStrings::Error(int index) const { throw EListError(Format("List index out of bounds (%d)", index)); }

void TStrings::Put(int index, const std::string& text) {
  TObject* object = Objects(index);
  Delete(index);
  Insert(index, text);
  PutObject(index, object);
}

TObject* TStrings::Objects(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& text) {
  int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = Add(text);
  PutObject(index, object);
  return index;
}

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), text)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == object) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = start;
      while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
      Add(std::string(text.substr(start, end - start)));
      if (end < text.size() && text[end] == '\r') {
        ++end;
        if (end < text.size() && text[end] == '\n') ++end;  // CR LF is one break
      } else if (end < text.size()) {
        ++end;
      }
      start = end;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) lines.push_back(Get(i));
  return lines;
}

void TStrings::Assign(const TPersistent* source) {
  if (auto strings = dynamic_cast<const TStrings*>(source)) {
    BeginUpdate();
    try {
      Clear();
      for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Get(i), strings->Objects(i));
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

std::string TStringList::Get(int index) const {
  if (index < 0 || index >= Count()) Error(index);
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& text) {
  if (index < 0 || index >= Count()) Error(index);
  items_[static_cast<size_t>(index)].text = text;
  Changed();
}

void TStringList::Insert(int index, const std::string& text) {
  if (index < 0 || index > Count()) Error(index);
  items_.insert(items_.begin() + index, Item{text, nullptr});
  Changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) Error(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

TObject* TStringList::Objects(int index) const {
  if (index < 0 || index >= Count()) Error(index);
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  if (index < 0 || index >= Count()) Error(index);
  items_[static_cast<size_t>(index)].object = object;
}

void TStringList::SetUpdateState(bool updating) {
  if (!updating) Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStrings::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Strings",
      [this](const TValue& value) {
        auto list = std::get_if<TStringsValue>(&value);
        if (!list) InvalidPropertyValue("Strings");
        BeginUpdate();
        try {
          Clear();
          for (const auto& line : list->lines) Add(line);
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
      },
      [this] { return TValue(TStringsValue{ToVector()}); }, Count() > 0);
}

}  // namespace hv
