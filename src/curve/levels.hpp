// Level parameters: the series of levels at which a family of curves is drawn.
#pragma once

#include <cstdint>
#include <string>

#include "console/fixed_text.hpp"

namespace polarsketch::curve {

// Levels of a family of curves: initial, final, increment and count.
struct Plevblock {
  float plev = 0.0f;        // current level (reserved for the curve generator)
  float plevi = 0.0f;       // initial level
  float plevf = 0.0f;       // final level
  float plevd = 0.0f;       // level increment
  std::int32_t nlev = 0;    // number of levels
  std::int32_t ilev = 0;    // current level index (reserved)
  FixedText<5> plevname;    // name of the level parameter
  FixedText<51> plevvalue;  // the three values as text
  FixedText<56> plevinfo;   // trimmed name followed by plevvalue
};

inline Plevblock plevblock;

inline void reset_plevblock() { plevblock = Plevblock{}; }

// Sets the levels, makes them consistent for the calculation type and stores
// them. plevnamea's length is the caller's fixed length.
void sclevel2(float& plevia, float& plevfa, float& plevda, std::int32_t& nleva,
              std::int32_t& inctypea, std::string& plevnamea, std::int32_t inter);

}  // namespace polarsketch::curve
