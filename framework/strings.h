#pragma once
// String lists. TStrings is the interface (a memo's lines implement it over
// the edit window); TStringList keeps its lines in memory. Portable.

#include <string>
#include <string_view>
#include <vector>

#include "framework/component.h"
#include "framework/event.h"

namespace hv {

class TStrings : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TStrings, TPersistent)

 public:
  virtual int Count() const = 0;
  // Reading past the end raises EListError "List index out of bounds (%d)".
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& text);
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual TObject* Objects(int index) const;
  virtual void PutObject(int index, TObject* object);

  int Add(const std::string& text);
  int AddObject(const std::string& text, TObject* object);
  int IndexOf(std::string_view text) const;
  int IndexOfObject(const TObject* object) const;
  std::string operator[](int index) const { return Get(index); }

  // Lines joined by CR LF, each line followed by one.
  virtual std::string Text() const;
  // Splits at CR, LF or CR LF; a final line break adds no empty line.
  virtual void SetText(std::string_view text);
  // The same lines as SetText, from a text the list may keep as its own
  // storage rather than copy: a long list built in one string is then never
  // held twice.
  virtual void AdoptText(std::string&& text) { SetText(text); }
  std::vector<std::string> ToVector() const;
  void Assign(const TPersistent* source) override;
  // Layouts store the lines as "Strings", a list of quoted lines.
  void DefineProperties(TFiler& filer) override;

  // Suspends change work (repaints, notifications) while a batch of edits runs.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  virtual void SetUpdateState(bool) {}
  [[noreturn]] void Error(int index) const;

 private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
  HV_CLASS_NO_PROPERTIES(TStringList, TStrings)

 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  TObject* Objects(int index) const override;
  void PutObject(int index, TObject* object) override;

  TNotifyEvent OnChange;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  void Changed();
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  std::vector<Item> items_;
};

}  // namespace hv
