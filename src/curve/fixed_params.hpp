// Fixed curve parameters (up to four named constants) and the
// curve-parameters menu that shows and changes every curve parameter.
#pragma once

#include <cstdint>
#include <string>

#include "console/fixed_text.hpp"
#include "console/indexed.hpp"

namespace polarsketch::curve {

// Largest number of fixed parameters.
inline constexpr std::int32_t kMaxFixedParams = 4;

// The fixed parameters of a family of curves.
struct Pfixblock {
  Indexed<float, 1, 4> pfix{};               // real value of each parameter
  std::int32_t nparfix = 0;                  // number in use, 0 to 4
  Indexed<FixedText<5>, 1, 4> pfixname{};    // names
  Indexed<FixedText<12>, 1, 4> pfixvalue{};  // value as text
  Indexed<FixedText<17>, 1, 4> pfixinfo{};   // name, or name = value
  Indexed<std::int32_t, 1, 4> ipfix{};       // integer value
  Indexed<std::int32_t, 1, 4> ipfixtype{};   // 0 name only, 1 real, 2 integer, 3 character
};

inline Pfixblock pfixblock;

inline void reset_pfixblock() { pfixblock = Pfixblock{}; }

// Sets the number of fixed parameters in use.
void scparfixnb(std::int32_t& nparfixa, std::int32_t inter);
// Sets fixed parameter number ifix1. Text arguments keep the caller's lengths.
void scparfix1(std::string& pfixnamea, std::int32_t& ipfixtypea, float& pfixa, std::int32_t& ipfixa,
               std::string& pfixvaluea, std::int32_t& ifix1, std::int32_t inter);
// The curve-parameters menu (0), initialisation (4, 5) and display (6).
void scall(std::int32_t inter);

}  // namespace polarsketch::curve
