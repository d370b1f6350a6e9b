// Arcs and sectors of a rose page, drawn through the plot library.
#include "figure/rose_shapes.hpp"

#include <cmath>
#include <numbers>

#include "figure/drawing.hpp"
#include "plot/coords.hpp"
#include "plot/primitives.hpp"

namespace polarsketch::figure {

void UserPath::add(double azimuth, double radius) {
  const double a = azimuth * std::numbers::pi / 180.0;
  x.push_back(static_cast<float>(radius * std::sin(a)));
  y.push_back(static_cast<float>(radius * std::cos(a)));
}

UserPath arc(double from, double to, double radius) {
  UserPath p;
  const int steps = std::max(1, static_cast<int>(std::ceil((to - from) / 2.0)));
  for (int i = 0; i <= steps; ++i)
    p.add(from + (to - from) * static_cast<double>(i) / static_cast<double>(steps), radius);
  return p;
}

UserPath sector(double from, double to, double radius) {
  UserPath p;
  p.add(0, 0);
  const UserPath rim = arc(from, to, radius);
  p.x.insert(p.x.end(), rim.x.begin(), rim.x.end());
  p.y.insert(p.y.end(), rim.y.begin(), rim.y.end());
  return p;
}

void draw_path(const UserPath& path) {
  plot::usline(path.x.data(), path.y.data(), static_cast<std::int32_t>(path.x.size()));
}

void fill_path(const UserPath& path) {
  std::vector<float> xd(path.x.size()), yd(path.y.size());
  plot::us2de(xd.data(), yd.data(), path.x.data(), path.y.data(),
              static_cast<std::int32_t>(path.x.size()));
  fill_device(xd, yd);
}

}  // namespace polarsketch::figure
