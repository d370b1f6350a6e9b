// Float-to-integer truncation: toward zero inside the range, the nearest bound
// beyond it, 0 for NaN (a plain cast is undefined behaviour there).
#include "math/saturate.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace polarsketch::math {
namespace {

TEST(Saturate, TruncatesTowardZeroAndSaturatesOutsideTheRange) {
  using I32 = std::numeric_limits<std::int32_t>;
  using I64 = std::numeric_limits<std::int64_t>;
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();

  EXPECT_EQ(trunc_to_int(2.7f), 2);
  EXPECT_EQ(trunc_to_int(-2.7f), -2);
  EXPECT_EQ(trunc_to_int(-0.9f), 0);
  EXPECT_EQ(trunc_to_int(2147483520.0f), 2147483520);  // largest float below 2^31
  EXPECT_EQ(trunc_to_int(-2147483648.0f), I32::min());
  EXPECT_EQ(trunc_to_int(2147483648.0f), I32::max());
  EXPECT_EQ(trunc_to_int(1.0e20f), I32::max());
  EXPECT_EQ(trunc_to_int(-1.0e20f), I32::min());
  EXPECT_EQ(trunc_to_int(inf), I32::max());
  EXPECT_EQ(trunc_to_int(-inf), I32::min());
  EXPECT_EQ(trunc_to_int(nan), 0);

  EXPECT_EQ(trunc_to_int64(-3.5e9f), -3500000000LL);
  EXPECT_EQ(trunc_to_int64(1.0e30f), I64::max());
  EXPECT_EQ(trunc_to_int64(-inf), I64::min());
  EXPECT_EQ(trunc_to_int64(nan), 0);

  EXPECT_EQ(floor_to_int(-2.5f), -3);
  EXPECT_EQ(floor_to_int(nan), 0);
}

}  // namespace
}  // namespace polarsketch::math
