// Fault-slip results as text: each fault's plane, slip, sense, P, T, B and
// misfit as a table or CSV, and the stress inversion's result as a block or
// CSV.
#pragma once

#include <string>
#include <vector>

#include "analysis/faults.hpp"
#include "data/measurements.hpp"

namespace polarsketch::tables {

// The faults of one data set and what was found from them.
struct FaultReport {
  std::string name;      // the data set as shown, with its group when split
  std::string set;       // its file, for CSV; empty when it is the only set
  std::string group;     // its --by value; empty when not split
  const data::DataSet* data = nullptr;
  analysis::KnownFaults known;
  std::vector<analysis::KinematicAxes> axes;  // one per known fault
  analysis::StressResult result;
};

// The table of faults (a header line, a line per fault).
std::string fault_table(const FaultReport& report);
// The result: method, n used and skipped, the principal axes, Phi and R by
// their formulas, the mean ANG.
std::string stress_text(const FaultReport& report);

// The CSV header of the faults (with `file,` and `group,` first when the
// runs hold several data sets, and a group column when split).
std::string fault_csv_header(bool with_file, bool with_group);
std::string fault_csv_rows(const FaultReport& report, bool with_file, bool with_group);
std::string stress_csv_header(bool with_file, bool with_group);
std::string stress_csv_row(const FaultReport& report, bool with_file, bool with_group);

}  // namespace polarsketch::tables
