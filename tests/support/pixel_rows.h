#pragma once
// A painting's expected pixels as a list of {x, y, expected[, why]} rows:
// each row is its own expectation and names its pixel on a miss, and the
// trace names the line the list stands on.

#include <gtest/gtest.h>

#include <initializer_list>
#include <ios>
#include <type_traits>

namespace hv::test {

template <class T>
struct TPixelRow {
  int x, y;
  T expected;
  const char* why = "";
};

template <class T, class Read>
void ExpectPixelRows(std::initializer_list<TPixelRow<T>> rows, Read read) {
  for (const TPixelRow<T>& row : rows) {
    const auto actual = read(row.x, row.y);
    ::testing::Message where;
    where << "at " << row.x << "," << row.y << " " << row.why;
    // Colours read best in hex.
    if constexpr (std::is_integral_v<T>) where << " (0x" << std::hex << actual << " for 0x" << row.expected << ")";
    EXPECT_EQ(actual, row.expected) << where;
  }
}

}  // namespace hv::test

// `read` is an expression of x and y giving the pixel as T.
#define HV_EXPECT_PIXEL_ROWS(T, label, read, ...)                                      \
  do {                                                                                 \
    SCOPED_TRACE(label);                                                               \
    ::hv::test::ExpectPixelRows<T>({__VA_ARGS__}, [&](int x, int y) { return read; }); \
  } while (0)
