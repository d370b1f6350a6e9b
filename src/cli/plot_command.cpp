// `polarsketch plot`: the data sets drawn through the plot library in a
// batch session, into a temporary file renamed onto the plot file when done.
#include <functional>
#include <ostream>

#include "app/params.hpp"
#include "cli/analysis_layers.hpp"
#include "cli/commands.hpp"
#include "cli/figure_output.hpp"
#include "cli/inputs.hpp"
#include "cli/statistics_report.hpp"
#include "cli/stereonet_page.hpp"
#include "console/stop.hpp"
#include "files/atomic_file.hpp"
#include "stereonet/batch_session.hpp"

namespace polarsketch::cli {

namespace {

postscript::DriverSettings driver_settings(const PlotRequest& r) {
  postscript::DriverSettings s;
  s.ovly = false;
  s.ncopies = 1;
  s.ips = r.dialect;
  switch (r.paper) {
    case Paper::portrait:
      s.sys = "P  ";
      break;
    case Paper::landscape_letter:
      s.sys = "LUS";
      break;
    case Paper::landscape_a4:
      s.sys = "LA4";
      break;
  }
  return s;
}

int cannot_write(const std::string& path, const std::string& reason, std::ostream& err) {
  err << "polarsketch: cannot write '" << path << "': " << reason << '\n';
  return kExitCantCreate;
}

// Opens a batch session on its device; false when it cannot be opened.
using OpenSession = std::function<bool(stereonet::BatchSession& session)>;

// Draws the page in a batch session opened by `open`. Returns kExitOk, or
// the status of the failure after saying what failed.
int draw_in_session(const PlotRequest& r, const std::vector<data::DataSet>& sets,
                    const AnalysisLayers& layers, const OpenSession& open, std::ostream& err) {
  stereonet::BatchSession session(app::kProgname, app::kVersion, app::kDate);
  if (!open(session)) {
    return cannot_write(r.output, "the file could not be opened", err);
  }
  try {
    draw_page(r, sets, layers);
  } catch (const console::OrderlyStop&) {
    // A library routine asked a question the batch session cannot answer.
    for (const std::string& m : session.messages()) err << "polarsketch: " << m << '\n';
    err << "polarsketch: internal error: the plot library stopped; nothing written\n";
    return kExitSoftware;
  }
  const bool written = session.close();
  for (const std::string& m : session.messages()) err << "polarsketch: " << m << '\n';
  if (!written) return cannot_write(r.output, "a write failed (disk full?)", err);
  return kExitOk;
}

// A text file written whole under a temporary name, then renamed into place.
int write_text(const std::string& path, const std::string& text, std::ostream& err) {
  files::AtomicFile file(path);
  if (!file.create()) return cannot_write(path, file.error(), err);
  if (!file.write(text)) return cannot_write(path, "a write failed (disk full?)", err);
  if (!file.commit()) return cannot_write(path, file.error(), err);
  return kExitOk;
}

}  // namespace

int run_plot(const PlotRequest& r, std::istream& in, std::ostream& /*out*/, std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  const AnalysisLayers layers = compute_layers(r, inputs.sets);
  if (r.stats) err << statistics_table(inputs.sets, layers.stats);

  if (r.format == OutputFormat::postscript) {
    files::AtomicFile file(r.output);
    if (!file.create()) return cannot_write(r.output, file.error(), err);
    const auto open = [&](stereonet::BatchSession& s) {
      return s.open(file.temp_path(), r.output, driver_settings(r));
    };
    if (const int status = draw_in_session(r, inputs.sets, layers, open, err); status != kExitOk)
      return status;
    if (!file.commit()) return cannot_write(r.output, file.error(), err);
  } else if (const int status = write_figure(
                 r,
                 [&](render::Device& figure, render::Orientation orientation) {
                   const auto open = [&](stereonet::BatchSession& s) {
                     s.open_on(figure, orientation);
                     return true;
                   };
                   return draw_in_session(r, inputs.sets, layers, open, err);
                 },
                 err);
             status != kExitOk) {
    return status;
  }
  if (r.contour && !r.contour->density_out.empty()) {
    return write_text(r.contour->density_out, density_csv(layers.density->grid), err);
  }
  return kExitOk;
}

}  // namespace polarsketch::cli
