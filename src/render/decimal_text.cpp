// Short decimal numbers for the figure writers.
#include "render/decimal_text.hpp"

#include <charconv>
#include <cmath>

#include "math/decimal.hpp"

namespace polarsketch::render {

long long hundredths(double v) { return std::llround(v * 100.0); }

void append_hundredths(std::string& out, long long h) {
  if (h < 0) {
    out += '-';
    h = -h;
  }
  const long long whole = h / 100, part = h % 100;
  char digits[24];
  if (whole != 0 || part == 0) {
    const auto end = std::to_chars(digits, digits + sizeof digits, whole).ptr;
    out.append(digits, end);
  }
  if (part != 0) {
    out += '.';
    out += static_cast<char>('0' + part / 10);
    if (part % 10 != 0) out += static_cast<char>('0' + part % 10);
  }
}

void append_pair(std::string& out, long long x, long long y, bool tight) {
  if (!tight || x >= 0) out += ' ';
  append_hundredths(out, x);
  if (!tight || y >= 0) out += ' ';
  append_hundredths(out, y);
}

std::string decimal(double v) {
  if (!std::isfinite(v)) v = 0.0;
  char buffer[48];
  const auto end =
      math::write_fixed(buffer, buffer + sizeof buffer, std::round(v * 1000.0) / 1000.0, 3).ptr;
  std::string s(buffer, end);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

}  // namespace polarsketch::render
