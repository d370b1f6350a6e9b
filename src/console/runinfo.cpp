// Run information, the start and end banners and the closing pictures.
#include "console/runinfo.hpp"

#include <array>
#include <string>

#include "console/files.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"

namespace polarsketch::console {

namespace {

constexpr std::string_view kRuleAtHyphen = "@------------------------------------------";

// Prints a picture: a line of the indent and two blanks, every picture line
// after the indent at its full fixed width, then the indent and two blanks
// again. The indent includes the blank that starts every console line.
void print_picture(std::size_t indent, std::size_t width, const std::string_view* lines,
                   std::size_t n) {
  const int u = iocom.ito;
  put_raw_line(u, std::string(indent + 2, ' '));
  for (std::size_t i = 0; i < n; ++i) {
    put_raw_line(u, std::string(indent, ' ') + fit_text(lines[i], width));
  }
  put_raw_line(u, std::string(indent + 2, ' '));
}

template <std::size_t N>
void print_picture(std::size_t indent, std::size_t width,
                   const std::array<std::string_view, N>& lines) {
  print_picture(indent, width, lines.data(), N);
}

// Picture lines with '%' standing for the shading character.
template <std::size_t N>
void print_shaded_picture(std::size_t width, const std::array<std::string_view, N>& lines) {
  std::array<std::string, N> shaded;
  std::array<std::string_view, N> views;
  for (std::size_t i = 0; i < N; ++i) {
    shaded[i] = std::string(lines[i]);
    for (char& c : shaded[i]) {
      if (c == '%') c = kShadeChar;
    }
    views[i] = shaded[i];
  }
  print_picture(1, width, views);
}

}  // namespace

void reset_runinfocom() { runinfocom = Runinfocom{}; }

void progheadbc(std::string_view progname, std::string_view version, std::string_view date) {
  const int u = iocom.ito;
  FixedText<25> host;
  hostname(host);
  FixedText<8> time;
  c8time(time);
  FixedText<10> today;
  c10date(today);
  const std::string ver(version);
  const std::string dat(date);

  put_line(u, kRuleAt);
  put_line(u, "@");
  put_line(u, "@       MAIN PROGRAM: " + std::string(trim_blanks(progname)));
  put_line(u, "@            Version: " + ver);
  put_line(u, "@               Date: " + dat);
  put_line(u, "@");
  put_line(u, kRuleAtHyphen);
  put_line(u, "@ Running on: " + today.str() + " at: " + time.str());
  put_line(u, "@ On system: " + std::string(host.trimmed()));
  put_line(u, kRuleAtHyphen);
  // What the program is and which release this is.
  put_line(u, "@ polarsketch: stereonet plotter");
  put_line(u, "@ Equal-angle and equal-area nets,");
  put_line(u, "@ with direct or retrograde X,Y axes");
  put_line(u, "@ Draws axes, planes, slips, small circles");
  put_line(u, "@ and standard, polar and limited nets");
  put_line(u, "@ Output: PostScript plot files");
  put_line(u, "@ Release " + ver + " of " + dat);
  put_line(u, "@ Menus: type a command number + RETURN");
  put_line(u, "@ Prompts: RETURN keeps the value shown");
  put_line(u, kRuleAtHyphen);
  put_line(u, "@         HIT RETURN TO CONTINUE");
  put_line(u, kRuleAt);
  // The answer is discarded; a failed read (end of input) is ignored here and
  // met again by the next read.
  std::string answer;
  read_line(iocom.iti, answer, OnEnd::report);
}

void smaininfo(std::string_view progname, std::string_view version, std::string_view date,
               std::int32_t /*intera*/) {
  runinfocom.pname(1) = progname;
  runinfocom.pversion(1) = version;
  runinfocom.pdate(1) = date;
  c10date(runinfocom.date10);
  c8time(runinfocom.time8);
  username(runinfocom.usnam);
  hostname(runinfocom.hnam);
}

void maintail(std::string_view progname, std::string_view version, std::string_view date) {
  (void)date;
  const int u = iocom.ito;
  FixedText<8> time;
  c8time(time);
  put_line(u, kRuleAt);
  put_line(u, "@ PROGRAM " + std::string(trim_blanks(progname)));
  put_line(u, "@ Version: " + std::string(version));
  put_line(u, "@ EXECUTION TERMINATED AT: " + time.str());
  put_line(u, kRuleAtHyphen);
  switch (time.at(8)) {
    case '0':
      happyface();
      break;
    case '1':
      sator();
      break;
    case '2':
      carmag33();
      break;
    case '3':
      endfun1();
      break;
    case '4':
      tetrakis();
      break;
    case '5':
      tetratemple1();
      break;
    case '6':
      tetratemple2();
      break;
    case '7':
      offsetnf();
      break;
    case '8':
      offsetrf();
      break;
    case '9':
      tetrakis();
      break;
    default:
      endfun1();
      break;
  }
  put_line(u, kRuleAt);
}

void happyface() {
  static constexpr std::array<std::string_view, 18> kArt{
      "            &&&&&&&&&&&&            ", "        &&                &&        ",
      "     &&                      &&     ", "   &&                          &&   ",
      "  &&                            &&  ", " &&                              && ",
      " &        &&&          &&&        & ", "&&        &&&          &&&        &&",
      "&&                                &&", "&&                                &&",
      "&&                                &&", " &     &&                  &&     & ",
      " &&      &&&            &&&      && ", "  &&        &&&&&&&&&&&&        &&  ",
      "   &&                          &&   ", "     &&                      &&     ",
      "        &&                &&        ", "            &&&&&&&&&&&&            ",
  };
  print_picture(4, 40, kArt);
}

void sator() {
  static constexpr std::array<std::string_view, 5> kArt{
      "                 S A T O R", "                 A R E P O", "                 T E N E T",
      "                 O P E R A", "                 R O T A S",
  };
  print_picture(1, 30, kArt);
}

void carmag33() {
  static constexpr std::array<std::string_view, 7> kArt{
      "              -------------", "              | 8 | 1 | 6 |", "              |---|---|---|",
      "              | 3 | 5 | 7 |", "              |---|---|---|", "              | 4 | 9 | 2 |",
      "              -------------",
  };
  print_picture(1, 30, kArt);
}

void endfun1() {
  // Three faces peeking over the top edge of the box, hands and chins on it.
  static constexpr std::array<std::string_view, 8> kArt{
      "       ___          ____          ___",
      "      /   \\        /    \\        /   \\",
      "      |o o|        |o  o|        |o o|",
      "|-oo0--(_)--0oo----\\--U-/----oo0--(_)--0oo-|",
      "|                                          |",
      "|            THAT'S ALL FOLKS !            |",
      "|                                          |",
      "|------------------------------------------|",
  };
  print_picture(1, 44, kArt);
}

void tetrakis() {
  static constexpr std::array<std::string_view, 6> kArt{
      "",
      "                     O",
      "                   O   O",
      "                 O   O   O",
      "               O   O   O   O",
      "",
  };
  print_picture(1, 30, kArt);
}

void tetratemple1() {
  static constexpr std::array<std::string_view, 13> kArt{
      "",
      "                     O",
      "                  O     O",
      "               O     O     O",
      "            O     O     O     O",
      "            ===================",
      "              | |   | |   | |",
      "              | |   | |   | |",
      "              | |   | |   | |",
      "              | |   | |   | |",
      "              | |   | |   | |",
      "           =====================",
      "",
  };
  print_picture(1, 35, kArt);
}

void tetratemple2() {
  // The same temple seen obliquely: roof and base slabs drawn with "=" and
  // their receding edges and the columns with "/".
  static constexpr std::array<std::string_view, 18> kArt{
      "",
      "                        O",
      "                     O     O",
      "                  O     O     O",
      "               O     O     O     O",
      "             ====================",
      "            /                  /",
      "           ====================",
      "            / /   / /   / /",
      "           / /   / /   / /",
      "          / /   / /   / /",
      "         / /   / /   / /",
      "        / /   / /   / /",
      "       / /   / /   / /",
      "      ====================",
      "     /                  /",
      "    ====================",
      "",
  };
  print_picture(1, 35, kArt);
}

// Bands of "-", "&", "0", "=", "#" and the shading character ('%' here),
// separated by "\", stepping to the right: five rows, then an offset of five.
void offsetnf() {
  static constexpr std::array<std::string_view, 10> kArt{
      "----\\&&&&\\0000\\====\\####\\%%%%\\----\\&&&&\\00+",
      " ----\\&&&&\\0000\\====\\####\\%%%%\\----\\&&&&\\0+",
      "  ----\\&&&&\\0000\\====\\####\\%%%%\\----\\&&&&\\+",
      "   ----\\&&&&\\0000\\====\\####\\%%%%\\----\\&&&&+",
      "    ----\\&&&&\\0000\\====\\####\\%%%%\\----\\&&&+",
      "         %%%%\\----\\&&&&\\0000\\====\\####\\%%%",
      "          %%%%\\----\\&&&&\\0000\\====\\####\\%%",
      "           %%%%\\----\\&&&&\\0000\\====\\####\\%",
      "            %%%%\\----\\&&&&\\0000\\====\\####\\",
      "             %%%%\\----\\&&&&\\0000\\====\\####",
  };
  print_shaded_picture(43, kArt);
}

// The mirror image of offsetnf: bands separated by "/", stepping to the left.
void offsetrf() {
  static constexpr std::array<std::string_view, 10> kArt{
      "00/&&&&/----/%%%%/####/====/0000/&&&&/----+",
      "0/&&&&/----/%%%%/####/====/0000/&&&&/---- +",
      "/&&&&/----/%%%%/####/====/0000/&&&&/----  +",
      "&&&&/----/%%%%/####/====/0000/&&&&/----   +",
      "&&&/----/%%%%/####/====/0000/&&&&/----    +",
      "%%%/####/====/0000/&&&&/----/%%%%",
      "%%/####/====/0000/&&&&/----/%%%%",
      "%/####/====/0000/&&&&/----/%%%%",
      "/####/====/0000/&&&&/----/%%%%",
      "####/====/0000/&&&&/----/%%%%",
  };
  print_shaded_picture(43, kArt);
}

}  // namespace polarsketch::console
