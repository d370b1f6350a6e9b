// Conversions between planes, lines, rakes and vectors against directions
// worked out by hand.
#include "data/measurements.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/vectors.hpp"

namespace polarsketch::data {
namespace {

// Lines are axes: compare their vectors, either end.
void expect_same_axis(const Line& got, const Line& want) {
  const Vector3 a = to_vector(got);
  const Vector3 b = to_vector(want);
  const double d = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  EXPECT_NEAR(std::abs(d), 1.0, 1e-12)
      << got.trend << "/" << got.plunge << " vs " << want.trend << "/" << want.plunge;
}

TEST(Measurements, VectorsPointNorthEastDown) {
  const struct {
    Line line;
    Vector3 v;
  } cases[] = {{{0, 0}, {1, 0, 0}},
               {{90, 0}, {0, 1, 0}},
               {{123, 90}, {0, 0, 1}},
               {{180, 60}, {-0.5, 0, std::sqrt(3.0) / 2}}};
  for (const auto& c : cases) {
    const Vector3 v = to_vector(c.line);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(v[i], c.v[i], 1e-15) << c.line.trend;
  }
  // The upward end of an axis comes back as its downward end; length is ignored.
  const Line l = to_line({0, -2, -2});
  EXPECT_NEAR(l.trend, 90, 1e-12);
  EXPECT_NEAR(l.plunge, 45, 1e-12);
  EXPECT_EQ(to_line({-1, -1e-300, 0}).trend, 180.0);
  EXPECT_EQ(to_line({0, 0, 0}).plunge, 0.0);
}

TEST(Measurements, PolesAndPlanes) {
  const Line pole = pole_of(Plane{90, 30});
  EXPECT_DOUBLE_EQ(pole.trend, 270);
  EXPECT_DOUBLE_EQ(pole.plunge, 60);
  EXPECT_DOUBLE_EQ(pole_of(Plane{300, 0}).plunge, 90);
  const Plane p = plane_with_pole(Line{270, 60});
  EXPECT_DOUBLE_EQ(p.dip_direction, 90);
  EXPECT_DOUBLE_EQ(p.dip, 30);
  // An upward pole names the same plane as its downward end.
  const Plane q = plane_with_pole(Line{90, -60});
  EXPECT_DOUBLE_EQ(q.dip_direction, 90);
  EXPECT_DOUBLE_EQ(q.dip, 30);
}

TEST(Measurements, RakeFollowsTheStrikeAndTurnsDownTheDipWhenNegative) {
  const struct {
    Plane plane;
    double rake;
    Line line;
  } cases[] = {
      {{90, 45}, -90, {90, 45}},    // down the dip
      {{90, 45}, 90, {90, 45}},     // up the dip: the same axis
      {{90, 45}, 0, {0, 0}},        // along the strike (dip direction - 90)
      {{90, 90}, -30, {0, 30}},     // vertical plane striking north
      {{90, 90}, 30, {180, 30}},    // the same rake upward: the lower end is south
      {{180, 30}, -180, {270, 0}},  // against the strike
  };
  for (const auto& c : cases) expect_same_axis(line_from_rake(c.plane, c.rake), c.line);
  // The rake of a downward line lies in [-180, 0] and reproduces the line.
  for (double dd : {0.0, 75.0, 200.0, 359.0}) {
    for (double dip : {10.0, 45.0, 89.0}) {
      for (double rake : {-170.0, -90.0, -35.0, -1.0}) {
        const Plane plane{dd, dip};
        EXPECT_NEAR(rake_of(plane, line_from_rake(plane, rake)), rake, 1e-9);
        EXPECT_NEAR(angle_to_plane(plane, line_from_rake(plane, rake)), 0, 1e-9);
      }
    }
  }
}

TEST(Measurements, RakeMatchesTheInteractiveSlipDrawing) {
  // The interactive program turns the strike by the strike azimuth, the dip
  // and minus the rake (in single precision); the slip axes must agree.
  constexpr double kRad = std::numbers::pi / 180;
  for (double dd : {10.0, 135.0, 290.0}) {
    for (double dip : {5.0, 40.0, 85.0}) {
      for (double rake : {-160.0, -90.0, -20.0, 0.0, 45.0, 120.0}) {
        const float e[3] = {static_cast<float>((dd - 90) * kRad), static_cast<float>(dip * kRad),
                            static_cast<float>(-rake * kRad)};
        float x[3];
        math::euler2(x, e);
        const Vector3 v = to_vector(line_from_rake(Plane{dd, dip}, rake));
        const double cosine = v[0] * double{x[0]} + v[1] * double{x[1]} + v[2] * double{x[2]};
        EXPECT_NEAR(std::abs(cosine), 1.0, 1e-6) << dd << " " << dip << " " << rake;
      }
    }
  }
}

TEST(Measurements, AngleToPlane) {
  EXPECT_NEAR(angle_to_plane(Plane{90, 30}, Line{270, 60}), 90, 1e-9);  // its pole
  EXPECT_NEAR(angle_to_plane(Plane{90, 30}, Line{90, 0}), 30, 1e-9);    // the dip
  EXPECT_NEAR(angle_to_plane(Plane{90, 30}, Line{0, 0}), 0, 1e-9);      // the strike
}

TEST(Measurements, DataSetVectorsArePolesLinesAndSlipLines) {
  DataSet planes;
  planes.planes = {{90, 30}, {0, 0}};
  ASSERT_EQ(planes.size(), 2u);
  EXPECT_NEAR(planes.unit_vectors()[1][2], 1.0, 1e-15);
  DataSet slips;
  slips.kind = Kind::slips;
  slips.slips = {Slip{{90, 45}, {90, 45}, -90}};
  ASSERT_EQ(slips.size(), 1u);
  EXPECT_NEAR(slips.unit_vectors()[0][1], std::sqrt(0.5), 1e-15);
  EXPECT_EQ(kind_name(Kind::slips), "slips");
  EXPECT_EQ((DataError{"a.csv", 3, 7, "x", "why"}.message()), "a.csv:3:7: 'x': why");
}

}  // namespace
}  // namespace polarsketch::data
