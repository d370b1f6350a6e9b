// The flag warning and the colour-slot dialog shared by the attribute setters.
#include "plot/setter.hpp"

#include <string>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/prompts.hpp"
#include "plot/records.hpp"
#include "report/report.hpp"

namespace polarsketch::plot::setter {

using console::fmt_int;
using dialog::err;
using dialog::menu_head;
using dialog::out;
using dialog::rname11;

void inter_warning(std::string_view rname, std::int32_t inter) {
  report::Message msg = report::warning(rname11(rname));
  msg.lines.emplace_back("inter = " + fmt_int(inter, 6));
  msg.lines.emplace_back("===> NO ACTION");
  report::report(msg);
}

void set_color_slot(std::int32_t& icolora, std::int32_t inter, std::int32_t& member,
                    std::string_view rname, std::string_view initline, std::string_view title) {
  std::int32_t v = icolora;
  start_value(v, inter, member, 1, rname,
              std::string(initline) + " " + pltcharblk.colornam(1).str());

  // Every form re-checks the index against the colours in use, so flag 3
  // brings a stored slot back into range after the table has shrunk.
  const std::int32_t ncolor = plt2blk.ncolor;
  if (v > ncolor) {
    report::Message msg = report::warning(rname11(rname));
    msg.lines.emplace_back("trying to set color nb = " + fmt_int(v, 6));
    msg.lines.emplace_back("when max color nb      = " + fmt_int(ncolor, 6));
    v = v % (ncolor + 1 > 0 ? ncolor + 1 : 1);
    if (v == 0) v = 1;
    msg.lines.emplace_back("===> RESET color nb    = " + fmt_int(v, 6));
    report::report(msg);
  } else if (v < 0) {
    report::Message msg = report::warning(rname11(rname));
    msg.lines.emplace_back("trying to set color nb = " + fmt_int(v, 6));
    msg.lines.emplace_back("when min color nb      = 0");
    v = 1;
    msg.lines.emplace_back("===> RESET color nb    = " + fmt_int(v, 6));
    report::report(msg);
  }

  if (shows_dialog(inter)) {
    menu_head(rname);
    out(console::kRuleHyphen);
    out(title);
    out(console::kRuleHyphen);
    out("current value: " + fmt_int(member, 6));
    out("new     value: " + fmt_int(v, 6));
    for (std::int32_t i = 0; i <= ncolor && i <= kMaxColorSlot; ++i) {
      out(pltcharblk.colornam(i).str() + "................." + fmt_int(i, 3));
    }
    console::menutail();
    std::int32_t ierr = 0;
    console::inintegvindef(v, "your choice", v, 0, ncolor, ierr);
  }

  keep_value(icolora, v, inter, member, rname);
}

}  // namespace polarsketch::plot::setter
