// `polarsketch kinematics`: the planes of the files judged against a slope
// face, every failure mode of the table, the numbers on standard output and
// the critical items as CSV.
#include <ostream>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "files/atomic_file.hpp"
#include "tables/kinematics_table.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {

namespace {

int cannot_write(const std::string& path, const std::string& reason, std::ostream& err) {
  err << "polarsketch: cannot write '" << path << "': " << reason << '\n';
  return kExitCantCreate;
}

}  // namespace

int run_kinematics(const KinematicsRequest& r, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  for (const data::DataSet& set : inputs.sets) {
    if (set.kind != data::Kind::lines) continue;
    err << "polarsketch kinematics: " << tables::shown_name(set)
        << " holds lines; the analysis judges planes (and the planes of slips)\n";
    return kExitDataError;
  }
  const tables::Survey survey = tables::survey_of(inputs.sets);
  const bool keep = !r.csv.empty();
  std::vector<analysis::KinematicResult> results;
  for (const analysis::KinematicModeEntry& m : analysis::kinematic_modes())
    results.push_back(m.evaluate(r.slope, survey.planes, keep));
  out << tables::kinematics_report(r.slope, results);
  if (!keep) return kExitOk;
  files::AtomicFile file(r.csv);
  if (!file.create()) return cannot_write(r.csv, file.error(), err);
  if (!file.write(tables::kinematics_csv(survey, results)))
    return cannot_write(r.csv, "a write failed (disk full?)", err);
  if (!file.commit()) return cannot_write(r.csv, file.error(), err);
  return kExitOk;
}

}  // namespace polarsketch::cli
