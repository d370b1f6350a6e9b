// The density methods' table and their kernels. The weights and units are
// derived in density.cpp's opening comment.
#include "analysis/density_methods.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace polarsketch::analysis {
namespace {

// Relative tolerance of the exp-kamb cut-off. The dropped weight at a node
// is at most n W(cutoff) = kExpTolerance * n E[W], the hemisphere's mean
// weight sum, which is never above the peak: the fast density differs from
// the full sum by at most 1e-10 of the peak (well inside 1e-9). At n = 10^6,
// sigma 3, this is 1.02 degrees; at n = 10^4 it is 9.5 degrees.
constexpr double kExpTolerance = 1e-10;

// A counting circle covering the share `area` of the sphere (about the node
// and its antipode); `linear` weighs it 2 at the node down to 0 on the circle.
KernelShape circle(double area, bool linear) {
  KernelShape k;
  k.shape = linear ? WeightShape::linear : WeightShape::circle;
  k.cos_radius = k.cutoff = 1 - area;
  if (linear) k.f = 2 / area;
  k.mean = area;
  k.sd = std::sqrt(area * (1 - area));
  return k;
}

// Kamb's area: n uniform points put k standard deviations into it.
double kamb_area(double n, double k) { return k * k / (n + k * k); }

KernelShape kamb(double n, double k) { return circle(kamb_area(n, k), false); }
KernelShape linear_kamb(double n, double k) { return circle(kamb_area(n, k), true); }
KernelShape schmidt(double, double) { return circle(0.01, false); }

KernelShape exp_kamb(double n, double k) {
  KernelShape kernel;
  kernel.shape = WeightShape::exponential;
  kernel.f = 2 * (1 + n / (k * k));
  kernel.mean = -std::expm1(-kernel.f) / kernel.f;
  // Vollmer's (1995) sigma, sqrt(n (f/2 - 1)) / f, per point.
  kernel.sd = std::sqrt(kernel.f / 2 - 1) / kernel.f;
  kernel.cutoff = 1 + std::log(kExpTolerance * kernel.mean) / kernel.f;
  return kernel;
}

constexpr DensityMethodEntry kMethods[] = {
    {DensityMethod::exp_kamb, "exp-kamb", "exponential weighting (Vollmer 1995)", true, exp_kamb},
    {DensityMethod::kamb, "kamb", "counting circle (Kamb 1959)", true, kamb},
    {DensityMethod::linear_kamb, "linear-kamb",
     "counting circle with linearly decreasing weight (Vollmer 1995)", true, linear_kamb},
    {DensityMethod::schmidt, "schmidt", "counting circle of 1 % of the hemisphere", false, schmidt},
};

}  // namespace

std::span<const DensityMethodEntry> density_methods() { return kMethods; }

const DensityMethodEntry& density_method(DensityMethod method) {
  for (const DensityMethodEntry& e : kMethods)
    if (e.method == method) return e;
  throw std::logic_error("a density method without an entry");
}

}  // namespace polarsketch::analysis
