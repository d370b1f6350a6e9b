// The curve-parameters menu: shows the fixed parameters, the levels and the
// running point, dispatches to their setters, and initialises them all.
#include <cstdint>
#include <string>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "curve/dialog.hpp"
#include "curve/fixed_params.hpp"
#include "curve/levels.hpp"
#include "curve/running_point.hpp"

namespace polarsketch::curve {

namespace {

using console::fmt_fixed;
using console::fmt_int;
using detail::menu_line;

// Lengths of the texts that the menu hands to the setters.
constexpr std::size_t kNameLength = 20;
constexpr std::size_t kValueLength = 12;

std::string real_field(float v) { return fmt_fixed(v, 8, 3); }
std::string int_field(std::int32_t v) { return fmt_int(v, 6); }

// The table of fixed parameters in use; the index column gives the command
// that changes each parameter.
void fixed_table() {
  menu_line("name       value     type   index");
  for (std::int32_t i = 1; i <= pfixblock.nparfix && i <= kMaxFixedParams; ++i) {
    menu_line(console::fmt_text(pfixblock.pfixname(i).view(), 10) + " " +
              pfixblock.pfixvalue(i).str().substr(0, 9) + "  " +
              fmt_int(pfixblock.ipfixtype(i), 1) + " ......." + fmt_int(i, 2));
  }
}

void set_fixed(std::int32_t ifix1, std::int32_t inter) {
  std::string name(kNameLength, ' ');
  std::string value(kValueLength, ' ');
  std::int32_t itype = 0;
  std::int32_t ivalue = 0;
  float rvalue = 0.0f;
  scparfix1(name, itype, rvalue, ivalue, value, ifix1, inter);
}

void set_fixed_count(std::int32_t inter) {
  std::int32_t n = pfixblock.nparfix;
  scparfixnb(n, inter);
}

void set_levels(std::int32_t itype, std::int32_t inter) {
  std::string name = plevblock.plevname.str();
  float plevi = plevblock.plevi;
  float plevf = plevblock.plevf;
  float plevd = plevblock.plevd;
  std::int32_t nlev = plevblock.nlev;
  sclevel2(plevi, plevf, plevd, nlev, itype, name, inter);
}

void set_point_count(std::int32_t inter) {
  std::int32_t np = ptblock.np;
  scptnp(np, inter);
}

void set_bounds(std::int32_t inter) {
  float pti = ptblock.pti;
  float ptf = ptblock.ptf;
  scptif(pti, ptf, inter);
}

void set_increment(std::int32_t inter) {
  float ptd = ptblock.ptd;
  scptd(ptd, inter);
}

void set_point_name(std::int32_t inter) {
  std::string name = ptblock.ptname.str();
  scptnam(name, inter);
}

void initialise(std::int32_t inter) {
  console::submenuhead("scall");
  menu_line("INITIALIZING CURVES PARAMETERS");
  std::int32_t n = kMaxFixedParams;
  scparfixnb(n, 1);
  for (std::int32_t i = 1; i <= kMaxFixedParams; ++i) set_fixed(i, inter);
  set_fixed_count(inter);
  set_levels(2, inter);
  set_point_name(inter);
  set_point_count(inter);
  set_bounds(inter);
  set_increment(inter);
}

void show() {
  const Plevblock& lv = plevblock;
  const Ptblock& pb = ptblock;
  console::submenuhead("scall");
  menu_line(console::kRuleHyphen);
  menu_line("                 CURVES");
  menu_line("         1 - FIXED PARAMETERS");
  menu_line("max nb of fixed params    :", int_field(kMaxFixedParams));
  menu_line("current nb of fixed params:", int_field(pfixblock.nparfix));
  menu_line("current fixed parameters:");
  fixed_table();
  menu_line(console::kRuleHyphen);
  menu_line("         2 - LEVEL PARAMETERS");
  menu_line("level name ...............:", lv.plevname.view());
  menu_line("level initial value ......:", real_field(lv.plevi));
  menu_line("level final   value ......:", real_field(lv.plevf));
  menu_line("level increment ..........:", real_field(lv.plevd));
  menu_line("single level value .......:", real_field(lv.plevi));
  menu_line("nb of level curves .......:", int_field(lv.nlev));
  menu_line(console::kRuleHyphen);
  menu_line("         3 - RUNNING POINT PARAMETERS");
  menu_line("max nb of points .........:", int_field(kMaxPoints));
  menu_line("nb of points to draw .....:", int_field(pb.np));
  menu_line("nb of segments to draw ...:", real_field(pb.rni));
  menu_line("initial value ............:", real_field(pb.pti));
  menu_line("final   value ............:", real_field(pb.ptf));
  menu_line("increment ................:", real_field(pb.ptd));
  menu_line("name .....................:", pb.ptname.view());
  console::menutail();
}

void show_menu() {
  const Plevblock& lv = plevblock;
  const Ptblock& pb = ptblock;
  console::submenuhead("scall");
  menu_line(console::kRuleHyphen);
  menu_line("           CURVES PARAMETERS");
  menu_line(console::kRuleHyphen);
  menu_line("         1 - FIXED PARAMETERS");
  menu_line("max nb of fixed params ..........", int_field(kMaxFixedParams));
  menu_line("current nb of fixed params ...100", int_field(pfixblock.nparfix));
  menu_line("current fixed parameters:");
  fixed_table();
  menu_line(console::kRuleHyphen);
  menu_line("         2 - LEVEL PARAMETERS");
  menu_line("nb of level curves ...........200", int_field(lv.nlev));
  menu_line("level initial value ..........210", real_field(lv.plevi));
  menu_line("level final   value ..........210", real_field(lv.plevf));
  menu_line("level increment ..............210", real_field(lv.plevd));
  menu_line("single level value ...........210", real_field(lv.plevi));
  menu_line("level name ...................210", lv.plevname.view());
  menu_line(console::kRuleHyphen);
  menu_line("         3 - RUNNING POINT PARAMETERS");
  menu_line("max nb of points ................", int_field(kMaxPoints));
  menu_line("nb of points to draw .........300", int_field(pb.np));
  menu_line("nb of segments to draw .......300", real_field(pb.rni));
  menu_line("initial value ................310", real_field(pb.pti));
  menu_line("final   value ................310", real_field(pb.ptf));
  menu_line("increment ....................320", real_field(pb.ptd));
  menu_line("name .........................330", pb.ptname.view());
  detail::menu_exit();
}

// The menu: every setter starts from the stored values and shows its menu.
void menu() {
  constexpr std::int32_t kStored = 2;
  for (;;) {
    show_menu();
    const std::int32_t ichoice = detail::menu_choice();
    if (ichoice == 99) return;
    if (ichoice >= 1 && ichoice <= pfixblock.nparfix) {
      set_fixed(ichoice, kStored);
      continue;
    }
    switch (ichoice) {
      case 100:
        set_fixed_count(kStored);
        break;
      case 200:
        set_levels(1, kStored);
        break;
      case 210:
        set_levels(2, kStored);
        break;
      case 300:
        set_point_count(kStored);
        break;
      case 310:
        set_bounds(kStored);
        break;
      case 320:
        set_increment(kStored);
        break;
      case 330:
        set_point_name(kStored);
        break;
      default:
        break;
    }
  }
}

}  // namespace

void scall(std::int32_t inter) {
  switch (inter) {
    case 0:
      menu();
      break;
    case 4:
    case 5:
      initialise(inter);
      break;
    case 6:
      show();
      break;
    default:
      break;
  }
}

}  // namespace polarsketch::curve
