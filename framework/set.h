#pragma once
// A set of enumeration values, as published properties and state flags use.

#include <cstdint>
#include <initializer_list>

namespace hv {

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E value : values) mask_ |= Bit(value);
  }
  static constexpr TSet FromMask(uint32_t mask) {
    TSet set;
    set.mask_ = mask;
    return set;
  }

  constexpr bool Contains(E value) const { return (mask_ & Bit(value)) != 0; }
  constexpr TSet& Include(E value) { mask_ |= Bit(value); return *this; }
  constexpr TSet& Exclude(E value) { mask_ &= ~Bit(value); return *this; }
  constexpr bool Empty() const { return mask_ == 0; }
  constexpr uint32_t Mask() const { return mask_; }

  constexpr TSet operator+(TSet other) const { return FromMask(mask_ | other.mask_); }
  constexpr TSet operator-(TSet other) const { return FromMask(mask_ & ~other.mask_); }
  constexpr TSet operator*(TSet other) const { return FromMask(mask_ & other.mask_); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint32_t Bit(E value) { return uint32_t{1} << static_cast<unsigned>(value); }
  uint32_t mask_ = 0;
};

}  // namespace hv
