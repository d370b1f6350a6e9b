// Advance widths of the base fonts and the driver's text placement.
#include "render/font_metrics.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "render/path_points.hpp"

namespace polarsketch::render {
namespace {

using Widths = std::array<std::uint16_t, 95>;  // characters 32..126, thousandths of an em

constexpr Widths kHelvetica{
    278,  278, 355, 556, 556, 889, 667, 222, 333, 333, 389, 584, 278, 333, 278, 278,  // ' '../
    556,  556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,  // 0..?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @..O
    667,  778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,  // P.._
    222,  556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,  // `..o
    556,  556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};      // p..~

constexpr Widths kHelveticaBold{
    278, 333, 474, 556, 556, 889, 722, 278, 333, 333, 389, 584, 278, 333, 278, 278,  //
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611,  //
    975, 722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778,  //
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 333, 278, 333, 584, 556,  //
    278, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, 611, 611,  //
    611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

constexpr Widths kTimes{
    250, 333, 408, 500, 500, 833, 778, 333, 333, 333, 500, 564, 250, 333, 250, 278,  //
    500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444,  //
    921, 722, 667, 667, 722, 611, 556, 722, 722, 333, 389, 722, 611, 889, 722, 722,  //
    556, 722, 667, 556, 611, 722, 722, 944, 722, 722, 611, 333, 278, 333, 469, 500,  //
    333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500, 278, 778, 500, 500,  //
    500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541};

struct Metrics {
  const Widths* widths = nullptr;  // nullptr: every character `fixed`
  double scale = 1.0;
  double fixed = 0.6;  // em, also the width of characters outside the table
};

Metrics metrics_of(std::string_view font) {
  if (!font.empty() && font.front() == '/') font.remove_prefix(1);
  const bool bold = font.find("Bold") != std::string_view::npos;
  if (font.starts_with("Helvetica")) return {bold ? &kHelveticaBold : &kHelvetica, 1.0, 0.556};
  if (font.starts_with("Times")) return {&kTimes, bold ? 1.04 : 1.0, 0.5};
  // Courier and the fonts an interpreter replaces by it; the Symbol font's
  // widths vary about this average.
  return {nullptr, 1.0, 0.6};
}

constexpr double kAscent = 0.75;   // em above the baseline, capitals and accents aside
constexpr double kDescent = 0.25;  // em below it

}  // namespace

double text_width(std::string_view postscript_font, std::string_view bytes) {
  const Metrics m = metrics_of(postscript_font);
  double thousandths = 0.0;
  for (const char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    if (m.widths != nullptr && c >= 32 && c <= 126)
      thousandths += (*m.widths)[c - 32];
    else
      thousandths += 1000.0 * m.fixed;
  }
  return thousandths / 1000.0 * m.scale;
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
