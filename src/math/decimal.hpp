// Decimal numbers to and from text exactly as std::from_chars and
// std::to_chars do for a double: no blanks, no plus sign, the C locale
// whatever the process's. Every number of a measurement file or an option is
// read through here.
#pragma once

#include <charconv>

namespace polarsketch::math {

std::from_chars_result read_double(const char* first, const char* last, double& value,
                                   std::chars_format format = std::chars_format::general);

// `value` with `decimals` digits after the point (std::chars_format::fixed).
std::to_chars_result write_fixed(char* first, char* last, double value, int decimals);

// The same through the C library, for a C++ library without the double
// overloads of from_chars and to_chars (the two above use these there).
std::from_chars_result read_double_by_strtod(const char* first, const char* last, double& value,
                                             std::chars_format format);
std::to_chars_result write_fixed_by_printf(char* first, char* last, double value, int decimals);

}  // namespace polarsketch::math
