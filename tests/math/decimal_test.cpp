// The C library's stand-ins for from_chars and to_chars (used where the C++
// library lacks their double overloads) read and write exactly what the
// standard functions do: the standard functions are the oracle.
#include "math/decimal.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

namespace polarsketch::math {
namespace {

TEST(Decimal, ReadsTheSameNumberAndEndAsFromChars) {
  const std::string_view cases[] = {
      "45",    "-12.5",   "0.000", ".5",      "5.",     "1e5",   "1E-3x",  "2e",  "2e+",
      "3e+2y", "+4",      " 7",    "",        "-",      ".",     "-.e1",   "inf", "-Infinity",
      "nan",   "infx",    "1e400", "-1e400",  "1e-400", "1e-310", "2e-324", "45NW",  "12,5",   "0x1A",
      "0.1000000000000000055511151231257827", "179769313486231580793728971405301e276"};
  for (const std::chars_format format : {std::chars_format::general, std::chars_format::fixed}) {
    for (const std::string_view text : cases) {
      SCOPED_TRACE("'" + std::string(text) + "' " +
                   (format == std::chars_format::fixed ? "fixed" : "general"));
      double expected = -99, got = -99;
      const char* first = text.data();
      const char* last = first + text.size();
      const auto want = std::from_chars(first, last, expected, format);
      const auto have = read_double_by_strtod(first, last, got, format);
      EXPECT_EQ(have.ec, want.ec);
      EXPECT_EQ(have.ptr - first, want.ptr - first);
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(got));
      } else {
        EXPECT_EQ(got, expected);  // exact: both round correctly
      }
    }
  }
}

TEST(Decimal, WritesFixedDecimalsAsToChars) {
  const double values[] = {0.0, -0.0, 0.05, 0.15, 2.5, 359.99995, -123.456789, 1e21, 1e-7};
  for (const double v : values) {
    for (const int decimals : {0, 1, 4}) {
      char want[64], have[64];
      const auto w = std::to_chars(want, want + sizeof want, v, std::chars_format::fixed, decimals);
      const auto h = write_fixed_by_printf(have, have + sizeof have, v, decimals);
      EXPECT_EQ(std::string(have, h.ptr), std::string(want, w.ptr)) << v << " " << decimals;
    }
  }
  char small[3];
  EXPECT_EQ(write_fixed_by_printf(small, small + sizeof small, 123.0, 1).ec,
            std::errc::value_too_large);
}

}  // namespace
}  // namespace polarsketch::math
