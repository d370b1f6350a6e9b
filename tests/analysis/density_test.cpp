// Density methods: known values, axial symmetry, the hemisphere mean of 1 MUD,
// and the fast evaluation against the brute-force sum.
#include "analysis/density.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

namespace polarsketch::analysis {
namespace {

constexpr DensityMethod kMethods[] = {DensityMethod::exp_kamb, DensityMethod::kamb,
                                      DensityMethod::linear_kamb, DensityMethod::schmidt};

Vector3 line(double trend, double plunge) {
  constexpr double r = std::numbers::pi / 180;
  return {std::cos(plunge * r) * std::cos(trend * r), std::cos(plunge * r) * std::sin(trend * r),
          std::sin(plunge * r)};
}

// Directions evenly spread over the whole sphere (a Fibonacci lattice).
std::vector<Vector3> sphere_lattice(std::size_t n) {
  std::vector<Vector3> v;
  for (std::size_t i = 0; i < n; ++i) {
    const double z = 1 - (2 * static_cast<double>(i) + 1) / static_cast<double>(n);
    const double a = static_cast<double>(i) * std::numbers::pi * (3 - std::sqrt(5.0));
    const double r = std::sqrt(1 - z * z);
    v.push_back({r * std::cos(a), r * std::sin(a), z});
  }
  return v;
}

// A cluster, a girdle through the primitive and scattered directions, as
// lower-hemisphere vectors.
std::vector<Vector3> random_set(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> spread(0, 8);
  std::uniform_real_distribution<double> angle(0, 360), unit(0, 1);
  std::vector<Vector3> v;
  for (std::size_t i = 0; i < n; ++i) {
    Vector3 p;
    switch (i % 3) {
      case 0:
        p = line(40 + spread(rng), 60 + spread(rng));
        break;
      case 1:
        p = line(angle(rng), std::abs(spread(rng)));
        break;  // near the primitive
      default:
        p = line(angle(rng), std::asin(unit(rng)) * 180 / std::numbers::pi);
        break;
    }
    if (p[2] < 0) p = {-p[0], -p[1], -p[2]};
    v.push_back(p);
  }
  return v;
}

TEST(DensityTest, OnePointHasItsKernelsPeakAndNothingFarAway) {
  // One point, sigma 3: Kamb's counting area is A = 9 / 10 of the sphere.
  const double f = 2 * (1 + 1.0 / 9);
  struct Case {
    DensityMethod method;
    double at_point;
  };
  const Case cases[] = {{DensityMethod::kamb, 10.0 / 9},
                        {DensityMethod::linear_kamb, 2 / 0.9},
                        {DensityMethod::schmidt, 100},
                        {DensityMethod::exp_kamb, f / -std::expm1(-f)}};
  const std::vector<Vector3> point{line(30, 50)};
  const std::vector<Vector3> nodes{line(30, 50), line(210, 40)};  // the point, 90 degrees off
  for (const auto& c : cases) {
    const auto d = density(point, nodes, {c.method, 3, DensityUnits::mud});
    EXPECT_NEAR(d[0], c.at_point, 1e-12) << method_name(c.method);
    EXPECT_NEAR(d[1], c.method == DensityMethod::exp_kamb ? f / std::expm1(f) : 0, 1e-12)
        << method_name(c.method);
  }
}

TEST(DensityTest, SigmaUnitsDivideByTheLiteraturesStandardDeviation) {
  // One point at the node, sigma 3. Kamb (1959): the count over
  // sqrt(n A (1 - A)) with A = 9 / 10; Vollmer (1995): the weight sum over
  // sqrt(n (f/2 - 1)) / f with f = 2 (1 + n / 9).
  const double f = 2 * (1 + 1.0 / 9);
  const double kamb_sd = std::sqrt(0.9 * 0.1);
  struct Case {
    DensityMethod method;
    double at_point;
  };
  const Case cases[] = {{DensityMethod::kamb, 1 / kamb_sd},
                        {DensityMethod::linear_kamb, 2 / kamb_sd},  // weight 2 at the node
                        {DensityMethod::exp_kamb, f / std::sqrt(f / 2 - 1)}};
  const std::vector<Vector3> point{line(30, 50)};
  for (const auto& c : cases) {
    const auto d = density(point, point, {c.method, 3, DensityUnits::sigma});
    EXPECT_NEAR(d[0], c.at_point, 1e-12) << method_name(c.method);
  }
}

TEST(DensityTest, DataAreAxialAcrossThePrimitive) {
  // A direction and its opposite count the same; a point just below the
  // primitive counts at the node just beyond it on the other side.
  const std::vector<Vector3> pair{line(90, 2), line(270, -2)};
  const std::vector<Vector3> twice{line(90, 2), line(90, 2)};
  const std::vector<Vector3> nodes{line(90, 2), line(270, 0), line(270, 5), line(80, 1),
                                   line(0, 90)};
  for (const auto method : kMethods) {
    const DensityOptions options{method, 3, DensityUnits::mud};
    EXPECT_EQ(density(pair, nodes, options), density(twice, nodes, options)) << method_name(method);
    const auto d = density(twice, nodes, options);
    EXPECT_GT(d[1], 0) << method_name(method);
  }
}

TEST(DensityTest, HemisphereMeanIsOneMudAndSigmaUnitsSitAtSigma) {
  // The density's mean over the sphere (the hemisphere twice, data being
  // axial), by an evenly spread lattice of nodes.
  const auto points = random_set(300, 7);
  const auto nodes = sphere_lattice(50000);
  struct Case {
    DensityMethod method;
    DensityUnits units;
    double mean;
  };
  const Case cases[] = {{DensityMethod::exp_kamb, DensityUnits::mud, 1},
                        {DensityMethod::kamb, DensityUnits::mud, 1},
                        {DensityMethod::linear_kamb, DensityUnits::mud, 1},
                        {DensityMethod::schmidt, DensityUnits::mud, 1},
                        {DensityMethod::kamb, DensityUnits::sigma, 3},
                        {DensityMethod::linear_kamb, DensityUnits::sigma, 3},
                        {DensityMethod::exp_kamb, DensityUnits::sigma, 3}};
  for (const auto& c : cases) {
    const auto d = density(points, nodes, {c.method, 3, c.units});
    double sum = 0;
    for (const double v : d) sum += v;
    EXPECT_NEAR(sum / static_cast<double>(d.size()), c.mean, 2e-3 * c.mean)
        << method_name(c.method) << " " << units_name(c.units);
  }
}

TEST(DensityTest, FastEvaluationEqualsTheBruteForceSum) {
  auto nodes = random_set(400, 99);
  for (int k = 0; k < 72; ++k) nodes.push_back(line(5.0 * k, 0));  // on the primitive
  nodes.push_back(line(0, 90));
  for (const std::size_t n : {1u, 2u, 50u, 2000u, 30000u}) {
    const auto points = random_set(n, static_cast<unsigned>(n));
    for (const auto method : kMethods) {
      for (const double sigma : {3.0, 2.0}) {
        const DensityOptions options{method, sigma, DensityUnits::mud};
        const auto fast = density(points, nodes, options);
        const auto slow = density_brute_force(points, nodes, options);
        const double peak = *std::max_element(slow.begin(), slow.end());
        double worst = 0;
        for (std::size_t i = 0; i < nodes.size(); ++i)
          worst = std::max(worst, std::abs(fast[i] - slow[i]));
        EXPECT_LE(worst, 1e-9 * peak) << method_name(method) << " n " << n << " sigma " << sigma;
      }
    }
  }
}

TEST(DensityTest, NamesAndBadOptions) {
  for (const auto method : kMethods) EXPECT_EQ(parse_method(method_name(method)), method);
  EXPECT_FALSE(parse_method("kde"));
  EXPECT_EQ(parse_units("sigma"), DensityUnits::sigma);
  EXPECT_EQ(parse_units("mud"), DensityUnits::mud);
  const std::vector<Vector3> points{line(0, 45)};
  EXPECT_THROW(density(points, points, {DensityMethod::kamb, 0, DensityUnits::mud}),
               std::invalid_argument);
  EXPECT_THROW(density(points, points, {DensityMethod::schmidt, 3, DensityUnits::sigma}),
               std::invalid_argument);
  EXPECT_THROW(density(points, points, {DensityMethod::kamb, 1e300, DensityUnits::mud}),
               std::invalid_argument);
  EXPECT_EQ(density({}, points, {}), std::vector<double>{0.0});
  EXPECT_THROW(density(points, points, {DensityMethod::exp_kamb, 0.9 * kMinSigma, DensityUnits::mud}),
               std::invalid_argument);
}

TEST(DensityTest, TheEndsOfTheSigmaRangeGiveFiniteDensities) {
  const std::vector<Vector3> points = sphere_lattice(100000);
  const std::vector<Vector3> nodes{line(0, 90), line(10, 45), points[7]};
  for (const auto method : {DensityMethod::exp_kamb, DensityMethod::kamb, DensityMethod::linear_kamb})
    for (const double sigma : {kMinSigma, kMaxSigma})
      for (const auto units : {DensityUnits::mud, DensityUnits::sigma})
        for (const double d : density(points, nodes, {method, sigma, units}))
          EXPECT_TRUE(std::isfinite(d) && d >= 0) << method_name(method) << " " << sigma << ": " << d;
}

}  // namespace
}  // namespace polarsketch::analysis

namespace polarsketch::analysis {
namespace {

// Every method of the table, a new one included without a change here: its
// name parses back, its uniform sample's mean is 1 MUD (and sigma in sigma
// units, which a method without them refuses), and the fast evaluation is
// the brute-force sum.
TEST(DensityTest, EveryMethodOfTheTableKeepsTheUnitsAndTheFastSum) {
  const auto points = random_set(300, 7);
  const auto nodes = sphere_lattice(50000);
  ASSERT_EQ(density_methods().front().method, DensityOptions{}.method);
  for (const DensityMethodEntry& m : density_methods()) {
    EXPECT_EQ(parse_method(m.name), m.method);
    EXPECT_FALSE(m.description.empty()) << m.name;
    for (const DensityUnits units : {DensityUnits::mud, DensityUnits::sigma}) {
      const DensityOptions options{m.method, 3, units};
      if (units == DensityUnits::sigma && !m.sigma_units) {
        EXPECT_THROW(density(points, nodes, options), std::invalid_argument) << m.name;
        continue;
      }
      const auto d = density(points, nodes, options);
      double sum = 0;
      for (const double v : d) sum += v;
      const double expected = units == DensityUnits::mud ? 1 : 3;
      EXPECT_NEAR(sum / static_cast<double>(d.size()), expected, 2e-3 * expected) << m.name;
      const auto slow = density_brute_force(points, nodes, options);
      const double peak = *std::max_element(slow.begin(), slow.end());
      for (std::size_t i = 0; i < d.size(); i += 97) EXPECT_NEAR(d[i], slow[i], 1e-9 * peak);
    }
  }
}

}  // namespace
}  // namespace polarsketch::analysis
