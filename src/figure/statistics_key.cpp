// Layer: the key of the statistics marks drawn, a row per kind of mark with
// its sample and meaning: above the net's upper right, over the caption
// (portrait), or below the legends right of the net (landscape).
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "figure/layers.hpp"
#include "plot/line_fill.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kText = 0.35f;  // cm, as the legend's
constexpr float kRow = 0.5f;    // cm
constexpr float kSample = 0.7f;  // width of a row's sample, cm

constexpr std::int32_t kConeSampleSymbolType = 2;  // an open circle

enum class Sample { mean, cone, eigen, girdle, ellipse };

struct KeyRow {
  Sample sample;
  std::string text;
};

std::vector<KeyRow> key_rows(const StatisticsMarks& drawn) {
  std::vector<KeyRow> rows;
  if (drawn.mean) rows.push_back({Sample::mean, "mean direction"});
  if (drawn.cone) rows.push_back({Sample::cone, "95 % cone of the mean (Fisher)"});
  if (drawn.eigen) rows.push_back({Sample::eigen, "eigenvectors 1, 2, 3"});
  if (drawn.girdle) rows.push_back({Sample::girdle, "girdle (best-fit great circle), beta axis"});
  if (drawn.bingham) rows.push_back({Sample::ellipse, "95 % confidence ellipse about 1 (Bingham)"});
  return rows;
}

// An ellipse of semi-axes a and b (cm) about (x, y) in cm, as a line.
void ellipse_cm(float x, float y, float a, float b, const NetPlacement& net) {
  std::vector<float> xs, ys;
  for (int k = 0; k <= 16; ++k) {
    const float t = static_cast<float>(k) * std::numbers::pi_v<float> / 8.0f;
    xs.push_back((x + a * std::cos(t) - net.x_cm) / net.radius_cm);
    ys.push_back((y + b * std::sin(t) - net.y_cm) / net.radius_cm);
  }
  plot::usline(xs.data(), ys.data(), static_cast<std::int32_t>(xs.size()));
}

void symbol_cm(float x, float y, std::int32_t type, float size, const NetPlacement& net) {
  plot::ssymbolsize(size, 1);
  plot::ssymboltype(type, 1);
  const float xs = (x - net.x_cm) / net.radius_cm, ys = (y - net.y_cm) / net.radius_cm;
  plot::ussymbol(&xs, &ys, 1);
}

void draw_sample(Sample sample, float x, float y, const NetPlacement& net) {
  const float mid = x + 0.5f * kSample;
  switch (sample) {
    case Sample::mean:
      return symbol_cm(mid, y, kStatsMeanSymbolType, 0.35f, net);
    case Sample::cone:
      return symbol_cm(mid, y, kConeSampleSymbolType, 0.36f, net);
    case Sample::eigen:
      return symbol_cm(mid, y, kStatsAxisSymbolType, kStatsAxisSymbol, net);
    case Sample::girdle: {
      plot::slinewidth(kStatisticsLineWidth, 1);
      const float xs[2] = {(x - net.x_cm) / net.radius_cm, (x + kSample - net.x_cm) / net.radius_cm};
      const float ys[2] = {(y + 0.1f - net.y_cm) / net.radius_cm, (y + 0.1f - net.y_cm) / net.radius_cm};
      plot::usline(xs, ys, 2);
      plot::slinewidth(kDataLineWidth, 1);
      return symbol_cm(mid, y - 0.08f, kStatsBetaSymbolType, 0.2f, net);
    }
    case Sample::ellipse:
      plot::slinewidth(kStatisticsLineWidth, 1);
      ellipse_cm(mid, y, 0.3f, 0.16f, net);
      plot::slinewidth(kDataLineWidth, 1);
      return;
  }
}

}  // namespace

std::size_t statistics_key_rows(const StatisticsMarks& drawn) { return key_rows(drawn).size(); }

void draw_statistics_key(const Page& page, Sheet& sheet) {
  const std::vector<KeyRow> rows = key_rows(sheet.statistics_drawn);
  if (rows.empty()) return;
  const NetPlacement& net = sheet.net;
  const bool portrait = page.paper == Paper::portrait;
  // Portrait: the bottom row a row above the caption; landscape: below the
  // sets' and the density legends.
  const float x = portrait ? net.x_cm + net.radius_cm - 6.0f : 21.0f;
  float y = portrait ? net.y_cm + net.radius_cm + kAboveNet +
                           kRow * static_cast<float>(rows.size())
                     : 19.0f - 0.55f * static_cast<float>(sheet.legend_rows + 1) -
                           0.5f * static_cast<float>(density_legend_rows(page)) - 0.3f;
  use_color(kBlack);
  plot::stextsize(kText, 1);
  for (const KeyRow& row : rows) {
    draw_sample(row.sample, x, y, net);
    plot::stextalign(-5, 1);  // left end, middle of the height
    plot::cmtext2(x + kSample + 0.2f, y, row.text);
    y -= kRow;
  }
}

}  // namespace polarsketch::figure
