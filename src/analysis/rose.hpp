// Rose diagrams: the azimuths a data set gives (strikes, dip directions or
// trends), their weights, their counts in half-open bins, and the circular
// statistics of the azimuths. Angles in degrees, clockwise from North.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/statistics.hpp"
#include "data/measurements.hpp"

namespace polarsketch::analysis {

// What a rose counts: strikes (right-hand rule: the dip direction less 90)
// and dip directions of planes (slips: of their planes), trends of lines
// (slips: of the slip line, the way the hanging wall moved when the sense is
// known).
enum class RoseCount { strike, dip_direction, trend };

// Axial azimuths count theta and theta + 180 as one (period 180);
// directional ones use the full circle (period 360).
enum class RoseSymmetry { axial, directional };

// Strike for planes and slips, trend for lines.
RoseCount default_count(data::Kind kind);
// Axial for strikes, directional for dip directions and trends.
RoseSymmetry default_symmetry(RoseCount count);
// The period of the bins: 180 for axial azimuths, 360 for directional ones.
double rose_period(RoseSymmetry symmetry);
// "strikes", "dip directions", "trends".
std::string count_name(RoseCount count);

// Which measurements count and how much each weighs.
struct RoseSelection {
  RoseCount count = RoseCount::strike;
  // Planes kept: dip within [min, max] inclusive; empty: all.
  std::optional<std::pair<double, double>> dips;
  // The scanline or borehole of the Terzaghi weights (a line, lower end);
  // empty: every measurement weighs 1.
  std::optional<data::Line> scanline;
  double min_bias = 15;  // degrees: planes at a smaller angle to the scanline weigh as at this one
};

// The azimuths counted and their weights (empty when unweighted), or why the
// selection does not fit the data (counting strikes of lines, say).
struct RoseSample {
  std::vector<double> azimuths;
  std::vector<double> weights;
  std::string error;
};
RoseSample rose_sample(const data::DataSet& set, const RoseSelection& selection);

// The Terzaghi (1965) weight of a plane crossed by a scanline: 1 / sin a,
// a the angle between plane and line, taken as at least `min_bias` degrees.
double terzaghi_weight(const data::Plane& plane, const data::Line& scanline, double min_bias);

// Why `width` cannot be the bins' width (it must divide the period); empty
// when it can.
std::string bin_width_error(double width, RoseSymmetry symmetry);

// The bin of an azimuth: k with (azimuth - start) mod period in
// [k width, (k + 1) width). 360 is 0. The width divides the period.
std::size_t bin_index(double azimuth, double start, double width, RoseSymmetry symmetry);

// The circular statistics of weighted azimuths (weights empty: 1 each).
// Axial azimuths are doubled first and the angles halved after (mean,
// standard deviation, interval); Rbar, the variance and the Rayleigh test
// are those of the doubled angles. The Rayleigh test and the interval use n,
// the number of azimuths, with the weighted Rbar.
struct CircularStatistics {
  std::size_t n = 0;
  double total_weight = 0;
  std::optional<double> mean;          // [0, period); empty when the resultant is 0
  double mean_resultant_length = 0;    // Rbar
  double circular_variance = 1;        // 1 - Rbar
  std::optional<double> circular_sd;   // degrees, sqrt(-2 ln Rbar); empty when Rbar = 0
  std::optional<double> confidence95;  // half-width of the 95 % interval of the mean,
                                       // degrees; empty for n < 2 or when undefined
  double rayleigh_z = 0;               // n Rbar^2
  double rayleigh_p = 1;               // in [0, 1]
};
CircularStatistics circular_statistics(std::span<const double> azimuths,
                                       std::span<const double> weights, RoseSymmetry symmetry);

// Wilkie's (1983) p of the Rayleigh test, which stays in [0, 1] for any Z.
double rayleigh_p(std::size_t n, double mean_resultant_length);

struct RoseBin {
  double start = 0;  // [0, 360)
  double end = 0;    // start + width, brought into (0, 360]
  std::size_t count = 0;
  double weight = 0;  // the summed weights (the count when unweighted)
};

struct Rose {
  RoseSymmetry symmetry = RoseSymmetry::axial;
  double start = 0;
  double width = 10;
  bool weighted = false;
  std::vector<RoseBin> bins;  // period / width bins from `start`
  CircularStatistics statistics;
};

// The rose of weighted azimuths (weights empty: 1 each); the width divides
// the period (see bin_width_error).
Rose rose_of(std::span<const double> azimuths, std::span<const double> weights, double start,
             double width, RoseSymmetry symmetry);

}  // namespace polarsketch::analysis
