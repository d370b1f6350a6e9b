// The PostScript drawing operators: moves and lines with coordinate limits,
// polylines, polygons, text, the text font, line width and text height, and
// the centimetre-to-device scaling of this driver.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace polarsketch::postscript {

// Device coordinates are limited to +-kDeviceLimit; larger values (and NaN)
// are reported and clamped in the caller's variables.
inline constexpr float kDeviceLimit = 9.9e7f;
// Metres per device unit, for the warnings.
inline constexpr float pica2m = 3.5278e-4f;

// Moves the current point; kpen 1 starts a new path, 0 only moves.
void psmoveto(float& x1, float& y1, std::int32_t kpen);
// Adds np line segments to the open path (element 0 is point 1).
void pslineto(float* x1, float* y1, std::int32_t np);

// Polyline of np points, stroked.
void deline(float* xdev, float* ydev, std::int32_t np);
inline void deline(std::span<float> xdev, std::span<float> ydev, std::int32_t np) {
  deline(xdev.data(), ydev.data(), np);
}
// Closed polygon of n points, hollow or filled by the fill style.
void depolygon(float* x, float* y, std::int32_t n);
inline void depolygon(std::span<float> x, std::span<float> y, std::int32_t n) {
  depolygon(x.data(), y.data(), n);
}
// Text at a device point with the current alignment, angle, font, height, colour.
void detext2(float& x, float& y, std::string_view text);

// Selects the text font 1..16 (menu for inter 0, 2, 4).
void stextfont(std::int32_t& ifonta, std::int32_t inter);
// Writes a line width of `size` device units.
void intslinewidth(float size);
// Sets the text height from centimetres; writes nothing.
void intstextsize(float sizecma);
// Sets the centimetre-to-device map of every subplot (28.35 per cm).
void scm2de();

}  // namespace polarsketch::postscript
