// A rose's bins and statistics as CSV and as legend lines.
#include "tables/rose_table.hpp"

#include <cstdio>
#include <optional>

namespace polarsketch::tables {
namespace {

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string angle(const std::optional<double>& degrees) {
  return degrees ? formatted("%.2f", *degrees) : "";
}

std::string number(double value) { return formatted("%.6g", value); }

double percent(double part, double whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

}  // namespace

std::string p_value_text(double p) {
  return p < 0.001 ? "p < 0.001" : "p = " + formatted("%.3f", p);
}

std::string rose_csv(const analysis::Rose& rose) {
  const analysis::CircularStatistics& st = rose.statistics;
  std::string text =
      rose.weighted ? "start,end,count,weight,percent\n" : "start,end,count,percent\n";
  for (const analysis::RoseBin& b : rose.bins) {
    text += number(b.start) + "," + number(b.end) + "," + std::to_string(b.count) + ",";
    if (rose.weighted) text += number(b.weight) + ",";
    text += number(percent(b.weight, st.total_weight)) + "\n";
  }
  text += "\nstatistic,value\n";
  text += "n," + std::to_string(st.n) + "\n";
  if (rose.weighted) text += "weight," + number(st.total_weight) + "\n";
  text += "mean," + angle(st.mean) + "\n";
  text += "mean_resultant_length," + number(st.mean_resultant_length) + "\n";
  text += "circular_variance," + number(st.circular_variance) + "\n";
  text += "circular_sd," + angle(st.circular_sd) + "\n";
  text += "confidence95," + angle(st.confidence95) + "\n";
  text += "rayleigh_z," + number(st.rayleigh_z) + "\n";
  text += "rayleigh_p," + (st.rayleigh_p < 0.001 ? "<0.001" : number(st.rayleigh_p)) + "\n";
  return text;
}

std::vector<std::string> rose_statistics_lines(const analysis::Rose& rose) {
  const analysis::CircularStatistics& st = rose.statistics;
  std::string mean = "mean direction: " + (st.mean ? formatted("%.1f", *st.mean) : "undefined");
  if (st.mean && rose.symmetry == analysis::RoseSymmetry::axial)
    mean += " / " + formatted("%.1f", *st.mean + 180.0);
  std::string interval = "95 % interval: ";
  interval += st.confidence95 ? "+/- " + formatted("%.1f", *st.confidence95) : "undefined";
  const std::string doubled =
      rose.symmetry == analysis::RoseSymmetry::axial ? " (doubled angles)" : "";
  const std::string sd = st.circular_sd ? formatted("%.1f", *st.circular_sd) : "undefined";
  return {mean, interval,
          "mean resultant length: " + formatted("%.3f", st.mean_resultant_length) + doubled,
          "circular variance " + formatted("%.3f", st.circular_variance) + ", s.d. " + sd,
          "Rayleigh Z = " + formatted("%.2f", st.rayleigh_z) + ", " + p_value_text(st.rayleigh_p) +
              doubled};
}

}  // namespace polarsketch::tables
