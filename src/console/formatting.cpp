// Number-to-text routines of controlled width, and text measuring.
//
// real2charf1 writes every coordinate of the plot file, so its normal path
// avoids streams and printf: the digits are produced from the exact binary
// value with integer arithmetic, which gives the same text as rounding that
// value with ties to even (the rule of the fixed-width fields).
#include "console/formatting.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"
#include "math/saturate.hpp"

namespace polarsketch::console {
namespace {

// Decimal digits counted as the truncated single-precision decimal logarithm.
std::int32_t log10_trunc(float x) { return math::trunc_to_int(0.4342945f * std::log(x)); }

// 10^(-n) for n >= 0, as the reciprocal of 10 multiplied n times in single
// precision (exact up to 10^10, so the reciprocal is correctly rounded).
float ten_to_minus(std::int32_t n) {
  float p = 1.0f;
  const std::int32_t k = n < 0 ? -n : n;
  for (std::int32_t i = 0; i < k && p < std::numeric_limits<float>::max(); ++i) p *= 10.0f;
  return n < 0 ? p : 1.0f / p;
}

// 10^(-n) + 0.0000001 for the usual decimal counts, computed once.
const std::array<float, 11>& rounding_margins() {
  static const std::array<float, 11> table = [] {
    std::array<float, 11> t{};
    for (std::int32_t n = 0; n < 11; ++n)
      t[static_cast<std::size_t>(n)] = ten_to_minus(n) + 0.0000001f;
    return t;
  }();
  return table;
}

float rounding_margin(std::int32_t na) {
  if (na >= 0 && na < 11) return rounding_margins()[static_cast<std::size_t>(na)];
  return ten_to_minus(na) + 0.0000001f;
}

constexpr std::array<std::uint64_t, 10> kPow10{1ull,         10ull,        100ull,     1000ull,
                                               10000ull,     100000ull,    1000000ull, 10000000ull,
                                               100000000ull, 1000000000ull};

// Writes v rounded to d decimals into exactly w characters at dst, the same
// text as fmt_fixed(v, w, d). Handles finite |v| < 1e9 with 0 <= d <= 9 and
// 0 < w <= 64; returns false (writing nothing) for anything else.
bool fixed_field_fast(char* dst, int w, int d, float v) {
  if (d < 0 || d > 9 || w <= 0 || w > 64 || !(std::fabs(v) < 1.0e9f)) return false;
  std::uint32_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  const bool neg = (bits >> 31) != 0;
  const std::uint32_t biased = (bits >> 23) & 0xffu;
  const std::uint64_t mant = biased == 0 ? (bits & 0x7fffffu) : ((bits & 0x7fffffu) | 0x800000u);
  const int e2 = biased == 0 ? -149 : static_cast<int>(biased) - 150;
  // |v| * 10^d = mant * 10^d * 2^e2; mant * 10^d < 2^54 and the result < 1e18.
  const std::uint64_t scaled = mant * kPow10[static_cast<std::size_t>(d)];
  std::uint64_t q = 0;
  if (e2 >= 0) {
    q = scaled << e2;
  } else if (-e2 < 64) {
    const int s = -e2;
    q = scaled >> s;
    const std::uint64_t rem = scaled & ((1ull << s) - 1u);
    const std::uint64_t half = 1ull << (s - 1);
    if (rem > half || (rem == half && (q & 1u) != 0)) ++q;  // ties to even
  }
  // Build the text backwards: decimals, point, integer digits, sign.
  char buf[40];
  int pos = 40;
  std::uint64_t ip = q / kPow10[static_cast<std::size_t>(d)];
  std::uint64_t fp = q % kPow10[static_cast<std::size_t>(d)];
  for (int i = 0; i < d; ++i) {
    buf[--pos] = static_cast<char>('0' + fp % 10u);
    fp /= 10u;
  }
  buf[--pos] = '.';
  const int point = pos;
  do {
    buf[--pos] = static_cast<char>('0' + ip % 10u);
    ip /= 10u;
  } while (ip != 0);
  if (neg) buf[--pos] = '-';
  int len = 40 - pos;
  if (len == w + 1 && buf[point - 1] == '0' && point - 1 == pos + (neg ? 1 : 0)) {
    // Only the 0 before the point makes it too wide: drop that 0.
    buf[point - 1] = neg ? '-' : buf[point - 1];
    ++pos;
    --len;
  }
  if (len > w) {
    std::memset(dst, '*', static_cast<std::size_t>(w));
    return true;
  }
  std::memset(dst, ' ', static_cast<std::size_t>(w - len));
  std::memcpy(dst + (w - len), buf + pos, static_cast<std::size_t>(len));
  return true;
}

// Writes the fixed field of w columns into dst (w characters).
void write_fixed(char* dst, int w, int d, float v) {
  if (fixed_field_fast(dst, w, d, v)) return;
  const std::string s = fmt_fixed(v, w, d);
  std::memcpy(dst, s.data(), s.size());
}

// Makes room for at least n characters in an output text.
void ensure_length(std::string& chr, std::int32_t n) {
  if (n > 0 && chr.size() < static_cast<std::size_t>(n))
    chr.resize(static_cast<std::size_t>(n), ' ');
}

// Puts text into the first columns of chr and blanks the rest.
void place(std::string& chr, std::string_view text) {
  ensure_length(chr, static_cast<std::int32_t>(text.size()));
  std::memcpy(chr.data(), text.data(), text.size());
  std::fill(chr.begin() + static_cast<std::ptrdiff_t>(text.size()), chr.end(), ' ');
}

void fill_all(std::string& chr, char c) { std::fill(chr.begin(), chr.end(), c); }

// Fills chr(1:mchar) with the digit 9 and blanks the rest.
void fill_nines(std::string& chr, std::int32_t mchar) {
  ensure_length(chr, mchar);
  const std::size_t n = mchar > 0 ? static_cast<std::size_t>(mchar) : 0u;
  std::fill(chr.begin(), chr.begin() + static_cast<std::ptrdiff_t>(n), '9');
  std::fill(chr.begin() + static_cast<std::ptrdiff_t>(n), chr.end(), ' ');
}

void invalid_format(std::string& chr, std::string_view routine, std::string_view kind,
                    std::int32_t m, std::int32_t n) {
  errorhead(routine);
  put_line(iocom.ito, "m = " + fmt_int(m, 10) + " n = " + fmt_int(n, 10));
  put_line(iocom.ito, std::string(kind) + " is not a valid format");
  put_line(iocom.ito, " ===> fill with X");
  errortail00();
  fill_all(chr, 'X');
}

// The five-line asterisk block of caream; chr becomes all X.
void caream_block(std::string& chr, std::string_view second, std::string_view third) {
  put_line(iocom.ito, "***************************");
  put_line(iocom.ito, second);
  put_line(iocom.ito, third);
  put_line(iocom.ito, "*** => fill with X      ***");
  put_line(iocom.ito, "***************************");
  fill_all(chr, 'X');
}

}  // namespace

void textlen(std::int32_t& i1, std::int32_t& i2, std::string_view text) {
  i1 = 1;
  i2 = static_cast<std::int32_t>(text.size());
  while (i1 < i2 && text[static_cast<std::size_t>(i1 - 1)] == ' ') ++i1;
  while (i1 < i2 && text[static_cast<std::size_t>(i2 - 1)] == ' ') --i2;
}

std::string_view textlen_trim(std::string_view text) {
  std::int32_t i1 = 0, i2 = 0;
  textlen(i1, i2, text);
  if (i2 < i1) return text.substr(0, 0);
  return text.substr(static_cast<std::size_t>(i1 - 1), static_cast<std::size_t>(i2 - i1 + 1));
}

void integlen(std::int32_t& len, std::int32_t i) {
  if (i == 0) {
    len = 1;
    return;
  }
  const std::int64_t a = i < 0 ? -static_cast<std::int64_t>(i) : static_cast<std::int64_t>(i);
  len = log10_trunc(static_cast<float>(a)) + (i > 0 ? 1 : 2);
}

void intg2char(std::string& chr, std::int32_t& nchar, std::int32_t mchar, std::int32_t ia) {
  if (ia >= 0 && ia <= 9) {
    nchar = 1;
  } else if (ia >= -9 && ia <= -1) {
    nchar = 2;
  } else {
    const std::int64_t a = ia < 0 ? -static_cast<std::int64_t>(ia) : static_cast<std::int64_t>(ia);
    const float b = static_cast<float>(a) + 0.0000001f;
    nchar = log10_trunc(b) + (ia > 9 ? 1 : 2);
  }
  if (mchar < nchar) {
    errorhead("intg2char");
    put_line(iocom.ito, "Cannot write integer = " + fmt_int(ia, 20));
    put_line(iocom.ito, "with only  " + fmt_int(mchar, 20) + " digits");
    put_line(iocom.ito, "==> NEED LONGER CHARACTER STRING");
    put_line(iocom.ito, "==> fill with 9 and set nchar = " + fmt_int(mchar, 20));
    errortail00();
    fill_nines(chr, mchar);
    nchar = mchar;
    return;
  }
  // Digits right-aligned in nchar columns, written in place.
  char buf[16];
  int pos = 16;
  std::uint32_t mag = ia < 0 ? 0u - static_cast<std::uint32_t>(ia) : static_cast<std::uint32_t>(ia);
  do {
    buf[--pos] = static_cast<char>('0' + mag % 10u);
    mag /= 10u;
  } while (mag != 0);
  if (ia < 0) buf[--pos] = '-';
  const int len = 16 - pos;
  if (len > nchar) {
    place(chr, fmt_int(ia, nchar));
    return;
  }
  ensure_length(chr, nchar);
  std::fill(chr.begin(), chr.end(), ' ');
  std::memcpy(chr.data() + (nchar - len), buf + pos, static_cast<std::size_t>(len));
}

void carinm2(std::string& chr, std::int32_t& nt, std::int32_t m, std::int32_t i) {
  intg2char(chr, nt, m, i);
}

void real2charf1(std::string& chr, std::int32_t& nchar, std::int32_t na, std::int32_t mchar,
                 float ra) {
  const float e = rounding_margin(na);
  const float r_sup = ra + e;
  const float r_inf = ra - e;
  std::int32_t nb = 0;
  bool unsized = false;
  if (std::isinf(ra)) {
    // No digit count fits an infinite value: size it like a value that is
    // not a number, with the same report.
    unsized = true;
    nb = 4;
    nchar = na + 5;
  } else if (r_sup <= -1.0f) {
    nb = log10_trunc(std::fabs(r_inf)) + 1;
    nchar = na + nb + 2;
  } else if (ra < 0.0f) {
    nb = 1;
    nchar = na + 3;
  } else if (r_inf < 1.0f) {
    nb = 1;
    nchar = na + 2;
  } else if (r_inf >= 1.0f) {
    nb = log10_trunc(r_sup) + 1;
    nchar = na + nb + 1;
  } else {  // not a number
    unsized = true;
    nb = 4;
    nchar = na + 5;
  }
  if (unsized) {
    errorhead("real2charf1");
    put_line(iocom.ito, "Cannot get size of real = " + fmt_fixed(ra, 30, 5));
    put_line(iocom.ito, "set n before = " + fmt_int(nb, 20));
    put_line(iocom.ito, "set nchar = " + fmt_int(nchar, 20));
    put_line(iocom.ito, "Watch for NaN or +/-Inf in output ?");
    errortail00();
  }

  std::int32_t d = na;
  if (mchar < nchar) {
    nchar = mchar;
    d = mchar - nb - 2;
  }
  if (d < 0) {
    errorhead("real2charf1");
    put_line(iocom.ito, "Cannot write real = " + fmt_fixed(ra, 30, 5));
    put_line(iocom.ito, "with only  " + fmt_int(mchar, 20) + " digits");
    put_line(iocom.ito, "==> NEED LONGER CHARACTER STRING");
    put_line(iocom.ito, "==> fill with 9 and set nchar = " + fmt_int(mchar, 20));
    errortail00();
    fill_nines(chr, mchar);
    return;
  }

  // The normal path: write straight into the caller's text.
  if (nchar > 0 && nchar < 100) {
    ensure_length(chr, nchar);
    write_fixed(chr.data(), nchar, d, ra);
    std::fill(chr.begin() + nchar, chr.end(), ' ');
    return;
  }
  std::string field;
  careafmpn(field, nchar, d, ra);
  place(chr, field);
}

void careafmpn(std::string& chr, std::int32_t m, std::int32_t n, float x) {
  if (!(m > 0 && m < 100 && n >= 0 && n < m)) {
    invalid_format(chr, "careafmpn", "fm.n", m, n);
    return;
  }
  ensure_length(chr, m);
  write_fixed(chr.data(), m, n, x);
  std::fill(chr.begin() + m, chr.end(), ' ');
}

void careaempn(std::string& chr, std::int32_t m, std::int32_t n, float x) {
  if (!(m >= 7 && m < 100 && n >= 0 && n <= m - 7)) {
    invalid_format(chr, "careaempn", "em.n", m, n);
    return;
  }
  std::string text;
  if (n > 0) {
    text = fmt_exp(x, m, n);
  } else {
    // No mantissa digits: "0." and the exponent of the one-digit form.
    const std::string one = fmt_exp(x, 99, 1);
    const std::size_t epos = one.find('E');
    const bool neg = std::signbit(x) && x != 0.0f;
    text = fmt_text(std::string(neg ? "-0." : "0.") +
                        (epos == std::string::npos ? std::string("E+00") : one.substr(epos)),
                    m);
  }
  place(chr, text);
  ensure_length(chr, m);
}

void caream(std::string& chr, std::int32_t m, float x) {
  if (m <= 2) {
    caream_block(chr, "*** ERROR in caream     ***",
                 "*** m = " + fmt_int(m, 12) + " need m > " + fmt_int(2, 12));
    return;
  }
  if (x == 0.0f) {
    careafmpn(chr, m, m - 3, x);
    return;
  }
  const std::int64_t l = log10_trunc(std::fabs(x));
  if (l < 0) {
    if (l >= -4) {
      careafmpn(chr, m, m - 3, x);
    } else if (m >= 7) {
      careaempn(chr, m, m - 7, x);
    } else {
      caream_block(chr, "*** ERROR in carem      ***",
                   "*** m = " + fmt_int(m, 12) + " log10(x) < " + fmt_int(l, 12));
    }
    return;
  }
  const std::int64_t k = l + 1;  // integer digits
  if (k < m - 2) {
    careafmpn(chr, m, m - static_cast<std::int32_t>(k) - 2, x);
  } else if (k == m - 2 || k == m - 1) {
    careafmpn(chr, m, 0, x);
  } else if (m >= 7) {
    careaempn(chr, m, m - 7, x);
  } else {
    caream_block(chr, "*** ERROR in carem      ***",
                 "*** m = " + fmt_int(m, 12) + " 1+log10(x) > " + fmt_int(k, 12));
  }
}

}  // namespace polarsketch::console
