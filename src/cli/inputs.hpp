// Reading the measurement files of a command: each file (or standard input)
// read whole, parsed into a data set, its errors reported on standard error.
#pragma once

#include <iosfwd>
#include <vector>

#include "cli/request.hpp"
#include "data/measurements.hpp"

namespace polarsketch::cli {

struct LoadedInputs {
  std::vector<data::DataSet> sets;  // one per file (a set per kind of a mixed file), in order
  int status = kExitOk;             // the first failure's status (66 or 65)
};

// Reads every file of `input`; "-" reads `in`. Unopenable files, fatal file
// faults and bad lines (unless skipped) are reported on `err` as
// "polarsketch: ..." and "FILE:LINE:COLUMN: 'text': reason" lines.
LoadedInputs load_inputs(const InputOptions& input, std::istream& in, std::ostream& err);

// The name a data set is shown by: its file name, or "standard input".
std::string shown_name(const data::DataSet& set);

// A data set's count and kind: "40 planes", "1 plane".
std::string counted(const data::DataSet& set);

}  // namespace polarsketch::cli
