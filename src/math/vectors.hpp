// Direction cosines to azimuth and plunge, 3-vectors, the Euler rotation and
// the vector sum. Arrays are plain float arrays; element k of the documented
// 1-based vector is at position k - 1.
#pragma once

#include <cstdint>

namespace polarsketch::math {

// Converts ndat direction cosines (x1, y1, z1) into azimuth long_ and plunge
// lat, in radians (x toward azimuth 0, y toward azimuth 90 degrees, z down).
// A vector off unit length by more than 0.0001 is reported and normalised; a
// zero or non-finite vector is reported and its output point left unchanged.
void cc2lln(float* long_, float* lat, const float* x1, const float* y1, const float* z1,
            std::int32_t ndat);

// x = (x1, x2, x3).
void mat3x1(float* x, float x1, float x2, float x3);

// x = first column of Rz(e1) Rx(e2) Rz(e3) (Euler angles z-x-z, radians).
void euler2(float* x, const float* e);

// w(i) = v(i) + u(i), i = 1..n.
void vsum(float* w, const float* u, const float* v, std::int32_t n);

}  // namespace polarsketch::math
