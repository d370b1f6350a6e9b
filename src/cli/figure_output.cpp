// Writing a figure: the page recorded by the cairo device, then written in
// the format of the output file's extension.
#include "cli/figure_output.hpp"

#include <ostream>
#include <stdexcept>

#include "render/cairo_device.hpp"

namespace polarsketch::cli {
namespace {

render::Orientation orientation_of(Paper paper) {
  switch (paper) {
    case Paper::landscape_letter:
      return render::Orientation::landscape_us;
    case Paper::landscape_a4:
      return render::Orientation::landscape_a4;
    case Paper::portrait:
      break;
  }
  return render::Orientation::portrait;
}

}  // namespace

int write_figure(const PlotRequest& r, const DrawPage& draw, std::ostream& err) {
  render::CairoDevice figure;
  if (const int status = draw(figure, orientation_of(r.paper)); status != kExitOk) return status;
  const render::PageLayout layout{r.whole_page};
  try {
    switch (r.format) {
      case OutputFormat::eps:
        figure.write_eps(r.output, 0, layout);
        break;
      case OutputFormat::pdf:
        figure.write_pdf(r.output, layout);
        break;
      case OutputFormat::svg:
        figure.write_svg(r.output, 0, layout);
        break;
      case OutputFormat::png:
        figure.write_png(r.output, 0, layout, r.dpi);
        break;
      case OutputFormat::postscript:
        throw std::logic_error("a PostScript plot file is not a figure");
    }
  } catch (const std::runtime_error& e) {
    err << "polarsketch: " << e.what() << '\n';
    return kExitCantCreate;
  }
  return kExitOk;
}

}  // namespace polarsketch::cli
