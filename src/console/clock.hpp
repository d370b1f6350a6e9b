// The local clock, read through one replaceable function so tests can fix the time.
#pragma once

#include <functional>

namespace polarsketch::console {

struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

LocalTime now();
void set_clock(std::function<LocalTime()> clock);
void reset_clock();  // back to the system's local clock

}  // namespace polarsketch::console
