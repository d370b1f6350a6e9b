// A stereonet page as plain values: the sheet, the net and the layers drawn
// on it. The command line maps its options to a Page; the figure room draws
// it and writes it in its format, knowing nothing of options.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "analysis/cone.hpp"
#include "analysis/contours.hpp"
#include "analysis/density.hpp"
#include "analysis/faults.hpp"
#include "analysis/kinematics.hpp"
#include "analysis/sphere.hpp"
#include "analysis/statistics.hpp"
#include "data/measurements.hpp"
#include "figure/formats.hpp"

namespace polarsketch::figure {

using analysis::Hemisphere;
using analysis::Projection;
enum class Paper { portrait, landscape_letter, landscape_a4 };
enum class PlaneStyle { great_circles, poles, both };

// A data set on the page and the words of its legend row.
struct PageSet {
  data::DataSet data;
  std::string name;   // the file, or "standard input"
  std::string count;  // its count and kind: "40 planes"
  // Text written beside each measurement, one per measurement; empty: none.
  std::vector<std::string> labels = {};
};

// The density of all data sets together: grid, levels and their contours.
struct DensityLayer {
  analysis::DensityOptions options;
  analysis::NetGrid grid;
  std::vector<double> levels;  // ascending
  analysis::Contours contours;
  std::size_t points = 0;
  std::string title;  // the legend's title; empty: the density method's
  std::string pooled;  // the data sets contoured together, when several; empty: one
};

// How slips of known sense are drawn: an arrow of the hanging wall's motion
// at the slip point (Angelier), at the pole in the trend of the slip
// (Hoeppener 1955), or at the pole along the projected tangent of the
// movement plane toward the slip (Twiss and Gefell 1990).
enum class FaultPlot { angelier, hoeppener, tangent_lineation };
struct FaultPlotInfo {
  FaultPlot plot;
  std::string_view name;
  std::string_view description;
};
// The table of fault plots.
std::span<const FaultPlotInfo> fault_plots();

// What the page shows of faults beside their planes and slip points.
struct FaultMarks {
  FaultPlot plot = FaultPlot::angelier;
  bool pt = false;        // each fault's P and T axes
  bool b = false;         // and its B axis
  double pt_angle = 45;   // angle between P and the plane, degrees
  // The principal stress axes of an inversion of all faults together.
  std::optional<analysis::StressResult> stress;
};

// The slope kinematics of the sets' planes in one mode: the construction,
// the directions judged (intersection lines; poles are the sets' own), the
// critical ones, and the legend's line.
struct KinematicLayer {
  analysis::KinematicMode mode = analysis::KinematicMode::planar;
  analysis::KinematicConstruction construction;
  std::vector<analysis::Vector3> lines;     // wedge, direct: the intersection lines drawn
  std::vector<analysis::Vector3> critical;  // the primary zone's poles or lines drawn
  std::string legend;                       // "planar: 13 of 38 planes critical (34.2 %)"
};

// The statistics marks drawn for a set: its mean direction, the mean's 95 %
// cone (Fisher), the eigenvectors 1, 2, 3, the girdle (the best-fit great
// circle) with its beta axis, and the 95 % confidence ellipse about v1
// (Bingham, after Onstott).
struct StatisticsMarks {
  bool mean = false;
  bool cone = false;
  bool eigen = false;
  bool girdle = false;
  bool bingham = false;
  bool operator==(const StatisticsMarks&) const = default;
};
// The marks that mean something for a set of this shape: mean and cone for
// a cluster (Woodcock's K >= 1, or s2 = s3), the girdle and its beta axis
// for a girdle (K < 1, or s1 = s2).
StatisticsMarks marks_for_shape(const analysis::Statistics& s);

struct Page {
  // The sheet and how it is written.
  const FigureFormat* format = nullptr;  // nullptr: the PostScript plot file
  std::string title;                     // the name the document gives itself
  Paper paper = Paper::portrait;
  int dialect = 2;          // PostScript dialect, 1 to 3
  bool whole_page = false;  // figures: the whole paper, not the ink plus 2 mm
  int dpi = 150;            // raster formats
  // The net.
  Projection projection = Projection::equal_area;
  Hemisphere hemisphere = Hemisphere::lower;
  // The direction at the net's centre; empty: the vertical, the ordinary
  // net. Every layer's directions are drawn as that view shows them; the
  // density layer is computed for it (density_layer's view).
  std::optional<analysis::TrendPlunge> view;
  int net_step = 0;        // standard net under the data, degrees; 0 none
  int polar_net_step = 0;  // polar net under the data, degrees; 0 none
  bool run_info = false;   // the program and run information on the page
  std::string heading;     // a line of text above the net; empty: none
  // The data symbols' size in mm; empty: by their count (symbol_size_cm).
  std::optional<double> symbol_size_mm;
  // The layers' contents (see layers.hpp for their order).
  std::vector<PageSet> sets;
  PlaneStyle planes = PlaneStyle::great_circles;
  bool hide_data = false;  // no symbol or great circle per measurement
  std::optional<DensityLayer> density;
  std::vector<analysis::Statistics> statistics;  // per set; empty: none drawn
  // Which statistics marks are drawn; empty: each set's by its shape.
  std::optional<StatisticsMarks> statistics_marks;
  FaultMarks faults;
  std::optional<KinematicLayer> kinematics;
  // The fitted cones (small circles) of plot --cone-fit, per set (empty for
  // fewer than 3 data); empty: none drawn.
  std::vector<std::optional<analysis::ConeFit>> cones;
};

// The density layer of the data sets: the grid over the net of the
// projection, `levels` (automatic when empty) sorted without repeats, and
// their contours. With a view (the page's), each node's value is the density
// at the direction the view shows there: the density on the sphere does not
// change with the view, only where it is drawn.
DensityLayer density_layer(const std::vector<data::DataSet>& sets,
                           const analysis::DensityOptions& options, std::vector<double> levels,
                           Projection projection,
                           const std::optional<analysis::TrendPlunge>& view = std::nullopt);

// The right-dihedra field of the faults of known sense of the data sets as
// bands every 20 %, drawn as the density is (with the page's view too).
DensityLayer dihedra_layer(const std::vector<data::DataSet>& sets, Projection projection,
                           const std::optional<analysis::TrendPlunge>& view = std::nullopt);

// The page as its view shows it: every direction of its layers turned into
// the frame of the net's centre, so that each layer draws as on an ordinary
// net (the density layer was computed for the view already). Empty when the
// page has no view or a vertical one: the page is drawn as it is. Throws
// std::invalid_argument for slope kinematics under a view (their
// construction belongs to the vertical) or a density not computed for it.
std::optional<Page> seen_in_view(const Page& page);
// The kinematic layer of the sets' planes (and slips' planes) for a slope
// and a mode.
KinematicLayer kinematic_layer(const std::vector<data::DataSet>& sets, const analysis::Slope& slope,
                               analysis::KinematicMode mode);

}  // namespace polarsketch::figure
