// The plot library run without a console.
#include "stereonet/batch_session.hpp"

#include <sstream>
#include <string_view>

#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
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
#include "stereonet/display_settings.hpp"
#include "stereonet/frame.hpp"
#include "stereonet/orientation.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::stereonet {

// The console of the session: no input at all (a routine that asked would
// meet the end of input and stop the session in order, never wait), and the
// printed text kept for its warning frames.
struct BatchSession::Streams {
  std::istringstream in;
  std::ostringstream out;
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
}

}  // namespace

BatchSession::BatchSession(std::string_view progname, std::string_view version,
                           std::string_view date)
    : streams_(std::make_unique<Streams>()) {
  reset_records();
  console::bind_console(streams_->in, streams_->out);
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
  console::reset_units();
  console::reset_iocom();
}

bool BatchSession::open(const std::string& path, const std::string& title,
                        const postscript::DriverSettings& driver) {
  if (!postscript::open_document(path, title, driver)) return false;
  console::iocom.lop = true;
  plot::splotparam2(7);
  return true;
}

bool BatchSession::close() {
  const bool ok = postscript::close_document();
  console::iocom.lop = false;
  return ok;
}

std::vector<std::string> BatchSession::messages() const {
  return frame_messages(streams_->out.str());
}

std::vector<std::string> frame_messages(const std::string& console_text) {
  // A frame: its rule, the boxed "subroutine NAME" and WARNING or ERROR
  // lines, the rules, then the message lines up to the closing rule.
  std::vector<std::string> lines;
  std::istringstream in(console_text);
  for (std::string l; std::getline(in, l);) {
    lines.push_back(std::string(trim_blanks(l)));
  }
  auto boxed_text = [](const std::string& l) {
    if (l.size() < 8) return std::string();
    return std::string(trim_blanks(std::string_view(l).substr(3, l.size() - 6)));
  };
  std::vector<std::string> result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool warning = lines[i] == console::kRuleSlash;
    const bool error = lines[i] == console::kRuleStar;
    if (!warning && !error) continue;
    const std::string_view rule = warning ? console::kRuleSlash : console::kRuleStar;
    const std::string_view word = warning ? "WARNING" : "ERROR";
    // Find the head: the routine's line and the kind's line before the next rules.
    std::string routine;
    std::size_t j = i + 1;
    bool head = false;
    for (; j < lines.size() && j < i + 8; ++j) {
      const std::string t = boxed_text(lines[j]);
      if (t.rfind("subroutine ", 0) == 0) routine = std::string(trim_blanks(t.substr(11)));
      if (t == word) head = true;
      if (head && lines[j] == rule) break;
    }
    if (!head || j >= lines.size()) continue;
    while (j < lines.size() && lines[j] == rule) ++j;
    std::string text = std::string(warning ? "warning" : "error") + " in " + routine + ":";
    std::string sep = " ";
    for (; j < lines.size() && lines[j] != rule; ++j) {
      if (lines[j].empty() || lines[j].rfind("===> HIT RETURN", 0) == 0) continue;
      text += sep + lines[j];
      sep = "; ";
    }
    result.push_back(text);
    i = j;
  }
  return result;
}

}  // namespace polarsketch::stereonet
