// Shared test helpers: console units bound to strings, a fixed clock and
// fixed system names.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace polarsketch::testing {

// Binds units 5 and 6 to string streams for the life of the object and resets
// the console record; restores standard input/output afterwards.
class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = "");
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  void set_input(const std::string& input);
  std::string text() const { return out_.str(); }  // everything printed so far
  std::vector<std::string> lines() const;          // printed lines without line ends
  std::string take();                              // text so far, then clears it

 private:
  std::istringstream in_;
  std::ostringstream out_;
};

// Runs f and returns the status of the orderly stop it ends with, or -1.
int stop_status(const std::function<void()>& f);

// Splits a text into lines (without line ends).
std::vector<std::string> split_lines(const std::string& text);

// Fixes the clock at the given time for the life of the object.
class FixedClock {
 public:
  FixedClock(int year, int month, int day, int hour, int minute, int second);
  ~FixedClock();
};

// Fixes the host and login names for the life of the object ("" = none given).
class FixedNames {
 public:
  FixedNames(std::string host, std::string user);
  ~FixedNames();
};

}  // namespace polarsketch::testing
