// Finite coordinates, the points a figure keeps of a path, convex polygons.
#include "render/path_points.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

namespace polarsketch::render {
namespace {

std::atomic<std::size_t> g_non_finite{0};

// Points closer than this to the straight line through their neighbours
// are left out: half the plot file's coordinate step (0.01).
constexpr double kFlatness = 0.005;
// How many points one straight piece may replace at most.
constexpr std::size_t kMaxSkipped = 32;

// Distance of p from the line through a and b (from a when they coincide).
double off_line(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len = std::hypot(dx, dy);
  if (len == 0.0) return std::hypot(p.x - a.x, p.y - a.y);
  return std::abs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
}

// Whether every point strictly between from and to lies within kFlatness of
// their chord, and not beyond its ends.
bool straight(std::span<const Point> points, std::size_t from, std::size_t to) {
  const Point& a = points[from];
  const Point& b = points[to];
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  for (std::size_t k = from + 1; k < to; ++k) {
    const Point& p = points[k];
    const double t = len2 == 0.0 ? 0.0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
    if (t < 0.0 || t > 1.0 || off_line(p, a, b) > kFlatness) return false;
  }
  return true;
}

}  // namespace

double finite_or_zero(double v) {
  constexpr double kLimit = 9.9e7;
  if (!std::isfinite(v)) {
    ++g_non_finite;
    return 0.0;
  }
  return std::clamp(v, -kLimit, kLimit);
}

std::size_t non_finite_coordinates() { return g_non_finite; }

void kept_points(std::span<const Point> points, std::vector<Point>& out, bool reversed) {
  std::vector<Point> all(points.size());
  if (reversed) {
    std::transform(points.rbegin(), points.rend(), all.begin(), finite);
  } else {
    std::transform(points.begin(), points.end(), all.begin(), finite);
  }
  out.clear();
  if (all.empty()) return;
  const std::span<const Point> p(all);
  out.push_back(p[0]);
  std::size_t from = 0;
  while (from + 1 < p.size()) {
    std::size_t to = from + 1;
    while (to + 1 < p.size() && to - from < kMaxSkipped && straight(p, from, to + 1)) ++to;
    out.push_back(p[to]);
    from = to;
  }
}

int convex_turn(std::span<const Point> points) {
  const std::size_t n = points.size();
  double turning = 0.0;
  int sign = 0;
  Point before{};  // the last edge of length, the closing one first
  for (std::size_t k = n; k-- > 0 && before.x == 0.0 && before.y == 0.0;)
    before = {points[(k + 1) % n].x - points[k].x, points[(k + 1) % n].y - points[k].y};
  int edges = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const Point edge{points[(k + 1) % n].x - points[k].x, points[(k + 1) % n].y - points[k].y};
    if (edge.x == 0.0 && edge.y == 0.0) continue;
    if (!std::isfinite(edge.x) || !std::isfinite(edge.y)) return 0;
    const double cross = before.x * edge.y - before.y * edge.x;
    const double dot = before.x * edge.x + before.y * edge.y;
    const int s = cross > 0.0 ? 1 : cross < 0.0 ? -1 : 0;
    if (s != 0 && sign != 0 && s != sign) return 0;
    if (s != 0) sign = s;
    turning += std::atan2(cross, dot);
    before = edge;
    ++edges;
  }
  // One full turn: no reversal along an edge, no loop wound twice.
  if (edges < 3 || std::abs(std::abs(turning) - 2.0 * std::numbers::pi) > 1e-6) return 0;
  return sign;
}

}  // namespace polarsketch::render
