#include "analysis/rotation.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace polarsketch::analysis {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vector3 negated(const Vector3& v) { return Vector3{-v[0], -v[1], -v[2]}; }

Vector3 unit(const Vector3& v) {
  const double n = std::sqrt(dot(v, v));
  return Vector3{v[0] / n, v[1] / n, v[2] / n};
}

// The rake of a direction lying in a plane (0 the strike, -90 down the dip).
double rake_in(const data::Plane& plane, const Vector3& v) {
  const Vector3 s = data::rake_vector(plane, 0);
  const Vector3 d = data::rake_vector(plane, -90);
  return std::atan2(-dot(v, d), dot(v, s)) / kDegree;
}

// A vertical line or a horizontal plane has no trend or dip direction of
// its own: rounding noise is written as 0, not as a stray azimuth.
constexpr double kFlat = 1e-9;

data::Line tidy(data::Line l) {
  if (l.plunge > 90.0 - kFlat) l = data::Line{0, 90};
  return l;
}

data::Plane plane_of_pole(const Vector3& pole) {
  const data::Plane p = data::plane_with_pole(tidy(data::to_line(pole)));
  return p.dip < kFlat ? data::Plane{0, 0} : p;
}

data::Slip rotated(const data::Slip& slip, const Matrix3& r) {
  Vector3 pole = rotate(r, data::to_vector(data::pole_of(slip.plane)));
  const bool overturned = pole[2] < 0;
  if (overturned) pole = negated(pole);
  data::Slip out = slip;
  out.plane = plane_of_pole(pole);
  if (slip.sense_known) {
    // The same motion of the two blocks: when the plane is overturned the
    // other block is now the hanging wall, and it moved the opposite way.
    Vector3 motion = rotate(r, data::rake_vector(slip.plane, slip.rake));
    if (overturned) motion = negated(motion);
    out.rake = rake_in(out.plane, motion);
  } else {
    out.rake = data::rake_of(out.plane, data::to_line(rotate(r, data::to_vector(slip.line))));
  }
  out.line = data::line_from_rake(out.plane, out.rake);
  return out;
}

}  // namespace

Matrix3 identity_matrix() { return Matrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }

Vector3 direction(double trend, double plunge) {
  const double t = trend * kDegree, p = plunge * kDegree;
  return Vector3{std::cos(p) * std::cos(t), std::cos(p) * std::sin(t), std::sin(p)};
}

Matrix3 axis_rotation(double trend, double plunge, double degrees) {
  // Rodrigues: R = I + sin w K + (1 - cos w) K^2, K the cross-product matrix.
  const Vector3 a = direction(trend, plunge);
  const double w = degrees * kDegree;
  const double s = std::sin(w), c = 1.0 - std::cos(w);
  const Matrix3 k{{{0, -a[2], a[1]}, {a[2], 0, -a[0]}, {-a[1], a[0], 0}}};
  Matrix3 r = identity_matrix();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double k2 = 0;
      for (int m = 0; m < 3; ++m) k2 += k[i][m] * k[m][j];
      r[i][j] += s * k[i][j] + c * k2;
    }
  return r;
}

Matrix3 unfolding(double dip_direction, double dip) {
  return axis_rotation(dip_direction - 90.0, 0.0, -dip);
}

Matrix3 followed_by(const Matrix3& first, const Matrix3& second) {
  Matrix3 out{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int m = 0; m < 3; ++m) out[i][j] += second[i][m] * first[m][j];
  return out;
}

Vector3 rotate(const Matrix3& r, const Vector3& v) {
  return Vector3{dot(r[0], v), dot(r[1], v), dot(r[2], v)};
}

AxisAngle net_rotation(const Matrix3& r) {
  // |antisymmetric part| = 2 sin w and tr R - 1 = 2 cos w: atan2 keeps the
  // angle exact near a half turn, where acos would lose half the digits.
  Vector3 axis{r[2][1] - r[1][2], r[0][2] - r[2][0], r[1][0] - r[0][1]};
  const double sine2 = std::sqrt(dot(axis, axis));
  const double angle = std::atan2(sine2, r[0][0] + r[1][1] + r[2][2] - 1.0) / kDegree;
  if (angle < 1e-9) return AxisAngle{TrendPlunge{0, 90}, 0};
  if (sine2 < 1e-6) {
    // Near a half turn the antisymmetric part vanishes: the axis is the
    // largest column of (R + I) / 2 = a a^T.
    int best = 0;
    for (int i = 1; i < 3; ++i)
      if (r[i][i] > r[best][best]) best = i;
    axis = Vector3{r[0][best], r[1][best], r[2][best]};
    axis[static_cast<std::size_t>(best)] += 1.0;
  }
  axis = unit(axis);
  const bool up = axis[2] < 0;
  return AxisAngle{trend_plunge(axis), up ? -angle : angle};
}

data::DataSet rotated(const data::DataSet& set, const Matrix3& r) {
  data::DataSet out = set;
  for (data::Plane& p : out.planes)
    p = plane_of_pole(rotate(r, data::to_vector(data::pole_of(p))));
  for (data::Line& l : out.lines) l = tidy(data::to_line(rotate(r, data::to_vector(l))));
  for (data::Slip& s : out.slips) s = rotated(s, r);
  return out;
}

}  // namespace polarsketch::analysis
