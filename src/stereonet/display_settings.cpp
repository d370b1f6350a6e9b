// Axis-symbol and great-circle settings menus.
#include "stereonet/display_settings.hpp"

#include <string>
#include <string_view>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "plot/text_symbol.hpp"
#include "report/report.hpp"

namespace polarsketch::stereonet {

namespace {

using console::fmt_int;
using console::iocom;
using console::put_line;

constexpr std::int32_t kMinAxisType = -99;
constexpr std::int32_t kMaxAxisType = 101;

// A 16-character label, one blank and a type in 4 columns.
std::string type_line(std::string_view label, std::int32_t v) {
  return std::string(label) + " " + fmt_int(v, 4);
}

// Warns about a caller-supplied type outside the valid range and resets it.
void check_axis_type(std::int32_t& v, std::string_view label, std::int32_t reset) {
  if (v >= kMinAxisType && v <= kMaxAxisType) return;
  report::Message msg = report::warning("sdspaxsymb");
  msg.lines.emplace_back(std::string(label) + " " + fmt_int(v, 4));
  msg.lines.emplace_back("outside [ " + fmt_int(kMinAxisType, 4) + " , " +
                         fmt_int(kMaxAxisType, 4) + " ]");
  msg.lines.emplace_back("==> RESETTING TO:");
  v = reset;
  msg.lines.emplace_back(std::string(label) + " " + fmt_int(v, 4));
  report::report(msg);
}

void print_axis_menu_body(std::int32_t iaxtypa1, std::int32_t iaxtypa2, std::int32_t intera) {
  const int u = iocom.ito;
  const bool setup = (intera == 200);
  put_line(u, console::kRuleHyphen);
  put_line(u, "STEREOPLOT AXIS SYMBOLS");
  put_line(u, "Standard  symbol <-> standard hemisphere");
  put_line(u, "Alternate symbol <-> opposite hemisphere");
  put_line(u, console::kRuleHyphen);
  if (!setup) {
    put_line(u, "currently stored:");
    put_line(u, type_line("standard  type =", dspaxbk.iaxtyp1));
    put_line(u, type_line("alternate type =", dspaxbk.iaxtyp2));
    put_line(u, console::kRuleHyphen.substr(0, 21));
    put_line(u, "ready to store:");
  } else {
    put_line(u, "set up:");
  }
  put_line(u, type_line("standard  type =", iaxtypa1));
  put_line(u, type_line("alternate type =", iaxtypa2));
  put_line(u, console::kRuleHyphen);
  put_line(u, "Axis symbol ... symbol number");
  put_line(u, "arrow    ................ 101");
  put_line(u, "line     ................ 100");
  std::int32_t table_only = 0;
  plot::ssymboltype(table_only, 102);
  put_line(u, console::kRuleHyphen);
  put_line(u, "MODIFY:");
  put_line(u, " standard type ............... 10");
  put_line(u, " alternate type .............. 20");
  put_line(u, setup ? "SET UP IS OK ==> EXIT ........ 99" : "STORE AND EXIT ............... 99");
  console::menutail();
}

}  // namespace

void reset_display_settings() {
  dspaxbk = Dspaxbk{};
  dspgcbk = Dspgcbk{};
}

void sdspaxsymb(std::int32_t& iaxtypa1, std::int32_t& iaxtypa2, std::int32_t intera) {
  if (intera == 0 || intera == 1 || intera == 200) {
    check_axis_type(iaxtypa1, "Standard  symbol =", 1);
    check_axis_type(iaxtypa2, "Alternate symbol =", -1);
  }
  if (intera == 2 || intera == 3) {
    iaxtypa1 = dspaxbk.iaxtyp1;
    iaxtypa2 = dspaxbk.iaxtyp2;
  }
  if (intera == 4 || intera == 5) {
    console::submenuhead("sdspaxsymb");
    put_line(iocom.ito, "INITIALIZING STEREOPLOT AXIS SYMBOLS");
    iaxtypa1 = 1;
    iaxtypa2 = -1;
  }
  if (intera % 2 == 0) {
    std::int32_t ierr = 0;
    for (;;) {
      console::submenuhead("sdspaxsymb");
      if (iocom.lwito(2)) print_axis_menu_body(iaxtypa1, iaxtypa2, intera);
      std::int32_t irep = 99;
      console::inintegdef(irep, "your choice", 99, ierr);
      if (irep == 99) break;
      if (irep == 10) {
        console::inintegvindef(iaxtypa1, "standard symbol type", iaxtypa1, kMinAxisType,
                               kMaxAxisType, ierr);
      } else if (irep == 20) {
        console::inintegvindef(iaxtypa2, "alternate symbol type", iaxtypa2, kMinAxisType,
                               kMaxAxisType, ierr);
      }
    }
  }
  if (intera != 200) {
    dspaxbk.iaxtyp1 = iaxtypa1;
    dspaxbk.iaxtyp2 = iaxtypa2;
  }
}

void sdspgc(std::int32_t& npgca, std::int32_t inter) {
  const int u = iocom.ito;
  if (inter == 2 || inter == 3) npgca = dspgcbk.npgc;
  if (inter == 4 || inter == 5) {
    console::submenuhead("sdspgc");
    put_line(u, "INITIALIZING GREAT CIRCLE PARAMETERS");
    npgca = 40;
  }
  if (inter % 2 == 0) {
    std::int32_t ierr = 0;
    for (;;) {
      console::submenuhead("sdspgc");
      put_line(u, console::kRuleHyphen);
      put_line(u, "      GREAT CIRCLES PARAMETERS: ");
      put_line(u, console::kRuleHyphen);
      put_line(u, "nb of points to draw ..........10 " + fmt_int(npgca, 12));
      put_line(u, console::kRuleHyphen);
      put_line(u, "EXIT ..........................99");
      put_line(u, console::kRuleHyphen);
      std::int32_t irep = 99;
      console::inintegdefnp(irep, "your choice", 99, ierr);
      if (irep == 99) break;
      if (irep == 10) {
        console::inintegvindef(npgca, "nb of pts per great circle", npgca, 1, 1000, ierr);
      }
    }
  }
  dspgcbk.npgc = npgca;
}

}  // namespace polarsketch::stereonet
