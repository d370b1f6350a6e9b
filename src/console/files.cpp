// Opening named files on units with the retry dialog, and the host, user,
// time and date texts of the banners.
#include "console/files.hpp"

#include "console/clock.hpp"
#include "console/fields.hpp"
#include "console/formatting.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/stop.hpp"
#include "console/system_names.hpp"
#include "console/units.hpp"

namespace polarsketch::console {
namespace {

constexpr std::string_view kRoutine = "opef2";

FileStatus status_of(std::string_view stat) {
  std::string s(trim_blanks(stat));
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (s == "old") return FileStatus::old_file;
  if (s == "new") return FileStatus::new_file;
  return FileStatus::unknown;
}

std::string two_digits(int v) {
  std::string s = fmt_int(v < 0 ? 0 : v % 100, 2);
  if (s[0] == ' ') s[0] = '0';
  return s;
}

}  // namespace

std::string file_name_to_open(std::string_view fnam) {
  std::size_t e = fnam.size();
  while (e > 0 && (fnam[e - 1] == ' ' || fnam[e - 1] == '\r')) --e;
  return std::string(fnam.substr(0, e));
}

void opef2(std::string& fnam, std::string_view expl, std::int32_t iu, std::string_view stat,
           std::int32_t inter) {
  // Trimmed as every label is: an all-blank text keeps its last blank.
  const std::string what(textlen_trim(expl));
  const std::string label = fit_text(what + " file name", 40);
  const FileStatus status = status_of(stat);
  const std::string name11 = fit_text(kRoutine, 11);
  // A flag other than 0 or 1 retries once and then fails like flag 1, so a
  // file that can never be opened does not keep the run in the retry loop.
  bool retried = false;
  for (;;) {
    submenuhead(name11);
    put_line(iocom.ito, "OPENING " + what + " FILE");
    menutail();
    if (inter == 0) {
      std::int32_t ierr = 0;
      const std::string current = fnam;
      inchardef(fnam, label, current, ierr);
    }
    const std::string path = file_name_to_open(fnam);
    if (!path.empty() && open_file(iu, path, status)) return;

    if (inter == 1 || (inter != 0 && retried)) {
      errorhead(name11);
      put_line(iocom.ito, "COULD NOT OPEN FILE " + fnam);
      put_line(iocom.ito, "for unit = " + fmt_int(iu, 4));
      put_line(iocom.ito, "===> STOPPING EXECUTION");
      errortail00();
      stop_run(kExitError);
    }
    warninghead(name11);
    put_line(iocom.ito, "COULD NOT OPEN FILE " + fnam);
    put_line(iocom.ito, "===> RETRYING");
    warningtail00();
    retried = true;
  }
}

namespace {

// A system name for a field: the fallback when the system gave none, and
// control characters shown as '?' so that the name stays on its line.
std::string shown_name(std::string name, std::string_view fallback) {
  if (name.empty()) return std::string(fallback);
  for (char& c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 32 || b == 127) c = '?';
  }
  return name;
}

}  // namespace

void hostname(std::string& hname) {
  hname = fit_text(shown_name(system_names().host, "WindowsOS-ix86"), hname.size());
}

void username(std::string& uname) {
  uname = fit_text(shown_name(system_names().user, "Windows user"), uname.size());
}

void c8time(std::string& c8) {
  const LocalTime t = now();
  c8 = two_digits(t.hour) + ":" + two_digits(t.minute) + ":" + two_digits(t.second);
}

void c10date(std::string& c10) {
  const LocalTime t = now();
  std::string year = fmt_int(t.year, 4);
  for (char& c : year)
    if (c == ' ') c = '0';
  c10 = year + "-" + two_digits(t.month) + "-" + two_digits(t.day);
}

}  // namespace polarsketch::console
