// Typed messages rendered as console frames or as one line, and frames
// printed by the frame routines captured as typed messages.
#include "console/report_frames.hpp"

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"

namespace polarsketch::console {

std::string line_text(const report::Line& line) {
  std::string s;
  for (const report::Part& p : line.parts()) {
    if (!p.is_number) {
      s += p.text;
      continue;
    }
    const report::Number& n = p.number;
    switch (n.form) {
      case report::Number::Form::integer:
        s += fmt_int(n.integer, n.width);
        break;
      case report::Number::Form::fixed:
        s += fmt_fixed(n.real, n.width, n.decimals);
        break;
      case report::Number::Form::general:
        s += fmt_general(n.real, n.width, n.decimals);
        break;
    }
  }
  return s;
}

std::string one_line(const report::Message& message) {
  static constexpr const char* kWords[] = {"note", "warning", "error"};
  std::string s =
      std::string(kWords[static_cast<int>(message.level)]) + " in " + message.where + ":";
  std::string sep = " ";
  for (const report::Line& l : message.lines) {
    const std::string text = line_text(l);
    const std::string_view shown = trim_blanks(text);
    if (shown.empty()) continue;
    s += sep;
    s += shown;
    sep = "; ";
  }
  return s;
}

void FrameReporter::report(const report::Message& message) {
  switch (message.level) {
    case report::Level::note:
      submenuhead(message.where);
      for (const report::Line& l : message.lines) put_line(iocom.ito, line_text(l));
      return;
    case report::Level::warning:
      warninghead(message.where);
      for (const report::Line& l : message.lines) put_line(iocom.itoer, line_text(l));
      warningtail00();
      return;
    case report::Level::error:
      errorhead(message.where);
      for (const report::Line& l : message.lines) put_line(iocom.itoer, line_text(l));
      if (message.escalation == report::Escalation::resume_advised) {
        errorstop(0);
      } else {
        errortail00();
      }
      return;
  }
}

FrameReporter& frame_reporter() {
  static FrameReporter r;
  return r;
}

}  // namespace polarsketch::console
