// Layer: each fault's P and T axes (and B) as symbols in its set's colour,
// and the principal stress axes of the inversion, labelled 1, 2, 3.
#include <string>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kAxisSymbol = 0.2f;    // P, T, B, cm
constexpr float kStressSymbol = 0.5f;  // sigma1, 2, 3, cm
constexpr float kLabelText = 0.4f;     // cm
constexpr float kLabelOffset = 0.045f;  // user units right of the symbol

void draw_axis(const analysis::Vector3& v, std::int32_t symbol, float size, Hemisphere h) {
  const analysis::TrendPlunge d = analysis::trend_plunge(v);
  const float az = radians(analysis::turned(d.trend, h)), pl = radians(d.plunge);
  plot::ssymbolsize(size, 1);
  stereonet::dspaxbk.iaxtyp1 = symbol;
  stereonet::dspaxfapn(&az, &pl, 1);
}

}  // namespace

void draw_fault_axes(const Page& page, Sheet&) {
  const Hemisphere h = page.hemisphere;
  const FaultMarks& marks = page.faults;
  if (marks.pt) {
    for (std::size_t i = 0; i < page.sets.size(); ++i) {
      const data::DataSet& set = page.sets[i].data;
      if (set.kind != data::Kind::slips) continue;
      use_color(set_style(i).color);
      for (const analysis::FaultVectors& f : analysis::known_faults(set.slips).faults) {
        const analysis::KinematicAxes a = analysis::kinematic_axes(f, marks.pt_angle);
        draw_axis(a.p, kPSymbol, kAxisSymbol, h);
        draw_axis(a.t, kTSymbol, kAxisSymbol, h);
        if (marks.b) draw_axis(a.b, kBSymbol, kAxisSymbol, h);
      }
    }
  }
  if (marks.stress) {
    use_color(kBlack);
    plot::stextsize(kLabelText, 1);
    plot::stextalign(-5, 1);  // left end, middle of the height
    for (std::size_t k = 0; k < 3; ++k) {
      draw_axis(marks.stress->axes[k], kStressSymbols[k], kStressSymbol, h);
      float x = 0.0f, y = 0.0f;
      projected(analysis::trend_plunge(marks.stress->axes[k]), h, x, y);
      plot::ustext2(x + kLabelOffset, y, std::to_string(k + 1));
    }
  }
  plot::ssymbolsize(0.25f, 1);
  use_color(kBlack);
}

}  // namespace polarsketch::figure
