// Layer: the rose's rim with a tick every 10 degrees, the azimuths every 30
// (North as N) and the rings' labels in percent.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "figure/layers.hpp"
#include "figure/rose_shapes.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kRimWidth = 0.03f;      // cm
constexpr float kFrameText = 0.35f;     // cm
constexpr float kRingText = 0.28f;      // cm
constexpr double kLabelRadius = 1.075;  // the azimuths' labels

std::string percent_text(double p) {
  char text[32];
  std::snprintf(text, sizeof text, "%g %%", p);
  return text;
}

// The alignment that keeps an azimuth's label outside the rim.
std::int32_t outside(double azimuth) {
  const double s = std::sin(azimuth * std::numbers::pi / 180.0);
  const double c = std::cos(azimuth * std::numbers::pi / 180.0);
  if (std::abs(s) < 0.3) return c > 0 ? -2 : -10;  // above: centre bottom; below: centre top
  return s > 0 ? -5 : -7;                          // right: left end; left: right end
}

}  // namespace

void draw_rose_frame(const RosePage& page, const RoseSheet& sheet) {
  use_color(kBlack);
  plot::slinewidth(kRimWidth, 1);
  draw_path(arc(0, 360, 1));
  plot::slinewidth(kDataLineWidth, 1);
  for (int a = 0; a < 360; a += 10) {
    UserPath tick;
    tick.add(a, 1);
    tick.add(a, a % 30 == 0 ? 1.04 : 1.02);
    draw_path(tick);
  }
  plot::stextsize(kFrameText, 1);
  for (int a = 0; a < 360; a += 30) {
    UserPath at;
    at.add(a, kLabelRadius);
    plot::stextalign(outside(a), 1);
    plot::ustext2(at.x[0], at.y[0], a == 0 ? "N" : std::to_string(a));
  }
  // The rings' labels just inside their rings, right of the line North
  // (none for an empty rose).
  if (page.rose.statistics.total_weight <= 0) return;
  const RoseRings& r = sheet.rings;
  plot::stextsize(kRingText, 1);
  plot::stextalign(-9, 1);  // left end, top
  for (double p = r.step; p <= r.outer * (1 + 1e-9); p += r.step) {
    const float y = static_cast<float>(rose_radius(p, r, page.scale)) - 0.008f;
    plot::ustext2(0.012f, y, percent_text(p));
  }
}

}  // namespace polarsketch::figure
