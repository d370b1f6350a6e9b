// Opening, paging and closing the plot file.
#include "plot/open_close.hpp"

#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "plot/settings_menu.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "render/seam.hpp"
#include "report/report.hpp"

namespace polarsketch::plot {

using console::iocom;
using console::put_line;

namespace {

// The paper of the driver's orientation code.
render::Orientation paper_of(std::string_view sys) {
  if (sys == "LUS") return render::Orientation::landscape_us;
  if (sys == "LA4") return render::Orientation::landscape_a4;
  return render::Orientation::portrait;
}

}  // namespace

void plinit(std::string& pfname, std::int32_t inter) {
  if (iocom.lop) {
    report::Message msg = report::warning("plinit");
    msg.lines.emplace_back("Plot file or window is already opened");
    msg.lines.emplace_back("==> appending to current plot file/window");
    report::report(msg);
    return;
  }
  postscript::intplinit(pfname, inter);
  render::plot_opened(postscript::writer().file_name(), paper_of(postscript::psparams.sys.view()));
  iocom.lop = true;
  splotparam2(inter == 2 || inter == 3 ? 7 : 5);
}

void plend() {
  if (iocom.lop) {
    postscript::intplend();
    render::plot_closed();
    iocom.lop = false;
  } else {
    report::Message msg = report::warning("plend");
    msg.lines.emplace_back("The plot window or file is already closed");
    report::report(msg);
  }
}

void newpage() {
  const std::int32_t ito = iocom.ito;
  console::submenuhead("newpage");
  put_line(ito, "IT IS SUGGESTED TO CLEAR THE PLOT");
  put_line(ito, "You can:");
  put_line(ito, "clear the window / add a page to the file ..0");
  put_line(ito, "close the window / file and open a new one .1");
  put_line(ito, "append to the current window / file ........2");
  console::menutail();
  std::int32_t ichoice = 0;
  std::int32_t ierr = 0;
  console::inintegvindef(ichoice, "your choice", 0, 0, 2, ierr);
  if (ichoice == 0) {
    render::plot_new_page();
  } else if (ichoice == 1) {
    plend();
    // The new file's name field is as wide as the main plot file name, so a
    // name typed at its file-name prompt is not cut to "Next_plot"'s length.
    FixedText<50> next{"Next_plot"};
    plinit(next, 2);
  }
}

void plend_on_stop() {
  // The driver knows whether a file is open even when the stop came before
  // the plot-open flag was set, so it is asked in every case.
  postscript::finish_on_stop();
  render::plot_closed();
  iocom.lop = false;
}

}  // namespace polarsketch::plot
