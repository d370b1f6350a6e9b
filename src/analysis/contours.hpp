// Density over a stereonet and its contours: a regular grid of nodes over the
// net (unit radius, x east, y north), contour lines by marching squares, and
// filled bands between levels, all clipped to the primitive circle.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "analysis/density.hpp"
#include "analysis/statistics.hpp"

namespace polarsketch::analysis {

enum class Projection { equal_area, equal_angle };

struct Point2 {
  double x = 0;
  double y = 0;
};

// The direction of a point of the net: the lower hemisphere inside the unit
// circle; outside it the upper hemisphere, continuing across the primitive
// (the equal-area net ends in the zenith at radius sqrt 2; farther points
// map there too).
Vector3 inverse_projection(Projection projection, Point2 p);
// The point of the net of a lower-hemisphere direction (the lower end of an
// upward vector).
Point2 project(Projection projection, const Vector3& v);

// Values at the nodes (x_i, y_j) = (origin + i step, origin + j step).
struct NetGrid {
  Projection projection = Projection::equal_area;
  std::size_t size = 0;  // nodes per side
  double origin = 0;
  double step = 0;
  std::vector<double> values;  // values[j * size + i]
  // The rotation that takes directions into the frame of the net's centre
  // (a net centred on another direction than the vertical); the nodes are the
  // directions it takes to the grid's points. Empty: none.
  std::optional<Matrix3> view;

  double x(std::size_t i) const { return origin + static_cast<double>(i) * step; }
  double y(std::size_t j) const { return origin + static_cast<double>(j) * step; }
  double at(std::size_t i, std::size_t j) const { return values[j * size + i]; }
  // Whether the node lies on or inside the primitive circle.
  bool inside(std::size_t i, std::size_t j) const;
  // Largest value on or inside the primitive (0 for an empty grid).
  double peak() const;
};

// The layout of a grid of `cells` cells (at least 2) across the net's
// diameter, plus one node beyond the primitive on every side, without values.
NetGrid net_grid(Projection projection, std::size_t cells);
// The directions of the grid's nodes, row by row (values' order): the
// points of the net turned back by the grid's view.
std::vector<Vector3> grid_nodes(const NetGrid& grid);

// Density on a grid of `cells` cells across the net's diameter, plus one
// ring of nodes beyond the primitive so that contours run up to it (there
// the density is that of the opposite, lower-hemisphere direction). With a
// view, the net's points are the directions it takes there.
NetGrid density_grid(std::span<const Vector3> points, const DensityOptions& options,
                     Projection projection, std::size_t cells = 100,
                     const std::optional<Matrix3>& view = std::nullopt);

// A polyline in net coordinates; a closed one repeats its first point last.
using Polyline = std::vector<Point2>;

struct ContourLine {
  double level = 0;
  std::vector<Polyline> lines;
};

// The area where lower <= value < upper (no upper: the top band), as closed
// rings to be filled with the even-odd rule.
struct Band {
  double lower = 0;
  std::optional<double> upper;
  std::vector<Polyline> rings;
};

// A simple ring for devices that fill one polygon at a time: inside it, up
// to the rings painted after it, lies band `band` (or no band, below the
// lowest level, when empty).
struct FillRing {
  std::optional<std::size_t> band;
  Polyline ring;
};

struct Contours {
  std::vector<ContourLine> lines;  // one per level, ascending
  std::vector<Band> bands;         // one per level, ascending
  // The bands again as simple rings in painting order: every ring comes
  // after the rings around it, so painting them in turn shows every band.
  std::vector<FillRing> fills;
};

// Contour lines and bands of the grid at the given levels (sorted and made
// unique first), clipped to the primitive circle.
Contours contour(const NetGrid& grid, std::span<const double> levels);

// About four to eight round levels (1, 2, 2.5 or 5 times a power of ten)
// from one step up to below the peak; none for a peak of zero.
std::vector<double> automatic_levels(double peak);

}  // namespace polarsketch::analysis
