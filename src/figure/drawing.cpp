// Helpers the layers of a page share.
#include "figure/drawing.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "math/angles.hpp"
#include "plot/colortable.hpp"
#include "plot/line_fill.hpp"
#include "plot/records.hpp"
#include "plot/text_symbol.hpp"
#include "render/seam.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::figure {
namespace {

// Two greys of the default table that no set uses, reloaded in turn with
// each band's shade (a slot that changes makes the driver write the colour
// again) and restored after.
struct RampSlot {
  std::int32_t slot;
  std::string_view name;
  float grey;
};
constexpr RampSlot kRampSlots[2] = {{10, "Grey40", 60.0f}, {11, "Grey50", 50.0f}};

// Band i of n from light (92 % white) to dark (30 %).
float shade(std::size_t band, std::size_t bands) {
  const float t = bands > 1 ? static_cast<float>(band) / static_cast<float>(bands - 1) : 0.5f;
  return 92.0f - 62.0f * t;
}

}  // namespace

NetPlacement net_placement(Paper paper) {
  if (paper == Paper::portrait) return {10.5f, 12.0f, 8.0f};
  return {10.5f, 10.5f, 8.0f};
}

NetPlacement rose_placement(Paper paper) {
  if (paper == Paper::portrait) return {10.5f, 14.5f, 7.0f};
  return {9.0f, 10.5f, 7.5f};  // left of centre: the legend beside it fits a letter page
}

SetStyle set_style(std::size_t index) {
  // Blue, red, green, magenta, cyan, yellow, black, dark grey; filled and
  // hollow shapes alternate so that neighbouring sets differ in both.
  static constexpr std::array<SetStyle, 8> kStyles{{
      {4, -1},
      {2, 3},
      {3, -40},
      {6, 1},
      {5, -3},
      {7, 40},
      {1, -4},
      {12, 14},
  }};
  return kStyles[index % kStyles.size()];
}

float symbol_size_cm(std::size_t symbols, std::optional<double> override_mm) {
  if (override_mm) return static_cast<float>(*override_mm / 10.0);
  const double n = static_cast<double>(std::max<std::size_t>(symbols, 1));
  const double mm = std::clamp(12.0 * std::pow(n, -0.4), 0.2, 2.5);
  return static_cast<float>(mm / 10.0);
}

// A tenth of the symbol, between a line just thicker than the plot
// library's bound (it takes widths above 0.01 cm; one at or below is
// refused with a warning and reset) and the data lines' width.
float symbol_line_width(float symbol_cm) {
  constexpr float kThinnestLine = 0.011f;
  return std::clamp(0.1f * symbol_cm, kThinnestLine, kDataLineWidth);
}

void use_color(std::int32_t slot) {
  plot::slinecolor(slot, 1);
  plot::sfillcolor(slot, 1);
  plot::stextcolor(slot, 1);
}

float radians(double degrees) { return math::rad(static_cast<float>(degrees)); }

bool fills_have_colours(const Page& page) { return fills_have_colours(page.dialect); }
bool fills_have_colours(int dialect) { return dialect != 3; }

void use_band_color(std::optional<std::size_t> band, std::size_t bands, std::size_t turn) {
  if (!band) return use_color(kBackground);
  const float grey = shade(*band, bands);
  const std::int32_t slot = kRampSlots[turn % 2].slot;
  plot::scolorrgb(slot, "Density", grey, grey, grey, 1);
  use_color(slot);
}

void restore_band_slots() {
  for (const RampSlot& r : kRampSlots) plot::scolorrgb(r.slot, r.name, r.grey, r.grey, r.grey, 1);
  use_color(kBlack);
  plot::slinewidth(kDataLineWidth, 1);
}

void fill_device(std::vector<float>& x, std::vector<float>& y) {
  const std::int32_t keep = plot::plt2blk.ifillstyle;
  plot::sfillstyle(1, 1);
  render::draw_polygon(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
  plot::sfillstyle(keep, 1);
}

void projected(const analysis::TrendPlunge& d, Hemisphere h, float& x, float& y) {
  const float az = radians(analysis::turned(d.trend, h)), pl = radians(d.plunge);
  stereonet::spron(&x, &y, &az, &pl, 1);
}

}  // namespace polarsketch::figure
