// `polarsketch plot`: the data sets read, the request mapped to a page, the
// page written by the figure room.
#include <ostream>
#include <string>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "data/selection.hpp"
#include "figure/output.hpp"
#include "files/atomic_file.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {

namespace {

int cannot_write(const std::string& path, const std::string& reason, std::ostream& err) {
  err << "polarsketch: cannot write '" << path << "': " << reason << '\n';
  return kExitCantCreate;
}

// The page the request asks for, without its layers' contents.
figure::Page page_of(const PlotRequest& r) {
  figure::Page page;
  page.format = r.format;
  page.title = r.output;
  page.paper = r.paper;
  page.dialect = r.dialect;
  page.whole_page = r.whole_page;
  page.dpi = r.dpi;
  page.projection = r.projection;
  page.hemisphere = r.hemisphere;
  page.view = r.view;
  page.net_step = r.net_step;
  page.polar_net_step = r.polar_net_step;
  page.run_info = r.run_info;
  page.heading = r.title;
  page.symbol_size_mm = r.symbol_size_mm;
  page.statistics_marks = r.stats_marks;
  page.planes = r.planes;
  page.hide_data = r.hide_data;
  page.faults.plot = r.fault_plot;
  page.faults.pt = r.pt;
  page.faults.b = r.pt_b;
  page.faults.pt_angle = r.pt_angle;
  return page;
}

// The legend's names of the sets: each set's file (or its --name, given
// once per file in order), or with --by its value (after its file's name
// when several files are read or the file was named).
std::vector<std::string> legend_names(const PlotRequest& r, const LoadedInputs& inputs) {
  std::vector<std::string> names;
  std::size_t file = 0;  // the file of the set: the sets come file by file
  for (std::size_t i = 0; i < inputs.sets.size(); ++i) {
    const data::DataSet& set = inputs.sets[i];
    while (file + 1 < r.input.files.size() && r.input.files[file] != set.name) ++file;
    const bool named = file < r.names.size();
    const std::string shown = named ? r.names[file] : tables::shown_name(set);
    if (r.input.by.empty())
      names.push_back(shown);
    else
      names.push_back(r.input.files.size() > 1 || named ? shown + ": " + inputs.groups[i]
                                                         : inputs.groups[i]);
  }
  return names;
}

// Fewer measurements than this make a density that means little.
constexpr std::size_t kFewestToContour = 10;

// The density legend's line naming the data sets contoured together, cut
// to the legend's width.
std::string pooled_text(const std::vector<std::string>& names) {
  std::string text = std::to_string(names.size()) + " sets pooled: ";
  for (std::size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : ", ") + names[i];
  constexpr std::size_t kWidth = 46;
  if (text.size() > kWidth) text = text.substr(0, kWidth - 3) + "...";
  return text;
}

// The P or T axes of the faults of known sense of every set, as one set of lines.
std::vector<data::DataSet> fault_axes(const PlotRequest& r, const std::vector<data::DataSet>& sets) {
  data::DataSet axes;
  axes.kind = data::Kind::lines;
  for (const data::DataSet& set : sets) {
    if (set.kind != data::Kind::slips) continue;
    for (const analysis::FaultVectors& f : analysis::known_faults(set.slips).faults) {
      const analysis::KinematicAxes a = analysis::kinematic_axes(f, r.pt_angle);
      axes.lines.push_back(data::to_line(r.contour_of == PlotRequest::ContourOf::p ? a.p : a.t));
    }
  }
  return {axes};
}

}  // namespace

int run_plot(const PlotRequest& r, std::istream& in, std::ostream& /*out*/, std::ostream& err) {
  const std::vector<std::string> label_column =
      r.label.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.label};
  LoadedInputs inputs = load_inputs(r.input, in, err, label_column);
  if (inputs.status != kExitOk) return inputs.status;
  figure::Page page = page_of(r);
  if (r.stats) page.statistics = tables::statistics_of(inputs.sets);
  if (r.cone_fit)
    for (const data::DataSet& set : inputs.sets)
      page.cones.push_back(analysis::fit_cone(set.unit_vectors()));
  if (r.contour)
    page.density = figure::density_layer(
        r.contour_of == PlotRequest::ContourOf::data ? inputs.sets : fault_axes(r, inputs.sets),
        r.contour->density, r.contour->levels, r.projection, r.view);
  std::vector<std::string> names = legend_names(r, inputs);
  if (page.density) {
    if (page.density->points < kFewestToContour)
      err << "polarsketch plot: --contour: " << page.density->points
          << " measurement(s) contoured; a density of fewer than " << kFewestToContour
          << " is not meaningful\n";
    if (r.contour_of == PlotRequest::ContourOf::data && inputs.sets.size() > 1)
      page.density->pooled = pooled_text(names);
  }
  if (r.dihedra) page.density = figure::dihedra_layer(inputs.sets, r.projection, r.view);
  if (r.stress) {
    // One inversion of the faults of every set together.
    std::vector<analysis::FaultVectors> faults;
    std::size_t skipped = 0;
    for (const data::DataSet& set : inputs.sets) {
      if (set.kind != data::Kind::slips) continue;
      const analysis::KnownFaults k = analysis::known_faults(set.slips);
      faults.insert(faults.end(), k.faults.begin(), k.faults.end());
      skipped += k.skipped;
    }
    if (skipped > 0)
      err << "polarsketch plot: --stress: " << skipped << " slip(s) of unknown sense skipped\n";
    if (faults.size() < 4) {
      err << "polarsketch plot: --stress: " << faults.size()
          << " fault(s) of known sense; a stress inversion needs at least 4\n";
      return kExitDataError;
    }
    page.faults.stress = analysis::invert_stress(faults, *r.stress, false);
  }
  if (r.stats)
    err << tables::statistics_table(inputs.sets, page.statistics, {r.input.by, inputs.groups});
  if (r.kinematics)
    page.kinematics = figure::kinematic_layer(inputs.sets, r.kinematics->slope, r.kinematics->mode);
  for (std::size_t i = 0; i < inputs.sets.size(); ++i) {
    std::string name = std::move(names[i]), count = tables::counted(inputs.sets[i]);
    std::vector<std::string> labels;
    if (!r.label.empty()) labels = data::column_texts(inputs.sets[i], r.label);
    page.sets.push_back(
        {std::move(inputs.sets[i]), std::move(name), std::move(count), std::move(labels)});
  }

  // The outputs are written all or none: each to its temporary file, and
  // none renamed onto its target before every one is complete. (A figure's
  // writer renames its own file; it comes last but the renames.)
  files::AtomicGroup outputs;
  files::AtomicFile* plot_file = figure::is_postscript(page) ? &outputs.add(r.output) : nullptr;
  const std::string density_out = r.contour ? r.contour->density_out : "";
  files::AtomicFile* density_file = density_out.empty() ? nullptr : &outputs.add(density_out);
  if (!outputs.create()) return cannot_write(outputs.failed_target(), outputs.error(), err);
  if (density_file != nullptr && !density_file->write(tables::density_csv(page.density->grid)))
    return cannot_write(density_out, "a write failed (disk full?)", err);
  if (const auto note = figure::great_circle_note(page)) err << "polarsketch: " << *note << '\n';
  const figure::Written written =
      plot_file != nullptr ? figure::draw_postscript_page(page, plot_file->temp_path(), r.output)
                           : figure::write_page(page, r.output);
  for (const std::string& m : written.messages) err << "polarsketch: " << m << '\n';
  if (!written.ok()) {
    err << "polarsketch: " << written.why << '\n';
    return written.failure == figure::Written::Failure::internal ? kExitSoftware : kExitCantCreate;
  }
  if (!outputs.commit()) return cannot_write(outputs.failed_target(), outputs.error(), err);
  return kExitOk;
}

}  // namespace polarsketch::cli
