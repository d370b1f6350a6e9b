// Layer: the page's heading (plot --title), centred above the net and above
// every legend that stands over it.
#include <algorithm>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kHeadingText = 0.5f;  // cm
constexpr float kGap = 0.9f;  // cm from the highest legend row (or the caption) to the heading

}  // namespace

void draw_heading(const Page& page, Sheet& sheet) {
  if (page.heading.empty()) return;
  const NetPlacement& net = sheet.net;
  // The caption's row, and above it the rows over the net's left (density
  // on a portrait page, faults) and right (statistics key on a portrait page).
  const bool portrait = page.paper == Paper::portrait;
  const float left = (portrait ? 0.5f * static_cast<float>(density_legend_rows(page)) : 0.0f) +
                     fault_legend_height(page);
  const float right =
      portrait ? 0.5f * static_cast<float>(statistics_key_rows(sheet.statistics_drawn)) : 0.0f;
  const float y = net.y_cm + net.radius_cm + kAboveNet + std::max(left, right) + kGap;
  use_color(kBlack);
  plot::stextsize(kHeadingText, 1);
  plot::stextalign(-6, 1);  // centred, middle of the height
  plot::cmtext2(net.x_cm, y, page.heading);
}

}  // namespace polarsketch::figure
