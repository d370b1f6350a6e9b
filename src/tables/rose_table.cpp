// A rose's bins and statistics as CSV and as legend lines.
#include "tables/rose_table.hpp"

#include <cmath>
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

// A direction in [0, period) rounded to `decimals` decimals: one that rounds
// to the period is 0 (359.996 is shown "0.00", not "360.00").
double shown_direction(double degrees, double period, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(degrees * scale) / scale;
  return rounded >= period ? rounded - period : rounded;
}

std::string direction(double degrees, double period, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, shown_direction(degrees, period, decimals));
  return text;
}

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
  text += "mean," + (st.mean ? direction(*st.mean, analysis::rose_period(rose.symmetry), 2) : "") +
          "\n";
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
  const double period = analysis::rose_period(rose.symmetry);
  std::string mean = "mean direction: " + (st.mean ? direction(*st.mean, period, 1) : "undefined");
  if (st.mean && rose.symmetry == analysis::RoseSymmetry::axial)
    mean += " / " + direction(shown_direction(*st.mean, period, 1) + 180.0, 360.0, 1);
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
