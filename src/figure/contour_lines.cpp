// Layer: the density contour lines on the bands' edges.
#include "figure/layers.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kContourWidth = 0.012f;  // cm

}  // namespace

void draw_contour_lines(const Page& page, Sheet&) {
  if (!page.density) return;
  use_color(kBlack);
  plot::slinewidth(kContourWidth, 1);
  std::vector<float> x, y;
  for (const analysis::ContourLine& level : page.density->contours.lines)
    for (const analysis::Polyline& line : level.lines) {
      x.clear();
      y.clear();
      for (const analysis::Point2& p : line) {
        const analysis::Point2 seen = analysis::turned(p, page.hemisphere);
        x.push_back(static_cast<float>(seen.x));
        y.push_back(static_cast<float>(seen.y));
      }
      plot::usline(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
    }
  plot::slinewidth(kDataLineWidth, 1);
}

}  // namespace polarsketch::figure
