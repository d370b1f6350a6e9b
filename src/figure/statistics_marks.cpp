// Layer: each set's mean with its 95 % cone, eigenvectors 1, 2, 3 and, for
// planes, the girdle, in the set's colour.
#include <string>

#include "figure/layers.hpp"
#include "plot/coords.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kMeanSymbol = 0.5f;  // cm
constexpr float kAxisSymbol = 0.3f;  // cm
constexpr float kLabelText = 0.35f;  // eigenvector labels, cm
// An eigenvector's label stands this far right of its axis (user units: 0.32
// cm), clear of the mean's symbol, which v1 of a cluster often sits on.
constexpr float kLabelOffset = 0.04f;
constexpr std::int32_t kMeanSymbolType = 23;  // circle with a cross
constexpr std::int32_t kAxisSymbolType = 13;  // plus sign

// A digit written on a small white patch (user units, left end and middle
// height at x, y), readable over the darkest band and the data.
void label_on_white(float x, float y, const std::string& digit, std::int32_t color) {
  constexpr float kHalfHeight = 0.5f * kLabelText / 8.0f;  // the net's radius is 8 cm
  std::vector<float> xu{x - 0.3f * kHalfHeight, x + 1.7f * kHalfHeight, x + 1.7f * kHalfHeight,
                        x - 0.3f * kHalfHeight};
  std::vector<float> yu{y - kHalfHeight, y - kHalfHeight, y + kHalfHeight, y + kHalfHeight};
  std::vector<float> xd(4), yd(4);
  plot::us2de(xd.data(), yd.data(), xu.data(), yu.data(), 4);
  use_color(kBackground);
  fill_device(xd, yd);
  use_color(color);
  plot::ustext2(x, y, digit);
}

// The cone of half-angle `alpha` (degrees) about `axis`, each run drawn at
// its points' lower ends.
void draw_cone(const analysis::TrendPlunge& axis, double alpha, Hemisphere h) {
  const data::Vector3 m = data::to_vector(data::Line{axis.trend, axis.plunge});
  for (const std::vector<analysis::Vector3>& run : analysis::cone_runs(m, alpha)) {
    std::vector<float> x, y;
    for (const analysis::Vector3& v : run) {
      const data::Line l = data::to_line(v);  // the lower end
      float px = 0.0f, py = 0.0f;
      projected({l.trend, l.plunge}, h, px, py);
      x.push_back(px);
      y.push_back(py);
    }
    plot::usline(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
  }
}

void draw_axis(const analysis::TrendPlunge& d, std::int32_t symbol, float size, Hemisphere h) {
  const float az = radians(analysis::turned(d.trend, h)), pl = radians(d.plunge);
  plot::ssymbolsize(size, 1);
  stereonet::dspaxbk.iaxtyp1 = symbol;
  stereonet::dspaxfapn(&az, &pl, 1);
}

}  // namespace

void draw_statistics(const Page& page, Sheet&) {
  const Hemisphere h = page.hemisphere;
  for (std::size_t i = 0; i < page.statistics.size(); ++i) {
    const analysis::Statistics& s = page.statistics[i];
    use_color(set_style(i).color);
    if (s.mean) {
      draw_axis(*s.mean, kMeanSymbolType, kMeanSymbol, h);
      if (s.alpha95 && *s.alpha95 > 0) draw_cone(*s.mean, *s.alpha95, h);
    }
    plot::stextsize(kLabelText, 1);
    plot::stextalign(-5, 1);  // left end, middle of the height
    for (std::size_t k = 0; k < 3; ++k) {
      if (!s.eigenvectors[k]) continue;
      draw_axis(*s.eigenvectors[k], kAxisSymbolType, kAxisSymbol, h);
      float x = 0.0f, y = 0.0f;
      projected(*s.eigenvectors[k], h, x, y);
      label_on_white(x + kLabelOffset, y, std::to_string(k + 1), set_style(i).color);
    }
    if (page.sets[i].data.kind == data::Kind::planes && s.girdle) {
      // The library takes strikes by the right-hand rule.
      const float strike = radians(analysis::turned(s.girdle->dip_direction, h) - 90.0);
      const float dip = radians(s.girdle->dip);
      stereonet::dspgcfadn(&strike, &dip, 1);
    }
  }
  use_color(kBlack);
}

}  // namespace polarsketch::figure
