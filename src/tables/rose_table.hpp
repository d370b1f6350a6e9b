// A rose as text: its bins and circular statistics as CSV for standard
// output, and the statistics as short lines for the figure's legend.
#pragma once

#include <string>
#include <vector>

#include "analysis/rose.hpp"

namespace polarsketch::tables {

// "p < 0.001" below that, else "p = 0.123": a p that never reads as 1e-18.
std::string p_value_text(double p);

// The header "start,end,count,percent" (weighted: "start,end,count,weight,
// percent"), a line per bin, an empty line, then "statistic,value" and a
// line per statistic (n, weight when weighted, mean, mean_resultant_length,
// circular_variance, circular_sd, confidence95, rayleigh_z, rayleigh_p).
// Angles with 2 decimals, other values with 6 significant digits,
// undefined values empty; a Rayleigh p below 0.001 is written "<0.001".
// Percentages are of n (of the summed weights when weighted).
std::string rose_csv(const analysis::Rose& rose);

// The statistics for a legend, one line each: mean with its 95 % interval,
// mean resultant length, circular variance and standard deviation, and the
// Rayleigh test.
std::vector<std::string> rose_statistics_lines(const analysis::Rose& rose);

}  // namespace polarsketch::tables
