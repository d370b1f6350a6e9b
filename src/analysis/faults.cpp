#include "analysis/faults.hpp"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace polarsketch::analysis {
namespace {

constexpr double kPi = std::numbers::pi;
// Angelier's slip magnitude in the misfit: the largest shear of a tensor of
// the normalised size with Phi = 0.5.
const double kLambda = std::sqrt(3.0) / 2;
// A direction this close to a nodal plane counts one half.
constexpr double kNodal = 1e-12;

double radians(double d) { return d * kPi / 180; }
double degrees(double r) { return r * 180 / kPi; }

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double norm(const Vector3& a) { return std::sqrt(dot(a, a)); }

Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector3 unit(const Vector3& a) {
  const double l = norm(a);
  return {a[0] / l, a[1] / l, a[2] / l};
}

// Tensor components in the order sigma11, sigma22, sigma33, sigma12, sigma13,
// sigma23 (the unknowns of both inversions).
using Components = Eigen::Matrix<double, 6, 1>;

std::array<double, 9> tensor_of(const Components& x) {
  return {x(0), x(3), x(4), x(3), x(1), x(5), x(4), x(5), x(2)};
}

// The 3 x 6 matrix taking the components to the resolved shear on a plane.
Eigen::Matrix<double, 3, 6> shear_matrix(const Vector3& normal) {
  Eigen::Matrix<double, 3, 6> g;
  for (int k = 0; k < 6; ++k) {
    Components e = Components::Zero();
    e(k) = 1;
    const Vector3 tau = resolved_shear(tensor_of(e), normal);
    for (int i = 0; i < 3; ++i) g(i, k) = tau[static_cast<std::size_t>(i)];
  }
  return g;
}

// The misfit sum |t_i - G_i x|^2 = x'Mx - 2v'x + c of targets t_i.
struct Normal {
  Eigen::Matrix<double, 6, 6> m = Eigen::Matrix<double, 6, 6>::Zero();
  Components v = Components::Zero();
  double c = 0;
  double misfit(const Components& x) const { return x.dot(m * x) - 2 * v.dot(x) + c; }
};

Normal normal_equations(std::span<const Eigen::Matrix<double, 3, 6>> g,
                        std::span<const FaultVectors> faults, const std::vector<double>& size) {
  Normal eq;
  for (std::size_t i = 0; i < faults.size(); ++i) {
    const Eigen::Vector3d t = size[i] * Eigen::Vector3d(faults[i].slip[0], faults[i].slip[1],
                                                        faults[i].slip[2]);
    eq.m += g[i].transpose() * g[i];
    eq.v += g[i].transpose() * t;
    eq.c += t.squaredNorm();
  }
  return eq;
}

// Michael: the five unknowns with sigma33 = -sigma11 - sigma22, least squares.
Components solve_michael(const Normal& eq) {
  Eigen::Matrix<double, 6, 5> c = Eigen::Matrix<double, 6, 5>::Zero();
  c(0, 0) = 1;
  c(1, 1) = 1;
  c(2, 0) = -1;
  c(2, 1) = -1;
  c(3, 2) = 1;
  c(4, 3) = 1;
  c(5, 4) = 1;
  const Eigen::Matrix<double, 5, 5> a = c.transpose() * eq.m * c;
  const Eigen::Matrix<double, 5, 1> y = a.ldlt().solve(c.transpose() * eq.v);
  return c * y;
}

// Angelier: the diagonal (cos psi, cos(psi + 120), cos(psi + 240)), the three
// off-diagonal terms best for it in closed form; psi searched in one dimension.
Components angelier_at(const Normal& eq, double psi) {
  Components x = Components::Zero();
  for (int k = 0; k < 3; ++k) x(k) = std::cos(psi + 2 * kPi * k / 3);
  const Eigen::Matrix3d moo = eq.m.block<3, 3>(3, 3);
  const Eigen::Vector3d rhs = eq.v.tail<3>() - eq.m.block<3, 3>(3, 0) * x.head<3>();
  x.tail<3>() = moo.ldlt().solve(rhs);
  return x;
}

Components solve_angelier(const Normal& eq) {
  const auto f = [&](double psi) { return eq.misfit(angelier_at(eq, psi)); };
  constexpr int kSteps = 720;
  const double step = 2 * kPi / kSteps;
  double best = 0, best_f = f(0);
  for (int k = 1; k < kSteps; ++k) {
    const double v = f(k * step);
    if (v < best_f) best_f = v, best = k * step;
  }
  // Golden-section refinement within a step either side.
  const double g = (std::sqrt(5.0) - 1) / 2;
  double a = best - step, b = best + step;
  double c = b - g * (b - a), d = a + g * (b - a);
  double fc = f(c), fd = f(d);
  for (int k = 0; k < 80; ++k) {
    if (fc < fd) {
      b = d, d = c, fd = fc, c = b - g * (b - a), fc = f(c);
    } else {
      a = c, c = d, fc = fd, d = a + g * (b - a), fd = f(d);
    }
  }
  return angelier_at(eq, (a + b) / 2);
}

Components solve(StressMethod method, const Normal& eq) {
  return method == StressMethod::angelier ? solve_angelier(eq) : solve_michael(eq);
}

// The deviatoric part scaled to a Frobenius norm of sqrt(3/2).
std::array<double, 9> normalised(const Components& x) {
  std::array<double, 9> t = tensor_of(x);
  const double mean = (t[0] + t[4] + t[8]) / 3;
  for (int k : {0, 4, 8}) t[static_cast<std::size_t>(k)] -= mean;
  double sum = 0;
  for (double v : t) sum += v * v;
  if (!(sum > 0)) throw std::runtime_error("the stress inversion found no deviatoric stress");
  const double scale = std::sqrt(1.5 / sum);
  for (double& v : t) v *= scale;
  return t;
}

const StressMethodInfo kMethods[] = {
    {StressMethod::angelier, "angelier", "Angelier (1990) direct inversion"},
    {StressMethod::michael, "michael", "Michael (1984) linear inversion"},
};

}  // namespace

FaultVectors fault_vectors(const data::Plane& plane, double rake) {
  const double f = radians(plane.dip_direction - 90);
  const double d = radians(plane.dip);
  const double l = radians(rake);
  FaultVectors v;
  v.slip = {std::cos(l) * std::cos(f) + std::sin(l) * std::cos(d) * std::sin(f),
            std::cos(l) * std::sin(f) - std::sin(l) * std::cos(d) * std::cos(f),
            -std::sin(l) * std::sin(d)};
  v.normal = {-std::sin(d) * std::sin(f), std::sin(d) * std::cos(f), -std::cos(d)};
  return v;
}

double slip_azimuth(const FaultVectors& f, const data::Plane& plane) {
  if (std::hypot(f.slip[0], f.slip[1]) < 1e-9)
    return data::wrap_azimuth(f.slip[2] > 0 ? plane.dip_direction : plane.dip_direction + 180);
  return data::wrap_azimuth(degrees(std::atan2(f.slip[1], f.slip[0])));
}

KinematicAxes kinematic_axes(const FaultVectors& fault, double theta) {
  const double st = std::sin(radians(theta));
  const double ct = std::cos(radians(theta));
  const Vector3& n = fault.normal;
  const Vector3& s = fault.slip;
  KinematicAxes a;
  for (std::size_t i = 0; i < 3; ++i) {
    a.p[i] = st * n[i] - ct * s[i];
    a.t[i] = ct * n[i] + st * s[i];
  }
  a.p = unit(a.p);
  a.t = unit(a.t);
  a.b = unit(cross(n, s));
  return a;
}

char sense_letter(double rake) {
  double r = std::fmod(rake, 360.0);
  if (r > 180) r -= 360;
  if (r <= -180) r += 360;
  if (std::abs(r) > 45 && std::abs(r) < 135) return r < 0 ? 'N' : 'R';
  return std::abs(r) <= 45 ? 'S' : 'D';
}

double dihedra_share(std::span<const FaultVectors> faults, const Vector3& d) {
  if (faults.empty()) return 0;
  double count = 0;
  for (const FaultVectors& f : faults) {
    const double p = dot(d, f.normal) * dot(d, f.slip);
    count += std::abs(p) <= kNodal ? 0.5 : p < 0 ? 1.0 : 0.0;
  }
  return count / static_cast<double>(faults.size());
}

NetGrid dihedra_grid(std::span<const FaultVectors> faults, Projection projection,
                     std::size_t cells, const std::optional<Matrix3>& view) {
  NetGrid grid = net_grid(projection, cells);
  grid.view = view;
  const std::vector<Vector3> nodes = grid_nodes(grid);
  grid.values.reserve(nodes.size());
  for (const Vector3& node : nodes) grid.values.push_back(100 * dihedra_share(faults, node));
  return grid;
}

std::span<const StressMethodInfo> stress_methods() { return kMethods; }

const StressMethodInfo& method_info(StressMethod method) {
  for (const StressMethodInfo& m : kMethods)
    if (m.method == method) return m;
  throw std::logic_error("a stress method missing from the table");
}

Vector3 resolved_shear(const std::array<double, 9>& t, const Vector3& n) {
  // sigma n - (n . sigma n) n is the shear on the plane under tension
  // positive; compression positive turns its sign.
  const Vector3 sn = {t[0] * n[0] + t[1] * n[1] + t[2] * n[2],
                      t[3] * n[0] + t[4] * n[1] + t[5] * n[2],
                      t[6] * n[0] + t[7] * n[1] + t[8] * n[2]};
  const double nn = dot(n, sn);
  return {nn * n[0] - sn[0], nn * n[1] - sn[1], nn * n[2] - sn[2]};
}

StressResult invert_stress(std::span<const FaultVectors> faults, StressMethod method,
                           bool iterate) {
  if (faults.size() < 4) throw std::invalid_argument("a stress inversion needs 4 faults");
  std::vector<Eigen::Matrix<double, 3, 6>> g;
  g.reserve(faults.size());
  for (const FaultVectors& f : faults) g.push_back(shear_matrix(f.normal));
  const double start = method == StressMethod::angelier ? kLambda : 1.0;
  std::vector<double> size(faults.size(), start);

  StressResult result;
  result.method = method;
  result.iterated = iterate;
  Components x = solve(method, normal_equations(g, faults, size));
  // Mostafa's re-weighting: each fault's target is its own resolved shear
  // magnitude under the last tensor. Michael's targets are kept at their
  // starting mean (they set the tensor's scale); Angelier's tensor has a
  // fixed size, so its targets must keep the size it gives them.
  constexpr std::size_t kMaxIterations = 200;
  while (iterate && result.iterations < kMaxIterations) {
    std::vector<double> next(faults.size());
    double sum = 0;
    for (std::size_t i = 0; i < faults.size(); ++i)
      sum += next[i] = (g[i] * x).norm();
    if (!(sum > 0)) break;
    double change = 0;
    for (std::size_t i = 0; i < faults.size(); ++i) {
      if (method == StressMethod::michael) next[i] *= static_cast<double>(faults.size()) / sum;
      change = std::max(change, std::abs(next[i] - size[i]));
    }
    size = std::move(next);
    x = solve(method, normal_equations(g, faults, size));
    ++result.iterations;
    if (change < 1e-9) break;
  }
  result.settled = !iterate || result.iterations < kMaxIterations;

  result.tensor = normalised(x);
  Eigen::Matrix3d t;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t(i, j) = result.tensor[static_cast<std::size_t>(3 * i + j)];
  const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> eig(t);
  // Ascending eigenvalues: sigma1 (most compressive) is the last.
  for (int k = 0; k < 3; ++k) {
    const auto col = static_cast<Eigen::Index>(2 - k);
    result.values[static_cast<std::size_t>(k)] = eig.eigenvalues()(col);
    for (int i = 0; i < 3; ++i)
      result.axes[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] =
          eig.eigenvectors()(i, col);
  }
  const double span = result.values[0] - result.values[2];
  result.phi = span > 0 ? (result.values[1] - result.values[2]) / span : 0;
  result.r = 1 - result.phi;

  double total = 0;
  for (const FaultVectors& f : faults) {
    const Vector3 tau = resolved_shear(result.tensor, f.normal);
    const double size_tau = norm(tau);
    const double c = size_tau > 0 ? std::clamp(dot(tau, f.slip) / size_tau, -1.0, 1.0) : 0;
    result.ang.push_back(degrees(std::acos(c)));
    Vector3 miss;
    for (std::size_t i = 0; i < 3; ++i) miss[i] = tau[i] - kLambda * f.slip[i];
    result.rup.push_back(100 * norm(miss) / kLambda);
    total += result.ang.back();
  }
  result.mean_ang = total / static_cast<double>(faults.size());
  return result;
}

KnownFaults known_faults(std::span<const data::Slip> slips) {
  KnownFaults k;
  for (std::size_t i = 0; i < slips.size(); ++i) {
    if (!slips[i].sense_known) {
      ++k.skipped;
      continue;
    }
    k.faults.push_back(fault_vectors(slips[i].plane, slips[i].rake));
    k.rows.push_back(i);
  }
  return k;
}

}  // namespace polarsketch::analysis
