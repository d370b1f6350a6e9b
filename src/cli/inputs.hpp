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

}  // namespace polarsketch::cli
