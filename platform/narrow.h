#pragma once
// Narrowing of wider numbers into signed 32-bit values. There are two kinds, kept apart
// by their names:
// - clamping (ClampToInt32): a value out of range becomes the nearest end of
//   [-2147483647, 2147483647], the range of map coordinates, lengths and scales (the
//   most negative 32-bit value is left out, so that every result can be negated);
// - keeping the low 32 bits (LowBits32): what the C library's conversion of a number
//   into a 32-bit int does with one that does not fit.

#include <concepts>
#include <cstdint>
#include <utility>

namespace koltar {

inline constexpr std::int32_t kInt32Limit = 2147483647;

// A double clamped into +-2147483647 with the fraction dropped toward zero; NaN gives
// -2147483647.
inline std::int32_t ClampToInt32(double v) {
  if (v >= 2147483647.0) return kInt32Limit;
  if (v > -2147483647.0) return static_cast<std::int32_t>(v);
  return -kInt32Limit;
}

// An integer clamped into +-2147483647, exactly (not through a double).
template <std::integral T>
constexpr std::int32_t ClampToInt32(T v) {
  if (std::cmp_greater(v, kInt32Limit)) return kInt32Limit;
  if (std::cmp_less(v, -kInt32Limit)) return -kInt32Limit;
  return static_cast<std::int32_t>(v);
}

// The low 32 bits of a 64-bit integer, as a signed value.
constexpr std::int32_t LowBits32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

}  // namespace koltar
