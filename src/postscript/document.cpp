// The document level of the PostScript driver: the settings file and its
// dialog, the prolog of each dialect, page breaks, the trailer, and the
// stroke and colour operations shared by every writer.
#include "postscript/document.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "console/fields.hpp"
#include "console/files.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"
#include "files/atomic_file.hpp"
#include "plot/records.hpp"
#include "postscript/writer.hpp"
#include "report/report.hpp"

namespace polarsketch::postscript {
namespace {

using console::iocom;
using console::put_line;
using plot::plt2blk;

std::string name11(std::string_view routine) { return fit_text(routine, 11); }

// Font names by dialect (font 1..16).
constexpr std::array<std::array<std::string_view, 16>, 3> kFontNames{{
    {"HPP", "HBP", "HPI", "HBI", "TPP", "TBP", "TPI", "TBI", "CPP", "CBP", "CPI", "CBI", "SPP",
     "SBP", "SPI", "SBI"},
    {"/Helvetica", "/Helvetica-Bold", "/Helvetica-Oblique", "/Helvetica-BoldOblique",
     "/Times-Roman", "/Times-Bold", "/Times-Italic", "/Times-BoldItalic", "/Courier",
     "/Courier-Bold", "/Courier-Oblique", "/Courier-BoldOblique", "/Symbol", "/Symbol-Bold",
     "/Symbol-Oblique", "/Symbol-BoldOblique"},
    {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique", "Times-Roman",
     "Times-Bold", "Times-Italic", "Times-BoldItalic", "Courier", "Courier-Bold", "Courier-Oblique",
     "Courier-BoldOblique", "Symbol", "Symbol-Bold", "Symbol-Oblique", "Symbol-BoldOblique"},
}};

// The macros of the compressed dialect.
constexpr std::array<std::string_view, 42> kMacros{
    "/L {lineto} def",
    "/D {rlineto} def",
    "/M {moveto} def",
    "/G {rmoveto} def",
    "/slw {setlinewidth} def",
    "/stg {setgray} def",
    "/sym {findfont exch scalefont setfont} def",
    "/HPP {/Helvetica} def",
    "/HBP {/Helvetica-Bold} def",
    "/HPI {/Helvetica-Oblique} def",
    "/HBI {/Helvetica-BoldOblique} def",
    "/TPP {/Times-Roman}def",
    "/TBP {/Times-Bold} def",
    "/TPI {/Times-Italic} def",
    "/TBI {/Times-BoldItalic} def",
    "/CPP {/Courier} def",
    "/CBP {/Courier-Bold} def",
    "/CPI {/Courier-Oblique} def",
    "/CBI {/Courier-BoldOblique} def",
    "/SPP {/Symbol} def",
    "/SBP {/Symbol-Bold} def",
    "/SPI {/Symbol-Oblique} def",
    "/SBI {/Symbol-BoldOblique} def",
    "/np {newpath} def",
    "/sk {stroke} def",
    "/cp {closepath} def",
    "/gs {gsave} def",
    "/gr {grestore} def",
    "/dot {sk arc gs stg fill gr sk} def",
    "/dotf {sk arc gs stg fill gr np} def",
    "/bx {3 {D} repeat cp gs stg fill gr sk} def",
    "/bxf {3 {D} repeat cp gs stg fill gr np} def",
    "/rect {3 {L} repeat cp gs stg fill gr sk} def",
    "/rectf {3 {L} repeat cp gs stg fill gr np} def",
    "/tri {D D cp gs stg fill gr sk} def",
    "/trif {D D cp gs stg fill gr np} def",
    "/pie {sk M arc cp gs stg fill gr sk} def",
    "/x {D G D sk} def",
    "/R {rotate} def",
    "/sl {dup stringwidth pop} def",
    "/sh {show} def",
    "/sd {setdash} def",
};

// The head of the Illustrator document, up to the end of its setup.
constexpr std::array<std::string_view, 7> kIllustratorHead{
    "%%DocumentProcessColors: Black",
    "%%DocumentFonts: Helvetica",
    "%%DocumentProcSets: Adobe_packedarray 1.0 0",
    "%%DocumentProcSets: Adobe_cmykcolor 1.1 0",
    "%%DocumentProcSets: Adobe_cshow 1.1 0",
    "%%DocumentProcSets: Adobe_customcolor 1.0 0",
    "%%DocumentProcSets: Adobe_Illustrator881 1.19 0",
};

constexpr std::array<std::string_view, 11> kIllustratorSetup{
    "%AI3_IncludePlacedImages",
    "%%TemplateBox:297.5 421 297.5 421",
    "%%TileBox: 10 10 585 832",
    "%%DocumentPreview: None",
    "%%EndComments",
    "%%EndProlog",
    "%%BeginSetup",
    "Adobe_cshow /initialize get exec",
    "Adobe_customcolor /initialize get exec",
    "Adobe_Illustrator881 /initialize get exec",
    "%%EndSetup",
};

constexpr std::string_view kBoundingBox = "%%BoundingBox: 0 0 595 842";

bool known_orientation(const FixedText<3>& sys) {
  return sys.view() == "P  " || sys.view() == "LUS" || sys.view() == "LA4";
}

void bounding_box_line() {
  if (known_orientation(psparams.sys)) writer().line(kBoundingBox);
}

void orientation_line() {
  if (psparams.sys.view() == "LUS") writer().line(" 612 0 translate 90 rotate");
  if (psparams.sys.view() == "LA4") writer().line(" 595 0 translate 90 rotate");
}

void page_line() {
  writer().line("%%Page: " + plot_int(psparams.npage, 3) + " " + plot_int(psparams.npage, 3));
}

std::string_view system_name(const FixedText<3>& sys) {
  if (sys.view() == "P  ") return "Portrait";
  if (sys.view() == "LUS") return "Landscape US Letter";
  if (sys.view() == "LA4") return "Landscape A4";
  return "";
}

std::string dialect_name20(std::int32_t ips) { return fit_text(dialect_ops(ips).name, 20); }

void fill_font_table() {
  const auto& names = kFontNames[static_cast<std::size_t>(psparams.ips - 1)];
  for (int i = 1; i <= 16; ++i) psparams.fonts(i) = names[static_cast<std::size_t>(i - 1)];
}

// The colour line of slot `slot` (intensities in percent).
void colour_line(std::int32_t slot) {
  if (slot < 0 || slot > plot::kMaxColorSlot) return;
  writer().line(
      colour_text(plt2blk.red(slot), plt2blk.green(slot), plt2blk.blue(slot), "setrgbcolor"));
}

// --- The settings file ---

// A logical field: optional blanks, an optional ".", then T or F.
bool read_logical_field(std::string_view f, bool& v) {
  std::size_t i = 0;
  while (i < f.size() && f[i] == ' ') ++i;
  if (i < f.size() && f[i] == '.') ++i;
  if (i >= f.size()) return false;
  if (f[i] == 'T' || f[i] == 't') {
    v = true;
    return true;
  }
  if (f[i] == 'F' || f[i] == 'f') {
    v = false;
    return true;
  }
  return false;
}

// An integer field: blanks are ignored, an all-blank field is 0.
bool read_integer_field(std::string_view f, std::int32_t& v) {
  std::string t;
  for (char c : f)
    if (c != ' ') t += c;
  if (t.empty()) {
    v = 0;
    return true;
  }
  std::size_t i = 0;
  bool neg = false;
  if (t[0] == '+' || t[0] == '-') {
    neg = t[0] == '-';
    i = 1;
  }
  if (i >= t.size()) return false;
  std::int32_t r = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    r = r * 10 + (t[i] - '0');  // at most 3 digits: no overflow
  }
  v = neg ? -r : r;
  return true;
}

void settings_display(const DriverSettings& s) {
  const std::int32_t o = iocom.ito;
  put_line(o, "polarsketch PostScript driver: plot files in three dialects,");
  put_line(o, "portrait or landscape, single pages or overlays.");
  put_line(o, "--------------------------------------");
  put_line(o, "         Default Settings:            ");
  put_line(o, "--------------------------------------");
  put_line(o, std::string("Overlay ?  = ") + (s.ovly ? "Yes" : "No"));
  put_line(o, "# Copies   = " + console::fmt_int(s.ncopies, 3));
  put_line(o, "System     = " + std::string(system_name(s.sys)));
  put_line(o, "PostScript = " + dialect_name20(s.ips));
  console::menutail();
}

// Copies outside 1..999 could not be stored in the settings file's 3 columns.
void check_copies(std::int32_t& ncopies) {
  if (ncopies >= 1 && ncopies <= 999) return;
  const std::int32_t bound = ncopies < 1 ? 1 : 999;
  report::Message msg = report::warning("intplinit");
  msg.lines.emplace_back("number of copies = " + console::fmt_int(ncopies, 12));
  msg.lines.emplace_back("==> RESET number of copies = " + console::fmt_int(bound, 12));
  report::report(msg);
  ncopies = bound;
}

void update_settings(DriverSettings& s) {
  const std::int32_t o = iocom.ito;
  std::int32_t ierr = 0;
  console::submenuhead(name11("intplinit"));
  put_line(o, "       Updating Default Settings:      ");
  put_line(o, std::string(39, '-'));
  console::inlogicdef(s.ovly, "(penrun) Is this an overlay?", s.ovly, ierr);
  console::inintegdef(s.ncopies, "(penrun) number of copies:", s.ncopies, ierr);
  check_copies(s.ncopies);
  for (;;) {
    put_line(o, "Page orientation...Command");
    put_line(o, "Portrait.................P");
    put_line(o, "Landscape US Letter....LUS");
    put_line(o, "Landscape A4...........LA4");
    std::string answer = s.sys.str();
    console::inchardef(answer, "(penrun) command", s.sys.str(), ierr);
    answer = fit_text(answer, 3);
    if (answer == "LUS" || answer == "lus") {
      s.sys = "LUS";
      break;
    }
    if (answer == "LA4" || answer == "la4") {
      s.sys = "LA4";
      break;
    }
    if (answer[0] == 'P' || answer[0] == 'p') {
      s.sys = "P  ";
      break;
    }
    put_line(o, "Unknown command ==> Asking again");
  }
  put_line(o, "choose Postscript type");
  for (std::int32_t i = 1; i <= 3; ++i)
    put_line(o, dialect_name20(i) + " " + console::fmt_int(i, 3));
  console::inintegvindef(s.ips, "your choice", s.ips, 1, 3, ierr);
}

void save_settings(const DriverSettings& s) {
  if (write_settings_file(s)) {
    console::submenuhead(name11("intplinit"));
    put_line(iocom.ito, "quill7_ini.txt updated or created");
    console::menutail();
    return;
  }
  report::Message msg = report::warning("intplinit");
  msg.lines.emplace_back(std::string("COULD NOT WRITE FILE ") + kSettingsFile);
  msg.lines.emplace_back("==> settings not saved for the next run");
  report::report(msg);
}

// --- Prologs ---

void prolog_compressed() {
  PlotWriter& w = writer();
  w.line("%!");
  w.line("%%Pages: (atend)");
  bounding_box_line();
  w.line("%% Define macros etc");
  for (std::string_view m : kMacros) w.line(m);
  w.line("% Initialize coordinate system and scales");
}

void prolog_news() {
  PlotWriter& w = writer();
  w.line("%!");
  w.line("% Initialize coordinate system and scales");
  w.line("%%Pages: (atend)");
  bounding_box_line();
}

void prolog_illustrator(const std::string& pfile) {
  PlotWriter& w = writer();
  w.line("%!PS-Adobe-2.0 EPSF-1.2");
  // A comment ends at a carriage return or form feed: such bytes in the file
  // name would turn the rest of the name into code, so the title shows blanks.
  std::string title = pfile;
  for (char& c : title) {
    if (c == '\r' || c == '\n' || c == '\f') c = ' ';
  }
  w.line("%%Title: " + title);
  for (std::string_view l : kIllustratorHead) w.line(l);
  bounding_box_line();
  for (std::string_view l : kIllustratorSetup) w.line(l);
  orientation_line();
  w.line(console::fmt_fixed(0.0f, 5, 2) + " G");
  w.line(console::fmt_fixed(0.0f, 5, 2) + " g");
  psrgbcolor(-1);
}

void write_trailer() {
  PlotWriter& w = writer();
  psstrokepath();
  if (psparams.ips == 3) {
    w.line("%%PageTrailer");
    w.line("%%Trailer");
    w.line("Adobe_Illustrator881 /terminate get exec");
    w.line("Adobe_customcolor /terminate get exec");
    w.line("Adobe_cshow /terminate get exec");
    w.line("Adobe_packedarray /terminate get exec");
    w.line("%%EOF");
  } else {
    w.line("showpage");
    w.line("%%End Page");
    w.line("%%Trailer");
    w.line("%%Pages: " + plot_int(psparams.npage, 3));
    w.line("%%EOF");
  }
}

// With the file `path` open on the plot unit under psparams' dialect and
// orientation: starts the writer, the page count and the prolog (`title` is
// the name the document gives itself).
void start_document(const std::string& path, const std::string& title, const DriverSettings& s) {
  writer().start(psparams.lun, path);

  psparams.npage = 1;
  psparams.lopenpath = false;
  fill_font_table();

  PlotWriter& w = writer();
  if (psparams.ips != 3 && s.ovly) {
    w.line("% Ready to go");
    return;
  }
  if (psparams.ips == 3) {
    prolog_illustrator(title);
    return;
  }
  if (psparams.ips == 1) {
    prolog_compressed();
    if (s.ncopies > 1) w.line("/#copies " + plot_int(s.ncopies, 3) + " def");
  } else {
    prolog_news();
  }
  orientation_line();
  psrgbcolor(-1);
  w.line("% Ready to go");
  page_line();
}

}  // namespace

void reset_psparams() { psparams = Psparams{}; }

void reset_postscript() {
  reset_psparams();
  writer().reset();
}

bool read_settings_file(DriverSettings& s) {
  s = DriverSettings{};
  const std::int32_t lun = psparams.lun;
  console::OpenFailure failure;
  if (!console::open_file(lun, kSettingsFile, console::FileStatus::old_regular_file, &failure)) {
    // A missing file is the first run's normal case and a directory reads
    // as an unreadable file; anything else that is not a plain file (a FIFO,
    // a device) is named.
    if (!failure.reason.empty()) {
      report::Message msg = report::warning("intplinit");
      msg.lines.emplace_back(std::string(kSettingsFile) + " is " + failure.reason);
      msg.lines.emplace_back("==> using the default settings");
      report::report(msg);
    }
    return false;
  }
  std::string line;
  const bool got = console::read_line(lun, line, console::OnEnd::report);
  console::close_file(lun);
  if (!got) return false;
  return parse_settings_line(line, s);
}

bool parse_settings_line(std::string line, DriverSettings& s) {
  s = DriverSettings{};
  line = fit_text(line, std::max<std::size_t>(line.size(), 14));
  DriverSettings r;
  const std::string_view v(line);
  if (!read_logical_field(v.substr(1, 2), r.ovly)) return false;
  if (!read_integer_field(v.substr(4, 3), r.ncopies)) return false;
  r.sys = v.substr(8, 3);
  if (!read_integer_field(v.substr(12, 2), r.ips)) return false;
  s = r;
  return true;
}

std::string settings_line(const DriverSettings& s) {
  std::string line(1, ' ');
  line += console::fmt_logical(s.ovly, 2);
  line += ' ';
  line += console::fmt_int(s.ncopies, 3);
  line += ' ';
  line += s.sys.str();
  line += ' ';
  line += console::fmt_int(s.ips, 2);
  return line;
}

bool write_settings_file(const DriverSettings& s) {
  return files::replace_file(kSettingsFile, settings_line(s) + "\n \n");
}

void intplinit(std::string& pfile, std::int32_t intera) {
  psparams.lun = console::kUnitPlotFile;
  DriverSettings s;
  const bool iinit = read_settings_file(s);
  if (iinit && (s.ips < 1 || s.ips > 3)) s.ips = 2;

  console::submenuhead(name11("intplinit"));
  if (iocom.lwito(2)) settings_display(s);

  bool use_defaults = true;
  std::int32_t ierr = 0;
  console::inlogicdef(use_defaults, "(penrun) Use default settings ?", true, ierr);
  if (!use_defaults) update_settings(s);
  if (!use_defaults || !iinit) save_settings(s);

  psparams.ips = s.ips;
  psparams.sys = s.sys;
  console::opef2(pfile, "postcript plot", psparams.lun, "unknown", intera % 2);
  start_document(console::file_name_to_open(pfile), pfile, s);
}

bool open_document(const std::string& path, const std::string& title, const DriverSettings& s) {
  psparams.lun = console::kUnitPlotFile;
  if (s.ips < 1 || s.ips > 3) return false;
  if (!console::open_file(psparams.lun, path, console::FileStatus::unknown)) return false;
  psparams.ips = s.ips;
  psparams.sys = s.sys;
  start_document(path, title, s);
  return true;
}

bool close_document() {
  if (!writer().is_open()) return true;
  write_trailer();
  return writer().finish();
}

void intnewpage() {
  if (!writer().is_open()) return;
  psstrokepath();
  writer().line("gsave showpage");
  writer().line("%%End Page");
  writer().line("grestore");
  psparams.npage += 1;
  page_line();
}

void intplend() {
  console::submenuhead(name11("plend"));
  if (iocom.lwito(2)) put_line(iocom.ito, "Ready to close the PostScript plot file");
  std::string answer(1, ' ');
  std::int32_t ierr = 0;
  console::inchar1(answer, "CR = Return to close the PostScript file", ierr);
  psend();
  put_line(iocom.ito, "The PostScript plot file is closed");
  console::menutail();
}

void psend() {
  // A failed write has been reported by the writer; the session goes on.
  close_document();
}

bool finish_on_stop() {
  if (!writer().is_open()) return true;
  write_trailer();
  // The run is already ending: a failure is reported without waiting for a
  // return.
  const bool pause = iocom.lcrerr;
  iocom.lcrerr = false;
  const bool good = writer().finish();
  iocom.lcrerr = pause;
  return good;
}

void psstrokepath() {
  if (!psparams.lopenpath || !writer().is_open()) return;
  psrgbcolor(1);
  writer().line(dialect_ops(psparams.ips).stroke);
  psparams.lopenpath = false;
}

void psrgbcolor(std::int32_t itypea) {
  if (!plt2blk.loncolor || !writer().is_open()) return;
  std::int32_t slot;
  switch (itypea) {
    case 1:
      slot = plt2blk.ilinecolor;
      break;
    case 2:
      slot = plt2blk.ifillcolor;
      break;
    case 3:
      slot = plt2blk.itxtcolor;
      break;
    case 0:
      colour_line(plt2blk.icurrentcolor);
      return;
    case -1:
      plt2blk.icurrentcolor = 1;
      colour_line(1);
      return;
    default:
      return;
  }
  if (slot == plt2blk.icurrentcolor) return;
  if (slot < 0 || slot > plot::kMaxColorSlot) return;
  colour_line(slot);
  plt2blk.icurrentcolor = slot;
}

}  // namespace polarsketch::postscript
