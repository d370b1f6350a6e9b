// The buffered writer of the plot file and the plot-file number fields.
#include "postscript/writer.hpp"

#include <cmath>
#include <cstring>
#include <ostream>

#include "console/fields.hpp"
#include "console/fixed_text.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"
#include "postscript/operators.hpp"
#include "report/report.hpp"

namespace polarsketch::postscript {
namespace {

bool all_stars(const std::string& s) {
  return !s.empty() && s.find_first_not_of('*') == std::string::npos;
}

// The 2-decimal number text of the plot file (real2charf1 with 2 decimals in
// at most 10 characters), built without a logarithm or a stream for the
// values a drawing writes. real2charf1 counts the digits before the point as
// the truncated 0.4342945 * ln of the value widened by its rounding margin;
// away from the powers of ten that count is the plain decimal exponent, so a
// comparison with a table gives it. Close to a power of ten (and for large,
// non-finite or negative-zero values) the general routine is used, so the
// text is always the one real2charf1 writes.

// The rounding margin of real2charf1 for 2 decimals: 10^-2 + 0.0000001.
constexpr float kMargin2 = 1.0f / 100.0f + 0.0000001f;
// Values of this magnitude and beyond go to the general routine.
constexpr float kFastLimit = 1.0e6f;

// "00", "01", ..., "99".
constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr std::array<float, 8> kPow10f{1.0f,     10.0f,     100.0f,     1000.0f,
                                       10000.0f, 100000.0f, 1000000.0f, 10000000.0f};

// The decimal exponent of x (1 <= x < 1e7) when x is not within a relative
// 1e-4 of a power of ten; false otherwise. Within that distance the single
// precision logarithm may round either way; beyond it its error (a few 1e-6
// in the decimal logarithm) cannot change the truncated value.
inline bool decimal_exponent(float x, int& k) {
  k = 0;
  while (k < 6 && x >= kPow10f[static_cast<std::size_t>(k + 1)]) ++k;
  if (k > 0 && x < kPow10f[static_cast<std::size_t>(k)] * 1.0001f) return false;
  return x <= kPow10f[static_cast<std::size_t>(k + 1)] * 0.9999f;
}

// Writes ra as real2charf1(chr, nchar, 2, 10, ra) does into p (room for 10
// characters) and returns the length, or 0 when the value needs the general
// routine.
inline std::size_t fast_real2(char* p, float ra) {
  if (!(ra > -kFastLimit && ra < kFastLimit)) return 0;
  const float r_sup = ra + kMargin2;
  const float r_inf = ra - kMargin2;
  int k = 0;
  std::size_t nchar;
  if (r_sup <= -1.0f) {
    if (!decimal_exponent(-r_inf, k)) return 0;
    nchar = static_cast<std::size_t>(k) + 5;  // digits, sign, point, 2 decimals
  } else if (ra < 0.0f) {
    nchar = 5;
  } else if (r_inf < 1.0f) {
    nchar = 4;
  } else {
    if (!decimal_exponent(r_sup, k)) return 0;
    nchar = static_cast<std::size_t>(k) + 4;
  }
  if (nchar > 10) return 0;

  // |ra| * 100 rounded to an integer from the exact binary value, ties to
  // even: the rounding of the fixed-point fields.
  std::uint32_t bits = 0;
  std::memcpy(&bits, &ra, sizeof bits);
  const bool neg = (bits >> 31) != 0;
  const std::uint32_t biased = (bits >> 23) & 0xffu;
  const std::uint32_t mant = biased == 0 ? (bits & 0x7fffffu) : ((bits & 0x7fffffu) | 0x800000u);
  // |ra| < 1e6 < 2^20, so the binary exponent biased - 150 is below -3.
  const int shift = biased == 0 ? 149 : 150 - static_cast<int>(biased);
  const std::uint32_t scaled = mant * 100u;  // < 2^31
  std::uint32_t q = 0;
  if (shift < 32) {
    q = scaled >> shift;
    const std::uint32_t rem = scaled & ((std::uint32_t{1} << shift) - 1u);
    const std::uint32_t half = std::uint32_t{1} << (shift - 1);
    if (rem > half || (rem == half && (q & 1u) != 0)) ++q;
  }
  // Right-aligned in nchar columns: blanks first, then from the right the
  // decimals, the point, the integer digits and the sign. A text that does
  // not fit (only -0 and the like) goes to the general routine.
  std::memcpy(p, "          ", 10);
  char* e = p + nchar;
  std::uint32_t ip = q / 100u;
  const std::uint32_t fp = q % 100u;
  e -= 2;
  std::memcpy(e, &kTwoDigits[2 * fp], 2);
  *--e = '.';
  while (ip >= 10u) {
    if (e - p < 2) return 0;
    e -= 2;
    std::memcpy(e, &kTwoDigits[2 * (ip % 100u)], 2);
    ip /= 100u;
  }
  if (ip != 0u || e[0] == '.') {
    if (e == p) return 0;
    *--e = static_cast<char>('0' + ip);
  }
  if (neg) {
    if (e == p) return 0;
    *--e = '-';
  }
  return nchar;
}

}  // namespace

void append_ps_string(std::string& out, std::string_view text) {
  out.push_back('(');
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '(' || c == ')') {
      out.push_back('\\');
      out.push_back(ch);
    } else if (c < 32 || c > 126) {
      out.push_back('\\');
      out.push_back(static_cast<char>('0' + ((c >> 6) & 7)));
      out.push_back(static_cast<char>('0' + ((c >> 3) & 7)));
      out.push_back(static_cast<char>('0' + (c & 7)));
    } else {
      out.push_back(ch);
    }
  }
  out.push_back(')');
}

const DialectOps& dialect_ops(std::int32_t ips) {
  if (ips < 1 || ips > 3) return kDialects[1];
  return kDialects[static_cast<std::size_t>(ips - 1)];
}

PlotWriter::PlotWriter() : block_(new char[kBlock]) {}

void PlotWriter::start(std::int32_t unit, std::string_view name) {
  unit_ = unit;
  name_ = std::string(name);
  used_ = 0;
  open_ = true;
  failed_ = false;
  non_finite_ = 0;
}

void PlotWriter::append(std::string_view text) {
  if (text.size() > kBlock - used_) {
    flush();
    if (text.size() > kBlock) {
      hand_over(text.data(), text.size());
      return;
    }
  }
  std::memcpy(block_.get() + used_, text.data(), text.size());
  used_ += text.size();
}

std::size_t PlotWriter::real2_at(char* p, float v) {
  const std::size_t fast = fast_real2(p, v);
  if (fast != 0) return fast;
  // No non-finite number reaches the file: the coordinate writers report and
  // reset theirs; anything else (a text height gone wrong) is quietly kept
  // finite here.
  if (!std::isfinite(v)) ++non_finite_;
  if (std::isnan(v)) v = 0.0f;
  if (std::isinf(v)) v = std::copysign(kDeviceLimit, v);
  num_.assign(10, ' ');
  std::int32_t n = 0;
  console::real2charf1(num_, n, 2, 10, v);
  if (n < 0) n = 0;
  if (n > 10) n = 10;
  std::memcpy(p, num_.data(), static_cast<std::size_t>(n));
  return static_cast<std::size_t>(n);
}

PlotWriter& PlotWriter::put_real2(float v) {
  if (!open_) return *this;
  if (kBlock - used_ < 10) flush();
  used_ += real2_at(block_.get() + used_, v);
  return *this;
}

void PlotWriter::point_line(float x, float y, std::string_view op) {
  if (!open_) return;
  // Both numbers, two blanks and the line end in one go when the operator is
  // one of the dialects' short spellings.
  if (op.size() > 16) {
    put_real2(x).put(' ').put_real2(y).put(' ').put(op).end_line();
    return;
  }
  if (kBlock - used_ < 40) flush();
  char* p = block_.get() + used_;
  std::size_t n = real2_at(p, x);
  p[n++] = ' ';
  n += real2_at(p + n, y);
  p[n++] = ' ';
  std::memcpy(p + n, op.data(), op.size());
  n += op.size();
  p[n++] = '\n';
  used_ += n;
}

PlotWriter& PlotWriter::put_int(std::int32_t v) {
  if (!open_) return *this;
  num_.assign(12, ' ');
  std::int32_t n = 0;
  console::intg2char(num_, n, 12, v);
  if (n < 0) n = 0;
  if (n > 12) n = 12;
  append(std::string_view(num_).substr(0, static_cast<std::size_t>(n)));
  return *this;
}

PlotWriter& PlotWriter::put_string(std::string_view text) {
  if (!open_) return *this;
  std::string s;
  append_ps_string(s, text);
  append(s);
  return *this;
}

void PlotWriter::flush() {
  if (!open_ || used_ == 0) return;
  const std::size_t n = used_;
  used_ = 0;
  hand_over(block_.get(), n);
}

void PlotWriter::hand_over(const char* data, std::size_t size) {
  if (failed_) return;
  std::ostream& o = console::output(unit_);
  o.write(data, static_cast<std::streamsize>(size));
  o.flush();
  if (!o.fail()) return;
  report_failure();
}

void PlotWriter::report_failure() {
  // Marked first: the frame's pause may end the run, and the stop then
  // closes this file without reporting it again.
  failed_ = true;
  console::write_failed = true;
  report::Message msg = report::error("psend");
  msg.lines.emplace_back("COULD NOT WRITE FILE " + name_);
  msg.lines.emplace_back("===> THIS PLOT FILE IS INCOMPLETE");
  report::report(msg);
}

bool PlotWriter::finish() {
  if (!open_) return true;
  flush();
  // Nothing is open from here on, whatever the report below does.
  open_ = false;
  bool good;
  if (console::is_file_open(unit_)) {
    good = console::close_file(unit_);
  } else {
    std::ostream& o = console::output(unit_);
    o.flush();
    good = !o.fail();
  }
  if (!good && !failed_) report_failure();
  return good && !failed_;
}

void PlotWriter::reset() {
  open_ = false;
  failed_ = false;
  used_ = 0;
  name_.clear();
}

PlotWriter& writer() {
  static PlotWriter w;
  return w;
}

std::string ps_string(std::string_view text) {
  std::string s;
  append_ps_string(s, text);
  return s;
}

std::string plot_int(std::int64_t v, int w) {
  std::string s = console::fmt_int(v, w);
  if (all_stars(s)) s = std::to_string(v);
  return s;
}

std::string plot_fixed(float v, int w, int d) {
  std::string s = console::fmt_fixed(v, w, d);
  if (all_stars(s)) {
    s = console::fmt_fixed(v, 64, d);
    s.erase(0, s.find_first_not_of(' '));
  }
  return s;
}

std::string colour_text(float red, float green, float blue, std::string_view rest) {
  std::string s;
  for (float percent : {red, green, blue}) {
    const float v = std::isfinite(percent) ? percent / 100.0f : 0.0f;
    s += plot_fixed(v, 6, 3);
    s += ' ';
  }
  s += rest;
  return s;
}

}  // namespace polarsketch::postscript
