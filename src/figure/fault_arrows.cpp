// Layer: an arrow per slip of known sense showing the hanging wall's motion,
// at the slip point (Angelier), or at the pole in the trend of the slip
// (Hoeppener) or along the projected tangent of the movement plane
// (tangent-lineation). Slips of unknown sense keep their plain point.
#include <cmath>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kArrowLength = 0.07f;  // user units (0.56 cm)
constexpr float kHeadLength = 0.025f;
constexpr float kHeadAngle = 0.45f;  // radians either side of the shaft

const FaultPlotInfo kFaultPlots[] = {
    {FaultPlot::angelier, "angelier", "the great circle, an arrow at the slip point"},
    {FaultPlot::hoeppener, "hoeppener", "the pole, an arrow in the trend of the slip"},
    {FaultPlot::tangent_lineation, "tangent-lineation",
     "the pole, an arrow along the movement plane toward the slip"},
};

analysis::TrendPlunge lower(const analysis::Vector3& v) { return analysis::trend_plunge(v); }

// The page direction (east, north) of a horizontal azimuth as the
// hemisphere shows it.
void page_direction(double azimuth, Hemisphere h, float& dx, float& dy) {
  const double a = analysis::turned(azimuth, h) * std::acos(-1.0) / 180;
  dx = static_cast<float>(std::sin(a));
  dy = static_cast<float>(std::cos(a));
}

void arrow(float x, float y, float dx, float dy) {
  const float l = std::hypot(dx, dy);
  if (!(l > 0)) return;
  dx /= l, dy /= l;
  const float tx = x + kArrowLength * dx, ty = y + kArrowLength * dy;
  const float shaft_x[2] = {x, tx}, shaft_y[2] = {y, ty};
  plot::usline(shaft_x, shaft_y, 2);
  const float c = std::cos(kHeadAngle), s = std::sin(kHeadAngle);
  const float hx[3] = {tx - kHeadLength * (c * dx - s * dy), tx,
                       tx - kHeadLength * (c * dx + s * dy)};
  const float hy[3] = {ty - kHeadLength * (s * dx + c * dy), ty,
                       ty - kHeadLength * (-s * dx + c * dy)};
  plot::usline(hx, hy, 3);
}

void draw_fault(const analysis::FaultVectors& f, const data::Plane& plane, FaultPlot plot,
                Hemisphere h) {
  float x = 0.0f, y = 0.0f, dx = 0.0f, dy = 0.0f;
  const analysis::Vector3 pole = {-f.normal[0], -f.normal[1], -f.normal[2]};  // points down
  switch (plot) {
    case FaultPlot::angelier:
      projected(lower(f.slip), h, x, y);
      page_direction(analysis::slip_azimuth(f, plane), h, dx, dy);
      break;
    case FaultPlot::hoeppener:
      projected(lower(pole), h, x, y);
      page_direction(analysis::slip_azimuth(f, plane), h, dx, dy);
      break;
    case FaultPlot::tangent_lineation: {
      projected(lower(pole), h, x, y);
      // The projected tangent at the pole of the great circle through the
      // pole and the slip, toward the slip.
      constexpr double kStep = 1e-3;
      analysis::Vector3 q;
      for (std::size_t i = 0; i < 3; ++i) q[i] = pole[i] + kStep * f.slip[i];
      if (q[2] < 0) {  // past the rim: step back instead and turn round
        for (std::size_t i = 0; i < 3; ++i) q[i] = pole[i] - kStep * f.slip[i];
        float qx = 0.0f, qy = 0.0f;
        projected(lower(q), h, qx, qy);
        dx = x - qx, dy = y - qy;
      } else {
        float qx = 0.0f, qy = 0.0f;
        projected(lower(q), h, qx, qy);
        dx = qx - x, dy = qy - y;
      }
      break;
    }
  }
  arrow(x, y, dx, dy);
}

}  // namespace

std::span<const FaultPlotInfo> fault_plots() { return kFaultPlots; }

void draw_fault_arrows(const Page& page, Sheet&) {
  if (page.hide_data) return;
  for (std::size_t i = 0; i < page.sets.size(); ++i) {
    const data::DataSet& set = page.sets[i].data;
    if (set.kind != data::Kind::slips) continue;
    use_color(set_style(i).color);
    for (const data::Slip& s : set.slips)
      if (s.sense_known)
        draw_fault(analysis::fault_vectors(s.plane, s.rake), s.plane, page.faults.plot,
                   page.hemisphere);
  }
  use_color(kBlack);
}

}  // namespace polarsketch::figure
