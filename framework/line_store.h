#pragma once
// Lines kept back to back in one buffer, each followed by the CR LF an edit
// control holds after it: a list of many lines costs no heap block per line,
// and the whole text can be handed to a control as it is. Portable.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

class TLineStore {
 public:
  int Count() const { return static_cast<int>(starts_.size()); }
  // The line without its break; valid until the store next changes.
  std::string_view Get(int index) const;
  // Appending is amortized constant; anywhere else moves the lines after it.
  void Insert(int index, std::string_view line);
  void Delete(int index);
  void Put(int index, std::string_view line);
  void Clear();
  // The lines of a text broken by CR LF, CR or LF, with no empty line after
  // a final break. Measured first, so a long text is stored in blocks of
  // their final size rather than in ever larger copies.
  void Assign(std::string_view text);
  // As Assign, keeping `text` itself when it already is in stored form
  // (every line followed by CR LF, no other break): nothing is copied.
  void Adopt(std::string&& text);
  // Every line followed by CR LF.
  const std::string& Text() const { return text_; }

 private:
  size_t End(int index) const;

  std::string text_;
  std::vector<size_t> starts_;
};

}  // namespace hv
