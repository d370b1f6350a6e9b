// Expected console text of the frames around menus, warnings and errors,
// written from their documented layout, shared by the unit tests.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "console/fixed_text.hpp"

namespace polarsketch::testing::frames {

using Lines = std::vector<std::string>;

inline std::string ln(std::string_view text) { return " " + std::string(text); }

inline std::string subroutine(std::string_view name) {
  return fit_text("       subroutine " + fit_text(name, 11), 35);
}

inline Lines menu_head(std::string_view name) {
  return {ln(std::string(43, '@')), ln("@ subroutine " + fit_text(name, 11)),
          ln("@" + std::string(42, '='))};
}
inline std::string menu_tail() { return ln(std::string(43, '@')); }

inline Lines warning_head(std::string_view name) {
  const std::string rule(43, '/');
  return {ln(rule), ln("/// " + subroutine(name) + " ///"),
          ln("/// " + std::string(14, ' ') + "WARNING" + std::string(14, ' ') + " ///"), ln(rule)};
}
// The tail with the pause (lcrerr on, no command file).
inline Lines warning_tail() {
  return {ln("===> HIT RETURN TO CONTINUE"), ln(std::string(43, '/'))};
}

inline Lines error_head(std::string_view name) {
  const std::string rule(43, '*');
  const std::string empty = "*** " + std::string(35, ' ') + " ***";
  return {ln(rule),  ln(rule),
          ln(empty), ln("*** " + subroutine(name) + " ***"),
          ln(empty), ln("*** " + std::string(15, ' ') + "ERROR" + std::string(15, ' ') + " ***"),
          ln(empty), ln(rule),
          ln(rule)};
}
inline Lines error_tail() { return {ln("===> HIT RETURN TO CONTINUE"), ln(std::string(43, '*'))}; }

// Joins frame pieces and message lines (given without their leading blank).
inline Lines frame(const Lines& head, const std::vector<std::string>& messages, const Lines& tail) {
  Lines all = head;
  for (const auto& m : messages) all.push_back(ln(m));
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

// A warning frame without the pause (lcrerr off).
inline Lines warn(std::string_view name, const std::vector<std::string>& messages) {
  return frame(warning_head(name), messages, {ln(std::string(43, '/'))});
}

// Joins blocks of lines in order.
inline Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// True when block appears as consecutive lines of text.
inline bool contains_block(const Lines& text, const Lines& block) {
  return std::search(text.begin(), text.end(), block.begin(), block.end()) != text.end();
}

}  // namespace polarsketch::testing::frames
