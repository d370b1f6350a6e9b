// Device-independent drawing primitives: polylines, text and marker symbols
// given in user units (or text in centimetres), converted through the current
// subplot into the shared device buffer and handed to the plot device.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "console/indexed.hpp"

namespace polarsketch::plot {

// Scratch device buffer shared by every polyline chunk and every symbol.
struct Pltbuff1 {
  Indexed<float, 1, 501> xdevbuff;
  Indexed<float, 1, 501> ydevbuff;
};

inline Pltbuff1 pltbuff1;

inline void reset_pltbuff1() { pltbuff1 = Pltbuff1{}; }

// Point arrays are passed as spans (or pointers) whose element 0 is point 1;
// they hold at least the number of points named.

// Polyline through the np user points, drawn in chunks of at most 501 points
// that share their boundary point.
void usline(std::span<const float> xu, std::span<const float> yu, std::int32_t np);
void usline(const float* xu, const float* yu, std::int32_t np);

// Copies x(is..ie), y(is..ie) with ie = min(is + ib - 1, nx) into xb, yb;
// ibe = number copied, is = ie. Reports an error frame when is > nx (nothing
// copied, ibe = 0).
void buffer2(std::span<float> xb, std::span<float> yb, std::int32_t ib, std::int32_t& ibe,
             std::span<const float> x, std::span<const float> y, std::int32_t nx, std::int32_t& is);

// Text at a user point / at a page point in centimetres (whole text field).
void ustext2(float xu, float yu, std::string_view text);
void cmtext2(float xcm, float ycm, std::string_view text);

// The current symbol (size and shape of the attribute record) at each of the
// ns user points.
void ussymbol(std::span<const float> xu, std::span<const float> yu, std::int32_t ns);
void ussymbol(const float* xu, const float* yu, std::int32_t ns);

}  // namespace polarsketch::plot
