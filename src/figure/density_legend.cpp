// Layer: the density legend: method, units and levels with a swatch per
// band, next to the net's upper left (portrait) or below the sets' legend
// (landscape).
#include <algorithm>
#include <cstdio>
#include <string>

#include "figure/layers.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kLegendText = 0.35f;      // cm
constexpr float kLegendRow = 0.5f;        // cm
constexpr std::size_t kLegendBands = 12;  // rows of swatches at most

std::string number_text(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

void fill_rectangle_cm(float x, float y, float w, float h) {
  std::vector<float> xc{x, x + w, x + w, x}, yc{y, y, y + h, y + h};
  std::vector<float> xd(4), yd(4);
  plot::cm2de(xd.data(), yd.data(), xc.data(), yc.data(), 4);
  fill_device(xd, yd);
}

}  // namespace

std::size_t density_legend_rows(const Page& page) {
  if (!page.density) return 0;
  return (page.density->pooled.empty() ? 1 : 2) +
         std::max<std::size_t>(std::min(page.density->levels.size(), kLegendBands), 1);
}

void draw_density_legend(const Page& page, Sheet& sheet) {
  if (!page.density) return;
  const DensityLayer& d = *page.density;
  const analysis::DensityOptions& o = d.options;
  const NetPlacement& net = sheet.net;
  const bool portrait = page.paper == Paper::portrait;
  const std::size_t bands = d.levels.size();
  const std::size_t shown = std::min(bands, kLegendBands);
  const float x = portrait ? 1.5f : 21.0f;
  // Portrait: the last row stands just above the net's upper left, level with
  // the caption, and the title above the rows.
  const std::size_t below_title = density_legend_rows(page) - 1;
  float y = portrait ? net.y_cm + net.radius_cm + kAboveNet +
                           kLegendRow * static_cast<float>(below_title)
                     : 19.0f - 0.55f * static_cast<float>(sheet.legend_rows + 1);
  use_color(kBlack);
  plot::stextsize(kLegendText, 1);
  plot::stextalign(-5, 1);
  std::string title = "Density " + std::string(analysis::method_name(o.method));
  // Sigma, the Kamb criterion, sets the counting area of the methods with sigma units.
  if (analysis::has_sigma_units(o.method)) title += ", sigma " + number_text(o.sigma);
  title +=
      ", " + std::string(analysis::units_name(o.units)) + " (n = " + std::to_string(d.points) + ")";
  plot::cmtext2(x, y, d.title.empty() ? title : d.title);
  if (!d.pooled.empty()) {
    y -= kLegendRow;
    plot::cmtext2(x, y, d.pooled);
  }
  if (d.levels.empty()) {
    plot::cmtext2(x, y - kLegendRow, "no level below the peak");
    return;
  }
  for (std::size_t k = 0; k < shown; ++k) {
    // Darkest band first, at the top.
    const std::size_t band = bands - 1 - k;
    y -= kLegendRow;
    if (fills_have_colours(page)) {
      use_band_color(band, bands, k);
      plot::slinewidth(kFillEdgeWidth, 1);
      fill_rectangle_cm(x, y - 0.18f, 0.6f, 0.36f);
    }
    use_color(kBlack);
    const std::string range =
        band + 1 < bands ? number_text(d.levels[band]) + " - " + number_text(d.levels[band + 1])
                         : ">= " + number_text(d.levels[band]);
    plot::cmtext2(x + 0.9f, y, shown < bands && k + 1 == shown ? "... " + range : range);
  }
  restore_band_slots();
}

}  // namespace polarsketch::figure
