// Level parameters: the initial, final, increment and number of levels of a
// family of curves, made consistent for the calculation type and stored.
#include "curve/levels.hpp"

#include <cstdint>
#include <string>

#include "console/fields.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/prompts.hpp"
#include "curve/dialog.hpp"

namespace polarsketch::curve {

namespace {

using console::fmt_fixed;
using console::fmt_int;
using detail::frame_line;
using detail::menu_line;

// The levels in hand while sclevel2 works on them.
struct Levels {
  float plevi;
  float plevf;
  float plevd;
  std::int32_t nlev;
  std::int32_t itype;
};

std::string real_field(float v) { return fmt_fixed(v, 8, 3); }
std::string int_field(std::int32_t v) { return fmt_int(v, 4); }

void bounds_lines(report::Message& msg, const Levels& l) {
  frame_line(msg, " initial             =", real_field(l.plevi));
  frame_line(msg, " final               =", real_field(l.plevf));
  frame_line(msg, " increment           =", real_field(l.plevd));
}

// Derives the increment or the number of levels from the others, repeating
// after each correction until the levels are consistent.
void make_consistent(Levels& l) {
  for (;;) {
    if (l.itype == 0 || l.itype == 1) {
      if (l.nlev > 1) {
        l.plevd = (l.plevf - l.plevi) / static_cast<float>(l.nlev - 1);
      } else if (l.nlev == 1) {
        l.plevd = 1.0f;
      } else {
        report::Message msg = report::error("sclevel2");
        frame_line(msg, "Computing increment from nb of curves");
        frame_line(msg, " Calculation type =", int_field(l.itype));
        frame_line(msg, " nb of curves =", int_field(l.nlev));
        frame_line(msg, "==> NEED nb > 0");
        l.nlev = 1;
        frame_line(msg, "==> RESET nb =", int_field(l.nlev));
        report::report(msg);
        continue;
      }
      return;
    }
    if (l.itype == 2 || l.itype == 3) {
      const bool towards =
          (l.plevi <= l.plevf && l.plevd > 0.0f) || (l.plevi > l.plevf && l.plevd < 0.0f);
      if (!towards) {
        report::Message msg = report::error("sclevel2");
        frame_line(msg, "Levels computed from increment:");
        frame_line(msg, " Calculation type    =", int_field(l.itype));
        bounds_lines(msg, l);
        frame_line(msg, "==> INCONSISTENT LOOP");
        frame_line(msg, "==> NEED TO CORRECT IT");
        frame_line(msg, "==> SETTING SINGLE LEVEL");
        l.nlev = 1;
        l.itype = 1;
        frame_line(msg, " Nb of levels        =", int_field(l.nlev));
        frame_line(msg, " Calculation type    =", int_field(l.itype));
        report::report(msg);
        continue;
      }
      l.nlev = detail::count_from((l.plevf - l.plevi) / l.plevd + detail::kCountMargin);
      // A single level has no interval to refit: the increment stays as given.
      if (l.nlev > 1) {
        const float r = ((l.plevf - l.plevi) - l.plevd * static_cast<float>(l.nlev - 1)) / l.plevd;
        if (r > detail::kRemainderIgnored) {
          const bool report = r > detail::kRemainderReported;
          report::Message msg = report::warning("sclevel2");
          if (report) {
            frame_line(msg, "Levels computed from increment:");
            frame_line(msg, " Calculation type    =", int_field(l.itype));
            frame_line(msg, " nb of levels        =", int_field(l.nlev));
            bounds_lines(msg, l);
            frame_line(msg, " remainder/increment =", real_field(r));
            frame_line(msg, "==> large remainder");
          }
          if (l.itype == 2) {
            l.plevd = (l.plevf - l.plevi) / static_cast<float>(l.nlev - 1);
            if (report) {
              frame_line(msg, "==> RECOMPUTED:");
              frame_line(msg, " increment =", real_field(l.plevd));
              report::report(msg);
            }
          } else if (report) {
            frame_line(msg, "==> final level not reached");
            report::report(msg);
          }
        }
      }
      return;
    }
    // Type 4: a single level.
    if (l.nlev != 1) {
      report::Message msg = report::warning("sclevel2");
      frame_line(msg, "Single level:");
      frame_line(msg, " Calculation type    =", int_field(l.itype));
      frame_line(msg, " nb of levels        =", int_field(l.nlev));
      bounds_lines(msg, l);
      l.nlev = 1;
      frame_line(msg, "==> RESETTING:");
      frame_line(msg, " Nb of levels        =", int_field(l.nlev));
      report::report(msg);
    }
    return;
  }
}

void show_menu(const Levels& l, const std::string& name) {
  console::submenuhead("sclevel2");
  menu_line(console::kRuleHyphen);
  menu_line("         CURVES LEVEL PARAMETER");
  menu_line(console::kRuleHyphen);
  menu_line("level name       :", name);
  menu_line("Calculation type =", int_field(l.itype));
  menu_line("level initial value ...........10", real_field(l.plevi));
  menu_line("level final   value ...........11", real_field(l.plevf));
  menu_line("level increment ...............12", real_field(l.plevd));
  menu_line("modify init, final & inc ......13");
  menu_line("nb of level curves ............14", int_field(l.nlev));
  menu_line("modify init, final & nb .......15");
  menu_line("single level value ............20", real_field(l.plevi));
  detail::menu_exit();
}

// The level menu: returns when the user leaves it with 99.
void level_menu(Levels& l, const std::string& name) {
  for (;;) {
    show_menu(l, name);
    const std::int32_t ichoice = detail::menu_choice();
    if (ichoice == 99) return;
    std::int32_t ierr = 0;
    if (ichoice == 20) {
      console::inrealdef(l.plevi, "single level value", l.plevi, ierr);
      l.nlev = 1;
      l.plevf = l.plevi;
      l.plevd = 1.0f;
      l.itype = 4;
      continue;
    }
    if (ichoice == 10 || ichoice == 13 || ichoice == 15) {
      console::inrealdef(l.plevi, "level initial value", l.plevi, ierr);
    }
    if (ichoice == 11 || ichoice == 13 || ichoice == 15) {
      console::inrealdef(l.plevf, "level final value", l.plevf, ierr);
    }
    if (ichoice == 12 || ichoice == 13) {
      l.itype = 2;
      for (;;) {
        console::inrealdef(l.plevd, "level increment value >0<", l.plevd, ierr);
        if (l.plevd != 0.0f) break;
        report::Message msg = report::warning("sclevel2");
        frame_line(msg, "Increment =", real_field(l.plevd));
        frame_line(msg, "Increment MUST be non zero");
        frame_line(msg, "==> BACK TO QUERY");
        report::report(msg);
      }
    }
    if (ichoice == 14 || ichoice == 15) {
      l.itype = 1;
      for (;;) {
        console::inintegdef(l.nlev, "nb of level curves", l.nlev, ierr);
        if (l.nlev > 0) break;
        report::Message msg = report::warning("sclevel2");
        frame_line(msg, "Nb of level curves =", int_field(l.nlev));
        frame_line(msg, "MUST BE > 0");
        frame_line(msg, "==> BACK TO QUERY");
        report::report(msg);
      }
    }
    make_consistent(l);
  }
}

// A level value with 3 decimals in at most 9 characters.
std::string level_text(float v) {
  std::string chr(9, ' ');
  std::int32_t nchar = 0;
  console::real2charf1(chr, nchar, 3, 9, v);
  return chr.substr(0, static_cast<std::size_t>(nchar));
}

}  // namespace

void sclevel2(float& plevia, float& plevfa, float& plevda, std::int32_t& nleva,
              std::int32_t& inctypea, std::string& plevnamea, std::int32_t inter) {
  Levels l{plevia, plevfa, plevda, nleva, inctypea};
  if (inter == 2 || inter == 3) {
    l = {plevblock.plevi, plevblock.plevf, plevblock.plevd, plevblock.nlev, inctypea};
    plevnamea = fit_text(plevblock.plevname.view(), plevnamea.size());
  } else if (inter == 4 || inter == 5) {
    l = {0.0f, 1.0f, 0.1f, 11, 1};
    plevnamea = fit_text("level", plevnamea.size());
  }

  if (l.itype < 0 || l.itype > 4) {
    report::Message msg = report::warning("sclevel2");
    frame_line(msg, "Calculation type =", int_field(l.itype));
    frame_line(msg, "==> Unknown");
    frame_line(msg, "==> RESETTING TYPE TO USE INCREMENT");
    l.itype = 2;
    frame_line(msg, "Calculation type =", int_field(l.itype));
    report::report(msg);
  }

  make_consistent(l);
  if (inter % 2 == 0) level_menu(l, plevnamea);

  plevblock.plevi = l.plevi;
  plevblock.plevf = l.plevf;
  plevblock.plevd = l.plevd;
  plevblock.plevname = plevnamea;
  plevblock.nlev = l.nlev;
  plevblock.plevvalue = " init = " + level_text(l.plevi) + " final = " + level_text(l.plevf) +
                        " inc = " + level_text(l.plevd);
  plevblock.plevinfo = std::string(console::textlen_trim(plevnamea)) + plevblock.plevvalue.str();

  plevia = l.plevi;
  plevfa = l.plevf;
  plevda = l.plevd;
  nleva = l.nlev;
  inctypea = l.itype;
}

}  // namespace polarsketch::curve
