// The circle families of the standard and polar nets, drawn into the open
// plot: great circles through the north-south axis, small circles about it,
// vertical planes and cones about the vertical. Steps are whole degrees.
#pragma once

#include <algorithm>
#include <cstdint>

namespace polarsketch::stereonet {

// Calls body(v) for v = a, a+s, ..., (b - a + s) / s values truncated toward
// zero (none when that is zero or less, or when s is zero), at most `limit`.
// Computed in 64 bits so that bounds near the integer limits cannot overflow.
std::int64_t loop_count(std::int64_t a, std::int64_t b, std::int64_t s);
template <class Body>
void for_step(std::int32_t a, std::int32_t b, std::int32_t s, Body body,
              std::int64_t limit = INT64_MAX) {
  const std::int64_t n = std::min(loop_count(a, b, s), limit);
  for (std::int64_t k = 0; k < n; ++k) {
    body(static_cast<std::int32_t>(a + k * static_cast<std::int64_t>(s)));
  }
}

// Standard net: great circles of strike 0 and dips 0, idg, ... up to 180
// (isp 2, half sphere) or 360 (isp 1, full sphere).
void standard_net_great_circles(std::int32_t idg, std::int32_t isp);
// Standard net: small circles of half angles 0, ids, ... below 90 about the
// north and south ends of the horizontal north-south axis.
void standard_net_small_circles(std::int32_t ids, std::int32_t isp);
// Polar net: vertical planes of strike 0, idg, ... up to 360.
void polar_net_planes(std::int32_t idg);
// Polar net: cones of half angles 0, ids, ... below 90 about the vertical.
void polar_net_cones(std::int32_t ids);

}  // namespace polarsketch::stereonet
