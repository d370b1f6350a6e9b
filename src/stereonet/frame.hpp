// The stereonet frame: primitive circle, diameters, tick marks and labels,
// its settings record and the frame, label and point-count menus.
#pragma once

#include <cstdint>
#include <string>

#include "console/fixed_text.hpp"
#include "console/indexed.hpp"

namespace polarsketch::stereonet {

// Settings of the stereonet frame drawn by repstereo.
struct Stefram2 {
  std::int32_t nps = 200;  // points of the primitive circle
  Indexed<bool, 1, 6> llabel{{true, true, false, false, false, false}};  // draw label i
  bool laxis = true;  // draw the X and Y diameters
  bool ltics = true;  // draw the tick marks
  Indexed<FixedText<15>, 1, 6> label{{"North", "East", "None", "None", "None", "None"}};
};

inline Stefram2 stefram2;

inline void reset_stefram2() { stefram2 = Stefram2{}; }

// Draws the frame with the current settings into the open plot.
void repstereo();

// Frame settings: flag 4/5 resets, even flags show the frame menu.
void srepstereo0(std::int32_t intera);

// One label: labela (its length is kept) and ion (1 draw, 0 not) for label
// number ilab (1..6); stores into label(ilab) and llabel(ilab).
void srepstereolabel1(std::string& labela, std::int32_t& ion, std::int32_t& ilab,
                      std::int32_t intera);

// Number of points of the primitive circle; stores into nps.
void srepstereonp(std::int32_t& npsa, std::int32_t inter);

}  // namespace polarsketch::stereonet
