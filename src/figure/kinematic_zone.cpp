// Layer: the critical zone of the slope kinematics, lightly shaded under the
// nets and the data.
#include "figure/layers.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"

namespace polarsketch::figure {

void draw_kinematic_zone(const Page& page, Sheet&) {
  if (!page.kinematics || page.kinematics->construction.zone.empty() || !fills_have_colours(page))
    return;
  std::vector<float> xu, yu;
  for (const analysis::Vector3& v : page.kinematics->construction.zone) {
    float x = 0.0f, y = 0.0f;
    projected(analysis::trend_plunge(v), page.hemisphere, x, y);
    xu.push_back(x);
    yu.push_back(y);
  }
  std::vector<float> xd(xu.size()), yd(yu.size());
  plot::us2de(xd.data(), yd.data(), xu.data(), yu.data(), static_cast<std::int32_t>(xu.size()));
  plot::slinewidth(kFillEdgeWidth, 1);
  use_color(kLightGrey);
  fill_device(xd, yd);
  use_color(kBlack);
  plot::slinewidth(kDataLineWidth, 1);
}

}  // namespace polarsketch::figure
