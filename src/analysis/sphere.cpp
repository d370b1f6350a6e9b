// The view of a net, hemisphere turns and cones about an axis.
#include "analysis/sphere.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/rotation.hpp"

namespace polarsketch::analysis {

std::optional<Matrix3> view_rotation(const TrendPlunge& centre) {
  if (centre.plunge == 90) return std::nullopt;
  return axis_rotation(centre.trend - 90.0, 0.0, 90.0 - centre.plunge);
}

TrendPlunge rotated_axis(const Matrix3& r, const TrendPlunge& axis) {
  return trend_plunge(rotate(r, direction(axis.trend, axis.plunge)));
}

DipDirection rotated_plane(const Matrix3& r, const DipDirection& plane) {
  const TrendPlunge pole = rotated_axis(r, {plane.dip_direction + 180.0, 90.0 - plane.dip});
  double dip_direction = pole.trend + 180.0;
  if (dip_direction >= 360.0) dip_direction -= 360.0;
  return {dip_direction, 90.0 - pole.plunge};
}

NorthMark north_mark(const Matrix3& view, Hemisphere h) {
  // Rounding leaves a north on the primitive a hair off it: within 1e-9 it
  // counts as shown.
  constexpr double kOnPrimitive = 1e-9;
  const Vector3 north = rotate(view, Vector3{1, 0, 0});
  const double below = h == Hemisphere::lower ? north[2] : -north[2];
  NorthMark mark;
  mark.far_side = below < -kOnPrimitive;
  // The end shown, as the lower-hemisphere direction drawn at its place: on
  // the lower hemisphere the end itself, on the upper one its opposite (the
  // upper hemisphere's turn draws a direction where its upper end is seen).
  const double sign = (mark.far_side ? -1.0 : 1.0) * (h == Hemisphere::lower ? 1.0 : -1.0);
  const Vector3 e{sign * north[0], sign * north[1], sign * north[2]};
  double trend = std::atan2(e[1], e[0]) * 180.0 / std::numbers::pi;
  if (trend < 0) trend += 360.0;
  if (trend >= 360.0) trend = 0.0;  // -0 from a y that rounding left a hair below 0
  const double plunge = std::asin(std::clamp(e[2], 0.0, 1.0)) * 180.0 / std::numbers::pi;
  mark.at = {trend, plunge};
  return mark;
}

double turned(double azimuth, Hemisphere h) {
  return h == Hemisphere::upper ? azimuth + 180.0 : azimuth;
}

Point2 turned(Point2 p, Hemisphere h) {
  const double sign = h == Hemisphere::upper ? -1.0 : 1.0;
  return {sign * p.x, sign * p.y};
}

std::vector<std::vector<Vector3>> cone_runs(const Vector3& m, double alpha, int steps) {
  using V = Vector3;
  auto cross = [](const V& a, const V& b) {
    return V{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  };
  // Two unit vectors across the axis, from the coordinate axis least like it.
  V e1 = cross(m, std::abs(m[2]) < 0.9 ? V{0, 0, 1} : V{1, 0, 0});
  const double norm = std::hypot(e1[0], e1[1], e1[2]);
  for (double& c : e1) c /= norm;
  const V e2 = cross(m, e1);
  const double ca = std::cos(alpha * std::numbers::pi / 180);
  const double sa = std::sin(alpha * std::numbers::pi / 180);
  auto point = [&](int step) {
    const double t = 2 * std::numbers::pi * step / steps;
    V p;
    for (std::size_t k = 0; k < 3; ++k)
      p[k] = ca * m[k] + sa * (std::cos(t) * e1[k] + std::sin(t) * e2[k]);
    return p;
  };
  std::vector<std::vector<V>> runs;
  std::vector<V> run;
  auto end_run = [&] {
    if (run.size() >= 2) runs.push_back(std::move(run));
    run.clear();
  };
  V prev = point(0);
  run.push_back(prev);
  for (int step = 1; step <= steps; ++step) {
    const V p = point(step);
    if ((prev[2] < 0) != (p[2] < 0)) {
      // The crossing of the horizontal, ending this run at its end on the
      // primitive and starting the next at the opposite end.
      const double f = prev[2] / (prev[2] - p[2]);
      const V q{prev[0] + f * (p[0] - prev[0]), prev[1] + f * (p[1] - prev[1]), 0.0};
      const V opposite{-q[0], -q[1], 0.0};
      run.push_back(prev[2] < 0 ? opposite : q);
      end_run();
      run.push_back(p[2] < 0 ? opposite : q);
    }
    run.push_back(p);
    prev = p;
  }
  end_run();
  return runs;
}

}  // namespace polarsketch::analysis
