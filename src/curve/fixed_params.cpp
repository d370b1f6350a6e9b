// Fixed curve parameters: how many are in use, and the setter of one of them
// with its menu and the values that follow from its type.
#include "curve/fixed_params.hpp"

#include <cstdint>
#include <string>

#include "console/fields.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/prompts.hpp"
#include "curve/dialog.hpp"
#include "math/saturate.hpp"

namespace polarsketch::curve {

namespace {

// A line on the error output (inside a frame, or after a range check's frame).
void frame_line(std::string_view text) { console::put_line(console::iocom.itoer, text); }
void frame_line(std::string_view label, std::string_view value) {
  frame_line(std::string(label) + " " + std::string(value));
}

using console::fmt_fixed;
using console::fmt_int;
using detail::menu_line;

constexpr std::int32_t kTypeMin = 0;
constexpr std::int32_t kTypeMax = 3;

// The routine name used in the fixed-parameter frames and range checks.
constexpr std::string_view kFixName = "scparfix";

// One fixed parameter in hand while scparfix1 works on it.
struct FixedParam {
  std::string& name;
  std::int32_t& itype;
  float& value;
  std::int32_t& ivalue;
  std::string& text;
  std::string info;  // built in 20 characters
};

void set_info(FixedParam& p) {
  std::string info(console::textlen_trim(p.name));
  if (p.itype != 0) info += " = " + std::string(console::textlen_trim(p.text));
  p.info = fit_text(info, 20);
}

// The real, integer and text values and the summary that follow from the type.
void derive(FixedParam& p) {
  switch (p.itype) {
    case 0:
      p.value = 0.0f;
      p.ivalue = 0;
      p.text = fit_text("---", p.text.size());
      break;
    case 1: {
      p.ivalue = math::trunc_to_int(p.value);
      std::string chr(9, ' ');
      console::caream(chr, 9, p.value);
      p.text = fit_text(chr, p.text.size());
      break;
    }
    case 2: {
      p.value = static_cast<float>(p.ivalue);
      std::string chr(9, ' ');
      std::int32_t nt = 0;
      console::carinm2(chr, nt, 9, p.ivalue);
      p.text = fit_text(chr.substr(0, static_cast<std::size_t>(nt)), p.text.size());
      break;
    }
    default:
      p.value = 0.0f;
      p.ivalue = 0;
      break;
  }
  set_info(p);
}

// Warning frame of the fixed-parameter setter, closed by its own tail.
void refuse(std::int32_t inter, std::initializer_list<std::string> lines) {
  console::warninghead(kFixName);
  for (const auto& line : lines) frame_line(line);
  console::warningtail0(inter);
}

void show_param_menu(const FixedParam& p, std::int32_t ifix1) {
  console::submenuhead(kFixName);
  menu_line(console::kRuleHyphen);
  menu_line("          CURVES FIXED PARAMETERS");
  menu_line(console::kRuleHyphen);
  menu_line("max nb of fixed params .........", fmt_int(kMaxFixedParams, 6));
  menu_line("current nb of fixed params .....", fmt_int(pfixblock.nparfix, 6));
  menu_line(console::kRuleHyphen);
  menu_line("Parameter to modify");
  menu_line(console::kRuleHyphen);
  menu_line("index  ..........................", fmt_int(ifix1, 6));
  menu_line("name ..........................10", p.name);
  menu_line("type ..........................20", fmt_int(p.itype, 6));
  // The value line of the parameter's own type carries its command number.
  menu_line(
      p.itype == 1 ? "real      value ...............30" : "real      value .................",
      fmt_fixed(p.value, 8, 3));
  menu_line(
      p.itype == 2 ? "integer   value ...............40" : "integer   value .................",
      fmt_int(p.ivalue, 6));
  menu_line(
      p.itype == 3 ? "character value ...............50" : "character value .................",
      p.text);
  menu_line("info:", p.info);
  detail::menu_exit();
}

void ask_type(FixedParam& p) {
  menu_line("----------------------------");
  menu_line("Parameter type:");
  menu_line("----------------------------");
  menu_line("name only - no value ......0");
  menu_line("real.......................1");
  menu_line("integer....................2");
  menu_line("character..................3");
  menu_line("----------------------------");
  std::int32_t ierr = 0;
  console::inintegvindef(p.itype, "your choice", p.itype, kTypeMin, kTypeMax, ierr);
}

// The parameter menu: returns when the user leaves it with 99.
void param_menu(FixedParam& p, std::int32_t ifix1, std::int32_t inter) {
  for (;;) {
    show_param_menu(p, ifix1);
    std::int32_t ichoice = 99;
    std::int32_t ierr = 0;
    console::inintegdef(ichoice, "your choice", 99, ierr);
    if (ichoice == 99) return;
    switch (ichoice) {
      case 10: {
        const std::string current = p.name;
        console::inchardef(p.name, "parameter name", current, ierr);
        if (p.itype == 0) {
          p.value = 0.0f;
          p.text = fit_text("---", p.text.size());
        }
        set_info(p);
        break;
      }
      case 20:
        ask_type(p);
        break;
      case 30:
      case 40:
      case 50: {
        const std::int32_t wanted = ichoice / 10 - 2;
        if (p.itype != wanted) {
          refuse(inter, {"Wrong type of parameter", "=====> NO ACTION"});
          break;
        }
        const std::string question = p.name;
        if (wanted == 1) {
          console::inrealdef(p.value, question, p.value, ierr);
        } else if (wanted == 2) {
          console::inintegdef(p.ivalue, question, p.ivalue, ierr);
        } else {
          const std::string current = p.text;
          console::inchardef(p.text, question, current, ierr);
        }
        derive(p);
        break;
      }
      default:
        break;
    }
  }
}

// Checks the parameter number against the number in use; false when no
// parameter is in use (the call is refused).
bool check_number(std::int32_t& ifix1, std::int32_t inter) {
  if (pfixblock.nparfix < 1) {
    refuse(inter, {"nparfix = " + fmt_int(pfixblock.nparfix, 6), "need to set nparfix > 1 first",
                   "=====> NO ACTION"});
    return false;
  }
  std::int32_t ierr = 0;
  console::cinvin(ifix1, 1, pfixblock.nparfix, kFixName, "ifix1", ierr);
  if (ierr != 0) {
    ifix1 = pfixblock.nparfix;
    frame_line("  ===> reset ifix1 =", fmt_int(ifix1, 6));
  }
  return true;
}

}  // namespace

void scparfixnb(std::int32_t& nparfixa, std::int32_t inter) {
  if (inter == 2 || inter == 3) {
    nparfixa = pfixblock.nparfix;
  } else if (inter == 4 || inter == 5) {
    nparfixa = 0;
  }
  std::int32_t ierr = 0;
  console::cinvin(nparfixa, 0, kMaxFixedParams, "scparfixnb", "nparfixa", ierr);
  if (ierr != 0) {
    nparfixa = kMaxFixedParams;
    frame_line("  ===> reset nparfixa =", fmt_int(nparfixa, 6));
  }
  if (inter % 2 == 0) {
    for (;;) {
      console::submenuhead("scparfixnb");
      menu_line(console::kRuleHyphen);
      menu_line("          CURVES FIXED PARAMETERS");
      menu_line(console::kRuleHyphen);
      menu_line("max nb of fixed params ..........", fmt_int(kMaxFixedParams, 6));
      menu_line("current nb of fixed params ....10", fmt_int(nparfixa, 6));
      detail::menu_exit();
      const std::int32_t ichoice = detail::menu_choice();
      if (ichoice == 99) break;
      if (ichoice == 10) {
        console::inintegvindef(nparfixa, "nb of fixed parameters", nparfixa, 1, kMaxFixedParams,
                               ierr);
      }
    }
  }
  pfixblock.nparfix = nparfixa;
}

void scparfix1(std::string& pfixnamea, std::int32_t& ipfixtypea, float& pfixa, std::int32_t& ipfixa,
               std::string& pfixvaluea, std::int32_t& ifix1, std::int32_t inter) {
  const bool load = inter == 2 || inter == 3;
  // A stored parameter is loaded only once its number is known to be in use,
  // so no slot outside the record is ever read.
  if (load) {
    if (!check_number(ifix1, inter)) return;
    pfixnamea = fit_text(pfixblock.pfixname(ifix1).view(), pfixnamea.size());
    ipfixtypea = pfixblock.ipfixtype(ifix1);
    pfixa = pfixblock.pfix(ifix1);
    ipfixa = pfixblock.ipfix(ifix1);
    pfixvaluea = fit_text(pfixblock.pfixvalue(ifix1).view(), pfixvaluea.size());
  } else if (inter == 4 || inter == 5) {
    pfixnamea = fit_text("parameter", pfixnamea.size());
    ipfixtypea = 1;
    pfixa = 0.0f;
  }

  std::int32_t ierr = 0;
  console::cinvin(ipfixtypea, kTypeMin, kTypeMax, kFixName, "ipfixtypea", ierr);
  if (ierr != 0) {
    ipfixtypea = 0;
    frame_line("  ===> reset ipfixtypea =", fmt_int(ipfixtypea, 6));
  }
  if (!load && !check_number(ifix1, inter)) return;

  FixedParam p{pfixnamea, ipfixtypea, pfixa, ipfixa, pfixvaluea, {}};
  derive(p);
  if (inter % 2 == 0) param_menu(p, ifix1, inter);

  pfixblock.pfixname(ifix1) = pfixnamea;
  pfixblock.ipfixtype(ifix1) = ipfixtypea;
  pfixblock.pfix(ifix1) = pfixa;
  pfixblock.ipfix(ifix1) = ipfixa;
  pfixblock.pfixvalue(ifix1) = pfixvaluea;
  pfixblock.pfixinfo(ifix1) = p.info;
}

}  // namespace polarsketch::curve
