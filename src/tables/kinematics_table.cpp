// The slope kinematics report and CSV.
#include "tables/kinematics_table.hpp"

#include <cstdio>
#include <set>

namespace polarsketch::tables {
namespace {

std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string count_of(std::size_t part, std::size_t whole) {
  return std::to_string(part) + " (" + percent(part, whole) + ")";
}

std::string limits_text(const analysis::Slope& s) {
  return s.limits == analysis::LateralLimits::straight
             ? "straight: the dip direction (planar), the pole's trend (flexural) or the "
               "line's trend (direct) within the limit"
             : "curved: the pole (or line) within the limit of the vertical plane through the "
               "slope's dip direction";
}

}  // namespace

std::string percent(std::size_t part, std::size_t whole) {
  if (whole == 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %%",
                100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return text;
}

std::string angle_text(double degrees) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", degrees);
  return text;
}

Survey survey_of(const std::vector<data::DataSet>& sets) {
  Survey survey;
  std::set<std::string> files;
  for (const data::DataSet& set : sets) files.insert(set.name);
  for (const data::DataSet& set : sets) {
    const std::string prefix =
        files.size() > 1 ? (set.name == "-" ? std::string("standard input") : set.name) + ":" : "";
    const std::size_t n = set.kind == data::Kind::planes  ? set.planes.size()
                          : set.kind == data::Kind::slips ? set.slips.size()
                                                          : 0;
    for (std::size_t i = 0; i < n; ++i) {
      const data::Plane& p = set.kind == data::Kind::planes ? set.planes[i] : set.slips[i].plane;
      survey.planes.push_back({p.dip_direction, p.dip});
      if (!set.labels.empty() && !set.labels[i].empty()) {
        survey.labels.push_back(prefix + set.labels[i]);
      } else {
        const std::size_t line = i < set.line_numbers.size() ? set.line_numbers[i] : i + 1;
        survey.labels.push_back(prefix + std::to_string(line));
      }
    }
  }
  return survey;
}

std::string kinematics_report(const analysis::Slope& s,
                              const std::vector<analysis::KinematicResult>& results) {
  std::string out = "slope face " + angle_text(s.dip_direction) + "/" + angle_text(s.dip) +
                    ", friction angle " + angle_text(s.friction) + ", lateral limits " +
                    angle_text(s.lateral) + "\n";
  out += "lateral limits " + limits_text(s) + "\n";
  out += "boundaries inclusive within " + angle_text(analysis::kBoundaryTolerance) + " degrees\n";
  for (const analysis::KinematicResult& r : results) {
    const analysis::KinematicModeEntry& m = analysis::kinematic_mode(r.mode);
    const bool pairs =
        r.mode == analysis::KinematicMode::wedge || r.mode == analysis::KinematicMode::direct;
    out += std::string(m.name) + ": ";
    if (!r.has_zone) {
      out += "no planar or wedge zone: the slope dips " + angle_text(s.dip) +
             ", no steeper than the friction angle " + angle_text(s.friction) + "\n";
      continue;
    }
    out += std::to_string(r.primary) + " of " + plural(r.total, pairs ? "pair" : "plane") +
           " critical (" + percent(r.primary, r.total) + "); secondary, " +
           std::string(m.secondary) + ": " + count_of(r.secondary, r.total);
    if (pairs) out += "; " + plural(r.parallel_pairs, "parallel pair") + " left out";
    if (r.mode == analysis::KinematicMode::direct) {
      out += "; base planes: " + std::to_string(r.base_planes) + " of " +
             plural(r.planes, "plane") + " (" + percent(r.base_planes, r.planes) + ")";
      if (r.base_planes == 0)
        out += ", none dips less than the friction angle: no block has a base";
    }
    out += "\n";
  }
  return out;
}

std::string kinematics_csv(const Survey& survey,
                           const std::vector<analysis::KinematicResult>& results) {
  std::string out = "mode,zone,label_a,label_b,trend,plunge\n";
  for (const analysis::KinematicResult& r : results) {
    const std::string mode(analysis::kinematic_mode(r.mode).name);
    for (const analysis::KinematicItem& item : r.items) {
      const analysis::TrendPlunge d = analysis::trend_plunge(item.direction);
      char angles[64];
      std::snprintf(angles, sizeof angles, "%.2f,%.2f", d.trend, d.plunge);
      out += mode + "," + std::string(analysis::zone_name(item.zone)) + "," +
             csv_field(survey.labels[item.a]) + "," +
             (item.b == analysis::kSinglePlane ? "" : csv_field(survey.labels[item.b])) + "," +
             angles + "\n";
    }
  }
  return out;
}

}  // namespace polarsketch::tables
