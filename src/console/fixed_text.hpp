// Fixed-length text: always exactly N characters, blank-padded; assigning cuts or pads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace polarsketch {

// Returns the text without leading and trailing blanks.
inline std::string_view trim_blanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

// Cuts or blank-pads a text to exactly n characters.
inline std::string fit_text(std::string_view s, std::size_t n) {
  std::string r(s.substr(0, std::min(s.size(), n)));
  r.resize(n, ' ');
  return r;
}

template <std::size_t N>
class FixedText {
 public:
  FixedText() : s_(N, ' ') {}
  FixedText(std::string_view s) : s_(fit_text(s, N)) {}  // NOLINT: implicit by design
  FixedText(const char* s) : s_(fit_text(s, N)) {}       // NOLINT
  FixedText& operator=(std::string_view s) {
    s_ = fit_text(s, N);
    return *this;
  }
  FixedText& operator=(const char* s) { return *this = std::string_view(s); }

  static constexpr std::size_t size() { return N; }
  const std::string& str() const { return s_; }
  std::string_view view() const { return s_; }
  operator std::string_view() const { return s_; }  // NOLINT
  std::string_view trimmed() const { return trim_blanks(s_); }
  // 1-based character access, as the documented positions count.
  char at(std::size_t i) const { return s_[i - 1]; }
  void set(std::size_t i, char c) { s_[i - 1] = c; }
  bool operator==(const FixedText&) const = default;
  bool operator==(std::string_view s) const { return s_ == fit_text(s, N); }
  bool operator==(const std::string& s) const { return s_ == fit_text(s, N); }
  bool operator==(const char* s) const { return s_ == fit_text(s, N); }

 private:
  std::string s_;
};

}  // namespace polarsketch
