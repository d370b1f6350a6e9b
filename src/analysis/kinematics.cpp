// Slope kinematics: planar and wedge sliding, flexural and direct toppling,
// each judged on unit vectors against the slope's frame. Every test is a sign
// of a product of vectors already at hand, so that the pair loops need no
// trigonometry and an exact boundary stays exact (no angle is computed and
// compared back).
#include "analysis/kinematics.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace polarsketch::analysis {
namespace {

constexpr double kRadian = std::numbers::pi / 180.0;

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// An angle by its sine and cosine, for tests of the form "angle <= this".
struct Bound {
  double s;
  double c;
  explicit Bound(double degrees) : s(std::sin(degrees * kRadian)), c(std::cos(degrees * kRadian)) {}
};

// Whether the angle atan2(y, x) (y >= 0) is at most `b`: sin(angle - b) <= 0.
// Exact near 0 and near 90 alike, unlike a comparison of cosines or sines.
bool at_most(double y, double x, const Bound& b) { return y * b.c - x * b.s <= 0; }
bool below(double y, double x, const Bound& b) { return y * b.c - x * b.s < 0; }
bool at_least(double y, double x, const Bound& b) { return y * b.c - x * b.s >= 0; }

// The slope's frame and the bounds every mode compares with.
struct Frame {
  Vector3 dip_direction;    // s: horizontal, toward the slope's dip direction
  Vector3 strike;           // h: horizontal, the slope's strike (dip direction + 90)
  Vector3 face_pole;        // the face's downward normal
  Vector3 face_dip;         // the face's line of steepest dip
  Vector3 friction_pole;    // the downward normal of a plane dipping phi toward s
  Vector3 slip_limit_pole;  // the same for the slip-limit plane, dip (slope dip - phi)
  Bound below_right{90.0 - kBoundaryTolerance};  // "less than 90 degrees", decided
  Bound friction{0};                             // phi, less the tolerance
  Bound lateral{0};                              // lambda, plus the tolerance
  double tolerance_sine = std::sin(kBoundaryTolerance * kRadian);
  double lateral_sine = 0;  // sin(lambda + tolerance)
  bool curved = false;

  explicit Frame(const Slope& slope) {
    const double a = slope.dip_direction * kRadian, b = slope.dip * kRadian;
    const double f = slope.friction * kRadian, d = b - f;
    dip_direction = {std::cos(a), std::sin(a), 0.0};
    strike = {-std::sin(a), std::cos(a), 0.0};
    const Vector3& s = dip_direction;
    face_pole = {-std::sin(b) * s[0], -std::sin(b) * s[1], std::cos(b)};
    face_dip = {std::cos(b) * s[0], std::cos(b) * s[1], std::sin(b)};
    friction_pole = {-std::sin(f) * s[0], -std::sin(f) * s[1], std::cos(f)};
    slip_limit_pole = {-std::sin(d) * s[0], -std::sin(d) * s[1], std::cos(d)};
    friction = Bound(slope.friction - kBoundaryTolerance);
    lateral = Bound(slope.lateral + kBoundaryTolerance);
    lateral_sine = std::sin((slope.lateral + kBoundaryTolerance) * kRadian);
    curved = slope.limits == LateralLimits::curved;
  }

  // The lower end of a line (length n): a line that is horizontal within the
  // tolerance takes the end toward the slope's dip direction, so that its
  // trend cannot flip half a turn on rounding.
  void lower_end(Vector3& v, double n) const {
    const bool flat = std::abs(v[2]) <= tolerance_sine * n;
    const bool flip = flat ? v[0] * dip_direction[0] + v[1] * dip_direction[1] < 0 : v[2] < 0;
    if (flip) v = {-v[0], -v[1], -v[2]};
    if (flat) v[2] = std::abs(v[2]);  // its trend read back is the end chosen
  }

  // The horizontal part of v against s: its length, and the components
  // along s and across it (the latter >= 0).
  struct Horizontal {
    double length, along, across;
  };
  Horizontal horizontal(const Vector3& v) const {
    const double along = v[0] * dip_direction[0] + v[1] * dip_direction[1];
    const double across = std::abs(v[0] * strike[0] + v[1] * strike[1]);
    return {std::sqrt(v[0] * v[0] + v[1] * v[1]), along, across};
  }

  // Whether v's trend is less than 90 degrees from s (`toward`) or from -s;
  // a vertical v is neither.
  bool daylights_toward(const Horizontal& h, bool toward = true) const {
    return below(h.across, toward ? h.along : -h.along, below_right);
  }

  // Whether a line of length n lies within the lateral limits about s (or
  // -s): its trend within lambda (straight), or its angle to the vertical
  // plane through s within lambda (curved). A vertical line lies in that plane.
  bool within_limits(double n, const Horizontal& h, bool toward = true) const {
    if (curved) return h.across <= lateral_sine * n;
    if (h.length <= tolerance_sine * n) return true;
    return at_most(h.across, toward ? h.along : -h.along, lateral);
  }
};

Vector3 pole_vector(const DipDirection& p) {
  const double a = p.dip_direction * kRadian, b = p.dip * kRadian;
  return {-std::sin(b) * std::cos(a), -std::sin(b) * std::sin(a), std::cos(b)};
}

Vector3 dip_vector(const DipDirection& p) {
  const double a = p.dip_direction * kRadian, b = p.dip * kRadian;
  return {std::cos(b) * std::cos(a), std::cos(b) * std::sin(a), std::sin(b)};
}

Vector3 unit(const Vector3& v, double n) { return {v[0] / n, v[1] / n, v[2] / n}; }

bool no_sliding_zone(const Slope& slope) {
  return slope.dip <= slope.friction + kBoundaryTolerance;
}

// Sliding along a line (a plane's dip vector, a wedge's intersection), of
// length n: primary when it plunges at least at phi and daylights (its trend
// within 90 degrees of s, its plunge at most the face's apparent dip in that
// trend: at or above the face); secondary when it daylights below phi but at
// or above the friction plane (at least phi's apparent dip in its trend).
enum class Sliding { none, primary, secondary };
Sliding sliding(const Frame& f, const Vector3& v, double n) {
  const Frame::Horizontal h = f.horizontal(v);
  if (!f.daylights_toward(h) || dot(v, f.face_pole) > f.tolerance_sine * n) return Sliding::none;
  if (at_least(v[2], h.length, f.friction)) return Sliding::primary;
  return dot(v, f.friction_pole) >= -f.tolerance_sine * n ? Sliding::secondary : Sliding::none;
}

void count(KinematicResult& r, KinematicZone zone, bool keep, std::uint32_t a, std::uint32_t b,
           const Vector3& direction) {
  (zone == KinematicZone::primary ? r.primary : r.secondary) += 1;
  if (keep) r.items.push_back({zone, a, b, direction});
}

KinematicResult planar(const Slope& slope, std::span<const DipDirection> planes, bool keep) {
  KinematicResult r;
  r.mode = KinematicMode::planar;
  r.planes = r.total = planes.size();
  r.has_zone = !no_sliding_zone(slope);
  if (!r.has_zone) return r;
  const Frame f(slope);
  for (std::size_t i = 0; i < planes.size(); ++i) {
    const Vector3 d = dip_vector(planes[i]);
    if (sliding(f, d, 1.0) != Sliding::primary) continue;
    // The lateral limits: straight on the dip direction, curved on the pole.
    const Vector3 pole = pole_vector(planes[i]);
    const bool within =
        f.curved ? f.within_limits(1.0, f.horizontal(pole)) : f.within_limits(1.0, f.horizontal(d));
    count(r, within ? KinematicZone::primary : KinematicZone::secondary, keep,
          static_cast<std::uint32_t>(i), kSinglePlane, pole);
  }
  return r;
}

KinematicResult flexural(const Slope& slope, std::span<const DipDirection> planes, bool keep) {
  KinematicResult r;
  r.mode = KinematicMode::flexural;
  r.planes = r.total = planes.size();
  const Frame f(slope);
  for (std::size_t i = 0; i < planes.size(); ++i) {
    // The plane dips into the slope: its pole points out of it, and plunges
    // no more than the slip-limit plane in the pole's trend.
    Vector3 pole = pole_vector(planes[i]);
    f.lower_end(pole, 1.0);
    const Frame::Horizontal h = f.horizontal(pole);
    if (!f.daylights_toward(h) || dot(pole, f.slip_limit_pole) > f.tolerance_sine) continue;
    const bool within = f.within_limits(1.0, h);
    count(r, within ? KinematicZone::primary : KinematicZone::secondary, keep,
          static_cast<std::uint32_t>(i), kSinglePlane, pole);
  }
  return r;
}

// The planes' normals once, for the pair loops.
std::vector<Vector3> normals_of(std::span<const DipDirection> planes) {
  std::vector<Vector3> normals;
  normals.reserve(planes.size());
  for (const DipDirection& p : planes) normals.push_back(pole_vector(p));
  return normals;
}

// Calls judge(i, j, line, length) for every pair with an intersection line
// (at its lower end, not normalised); counts the pairs without one.
template <class Judge>
void for_each_intersection(const Frame& f, std::span<const DipDirection> planes, KinematicResult& r,
                           Judge judge) {
  const std::vector<Vector3> n = normals_of(planes);
  // Planes within the tolerance of each other have no intersection line.
  const double parallel = f.tolerance_sine * f.tolerance_sine;
  std::size_t valid = 0, excluded = 0;
  for (std::size_t i = 0; i < n.size(); ++i) {
    const Vector3 a = n[i];
    for (std::size_t j = i + 1; j < n.size(); ++j) {
      const Vector3& b = n[j];
      Vector3 v{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
      const double n2 = dot(v, v);
      if (n2 <= parallel) {
        ++excluded;
        continue;
      }
      ++valid;
      const double length = std::sqrt(n2);
      f.lower_end(v, length);
      judge(i, j, v, length);
    }
  }
  r.total = valid;
  r.parallel_pairs = excluded;
}

KinematicResult wedge(const Slope& slope, std::span<const DipDirection> planes, bool keep) {
  KinematicResult r;
  r.mode = KinematicMode::wedge;
  r.planes = planes.size();
  r.has_zone = !no_sliding_zone(slope);
  const Frame f(slope);
  for_each_intersection(
      f, planes, r, [&](std::size_t i, std::size_t j, const Vector3& v, double n) {
        if (!r.has_zone) return;
        const Sliding s = sliding(f, v, n);
        if (s == Sliding::none) return;
        count(r, s == Sliding::primary ? KinematicZone::primary : KinematicZone::secondary, keep,
              static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j), unit(v, n));
      });
  return r;
}

KinematicResult direct(const Slope& slope, std::span<const DipDirection> planes, bool keep) {
  KinematicResult r;
  r.mode = KinematicMode::direct;
  r.planes = planes.size();
  for (std::size_t i = 0; i < planes.size(); ++i) {
    if (planes[i].dip < slope.friction - kBoundaryTolerance) {
      ++r.base_planes;
      if (keep)
        r.items.push_back({KinematicZone::base, static_cast<std::uint32_t>(i), kSinglePlane,
                           pole_vector(planes[i])});
    }
  }
  const Frame f(slope);
  for_each_intersection(
      f, planes, r, [&](std::size_t i, std::size_t j, const Vector3& v, double n) {
        if (r.base_planes == 0) return;
        // The line plunges into the slope (trend within 90 degrees of the
        // opposite of s, or vertical) at or above the plane normal to the face
        // through its strike (a plunge of at least 90 - slope dip opposite s).
        const Frame::Horizontal h = f.horizontal(v);
        const bool vertical = h.length <= f.tolerance_sine * n;
        if (!vertical && !f.daylights_toward(h, false)) return;
        if (dot(v, f.face_dip) < -f.tolerance_sine * n) return;
        const bool within = f.within_limits(n, h, false);
        count(r, within ? KinematicZone::primary : KinematicZone::secondary, keep,
              static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j), unit(v, n));
      });
  return r;
}

constexpr KinematicModeEntry kModes[] = {
    {KinematicMode::planar, "planar", "planar sliding on one plane", "outside the lateral limits",
     planar},
    {KinematicMode::wedge, "wedge", "wedge sliding along the intersection of two planes",
     "sliding on one of the planes", wedge},
    {KinematicMode::flexural, "flexural", "flexural toppling of planes dipping into the slope",
     "outside the lateral limits", flexural},
    {KinematicMode::direct, "direct",
     "direct toppling of blocks cut by two planes, on a base plane",
     "oblique toppling, outside the lateral limits", direct},
};

// Points per half turn of the construction's curves.
constexpr int kSamples = 360;

Vector3 line_at(double trend, double plunge) {
  const double t = trend * kRadian, p = plunge * kRadian;
  return {std::cos(p) * std::cos(t), std::cos(p) * std::sin(t), std::sin(p)};
}

// The lower half of the great circle of a plane.
std::vector<Vector3> great_circle(double dip_direction, double dip) {
  std::vector<Vector3> points;
  for (int k = 0; k <= kSamples; ++k) {
    const double d = -90.0 + 180.0 * k / kSamples;  // from the strike's end to the other
    points.push_back(line_at(dip_direction + d, apparent_dip(dip, d)));
  }
  return points;
}

// The circle of lines plunging `plunge` (a cone about the vertical).
std::vector<Vector3> plunge_circle(double plunge) {
  std::vector<Vector3> points;
  for (int k = 0; k <= kSamples; ++k) points.push_back(line_at(360.0 * k / kSamples, plunge));
  return points;
}

// The two lateral limits about `axis` (an azimuth): straight, the vertical
// planes at axis +- lambda; curved, the lines at lambda from the vertical
// plane through the axis, on the axis's side.
std::vector<ConstructionCurve> lateral_limits(double axis, const Slope& s) {
  std::vector<ConstructionCurve> limits;
  for (const double side : {-1.0, 1.0}) {
    std::vector<Vector3> points;
    if (s.limits == LateralLimits::straight) {
      for (int k = 0; k <= 90; ++k) points.push_back(line_at(axis + side * s.lateral, k));
    } else {
      const double top = 90.0 - s.lateral;
      for (int k = 0; k <= kSamples / 2; ++k) {
        const double p = top * k / (kSamples / 2);
        const double ratio = std::min(1.0, std::sin(s.lateral * kRadian) / std::cos(p * kRadian));
        points.push_back(line_at(axis + side * std::asin(ratio) / kRadian, p));
      }
    }
    limits.push_back({"lateral limit", std::move(points)});
  }
  return limits;
}

// The plunges [lo, hi] of a zone at one offset from its axis.
struct Interval {
  double lo, hi;
};

// A zone sampled by the offset d from `axis` over [-range, range]: at each d
// the plunges [lo, hi] (empty when lo > hi) of the direction drawn, the
// outline the lower bounds forward and the upper ones back.
template <class Bounds>
std::vector<Vector3> zone_outline(double axis, double range, Bounds bounds, bool to_pole) {
  std::vector<std::pair<double, Interval>> samples;
  for (int k = 0; k <= 2 * kSamples; ++k) {
    const double d = -range + 2.0 * range * k / (2 * kSamples);
    const Interval i = bounds(d);
    if (i.lo <= i.hi) samples.push_back({d, i});
  }
  std::vector<Vector3> outline;
  auto point = [&](double d, double plunge) {
    // A dip vector's pole: half a turn about, the complement of the plunge.
    outline.push_back(to_pole ? line_at(axis + d + 180.0, 90.0 - plunge)
                              : line_at(axis + d, plunge));
  };
  for (const auto& [d, i] : samples) point(d, i.lo);
  for (auto it = samples.rbegin(); it != samples.rend(); ++it) point(it->first, it->second.hi);
  return outline;
}

// The angle (degrees) whose sine is sin(lambda) / |sin d|, capped at 90: the
// steepest dip (planar) within the curved limit at dip-direction offset d.
double curved_bound(double lambda, double d) {
  const double sd = std::abs(std::sin(d * kRadian));
  if (sd <= std::sin(lambda * kRadian)) return 90.0;
  return std::asin(std::sin(lambda * kRadian) / sd) / kRadian;
}

}  // namespace

KinematicConstruction kinematic_construction(const Slope& s, KinematicMode mode) {
  KinematicConstruction c;
  const bool straight = s.limits == LateralLimits::straight;
  const double a = s.dip_direction;
  const double range = straight ? s.lateral : 89.999;
  c.curves.push_back({"slope face", great_circle(a, s.dip)});
  switch (mode) {
    case KinematicMode::planar:
      // Poles: within phi of the centre dip less than phi.
      c.curves.push_back({"friction cone", plunge_circle(90.0 - s.friction)});
      {
        std::vector<Vector3> envelope;
        for (int k = 0; k <= kSamples; ++k) {
          const double d = -90.0 + 180.0 * k / kSamples;
          envelope.push_back(line_at(a + d + 180.0, 90.0 - apparent_dip(s.dip, d)));
        }
        c.curves.push_back({"daylight envelope", std::move(envelope)});
      }
      for (ConstructionCurve& l : lateral_limits(a + 180.0, s)) {
        // The curved limit on poles: |pole . h| = sin lambda.
        c.curves.push_back(std::move(l));
      }
      if (!no_sliding_zone(s))
        c.zone = zone_outline(
            a, range,
            [&](double d) {
              const double hi =
                  std::min(apparent_dip(s.dip, d), straight ? 90.0 : curved_bound(s.lateral, d));
              return Interval{s.friction, hi};
            },
            true);
      break;
    case KinematicMode::wedge:
      c.curves.push_back({"friction cone", plunge_circle(s.friction)});
      c.curves.push_back({"friction plane", great_circle(a, s.friction)});
      if (!no_sliding_zone(s))
        c.zone = zone_outline(
            a, 89.999,
            [&](double d) {
              return Interval{s.friction, apparent_dip(s.dip, d)};
            },
            false);
      break;
    case KinematicMode::flexural:
      c.curves.push_back({"slip limit", great_circle(a, s.dip - s.friction)});
      for (ConstructionCurve& l : lateral_limits(a, s)) c.curves.push_back(std::move(l));
      if (s.dip > s.friction)
        c.zone = zone_outline(
            a, range,
            [&](double d) {
              const double lo = straight ? 0.0 : 90.0 - curved_bound(s.lateral, d);
              return Interval{lo, apparent_dip(s.dip - s.friction, d)};
            },
            false);
      break;
    case KinematicMode::direct:
      c.curves.push_back({"friction cone", plunge_circle(s.friction)});
      c.curves.push_back({"toppling limit", great_circle(a + 180.0, 90.0 - s.dip)});
      for (ConstructionCurve& l : lateral_limits(a + 180.0, s)) c.curves.push_back(std::move(l));
      c.zone = zone_outline(
          a + 180.0, range,
          [&](double d) {
            const double lo = std::max(apparent_dip(90.0 - s.dip, d),
                                       straight ? 0.0 : 90.0 - curved_bound(s.lateral, d));
            return Interval{lo, 90.0};
          },
          false);
      break;
  }
  c.poles = mode == KinematicMode::planar || mode == KinematicMode::flexural;
  return c;
}

std::vector<Vector3> intersection_lines(std::span<const DipDirection> planes) {
  std::vector<Vector3> lines;
  KinematicResult ignored;
  const Frame f(Slope{0, 45});
  for_each_intersection(
      f, planes, ignored,
      [&](std::size_t, std::size_t, const Vector3& v, double n) { lines.push_back(unit(v, n)); });
  return lines;
}

std::string_view zone_name(KinematicZone zone) {
  switch (zone) {
    case KinematicZone::primary:
      return "primary";
    case KinematicZone::secondary:
      return "secondary";
    default:
      return "base";
  }
}

std::span<const KinematicModeEntry> kinematic_modes() { return kModes; }

const KinematicModeEntry& kinematic_mode(KinematicMode mode) {
  for (const KinematicModeEntry& m : kModes)
    if (m.mode == mode) return m;
  return kModes[0];
}

std::optional<KinematicMode> parse_kinematic_mode(std::string_view name) {
  for (const KinematicModeEntry& m : kModes)
    if (m.name == name) return m.mode;
  return std::nullopt;
}

std::string_view slope_error(const Slope& s) {
  if (!std::isfinite(s.dip_direction) || !std::isfinite(s.dip) || !std::isfinite(s.friction) ||
      !std::isfinite(s.lateral))
    return "a value is not a finite number";
  if (!(s.dip > 0 && s.dip <= 90)) return "the slope's dip is not above 0 and at most 90";
  if (!(s.friction >= 0 && s.friction < 90)) return "the friction angle is not in [0, 90)";
  if (!(s.lateral >= 0 && s.lateral <= 90)) return "the lateral limit is not in [0, 90]";
  return "";
}

double apparent_dip(double dip, double azimuth) {
  return std::atan(std::tan(dip * kRadian) * std::cos(azimuth * kRadian)) / kRadian;
}

}  // namespace polarsketch::analysis
