// Axes split into sets by axial k-means: each axis joins the centre with the
// largest |cos| to it, each centre becomes the principal eigenvector of its
// members, until no axis changes set.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "analysis/statistics.hpp"

namespace polarsketch::analysis {

struct SetSplit {
  // For each axis its set, 0 to k - 1, sets numbered by size (largest first;
  // equal sizes in the order of their centres).
  std::vector<std::size_t> set_of;
  std::vector<Vector3> centres;  // unit, one per set, lower hemisphere
  std::vector<std::size_t> sizes;
  // Per set, the mean of 1 - (x . c)^2 over its members (the squared sine
  // of each axis's angle to the centre); the objective is their sum times n.
  std::vector<double> dispersion;
  double objective = 0;  // sum over all axes of 1 - (x . c)^2
  std::size_t iterations = 0;
};

// The centres to start from when none are given: first the principal axis
// of all data, then each time the axis farthest from the centres chosen
// (the one whose largest |cos| to them is the smallest; the first such in
// order on a tie). Needs 1 <= k <= axes.size().
std::vector<Vector3> farthest_seeds(std::span<const Vector3> axes, std::size_t k);

// Axial k-means from `seeds` (k = seeds.size() >= 1, k <= axes.size()). An
// axis joins the first centre of the largest |cos| on a tie. A set left
// empty is re-seeded with the axis farthest from every centre among those
// whose set keeps another member. At most 100 rounds. Deterministic.
SetSplit axial_kmeans(std::span<const Vector3> axes, std::span<const Vector3> seeds);

}  // namespace polarsketch::analysis
