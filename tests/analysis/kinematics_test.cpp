// Slope kinematics against the definitions: planes and intersection lines
// exactly on each boundary (friction angle, apparent dip of the face,
// lateral limits, 90 degrees from the dip direction) and just past it, and a
// survey judged again in degrees by the formulas of the definitions.
#include "analysis/kinematics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace polarsketch::analysis {
namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kPast = 1e-6;  // degrees: well past the tolerance, far above rounding
using Z = std::optional<KinematicZone>;
constexpr Z kNone = std::nullopt, kPrimary = KinematicZone::primary,
            kSecondary = KinematicZone::secondary;

// The apparent dip by its definition.
double app(double dip, double azimuth) {
  return std::atan(std::tan(dip * kDeg) * std::cos(azimuth * kDeg)) / kDeg;
}

Slope slope(double dd, double dip, double phi = 30, double lambda = 20,
            LateralLimits limits = LateralLimits::straight) {
  return {dd, dip, phi, lambda, limits};
}

// The zone of the item of planes a, b (b kSinglePlane for a plane) in a mode.
Z zone_of(KinematicMode mode, const Slope& s, const std::vector<DipDirection>& planes,
          std::uint32_t a = 0, std::uint32_t b = kSinglePlane) {
  const KinematicResult r = kinematic_mode(mode).evaluate(s, planes, true);
  for (const KinematicItem& i : r.items)
    if (i.a == a && i.b == b) return i.zone;
  return kNone;
}

Vector3 line(double trend, double plunge) {
  return {std::cos(plunge * kDeg) * std::cos(trend * kDeg),
          std::cos(plunge * kDeg) * std::sin(trend * kDeg), std::sin(plunge * kDeg)};
}
double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Two planes whose intersection is the line trend/plunge: the plane dipping
// along the line, and the vertical plane through it.
std::vector<DipDirection> pair_along(double trend, double plunge) {
  return {{trend, plunge}, {trend + 90, 90}};
}

TEST(Kinematics, PlanarSlidingAtEachBoundary) {
  const LateralLimits curved = LateralLimits::curved;
  const double curved_dip = std::asin(std::sin(20 * kDeg) / std::sin(30 * kDeg)) / kDeg;
  struct Case {
    Slope s;
    DipDirection plane;
    Z zone;
  } cases[] = {
      {slope(90, 75), {90, 30}, kPrimary},                    // at the friction angle
      {slope(90, 75), {90, 30 - kPast}, kNone},               // just below it
      {slope(90, 75, 30, 30), {115, app(75, 25)}, kPrimary},  // at the face's apparent dip
      {slope(90, 75, 30, 30), {115, app(75, 25) + kPast}, kNone},
      {slope(90, 75, 30, 30), {115, 74}, kNone},       // steeper than app(75, 25) = 73.53, not 75
      {slope(90, 75), {110, 50}, kPrimary},            // on the straight lateral limit
      {slope(90, 75), {110 + kPast, 50}, kSecondary},  // just outside it
      {slope(90, 75), {115, 35}, kSecondary},          // 25 degrees off: straight ...
      {slope(90, 75, 30, 20, curved), {115, 35}, kPrimary},  // ... but 14 from the plane: curved
      {slope(90, 75, 30, 20, curved), {120, curved_dip}, kPrimary},  // on the curved limit
      {slope(90, 75, 30, 20, curved), {120, curved_dip + kPast}, kSecondary},
      {slope(90, 90, 0, 90), {180, 45}, kNone},  // 90 degrees from the dip direction
      {slope(90, 90, 0, 90), {180 - kPast, 45}, kPrimary},
      {slope(350, 75), {5, 40}, kPrimary},  // across north
      {slope(90, 75), {270, 40}, kNone},    // dips into the slope
  };
  for (const Case& c : cases)
    EXPECT_EQ(zone_of(KinematicMode::planar, c.s, {c.plane}), c.zone)
        << c.plane.dip_direction << "/" << c.plane.dip;
}

TEST(Kinematics, WedgeSlidingAtEachBoundaryOfItsIntersection) {
  const double phi_app = app(30, 40), face_app = app(75, 40);
  struct Case {
    Slope s;
    double trend, plunge;
    Z zone;
  } cases[] = {
      {slope(90, 75), 90, 30, kPrimary},  // plunging at the friction angle
      {slope(90, 75), 90, 30 - kPast, kNone},
      {slope(90, 75), 130, face_app, kPrimary},  // at the face's apparent dip
      {slope(90, 75), 130, face_app + kPast, kNone},
      {slope(90, 75), 130, 25, kSecondary},  // below phi, above phi's apparent dip
      {slope(90, 75), 130, phi_app, kSecondary},
      {slope(90, 75), 130, phi_app - kPast, kNone},
      {slope(90, 75, 30, 0), 160, 15, kSecondary},  // no lateral limit for wedges
      // 90 degrees from the dip direction: valid, but it does not daylight.
      {slope(90, 90, 0), 180, 45, kNone},
      {slope(90, 90, 0), 0, 45, kNone},
      {slope(90, 90, 0), 180 - kPast, 45, kPrimary},
  };
  for (const Case& c : cases) {
    const KinematicResult r =
        kinematic_mode(KinematicMode::wedge).evaluate(c.s, pair_along(c.trend, c.plunge), true);
    EXPECT_EQ(r.total, 1u);
    EXPECT_EQ(zone_of(KinematicMode::wedge, c.s, pair_along(c.trend, c.plunge), 0, 1), c.zone)
        << c.trend << "/" << c.plunge;
  }
}

TEST(Kinematics, ParallelPairsAreLeftOutOfTheDenominatorAndCounted) {
  // 090/40 twice (within rounding), and one vertical plane by its two descriptions.
  const std::vector<DipDirection> planes{{90, 40}, {90, 40 + 1e-12}, {0, 90}, {180, 90}};
  for (const KinematicMode mode : {KinematicMode::wedge, KinematicMode::direct}) {
    const KinematicResult r = kinematic_mode(mode).evaluate(slope(90, 75), planes, false);
    EXPECT_EQ(r.parallel_pairs, 2u);
    EXPECT_EQ(r.total, 4u);
  }
  const KinematicResult r =
      kinematic_mode(KinematicMode::planar).evaluate(slope(90, 75), planes, false);
  EXPECT_EQ(r.total, 4u);
  EXPECT_EQ(r.parallel_pairs, 0u);
}

TEST(Kinematics, ASlopeNoSteeperThanFrictionHasNoSlidingZone) {
  const std::vector<DipDirection> planes{{90, 30}, {60, 35}, {120, 35}};
  struct Case {
    double dip;
    bool zone;
  } cases[] = {{25, false}, {30, false}, {30 + kPast, true}, {60, true}};
  for (const Case& c : cases) {
    for (const KinematicMode mode : {KinematicMode::planar, KinematicMode::wedge}) {
      const KinematicResult r = kinematic_mode(mode).evaluate(slope(90, c.dip), planes, false);
      EXPECT_EQ(r.has_zone, c.zone) << c.dip;
      if (!c.zone) {
        EXPECT_EQ(r.primary + r.secondary, 0u);
      }
    }
  }
  EXPECT_TRUE(
      kinematic_mode(KinematicMode::flexural).evaluate(slope(90, 30), planes, false).has_zone);
}

TEST(Kinematics, FlexuralTopplingOfPlanesDippingIntoTheSlope) {
  // Slope 090/60, phi 30: the slip-limit plane dips 30; a plane dipping
  // against the slope must dip at least 90 - 60 + 30 = 60.
  struct Case {
    DipDirection plane;
    Z zone;
  } cases[] = {
      {{270, 60}, kPrimary},
      {{270, 60 - kPast}, kNone},
      {{270, 90}, kPrimary},
      {{250, 80}, kPrimary},  // pole trend 070: on the lateral limit
      {{245, 80}, kSecondary},
      {{90, 80}, kNone},                    // dips out of the slope
      {{250, 90 - app(30, 20)}, kPrimary},  // pole at the slip-limit plane's apparent dip
      {{250, 90 - app(30, 20) - kPast}, kNone},
  };
  for (const Case& c : cases)
    EXPECT_EQ(zone_of(KinematicMode::flexural, slope(90, 60), {c.plane}), c.zone)
        << c.plane.dip_direction << "/" << c.plane.dip;
}

TEST(Kinematics, DirectTopplingNeedsABasePlane) {
  // Slope 090/60, phi 30: lines plunging west at least 30 (90 - slope dip);
  // planes dipping less than 30 are bases.
  struct Case {
    double trend, plunge;
    Z zone;
  } cases[] = {
      {270, 30, kPrimary},   {270, 30 - kPast, kNone},
      {270, 90, kPrimary},   {250, 70, kPrimary},  // on the lateral limit about 270
      {245, 70, kSecondary}, {90, 70, kNone},      // plunging out of the slope
      {180, 60, kNone},                            // 90 degrees from 270
  };
  const DipDirection base{0, 10};
  for (const Case& c : cases) {
    std::vector<DipDirection> planes = pair_along(c.trend, c.plunge);
    EXPECT_EQ(zone_of(KinematicMode::direct, slope(90, 60), planes, 0, 1), kNone);  // no base
    planes.push_back(base);
    EXPECT_EQ(zone_of(KinematicMode::direct, slope(90, 60), planes, 0, 1), c.zone)
        << c.trend << "/" << c.plunge;
  }
  const std::vector<DipDirection> bases{{0, 30 - kPast}, {0, 30}, {180, 5}};
  EXPECT_EQ(kinematic_mode(KinematicMode::direct).evaluate(slope(90, 60), bases, false).base_planes,
            2u);
}

// The wedges of a survey judged by the definitions in degrees (trends and
// plunges by trigonometry, apparent dips by atan(tan b cos D)); random values
// never fall on a boundary.
TEST(Kinematics, ASurveysWedgesCountAsTheDefinitionsInDegrees) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> az(0, 360), dp(0.5, 89.5);
  std::vector<DipDirection> planes(150);
  for (DipDirection& p : planes) p = {az(rng), dp(rng)};
  std::size_t primary = 0, secondary = 0;
  for (std::size_t i = 0; i < planes.size(); ++i)
    for (std::size_t j = i + 1; j < planes.size(); ++j) {
      const Vector3 a = line(planes[i].dip_direction + 180, 90 - planes[i].dip);
      const Vector3 b = line(planes[j].dip_direction + 180, 90 - planes[j].dip);
      Vector3 v{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
      if (v[2] < 0) v = {-v[0], -v[1], -v[2]};
      const double plunge = std::atan2(v[2], std::hypot(v[0], v[1])) / kDeg;
      const double d = std::remainder(std::atan2(v[1], v[0]) / kDeg - 130, 360.0);
      if (std::abs(d) >= 90 || plunge > app(65, d)) continue;
      primary += plunge >= 30;
      secondary += plunge < 30 && plunge >= app(30, d);
    }
  const KinematicResult r =
      kinematic_mode(KinematicMode::wedge).evaluate(slope(130, 65), planes, false);
  EXPECT_GT(primary * secondary, 0u);
  EXPECT_EQ(r.primary, primary);
  EXPECT_EQ(r.secondary, secondary);
}

// The construction drawn on the net holds the definitions: the zone's
// outline is critical in its mode (its points lie on the boundaries), the
// face's circle lies in the face, the limits at lambda.
TEST(Kinematics, TheConstructionLiesOnTheBoundaries) {
  for (const LateralLimits limits : {LateralLimits::straight, LateralLimits::curved}) {
    const Slope s = slope(110, 65, 30, 20, limits);
    for (const KinematicModeEntry& m : kinematic_modes()) {
      const KinematicConstruction c = kinematic_construction(s, m.mode);
      ASSERT_GT(c.zone.size(), 10u) << m.name;
      for (const Vector3& v : c.zone) {
        const TrendPlunge t = trend_plunge(v);
        std::vector<DipDirection> planes =
            c.poles ? std::vector<DipDirection>{{t.trend + 180, 90 - t.plunge}}
                    : pair_along(t.trend, t.plunge);
        if (m.mode == KinematicMode::direct) planes.push_back({0, 5});
        EXPECT_EQ(zone_of(m.mode, s, planes, 0, c.poles ? kSinglePlane : 1), kPrimary)
            << m.name << " " << t.trend << "/" << t.plunge;
      }
      const Vector3 face_pole = line(s.dip_direction + 180, 90 - s.dip);
      for (const Vector3& v : c.curves.front().points) EXPECT_NEAR(dot(v, face_pole), 0, 1e-12);
      for (const ConstructionCurve& curve : c.curves) {
        if (curve.name != "lateral limit") continue;
        const Vector3 h = line(s.dip_direction + 90, 0);
        for (const Vector3& v : curve.points) {
          const double off =
              limits == LateralLimits::curved
                  ? std::asin(std::abs(dot(v, h))) / kDeg
                  : 90 - std::abs(std::remainder(trend_plunge(v).trend - s.dip_direction, 180.0));
          EXPECT_NEAR(off, limits == LateralLimits::curved ? 20 : 70, 1e-9) << m.name;
        }
      }
    }
  }
}

}  // namespace
}  // namespace polarsketch::analysis
