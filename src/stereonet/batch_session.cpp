// The plot library run without a console.
#include "stereonet/batch_session.hpp"

#include <sstream>

#include "console/iocom.hpp"
#include "console/report_frames.hpp"
#include "console/runinfo.hpp"
#include "console/units.hpp"
#include "curve/fixed_params.hpp"
#include "curve/levels.hpp"
#include "curve/running_point.hpp"
#include "math/angles.hpp"
#include "plot/colortable.hpp"
#include "plot/primitives.hpp"
#include "plot/records.hpp"
#include "plot/settings_menu.hpp"
#include "render/postscript_device.hpp"
#include "render/seam.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/frame.hpp"
#include "stereonet/orientation.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::stereonet {

// The console of the session: no input at all (a routine that asked would
// meet the end of input and stop the session in order, never wait), and the
// printed text kept aside. The reports go to the collector, and the drawing
// to the device the session was opened on.
struct BatchSession::State {
  std::istringstream in;
  std::ostringstream out;
  report::Collector collected;
  report::Reporter* reporter_before = nullptr;
  std::unique_ptr<render::PostScriptDevice> postscript;
  render::Device* device = nullptr;  // while open
  render::Device* device_before = nullptr;
  bool plot_file = false;  // a PostScript plot file is open
};

namespace {

void reset_records() {
  console::reset_units();
  console::reset_iocom();
  console::reset_runinfocom();
  math::reset_angle_records();
  curve::reset_ptblock();
  curve::reset_pfixblock();
  curve::reset_plevblock();
  plot::reset_plot_records();
  plot::reset_pltbuff1();
  postscript::reset_postscript();
  reset_projection_records();
  reset_display_settings();
  reset_stefram2();
  reset_orientation_buffers();
  render::reset_text_state();
}

}  // namespace

BatchSession::BatchSession(std::string_view progname, std::string_view version,
                           std::string_view date)
    : state_(std::make_unique<State>()) {
  reset_records();
  state_->reporter_before = report::install(&state_->collected);
  console::bind_console(state_->in, state_->out);
  console::initsio();
  console::iocom.lcrerr = false;  // no pause after a warning or error frame
  console::smaininfo(progname, version, date, 0);
  math::trigoset();
  std::int32_t i1 = 0;
  std::int32_t i2 = 0;
  sspro(i1, 5);
  srepstereo0(5);
  plot::scolortable(5);
  sdspaxsymb(i1, i2, 5);
  sdspgc(i1, 5);
}

BatchSession::~BatchSession() {
  if (console::iocom.lop) close();
  console::discard_open_frame();
  report::install(state_->reporter_before);
  console::reset_units();
  console::reset_iocom();
}

bool BatchSession::open(const std::string& path, const std::string& title,
                        const postscript::DriverSettings& driver) {
  if (!postscript::open_document(path, title, driver)) return false;
  state_->postscript = std::make_unique<render::PostScriptDevice>();
  state_->plot_file = true;
  state_->device = state_->postscript.get();
  state_->device_before = render::use_device(state_->device);
  console::iocom.lop = true;
  plot::splotparam2(7);
  return true;
}

void BatchSession::open_on(render::Device& device, render::Orientation orientation) {
  state_->device = &device;
  state_->device_before = render::use_device(&device);
  device.begin_page(1, orientation);
  console::iocom.lop = true;
  plot::splotparam2(7);
}

bool BatchSession::close() {
  bool ok = true;
  if (state_->plot_file) {
    ok = postscript::close_document();
    state_->plot_file = false;
  } else if (state_->device != nullptr) {
    state_->device->end_page();
  }
  if (state_->device != nullptr) render::use_device(state_->device_before);
  state_->device = nullptr;
  console::iocom.lop = false;
  return ok;
}

std::vector<report::Message> BatchSession::reports() const {
  std::vector<report::Message> r;
  for (const report::Message& m : state_->collected.messages()) {
    if (m.level != report::Level::note) r.push_back(m);
  }
  if (const report::Message* open = console::open_frame()) r.push_back(*open);
  return r;
}

std::vector<std::string> BatchSession::messages() const {
  std::vector<std::string> lines;
  for (const report::Message& m : reports()) lines.push_back(console::one_line(m));
  return lines;
}

}  // namespace polarsketch::stereonet
