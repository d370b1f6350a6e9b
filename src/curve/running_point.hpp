// The running point: the parameter that every curve is sampled along, run
// from an initial to a final value in equal steps, and its setters.
#pragma once

#include <cstdint>
#include <string>

#include "console/fixed_text.hpp"

namespace polarsketch::curve {

// Largest number of points of one curve (the plot buffer size).
inline constexpr std::int32_t kMaxPoints = 1000;

// Description of the running point of the curve being drawn.
struct Ptblock {
  float pt = 0.0f;        // current value, set by the drawing loops
  float pti = 0.0f;       // initial value
  float ptf = 0.0f;       // final value
  float ptd = 0.0f;       // increment between points
  float rnp = 0.0f;       // np as a float
  float rni = 0.0f;       // np - 1 as a float (number of intervals)
  std::int32_t np = 0;    // number of points, 1 to 1000
  std::int32_t ip = 0;    // index of the current point (drawing loop counter)
  FixedText<5> ptname;    // name of the running parameter
  FixedText<51> ptvalue;  // initial, final and increment as text
  FixedText<56> ptinfo;   // name followed by ptvalue
};

inline Ptblock ptblock;

inline void reset_ptblock() { ptblock = Ptblock{}; }

// Sets the number of points np.
void scptnp(std::int32_t& npa, std::int32_t inter);
// Sets the bounds pti and ptf.
void scptif(float& ptia, float& ptfa, std::int32_t intera);
// Completes ptd or np from the others (type 0/1, 2, 3; +100 keeps the texts);
// falls back to the curve-parameters menu while the description is unusable.
void scptend(std::int32_t inctypea, std::int32_t intera);
// Sets the name ptname; ptnamea's length is the caller's fixed length.
void scptnam(std::string& ptnamea, std::int32_t inter);
// Sets the increment ptd.
void scptd(float& ptda, std::int32_t intera);

}  // namespace polarsketch::curve
