// The buffered writer of the plot file and the plot-file number fields.
#include "postscript/writer.hpp"

#include <cmath>
#include <ostream>

#include "console/fields.hpp"
#include "console/formatting.hpp"
#include "console/units.hpp"

namespace polarsketch::postscript {
namespace {

// Lines are handed to the stream in blocks of about this size.
constexpr std::size_t kBlock = 1 << 16;

bool all_stars(const std::string& s) {
  return !s.empty() && s.find_first_not_of('*') == std::string::npos;
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

void PlotWriter::start(std::int32_t unit, std::string_view name) {
  unit_ = unit;
  name_ = std::string(name);
  buf_.clear();
  buf_.reserve(kBlock + 256);
  open_ = true;
}

void PlotWriter::line(std::string_view text) {
  if (!open_) return;
  buf_.append(text);
  end_line();
}

PlotWriter& PlotWriter::put(std::string_view text) {
  if (open_) buf_.append(text);
  return *this;
}

PlotWriter& PlotWriter::put(char c) {
  if (open_) buf_.push_back(c);
  return *this;
}

PlotWriter& PlotWriter::put_real2(float v) {
  if (!open_) return *this;
  num_.assign(10, ' ');
  std::int32_t n = 0;
  console::real2charf1(num_, n, 2, 10, v);
  if (n < 0) n = 0;
  if (n > 10) n = 10;
  buf_.append(num_, 0, static_cast<std::size_t>(n));
  return *this;
}

PlotWriter& PlotWriter::put_int(std::int32_t v) {
  if (!open_) return *this;
  num_.assign(12, ' ');
  std::int32_t n = 0;
  console::intg2char(num_, n, 12, v);
  if (n < 0) n = 0;
  if (n > 12) n = 12;
  buf_.append(num_, 0, static_cast<std::size_t>(n));
  return *this;
}

PlotWriter& PlotWriter::put_string(std::string_view text) {
  if (open_) append_ps_string(buf_, text);
  return *this;
}

void PlotWriter::end_line() {
  if (!open_) return;
  buf_.push_back('\n');
  if (buf_.size() >= kBlock) flush();
}

void PlotWriter::flush() {
  if (!open_ || buf_.empty()) return;
  console::output(unit_).write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
  buf_.clear();
}

bool PlotWriter::finish() {
  if (!open_) return true;
  flush();
  bool good;
  if (console::is_file_open(unit_)) {
    good = console::close_file(unit_);
  } else {
    std::ostream& o = console::output(unit_);
    o.flush();
    good = !o.fail();
  }
  open_ = false;
  return good;
}

void PlotWriter::reset() {
  open_ = false;
  buf_.clear();
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
