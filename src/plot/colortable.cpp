// The colour table: its default, its menu, reading it from a file, the number
// of colours in use and the setting of one slot.
#include "plot/colortable.hpp"

#include <array>
#include <string>

#include "console/fields.hpp"
#include "console/files.hpp"
#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "plot/dialog_lines.hpp"
#include "plot/line_fill.hpp"
#include "plot/records.hpp"
#include "plot/text_symbol.hpp"
#include "report/report.hpp"

namespace polarsketch::plot {

using console::fmt_fixed;
using console::fmt_int;
using console::fmt_text;
using console::iocom;

namespace {

using dialog::err;
using dialog::menu_head;
using dialog::out;
using dialog::rname11;

struct DefaultColor {
  std::string_view name;
  float red, green, blue;
};

// The default table: primaries at half intensity, greys named by their
// percentage of black.
constexpr std::array<DefaultColor, 13> kDefaultTable = {{
    {"White-bkg", 100.0f, 100.0f, 100.0f},
    {"Black", 0.0f, 0.0f, 0.0f},
    {"Red", 50.0f, 0.0f, 0.0f},
    {"Green", 0.0f, 50.0f, 0.0f},
    {"Blue", 0.0f, 0.0f, 50.0f},
    {"Cyan", 0.0f, 50.0f, 50.0f},
    {"Magenta", 50.0f, 0.0f, 50.0f},
    {"Yellow", 50.0f, 50.0f, 0.0f},
    {"Grey20", 80.0f, 80.0f, 80.0f},
    {"Grey30", 70.0f, 70.0f, 70.0f},
    {"Grey40", 60.0f, 60.0f, 60.0f},
    {"Grey50", 50.0f, 50.0f, 50.0f},
    {"Grey70", 30.0f, 30.0f, 30.0f},
}};

void set_slot(std::int32_t i, std::string_view name, float r, float g, float b) {
  plt2blk.red(i) = r;
  plt2blk.green(i) = g;
  plt2blk.blue(i) = b;
  pltcharblk.colornam(i) = name;
}

// " |   red% | green% |  blue% |" after the given lead.
std::string rgb_heading(std::string lead) {
  for (std::string_view label : {"red%", "green%", "blue%"}) {
    lead += " " + fmt_text(label, 6) + " |";
  }
  return lead;
}

std::string rgb_values(std::string lead, float r, float g, float b) {
  for (float v : {r, g, b}) lead += " " + fmt_fixed(v, 6, 1) + " |";
  return lead;
}

// Reads the colour-table file one line per read: items separated by blanks or
// commas, a text item possibly quoted with ' or ". A line that lacks an item
// is unreadable, so a report always names the line at fault; the rest of a
// line after the last item is ignored.
class LineReader {
 public:
  enum class Status { ok, end, bad };

  explicit LineReader(std::int32_t unit) : unit_(unit) {}

  // Reads the next line; end when the file has no more.
  Status next_line() {
    pos_ = 0;
    if (!console::read_line(unit_, line_, console::OnEnd::report)) return Status::end;
    return Status::ok;
  }

  Status integer(std::int32_t& v) {
    std::string tok;
    if (!item(tok, false)) return Status::bad;
    return console::read_free_int(tok, v) ? Status::ok : Status::bad;
  }

  Status real(float& v) {
    std::string tok;
    if (!item(tok, false)) return Status::bad;
    return console::read_free_real(tok, v) ? Status::ok : Status::bad;
  }

  Status text(std::string& v) { return item(v, true) ? Status::ok : Status::bad; }

 private:
  static bool separator(char c) { return c == ' ' || c == ',' || c == '\t'; }

  bool item(std::string& tok, bool quoted_allowed) {
    while (pos_ < line_.size() && separator(line_[pos_])) ++pos_;
    if (pos_ >= line_.size()) return false;
    tok.clear();
    const char q = line_[pos_];
    if (quoted_allowed && (q == '\'' || q == '"')) {
      ++pos_;
      while (pos_ < line_.size()) {
        const char c = line_[pos_++];
        if (c != q) {
          tok += c;
        } else if (pos_ < line_.size() && line_[pos_] == q) {
          tok += q;  // a doubled quote stands for itself
          ++pos_;
        } else {
          return true;
        }
      }
      return true;  // an unclosed quote takes the rest of the line
    }
    while (pos_ < line_.size() && !separator(line_[pos_])) tok += line_[pos_++];
    return true;
  }

  std::int32_t unit_;
  std::string line_;
  std::size_t pos_ = 0;
};

// Menu command 300: reads the number of colours and one line per slot.
void read_color_file() {
  constexpr std::int32_t kUnit = console::kUnitColorFile;
  std::string fnam(25, ' ');
  console::opef2(fnam, "color table input", kUnit, "old", 0);
  const std::string shown(trim_blanks(fnam));

  LineReader reader(kUnit);
  std::int32_t nline = 1;
  std::int32_t n = 0;
  LineReader::Status status = reader.next_line();
  if (status == LineReader::Status::ok) status = reader.integer(n);
  if (status == LineReader::Status::ok) {
    scolornb(n, 1);
    for (std::int32_t slot = 0; slot <= plt2blk.ncolor; ++slot) {
      ++nline;
      std::int32_t index = 0;
      float r = 0.0f, g = 0.0f, b = 0.0f;
      std::string name;
      status = reader.next_line();
      if (status == LineReader::Status::ok) status = reader.integer(index);
      if (status == LineReader::Status::ok) status = reader.real(r);
      if (status == LineReader::Status::ok) status = reader.real(g);
      if (status == LineReader::Status::ok) status = reader.real(b);
      if (status == LineReader::Status::ok) status = reader.text(name);
      if (status != LineReader::Status::ok) break;
      scolorrgb(index, name, r, g, b, 1);
    }
  }
  console::close_file(kUnit);

  if (status != LineReader::Status::ok) {
    // Slots read so far keep their new values; the count stays as line 1 gave it.
    if (status == LineReader::Status::end) err("END OF FILE REACHED UNEXPECTEDLY");
    report::Message msg = report::error("scolortable");
    msg.lines.emplace_back("WHILE READING LINE NUMBER  " + fmt_int(nline, 4));
    msg.lines.emplace_back("Input file " + shown + " is closed");
    report::report(msg);
    return;
  }
  menu_head("scolortable");
  out("Input file " + shown + " is closed");
  out("Could read up to: " + fmt_int(kMaxColorSlot, 4) + " DATA");
  out("Actually read   : " + fmt_int(plt2blk.ncolor, 4) + " DATA");
  console::menutail();
}

void color_table_menu() {
  for (;;) {
    menu_head("scolortable");
    out("SETTING COLOR TABLE");
    out(console::kRuleHyphen);
    out("Current nb of colors: " + fmt_int(plt2blk.ncolor, 4));
    out(console::kRuleHyphen);
    out(rgb_heading("|index|" + fmt_text("name", 10) + "|"));
    for (std::int32_t i = 0; i <= plt2blk.ncolor && i <= kMaxColorSlot; ++i) {
      out(rgb_values("| " + fmt_int(i, 3) + " |" + fmt_text(pltcharblk.colornam(i).str(), 10) + "|",
                     plt2blk.red(i), plt2blk.green(i), plt2blk.blue(i)));
    }
    out(console::kRuleHyphen);
    out("modify nb of colors ..........100");
    out("modify rgb color content .....200");
    out("read color table from file ...300");
    out(console::kRuleHyphen);
    out("EXIT ..........................99");
    console::menutail();
    std::int32_t irep = 0;
    std::int32_t ierr = 0;
    console::inintegdef(irep, "your choice", 99, ierr);
    if (irep == 100) {
      std::int32_t n = plt2blk.ncolor;
      scolornb(n, 2);
    } else if (irep == 200) {
      std::int32_t index = 0;
      console::inintegvin1(index, "index of color to modify", 0, plt2blk.ncolor, ierr);
      std::string name(8, ' ');
      float r = 0.0f, g = 0.0f, b = 0.0f;
      scolorrgb(index, name, r, g, b, 2);
    } else if (irep == 300) {
      read_color_file();
    } else if (irep == 99) {
      return;
    }
  }
}

}  // namespace

void scolortable(std::int32_t intera) {
  if (intera == 4 || intera == 5) {
    menu_head("scolortable");
    out("INITIALIZING COLOR TABLE:");
    out("0   -> BKG = WHITE");
    out("1   -> FRG = BLACK");
    out("2-4 -> RGB COLORS");
    out("5-7 -> CMY COLORS");
    out("8   -> GREY 50%");
    scolornb(12, 1);
    for (std::int32_t slot = 0; slot <= kMaxColorSlot; ++slot) {
      const DefaultColor& d = kDefaultTable[static_cast<std::size_t>(slot)];
      std::int32_t index = slot;
      std::string name(d.name);
      float r = d.red, g = d.green, b = d.blue;
      scolorrgb(index, name, r, g, b, 1);
    }
  }
  if (intera % 2 == 0) color_table_menu();
}

void scolornb(std::int32_t& ncolora, std::int32_t intera) {
  // A drop is judged against the count on entry, whatever the flag set first.
  const std::int32_t nentry = plt2blk.ncolor;
  if (intera == 2 || intera == 3) {
    ncolora = plt2blk.ncolor;
  } else if (intera == 4 || intera == 5) {
    ncolora = 4;
    plt2blk.ncolor = 4;
    plt2blk.loncolor = true;
    menu_head("scolornb");
    out("INITIALIZING NUMBER OF COLORS TO: " + fmt_int(4, 3));
  } else if (ncolora > kMaxColorSlot) {
    report::Message msg = report::warning("scolornb");
    msg.lines.emplace_back("trying to set nb of color  = " + fmt_int(ncolora, 3));
    msg.lines.emplace_back("max nb of color  = " + fmt_int(kMaxColorSlot, 3));
    ncolora = kMaxColorSlot;
    msg.lines.emplace_back("===> RESET nb of color = " + fmt_int(ncolora, 3));
    report::report(msg);
  } else if (ncolora < 1) {
    report::Message msg = report::warning("scolornb");
    msg.lines.emplace_back("trying to set nb of color  = " + fmt_int(ncolora, 3));
    msg.lines.emplace_back("min nb of color  = 1");
    ncolora = 1;
    msg.lines.emplace_back("===> RESET nb of color = " + fmt_int(ncolora, 3));
    report::report(msg);
  }

  const bool dialog = intera % 2 == 0;
  if (dialog) {
    for (bool done = false; !done;) {
      menu_head("scolornb");
      out("SETTING THE NUMBER OF COLORS:");
      out(console::kRuleHyphen);
      out("max nb of colors ................ " + fmt_int(kMaxColorSlot, 3));
      out("current nb of colors ............ " + fmt_int(plt2blk.ncolor, 3));
      out("new nb of colors to apply .....10 " + fmt_int(ncolora, 3));
      out(console::kRuleHyphen);
      out("CANCEL AND EXIT ...............98");
      out("UPDATE AND EXIT ...............99");
      console::menutail();
      std::int32_t irep = 0;
      std::int32_t ierr = 0;
      console::inintegdef(irep, "your choice", 99, ierr);
      if (irep == 10) {
        console::inintegvindef(ncolora, "new nb of colors", ncolora, 1, kMaxColorSlot, ierr);
      } else if (irep == 99) {
        done = true;
      } else if (irep == 98) {
        return;
      }
    }
  }

  plt2blk.loncolor = ncolora != 1;
  if (dialog || intera == 5) {
    out("NB of colors = " + fmt_int(ncolora, 3) +
        (plt2blk.loncolor ? " ==> Color plot" : " ==> Black & White plot"));
  }
  plt2blk.ncolor = ncolora;
  if (plt2blk.ncolor < nentry) {
    out("The nb of colors has been reduced");
    out("==> checking current set up versus new max");
    std::int32_t icolor = 0;
    slinecolor(icolor, 3);
    sfillcolor(icolor, 3);
    stextcolor(icolor, 3);
    out("==> checking done");
  }
}

void scolorrgb(std::int32_t& icolora, std::string& colornama, float& reda, float& greena,
               float& bluea, std::int32_t intera) {
  const std::string rname = rname11("scolorgb");
  if (intera == 4 || intera == 5) {
    menu_head(rname);
    out("INITIALIZING RGB: 4 COLORS + BKG");
    set_slot(0, "White-bkg", 100.0f, 100.0f, 100.0f);
    if (plt2blk.ncolor > 0) set_slot(1, "Black", 0.0f, 0.0f, 0.0f);
    if (plt2blk.ncolor > 3) {
      set_slot(2, "Red", 100.0f, 0.0f, 0.0f);
      set_slot(3, "Green", 0.0f, 100.0f, 0.0f);
      set_slot(4, "Blue", 0.0f, 0.0f, 100.0f);
    }
  }

  // Every form checks the slot before it is loaded or stored.
  const std::int32_t ncolor = plt2blk.ncolor;
  if (icolora > ncolor) {
    report::Message msg = report::warning(rname);
    msg.lines.emplace_back("trying to set color nb = " + fmt_int(icolora, 3));
    msg.lines.emplace_back("when nb of color  = " + fmt_int(ncolor, 3));
    icolora = icolora % (ncolor + 1 > 0 ? ncolor + 1 : 1);
    msg.lines.emplace_back("===> RESET nb of color = " + fmt_int(icolora, 3));
    report::report(msg);
  } else if (icolora < 0) {
    report::Message msg = report::warning(rname);
    msg.lines.emplace_back("trying to set nb of color  = " + fmt_int(icolora, 3));
    msg.lines.emplace_back("min nb of color  = 0");
    icolora = 1;
    msg.lines.emplace_back("===> RESET nb of color = " + fmt_int(icolora, 3));
    report::report(msg);
  }

  std::int32_t ierr = 0;
  if (intera >= 2 && intera <= 5) {
    colornama = pltcharblk.colornam(icolora).str();
    reda = plt2blk.red(icolora);
    greena = plt2blk.green(icolora);
    bluea = plt2blk.blue(icolora);
  } else {
    console::crevin2("red (%)", reda, 0.0f, 100.0f, rname, 0, ierr);
    console::crevin2("green (%)", greena, 0.0f, 100.0f, rname, 0, ierr);
    console::crevin2("blue (%)", bluea, 0.0f, 100.0f, rname, 0, ierr);
  }

  if (intera % 2 == 0) {
    // A typed name keeps the length of the caller's field, at least a stored name's.
    if (colornama.size() < 8) colornama.resize(8, ' ');
    for (bool done = false; !done;) {
      menu_head(rname);
      out("SETTING RGB COLORS:");
      out(console::kRuleHyphen);
      out("max nb of colors ................ " + fmt_int(kMaxColorSlot, 3));
      out("current nb of colors ............ " + fmt_int(plt2blk.ncolor, 3));
      out("color index ...................10 " + fmt_int(icolora, 3));
      out("current color name .............. " + pltcharblk.colornam(icolora).str());
      out("new    color  name ............20 " + colornama);
      out(console::kRuleHyphen);
      out(rgb_heading(std::string(7, ' ') + "|"));
      out(rgb_values("current|", plt2blk.red(icolora), plt2blk.green(icolora),
                     plt2blk.blue(icolora)));
      out(rgb_values(fmt_text("new", 7) + "|", reda, greena, bluea));
      out(console::kRuleHyphen);
      out("modify rgb setting ............30");
      out("CANCEL AND EXIT ...............98");
      out("UPDATE AND EXIT ...............99");
      console::menutail();
      std::int32_t irep = 0;
      console::inintegdef(irep, "your choice", 99, ierr);
      if (irep == 10) {
        console::inintegvindef(icolora, "new color index", icolora, 1, plt2blk.ncolor, ierr);
      } else if (irep == 20) {
        console::inchardef(colornama, "new color name", colornama, ierr);
      } else if (irep == 30) {
        console::inrealvindef(reda, "red component (%)", reda, 0.0f, 100.0f, ierr);
        console::inrealvindef(greena, "green component (%)", greena, 0.0f, 100.0f, ierr);
        console::inrealvindef(bluea, "blue component (%)", bluea, 0.0f, 100.0f, ierr);
      } else if (irep == 99) {
        done = true;
      } else if (irep == 98) {
        return;
      }
    }
  }

  plt2blk.red(icolora) = reda;
  plt2blk.green(icolora) = greena;
  plt2blk.blue(icolora) = bluea;
  pltcharblk.colornam(icolora) = colornama;
}

// The forms for values that are not kept work on copies.
void scolornb(const std::int32_t& ncolora, std::int32_t intera) {
  std::int32_t n = ncolora;
  scolornb(n, intera);
}

void scolorrgb(const std::int32_t& icolora, std::string_view colornama, const float& reda,
               const float& greena, const float& bluea, std::int32_t intera) {
  std::int32_t i = icolora;
  std::string name(colornama);
  float r = reda, g = greena, b = bluea;
  scolorrgb(i, name, r, g, b, intera);
}

}  // namespace polarsketch::plot
