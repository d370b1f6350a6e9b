// Advance widths of the base fonts and the driver's text placement.
#include "render/font_metrics.hpp"

#include <cmath>
#include <numbers>
#include <string>

#include "render/base_font_widths.hpp"
#include "render/fonts.hpp"
#include "render/path_points.hpp"

namespace polarsketch::render {
namespace {

const BaseFontWidths& widths_of(std::string_view postscript_name) {
  const std::string_view name = base_font_name(postscript_name);
  for (const BaseFontWidths& f : kBaseFontWidths)
    if (f.name == name) return f;
  return kBaseFontWidths[8];  // Courier
}

constexpr double kAscent = 0.75;   // em above the baseline, capitals and accents aside
constexpr double kDescent = 0.25;  // em below it

}  // namespace

std::string_view base_font_name(std::string_view postscript_name) {
  const FontFace f = font_face(postscript_name);
  if (f.symbol) return "Symbol";
  if (f.family == "Nimbus Sans") {
    if (f.bold) return f.italic ? "Helvetica-BoldOblique" : "Helvetica-Bold";
    return f.italic ? "Helvetica-Oblique" : "Helvetica";
  }
  if (f.family == "Nimbus Roman") {
    if (f.bold) return f.italic ? "Times-BoldItalic" : "Times-Bold";
    return f.italic ? "Times-Italic" : "Times-Roman";
  }
  if (f.bold) return f.italic ? "Courier-BoldOblique" : "Courier-Bold";
  return f.italic ? "Courier-Oblique" : "Courier";
}

double text_width(std::string_view postscript_font, std::string_view bytes) {
  const BaseFontWidths& f = widths_of(postscript_font);
  long thousandths = 0;
  for (const char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    // Control codes show as blanks.
    thousandths += f.width[c < 32 || c == 127 ? 0 : c - 32];
  }
  return static_cast<double>(thousandths) / 1000.0;
}

TextPlacement place_text(Point at, std::string_view text, const TextStyle& style) {
  const double angle = std::isfinite(style.angle) ? style.angle : 0.0;
  const double theta = angle * std::numbers::pi / 180.0;
  const double height = std::isfinite(style.height) ? style.height : 0.0;
  const long long align = std::llabs(static_cast<long long>(style.align));
  const double down = height * 0.5 * static_cast<double>(align / 4);
  const double width = text_width(style.font, text) * style.size;
  const long long horizontal = align % 4;
  const double back = horizontal == 2 ? width / 2.0 : horizontal == 3 ? width : 0.0;
  const double c = std::cos(theta), s = std::sin(theta);
  const Point anchor{finite_or_zero(at.x) + s * down, finite_or_zero(at.y) - c * down};
  const Point start{anchor.x - c * back, anchor.y - s * back};
  return {anchor, static_cast<int>(horizontal), start, theta, width};
}

void add_text_ink(const TextPlacement& placed, double size, InkBox& ink) {
  const double c = std::cos(placed.angle), s = std::sin(placed.angle);
  for (const double along : {0.0, placed.width})
    for (const double up : {kAscent * size, -kDescent * size})
      ink.add(placed.start.x + c * along - s * up, placed.start.y + s * along + c * up);
}

}  // namespace polarsketch::render
