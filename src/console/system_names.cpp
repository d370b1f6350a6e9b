// The system's host and login names and their test replacement.
#include "console/system_names.hpp"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace polarsketch::console {
namespace {

std::string real_host() {
  std::vector<char> buf(HOST_NAME_MAX + 1, '\0');
  if (gethostname(buf.data(), buf.size() - 1) != 0) return {};
  return std::string(buf.data());  // the last byte stays NUL even when cut
}

std::string real_user() {
  if (const passwd* pw = getpwuid(getuid());
      pw != nullptr && pw->pw_name != nullptr && pw->pw_name[0] != '\0') {
    return pw->pw_name;
  }
  for (const char* var : {"LOGNAME", "USER"}) {
    if (const char* v = std::getenv(var); v != nullptr && v[0] != '\0') return v;
  }
  return {};
}

SystemNames real_names() { return SystemNames{real_host(), real_user()}; }

std::function<SystemNames()>& source_fn() {
  static std::function<SystemNames()> fn = real_names;
  return fn;
}

}  // namespace

SystemNames system_names() { return source_fn()(); }
void set_system_names(std::function<SystemNames()> source) { source_fn() = std::move(source); }
void reset_system_names() { source_fn() = real_names; }

}  // namespace polarsketch::console
