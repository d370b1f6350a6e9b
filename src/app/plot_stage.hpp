// The plot-file stage of the main loop (open, new page, close) and the page
// preparation that follows every opening and every new page.
#pragma once

#include <cstdint>

namespace polarsketch::app {

struct MainParams;

// Handles the plot file for command irep: 20 closes; 999 and 9999 close an
// open plot; 19 with a plot open runs the new-page menu and prepares the
// page; 10, or 100..603 with no plot open, opens the plot file p.pfnam and
// prepares the page. Returns true when the command was one of these.
bool plot_stage(std::int32_t irep, MainParams& p);

// Page preparation: subplot of the plot size type, the run information at
// 10.5 cm, 28.0 cm (centred at the bottom), the frame when p.ldrwframe.
void prepare_plot(const MainParams& p);

}  // namespace polarsketch::app
