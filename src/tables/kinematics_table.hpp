// Slope kinematics as text: the planes of a survey with their labels, the
// report of every mode (counts, percentages, denominators) and the CSV of
// every critical item.
#pragma once

#include <string>
#include <vector>

#include "analysis/kinematics.hpp"
#include "data/measurements.hpp"

namespace polarsketch::tables {

// The planes of the data sets pooled (the planes of slips too), each with its
// label: the label column, else its line number, prefixed "FILE:" when the
// survey comes from several files.
struct Survey {
  std::vector<analysis::DipDirection> planes;
  std::vector<std::string> labels;
};
Survey survey_of(const std::vector<data::DataSet>& sets);

// The slope and its conventions, then a line per mode: critical and secondary
// counts with percentages of one decimal, and the denominator.
std::string kinematics_report(const analysis::Slope& slope,
                              const std::vector<analysis::KinematicResult>& results);

// "mode,zone,label_a,label_b,trend,plunge" and a line per item of every
// result (label_b empty for a plane); the pole or the intersection line.
std::string kinematics_csv(const Survey& survey,
                           const std::vector<analysis::KinematicResult>& results);

// "12.5 %" of part in whole, one decimal; "-" when whole is 0.
std::string percent(std::size_t part, std::size_t whole);

// A slope's numbers as given: "120/65", "30".
std::string angle_text(double degrees);

}  // namespace polarsketch::tables
