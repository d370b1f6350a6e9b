// `polarsketch rose`: the azimuths of all data sets counted into one rose,
// written as a figure by the figure room and/or as CSV on standard output.
#include <cstdio>
#include <ostream>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "figure/output.hpp"
#include "tables/rose_table.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {
namespace {

int usage(const std::string& why, std::ostream& err) {
  err << "polarsketch rose: " << why << " (see 'polarsketch rose --help')\n";
  return kExitUsage;
}

std::string degrees(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string padded(double v, const char* format) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// What the sets count when --of is not given: one default for all, or
// empty when their kinds ask for different ones.
std::optional<analysis::RoseCount> common_count(const std::vector<data::DataSet>& sets) {
  std::optional<analysis::RoseCount> count;
  for (const data::DataSet& set : sets) {
    const analysis::RoseCount c = analysis::default_count(set.kind);
    if (count && *count != c) return std::nullopt;
    count = c;
  }
  return count ? count : analysis::RoseCount::strike;
}

std::string kinds_counted(const std::vector<data::DataSet>& sets) {
  std::string kinds;
  for (const data::DataSet& set : sets) {
    const std::string k(data::kind_name(set.kind));
    if (kinds.find(k) == std::string::npos) kinds += (kinds.empty() ? "" : " and ") + k;
  }
  return kinds.empty() ? "planes" : kinds;
}

figure::RosePage page_of(const RoseRequest& r, const std::vector<data::DataSet>& sets,
                         analysis::RoseCount count, analysis::Rose rose) {
  figure::RosePage page;
  page.format = r.format;
  page.title = r.output;
  page.paper = r.paper;
  page.dialect = r.dialect;
  page.whole_page = r.whole_page;
  page.dpi = r.dpi;
  page.rose = std::move(rose);
  page.scale = r.scale;
  page.counted = analysis::count_name(count) + " of " + kinds_counted(sets);
  for (const data::DataSet& set : sets) page.sources.push_back(tables::shown_name(set));
  page.weighting = r.scanline ? "Terzaghi, scanline " + padded(r.scanline->trend, "%03.0f") + "/" +
                                    padded(r.scanline->plunge, "%02.0f") + ", min. bias " +
                                    degrees(r.min_bias)
                              : "none";
  if (r.dips) page.selection = "dips " + degrees(r.dips->first) + " to " + degrees(r.dips->second);
  return page;
}

}  // namespace

int run_rose(const RoseRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  const std::optional<analysis::RoseCount> count = r.count ? r.count : common_count(inputs.sets);
  if (!count) return usage("the files hold planes and lines: say what to count with --of", err);
  const analysis::RoseSymmetry symmetry =
      r.symmetry ? *r.symmetry : analysis::default_symmetry(*count);
  if (const std::string why = analysis::bin_width_error(r.bin, symmetry); !why.empty())
    return usage("--bin " + degrees(r.bin) + ": " + why, err);

  const analysis::RoseSelection selection{*count, r.dips, r.scanline, r.min_bias};
  std::vector<double> azimuths, weights;
  for (const data::DataSet& set : inputs.sets) {
    const analysis::RoseSample s = analysis::rose_sample(set, selection);
    if (!s.error.empty()) return usage(tables::shown_name(set) + ": " + s.error, err);
    azimuths.insert(azimuths.end(), s.azimuths.begin(), s.azimuths.end());
    weights.insert(weights.end(), s.weights.begin(), s.weights.end());
  }
  if (azimuths.empty()) err << "polarsketch rose: warning: no measurement is counted\n";
  analysis::Rose rose = analysis::rose_of(azimuths, weights, r.start, r.bin, symmetry);
  // Weighted output keeps its weight column when nothing was counted.
  rose.weighted = r.scanline.has_value();
  if (!r.output.empty()) {
    const figure::RosePage page = page_of(r, inputs.sets, *count, std::move(rose));
    const figure::Written written = figure::write_rose_page(page, r.output);
    for (const std::string& m : written.messages) err << "polarsketch: " << m << '\n';
    if (!written.ok()) {
      err << "polarsketch: " << written.why << '\n';
      return written.failure == figure::Written::Failure::internal ? kExitSoftware
                                                                   : kExitCantCreate;
    }
    if (r.csv) out << tables::rose_csv(page.rose);
  } else {
    out << tables::rose_csv(rose);
  }
  return kExitOk;
}

}  // namespace polarsketch::cli
