// The plot settings: initialising the whole plot state when a plot is opened,
// and the "SETTING PLOT ATTRIBUTES" menu that reaches every attribute setter.
#include "plot/settings_menu.hpp"

#include <string>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/colortable.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"
#include "plot/records.hpp"
#include "plot/text_symbol.hpp"
#include "postscript/operators.hpp"

namespace polarsketch::plot {

using console::fmt_fixed;
using console::fmt_int;
using console::fmt_text;
using console::iocom;

namespace {

void out(std::string_view text) { console::put_line(iocom.ito, text); }

void menu_head() { console::submenuhead(fit_text("splotparam2", 11)); }

// The whole-plot initialisation of flags 4 to 9.
void initialise(std::int32_t intera) {
  const bool full = intera == 4 || intera == 5 || intera == 8 || intera == 9;
  if (full) math::trigoset();

  menu_head();
  out("INITIALIZING PLOT PARAMETERS");
  out("INITIALIZING SUBPLOT SCALING");
  if (iocom.lop) {
    out(" 1: CM <-> DE");
    postscript::scm2de();
  } else {
    out(" 1: CM <-> DE: untouched (plot file closed)");
  }

  std::int32_t isa = 1;
  if (intera == 6 || intera == 7) {
    // Keep every subplot's user-to-cm scaling; rebuild its device map.
    out(" 2: US <-> CM unchanged");
    if (iocom.lop) {
      out("    US <-> DE");
      for (std::int32_t k = 1; k <= kMaxSubplot; ++k) {
        isa = k;
        ssubplot(isa, 1);
        sus2de();
      }
    } else {
      out("    US <-> DE: untouched (plot file closed)");
    }
    ssubplot(isa, intera - 2);
  }

  if (full) {
    out(" 2: US <-> CM");
    out(iocom.lop ? "    US <-> DE" : "    US <-> DE: untouched (plot file closed)");
    const std::int32_t mode = (intera % 2 == 0) ? 6 : 7;
    ssubplot(isa, mode);
    float xp0 = 0.0f, yp0 = 0.0f, xx = 0.0f, xy = 0.0f, yx = 0.0f, yy = 0.0f;
    sus2cm1(xp0, yp0, xx, xy, yx, yy, mode);
    scolortable((intera == 4 || intera == 8) ? 4 : 5);
  }

  if (intera >= 4 && intera <= 7 && iocom.lop) {
    const std::int32_t f = (intera == 4 || intera == 6) ? 4 : 5;
    float width = 0.0f, size = 0.0f, angle = 0.0f, symbsize = 0.0f;
    std::int32_t style = 0, lcolor = 0, font = 0, just = 0, tcolor = 0, fstyle = 0, fcolor = 0,
                 symbtype = 0;
    slinewidth(width, f);
    slinestyle(style, f);
    slinecolor(lcolor, f);
    stextsize(size, f);
    postscript::stextfont(font, f);
    stextangle(angle, f);
    stextalign(just, f);
    stextcolor(tcolor, f);
    sfillstyle(fstyle, f);
    sfillcolor(fcolor, f);
    ssymbolsize(symbsize, f);
    ssymboltype(symbtype, f);
  }
}

void show_menu(bool llast) {
  menu_head();
  if (!iocom.lwito(2)) return;
  out(console::kRuleHyphen);
  out("         SETTING PLOT ATTRIBUTES");
  out(console::kRuleHyphen);
  out("GET SETTINGS");
  out(" from currently stored..... 1 " + std::string(llast ? "T" : "F"));
  out(" from initialisation....... 1 " + std::string(llast ? "F" : "T"));
  out(console::kRuleHyphen);
  out("COLOR TABLE:");
  out(" nb of color ..............50");
  out(" rgb values ...............51");
  out(" color table ..............52");
  if (!iocom.lop) {
    out("THE PLOT IS CLOSED:");
    out(" => OTHER SETTINGS WILL BE RESET");
    out("    UPON PLOT OPENING");
  } else {
    out("LINE ATTRIBUTES:");
    out(" thickness ................10");
    out(" style ....................11");
    out(" color ....................12");
    out("POLYGON FILL ATTRIBUTES:");
    out(" interior style ...........20");
    out(" interior color ...........21");
    out("TEXT ATTRIBUTES:");
    out(" font .....................30");
    out(" size .....................31");
    out(" justification ............32");
    out(" angle ....................33");
    out(" color ....................34");
    out("SYMBOL ATTRIBUTES:");
    out(" type .....................40");
    out(" size .....................41");
  }
  out(console::kRuleHyphen);
  out("EXIT THIS SET UP  .........99");
  console::menutail();
}

// Choices 10 to 50: one setter each, only while a plot file is open.
void set_attribute(std::int32_t irep, std::int32_t inter) {
  float rvalue = 0.0f;
  std::int32_t ivalue = 0;
  switch (irep) {
    case 10:
      slinewidth(rvalue, inter);
      break;
    case 11:
      slinestyle(ivalue, inter);
      break;
    case 12:
      slinecolor(ivalue, inter);
      break;
    case 20:
      sfillstyle(ivalue, inter);
      break;
    case 21:
      sfillcolor(ivalue, inter);
      break;
    case 30:
      postscript::stextfont(ivalue, inter);
      break;
    case 31:
      stextsize(rvalue, inter);
      break;
    case 32:
      stextalign(ivalue, inter);
      break;
    case 33:
      stextangle(rvalue, inter);
      break;
    case 34:
      stextcolor(ivalue, inter);
      break;
    case 40:
      ssymboltype(ivalue, inter);
      break;
    case 41:
      ssymbolsize(rvalue, inter);
      break;
    case 50:
      scolornb(ivalue, inter);
      break;
    default:
      break;
  }
}

// Choice 51: lists the table, then edits one slot other than the background.
void modify_rgb(std::int32_t inter) {
  std::int32_t n = 0;
  scolornb(n, 3);
  out(console::kRuleHyphen);
  std::string heading = "|index|" + fmt_text("name", 10) + "|";
  for (std::string_view label : {"red%", "green%", "blue%"}) {
    heading += " " + fmt_text(label, 6) + " |";
  }
  out(heading);
  std::string name(8, ' ');
  float r = 0.0f, g = 0.0f, b = 0.0f;
  for (std::int32_t i = 0; i <= n; ++i) {
    std::int32_t index = i;
    scolorrgb(index, name, r, g, b, 3);
    std::string row = "| " + fmt_int(i, 3) + " |" + fit_text(name, 10) + "|";
    for (float v : {r, g, b}) row += " " + fmt_fixed(v, 6, 1) + " |";
    out(row);
  }
  out(console::kRuleHyphen);
  std::int32_t index = 0;
  std::int32_t ierr = 0;
  console::inintegvin1(index, "index of color to modify", 1, n, ierr);
  scolorrgb(index, name, r, g, b, inter);
}

}  // namespace

void splotparam2(std::int32_t intera) {
  const bool linter = intera % 2 == 0;
  bool llast = intera >= 0 && intera <= 3;
  std::int32_t inter = llast ? 2 : 4;

  if (intera >= 4 && intera <= 9) initialise(intera);
  if (!linter) return;

  for (;;) {
    show_menu(llast);
    std::int32_t irep = 0;
    std::int32_t ierr = 0;
    console::inintegdef(irep, "your choice", 99, ierr);
    if (irep == 99) return;
    if (irep == 1) {
      console::inlogicdef(llast, "whether to use current(1) or initial(0) parameters", llast, ierr);
      inter = llast ? 2 : 4;
    } else if (irep >= 10 && irep <= 50) {
      if (iocom.lop) set_attribute(irep, inter);
    } else if (irep == 51) {
      modify_rgb(inter);
    } else if (irep == 52) {
      scolortable(inter);
    }
  }
}

}  // namespace polarsketch::plot
