// The running point's setters and the end check that completes the increment
// or the number of points before a curve is drawn.
#include "curve/running_point.hpp"

#include <cstdint>
#include <string>

#include "console/fields.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "curve/dialog.hpp"
#include "curve/fixed_params.hpp"
#include "plot/figures.hpp"

namespace polarsketch::curve {

namespace {

using console::fmt_fixed;
using console::fmt_int;
using console::iocom;
using console::put_line;
using detail::frame_line;
using detail::menu_choice;
using detail::menu_exit;
using detail::menu_line;

constexpr std::string_view kTitleUpper = "RUNNING POINT PARAMETERS:                  ";
constexpr std::string_view kTitleLower = "RUNNING POINT parameters :                 ";
static_assert(kTitleUpper.size() == 43 && kTitleLower.size() == 43);

// Rule, title and rule that open every running point menu.
void menu_title(std::string_view title) {
  put_line(iocom.ito, console::kRuleHyphen);
  put_line(iocom.ito, title);
  put_line(iocom.ito, console::kRuleHyphen);
}

std::string caream9(float x) {
  std::string t(9, ' ');
  console::caream(t, 9, x);
  return t;
}

// An arc's angles stepped by the running point: the count and the ends set
// silently (a count outside the buffer is corrected with its warning), the
// increment computed from the count, and the angle advanced by adding the
// increment at each step, so the record ends as after any drawing loop.
void arc_steps(std::int32_t count, float first, float last, std::vector<float>& angles) {
  scptnp(count, 1);
  scptif(first, last, 1);
  scptend(101, 1);
  ptblock.pt = ptblock.pti - ptblock.ptd;
  for (ptblock.ip = 1; ptblock.ip <= ptblock.np; ++ptblock.ip) {
    ptblock.pt = ptblock.pt + ptblock.ptd;
    angles.push_back(ptblock.pt);
  }
}

// The plot library's arcs and circles are stepped by the running point.
[[maybe_unused]] const bool arcs_use_the_running_point = (plot::set_arc_steps(&arc_steps), true);

}  // namespace

void scptnp(std::int32_t& npa, std::int32_t inter) {
  if (inter == 2 || inter == 3) {
    npa = ptblock.np;
  } else if (inter == 4 || inter == 5) {
    npa = 11;
    console::submenuhead("scptnp");
    put_line(iocom.ito, "INITIALIZING NUMBER OF POINTS TO: " + fmt_int(npa, 7));
  }
  if (inter % 2 == 0) {
    for (;;) {
      console::submenuhead("scptnp");
      menu_title(kTitleUpper);
      menu_line("max nb of points ................", fmt_int(kMaxPoints, 7));
      menu_line("nb of points ..................10", fmt_int(npa, 7));
      menu_line("nb of segments ..................",
                fmt_int(static_cast<std::int64_t>(npa) - 1, 7));
      menu_exit();
      const std::int32_t ichoice = menu_choice();
      if (ichoice == 99) break;
      if (ichoice == 10) {
        std::int32_t ierr = 0;
        console::inintegvindef(npa, "nb of pts per curve", npa, 1, kMaxPoints, ierr);
      }
    }
  }
  if (npa > kMaxPoints) {
    report::Message msg = report::warning("scptnp");
    frame_line(msg, "nb of points = " + fmt_int(npa, 7) +
                        " > plot buffer size = " + fmt_int(kMaxPoints, 7));
    npa = kMaxPoints;
    frame_line(msg, "===> reset nb of points =", fmt_int(npa, 7));
    frame_line(msg, "===> WILL NOT PLOT ALL THE DATA");
    report::report(msg);
  } else if (npa == 1 && inter != 6 && inter != 7) {
    report::Message msg = report::warning("scptnp");
    frame_line(msg, "nb of points =", fmt_int(npa, 7));
    frame_line(msg, "===> WILL PLOT ONLY ONE POINT");
    report::report(msg);
  } else if (npa <= 0) {
    report::Message msg = report::error("scptnp");
    frame_line(msg, "nb of points np =", fmt_int(npa, 7));
    frame_line(msg, "===> UPSTREAM PROBLEM ?");
    frame_line(msg, "Increment inconsistent with bounds ?");
    npa = 1;
    frame_line(msg, "===> RESETTING np =", fmt_int(npa, 7));
    report::report(msg);
  }
  ptblock.np = npa;
}

void scptif(float& ptia, float& ptfa, std::int32_t intera) {
  if (intera == 2 || intera == 3) {
    ptia = ptblock.pti;
    ptfa = ptblock.ptf;
  } else if (intera == 4 || intera == 5) {
    ptia = 0.0f;
    ptfa = 1.0f;
  }
  if (intera % 2 == 0) {
    for (;;) {
      console::submenuhead("scptif");
      menu_title(kTitleLower);
      menu_line("initial value .................10", fmt_fixed(ptia, 8, 3));
      menu_line("final   value .................11", fmt_fixed(ptfa, 8, 3));
      menu_exit();
      const std::int32_t ichoice = menu_choice();
      if (ichoice == 99) break;
      std::int32_t ierr = 0;
      if (ichoice == 10) console::inrealdef(ptia, "initial value", ptia, ierr);
      if (ichoice == 11) console::inrealdef(ptfa, "final value", ptfa, ierr);
    }
  }
  ptblock.pti = ptia;
  ptblock.ptf = ptfa;
}

void scptend(std::int32_t inctypea, std::int32_t intera) {
  const bool lupdateinfo = inctypea < 100;
  std::int32_t inctype1 = lupdateinfo ? inctypea : inctypea - 100;
  const bool dialog = intera % 2 == 0;
  if (dialog) scall(0);

  Ptblock& b = ptblock;
  for (;;) {
    if (inctype1 == 0 || inctype1 == 1) {
      b.rnp = static_cast<float>(b.np);
      b.rni = b.rnp - 1.0f;
      if (b.np > 1) {
        b.ptd = (b.ptf - b.pti) / b.rni;
      } else if (b.np == 1) {
        b.ptd = 0.0f;
      } else {
        report::Message msg = report::error("scptend");
        frame_line(msg, "Calculation type =", fmt_int(inctype1, 6));
        frame_line(msg, "Computing increment from np =", fmt_int(b.np, 6));
        frame_line(msg, "==> NEED TO SET np > 0");
        report::report(msg);
        scall(0);
        continue;
      }
      break;
    }
    if (inctype1 == 2 || inctype1 == 3) {
      const bool consistent = (b.ptf >= b.pti && b.ptd > 0.0f) || (b.pti > b.ptf && b.ptd < 0.0f);
      if (!consistent) {
        report::Message msg = report::error("scptend");
        frame_line(msg, "Calculation type =", fmt_int(inctype1, 6));
        frame_line(msg, "Computing np from td with:");
        frame_line(msg, "  pti =", fmt_fixed(b.pti, 8, 3));
        frame_line(msg, "  ptf =", fmt_fixed(b.ptf, 8, 3));
        frame_line(msg, "  ptd =", fmt_fixed(b.ptd, 8, 3));
        frame_line(msg, "==> INCONSISTENT LOOP");
        frame_line(msg, "==> NEED TO CORRECT IT");
        report::report(msg);
        scall(0);
        continue;
      }
      std::int32_t count = detail::count_from((b.ptf - b.pti) / b.ptd + detail::kCountMargin);
      scptnp(count, dialog ? 0 : 1);
      b.rnp = static_cast<float>(b.np);
      b.rni = b.rnp - 1.0f;
      const std::int32_t intervals = count - 1;
      const float r1 = ((b.ptf - b.pti) - b.ptd * static_cast<float>(intervals)) / b.ptd;
      if (r1 > detail::kRemainderIgnored) {
        const bool report = r1 > detail::kRemainderReported;
        report::Message msg = report::warning("scptend");
        if (report) {
          frame_line(msg, "Calculation type =", fmt_int(inctype1, 6));
          frame_line(msg, "np computed from td with:");
          frame_line(msg, " mp  =", fmt_int(kMaxPoints, 6));
          frame_line(msg, " np  =", fmt_int(b.np, 6));
          frame_line(msg, " pti =", fmt_fixed(b.pti, 8, 3));
          frame_line(msg, " ptf =", fmt_fixed(b.ptf, 8, 3));
          frame_line(msg, " ptd =", fmt_fixed(b.ptd, 8, 3));
          frame_line(msg, " remainder/ptd =", fmt_fixed(r1, 8, 3));
          frame_line(msg, "==> large remainder");
        }
        if (inctype1 == 2) {
          b.ptd = intervals == 0 ? 0.0f : (b.ptf - b.pti) / b.rni;
          if (report) {
            frame_line(msg, "RECOMPUTED VALUE:");
            frame_line(msg, " ptd =", fmt_fixed(b.ptd, 8, 3));
            report::report(msg);
          }
        } else if (report) {
          frame_line(msg, "==> final point is not reached");
          report::report(msg);
        }
      }
      break;
    }
    report::Message msg = report::warning("scptend");
    frame_line(msg, "Calculation type =", fmt_int(inctype1, 6));
    frame_line(msg, "==> Unknown");
    frame_line(msg, "==> RESETTING TYPE TO USE NP");
    inctype1 = 1;
    frame_line(msg, "Calculation type =", fmt_int(inctype1, 6));
    report::report(msg);
  }

  if (lupdateinfo) {
    b.ptvalue =
        " init = " + caream9(b.pti) + " final = " + caream9(b.ptf) + " inc = " + caream9(b.ptd);
    b.ptinfo = std::string(console::textlen_trim(b.ptname.view())) + b.ptvalue.str();
  }
}

void scptnam(std::string& ptnamea, std::int32_t inter) {
  if (inter == 2 || inter == 3) {
    ptnamea = fit_text(ptblock.ptname.view(), ptnamea.size());
  } else if (inter == 4 || inter == 5) {
    ptnamea = fit_text("Point.parameter", ptnamea.size());
  }
  if (inter % 2 == 0) {
    for (;;) {
      console::submenuhead("scptnam");
      menu_title(kTitleLower);
      menu_line("name ..........................10", ptnamea);
      menu_exit();
      const std::int32_t ichoice = menu_choice();
      if (ichoice == 99) break;
      if (ichoice == 10) {
        std::int32_t ierr = 0;
        const std::string current = ptnamea;
        console::inchardef(ptnamea, "running point parameter name", current, ierr);
      }
    }
  }
  ptblock.ptname = ptnamea;
  console::subtail("scptnam");
}

void scptd(float& ptda, std::int32_t intera) {
  if (intera == 2 || intera == 3) {
    ptda = ptblock.ptd;
  } else if (intera == 4 || intera == 5) {
    ptda = 0.1f;
  }
  if (intera % 2 == 0) {
    for (;;) {
      console::submenuhead("scptd");
      menu_title(kTitleLower);
      menu_line("increment .....................10", fmt_fixed(ptda, 8, 3));
      menu_exit();
      const std::int32_t ichoice = menu_choice();
      if (ichoice == 99) break;
      if (ichoice == 10) {
        std::int32_t ierr = 0;
        console::inrealdef(ptda, "increment", ptda, ierr);
      }
    }
  }
  ptblock.ptd = ptda;
}

}  // namespace polarsketch::curve
