// Rotations: the sense of the right-hand rule in north-east-down checked by
// hand, unfolding a bed, the order of composition, the net rotation, and a
// data set rotated (planes through poles, axes back down, slips with their
// motion).
#include "analysis/rotation.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace polarsketch::analysis {
namespace {

void expect_line(const data::Line& got, double trend, double plunge, const char* what) {
  EXPECT_NEAR(got.plunge, plunge, 1e-9) << what;
  // A horizontal line is either end of its axis.
  const double period = plunge < 1e-6 ? 180.0 : 360.0;
  if (plunge < 90 - 1e-6) {
    EXPECT_NEAR(std::remainder(got.trend - trend, period), 0.0, 1e-9) << what;
  }
}

TEST(Rotation, RightHandRuleMovesLinesAsWorkedByHand) {
  const struct {
    double axis_trend, axis_plunge, angle, trend, plunge, want_trend, want_plunge;
  } cases[] = {
      {0, 90, 30, 0, 0, 30, 0},      // clockwise seen from above, looking down the axis
      {0, 90, 90, 45, 20, 135, 20},  // plunge kept about the vertical
      {0, -90, 30, 0, 0, 330, 0},    // an upward axis turns the other way
      {90, 0, 90, 0, 0, 0, 90},      // north goes up about the east axis: vertical
      {0, 0, 90, 90, 0, 0, 90},      // east goes down about the north axis
      {0, 0, -30, 270, 60, 0, 90},   // the pole of bed 090/30 to vertical
  };
  for (const auto& c : cases) {
    const Matrix3 r = axis_rotation(c.axis_trend, c.axis_plunge, c.angle);
    const data::Line got = data::to_line(rotate(r, data::to_vector(data::Line{c.trend, c.plunge})));
    expect_line(got, c.want_trend, c.want_plunge, "rotation case");
  }
}

TEST(Rotation, UnfoldingMakesTheBedHorizontalAndItsStrikeStays) {
  const struct {
    double dd, dip;
  } beds[] = {{90, 30}, {212, 67}, {0, 89}, {315, 5}};
  for (const auto& b : beds) {
    const Matrix3 r = unfolding(b.dd, b.dip);
    const Vector3 pole = rotate(r, data::to_vector(data::pole_of(data::Plane{b.dd, b.dip})));
    EXPECT_NEAR(pole[2], 1.0, 1e-12) << b.dd << "/" << b.dip;
    const data::Line strike{std::fmod(b.dd + 270, 360), 0};
    expect_line(data::to_line(rotate(r, data::to_vector(strike))), strike.trend, 0, "strike");
  }
}

TEST(Rotation, CompositionFollowsTheOrderGivenAndNetRotationInvertsIt) {
  const Matrix3 a = axis_rotation(0, 90, 90);  // vertical
  const Matrix3 b = axis_rotation(0, 0, 90);   // north
  const Vector3 east = direction(90, 0);
  // east: about the vertical to south, about north stays south (horizontal);
  // the other order: about north to down, about the vertical stays down.
  expect_line(data::to_line(rotate(followed_by(a, b), east)), 180, 0, "a then b");
  expect_line(data::to_line(rotate(followed_by(b, a), east)), 0, 90, "b then a");
  const struct {
    double trend, plunge, angle;
  } cases[] = {{30, 40, 75}, {200, 10, -120}, {0, 90, 0}, {123, 45, 180}, {10, -20, 50}};
  for (const auto& c : cases) {
    const AxisAngle net = net_rotation(axis_rotation(c.trend, c.plunge, c.angle));
    const Matrix3 back = axis_rotation(net.axis.trend, net.axis.plunge, net.angle);
    const Matrix3 given = axis_rotation(c.trend, c.plunge, c.angle);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) EXPECT_NEAR(back[i][j], given[i][j], 1e-9) << c.angle;
    EXPECT_GE(net.axis.plunge, 0);
  }
}

TEST(Rotation, SlipsKeepTheirPlaneLineAndMotionTogether) {
  data::DataSet set;
  set.kind = data::Kind::slips;
  // A normal slip, one of unknown sense, and a dextral slip.
  set.slips = {{{90, 60}, {}, -90, true}, {{90, 60}, {}, -30, false}, {{0, 80}, {}, 180, true}};
  for (data::Slip& s : set.slips) s.line = data::line_from_rake(s.plane, s.rake);
  // Half turns about a horizontal axis in the strike (overturns every plane)
  // and about the vertical (keeps every sense): the motion stays the same.
  for (const Matrix3& r : {axis_rotation(0, 0, 180), axis_rotation(0, 90, 180),
                           axis_rotation(40, 25, 70)}) {
    const data::DataSet out = rotated(set, r);
    for (std::size_t i = 0; i < set.slips.size(); ++i) {
      const data::Slip& s = out.slips[i];
      EXPECT_LT(data::angle_to_plane(s.plane, s.line), 1e-9);
      const Vector3 line = rotate(r, data::to_vector(set.slips[i].line)), l = data::to_vector(s.line);
      EXPECT_NEAR(std::abs(l[0] * line[0] + l[1] * line[1] + l[2] * line[2]), 1.0, 1e-9);
      if (!s.sense_known) continue;
      // The hanging wall's motion relative to the footwall, as a shear of
      // normal and motion, is the same couple after the rotation.
      const Vector3 n0 = rotate(r, data::to_vector(data::pole_of(set.slips[i].plane)));
      const Vector3 m0 = rotate(r, data::rake_vector(set.slips[i].plane, set.slips[i].rake));
      const Vector3 n1 = data::to_vector(data::pole_of(s.plane));
      const Vector3 m1 = data::rake_vector(s.plane, s.rake);
      for (std::size_t k = 0; k < 3; ++k)
        for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(n0[k] * m0[j], n1[k] * m1[j], 1e-9);
    }
  }
}

}  // namespace
}  // namespace polarsketch::analysis
