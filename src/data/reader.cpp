// Reading a measurement file: lines, fields, the header that names the
// columns, and each line turned into a plane, a line or a slip. One pass over
// the text; fields are views into it, so no field is copied.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>
#include <cstddef>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/measurements.hpp"
#include "data/notation.hpp"
#include "math/decimal.hpp"

namespace polarsketch::data {

namespace {

constexpr std::size_t kKeptErrors = 20;
constexpr std::size_t kShownBytes = 80;
// A slip line may lie this many degrees off its plane (measuring error).
constexpr double kSlipLineSlack = 1.0;
constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

enum class Role : std::size_t {
  ignored,  // kept as a text attribute
  dipdir,
  dip,
  strike,
  trend,
  plunge,
  rake,
  pitch,
  sense,
  type,
  trend_or_strike,  // a combined column whose meaning the type column settles
  plunge_or_dip,
  label,
  skipped,  // "-" in --columns: neither read nor kept
  count
};

struct ColumnName {
  std::string_view name;  // normalised: lower case, no blanks, '_', '-', '.' or '/'
  Role role;
};

// The first name of a role is the one messages use.
constexpr std::array kColumnNames{
    ColumnName{"dipdir", Role::dipdir},
    ColumnName{"dipdirection", Role::dipdir},
    ColumnName{"dd", Role::dipdir},
    ColumnName{"dipazimuth", Role::dipdir},
    ColumnName{"dipaz", Role::dipdir},
    ColumnName{"dip", Role::dip},
    ColumnName{"strike", Role::strike},
    ColumnName{"strk", Role::strike},
    ColumnName{"trend", Role::trend},
    ColumnName{"azimuth", Role::trend},
    ColumnName{"trd", Role::trend},
    ColumnName{"plungeazimuth", Role::trend},
    ColumnName{"plungeaz", Role::trend},
    ColumnName{"bearing", Role::trend},
    ColumnName{"plunge", Role::plunge},
    ColumnName{"plg", Role::plunge},
    ColumnName{"rake", Role::rake},
    ColumnName{"pitch", Role::pitch},
    ColumnName{"sense", Role::sense},
    ColumnName{"movement", Role::sense},
    ColumnName{"slipsense", Role::sense},
    ColumnName{"type", Role::type},
    ColumnName{"kind", Role::type},
    ColumnName{"featuretype", Role::type},
    ColumnName{"trdstrk", Role::trend_or_strike},
    ColumnName{"plgdip", Role::plunge_or_dip},
    ColumnName{"label", Role::label},
};

std::string_view role_name(Role role) {
  if (role == Role::trend_or_strike) return "trd/strk";
  if (role == Role::plunge_or_dip) return "plg/dip";
  for (const ColumnName& c : kColumnNames) {
    if (c.role == role) return c.name;
  }
  return "-";
}

// A column name as it is matched: lower case, without blanks, '_', '-', '.'
// and '/', so "Dip Direction", "dip_direction" and "DipDirection" are one.
std::string normalised_name(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '-' || c == '.' || c == '/') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

// The role a column name gives, or none when the name is not a known one.
std::optional<Role> role_of(std::string_view name) {
  const std::string key = normalised_name(name);
  for (const ColumnName& c : kColumnNames) {
    if (key == c.name) return c.role;
  }
  return std::nullopt;
}

// Whether an unknown column's name suggests an orientation.
bool looks_like_orientation(std::string_view name) {
  const std::string key = normalised_name(name);
  for (const std::string_view part :
       {"dip", "strike", "trend", "plunge", "azimuth", "rake", "pitch", "trd", "plg"}) {
    if (key.find(part) != std::string::npos) return true;
  }
  return false;
}

// Whether a role is part of a measurement (read as numbers, not kept as text).
bool is_orientation(Role role) {
  switch (role) {
    case Role::dipdir:
    case Role::dip:
    case Role::strike:
    case Role::trend:
    case Role::plunge:
    case Role::rake:
    case Role::pitch:
    case Role::trend_or_strike:
    case Role::plunge_or_dip:
      return true;
    default:
      return false;
  }
}

struct Field {
  std::string_view text;
  std::size_t column = 0;  // 1-based byte offset in the line
};

// The separator of a file, settled by its first line: semicolons (which
// leave commas to decimal commas), else commas, else tabs, else runs of blanks.
enum class Separator : char { blanks = ' ', tab = '\t', comma = ',', semicolon = ';' };

Separator separator_of(std::string_view line) {
  if (line.find(';') != std::string_view::npos) return Separator::semicolon;
  if (line.find(',') != std::string_view::npos) return Separator::comma;
  if (line.find('\t') != std::string_view::npos) return Separator::tab;
  return Separator::blanks;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The field between two separators: blanks around it trimmed, and enclosing
// double quotes (as spreadsheets write them) removed.
Field make_field(std::string_view line, std::size_t begin, std::size_t end) {
  while (begin < end && is_blank(line[begin])) ++begin;
  while (end > begin && is_blank(line[end - 1])) --end;
  if (end - begin >= 2 && line[begin] == '"' && line[end - 1] == '"') {
    ++begin;
    --end;
  }
  return Field{line.substr(begin, end - begin), begin + 1};
}

// Where the field starting at `begin` ends: at the next separator, searched
// from behind the closing quote when the field opens with a double quote (so
// a quoted label may hold separators; "" inside it stands for one quote).
std::size_t field_end(std::string_view line, std::size_t begin, Separator separator) {
  std::size_t from = begin;
  while (from < line.size() && line[from] == ' ') ++from;
  if (from < line.size() && line[from] == '"') {
    std::size_t close = line.find('"', from + 1);
    while (close != std::string_view::npos && close + 1 < line.size() && line[close + 1] == '"') {
      close = line.find('"', close + 2);
    }
    if (close != std::string_view::npos) from = close + 1;
  }
  if (separator == Separator::blanks) {
    while (from < line.size() && !is_blank(line[from])) ++from;
    return from;
  }
  return std::min(line.find(static_cast<char>(separator), from), line.size());
}

// Splits a line (comment already cut) into `out`, reusing its storage.
void split_fields(std::string_view line, Separator separator, std::vector<Field>& out) {
  out.clear();
  std::size_t begin = 0;
  if (separator == Separator::blanks) {
    for (;;) {
      while (begin < line.size() && is_blank(line[begin])) ++begin;
      if (begin == line.size()) return;
      const std::size_t end = field_end(line, begin, separator);
      out.push_back(make_field(line, begin, end));
      begin = end;
    }
  }
  for (;;) {
    const std::size_t end = field_end(line, begin, separator);
    out.push_back(make_field(line, begin, end));
    if (end == line.size()) return;
    begin = end + 1;
  }
}

// Where the comment of a line starts: the first '#' outside double quotes.
std::size_t comment_start(std::string_view line) {
  if (line.find('"') == std::string_view::npos) return std::min(line.find('#'), line.size());
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '#' && !quoted) return i;
  }
  return line.size();
}

// A label as stored: a doubled quote inside a quoted field stands for one.
std::string label_text(std::string_view text) {
  std::string label(text);
  for (std::size_t i = label.find("\"\""); i != std::string::npos; i = label.find("\"\"", i + 1)) {
    label.erase(i, 1);
  }
  return label;
}

bool all_empty(const std::vector<Field>& fields) {
  return std::all_of(fields.begin(), fields.end(), [](const Field& f) { return f.text.empty(); });
}

bool is_control(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7f;
}

// Text as quoted in a message: at most kShownBytes bytes, cut between UTF-8
// characters, with control bytes written as \xNN so a message stays one line.
std::string shown(std::string_view text) {
  bool cut = false;
  if (text.size() > kShownBytes) {
    std::size_t n = kShownBytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    text = text.substr(0, n);
    cut = true;
  }
  std::string out;
  out.reserve(text.size() + 3);
  for (const char c : text) {
    if (is_control(c)) {
      constexpr char kHex[] = "0123456789abcdef";
      const auto u = static_cast<unsigned char>(c);
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    } else {
      out += c;
    }
  }
  if (cut) out += "...";
  return out;
}

// Degrees in a message: at most one decimal, none when whole.
std::string degrees_text(double value) {
  std::array<char, 32> buffer{};
  const auto [end, ec] = math::write_fixed(buffer.data(), buffer.data() + buffer.size(), value, 1);
  std::string text(buffer.data(), ec == std::errc{} ? end : buffer.data());
  if (text.size() > 2 && text.ends_with(".0")) text.resize(text.size() - 2);
  return text;
}

// Which column holds what, and the kind of data set that makes.
struct Layout {
  std::array<std::size_t, static_cast<std::size_t>(Role::count)> at{};
  std::size_t columns = 0;
  Kind kind = Kind::planes;
  bool typed = false;        // each line's kind comes from its type column
  bool reads_sense = false;  // slips with a sense column
  std::string notation;
  std::vector<std::size_t> kept;  // the columns kept as text attributes, in order

  Layout() { at.fill(kAbsent); }
  bool has(Role role) const { return at[static_cast<std::size_t>(role)] != kAbsent; }
  std::size_t operator[](Role role) const { return at[static_cast<std::size_t>(role)]; }
};

// Settles the layout of a list of column roles (`names` are the columns as
// written, for messages); returns why the columns name no kind of data, or
// name it ambiguously (empty when they are sound).
std::string settle_layout(const std::vector<Role>& roles, const std::vector<std::string>& names,
                          Layout& layout) {
  layout = Layout{};
  layout.columns = roles.size();
  for (std::size_t i = 0; i < roles.size(); ++i) {
    if (roles[i] == Role::skipped) continue;
    if (!is_orientation(roles[i])) layout.kept.push_back(i);
    if (roles[i] == Role::ignored) continue;
    auto& slot = layout.at[static_cast<std::size_t>(roles[i])];
    if (slot != kAbsent) {
      return "column '" + std::string(role_name(roles[i])) + "' named twice ('" +
             shown(names[slot]) + "' and '" + shown(names[i]) + "')";
    }
    slot = i;
  }
  const bool dipdir = layout.has(Role::dipdir);
  const bool strike = layout.has(Role::strike);
  const bool dip = layout.has(Role::dip);
  const bool trend = layout.has(Role::trend);
  const bool plunge = layout.has(Role::plunge);
  const bool rake = layout.has(Role::rake);
  const bool pitch = layout.has(Role::pitch);
  if (layout.has(Role::trend_or_strike) || layout.has(Role::plunge_or_dip)) {
    if (!layout.has(Role::trend_or_strike) || !layout.has(Role::plunge_or_dip)) {
      return "the combined columns trd/strk and plg/dip go together";
    }
    if (!layout.has(Role::type)) {
      return "the combined columns trd/strk and plg/dip need a type column (P plane, L line)";
    }
    if (dipdir || strike || dip || trend || plunge || rake || pitch) {
      return "the combined columns trd/strk and plg/dip exclude dipdir, strike, dip, trend, "
             "plunge, rake and pitch columns";
    }
    layout.typed = true;
    layout.notation = "trd/strk,plg/dip,type";
    return {};
  }
  const bool plane = dipdir || strike;
  if (plane != dip) {
    return plane ? "a dip direction or strike column needs a dip column"
                 : "a dip column needs a dip direction (dipdir) or strike column";
  }
  if (trend != plunge) return "trend and plunge columns go together";
  if (rake && pitch) return "both a rake and a pitch column: a slip line is given by one of them";
  const std::string angle = rake ? "rake" : "pitch";
  if ((rake || pitch) && !plane) {
    return "a " + angle + " column needs a plane (dipdir,dip or strike,dip)";
  }
  if ((rake || pitch) && trend) {
    return "both a " + angle + " and a slip line (trend,plunge): a slip is given by one of them";
  }
  if (!plane && !trend) {
    return "no measurement columns: name dipdir,dip or strike,dip (planes), trend,plunge "
           "(lines), or a plane with rake, pitch or trend,plunge (slips)";
  }
  layout.notation =
      dipdir ? (strike ? "dipdir,dip,strike" : "dipdir,dip") : (strike ? "strike,dip" : "");
  if (rake || pitch) layout.notation += "," + angle;
  if (trend) layout.notation += plane ? ",trend,plunge" : "trend,plunge";
  layout.kind = plane ? (rake || pitch || trend ? Kind::slips : Kind::planes) : Kind::lines;
  layout.reads_sense = layout.kind == Kind::slips && layout.has(Role::sense);
  if (layout.reads_sense) layout.notation += ",sense";
  return {};
}

// How the strikes of a file chose their side: by the right-hand rule, or by
// quadrant letters after the dip.
struct StrikeSides {
  std::size_t by_rule = 0;
  std::size_t by_letters = 0;

  std::string_view note() const {
    if (by_letters == 0) return " (right-hand rule)";
    return by_rule == 0 ? " (dip quadrant letters)" : " (right-hand rule and dip quadrant letters)";
  }
};

// A rejected line: where, what, why.
struct LineFault {
  std::size_t column = 0;
  std::string_view text;
  std::string reason;
};

LineFault fault(const Field& field, std::string reason) {
  return LineFault{field.column, field.text, std::move(reason)};
}

// A strike given beside a dip direction may lie this far from dip
// direction - 90 or + 90 (either end of the strike line).
constexpr double kStrikeSlack = 10.0;

// A plane from its dip direction or strike (or both) and its dip.
std::optional<LineFault> read_plane(const Field* dipdir_field, const Field* strike_field,
                                    const Field& dip_field, Plane& plane, StrikeSides& sides) {
  const bool by_strike = dipdir_field == nullptr;
  const Field& azimuth_field = by_strike ? *strike_field : *dipdir_field;
  const notation::Reading azimuth = notation::read_azimuth(azimuth_field.text);
  if (!azimuth.ok()) return fault(azimuth_field, azimuth.error);
  const notation::Reading dip = notation::read_dip(dip_field.text);
  if (!dip.ok()) return fault(dip_field, dip.error);
  // By the right-hand rule the plane dips toward strike + 90.
  double dip_direction = by_strike ? wrap_azimuth(azimuth.value + 90.0) : azimuth.value;
  if (dip.has_letters) {
    // The letters choose the side: the strike is a line with two ends.
    const auto side = notation::end_toward(dip_direction, dip.toward);
    if (!side) {
      return fault(dip_field, by_strike ? "the dip's quadrant letters are at right angles to the "
                                          "strike: they choose neither side"
                                        : "the dip's quadrant letters are at right angles to the "
                                          "dip direction");
    }
    if (!by_strike && notation::azimuth_difference(*side, dip_direction) > 90.0) {
      return fault(dip_field, "the dip's quadrant letters point away from the dip direction");
    }
    dip_direction = *side;
  }
  if (!by_strike && strike_field != nullptr) {
    // The dip direction gives the side; the strike must agree with it.
    const notation::Reading strike = notation::read_azimuth(strike_field->text);
    if (!strike.ok()) return fault(*strike_field, strike.error);
    const double off = notation::azimuth_difference(strike.value, dip_direction - 90.0);
    if (off > kStrikeSlack && off < 180.0 - kStrikeSlack) {
      return fault(*strike_field, "strike " + degrees_text(strike.value) +
                                      " is not at right angles to dip direction " +
                                      degrees_text(dip_direction) + " (within 10 degrees)");
    }
  }
  if (by_strike) ++(dip.has_letters ? sides.by_letters : sides.by_rule);
  plane = Plane{dip_direction, dip.value};
  return std::nullopt;
}

std::optional<LineFault> read_line(const Field& trend_field, const Field& plunge_field,
                                   Line& line) {
  const notation::Reading trend = notation::read_azimuth(trend_field.text);
  if (!trend.ok()) return fault(trend_field, trend.error);
  const notation::Reading plunge = notation::read_plunge(plunge_field.text);
  if (!plunge.ok()) return fault(plunge_field, plunge.error);
  line = Line{trend.value, plunge.value};
  if (plunge.has_letters) {
    const auto end = notation::end_toward(trend.value, plunge.toward);
    if (!end) {
      return fault(plunge_field,
                   "the plunge's quadrant letters are at right angles to the trend: they choose "
                   "neither end");
    }
    line.trend = *end;
  } else if (plunge.value < 0.0) {
    // An upward plunge names the line's other, downward end.
    line = Line{wrap_azimuth(trend.value + 180.0), -plunge.value};
  }
  return std::nullopt;
}

// Below this a slip line's component along the dip or the strike counts as
// none: a sense that needs it chooses neither end.
constexpr double kNoComponent = 1e-9;

// What a sense asks of the rake of the hanging wall's motion: the sign of its
// down-dip component (-sin rake) or of its strike component (cos rake).
struct SenseWant {
  bool along_dip;  // else along the strike
  double sign;     // +1: positive component
};

std::optional<SenseWant> wanted(notation::Sense sense) {
  switch (sense) {
    case notation::Sense::normal:
      return SenseWant{true, 1};
    case notation::Sense::reverse:
      return SenseWant{true, -1};
    case notation::Sense::sinistral:
      return SenseWant{false, 1};
    case notation::Sense::dextral:
      return SenseWant{false, -1};
    default:
      return std::nullopt;
  }
}

double component(const SenseWant& want, double rake) {
  const double r = rake * std::numbers::pi / 180.0;
  return want.along_dip ? -std::sin(r) : std::cos(r);
}

// Turns the rake of either end of a slip line to the end the sense names.
std::optional<std::string> orient_by_sense(notation::Sense sense, double& rake) {
  const auto want = wanted(sense);
  if (!want) return std::nullopt;
  const double c = component(*want, rake);
  if (std::abs(c) < kNoComponent) {
    return want->along_dip ? "a normal or reverse sense chooses no end of a slip line along the "
                             "strike"
                           : "a dextral or sinistral sense chooses no end of a slip line down "
                             "the dip";
  }
  if (c * want->sign < 0) rake = rake > 0 ? rake - 180.0 : rake + 180.0;
  return std::nullopt;
}

// The rake of a pitch: `value` degrees in the plane from the end of the
// strike line nearest `toward`, going down the dip.
std::optional<double> rake_of_pitch(const Plane& plane, double value, double toward) {
  const double strike = wrap_azimuth(plane.dip_direction - 90.0);
  const auto end = notation::end_toward(strike, toward);
  if (!end) return std::nullopt;
  return notation::azimuth_difference(*end, strike) < 90.0 ? -value : value - 180.0;
}

std::optional<LineFault> read_slip(const std::vector<Field>& fields, const Layout& layout,
                                   Slip& slip, StrikeSides& sides) {
  const Field* dipdir = layout.has(Role::dipdir) ? &fields[layout[Role::dipdir]] : nullptr;
  const Field* strike = layout.has(Role::strike) ? &fields[layout[Role::strike]] : nullptr;
  if (auto bad = read_plane(dipdir, strike, fields[layout[Role::dip]], slip.plane, sides)) {
    return bad;
  }
  notation::Sense sense = notation::Sense::none;
  const Field* sense_field = layout.reads_sense ? &fields[layout[Role::sense]] : nullptr;
  if (sense_field) {
    const notation::SenseReading read = notation::read_sense(sense_field->text);
    if (!read.ok()) return fault(*sense_field, read.error);
    sense = read.sense;
  }
  const bool angle = layout.has(Role::rake) || layout.has(Role::pitch);
  const Field* angle_field =
      angle ? &fields[layout[layout.has(Role::rake) ? Role::rake : Role::pitch]] : nullptr;
  const bool letters = angle && !angle_field->text.empty() &&
                       std::isalpha(static_cast<unsigned char>(angle_field->text.back()));
  if (angle && !letters && layout.has(Role::rake)) {
    // A signed rake: its sign gives the sense, which a sense column must not
    // contradict; an explicit U makes it unknown.
    const notation::Reading rake = notation::read_rake(angle_field->text);
    if (!rake.ok()) return fault(*angle_field, rake.error);
    if (const auto want = wanted(sense); want && component(*want, rake.value) * want->sign <= 0) {
      return fault(*sense_field, "the sense contradicts the signed rake " +
                                     degrees_text(rake.value) +
                                     " (negative: normal, positive: reverse; below 90 in size: "
                                     "sinistral, above: dextral)");
    }
    slip.rake = rake.value;
    slip.line = line_from_rake(slip.plane, rake.value);
    slip.sense_known = sense != notation::Sense::unknown;
    return std::nullopt;
  }
  if (angle) {
    const notation::Reading pitch = notation::read_pitch(angle_field->text);
    if (!pitch.ok()) return fault(*angle_field, pitch.error);
    const auto rake = rake_of_pitch(slip.plane, pitch.value, pitch.toward);
    if (!rake) {
      return fault(*angle_field,
                   "the quadrant letters are at right angles to the strike: they name neither end");
    }
    slip.rake = *rake;
  } else {
    if (auto bad =
            read_line(fields[layout[Role::trend]], fields[layout[Role::plunge]], slip.line)) {
      return bad;
    }
    const double off = angle_to_plane(slip.plane, slip.line);
    if (off > kSlipLineSlack) {
      return fault(fields[layout[Role::trend]],
                   "slip line " + degrees_text(slip.line.trend) + "/" +
                       degrees_text(slip.line.plunge) + " lies " + degrees_text(off) +
                       " degrees off its plane " + degrees_text(slip.plane.dip_direction) + "/" +
                       degrees_text(slip.plane.dip) + " (at most 1 allowed)");
    }
    // The line within a degree of the plane is taken into it, so a slip is
    // the same whether given by its rake or by its line.
    slip.rake = rake_of(slip.plane, slip.line);
  }
  if (auto why = orient_by_sense(sense, slip.rake)) return fault(*sense_field, *why);
  slip.line = line_from_rake(slip.plane, slip.rake);
  slip.sense_known = sense != notation::Sense::none && sense != notation::Sense::unknown;
  return std::nullopt;
}

// The kind a type column names: P and words for planes, L and words for lines.
std::optional<Kind> kind_of_type(std::string_view text) {
  const std::string word = normalised_name(text);
  for (const std::string_view p : {"p", "plane", "planar", "foliation", "bedding"}) {
    if (word == p) return Kind::planes;
  }
  for (const std::string_view l : {"l", "line", "linear", "lineation"}) {
    if (word == l) return Kind::lines;
  }
  return std::nullopt;
}

// One line's measurement, of the kind it turned out to be.
struct Measurement {
  Kind kind = Kind::planes;
  Plane plane;
  Line line;
  Slip slip;
};

std::optional<LineFault> read_measurement(const std::vector<Field>& fields, const Layout& layout,
                                          Measurement& m, StrikeSides& sides) {
  m.kind = layout.kind;
  if (layout.typed) {
    const Field& type = fields[layout[Role::type]];
    const auto kind = kind_of_type(type.text);
    if (!kind) {
      return fault(type,
                   "unknown type (P, plane, planar, foliation or bedding for a plane; L, line, "
                   "linear or lineation for a line)");
    }
    m.kind = *kind;
    const Field& azimuth = fields[layout[Role::trend_or_strike]];
    const Field& inclination = fields[layout[Role::plunge_or_dip]];
    if (m.kind == Kind::planes) return read_plane(nullptr, &azimuth, inclination, m.plane, sides);
    return read_line(azimuth, inclination, m.line);
  }
  switch (layout.kind) {
    case Kind::planes:
      return read_plane(layout.has(Role::dipdir) ? &fields[layout[Role::dipdir]] : nullptr,
                        layout.has(Role::strike) ? &fields[layout[Role::strike]] : nullptr,
                        fields[layout[Role::dip]], m.plane, sides);
    case Kind::lines:
      return read_line(fields[layout[Role::trend]], fields[layout[Role::plunge]], m.line);
    case Kind::slips:
      return read_slip(fields, layout, m.slip, sides);
  }
  return std::nullopt;
}

// Reads one line's measurement into the data set of its kind; nothing is
// added, and its strike side is not counted, when the line is rejected.
// Returns the kind added.
std::optional<LineFault> read_record(const std::vector<Field>& fields, const Layout& layout,
                                     std::array<DataSet, 3>& sets, StrikeSides& sides,
                                     Kind& added) {
  if (layout.has(Role::label)) {
    const Field& label = fields[layout[Role::label]];
    if (std::any_of(label.text.begin(), label.text.end(), is_control)) {
      return fault(label, "control character in a label");
    }
  }
  StrikeSides counted = sides;
  Measurement m;
  if (auto bad = read_measurement(fields, layout, m, counted)) return bad;
  DataSet& data = sets[static_cast<std::size_t>(m.kind)];
  switch (m.kind) {
    case Kind::planes:
      data.planes.push_back(m.plane);
      break;
    case Kind::lines:
      data.lines.push_back(m.line);
      break;
    case Kind::slips:
      data.slips.push_back(m.slip);
      break;
  }
  sides = counted;
  added = m.kind;
  if (layout.has(Role::label)) data.labels.push_back(label_text(fields[layout[Role::label]].text));
  for (const std::size_t column : layout.kept) {
    data.attribute_values.push_back(label_text(fields[column].text));
  }
  return std::nullopt;
}

// Splits the text into lines ended by LF, CRLF or a lone CR (old spreadsheet
// exports), without copying.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}

  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = pos_;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n') ++pos_;
    ++number_;
    return true;
  }
  std::size_t number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t number_ = 0;
};

std::string known_names() {
  return "dipdir, dip, strike, trend, plunge, rake, pitch, sense, type, trd/strk, plg/dip or "
         "label";
}

// The roles of --columns and their names; a name may itself hold several,
// split at commas. "-" names a column to skip. Returns the unknown name on
// failure.
std::optional<std::string> roles_of_columns(const std::vector<std::string>& columns,
                                            std::vector<Role>& roles,
                                            std::vector<std::string>& names) {
  for (const std::string& entry : columns) {
    std::string_view rest = entry;
    for (;;) {
      const std::size_t comma = rest.find(',');
      std::string_view name = rest.substr(0, comma);
      while (!name.empty() && is_blank(name.front())) name.remove_prefix(1);
      while (!name.empty() && is_blank(name.back())) name.remove_suffix(1);
      if (name == "-") {
        roles.push_back(Role::skipped);
      } else if (const auto role = role_of(name)) {
        roles.push_back(*role);
      } else {
        return std::string(name);
      }
      names.emplace_back(name);
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
  return std::nullopt;
}

// The roles and layout of a --columns list; returns why the list is unsound
// (empty when it is sound).
std::string columns_layout(const std::vector<std::string>& columns, std::vector<Role>& roles,
                           std::vector<std::string>& names, Layout& layout) {
  if (const auto unknown = roles_of_columns(columns, roles, names)) {
    return "unknown column '" + shown(*unknown) + "' (known: " + known_names() + ")";
  }
  return settle_layout(roles, names, layout);
}

// The first line is a header when none of its fields reads as a value, or,
// unless --columns names the columns, when one of them is a column name (the
// other columns, e.g. a year, are then kept as text).
bool is_header(const std::vector<Field>& fields, bool columns_given) {
  const auto known = [](const Field& f) { return role_of(f.text).has_value(); };
  if (!columns_given && std::any_of(fields.begin(), fields.end(), known)) return true;
  return std::none_of(fields.begin(), fields.end(),
                      [](const Field& f) { return notation::looks_like_value(f.text); });
}

// A header line agrees with --columns when every known name it holds names
// the same thing there; returns the disagreement otherwise.
std::string header_conflict(const std::vector<Field>& header, const std::vector<Role>& roles) {
  for (std::size_t i = 0; i < header.size() && i < roles.size(); ++i) {
    const auto role = role_of(header[i].text);
    if (role && *role != roles[i]) {
      return "column " + std::to_string(i + 1) + " is '" + shown(header[i].text) +
             "' in the header but '" + std::string(role_name(roles[i])) + "' in --columns";
    }
  }
  return {};
}

// Fields of a tab-separated line split another way: at runs of blanks and
// tabs holding a tab (so "Dip Direction" stays one field), or at every run
// of blanks and tabs.
void split_runs(std::string_view line, bool need_tab, std::vector<Field>& out) {
  out.clear();
  std::size_t begin = 0;
  while (begin < line.size() && is_blank(line[begin])) ++begin;
  std::size_t at = begin;
  while (at < line.size()) {
    if (!is_blank(line[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < line.size() && is_blank(line[end])) ++end;
    const bool tab = line.substr(at, end - at).find('\t') != std::string_view::npos;
    if (end == line.size() || !need_tab || tab) {
      out.push_back(make_field(line, begin, at));
      begin = end;
    }
    at = end;
  }
  if (begin < line.size()) out.push_back(make_field(line, begin, line.size()));
}

class Reader {
 public:
  Reader(std::string_view file_name, const ReadOptions& options)
      : file_(file_name), options_(options) {
    for (DataSet& set : sets_) set.name = file_;
    if (!options_.columns.empty() && !use_columns()) done_ = true;
  }

  // Reads line `number` (1-based, in order). Lines after a fault of the
  // whole file are not looked at.
  void line(std::string_view line, std::size_t number) {
    if (done_) return;
    // A UTF-8 byte-order mark is not part of the first line.
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    line = line.substr(0, comment_start(line));
    if (first_) separator_ = separator_of(line);
    split_fields(line, separator_, fields_);
    if (all_empty(fields_)) return;
    if (first_) {
      first_ = false;
      // A tab-separated header: a doubled tab is one separator, and blanks
      // belong to the names.
      if (separator_ == Separator::tab) split_runs(line, true, fields_);
      if (is_header(fields_, have_layout_)) {
        if (!use_header(fields_, number)) done_ = true;
        return;
      }
      if (!have_layout_) {
        no_header();
        return;
      }
    }
    read_line_fields(fields_, line, number);
  }

  // A fault of the whole file found outside the lines.
  void fail(std::string message) {
    if (done_) return;
    fatal(std::move(message));
    done_ = true;
  }

  // Whether the file's fate is settled: the lines still to come change nothing.
  bool done() const { return done_; }

  ReadResult end() {
    if (!done_ && !have_layout_) no_header();
    return finish();
  }

  ReadResult read(std::string_view text) {
    Lines lines(text);
    std::string_view l;
    while (!done_ && lines.next(l)) line(l, lines.number());
    return end();
  }

 private:
  bool fatal(std::string message) {
    result_.fatal = std::move(message);
    return false;
  }

  bool use_columns() {
    std::vector<std::string> names;
    const std::string why = columns_layout(options_.columns, column_roles_, names, layout_);
    if (!why.empty()) return fatal(file_ + ": --columns: " + why);
    keep_names(names);
    have_layout_ = true;
    return true;
  }

  bool use_header(const std::vector<Field>& header, std::size_t line_number) {
    const std::string where = file_ + ":" + std::to_string(line_number) + ": ";
    if (have_layout_) {
      // --columns names the columns; a header saying otherwise is a conflict.
      const std::string conflict = header_conflict(header, column_roles_);
      return conflict.empty() || fatal(where + conflict);
    }
    std::vector<Role> roles;
    std::vector<std::string> names;
    bool any_known = false;
    for (const Field& f : header) {
      const auto role = role_of(f.text);
      any_known = any_known || role.has_value();
      roles.push_back(role.value_or(Role::ignored));
      names.push_back(label_text(f.text));
    }
    if (!any_known) {
      return fatal(where + "the first line names no known column; name them " + known_names() +
                   " (a title line must start with '#')");
    }
    const std::string why = settle_layout(roles, names, layout_);
    if (!why.empty()) return fatal(where + "header: " + why);
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (roles[i] == Role::ignored && looks_like_orientation(names[i])) {
        result_.warnings.push_back(file_ + ":" + std::to_string(line_number) + ":" +
                                   std::to_string(header[i].column) + ": column '" +
                                   shown(names[i]) +
                                   "' looks like an orientation but is not read (kept as text)");
      }
    }
    keep_names(names);
    have_layout_ = true;
    return true;
  }

  void keep_names(const std::vector<std::string>& names) {
    for (DataSet& set : sets_) {
      for (const std::size_t column : layout_.kept) set.attribute_names.push_back(names[column]);
    }
  }

  void no_header() {
    fatal(file_ +
          ": no header line naming the columns; add one (e.g. dipdir,dip) or give --columns "
          "dipdir,dip");
    done_ = true;
  }

  void read_line_fields(const std::vector<Field>& fields, std::string_view line,
                        std::size_t line_number) {
    if (fields.size() != layout_.columns && separator_ == Separator::tab) {
      // Runs of tabs and blanks as one separator, when that gives the columns.
      for (const bool need_tab : {true, false}) {
        split_runs(line, need_tab, other_split_);
        if (other_split_.size() == layout_.columns) return read_fields(other_split_, line_number);
      }
    }
    if (fields.size() != layout_.columns) {
      const std::string count = std::to_string(fields.size()) +
                                (fields.size() == 1 ? " field where " : " fields where ") +
                                (column_roles_.empty() ? "the header names " : "--columns names ") +
                                std::to_string(layout_.columns);
      // Too many: point at the first extra field; too few: at the line.
      if (fields.size() > layout_.columns) {
        add_error(line_number, fault(fields[layout_.columns], count));
      } else {
        add_error(line_number, LineFault{fields.front().column, trimmed(line), count});
      }
      return;
    }
    read_fields(fields, line_number);
  }

  void read_fields(const std::vector<Field>& fields, std::size_t line_number) {
    Kind added = layout_.kind;
    if (auto bad = read_record(fields, layout_, sets_, sides_, added)) {
      add_error(line_number, *bad);
      return;
    }
    sets_[static_cast<std::size_t>(added)].line_numbers.push_back(line_number);
    if (std::find(order_.begin(), order_.end(), added) == order_.end()) {
      order_.push_back(added);
    }
  }

  static std::string_view trimmed(std::string_view line) {
    while (!line.empty() && is_blank(line.front())) line.remove_prefix(1);
    while (!line.empty() && is_blank(line.back())) line.remove_suffix(1);
    return line;
  }

  void add_error(std::size_t line_number, const LineFault& bad) {
    ++result_.error_count;
    if (result_.errors.size() < kKeptErrors) {
      result_.errors.push_back(
          DataError{file_, line_number, bad.column, shown(bad.text), bad.reason});
    }
  }

  ReadResult finish() {
    if (!result_.fatal.empty()) {
      result_.data = DataSet{};
      result_.data.name = file_;
      return std::move(result_);
    }
    // A file of one kind gives that kind's set even when empty; a typed file
    // one set per kind it holds, in order of appearance.
    if (!layout_.typed || order_.empty()) order_ = {layout_.kind};
    for (std::size_t i = 0; i < order_.size(); ++i) {
      DataSet& set = sets_[static_cast<std::size_t>(order_[i])];
      set.kind = order_[i];
      set.notation = layout_.notation;
      const bool strikes = layout_.typed ? set.kind == Kind::planes
                                         : layout_.has(Role::strike) && !layout_.has(Role::dipdir);
      if (strikes) set.notation += sides_.note();
      if (i == 0) {
        result_.data = std::move(set);
      } else {
        result_.more_data.push_back(std::move(set));
      }
    }
    if (options_.skip_bad) result_.skipped = result_.error_count;
    return std::move(result_);
  }

  std::string file_;
  const ReadOptions& options_;
  ReadResult result_;
  Layout layout_;
  std::vector<Role> column_roles_;
  bool have_layout_ = false;
  Separator separator_ = Separator::blanks;
  std::vector<Field> other_split_;
  StrikeSides sides_;
  std::array<DataSet, 3> sets_;  // by kind
  std::vector<Kind> order_;      // the kinds read, in order of first appearance
  bool first_ = true;  // no line with a field read yet
  bool done_ = false;
  std::vector<Field> fields_;
};

// The longest line a measurement file may hold (its comment not counted).
constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;

}  // namespace

// The stream's state: the reader, and the line begun in one piece and not
// yet ended, held without its comment.
struct MeasurementStream::State {
  State(std::string_view file_name, const ReadOptions& read_options)
      : file(file_name), options(read_options), reader(file, options) {}

  std::string file;
  ReadOptions options;
  Reader reader;
  std::string partial;       // the line so far, its comment cut off
  bool partial_open = false;  // a line has begun (partial may still be empty)
  bool quoted = false;       // inside double quotes at the end of partial
  bool in_comment = false;   // the rest of the line is a comment
  bool skip_lf = false;      // the last piece ended in CR: a LF next belongs to it
  std::size_t number = 0;    // lines passed to the reader

  // Adds the bytes of a line's middle to partial, dropping its comment.
  void extend(std::string_view bytes) {
    partial_open = partial_open || !bytes.empty();
    if (in_comment) return;
    std::size_t keep = bytes.size();
    for (std::size_t i = bytes.find_first_of("\"#"); i != std::string_view::npos;
         i = bytes.find_first_of("\"#", i + 1)) {
      if (bytes[i] == '"') {
        quoted = !quoted;
      } else if (!quoted) {
        keep = i;
        in_comment = true;
        break;
      }
    }
    partial.append(bytes.substr(0, keep));
    if (partial.size() > kMaxLineBytes) {
      reader.fail(file + ":" + std::to_string(number + 1) + ": a line longer than " +
                  std::to_string(kMaxLineBytes >> 20) + " MiB; is this a measurement file?");
    }
  }

  void end_line(std::string_view line) {
    reader.line(line, ++number);
    partial.clear();
    partial_open = quoted = in_comment = false;
  }
};

MeasurementStream::MeasurementStream(std::string_view file_name, const ReadOptions& options)
    : state_(std::make_unique<State>(file_name, options)) {}

MeasurementStream::~MeasurementStream() = default;

void MeasurementStream::feed(std::string_view piece) {
  State& s = *state_;
  if (s.skip_lf && !piece.empty()) {
    s.skip_lf = false;
    if (piece.front() == '\n') piece.remove_prefix(1);
  }
  while (!piece.empty() && !s.reader.done()) {
    const std::size_t end = piece.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      s.extend(piece);
      return;
    }
    if (s.partial_open) {
      s.extend(piece.substr(0, end));
      if (s.reader.done()) return;
      s.end_line(s.partial);
    } else {
      s.end_line(piece.substr(0, end));
    }
    const bool cr = piece[end] == '\r';
    piece.remove_prefix(end + 1);
    if (cr) {
      if (piece.empty()) {
        s.skip_lf = true;
      } else if (piece.front() == '\n') {
        piece.remove_prefix(1);
      }
    }
  }
}

bool MeasurementStream::done() const { return state_->reader.done(); }

void MeasurementStream::fail(std::string message) { state_->reader.fail(std::move(message)); }

ReadResult MeasurementStream::finish() {
  State& s = *state_;
  if (s.partial_open && !s.reader.done()) s.end_line(s.partial);
  return s.reader.end();
}

ReadResult read_measurements(std::string_view text, std::string_view file_name,
                             const ReadOptions& options) {
  return Reader(file_name, options).read(text);
}

std::string columns_error(const std::vector<std::string>& columns) {
  std::vector<Role> roles;
  std::vector<std::string> names;
  Layout layout;
  return columns_layout(columns, roles, names, layout);
}

}  // namespace polarsketch::data
