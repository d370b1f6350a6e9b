#include "tables/statistics_table.hpp"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

namespace polarsketch::tables {

namespace {

using Field = std::optional<std::string>;  // empty: undefined

Field angle(std::optional<double> degrees) {
  if (!degrees) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", *degrees);
  const std::string shown = text;
  return shown == "-0.00" ? "0.00" : shown;
}

// An azimuth that rounds to 360.00 is shown as 0.00.
Field azimuth(std::optional<double> degrees) {
  if (degrees && std::round(*degrees * 100) >= 36000) return angle(0.0);
  return angle(degrees);
}

Field number(std::optional<double> value) {
  if (!value) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", *value);
  return std::string(text);
}

// The values after file, kind and n, in the order of the CSV columns.
std::vector<Field> fields(const data::DataSet& set, const analysis::Statistics& s) {
  auto trend = [](const std::optional<analysis::TrendPlunge>& d) {
    return azimuth(d ? std::optional(d->trend) : std::nullopt);
  };
  auto plunge = [](const std::optional<analysis::TrendPlunge>& d) {
    return angle(d ? std::optional(d->plunge) : std::nullopt);
  };
  auto eigenvalue = [&](std::size_t i) {
    return number(s.eigenvalues ? std::optional((*s.eigenvalues)[i]) : std::nullopt);
  };
  std::vector<Field> f{trend(s.mean),    plunge(s.mean), number(s.resultant), number(s.fisher_k),
                       angle(s.alpha95), eigenvalue(0),  eigenvalue(1),       eigenvalue(2)};
  for (const auto& v : s.eigenvectors) {
    f.push_back(trend(v));
    f.push_back(plunge(v));
  }
  f.push_back(number(s.woodcock_k));
  f.push_back(number(s.woodcock_c));
  const bool girdle = set.kind == data::Kind::planes && s.girdle;
  f.push_back(girdle ? azimuth(s.girdle->dip_direction) : std::nullopt);
  f.push_back(girdle ? angle(s.girdle->dip) : std::nullopt);
  // Bingham: concentrations toward v2, v3 and the 95 % ellipse's semi-angles.
  f.push_back(number(s.bingham_k2));
  f.push_back(number(s.bingham_k3));
  f.push_back(angle(s.bingham_semi_v2));
  f.push_back(angle(s.bingham_semi_v3));
  return f;
}

std::string shown(const Field& f) { return f ? *f : "-"; }

// The cone fit's values in the order of its CSV columns.
std::vector<Field> cone_fields(const std::optional<analysis::ConeFit>& c) {
  if (!c) return std::vector<Field>(10);
  char p[32];
  std::snprintf(p, sizeof p, "%.4f", c->p.value_or(0));
  return {azimuth(c->axis.trend),       angle(c->axis.plunge),     angle(c->half_angle),
          angle(c->cone_rms),           azimuth(c->great_pole.trend), angle(c->great_pole.plunge),
          angle(c->great_rms),          number(c->f),              c->p ? Field(p) : std::nullopt,
          std::string(c->small_circle_better ? "yes" : "no")};
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string shown_name(const data::DataSet& set) {
  return set.name == "-" ? "standard input" : set.name;
}

std::string counted(const data::DataSet& set) {
  std::string kind(data::kind_name(set.kind));
  if (set.size() == 1 && !kind.empty()) kind.pop_back();
  return std::to_string(set.size()) + " " + kind;
}

std::vector<analysis::Statistics> statistics_of(const std::vector<data::DataSet>& sets) {
  std::vector<analysis::Statistics> result;
  for (const data::DataSet& set : sets)
    result.push_back(analysis::compute_statistics(
        set.directions(),
        set.has_polarity() ? analysis::Directions::vectors : analysis::Directions::axes));
  return result;
}

std::string statistics_table(const std::vector<data::DataSet>& sets,
                             const std::vector<analysis::Statistics>& stats, const Groups& groups,
                             const ConeFits& cones) {
  std::string out;
  for (std::size_t i = 0; i < sets.size(); ++i) {
    const data::DataSet& set = sets[i];
    const std::vector<Field> f = fields(set, stats[i]);
    const std::string_view of = set.kind == data::Kind::planes  ? "poles"
                                : set.kind == data::Kind::lines ? "lines"
                                : set.has_polarity()            ? "slip vectors"
                                                                : "slip lines";
    if (i > 0) out += '\n';
    const std::string group =
        groups.column.empty() ? "" : ", " + groups.column + " " + groups.values[i];
    out += shown_name(set) + group + ": " + counted(set) + " (" + set.notation +
           "), statistics of the " + std::string(of) + "\n";
    auto row = [&](std::string_view label, const std::string& value) {
      std::string line = "  " + std::string(label);
      line.resize(24, ' ');
      out += line + value + "\n";
    };
    auto pair = [&](std::size_t at) { return shown(f[at]) + " / " + shown(f[at + 1]); };
    row("mean trend / plunge", pair(0));
    row("R", shown(f[2]));
    row("Fisher k", shown(f[3]));
    row("alpha95", shown(f[4]));
    row("eigenvalues s1 s2 s3", shown(f[5]) + "  " + shown(f[6]) + "  " + shown(f[7]));
    row("v1 trend / plunge", pair(8));
    row("v2 trend / plunge", pair(10));
    row("v3 trend / plunge", pair(12));
    row("Woodcock K", shown(f[14]));
    row("Woodcock C", shown(f[15]));
    if (set.kind == data::Kind::planes) {
      row("girdle dipdir / dip", pair(16));
      row("beta axis", pair(12));
    }
    row("Bingham k2 k3", shown(f[18]) + "  " + shown(f[19]));
    row("95 % ellipse to v2 v3", shown(f[20]) + "  " + shown(f[21]));
    if (!cones.empty()) {
      const std::vector<Field> c = cone_fields(cones[i]);
      row("cone axis", shown(c[0]) + " / " + shown(c[1]));
      row("cone half-angle, rms", shown(c[2]) + "  " + shown(c[3]));
      row("great pole, rms", shown(c[4]) + " / " + shown(c[5]) + "  " + shown(c[6]));
      row("F, p (small vs great)",
          shown(c[7]) + "  " + shown(c[8]) + "  " +
              (cones[i] ? (cones[i]->small_circle_better ? "small circle fits better at 95 %"
                                                         : "no better than the great circle")
                        : ""));
    }
  }
  return out;
}

std::string statistics_csv(const std::vector<data::DataSet>& sets,
                           const std::vector<analysis::Statistics>& stats, const Groups& groups,
                           const ConeFits& cones) {
  const bool grouped = !groups.column.empty();
  std::string out =
      std::string(grouped ? "file,group," : "file,") +
      "kind,n,mean_trend,mean_plunge,R,k,alpha95,s1,s2,s3,v1_trend,v1_plunge,v2_trend,"
      "v2_plunge,v3_trend,v3_plunge,K,C,girdle_dipdir,girdle_dip,bingham_k2,bingham_k3,"
      "ellipse_v2,ellipse_v3" +
      std::string(cones.empty() ? ""
                                : ",cone_trend,cone_plunge,cone_half_angle,cone_rms,"
                                  "great_pole_trend,great_pole_plunge,great_rms,cone_F,cone_p,"
                                  "cone_better") +
      "\n";
  for (std::size_t i = 0; i < sets.size(); ++i) {
    out += csv_field(sets[i].name) + "," + (grouped ? csv_field(groups.values[i]) + "," : "") +
           std::string(data::kind_name(sets[i].kind)) + "," + std::to_string(sets[i].size());
    for (const Field& f : fields(sets[i], stats[i])) out += "," + f.value_or("");
    if (!cones.empty())
      for (const Field& f : cone_fields(cones[i])) out += "," + f.value_or("");
    out += '\n';
  }
  return out;
}

std::string density_csv(const analysis::NetGrid& grid) {
  std::string out = "trend,plunge,density\n";
  char line[96];
  // The nodes' directions in the world (a grid of a net centred elsewhere
  // than on the vertical holds the directions turned into its frame).
  const std::vector<analysis::Vector3> nodes = analysis::grid_nodes(grid);
  for (std::size_t j = 0; j < grid.size; ++j)
    for (std::size_t i = 0; i < grid.size; ++i) {
      if (!grid.inside(i, j)) continue;
      const analysis::TrendPlunge d = analysis::trend_plunge(nodes[j * grid.size + i]);
      std::snprintf(line, sizeof line, "%.2f,%.2f,%.6g\n", d.trend, d.plunge, grid.at(i, j));
      out += line;
    }
  return out;
}

}  // namespace polarsketch::tables
