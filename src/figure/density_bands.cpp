// Layer: the density bands, filled light to dark under everything else.
#include "figure/layers.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"

namespace polarsketch::figure {
namespace {

void fill_ring(const analysis::Polyline& ring, Hemisphere h) {
  std::vector<float> xu, yu;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {  // the closing point left out
    const analysis::Point2 p = analysis::turned(ring[i], h);
    xu.push_back(static_cast<float>(p.x));
    yu.push_back(static_cast<float>(p.y));
  }
  std::vector<float> xd(xu.size()), yd(yu.size());
  plot::us2de(xd.data(), yd.data(), xu.data(), yu.data(), static_cast<std::int32_t>(xu.size()));
  fill_device(xd, yd);
}

}  // namespace

void draw_density_bands(const Page& page, Sheet&) {
  if (!page.density || !fills_have_colours(page)) return;
  const DensityLayer& d = *page.density;
  plot::slinewidth(kFillEdgeWidth, 1);
  std::size_t turn = 0;
  for (const analysis::FillRing& f : d.contours.fills) {
    use_band_color(f.band, d.levels.size(), turn++);
    fill_ring(f.ring, page.hemisphere);
  }
  restore_band_slots();
}

}  // namespace polarsketch::figure
