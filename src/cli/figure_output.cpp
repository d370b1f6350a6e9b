// Writing a figure: the page recorded by the cairo device, then written in
// the format of the output file's extension.
#include "cli/figure_output.hpp"

#include <ostream>
#include <stdexcept>

#include "render/cairo_device.hpp"
#include "render/seam.hpp"

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

// Installs a device for the life of the object.
class DeviceInstalled {
 public:
  explicit DeviceInstalled(render::Device& d) : before_(render::use_device(&d)) {}
  ~DeviceInstalled() { render::use_device(before_); }
  DeviceInstalled(const DeviceInstalled&) = delete;
  DeviceInstalled& operator=(const DeviceInstalled&) = delete;

 private:
  render::Device* before_;
};

// Where the driver's plot file goes while the cairo device draws the figure.
constexpr const char* kNoPlotFile = "/dev/null";

}  // namespace

int write_figure(const PlotRequest& r, const DrawPage& draw, std::ostream& err) {
  render::CairoDevice figure;
  {
    const DeviceInstalled installed(figure);
    figure.begin_page(1, orientation_of(r.paper));
    if (const int status = draw(kNoPlotFile); status != kExitOk) return status;
    figure.end_page();
  }
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
