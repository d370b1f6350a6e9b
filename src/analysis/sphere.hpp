// Geometry on the sphere that a stereonet page needs besides projecting:
// the hemisphere a net shows, and small circles (cones) about an axis split
// where they cross the horizontal. Directions are unit vectors, x north,
// y east, z down; angles in degrees.
#pragma once

#include <vector>

#include "analysis/contours.hpp"
#include "analysis/statistics.hpp"

namespace polarsketch::analysis {

// The hemisphere a net shows, seen from above: the lower one as structural
// geology draws it, or the upper one.
enum class Hemisphere { lower, upper };

// The azimuth drawn for a lower-hemisphere direction: the upper hemisphere
// seen from above shows each direction turned half a turn about the vertical.
double turned(double azimuth, Hemisphere h);
// The same turn for a point of the projected net (the net's centre fixed).
Point2 turned(Point2 p, Hemisphere h);

// The small circle of half-angle `alpha` about the unit vector `axis`, as
// runs of points `steps` apart about the axis (the first point repeated at
// the end). Where the circle crosses the horizontal a run ends on it and the
// next starts at the opposite end of that horizontal direction, so that each
// run drawn at its points' lower ends is one unbroken line on the net. Runs
// of fewer than two points are left out.
std::vector<std::vector<Vector3>> cone_runs(const Vector3& axis, double alpha, int steps = 180);

}  // namespace polarsketch::analysis
