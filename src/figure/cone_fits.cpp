// Layer: each set's fitted cone (plot --cone-fit), the small circle of its
// half-angle about its axis and the axis as an open circle, in the set's colour.
#include "figure/layers.hpp"
#include "plot/coords.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kAxisSymbol = 0.4f;           // cm
constexpr std::int32_t kAxisSymbolType = 1;  // open circle

}  // namespace

void draw_cone_fits(const Page& page, Sheet&) {
  const Hemisphere h = page.hemisphere;
  for (std::size_t i = 0; i < page.cones.size(); ++i) {
    if (!page.cones[i]) continue;
    const analysis::ConeFit& c = *page.cones[i];
    use_color(set_style(i).color);
    // Each run of the circle drawn at its points' lower ends: a cone across
    // the primitive shows both of its nappes' lower halves.
    const data::Vector3 axis = data::to_vector(data::Line{c.axis.trend, c.axis.plunge});
    for (const std::vector<analysis::Vector3>& run : analysis::cone_runs(axis, c.half_angle)) {
      std::vector<float> x, y;
      for (const analysis::Vector3& v : run) {
        const data::Line l = data::to_line(v);
        float px = 0.0f, py = 0.0f;
        projected({l.trend, l.plunge}, h, px, py);
        x.push_back(px);
        y.push_back(py);
      }
      plot::usline(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
    }
    const float az = radians(analysis::turned(c.axis.trend, h)), pl = radians(c.axis.plunge);
    plot::ssymbolsize(kAxisSymbol, 1);
    stereonet::dspaxbk.iaxtyp1 = kAxisSymbolType;
    stereonet::dspaxfapn(&az, &pl, 1);
  }
  use_color(kBlack);
}

}  // namespace polarsketch::figure
