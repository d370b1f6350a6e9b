// The settings-file reader on arbitrary bytes: the file itself is read
// through the line reader, then its first line is parsed. A line that reads
// must survive being written back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "console/units.hpp"
#include "postscript/document.hpp"

namespace {

using namespace polarsketch;

bool same(const postscript::DriverSettings& a, const postscript::DriverSettings& b) {
  return a.ovly == b.ovly && a.ncopies == b.ncopies && a.sys.view() == b.sys.view() &&
         a.ips == b.ips;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  console::bind_input(console::kUnitPlotFile, file);
  std::string line;
  console::read_line(console::kUnitPlotFile, line, console::OnEnd::report);
  console::reset_units();

  postscript::DriverSettings s;
  if (!postscript::parse_settings_line(line, s)) return 0;
  postscript::DriverSettings again;
  if (!postscript::parse_settings_line(postscript::settings_line(s), again) || !same(s, again))
    std::abort();
  return 0;
}
