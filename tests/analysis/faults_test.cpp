#include "analysis/faults.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace polarsketch::analysis {
namespace {

Vector3 axis(double trend, double plunge) { return data::to_vector(data::Line{trend, plunge}); }

// The angle in degrees between two axes (either end).
double axis_angle(const Vector3& a, const Vector3& b) {
  const double c = std::abs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
  return std::acos(std::min(1.0, c)) * 180 / 3.14159265358979323846;
}

TEST(FaultVectors, HangingWallSlipAndUpwardNormalFollowAkiRichards) {
  // 000/60 (dip direction 090) rake -90 slips down toward 090, plunge 60.
  const FaultVectors f = fault_vectors({90, 60}, -90);
  EXPECT_LT(axis_angle(f.slip, axis(90, 60)), 1e-9);
  EXPECT_GT(f.slip[2], 0);  // down: normal
  EXPECT_LT(f.normal[2], 0);
  EXPECT_GT(f.normal[1], 0);  // up, into the hanging wall on the east
  // Rake +90 moves the hanging wall up the dip.
  EXPECT_LT(fault_vectors({90, 60}, 90).slip[2], 0);
}

TEST(FaultVectors, ArrowsPointTheWayTheHangingWallMoves) {
  const struct {
    data::Plane plane;
    double rake, azimuth;
  } cases[] = {
      {{90, 60}, -90, 90},   // normal: outward, down the dip
      {{90, 60}, 90, 270},   // reverse: inward, up the dip
      {{90, 90}, 180, 180},  // dextral on a N-S plane: the east side moves south
      {{90, 90}, 0, 0},      // sinistral: north
      {{90, 90}, -90, 90},   // vertical dip-slip: the dip direction's side down
  };
  for (const auto& c : cases)
    EXPECT_NEAR(slip_azimuth(fault_vectors(c.plane, c.rake), c.plane), c.azimuth, 1e-9) << c.rake;
}

TEST(FaultVectors, PTBOfTheFourAndersonianFaults) {
  struct Case {
    data::Plane plane;
    double rake;
    char sense;
    Vector3 p, t, b;
  } cases[] = {
      {{90, 45}, -90, 'N', axis(0, 90), axis(90, 0), axis(0, 0)},
      {{90, 45}, 90, 'R', axis(90, 0), axis(0, 90), axis(0, 0)},
      {{90, 90}, 180, 'D', axis(45, 0), axis(135, 0), axis(0, 90)},
      {{90, 90}, 0, 'S', axis(135, 0), axis(45, 0), axis(0, 90)},
      // The worked check: 000/60 rake -90 gives P 270/75, T 090/15, B 180/00.
      {{90, 60}, -90, 'N', axis(270, 75), axis(90, 15), axis(180, 0)},
  };
  for (const Case& c : cases) {
    const KinematicAxes a = kinematic_axes(fault_vectors(c.plane, c.rake));
    EXPECT_LT(axis_angle(a.p, c.p), 1e-9) << c.sense;
    EXPECT_LT(axis_angle(a.t, c.t), 1e-9) << c.sense;
    EXPECT_LT(axis_angle(a.b, c.b), 1e-9) << c.sense;
    EXPECT_EQ(sense_letter(c.rake), c.sense);
  }
  // At theta 30 P stays normal to T and lies 30 degrees from the plane.
  const KinematicAxes a = kinematic_axes(fault_vectors({90, 60}, -90), 30);
  EXPECT_NEAR(axis_angle(a.p, a.t), 90, 1e-9);
  EXPECT_NEAR(axis_angle(a.p, fault_vectors({90, 60}, -90).normal), 60, 1e-9);
}

TEST(Dihedra, OneFaultAndAConjugatePair) {
  const FaultVectors normal_fault = fault_vectors({90, 60}, -90);
  const KinematicAxes a = kinematic_axes(normal_fault);
  const FaultVectors one[] = {normal_fault};
  EXPECT_EQ(dihedra_share(one, a.p), 1.0);
  EXPECT_EQ(dihedra_share(one, a.t), 0.0);
  EXPECT_EQ(dihedra_share(one, a.b), 0.5);  // on both nodal planes
  const FaultVectors pair[] = {normal_fault, fault_vectors({270, 60}, -90)};
  EXPECT_EQ(dihedra_share(pair, axis(0, 90)), 1.0);
  EXPECT_EQ(dihedra_share(pair, axis(90, 0)), 0.0);
  EXPECT_EQ(dihedra_share(pair, axis(0, 0)), 0.5);
}

// A known tensor, the slips it drives on many planes, the tensor recovered.
TEST(StressInversion, RecoversASyntheticTensorWithItsSigns) {
  const Vector3 s1 = axis(30, 60);
  const Vector3 s2 = axis(210, 30);
  const Vector3 s3 = {s1[1] * s2[2] - s1[2] * s2[1], s1[2] * s2[0] - s1[0] * s2[2],
                      s1[0] * s2[1] - s1[1] * s2[0]};
  const double values[] = {1.0, 0.3, 0.0};  // Phi 0.3, R 0.7
  std::array<double, 9> tensor{};
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 0; j < 3; ++j)
      tensor[3 * i + j] = values[0] * s1[i] * s1[j] + values[1] * s2[i] * s2[j] +
                          values[2] * s3[i] * s3[j];
  std::vector<FaultVectors> faults;
  for (int k = 0; k < 60; ++k) {  // normals spread over the upper hemisphere
    const double z = -(k + 0.5) / 60.0;
    const double r = std::sqrt(1 - z * z), a = 2.39996322972865332 * k;
    const Vector3 n = {r * std::cos(a), r * std::sin(a), z};
    const Vector3 tau = resolved_shear(tensor, n);
    const double l = std::sqrt(tau[0] * tau[0] + tau[1] * tau[1] + tau[2] * tau[2]);
    faults.push_back({n, {tau[0] / l, tau[1] / l, tau[2] / l}});
  }
  for (const StressMethodInfo& m : stress_methods()) {
    const StressResult exact = invert_stress(faults, m.method, true);
    EXPECT_LT(axis_angle(exact.axes[0], s1), 1e-4) << m.name;
    EXPECT_LT(axis_angle(exact.axes[2], s3), 1e-4) << m.name;
    EXPECT_NEAR(exact.phi, 0.3, 1e-6) << m.name;
    EXPECT_NEAR(exact.r, 0.7, 1e-6) << m.name;
    EXPECT_LT(exact.mean_ang, 1e-3) << m.name;
    // One step is biased but keeps sigma1 and sigma3 apart.
    const StressResult once = invert_stress(faults, m.method, false);
    EXPECT_LT(axis_angle(once.axes[0], s1), 20) << m.name;
    EXPECT_LT(axis_angle(once.axes[2], s3), 20) << m.name;
  }
  // A normal fault's slip under vertical compression: ANG 0.
  const FaultVectors nf = fault_vectors({90, 60}, -90);
  const Vector3 tau = resolved_shear({0, 0, 0, 0, 0, 0, 0, 0, 1}, nf.normal);
  EXPECT_GT(tau[0] * nf.slip[0] + tau[1] * nf.slip[1] + tau[2] * nf.slip[2], 0);
}

TEST(KnownFaults, SkipsAndCountsSlipsOfUnknownSense) {
  const data::Slip slips[] = {{{90, 60}, {}, -90, true}, {{10, 30}, {}, 20, false},
                              {{200, 80}, {}, 170, true}};
  const KnownFaults k = known_faults(slips);
  EXPECT_EQ(k.faults.size(), 2u);
  EXPECT_EQ(k.skipped, 1u);
  EXPECT_EQ(k.rows, (std::vector<std::size_t>{0, 2}));
}

}  // namespace
}  // namespace polarsketch::analysis
