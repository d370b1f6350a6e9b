// The density methods, listed in one table: each with its name, a line on
// what it does, whether it has sigma units, and the kernel it counts with.
// Parsing, the command line's validation and help, and the density itself
// read this table; a new method is an enumerator, a kernel function and a
// line of the table.
#pragma once

#include <span>
#include <string_view>

namespace polarsketch::analysis {

enum class DensityMethod {
  exp_kamb,     // exponential weighting (Vollmer 1995)
  kamb,         // counting circle (Kamb 1959)
  linear_kamb,  // counting circle with linearly decreasing weight (Vollmer 1995)
  schmidt,      // counting circle of 1 % of the hemisphere
};

// The shape of a weight W(u) of u, the cosine between node and datum.
enum class WeightShape {
  exponential,  // W = exp(f (u - 1))
  circle,       // W = 1 for u >= cos_radius
  linear,       // W = f (u - cos_radius) for u >= cos_radius
};

// A method's kernel for a sample: its weight and the expectation and
// standard deviation of one uniform datum's weight (for the units).
struct KernelShape {
  WeightShape shape = WeightShape::exponential;
  double cos_radius = 0;  // counting circle: cos t
  double f = 0;           // exponent (exponential) or slope (linear)
  double cutoff = 0;      // points with u below this add nothing
  double mean = 0;        // E[W] of a uniform datum
  double sd = 0;          // its standard deviation
};

struct DensityMethodEntry {
  DensityMethod method;
  std::string_view name;         // as options and messages name it
  std::string_view description;  // one line
  bool sigma_units;              // whether a density in sigma units is defined
  // The kernel for `count` points and the Kamb criterion `sigma`.
  KernelShape (*kernel)(double count, double sigma);
};

// Every method, the default (DensityOptions' method) first.
std::span<const DensityMethodEntry> density_methods();
// The entry of a method (every enumerator has one).
const DensityMethodEntry& density_method(DensityMethod method);

}  // namespace polarsketch::analysis
