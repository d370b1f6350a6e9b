// Figures of `polarsketch plot`: the page drawn through the cairo device and
// written as encapsulated PostScript, PDF, SVG or PNG.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "cli/request.hpp"

namespace polarsketch::cli {

// Draws the page into a plot file at the path given; returns an exit status.
using DrawPage = std::function<int(const std::string& plot_file)>;

// Draws the page with the cairo device receiving the drawing (the driver's
// own plot file is not kept) and writes the request's figure: cropped to the
// ink plus 2 mm unless the whole page is asked for. Returns an exit status.
int write_figure(const PlotRequest& request, const DrawPage& draw, std::ostream& err);

}  // namespace polarsketch::cli
