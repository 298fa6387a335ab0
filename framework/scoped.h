#pragma once
// Values that hold something else for the length of a scope and get their
// own back when it ends, also when the scope raises.

#include <utility>

namespace hv {

template <class T>
class TScopedValue {
 public:
  TScopedValue(T& target, T value) : target_(target), saved_(std::move(target)) { target_ = std::move(value); }
  ~TScopedValue() { target_ = std::move(saved_); }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

 private:
  T& target_;
  T saved_;
};

// A re-entrancy or busy flag, set for the scope.
class TScopedFlag : public TScopedValue<bool> {
 public:
  explicit TScopedFlag(bool& flag, bool value = true) : TScopedValue<bool>(flag, value) {}
};

}  // namespace hv
