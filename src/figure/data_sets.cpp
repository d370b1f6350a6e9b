// Layer: every data set in its own colour and symbol: planes as great
// circles and/or poles, lines as symbols, slips as their plane and line.
#include <algorithm>

#include "figure/layers.hpp"
#include "figure/set_marks.hpp"
#include "plot/line_fill.hpp"
#include "plot/records.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

// Float arrays of azimuths and plunges (or dips), radians, for the library.
struct Directions {
  std::vector<float> azimuth;
  std::vector<float> plunge;
  explicit Directions(std::size_t n) {
    azimuth.reserve(n);
    plunge.reserve(n);
  }
  void add(double az_degrees, double plunge_degrees) {
    azimuth.push_back(radians(az_degrees));
    plunge.push_back(radians(plunge_degrees));
  }
  std::int32_t size() const { return static_cast<std::int32_t>(azimuth.size()); }
};

// Great circles of planes given by dip direction and dip; the library takes
// strikes by the right-hand rule (the plane dips toward strike + 90).
void draw_great_circles(const std::vector<data::Plane>& planes, Hemisphere h) {
  Directions d(planes.size());
  for (const data::Plane& p : planes) d.add(analysis::turned(p.dip_direction, h) - 90.0, p.dip);
  if (d.size() > 0) stereonet::dspgcfadn(d.azimuth.data(), d.plunge.data(), d.size());
}

// How a set's symbols are drawn: its colour and shape, and whether an
// outlined shape is first filled with the background so that it stays
// visible over filled density bands.
struct SymbolStyle {
  SetStyle set;
  bool backed = false;
};

void draw_symbols(const std::vector<data::Line>& lines, const SymbolStyle& style, Hemisphere h) {
  Directions d(lines.size());
  for (const data::Line& l : lines) d.add(analysis::turned(l.trend, h), l.plunge);
  if (d.size() == 0) return;
  const float line_width = plot::plt2blk.rlinewidth;
  plot::slinewidth(std::min(line_width, symbol_line_width(plot::plt2blk.symbsize)), 1);
  if (style.backed && style.set.symbol > 0) {
    use_color(kBackground);
    stereonet::dspaxbk.iaxtyp1 = -style.set.symbol;
    stereonet::dspaxfapn(d.azimuth.data(), d.plunge.data(), d.size());
    use_color(style.set.color);
  }
  stereonet::dspaxbk.iaxtyp1 = style.set.symbol;
  stereonet::dspaxfapn(d.azimuth.data(), d.plunge.data(), d.size());
  plot::slinewidth(line_width, 1);
}

std::vector<data::Line> poles(const std::vector<data::Plane>& planes) {
  std::vector<data::Line> result;
  result.reserve(planes.size());
  for (const data::Plane& p : planes) result.push_back(data::pole_of(p));
  return result;
}

void draw_set(const data::DataSet& set, const SetStyle& set_style, const Page& page) {
  use_color(set_style.color);
  const SymbolStyle style{set_style, page.density.has_value() && fills_have_colours(page)};
  const Hemisphere h = page.hemisphere;
  switch (set.kind) {
    case data::Kind::planes:
      if (draws_circles(set, page.planes)) draw_great_circles(set.planes, h);
      if (draws_symbols(set, page.planes)) draw_symbols(poles(set.planes), style, h);
      break;
    case data::Kind::lines:
      draw_symbols(set.lines, style, h);
      break;
    case data::Kind::slips: {
      // The slip line from the plane and the rake, so a slip given by its
      // rake and the same slip given by its line are drawn alike.
      std::vector<data::Plane> planes;
      std::vector<data::Line> lines;
      planes.reserve(set.slips.size());
      lines.reserve(set.slips.size());
      for (const data::Slip& s : set.slips) {
        planes.push_back(s.plane);
        lines.push_back(data::line_from_rake(s.plane, s.rake));
      }
      draw_great_circles(planes, h);
      draw_symbols(lines, style, h);
      break;
    }
  }
}

}  // namespace

float data_symbol_size(const Page& page) {
  std::size_t symbols = 0;
  for (const PageSet& set : page.sets)
    if (draws_symbols(set.data, page.planes)) symbols += set.data.size();
  return symbol_size_cm(symbols, page.symbol_size_mm);
}

bool draws_circles(const data::DataSet& set, PlaneStyle planes) {
  return set.kind == data::Kind::slips ||
         (set.kind == data::Kind::planes && planes != PlaneStyle::poles);
}

bool draws_symbols(const data::DataSet& set, PlaneStyle planes) {
  return set.kind != data::Kind::planes || planes != PlaneStyle::great_circles;
}

void draw_data_sets(const Page& page, Sheet&) {
  if (page.hide_data) return;
  const float size = data_symbol_size(page);
  plot::ssymbolsize(size, 1);
  for (std::size_t i = 0; i < page.sets.size(); ++i)
    draw_set(page.sets[i].data, set_style(i), page);
}

}  // namespace polarsketch::figure
