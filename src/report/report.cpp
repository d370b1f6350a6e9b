// Typed messages and the reporter they go to.
#include "report/report.hpp"

namespace polarsketch::report {
namespace {

constinit Reporter* installed_reporter = nullptr;
constinit Reporter* fallback_reporter = nullptr;

Part number_part(const Number& n) {
  Part p;
  p.is_number = true;
  p.number = n;
  return p;
}

Message empty_message(Level level, std::string_view where) {
  while (!where.empty() && where.back() == ' ') where.remove_suffix(1);
  Message m;
  m.level = level;
  m.where = std::string(where);
  return m;
}

}  // namespace

Message warning(std::string_view where) { return empty_message(Level::warning, where); }

Message error(std::string_view where) { return empty_message(Level::error, where); }

Line& Line::text(std::string_view t) {
  Part p;
  p.text = std::string(t);
  parts_.push_back(std::move(p));
  return *this;
}

Line& Line::integer(std::int64_t v, int width) {
  Number n;
  n.form = Number::Form::integer;
  n.integer = v;
  n.width = width;
  parts_.push_back(number_part(n));
  return *this;
}

Line& Line::fixed(float v, int width, int decimals) {
  parts_.push_back(number_part({Number::Form::fixed, 0, v, width, decimals}));
  return *this;
}

Line& Line::general(float v, int width, int decimals) {
  parts_.push_back(number_part({Number::Form::general, 0, v, width, decimals}));
  return *this;
}

void report(const Message& message) {
  if (installed_reporter != nullptr) {
    installed_reporter->report(message);
  } else if (fallback_reporter != nullptr) {
    fallback_reporter->report(message);
  }
}

Reporter* install(Reporter* r) {
  Reporter* before = installed_reporter;
  installed_reporter = r;
  return before;
}

Reporter* installed() { return installed_reporter; }

void set_fallback(Reporter* r) { fallback_reporter = r; }

}  // namespace polarsketch::report
