// Layer: each measurement's text (--label) in small type just right of the
// point that stands for it, in its set's colour, clear of the symbol: a
// line's or a slip line's symbol, a plane's pole when poles are drawn, else
// the lowest point of its great circle (the dip line), which lies on it.
#include <string>

#include "figure/layers.hpp"
#include "figure/set_marks.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kLabelText = 0.2f;  // cm: small beside the symbols
constexpr float kLabelGap = 0.12f;  // cm between a symbol's right edge and its text

// The point a measurement is labelled at.
data::Line labelled_point(const data::DataSet& set, std::size_t row, PlaneStyle planes) {
  switch (set.kind) {
    case data::Kind::planes: {
      const data::Plane& p = set.planes[row];
      return draws_symbols(set, planes) ? data::pole_of(p) : data::Line{p.dip_direction, p.dip};
    }
    case data::Kind::lines:
      return set.lines[row];
    case data::Kind::slips:
      return data::line_from_rake(set.slips[row].plane, set.slips[row].rake);
  }
  return {};
}

}  // namespace

void draw_labels(const Page& page, Sheet& sheet) {
  const NetPlacement& net = sheet.net;
  // The text's left end past the point: half a symbol and a gap.
  const float offset = 0.5f * data_symbol_size(page) + kLabelGap;
  plot::stextsize(kLabelText, 1);
  plot::stextalign(-5, 1);  // left end, middle of the height, text trimmed
  for (std::size_t i = 0; i < page.sets.size(); ++i) {
    const PageSet& set = page.sets[i];
    if (set.labels.empty()) continue;
    use_color(set_style(i).color);
    for (std::size_t row = 0; row < set.labels.size() && row < set.data.size(); ++row) {
      if (set.labels[row].empty()) continue;
      const data::Line point = labelled_point(set.data, row, page.planes);
      float x = 0.0f, y = 0.0f;
      projected({point.trend, point.plunge}, page.hemisphere, x, y);
      plot::cmtext2(net.x_cm + x * net.radius_cm + offset, net.y_cm + y * net.radius_cm,
                    set.labels[row]);
    }
  }
  use_color(kBlack);
}

}  // namespace polarsketch::figure
