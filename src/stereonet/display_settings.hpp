// How an axis is marked on the net (a plot symbol, a radial line or arrow) and
// how many points a half great circle has, with their settings menus.
#pragma once

#include <cstdint>

namespace polarsketch::stereonet {

// Axis marks: the standard type (hemisphere drawn) and the alternate type
// (shown for the opposite hemisphere). -99..99 plot symbols, 100 line, 101 arrow.
struct Dspaxbk {
  std::int32_t iaxtyp1 = 1;
  std::int32_t iaxtyp2 = -1;
};
inline Dspaxbk dspaxbk;

// Number of points of a half great circle (1..1000).
struct Dspgcbk {
  std::int32_t npgc = 40;
};
inline Dspgcbk dspgcbk;

// Both records back to their program-start values.
void reset_display_settings();

// Axis-symbol settings; flag 200 runs the menu as a set-up dialog whose result
// is returned in the arguments but not stored.
void sdspaxsymb(std::int32_t& iaxtypa1, std::int32_t& iaxtypa2, std::int32_t intera);

// Great-circle point count settings.
void sdspgc(std::int32_t& npgca, std::int32_t inter);

}  // namespace polarsketch::stereonet
