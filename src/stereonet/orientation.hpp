// Orientations turned into drawing: axes as symbols or radial marks, planes as
// great circles, slips as the axis of their slip vector, cones as small circles.
// Every angle is in radians.
#pragma once

#include <cstdint>

#include "console/indexed.hpp"

namespace polarsketch::stereonet {

// Scratch: direction cosines of a curve's points, overwritten in place by their
// azimuths and plunges and then by their projected x and y.
struct Cc3dbuff {
  Indexed<float, 1, 1000> xe;
  Indexed<float, 1, 1000> ye;
  Indexed<float, 1, 1000> ze;
};
inline Cc3dbuff cc3dbuff;

// Scratch: unit-circle points (cos t, sin t) in a curve's own frame; the slip
// drawing keeps the azimuths and plunges of the slip vectors here instead.
struct Cc2dbuff {
  Indexed<float, 1, 1000> xp;
  Indexed<float, 1, 1000> yp;
};
inline Cc2dbuff cc2dbuff;

// Scratch: the frame of a small circle's axis (column 3 the axis).
struct Axf {
  Indexed2<float, 1, 3, 1, 3> u;
};
inline Axf axf;

// Clears the three scratch records.
void reset_orientation_buffers();

// Axes of trend az(i) and plunge plunge(i), i = 1..nax (arrays of nax values).
void dspaxfapn(const float* az, const float* plunge, std::int32_t nax);
// Planes of strike az(i) and dip dip(i), drawn as great circles.
void dspgcfadn(const float* az, const float* dip, std::int32_t ngc);
// Slips of strike az(i), dip dip(i) and rake rake(i), drawn as axes.
void dspaxfadrn(const float* az, const float* dip, const float* rake, std::int32_t naxa);
// Small circle of half apex angle a about the axis (az, plunge), arc t1..t2.
void dspscafaph(float az, float plunge, float a, float t1, float t2);
// Fills axf.u with the frame of the axis (az, plunge).
void axfram(float az, float plunge);

}  // namespace polarsketch::stereonet
