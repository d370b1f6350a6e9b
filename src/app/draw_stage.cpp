// The drawing commands of the main menu: one axis, plane, slip, small circle
// or arc, and the four stereonets.
#include "app/draw_stage.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <string_view>

#include "app/params.hpp"
#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "math/saturate.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/nets.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::app {

namespace {

using console::fmt_fixed;
using console::iocom;
using console::put_line;
using math::rad;
using stereonet::for_step;
using stereonet::loop_count;

float deg(std::int32_t v) { return static_cast<float>(v); }

// The most great circles the limited net draws as its loop asks: 27 turns
// at a step of 1 degree.
constexpr std::int64_t kMaxDipLoop = 10000;

// How many great circles of dips a, a+s, ... the limited net draws: the
// loop count, when it is at most kMaxDipLoop. Above that, bounds far apart
// (up to the integer limits) would write the same circles millions of
// times: circles whose dips differ by a whole turn coincide, and the dips
// reach every circle they can within 360 / gcd(s, 360) steps, so that many
// and the closing circle of the turn are drawn, and a warning shows the
// count asked for and the count drawn.
std::int64_t great_circles_to_draw(std::int32_t a, std::int32_t b, std::int32_t s) {
  const std::int64_t asked = loop_count(a, b, s);
  if (asked <= kMaxDipLoop) return asked;
  const std::int64_t step = std::abs(static_cast<std::int64_t>(s));
  const std::int64_t drawn = 360 / std::gcd(step, std::int64_t{360}) + 1;
  const int u = iocom.itoer;
  console::warninghead(kProgname, kVersion, kDate);
  put_line(u, "great circles asked for = " + console::fmt_int(asked, 11));
  put_line(u, "great circles drawn     = " + console::fmt_int(drawn, 11));
  put_line(u, "===> EACH DISTINCT GREAT CIRCLE DRAWN ONCE");
  console::warningtail00();
  return drawn;
}

// A family of circles whose increment is zero has no number of steps: say so
// and draw the others.
bool increment_usable(std::string_view name, std::int32_t step) {
  if (step != 0) return true;
  const int u = iocom.itoer;
  console::warninghead(kProgname, kVersion, kDate);
  put_line(u, std::string(name) + " = " + console::fmt_int(step, 5));
  put_line(u, "===> NO ACTION");
  console::warningtail00();
  return false;
}

void print_value(std::string_view label, float v) {
  put_line(iocom.ito, std::string(label) + " " + fmt_fixed(v, 8, 2));
}

void print_cone(const MainParams& p) {
  print_value("Axis azimuth =", p.az);
  print_value("Axis plunge  =", p.dip);
  print_value("1/2 angle    =", p.scang);
}

void axis_symbol_menu() {
  std::int32_t i1 = 0, i2 = 0;
  stereonet::sdspaxsymb(i1, i2, 2);
}

void plane(float az_rad, float dip_rad) { stereonet::dspgcfadn(&az_rad, &dip_rad, 1); }

// Great circles through the north-south axis and small circles about it.
void standard_net(const MainParams& p) {
  if (increment_usable("great circle increment", p.idg)) {
    stereonet::standard_net_great_circles(p.idg, p.isp);
  }
  if (increment_usable("small circle increment", p.ids)) {
    stereonet::standard_net_small_circles(p.ids, p.isp);
  }
}

// Vertical planes and concentric small circles about the vertical.
void polar_net(const MainParams& p) {
  if (increment_usable("great circle increment", p.idg)) stereonet::polar_net_planes(p.idg);
  if (increment_usable("small circle increment", p.ids)) stereonet::polar_net_cones(p.ids);
}

// The cell between two great circles and two small circles of one family.
void quadrangle(const MainParams& p) {
  plane(rad(p.az), rad(p.d1));
  plane(rad(p.az), rad(p.d2));
  const float t1 = rad(90.0f + p.d1);
  const float t2 = rad(90.0f + p.d2);
  stereonet::dspscafaph(rad(p.az), 0.0f, rad(p.ang1), t1, t2);
  stereonet::dspscafaph(rad(p.az), 0.0f, rad(p.ang2), t1, t2);
}

// Great circles of dips d1..d2 and the small-circle arcs between them.
void limited_net(const MainParams& p) {
  const std::int32_t i1 = math::trunc_to_int(p.d1);
  const std::int32_t i2 = math::trunc_to_int(p.d2);
  if (increment_usable("great circle increment", p.idg)) {
    const std::int64_t count = great_circles_to_draw(i1, i2, p.idg);
    for_step(
        i1, i2, p.idg, [&](std::int32_t i0) { plane(rad(p.az), rad(deg(i0))); }, count);
  }
  if (increment_usable("small circle increment", p.ids)) {
    for (std::int32_t side = 0; side <= 1; ++side) {
      const float axis_az = rad(p.az + 180.0f * deg(side));
      const float t1 = (side == 0) ? rad(90.0f + p.d1) : rad(270.0f - p.d1);
      const float t2 = (side == 0) ? rad(90.0f + p.d2) : rad(270.0f - p.d2);
      for_step(0, 89, p.ids, [&](std::int32_t half) {
        stereonet::dspscafaph(axis_az, 0.0f, rad(deg(half)), t1, t2);
      });
    }
  }
}

}  // namespace

void draw_stage(std::int32_t irep, MainParams& p) {
  switch (irep) {
    case 100: {
      float r1 = rad(p.az);
      float r2 = rad(p.dip);
      axis_symbol_menu();
      stereonet::dspaxfapn(&r1, &r2, 1);
      break;
    }
    case 200:
      plane(rad(p.az), rad(p.dip));
      break;
    case 300: {
      float r1 = rad(p.az);
      float r2 = rad(p.dip);
      float r3 = rad(p.rake);
      axis_symbol_menu();
      stereonet::dspaxfadrn(&r1, &r2, &r3, 1);
      break;
    }
    case 400:
      print_cone(p);
      stereonet::dspscafaph(rad(p.az), rad(p.dip), rad(p.scang), 0.0f, rad(360.0f));
      break;
    case 500:
      print_cone(p);
      print_value("intial angle =", p.ang01);
      print_value("final  angle =", p.ang02);
      put_line(iocom.ito, "N.B: initial & final angles from dip");
      put_line(iocom.ito, "     lower sphere in [90,270]");
      stereonet::dspscafaph(rad(p.az), rad(p.dip), rad(p.scang), rad(p.ang01), rad(p.ang02));
      break;
    case 600:
      standard_net(p);
      break;
    case 601:
      polar_net(p);
      break;
    case 602:
      quadrangle(p);
      break;
    case 603:
      limited_net(p);
      break;
    default:
      break;
  }
}

}  // namespace polarsketch::app
