// Subplots and the user / centimetre / device coordinate maps.
#include "plot/coords.hpp"

#include <string>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "math/matrix2.hpp"
#include "math/vectors.hpp"

namespace polarsketch::plot {

namespace {

using console::fmt_fixed;
using console::fmt_int;
using console::put_line;

bool is_even(std::int32_t v) { return v % 2 == 0; }
bool valid_subplot(std::int32_t s) { return s >= 1 && s <= kMaxSubplot; }

// The 2-float column of subplot s in a per-subplot vector, and the 4-float
// column-by-column matrix of subplot s (the layout the matrix routines use).
float* column(Indexed2<float, 1, 2, 1, 35>& v, std::int32_t s) { return &v(1, s); }
float* matrix(Indexed3<float, 1, 2, 1, 2, 1, 35>& m, std::int32_t s) { return &m(1, 1, s); }

// Maps np points by x' = x0 + a11 x + a12 y, y' = y0 + a21 x + a22 y.
struct Affine {
  float x0, y0, a11, a12, a21, a22;
};
void map_points(const Affine& m, float* xout, float* yout, const float* xin, const float* yin,
                std::int32_t np) {
  for (std::int32_t i = 0; i < np; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float x = xin[k];
    const float y = yin[k];
    xout[k] = m.x0 + m.a11 * x + m.a12 * y;
    yout[k] = m.y0 + m.a21 * x + m.a22 * y;
  }
}

constexpr std::string_view kRuleEq = "==========================================";

}  // namespace

void sus2cm1(float& xp0a, float& yp0a, float& xxa, float& xya, float& yxa, float& yya,
             std::int32_t inter) {
  std::int32_t first = plt1blk.isubplot;
  std::int32_t last = plt1blk.isubplot;
  if (inter == 6 || inter == 7) {
    first = 1;
    last = kMaxSubplot;
  }
  if (!valid_subplot(first)) return;  // no subplot chosen yet: nothing to set
  for (std::int32_t i = first; i <= last; ++i) {
    if (inter == 2 || inter == 3) {
      xp0a = plt1blk.us0tocm(1, i);
      yp0a = plt1blk.us0tocm(2, i);
      xxa = plt1blk.ustocm(1, 1, i);
      xya = plt1blk.ustocm(1, 2, i);
      yxa = plt1blk.ustocm(2, 1, i);
      yya = plt1blk.ustocm(2, 2, i);
    } else if (inter >= 4 && inter <= 7) {
      xp0a = 10.0f;
      yp0a = 10.0f;
      xxa = 1.0f;
      xya = 0.0f;
      yxa = 0.0f;
      yya = 1.0f;
    }
    if (is_even(inter)) mus2cm1(xp0a, yp0a, xxa, xya, yxa, yya);
    plt1blk.us0tocm(1, i) = xp0a;
    plt1blk.us0tocm(2, i) = yp0a;
    plt1blk.ustocm(1, 1, i) = xxa;
    plt1blk.ustocm(1, 2, i) = xya;
    plt1blk.ustocm(2, 1, i) = yxa;
    plt1blk.ustocm(2, 2, i) = yya;
    // The device maps exist only while a plot is open.
    if (console::iocom.lop) {
      sus2de();
      scm2us();
    }
  }
}

void mus2cm1(float& xcm0, float& ycm0, float& xx, float& xy, float& yx, float& yy) {
  const auto ito = console::iocom.ito;
  console::submenuhead("mus2cm1    ");
  if (console::iocom.lwito(2)) {
    put_line(ito, kRuleEq);
    put_line(ito, "          CONVERSION SET UP               ");
    put_line(ito, kRuleEq);
    put_line(ito, "|  cm  |                   |user units|");
    put_line(ito, "|  on  | <---------------- |   used   |");
    put_line(ito, "| plot |                   | in calls |");
    put_line(ito, " ");
    put_line(ito, " |xcm|                         |xu|");
    put_line(ito, " |   | <---------------------- |  |");
    put_line(ito, " |ycm|                         |yu|");
    put_line(ito, " ");
    put_line(ito, " |xcm|     |xx   xy|   |xu|   |xcm0|");
    put_line(ito, " |   |  =  |       | * |  | + |    |");
    put_line(ito, " |ycm|     |yx   yy|   |yu|   |ycm0|");
    put_line(ito, kRuleEq);
    put_line(ito, "            Current set up:");
    put_line(ito, kRuleEq);
    put_line(ito, "|xcm|   |" + fmt_fixed(xx, 7, 3) + " " + fmt_fixed(xy, 7, 3) + "|   |xu|   |" +
                      fmt_fixed(xcm0, 7, 3) + "|");
    put_line(ito, "|   | = |               | * |  | + |       |");
    put_line(ito, "|ycm|   |" + fmt_fixed(yx, 7, 3) + " " + fmt_fixed(yy, 7, 3) + "|   |yu|   |" +
                      fmt_fixed(ycm0, 7, 3) + "|");
    put_line(ito, kRuleEq);
  }
  bool lrep = false;
  std::int32_t ierr = 0;
  console::inlogicdef(lrep, "Do you want to alter this", false, ierr);
  if (!lrep) return;
  console::inrealdef(xcm0, "xcm0", xcm0, ierr);
  console::inrealdef(ycm0, "ycm0", ycm0, ierr);
  console::inrealdef(xx, "xx", xx, ierr);
  console::inrealdef(xy, "xy", xy, ierr);
  console::inrealdef(yx, "yx", yx, ierr);
  console::inrealdef(yy, "yy", yy, ierr);
}

void sus2de() {
  const std::int32_t s = plt1blk.isubplot;
  if (!valid_subplot(s)) return;
  float offset[2];
  math::m22x21(offset, &plt1blk.cmtode(1, 1), column(plt1blk.us0tocm, s));
  math::vsum(column(plt1blk.us0tode, s), offset, column(plt1blk.cm0tode, s), 2);
  math::m22x22(matrix(plt1blk.ustode, s), &plt1blk.cmtode(1, 1), matrix(plt1blk.ustocm, s));
}

void scm2us() {
  const std::int32_t s = plt1blk.isubplot;
  if (!valid_subplot(s)) return;
  math::minv2d(matrix(plt1blk.cmtous, s), matrix(plt1blk.ustocm, s));
  float origin[2];
  math::m22x21(origin, matrix(plt1blk.cmtous, s), column(plt1blk.us0tocm, s));
  plt1blk.cm0tous(1, s) = -origin[0];
  plt1blk.cm0tous(2, s) = -origin[1];
}

void us2de(float* xdev, float* ydev, const float* xus, const float* yus, std::int32_t np) {
  const std::int32_t s = plt1blk.isubplot;
  if (!valid_subplot(s)) return;
  const Affine m{plt1blk.us0tode(1, s),   plt1blk.us0tode(2, s),   plt1blk.ustode(1, 1, s),
                 plt1blk.ustode(1, 2, s), plt1blk.ustode(2, 1, s), plt1blk.ustode(2, 2, s)};
  map_points(m, xdev, ydev, xus, yus, np);
}

void cm2de(float* xdev, float* ydev, const float* xcm, const float* ycm, std::int32_t np) {
  const std::int32_t s = plt1blk.isubplot;
  if (!valid_subplot(s)) return;
  const Affine m{plt1blk.cm0tode(1, s), plt1blk.cm0tode(2, s), plt1blk.cmtode(1, 1),
                 plt1blk.cmtode(1, 2),  plt1blk.cmtode(2, 1),  plt1blk.cmtode(2, 2)};
  map_points(m, xdev, ydev, xcm, ycm, np);
}

void lengthcm2de(float& del, float cml) { del = plt1blk.rcmtode * cml; }

void ssubplot(std::int32_t& isa, std::int32_t inter) {
  const auto ito = console::iocom.ito;
  std::int32_t mode = inter;
  for (;;) {
    if (mode == 2 || mode == 3) {
      isa = plt1blk.isubplot;
    } else if (mode >= 4 && mode <= 7) {
      console::submenuhead("ssubplot   ");
      isa = 1;
      put_line(ito, "INITIALISING SUBPLOT = " + fmt_int(isa, 2));
    }
    if (is_even(mode)) {
      console::submenuhead("ssubplot   ");
      put_line(ito, "|             SUBPLOTS              |");
      put_line(ito, "|-----------------------------------|");
      put_line(ito, "|max nb .......... " + fmt_int(kMaxSubplot, 2));
      put_line(ito, "|last used ....... " + fmt_int(plt1blk.isubplot, 2));
      put_line(ito, "|-----------------------------------|");
      put_line(ito, "|      SWITCHING TO SUBPLOT:         ");
      put_line(ito, "|-----------------------------------|");
      put_line(ito, "|number .......... " + fmt_int(isa, 2));
      if (valid_subplot(isa))
        put_line(ito, "|name ............ " + pltcharblk.subplotitle(isa).str());
      console::menutail();
    }
    std::int32_t ierr = 0;
    console::cinvin(isa, 1, kMaxSubplot, "ssubplot", "subplot nb", ierr);
    if (ierr == 0) break;
    mode = 4;  // back to subplot 1
  }
  plt1blk.isubplot = isa;
}

}  // namespace polarsketch::plot
