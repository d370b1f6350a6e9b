// Cone fits: a cone across the primitive fitted from lower-hemisphere axes,
// a great circle not taken for a cone, and the F tail at published points.
#include "analysis/cone.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/rotation.hpp"

namespace polarsketch::analysis {
namespace {

// Points at `half` degrees about the axis, every `step` degrees round it, with
// a small alternating wobble of the angle; stored by their lower end.
std::vector<Vector3> cone(double trend, double plunge, double half, double step, double wobble) {
  const Vector3 a = direction(trend, plunge);
  std::vector<Vector3> out;
  int i = 0;
  for (double around = 0; around < 360; around += step, ++i) {
    const double h = half + (i % 2 == 0 ? wobble : -wobble);
    // Start from the axis turned by h about a line at right angles to it.
    const Vector3 start = rotate(axis_rotation(trend + 90, 0, h), a);
    Vector3 x = rotate(axis_rotation(trend, plunge, around), start);
    if (x[2] < 0) x = Vector3{-x[0], -x[1], -x[2]};
    out.push_back(x);
  }
  return out;
}

TEST(Cone, ACrossingConeIsFittedFromLowerHemisphereAxes) {
  const struct {
    double trend, plunge, half;
  } cases[] = {{30, 10, 40}, {200, 60, 25}, {100, 0, 70}};
  for (const auto& c : cases) {
    const auto fit = fit_cone(cone(c.trend, c.plunge, c.half, 15, 0.5));
    ASSERT_TRUE(fit);
    const Vector3 got = direction(fit->axis.trend, fit->axis.plunge);
    const Vector3 want = direction(c.trend, c.plunge);
    const double cos = std::abs(got[0] * want[0] + got[1] * want[1] + got[2] * want[2]);
    EXPECT_GT(cos, std::cos(0.01 * std::numbers::pi / 180)) << c.trend << "/" << c.plunge;
    EXPECT_NEAR(fit->half_angle, c.half, 0.01);
    EXPECT_NEAR(fit->cone_rms, 0.5, 0.01);
    EXPECT_TRUE(fit->small_circle_better);
  }
}

TEST(Cone, TooFewAxesForATestOrACone) {
  // Three axes lie on a small circle (no test, no verdict); four on it are an
  // exact cone; one axis four times lies on every cone (no fit).
  const std::vector<Vector3> four = cone(30, 40, 25, 90, 0);
  const auto three = fit_cone(std::vector<Vector3>(four.begin(), four.begin() + 3));
  ASSERT_TRUE(three);
  EXPECT_FALSE(three->f || three->p || three->small_circle_better);
  EXPECT_TRUE(fit_cone(four).value().small_circle_better);
  EXPECT_FALSE(fit_cone(std::vector<Vector3>(4, four[0])));
}

TEST(Cone, AGirdleOfAxesFitsAboutItsPoleAtNinetyLessItsScatter) {
  // Axes 1 degree either side of the great circle with pole 120/30: as axes,
  // either side is the same distance from the pole, so they lie on the small
  // circle of 89 degrees, and the great circle is 1 degree off each.
  const auto fit = fit_cone(cone(120, 30, 90, 10, 1));
  ASSERT_TRUE(fit);
  EXPECT_NEAR(fit->great_rms, 1, 1e-6);
  EXPECT_NEAR(fit->half_angle, 89, 1e-6);
  const Vector3 got = direction(fit->axis.trend, fit->axis.plunge);
  const Vector3 pole = direction(fit->great_pole.trend, fit->great_pole.plunge);
  const Vector3 want = direction(120, 30);
  EXPECT_NEAR(std::abs(got[0] * want[0] + got[1] * want[1] + got[2] * want[2]), 1, 1e-9);
  EXPECT_NEAR(std::abs(pole[0] * want[0] + pole[1] * want[1] + pole[2] * want[2]), 1, 1e-9);
}

TEST(Cone, UpperTailOfFWithOneDegreeOfFreedomMatchesTables) {
  // 95 % points of F(1, d) from the published tables, and F = t^2 at 99 %.
  const struct {
    double v, d, p;
  } cases[] = {{161.45, 1, 0.05}, {4.9646, 10, 0.05}, {4.0847, 40, 0.05}, {10.044, 10, 0.01}};
  for (const auto& c : cases) EXPECT_NEAR(f1_upper_tail(c.v, c.d), c.p, 2e-5) << c.v;
}

}  // namespace
}  // namespace polarsketch::analysis
