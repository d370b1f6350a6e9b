// The four stereographic projections (Wulff and Schmidt, direct or retrograde
// axes), their settings dialogs and the dispatcher used by all drawing.
#pragma once

#include <cstdint>

namespace polarsketch::stereonet {

// The current projection number: 1 Wulff direct, 2 Wulff retrograde,
// 3 Schmidt direct, 4 Schmidt retrograde.
struct Sprojtype {
  std::int32_t iproj = 0;
};

// Wulff projection parameters: largest colatitude mapped (radians).
struct Wulfparams {
  float clatmax = 0.0f;
};

// Schmidt projection parameters: largest colatitude mapped (radians) and scale.
struct Schmidtparams {
  float clatmax = 0.0f;
  float r2 = 0.0f;
};

// The projection records, set by sspro, swulf and sschmidt.
inline Sprojtype sprojtype;
inline Wulfparams wulfparams;
inline Schmidtparams schmidtparams;

// The Schmidt scale: the float nearest sqrt(2) (bit pattern 3FB504F3).
inline constexpr float kSchmidtScale = 1.41421354f;

// Program-start state: all zero until sspro runs.
void reset_projection_records();

// Chooses the projection (menu on even flags); iproja returns the number set.
void sspro(std::int32_t& iproja, std::int32_t inter);

// Wulff and Schmidt family settings; clma is the largest colatitude in degrees.
void swulf(float& clma, std::int32_t inter);
void sschmidt(float& clma, std::int32_t inter);

// Projects np directions (azimuth long_, plunge lat, radians) with the
// current projection into user units (primitive circle of radius 1).
void spron(float* x, float* y, const float* long_, const float* lat, std::int32_t np);

// The Wulff and Schmidt formulas with direct axes.
void wulfn(float* x, float* y, const float* long_, const float* lat, std::int32_t np);
void schmidtn(float* x, float* y, const float* az, const float* lat, std::int32_t np);

}  // namespace polarsketch::stereonet
