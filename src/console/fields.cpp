// Fixed-width number fields, formatted the way the console texts are designed.
#include "console/fields.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace polarsketch::console {
namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

std::string right(std::string s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// Non-finite values are spelled out, right-aligned, when there is room.
std::string non_finite(float v, int w) {
  std::string s;
  if (std::isnan(v)) {
    s = "NaN";
  } else {
    s = (v < 0.0f) ? "-" : "";
    s += (w - static_cast<int>(s.size()) >= 8) ? "Infinity" : "Inf";
  }
  return right(s, w);
}

}  // namespace

std::string fmt_int(std::int64_t v, int w) { return right(std::to_string(v), w); }

std::string fmt_fixed(float v, int w, int d) {
  if (!std::isfinite(v)) return non_finite(v, w);
  if (d < 0) d = 0;
  char buf[128];
  // The float converts exactly to double; %f rounds that exact value.
  int n = std::snprintf(buf, sizeof buf, "%.*f", d, static_cast<double>(v));
  std::string s(buf, static_cast<std::size_t>(n > 0 ? n : 0));
  if (d == 0) s += '.';
  if (static_cast<int>(s.size()) == w + 1) {
    if (s.rfind("0.", 0) == 0) {
      s.erase(0, 1);
    } else if (s.rfind("-0.", 0) == 0) {
      s.erase(1, 1);
    }
  }
  return right(s, w);
}

std::string fmt_exp(float v, int w, int d) {
  if (!std::isfinite(v)) return non_finite(v, w);
  if (d < 1) return stars(w);
  std::string mant;
  int expo = 0;
  bool neg = std::signbit(v) && v != 0.0f;
  if (v == 0.0f) {
    mant.assign(static_cast<std::size_t>(d), '0');
  } else {
    char buf[128];
    // d significant digits: d.ddd...e+XX, then shift to 0.dddd E+(XX+1).
    std::snprintf(buf, sizeof buf, "%.*e", d - 1, static_cast<double>(std::fabs(v)));
    std::string t(buf);
    std::size_t epos = t.find('e');
    for (std::size_t i = 0; i < epos; ++i)
      if (t[i] != '.') mant += t[i];
    expo = std::atoi(t.c_str() + epos + 1) + 1;
  }
  std::string ex;
  int ae = std::abs(expo);
  char eb[16];
  if (ae <= 99) {
    std::snprintf(eb, sizeof eb, "E%c%02d", expo < 0 ? '-' : '+', ae);
  } else {
    std::snprintf(eb, sizeof eb, "%c%03d", expo < 0 ? '-' : '+', ae);
  }
  ex = eb;
  std::string s = std::string(neg ? "-" : "") + "0." + mant + ex;
  if (static_cast<int>(s.size()) == w + 1) {
    // The leading 0 is optional when the field is one column short.
    s.erase(neg ? 1 : 0, 1);
  }
  return right(s, w);
}

std::string fmt_general(float v, int w, int d) {
  if (!std::isfinite(v)) return non_finite(v, w);
  if (v == 0.0f) return fmt_fixed(v, w - 4, d - 1) + "    ";
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.*e", d - 1, static_cast<double>(std::fabs(v)));
  std::string t(buf);
  int e10 = std::atoi(t.c_str() + t.find('e') + 1);  // rounded value is m * 10^e10, 1 <= m < 10
  // 0.1 <= |N| < 10^d  <=>  -1 <= e10 <= d - 1
  if (e10 >= -1 && e10 <= d - 1) {
    int k = e10 + 1;  // digits before the point (0 for 0.1 <= |N| < 1)
    return fmt_fixed(v, w - 4, d - k) + "    ";
  }
  return fmt_exp(v, w, d);
}

std::string fmt_logical(bool v, int w) { return right(v ? "T" : "F", w); }

std::string fmt_text(std::string_view s, int w) {
  if (w <= 0) return {};
  if (static_cast<int>(s.size()) >= w) return std::string(s.substr(0, static_cast<std::size_t>(w)));
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + std::string(s);
}

}  // namespace polarsketch::console
