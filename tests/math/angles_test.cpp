// Angle constants: bit patterns, the derived multiples, the console report, rad.
#include "math/angles.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "console/iocom.hpp"
#include "support/test_support.hpp"

namespace polarsketch::math {
namespace {

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

class AnglesTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_angle_records(); }
};

TEST_F(AnglesTest, ConstantsHaveTheirSinglePrecisionBitPatterns) {
  testing::ConsoleCapture cap;
  trigoset();
  // Exact (bit for bit).
  EXPECT_EQ(bits(trig.pi2), 0x3FC90FDBu);
  EXPECT_EQ(bits(anglerad.radodeg), 0x3C8EFA35u);
  EXPECT_EQ(bits(kAngleTolerance), 0x3727C5ACu);
  EXPECT_EQ(bits(anglerad.pi1o2), bits(trig.pi2));
  EXPECT_EQ(bits(anglerad.pi1o1), bits(2.0f * trig.pi2));
  EXPECT_EQ(bits(trig.pi), bits(anglerad.pi1o1));
  EXPECT_EQ(bits(trig.pi4), bits(anglerad.pi1o4));
  EXPECT_EQ(bits(anglerad.pi2o1), bits(4.0f * trig.pi2));
}

TEST_F(AnglesTest, RadOfRightAnglesIsBitExact) {
  set_angle_constants();
  EXPECT_EQ(bits(rad(90.0f)), bits(anglerad.pi1o2));
  EXPECT_EQ(bits(rad(180.0f)), bits(anglerad.pi1o1));
  EXPECT_EQ(bits(rad(360.0f)), bits(anglerad.pi2o1));
  EXPECT_EQ(bits(rad(-180.0f)), bits(-anglerad.pi1o1));
  EXPECT_EQ(rad(0.0f), 0.0f);
}

TEST_F(AnglesTest, TrigosetReportsBothBlocksUnderItsHeader) {
  testing::ConsoleCapture cap;
  trigoset();
  const std::vector<std::string> expected = {
      " @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
      " @ subroutine trigoset   ",
      " @==========================================",
      " Initializing /trig/ block",
      " Initializing /anglerad/ block",
  };
  EXPECT_EQ(cap.lines(), expected);
}

}  // namespace
}  // namespace polarsketch::math
