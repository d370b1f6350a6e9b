// `polarsketch faults`: per data set, each fault of known sense with its P,
// T and B axes and its misfit, and the stress tensor inverted from them.
#include <ostream>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "files/atomic_file.hpp"
#include "tables/fault_table.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {
namespace {

// An inversion needs at least as many faults as a reduced tensor has
// unknowns (four) to be determined.
constexpr std::size_t kFewestFaults = 4;

}  // namespace

int run_faults(const FaultsRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  const bool grouped = !r.input.by.empty();
  const bool several = inputs.sets.size() > 1;
  std::vector<tables::FaultReport> reports;
  for (std::size_t i = 0; i < inputs.sets.size(); ++i) {
    const data::DataSet& set = inputs.sets[i];
    tables::FaultReport report;
    report.set = set.name;
    report.group = grouped ? inputs.groups[i] : "";
    report.name = tables::shown_name(set) + (grouped ? ", " + r.input.by + " " + report.group : "");
    report.data = &set;
    if (set.kind != data::Kind::slips) {
      err << "polarsketch faults: " << report.name << " holds " << data::kind_name(set.kind)
          << ", not slips (a plane with its slip and sense)\n";
      return kExitDataError;
    }
    report.known = analysis::known_faults(set.slips);
    if (report.known.skipped > 0)
      err << "polarsketch faults: " << report.name << ": " << report.known.skipped
          << " slip(s) of unknown sense skipped\n";
    if (report.known.faults.size() < kFewestFaults) {
      err << "polarsketch faults: " << report.name << ": "
          << (report.known.faults.empty() ? "no fault of known sense"
                                          : std::to_string(report.known.faults.size()) +
                                                " fault(s) of known sense")
          << "; a stress inversion needs at least " << kFewestFaults << "\n";
      return kExitDataError;
    }
    for (const analysis::FaultVectors& f : report.known.faults)
      report.axes.push_back(analysis::kinematic_axes(f, r.pt_angle));
    report.result = analysis::invert_stress(report.known.faults, r.method, r.iterate);
    reports.push_back(std::move(report));
  }

  if (!r.result_csv.empty()) {
    std::string csv = tables::stress_csv_header(several, grouped);
    for (const tables::FaultReport& report : reports)
      csv += tables::stress_csv_row(report, several, grouped);
    std::string why;
    if (!files::replace_file(r.result_csv, csv, &why)) {
      err << "polarsketch faults: cannot write '" << r.result_csv << "': " << why << '\n';
      return kExitCantCreate;
    }
  }
  if (r.csv) out << tables::fault_csv_header(several, grouped);
  for (const tables::FaultReport& report : reports) {
    if (r.csv) {
      out << tables::fault_csv_rows(report, several, grouped);
      err << report.name << ":\n" << tables::stress_text(report);
    } else {
      out << report.name << ": " << report.known.faults.size() << " faults of known sense\n"
          << tables::fault_table(report) << '\n'
          << tables::stress_text(report) << (&report == &reports.back() ? "" : "\n");
    }
  }
  return kExitOk;
}

}  // namespace polarsketch::cli
