// Statistics of unit vectors: directions, Fisher's mean, the orientation
// tensor and the girdle, and which values stay undefined.
#include "analysis/statistics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace polarsketch::analysis {
namespace {

constexpr double kRad = std::numbers::pi / 180;

Vector3 line(double trend, double plunge) {
  return {std::cos(plunge * kRad) * std::cos(trend * kRad),
          std::cos(plunge * kRad) * std::sin(trend * kRad), std::sin(plunge * kRad)};
}

Vector3 unit(Vector3 v) {
  const double r = std::hypot(v[0], v[1], v[2]);
  return {v[0] / r, v[1] / r, v[2] / r};
}

TEST(StatisticsTest, TrendAndPlungeOfVectors) {
  struct Case {
    Vector3 v;
    double trend, plunge;
  };
  const Case cases[] = {
      {{3, 2, 1}, 33.69, 15.50}, {{1, 0, 0}, 0, 0},
      {{0, -1, 0}, 270, 0},      {{-1, 0, -1}, 0, 45},  // an upward vector gives its lower end
      {{0, 0, 2}, 0, 90},
  };
  for (const auto& c : cases) {
    const TrendPlunge tp = trend_plunge(c.v);
    EXPECT_NEAR(tp.trend, c.trend, 0.005) << c.v[0] << "," << c.v[1] << "," << c.v[2];
    EXPECT_NEAR(tp.plunge, c.plunge, 0.005) << c.v[0] << "," << c.v[1] << "," << c.v[2];
  }
}

TEST(StatisticsTest, MeanOfHorizontalAndVerticalLinesPlungesHalfway) {
  const std::vector<Vector3> v{line(0, 0), line(0, 90)};
  const Statistics s = compute_statistics(v);
  ASSERT_TRUE(s.mean);
  EXPECT_NEAR(s.mean->trend, 0, 1e-9);
  EXPECT_NEAR(s.mean->plunge, 45, 1e-9);
  EXPECT_NEAR(s.resultant, std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(*s.fisher_k, 1 / (2 - std::sqrt(2.0)), 1e-12);
  EXPECT_FALSE(s.alpha95);  // the cone would pass 180 degrees
}

TEST(StatisticsTest, FisherValuesOfAClusterMatchTheirDefinitions) {
  const std::vector<Vector3> v{line(10, 40), line(20, 45), line(15, 50), line(12, 42)};
  const Statistics s = compute_statistics(v);
  const double n = 4, r = s.resultant;
  EXPECT_NEAR(*s.fisher_k, (n - 1) / (n - r), 1e-9);
  const double expected = std::acos(1 - (n - r) / r * (std::pow(20.0, 1 / (n - 1)) - 1)) / kRad;
  EXPECT_NEAR(*s.alpha95, expected, 1e-9);
  EXPECT_GT(*s.alpha95, 3);
  EXPECT_LT(*s.alpha95, 10);
}

TEST(StatisticsTest, UndefinedValuesAreEmpty) {
  const Statistics none = compute_statistics({});
  EXPECT_EQ(none.n, 0u);
  EXPECT_FALSE(none.mean || none.fisher_k || none.alpha95 || none.eigenvalues || none.girdle);

  const std::vector<Vector3> one{line(30, 20)};
  const Statistics single = compute_statistics(one);
  EXPECT_TRUE(single.mean);
  EXPECT_FALSE(single.fisher_k || single.alpha95);

  const std::vector<Vector3> same(5, line(200, 35));
  const Statistics cluster = compute_statistics(same);
  EXPECT_FALSE(cluster.fisher_k);  // R = n
  EXPECT_EQ(*cluster.alpha95, 0);
  EXPECT_NEAR((*cluster.eigenvalues)[0], 1, 1e-12);
  EXPECT_NEAR((*cluster.eigenvalues)[1], 0, 1e-12);
  EXPECT_NEAR((*cluster.eigenvalues)[2], 0, 1e-12);
  ASSERT_TRUE(cluster.eigenvectors[0]);
  EXPECT_NEAR(cluster.eigenvectors[0]->trend, 200, 1e-9);
  EXPECT_NEAR(cluster.eigenvectors[0]->plunge, 35, 1e-9);
  EXPECT_FALSE(cluster.eigenvectors[1] || cluster.eigenvectors[2]);
  EXPECT_FALSE(cluster.woodcock_k || cluster.woodcock_c || cluster.girdle || cluster.beta_axis);

  // Opposite horizontal vectors cancel up to rounding: no mean direction.
  const std::vector<Vector3> opposite{line(0, 0), line(180, 0)};
  const Statistics cancelled = compute_statistics(opposite, Directions::vectors);
  EXPECT_EQ(cancelled.resultant, 0);
  EXPECT_FALSE(cancelled.mean || cancelled.alpha95);
  EXPECT_NEAR(*cancelled.fisher_k, 0.5, 1e-12);
}

TEST(StatisticsTest, AxesAreTurnedToTheSideOfV1BeforeSumming) {
  // Oracle: the same axes written by hand on one side of the primitive (a
  // negative plunge is the upper end), summed as vectors.
  const auto pole = [](double dipdir, double dip) { return line(dipdir + 180, 90 - dip); };
  struct Case {
    const char* what;
    std::vector<Vector3> axes;
    std::vector<Vector3> one_side;
  };
  const Case cases[] = {
      {"steep planes 090/85 270/85 092/84 268/86",
       {pole(90, 85), pole(270, 85), pole(92, 84), pole(268, 86)},
       {line(270, 5), line(270, -5), line(272, 6), line(268, -4)}},
      {"lines 010/01 190/01", {line(10, 1), line(190, 1)}, {line(10, 1), line(10, -1)}},
      {"lines straddling the primitive",
       {line(100, 2), line(280, 3), line(100, 5), line(280, 1), line(95, 0)},
       {line(100, 2), line(100, -3), line(100, 5), line(100, -1), line(95, 0)}},
  };
  for (const auto& c : cases) {
    const Statistics s = compute_statistics(c.axes);
    const Statistics want = compute_statistics(c.one_side, Directions::vectors);
    ASSERT_TRUE(s.mean && want.mean) << c.what;
    EXPECT_NEAR(s.resultant, want.resultant, 1e-12) << c.what;
    EXPECT_NEAR(s.mean->trend, want.mean->trend, 1e-9) << c.what;
    EXPECT_NEAR(s.mean->plunge, want.mean->plunge, 1e-9) << c.what;
    EXPECT_NEAR(*s.fisher_k, *want.fisher_k, 1e-6 * *want.fisher_k) << c.what;
    EXPECT_NEAR(*s.alpha95, *want.alpha95, 1e-9) << c.what;
  }
  // The figures a geologist expects of the first two.
  const Statistics planes = compute_statistics(cases[0].axes);
  EXPECT_NEAR(planes.mean->trend, 270, 0.1);
  EXPECT_NEAR(planes.mean->plunge, 0.5, 0.1);
  EXPECT_GT(planes.resultant, 3.98);
  const Statistics lines = compute_statistics(cases[1].axes);
  EXPECT_NEAR(std::fmod(lines.mean->trend, 180), 10, 1e-9);
  EXPECT_NEAR(lines.mean->plunge, 0, 1e-9);
  EXPECT_NEAR(lines.resultant, 2 * std::cos(kRad), 1e-12);
}

TEST(StatisticsTest, UniformDirectionsHaveEqualEigenvalues) {
  // A Fibonacci lattice on the sphere, each direction's lower end.
  std::vector<Vector3> v;
  const std::size_t n = 20000;
  for (std::size_t i = 0; i < n; ++i) {
    const double z = 1 - (2 * static_cast<double>(i) + 1) / static_cast<double>(n);
    const double a = static_cast<double>(i) * std::numbers::pi * (3 - std::sqrt(5.0));
    const double r = std::sqrt(1 - z * z);
    v.push_back(z < 0 ? Vector3{-r * std::cos(a), -r * std::sin(a), -z}
                      : Vector3{r * std::cos(a), r * std::sin(a), z});
  }
  const Statistics s = compute_statistics(v);
  for (const double e : *s.eigenvalues) EXPECT_NEAR(e, 1.0 / 3, 1e-3);
  const auto& e = *s.eigenvalues;
  EXPECT_NEAR(e[0] + e[1] + e[2], 1, 1e-12);
  EXPECT_GE(e[0], e[1]);
  EXPECT_GE(e[1], e[2]);
}

TEST(StatisticsTest, GirdleOfPolesReturnsItsAxis) {
  // Poles of planes folded about an axis plunging 30 towards 120: they lie
  // on the great circle normal to the axis, unevenly spread.
  const Vector3 axis = line(120, 30);
  const Vector3 a = unit({-axis[1], axis[0], 0});  // horizontal, normal to the axis
  const Vector3 b{axis[1] * a[2] - axis[2] * a[1], axis[2] * a[0] - axis[0] * a[2],
                  axis[0] * a[1] - axis[1] * a[0]};
  std::vector<Vector3> poles;
  for (const double deg : {5.0, 20.0, 30.0, 40.0, 100.0, 140.0, 150.0, 160.0, 170.0}) {
    const double c = std::cos(deg * kRad), s = std::sin(deg * kRad);
    poles.push_back({c * a[0] + s * b[0], c * a[1] + s * b[1], c * a[2] + s * b[2]});
    if (poles.back()[2] < 0) poles.back() = {-poles.back()[0], -poles.back()[1], -poles.back()[2]};
  }
  const Statistics s = compute_statistics(poles);
  ASSERT_TRUE(s.beta_axis && s.girdle);
  EXPECT_NEAR(s.beta_axis->trend, 120, 1e-6);
  EXPECT_NEAR(s.beta_axis->plunge, 30, 1e-6);
  EXPECT_NEAR(s.girdle->dip_direction, 300, 1e-6);
  EXPECT_NEAR(s.girdle->dip, 60, 1e-6);
  EXPECT_NEAR((*s.eigenvalues)[2], 0, 1e-12);
  EXPECT_FALSE(s.woodcock_k || s.woodcock_c);  // s3 = 0
  EXPECT_TRUE(s.eigenvectors[0] && s.eigenvectors[1]);
}

TEST(StatisticsTest, WoodcockShapeAndStrength) {
  const std::vector<Vector3> v{line(0, 10), line(10, 20), line(350, 30), line(20, 15), line(5, 5)};
  const Statistics s = compute_statistics(v);
  const auto& e = *s.eigenvalues;
  EXPECT_NEAR(*s.woodcock_k, std::log(e[0] / e[1]) / std::log(e[1] / e[2]), 1e-12);
  EXPECT_NEAR(*s.woodcock_c, std::log(e[0] / e[2]), 1e-12);

  // s1 = s2 = 0.4, s3 = 0.2: K would be 0 over ln 2, printed as rounding
  // noise; it is left empty, C is ln 2.
  const std::vector<Vector3> even{line(0, 0), line(0, 0), line(90, 0), line(90, 0), line(0, 90)};
  const Statistics girdle = compute_statistics(even);
  EXPECT_FALSE(girdle.woodcock_k);
  EXPECT_NEAR(*girdle.woodcock_c, std::log(2.0), 1e-12);
}

}  // namespace
}  // namespace polarsketch::analysis

namespace polarsketch::analysis {
namespace {

// Copies of four axes tilted by a toward v2 and b toward v3 about v1 = 000/90
// (v2 north, v3 east): s2 = sin^2(a)/2, s3 = sin^2(b)/2, so k_i = -1/sin^2.
// For a round cluster the 95 % ellipse is the 95 % cone of Fisher, which
// has its own small-sample formula; with many data they agree.
TEST(StatisticsTest, BinghamConcentrationsAndEllipseMatchTheTensorAndFisher) {
  const struct {
    double a, b;
    int copies;
  } cases[] = {{5, 5, 100}, {4, 8, 100}, {10, 3, 400}};
  for (const auto& c : cases) {
    std::vector<Vector3> v;
    for (int i = 0; i < c.copies; ++i)
      for (const Vector3& x : {line(0, 90 - c.a), line(180, 90 - c.a), line(90, 90 - c.b),
                               line(270, 90 - c.b)})
        v.push_back(x);
    const Statistics s = compute_statistics(v);
    const double sa = std::sin(c.a * kRad), sb = std::sin(c.b * kRad);
    const bool a_wider = c.a > c.b;
    ASSERT_TRUE(s.bingham_k2 && s.bingham_k3 && s.bingham_semi_v2 && s.bingham_semi_v3);
    EXPECT_NEAR(*s.bingham_k2, -1 / (a_wider ? sa * sa : sb * sb), 1e-6 / (sa * sb));
    EXPECT_NEAR(*s.bingham_k3, -1 / (a_wider ? sb * sb : sa * sa), 1e-6 / (sa * sb));
    EXPECT_GT(*s.bingham_semi_v2, *s.bingham_semi_v3);
    if (c.a == c.b) {
      ASSERT_TRUE(s.alpha95);
      EXPECT_NEAR(*s.bingham_semi_v2, *s.alpha95, 0.005 * *s.alpha95);
    }
    // Four times the data: half the ellipse.
    std::vector<Vector3> more;
    for (int i = 0; i < 4; ++i) more.insert(more.end(), v.begin(), v.end());
    EXPECT_NEAR(*compute_statistics(more).bingham_semi_v2, *s.bingham_semi_v2 / 2, 1e-9);
  }
}

}  // namespace
}  // namespace polarsketch::analysis
