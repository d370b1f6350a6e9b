// Sphere geometry of the page: the upper hemisphere's half turn, and cones
// checked against the definition of a small circle (every point at the half
// angle from the axis or its opposite end, the axis being a line).
#include "analysis/sphere.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace polarsketch::analysis {
namespace {

Vector3 line(double trend, double plunge) {
  constexpr double r = std::numbers::pi / 180;
  return {std::cos(plunge * r) * std::cos(trend * r), std::cos(plunge * r) * std::sin(trend * r),
          std::sin(plunge * r)};
}

// Degrees between two lines (0 to 90).
double line_angle(const Vector3& a, const Vector3& b) {
  const double c = std::abs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) /
                   std::sqrt((a[0] * a[0] + a[1] * a[1] + a[2] * a[2]));
  return std::acos(std::min(1.0, c)) * 180 / std::numbers::pi;
}

TEST(SphereTest, TheUpperHemisphereIsTheLowerTurnedHalfATurn) {
  EXPECT_EQ(turned(30.0, Hemisphere::lower), 30.0);
  EXPECT_EQ(turned(30.0, Hemisphere::upper), 210.0);
  const Point2 p = turned(Point2{0.25, -0.5}, Hemisphere::upper);
  EXPECT_EQ(p.x, -0.25);  // exact: a sign change
  EXPECT_EQ(p.y, 0.5);
  EXPECT_EQ(turned(Point2{0.25, -0.5}, Hemisphere::lower).y, -0.5);
}

TEST(SphereTest, ConesLieAtTheirHalfAngleAndSplitOnTheHorizontal) {
  struct Case {
    double trend, plunge, alpha;
  };
  const Case cases[] = {{40, 60, 10}, {40, 60, 45}, {40, 30, 45},
                        {300, 5, 20}, {0, 90, 30},  {120, 0, 15}};
  for (const Case& c : cases) {
    const auto runs = cone_runs(line(c.trend, c.plunge), c.alpha);
    // The circle reaches the horizontal when its half angle passes the axis' plunge.
    EXPECT_EQ(runs.size() > 1, c.alpha > c.plunge) << c.trend << "/" << c.plunge << " " << c.alpha;
    for (const auto& run : runs) {
      ASSERT_GE(run.size(), 2u);
      bool below = false, above = false;
      for (const Vector3& v : run) {
        // Within 0.01 degrees: a crossing is interpolated on a 2-degree chord.
        EXPECT_NEAR(line_angle(v, line(c.trend, c.plunge)), c.alpha, 0.01);
        below |= v[2] > 1e-12;
        above |= v[2] < -1e-12;
      }
      EXPECT_FALSE(below && above) << "a run crosses the horizontal";
    }
    // Each split leaves the circle on the horizontal and comes back at the
    // opposite end of that horizontal line.
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
      const Vector3 end = runs[i].back(), start = runs[i + 1].front();
      EXPECT_NEAR(end[2], 0, 1e-12);
      EXPECT_NEAR(end[0], -start[0], 1e-12);
      EXPECT_NEAR(end[1], -start[1], 1e-12);
    }
  }
}

}  // namespace
}  // namespace polarsketch::analysis
