#include "analysis/contours.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace polarsketch::analysis {

Vector3 inverse_projection(Projection projection, Point2 p) {
  const double r2 = p.x * p.x + p.y * p.y;
  if (projection == Projection::equal_area) {
    // r = sqrt(1 - z) for the lower hemisphere; r = sqrt 2 is the zenith.
    if (r2 >= 2) return {0, 0, -1};
    const double s = std::sqrt(2 - r2);
    return {p.y * s, p.x * s, 1 - r2};
  }
  // r = tan(angle from the nadir / 2).
  const double d = 1 + r2;
  return {2 * p.y / d, 2 * p.x / d, (1 - r2) / d};
}

Point2 project(Projection projection, const Vector3& v) {
  const double sign = v[2] < 0 ? -1.0 : 1.0;
  const double z = sign * v[2];
  const double scale = sign / (projection == Projection::equal_area ? std::sqrt(1 + z) : 1 + z);
  return {v[1] * scale, v[0] * scale};
}

bool NetGrid::inside(std::size_t i, std::size_t j) const {
  return x(i) * x(i) + y(j) * y(j) <= 1 + 1e-12;
}

double NetGrid::peak() const {
  double best = 0;
  for (std::size_t j = 0; j < size; ++j)
    for (std::size_t i = 0; i < size; ++i)
      if (inside(i, j)) best = std::max(best, at(i, j));
  return best;
}

NetGrid net_grid(Projection projection, std::size_t cells) {
  NetGrid grid;
  grid.projection = projection;
  cells = std::max<std::size_t>(cells, 2);
  grid.size = cells + 3;
  grid.step = 2.0 / static_cast<double>(cells);
  grid.origin = -1 - grid.step;
  return grid;
}

std::vector<Vector3> grid_nodes(const NetGrid& grid) {
  std::vector<Vector3> nodes;
  nodes.reserve(grid.size * grid.size);
  for (std::size_t j = 0; j < grid.size; ++j)
    for (std::size_t i = 0; i < grid.size; ++i)
      nodes.push_back(inverse_projection(grid.projection, {grid.x(i), grid.y(j)}));
  if (grid.view) {
    // The inverse of a rotation is its transpose.
    const Matrix3& r = *grid.view;
    for (Vector3& v : nodes)
      v = Vector3{r[0][0] * v[0] + r[1][0] * v[1] + r[2][0] * v[2],
                  r[0][1] * v[0] + r[1][1] * v[1] + r[2][1] * v[2],
                  r[0][2] * v[0] + r[1][2] * v[1] + r[2][2] * v[2]};
  }
  return nodes;
}

NetGrid density_grid(std::span<const Vector3> points, const DensityOptions& options,
                     Projection projection, std::size_t cells,
                     const std::optional<Matrix3>& view) {
  NetGrid grid = net_grid(projection, cells);
  grid.view = view;
  grid.values = density(points, grid_nodes(grid), options);
  return grid;
}

namespace {

// Marching squares for one level over the grid surrounded by a ring of nodes
// below every level, so each contour is a closed loop with the higher values
// on its left. Padded node (I, J) is grid node (I - 1, J - 1).
class LevelTracer {
 public:
  LevelTracer(const NetGrid& grid, double level, double pad)
      : grid_(grid), level_(level), pad_(pad), side_(grid.size + 2) {}

  std::vector<Polyline> loops() {
    next_.assign(2 * side_ * side_, -1);
    for (std::size_t J = 0; J + 1 < side_; ++J)
      for (std::size_t I = 0; I + 1 < side_; ++I) add_cell(I, J);
    std::vector<Polyline> result;
    for (std::size_t e = 0; e < next_.size(); ++e) {
      if (next_[e] < 0) continue;
      Polyline loop;
      for (auto at = static_cast<std::int64_t>(e); next_[static_cast<std::size_t>(at)] >= 0;) {
        const auto here = static_cast<std::size_t>(at);
        loop.push_back(crossing(here));
        at = next_[here];
        next_[here] = -1;
      }
      loop.push_back(loop.front());
      result.push_back(std::move(loop));
    }
    return result;
  }

 private:
  double value(std::size_t I, std::size_t J) const {
    if (I == 0 || J == 0 || I == side_ - 1 || J == side_ - 1) return pad_;
    return grid_.at(I - 1, J - 1);
  }
  // Edges: 2 (J side + I) is the edge from node (I, J) towards +x, + 1 the
  // edge towards +y.
  std::size_t edge(std::size_t I, std::size_t J, bool towards_y) const {
    return 2 * (J * side_ + I) + (towards_y ? 1 : 0);
  }
  Point2 crossing(std::size_t e) const {
    const std::size_t node = e / 2, I = node % side_, J = node / side_;
    const bool towards_y = e % 2 == 1;
    const double a = value(I, J), b = towards_y ? value(I, J + 1) : value(I + 1, J);
    const double t = (level_ - a) / (b - a);
    const double x = grid_.origin + (static_cast<double>(I) - 1) * grid_.step;
    const double y = grid_.origin + (static_cast<double>(J) - 1) * grid_.step;
    return towards_y ? Point2{x, y + t * grid_.step} : Point2{x + t * grid_.step, y};
  }

  // Walking the cell's border counter-clockwise, the contour leaves the
  // high region at an exit crossing and runs through the cell to an entry
  // crossing. In a saddle the cell's mean decides: a high centre joins the
  // high corners (each exit pairs with the following entry), a low centre
  // separates them (each exit pairs with the preceding entry).
  void add_cell(std::size_t I, std::size_t J) {
    const std::array<double, 4> v{value(I, J), value(I + 1, J), value(I + 1, J + 1),
                                  value(I, J + 1)};
    const std::array<std::size_t, 4> edges{edge(I, J, false), edge(I + 1, J, true),
                                           edge(I, J + 1, false), edge(I, J, true)};
    std::array<std::size_t, 4> cross{};
    std::array<bool, 4> exit{};
    std::size_t count = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const bool here = v[k] >= level_, there = v[(k + 1) % 4] >= level_;
      if (here == there) continue;
      cross[count] = edges[k];
      exit[count++] = here;
    }
    if (count == 0) return;
    const bool high_centre = (v[0] + v[1] + v[2] + v[3]) / 4 >= level_;
    for (std::size_t k = 0; k < count; ++k) {
      if (!exit[k]) continue;
      const std::size_t to = count == 2 || high_centre ? (k + 1) % count : (k + count - 1) % count;
      next_[cross[k]] = static_cast<std::int64_t>(cross[to]);
    }
  }

  const NetGrid& grid_;
  double level_, pad_;
  std::size_t side_;
  std::vector<std::int64_t> next_;  // per crossed edge, the edge the contour runs to
};

bool in_disk(Point2 p) { return p.x * p.x + p.y * p.y <= 1; }

// Where segment a-b meets the unit circle, as parameters t in [0, 1]
// (ascending); none, one or two.
std::vector<double> circle_crossings(Point2 a, Point2 b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double qa = dx * dx + dy * dy, qb = a.x * dx + a.y * dy, qc = a.x * a.x + a.y * a.y - 1;
  const double disc = qb * qb - qa * qc;
  std::vector<double> t;
  if (qa == 0 || disc < 0) return t;
  const double root = std::sqrt(disc);
  for (const double s : {(-qb - root) / qa, (-qb + root) / qa})
    if (s >= 0 && s <= 1) t.push_back(s);
  return t;
}

Point2 along(Point2 a, Point2 b, double t) {
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// The parts of a closed loop inside the disk, cut exactly at the circle.
std::vector<Polyline> clip_loop_lines(const Polyline& loop) {
  if (std::all_of(loop.begin(), loop.end(), in_disk)) return {loop};
  // Start at an outside vertex so every inside part is whole.
  const auto outside = std::find_if_not(loop.begin(), loop.end(), in_disk);
  Polyline ring(outside, loop.end() - 1);
  ring.insert(ring.end(), loop.begin(), outside);
  ring.push_back(ring.front());
  std::vector<Polyline> parts;
  Polyline current;
  for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
    const Point2 a = ring[k], b = ring[k + 1];
    const bool a_in = in_disk(a), b_in = in_disk(b);
    if (a_in) current.push_back(a);
    if (a_in && b_in) continue;
    const std::vector<double> t = circle_crossings(a, b);
    if (a_in) {  // leaving
      current.push_back(along(a, b, t.empty() ? 1.0 : t.back()));
      parts.push_back(std::move(current));
      current.clear();
    } else if (b_in) {  // entering
      current.push_back(along(a, b, t.empty() ? 0.0 : t.front()));
    } else if (t.size() == 2) {  // a chord through the disk
      parts.push_back({along(a, b, t[0]), along(a, b, t[1])});
    }
  }
  return parts;
}

// The unit circle as a polygon for clipping the bands' rings.
constexpr std::size_t kCircleVertices = 720;

// Sutherland-Hodgman clipping of a closed ring against the convex polygon
// inscribed in the unit circle; a ring wholly inside is kept as it is.
Polyline clip_ring(const Polyline& loop) {
  if (std::all_of(loop.begin(), loop.end(), in_disk)) return loop;
  Polyline ring(loop.begin(), loop.end() - 1);
  for (std::size_t k = 0; k < kCircleVertices && !ring.empty(); ++k) {
    const double a0 = 2 * std::numbers::pi * static_cast<double>(k) / kCircleVertices;
    const double a1 = 2 * std::numbers::pi * static_cast<double>(k + 1) / kCircleVertices;
    const Point2 p{std::cos(a0), std::sin(a0)}, q{std::cos(a1), std::sin(a1)};
    // Positive on the inner (left) side of the edge p -> q.
    auto side = [&](Point2 s) { return (q.x - p.x) * (s.y - p.y) - (q.y - p.y) * (s.x - p.x); };
    Polyline out;
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const Point2 a = ring[i], b = ring[(i + 1) % ring.size()];
      const double sa = side(a), sb = side(b);
      if (sa >= 0) out.push_back(a);
      if ((sa >= 0) != (sb >= 0)) out.push_back(along(a, b, sa / (sa - sb)));
    }
    ring = std::move(out);
  }
  if (ring.size() < 3) return {};
  ring.push_back(ring.front());
  return ring;
}

// The round step (1, 2, 2.5 or 5 times a power of ten) nearest to a sixth
// of the peak, on a logarithmic scale.
double nice_step(double peak) {
  const double raw = peak / 6;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double best = power;
  for (const double m : {2.0, 2.5, 5.0, 10.0})
    if (std::abs(std::log(m * power / raw)) < std::abs(std::log(best / raw))) best = m * power;
  return best;
}

// A contour loop of level index `level`, and the same clipped as a ring.
struct Traced {
  Polyline loop;
  std::size_t level;
  Polyline clipped;
};

// Whether segment a-b crosses the ray from p towards +x: the step of the
// even-odd test of a point against a closed polyline.
bool crosses_ray(Point2 a, Point2 b, Point2 p) {
  return (a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x);
}

double signed_area(const Polyline& ring) {
  double twice = 0;
  for (std::size_t k = 0; k + 1 < ring.size(); ++k)
    twice += ring[k].x * ring[k + 1].y - ring[k + 1].x * ring[k].y;
  return twice / 2;
}

// How many other loops enclose each loop's first point, by the even-odd
// test. Each point is tested only against the segments that
// reach its height: the segments are filed by the grid rows they span (a
// segment of marching squares lies in one cell), so the time grows with the
// loops times the segments of one row, not with the square of the loops.
std::vector<std::size_t> nesting_depths(const std::vector<Traced>& traced, const NetGrid& grid) {
  struct Segment {
    Point2 a, b;
    std::size_t loop;
  };
  // Rows of the padded grid, and one more on each side for rounding.
  const std::size_t rows = grid.size + 4;
  const auto row_of = [&](double y) {
    const double r = std::floor((y - grid.origin) / grid.step) + 2;
    return static_cast<std::size_t>(std::clamp(r, 0.0, static_cast<double>(rows - 1)));
  };
  std::vector<std::vector<Segment>> by_row(rows);
  for (std::size_t j = 0; j < traced.size(); ++j) {
    const Polyline& loop = traced[j].loop;
    for (std::size_t k = 0; k + 1 < loop.size(); ++k) {
      const Point2 a = loop[k], b = loop[k + 1];
      // row_of is monotonic, so a point at a height the segment spans
      // falls in one of the segment's rows.
      const std::size_t first = row_of(std::min(a.y, b.y)), last = row_of(std::max(a.y, b.y));
      for (std::size_t r = first; r <= last; ++r) by_row[r].push_back({a, b, j});
    }
  }
  std::vector<std::size_t> depth(traced.size(), 0);
  std::vector<std::uint8_t> crossings(traced.size(), 0);  // per loop: 0 none, 1 odd, 2 even
  std::vector<std::size_t> touched;
  for (std::size_t i = 0; i < traced.size(); ++i) {
    const Point2 p = traced[i].loop.front();
    for (const Segment& s : by_row[row_of(p.y)]) {
      if (s.loop != i && crosses_ray(s.a, s.b, p)) {
        if (crossings[s.loop] == 0) touched.push_back(s.loop);
        crossings[s.loop] = crossings[s.loop] == 1 ? 2 : 1;
      }
    }
    for (const std::size_t j : touched) {
      if (crossings[j] == 1) ++depth[i];
      crossings[j] = 0;
    }
    touched.clear();
  }
  return depth;
}

// Contour loops never cross, so they nest: sorted by the number of loops
// around them, each comes after those around it. A loop runs with the
// higher values on its left: counter-clockwise it encloses its level's band,
// clockwise (a hole) the band below.
std::vector<FillRing> painting_order(std::vector<Traced> traced, const NetGrid& grid) {
  const std::vector<std::size_t> depth = nesting_depths(traced, grid);
  std::vector<std::size_t> order(traced.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return depth[a] < depth[b]; });
  std::vector<FillRing> fills;
  for (const std::size_t i : order) {
    if (traced[i].clipped.empty()) continue;
    const std::size_t k = traced[i].level;
    std::optional<std::size_t> band;
    if (signed_area(traced[i].loop) > 0) {
      band = k;
    } else if (k > 0) {
      band = k - 1;
    }
    fills.push_back({band, std::move(traced[i].clipped)});
  }
  return fills;
}

}  // namespace

Contours contour(const NetGrid& grid, std::span<const double> levels) {
  std::vector<double> sorted(levels.begin(), levels.end());
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  Contours result;
  if (sorted.empty() || grid.size == 0) return result;
  const double lowest = *std::min_element(grid.values.begin(), grid.values.end());
  const double pad = std::min(lowest, sorted.front()) - 1;
  std::vector<std::vector<Polyline>> rings(sorted.size());
  std::vector<Traced> traced;
  for (std::size_t k = 0; k < sorted.size(); ++k) {
    ContourLine line{sorted[k], {}};
    for (Polyline& loop : LevelTracer(grid, sorted[k], pad).loops()) {
      for (Polyline& part : clip_loop_lines(loop)) line.lines.push_back(std::move(part));
      Polyline ring = clip_ring(loop);
      if (!ring.empty()) rings[k].push_back(ring);
      traced.push_back({std::move(loop), k, std::move(ring)});
    }
    result.lines.push_back(std::move(line));
  }
  result.fills = painting_order(std::move(traced), grid);
  // The region at or above a level holds the region of every higher level,
  // so a band's rings under the even-odd rule are its lower level's rings
  // and its upper level's.
  for (std::size_t k = 0; k < sorted.size(); ++k) {
    Band band{sorted[k], std::nullopt, rings[k]};
    if (k + 1 < sorted.size()) {
      band.upper = sorted[k + 1];
      band.rings.insert(band.rings.end(), rings[k + 1].begin(), rings[k + 1].end());
    }
    result.bands.push_back(std::move(band));
  }
  return result;
}

std::vector<double> automatic_levels(double peak) {
  std::vector<double> levels;
  if (!(peak > 0) || !std::isfinite(peak)) return levels;
  const double step = nice_step(peak);
  for (int k = 1; static_cast<double>(k) * step < peak; ++k)
    levels.push_back(static_cast<double>(k) * step);
  return levels;
}

}  // namespace polarsketch::analysis
