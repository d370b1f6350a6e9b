// The page `polarsketch plot` draws: the stereonet frame, the optional nets,
// every data set in its own colour and symbol, and the legend. Measurements
// are double precision; they become the plot library's float radians here.
#pragma once

#include <cstdint>
#include <vector>

#include "cli/request.hpp"
#include "data/measurements.hpp"

namespace polarsketch::cli {

// Where the net stands on the page: its centre (cm) and radius (cm per user unit).
struct NetPlacement {
  float x_cm = 10.5f;
  float y_cm = 12.0f;
  float radius_cm = 8.0f;
};
NetPlacement net_placement(Paper paper);

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

// Drawing helpers shared by the page and its analysis layers.
constexpr std::int32_t kBlack = 1;       // colour slot of the default table
constexpr float kDataLineWidth = 0.02f;  // the page's data lines, cm
// Lines, fills and text in one colour slot.
void use_color(std::int32_t slot);
// Degrees (double) as the plot library's float radians.
float radians(double degrees);
// The azimuth drawn for a lower-hemisphere direction: the upper hemisphere
// seen from above shows each direction turned half a turn about the vertical.
double turned(double azimuth, Hemisphere h);

struct AnalysisLayers;

// Draws the page into the plot file open in the current batch session: the
// density bands under everything, the data (unless hidden), the statistics.
void draw_page(const PlotRequest& request, const std::vector<data::DataSet>& sets,
               const AnalysisLayers& layers);

}  // namespace polarsketch::cli
