// Shapes of a rose page in user units (the rose's centre at 0, its rim at
// radius 1, North up): points at an azimuth, arcs and sectors.
#pragma once

#include <vector>

namespace polarsketch::figure {

struct UserPath {
  std::vector<float> x;
  std::vector<float> y;
  void add(double azimuth, double radius);  // degrees clockwise from North
};

// The arc of radius `radius` from azimuth `from` clockwise to `to`, a point
// at least every 2 degrees.
UserPath arc(double from, double to, double radius);
// The sector between two azimuths: the centre, then the arc (not closed).
UserPath sector(double from, double to, double radius);

// Draws the path as a line; as a filled polygon.
void draw_path(const UserPath& path);
void fill_path(const UserPath& path);

}  // namespace polarsketch::figure
