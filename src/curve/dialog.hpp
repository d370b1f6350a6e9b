// Small line helpers shared by the curve-parameter menus and frames: every
// label-and-value line is the label, one blank and the value.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/units.hpp"
#include "math/saturate.hpp"
#include "report/report.hpp"

namespace polarsketch::curve::detail {

// A menu line on the console output.
inline void menu_line(std::string_view text) { console::put_line(console::iocom.ito, text); }
inline void menu_line(std::string_view label, std::string_view value) {
  console::put_line(console::iocom.ito, std::string(label) + " " + std::string(value));
}

// A line of a warning or error.
inline void frame_line(report::Message& m, std::string_view text) { m.lines.emplace_back(text); }
inline void frame_line(report::Message& m, std::string_view label, std::string_view value) {
  m.lines.emplace_back(std::string(label) + " " + std::string(value));
}

// The dash rule, the exit line and the menu tail that close a menu.
inline void menu_exit() {
  menu_line(console::kRuleHyphen);
  menu_line("EXIT ..........................99");
  console::menutail();
}

// Reads a menu choice with the default 99 through the untrimmed prompt.
inline std::int32_t menu_choice() {
  std::int32_t ichoice = 99;
  std::int32_t ierr = 0;
  console::inintegdefnp(ichoice, "your choice", 99, ierr);
  return ichoice;
}

// Margin that lets a last point overshooting the final value by a rounding
// error still count, and the two remainder thresholds (fractions of a step)
// below which a remainder is ignored and above which it is reported.
inline constexpr float kCountMargin = 0.002f;
inline constexpr float kRemainderIgnored = 0.00005f;
inline constexpr float kRemainderReported = 0.001f;
// Their bit patterns, checked wherever the C++ library has bit_cast.
#if defined(__cpp_lib_bit_cast)
static_assert(std::bit_cast<std::uint32_t>(kCountMargin) == 0x3B03126Fu);
static_assert(std::bit_cast<std::uint32_t>(kRemainderIgnored) == 0x3851B717u);
static_assert(std::bit_cast<std::uint32_t>(kRemainderReported) == 0x3A83126Fu);
#endif

// trunc(x) + 1, truncating toward zero, without leaving the integer range.
inline std::int32_t count_from(float x) {
  const std::int64_t n = static_cast<std::int64_t>(math::trunc_to_int(x)) + 1;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(n, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace polarsketch::curve::detail
