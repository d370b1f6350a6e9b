// Axial k-means: the seeds by their definition, an empty set re-seeded, and
// axes of one set on both sides of the primitive kept together.
#include "analysis/sets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/rotation.hpp"

namespace polarsketch::analysis {
namespace {

std::vector<Vector3> axes_of(const std::vector<std::array<double, 2>>& lines) {
  std::vector<Vector3> out;
  for (const auto& l : lines) out.push_back(direction(l[0], l[1]));
  return out;
}

TEST(Sets, SeedsArePrincipalAxisThenFarthestDatum) {
  // Three near north-south horizontal axes (both ends), one vertical, one east.
  const std::vector<Vector3> axes =
      axes_of({{0, 2}, {180, 3}, {2, 0}, {0, 88}, {90, 1}});
  const std::vector<Vector3> seeds = farthest_seeds(axes, 3);
  ASSERT_EQ(seeds.size(), 3u);
  EXPECT_GT(std::abs(seeds[0][0]), 0.99);  // north-south
  // East (at right angles to it) is farther than the steep axis 000/88
  // (2 degrees off a right angle), which then is farthest from both.
  EXPECT_EQ(seeds[1], axes[4]);
  EXPECT_EQ(seeds[2], axes[3]);
}

TEST(Sets, AnEmptySetTakesTheFarthestAxisAndSetsGoLargestFirst) {
  const std::vector<Vector3> axes =
      axes_of({{0, 5}, {180, 5}, {3, 1}, {90, 85}, {270, 88}});
  // Two equal seeds: every axis joins the first, the second is left empty.
  const std::vector<Vector3> seeds = axes_of({{0, 0}, {0, 0}});
  const SetSplit split = axial_kmeans(axes, seeds);
  EXPECT_EQ(split.set_of, (std::vector<std::size_t>{0, 0, 0, 1, 1}));
  EXPECT_EQ(split.sizes, (std::vector<std::size_t>{3, 2}));
}

}  // namespace
}  // namespace polarsketch::analysis
