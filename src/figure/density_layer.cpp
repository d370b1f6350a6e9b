// The density layer computed before anything is drawn.
#include <algorithm>

#include "figure/page.hpp"

namespace polarsketch::figure {
namespace {

// Grid cells across the net: nodes about 0.8 degrees apart at the centre of
// an equal-area net, finer than the contour lines' width at page scale.
constexpr std::size_t kGridCells = 200;
constexpr std::size_t kDihedraCells = 100;

}  // namespace

DensityLayer density_layer(const std::vector<data::DataSet>& sets,
                           const analysis::DensityOptions& options, std::vector<double> levels,
                           Projection projection,
                           const std::optional<analysis::TrendPlunge>& view) {
  std::vector<data::Vector3> points;
  for (const data::DataSet& set : sets) {
    const std::vector<data::Vector3> v = set.unit_vectors();
    points.insert(points.end(), v.begin(), v.end());
  }
  DensityLayer d;
  d.options = options;
  d.points = points.size();
  d.grid = analysis::density_grid(points, options, projection, kGridCells,
                                  view ? analysis::view_rotation(*view) : std::nullopt);
  d.levels = levels.empty() ? analysis::automatic_levels(d.grid.peak()) : std::move(levels);
  std::sort(d.levels.begin(), d.levels.end());
  d.levels.erase(std::unique(d.levels.begin(), d.levels.end()), d.levels.end());
  d.contours = analysis::contour(d.grid, d.levels);
  return d;
}

DensityLayer dihedra_layer(const std::vector<data::DataSet>& sets, Projection projection,
                           const std::optional<analysis::TrendPlunge>& view) {
  std::vector<analysis::FaultVectors> faults;
  for (const data::DataSet& set : sets) {
    if (set.kind != data::Kind::slips) continue;
    const analysis::KnownFaults k = analysis::known_faults(set.slips);
    faults.insert(faults.end(), k.faults.begin(), k.faults.end());
  }
  DensityLayer d;
  d.points = faults.size();
  // A coarser grid than the density's: every node visits every fault.
  d.grid = analysis::dihedra_grid(faults, projection, kDihedraCells,
                                  view ? analysis::view_rotation(*view) : std::nullopt);
  d.levels = {20, 40, 60, 80};
  d.contours = analysis::contour(d.grid, d.levels);
  d.title = "Right dihedra, % compressional (n = " + std::to_string(faults.size()) +
            "; nodal planes 1/2)";
  return d;
}

}  // namespace polarsketch::figure
