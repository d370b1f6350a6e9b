// Subplots and the maps between user units, centimetres and device units:
// setting the user-to-centimetre map, deriving the device and inverse maps,
// converting points, and switching the current subplot.
#pragma once

#include <cstdint>

#include "plot/records.hpp"

namespace polarsketch::plot {

// Sets the user-to-centimetre map (origin in cm, matrix xx xy / yx yy) of the
// current subplot, or of all 35 in modes 6 and 7; the arguments return the
// values stored last.
void sus2cm1(float& xp0a, float& yp0a, float& xxa, float& xya, float& yxa, float& yya,
             std::int32_t inter);

// The "CONVERSION SET UP" dialog: shows the map and lets the user change it.
void mus2cm1(float& xcm0, float& ycm0, float& xx, float& xy, float& yx, float& yy);

// Recomputes the user-to-device map of the current subplot.
void sus2de();

// Recomputes the centimetre-to-user map (inverse) of the current subplot.
void scm2us();

// Converts np user points to device units through the current subplot.
void us2de(float* xdev, float* ydev, const float* xus, const float* yus, std::int32_t np);

// Converts np page points (cm) to device units.
void cm2de(float* xdev, float* ydev, const float* xcm, const float* ycm, std::int32_t np);

// del = rcmtode * cml: a length in cm to device units.
void lengthcm2de(float& del, float cml);

// Makes subplot isa current (1..35); isa returns the subplot made current.
void ssubplot(std::int32_t& isa, std::int32_t inter);

}  // namespace polarsketch::plot
