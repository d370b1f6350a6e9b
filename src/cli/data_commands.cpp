// `polarsketch rotate` and `polarsketch sets`: the data read, changed as
// values and written back as one measurement file (-o, whole, or standard
// output), with what was done said on standard error.
#include <cstdio>
#include <ostream>

#include "analysis/rotation.hpp"
#include "analysis/sets.hpp"
#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "data/writer.hpp"
#include "files/atomic_file.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {
namespace {

std::string fixed(double v, const char* format) {
  char text[48];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// TREND/PLUNGE to a tenth of a degree; a trend that rounds to 360 or -0
// (or that of a vertical line) is 000.0.
std::string direction_text(const analysis::TrendPlunge& d) {
  const double trend = d.trend < 0.05 || d.trend >= 359.95 || d.plunge >= 89.95 ? 0.0 : d.trend;
  return fixed(trend, "%05.1f") + "/" + fixed(d.plunge, "%04.1f");
}

// The data sets of the run as one, or the reason they cannot be one file.
struct OneSet {
  data::DataSet set;
  std::string error;
};

OneSet one_set(const std::vector<data::DataSet>& sets) {
  for (const data::DataSet& s : sets)
    if (s.kind != sets.front().kind)
      return {{},
              "one file holds one kind: " + tables::shown_name(sets.front()) + " holds " +
                  std::string(data::kind_name(sets.front().kind)) + ", " + tables::shown_name(s) +
                  " " + std::string(data::kind_name(s.kind))};
  return {data::merged(sets), ""};
}

// The file's text to `output`, written whole, or to standard output.
int write_out(const std::string& form, const std::string& output, const std::string& text,
              std::ostream& out, std::ostream& err) {
  if (output.empty()) {
    out << text;
    return kExitOk;
  }
  std::string why;
  if (!files::replace_file(output, text, &why)) {
    err << "polarsketch " << form << ": cannot write '" << output << "': " << why << '\n';
    return kExitCantCreate;
  }
  return kExitOk;
}

analysis::Matrix3 composed(const std::vector<RotationStep>& steps) {
  analysis::Matrix3 r = analysis::identity_matrix();
  for (const RotationStep& s : steps) {
    const analysis::Matrix3 step = s.kind == RotationStep::Kind::axis
                                       ? analysis::axis_rotation(s.trend, s.plunge, s.angle)
                                       : analysis::unfolding(s.trend, s.plunge);
    r = analysis::followed_by(r, step);
  }
  return r;
}

// The set column's values: an existing column of that name is replaced.
void add_set_column(data::DataSet& set, const std::vector<std::size_t>& set_of) {
  const std::size_t width = set.attribute_names.size();
  std::size_t at = width;
  for (std::size_t c = 0; c < width; ++c)
    if (set.attribute_names[c] == "set") at = c;
  if (at < width) {
    for (std::size_t row = 0; row < set.size(); ++row)
      set.attribute_values[row * width + at] = std::to_string(set_of[row] + 1);
    return;
  }
  std::vector<std::string> values;
  values.reserve(set.size() * (width + 1));
  for (std::size_t row = 0; row < set.size(); ++row) {
    for (std::size_t c = 0; c < width; ++c) values.push_back(set.attribute(row, c));
    values.push_back(std::to_string(set_of[row] + 1));
  }
  set.attribute_names.push_back("set");
  set.attribute_values = std::move(values);
}

// Per set: n, mean axis, Fisher k and alpha95 (axes turned to the set's
// principal axis), eigenvalues and the mean squared sine to the centre.
void report_sets(const std::vector<data::Vector3>& axes, const analysis::SetSplit& split,
                 std::ostream& err) {
  err << "set      n  axis        Fisher k  alpha95      S1      S2      S3  dispersion\n";
  for (std::size_t j = 0; j < split.centres.size(); ++j) {
    std::vector<data::Vector3> members;
    for (std::size_t i = 0; i < axes.size(); ++i)
      if (split.set_of[i] == j) members.push_back(axes[i]);
    const analysis::Statistics s = analysis::compute_statistics(members);
    const auto eigen = s.eigenvalues.value_or(std::array<double, 3>{0, 0, 0});
    err << fixed(static_cast<double>(j + 1), "%3.0f") << ' '
        << fixed(static_cast<double>(s.n), "%6.0f") << "  "
        << direction_text(analysis::trend_plunge(split.centres[j])) << ' '
        << (s.fisher_k ? fixed(*s.fisher_k, "%10.2f") : std::string("         -")) << ' '
        << (s.alpha95 ? fixed(*s.alpha95, "%8.2f") : std::string("       -"))
        << fixed(eigen[0], "%8.4f") << fixed(eigen[1], "%8.4f") << fixed(eigen[2], "%8.4f")
        << fixed(split.dispersion[j], "%12.4f") << '\n';
  }
  err << "sum of squared sines to the centres: " << fixed(split.objective, "%.4f") << " ("
      << split.iterations << " rounds)\n";
}

}  // namespace

int run_rotate(const RotateRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  OneSet one = one_set(inputs.sets);
  if (!one.error.empty()) {
    err << "polarsketch rotate: " << one.error << '\n';
    return kExitDataError;
  }
  const analysis::Matrix3 rotation = composed(r.steps);
  const analysis::AxisAngle net = analysis::net_rotation(rotation);
  err << "polarsketch rotate: net rotation " << fixed(net.angle, "%.2f") << " degrees about "
      << direction_text(net.axis) << '\n';
  return write_out("rotate", r.output,
                   data::measurement_file(analysis::rotated(one.set, rotation)), out, err);
}

int run_sets(const SetsRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  OneSet one = one_set(inputs.sets);
  if (!one.error.empty()) {
    err << "polarsketch sets: " << one.error << '\n';
    return kExitDataError;
  }
  const std::vector<data::Vector3> axes = one.set.unit_vectors();
  const auto k = static_cast<std::size_t>(r.k);
  if (axes.size() < k) {
    err << "polarsketch sets: --k " << r.k << " needs at least " << r.k << " measurements; "
        << axes.size() << " read\n";
    return kExitDataError;
  }
  std::vector<data::Vector3> seeds;
  for (const data::Line& s : r.seeds) seeds.push_back(analysis::direction(s.trend, s.plunge));
  if (seeds.empty()) seeds = analysis::farthest_seeds(axes, k);
  const analysis::SetSplit split = analysis::axial_kmeans(axes, seeds);
  report_sets(axes, split, err);
  add_set_column(one.set, split.set_of);
  return write_out("sets", r.output, data::measurement_file(one.set), out, err);
}

}  // namespace polarsketch::cli
