#pragma once
// A list of owned items of one kind that a stored layout keeps as one
// property value (a status bar's panels). The owner supplies the item class
// through AddItem. Portable.

#include "framework/component.h"

namespace hv {

class TCollection : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TCollection, TPersistent)

 public:
  virtual int Count() const = 0;
  virtual TPersistent* Item(int index) const = 0;
  // Appends a new item with its default values.
  virtual TPersistent* AddItem() = 0;
  virtual void Clear() = 0;
  // Changes between the two are told to the owner once, at the end.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
};

}  // namespace hv
