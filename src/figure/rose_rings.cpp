// Layer: the rose's rings, light grey circles every ring step under the
// petals (their labels are the frame's).
#include <cmath>

#include "figure/layers.hpp"
#include "figure/rose_shapes.hpp"
#include "plot/line_fill.hpp"

namespace polarsketch::figure {

void draw_rose_rings(const RosePage& page, const RoseSheet& sheet) {
  use_color(kLightGrey);
  plot::slinewidth(0.015f, 1);
  const RoseRings& r = sheet.rings;
  for (double p = r.step; p < r.outer * (1 - 1e-9); p += r.step)
    draw_path(arc(0, 360, rose_radius(p, r, page.scale)));
  // The cross of the four quarters.
  for (const double a : {0.0, 90.0}) {
    UserPath line;
    line.add(a, 1);
    line.add(a + 180, 1);
    draw_path(line);
  }
  use_color(kBlack);
  plot::slinewidth(kDataLineWidth, 1);
}

}  // namespace polarsketch::figure
