// Opening, paging and closing the plot file: guards against opening or
// closing twice, keeps the plot-open flag and hands the device work to the
// PostScript driver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/fixed_text.hpp"

namespace polarsketch::plot {

// Opens the plot file `pfname` (its length is the caller's fixed length, kept;
// the file-opening dialog may change the name) and initialises the plot
// settings; warns and appends when a plot is already open.
void plinit(std::string& pfname, std::int32_t inter);

// The same for a fixed-length name field; a name changed by the dialog is
// stored back.
template <std::size_t N>
void plinit(FixedText<N>& pfname, std::int32_t inter) {
  std::string name = pfname.str();
  plinit(name, inter);
  pfname = name;
}

// Closes the plot file after the driver's "CR = Return" question; warns when
// no plot is open.
void plend();

// The new-page menu: new page, new file "Next_plot", or append.
void newpage();

// For an orderly stop: completes an open plot file with its trailer, asking
// nothing, and clears the plot-open flag. Does nothing when no plot is open.
void plend_on_stop();

}  // namespace polarsketch::plot
