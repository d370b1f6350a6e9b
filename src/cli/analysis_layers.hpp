// What `plot --contour` and `plot --stats` add to the page: the density grid
// and its contours of all data sets together, and each set's statistics,
// computed before drawing and drawn with the plot library's routines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/contours.hpp"
#include "analysis/statistics.hpp"
#include "cli/request.hpp"
#include "cli/stereonet_page.hpp"
#include "data/measurements.hpp"

namespace polarsketch::cli {

struct DensityLayer {
  analysis::NetGrid grid;
  std::vector<double> levels;  // ascending
  analysis::Contours contours;
  std::size_t points = 0;
};

struct AnalysisLayers {
  std::optional<DensityLayer> density;      // with --contour
  std::vector<analysis::Statistics> stats;  // per data set, with --stats
};

AnalysisLayers compute_layers(const PlotRequest& request, const std::vector<data::DataSet>& sets);

// The grid's nodes on and inside the primitive: "trend,plunge,density"
// lines after that header.
std::string density_csv(const analysis::NetGrid& grid);

// The filled bands, light to dark; drawn first, under everything.
void draw_density_bands(const PlotRequest& request, const AnalysisLayers& layers);
// The contour lines on the bands' edges.
void draw_contour_lines(const PlotRequest& request, const AnalysisLayers& layers);
// Each set's mean with its 95 % cone, eigenvectors 1, 2, 3 and, for planes,
// the girdle, in the set's colour.
void draw_statistics(const PlotRequest& request, const std::vector<data::DataSet>& sets,
                     const AnalysisLayers& layers);
// Method, units and levels with a swatch per band, next to the net's upper
// left (portrait) or below the sets' legend (landscape).
void draw_contour_legend(const PlotRequest& request, const AnalysisLayers& layers,
                         const NetPlacement& net, std::size_t legend_rows);

}  // namespace polarsketch::cli
