// Layer: each set's statistics marks in the set's colour: the mean with its
// 95 % cone, the eigenvectors 1, 2, 3 with their labels, the girdle with its
// beta axis, and the 95 % confidence ellipse about v1; which ones the page
// chose, or those that mean something for the set's shape.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "figure/label_room.hpp"
#include "figure/layers.hpp"
#include "figure/set_marks.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::figure {
namespace {

using analysis::Vector3;

constexpr float kLabelText = 0.35f;  // eigenvector labels, cm
// A great circle is sampled this often (degrees) for the room of the labels.
constexpr double kCircleStep = 1.5;
// More data great circles than this fill the net for the labels' purpose.
constexpr std::size_t kMostTracedCircles = 2000;

Vector3 vector_of(const analysis::TrendPlunge& d) {
  return data::to_vector(data::Line{d.trend, d.plunge});
}

Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector3 unit(const Vector3& v) {
  const double n = std::hypot(v[0], v[1], v[2]);
  return {v[0] / n, v[1] / n, v[2] / n};
}

// A unit vector at right angles to `v`.
Vector3 across(const Vector3& v) {
  return unit(cross(v, std::abs(v[2]) < 0.9 ? Vector3{0, 0, 1} : Vector3{1, 0, 0}));
}

// The lower-hemisphere end of `v` in the page's user units.
void projected_vector(const Vector3& v, Hemisphere h, float& x, float& y) {
  projected(analysis::trend_plunge(v), h, x, y);
}

// A closed curve on the sphere as runs that each draw as one unbroken line
// at their points' lower ends: where the curve crosses the horizontal a run
// ends on the primitive and the next starts at the opposite point.
std::vector<std::vector<Vector3>> lower_runs(const std::vector<Vector3>& closed) {
  std::vector<std::vector<Vector3>> runs;
  std::vector<Vector3> run;
  for (std::size_t i = 0; i < closed.size(); ++i) {
    const Vector3& p = closed[i];
    if (i > 0) {
      const Vector3& prev = closed[i - 1];
      if ((prev[2] < 0) != (p[2] < 0)) {
        const double f = prev[2] / (prev[2] - p[2]);
        const Vector3 q{prev[0] + f * (p[0] - prev[0]), prev[1] + f * (p[1] - prev[1]), 0.0};
        const Vector3 opposite{-q[0], -q[1], 0.0};
        run.push_back(prev[2] < 0 ? opposite : q);
        if (run.size() >= 2) runs.push_back(std::move(run));
        run.clear();
        run.push_back(p[2] < 0 ? opposite : q);
      }
    }
    run.push_back(p);
  }
  if (run.size() >= 2) runs.push_back(std::move(run));
  return runs;
}

void draw_runs(const std::vector<std::vector<Vector3>>& runs, Hemisphere h) {
  for (const std::vector<Vector3>& run : runs) {
    std::vector<float> x, y;
    for (const Vector3& v : run) {
      float px = 0.0f, py = 0.0f;
      projected_vector(v, h, px, py);
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

void take_axis(MarkGrid& grid, const analysis::TrendPlunge& d, float size_cm, float radius_cm,
               Hemisphere h) {
  float x = 0.0f, y = 0.0f;
  projected(d, h, x, y);
  grid.take_point(x, y, 0.5f * size_cm / radius_cm);
}

// Points of the great circle of the plane whose pole is `pole`, every
// kCircleStep degrees over half of it (the lower ends give the rest).
std::vector<Vector3> great_circle_points(const Vector3& pole) {
  const Vector3 a = across(pole), b = unit(cross(pole, a));
  std::vector<Vector3> points;
  for (double t = 0; t < 180.0; t += kCircleStep) {
    const double r = t * std::numbers::pi / 180.0;
    points.push_back({std::cos(r) * a[0] + std::sin(r) * b[0],
                      std::cos(r) * a[1] + std::sin(r) * b[1],
                      std::cos(r) * a[2] + std::sin(r) * b[2]});
  }
  return points;
}

void take_great_circle(MarkGrid& grid, const Vector3& pole, float half_width, Hemisphere h) {
  for (const Vector3& v : great_circle_points(pole)) {
    float x = 0.0f, y = 0.0f;
    projected_vector(v, h, x, y);
    grid.take_point(x, y, half_width);
  }
}

// The cells the data sets' marks take, the North and East labels', and the
// statistics' own symbols (taken as they are drawn).
MarkGrid data_marks(const Page& page, const NetPlacement& net) {
  MarkGrid grid;
  const Hemisphere h = page.hemisphere;
  // North above the rim, East right of it (the frame's labels).
  grid.take({-0.1f, 1.0f, 0.1f, 1.2f});
  grid.take({1.0f, -0.05f, 1.35f, 0.05f});
  if (page.hide_data) return grid;
  // So many great circles leave no room inside the net: the labels go out
  // along leaders, and the circles need not be traced one by one.
  std::size_t circle_count = 0;
  for (const PageSet& set : page.sets)
    if (draws_circles(set.data, page.planes)) circle_count += set.data.size();
  const bool trace = circle_count <= kMostTracedCircles;
  if (!trace) grid.take_disc(1.0f);
  const float symbol = 0.5f * data_symbol_size(page) / net.radius_cm;
  const float line = 0.6f * kDataLineWidth / net.radius_cm + 0.01f;
  auto take_line = [&](const data::Line& l) {
    float x = 0.0f, y = 0.0f;
    projected({l.trend, l.plunge}, h, x, y);
    grid.take_point(x, y, symbol);
  };
  for (const PageSet& set : page.sets) {
    const data::DataSet& d = set.data;
    const bool symbols = draws_symbols(d, page.planes), circles = draws_circles(d, page.planes);
    for (const data::Plane& p : d.planes) {
      if (symbols) take_line(data::pole_of(p));
      if (circles && trace) take_great_circle(grid, data::to_vector(data::pole_of(p)), line, h);
    }
    for (const data::Line& l : d.lines) take_line(l);
    for (const data::Slip& s : d.slips) {
      take_line(data::line_from_rake(s.plane, s.rake));
      if (trace) take_great_circle(grid, data::to_vector(data::pole_of(s.plane)), line, h);
    }
  }
  return grid;
}

// A digit on a small white patch in the box, readable over the darkest band
// and the data; joined to its axis by a leader when it stands away.
void draw_label(const PlacedLabel& label, float ax, float ay, const std::string& digit,
                std::int32_t color) {
  const Box& b = label.box;
  if (label.leader) {
    use_color(color);
    const float xs[2] = {ax, std::clamp(ax, b.left, b.right)};
    const float ys[2] = {ay, std::clamp(ay, b.bottom, b.top)};
    plot::usline(xs, ys, 2);
  }
  std::vector<float> xu{b.left, b.right, b.right, b.left}, yu{b.bottom, b.bottom, b.top, b.top};
  std::vector<float> xd(4), yd(4);
  plot::us2de(xd.data(), yd.data(), xu.data(), yu.data(), 4);
  use_color(kBackground);
  fill_device(xd, yd);
  use_color(color);
  plot::stextalign(-5, 1);  // left end, middle of the height
  const float half = 0.5f * (b.top - b.bottom);
  plot::ustext2(b.left + 0.3f * half, 0.5f * (b.bottom + b.top), digit);
}

struct PendingLabel {
  float x, y;
  std::string digit;
  std::int32_t color;
};

}  // namespace

// The 95 % confidence ellipse about v1: the directions whose angle from v1
// toward v2 and v3 reaches the semi-angles, as the cone through the ellipse
// of semi-axes tan(semi) in the plane touching the sphere at v1.
std::vector<Vector3> bingham_ellipse(const analysis::Statistics& s, int steps) {
  const Vector3 v1 = vector_of(*s.eigenvectors[0]);
  // With s2 = s3 the ellipse is a circle and any pair across v1 will do.
  const Vector3 v2 = s.eigenvectors[1] ? vector_of(*s.eigenvectors[1]) : across(v1);
  const Vector3 v3 = unit(cross(v1, v2));
  const double deg = std::numbers::pi / 180.0;
  const double a2 = std::tan(*s.bingham_semi_v2 * deg), a3 = std::tan(*s.bingham_semi_v3 * deg);
  std::vector<Vector3> points;
  for (int k = 0; k <= steps; ++k) {
    const double t = 2.0 * std::numbers::pi * k / steps;
    Vector3 p;
    for (std::size_t i = 0; i < 3; ++i)
      p[i] = v1[i] + a2 * std::cos(t) * v2[i] + a3 * std::sin(t) * v3[i];
    points.push_back(unit(p));
  }
  return points;
}

StatisticsMarks marks_for_shape(const analysis::Statistics& s) {
  bool girdle = false;
  if (s.woodcock_k) {
    girdle = *s.woodcock_k < 1.0;
  } else if (s.eigenvalues) {
    const auto& e = *s.eigenvalues;  // s1 = s2: a girdle; s2 = s3: a cluster
    girdle = e[0] - e[1] < e[1] - e[2];
  }
  StatisticsMarks m;
  if (girdle) {
    m.girdle = true;
  } else {
    m.mean = true;
    m.cone = true;
  }
  return m;
}

void draw_statistics(const Page& page, Sheet& sheet) {
  const Hemisphere h = page.hemisphere;
  const NetPlacement& net = sheet.net;
  std::vector<PendingLabel> labels;
  // The lines drawn (girdles, ellipses, cones), sampled, which labels avoid too.
  std::vector<std::vector<Vector3>> curves;
  for (std::size_t i = 0; i < page.statistics.size(); ++i) {
    const analysis::Statistics& s = page.statistics[i];
    const StatisticsMarks m = page.statistics_marks.value_or(marks_for_shape(s));
    const std::int32_t color = set_style(i).color;
    use_color(color);
    if (m.girdle && s.girdle) {
      // Heavier than the data's great circles, so that it stands out from them.
      plot::slinewidth(kStatisticsLineWidth, 1);
      const float strike = radians(analysis::turned(s.girdle->dip_direction, h) - 90.0);
      const float dip = radians(s.girdle->dip);
      stereonet::dspgcfadn(&strike, &dip, 1);
      plot::slinewidth(kDataLineWidth, 1);
      if (s.beta_axis) draw_axis(*s.beta_axis, kStatsBetaSymbolType, kStatsAxisSymbol, h);
      if (s.beta_axis) curves.push_back(great_circle_points(vector_of(*s.beta_axis)));
      sheet.statistics_drawn.girdle = true;
    }
    if (m.bingham && s.bingham_semi_v2 && s.bingham_semi_v3 && s.eigenvectors[0]) {
      plot::slinewidth(kStatisticsLineWidth, 1);
      curves.push_back(bingham_ellipse(s));
      draw_runs(lower_runs(curves.back()), h);
      plot::slinewidth(kDataLineWidth, 1);
      sheet.statistics_drawn.bingham = true;
    }
    if (m.mean && s.mean) {
      draw_axis(*s.mean, kStatsMeanSymbolType, kStatsMeanSymbol, h);
      sheet.statistics_drawn.mean = true;
    }
    if (m.cone && s.mean && s.alpha95 && *s.alpha95 > 0) {
      for (std::vector<Vector3>& run : analysis::cone_runs(vector_of(*s.mean), *s.alpha95)) {
        draw_runs({run}, h);
        curves.push_back(std::move(run));
      }
      sheet.statistics_drawn.cone = true;
    }
    if (m.eigen) {
      for (std::size_t k = 0; k < 3; ++k) {
        if (!s.eigenvectors[k]) continue;
        draw_axis(*s.eigenvectors[k], kStatsAxisSymbolType, kStatsAxisSymbol, h);
        float x = 0.0f, y = 0.0f;
        projected(*s.eigenvectors[k], h, x, y);
        labels.push_back({x, y, std::to_string(k + 1), color});
        sheet.statistics_drawn.eigen = true;
      }
    }
  }
  if (!labels.empty()) {
    // Labels go where no data mark, statistics symbol or other label is.
    MarkGrid grid = data_marks(page, net);
    for (const std::vector<Vector3>& curve : curves)
      for (const Vector3& v : curve) {
        float x = 0.0f, y = 0.0f;
        projected_vector(v, h, x, y);
        grid.take_point(x, y, 0.01f);
      }
    for (std::size_t i = 0; i < page.statistics.size(); ++i) {
      const analysis::Statistics& s = page.statistics[i];
      if (s.mean) take_axis(grid, *s.mean, kStatsMeanSymbol, net.radius_cm, h);
      if (s.beta_axis) take_axis(grid, *s.beta_axis, kStatsAxisSymbol, net.radius_cm, h);
      for (const auto& v : s.eigenvectors)
        if (v) take_axis(grid, *v, kStatsAxisSymbol, net.radius_cm, h);
    }
    plot::stextsize(kLabelText, 1);
    const float size = kLabelText / net.radius_cm;
    for (const PendingLabel& l : labels)
      draw_label(place_label(l.x, l.y, size, size, grid), l.x, l.y, l.digit, l.color);
  }
  use_color(kBlack);
}

}  // namespace polarsketch::figure
