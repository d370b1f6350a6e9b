// Layer: the fault marks' legend above the net's upper left: what the arrows
// show, how many slips had no sense, the P, T (B) symbols and the stress
// axes with Phi and R.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kText = 0.3f;  // cm
constexpr float kRow = 0.45f;  // cm
constexpr float kSymbol = 0.22f;
constexpr float kDensityRow = 0.5f;        // the density legend's rows, cm

struct Row {
  std::vector<std::int32_t> symbols;  // drawn before the text
  std::string text;
};

std::string fixed(double v) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::vector<Row> legend_rows(const Page& page) {
  std::size_t known = 0, unknown = 0;
  for (const PageSet& s : page.sets)
    if (s.data.kind == data::Kind::slips)
      for (const data::Slip& slip : s.data.slips) (slip.sense_known ? known : unknown) += 1;
  std::vector<Row> rows;
  if (known > 0 && !page.hide_data) {
    for (const FaultPlotInfo& p : fault_plots())
      if (p.plot == page.faults.plot)
        rows.push_back({{}, "faults: " + std::string(p.description) + " (hanging wall)"});
  }
  if (unknown > 0 && !page.hide_data)
    rows.push_back({{}, std::to_string(unknown) + " slip(s) of unknown sense: a point, no arrow"});
  if (page.faults.pt && known > 0) {
    std::vector<std::int32_t> symbols{kPSymbol, kTSymbol};
    if (page.faults.b) symbols.push_back(kBSymbol);
    char theta[16];
    std::snprintf(theta, sizeof theta, "%g", page.faults.pt_angle);
    rows.push_back({symbols, std::string(page.faults.b ? "P, T, B" : "P, T") + " (P " + theta +
                                 " deg from the plane)"});
  }
  if (page.faults.stress) {
    const analysis::StressResult& s = *page.faults.stress;
    rows.push_back({{kStressSymbols[0], kStressSymbols[1], kStressSymbols[2]},
                    "sigma1, 2, 3: " + std::string(analysis::method_info(s.method).description) +
                        (s.iterated ? ", re-weighted" : "")});
    rows.push_back({{}, "Phi = (s2 - s3)/(s1 - s3) = " + fixed(s.phi) +
                            ", R = 1 - Phi = " + fixed(s.r)});
  }
  return rows;
}

}  // namespace

float fault_legend_height(const Page& page) {
  const std::size_t rows = legend_rows(page).size();
  return rows == 0 ? 0.0f : kRow * static_cast<float>(rows);
}

void draw_fault_legend(const Page& page, Sheet& sheet) {
  const std::vector<Row> rows = legend_rows(page);
  if (rows.empty()) return;
  const NetPlacement& net = sheet.net;
  const float left = net.x_cm - net.radius_cm - 1.0f;
  use_color(kBlack);
  plot::stextsize(kText, 1);
  plot::ssymbolsize(kSymbol, 1);
  // Bottom row just above the net (above the density legend's rows when it
  // stands there: a portrait page), the others above it.
  float y = net.y_cm + net.radius_cm + kAboveNet + kRow * static_cast<float>(rows.size() - 1);
  if (page.density && page.paper == Paper::portrait)
    y += kDensityRow * static_cast<float>(density_legend_rows(page));
  for (const Row& row : rows) {
    float x = left;
    for (std::int32_t symbol : row.symbols) {
      plot::ssymboltype(symbol, 1);
      const float xs = (x + 0.15f - net.x_cm) / net.radius_cm;
      const float ys = (y - net.y_cm) / net.radius_cm;
      plot::ussymbol(&xs, &ys, 1);
      x += 0.4f;
    }
    plot::stextalign(-5, 1);  // left end, middle of the height
    plot::cmtext2(x + (row.symbols.empty() ? 0.0f : 0.1f), y, row.text);
    y -= kRow;
  }
  plot::ssymbolsize(0.25f, 1);
}

}  // namespace polarsketch::figure
