// Fixed-width fields at their boundaries.
#include "console/fields.hpp"

#include <gtest/gtest.h>

namespace polarsketch::console {
namespace {

TEST(Fields, IntegerFitsOrStars) {
  EXPECT_EQ(fmt_int(5, 2), " 5");
  EXPECT_EQ(fmt_int(-12, 3), "-12");
  EXPECT_EQ(fmt_int(-123, 3), "***");
  EXPECT_EQ(fmt_int(1000, 12), "        1000");
}

TEST(Fields, FixedRoundsExactBinaryValue) {
  EXPECT_EQ(fmt_fixed(90.0f, 8, 2), "   90.00");
  EXPECT_EQ(fmt_fixed(2.675f, 5, 2), " 2.67");  // 2.675f is just below 2.675
  EXPECT_EQ(fmt_fixed(9.996f, 5, 2), "10.00");
  EXPECT_EQ(fmt_fixed(-0.0f, 6, 3), "-0.000");
  EXPECT_EQ(fmt_fixed(99000000.0f, 10, 0), " 99000000.");
  EXPECT_EQ(fmt_fixed(-0.001f, 4, 2), "-.00");  // only the leading 0 is dropped
  EXPECT_EQ(fmt_fixed(123.0f, 5, 2), "*****");
  EXPECT_EQ(fmt_fixed(0.5f, 3, 2), ".50");
}

TEST(Fields, GeneralFormat) {
  EXPECT_EQ(fmt_general(10.0f, 12, 6), " 10.0000    ");
  EXPECT_EQ(fmt_general(0.0f, 12, 6), " 0.00000    ");
  EXPECT_EQ(fmt_general(-0.5f, 12, 6), "-.500000    ");
  EXPECT_EQ(fmt_general(-0.25f, 12, 6), "-.250000    ");
  EXPECT_EQ(fmt_general(999999.6f, 12, 6), "0.100000E+07");
  EXPECT_EQ(fmt_general(0.05f, 12, 6), "0.500000E-01");
  EXPECT_EQ(fmt_general(35278.0f, 10, 3), " 0.353E+05");
  EXPECT_EQ(fmt_general(123456.0f, 12, 6), " 123456.    ");
}

TEST(Fields, ExponentLogicalText) {
  EXPECT_EQ(fmt_exp(12345.0f, 9, 2), " 0.12E+05");
  EXPECT_EQ(fmt_exp(0.0f, 10, 3), " 0.000E+00");
  EXPECT_EQ(fmt_exp(-0.000001f, 10, 2), " -0.10E-05");
  EXPECT_EQ(fmt_logical(true, 2), " T");
  EXPECT_EQ(fmt_text("Adjustable scale", 16), "Adjustable scale");
  EXPECT_EQ(fmt_text("abc", 2), "ab");
}

}  // namespace
}  // namespace polarsketch::console
