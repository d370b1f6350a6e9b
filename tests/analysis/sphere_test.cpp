// Sphere geometry of the page: the upper hemisphere's half turn, the view of
// a net centred off the vertical checked on directions whose place follows
// from the definition, where north is marked, and cones checked against the
// definition of a small circle (every point at the half angle from the axis
// or its opposite end, the axis being a line).
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

TEST(SphereTest, AViewTakesItsCentreToTheVerticalAndKeepsTheLineAcrossIt) {
  EXPECT_FALSE(view_rotation({0, 90}));
  EXPECT_FALSE(view_rotation({123, 90}));  // any trend: the vertical
  struct Case {
    TrendPlunge view, line, seen;
  };
  // The rotation is about (trend - 90)/00, which stays, by 90 - plunge.
  const Case cases[] = {
      {{90, 30}, {90, 30}, {0, 90}},   // the centre to the centre
      {{90, 30}, {0, 0}, {0, 0}},      // the axis of the rotation stays at the top
      {{90, 30}, {0, 90}, {270, 30}},  // the old centre rises 60 degrees westward
      {{0, 30}, {0, 90}, {180, 30}},
      {{0, 0}, {0, 0}, {0, 90}},       // a horizontal centre
      {{0, 0}, {0, 90}, {180, 0}},
      {{225, 45}, {225, 45}, {0, 90}},
  };
  for (const Case& c : cases) {
    const Matrix3 r = *view_rotation(c.view);
    const TrendPlunge seen = rotated_axis(r, c.line);
    SCOPED_TRACE(std::to_string(c.view.trend) + "/" + std::to_string(c.view.plunge));
    EXPECT_NEAR(line_angle(line(seen.trend, seen.plunge), line(c.seen.trend, c.seen.plunge)), 0,
                1e-6);
    // A plane rotates through its pole: the plane whose pole is the line.
    const DipDirection plane = rotated_plane(r, {c.line.trend + 180, 90 - c.line.plunge});
    EXPECT_NEAR(line_angle(line(plane.dip_direction + 180, 90 - plane.dip),
                           line(c.seen.trend, c.seen.plunge)),
                0, 1e-6);
  }
}

TEST(SphereTest, NorthIsMarkedWhereItFallsOrSouthWhenItIsOnTheFarSide) {
  struct Case {
    TrendPlunge view;
    Hemisphere h;
    TrendPlunge at;  // drawn as any lower-hemisphere direction is
    bool far_side;
  };
  const Case cases[] = {
      {{90, 30}, Hemisphere::lower, {0, 0}, false},      // on the rotation axis
      {{90, 30}, Hemisphere::upper, {180, 0}, false},    // its turn draws it at the top
      {{0, 30}, Hemisphere::lower, {0, 60}, false},      // 30 degrees above the centre
      {{180, 30}, Hemisphere::lower, {180, 60}, true},   // south 30 degrees below it
      {{180, 30}, Hemisphere::upper, {180, 60}, false},  // north up there, seen from above
      {{0, 0}, Hemisphere::lower, {0, 90}, false},       // north at the centre
  };
  for (const Case& c : cases) {
    const NorthMark m = north_mark(*view_rotation(c.view), c.h);
    SCOPED_TRACE(std::to_string(c.view.trend) + "/" + std::to_string(c.view.plunge));
    EXPECT_EQ(m.far_side, c.far_side);
    EXPECT_NEAR(m.at.plunge, c.at.plunge, 1e-9);
    if (c.at.plunge < 90) {
      EXPECT_NEAR(m.at.trend, c.at.trend, 1e-9);
    }
  }
}

}  // namespace
}  // namespace polarsketch::analysis
