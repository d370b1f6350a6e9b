// Opening a named file on a unit (with its dialog and retry rules) and the
// small system queries behind the banners: host, user, time of day and date.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/fixed_text.hpp"

namespace polarsketch::console {

// Opens the file `fnam` on unit `iu` with status "old", "new" or "unknown".
// `fnam`'s length is the caller's field length and is kept; with inter 0 the
// user is asked for the name first (an empty answer keeps it). Returns only
// when the file is open. A failure with inter 1 prints an error frame and
// stops the run (status 1); with inter 0 it warns and asks again; with any
// other flag it warns and retries once, then fails as with inter 1.
void opef2(std::string& fnam, std::string_view expl, std::int32_t iu, std::string_view stat,
           std::int32_t inter);

template <std::size_t N>
void opef2(FixedText<N>& fnam, std::string_view expl, std::int32_t iu, std::string_view stat,
           std::int32_t inter) {
  std::string name = fnam.str();
  opef2(name, expl, iu, stat, inter);
  fnam = name;
}

// The name of a file as it is opened: without trailing blanks and carriage returns.
std::string file_name_to_open(std::string_view fnam);

// The host name and the login name (console/system_names.hpp), cut or
// blank-padded to the argument's length; "WindowsOS-ix86" and "Windows user"
// stand in when the system gives no name.
void hostname(std::string& hname);
void username(std::string& uname);
// Local time of day "hh:mm:ss" (8 characters) and date "yyyy-mm-dd" (10 characters).
void c8time(std::string& c8);
void c10date(std::string& c10);

template <std::size_t N>
void hostname(FixedText<N>& hname) {
  std::string s = hname.str();
  hostname(s);
  hname = s;
}
template <std::size_t N>
void username(FixedText<N>& uname) {
  std::string s = uname.str();
  username(s);
  uname = s;
}
inline void c8time(FixedText<8>& c8) {
  std::string s = c8.str();
  c8time(s);
  c8 = s;
}
inline void c10date(FixedText<10>& c10) {
  std::string s = c10.str();
  c10date(s);
  c10 = s;
}

}  // namespace polarsketch::console
