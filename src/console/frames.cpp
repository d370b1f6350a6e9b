// Menu, warning and error frames, the pause after a frame, the escalation
// routines that may stop the run, and the two range checkers.
#include "console/frames.hpp"

#include <array>
#include <optional>
#include <string>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/formatting.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/report_frames.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"
#include "report/report.hpp"

namespace polarsketch::console {
namespace {

// The frame being printed while a reporter is installed, as a typed message.
std::optional<report::Message> capture;

void capture_line(int unit, std::string_view text) {
  if (!capture || (unit != iocom.itoer && unit != iocom.ito)) return;
  if (text.starts_with("===> HIT RETURN")) return;  // the pause is no part of the message
  capture->lines.emplace_back(text);
}

void close_capture() {
  if (!capture) return;
  observe_lines(nullptr);
  report::Message m = std::move(*capture);
  capture.reset();
  report::report(m);
}

void open_capture(report::Level level, std::string_view progname) {
  close_capture();
  if (report::installed() == nullptr) return;
  capture = report::Message{level, std::string(trim_blanks(progname)), {}, {}};
  observe_lines(&capture_line);
}

constexpr std::size_t kNameLength = 11;   // routine names are printed in 11 columns
constexpr std::size_t kFrameInside = 35;  // text between "*** " and " ***"

std::string name_field(std::string_view progname) { return fit_text(progname, kNameLength); }

// "*** " + text cut or padded to 35 characters + " ***" (or with "///").
std::string boxed(std::string_view side, std::string_view text) {
  std::string s(side);
  s += ' ';
  s += fit_text(text, kFrameInside);
  s += ' ';
  s += side;
  return s;
}

std::string subroutine_line(std::string_view progname) {
  return "       subroutine " + name_field(progname);
}

// The pause of the tails: any line, an empty one included, ends it.
void pause_for_return() {
  std::string line;
  for (;;) {
    put_line(iocom.itoer,
             iocom.locom ? "===> HIT RETURN TO RESUME COMMANDS" : "===> HIT RETURN TO CONTINUE");
    if (read_line(iocom.itier, line)) return;
    // Only a file unit reports a failed read instead of stopping; it will
    // not recover, so treat it as the end of input.
    put_line(iocom.ito, kEndOfInputLine);
    stop_run(kExitEndOfInput);
  }
}

// The two stacked triangles that mark an outdated tail, 24 characters a line.
void outdated_block(std::string_view marker) {
  auto row = [](int blanks, int ats) {
    std::string s(static_cast<std::size_t>(blanks), ' ');
    s.append(static_cast<std::size_t>(ats), '@');
    s.append(static_cast<std::size_t>(blanks), ' ');
    return s;
  };
  const std::string full(24, '@');
  constexpr std::array<int, 5> kBlanks{2, 4, 6, 8, 10};
  put_line(iocom.itoer, full);
  for (int b : kBlanks) put_line(iocom.itoer, row(b, 24 - 2 * b));
  put_line(iocom.itoer, full);
  put_line(iocom.itoer, fit_text(std::string("OUTDATED    ") + std::string(marker), 24));
  put_line(iocom.itoer, full);
  for (auto it = kBlanks.rbegin(); it != kBlanks.rend(); ++it)
    put_line(iocom.itoer, row(*it, 24 - 2 * *it));
  put_line(iocom.itoer, full);
}

[[noreturn]] void stop_on_error() { stop_run(kExitError); }

}  // namespace

void submenuhead_on(int unit, std::string_view progname) {
  put_line(unit, kRuleAt);
  put_line(unit, "@ subroutine " + name_field(progname));
  put_line(unit, "@" + std::string(42, '='));
}

void menutail_on(int unit) { put_line(unit, kRuleAt); }

void submenuhead(std::string_view progname, std::string_view, std::string_view) {
  submenuhead_on(iocom.ito, progname);
}

void menutail() { menutail_on(iocom.ito); }

void subtail(std::string_view progname, std::string_view, std::string_view) {
  if (!iocom.lwito(3)) return;
  put_line(iocom.ito, kRuleAt);
  put_line(iocom.ito, "@ exiting " + name_field(progname));
  put_line(iocom.ito, kRuleAt);
}

void errorhead(std::string_view progname, std::string_view, std::string_view) {
  const int u = iocom.itoer;
  put_line(u, kRuleStar);
  put_line(u, kRuleStar);
  put_line(u, boxed("***", ""));
  put_line(u, boxed("***", subroutine_line(progname)));
  put_line(u, boxed("***", ""));
  put_line(u, boxed("***", "               ERROR               "));
  put_line(u, boxed("***", ""));
  put_line(u, kRuleStar);
  put_line(u, kRuleStar);
  open_capture(report::Level::error, progname);
}

void errortail00() {
  close_capture();
  if (iocom.lcrerr) pause_for_return();
  put_line(iocom.itoer, kRuleStar);
}

void errortail0(std::int32_t) {
  close_capture();
  outdated_block("errortail0");
  errortail00();
}

void warninghead(std::string_view progname, std::string_view, std::string_view) {
  const int u = iocom.itoer;
  put_line(u, kRuleSlash);
  put_line(u, boxed("///", subroutine_line(progname)));
  put_line(u, boxed("///", "              WARNING              "));
  put_line(u, kRuleSlash);
  open_capture(report::Level::warning, progname);
}

void warningtail00() {
  close_capture();
  if (iocom.lcrerr) pause_for_return();
  put_line(iocom.itoer, kRuleSlash);
}

void warningtail0(std::int32_t) {
  close_capture();
  outdated_block("warningtail0");
  warningtail00();
}

void errorstop(std::int32_t level) {
  const int u = iocom.itoer;
  bool answer = false;
  std::int32_t ierr = 0;
  switch (level) {
    case 0:
      put_line(u, "RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED");
      inlogicdef2(answer, "RESUME", true, iocom.itier, iocom.itoer, ierr);
      if (answer) {
        put_line(u, "RESUMING EXECUTION");
        return;
      }
      put_line(u, "EXECUTION STOPPED BY USER");
      put_line(u, "AFTER RECOVERABLE ERROR");
      put_line(u, kRuleStar);
      stop_on_error();
    case 1:
      sorryface();
      put_line(u, "UNRECOVERABLE ERROR ==> QUITTING ADVISED");
      inlogicdef2(answer, "STOP", true, iocom.itier, iocom.itoer, ierr);
      if (!answer) {
        put_line(u, "ENTERING THE TWILIGHT ZONE OF COMPUTING !");
        put_line(u, "THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE");
        put_line(u, "RESUMING EXECUTION");
        return;
      }
      put_line(u, "EXECUTION STOPPED BY USER");
      put_line(u, "AFTER UNRECOVERABLE ERROR");
      put_line(u, "Copying the above information");
      put_line(u, "and sending it to the program author");
      put_line(u, "might be helpful");
      put_line(u, kRuleStar);
      stop_on_error();
    case 2:
      sorryface();
      put_line(u, "UNRECOVERABLE ERROR");
      put_line(u, "EXECUTION STOPPED BY PROGRAM");
      put_line(u, "Copying the above information");
      put_line(u, "and sending it to the program author");
      put_line(u, "might be helpful");
      put_line(u, kRuleStar);
      stop_on_error();
    default:
      return;
  }
}

void errortail01(std::int32_t level) {
  const int u = iocom.itoer;
  bool stop_default = true;
  if (level == 0) {
    put_line(u, "RECOVERABLE ERROR ====> CAN RESUME EXECUTION");
    stop_default = false;
  } else {
    sorryface();
    put_line(u, "UNRECOVERABLE ERROR =====> QUITTING ADVISED");
  }
  bool answer = false;
  std::int32_t ierr = 0;
  inlogicdef2(answer, "STOP", stop_default, iocom.itier, iocom.itoer, ierr);
  if (answer) {
    put_line(u, "EXECUTION STOPPED AFTER ERROR");
    put_line(u, kRuleStar);
    stop_on_error();
  }
  if (level == 1) {
    put_line(u, "ENTERING THE TWILIGHT ZONE OF COMPUTING !");
    put_line(u, "THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE");
  } else {
    put_line(u, "RESUMING EXECUTION");
  }
  pause_for_return();
  close_capture();
  put_line(u, kRuleStar);
}

void cinvin(std::int32_t n, std::int32_t min, std::int32_t max, std::string_view rnam,
            std::string_view vnam, std::int32_t& ierr) {
  ierr = 0;
  if (min <= n && n <= max) return;
  ierr = 1;
  const int u = iocom.itoer;
  errorhead("cinvin");
  put_line(u, std::string(textlen_trim(vnam)) + " = " + fmt_int(n, 12));
  put_line(u, "outside [ " + fmt_int(min, 12) + " , " + fmt_int(max, 12) + " ]");
  put_line(u, "Problem originated in :");
  put_line(u, "subroutine: " + std::string(textlen_trim(rnam)));
  errortail01(1);
}

void crevin2(std::string_view vnam, float& v, float vmin, float vmax, std::string_view rnam,
             std::int32_t igrave, std::int32_t& ierr) {
  ierr = 0;
  if (vmin <= v && v <= vmax) return;
  ierr = 1;
  const int u = iocom.itoer;
  if (igrave != 0) {
    errorhead("crevin");
  } else {
    warninghead("crevin");
  }
  const std::string label(textlen_trim(vnam));
  put_line(u, "Problem in subroutine: " + std::string(textlen_trim(rnam)));
  put_line(u, label + " = " + fmt_fixed(v, 15, 6) + " outside [ " + fmt_fixed(vmin, 15, 6) + " , " +
                  fmt_fixed(vmax, 15, 6) + " ]");
  if (igrave != 4) {
    // A value that is not a number compares false with both bounds and is
    // set to the upper bound.
    v = (v < vmin) ? vmin : vmax;
    put_line(u, "==> RESET " + label + " = " + fmt_fixed(v, 15, 6));
  }
  switch (igrave) {
    case 0:
      warningtail00();
      break;
    case 1:
      errortail00();
      break;
    case 2:
      errorstop(0);
      errortail00();
      break;
    case 3:
      errorstop(1);
      errortail00();
      break;
    case 4:
      errorstop(2);
      break;
    default:
      put_line(u, "unknown  gravity = " + fmt_int(igrave, 12));
      put_line(u, "==> RESET gravity = " + fmt_int(3, 12));
      errorstop(1);
      errortail00();
      break;
  }
}

const report::Message* open_frame() { return capture ? &*capture : nullptr; }

void discard_open_frame() {
  if (!capture) return;
  observe_lines(nullptr);
  capture.reset();
}

void sorryface() {
  static constexpr std::array<std::string_view, 18> kArt{
      "            &&&&&&&&&&&&            ", "        &&                &&        ",
      "     &&                      &&     ", "   &&                          &&   ",
      "  &&                            &&  ", " &&                              && ",
      " &        &&&          &&&        & ", "&&        &&&          &&&        &&",
      "&&                                &&", "&&                                &&",
      "&&                                &&", " &          &&&&&&&&&&&&          & ",
      " &&      &&&            &&&      && ", "  &&   &&                  &&   &&  ",
      "   &&                          &&   ", "     &&                      &&     ",
      "        &&                &&        ", "            &&&&&&&&&&&&            ",
  };
  // The face's lines carry their own leading blanks: six blanks above and
  // below, four before each 40-character art line.
  const int u = iocom.ito;
  put_raw_line(u, std::string(6, ' '));
  for (std::string_view art : kArt) put_raw_line(u, "    " + fit_text(art, 40));
  put_raw_line(u, std::string(6, ' '));
}

}  // namespace polarsketch::console
