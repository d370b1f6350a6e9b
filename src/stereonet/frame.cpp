// The stereonet frame (primitive circle, diameters, ticks, labels) and the
// frame, label and point-count menus.
#include "stereonet/frame.hpp"

#include <array>
#include <cmath>
#include <string_view>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/figures.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "report/report.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::stereonet {

namespace {

using console::put_line;

// Names the menus show for the six label positions (11 characters each).
constexpr std::array<std::string_view, 6> kPositionNames = {
    "X axis     ", "Y axis     ", "Upper Right", "Lower Right", "Lower Left ", "Upper Left "};

std::string_view position_name(std::int32_t ilab) {
  return kPositionNames.at(static_cast<std::size_t>(ilab - 1));
}

// Where the corner labels 3 to 6 stand (user units) and how they are aligned.
struct CornerLabel {
  float x;
  float y;
  std::int32_t just;
};
constexpr std::array<CornerLabel, 4> kCorners = {
    CornerLabel{0.5f, 1.0f, -5}, CornerLabel{0.5f, -1.0f, -5}, CornerLabel{-0.5f, -1.0f, -7},
    CornerLabel{-0.5f, 1.0f, -7}};

const char* tf(bool v) { return v ? "T" : "F"; }

// Opens one round of a frame menu: the routine's head, then the title
// between dash rules.
void menu_open(std::string_view rname, std::string_view title) {
  const std::int32_t ito = console::iocom.ito;
  console::submenuhead(rname);
  put_line(ito, console::kRuleHyphen);
  put_line(ito, title);
  put_line(ito, console::kRuleHyphen);
}

// Closes the round with a dash rule, the exit line and the menu tail, and
// asks for a choice (99, the exit, by default).
std::int32_t menu_close_and_ask(std::string_view exit_line, std::int32_t& ierr) {
  const std::int32_t ito = console::iocom.ito;
  put_line(ito, console::kRuleHyphen);
  put_line(ito, exit_line);
  console::menutail();
  std::int32_t icom = 99;
  console::inintegdef(icom, "your choice", 99, ierr);
  return icom;
}

// Writes a direction label beside the projected point of azimuth az on the
// horizon: to the right of a point on the +X end, centred above a point on
// the +Y end.
void direction_label(float az, const FixedText<15>& text) {
  const float plunge = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
  spron(&x, &y, &az, &plunge, 1);
  if (x > 0.9f) {
    x = x + 0.1f;
    plot::stextalign(-5, 1);
  } else if (y > 0.9f) {
    y = y + 0.1f;
    plot::stextalign(-2, 1);
  }
  plot::ustext2(x, y, text.view());
}

}  // namespace

void repstereo() {
  auto& f = stefram2;
  float txtangle0 = 0.0f;
  std::int32_t just0 = 0;
  plot::stextangle(txtangle0, 3);
  plot::stextalign(just0, 3);
  plot::stextangle(0.0f, 1);

  plot::uscircle(0.0f, 0.0f, 1.0f, f.nps);

  if (f.laxis) {
    const float x[2] = {-1.0f, 1.0f};
    const float y[2] = {0.0f, 0.0f};
    plot::usline(x, y, 2);
    plot::usline(y, x, 2);
  }

  if (f.ltics) {
    const float r1 = 1.02f;
    const float r2 = 1.08f;
    for (std::int32_t i1 = 0; i1 <= 40; i1 += 10) {
      const float a = math::rad(static_cast<float>(i1));
      float x[2] = {std::cos(a) * r1, std::cos(a) * r2};
      float y[2] = {std::sin(a) * r1, std::sin(a) * r2};
      // Mirroring the two ticks of angle a and 90 - a across the axes gives
      // the ticks of all four quadrants.
      for (int pass = 1; pass <= 4; ++pass) {
        if (pass == 2 || pass == 4) {
          x[0] = -x[0];
          x[1] = -x[1];
        } else if (pass == 3) {
          y[0] = -y[0];
          y[1] = -y[1];
        }
        plot::usline(x, y, 2);
        plot::usline(y, x, 2);
      }
    }
  }

  // The two direction labels are written whatever their drawing flags say.
  direction_label(0.0f, f.label(1));
  direction_label(math::anglerad.pi1o2, f.label(2));

  for (std::int32_t i = 3; i <= 6; ++i) {
    if (!f.llabel(i)) continue;
    const CornerLabel& c = kCorners.at(static_cast<std::size_t>(i - 3));
    plot::stextalign(c.just, 1);
    plot::ustext2(c.x, c.y, f.label(i).view().substr(0, 10));
  }

  plot::stextangle(txtangle0, 1);
  plot::stextalign(just0, 1);
}

void srepstereo0(std::int32_t intera) {
  auto& f = stefram2;
  const std::int32_t ito = console::iocom.ito;
  if (intera == 4 || intera == 5) {
    console::submenuhead("srepstereo0");
    put_line(ito, "INITIALIZING STEREO FRAME");
    f.nps = 200;
    f.laxis = true;
    f.ltics = true;
    f.llabel(1) = true;
    f.llabel(2) = true;
    f.label(1) = "North";
    f.label(2) = "East";
  }
  if (intera >= 4 && intera <= 7) {
    for (std::int32_t i = 3; i <= 6; ++i) {
      f.llabel(i) = false;
      f.label(i) = "None";
    }
  }
  if (intera % 2 != 0) return;

  std::int32_t ierr = 0;
  while (true) {
    menu_open("srepstereo0", "STEREO FRAME PARAMETERS");
    put_line(ito, "position   :     label     :?:command");
    for (std::int32_t i = 1; i <= 6; ++i) {
      std::string line(position_name(i));
      line += ":";
      line += f.label(i).view();
      line += ":";
      line += tf(f.llabel(i));
      line += ":..";
      line += console::fmt_int(i, 1);
      put_line(ito, line);
    }
    put_line(ito, "nb of points to draw ..........10 " + console::fmt_int(f.nps, 7));
    put_line(ito, std::string("draw axis......................20 ") + tf(f.laxis));
    put_line(ito, std::string("draw tics......................30 ") + tf(f.ltics));
    const std::int32_t icom = menu_close_and_ask("EXIT ..........................99", ierr);
    if (icom == 99) break;
    if (icom >= 1 && icom <= 6) {
      std::string labela(15, ' ');
      std::int32_t ion = 0;
      std::int32_t ilab = icom;
      srepstereolabel1(labela, ion, ilab, 2);
    } else if (icom == 10) {
      std::int32_t npsa = f.nps;
      srepstereonp(npsa, 2);
    } else if (icom == 20) {
      console::inlogicdef(f.laxis, "whether to draw axis", f.laxis, ierr);
    } else if (icom == 30) {
      console::inlogicdef(f.ltics, "whether to draw ticks", f.ltics, ierr);
    }
  }
}

void srepstereolabel1(std::string& labela, std::int32_t& ion, std::int32_t& ilab,
                      std::int32_t intera) {
  auto& f = stefram2;
  const std::int32_t ito = console::iocom.ito;
  std::int32_t inter = intera;
  const std::size_t len = labela.size();
  auto set_label_text = [&](std::string_view s) { labela = fit_text(s, len); };

  if (ilab < 1 || ilab > 6) {
    report::Message msg = report::error("srepstereolabel1");
    msg.lines.emplace_back("label number = " + console::fmt_int(ilab, 4));
    msg.lines.emplace_back("label number must be in [1,6]");
    ilab = 6;
    msg.lines.emplace_back("==> label number reset to = " + console::fmt_int(ilab, 4));
    report::report(msg);
    inter = 2;
  }

  if (inter == 2 || inter == 3) {
    set_label_text(f.label(ilab).view());
    ion = f.llabel(ilab) ? 1 : 0;
  } else if (inter == 4 || inter == 5) {
    console::submenuhead("srepstereolabel1");
    put_line(ito, "INITIALIZING STEREO FRAME LABEL");
    if (ilab <= 2) {
      ion = 1;
      set_label_text(ilab == 1 ? "North" : "East");
    } else {
      ion = 0;
      set_label_text("None");
    }
  } else if (ion < 0 || ion > 1) {
    report::Message msg = report::error("srepstereolabel1");
    msg.lines.emplace_back("draw or not (0/1) = " + console::fmt_int(ion, 4));
    msg.lines.emplace_back("should be in [0,1]");
    ion = 0;
    msg.lines.emplace_back("==>reset to = " + console::fmt_int(ion, 4));
    report::report(msg);
    inter = 2;
  }

  if (inter % 2 == 0) {
    std::int32_t ierr = 0;
    while (true) {
      menu_open("srepstereolabel1", "STEREO FRAME LABELS");
      put_line(ito, std::string("label position        : ") + std::string(position_name(ilab)));
      put_line(ito, "label index...........1" + console::fmt_int(ilab, 4));
      put_line(ito, "label text............2 " + labela);
      put_line(ito, "draw label (0/1)......3" + console::fmt_int(ion, 4));
      const std::int32_t icom = menu_close_and_ask("EXIT ................99", ierr);
      if (icom == 99) break;
      if (icom == 1) {
        console::inintegvindef(ilab, "label index", ilab, 1, 6, ierr);
      } else if (icom == 2) {
        console::inchardef(labela, "text to draw", labela, ierr);
      } else if (icom == 3) {
        console::inintegvindef(ion, "whether to draw label (0=no/1=yes)", ion, 0, 1, ierr);
      }
    }
  }

  f.llabel(ilab) = (ion == 1);
  f.label(ilab) = labela;
}

void srepstereonp(std::int32_t& npsa, std::int32_t inter) {
  const std::int32_t ito = console::iocom.ito;
  if (inter == 2 || inter == 3) {
    npsa = stefram2.nps;
  } else if (inter == 4 || inter == 5) {
    console::submenuhead("srepstereonp");
    put_line(ito, "INITIALIZING STEREO FRAME: number of points");
    npsa = 200;
  }
  if (inter % 2 == 0) {
    std::int32_t ierr = 0;
    while (true) {
      menu_open("srepstereonp", "STEREO FRAME NUMBER OF POINT:              ");
      put_line(ito, "nb of points to draw ..........10 " + console::fmt_int(npsa, 5));
      const std::int32_t icom = menu_close_and_ask("EXIT ..........................99", ierr);
      if (icom == 99) break;
      if (icom == 10) {
        console::inintegvindef(npsa, "nb of pts per curve", npsa, 1, 1000, ierr);
      }
    }
  }
  stefram2.nps = npsa;
}

}  // namespace polarsketch::stereonet
