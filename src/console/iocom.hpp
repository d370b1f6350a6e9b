// The console record: unit numbers and run flags shared by every routine.
#pragma once

#include <cstdint>

#include "console/indexed.hpp"

namespace polarsketch::console {

// Console units and run flags; filled by initsio at start-up.
struct Iocom {
  std::int32_t iti = 5;                            // console input unit
  std::int32_t ito = 6;                            // console output unit
  std::int32_t itier = 5;                          // error input unit (pause answers)
  std::int32_t itoer = 6;                          // error output unit (warning and error frames)
  bool lop = false;                                // a plot file is open
  bool locom = false;                              // a command file is open (never set)
  bool lcrerr = true;                              // pause after each warning or error frame
  Indexed<bool, 1, 3> lwito{{true, true, false}};  // output levels: minimum, more, maximum
};

inline Iocom iocom;

inline void reset_iocom() { iocom = Iocom{}; }

// Sets the console record and reports it.
void initsio();

}  // namespace polarsketch::console
