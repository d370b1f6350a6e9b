// The figure room's presentation rules on their own: the data symbols' size
// by their count, labels placed clear of marks and of each other, and the
// Bingham ellipse on the sphere.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "figure/drawing.hpp"
#include "figure/label_room.hpp"

namespace polarsketch::figure {
namespace {

TEST(Presentation, SymbolSizeFallsWithTheCountWithinItsBounds) {
  // 12 mm n^-0.4, clamped to 0.2 .. 2.5 mm; within float rounding.
  const struct {
    std::size_t n;
    double mm;
  } cases[] = {{0, 2.5},      {1, 2.5},         {50, 2.5},         {400, 12 / std::pow(400, 0.4)},
               {10000, 0.3015}, {100000, 0.2},  {2800000, 0.2}};
  double previous = 10;
  for (const auto& c : cases) {
    const double cm = symbol_size_cm(c.n);
    EXPECT_NEAR(cm * 10, c.mm, 1e-4) << c.n;
    EXPECT_LE(cm, previous) << c.n;
    previous = cm;
  }
  EXPECT_NEAR(symbol_size_cm(400, 1.2), 0.12, 1e-6);  // the override wins whatever the count
}

// Whether a point lies inside a box.
bool covers(const Box& b, float x, float y) {
  return x > b.left && x < b.right && y > b.bottom && y < b.top;
}

TEST(Presentation, LabelsAvoidMarksAndEachOtherOrGoOutAlongALeader) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> around(-0.3f, 0.3f);
  for (const int marks : {0, 40, 5000}) {
    SCOPED_TRACE(marks);
    MarkGrid grid;
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < marks; ++i) {
      points.emplace_back(around(random), around(random));
      grid.take_point(points.back().first, points.back().second, 0.005f);
    }
    // Three labels on one point, as eigenvectors of several sets may be.
    std::vector<PlacedLabel> placed;
    for (int k = 0; k < 3; ++k) placed.push_back(place_label(0.1f, 0.1f, 0.045f, 0.045f, grid));
    for (std::size_t a = 0; a < placed.size(); ++a) {
      for (std::size_t b = a + 1; b < placed.size(); ++b)
        EXPECT_FALSE(placed[a].box.overlaps(placed[b].box)) << a << " " << b;
      for (const auto& [x, y] : points) EXPECT_FALSE(covers(placed[a].box, x, y)) << a;
      // A leader only when no room is near: outside the rim then.
      const Box& box = placed[a].box;
      const float cx = 0.5f * (box.left + box.right), cy = 0.5f * (box.bottom + box.top);
      EXPECT_EQ(placed[a].leader, std::hypot(cx, cy) > 1.0f) << a;
    }
    EXPECT_EQ(placed[0].leader, marks == 5000);  // the centre crowded: out along a leader
  }
}

TEST(Presentation, BinghamEllipseReachesItsSemiAnglesTowardV2AndV3) {
  analysis::Statistics s;
  s.eigenvectors = {analysis::TrendPlunge{30, 60}, analysis::TrendPlunge{210, 30},
                    analysis::TrendPlunge{120, 0}};
  s.bingham_semi_v2 = 20;
  s.bingham_semi_v3 = 8;
  const analysis::Vector3 v1 = data::to_vector({30, 60}), v2 = data::to_vector({210, 30}),
                          v3 = data::to_vector({120, 0});
  const auto dot = [](const analysis::Vector3& a, const analysis::Vector3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  };
  const double t2 = std::tan(20 * std::numbers::pi / 180), t3 = std::tan(8 * std::numbers::pi / 180);
  double widest2 = 0, widest3 = 0;
  for (const analysis::Vector3& u : bingham_ellipse(s, 360)) {
    EXPECT_NEAR(dot(u, u), 1.0, 1e-12);
    // Seen from v1 the curve is the ellipse of semi-axes tan(20) and tan(8).
    const double x = dot(u, v2) / dot(u, v1), y = std::abs(dot(u, v3) / dot(u, v1));
    EXPECT_NEAR(x * x / (t2 * t2) + y * y / (t3 * t3), 1.0, 1e-9);
    widest2 = std::max(widest2, std::atan(std::abs(x)) * 180 / std::numbers::pi);
    widest3 = std::max(widest3, std::atan(y) * 180 / std::numbers::pi);
  }
  EXPECT_NEAR(widest2, 20, 1e-9);
  EXPECT_NEAR(widest3, 8, 1e-3);
}

}  // namespace
}  // namespace polarsketch::figure
