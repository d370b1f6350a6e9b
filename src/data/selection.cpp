// Splitting and filtering data sets by their text columns and orientation
// fields.
#include "data/selection.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "math/decimal.hpp"

namespace polarsketch::data {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A column name as header names are matched.
std::string key_of(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '-' || c == '.' || c == '/') continue;
    out += lower(c);
  }
  return out;
}

bool same_text(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The whole text as a finite decimal number.
std::optional<double> number_of(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = math::read_double(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

enum class Field { dipdir, dip, trend, plunge, rake };

// The canonical names of orientation fields (no header column has them as
// text: the reader reads them as measurements).
bool is_orientation_name(std::string_view column) {
  const std::string key = key_of(column);
  return key == "dipdir" || key == "dip" || key == "trend" || key == "plunge" || key == "rake";
}

// The orientation field a canonical name gives in a set of its kind.
std::optional<Field> orientation_field(const DataSet& set, std::string_view column) {
  const std::string key = key_of(column);
  const bool plane = set.kind != Kind::lines;
  const bool line = set.kind != Kind::planes;
  if (plane && key == "dipdir") return Field::dipdir;
  if (plane && key == "dip") return Field::dip;
  if (line && key == "trend") return Field::trend;
  if (line && key == "plunge") return Field::plunge;
  if (set.kind == Kind::slips && key == "rake") return Field::rake;
  return std::nullopt;
}

double field_value(const DataSet& set, Field field, std::size_t row) {
  const Plane plane = set.kind == Kind::planes  ? set.planes[row]
                      : set.kind == Kind::slips ? set.slips[row].plane
                                                : Plane{};
  const Line line = set.kind == Kind::lines   ? set.lines[row]
                    : set.kind == Kind::slips ? set.slips[row].line
                                              : Line{};
  switch (field) {
    case Field::dipdir:
      return plane.dip_direction;
    case Field::dip:
      return plane.dip;
    case Field::trend:
      return line.trend;
    case Field::plunge:
      return line.plunge;
    case Field::rake:
      return set.slips[row].rake;
  }
  return 0;
}

// The index of a text column, matched by name; none when the set lacks it.
std::optional<std::size_t> text_column(const DataSet& set, std::string_view column) {
  const std::string key = key_of(column);
  for (std::size_t i = 0; i < set.attribute_names.size(); ++i) {
    if (key_of(set.attribute_names[i]) == key) return i;
  }
  return std::nullopt;
}

bool numeric(Condition::Op op) {
  return op != Condition::Op::equal && op != Condition::Op::not_equal;
}

bool compare(Condition::Op op, double a, double b) {
  switch (op) {
    case Condition::Op::equal:
      return a == b;
    case Condition::Op::not_equal:
      return a != b;
    case Condition::Op::less:
      return a < b;
    case Condition::Op::less_equal:
      return a <= b;
    case Condition::Op::greater:
      return a > b;
    case Condition::Op::greater_equal:
      return a >= b;
  }
  return false;
}

// Whether a row meets a condition: yes, no, or not a number.
enum class Outcome { met, unmet, not_a_number };

Outcome test_row(const DataSet& set, const Condition& c, std::size_t row) {
  if (const auto field = orientation_field(set, c.column)) {
    return compare(c.op, field_value(set, *field, row), c.number) ? Outcome::met : Outcome::unmet;
  }
  // A field the kind lacks (the dip of a line) meets no condition.
  if (is_orientation_name(c.column)) return Outcome::unmet;
  const auto column = text_column(set, c.column);
  const std::string_view text = column ? std::string_view(set.attribute(row, *column)) : "";
  if (!numeric(c.op)) {
    const bool equal = same_text(text, c.value);
    return equal == (c.op == Condition::Op::equal) ? Outcome::met : Outcome::unmet;
  }
  const auto value = number_of(text);
  if (!value) return Outcome::not_a_number;
  return compare(c.op, *value, c.number) ? Outcome::met : Outcome::unmet;
}

}  // namespace

DataSet subset(const DataSet& set, std::span<const std::size_t> rows) {
  DataSet out;
  out.name = set.name;
  out.kind = set.kind;
  out.notation = set.notation;
  out.attribute_names = set.attribute_names;
  for (const std::size_t row : rows) {
    switch (set.kind) {
      case Kind::planes:
        out.planes.push_back(set.planes[row]);
        break;
      case Kind::lines:
        out.lines.push_back(set.lines[row]);
        break;
      case Kind::slips:
        out.slips.push_back(set.slips[row]);
        break;
    }
    if (!set.labels.empty()) out.labels.push_back(set.labels[row]);
    if (!set.line_numbers.empty()) out.line_numbers.push_back(set.line_numbers[row]);
    for (std::size_t c = 0; c < set.attribute_names.size(); ++c) {
      out.attribute_values.push_back(set.attribute(row, c));
    }
  }
  return out;
}

bool has_column(const DataSet& set, std::string_view column) {
  return orientation_field(set, column).has_value() || text_column(set, column).has_value();
}

std::vector<Group> split_by(const DataSet& set, std::string_view column) {
  const auto index = text_column(set, column);
  std::vector<std::string> values;
  std::vector<std::vector<std::size_t>> rows;
  for (std::size_t row = 0; row < set.size(); ++row) {
    const std::string_view text = index ? std::string_view(set.attribute(row, *index)) : "";
    const std::string value = text.empty() ? "(none)" : std::string(text);
    std::size_t g = 0;
    while (g < values.size() && values[g] != value) ++g;
    if (g == values.size()) {
      values.push_back(value);
      rows.emplace_back();
    }
    rows[g].push_back(row);
  }
  std::vector<Group> groups;
  for (std::size_t g = 0; g < values.size(); ++g) {
    groups.push_back(Group{values[g], subset(set, rows[g])});
  }
  return groups;
}

std::vector<std::string> column_texts(const DataSet& set, std::string_view column) {
  std::vector<std::string> texts;
  texts.reserve(set.size());
  const auto field = orientation_field(set, column);
  const auto index = field ? std::nullopt : text_column(set, column);
  for (std::size_t row = 0; row < set.size(); ++row) {
    if (field) {
      char number[32];
      std::snprintf(number, sizeof number, "%.6g", field_value(set, *field, row));
      texts.emplace_back(number);
    } else {
      texts.emplace_back(index ? set.attribute(row, *index) : std::string());
    }
  }
  return texts;
}

std::optional<Condition> parse_condition(std::string_view text, std::string& error) {
  struct Spelling {
    std::string_view text;
    Condition::Op op;
  };
  // Two-character operators first, so "<=" is not read as "<".
  constexpr std::array kOps{
      Spelling{"!=", Condition::Op::not_equal},     Spelling{"<=", Condition::Op::less_equal},
      Spelling{">=", Condition::Op::greater_equal}, Spelling{"=", Condition::Op::equal},
      Spelling{"<", Condition::Op::less},           Spelling{">", Condition::Op::greater},
  };
  const std::size_t at = text.find_first_of("!=<>");
  if (at == std::string_view::npos) {
    error = "'" + std::string(text) +
            "' is not a condition (COL=V, COL!=V, COL<N, COL<=N, COL>N or COL>=N)";
    return std::nullopt;
  }
  Condition c;
  std::size_t length = 0;
  for (const Spelling& s : kOps) {
    if (text.substr(at).starts_with(s.text)) {
      c.op = s.op;
      length = s.text.size();
      break;
    }
  }
  if (length == 0) {
    error = "'" + std::string(text) + "': '!' must be followed by '=' (COL!=V)";
    return std::nullopt;
  }
  c.column = std::string(trimmed(text.substr(0, at)));
  c.value = std::string(trimmed(text.substr(at + length)));
  if (c.column.empty()) {
    error = "'" + std::string(text) + "' names no column before its operator";
    return std::nullopt;
  }
  const auto number = number_of(c.value);
  if (number) c.number = *number;
  if ((numeric(c.op) || is_orientation_name(c.column)) && !number) {
    error = "'" + std::string(text) + "' compares " + c.column + " with '" + c.value +
            "', which is not a number";
    return std::nullopt;
  }
  return c;
}

Filtered filter(const DataSet& set, std::span<const Condition> conditions) {
  Filtered out;
  std::vector<std::size_t> rows;
  for (std::size_t row = 0; row < set.size(); ++row) {
    Outcome outcome = Outcome::met;
    for (const Condition& c : conditions) {
      outcome = test_row(set, c, row);
      if (outcome != Outcome::met) break;
    }
    if (outcome == Outcome::met) rows.push_back(row);
    if (outcome == Outcome::not_a_number) ++out.not_numbers;
  }
  out.data = subset(set, rows);
  return out;
}

}  // namespace polarsketch::data
