// Text and symbol attribute setters.
#include "plot/text_symbol.hpp"

#include <array>
#include <string>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "plot/dialog_lines.hpp"
#include "plot/records.hpp"
#include "plot/setter.hpp"
#include "postscript/operators.hpp"
#include "render/seam.hpp"
#include "report/report.hpp"

namespace polarsketch::plot {

using console::fmt_fixed;
using console::fmt_int;
using console::iocom;

namespace {

// Routine names travel at their 11-character field length.
using dialog::err;
using dialog::menu_head;
using dialog::out;
using dialog::rname11;

using setter::is_stored_form;
using setter::shows_dialog;

// A height printed with 2 decimals in at least 6 columns, wider when the value
// needs it (never asterisks).
std::string widening_2dec(float v) {
  std::string s = fmt_fixed(v, 6, 2);
  for (int w = 7; w <= 64 && s.find('*') != std::string::npos; ++w) s = fmt_fixed(v, w, 2);
  return s;
}

// The symbol type table, in the order the type menu lists it.
constexpr std::array<std::string_view, 24> kSymbolTypes = {
    "circle   .................. 0", "circle   .................. 1",
    "circle   .................. 2", "triangle .................. 3",
    "square   .................. 4", "pentagon .................. 5",
    "hexagon  .................. 6", "heptagon .................. 7",
    "octogon  .................. 8", "enneagon .................. 9",
    "   .     ................. 10", "   -     ................. 11",
    "   |     ................. 12", "   +     ................. 13",
    "   x     ................. 14", "   *     ................. 15",
    "   *     ................. 16", "   *     ................. 17",
    "circle . ................. 20", "circle - ................. 21",
    "circle | ................. 22", "circle + ................. 23",
    "square   ..................40", "circle   ....... other values",
};

}  // namespace

void stextcolor(std::int32_t& icolora, std::int32_t inter) {
  setter::set_color_slot(icolora, inter, plt2blk.itxtcolor, "stextcolor",
                         "INITIALISING TEXT COLOR TO:", "TEXT COLOR");
}

void stextsize(float& sizecma, std::int32_t inter) {
  float v = sizecma;
  if (inter == 0 || inter == 1) {
    if (!(v > 0.02f) || v > 1000.0f) {
      report::Message msg = report::warning("stextsize");
      msg.lines.emplace_back("TEXT SIZE OUT OF RANGE:");
      msg.lines.emplace_back(" txtheight = " + widening_2dec(v));
      msg.lines.emplace_back(" min = " + widening_2dec(0.02f));
      msg.lines.emplace_back(" max = " + widening_2dec(1000.0f));
      v = 0.5f;
      msg.lines.emplace_back("==> RESET txtheight = " + widening_2dec(v));
      report::report(msg);
    }
  }
  setter::start_value(v, inter, plt2blk.txtheight, 0.5f, "stextsize",
                      "INITIALISING TEXT SIZE TO: " + fmt_fixed(0.5f, 6, 2) + " cm");
  if (shows_dialog(inter)) {
    menu_head("stextsize");
    out(console::kRuleHyphen);
    out("                TEXT SIZE");
    out(console::kRuleHyphen);
    out("present value in cm ..........  " + fmt_fixed(v, 6, 2));
    console::menutail();
    std::int32_t ierr = 0;
    console::inrealvindef(v, "text height in cm", v, 0.02f, 1000.0f, ierr);
  }
  if (!setter::keep_value(sizecma, v, inter, plt2blk.txtheight, "stextsize")) return;
  if (iocom.lop) {
    postscript::intstextsize(v);
    render::set_text_height(plt1blk.rcmtode * v);  // the same height for every device
  } else {
    // Without a plot file the height is kept for the next opening only.
    report::Message msg = report::warning("stextsize");
    msg.lines.emplace_back("inter = " + fmt_int(inter, 6));
    msg.lines.emplace_back("Attempting to set textsize with");
    msg.lines.emplace_back("a closed plot file");
    msg.lines.emplace_back("===> Value stored but no further call to lib");
    report::report(msg);
  }
}

void stextalign(std::int32_t& justa, std::int32_t inter) {
  std::int32_t v = justa;
  if (inter == 2 || inter == 3) {
    v = plt2blk.itxtjust;
  } else if (inter == 4 || inter == 5) {
    v = -1;
    if (inter == 5) {
      menu_head("stextalign");
      out("INITIALISING TEXT ALIGNMENT TO: -1");
      out("=====> left-bottom trimmed");
    }
  } else if (v < -11 || v > 11) {
    report::Message msg = report::warning("stextalign");
    msg.lines.emplace_back("trying to set justif = " + fmt_int(v, 6));
    msg.lines.emplace_back("justif must be in [-11,11]");
    v = -1;
    msg.lines.emplace_back("===> RESET justif = " + fmt_int(v, 6));
    report::report(msg);
  }
  if (shows_dialog(inter)) {
    menu_head("stextalign");
    out(console::kRuleHyphen);
    out("          SETTING TEXT ALIGNMENT");
    out(console::kRuleHyphen);
    out(" |just| indicates where the x,y point");
    out("      is relative to the textstring");
    out(" if just < 0 leading and trailing blanks");
    out("      will be ignored");
    out("");
    out("   9              10              11");
    out("   |---------------|---------------|");
    out("   5<==textstring==6==============>7");
    out("   |---------------|---------------|");
    out("   1               2               3");
    out("");
    out(console::kRuleHyphen);
    out("currently stored   : " + fmt_int(plt2blk.itxtjust, 6));
    out("suggested new value: " + fmt_int(v, 6));
    console::menutail();
    std::int32_t ierr = 0;
    console::inintegvindef(v, "value of just", v, -11, 11, ierr);
  }
  if (!is_stored_form(inter)) {
    justa = v;
    setter::inter_warning("stextalign", inter);
    return;
  }
  // 0, 4 and 8 name no position on the text box: fall back to the left edge.
  if (v == 0 || v == -4 || v == -8 || v == 4 || v == 8) {
    report::Message msg = report::warning("stextalign");
    msg.lines.emplace_back("just = " + fmt_int(v, 6));
    v = (v > 0) ? 1 : -1;
    msg.lines.emplace_back("===> RESET just = " + fmt_int(v, 6));
    report::report(msg);
  }
  justa = v;
  plt2blk.itxtjust = v;
}

void stextangle(float& angledega, std::int32_t inter) {
  float v = angledega;
  setter::start_value(v, inter, plt2blk.txtangle, 0.0f, "stextangle",
                      "INITIALISING TEXT ANGLE TO: 0.0");
  if (shows_dialog(inter)) {
    menu_head("stextangle");
    out(console::kRuleHyphen);
    out("         TEXT ANGLE (degrees)");
    out(console::kRuleHyphen);
    out("currently stored   : " + fmt_fixed(plt2blk.txtangle, 8, 3));
    out("suggested new value: " + fmt_fixed(v, 8, 3));
    console::menutail();
    std::int32_t ierr = 0;
    console::inrealdef(v, "text angle in degrees", v, ierr);
  }
  setter::keep_value(angledega, v, inter, plt2blk.txtangle, "stextangle");
}

void ssymbolsize(float& sizecma, std::int32_t intera) {
  float v = sizecma;
  setter::start_value(v, intera, plt2blk.symbsize, 0.4f, "ssymbolsize",
                      "INITIALISING SYMBOL SIZE (cm) = " + fmt_fixed(0.4f, 8, 3));
  if (shows_dialog(intera)) {
    menu_head("ssymbolsize");
    if (iocom.lwito(2)) {
      out(console::kRuleHyphen);
      out("SYMBOL SIZE (cm):");
      out(console::kRuleHyphen);
      out("currently stored size = " + fmt_fixed(plt2blk.symbsize, 8, 3));
      out("ready to  store  size = " + fmt_fixed(v, 8, 3));
      console::menutail();
    }
    std::int32_t ierr = 0;
    console::inrealdef(v, "symbol size in cm", v, ierr);
  }
  setter::keep_value(sizecma, v, intera, plt2blk.symbsize, "ssymbolsize");
}

void ssymboltype(std::int32_t& isymba, std::int32_t intera) {
  constexpr std::int32_t kListOnly = 102;  // list the type table inside another menu
  constexpr std::int32_t kAskOnly = 200;   // ask for a type, store nothing
  std::int32_t v = isymba;
  setter::start_value(v, intera, plt2blk.isymbtype, 1, "ssymboltype",
                      "INITIALISING SYMBOL TYPE = " + fmt_int(1, 4));
  if (intera % 2 == 0) {
    if (intera != kListOnly) menu_head("ssymboltype");
    if (iocom.lwito(2)) {
      if (intera != kListOnly) {
        out(console::kRuleHyphen);
        out("SYMBOL TYPE:");
        out(" Negative number => filled symbol");
        out(" N.B. Symbols also depend on");
        out("      polygon & line attributes");
        out(console::kRuleHyphen);
        if (intera != kAskOnly) {
          out("currently stored type = " + fmt_int(plt2blk.isymbtype, 4));
          out("ready to  store  type = " + fmt_int(v, 4));
        } else {
          out("ready to set type = " + fmt_int(v, 4));
        }
        out(console::kRuleHyphen);
        out("Symbol type ... symbol number");
      }
      for (std::string_view line : kSymbolTypes) out(line);
      if (intera != kListOnly) console::menutail();
    }
    if (intera == kListOnly) return;
    std::int32_t ierr = 0;
    console::inintegdef(v, "symbol number", v, ierr);
  }
  isymba = v;
  if (is_stored_form(intera)) {
    plt2blk.isymbtype = v;
  } else if (intera != kAskOnly) {
    setter::inter_warning("ssymboltype", intera);
  }
}

// The forms for values that are not kept work on a copy.
void stextcolor(const std::int32_t& icolora, std::int32_t inter) {
  std::int32_t v = icolora;
  stextcolor(v, inter);
}
void stextsize(const float& sizecma, std::int32_t inter) {
  float v = sizecma;
  stextsize(v, inter);
}
void stextalign(const std::int32_t& justa, std::int32_t inter) {
  std::int32_t v = justa;
  stextalign(v, inter);
}
void stextangle(const float& angledega, std::int32_t inter) {
  float v = angledega;
  stextangle(v, inter);
}
void ssymbolsize(const float& sizecma, std::int32_t intera) {
  float v = sizecma;
  ssymbolsize(v, intera);
}
void ssymboltype(const std::int32_t& isymba, std::int32_t intera) {
  std::int32_t v = isymba;
  ssymboltype(v, intera);
}

}  // namespace polarsketch::plot
