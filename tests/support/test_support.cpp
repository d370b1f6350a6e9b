// Shared test helpers.
#include "support/test_support.hpp"

#include "console/clock.hpp"
#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "console/system_names.hpp"
#include "console/units.hpp"

namespace polarsketch::testing {

ConsoleCapture::ConsoleCapture(const std::string& input) : in_(input) {
  console::reset_units();
  console::reset_iocom();
  console::bind_console(in_, out_);
}

ConsoleCapture::~ConsoleCapture() { console::reset_units(); }

void ConsoleCapture::set_input(const std::string& input) {
  in_.clear();
  in_.str(input);
}

std::vector<std::string> ConsoleCapture::lines() const { return split_lines(out_.str()); }

std::string ConsoleCapture::take() {
  std::string s = out_.str();
  out_.str("");
  return s;
}

int stop_status(const std::function<void()>& f) {
  try {
    f();
  } catch (const console::OrderlyStop& s) {
    return s.status;
  }
  return -1;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> v;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      v.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) v.push_back(cur);
  return v;
}

FixedClock::FixedClock(int year, int month, int day, int hour, int minute, int second) {
  console::set_clock([=] { return console::LocalTime{year, month, day, hour, minute, second}; });
}

FixedClock::~FixedClock() { console::reset_clock(); }

FixedNames::FixedNames(std::string host, std::string user) {
  console::set_system_names([=] { return console::SystemNames{host, user}; });
}

FixedNames::~FixedNames() { console::reset_system_names(); }

}  // namespace polarsketch::testing
