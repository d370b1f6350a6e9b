#include "cli/analysis_layers.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string_view>

#include "cli/statistics_report.hpp"
#include "plot/colortable.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/records.hpp"
#include "plot/text_symbol.hpp"
#include "render/seam.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::cli {

namespace {

// Grid cells across the net: nodes about 0.8 degrees apart at the centre of
// an equal-area net, finer than the contour lines' width at page scale.
constexpr std::size_t kGridCells = 200;

// Colour slots: background, black, and two greys of the default table that
// no set uses, reloaded in turn with each band's shade (a slot that changes
// makes the driver write the colour again) and restored after.
constexpr std::int32_t kBackground = 0;
struct RampSlot {
  std::int32_t slot;
  std::string_view name;
  float grey;
};
constexpr RampSlot kRampSlots[2] = {{10, "Grey40", 60.0f}, {11, "Grey50", 50.0f}};

constexpr float kFillEdgeWidth = 0.012f;  // outline of each filled ring (the least), cm
constexpr float kContourWidth = 0.012f;   // contour lines, cm
constexpr float kMeanSymbol = 0.5f;       // cm
constexpr float kAxisSymbol = 0.3f;       // cm
constexpr float kLabelText = 0.35f;       // eigenvector labels, cm
// An eigenvector's label stands this far right of its axis (user units: 0.32
// cm), clear of the mean's symbol, which v1 of a cluster often sits on.
constexpr float kLabelOffset = 0.04f;
constexpr float kLegendText = 0.35f;      // cm
constexpr float kLegendRow = 0.5f;        // cm
constexpr std::size_t kLegendBands = 12;  // rows of swatches at most

constexpr std::int32_t kMeanSymbolType = 23;  // circle with a cross
constexpr std::int32_t kAxisSymbolType = 13;  // plus sign

analysis::Projection net_projection(const PlotRequest& r) {
  return r.projection == Projection::equal_area ? analysis::Projection::equal_area
                                                : analysis::Projection::equal_angle;
}

// Band i of n from light (92 % white) to dark (30 %).
float shade(std::size_t band, std::size_t bands) {
  const float t = bands > 1 ? static_cast<float>(band) / static_cast<float>(bands - 1) : 0.5f;
  return 92.0f - 62.0f * t;
}

// The colour of a band (the background below the lowest level); `turn`
// counts the fills so far and picks the slot.
void use_band_color(std::optional<std::size_t> band, std::size_t bands, std::size_t turn) {
  if (!band) return use_color(kBackground);
  const float grey = shade(*band, bands);
  const std::int32_t slot = kRampSlots[turn % 2].slot;
  plot::scolorrgb(slot, "Density", grey, grey, grey, 1);
  use_color(slot);
}

void restore_ramp_slots() {
  for (const RampSlot& r : kRampSlots) plot::scolorrgb(r.slot, r.name, r.grey, r.grey, r.grey, 1);
  use_color(kBlack);
  plot::slinewidth(kDataLineWidth, 1);
}

// The Illustrator dialect writes no fill colour: filled bands would all be
// black, so there the contours are lines only.
bool fills_have_colours(const PlotRequest& r) { return r.dialect != 3; }

// A filled polygon of points in device units (the closing point left out).
void fill_device(std::vector<float>& x, std::vector<float>& y) {
  const std::int32_t keep = plot::plt2blk.ifillstyle;
  plot::sfillstyle(1, 1);
  render::draw_polygon(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
  plot::sfillstyle(keep, 1);
}

// Net coordinates as seen: the upper hemisphere turned half a turn.
void to_user(const analysis::Polyline& line, const PlotRequest& r, std::vector<float>& x,
             std::vector<float>& y) {
  const double sign = r.hemisphere == Hemisphere::upper ? -1.0 : 1.0;
  x.clear();
  y.clear();
  for (const analysis::Point2& p : line) {
    x.push_back(static_cast<float>(sign * p.x));
    y.push_back(static_cast<float>(sign * p.y));
  }
}

void fill_ring(const analysis::Polyline& ring, const PlotRequest& r) {
  std::vector<float> xu, yu;
  to_user(ring, r, xu, yu);
  xu.pop_back();  // the closing point
  yu.pop_back();
  std::vector<float> xd(xu.size()), yd(yu.size());
  plot::us2de(xd.data(), yd.data(), xu.data(), yu.data(), static_cast<std::int32_t>(xu.size()));
  fill_device(xd, yd);
}

void fill_rectangle_cm(float x, float y, float w, float h) {
  std::vector<float> xc{x, x + w, x + w, x}, yc{y, y, y + h, y + h};
  std::vector<float> xd(4), yd(4);
  plot::cm2de(xd.data(), yd.data(), xc.data(), yc.data(), 4);
  fill_device(xd, yd);
}

std::string number_text(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// A direction of the lower hemisphere in user units of the page.
void projected(const analysis::TrendPlunge& d, const PlotRequest& r, float& x, float& y) {
  const float az = radians(turned(d.trend, r.hemisphere)), pl = radians(d.plunge);
  stereonet::spron(&x, &y, &az, &pl, 1);
}

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

// The cone of half-angle `alpha` (degrees) about `axis`. Where the small
// circle rises above the horizontal its points are drawn at their lower ends,
// across the net, as every axial direction is: each run ends on the primitive.
void draw_cone(const analysis::TrendPlunge& axis, double alpha, const PlotRequest& r) {
  constexpr int kSteps = 180;  // points 2 degrees apart about the axis
  using V = data::Vector3;
  const V m = data::to_vector(data::Line{axis.trend, axis.plunge});
  auto cross = [](const V& a, const V& b) {
    return V{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  };
  V e1 = cross(m, std::abs(m[2]) < 0.9 ? V{0, 0, 1} : V{1, 0, 0});
  const double norm = std::hypot(e1[0], e1[1], e1[2]);
  for (double& c : e1) c /= norm;
  const V e2 = cross(m, e1);
  const double ca = std::cos(alpha * std::numbers::pi / 180);
  const double sa = std::sin(alpha * std::numbers::pi / 180);
  auto point = [&](int step) {
    const double t = 2 * std::numbers::pi * step / kSteps;
    V p;
    for (std::size_t k = 0; k < 3; ++k)
      p[k] = ca * m[k] + sa * (std::cos(t) * e1[k] + std::sin(t) * e2[k]);
    return p;
  };
  std::vector<float> x, y;
  auto add = [&](const V& v) {  // to_line takes the lower end
    const data::Line l = data::to_line(v);
    float px = 0.0f, py = 0.0f;
    projected({l.trend, l.plunge}, r, px, py);
    x.push_back(px);
    y.push_back(py);
  };
  auto draw_run = [&] {
    if (x.size() >= 2) plot::usline(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
    x.clear();
    y.clear();
  };
  V prev = point(0);
  add(prev);
  for (int step = 1; step <= kSteps; ++step) {
    const V p = point(step);
    if ((prev[2] < 0) != (p[2] < 0)) {
      // The crossing of the horizontal, ending this run at its end on the
      // primitive and starting the next at the opposite end.
      const double f = prev[2] / (prev[2] - p[2]);
      const V q{prev[0] + f * (p[0] - prev[0]), prev[1] + f * (p[1] - prev[1]), 0.0};
      const V opposite{-q[0], -q[1], 0.0};
      add(prev[2] < 0 ? opposite : q);
      draw_run();
      add(p[2] < 0 ? opposite : q);
    }
    add(p);
    prev = p;
  }
  draw_run();
}

void draw_axis(const analysis::TrendPlunge& d, std::int32_t symbol, float size,
               const PlotRequest& r) {
  const float az = radians(turned(d.trend, r.hemisphere)), pl = radians(d.plunge);
  plot::ssymbolsize(size, 1);
  stereonet::dspaxbk.iaxtyp1 = symbol;
  stereonet::dspaxfapn(&az, &pl, 1);
}

}  // namespace

AnalysisLayers compute_layers(const PlotRequest& r, const std::vector<data::DataSet>& sets) {
  AnalysisLayers layers;
  if (r.stats) layers.stats = statistics_of(sets);
  if (r.contour) {
    std::vector<data::Vector3> points;
    for (const data::DataSet& set : sets) {
      const std::vector<data::Vector3> v = set.unit_vectors();
      points.insert(points.end(), v.begin(), v.end());
    }
    DensityLayer d;
    d.points = points.size();
    d.grid = analysis::density_grid(points, r.contour->density, net_projection(r), kGridCells);
    d.levels =
        r.contour->levels.empty() ? analysis::automatic_levels(d.grid.peak()) : r.contour->levels;
    std::sort(d.levels.begin(), d.levels.end());
    d.levels.erase(std::unique(d.levels.begin(), d.levels.end()), d.levels.end());
    d.contours = analysis::contour(d.grid, d.levels);
    layers.density = std::move(d);
  }
  return layers;
}

std::string density_csv(const analysis::NetGrid& grid) {
  std::string out = "trend,plunge,density\n";
  char line[96];
  for (std::size_t j = 0; j < grid.size; ++j)
    for (std::size_t i = 0; i < grid.size; ++i) {
      if (!grid.inside(i, j)) continue;
      const analysis::TrendPlunge d = analysis::trend_plunge(
          analysis::inverse_projection(grid.projection, {grid.x(i), grid.y(j)}));
      std::snprintf(line, sizeof line, "%.2f,%.2f,%.6g\n", d.trend, d.plunge, grid.at(i, j));
      out += line;
    }
  return out;
}

void draw_density_bands(const PlotRequest& r, const AnalysisLayers& layers) {
  if (!layers.density || !fills_have_colours(r)) return;
  const DensityLayer& d = *layers.density;
  plot::slinewidth(kFillEdgeWidth, 1);
  std::size_t turn = 0;
  for (const analysis::FillRing& f : d.contours.fills) {
    use_band_color(f.band, d.levels.size(), turn++);
    fill_ring(f.ring, r);
  }
  restore_ramp_slots();
}

void draw_contour_lines(const PlotRequest& r, const AnalysisLayers& layers) {
  if (!layers.density) return;
  use_color(kBlack);
  plot::slinewidth(kContourWidth, 1);
  std::vector<float> x, y;
  for (const analysis::ContourLine& level : layers.density->contours.lines)
    for (const analysis::Polyline& line : level.lines) {
      to_user(line, r, x, y);
      plot::usline(x.data(), y.data(), static_cast<std::int32_t>(x.size()));
    }
  plot::slinewidth(kDataLineWidth, 1);
}

void draw_statistics(const PlotRequest& r, const std::vector<data::DataSet>& sets,
                     const AnalysisLayers& layers) {
  for (std::size_t i = 0; i < layers.stats.size(); ++i) {
    const analysis::Statistics& s = layers.stats[i];
    use_color(set_style(i).color);
    if (s.mean) {
      draw_axis(*s.mean, kMeanSymbolType, kMeanSymbol, r);
      if (s.alpha95 && *s.alpha95 > 0) draw_cone(*s.mean, *s.alpha95, r);
    }
    plot::stextsize(kLabelText, 1);
    plot::stextalign(-5, 1);  // left end, middle of the height
    for (std::size_t k = 0; k < 3; ++k) {
      if (!s.eigenvectors[k]) continue;
      draw_axis(*s.eigenvectors[k], kAxisSymbolType, kAxisSymbol, r);
      float x = 0.0f, y = 0.0f;
      projected(*s.eigenvectors[k], r, x, y);
      label_on_white(x + kLabelOffset, y, std::to_string(k + 1), set_style(i).color);
    }
    if (sets[i].kind == data::Kind::planes && s.girdle) {
      // The library takes strikes by the right-hand rule.
      const float strike = radians(turned(s.girdle->dip_direction, r.hemisphere) - 90.0);
      const float dip = radians(s.girdle->dip);
      stereonet::dspgcfadn(&strike, &dip, 1);
    }
  }
  use_color(kBlack);
}

void draw_contour_legend(const PlotRequest& r, const AnalysisLayers& layers,
                         const NetPlacement& net, std::size_t legend_rows) {
  if (!layers.density || !r.contour) return;
  const DensityLayer& d = *layers.density;
  const analysis::DensityOptions& o = r.contour->density;
  const bool portrait = r.paper == Paper::portrait;
  const std::size_t bands = d.levels.size();
  const std::size_t shown = std::min(bands, kLegendBands);
  const float x = portrait ? 1.5f : 21.0f;
  // Portrait: the last row stands just above the net's upper left, level with
  // the caption, and the title above the rows.
  float y = portrait ? net.y_cm + net.radius_cm + kAboveNet +
                           kLegendRow * static_cast<float>(std::max<std::size_t>(shown, 1))
                     : 19.0f - 0.55f * static_cast<float>(legend_rows + 1);
  use_color(kBlack);
  plot::stextsize(kLegendText, 1);
  plot::stextalign(-5, 1);
  std::string title = "Density " + std::string(analysis::method_name(o.method));
  if (o.method != analysis::DensityMethod::schmidt) title += ", sigma " + number_text(o.sigma);
  title +=
      ", " + std::string(analysis::units_name(o.units)) + " (n = " + std::to_string(d.points) + ")";
  plot::cmtext2(x, y, title);
  if (d.levels.empty()) {
    plot::cmtext2(x, y - kLegendRow, "no level below the peak");
    return;
  }
  for (std::size_t k = 0; k < shown; ++k) {
    // Darkest band first, at the top.
    const std::size_t band = bands - 1 - k;
    y -= kLegendRow;
    if (fills_have_colours(r)) {
      use_band_color(band, bands, k);
      plot::slinewidth(kFillEdgeWidth, 1);
      fill_rectangle_cm(x, y - 0.18f, 0.6f, 0.36f);
    }
    use_color(kBlack);
    const std::string range =
        band + 1 < bands ? number_text(d.levels[band]) + " - " + number_text(d.levels[band + 1])
                         : ">= " + number_text(d.levels[band]);
    plot::cmtext2(x + 0.9f, y, shown < bands && k + 1 == shown ? "... " + range : range);
  }
  restore_ramp_slots();
}

}  // namespace polarsketch::cli
