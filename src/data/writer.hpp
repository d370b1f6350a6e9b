// Data sets written back as a measurement file the reader takes: the
// canonical columns of their kind, then every attribute column.
#pragma once

#include <span>
#include <string>

#include "data/measurements.hpp"

namespace polarsketch::data {

// Data sets of one kind as one, rows in order. The attribute columns are the
// union of theirs by name, in order of first appearance; a row of a set
// without a column has it empty. Empty when `sets` is empty.
DataSet merged(std::span<const DataSet> sets);

// The text of a measurement file holding `set`: a header line, then a row per
// measurement, comma-separated. Planes are written as dipdir,dip, lines as
// trend,plunge, slips as dipdir,dip,rake,sense (a signed rake: its sign is the
// sense, the sense column empty; U when the sense is unknown). Angles to four
// decimals; attribute texts quoted when they hold a comma, quote or '#'. A
// sense or type attribute is left out, since the columns written say both.
std::string measurement_file(const DataSet& set);

}  // namespace polarsketch::data
