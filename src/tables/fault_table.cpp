#include "tables/fault_table.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace polarsketch::tables {
namespace {

struct Direction {
  double trend, plunge;
};

double degrees(double r) { return r * 180 / std::numbers::pi; }

// A vector's own end: negative plunge when it points up.
Direction vector_direction(const analysis::Vector3& v) {
  double t = degrees(std::atan2(v[1], v[0]));
  if (t < 0) t += 360;
  const double p = degrees(std::asin(std::clamp(v[2], -1.0, 1.0)));
  if (std::abs(v[0]) < 1e-12 && std::abs(v[1]) < 1e-12) t = 0;
  return {t >= 359.95 ? 0 : t, p};
}

// An axis by its lower-hemisphere end.
Direction axis_direction(const analysis::Vector3& v) {
  const analysis::TrendPlunge tp = analysis::trend_plunge(v);
  // A vertical axis has no trend of its own: 0.
  if (std::hypot(v[0], v[1]) < 1e-9) return {0, 90};
  return {tp.trend >= 359.95 ? 0 : tp.trend, tp.plunge};
}

std::string format(const char* f, double a) {
  char text[40];
  std::snprintf(text, sizeof text, f, a);
  return text;
}

std::string pair(Direction d) {
  return format("%03.0f", d.trend) + "/" + format("%02.0f", std::abs(d.plunge) < 0.5 ? 0.0 : d.plunge);
}

std::string numbers(Direction d) { return format("%.1f", d.trend) + "," + format("%.1f", d.plunge); }

std::string quoted(const std::string& field) {
  if (field.find_first_of(",\"\n") == std::string::npos) return field;
  std::string q = "\"";
  for (char c : field) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string label_of(const FaultReport& r, std::size_t k) {
  // The label column, else the file's line of the fault.
  const std::size_t row = r.known.rows[k];
  const data::DataSet& set = *r.data;
  if (!set.labels.empty() && !set.labels[row].empty()) return set.labels[row];
  return std::to_string(row < set.line_numbers.size() ? set.line_numbers[row] : row + 1);
}

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string lead(const FaultReport& r, bool with_file, bool with_group) {
  return (with_file ? quoted(r.set) + "," : "") + (with_group ? quoted(r.group) + "," : "");
}

}  // namespace

std::string fault_table(const FaultReport& r) {
  std::size_t width = 5;
  for (std::size_t k = 0; k < r.known.faults.size(); ++k)
    width = std::max(width, label_of(r, k).size());
  std::string out =
      padded("label", width) + " plane   slip     rake   sense P       T       B         ANG    RUP\n";
  for (std::size_t k = 0; k < r.known.faults.size(); ++k) {
    const data::Slip& slip = r.data->slips[r.known.rows[k]];
    const analysis::KinematicAxes& a = r.axes[k];
    out += padded(label_of(r, k), width) + " " + pair({slip.plane.dip_direction, slip.plane.dip}) +
           "  " + padded(pair(vector_direction(r.known.faults[k].slip)), 8) + " " +
           format("%6.1f", slip.rake) + " " + analysis::sense_letter(slip.rake) + "     " +
           pair(axis_direction(a.p)) + "  " + pair(axis_direction(a.t)) + "  " +
           pair(axis_direction(a.b)) + " " + format("%6.1f", r.result.ang[k]) + " " +
           format("%6.1f", r.result.rup[k]) + "\n";
  }
  return out;
}

std::string stress_text(const FaultReport& r) {
  const analysis::StressResult& s = r.result;
  std::string out = "method: " + std::string(analysis::method_info(s.method).description) +
                    (s.iterated ? ", re-weighted by resolved shear (Mostafa 2005), " +
                                      std::to_string(s.iterations) + " steps" +
                                      (s.settled ? "" : " (the weights did not settle)")
                                : "") +
                    "\n";
  out += "faults used: " + std::to_string(r.known.faults.size()) +
         ", skipped (sense unknown): " + std::to_string(r.known.skipped) + "\n";
  const char* names[] = {"sigma1 (most compressive)", "sigma2", "sigma3 (least compressive)"};
  for (std::size_t k = 0; k < 3; ++k)
    out += std::string(names[k]) + ": " + pair(axis_direction(s.axes[k])) + "\n";
  out += "Phi = (s2 - s3)/(s1 - s3) = " + format("%.3f", s.phi) + "\n";
  out += "R = (s1 - s2)/(s1 - s3) = 1 - Phi = " + format("%.3f", s.r) + "\n";
  out += "mean ANG (slip to resolved shear): " + format("%.1f", s.mean_ang) + " degrees\n";
  return out;
}

std::string fault_csv_header(bool with_file, bool with_group) {
  return std::string(with_file ? "file," : "") + (with_group ? "group," : "") +
         "label,dipdir,dip,slip_trend,slip_plunge,rake,sense,p_trend,p_plunge,t_trend,t_plunge,"
         "b_trend,b_plunge,ang,rup\n";
}

std::string fault_csv_rows(const FaultReport& r, bool with_file, bool with_group) {
  std::string out;
  for (std::size_t k = 0; k < r.known.faults.size(); ++k) {
    const data::Slip& slip = r.data->slips[r.known.rows[k]];
    const analysis::KinematicAxes& a = r.axes[k];
    out += lead(r, with_file, with_group) + quoted(label_of(r, k)) + "," +
           numbers({slip.plane.dip_direction, slip.plane.dip}) + "," +
           numbers(vector_direction(r.known.faults[k].slip)) + "," + format("%.1f", slip.rake) +
           "," + analysis::sense_letter(slip.rake) + "," + numbers(axis_direction(a.p)) + "," +
           numbers(axis_direction(a.t)) + "," + numbers(axis_direction(a.b)) + "," +
           format("%.2f", r.result.ang[k]) + "," + format("%.2f", r.result.rup[k]) + "\n";
  }
  return out;
}

std::string stress_csv_header(bool with_file, bool with_group) {
  return std::string(with_file ? "file," : "") + (with_group ? "group," : "") +
         "method,n,s1_trend,s1_plunge,s2_trend,s2_plunge,s3_trend,s3_plunge,phi,r,mean_ang\n";
}

std::string stress_csv_row(const FaultReport& r, bool with_file, bool with_group) {
  const analysis::StressResult& s = r.result;
  std::string out = lead(r, with_file, with_group) +
                    std::string(analysis::method_info(s.method).name) +
                    (s.iterated ? "-iterated" : "") + "," +
                    std::to_string(r.known.faults.size());
  for (const auto& v : s.axes) out += "," + numbers(axis_direction(v));
  return out + "," + format("%.4f", s.phi) + "," + format("%.4f", s.r) + "," +
         format("%.2f", s.mean_ang) + "\n";
}

}  // namespace polarsketch::tables
