// Which marks a data set gets on the net, shared by the data layer and the
// legend's rows.
#pragma once

#include "figure/page.hpp"

namespace polarsketch::figure {

// A great circle per measurement: slips, and planes unless drawn as poles.
bool draws_circles(const data::DataSet& set, PlaneStyle planes);
// A symbol per measurement: lines, slips, and planes drawn as poles.
bool draws_symbols(const data::DataSet& set, PlaneStyle planes);

// The size (cm) of the data symbols on the page: by their count, or as the
// page says.
float data_symbol_size(const Page& page);

}  // namespace polarsketch::figure
