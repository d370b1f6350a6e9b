// `polarsketch plot`: the data sets read, the request mapped to a page, the
// page written by the figure room.
#include <ostream>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"
#include "figure/output.hpp"
#include "files/atomic_file.hpp"
#include "tables/statistics_table.hpp"

namespace polarsketch::cli {

namespace {

int cannot_write(const std::string& path, const std::string& reason, std::ostream& err) {
  err << "polarsketch: cannot write '" << path << "': " << reason << '\n';
  return kExitCantCreate;
}

// A text file written whole under a temporary name, then renamed into place.
int write_text(const std::string& path, const std::string& text, std::ostream& err) {
  files::AtomicFile file(path);
  if (!file.create()) return cannot_write(path, file.error(), err);
  if (!file.write(text)) return cannot_write(path, "a write failed (disk full?)", err);
  if (!file.commit()) return cannot_write(path, file.error(), err);
  return kExitOk;
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
  page.net_step = r.net_step;
  page.polar_net_step = r.polar_net_step;
  page.run_info = r.run_info;
  page.planes = r.planes;
  page.hide_data = r.hide_data;
  return page;
}

}  // namespace

int run_plot(const PlotRequest& r, std::istream& in, std::ostream& /*out*/, std::ostream& err) {
  LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  figure::Page page = page_of(r);
  if (r.stats) page.statistics = tables::statistics_of(inputs.sets);
  if (r.contour)
    page.density =
        figure::density_layer(inputs.sets, r.contour->density, r.contour->levels, r.projection);
  if (r.stats) err << tables::statistics_table(inputs.sets, page.statistics);
  if (r.kinematics)
    page.kinematics = figure::kinematic_layer(inputs.sets, r.kinematics->slope, r.kinematics->mode);
  for (data::DataSet& set : inputs.sets) {
    std::string name = tables::shown_name(set), count = tables::counted(set);
    page.sets.push_back({std::move(set), std::move(name), std::move(count)});
  }

  const figure::Written written = figure::write_page(page, r.output);
  for (const std::string& m : written.messages) err << "polarsketch: " << m << '\n';
  if (!written.ok()) {
    err << "polarsketch: " << written.why << '\n';
    return written.failure == figure::Written::Failure::internal ? kExitSoftware : kExitCantCreate;
  }
  if (r.contour && !r.contour->density_out.empty()) {
    return write_text(r.contour->density_out, tables::density_csv(page.density->grid), err);
  }
  return kExitOk;
}

}  // namespace polarsketch::cli
