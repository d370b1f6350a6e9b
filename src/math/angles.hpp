// Angle constants shared by every geometric routine, and degrees to radians.
#pragma once

namespace polarsketch::math {

// Basic angle constants: pi, pi/2, pi/4, radians per degree, pi/2 -/+ tolerance.
struct Trig {
  float pi = 0.0f;
  float pi2 = 0.0f;
  float pi4 = 0.0f;
  float radpdeg = 0.0f;
  float pi2i = 0.0f;
  float pi2s = 0.0f;
};

// Multiples of pi and the degree/radian factors.
struct Anglerad {
  float pi1o4 = 0.0f;
  float pi1o3 = 0.0f;
  float pi1o2 = 0.0f;
  float pi3o4 = 0.0f;
  float pi1o1 = 0.0f;
  float pi3o2 = 0.0f;
  float pi2o1 = 0.0f;
  float radodeg = 0.0f;
  float degorad = 0.0f;
};

// Lower edges of the tolerance bands around the anglerad constants.
struct Angleradi {
  float pi1o4i = 0.0f;
  float pi1o3i = 0.0f;
  float pi1o2i = 0.0f;
  float pi3o4i = 0.0f;
  float pi1o1i = 0.0f;
  float pi3o2i = 0.0f;
  float pi2o1i = 0.0f;
};

// Upper edges of the tolerance bands around the anglerad constants.
struct Anglerads {
  float pi1o4s = 0.0f;
  float pi1o3s = 0.0f;
  float pi1o2s = 0.0f;
  float pi3o4s = 0.0f;
  float pi1o1s = 0.0f;
  float pi3o2s = 0.0f;
  float pi2o1s = 0.0f;
};

// The angle constant records, filled once by trigoset at start-up.
inline Trig trig;
inline Anglerad anglerad;
inline Angleradi angleradi;
inline Anglerads anglerads;

// The tolerance band half-width around the angle constants (bit pattern 3727C5AC).
inline constexpr float kAngleTolerance = 0.00001f;

// Program-start state: all constants zero until trigoset runs.
void reset_angle_records();

// Fills the four records without printing (trigoset without its report).
void set_angle_constants();

// Fills the four records and reports on the console.
void trigoset();

// Degrees to radians: deg * radodeg.
float rad(float deg);

}  // namespace polarsketch::math
