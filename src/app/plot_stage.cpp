// The plot-file stage of the main loop and the page preparation.
#include "app/plot_stage.hpp"

#include "app/params.hpp"
#include "console/iocom.hpp"
#include "plot/coords.hpp"
#include "plot/open_close.hpp"
#include "plot/runinfo_text.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/frame.hpp"

namespace polarsketch::app {

bool plot_stage(std::int32_t irep, MainParams& p) {
  const bool lop = console::iocom.lop;
  if (irep == 20) {
    plot::plend();
    return true;
  }
  if ((irep == 999 || irep == 9999) && lop) {
    plot::plend();
    return true;
  }
  if (lop && irep == 19) {
    plot::newpage();
    prepare_plot(p);
    return true;
  }
  if (irep == 10 || (!lop && irep >= 100 && irep <= 603)) {
    plot::plinit(p.pfnam, 2);
    prepare_plot(p);
    return true;
  }
  return false;
}

void prepare_plot(const MainParams& p) {
  std::int32_t isa = p.ipltsize;
  plot::ssubplot(isa, 1);
  std::int32_t i2 = 0;
  plot::stextalign(i2, 3);
  plot::stextalign(-2, 1);
  plot::cmplotruninfo01(10.5f, 28.0f, 1);
  plot::stextalign(i2, 1);
  if (p.ldrwframe) stereonet::repstereo();
}

}  // namespace polarsketch::app
