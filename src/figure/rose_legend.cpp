// Layer: the rose's title above it and its legend: what is counted, n, the
// bins, the scale, the weighting, and the circular statistics, below the
// rose in two columns (portrait) or right of it (landscape).
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "tables/rose_table.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kTitleText = 0.45f;   // cm
constexpr float kLegendText = 0.32f;  // cm
constexpr float kLegendRow = 0.5f;    // cm
constexpr std::size_t kMaxChars = 52;

std::string number_text(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// A text cut to `room` characters, its start replaced by "...".
std::string fitted(const std::string& s, std::size_t room) {
  return s.size() <= room ? s : "..." + s.substr(s.size() - (room - 3));
}

std::vector<std::string> data_lines(const RosePage& page) {
  const analysis::Rose& rose = page.rose;
  const analysis::CircularStatistics& st = rose.statistics;
  std::string sources;
  for (const std::string& s : page.sources) sources += (sources.empty() ? "" : ", ") + s;
  std::string n = "n = " + std::to_string(st.n);
  if (rose.weighted) n += ", summed weight " + number_text(std::round(st.total_weight * 10) / 10);
  std::vector<std::string> lines{
      fitted((page.sources.size() == 1 ? "file: " : "files: ") + sources, kMaxChars),
      n,
      "bins of " + number_text(rose.width) + " degrees from " + number_text(rose.start),
      std::string(page.scale == RoseScale::area ? "equal-area" : "linear") +
          " petals; rings in percent of " + (rose.weighted ? "the weight" : "n"),
      "weights: " + page.weighting,
  };
  if (!page.selection.empty()) lines.push_back(page.selection);
  return lines;
}

void column(float x, float y, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    plot::cmtext2(x, y, line);
    y -= kLegendRow;
  }
}

}  // namespace

void draw_rose_legend(const RosePage& page, const RoseSheet& sheet) {
  const NetPlacement& net = sheet.net;
  const bool axial = page.rose.symmetry == analysis::RoseSymmetry::axial;
  use_color(kBlack);
  plot::stextsize(kTitleText, 1);
  plot::stextalign(-2, 1);  // centre, bottom
  plot::cmtext2(net.x_cm, net.y_cm + net.radius_cm * 1.075f + 1.2f,
                "Rose of " + page.counted + (axial ? ", axial" : ", directional"));
  plot::stextsize(kLegendText, 1);
  plot::stextalign(-5, 1);  // left end, middle
  const std::vector<std::string> data = data_lines(page);
  const std::vector<std::string> stats = tables::rose_statistics_lines(page.rose);
  if (page.paper == Paper::portrait) {
    const float top = net.y_cm - net.radius_cm * 1.075f - 1.4f;
    column(1.0f, top, data);
    column(11.5f, top, stats);
  } else {
    const float x = net.x_cm + net.radius_cm + 1.6f;
    column(x, 18.0f, data);
    column(x, 18.0f - kLegendRow * static_cast<float>(data.size() + 1), stats);
  }
}

}  // namespace polarsketch::figure
