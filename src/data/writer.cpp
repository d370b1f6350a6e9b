#include "data/writer.hpp"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <system_error>

#include "math/decimal.hpp"

namespace polarsketch::data {
namespace {

// An angle to four decimals without trailing zeros, appended to `out`; an
// azimuth that rounds to 360 is written 0.
void append_angle(std::string& out, double value, bool azimuth) {
  double v = std::round(value * 1e4) / 1e4;
  if (azimuth && v >= 360.0) v -= 360.0;
  if (v == 0.0) v = 0.0;  // no "-0"
  char text[40];
  const auto [end, ec] = math::write_fixed(text, text + sizeof text, v, 4);
  const char* last = ec == std::errc() ? end : text;
  while (last > text && last[-1] == '0') --last;
  if (last > text && last[-1] == '.') --last;
  out.append(text, static_cast<std::size_t>(last - text));
}

std::string field_text(const std::string& text) {
  const bool plain = text.find_first_of(",\"#;\t") == std::string::npos &&
                     (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// A column name as the reader matches it: lower case without blanks, '_',
// '-', '.' and '/'.
std::string key_of(const std::string& name) {
  std::string key;
  for (const char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '-' || c == '.' || c == '/') continue;
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

bool written_by_kind(const std::string& name) {
  const std::string key = key_of(name);
  for (const char* k : {"sense", "movement", "slipsense", "type", "kind", "featuretype"})
    if (key == k) return true;
  return false;
}

}  // namespace

DataSet merged(std::span<const DataSet> sets) {
  if (sets.empty()) return DataSet{};
  DataSet out;
  out.name = sets.front().name;
  out.kind = sets.front().kind;
  out.notation = sets.front().notation;
  for (const DataSet& s : sets)
    for (const std::string& name : s.attribute_names)
      if (std::find(out.attribute_names.begin(), out.attribute_names.end(), name) ==
          out.attribute_names.end())
        out.attribute_names.push_back(name);
  const bool labels = std::all_of(sets.begin(), sets.end(), [](const DataSet& s) {
    return s.labels.size() == s.size();
  });
  for (const DataSet& s : sets) {
    out.planes.insert(out.planes.end(), s.planes.begin(), s.planes.end());
    out.lines.insert(out.lines.end(), s.lines.begin(), s.lines.end());
    out.slips.insert(out.slips.end(), s.slips.begin(), s.slips.end());
    if (labels) out.labels.insert(out.labels.end(), s.labels.begin(), s.labels.end());
    std::vector<std::size_t> from;  // for each column of `out`, its column in `s` or npos
    for (const std::string& name : out.attribute_names) {
      const auto at = std::find(s.attribute_names.begin(), s.attribute_names.end(), name);
      from.push_back(at == s.attribute_names.end()
                         ? std::string::npos
                         : static_cast<std::size_t>(at - s.attribute_names.begin()));
    }
    for (std::size_t row = 0; row < s.size(); ++row)
      for (const std::size_t c : from)
        out.attribute_values.push_back(c == std::string::npos ? std::string()
                                                              : s.attribute(row, c));
  }
  return out;
}

std::string measurement_file(const DataSet& set) {
  std::vector<std::size_t> kept;
  for (std::size_t c = 0; c < set.attribute_names.size(); ++c)
    if (!written_by_kind(set.attribute_names[c])) kept.push_back(c);
  std::string text = set.kind == Kind::planes  ? "dipdir,dip"
                     : set.kind == Kind::lines ? "trend,plunge"
                                               : "dipdir,dip,rake,sense";
  for (const std::size_t c : kept) text += "," + field_text(set.attribute_names[c]);
  text += '\n';
  text.reserve(text.size() + set.size() * (24 + 8 * kept.size()));
  for (std::size_t row = 0; row < set.size(); ++row) {
    switch (set.kind) {
      case Kind::planes:
        append_angle(text, set.planes[row].dip_direction, true);
        text += ',';
        append_angle(text, set.planes[row].dip, false);
        break;
      case Kind::lines:
        append_angle(text, set.lines[row].trend, true);
        text += ',';
        append_angle(text, set.lines[row].plunge, false);
        break;
      case Kind::slips: {
        const Slip& s = set.slips[row];
        append_angle(text, s.plane.dip_direction, true);
        text += ',';
        append_angle(text, s.plane.dip, false);
        text += ',';
        append_angle(text, s.rake, false);
        text += s.sense_known ? "," : ",U";
        break;
      }
    }
    for (const std::size_t c : kept) {
      text += ',';
      text += field_text(set.attribute(row, c));
    }
    text += '\n';
  }
  return text;
}

}  // namespace polarsketch::data
