// Layer: the stereonet's frame (primitive, ticks, North) over the data. A net
// centred off the vertical has no horizon for azimuth ticks: its frame is the
// primitive, a cross at the centre (the view direction) and a mark where
// north falls.
#include "stereonet/frame.hpp"

#include <cmath>

#include "figure/layers.hpp"
#include "plot/figures.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

// The North and East labels' height, cm: the legend's, whatever the layers
// below left set, so that every page's labels match.
constexpr float kDirectionText = 0.35f;

constexpr float kCross = 0.02f;      // half the centre cross and the north mark, user units
constexpr float kRimTick = 1.02f;    // a mark on the primitive: a tick from here
constexpr float kRimTickEnd = 1.08f; // to here, its letter beyond
constexpr float kRimLetter = 1.14f;

void cross(float x, float y) {
  const float across[2] = {x - kCross, x + kCross}, level[2] = {y, y};
  const float upright[2] = {x, x}, up[2] = {y - kCross, y + kCross};
  plot::usline(across, level, 2);
  plot::usline(upright, up, 2);
}

// "N" at the projected north (or "S" at south when north is on the far
// side): on the primitive a tick outside it with the letter beyond,
// inside the net a small cross with the letter to its right.
void draw_north(const analysis::NorthMark& mark, Hemisphere h) {
  float x = 0.0f, y = 0.0f;
  projected(mark.at, h, x, y);
  const char* letter = mark.far_side ? "S" : "N";
  const float r = std::hypot(x, y);
  if (mark.at.plunge < 0.5 && r > 0.0f) {
    const float ux = x / r, uy = y / r;
    const float xs[2] = {ux * kRimTick, ux * kRimTickEnd}, ys[2] = {uy * kRimTick, uy * kRimTickEnd};
    plot::usline(xs, ys, 2);
    plot::stextalign(-6, 1);  // the middle of the text
    plot::ustext2(ux * kRimLetter, uy * kRimLetter, letter);
  } else {
    // The cross turned 45 degrees, unlike the centre's.
    const float a[2] = {x - kCross, x + kCross}, b[2] = {y - kCross, y + kCross},
                c[2] = {y + kCross, y - kCross};
    plot::usline(a, b, 2);
    plot::usline(a, c, 2);
    plot::stextalign(-5, 1);  // left end, middle of the height
    plot::ustext2(x + 2 * kCross, y, letter);
  }
}

}  // namespace

void draw_frame(const Page& page, Sheet&) {
  use_color(kBlack);
  const std::optional<analysis::Matrix3> view =
      page.view ? analysis::view_rotation(*page.view) : std::nullopt;
  plot::stextsize(kDirectionText, 1);
  if (!view) return stereonet::repstereo();
  plot::uscircle(0.0f, 0.0f, 1.0f, stereonet::stefram2.nps);
  cross(0.0f, 0.0f);
  draw_north(analysis::north_mark(*view, page.hemisphere), page.hemisphere);
}

}  // namespace polarsketch::figure
