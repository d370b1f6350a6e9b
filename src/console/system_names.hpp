// The host and login names, read through one replaceable function so tests
// can fix them (as the clock is fixed).
#pragma once

#include <functional>
#include <string>

namespace polarsketch::console {

// An empty name means the system gave none.
struct SystemNames {
  std::string host;
  std::string user;
};

// The names the system gives now: the host name, and the login name of the
// password entry of the real user id, else LOGNAME, else USER.
SystemNames system_names();
void set_system_names(std::function<SystemNames()> source);
void reset_system_names();  // back to the system's names

}  // namespace polarsketch::console
