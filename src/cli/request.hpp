// What the command line asks for, as values: the parsed arguments of each
// form, before anything is read or drawn.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "analysis/density.hpp"
#include "analysis/faults.hpp"
#include "data/selection.hpp"
#include "analysis/rose.hpp"
#include "analysis/kinematics.hpp"
#include "figure/formats.hpp"
#include "figure/page.hpp"
#include "figure/rose_page.hpp"

namespace polarsketch::cli {

// Exit statuses (the sysexits values).
enum ExitStatus : int {
  kExitOk = 0,
  kExitUsage = 64,       // a wrong option, a missing argument, an unknown form
  kExitDataError = 65,   // bad data in an input file
  kExitNoInput = 66,     // an input file that cannot be opened
  kExitSoftware = 70,    // a fault of the program itself (said on standard error)
  kExitCantCreate = 73,  // an output file that cannot be written
};

// The measurement files and how to read them (shared by every form).
struct InputOptions {
  std::vector<std::string> files;    // "-" is standard input
  std::vector<std::string> columns;  // column names for files without a header
  bool skip_bad = false;             // skip bad lines instead of stopping
  // Choosing measurements by their columns: the rows meeting every
  // condition of --where, split by the value of the --by column.
  std::vector<data::Condition> where;
  std::string by;  // empty: one data set per file (and kind)
};

using figure::Hemisphere;
using figure::Paper;
using figure::PlaneStyle;
using figure::Projection;

// Density contours under the data (plot --contour).
struct ContourRequest {
  analysis::DensityOptions density;  // method, sigma, units
  std::vector<double> levels;        // empty: automatic
  std::string density_out;           // CSV file of the grid; empty: none
};

// The slope kinematics drawn over the data (plot --slope).
struct KinematicPicture {
  analysis::Slope slope;
  analysis::KinematicMode mode = analysis::KinematicMode::planar;
};

struct PlotRequest {
  InputOptions input;
  std::string output;  // the plot file
  // The plot file's format, by its name's extension (the table of formats).
  const figure::FigureFormat* format = nullptr;
  int dialect = 2;
  Paper paper = Paper::portrait;
  Projection projection = Projection::equal_area;
  int net_step = 0;        // standard net under the data, degrees; 0 none
  int polar_net_step = 0;  // polar net under the data, degrees; 0 none
  PlaneStyle planes = PlaneStyle::great_circles;
  Hemisphere hemisphere = Hemisphere::lower;
  // The direction at the net's centre (--view); empty: the vertical.
  std::optional<analysis::TrendPlunge> view;
  bool run_info = false;
  bool whole_page = false;  // figures: the whole paper, not the ink plus 2 mm
  int dpi = 150;            // PNG resolution
  bool stats = false;       // draw each set's statistics marks; table on stderr
  // The marks --stats chose; empty: each set's by its shape.
  std::optional<figure::StatisticsMarks> stats_marks;
  std::optional<double> symbol_size_mm;  // empty: by the count of symbols
  std::string title;                     // a line above the net; empty: none
  std::vector<std::string> names;        // legend names, one per file in order; empty: the files'
  std::optional<ContourRequest> contour;
  bool cone_fit = false;   // draw each set's fitted cone (small circle) and its axis
  bool hide_data = false;  // no symbol or great circle per measurement
  std::string label;       // the column whose text is written beside each measurement
  // Faults: how slips of known sense are drawn, their P, T (B) axes, and the
  // principal stress axes of an inversion of all of them.
  figure::FaultPlot fault_plot = figure::FaultPlot::angelier;
  bool pt = false;
  bool pt_b = false;
  double pt_angle = 45;
  std::optional<analysis::StressMethod> stress;
  bool dihedra = false;  // the right-dihedra field under the data
  // What --contour contours: the data, or the faults' P or T axes.
  enum class ContourOf { data, p, t } contour_of = ContourOf::data;
  std::optional<KinematicPicture> kinematics;
};

struct StatsRequest {
  InputOptions input;
  bool csv = false;  // one CSV line per data set instead of the table
  bool cone = false;  // a small circle and great circle fitted to each set
};

// A rose diagram of the azimuths of all files together (polarsketch rose).
struct RoseRequest {
  InputOptions input;
  std::string output;  // the plot file; empty: none (--csv alone)
  const figure::FigureFormat* format = nullptr;
  int dialect = 2;
  Paper paper = Paper::portrait;
  bool whole_page = false;
  int dpi = 150;
  std::optional<analysis::RoseCount> count;        // empty: by the data's kind
  std::optional<analysis::RoseSymmetry> symmetry;  // empty: by what is counted
  double bin = 10;                                 // degrees
  double start = 0;                                // degrees
  figure::RoseScale scale = figure::RoseScale::area;
  std::optional<data::Line> scanline;  // --weight terzaghi:TREND/PLUNGE
  double min_bias = 15;                // degrees
  std::optional<std::pair<double, double>> dips;
  bool csv = false;  // the bins and statistics on standard output
};

// The fault-slip table and stress inversion of each data set (polarsketch faults).
struct FaultsRequest {
  InputOptions input;
  analysis::StressMethod method = analysis::StressMethod::angelier;
  bool iterate = false;       // re-weight by resolved shear until it settles
  double pt_angle = 45;       // angle between P and the plane, degrees
  bool csv = false;           // the table as CSV on standard output, the result on standard error
  std::string result_csv;     // the result as CSV into this file; empty: none
};

// Slope kinematics of the planes of the files (polarsketch kinematics).
struct KinematicsRequest {
  InputOptions input;
  analysis::Slope slope;
  std::string csv;  // every critical item as CSV; empty: none
};

// One step of polarsketch rotate, in the order given.
struct RotationStep {
  enum class Kind { axis, unfold };
  Kind kind = Kind::axis;
  double trend = 0;   // the axis's trend, or the bed's dip direction
  double plunge = 0;  // the axis's plunge (negative: upward), or the bed's dip
  double angle = 0;   // degrees about the axis (right-hand rule)
};

// The data rotated and written as a measurement file (polarsketch rotate).
struct RotateRequest {
  InputOptions input;
  std::string output;  // empty: standard output
  std::vector<RotationStep> steps;
};

// The data split into sets by axial k-means (polarsketch sets).
struct SetsRequest {
  InputOptions input;
  std::string output;  // empty: standard output
  int k = 0;
  std::vector<data::Line> seeds;  // empty: the deterministic seeding
};

// Text to print and the status to exit with, when the arguments alone decide
// (help, version, a usage error).
struct Answer {
  int status = kExitOk;
  std::string out;  // for standard output
  std::string err;  // for standard error
};

// The interactive program, every plot file it closes also written in the
// sibling formats asked for.
struct InteractiveRequest {
  std::vector<const figure::FigureFormat*> also;
  bool whole_page = false;  // the figures show the whole page, not the net cropped
};

using Request = std::variant<Answer, PlotRequest, StatsRequest, InteractiveRequest, RoseRequest,
                             KinematicsRequest, RotateRequest, SetsRequest, FaultsRequest>;

// Maps the arguments (without the program name) to a request.
Request parse_arguments(const std::vector<std::string>& args);

}  // namespace polarsketch::cli
