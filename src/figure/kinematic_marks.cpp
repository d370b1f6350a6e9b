// Layer: the slope kinematics' construction lines (the face, friction cone or
// plane, daylight envelope or limit, lateral limits), the intersection lines
// judged, the critical poles or lines highlighted, and a legend line with the
// count and percentage.
#include "figure/layers.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

constexpr std::int32_t kRed = 2;             // colour slot of the default table
constexpr float kConstructionWidth = 0.03f;  // cm
constexpr float kLineSymbol = 0.12f;         // intersection lines, cm
constexpr float kCriticalSymbol = 0.22f;     // critical items, cm
constexpr std::int32_t kFilledCircle = -1;
constexpr float kLegendText = 0.35f;  // cm

void draw_curve(const std::vector<analysis::Vector3>& points, Hemisphere h) {
  std::vector<float> x, y;
  for (const analysis::Vector3& v : points) {
    float px = 0.0f, py = 0.0f;
    projected(analysis::trend_plunge(v), h, px, py);
    x.push_back(px);
    y.push_back(py);
  }
  if (x.size() >= 2) plot::usline(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
}

void draw_points(const std::vector<analysis::Vector3>& points, std::int32_t symbol, float size,
                 Hemisphere h) {
  std::vector<float> az, pl;
  for (const analysis::Vector3& v : points) {
    const analysis::TrendPlunge t = analysis::trend_plunge(v);
    az.push_back(radians(analysis::turned(t.trend, h)));
    pl.push_back(radians(t.plunge));
  }
  if (az.empty()) return;
  plot::ssymbolsize(size, 1);
  stereonet::dspaxbk.iaxtyp1 = symbol;
  stereonet::dspaxfapn(az.data(), pl.data(), static_cast<std::int32_t>(az.size()));
}

}  // namespace

void draw_kinematics(const Page& page, Sheet& sheet) {
  if (!page.kinematics) return;
  const KinematicLayer& k = *page.kinematics;
  const Hemisphere h = page.hemisphere;
  use_color(kBlack);
  plot::slinewidth(kConstructionWidth, 1);
  for (const analysis::ConstructionCurve& c : k.construction.curves) draw_curve(c.points, h);
  plot::slinewidth(kDataLineWidth, 1);
  draw_points(k.lines, kFilledCircle, kLineSymbol, h);
  use_color(kRed);
  draw_points(k.critical, kFilledCircle, kCriticalSymbol, h);
  // The legend line between the net and the sets' legend (portrait), or
  // above the sets' legend (landscape).
  const bool portrait = page.paper == Paper::portrait;
  plot::stextsize(kLegendText, 1);
  plot::stextalign(-5, 1);
  plot::cmtext2(portrait ? 1.5f : 21.0f,
                portrait ? sheet.net.y_cm - sheet.net.radius_cm - 0.8f : 19.7f, k.legend);
  use_color(kBlack);
}

}  // namespace polarsketch::figure
