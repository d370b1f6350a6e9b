// Float-to-integer truncation toward zero that never overflows: NaN gives 0 and
// values beyond the integer range give the nearest bound.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace polarsketch::math {

inline std::int32_t trunc_to_int(float x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

inline std::int64_t trunc_to_int64(float x) {
  if (std::isnan(x)) return 0;
  if (x >= 9.2233720e18f) return std::numeric_limits<std::int64_t>::max();
  if (x <= -9.2233720e18f) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(x);
}

// Floor toward minus infinity, saturating the same way.
inline std::int32_t floor_to_int(float x) { return trunc_to_int(std::floor(x)); }

}  // namespace polarsketch::math
