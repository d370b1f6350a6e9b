// What the layers of a page share: where the net stands, the sets' colours
// and symbols, line widths, the density shades, and small drawing helpers
// over the plot library's routines. Measurements are double precision; they
// become the plot library's float radians here.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "figure/page.hpp"

namespace polarsketch::figure {

// Where the net stands on the page: its centre (cm) and radius (cm per user unit).
struct NetPlacement {
  float x_cm = 10.5f;
  float y_cm = 12.0f;
  float radius_cm = 8.0f;
};
NetPlacement net_placement(Paper paper);
// Where a rose stands: higher and smaller than a net on a portrait page, so
// that its legend fits below it.
NetPlacement rose_placement(Paper paper);

// The data symbols' size (cm) for `symbols` of them on the page: 12 mm
// times n^-0.4, at most 2.5 mm (up to 50 symbols) and at least 0.2 mm (from
// about 27,000), so that 400 poles (1.1 mm) leave their contours visible
// and 100,000 still show where they gather. `override_mm`, when given, is
// used instead.
float symbol_size_cm(std::size_t symbols, std::optional<double> override_mm = std::nullopt);
// The outline of a data symbol: the data's line width, thinner for symbols
// small enough that the line would swell them.
float symbol_line_width(float symbol_cm);
constexpr float kLegendSymbol = 0.25f;  // the legends' marks, cm, whatever the data's size

// Height above the net's top (cm) of the caption and of the lowest row of the
// density legend: clear of the frame's ticks and North label.
constexpr float kAboveNet = 0.9f;

// The colour slot and symbol type of the i-th data set (0-based), from a
// fixed sequence that repeats.
struct SetStyle {
  std::int32_t color = 1;
  std::int32_t symbol = 1;
};
SetStyle set_style(std::size_t index);

constexpr std::int32_t kBackground = 0;  // colour slots of the default table
constexpr std::int32_t kBlack = 1;
constexpr std::int32_t kLightGrey = 8;    // grey 20 % (light)
constexpr float kDataLineWidth = 0.02f;   // the page's data lines, cm
constexpr float kFillEdgeWidth = 0.012f;  // outline of each filled density ring (the least), cm

// The statistics marks: symbols, sizes (cm) and the width of their lines
// (the girdle and the ellipse), heavier than the data's.
constexpr float kStatsMeanSymbol = 0.5f;
constexpr float kStatsAxisSymbol = 0.3f;
constexpr std::int32_t kStatsMeanSymbolType = 23;  // circle with a cross
constexpr std::int32_t kStatsAxisSymbolType = 13;  // plus sign
constexpr std::int32_t kStatsBetaSymbolType = 4;   // diamond
constexpr float kStatisticsLineWidth = 0.06f;

// The 95 % confidence ellipse about v1 of `s` (which has its semi-angles
// and v1) as a closed curve of unit vectors, the first point repeated.
std::vector<analysis::Vector3> bingham_ellipse(const analysis::Statistics& s, int steps = 180);

// Symbol types of the fault marks: P, T and B axes, sigma1, 2 and 3.
constexpr std::int32_t kPSymbol = 2;   // circle
constexpr std::int32_t kTSymbol = 14;  // x
constexpr std::int32_t kBSymbol = 12;  // |
constexpr std::int32_t kStressSymbols[3] = {5, 4, 3};  // pentagon, square, triangle

// Lines, fills and text in one colour slot.
void use_color(std::int32_t slot);
// Degrees (double) as the plot library's float radians.
float radians(double degrees);

// Whether filled shapes show their colours: the Illustrator dialect writes
// no fill colour, so filled bands would all be black.
bool fills_have_colours(const Page& page);
bool fills_have_colours(int dialect);
// The colour of density band `band` of `bands` (the background below the
// lowest level); `turn` counts the fills so far and picks the colour slot.
void use_band_color(std::optional<std::size_t> band, std::size_t bands, std::size_t turn);
// The colour slots the bands borrowed, restored; black lines of data width.
void restore_band_slots();
// A filled polygon of points in device units (the closing point left out).
void fill_device(std::vector<float>& x, std::vector<float>& y);

// The lower-hemisphere direction in user units of the page, as the page's
// hemisphere shows it.
void projected(const analysis::TrendPlunge& d, Hemisphere h, float& x, float& y);

}  // namespace polarsketch::figure
