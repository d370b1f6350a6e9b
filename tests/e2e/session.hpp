// End-to-end sessions (header-only, shared by the e2e test files): runs the built program on a
// script in a fresh directory and builds the console text a session is expected to print.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::e2e {

struct SessionResult {
  int status = -1;                  // exit status; 124 when the time limit was hit
  std::string output;               // everything printed on standard output
  std::filesystem::path directory;  // where the program ran, with the files it wrote

  SessionResult() = default;
  SessionResult(const SessionResult&) = delete;
  SessionResult& operator=(const SessionResult&) = delete;
  SessionResult(SessionResult&& o) noexcept
      : status(o.status), output(std::move(o.output)), directory(std::move(o.directory)) {
    o.directory.clear();
  }
  // The directory is removed unless the test has failed, so that a failure
  // can be looked at.
  ~SessionResult() {
    if (!directory.empty() && !::testing::Test::HasFailure()) {
      std::error_code ec;
      std::filesystem::remove_all(directory, ec);
    }
  }
};

// Runs the program with `script` as standard input, in a new empty directory,
// under a time limit so that a program waiting for more input cannot hang the test.
// `arguments` are added to the command line as they are (shell words).
SessionResult run_session(const std::string& script, int timeout_seconds = 30,
                          const std::string& arguments = "");

// Replaces every date (yyyy-mm-dd) by "yyyy-mm-dd" and every time of day
// (hh:mm:ss) by "hh:mm:ss".
std::string mask_clock(const std::string& text);

// Masks what a session cannot fix in advance: dates and times (as
// mask_clock), the nine lines of the start banner that identify the maker
// (each becomes " @ maker"), and the closing picture, which the clock's
// seconds choose: it is checked against the picture for those seconds and
// then replaced by the line " <closing picture>". Adds a failure when the
// picture is wrong.
std::string mask_session(const std::string& text);

// The closing picture for the units digit of the seconds, one console line
// per entry; an entry "\x01" stands for a line of the program's own art.
std::vector<std::string> closing_picture(char digit);

// Right-aligns a text in w columns.
std::string rjust(std::string_view s, std::size_t w);
std::string rjust(long long v, std::size_t w);
// Cuts or pads a text with blanks to exactly w columns.
std::string pad(std::string_view s, std::size_t w);

// Values shown in the main menu, as they are printed in their fields.
struct MenuValues {
  std::string size = "Adjustable scale";
  std::string fname = "polar_sketch.ps";
  std::string frame = "T";
  std::string az = "   90.00", dip = "   45.00", rake = "  -90.00";
  std::string scang = "   30.00", ang01 = "   90.00", ang02 = "  270.00";
  std::string idg = "    5", d1 = "   10.00", d2 = "   80.00";
  std::string ids = "    5", ang1 = "   10.00", ang2 = "   80.00";
  std::string isp = "    2";
  bool size_type_1 = true;  // the "Adjust scaling" line is shown
};

// The console text a session is expected to print, built line by line.
class Expected {
 public:
  // One console line: a blank, then the text.
  Expected& line(std::string_view text);
  const std::string& text() const { return text_; }

  // Frames.
  Expected& menu_head(std::string_view routine);
  Expected& menu_tail();
  Expected& error_head(std::string_view routine);
  Expected& warning_head(std::string_view routine);
  Expected& pause();  // the pause line of a warning or error tail
  Expected& error_tail();
  Expected& warning_tail();

  // Prompts, as printed with the "more output" level on. Numbers are given
  // as their printed fields where the field is not a plain integer.
  Expected& ask_int(std::string_view label, long long answer);  // no default
  Expected& ask_int_default(std::string_view label, long long def, long long answer);
  Expected& ask_int_range(std::string_view label, long long def, long long lo, long long hi,
                          long long answer);
  Expected& ask_int_range_prompt(std::string_view label, long long def, long long lo,
                                 long long hi);  // the question without its echo
  Expected& int_out_of_range(std::string_view routine, std::string_view label, long long v,
                             long long lo, long long hi);
  Expected& could_not_read(std::string_view routine, std::string_view label);
  Expected& ask_real(std::string_view label, std::string_view def12, std::string_view answer12);
  Expected& ask_yes_no(std::string_view question, bool def, bool answer);
  Expected& ask_yes_no_prompt(std::string_view question, bool def);

  // The program's own texts.
  Expected& startup();
  Expected& banner();
  Expected& main_menu(const MenuValues& v = MenuValues{});
  Expected& your_choice(long long command);
  Expected& end_of_input();
  Expected& goodbye();

 private:
  std::string text_;
};

// ---- Definitions ----

namespace detail {

inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline const std::string kDots(42, '.');
inline const std::string kAts(43, '@');
inline const std::string kStars(43, '*');
inline const std::string kSlashes(43, '/');

}  // namespace detail
using namespace detail;

// The host name the banner shows: this machine's name in a 25-column field
// without its trailing blanks (the program runs on the machine of the test).
inline std::string shown_host_name() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0 || buf[0] == '\0') return "WindowsOS-ix86";
  std::string h = std::string(buf).substr(0, 25);
  while (!h.empty() && h.back() == ' ') h.pop_back();
  return h;
}

inline SessionResult run_session(const std::string& script, int timeout_seconds,
                                 const std::string& arguments) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "polarsketch_e2e_XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("cannot create a temp directory");
  SessionResult r;
  r.directory = tmpl;
  {
    std::ofstream in(r.directory / "input.txt", std::ios::binary);
    in << script;
  }
  const std::string cmd = "cd '" + r.directory.string() + "' && timeout " +
                          std::to_string(timeout_seconds) +
                          " '" POLARSKETCH_BINARY "' " + arguments + " < input.txt > output.txt 2> errors.txt";
  const int rc = std::system(cmd.c_str());
  r.status = (rc != -1 && WIFEXITED(rc)) ? WEXITSTATUS(rc) : -1;
  r.output = read_file(r.directory / "output.txt");
  return r;
}

inline std::string mask_clock(const std::string& text) {
  static const std::regex date(R"(\d{4}-\d{2}-\d{2})");
  static const std::regex time(R"(\d{2}:\d{2}:\d{2})");
  return std::regex_replace(std::regex_replace(text, date, "yyyy-mm-dd"), time, "hh:mm:ss");
}

inline std::string rjust(std::string_view s, std::size_t w) {
  if (s.size() >= w) return std::string(s);
  return std::string(w - s.size(), ' ') + std::string(s);
}
inline std::string rjust(long long v, std::size_t w) { return rjust(std::to_string(v), w); }

inline std::string pad(std::string_view s, std::size_t w) {
  std::string r(s.substr(0, std::min(s.size(), w)));
  r.resize(w, ' ');
  return r;
}

inline Expected& Expected::line(std::string_view text) {
  text_ += ' ';
  text_ += text;
  text_ += '\n';
  return *this;
}

// ---- Frames ----

inline Expected& Expected::menu_head(std::string_view routine) {
  return line(kAts).line("@ subroutine " + pad(routine, 11)).line("@" + std::string(42, '='));
}

inline Expected& Expected::menu_tail() { return line(kAts); }

inline Expected& Expected::error_head(std::string_view routine) {
  const std::string empty = "*** " + std::string(35, ' ') + " ***";
  return line(kStars)
      .line(kStars)
      .line(empty)
      .line("*** " + pad("       subroutine " + std::string(routine), 35) + " ***")
      .line(empty)
      .line("***                ERROR                ***")
      .line(empty)
      .line(kStars)
      .line(kStars);
}

inline Expected& Expected::warning_head(std::string_view routine) {
  return line(kSlashes)
      .line("/// " + pad("       subroutine " + std::string(routine), 35) + " ///")
      .line("///               WARNING               ///")
      .line(kSlashes);
}

inline Expected& Expected::pause() { return line("===> HIT RETURN TO CONTINUE"); }
inline Expected& Expected::error_tail() { return pause().line(kStars); }
inline Expected& Expected::warning_tail() { return pause().line(kSlashes); }

// ---- Prompts ----

inline Expected& Expected::ask_int(std::string_view label, long long answer) {
  return line(kDots)
      .line("Enter " + std::string(label))
      .line("New value =  " + rjust(answer, 12))
      .line(kDots);
}

inline Expected& Expected::ask_int_default(std::string_view label, long long def,
                                           long long answer) {
  return line(kDots)
      .line("Enter " + std::string(label))
      .line("or return for default value")
      .line("Default = " + rjust(def, 12))
      .line("New value =  " + rjust(answer, 12))
      .line(kDots);
}

inline Expected& Expected::ask_int_range_prompt(std::string_view label, long long def, long long lo,
                                                long long hi) {
  return line(kDots)
      .line("Enter " + std::string(label))
      .line("inside  [" + std::to_string(lo) + "," + std::to_string(hi) + "]")
      .line("or return for default value")
      .line("Default = " + rjust(def, 12));
}

inline Expected& Expected::ask_int_range(std::string_view label, long long def, long long lo,
                                         long long hi, long long answer) {
  return ask_int_range_prompt(label, def, lo, hi)
      .line("New value =  " + rjust(answer, 12))
      .line(kDots);
}

inline Expected& Expected::int_out_of_range(std::string_view routine, std::string_view label,
                                            long long v, long long lo, long long hi) {
  return error_head(routine)
      .line(std::string(label) + " = " + rjust(v, 12))
      .line("outside [" + std::to_string(lo) + "," + std::to_string(hi) + "]")
      .error_tail();
}

inline Expected& Expected::could_not_read(std::string_view routine, std::string_view label) {
  return error_head(routine)
      .line("could not read " + std::string(label))
      .line("==> RETRYING")
      .error_tail();
}

inline Expected& Expected::ask_real(std::string_view label, std::string_view def12,
                                    std::string_view answer12) {
  return line(kDots)
      .line("Enter " + std::string(label))
      .line("or return for default value")
      .line("Default = " + std::string(def12))
      .line("New value =  " + std::string(answer12))
      .line(kDots);
}

inline Expected& Expected::ask_yes_no_prompt(std::string_view question, bool def) {
  return line(kDots)
      .line(std::string(question) + " ?")
      .line("Enter (0/1)(n/y)(N/Y)")
      .line("or return for default value or h for help")
      .line(std::string("Default = ") + (def ? "Yes" : "No "));
}

inline Expected& Expected::ask_yes_no(std::string_view question, bool def, bool answer) {
  return ask_yes_no_prompt(question, def)
      .line(std::string("New value =  ") + (answer ? "Yes" : "No"))
      .line(kDots);
}

// ---- The program's own texts ----

inline Expected& Expected::banner() {
  const std::string rule = "@" + std::string(42, '-');
  line(kAts)
      .line("@")
      .line("@       MAIN PROGRAM: polarsketch")
      .line("@            Version: 11.3")
      .line("@               Date: 10-10-2009")
      .line("@")
      .line(rule)
      .line("@ Running on: yyyy-mm-dd at: hh:mm:ss")
      .line("@ On system: " + shown_host_name())
      .line(rule);
  for (int i = 0; i < 9; ++i) line("@ maker");
  return line(rule).line("@         HIT RETURN TO CONTINUE").line(kAts);
}

inline Expected& Expected::startup() {
  menu_head("initsio")
      .line("INITIALIZING INPUT/OUTPUT")
      .line("standard  input unit        =  5")
      .line("standard output unit        =  6")
      .line("error     input unit        =  5")
      .line("error    output unit        =  6")
      .line("minimum output enabled      :  T")
      .line("more    output enabled      :  T")
      .line("maximum output enabled      :  F")
      .line("command file open status    :  F")
      .line("plot    file open status    :  F")
      .line("pause after warning or error:  T")
      .menu_tail();
  banner();
  menu_head("trigoset").line("Initializing /trig/ block").line("Initializing /anglerad/ block");
  menu_head("sspro")
      .line("INITIALIZING STEREOGRAPHIC PROJECTION")
      .line("projection number =    4")
      .line("projection = Schmidt, retrograde X,Y axis");
  menu_head("sschmidt")
      .line("INITIALIZING SCHMIDT PROJECTION")
      .line("Azimuthal Equal Area (Lambert,1772)");
  menu_head("srepstereo0").line("INITIALIZING STEREO FRAME");
  menu_head("scolortable")
      .line("INITIALIZING COLOR TABLE:")
      .line("0   -> BKG = WHITE")
      .line("1   -> FRG = BLACK")
      .line("2-4 -> RGB COLORS")
      .line("5-7 -> CMY COLORS")
      .line("8   -> GREY 50%");
  menu_head("sdspaxsymb").line("INITIALIZING STEREOPLOT AXIS SYMBOLS");
  menu_head("sdspgc").line("INITIALIZING GREAT CIRCLE PARAMETERS");
  return *this;
}

inline Expected& Expected::main_menu(const MenuValues& v) {
  const std::string rule(43, '-');
  menu_head("polarsketch")
      .line(rule)
      .line("PLOT PARAMS")
      .line(rule)
      .line("plot size = " + pad(v.size, 16))
      .line("open plot file ............10")
      .line("Modify scale and layout ...11");
  if (v.size_type_1) line("Adjust scaling ............13");
  line("plot file name ............18 " + pad(v.fname, 50))
      .line("new page ..................19")
      .line("close file = end plot .....20")
      .line("set projection ............30")
      .line("set axis symbol ...........40")
      .line("draw frame ................41 " + v.frame)
      .line("set great circle nb pts....42")
      .line(rule)
      .line("PARAMETERS")
      .line(rule)
      .line("SINGLE ORIENTATION:")
      .line(" azimuth ..................60 " + v.az)
      .line(" dip or plunge ............61 " + v.dip)
      .line(" rake .....................62 " + v.rake)
      .line("SMALL CIRCLE:")
      .line(" 1/2 angle ................63 " + v.scang)
      .line(" arc angle 1 ..............64 " + v.ang01)
      .line(" arc angle 2 ..............64 " + v.ang02)
      .line("STEREONET:")
      .line(" great circle increment ...70 " + v.idg)
      .line(" great circle dip 1 .......71 " + v.d1)
      .line(" great circle dip 2 .......71 " + v.d2)
      .line(" small circle increment ...80 " + v.ids)
      .line(" small circle 1/2 angle 1 .81 " + v.ang1)
      .line(" small circle 1/2 angle 2 .81 " + v.ang2)
      .line(" full/half sphere (1/2) ...90 " + v.isp)
      .line(rule)
      .line("DRAW")
      .line(rule)
      .line("SINGLE ORIENTATION:")
      .line(" axis  (az,dip) ..........100")
      .line(" plane (az,dip) ..........200")
      .line(" slip  (az,dip,rake) .....300")
      .line("SMALL CIRCLE:")
      .line(" Full ....................400")
      .line(" Arc .....................500")
      .line("STEREONET:")
      .line(" Full standard ...........600")
      .line(" Full polar ..............601")
      .line(" quadrangle ..............602")
      .line(" great circle limited ....603")
      .line(rule)
      .line("QUIT .....................999")
      .line("FAST QUIT ...............9999")
      .menu_tail();
  return *this;
}

inline Expected& Expected::your_choice(long long command) {
  return ask_int("your choice", command);
}

inline Expected& Expected::end_of_input() { return line("===> END OF INPUT: STOPPING EXECUTION"); }

inline Expected& Expected::goodbye() {
  return line(kAts)
      .line("@ PROGRAM polarsketch")
      .line("@ Version: 11.3")
      .line("@ EXECUTION TERMINATED AT: hh:mm:ss")
      .line("@" + std::string(42, '-'))
      .line("<closing picture>")
      .line(kAts)
      .line("SEE YOU LATER ...")
      .line("              ... NETWRANGLER !");
}

// ---- Masking ----

namespace detail {

// Lines of a picture: a line of the indent and two blanks, the picture lines
// at their full width after the indent, then the indent and two blanks again.
// The indent includes the blank that starts every console line.
inline std::vector<std::string> framed_picture(std::size_t indent, std::size_t width,
                                               const std::vector<std::string>& art) {
  std::vector<std::string> out{std::string(indent + 2, ' ')};
  for (const auto& a : art)
    out.push_back(a == "\x01" ? a : std::string(indent, ' ') + pad(a, width));
  out.push_back(std::string(indent + 2, ' '));
  return out;
}

// Rows of letters O: row k holds k letters `gap` blanks apart, its first in
// column first + (k - 1) * step (columns counted from 1).
inline std::vector<std::string> rows_of_o(int first, int step, int gap) {
  std::vector<std::string> rows;
  for (int k = 1; k <= 4; ++k) {
    std::string r(static_cast<std::size_t>(first + (k - 1) * step - 1), ' ');
    for (int j = 0; j < k; ++j)
      r += (j ? std::string(static_cast<std::size_t>(gap), ' ') : "") + "O";
    rows.push_back(r);
  }
  return rows;
}

}  // namespace detail

inline std::vector<std::string> closing_picture(char digit) {
  const std::string any = "\x01";
  std::vector<std::string> art;
  switch (digit) {
    case '0':
      art = {"            &&&&&&&&&&&&            ", "        &&                &&        ",
             "     &&                      &&     ", "   &&                          &&   ",
             "  &&                            &&  ", " &&                              && ",
             " &        &&&          &&&        & ", "&&        &&&          &&&        &&",
             "&&                                &&", "&&                                &&",
             "&&                                &&", " &     &&                  &&     & ",
             " &&      &&&            &&&      && ", "  &&        &&&&&&&&&&&&        &&  ",
             "   &&                          &&   ", "     &&                      &&     ",
             "        &&                &&        ", "            &&&&&&&&&&&&            "};
      return framed_picture(4, 40, art);
    case '1':
      for (const char* w : {"S A T O R", "A R E P O", "T E N E T", "O P E R A", "R O T A S"})
        art.push_back(std::string(17, ' ') + w);
      return framed_picture(1, 30, art);
    case '2':
      for (const char* w : {"-------------", "| 8 | 1 | 6 |", "|---|---|---|", "| 3 | 5 | 7 |",
                            "|---|---|---|", "| 4 | 9 | 2 |", "-------------"})
        art.push_back(std::string(14, ' ') + w);
      return framed_picture(1, 30, art);
    case '4':
    case '9':
      art.push_back("");
      for (const auto& r : rows_of_o(22, -2, 3)) art.push_back(r);
      art.push_back("");
      return framed_picture(1, 30, art);
    case '5':
      art.push_back("");
      for (const auto& r : rows_of_o(22, -3, 5)) art.push_back(r);
      art.push_back(std::string(12, ' ') + std::string(19, '='));
      for (int i = 0; i < 5; ++i) art.push_back(std::string(14, ' ') + "| |   | |   | |");
      art.push_back(std::string(11, ' ') + std::string(21, '='));
      art.push_back("");
      return framed_picture(1, 35, art);
    case '6':
      return framed_picture(1, 35, std::vector<std::string>(18, any));
    case '7':
    case '8':
      return framed_picture(1, 43, std::vector<std::string>(10, any));
    default:
      art = {any,
             any,
             any,
             "|-oo0--(_)--0oo----\\--U-/----oo0--(_)--0oo-|",
             "|                                          |",
             "|            THAT'S ALL FOLKS !            |",
             "|                                          |",
             "|------------------------------------------|"};
      return framed_picture(1, 44, art);
  }
}

inline std::string mask_session(const std::string& text) {
  std::vector<std::string> lines;
  {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
  }
  const std::string rule = " @" + std::string(42, '-');
  std::vector<std::string> out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.push_back(lines[i]);
    // The maker's block: after the rule that follows the system line.
    if (lines[i].rfind(" @ On system:", 0) == 0 && i + 1 < lines.size() && lines[i + 1] == rule) {
      out.push_back(lines[++i]);
      for (int k = 0; k < 9 && i + 1 < lines.size() && lines[i + 1] != rule; ++k) {
        ++i;
        out.push_back(lines[i].rfind(" @", 0) == 0 ? " @ maker" : lines[i]);
      }
    }
    // The closing picture: between the rule after the end time and the next
    // line of at-signs.
    static const std::string kEnd = " @ EXECUTION TERMINATED AT: ";
    if (lines[i].rfind(kEnd, 0) == 0 && i + 1 < lines.size() && lines[i + 1] == rule) {
      const char digit = lines[i].empty() ? '?' : lines[i].back();
      out.push_back(lines[++i]);
      std::vector<std::string> picture;
      while (i + 1 < lines.size() && lines[i + 1] != " " + kAts) picture.push_back(lines[++i]);
      const std::vector<std::string> want = closing_picture(digit);
      bool same = picture.size() == want.size();
      for (std::size_t k = 0; same && k < want.size(); ++k)
        same = want[k] == "\x01" || picture[k] == want[k];
      if (!same) {
        std::string got;
        for (const auto& p : picture) got += p + "\n";
        ADD_FAILURE() << "closing picture for seconds ending in " << digit << " is wrong:\n" << got;
      }
      out.push_back(" <closing picture>");
    }
  }
  std::string r;
  for (const auto& l : out) r += l + "\n";
  return mask_clock(r);
}

}  // namespace polarsketch::e2e
