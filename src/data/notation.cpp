// Reading single angles without streams or allocation: std::from_chars in
// fixed notation (no exponents, no "nan" or "inf"), then the quadrant letters.
#include "data/notation.hpp"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>

#include "data/measurements.hpp"
#include "math/decimal.hpp"

namespace polarsketch::data::notation {

namespace {

// Azimuths beyond this are rejected: modulo 360 they would have lost their
// fractional digits, and no field book holds them.
constexpr double kLargestAzimuth = 1e9;
// Tolerance for "at right angles" in degrees.
constexpr double kRightAngleSlack = 1e-9;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

Reading rejected(const char* reason) {
  Reading r;
  r.error = reason;
  return r;
}

struct Number {
  double value = 0;
  std::size_t length = 0;       // characters consumed; 0 when no number starts the text
  const char* error = nullptr;  // set when digits were there but the value is unusable
};

// A decimal number at the start of the text: optional sign, digits with an
// optional point, no exponent.
Number number_prefix(std::string_view text) {
  Number n;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const bool digit_next = i < text.size() && is_digit(text[i]);
  const bool point_digit = i + 1 < text.size() && text[i] == '.' && is_digit(text[i + 1]);
  if (!digit_next && !point_digit) return n;
  // from_chars takes a minus but not a plus.
  const std::size_t start = text[0] == '+' ? 1 : 0;
  const char* first = text.data() + start;
  const auto [end, ec] =
      math::read_double(first, text.data() + text.size(), n.value, std::chars_format::fixed);
  n.length = static_cast<std::size_t>(end - text.data());
  if (ec == std::errc::result_out_of_range || !std::isfinite(n.value)) {
    n.error = "number out of range";
  } else if (ec != std::errc{}) {
    n.length = 0;
  }
  return n;
}

// The azimuth of quadrant letters: N, NE, E, SE, S, SW, W, NW (any case).
std::optional<double> quadrant(std::string_view letters) {
  if (letters.size() == 1) {
    switch (upper(letters[0])) {
      case 'N':
        return 0.0;
      case 'E':
        return 90.0;
      case 'S':
        return 180.0;
      case 'W':
        return 270.0;
      default:
        return std::nullopt;
    }
  }
  if (letters.size() == 2) {
    const char a = upper(letters[0]);
    const char b = upper(letters[1]);
    if (a == 'N' && b == 'E') return 45.0;
    if (a == 'S' && b == 'E') return 135.0;
    if (a == 'S' && b == 'W') return 225.0;
    if (a == 'N' && b == 'W') return 315.0;
  }
  return std::nullopt;
}

const char* not_a_number_reason(std::string_view text, const char* otherwise) {
  // With semicolons between fields a decimal comma reaches us inside a field.
  if (text.find(',') != std::string_view::npos) {
    return "not a number (a decimal comma? write the decimal point as '.')";
  }
  return otherwise;
}

// A quadrant bearing: N or S, an angle in [0, 90], E or W; or a lone cardinal
// letter. None when the text does not have that shape.
std::optional<Reading> bearing(std::string_view text) {
  if (text.size() == 1) {
    const auto q = quadrant(text);
    if (!q) return std::nullopt;
    Reading r;
    r.value = *q;
    return r;
  }
  if (text.size() < 3) return std::nullopt;
  const char from = upper(text.front());
  const char to = upper(text.back());
  if ((from != 'N' && from != 'S') || (to != 'E' && to != 'W')) return std::nullopt;
  const std::string_view middle = text.substr(1, text.size() - 2);
  const Number n = number_prefix(middle);
  if (n.length == 0 || n.length != middle.size()) return std::nullopt;
  if (n.error) return rejected(n.error);
  if (middle[0] == '-' || middle[0] == '+' || n.value > 90.0) {
    return rejected("the angle of a quadrant bearing must lie in [0, 90]");
  }
  const double a = n.value;
  Reading r;
  if (from == 'N') {
    r.value = to == 'E' ? a : 360.0 - a;
  } else {
    r.value = to == 'E' ? 180.0 - a : 180.0 + a;
  }
  r.value = wrap_azimuth(r.value);
  return r;
}

// A number in [low, high] optionally followed by quadrant letters.
Reading inclination(std::string_view text, bool letters_allowed, const char* what) {
  if (text.empty()) return rejected("empty field where a value is needed");
  const Number n = number_prefix(text);
  if (n.length == 0) return rejected(not_a_number_reason(text, what));
  if (n.error) return rejected(n.error);
  Reading r;
  r.value = n.value;
  if (n.length != text.size()) {
    const std::string_view rest = text.substr(n.length);
    const auto q = letters_allowed ? quadrant(rest) : std::nullopt;
    if (!q) {
      // "45,5" is a decimal comma, not letters.
      if (!letters_allowed || rest.starts_with(',')) {
        return rejected(not_a_number_reason(text, what));
      }
      // "45 NW": sound letters, parted from their number.
      const std::size_t letters = rest.find_first_not_of(" \t");
      if (letters > 0 && letters != std::string_view::npos && quadrant(rest.substr(letters))) {
        return rejected("a blank between the number and its quadrant letters (write them as 45NW)");
      }
      return rejected(
          "unknown quadrant letters after the number (use N, NE, E, SE, S, SW, W or NW)");
    }
    r.has_letters = true;
    r.toward = *q;
  }
  return r;
}

}  // namespace

double azimuth_difference(double a, double b) {
  const double d = wrap_azimuth(a - b);
  return d > 180.0 ? 360.0 - d : d;
}

std::optional<double> end_toward(double azimuth, double toward) {
  const double d = azimuth_difference(azimuth, toward);
  if (std::abs(d - 90.0) <= kRightAngleSlack) return std::nullopt;
  return wrap_azimuth(d < 90.0 ? azimuth : azimuth + 180.0);
}

Reading read_azimuth(std::string_view text) {
  if (text.empty()) return rejected("empty field where a value is needed");
  const Number n = number_prefix(text);
  if (n.length == 0) {
    if (const auto b = bearing(text)) return *b;
    return rejected(not_a_number_reason(
        text, "not an azimuth (a number such as 030 or a quadrant bearing such as N30E)"));
  }
  if (n.error) return rejected(n.error);
  if (n.length != text.size()) {
    return rejected(not_a_number_reason(
        text, "not an azimuth (a number such as 030 or a quadrant bearing such as N30E)"));
  }
  if (std::abs(n.value) > kLargestAzimuth) return rejected("azimuth too large");
  Reading r;
  r.value = wrap_azimuth(n.value);
  return r;
}

Reading read_dip(std::string_view text) {
  Reading r =
      inclination(text, true, "not a dip (a number such as 45, or with its quadrant as in 45NW)");
  if (r.ok() && !(r.value >= 0.0 && r.value <= 90.0)) return rejected("dip must lie in [0, 90]");
  return r;
}

Reading read_plunge(std::string_view text) {
  Reading r = inclination(text, true,
                          "not a plunge (a number such as 30, or with its quadrant as in 30SW)");
  if (!r.ok()) return r;
  if (!(r.value >= -90.0 && r.value <= 90.0)) return rejected("plunge must lie in [-90, 90]");
  if (r.has_letters && text[0] == '-') {
    return rejected("a plunge with quadrant letters cannot be negative");
  }
  return r;
}

Reading read_rake(std::string_view text) {
  Reading r = inclination(text, false, "not a rake (a number in [-180, 180])");
  if (r.ok() && !(r.value >= -180.0 && r.value <= 180.0)) {
    return rejected("rake must lie in [-180, 180]");
  }
  return r;
}

Reading read_pitch(std::string_view text) {
  Reading r = inclination(
      text, true, "not a pitch (an angle with the strike end it is measured from, as in 35SW)");
  if (!r.ok()) return r;
  if (!r.has_letters) {
    return rejected(
        "a pitch needs the quadrant letters of the strike end it is measured from (35SW); a "
        "signed rake goes in a rake column");
  }
  if (text[0] == '-' || !(r.value >= 0.0 && r.value <= 90.0)) {
    return rejected("a pitch with quadrant letters must lie in [0, 90]");
  }
  return r;
}

SenseReading read_sense(std::string_view text) {
  SenseReading r;
  if (text.empty()) return r;
  if (number_prefix(text).length > 0) {
    r.error =
        "a number as a sense (write N, R, D, S or U: programs disagree on what the sign of a "
        "number means)";
    return r;
  }
  // Lower case without blanks, '-' and '_', so "Right-lateral" is "rightlateral".
  std::string word;
  for (const char c : text) {
    if (c == ' ' || c == '-' || c == '_') continue;
    word += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  struct Word {
    std::string_view text;
    Sense sense;
  };
  static constexpr Word kWords[] = {
      {"n", Sense::normal},
      {"normal", Sense::normal},
      {"r", Sense::reverse},
      {"i", Sense::reverse},
      {"reverse", Sense::reverse},
      {"inverse", Sense::reverse},
      {"thrust", Sense::reverse},
      {"d", Sense::dextral},
      {"dextral", Sense::dextral},
      {"rightlateral", Sense::dextral},
      {"s", Sense::sinistral},
      {"sinistral", Sense::sinistral},
      {"leftlateral", Sense::sinistral},
      {"u", Sense::unknown},
      {"unknown", Sense::unknown},
  };
  for (const Word& w : kWords) {
    if (word == w.text) {
      r.sense = w.sense;
      return r;
    }
  }
  r.error = "unknown sense (use N normal, R or I reverse, D dextral, S sinistral, U unknown)";
  return r;
}

bool looks_like_value(std::string_view text) {
  if (text.empty()) return false;
  const char c = text[0];
  if (is_digit(c) || c == '+' || c == '-' || c == '.') return true;
  return bearing(text).has_value();
}

}  // namespace polarsketch::data::notation
