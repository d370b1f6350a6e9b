#include "analysis/sets.hpp"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace polarsketch::analysis {
namespace {

constexpr std::size_t kMostRounds = 100;

double dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vector3 lower(const Vector3& v) { return v[2] < 0 ? Vector3{-v[0], -v[1], -v[2]} : v; }

// The principal eigenvector of the orientation tensor of the chosen axes.
Vector3 principal_axis(std::span<const Vector3> axes, const std::vector<std::size_t>& chosen) {
  Eigen::Matrix3d t = Eigen::Matrix3d::Zero();
  for (const std::size_t i : chosen) {
    const Eigen::Vector3d x(axes[i][0], axes[i][1], axes[i][2]);
    t += x * x.transpose();
  }
  const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(t);
  const Eigen::Vector3d v = solver.eigenvectors().col(2);
  return lower(Vector3{v(0), v(1), v(2)});
}

// The largest |cos| of an axis to any of the centres.
double nearest(const Vector3& x, std::span<const Vector3> centres) {
  double best = 0;
  for (const Vector3& c : centres) best = std::max(best, std::abs(dot(x, c)));
  return best;
}

std::size_t closest_centre(const Vector3& x, std::span<const Vector3> centres) {
  std::size_t best = 0;
  double best_cos = -1;
  for (std::size_t j = 0; j < centres.size(); ++j) {
    const double c = std::abs(dot(x, centres[j]));
    if (c > best_cos) {
      best_cos = c;
      best = j;
    }
  }
  return best;
}

}  // namespace

std::vector<Vector3> farthest_seeds(std::span<const Vector3> axes, std::size_t k) {
  std::vector<std::size_t> all(axes.size());
  std::iota(all.begin(), all.end(), std::size_t{0});
  std::vector<Vector3> seeds{principal_axis(axes, all)};
  std::vector<double> near(axes.size());
  for (std::size_t i = 0; i < axes.size(); ++i) near[i] = std::abs(dot(axes[i], seeds[0]));
  while (seeds.size() < k) {
    const auto far = std::min_element(near.begin(), near.end()) - near.begin();
    const Vector3 seed = lower(axes[static_cast<std::size_t>(far)]);
    seeds.push_back(seed);
    for (std::size_t i = 0; i < axes.size(); ++i)
      near[i] = std::max(near[i], std::abs(dot(axes[i], seed)));
  }
  return seeds;
}

SetSplit axial_kmeans(std::span<const Vector3> axes, std::span<const Vector3> seeds) {
  const std::size_t k = seeds.size();
  std::vector<Vector3> centres(seeds.begin(), seeds.end());
  std::vector<std::size_t> set_of(axes.size(), k);  // k: not yet assigned
  std::size_t rounds = 0;
  for (bool changed = true; changed && rounds < kMostRounds; ++rounds) {
    changed = false;
    for (std::size_t i = 0; i < axes.size(); ++i) {
      const std::size_t j = closest_centre(axes[i], centres);
      changed = changed || j != set_of[i];
      set_of[i] = j;
    }
    std::vector<std::vector<std::size_t>> members(k);
    for (std::size_t i = 0; i < axes.size(); ++i) members[set_of[i]].push_back(i);
    for (std::size_t j = 0; j < k; ++j) {
      if (!members[j].empty()) {
        centres[j] = principal_axis(axes, members[j]);
        continue;
      }
      // An empty set takes the axis farthest from every centre, from a set
      // that keeps another member; the next round assigns again.
      std::size_t far = axes.size();
      double far_cos = 2;
      for (std::size_t i = 0; i < axes.size(); ++i) {
        if (members[set_of[i]].size() < 2) continue;
        const double c = nearest(axes[i], centres);
        if (c < far_cos) {
          far_cos = c;
          far = i;
        }
      }
      if (far == axes.size()) continue;  // fewer axes than sets: cannot happen for k <= n
      std::erase(members[set_of[far]], far);
      set_of[far] = j;
      members[j].push_back(far);
      centres[j] = lower(axes[far]);
      changed = true;
    }
  }
  // Sets numbered by size, largest first.
  std::vector<std::size_t> sizes(k, 0);
  for (const std::size_t j : set_of) ++sizes[j];
  std::vector<std::size_t> order(k);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
  std::vector<std::size_t> rank(k);
  for (std::size_t r = 0; r < k; ++r) rank[order[r]] = r;
  SetSplit split;
  split.iterations = rounds;
  split.sizes.resize(k);
  split.dispersion.assign(k, 0.0);
  for (std::size_t r = 0; r < k; ++r) {
    split.centres.push_back(centres[order[r]]);
    split.sizes[r] = sizes[order[r]];
  }
  split.set_of.resize(axes.size());
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const std::size_t r = rank[set_of[i]];
    split.set_of[i] = r;
    const double c = dot(axes[i], split.centres[r]);
    const double off = std::max(0.0, 1.0 - c * c);
    split.dispersion[r] += off;
    split.objective += off;
  }
  for (std::size_t r = 0; r < k; ++r)
    if (split.sizes[r] > 0) split.dispersion[r] /= static_cast<double>(split.sizes[r]);
  return split;
}

}  // namespace polarsketch::analysis
