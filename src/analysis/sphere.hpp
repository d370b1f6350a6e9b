// Geometry on the sphere that a stereonet page needs besides projecting:
// the direction a net is centred on and the hemisphere it shows, and small
// circles (cones) about an axis split where they cross the horizontal.
// Directions are unit vectors, x north, y east, z down; angles in degrees.
#pragma once

#include <optional>
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

// A net centred on the direction `centre` shows every direction after the
// rotation about the horizontal line (trend - 90)/00 by 90 - plunge (right-
// hand rule), which takes the centre to the vertical and leaves that line
// where it is; the net is then drawn as usual. Empty when the centre is
// vertical: the ordinary net, its directions untouched (no rounding).
std::optional<Matrix3> view_rotation(const TrendPlunge& centre);

// An axis (lower end) and a plane after a rotation, as the lower end again
// and as the plane through the rotated pole.
TrendPlunge rotated_axis(const Matrix3& r, const TrendPlunge& axis);
DipDirection rotated_plane(const Matrix3& r, const DipDirection& plane);

// Where north falls on a net seen through `view` (the rotation into the
// net's frame) in hemisphere `h`: the direction 000/00 when it is on the
// hemisphere shown (on the primitive counts), else south, the end of the
// north-south line that is shown. `at` is the lower-hemisphere direction in
// the net's frame that is drawn there (hemisphere turn included), so the
// mark is drawn as any axis is.
struct NorthMark {
  TrendPlunge at;
  bool far_side = false;  // north is on the hemisphere not shown: `at` is south
};
NorthMark north_mark(const Matrix3& view, Hemisphere h);

// The small circle of half-angle `alpha` about the unit vector `axis`, as
// runs of points `steps` apart about the axis (the first point repeated at
// the end). Where the circle crosses the horizontal a run ends on it and the
// next starts at the opposite end of that horizontal direction, so that each
// run drawn at its points' lower ends is one unbroken line on the net. Runs
// of fewer than two points are left out.
std::vector<std::vector<Vector3>> cone_runs(const Vector3& axis, double alpha, int steps = 180);

}  // namespace polarsketch::analysis
