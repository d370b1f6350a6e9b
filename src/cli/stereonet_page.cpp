// The page of `polarsketch plot`, drawn with the plot library's routines.
#include "cli/stereonet_page.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "cli/analysis_layers.hpp"
#include "cli/inputs.hpp"
#include "math/angles.hpp"
#include "plot/coords.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/runinfo_text.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/frame.hpp"
#include "stereonet/nets.hpp"
#include "stereonet/orientation.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::cli {

namespace {

// Colour slot of the default table: grey 20 % (light).
constexpr std::int32_t kLightGrey = 8;

constexpr float kSymbolSize = 0.25f;  // data symbols, cm
constexpr float kLegendText = 0.35f;  // legend text height, cm
constexpr float kLegendRow = 0.55f;   // legend row spacing, cm
constexpr float kCaptionInset = 1.0f;  // caption's right end past the net's, cm
constexpr float kNetLineWidth = 0.015f;

// Projection numbers of the plot library with North up and East right.
constexpr std::int32_t kSchmidtRetrograde = 4;  // equal area
constexpr std::int32_t kWulffRetrograde = 2;    // equal angle

// Float arrays of azimuths and plunges (or dips), radians, for the library.
struct Directions {
  std::vector<float> azimuth;
  std::vector<float> plunge;
  void add(double az_degrees, double plunge_degrees) {
    azimuth.push_back(radians(az_degrees));
    plunge.push_back(radians(plunge_degrees));
  }
  std::int32_t size() const { return static_cast<std::int32_t>(azimuth.size()); }
};

// Great circles of planes given by dip direction and dip; the library takes
// strikes by the right-hand rule (the plane dips toward strike + 90).
void draw_great_circles(const std::vector<data::Plane>& planes, Hemisphere h) {
  Directions d;
  d.azimuth.reserve(planes.size());
  d.plunge.reserve(planes.size());
  for (const data::Plane& p : planes) d.add(turned(p.dip_direction, h) - 90.0, p.dip);
  if (d.size() > 0) stereonet::dspgcfadn(d.azimuth.data(), d.plunge.data(), d.size());
}

void draw_symbols(const std::vector<data::Line>& lines, std::int32_t symbol, Hemisphere h) {
  Directions d;
  d.azimuth.reserve(lines.size());
  d.plunge.reserve(lines.size());
  for (const data::Line& l : lines) d.add(turned(l.trend, h), l.plunge);
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

bool draws_circles(const data::DataSet& set, PlaneStyle planes) {
  return set.kind == data::Kind::slips ||
         (set.kind == data::Kind::planes && planes != PlaneStyle::poles);
}

bool draws_symbols(const data::DataSet& set, PlaneStyle planes) {
  return set.kind != data::Kind::planes || planes != PlaneStyle::great_circles;
}

void draw_set(const data::DataSet& set, const SetStyle& style, const PlotRequest& r) {
  use_color(style.color);
  const Hemisphere h = r.hemisphere;
  switch (set.kind) {
    case data::Kind::planes:
      if (draws_circles(set, r.planes)) draw_great_circles(set.planes, h);
      if (draws_symbols(set, r.planes)) draw_symbols(poles(set.planes), style.symbol, h);
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

void draw_nets(const PlotRequest& r) {
  if (r.net_step == 0 && r.polar_net_step == 0) return;
  use_color(kLightGrey);
  plot::slinewidth(kNetLineWidth, 1);
  if (r.net_step > 0) {
    stereonet::standard_net_great_circles(r.net_step, 2);
    stereonet::standard_net_small_circles(r.net_step, 2);
  }
  if (r.polar_net_step > 0) {
    stereonet::polar_net_planes(r.polar_net_step);
    stereonet::polar_net_cones(r.polar_net_step);
  }
  plot::slinewidth(kDataLineWidth, 1);
}

// --- The legend ---

struct LegendLayout {
  float x_cm;        // left edge of the first column
  float y_cm;        // first row
  float column_cm;   // column width
  std::size_t rows;  // rows per column
  std::size_t columns;
  std::size_t max_chars;  // longest text that fits a column
};

LegendLayout legend_layout(Paper paper) {
  if (paper == Paper::portrait) return {1.5f, 2.5f, 9.5f, 4, 2, 46};
  return {21.0f, 19.0f, 6.5f, 30, 1, 32};
}

std::string legend_text(const data::DataSet& set, std::size_t max_chars) {
  const std::string count = " (" + counted(set) + ")";
  std::string name = shown_name(set);
  const std::size_t room = max_chars > count.size() + 4 ? max_chars - count.size() : 4;
  if (name.size() > room) {
    // Cut at a folder's boundary when one is within reach: ".../site/data.csv".
    std::string tail = name.substr(name.size() - (room - 3));
    if (const std::size_t slash = tail.find('/'); slash != std::string::npos) tail.erase(0, slash);
    name = "..." + tail;
  }
  return name + count;
}

class Legend {
 public:
  Legend(Paper paper, const NetPlacement& net) : layout_(legend_layout(paper)), net_(net) {}

  std::size_t capacity() const { return layout_.rows * layout_.columns; }

  // Row `i`'s mark (a short great-circle stroke and/or the symbol) and text.
  void entry(std::size_t i, const data::DataSet& set, const SetStyle& style, PlaneStyle planes) {
    float x = 0.0f, y = 0.0f;
    place(i, x, y);
    use_color(style.color);
    if (draws_circles(set, planes)) {
      const float xs[2] = {user_x(x), user_x(x + 0.6f)};
      const float ys[2] = {user_y(y), user_y(y)};
      plot::usline(xs, ys, 2);
    }
    if (draws_symbols(set, planes)) {
      plot::ssymboltype(style.symbol, 1);
      const float xs = user_x(x + 0.3f);
      const float ys = user_y(y);
      plot::ussymbol(&xs, &ys, 1);
    }
    text(x + 0.9f, y, legend_text(set, layout_.max_chars));
  }

  // The last row, when the sets outnumber the rows.
  void more(std::size_t i, std::size_t count) {
    float x = 0.0f, y = 0.0f;
    place(i, x, y);
    use_color(kBlack);
    text(x + 0.9f, y, "+ " + std::to_string(count) + " more data sets");
  }

 private:
  void place(std::size_t i, float& x, float& y) const {
    const std::size_t column = i / layout_.rows;
    const std::size_t row = i % layout_.rows;
    x = layout_.x_cm + layout_.column_cm * static_cast<float>(column);
    y = layout_.y_cm - kLegendRow * static_cast<float>(row);
  }
  float user_x(float x_cm) const { return (x_cm - net_.x_cm) / net_.radius_cm; }
  float user_y(float y_cm) const { return (y_cm - net_.y_cm) / net_.radius_cm; }
  static void text(float x_cm, float y_cm, const std::string& s) {
    plot::stextalign(-5, 1);  // left end, middle of the height, text trimmed
    plot::cmtext2(x_cm, y_cm, s);
  }

  LegendLayout layout_;
  NetPlacement net_;
};

// Returns the number of rows drawn.
std::size_t draw_legend(const PlotRequest& r, const std::vector<data::DataSet>& sets,
                        const NetPlacement& net) {
  Legend legend(r.paper, net);
  plot::stextsize(kLegendText, 1);
  const std::size_t n = sets.size();
  const std::size_t shown = n <= legend.capacity() ? n : legend.capacity() - 1;
  for (std::size_t i = 0; i < shown; ++i) legend.entry(i, sets[i], set_style(i), r.planes);
  if (shown < n) legend.more(shown, n - shown);
  return std::min(n, legend.capacity());
}

void draw_run_information(Paper paper, const NetPlacement& net) {
  std::int32_t just0 = 0;
  plot::stextalign(just0, 3);
  plot::stextalign(-2, 1);
  if (paper == Paper::portrait) {
    plot::cmplotruninfo01(net.x_cm, 28.0f, 1);
  } else {
    plot::cmplotruninfo01(24.0f, 1.5f, 1);
  }
  plot::stextalign(just0, 1);
}

// "Equal-area, lower hemisphere" above the net's upper right, so that a
// page says what it shows (an upper-hemisphere plot looks like a lower one).
void draw_caption(const PlotRequest& r, const NetPlacement& net) {
  const std::string projection =
      r.projection == Projection::equal_area ? "Equal-area" : "Equal-angle";
  const std::string hemisphere = r.hemisphere == Hemisphere::lower ? "lower" : "upper";
  use_color(kBlack);
  plot::stextsize(kLegendText, 1);
  plot::stextalign(-7, 1);  // right end, middle of the height
  plot::cmtext2(net.x_cm + net.radius_cm + kCaptionInset, net.y_cm + net.radius_cm + kAboveNet,
                projection + ", " + hemisphere + " hemisphere");
}

}  // namespace

void use_color(std::int32_t slot) {
  plot::slinecolor(slot, 1);
  plot::sfillcolor(slot, 1);
  plot::stextcolor(slot, 1);
}

float radians(double degrees) { return math::rad(static_cast<float>(degrees)); }

double turned(double azimuth, Hemisphere h) {
  return h == Hemisphere::upper ? azimuth + 180.0 : azimuth;
}

NetPlacement net_placement(Paper paper) {
  if (paper == Paper::portrait) return {10.5f, 12.0f, 8.0f};
  return {10.5f, 10.5f, 8.0f};
}

SetStyle set_style(std::size_t index) {
  // Blue, red, green, magenta, cyan, yellow, black, dark grey; filled and
  // hollow shapes alternate so that neighbouring sets differ in both.
  static constexpr std::array<SetStyle, 8> kStyles{{
      {4, -1},
      {2, 3},
      {3, -40},
      {6, 1},
      {5, -3},
      {7, 40},
      {1, -4},
      {12, 14},
  }};
  return kStyles[index % kStyles.size()];
}

void draw_page(const PlotRequest& r, const std::vector<data::DataSet>& sets,
               const AnalysisLayers& layers) {
  const NetPlacement net = net_placement(r.paper);
  std::int32_t isa = 1;
  plot::ssubplot(isa, 1);
  float x0 = net.x_cm, y0 = net.y_cm, xx = net.radius_cm, xy = 0.0f, yx = 0.0f, yy = net.radius_cm;
  plot::sus2cm1(x0, y0, xx, xy, yx, yy, 1);
  std::int32_t projection =
      r.projection == Projection::equal_area ? kSchmidtRetrograde : kWulffRetrograde;
  stereonet::sspro(projection, 1);

  if (r.run_info) draw_run_information(r.paper, net);
  draw_density_bands(r, layers);
  draw_nets(r);
  draw_contour_lines(r, layers);
  plot::ssymbolsize(kSymbolSize, 1);
  if (!r.hide_data) {
    for (std::size_t i = 0; i < sets.size(); ++i) draw_set(sets[i], set_style(i), r);
  }
  draw_statistics(r, sets, layers);
  use_color(kBlack);
  stereonet::repstereo();
  draw_caption(r, net);
  const std::size_t legend_rows = draw_legend(r, sets, net);
  draw_contour_legend(r, layers, net, legend_rows);
}

}  // namespace polarsketch::cli
