// Layer: the mean direction, a red line from the centre to the rim (both
// ways for axial data) with its 95 % interval as an arc outside the rim.
#include "figure/layers.hpp"
#include "figure/rose_shapes.hpp"
#include "plot/line_fill.hpp"

namespace polarsketch::figure {
namespace {

constexpr std::int32_t kRed = 2;
constexpr float kMeanWidth = 0.04f;  // cm
constexpr double kIntervalRadius = 1.035;

}  // namespace

void draw_rose_mean(const RosePage& page, const RoseSheet&) {
  const analysis::CircularStatistics& st = page.rose.statistics;
  if (!st.mean) return;
  const bool axial = page.rose.symmetry == analysis::RoseSymmetry::axial;
  use_color(kRed);
  plot::slinewidth(kMeanWidth, 1);
  for (const double turn : {0.0, 180.0}) {
    if (turn > 0 && !axial) break;
    const double mean = *st.mean + turn;
    UserPath line;
    line.add(mean, 0);
    line.add(mean, kIntervalRadius);
    draw_path(line);
    if (st.confidence95)
      draw_path(arc(mean - *st.confidence95, mean + *st.confidence95, kIntervalRadius));
  }
  use_color(kBlack);
  plot::slinewidth(kDataLineWidth, 1);
}

}  // namespace polarsketch::figure
