// Orientation drawing read back from the plot file: point counts, the curves'
// geometry, axis marks in both hemispheres and slips.
#include "stereonet/orientation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "console/units.hpp"
#include "curve/running_point.hpp"
#include "math/angles.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/projections.hpp"
#include "support/test_support.hpp"

namespace polarsketch::stereonet {
namespace {

using math::rad;
using testing::ConsoleCapture;

// Device units per user unit in the test plot: large, so that the two decimals
// of the plot file resolve 1e-6 user units.
constexpr double kScale = 10000.0;

struct Pt {
  double x, y;
};
struct Path {
  std::vector<Pt> pts;
  bool polygon = false;  // closed as a polygon (the form of a negative symbol code)
};

// A plot file bound to a string ("NeWS" dialect) with subplot 1 mapping user
// units to device units by kScale, and the start projection settings.
class OrientationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    math::set_angle_constants();
    reset_projection_records();
    wulfparams.clatmax = rad(180.0f);
    schmidtparams.clatmax = rad(180.0f);
    schmidtparams.r2 = kSchmidtScale;
    sprojtype.iproj = 4;
    reset_display_settings();
    reset_orientation_buffers();
    curve::reset_ptblock();
    postscript::reset_postscript();
    plot::reset_plot_records();
    console::bind_output(console::kUnitPlotFile, ps_);
    postscript::psparams.ips = 2;
    postscript::writer().start(console::kUnitPlotFile, "test.ps");
    plot::plt1blk.isubplot = 1;
    plot::plt1blk.ustode(1, 1, 1) = static_cast<float>(kScale);
    plot::plt1blk.ustode(2, 2, 1) = static_cast<float>(kScale);
    plot::plt2blk.isymbtype = 7;
  }
  void TearDown() override { postscript::writer().reset(); }

  // Every stroked or closed path of the file, in user units.
  std::vector<Path> paths() {
    postscript::writer().flush();
    std::vector<Path> out;
    std::istringstream in(ps_.str());
    for (std::string line; std::getline(in, line);) {
      std::istringstream ls(line);
      double x = 0, y = 0;
      std::string op;
      if (ls >> x >> y >> op && (op == "moveto" || op == "lineto")) {
        if (op == "moveto") out.emplace_back();
        if (!out.empty()) out.back().pts.push_back({x / kScale, y / kScale});
      } else if (line.rfind("closepath", 0) == 0 && !out.empty()) {
        out.back().polygon = true;
      }
    }
    return out;
  }

  ConsoleCapture cap;  // bound first: it resets the unit table
  std::ostringstream ps_;
};

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Direction (x north, y east, z down) of a point of projection 4 (Schmidt,
// azimuth clockwise from +y): the inverse of the projection.
struct Dir {
  double x, y, z;
};
Dir unproject4(Pt p) {
  const double d = std::hypot(p.x, p.y);
  const double az = std::atan2(p.x, p.y);
  const double colat = 2.0 * std::asin(std::min(1.0, d / std::sqrt(2.0)));
  const double plunge = 90.0 * kDeg - colat;
  return {std::cos(plunge) * std::cos(az), std::cos(plunge) * std::sin(az), std::sin(plunge)};
}
Dir direction(double trend_deg, double plunge_deg) {
  const double t = trend_deg * kDeg, p = plunge_deg * kDeg;
  return {std::cos(p) * std::cos(t), std::cos(p) * std::sin(t), std::sin(p)};
}
double angle_deg(Dir a, Dir b) {
  const double c = a.x * b.x + a.y * b.y + a.z * b.z;
  return std::acos(std::max(-1.0, std::min(1.0, c))) / kDeg;
}
Pt centre(const Path& p) {
  // The symbol outline repeats its first point as its last.
  const std::size_t n = p.pts.size() > 1 ? p.pts.size() - 1 : 1;
  Pt c{0, 0};
  for (std::size_t i = 0; i < n; ++i) {
    c.x += p.pts[i].x;
    c.y += p.pts[i].y;
  }
  return {c.x / static_cast<double>(n), c.y / static_cast<double>(n)};
}

// Float work in a user-unit circle of radius 1: within 2e-5 user units.
constexpr double kTol = 2e-5;
// Angles recovered from those points: within 0.005 degrees.
constexpr double kAngTol = 0.005;

TEST_F(OrientationTest, GreatCircleHas40PointsNinetyDegreesFromThePole) {
  const float az = rad(30.0f), dip = rad(50.0f);
  dspgcfadn(&az, &dip, 1);
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].pts.size(), 40u);
  EXPECT_EQ(curve::ptblock.np, 40);
  const Dir pole = direction(30.0 - 90.0, 90.0 - 50.0);
  for (const Pt& q : p[0].pts) EXPECT_NEAR(angle_deg(unproject4(q), pole), 90.0, kAngTol);
  // Starts along the strike, ends opposite.
  EXPECT_NEAR(angle_deg(unproject4(p[0].pts.front()), direction(30.0, 0.0)), 0.0, kAngTol);
  EXPECT_NEAR(angle_deg(unproject4(p[0].pts.back()), direction(210.0, 0.0)), 0.0, kAngTol);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(OrientationTest, HorizontalAndVerticalPlanes) {
  const float az = 0.0f, flat = 0.0f, vertical = rad(90.0f);
  dspgcfadn(&az, &flat, 1);
  dspgcfadn(&az, &vertical, 1);
  const auto p = paths();
  ASSERT_EQ(p.size(), 2u);
  // Dip 0: half of the primitive circle from north through east to south.
  for (const Pt& q : p[0].pts) EXPECT_NEAR(std::hypot(q.x, q.y), 1.0, kTol);
  EXPECT_NEAR(p[0].pts[20].x, std::sin(20.0 * 180.0 / 39.0 * kDeg), kTol);
  EXPECT_GT(p[0].pts[20].x, 0.0);
  // Dip 90: the north-south diameter.
  for (const Pt& q : p[1].pts) EXPECT_NEAR(q.x, 0.0, kTol);
  EXPECT_NEAR(p[1].pts.front().y, 1.0, kTol);
  EXPECT_NEAR(p[1].pts.back().y, -1.0, kTol);
}

TEST_F(OrientationTest, SmallCircleCountsFollowTheArc) {
  dspscafaph(rad(40.0f), rad(20.0f), rad(30.0f), 0.0f, rad(360.0f));
  dspscafaph(rad(40.0f), rad(20.0f), rad(30.0f), rad(90.0f), rad(270.0f));
  const auto p = paths();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].pts.size(), 80u);
  // pi * 40 / pi falls just below 40 in single precision.
  EXPECT_EQ(p[1].pts.size(), 39u);
  const Dir axis = direction(40.0, 20.0);
  for (const auto& path : p) {
    for (const Pt& q : path.pts) EXPECT_NEAR(angle_deg(unproject4(q), axis), 30.0, kAngTol);
  }
  // The full circle closes on itself.
  EXPECT_NEAR(p[0].pts.front().x, p[0].pts.back().x, kTol);
  EXPECT_NEAR(p[0].pts.front().y, p[0].pts.back().y, kTol);
}

TEST_F(OrientationTest, ArcFromNinetyToTwoSeventyOfAHorizontalAxisIsTheLowerHalf) {
  dspscafaph(0.0f, 0.0f, rad(60.0f), rad(90.0f), rad(270.0f));
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  for (const Pt& q : p[0].pts) EXPECT_LE(std::hypot(q.x, q.y), 1.0 + kTol);
}

TEST_F(OrientationTest, SmallCircleOfHalfAngleZeroSitsOnItsAxis) {
  dspscafaph(rad(90.0f), rad(90.0f), 0.0f, 0.0f, rad(360.0f));
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].pts.size(), 80u);
  for (const Pt& q : p[0].pts) EXPECT_NEAR(std::hypot(q.x, q.y), 0.0, kTol);
}

TEST_F(OrientationTest, HugeArcsAreCappedNotCollapsed) {
  // 3e38 radians of arc: the count saturates and the running point caps it at
  // 1000 with its warning, instead of overflowing to a 2-point arc.
  cap.set_input("\n");
  dspscafaph(0.0f, rad(90.0f), rad(10.0f), 0.0f, 3.0e38f);
  EXPECT_EQ(curve::ptblock.np, 1000);
  EXPECT_NE(cap.text().find("===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
}

TEST_F(OrientationTest, ThousandPointGreatCirclesCapTheFullSmallCircle) {
  cap.set_input("\n");
  dspgcbk.npgc = 1000;
  const float az = 0.0f, dip = rad(45.0f);
  dspgcfadn(&az, &dip, 1);
  EXPECT_EQ(curve::ptblock.np, 1000);
  EXPECT_EQ(cap.text(), "");
  dspscafaph(0.0f, rad(90.0f), rad(30.0f), 0.0f, rad(360.0f));
  EXPECT_EQ(curve::ptblock.np, 1000);
  EXPECT_NE(cap.text().find("===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
  const auto p = paths();
  ASSERT_EQ(p.size(), 4u);  // two chunks each: 1..501 and 501..1000
  EXPECT_EQ(p[2].pts.size() + p[3].pts.size(), 1001u);
}

TEST_F(OrientationTest, AxisSymbolsInBothHemispheres) {
  const float az[3] = {rad(10.0f), 0.0f, 0.0f};
  const float pl[3] = {rad(90.0f), rad(-45.0f), rad(45.0f)};
  dspaxfapn(az, pl, 3);
  const auto p = paths();
  ASSERT_EQ(p.size(), 3u);
  // Vertical: the centre, standard symbol (type 1, an open outline).
  EXPECT_NEAR(centre(p[0]).x, 0.0, kTol);
  EXPECT_NEAR(centre(p[0]).y, 0.0, kTol);
  EXPECT_FALSE(p[0].polygon);
  // Upward at trend 0: drawn at trend 180, plunge 45 with type -1 (polygon).
  EXPECT_NEAR(angle_deg(unproject4(centre(p[1])), direction(180.0, 45.0)), 0.0, kAngTol);
  EXPECT_TRUE(p[1].polygon);
  EXPECT_NEAR(angle_deg(unproject4(centre(p[2])), direction(0.0, 45.0)), 0.0, kAngTol);
  EXPECT_FALSE(p[2].polygon);
  // The symbol type in force before is restored.
  EXPECT_EQ(plot::plt2blk.isymbtype, 7);
}

TEST_F(OrientationTest, OppositeHemisphereUsesTheNegatedStandardTypeNotTheAlternate) {
  // Alternate type 14 (a cross, two open strokes) is stored but not used: the
  // upward axis gets -4, the filled square, like the standard type negated.
  dspaxbk.iaxtyp1 = 4;
  dspaxbk.iaxtyp2 = 14;
  const float az = 0.0f, pl = rad(-45.0f);
  dspaxfapn(&az, &pl, 1);
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_TRUE(p[0].polygon);
  EXPECT_EQ(p[0].pts.size(), 5u);
  EXPECT_NEAR(angle_deg(unproject4(centre(p[0])), direction(180.0, 45.0)), 0.0, kAngTol);
}

TEST_F(OrientationTest, RadialLineAndArrowMarks) {
  dspaxbk.iaxtyp1 = 100;
  const float az[3] = {0.0f, 0.0f, 0.0f};
  const float pl[3] = {0.0f, rad(90.0f), rad(-30.0f)};
  dspaxfapn(az, pl, 3);
  dspaxbk.iaxtyp1 = 101;
  dspaxfapn(az, pl, 1);
  const auto p = paths();
  ASSERT_EQ(p.size(), 5u);
  // Trend 0, plunge 0 under projection 4: from (0, 1) outward to (0, 1.2).
  ASSERT_EQ(p[0].pts.size(), 2u);
  EXPECT_NEAR(p[0].pts[0].x, 0.0, kTol);
  EXPECT_NEAR(p[0].pts[0].y, 1.0, kTol);
  EXPECT_NEAR(p[0].pts[1].y, 1.2, kTol);
  // At the centre: a segment of zero length.
  EXPECT_NEAR(p[1].pts[0].x, p[1].pts[1].x, kTol);
  EXPECT_NEAR(p[1].pts[0].y, p[1].pts[1].y, kTol);
  // Upward axis: drawn at its lower end, pointing inward by 0.2.
  const double r0 = std::hypot(p[2].pts[0].x, p[2].pts[0].y);
  const double r1 = std::hypot(p[2].pts[1].x, p[2].pts[1].y);
  EXPECT_NEAR(r0 - r1, 0.2, kTol);
  EXPECT_LT(p[2].pts[0].y, 0.0);
  // The arrow: shaft to 60 % and a closed head ending at the tip.
  ASSERT_EQ(p[3].pts.size(), 2u);
  EXPECT_NEAR(p[3].pts[1].y, 1.12, kTol);
  ASSERT_EQ(p[4].pts.size(), 4u);
  EXPECT_NEAR(p[4].pts[2].y, 1.2, kTol);
}

TEST_F(OrientationTest, OtherAxisTypesDrawNothing) {
  dspaxbk.iaxtyp1 = 150;
  const float az = 0.0f, pl = 0.0f;
  dspaxfapn(&az, &pl, 1);
  EXPECT_TRUE(paths().empty());
}

TEST_F(OrientationTest, SlipIsDrawnAtItsSlipVector) {
  cap.set_input("\n");  // the running point warns about a single point
  dspaxbk.iaxtyp1 = 100;
  const float az[2] = {0.0f, 0.0f};
  const float dip[2] = {rad(45.0f), rad(45.0f)};
  const float rake[2] = {rad(-90.0f), 0.0f};
  dspaxfadrn(az, dip, rake, 2);
  const auto p = paths();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_NEAR(angle_deg(unproject4(p[0].pts[0]), direction(90.0, 45.0)), 0.0, kAngTol);
  // Rake 0 is the strike direction.
  EXPECT_NEAR(angle_deg(unproject4(p[1].pts[0]), direction(0.0, 0.0)), 0.0, kAngTol);
}

TEST_F(OrientationTest, OneSlipWarnsThatTheRunningPointHasOnePoint) {
  cap.set_input("\n");
  const float az = 0.0f, dip = rad(45.0f), rake = rad(90.0f);
  dspaxfadrn(&az, &dip, &rake, 1);
  EXPECT_NE(cap.text().find("===> WILL PLOT ONLY ONE POINT"), std::string::npos);
  // Rake +90 is the up-dip direction (trend 270, plunge -45), an upward axis:
  // drawn at its lower end (90, 45) with type -1.
  const auto p = paths();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_TRUE(p[0].polygon);
  EXPECT_NEAR(angle_deg(unproject4(centre(p[0])), direction(90.0, 45.0)), 0.0, kAngTol);
}

TEST_F(OrientationTest, NoSlipDrawsNothing) {
  cap.set_input("\n");
  const float none = 0.0f;
  dspaxfadrn(&none, &none, &none, 0);
  EXPECT_TRUE(paths().empty());
}

TEST_F(OrientationTest, ConeFrameColumns) {
  axfram(rad(90.0f), 0.0f);
  // Column 3 the axis (east), column 1 straight up, column 2 horizontal at az + 90.
  EXPECT_NEAR(axf.u(2, 3), 1.0f, 1e-6f);
  EXPECT_NEAR(axf.u(3, 1), -1.0f, 1e-6f);
  EXPECT_NEAR(axf.u(1, 2), -1.0f, 1e-6f);
  EXPECT_EQ(axf.u(3, 2), 0.0f);
}

}  // namespace
}  // namespace polarsketch::stereonet
