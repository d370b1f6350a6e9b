// The drawing commands of the main menu: single orientations (100 to 500) and
// the stereonets (600 to 603).
#pragma once

#include <cstdint>

namespace polarsketch::app {

struct MainParams;

// Draws what command irep asks for into the open plot; other numbers draw nothing.
void draw_stage(std::int32_t irep, MainParams& p);

}  // namespace polarsketch::app
