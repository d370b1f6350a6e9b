// `polarsketch stats`: what each data set holds and its statistics.
#include <ostream>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {

int run_stats(const StatsRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  const std::vector<analysis::Statistics> stats = tables::statistics_of(inputs.sets);
  const tables::Groups groups{r.input.by, inputs.groups};
  // --cone: a small circle fitted to each set's axes.
  tables::ConeFits cones;
  if (r.cone)
    for (const data::DataSet& set : inputs.sets)
      cones.push_back(analysis::fit_cone(set.unit_vectors()));
  out << (r.csv ? tables::statistics_csv(inputs.sets, stats, groups, cones)
                : tables::statistics_table(inputs.sets, stats, groups, cones));
  return kExitOk;
}

}  // namespace polarsketch::cli
