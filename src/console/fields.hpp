// Fixed-width number fields. Every number the program prints goes through here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace polarsketch::console {

// Integer right-aligned in w columns; w asterisks when it does not fit.
std::string fmt_int(std::int64_t v, int w);

// Real rounded to d decimals (exact binary value, ties to even) right-aligned in
// w columns. With d = 0 the decimal point stays. When only the 0 before the
// point makes it too wide, that 0 is dropped; otherwise w asterisks.
std::string fmt_fixed(float v, int w, int d);

// Exponent form 0.dddE+xx with d mantissa digits in w columns.
std::string fmt_exp(float v, int w, int d);

// General form of w columns with d significant digits: fixed notation in w-4
// columns plus 4 blanks when 0.1 <= |v| < 10^d (after rounding) or v = 0,
// otherwise the exponent form. The fixed part keeps d significant digits
// (d - 1 decimals for 0) and drops the 0 before the point when only that
// makes it too wide. In 12 columns with 6 digits, 0 is " 0.00000    " and
// -0.25 is "-.250000    ".
std::string fmt_general(float v, int w, int d);

// Logical right-aligned in w columns as T or F.
std::string fmt_logical(bool v, int w);

// Text in w columns: the leftmost w characters, or right-aligned when shorter.
std::string fmt_text(std::string_view s, int w);

// Default widths for numbers written without a stated width.
inline std::string fmt_int_default(std::int64_t v) { return fmt_int(v, 12); }
inline std::string fmt_real_default(float v) { return fmt_fixed(v, 15, 6); }

}  // namespace polarsketch::console
