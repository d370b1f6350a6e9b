// The two lines of run information written on each plot page.
#pragma once

#include <cstdint>

namespace polarsketch::plot {

// Draws the run information at (xcm, ycm) centimetres at half the current text
// size, leaving that size unchanged (intera is accepted and not used).
void cmplotruninfo01(float xcm, float ycm, std::int32_t intera);

}  // namespace polarsketch::plot
