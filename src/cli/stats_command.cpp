// `polarsketch stats`: what each data set holds and its statistics.
#include <ostream>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "report/statistics_report.hpp"

namespace polarsketch::cli {

int run_stats(const StatsRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  const std::vector<analysis::Statistics> stats = report::statistics_of(inputs.sets);
  out << (r.csv ? report::statistics_csv(inputs.sets, stats)
                : report::statistics_table(inputs.sets, stats));
  return kExitOk;
}

}  // namespace polarsketch::cli
