// Layer: the standard and polar nets, in light grey under the data.
#include "stereonet/nets.hpp"

#include "figure/layers.hpp"
#include "plot/line_fill.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kNetLineWidth = 0.015f;  // cm

}  // namespace

void draw_nets(const Page& page, Sheet&) {
  if (page.net_step == 0 && page.polar_net_step == 0) return;
  use_color(kLightGrey);
  plot::slinewidth(kNetLineWidth, 1);
  if (page.net_step > 0) {
    stereonet::standard_net_great_circles(page.net_step, 2);
    stereonet::standard_net_small_circles(page.net_step, 2);
  }
  if (page.polar_net_step > 0) {
    stereonet::polar_net_planes(page.polar_net_step);
    stereonet::polar_net_cones(page.polar_net_step);
  }
  plot::slinewidth(kDataLineWidth, 1);
}

}  // namespace polarsketch::figure
