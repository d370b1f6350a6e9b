// Decimal numbers through the standard library's from_chars and to_chars
// where they take doubles; where they do not (the C++ library of the
// WebAssembly build), through the C library: a number's text is found by
// from_chars' grammar and converted by strtod, and written by snprintf's
// "%.*f", by which the standard defines fixed to_chars. Both round
// correctly, in the C locale the programs force.
#include "math/decimal.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace polarsketch::math {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// Whether [p, last) starts with `word`, any case.
bool starts_with_word(const char* p, const char* last, const char* word) {
  for (; *word != '\0'; ++p, ++word) {
    if (p == last) return false;
    const char c = (*p >= 'A' && *p <= 'Z') ? static_cast<char>(*p - 'A' + 'a') : *p;
    if (c != *word) return false;
  }
  return true;
}

// The end of the longest number from_chars reads at `p` (after the sign),
// or `p` when none: digits with an optional point, at least one digit, then
// (general format) an exponent with at least one digit; or "inf",
// "infinity", "nan".
const char* number_end(const char* p, const char* last, std::chars_format format) {
  if (starts_with_word(p, last, "infinity")) return p + 8;
  if (starts_with_word(p, last, "inf") || starts_with_word(p, last, "nan")) return p + 3;
  const char* q = p;
  bool any = false;
  while (q != last && digit(*q)) ++q, any = true;
  if (q != last && *q == '.') {
    ++q;
    while (q != last && digit(*q)) ++q, any = true;
  }
  if (!any) return p;
  if (format == std::chars_format::fixed || q == last || (*q != 'e' && *q != 'E')) return q;
  const char* e = q + 1;
  if (e != last && (*e == '+' || *e == '-')) ++e;
  if (e == last || !digit(*e)) return q;
  while (e != last && digit(*e)) ++e;
  return e;
}

}  // namespace

std::from_chars_result read_double_by_strtod(const char* first, const char* last, double& value,
                                             std::chars_format format) {
  const char* body = first != last && *first == '-' ? first + 1 : first;
  const char* end = number_end(body, last, format);
  if (end == body) return {first, std::errc::invalid_argument};
  const std::string text(first, end);
  errno = 0;
  const double read = std::strtod(text.c_str(), nullptr);
  // strtod says ERANGE for results too small to be normal as well, which
  // from_chars gives as the nearest value; a number too large, or too small
  // to be anything but zero, is out of range and leaves the value alone.
  if (errno == ERANGE && (std::isinf(read) || read == 0.0))
    return {end, std::errc::result_out_of_range};
  value = read;
  return {end, std::errc{}};
}

std::to_chars_result write_fixed_by_printf(char* first, char* last, double value,
                                           int decimals) {
  const std::size_t room = static_cast<std::size_t>(last - first);
  std::string text(room + 1, '\0');
  const int n = std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
  if (n < 0 || static_cast<std::size_t>(n) > room) return {last, std::errc::value_too_large};
  std::copy_n(text.data(), n, first);
  return {first + n, std::errc{}};
}

#if defined(__cpp_lib_to_chars)

std::from_chars_result read_double(const char* first, const char* last, double& value,
                                   std::chars_format format) {
  return std::from_chars(first, last, value, format);
}

std::to_chars_result write_fixed(char* first, char* last, double value, int decimals) {
  return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
}

#else

std::from_chars_result read_double(const char* first, const char* last, double& value,
                                   std::chars_format format) {
  return read_double_by_strtod(first, last, value, format);
}

std::to_chars_result write_fixed(char* first, char* last, double value, int decimals) {
  return write_fixed_by_printf(first, last, value, decimals);
}

#endif

}  // namespace polarsketch::math
