// Projections of the net, contour lines and bands clipped to the primitive,
// the density of a net centred off the vertical, and automatic levels.
#include "analysis/contours.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/rotation.hpp"
#include "analysis/sphere.hpp"

namespace polarsketch::analysis {
namespace {

NetGrid grid_of(const std::function<double(double, double)>& f, std::size_t size = 41) {
  NetGrid g;
  g.size = size;
  g.step = 2.2 / static_cast<double>(size - 1);
  g.origin = -1.1;
  for (std::size_t j = 0; j < size; ++j)
    for (std::size_t i = 0; i < size; ++i) g.values.push_back(f(g.x(i), g.y(j)));
  return g;
}

// Even-odd membership of a point in a set of closed rings.
bool inside_rings(const std::vector<Polyline>& rings, Point2 p) {
  bool in = false;
  for (const auto& ring : rings)
    for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
      const Point2 a = ring[k], b = ring[k + 1];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x))
        in = !in;
    }
  return in;
}

TEST(ContoursTest, ProjectionsInvertEachOther) {
  struct Case {
    Projection projection;
    Vector3 v;
    Point2 p;
  };
  const double s = std::sqrt(0.5);
  const Case cases[] = {
      {Projection::equal_area, {1, 0, 0}, {0, 1}},  // north on the primitive
      {Projection::equal_area, {0, 0, 1}, {0, 0}},
      {Projection::equal_area, {0, s, s}, {std::sqrt(2.0) * std::sin(std::numbers::pi / 8), 0}},
      {Projection::equal_angle, {0, s, s}, {std::tan(std::numbers::pi / 8), 0}},
      {Projection::equal_angle, {0, -1, 0}, {-1, 0}},
  };
  for (const auto& c : cases) {
    const Point2 p = project(c.projection, c.v);
    EXPECT_NEAR(p.x, c.p.x, 1e-12);
    EXPECT_NEAR(p.y, c.p.y, 1e-12);
    const Vector3 v = inverse_projection(c.projection, p);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(v[k], c.v[k], 1e-12);
  }
  // Beyond the primitive lies the upper hemisphere.
  const Vector3 up = inverse_projection(Projection::equal_area, {0, 1.2});
  EXPECT_LT(up[2], 0);
  EXPECT_NEAR(std::hypot(up[0], up[1], up[2]), 1, 1e-12);
}

TEST(ContoursTest, CircularContourAndItsBands) {
  const NetGrid g = grid_of([](double x, double y) { return 1 - x * x - y * y; }, 81);
  const double levels[] = {0.75, 0.5};
  const Contours c = contour(g, levels);
  ASSERT_EQ(c.lines.size(), 2u);
  EXPECT_EQ(c.lines[0].level, 0.5);
  for (const auto& [level, lines] : c.lines) {
    ASSERT_EQ(lines.size(), 1u);
    const Polyline& l = lines[0];
    EXPECT_EQ(l.front().x, l.back().x);  // closed
    EXPECT_EQ(l.front().y, l.back().y);
    for (const Point2 p : l) EXPECT_NEAR(std::hypot(p.x, p.y), std::sqrt(1 - level), 2e-3);
  }
  ASSERT_EQ(c.bands.size(), 2u);
  EXPECT_EQ(c.bands[0].upper, 0.75);
  EXPECT_FALSE(c.bands[1].upper);
  EXPECT_TRUE(inside_rings(c.bands[0].rings, {0.6, 0}));
  EXPECT_FALSE(inside_rings(c.bands[0].rings, {0.2, 0}));
  EXPECT_TRUE(inside_rings(c.bands[1].rings, {0.2, 0}));
}

TEST(ContoursTest, LinesAndBandsAreClippedAtThePrimitive) {
  const NetGrid g = grid_of([](double x, double) { return x; });
  const double levels[] = {0};
  const Contours c = contour(g, levels);
  ASSERT_EQ(c.lines[0].lines.size(), 1u);
  const Polyline& l = c.lines[0].lines[0];
  for (const Point2 end : {l.front(), l.back()}) {
    EXPECT_NEAR(std::abs(end.y), 1, 1e-12);
    EXPECT_NEAR(end.x, 0, 1e-12);
  }
  double area = 0;  // shoelace
  for (const auto& ring : c.bands[0].rings)
    for (std::size_t k = 0; k + 1 < ring.size(); ++k)
      area += (ring[k].x * ring[k + 1].y - ring[k + 1].x * ring[k].y) / 2;
  EXPECT_NEAR(area, std::numbers::pi / 2, 1e-4);
  for (const auto& ring : c.bands[0].rings)
    for (const Point2 p : ring) EXPECT_LE(std::hypot(p.x, p.y), 1 + 1e-12);
}

TEST(ContoursTest, EveryNodeLiesInTheBandOfItsValue) {
  // A lumpy density with saddles and contours crossing the primitive.
  std::mt19937 rng(5);
  std::normal_distribution<double> spread(0, 0.3);
  std::vector<Vector3> points;
  for (int i = 0; i < 60; ++i) {
    const Vector3 p{spread(rng) + (i % 2 ? 1 : 0), spread(rng), spread(rng) + (i % 3 ? 0.2 : 1)};
    const double r = std::hypot(p[0], p[1], p[2]);
    points.push_back({p[0] / r, p[1] / r, p[2] / r});
  }
  const NetGrid g = density_grid(points, {DensityMethod::exp_kamb, 3, DensityUnits::mud},
                                 Projection::equal_area, 60);
  // A few round levels, and many levels nesting deeply.
  std::vector<double> many;
  for (int k = 1; k < 60; ++k) many.push_back(g.peak() * k / 60);
  for (const std::vector<double>& levels : {automatic_levels(g.peak()), many}) {
  ASSERT_GE(levels.size(), 3u);
  const Contours c = contour(g, levels);
  for (std::size_t j = 0; j < g.size; ++j)
    for (std::size_t i = 0; i < g.size; ++i) {
      const Point2 p{g.x(i), g.y(j)};
      const double v = g.at(i, j);
      const bool on_level = std::any_of(levels.begin(), levels.end(),
                                        [&](double l) { return std::abs(v - l) < 1e-9; });
      if (std::hypot(p.x, p.y) > 0.999 || on_level) continue;
      for (const Band& band : c.bands) {
        const bool expected = v >= band.lower && (!band.upper || v < *band.upper);
        EXPECT_EQ(inside_rings(band.rings, p), expected)
            << "node " << p.x << "," << p.y << " value " << v << " band " << band.lower;
      }
      // Painted in order, the last ring around the node shows its band.
      std::optional<std::size_t> painted;
      for (const FillRing& f : c.fills)
        if (inside_rings({f.ring}, p)) painted = f.band;
      const auto above = std::upper_bound(levels.begin(), levels.end(), v) - levels.begin();
      if (above > 0) {
        EXPECT_EQ(painted, static_cast<std::size_t>(above - 1)) << p.x << "," << p.y;
      } else {
        EXPECT_FALSE(painted) << p.x << "," << p.y;
      }
    }
  }
}

TEST(ContoursTest, AntipodalDensityMeetsAcrossThePrimitive) {
  // Horizontal lines to the east: the peak sits on both ends of the E-W axis.
  const std::vector<Vector3> east(20, Vector3{0, 1, 0});
  const NetGrid g = density_grid(east, {}, Projection::equal_angle, 50);
  const std::size_t middle = (g.size - 1) / 2;
  EXPECT_NEAR(g.at(1, middle), g.peak(), 1e-12);           // (-1, 0)
  EXPECT_NEAR(g.at(g.size - 2, middle), g.peak(), 1e-12);  // (1, 0)
}

TEST(ContoursTest, ADensityUnderAViewIsTheDensityOfTheDirectionsAsTheViewShowsThem) {
  const std::vector<Vector3> points = {direction(10, 20),  direction(200, 70), direction(95, 5),
                                       direction(300, 40), direction(120, 35), direction(125, 30)};
  const DensityOptions options{DensityMethod::kamb, 1, DensityUnits::mud};
  const Matrix3 r = *view_rotation({70, 25});
  // Evaluated at the directions the view takes to the nodes, or the rotated
  // points on the ordinary grid: the kernel depends on angles alone.
  std::vector<Vector3> turned_points;
  for (const Vector3& p : points) turned_points.push_back(rotate(r, p));
  const NetGrid seen = density_grid(points, options, Projection::equal_area, 40, r);
  const NetGrid plain = density_grid(turned_points, options, Projection::equal_area, 40);
  ASSERT_EQ(seen.values.size(), plain.values.size());
  for (std::size_t k = 0; k < seen.values.size(); ++k)
    EXPECT_NEAR(seen.values[k], plain.values[k], 1e-9) << k;
  EXPECT_GT(seen.peak(), 1);  // not a uniform field that any rotation keeps
}

TEST(ContoursTest, AutomaticLevelsAreRound) {
  struct Case {
    double peak;
    std::vector<double> levels;
  };
  const Case cases[] = {
      {12, {2, 4, 6, 8, 10}}, {7, {1, 2, 3, 4, 5, 6}}, {16, {2.5, 5, 7.5, 10, 12.5, 15}}, {0, {}}};
  for (const auto& c : cases) EXPECT_EQ(automatic_levels(c.peak), c.levels) << c.peak;
}

}  // namespace
}  // namespace polarsketch::analysis
