// The points of a path as a figure device writes them: coordinates made
// finite, and points on the straight line through their neighbours left out.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "render/device.hpp"

namespace polarsketch::render {

// The coordinate a figure device draws for `v`: 0 for a value that is not a
// finite number (and counted, see non_finite_coordinates), others clamped
// to a range every drawing library holds.
double finite_or_zero(double v);
inline Point finite(const Point& p) { return {finite_or_zero(p.x), finite_or_zero(p.y)}; }

// How many coordinates the figure devices of the process have received that
// were not finite (drawn at 0 instead): callers that must not keep such a
// drawing compare it before and after.
std::size_t non_finite_coordinates();

// The points of a path a figure keeps, last to first when `reversed`: every
// point finite, and points closer than half the plot file's coordinate step
// to the straight line through the kept neighbours left out (nothing a
// PostScript interpreter would draw differently is lost, and dense curves
// make much smaller figures). A single point is kept once.
void kept_points(std::span<const Point> points, std::vector<Point>& out, bool reversed = false);

// How a closed polygon turns when it is convex: +1 counter-clockwise, -1
// clockwise; 0 when it is not convex (or has no area to speak of). Convex
// polygons turned one way fill their union when painted as one path.
int convex_turn(std::span<const Point> points);

}  // namespace polarsketch::render
