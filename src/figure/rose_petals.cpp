// Layer: the petals, a filled sector per bin out to the bin's radius under
// the scale; axial roses draw each bin and its opposite.
#include "figure/layers.hpp"
#include "figure/rose_shapes.hpp"
#include "plot/line_fill.hpp"

namespace polarsketch::figure {
namespace {

constexpr std::int32_t kPetalFill = 9;  // Grey30 of the default table

}  // namespace

void draw_rose_petals(const RosePage& page, const RoseSheet& sheet) {
  const analysis::Rose& rose = page.rose;
  const bool axial = rose.symmetry == analysis::RoseSymmetry::axial;
  plot::slinewidth(kDataLineWidth, 1);
  for (const analysis::RoseBin& b : rose.bins) {
    if (b.count == 0) continue;
    const double radius = rose_radius(bin_percent(b, rose), sheet.rings, page.scale);
    for (const double turn : {0.0, 180.0}) {
      if (turn > 0 && !axial) break;
      UserPath petal = sector(b.start + turn, b.start + turn + rose.width, radius);
      if (fills_have_colours(page.dialect)) {
        use_color(kPetalFill);
        fill_path(petal);
      }
      use_color(kBlack);
      petal.x.push_back(0.0f);
      petal.y.push_back(0.0f);
      draw_path(petal);
    }
  }
}

}  // namespace polarsketch::figure
