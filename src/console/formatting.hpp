// Number-to-text routines of controlled width, and text measuring.
// Output texts are std::string whose current length is the field length;
// the number is written into the first columns and the rest becomes blank.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace polarsketch::console {

// First and last non-blank positions (1-based) of text.
void textlen(std::int32_t& i1, std::int32_t& i2, std::string_view text);
// Trimmed text as textlen defines it (an all-blank text gives its last blank).
std::string_view textlen_trim(std::string_view text);
void integlen(std::int32_t& len, std::int32_t i);
void intg2char(std::string& chr, std::int32_t& nchar, std::int32_t mchar, std::int32_t ia);
void carinm2(std::string& chr, std::int32_t& nt, std::int32_t m, std::int32_t i);
void real2charf1(std::string& chr, std::int32_t& nchar, std::int32_t na, std::int32_t mchar,
                 float ra);
void careafmpn(std::string& chr, std::int32_t m, std::int32_t n, float x);
void careaempn(std::string& chr, std::int32_t m, std::int32_t n, float x);
void caream(std::string& chr, std::int32_t m, float x);

}  // namespace polarsketch::console
