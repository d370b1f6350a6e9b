// Density of axial orientation data on the sphere: counting and weighting
// methods of structural geology, evaluated at nodes (unit vectors), fast with
// a spatial index, and by brute force as the reference.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/density_methods.hpp"
#include "analysis/statistics.hpp"

namespace polarsketch::analysis {

enum class DensityUnits {
  mud,    // multiples of a uniform distribution
  sigma,  // standard deviations of the count of a uniform distribution (Kamb methods)
};

// The accepted range of DensityOptions::sigma. Below the least, the counting
// circle of a large data set shrinks below a grid cell and its weights below
// what a double holds.
inline constexpr double kMinSigma = 0.001;
inline constexpr double kMaxSigma = 1000;

struct DensityOptions {
  DensityMethod method = DensityMethod::exp_kamb;
  // The Kamb methods' counting area: a uniform sample of n points puts
  // `sigma` standard deviations into it on average.
  double sigma = 3;
  DensityUnits units = DensityUnits::mud;
};

// The method's name in the table of methods ("exp-kamb", "kamb", ...).
std::string_view method_name(DensityMethod method);
std::optional<DensityMethod> parse_method(std::string_view name);
// "MUD" or "sigma".
std::string_view units_name(DensityUnits units);
std::optional<DensityUnits> parse_units(std::string_view name);
// Whether the method has sigma units (the Kamb methods).
bool has_sigma_units(DensityMethod method);

// Density at every node. Points and nodes are unit vectors; points are axial
// (v and -v are the same datum) and may lie in either hemisphere. Uses both
// cores. Throws std::invalid_argument for sigma outside [kMinSigma, kMaxSigma], units
// the method lacks, or a data set so large that its weights overflow.
// Zero everywhere for no points.
std::vector<double> density(std::span<const Vector3> points, std::span<const Vector3> nodes,
                            const DensityOptions& options);

// The same, every node against every point, without any cut-off: the
// reference the fast evaluation is checked against.
std::vector<double> density_brute_force(std::span<const Vector3> points,
                                        std::span<const Vector3> nodes,
                                        const DensityOptions& options);

}  // namespace polarsketch::analysis
