// The prompt routines and the free-format readers of one typed answer.
#include "console/prompts.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"

namespace polarsketch::console {
namespace {

constexpr std::string_view kDots = "..........................................";
constexpr std::size_t kNumberBuffer = 20;  // integer and real answers with a default
constexpr std::size_t kTextBuffer = 80;    // text answers with a default

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

// The first free-format item: leading blanks skipped, ended by a blank, a
// comma, a slash or the end of the text.
std::string_view first_item(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::size_t j = i;
  while (j < text.size() && !is_separator(text[j])) ++j;
  return text.substr(i, j - i);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// An answer line with the default buffers' blank-first rule: an empty line or
// one that starts with a blank selects the default.
bool selects_default(std::string_view buffer) {
  return buffer.empty() || buffer[0] == ' ' || buffer[0] == '\n' || buffer[0] == '\r';
}

// Reads one answer line. A console unit stops the run itself at end of
// input; a file unit that has run out is treated the same way.
std::string read_answer(int unit) {
  std::string line;
  if (!read_line(unit, line)) {
    put_line(iocom.ito, kEndOfInputLine);
    stop_run(kExitEndOfInput);
  }
  return line;
}

// Free-format integer read directly from the unit: lines without an item
// are passed over until one arrives.
bool read_direct_int(int unit, std::int32_t& v) {
  for (;;) {
    const std::string line = read_answer(unit);
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    return read_free_int(line, v);
  }
}

void unreadable(std::string_view routine, std::string_view label) {
  errorhead(routine);
  put_line(iocom.itoer, "could not read " + std::string(label));
  put_line(iocom.itoer, "==> RETRYING");
  errortail00();
}

void echo_dots() {
  if (iocom.lwito(2)) put_line(iocom.ito, kDots);
}

struct IntRange {
  std::int32_t lo, hi;
};

// "[lo,hi]" with each bound in exactly its own width.
std::string int_range_text(const IntRange& r) {
  std::int32_t wlo = 0, whi = 0;
  integlen(wlo, r.lo);
  integlen(whi, r.hi);
  return "[" + fmt_int(r.lo, wlo) + "," + fmt_int(r.hi, whi) + "]";
}

// The integer prompts with trimmed labels; without a default the answer is
// read directly, passing over empty lines.
void integer_prompt(std::int32_t& iv, std::string_view vnam, std::optional<std::int32_t> ivdef,
                    std::optional<IntRange> range, std::string_view routine) {
  const std::string label(textlen_trim(vnam));
  const std::string range_text = range ? int_range_text(*range) : std::string();
  for (;;) {
    const bool more = iocom.lwito(2);
    if (more) put_line(iocom.ito, kDots);
    put_line(iocom.ito, "Enter " + label);
    if (range) put_line(iocom.ito, "inside  " + range_text);
    if (ivdef && more) {
      put_line(iocom.ito, "or return for default value");
      put_line(iocom.ito, "Default = " + fmt_int(*ivdef, 12));
    }
    std::int32_t value = 0;
    bool ok = true;
    if (ivdef) {
      const std::string buffer = fit_text(read_answer(iocom.iti), kNumberBuffer);
      if (selects_default(buffer)) {
        value = *ivdef;
      } else {
        ok = read_free_int(buffer, value);
      }
    } else {
      ok = read_direct_int(iocom.iti, value);
    }
    if (!ok) {
      unreadable(routine, label);
      continue;
    }
    if (range && (value < range->lo || value > range->hi)) {
      errorhead(routine);
      put_line(iocom.itoer, label + " = " + fmt_int(value, 12));
      put_line(iocom.itoer, "outside " + range_text);
      errortail00();
      continue;
    }
    iv = value;
    put_line(iocom.ito, "New value =  " + fmt_int(iv, 12));
    echo_dots();
    return;
  }
}

float larger_magnitude(float a, float b) {
  const float fa = std::fabs(a), fb = std::fabs(b);
  return fb > fa ? fb : fa;
}

// The range of inrealvindef in fixed formats chosen by the larger bound.
std::string real_range_text(float vmin, float vmax) {
  const float m = larger_magnitude(vmin, vmax);
  std::string a, b;
  if (m < 10.0f) {
    a = fmt_fixed(vmin, 6, 3);
    b = fmt_fixed(vmax, 6, 3);
  } else if (m < 100.0f) {
    a = fmt_fixed(vmin, 7, 3);
    b = fmt_fixed(vmax, 7, 3);
  } else if (m < 1000.0f) {
    a = fmt_fixed(vmin, 7, 2);
    b = fmt_fixed(vmax, 7, 2);
  } else if (m < 1000000.0f) {
    a = fmt_fixed(vmin, 9, 1);
    b = fmt_fixed(vmax, 7, 2);
  } else if (m < 1.0e10f) {
    a = fmt_fixed(vmin, 13, 1);
    b = fmt_fixed(vmax, 11, 0);
  } else {
    a = fmt_general(vmin, 12, 6);
    b = fmt_general(vmax, 12, 6);
  }
  return "[" + a + "," + b + "]";
}

std::string real_default_text(float vdef, float m2) {
  if (m2 < 10.0f) return fmt_fixed(vdef, 6, 3);
  if (m2 < 100.0f) return fmt_fixed(vdef, 7, 3);
  if (m2 < 1000.0f) return fmt_fixed(vdef, 7, 2);
  return fmt_general(vdef, 20, 1);
}

struct RealRange {
  float lo, hi;
};

void real_prompt(float& v, std::string_view vnam, float vdef, std::optional<RealRange> range,
                 std::string_view routine) {
  const std::string label(textlen_trim(vnam));
  std::string range_text;
  std::string default_text = fmt_general(vdef, 12, 6);
  if (range) {
    range_text = real_range_text(range->lo, range->hi);
    const float m = larger_magnitude(range->lo, range->hi);
    const float m2 = larger_magnitude(larger_magnitude(m, v), vdef);
    default_text = real_default_text(vdef, m2);
  }
  for (;;) {
    const bool more = iocom.lwito(2);
    if (more) put_line(iocom.ito, kDots);
    put_line(iocom.ito, "Enter " + label);
    if (range) put_line(iocom.ito, "inside  " + range_text);
    if (more) {
      put_line(iocom.ito, "or return for default value");
      put_line(iocom.ito, "Default = " + default_text);
    }
    float value = 0.0f;
    const std::string buffer = fit_text(read_answer(iocom.iti), kNumberBuffer);
    if (selects_default(buffer)) {
      value = vdef;
    } else if (!read_free_real(buffer, value)) {
      unreadable(routine, label);
      continue;
    }
    // A default that is not a finite number is never inside a range.
    if (range && (value < range->lo || value > range->hi || !std::isfinite(value))) {
      errorhead(routine);
      put_line(iocom.itoer, label + " = " + fmt_general(value, 12, 6));
      put_line(iocom.itoer, "outside " + range_text);
      errortail00();
      continue;
    }
    v = value;
    put_line(iocom.ito, "New value =  " + fmt_general(v, 12, 6));
    echo_dots();
    return;
  }
}

void logic_help(int unit, std::string_view routine) {
  submenuhead_on(unit, routine);
  put_line(unit, "   To         type           ");
  put_line(unit, "-----------------------------");
  put_line(unit, "get help      h or H         ");
  put_line(unit, "answer Yes    y or Y or 1    ");
  put_line(unit, "answer No     n or N or 0    ");
  put_line(unit, "use default   Carriage Return");
  menutail_on(unit);
}

// The yes/no question. always_shown: every optional line is printed and the
// dotted rule frames the whole exchange once (the form used by the error
// handling, on the units it names).
void logic_prompt(bool& lrep, std::string_view question, bool ldefault, int in, int out,
                  bool always_shown, std::string_view routine) {
  const std::string q(textlen_trim(question));
  const std::string default_text = ldefault ? "Yes" : "No ";
  const bool more = always_shown || iocom.lwito(2);
  if (always_shown) put_line(out, kDots);
  for (;;) {
    if (!always_shown && more) put_line(out, kDots);
    put_line(out, q + " ?");
    if (more) {
      put_line(out, "Enter (0/1)(n/y)(N/Y)");
      put_line(out, "or return for default value or h for help");
      put_line(out, "Default = " + default_text);
    }
    const std::string line = read_answer(in);
    const char c = line.empty() ? ' ' : line[0];
    if (c == 'y' || c == 'Y' || c == '1') {
      lrep = true;
    } else if (c == 'n' || c == 'N' || c == '0') {
      lrep = false;
    } else if (c == ' ' || c == '\n' || c == '\r') {
      lrep = ldefault;
    } else if (c == 'h' || c == 'H') {
      logic_help(out, routine);
      continue;
    } else {
      errorhead(routine);
      put_line(iocom.itoer, std::string("incorrect answer: ") + c);
      put_line(iocom.itoer, "==> WILL ASK QUESTION AGAIN");
      errortail00();
      logic_help(out, routine);
      continue;
    }
    break;
  }
  put_line(out, std::string("New value =  ") + (lrep ? "Yes" : "No"));
  if (more) put_line(out, kDots);
}

}  // namespace

bool read_free_int(std::string_view text, std::int32_t& v) {
  const std::string_view item = first_item(text);
  std::size_t i = 0;
  bool neg = false;
  if (i < item.size() && (item[i] == '+' || item[i] == '-')) neg = item[i++] == '-';
  if (i == item.size()) return false;
  std::int64_t mag = 0;
  for (; i < item.size(); ++i) {
    if (!is_digit(item[i])) return false;
    mag = mag * 10 + (item[i] - '0');
    if (mag > 2147483648LL) return false;
  }
  const std::int64_t value = neg ? -mag : mag;
  if (value > 2147483647LL) return false;
  v = static_cast<std::int32_t>(value);
  return true;
}

bool read_free_real(std::string_view text, float& v) {
  const std::string_view item = first_item(text);
  // Syntax: [sign] digits [. digits] | [sign] . digits, then an optional
  // exponent letter e, E, d or D with an optional sign and digits.
  std::string plain;
  std::size_t i = 0;
  if (i < item.size() && (item[i] == '+' || item[i] == '-')) plain += item[i++];
  std::size_t digits = 0;
  for (; i < item.size() && is_digit(item[i]); ++i, ++digits) plain += item[i];
  if (i < item.size() && item[i] == '.') {
    plain += item[i++];
    for (; i < item.size() && is_digit(item[i]); ++i, ++digits) plain += item[i];
  }
  if (digits == 0) return false;
  if (i < item.size()) {
    const char e = item[i];
    if (e != 'e' && e != 'E' && e != 'd' && e != 'D') return false;
    plain += 'e';
    ++i;
    if (i < item.size() && (item[i] == '+' || item[i] == '-')) plain += item[i++];
    std::size_t exp_digits = 0;
    for (; i < item.size() && is_digit(item[i]); ++i, ++exp_digits) plain += item[i];
    if (exp_digits == 0 || i != item.size()) return false;
  }
  errno = 0;
  char* end = nullptr;
  const float value = std::strtof(plain.c_str(), &end);
  if (end != plain.c_str() + plain.size() || !std::isfinite(value)) return false;
  v = value;  // values below the float range read as zero or subnormal
  return true;
}

void inintegvindef(std::int32_t& iv, std::string_view vnam, std::int32_t ivdef, std::int32_t ivmin,
                   std::int32_t ivmax, std::int32_t& ierr) {
  ierr = 0;
  integer_prompt(iv, vnam, ivdef, IntRange{ivmin, ivmax}, "inintegvindef");
}

void inintegdef(std::int32_t& iv, std::string_view vnam, std::int32_t ivdef, std::int32_t& ierr) {
  ierr = 0;
  integer_prompt(iv, vnam, ivdef, std::nullopt, "inintegdef");
}

void inintegvin1(std::int32_t& iv, std::string_view vnam, std::int32_t ivmin, std::int32_t ivmax,
                 std::int32_t& ierr) {
  ierr = 0;
  integer_prompt(iv, vnam, std::nullopt, IntRange{ivmin, ivmax}, "inintegvin1");
}

void ininteg1(std::int32_t& iv, std::string_view vnam, std::int32_t& ierr) {
  ierr = 0;
  integer_prompt(iv, vnam, std::nullopt, std::nullopt, "ininteg1");
}

void inintegdefnp(std::int32_t& iv, std::string_view vnam, std::int32_t ivdef, std::int32_t& ierr) {
  ierr = 0;
  const int out = iocom.ito;
  put_line(out, kDots);
  for (;;) {
    put_line(out, "Enter " + std::string(vnam));
    put_line(out, "or return for default value");
    put_line(out, "Default = " + fmt_int(ivdef, 12));
    const std::string buffer = fit_text(read_answer(iocom.iti), kNumberBuffer);
    std::int32_t value = ivdef;
    if (!selects_default(buffer) && !read_free_int(buffer, value)) {
      errorhead("inintegdefnp");
      put_line(iocom.itoer, "could not read " + std::string(vnam));
      put_line(iocom.itoer, "             RETRYING              ");
      errortail0();
      continue;
    }
    iv = value;
    break;
  }
  put_line(out, kDots);
}

void inrealvindef(float& v, std::string_view vnam, float vdef, float vmin, float vmax,
                  std::int32_t& ierr) {
  ierr = 0;
  real_prompt(v, vnam, vdef, RealRange{vmin, vmax}, "inrealvindef");
}

void inrealdef(float& v, std::string_view vnam, float vdef, std::int32_t& ierr) {
  ierr = 0;
  real_prompt(v, vnam, vdef, std::nullopt, "inrealdef");
}

void inlogicdef(bool& lrep, std::string_view question, bool ldefault, std::int32_t& ierr) {
  ierr = 0;
  logic_prompt(lrep, question, ldefault, iocom.iti, iocom.ito, false, "inlogicdef");
}

void inlogicdef2(bool& lrep, std::string_view question, bool ldefault, std::int32_t iti,
                 std::int32_t ito, std::int32_t& ierr) {
  ierr = 0;
  logic_prompt(lrep, question, ldefault, iti, ito, true, "inlogicdef2");
}

void inchardef(std::string& v, std::string_view vnam, std::string_view vdef, std::int32_t& ierr) {
  ierr = 0;
  const std::string label(textlen_trim(vnam));
  const bool more = iocom.lwito(2);
  if (more) put_line(iocom.ito, kDots);
  put_line(iocom.ito, "Enter " + label);
  if (more) {
    put_line(iocom.ito, "or return for default value");
    put_line(iocom.ito, "Default = " + std::string(textlen_trim(vdef)));
  }
  const std::string buffer = fit_text(read_answer(iocom.iti), kTextBuffer);
  if (!selects_default(buffer)) {
    v = fit_text(buffer, v.size());
  } else {
    const int code = static_cast<unsigned char>(buffer[0]);
    put_line(iocom.ito, "ichar = " + fmt_int(code, 3) + " => use default value");
    v = fit_text(vdef, v.size());
  }
  put_line(iocom.ito, "New value = " + v);
  echo_dots();
}

void inchar1(std::string& v, std::string_view vnam, std::int32_t& ierr) {
  ierr = 0;
  const bool more = iocom.lwito(2);
  if (more) put_line(iocom.ito, kDots);
  put_line(iocom.ito, "Enter " + std::string(textlen_trim(vnam)));
  v = fit_text(read_answer(iocom.iti), v.size());
  put_line(iocom.ito, "New value = " + v);
  echo_dots();
}

}  // namespace polarsketch::console
