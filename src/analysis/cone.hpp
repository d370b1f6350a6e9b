// A small circle (cone) fitted to axes, the best great circle, and the test of
// whether the small circle fits significantly better (Gray, Geiser and
// Geiser 1980).
#pragma once

#include <optional>
#include <span>

#include "analysis/statistics.hpp"

namespace polarsketch::analysis {

struct ConeFit {
  std::size_t n = 0;
  TrendPlunge axis;        // the cone's axis, lower-hemisphere end
  double half_angle = 0;   // degrees, [0, 90]
  double cone_rms = 0;     // root mean square of the angular residuals, degrees
  TrendPlunge great_pole;  // pole of the best great circle (v3 of the tensor)
  double great_rms = 0;    // its root mean square residual, degrees
  // V = (n - 3)(r_g - r_s)/r_s against F(1, n - 3), r the sums of squared
  // angular residuals; empty when r_s is 0 or n < 4.
  std::optional<double> f;
  std::optional<double> p;  // P(F(1, n - 3) > V)
  bool small_circle_better = false;  // p < 0.05 (or n >= 4 and r_s = 0 < r_g)
};

// The fit: for each eigenvector of the orientation tensor as the candidate
// axis, the axes are turned to its side (so a cone that crosses the
// primitive keeps its points on one nappe), the closed form gives a start
// (the axis is the eigenvector of the smallest eigenvalue of the centred
// scatter matrix, cos K = mean . axis), and angular least squares refines
// it; the candidate of the smallest residual is kept. Empty for n < 3 and
// for axes that are all one axis.
std::optional<ConeFit> fit_cone(std::span<const Vector3> axes);

// P(F(1, d) > v), from the regularised incomplete beta function.
double f1_upper_tail(double v, double d);

}  // namespace polarsketch::analysis
