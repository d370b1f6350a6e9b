#include "analysis/density.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

namespace polarsketch::analysis {
namespace {

constexpr double kPi = std::numbers::pi;

// The kernels. A datum p counts at node c by a weight W(u) of u = |p . c|,
// the cosine of the angle between the node and the nearer end of the axis.
// For directions uniform on the sphere u is uniform on [0, 1], so n uniform
// points give the weight sum an expectation n E[W] and a variance
// n (E[W^2] - E[W]^2), with E[W^k] = integral of W(u)^k over [0, 1].
//
// kamb: W = 1 inside a counting circle of half-angle t about the node and its
//   antipode, which covers the share A = 1 - cos t of the sphere. A uniform
//   count is binomial: E = nA, sd = sqrt(nA(1 - A)). Kamb (1959) chose the
//   area so the expected count is `sigma` (k) standard deviations,
//   nA = k sqrt(nA(1 - A)), that is A = k^2 / (n + k^2).
// linear-kamb: the same circle, W = 2 (u - cos t) / A, 2 at the node falling
//   linearly to 0 on the circle; E[W] = A as for the count, so its sigma
//   units use Kamb's sd.
// exp-kamb (Vollmer 1995): W = exp(f (u - 1)) with f = 2 (1 + n / k^2) = 2/A.
//   E[W] = (1 - e^-f) / f. Sigma units divide by Vollmer's standard
//   deviation sqrt(n (f/2 - 1)) / f, the large-f limit of the exact one, so
//   the expectation over it is (1 - e^-f) k: Kamb's criterion again.
// schmidt: W = 1 inside the circle of 1 % of the hemisphere, A = 0.01.
//
// Units: MUD = sum / (n E[W]), so a uniform sample has density 1 everywhere
// and the mean over the hemisphere of any sample's density is exactly 1.
// Sigma = sum / sd of the uniform sum, so a uniform sample sits at k
// (exp-kamb: at (1 - e^-f) k).
struct Kernel {
  WeightShape shape = WeightShape::exponential;
  double cos_radius = 0;  // counting circle: cos t
  double f = 0;           // exponent (exp-kamb) or slope (linear-kamb)
  double cutoff = 0;      // points with u below this add nothing (exp: below the tolerance)
  double scale = 1;       // weight sum -> density in the requested units
};


Kernel make_kernel(std::size_t count, const DensityOptions& options) {
  const double k = options.sigma;
  // Past a thousand the counting circle is the whole sphere to within
  // rounding; below a thousandth, the weights of a large data set leave
  // the range of a double (k^2 underflows and n / k^2 overflows).
  if (!(k >= kMinSigma) || !(k <= kMaxSigma))
    throw std::invalid_argument("sigma must be from 0.001 to 1000");
  const DensityMethodEntry& method = density_method(options.method);
  if (options.units == DensityUnits::sigma && !method.sigma_units)
    throw std::invalid_argument("the " + std::string(method.name) + " method has no sigma units");
  const double n = static_cast<double>(count);
  const KernelShape shape = method.kernel(n, k);
  Kernel kernel;
  kernel.shape = shape.shape;
  kernel.cos_radius = shape.cos_radius;
  kernel.f = shape.f;
  kernel.cutoff = shape.cutoff;
  kernel.scale =
      options.units == DensityUnits::mud ? 1 / (n * shape.mean) : 1 / (std::sqrt(n) * shape.sd);
  return kernel;
}

// The weights as types, so the inner loops compile without a switch per
// point. A counting circle's weight is 1 inside: its sum is a count.
struct ExpWeight {
  static constexpr bool kCounts = false;
  double f;
  double operator()(double u) const { return std::exp(f * (u - 1)); }
};
struct CircleWeight {
  static constexpr bool kCounts = true;
  double c;
  double operator()(double u) const { return u >= c ? 1.0 : 0.0; }
};
struct LinearWeight {
  static constexpr bool kCounts = false;
  double c, f;
  double operator()(double u) const { return u >= c ? f * (u - c) : 0.0; }
};

// Calls body(weight) with the kernel's weight.
template <class Body>
void with_weight(const Kernel& kernel, Body body) {
  switch (kernel.shape) {
    case WeightShape::exponential:
      body(ExpWeight{kernel.f});
      break;
    case WeightShape::circle:
      body(CircleWeight{kernel.cos_radius});
      break;
    case WeightShape::linear:
      body(LinearWeight{kernel.cos_radius, kernel.f});
      break;
  }
}

double dot(double x, double y, double z, const Vector3& c) {
  return x * c[0] + y * c[1] + z * c[2];
}

std::size_t thread_count() { return std::max(1u, std::thread::hardware_concurrency()); }

// Runs work(t) for t in [0, threads), one thread each.
template <class Work>
void on_threads(std::size_t threads, Work work) {
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work, t);
  work(std::size_t{0});
  for (auto& thread : pool) thread.join();
}

// Runs work(begin, end) over [0, count) in chunks on every core.
template <class Work>
void parallel_chunks(std::size_t count, std::size_t chunk, Work work) {
  std::atomic<std::size_t> next{0};
  on_threads(std::min(thread_count(), (count + chunk - 1) / chunk), [&](std::size_t) {
    for (std::size_t begin; (begin = next.fetch_add(chunk)) < count;)
      work(begin, std::min(count, begin + chunk));
  });
}

// A cheap angle-like value of (x, y): increases with atan2(y, x) from 0 at
// the +x axis through 1, 2, 3 at the other axes to 4 (excluded); its slope
// in the true angle stays between 1/2 and 1.
double pseudo_angle(double x, double y) {
  if (x == 0 && y == 0) return 0;
  if (y >= 0) return x >= 0 ? y / (x + y) : 1 - x / (y - x);
  return x < 0 ? 2 - y / (-x - y) : 3 + x / (x - y);
}

// Points binned by latitude bands (latitude about the z axis) of equal
// height, each band cut into cells of equal pseudo-angle of longitude, no
// wider than about 1.3 band heights. The points are sorted by cell, band by
// band and cell by cell, so a run of adjacent cells in one band is one
// contiguous range: a cap is a handful of ranges, one or two per band.
class SphereIndex {
 public:
  SphereIndex(std::span<const Vector3> points, double cell_angle) {
    bands_ = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(kPi / cell_angle)));
    band_height_ = kPi / static_cast<double>(bands_);
    band_offset_.resize(bands_ + 1);
    band_cells_.resize(bands_);
    for (std::size_t b = 0; b < bands_; ++b) {
      // The band's latitude nearest the equator sets the cell count.
      const double lo = -kPi / 2 + band_height_ * static_cast<double>(b);
      const double hi = lo + band_height_;
      const double nearest = lo <= 0 && hi >= 0 ? 0.0 : std::min(std::abs(lo), std::abs(hi));
      band_cells_[b] = std::max<std::size_t>(
          1, static_cast<std::size_t>(2 * kPi * std::cos(nearest) / band_height_));
      band_offset_[b + 1] = band_offset_[b] + band_cells_[b];
    }
    sort_points(points);
  }

  // Calls visit(begin, end) for ranges of the sorted points that together
  // hold every point within `angle` (radians, below 90 degrees) of c.
  template <class Visit>
  void for_each_range(const Vector3& c, double angle, Visit visit) const {
    const double margin = angle + 1e-9;
    const double lat = latitude(c);
    const bool pole = lat + margin >= kPi / 2 || lat - margin <= -kPi / 2;
    // The longitudes of a cap clear of the poles span +-asin(sin t / cos lat).
    const double half_width =
        pole ? kPi : std::asin(std::min(1.0, std::sin(margin) / std::cos(lat)));
    const double lon = std::atan2(c[1], c[0]);
    const double from = pseudo_angle(std::cos(lon - half_width), std::sin(lon - half_width));
    const double to = pseudo_angle(std::cos(lon + half_width), std::sin(lon + half_width));
    const std::size_t first = band_of(lat - margin), last = band_of(lat + margin);
    for (std::size_t b = first; b <= last; ++b) {
      const std::size_t cells = band_cells_[b];
      auto run = [&](std::size_t j0, std::size_t j1) {  // cells j0..j1 of the band
        visit(start_[band_offset_[b] + j0], start_[band_offset_[b] + j1 + 1]);
      };
      const std::size_t j0 = cell_of(from, b), j1 = cell_of(to, b);
      if (pole || half_width >= kPi / 2) {
        run(0, cells - 1);
      } else if (from <= to) {
        run(j0, j1);
      } else {  // across the +x axis
        run(j0, cells - 1);
        run(0, j1);
      }
    }
  }

  std::vector<Vector3> sorted;  // the points, sorted by cell

 private:
  static double latitude(const Vector3& p) { return std::asin(std::clamp(p[2], -1.0, 1.0)); }
  // Out-of-range and non-finite values land in the first or last band and
  // cell (a non-finite point never passes the cut-off anyway).
  std::size_t band_of(double lat) const {
    const double b = std::floor((lat + kPi / 2) / band_height_);
    if (!(b > 0)) return 0;
    return static_cast<std::size_t>(std::clamp(b, 0.0, static_cast<double>(bands_ - 1)));
  }
  std::size_t cell_of(double pseudo, std::size_t b) const {
    const double j = std::floor(pseudo / 4 * static_cast<double>(band_cells_[b]));
    if (!(j > 0)) return 0;
    return static_cast<std::size_t>(std::clamp(j, 0.0, static_cast<double>(band_cells_[b] - 1)));
  }
  std::uint32_t cell_of_point(const Vector3& p) const {
    const std::size_t b = band_of(latitude(p));
    return static_cast<std::uint32_t>(band_offset_[b] + cell_of(pseudo_angle(p[0], p[1]), b));
  }

  // Counting sort of the points by cell, each thread binning and then
  // placing its own share of the points.
  void sort_points(std::span<const Vector3> points) {
    const std::size_t n = points.size(), cells = band_offset_.back();
    const std::size_t threads = std::min(thread_count(), std::max<std::size_t>(1, n >> 16));
    auto share = [&](std::size_t t) { return n * t / threads; };
    std::vector<std::uint32_t> cell(n);
    std::vector<std::vector<std::size_t>> place(threads, std::vector<std::size_t>(cells, 0));
    on_threads(threads, [&](std::size_t t) {
      for (std::size_t i = share(t); i < share(t + 1); ++i)
        ++place[t][cell[i] = cell_of_point(points[i])];
    });
    start_.assign(cells + 1, 0);
    std::size_t at = 0;
    for (std::size_t c = 0; c < cells; ++c) {
      start_[c] = at;
      for (auto& counts : place) at += std::exchange(counts[c], at);
    }
    start_[cells] = at;
    sorted.resize(n);
    on_threads(threads, [&](std::size_t t) {
      for (std::size_t i = share(t); i < share(t + 1); ++i) sorted[place[t][cell[i]]++] = points[i];
    });
  }

  std::size_t bands_ = 1;
  double band_height_ = kPi;
  std::vector<std::size_t> band_cells_;
  std::vector<std::size_t> band_offset_;  // first cell of each band; last = cell count
  std::vector<std::size_t> start_;        // first sorted point of each cell; last = n
};

// Counting circles wider than this are summed by brute force: the caps of a
// node and its antipode would cover most of the sphere anyway.
constexpr double kMaxIndexedAngle = kPi / 3;

}  // namespace

std::string_view method_name(DensityMethod method) { return density_method(method).name; }

std::optional<DensityMethod> parse_method(std::string_view name) {
  for (const DensityMethodEntry& e : density_methods())
    if (name == e.name) return e.method;
  return std::nullopt;
}

std::string_view units_name(DensityUnits units) {
  return units == DensityUnits::mud ? "MUD" : "sigma";
}

std::optional<DensityUnits> parse_units(std::string_view name) {
  if (name == "mud" || name == "MUD") return DensityUnits::mud;
  if (name == "sigma") return DensityUnits::sigma;
  return std::nullopt;
}

bool has_sigma_units(DensityMethod method) { return density_method(method).sigma_units; }

std::vector<double> density_brute_force(std::span<const Vector3> points,
                                        std::span<const Vector3> nodes,
                                        const DensityOptions& options) {
  const Kernel kernel = make_kernel(points.size(), options);
  std::vector<double> result(nodes.size(), 0.0);
  if (points.empty()) return result;
  with_weight(kernel, [&](auto weight) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      double sum = 0;
      for (const auto& p : points) sum += weight(std::abs(dot(p[0], p[1], p[2], nodes[i])));
      result[i] = sum * kernel.scale;
    }
  });
  return result;
}

std::vector<double> density(std::span<const Vector3> points, std::span<const Vector3> nodes,
                            const DensityOptions& options) {
  const Kernel kernel = make_kernel(points.size(), options);
  std::vector<double> result(nodes.size(), 0.0);
  if (points.empty()) return result;
  const double angle = kernel.cutoff >= 1 ? 0.0 : std::acos(std::max(-1.0, kernel.cutoff));
  if (angle > kMaxIndexedAngle) return density_brute_force(points, nodes, options);
  // Cells of a third of the cut-off angle, but on average no fewer than about
  // eight points a cell: emptier cells cost more in bookkeeping than they save.
  const double fewest = std::sqrt(4 * kPi / (0.125 * static_cast<double>(points.size()) + 64));
  const SphereIndex index(points, std::max(angle / 3, fewest));
  const double cutoff = kernel.cutoff;
  with_weight(kernel, [&](auto weight) {
    parallel_chunks(nodes.size(), 64, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        const Vector3& c = nodes[i];
        double sum = 0;
        // The cap about the node takes u = p.c, the cap about its antipode
        // u = -p.c. The cut-off is positive, so a point passes in at most one
        // of them (even when their cells overlap) and adds W(|p.c|), computed
        // exactly as the brute force computes it.
        for (const double side : {1.0, -1.0}) {
          const Vector3 centre{side * c[0], side * c[1], side * c[2]};
          index.for_each_range(centre, angle, [&](std::size_t b, std::size_t e) {
            // Negating the node negates each product exactly: u = side p.c.
            if constexpr (decltype(weight)::kCounts) {
              std::size_t count = 0;  // an integer sum, which the compiler vectorises
              for (std::size_t j = b; j < e; ++j) {
                const Vector3& p = index.sorted[j];
                count += dot(p[0], p[1], p[2], centre) >= cutoff ? 1 : 0;
              }
              sum += static_cast<double>(count);
            } else {
              for (std::size_t j = b; j < e; ++j) {
                const Vector3& p = index.sorted[j];
                const double u = dot(p[0], p[1], p[2], centre);
                if (u >= cutoff) sum += weight(u);
              }
            }
          });
        }
        result[i] = sum * kernel.scale;
      }
    });
  });
  return result;
}

}  // namespace polarsketch::analysis
