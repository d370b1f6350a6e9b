// The main program: start-up, the main menu, the command loop in its four
// stages (settings, plot file, quitting, drawing) and the goodbye.
#include "app/main_program.hpp"

#include <cstddef>
#include <string>
#include <string_view>

#include "app/draw_stage.hpp"
#include "app/plot_stage.hpp"
#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/runinfo.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/colortable.hpp"
#include "plot/coords.hpp"
#include "plot/open_close.hpp"
#include "render/seam.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/frame.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::app {

namespace {

using console::fmt_fixed;
using console::fmt_int;
using console::fmt_logical;
using console::iocom;
using console::put_line;

// Values in the menu: reals in 8.2, integers in 5 columns, logicals as T/F.
std::string real_value(float v) { return " " + fmt_fixed(v, 8, 2); }
std::string int_value(std::int32_t v) { return " " + fmt_int(v, 5); }
std::string logical_value(bool v) { return " " + fmt_logical(v, 1); }

void say(std::string_view text) { put_line(iocom.ito, text); }

// Command 11: the table of plot size types, then the choice.
void choose_plot_size(MainParams& p) {
  std::int32_t ierr = 0;
  say(console::kRuleHyphen);
  say("Change plot size type for...Command");
  for (std::int32_t t = 1; t <= npltsize; ++t) {
    say(console::fmt_text(p.cpltsize(t).view(), 16) + " ................" + fmt_int(t, 2));
  }
  say(console::kRuleHyphen);
  console::inintegvindef(p.ipltsize, "command", p.ipltsize, 1, npltsize, ierr);
}

// Command 18: the whole next line becomes the plot file name.
void read_plot_file_name(MainParams& p) {
  say("enter plot file name (character*10)");
  std::string line;
  console::read_line(iocom.iti, line);
  p.pfnam = line;
}

// The user-to-centimetre map of each plot size type: the net's centre at
// 10.5 cm, 12 cm and its radius (the primitive circle has radius 1 user unit).
struct PlotSizeMap {
  float xp0, yp0, xx, xy, yx, yy;
};
constexpr PlotSizeMap kPlotSizeMaps[npltsize] = {
    {10.5f, 12.0f, 8.0f, 0.0f, 0.0f, 8.0f},  // Adjustable scale
    {10.5f, 12.0f, 3.0f, 0.0f, 0.0f, 3.0f},  // Fsa small stereo
    {10.5f, 12.0f, 7.0f, 0.0f, 0.0f, 7.0f},  // Fsa large stereo
};

// Command 13: lets the user rescale plot size type 1 (subplot 1), then
// returns to the subplot of the current type.
void rescale_type_1(MainParams& p) {
  std::int32_t isa = 1;
  plot::ssubplot(isa, 1);
  float r1 = 0.0f, r2 = 0.0f, r3 = 0.0f, r4 = 0.0f, r5 = 0.0f, r6 = 0.0f;
  plot::sus2cm1(r1, r2, r3, r4, r5, r6, 2);
  plot::ssubplot(p.ipltsize, 1);
}

// The projections by number, as the projection menu names them.
std::string projection_name(std::int32_t iproj) {
  switch (iproj) {
    case 1:
      return "Wulff, direct X,Y axis";
    case 2:
      return "Wulff, retrograde X,Y axis";
    case 3:
      return "Schmidt, direct X,Y axis";
    case 4:
      return "Schmidt, retrograde X,Y axis";
    default:
      return "";
  }
}

// Command 30. The frame of an open page was drawn in the projection of its
// preparation; when the projection changes under it, what is drawn next no
// longer matches that frame, so the user is told and shown the way to a new
// page.
void choose_projection() {
  const std::int32_t old_proj = stereonet::sprojtype.iproj;
  std::int32_t iproja = 0;
  stereonet::sspro(iproja, 2);
  const std::int32_t new_proj = stereonet::sprojtype.iproj;
  if (!iocom.lop || new_proj == old_proj) return;
  const int u = iocom.itoer;
  console::warninghead(kProgname, kVersion, kDate);
  put_line(u, "old projection = " + fmt_int(old_proj, 4) + " " + projection_name(old_proj));
  put_line(u, "new projection = " + fmt_int(new_proj, 4) + " " + projection_name(new_proj));
  put_line(u, "THE FRAME OF THE CURRENT PAGE SHOWS");
  put_line(u, "THE OLD PROJECTION");
  put_line(u, "===> COMMAND 19 STARTS A PAGE WITH THE NEW FRAME");
  console::warningtail00();
}

// A drawing command given as the answer to the quit confirmation finds the
// plot closed (the quit closed it); it is opened and prepared first, as the
// plot-file stage does for any drawing command, so the drawing is not lost.
void open_for_quit_answer(std::int32_t irep, MainParams& p) {
  if (!iocom.lop && irep >= 100 && irep <= 603) {
    plot::plinit(p.pfnam, 2);
    prepare_plot(p);
  }
}

}  // namespace

void startup(MainParams& p) {
  std::int32_t i1 = 0;
  std::int32_t i2 = 0;
  console::initsio();
  console::progheadbc(kProgname, kVersion, kDate);
  console::smaininfo(kProgname, kVersion, kDate, 0);
  math::trigoset();
  stereonet::sspro(i1, 5);
  stereonet::srepstereo0(5);
  plot::scolortable(5);
  for (std::int32_t type = 1; type <= npltsize; ++type) {
    PlotSizeMap m = kPlotSizeMaps[static_cast<std::size_t>(type - 1)];
    std::int32_t isa = type;
    plot::ssubplot(isa, 1);
    plot::sus2cm1(m.xp0, m.yp0, m.xx, m.xy, m.yx, m.yy, 1);
  }
  stereonet::sdspaxsymb(i1, i2, 5);
  stereonet::sdspgc(i1, 5);
  // The parameters, the plot file name and the plot size types take their
  // start values.
  p = MainParams{};
}

void print_main_menu(const MainParams& p) {
  const auto rule = console::kRuleHyphen;
  console::submenuhead(kProgname, kVersion, kDate);
  say(rule);
  say("PLOT PARAMS");
  say(rule);
  say("plot size = " + p.cpltsize(p.ipltsize).str());
  say("open plot file ............10");
  say("Modify scale and layout ...11");
  if (p.ipltsize == 1) say("Adjust scaling ............13");
  say("plot file name ............18 " + p.pfnam.str());
  say("new page ..................19");
  say("close file = end plot .....20");
  say("set projection ............30");
  say("set axis symbol ...........40");
  say("draw frame ................41" + logical_value(p.ldrwframe));
  say("set great circle nb pts....42");
  say(rule);
  say("PARAMETERS");
  say(rule);
  say("SINGLE ORIENTATION:");
  say(" azimuth ..................60" + real_value(p.az));
  say(" dip or plunge ............61" + real_value(p.dip));
  say(" rake .....................62" + real_value(p.rake));
  say("SMALL CIRCLE:");
  say(" 1/2 angle ................63" + real_value(p.scang));
  say(" arc angle 1 ..............64" + real_value(p.ang01));
  say(" arc angle 2 ..............64" + real_value(p.ang02));
  say("STEREONET:");
  say(" great circle increment ...70" + int_value(p.idg));
  say(" great circle dip 1 .......71" + real_value(p.d1));
  say(" great circle dip 2 .......71" + real_value(p.d2));
  say(" small circle increment ...80" + int_value(p.ids));
  say(" small circle 1/2 angle 1 .81" + real_value(p.ang1));
  say(" small circle 1/2 angle 2 .81" + real_value(p.ang2));
  say(" full/half sphere (1/2) ...90" + int_value(p.isp));
  say(rule);
  say("DRAW");
  say(rule);
  say("SINGLE ORIENTATION:");
  say(" axis  (az,dip) ..........100");
  say(" plane (az,dip) ..........200");
  say(" slip  (az,dip,rake) .....300");
  say("SMALL CIRCLE:");
  say(" Full ....................400");
  say(" Arc .....................500");
  say("STEREONET:");
  say(" Full standard ...........600");
  say(" Full polar ..............601");
  say(" quadrangle ..............602");
  say(" great circle limited ....603");
  say(rule);
  say("QUIT .....................999");
  say("FAST QUIT ...............9999");
  console::menutail();
}

void settings_stage(std::int32_t irep, MainParams& p) {
  std::int32_t ierr = 0;
  std::int32_t i1 = 0;
  std::int32_t i2 = 0;
  switch (irep) {
    case 11:
      choose_plot_size(p);
      break;
    case 13:
      rescale_type_1(p);
      break;
    case 18:
      read_plot_file_name(p);
      break;
    case 30:
      choose_projection();
      break;
    case 40:
      stereonet::sdspaxsymb(i1, i2, 2);
      break;
    case 41:
      console::inlogicdef(p.ldrwframe, "whether to draw stereo frame", p.ldrwframe, ierr);
      break;
    case 42:
      stereonet::sdspgc(i1, 2);
      break;
    case 60:
      console::inrealdef(p.az, "azimuth in degrees", p.az, ierr);
      break;
    case 61:
      console::inrealdef(p.dip, "dip or plunge in degrees", p.dip, ierr);
      break;
    case 62:
      console::inrealdef(p.rake, "rake in degrees", p.rake, ierr);
      break;
    case 63:
      console::inrealdef(p.scang, "cone half angle in degrees", p.scang, ierr);
      break;
    case 64:
      say("Setting arc of small circle");
      say("initial & final angles from dip");
      say("NB: lower sphere in [90,270]");
      console::inrealdef(p.ang01, "intial angle in degrees", p.ang01, ierr);
      console::inrealdef(p.ang02, "final angle in degrees", p.ang02, ierr);
      break;
    case 70:
      console::inintegdef(p.idg, "great circle increments (deg & integer)", p.idg, ierr);
      break;
    case 71:
      say("Setting bounding great circle");
      say("initial & final dip angles");
      console::inrealdef(p.d1, "1st great circle dip (deg)", p.d1, ierr);
      console::inrealdef(p.d2, "2nd great circle dip (deg)", p.d2, ierr);
      break;
    case 80:
      console::inintegdef(p.ids, "small circle increments (deg & integer)", p.ids, ierr);
      break;
    case 81:
      say("Setting bounding small circle");
      say("initial & final 1/2 angles");
      console::inrealdef(p.ang1, "1st small circle 1/2 angle (deg)", p.ang1, ierr);
      console::inrealdef(p.ang2, "2nd small circle 1/2 angle (deg)", p.ang2, ierr);
      break;
    case 90:
      console::inintegvindef(p.isp, "Full(1) or half sphere(2) (1/2)?", p.isp, 1, 2, ierr);
      break;
    default:
      break;
  }
}

bool quit_stage(std::int32_t& irep) {
  if (irep == 9999) return true;
  if (irep != 999) return false;
  std::int32_t ierr = 0;
  console::inintegdef(irep, "999 to confirm quit", 999, ierr);
  return irep == 999;
}

void goodbye() {
  console::maintail(kProgname, kVersion, kDate);
  say("SEE YOU LATER ...");
  say("              ... NETWRANGLER !");
}

int run_program() {
  try {
    MainParams p;
    startup(p);
    for (;;) {
      print_main_menu(p);
      std::int32_t irep = 0;
      std::int32_t ierr = 0;
      console::ininteg1(irep, "your choice", ierr);
      settings_stage(irep, p);
      plot_stage(irep, p);
      const bool quit_asked = irep == 999;
      if (quit_stage(irep)) break;
      if (quit_asked) open_for_quit_answer(irep, p);
      draw_stage(irep, p);
    }
    goodbye();
    return console::kExitQuit;
  } catch (const console::OrderlyStop& s) {
    // No plot file is left without its trailer.
    try {
      plot::plend_on_stop();
    } catch (const console::OrderlyStop&) {
      // Already stopping: the first status stands.
    }
    return s.status;
  }
}

int run_program(const render::SiblingFormats& also) {
  render::set_sibling_formats(also);
  return run_program();
}

}  // namespace polarsketch::app
