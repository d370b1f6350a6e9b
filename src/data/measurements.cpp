// Conversions between planes, lines, rakes and unit vectors (x north, y east,
// z down), all in double precision and degrees at the interface.
#include "data/measurements.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace polarsketch::data {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double radians(double degrees) { return degrees * kDegree; }
double degrees(double radians) { return radians / kDegree; }

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The horizontal unit vector along the strike (dip direction - 90).
Vector3 strike_vector(const Plane& plane) {
  const double s = radians(plane.dip_direction - 90.0);
  return {std::cos(s), std::sin(s), 0.0};
}

// The unit vector down the dip.
Vector3 dip_vector(const Plane& plane) { return to_vector(Line{plane.dip_direction, plane.dip}); }

}  // namespace

double wrap_azimuth(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0.0) a += 360.0;
  // A tiny negative remainder rounds up to 360 when shifted; -0 becomes 0.
  if (a >= 360.0) a -= 360.0;
  return a + 0.0;
}

std::string_view kind_name(Kind kind) {
  switch (kind) {
    case Kind::planes:
      return "planes";
    case Kind::lines:
      return "lines";
    case Kind::slips:
      return "slips";
  }
  return "planes";
}

Vector3 to_vector(const Line& line) {
  const double t = radians(line.trend);
  const double p = radians(line.plunge);
  return {std::cos(p) * std::cos(t), std::cos(p) * std::sin(t), std::sin(p)};
}

Line to_line(const Vector3& v) {
  const double norm = std::sqrt(dot(v, v));
  if (!(norm > 0.0) || !std::isfinite(norm)) return Line{};
  const double sign = v[2] < 0.0 ? -1.0 : 1.0;
  const double x = sign * v[0] / norm;
  const double y = sign * v[1] / norm;
  const double z = sign * v[2] / norm;
  return Line{wrap_azimuth(degrees(std::atan2(y, x))), degrees(std::asin(std::min(1.0, z)))};
}

Line pole_of(const Plane& plane) {
  return Line{wrap_azimuth(plane.dip_direction + 180.0), 90.0 - plane.dip};
}

Plane plane_with_pole(const Line& pole) {
  // A pole pointing up is the same axis as its downward end.
  const Line down = pole.plunge < 0.0 ? Line{pole.trend + 180.0, -pole.plunge} : pole;
  return Plane{wrap_azimuth(down.trend + 180.0), 90.0 - down.plunge};
}

Vector3 rake_vector(const Plane& plane, double rake) {
  // Rotating the strike by -rake within the plane: rake 0 is the strike,
  // -90 the down-dip line, +90 the up-dip line.
  const Vector3 s = strike_vector(plane);
  const Vector3 d = dip_vector(plane);
  const double c = std::cos(radians(rake));
  const double r = std::sin(radians(rake));
  return Vector3{c * s[0] - r * d[0], c * s[1] - r * d[1], c * s[2] - r * d[2]};
}

Line line_from_rake(const Plane& plane, double rake) {
  // The lower end of the rake's line.
  return to_line(rake_vector(plane, rake));
}

double rake_of(const Plane& plane, const Line& line) {
  const Vector3 v = to_vector(line);
  return degrees(std::atan2(-dot(v, dip_vector(plane)), dot(v, strike_vector(plane))));
}

double angle_to_plane(const Plane& plane, const Line& line) {
  const double c = std::abs(dot(to_vector(line), to_vector(pole_of(plane))));
  return degrees(std::asin(std::min(1.0, c)));
}

std::size_t DataSet::size() const {
  switch (kind) {
    case Kind::planes:
      return planes.size();
    case Kind::lines:
      return lines.size();
    case Kind::slips:
      return slips.size();
  }
  return 0;
}

std::vector<Vector3> DataSet::unit_vectors() const {
  std::vector<Vector3> out;
  out.reserve(size());
  for (const Plane& p : planes) out.push_back(to_vector(pole_of(p)));
  for (const Line& l : lines) out.push_back(to_vector(l));
  for (const Slip& s : slips) out.push_back(to_vector(s.line));
  return out;
}

bool DataSet::has_polarity() const {
  return kind == Kind::slips && !slips.empty() &&
         std::all_of(slips.begin(), slips.end(), [](const Slip& s) { return s.sense_known; });
}

std::vector<Vector3> DataSet::directions() const {
  if (!has_polarity()) return unit_vectors();
  std::vector<Vector3> out;
  out.reserve(slips.size());
  for (const Slip& s : slips) out.push_back(rake_vector(s.plane, s.rake));
  return out;
}

std::string DataError::message() const {
  return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": '" + text +
         "': " + reason;
}

}  // namespace polarsketch::data
