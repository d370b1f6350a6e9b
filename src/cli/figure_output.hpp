// Figures of `polarsketch plot`: the page drawn through the cairo device and
// written as encapsulated PostScript, PDF, SVG or PNG.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "cli/request.hpp"
#include "render/device.hpp"

namespace polarsketch::cli {

// Draws the page on the device given, its page in the orientation given;
// returns an exit status.
using DrawPage = std::function<int(render::Device& device, render::Orientation orientation)>;

// Draws the page on a cairo device (no PostScript plot file is written) and
// writes the request's figure: cropped to the ink plus 2 mm unless the whole
// page is asked for. Returns an exit status.
int write_figure(const PlotRequest& request, const DrawPage& draw, std::ostream& err);

}  // namespace polarsketch::cli
