// A rose page's scale: its rings and the radius of a share.
#include "figure/rose_page.hpp"

#include <algorithm>
#include <cmath>

namespace polarsketch::figure {
namespace {

constexpr double kRingsWanted = 4;

// The least of 1, 2, 2.5 and 5 times a power of ten at or above `raw`.
double nice_step(double raw) {
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 2.5, 5.0})
    if (m * power >= raw * (1 - 1e-12)) return m * power;
  return 10.0 * power;
}

}  // namespace

double bin_percent(const analysis::RoseBin& bin, const analysis::Rose& rose) {
  const double total = rose.statistics.total_weight;
  return total > 0 ? 100.0 * bin.weight / total : 0.0;
}

RoseRings rose_rings(const analysis::Rose& rose) {
  double most = 0;
  for (const analysis::RoseBin& b : rose.bins) most = std::max(most, bin_percent(b, rose));
  if (most <= 0) return {};
  RoseRings rings;
  rings.step = nice_step(most / kRingsWanted);
  rings.outer = std::ceil(most / rings.step * (1 - 1e-12)) * rings.step;
  return rings;
}

double rose_radius(double percent, const RoseRings& rings, RoseScale scale) {
  const double share = std::clamp(percent / rings.outer, 0.0, 1.0);
  return scale == RoseScale::area ? std::sqrt(share) : share;
}

}  // namespace polarsketch::figure
