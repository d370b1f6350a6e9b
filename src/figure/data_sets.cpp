// Layer: every data set in its own colour and symbol: planes as great
// circles and/or poles, lines as symbols, slips as their plane and line.
#include "figure/layers.hpp"
#include "figure/set_marks.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kSymbolSize = 0.25f;  // data symbols, cm

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

void draw_symbols(const std::vector<data::Line>& lines, std::int32_t symbol, Hemisphere h) {
  Directions d(lines.size());
  for (const data::Line& l : lines) d.add(analysis::turned(l.trend, h), l.plunge);
  if (d.size() == 0) return;
  stereonet::dspaxbk.iaxtyp1 = symbol;
  stereonet::dspaxfapn(d.azimuth.data(), d.plunge.data(), d.size());
}

std::vector<data::Line> poles(const std::vector<data::Plane>& planes) {
  std::vector<data::Line> result;
  result.reserve(planes.size());
  for (const data::Plane& p : planes) result.push_back(data::pole_of(p));
  return result;
}

void draw_set(const data::DataSet& set, const SetStyle& style, const Page& page) {
  use_color(style.color);
  const Hemisphere h = page.hemisphere;
  switch (set.kind) {
    case data::Kind::planes:
      if (draws_circles(set, page.planes)) draw_great_circles(set.planes, h);
      if (draws_symbols(set, page.planes)) draw_symbols(poles(set.planes), style.symbol, h);
      break;
    case data::Kind::lines:
      draw_symbols(set.lines, style.symbol, h);
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
      draw_symbols(lines, style.symbol, h);
      break;
    }
  }
}

}  // namespace

bool draws_circles(const data::DataSet& set, PlaneStyle planes) {
  return set.kind == data::Kind::slips ||
         (set.kind == data::Kind::planes && planes != PlaneStyle::poles);
}

bool draws_symbols(const data::DataSet& set, PlaneStyle planes) {
  return set.kind != data::Kind::planes || planes != PlaneStyle::great_circles;
}

void draw_data_sets(const Page& page, Sheet&) {
  // The symbol size is set even for hidden data: the legend's marks use it.
  plot::ssymbolsize(kSymbolSize, 1);
  if (page.hide_data) return;
  for (std::size_t i = 0; i < page.sets.size(); ++i)
    draw_set(page.sets[i].data, set_style(i), page);
}

}  // namespace polarsketch::figure
