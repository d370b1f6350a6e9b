// Results as text, for standard output, standard error and files: the
// statistics of data sets as a readable block per data set or as CSV with
// one header line and one line per data set, and the density grid as CSV.
#pragma once

#include <string>
#include <vector>

#include "analysis/cone.hpp"
#include "analysis/contours.hpp"
#include "analysis/statistics.hpp"
#include "data/measurements.hpp"

namespace polarsketch::tables {

// The name a data set is shown by: its file name, or "standard input".
std::string shown_name(const data::DataSet& set);

// A data set's count and kind: "40 planes", "1 plane".
std::string counted(const data::DataSet& set);

// The statistics of each set: poles of planes, lines and slip lines as axes;
// slips of known sense as vectors.
std::vector<analysis::Statistics> statistics_of(const std::vector<data::DataSet>& sets);

// Data sets split by the value of a column: the column's name and each
// set's value. No column: the sets are whole files.
struct Groups {
  std::string column;
  std::vector<std::string> values;  // one per set
};

// The small-circle fits of stats --cone, one per data set (empty for fewer
// than 3 data); none given: no cone rows or columns.
using ConeFits = std::vector<std::optional<analysis::ConeFit>>;

// Per data set: its name (and "COLUMN VALUE" when grouped), kind and count,
// then one value a line ("-" where undefined). The girdle and beta axis only
// for planes.
std::string statistics_table(const std::vector<data::DataSet>& sets,
                             const std::vector<analysis::Statistics>& stats,
                             const Groups& groups = {}, const ConeFits& cones = {});

// The header line
// file,kind,n,mean_trend,mean_plunge,R,k,alpha95,s1,s2,s3,v1_trend,v1_plunge,
// v2_trend,v2_plunge,v3_trend,v3_plunge,K,C,girdle_dipdir,girdle_dip,
// bingham_k2,bingham_k3,ellipse_v2,ellipse_v3
// and one line per data set: angles with 2 decimals, other values with 6
// significant digits, undefined values (and the girdle of lines) empty.
// Grouped sets have a column "group" after "file" with their value. With
// cone fits, the columns cone_trend,cone_plunge,cone_half_angle,cone_rms,
// great_pole_trend,great_pole_plunge,great_rms,cone_F,cone_p,cone_better
// (yes or no) follow at the end.
std::string statistics_csv(const std::vector<data::DataSet>& sets,
                           const std::vector<analysis::Statistics>& stats,
                           const Groups& groups = {}, const ConeFits& cones = {});

// The density grid's nodes on and inside the primitive: "trend,plunge,density"
// lines after that header.
std::string density_csv(const analysis::NetGrid& grid);

}  // namespace polarsketch::tables
