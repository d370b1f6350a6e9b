// The plot settings: initialisation of the whole plot state at plot opening
// and the "SETTING PLOT ATTRIBUTES" menu.
#pragma once

#include <cstdint>

namespace polarsketch::plot {

// 4..9 initialise (see settings_menu.cpp), even values show the menu.
void splotparam2(std::int32_t intera);

}  // namespace polarsketch::plot
