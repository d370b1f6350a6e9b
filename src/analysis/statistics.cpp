#include "analysis/statistics.hpp"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace polarsketch::analysis {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
// Below this an eigenvalue counts as zero and two eigenvalues as equal: the
// rounding of a million-term tensor sum stays orders of magnitude smaller.
constexpr double kEigenTolerance = 1e-10;
// Eigenvalues below this are rounding noise of a zero eigenvalue.
constexpr double kZeroEigenvalue = 1e-15;
// n - R below this share of n counts as R = n (identical directions).
constexpr double kResultantTolerance = 1e-12;
// An axis whose dot product with v1 is within this of zero is at right angles
// to it: either end is as near, so the end passed in counts.
constexpr double kRightAngle = 1e-12;

// Sums of the vectors and of their outer products. Summed in blocks so the
// rounding error grows with the number of blocks, not the number of terms.
struct Sums {
  std::array<double, 3> v{};
  std::array<double, 6> t{};  // xx, yy, zz, xy, xz, yz

  void add(const Sums& o) {
    for (std::size_t i = 0; i < 3; ++i) v[i] += o.v[i];
    for (std::size_t i = 0; i < 6; ++i) t[i] += o.t[i];
  }
};

constexpr std::size_t kBlock = 1024;

Sums sum_vectors(std::span<const Vector3> vectors) {
  Sums total;
  for (std::size_t start = 0; start < vectors.size(); start += kBlock) {
    Sums block;
    const std::size_t end = std::min(vectors.size(), start + kBlock);
    for (std::size_t i = start; i < end; ++i) {
      const auto& [x, y, z] = vectors[i];
      block.v[0] += x;
      block.v[1] += y;
      block.v[2] += z;
      block.t[0] += x * x;
      block.t[1] += y * y;
      block.t[2] += z * z;
      block.t[3] += x * y;
      block.t[4] += x * z;
      block.t[5] += y * z;
    }
    total.add(block);
  }
  return total;
}

// The sum of the axes, each turned to the side of `toward` (ties: the end
// given), in blocks as above.
std::array<double, 3> sum_axes(std::span<const Vector3> vectors, const Vector3& toward) {
  std::array<double, 3> total{};
  for (std::size_t start = 0; start < vectors.size(); start += kBlock) {
    std::array<double, 3> block{};
    const std::size_t end = std::min(vectors.size(), start + kBlock);
    for (std::size_t i = start; i < end; ++i) {
      const auto& [x, y, z] = vectors[i];
      const double side = x * toward[0] + y * toward[1] + z * toward[2] < -kRightAngle ? -1 : 1;
      block[0] += side * x;
      block[1] += side * y;
      block[2] += side * z;
    }
    for (std::size_t k = 0; k < 3; ++k) total[k] += block[k];
  }
  return total;
}

void fill_fisher(Statistics& s, const std::array<double, 3>& sum) {
  const double n = static_cast<double>(s.n);
  s.resultant = std::hypot(sum[0], sum[1], sum[2]);
  // Vectors that cancel (0/0 and 180/0) leave only rounding, which has no
  // direction: R is 0 and the mean undefined.
  if (s.resultant <= kResultantTolerance * n) s.resultant = 0;
  if (s.resultant > 0) s.mean = trend_plunge(sum);
  if (s.n < 2) return;
  const bool all_equal = n - s.resultant <= kResultantTolerance * n;
  if (!all_equal) s.fisher_k = (n - 1) / (n - s.resultant);
  if (s.resultant == 0) return;
  const double spread = all_equal ? 0.0 : n - s.resultant;
  const double cosine = 1 - spread / s.resultant * (std::pow(20.0, 1 / (n - 1)) - 1);
  if (cosine >= -1) s.alpha95 = std::acos(std::min(1.0, cosine)) * kDegrees;
}

// An eigenvector's sign is arbitrary: a horizontal axis is given by its end
// with a trend below 180, so that equal data give equal output.
TrendPlunge axis_trend_plunge(const Vector3& v) {
  TrendPlunge d = trend_plunge(v);
  if (std::abs(v[2]) < 1e-12 && d.trend >= 180) d = {d.trend - 180, 0};
  return d;
}

// Fills the tensor's values; returns v1 when it is defined (s1 > s2).
std::optional<Vector3> fill_tensor(Statistics& s, const Sums& sums) {
  const double n = static_cast<double>(s.n);
  Eigen::Matrix3d t;
  t << sums.t[0], sums.t[3], sums.t[4],  //
      sums.t[3], sums.t[1], sums.t[5],   //
      sums.t[4], sums.t[5], sums.t[2];
  t /= n;
  const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(t);
  // Eigen sorts ascending; s1 is the largest.
  std::array<double, 3> e;
  std::array<Vector3, 3> vec;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto col = static_cast<Eigen::Index>(2 - i);
    // Rounding leaves a zero eigenvalue slightly off zero, either way.
    const double value = solver.eigenvalues()(col);
    e[i] = value < kZeroEigenvalue ? 0.0 : value;
    const auto v = solver.eigenvectors().col(col);
    vec[i] = {v(0), v(1), v(2)};
  }
  s.eigenvalues = e;
  const bool gap12 = e[0] - e[1] > kEigenTolerance;
  const bool gap23 = e[1] - e[2] > kEigenTolerance;
  if (gap12) s.eigenvectors[0] = axis_trend_plunge(vec[0]);
  if (gap12 && gap23) s.eigenvectors[1] = axis_trend_plunge(vec[1]);
  if (gap23) {
    s.eigenvectors[2] = axis_trend_plunge(vec[2]);
    s.beta_axis = s.eigenvectors[2];
    s.girdle = DipDirection{std::fmod(s.beta_axis->trend + 180, 360), 90 - s.beta_axis->plunge};
  }
  if (gap12 && e[2] > kEigenTolerance) {
    // Bingham concentrations by the large-concentration approximation and
    // Onstott's confidence ellipse; sqrt(-2 ln 0.05) = 2.4477 is the 95 %
    // point of chi-square with 2 degrees of freedom, rooted.
    const double chi = std::sqrt(-2.0 * std::log(0.05));
    const auto semi = [&](double k, double si) -> std::optional<double> {
      const double radians = chi * std::sqrt(1.0 / (-2.0 * n * k * (e[0] - si)));
      const double degrees = radians * kDegrees;
      return degrees <= 90.0 ? std::optional(degrees) : std::nullopt;
    };
    s.bingham_k2 = -1.0 / (2.0 * e[1]);
    s.bingham_k3 = -1.0 / (2.0 * e[2]);
    s.bingham_semi_v2 = semi(*s.bingham_k2, e[1]);
    s.bingham_semi_v3 = semi(*s.bingham_k3, e[2]);
  }
  if (e[2] > kEigenTolerance) {
    s.woodcock_c = std::log(e[0] / e[2]);
    if (gap12 && gap23) s.woodcock_k = std::log(e[0] / e[1]) / std::log(e[1] / e[2]);
  }
  if (!gap12) return std::nullopt;
  return vec[0];
}

}  // namespace

TrendPlunge trend_plunge(const Vector3& v) {
  const double sign = v[2] < 0 ? -1.0 : 1.0;
  const double x = sign * v[0], y = sign * v[1], z = sign * v[2];
  double trend = std::atan2(y, x) * kDegrees;
  if (trend < 0) trend += 360;
  if (trend >= 360) trend = 0;
  // Never -0 (a horizontal vector with z = -0).
  const double plunge = std::max(0.0, std::atan2(z, std::hypot(x, y)) * kDegrees);
  return {trend, plunge};
}

Statistics compute_statistics(std::span<const Vector3> vectors, Directions directions) {
  Statistics s;
  s.n = vectors.size();
  if (s.n == 0) return s;
  const Sums sums = sum_vectors(vectors);
  // The tensor does not depend on the ends of the axes; v1 then turns them.
  const std::optional<Vector3> v1 = fill_tensor(s, sums);
  const bool turn = directions == Directions::axes && v1;
  fill_fisher(s, turn ? sum_axes(vectors, *v1) : sums.v);
  return s;
}

}  // namespace polarsketch::analysis
