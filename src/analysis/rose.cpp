// Rose diagrams: azimuths, weights, bins and circular statistics.
#include "analysis/rose.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace polarsketch::analysis {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr std::size_t kMostBins = 3600;
// An azimuth this close to a bin's edge (in widths) is on the edge: decimal
// starts and widths are not exact in binary.
constexpr double kEdgeTolerance = 1e-9;

double wrapped(double degrees, double period) {
  double a = std::fmod(degrees, period);
  if (a < 0) a += period;
  return a >= period ? a - period : a;
}

// The azimuth of the horizontal part of a vector (0 for a vertical one).
double azimuth_of(const data::Vector3& v) {
  return wrapped(std::atan2(v[1], v[0]) / kDegree, 360.0);
}

bool kept(const data::Plane& p, const RoseSelection& s) {
  return !s.dips || (p.dip >= s.dips->first && p.dip <= s.dips->second);
}

double plane_azimuth(const data::Plane& p, RoseCount count) {
  return count == RoseCount::strike ? data::wrap_azimuth(p.dip_direction - 90.0) : p.dip_direction;
}

double slip_trend(const data::Slip& s) {
  return s.sense_known ? azimuth_of(data::rake_vector(s.plane, s.rake)) : s.line.trend;
}

}  // namespace

RoseCount default_count(data::Kind kind) {
  return kind == data::Kind::lines ? RoseCount::trend : RoseCount::strike;
}

RoseSymmetry default_symmetry(RoseCount count) {
  return count == RoseCount::strike ? RoseSymmetry::axial : RoseSymmetry::directional;
}

double rose_period(RoseSymmetry symmetry) {
  return symmetry == RoseSymmetry::axial ? 180.0 : 360.0;
}

std::string count_name(RoseCount count) {
  switch (count) {
    case RoseCount::strike:
      return "strikes";
    case RoseCount::dip_direction:
      return "dip directions";
    case RoseCount::trend:
      break;
  }
  return "trends";
}

double terzaghi_weight(const data::Plane& plane, const data::Line& scanline, double min_bias) {
  const data::Vector3 n = data::to_vector(data::pole_of(plane));
  const data::Vector3 l = data::to_vector(scanline);
  // The angle between plane and line is 90 less the angle between pole and line.
  const double sin_a = std::abs(n[0] * l[0] + n[1] * l[1] + n[2] * l[2]);
  return 1.0 / std::max(sin_a, std::sin(min_bias * kDegree));
}

RoseSample rose_sample(const data::DataSet& set, const RoseSelection& s) {
  RoseSample sample;
  const std::string kind(data::kind_name(set.kind));
  if (set.kind == data::Kind::lines) {
    if (s.count != RoseCount::trend)
      sample.error = "the data are lines: they have trends, not " + count_name(s.count);
    else if (s.dips)
      sample.error = "the data are lines: --dips keeps planes by their dip";
    else if (s.scanline)
      sample.error = "the data are lines: Terzaghi weights are for planes";
    if (!sample.error.empty()) return sample;
    for (const data::Line& l : set.lines) sample.azimuths.push_back(l.trend);
    return sample;
  }
  if (set.kind == data::Kind::planes && s.count == RoseCount::trend) {
    sample.error = "the data are planes: they have strikes and dip directions, not trends";
    return sample;
  }
  auto add = [&](const data::Plane& plane, double azimuth) {
    if (!kept(plane, s)) return;
    sample.azimuths.push_back(azimuth);
    if (s.scanline) sample.weights.push_back(terzaghi_weight(plane, *s.scanline, s.min_bias));
  };
  for (const data::Plane& p : set.planes) add(p, plane_azimuth(p, s.count));
  for (const data::Slip& sl : set.slips)
    add(sl.plane, s.count == RoseCount::trend ? slip_trend(sl) : plane_azimuth(sl.plane, s.count));
  return sample;
}

std::string bin_width_error(double width, RoseSymmetry symmetry) {
  const double period = rose_period(symmetry);
  const std::string what = symmetry == RoseSymmetry::axial ? "axial data" : "directional data";
  if (!std::isfinite(width) || width <= 0) return "the bin width must be above 0";
  const double bins = period / width;
  if (std::abs(bins - std::round(bins)) > kEdgeTolerance * bins)
    return "the bin width must divide " + std::to_string(static_cast<int>(period)) + " for " +
           what + " (e.g. 5, 10, 15, 20, 30)";
  if (std::round(bins) > static_cast<double>(kMostBins))
    return "the bins are too narrow (at most " + std::to_string(kMostBins) + " bins)";
  return "";
}

std::size_t bin_index(double azimuth, double start, double width, RoseSymmetry symmetry) {
  const double period = rose_period(symmetry);
  const auto bins = static_cast<std::size_t>(std::llround(period / width));
  double q = wrapped(azimuth - start, period) / width;
  if (std::abs(q - std::round(q)) < kEdgeTolerance) q = std::round(q);
  return static_cast<std::size_t>(q) % bins;
}

double rayleigh_p(std::size_t n, double rbar) {
  if (n == 0) return 1.0;
  const double nn = static_cast<double>(n), r = nn * rbar;
  const double p = std::exp(std::sqrt(1.0 + 4.0 * nn + 4.0 * (nn * nn - r * r)) - (1.0 + 2.0 * nn));
  return std::clamp(p, 0.0, 1.0);
}

CircularStatistics circular_statistics(std::span<const double> azimuths,
                                       std::span<const double> weights, RoseSymmetry symmetry) {
  const double f = symmetry == RoseSymmetry::axial ? 2.0 : 1.0;
  const double period = rose_period(symmetry);
  auto weight = [&](std::size_t i) { return weights.empty() ? 1.0 : weights[i]; };
  CircularStatistics st;
  st.n = azimuths.size();
  double c = 0, s = 0;
  for (std::size_t i = 0; i < azimuths.size(); ++i) {
    const double a = f * azimuths[i] * kDegree;
    c += weight(i) * std::cos(a);
    s += weight(i) * std::sin(a);
    st.total_weight += weight(i);
  }
  if (st.n == 0 || st.total_weight <= 0) return st;
  const double rbar = std::min(1.0, std::hypot(c, s) / st.total_weight);
  st.mean_resultant_length = rbar;
  st.circular_variance = 1.0 - rbar;
  const double nn = static_cast<double>(st.n);
  st.rayleigh_z = nn * rbar * rbar;
  st.rayleigh_p = rayleigh_p(st.n, rbar);
  // A resultant this short has no direction worth stating.
  if (rbar < 1e-12) return st;
  const double mean_f = std::atan2(s, c);  // the mean of the (doubled) angles, radians
  st.mean = wrapped(mean_f / kDegree / f, period);
  // Rbar = 1 gives ln 1 = 0 and -2 * 0 = -0: a spread never shown as -0.
  st.circular_sd = std::sqrt(std::max(0.0, -2.0 * std::log(rbar))) / kDegree / f;
  if (st.n < 2) return st;
  double rho2 = 0;
  for (std::size_t i = 0; i < azimuths.size(); ++i)
    rho2 += weight(i) * std::cos(2.0 * (f * azimuths[i] * kDegree - mean_f));
  rho2 /= st.total_weight;
  const double sigma = std::sqrt(std::max(0.0, 1.0 - rho2) / (2.0 * nn * rbar * rbar));
  if (1.96 * sigma <= 1.0) st.confidence95 = std::asin(1.96 * sigma) / kDegree / f;
  return st;
}

Rose rose_of(std::span<const double> azimuths, std::span<const double> weights, double start,
             double width, RoseSymmetry symmetry) {
  Rose rose;
  rose.symmetry = symmetry;
  rose.start = start;
  rose.width = width;
  rose.weighted = !weights.empty();
  const double period = rose_period(symmetry);
  const auto bins = static_cast<std::size_t>(std::llround(period / width));
  for (std::size_t k = 0; k < bins; ++k) {
    RoseBin b;
    b.start = wrapped(start + static_cast<double>(k) * width, 360.0);
    b.end = wrapped(b.start + width, 360.0);
    if (b.end == 0) b.end = 360.0;
    rose.bins.push_back(b);
  }
  for (std::size_t i = 0; i < azimuths.size(); ++i) {
    RoseBin& b = rose.bins[bin_index(azimuths[i], start, width, symmetry)];
    ++b.count;
    b.weight += weights.empty() ? 1.0 : weights[i];
  }
  rose.statistics = circular_statistics(azimuths, weights, symmetry);
  return rose;
}

}  // namespace polarsketch::analysis
