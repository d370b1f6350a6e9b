// Direction cosines to azimuth/plunge, the Euler rotation and the vector helpers.
#include "math/vectors.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/angles.hpp"
#include "support/test_support.hpp"

namespace polarsketch::math {
namespace {

class VectorsTest : public ::testing::Test {
 protected:
  void SetUp() override { set_angle_constants(); }
};

struct AxisCase {
  float x, y, z;
  float az, pl;
};

TEST_F(VectorsTest, Cc2llnOnTheAxisVectors) {
  const float pi = anglerad.pi1o1;
  const float half = anglerad.pi1o2;
  const AxisCase cases[] = {
      {1, 0, 0, 0, 0},      {0, 1, 0, half, 0}, {-1, 0, 0, pi, 0},
      {0, -1, 0, -half, 0}, {0, 0, 1, 0, half}, {0, 0, -1, 0, -half},
  };
  testing::ConsoleCapture cap;
  for (const auto& c : cases) {
    float az = 99.0f, pl = 99.0f;
    cc2lln(&az, &pl, &c.x, &c.y, &c.z, 1);
    // Exact: the axis directions give the constants themselves.
    EXPECT_EQ(az, c.az) << c.x << ' ' << c.y << ' ' << c.z;
    EXPECT_EQ(pl, c.pl) << c.x << ' ' << c.y << ' ' << c.z;
  }
  EXPECT_EQ(cap.text(), "");
}

TEST_F(VectorsTest, Cc2llnGivesAzimuthInEveryQuadrant) {
  const float s = std::sqrt(0.5f);
  const float x[] = {s, -s, -s, s};
  const float y[] = {s, s, -s, -s};
  const float z[] = {0, 0, 0, 0};
  float az[4], pl[4];
  cc2lln(az, pl, x, y, z, 4);
  const float pi = anglerad.pi1o1;
  // Within float rounding.
  EXPECT_NEAR(az[0], 0.25f * pi, 1e-6f);
  EXPECT_NEAR(az[1], 0.75f * pi, 1e-6f);
  EXPECT_NEAR(az[2], -0.75f * pi, 1e-6f);
  EXPECT_NEAR(az[3], -0.25f * pi, 1e-6f);
}

TEST_F(VectorsTest, Cc2llnWarnsAndNormalisesALongVector) {
  testing::ConsoleCapture cap("\n");
  const float x = 2.0f, y = 0.0f, z = 0.0f;
  float az = 9.0f, pl = 9.0f;
  cc2lln(&az, &pl, &x, &y, &z, 1);
  EXPECT_EQ(az, 0.0f);
  EXPECT_EQ(pl, 0.0f);
  const std::vector<std::string> expected = {
      " ///////////////////////////////////////////",
      " ///        subroutine cc2lln            ///",
      " ///               WARNING               ///",
      " ///////////////////////////////////////////",
      " Expecting unitary V = (Vx,Vy,Vz)",
      " Loop final   index =      1",
      " Loop current index =      1",
      " Vx =   2.0000 Vy =   0.0000 Vz =   0.0000",
      " ||V|| =   2.0000",
      " V is not unitary",
      " ==> Normalizing it to 1",
      " ===> HIT RETURN TO CONTINUE",
      " ///////////////////////////////////////////",
  };
  EXPECT_EQ(cap.lines(), expected);
}

TEST_F(VectorsTest, Cc2llnNormalisesANearlyUnitVectorSilently) {
  testing::ConsoleCapture cap;
  const float x[] = {1.00003f, 0.0f};
  const float y[] = {0.0f, 0.0f};
  const float z[] = {0.0f, 1.00003f};
  float az[2], pl[2];
  cc2lln(az, pl, x, y, z, 2);
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(az[0], 0.0f);
  EXPECT_EQ(pl[0], 0.0f);
  EXPECT_NEAR(pl[1], anglerad.pi1o2, 1e-6f);
}

TEST_F(VectorsTest, Cc2llnPlungeOfAnUnnormalisedVerticalIsNeverNaN) {
  // Squared length within 0.00005 of 1: used unchanged, so z0 exceeds 1.
  testing::ConsoleCapture cap;
  const float x[] = {0.0f, 0.0f};
  const float y[] = {0.0f, 0.0f};
  const float z[] = {1.00002f, -1.00002f};
  float az[2], pl[2];
  cc2lln(az, pl, x, y, z, 2);
  EXPECT_EQ(cap.text(), "");
  // Exact: atan2(z, 0) is +-pi/2 in float.
  EXPECT_EQ(pl[0], std::atan2(1.0f, 0.0f));
  EXPECT_EQ(pl[1], -std::atan2(1.0f, 0.0f));
}

TEST_F(VectorsTest, Cc2llnSkipsAVectorWithoutDirection) {
  testing::ConsoleCapture cap("\n\n");
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float x[] = {0.0f, 1.0f, nan};
  const float y[] = {0.0f, 0.0f, 0.0f};
  const float z[] = {0.0f, 0.0f, 0.0f};
  float az[3] = {7.0f, 7.0f, 7.0f}, pl[3] = {8.0f, 8.0f, 8.0f};
  cc2lln(az, pl, x, y, z, 3);
  // The zero and NaN points keep what was there; the middle one is converted.
  EXPECT_EQ(az[0], 7.0f);
  EXPECT_EQ(pl[0], 8.0f);
  EXPECT_EQ(az[1], 0.0f);
  EXPECT_EQ(pl[1], 0.0f);
  EXPECT_EQ(az[2], 7.0f);
  EXPECT_EQ(pl[2], 8.0f);
  const auto lines = cap.lines();
  int skipped = 0;
  for (const auto& l : lines) skipped += l == " ==> No direction: point skipped";
  EXPECT_EQ(skipped, 2);
  EXPECT_NE(cap.text().find(" Loop current index =      1\n"), std::string::npos);
  EXPECT_NE(cap.text().find(" Loop current index =      3\n"), std::string::npos);
  EXPECT_NE(cap.text().find(" ||V|| =   0.0000\n"), std::string::npos);
  EXPECT_EQ(cap.text().find("Normalizing"), std::string::npos);
}

TEST_F(VectorsTest, Euler2RotatesTheFirstAxis) {
  float x[3];
  const float zero[3] = {0.0f, 0.0f, 0.0f};
  euler2(x, zero);
  // Exact.
  EXPECT_EQ(x[0], 1.0f);
  EXPECT_EQ(x[1], 0.0f);
  EXPECT_EQ(x[2], 0.0f);

  const float quarter[3] = {anglerad.pi1o2, 0.0f, 0.0f};
  euler2(x, quarter);
  // Up to float rounding of cos(pi/2).
  EXPECT_NEAR(x[0], 0.0f, 1e-7f);
  EXPECT_NEAR(x[1], 1.0f, 1e-7f);
  EXPECT_NEAR(x[2], 0.0f, 1e-7f);

  // Rz(e1) Rx(e2) Rz(e3) e_x with e3 = pi/2 gives Rz(e1) (0, cos e2, sin e2).
  const float e[3] = {0.3f, 0.7f, anglerad.pi1o2};
  euler2(x, e);
  EXPECT_NEAR(x[0], -std::sin(0.3f) * std::cos(0.7f), 1e-6f);
  EXPECT_NEAR(x[1], std::cos(0.3f) * std::cos(0.7f), 1e-6f);
  EXPECT_NEAR(x[2], std::sin(0.7f), 1e-6f);
}

}  // namespace
}  // namespace polarsketch::math
