// The drawing operators of the PostScript driver: paths, polygons, text, the
// text font, line width and text height, and the device scaling.
#include "postscript/operators.hpp"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "math/saturate.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "report/report.hpp"

namespace polarsketch::postscript {
namespace {

using console::iocom;
using console::put_line;
using plot::plt1blk;
using plot::plt2blk;

// Radians per degree, the same single-precision value as the angle tables'.
constexpr float kRadPerDeg = (2.0f * 1.5707964f) / 180.0f;

std::string name11(std::string_view routine) { return fit_text(routine, 11); }

void limit_frame(std::string_view routine, char axis, float given, std::string_view bound,
                 float reset) {
  report::Message msg = report::warning(name11(routine));
  const std::string a(1, axis);
  msg.lines.emplace_back(a + " in meters = " + console::fmt_general(pica2m * given, 10, 3));
  msg.lines.emplace_back("==> reset to " + a + std::string(bound) + " = " +
                         console::fmt_general(pica2m * reset, 10, 3));
  report::report(msg);
}

// Keeps a device coordinate within +-kDeviceLimit; NaN becomes 0. Each change
// is reported in a warning frame named for the calling routine.
inline void clamp_coordinate(float& v, char axis, std::string_view routine) {
  if (v > kDeviceLimit) {
    limit_frame(routine, axis, v, "max", kDeviceLimit);
    v = kDeviceLimit;
  } else if (v < -kDeviceLimit) {
    limit_frame(routine, axis, v, "min", -kDeviceLimit);
    v = -kDeviceLimit;
  } else if (std::isnan(v)) {
    limit_frame(routine, axis, v, "", 0.0f);
    v = 0.0f;
  }
}

// "x y <op>" on a line of its own.
inline void point_line(float x, float y, std::string_view op) { writer().point_line(x, y, op); }

std::string_view without_trailing_blanks(std::string_view s) {
  std::size_t e = s.size();
  while (e > 0 && s[e - 1] == ' ') --e;
  return s.substr(0, e);
}

// The text written: trimmed for a negative alignment code, else the whole field.
std::string_view text_extent(std::string_view text) {
  if (plt2blk.itxtjust >= 0) return text;
  return console::textlen_trim(text);
}

// A number for the plot file that keeps at least one blank before it, so
// neighbouring numbers never fuse.
std::string separated_fixed(float v, int w, int d) {
  std::string s = plot_fixed(v, w, d);
  if (s.empty() || s[0] != ' ') s.insert(s.begin(), ' ');
  return s;
}

std::string_view font_name() {
  const std::int32_t f = (psparams.ipsfont >= 1 && psparams.ipsfont <= 16) ? psparams.ipsfont : 1;
  return without_trailing_blanks(psparams.fonts(f).view());
}

float finite_angle() { return std::isfinite(plt2blk.txtangle) ? plt2blk.txtangle : 0.0f; }

void detext_postscript(float& x, float& y, std::string_view text) {
  PlotWriter& w = writer();
  const DialectOps& ops = dialect_ops(psparams.ips);
  const std::int32_t justify = std::abs(plt2blk.itxtjust);
  const std::string_view shown = text_extent(text);
  const float angle = finite_angle();

  const std::int32_t v = justify / 4;
  if (v == 0) {
    psmoveto(x, y, 0);
  } else {
    const float theta = angle * kRadPerDeg;
    const float d = psparams.pstxtheight * 0.5f * static_cast<float>(v);
    float xm = x + std::sin(theta) * d;
    float ym = y - std::cos(theta) * d;
    psmoveto(xm, ym, 0);
  }
  if (angle != 0.0f) w.line(plot_fixed(angle, 7, 2) + " rotate");

  w.put_int(math::trunc_to_int(psparams.pstxtheight))
      .put(' ')
      .put(font_name())
      .put(' ')
      .put(ops.select_font)
      .end_line();
  psrgbcolor(3);

  const std::int32_t h = justify % 4;
  if (h <= 1) {
    w.put_string(shown).put(" show").end_line();
  } else {
    w.put_string(shown).end_line();
    w.put(ops.text_width)
        .put(' ')
        .put(console::fmt_int(h - 4, 2))
        .put(' ')
        .put(ops.text_shift)
        .end_line();
    w.line("show");
  }
  if (angle != 0.0f) w.line(plot_fixed(-angle, 7, 2) + " rotate");
}

void detext_illustrator(float& x, float& y, std::string_view text) {
  PlotWriter& w = writer();
  const std::int32_t justify = std::abs(plt2blk.itxtjust);
  const std::string_view shown = text_extent(text);
  psstrokepath();

  std::int32_t align = 0;
  if (justify == 2 || justify == 6 || justify == 10) align = 1;
  if (justify == 3 || justify == 7 || justify == 11) align = 2;
  clamp_coordinate(x, 'x', "detext2");
  clamp_coordinate(y, 'y', "detext2");

  const float theta = finite_angle() * kRadPerDeg;
  const float c = std::cos(theta);
  const float s = std::sin(theta);
  w.put("/_")
      .put(font_name())
      .put(' ')
      .put_int(math::trunc_to_int(psparams.pstxtheight))
      .put(' ')
      .put_real2(1.64f * psparams.pstxtheight)
      .put(" 0")
      .put(plot_int(align, 2))
      .put(" z [")
      .put(separated_fixed(c, 7, 3))
      .put(separated_fixed(s, 7, 3))
      .put(separated_fixed(-s, 7, 3))
      .put(separated_fixed(c, 7, 3))
      .put(separated_fixed(x, 8, 1))
      .put(separated_fixed(y, 8, 1))
      .put("]e")
      .end_line();
  w.put_string(shown).put("t T").end_line();
}

}  // namespace

void psmoveto(float& x1, float& y1, std::int32_t kpen) {
  if (!writer().is_open()) return;
  clamp_coordinate(x1, 'x', "psmoveto");
  clamp_coordinate(y1, 'y', "psmoveto");
  psstrokepath();
  const DialectOps& ops = dialect_ops(psparams.ips);
  if (kpen == 0) {
    point_line(x1, y1, ops.move);
  } else if (kpen == 1) {
    if (!ops.begin_path.empty()) writer().line(ops.begin_path);
    point_line(x1, y1, ops.move);
    psparams.lopenpath = true;
  }
}

void pslineto(float* x1, float* y1, std::int32_t np) {
  if (!writer().is_open()) return;
  if (!psparams.lopenpath) {
    report::Message msg = report::warning("pslineto");
    msg.lines.emplace_back("Path begins with Draw instead of Move");
    report::report(msg);
    psparams.lopenpath = true;
  }
  const std::string_view op = dialect_ops(psparams.ips).line;
  PlotWriter& w = writer();
  for (std::int32_t i = 0; i < np; ++i) {
    clamp_coordinate(x1[i], 'x', "pslineto");
    clamp_coordinate(y1[i], 'y', "pslineto");
    w.point_line(x1[i], y1[i], op);
  }
}

void deline(float* xdev, float* ydev, std::int32_t np) {
  if (!writer().is_open() || np < 1) return;
  psmoveto(xdev[0], ydev[0], 1);
  if (np == 1) {
    pslineto(xdev, ydev, 1);
  } else {
    pslineto(xdev + 1, ydev + 1, np - 1);
  }
  psstrokepath();
}

void depolygon(float* x, float* y, std::int32_t n) {
  if (!writer().is_open() || n < 1) return;
  PlotWriter& w = writer();
  const DialectOps& ops = dialect_ops(psparams.ips);
  psmoveto(x[0], y[0], 1);
  pslineto(x + 1, y + 1, n - 1);
  const bool filled = plt2blk.ifillstyle != 0;
  if (psparams.ips == 3) {
    w.line(filled ? ops.close_filled : ops.close_hollow);
    psparams.lopenpath = false;
    return;
  }
  if (!filled) {
    w.line(ops.close_hollow);
    psstrokepath();
    return;
  }
  w.line(ops.close_filled);
  // The fill sits inside a save and restore of the graphics state, so the
  // current colour is unchanged afterwards.
  const std::int32_t slot = plt2blk.ifillcolor;
  if (plt2blk.loncolor && slot >= 0 && slot <= plot::kMaxColorSlot) {
    w.line(
        colour_text(plt2blk.red(slot), plt2blk.green(slot), plt2blk.blue(slot), ops.fill_rgb_end));
  } else {
    w.line(console::fmt_fixed(0.5f, 6, 3) + " " + std::string(ops.fill_gray_end));
  }
  psstrokepath();
}

void detext2(float& x, float& y, std::string_view text) {
  if (!writer().is_open()) return;
  if (psparams.ips == 3) {
    detext_illustrator(x, y, text);
  } else {
    detext_postscript(x, y, text);
  }
}

void stextfont(std::int32_t& ifonta, std::int32_t inter) {
  const std::int32_t o = iocom.ito;
  if (inter == 2 || inter == 3) ifonta = plt2blk.itxtfont;
  if (inter == 4 || inter == 5) {
    ifonta = 1;
    if (inter == 5) {
      console::submenuhead(name11("stextfont"));
      put_line(o, "INITIALISING TEXT FONT TO: 1 = Helvetica");
    }
  }
  if (inter == 0 || inter == 2 || inter == 4) {
    static constexpr std::array<std::string_view, 16> kChoices{
        "Helvetica..................1", "Helvetica-Bold.............2",
        "Helvetica-Oblique..........3", "Helvetica-BoldOblique......4",
        "Times-Roman................5", "Times-Bold.................6",
        "Times-Italic...............7", "Times-BoldItalic...........8",
        "Courier....................9", "Courier-Bold..............10",
        "Courier-Oblique...........11", "Courier-BoldOblique.......12",
        "Symbol....................13", "Symbol-Bold...............14",
        "Symbol-Oblique............15", "Symbol-BoldOblique........16"};
    console::submenuhead(name11("stextfont"));
    put_line(o, console::kRuleHyphen);
    put_line(o, "         TEXT FONT");
    put_line(o, console::kRuleHyphen);
    put_line(o, "present value..............  " + console::fmt_int(ifonta, 6));
    for (std::string_view c : kChoices) put_line(o, c);
    console::menutail();
    std::int32_t ierr = 0;
    console::inintegvindef(ifonta, "your choice", ifonta, 1, 16, ierr);
  }
  const bool bad_font = ifonta < 1 || ifonta > 16;
  if (inter < 0 || inter > 5 || bad_font) {
    console::warninghead(name11("stextfont"));
    if (bad_font) {
      put_line(o, "font number = " + console::fmt_int(ifonta, 6));
    } else {
      put_line(o, "inter = " + console::fmt_int(inter, 6));
    }
    put_line(o, "===> NO ACTION");
    console::warningtail00();
    return;
  }
  plt2blk.itxtfont = ifonta;
  psparams.ipsfont = ifonta;
  psstrokepath();
}

void intslinewidth(float size) {
  if (!writer().is_open() || !std::isfinite(size)) return;
  psstrokepath();
  writer().put_real2(size).put(' ').put(dialect_ops(psparams.ips).linewidth).end_line();
}

void intstextsize(float sizecma) { psparams.pstxtheight = plt1blk.rcmtode * sizecma; }

void scm2de() {
  for (std::int32_t s = 1; s <= plot::kMaxSubplot; ++s) {
    plt1blk.cm0tode(1, s) = 0.0f;
    plt1blk.cm0tode(2, s) = 0.0f;
  }
  plt1blk.rcmtode = 28.35f;
  plt1blk.cmtode(1, 1) = 28.35f;
  plt1blk.cmtode(2, 2) = 28.35f;
  plt1blk.cmtode(1, 2) = 0.0f;
  plt1blk.cmtode(2, 1) = 0.0f;
}

}  // namespace polarsketch::postscript
