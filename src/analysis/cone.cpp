#include "analysis/cone.hpp"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace polarsketch::analysis {
namespace {

constexpr double kDeg = 180.0 / std::numbers::pi;

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vector3 unit(const Eigen::Vector3d& v) {
  const Eigen::Vector3d u = v.normalized();
  return Vector3{u(0), u(1), u(2)};
}

// Sum of squared angular residuals of points about an axis, with the
// half-angle that minimises it (their mean angle to the axis).
struct Residual {
  double sum = 0;
  double half_angle = 0;  // radians
};

Residual residual(std::span<const Vector3> points, const Vector3& axis) {
  std::vector<double> angles;
  angles.reserve(points.size());
  double mean = 0;
  for (const Vector3& x : points) {
    angles.push_back(std::acos(std::clamp(dot(x, axis), -1.0, 1.0)));
    mean += angles.back();
  }
  mean /= static_cast<double>(points.size());
  Residual r{0, mean};
  for (const double a : angles) r.sum += (a - mean) * (a - mean);
  return r;
}

// Angular least squares: a pattern search over small turns of the axis about
// two directions at right angles to it, the step halved when no turn helps.
Vector3 refined(std::span<const Vector3> points, Vector3 axis) {
  double best = residual(points, axis).sum;
  for (double step = 0.02; step > 1e-9;) {
    const Eigen::Vector3d a(axis[0], axis[1], axis[2]);
    Eigen::Vector3d u = a.unitOrthogonal();
    const Eigen::Vector3d w = a.cross(u);
    bool moved = false;
    for (const Eigen::Vector3d& d : {u, Eigen::Vector3d(-u), w, Eigen::Vector3d(-w)}) {
      const Vector3 trial = unit(a * std::cos(step) + d * std::sin(step));
      const double r = residual(points, trial).sum;
      if (r < best) {
        best = r;
        axis = trial;
        moved = true;
        break;
      }
    }
    if (!moved) step /= 2;
  }
  return axis;
}

// Continued fraction of the incomplete beta function (Lentz's method).
double beta_fraction(double a, double b, double x) {
  constexpr double kTiny = 1e-300;
  double c = 1, d = 1 - (a + b) * x / (a + 1);
  d = 1 / (std::abs(d) < kTiny ? kTiny : d);
  double h = d;
  for (int m = 1; m <= 300; ++m) {
    const double m2 = 2.0 * m;
    double aa = m * (b - m) * x / ((a + m2 - 1) * (a + m2));
    d = 1 + aa * d;
    d = 1 / (std::abs(d) < kTiny ? kTiny : d);
    c = 1 + aa / c;
    if (std::abs(c) < kTiny) c = kTiny;
    h *= d * c;
    aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + m2 + 1));
    d = 1 + aa * d;
    d = 1 / (std::abs(d) < kTiny ? kTiny : d);
    c = 1 + aa / c;
    if (std::abs(c) < kTiny) c = kTiny;
    const double del = d * c;
    h *= del;
    if (std::abs(del - 1) < 1e-15) break;
  }
  return h;
}

// The regularised incomplete beta function I_x(a, b).
double incomplete_beta(double a, double b, double x) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) +
                                a * std::log(x) + b * std::log1p(-x));
  if (x < (a + 1) / (a + b + 2)) return front * beta_fraction(a, b, x) / a;
  return 1 - front * beta_fraction(b, a, 1 - x) / b;
}

}  // namespace

double f1_upper_tail(double v, double d) {
  if (v <= 0) return 1;
  return incomplete_beta(d / 2, 0.5, d / (d + v));
}

std::optional<ConeFit> fit_cone(std::span<const Vector3> axes) {
  if (axes.size() < 3) return std::nullopt;
  const double n = static_cast<double>(axes.size());
  Eigen::Matrix3d t = Eigen::Matrix3d::Zero();
  for (const Vector3& x : axes) {
    const Eigen::Vector3d v(x[0], x[1], x[2]);
    t += v * v.transpose();
  }
  const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> tensor(t);
  // Axes all alike (s2 = s3 = 0) lie on every cone through them: none is
  // the fit.
  if (tensor.eigenvalues()(1) / n < 1e-12) return std::nullopt;
  ConeFit best;
  best.n = axes.size();
  double best_sum = std::numeric_limits<double>::infinity();
  std::vector<Vector3> points(axes.size());
  for (int candidate = 0; candidate < 3; ++candidate) {
    const Vector3 e = unit(tensor.eigenvectors().col(candidate));
    Eigen::Vector3d mean = Eigen::Vector3d::Zero();
    for (std::size_t i = 0; i < axes.size(); ++i) {
      const double s = dot(axes[i], e) < 0 ? -1.0 : 1.0;
      points[i] = Vector3{s * axes[i][0], s * axes[i][1], s * axes[i][2]};
      mean += Eigen::Vector3d(points[i][0], points[i][1], points[i][2]);
    }
    mean /= n;
    Eigen::Matrix3d scatter = -n * mean * mean.transpose();
    for (const Vector3& x : points) {
      const Eigen::Vector3d v(x[0], x[1], x[2]);
      scatter += v * v.transpose();
    }
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> centred(scatter);
    Vector3 axis = unit(centred.eigenvectors().col(0));
    if (dot(axis, Vector3{mean(0), mean(1), mean(2)}) < 0) axis = {-axis[0], -axis[1], -axis[2]};
    axis = refined(points, axis);
    const Residual r = residual(points, axis);
    if (r.sum < best_sum) {
      best_sum = r.sum;
      // Half-angles past 90 are the other end of the axis at 180 less.
      const bool flip = r.half_angle > std::numbers::pi / 2;
      best.axis = trend_plunge(flip ? Vector3{-axis[0], -axis[1], -axis[2]} : axis);
      best.half_angle = (flip ? std::numbers::pi - r.half_angle : r.half_angle) * kDeg;
      best.cone_rms = std::sqrt(r.sum / n) * kDeg;
    }
  }
  // The great circle: its pole is the eigenvector of the smallest eigenvalue;
  // each residual is the angle to the plane.
  const Vector3 pole = unit(tensor.eigenvectors().col(0));
  double great_sum = 0;
  for (const Vector3& x : axes) {
    const double off = std::asin(std::min(1.0, std::abs(dot(x, pole))));
    great_sum += off * off;
  }
  best.great_pole = trend_plunge(pole);
  best.great_rms = std::sqrt(great_sum / n) * kDeg;
  const double small_sum = best_sum;
  if (axes.size() >= 4 && small_sum > 0) {
    const double d = n - 3;
    best.f = d * (great_sum - small_sum) / small_sum;
    best.p = f1_upper_tail(*best.f, d);
    best.small_circle_better = *best.p < 0.05;
  } else if (axes.size() >= 4) {
    // An exact cone (r_s = 0): V is infinite.
    best.small_circle_better = small_sum < great_sum;
  }
  // Three axes always lie on a small circle: with no degree of freedom left
  // there is no test, and the small circle is not called better.
  return best;
}

}  // namespace polarsketch::analysis
