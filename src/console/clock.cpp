// The system clock and its test replacement.
#include "console/clock.hpp"

#include <ctime>

namespace polarsketch::console {
namespace {

LocalTime system_now() {
  std::time_t t = std::time(nullptr);
  std::tm tmv{};
  localtime_r(&t, &tmv);
  return LocalTime{tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday,
                   tmv.tm_hour,        tmv.tm_min,     tmv.tm_sec};
}

std::function<LocalTime()>& clock_fn() {
  static std::function<LocalTime()> fn = system_now;
  return fn;
}

}  // namespace

LocalTime now() { return clock_fn()(); }
void set_clock(std::function<LocalTime()> clock) { clock_fn() = std::move(clock); }
void reset_clock() { clock_fn() = system_now; }

}  // namespace polarsketch::console
