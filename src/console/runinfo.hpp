// Run information (who, where, when), the start and end banners and the small
// closing pictures printed on the console.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/fixed_text.hpp"
#include "console/indexed.hpp"

namespace polarsketch::console {

// Identity of the program and of this run, stamped on every plot page.
struct Runinfocom {
  Indexed<FixedText<11>, 1, 2> pname;
  Indexed<FixedText<4>, 1, 2> pversion;
  Indexed<FixedText<10>, 1, 2> pdate;
  FixedText<10> usnam;
  FixedText<25> hnam;
  FixedText<10> date10;
  FixedText<8> time8;
};
inline Runinfocom runinfocom;

void reset_runinfocom();

// Start banner; waits for a return.
void progheadbc(std::string_view progname, std::string_view version, std::string_view date);
// Fills runinfocom (intera is accepted and not used).
void smaininfo(std::string_view progname, std::string_view version, std::string_view date,
               std::int32_t intera);
// End banner with a closing picture chosen by the units digit of the seconds.
void maintail(std::string_view progname, std::string_view version, std::string_view date);

// The closing pictures.
void happyface();
void sator();
void carmag33();
void endfun1();
void tetrakis();
void tetratemple1();
void tetratemple2();
void offsetnf();
void offsetrf();

// The shading character of the staircase pictures (one byte of the 8-bit set).
inline constexpr char kShadeChar = static_cast<char>(164);

}  // namespace polarsketch::console
