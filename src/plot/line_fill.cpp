// Line and polygon-fill attribute setters.
#include "plot/line_fill.hpp"

#include <string>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "plot/coords.hpp"
#include "plot/dialog_lines.hpp"
#include "plot/records.hpp"
#include "plot/setter.hpp"
#include "render/seam.hpp"
#include "report/report.hpp"

namespace polarsketch::plot {

using console::fmt_fixed;
using console::fmt_int;
using console::iocom;

namespace {

using dialog::err;
using dialog::menu_head;
using dialog::out;
using dialog::rname11;

using setter::shows_dialog;

}  // namespace

void slinecolor(std::int32_t& icolora, std::int32_t inter) {
  setter::set_color_slot(icolora, inter, plt2blk.ilinecolor, "slinecolor",
                         "INITIALISING LINE COLOR TO:", "     LINE COLOR");
}

void sfillcolor(std::int32_t& icolora, std::int32_t inter) {
  setter::set_color_slot(icolora, inter, plt2blk.ifillcolor, "sfillcolor",
                         "INITIALISING FILL COLOR TO:", "     FILL COLOR");
}

void slinewidth(float& thicka, std::int32_t inter) {
  float v = thicka;
  if (inter == 0 || inter == 1) {
    if (!(v > 0.01f) || v > 1000.0f) {
      report::Message msg = report::warning("slinewidth");
      msg.lines.emplace_back("LINE THICKNESS OUT OF RANGE:");
      msg.lines.emplace_back(" line thickness (cm) = " + fmt_fixed(v, 8, 3));
      msg.lines.emplace_back(" min = " + fmt_fixed(0.01f, 8, 3));
      msg.lines.emplace_back(" max = " + fmt_fixed(1000.0f, 8, 3));
      v = 0.02f;
      msg.lines.emplace_back("==> RESET line thickness = " + fmt_fixed(v, 8, 3));
      report::report(msg);
    }
  }
  setter::start_value(v, inter, plt2blk.rlinewidth, 0.02f, "slinewidth",
                      "INITIALISING LINE THICKNESS TO: " + fmt_fixed(0.02f, 8, 3) + " cm");
  if (shows_dialog(inter)) {
    menu_head("slinewidth");
    out(console::kRuleHyphen);
    out("          LINE THICKNESS");
    out(console::kRuleHyphen);
    out("present value in cm .......  " + fmt_fixed(v, 8, 3));
    console::menutail();
    std::int32_t ierr = 0;
    console::inrealvindef(v, "line thickness in cm", v, 0.01f, 1000.0f, ierr);
  }
  if (!setter::keep_value(thicka, v, inter, plt2blk.rlinewidth, "slinewidth")) return;
  float del = 0.0f;
  lengthcm2de(del, v);
  render::set_line_width(del);
}

void slinestyle(std::int32_t /*istylea*/, std::int32_t /*inter*/) {}

void sfillstyle(std::int32_t& istylea, std::int32_t inter) {
  constexpr std::int32_t kMaxStyle = 1;  // 0 hollow, 1 filled
  std::int32_t v = istylea;
  // A value the flag did not choose is brought into range.
  if (!setter::start_value(v, inter, plt2blk.ifillstyle, 1, "sfillstyle",
                           "INITIALISING FILL STYLE TO: filled")) {
    if (v > kMaxStyle) {
      report::Message msg = report::warning("sfillstyle");
      msg.lines.emplace_back("trying to set style nb = " + fmt_int(v, 6));
      msg.lines.emplace_back("max style nb = " + fmt_int(kMaxStyle, 6));
      v = v % (kMaxStyle + 1);
      msg.lines.emplace_back("===> RESET style nb = " + fmt_int(v, 6));
      report::report(msg);
    } else if (v < 0) {
      report::Message msg = report::warning("sfillstyle");
      msg.lines.emplace_back("trying to set nb of style  = " + fmt_int(v, 6));
      msg.lines.emplace_back("min style nb = 0");
      v = 1;
      msg.lines.emplace_back("===> RESET style nb = " + fmt_int(v, 6));
      report::report(msg);
    }
  }
  if (shows_dialog(inter)) {
    menu_head("sfillstyle");
    out(console::kRuleHyphen);
    out("     POLYGON FILL STYLES");
    out(console::kRuleHyphen);
    out("currently stored   : " + fmt_int(plt2blk.ifillstyle, 6));
    out("suggested new value: " + fmt_int(v, 6));
    out("hollow ....................0");
    out("filled ....................1");
    console::menutail();
    std::int32_t ierr = 0;
    console::inintegvindef(v, "your choice", v, 0, kMaxStyle, ierr);
  }
  setter::keep_value(istylea, v, inter, plt2blk.ifillstyle, "sfillstyle");
}

// The forms for values that are not kept work on a copy.
void slinecolor(const std::int32_t& icolora, std::int32_t inter) {
  std::int32_t v = icolora;
  slinecolor(v, inter);
}
void sfillcolor(const std::int32_t& icolora, std::int32_t inter) {
  std::int32_t v = icolora;
  sfillcolor(v, inter);
}
void slinewidth(const float& thicka, std::int32_t inter) {
  float v = thicka;
  slinewidth(v, inter);
}
void sfillstyle(const std::int32_t& istylea, std::int32_t inter) {
  std::int32_t v = istylea;
  sfillstyle(v, inter);
}

}  // namespace polarsketch::plot
