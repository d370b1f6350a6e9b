// `polarsketch plot`: the data sets drawn through the plot library in a
// batch session, into a temporary file renamed onto the plot file when done.
#include <ostream>
#include <string>

#include "app/params.hpp"
#include "cli/analysis_layers.hpp"
#include "cli/commands.hpp"
#include "cli/figure_output.hpp"
#include "cli/inputs.hpp"
#include "cli/statistics_report.hpp"
#include "cli/stereonet_page.hpp"
#include "console/stop.hpp"
#include "files/atomic_file.hpp"
#include "postscript/writer.hpp"
#include "render/cairo_device.hpp"
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

// A message of the plot library about the plot file `path` it was given,
// naming the file the user asked for instead (the library writes a
// temporary file that is renamed onto it).
std::string named_as_output(std::string message, const std::string& path,
                            const std::string& output) {
  for (std::size_t at = 0; !path.empty() && (at = message.find(path, at)) != std::string::npos;
       at += output.size())
    message.replace(at, path.size(), output);
  return message;
}

// Draws the page in a batch session into the plot file `path`. Returns
// kExitOk, or the status of the failure after saying what failed.
int draw_in_session(const PlotRequest& r, const std::vector<data::DataSet>& sets,
                    const AnalysisLayers& layers, const std::string& path, std::ostream& err) {
  const std::size_t non_finite_before = render::non_finite_coordinates();
  stereonet::BatchSession session(app::kProgname, app::kVersion, app::kDate);
  if (!session.open(path, r.output, driver_settings(r))) {
    return cannot_write(r.output, "the file could not be opened", err);
  }
  try {
    draw_page(r, sets, layers);
  } catch (const console::OrderlyStop&) {
    // A library routine asked a question the batch session cannot answer.
    for (const std::string& m : session.messages())
      err << "polarsketch: " << named_as_output(m, path, r.output) << '\n';
    err << "polarsketch: internal error: the plot library stopped; nothing written\n";
    return kExitSoftware;
  }
  const bool written = session.close();
  for (const std::string& m : session.messages())
    err << "polarsketch: " << named_as_output(m, path, r.output) << '\n';
  if (!written) return cannot_write(r.output, "a write failed (disk full?)", err);
  if (postscript::writer().non_finite_count() > 0 ||
      render::non_finite_coordinates() != non_finite_before) {
    // A drawing that is not what the numbers say is never kept.
    err << "polarsketch: internal error: a coordinate of the page is not a finite number; "
           "nothing written\n";
    return kExitSoftware;
  }
  return kExitOk;
}

}  // namespace

int run_plot(const PlotRequest& r, std::istream& in, std::ostream& /*out*/, std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  const AnalysisLayers layers = compute_layers(r, inputs.sets);
  if (r.stats) err << statistics_table(inputs.sets, layers.stats);

  const auto draw = [&](const std::string& path) {
    return draw_in_session(r, inputs.sets, layers, path, err);
  };
  // The outputs are written all or none: each to its temporary file, and
  // none renamed onto its target before every one is complete. (A figure's
  // writer renames its own file; it comes last but the renames.)
  files::AtomicGroup outputs;
  files::AtomicFile* plot_file =
      r.format == OutputFormat::postscript ? &outputs.add(r.output) : nullptr;
  const std::string density_out = r.contour ? r.contour->density_out : "";
  files::AtomicFile* density_file = density_out.empty() ? nullptr : &outputs.add(density_out);
  if (!outputs.create()) return cannot_write(outputs.failed_target(), outputs.error(), err);
  if (density_file != nullptr && !density_file->write(density_csv(layers.density->grid)))
    return cannot_write(density_out, "a write failed (disk full?)", err);
  const int status = plot_file != nullptr ? draw(plot_file->temp_path()) : write_figure(r, draw, err);
  if (status != kExitOk) return status;
  if (!outputs.commit()) return cannot_write(outputs.failed_target(), outputs.error(), err);
  return kExitOk;
}

}  // namespace polarsketch::cli
