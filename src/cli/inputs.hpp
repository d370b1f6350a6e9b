// Reading the measurement files of a command: each file (or standard input)
// read whole, parsed into a data set, its errors reported on standard error.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/request.hpp"
#include "data/measurements.hpp"

namespace polarsketch::cli {

struct LoadedInputs {
  // One per file (a set per kind of a mixed file), in order; with --by, one
  // per file, kind and value of the column.
  std::vector<data::DataSet> sets;
  std::vector<std::string> groups;  // with --by, each set's value ("(none)" when empty)
  int status = kExitOk;             // the first failure's status (66, 65 or 64)
};

// Reads every file of `input`; "-" reads `in`. Unopenable files, fatal file
// faults and bad lines (unless skipped) are reported on `err` as
// "polarsketch: ..." and "FILE:LINE:COLUMN: 'text': reason" lines. Then the
// rows are chosen by --where (how many each file kept said on `err`) and
// split by --by. A column of --where, --by or `more_columns` that no file
// has is wrong usage (64).
LoadedInputs load_inputs(const InputOptions& input, std::istream& in, std::ostream& err,
                         const std::vector<std::string>& more_columns = {});

}  // namespace polarsketch::cli
