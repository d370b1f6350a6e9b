// `polarsketch stats`: what each data set holds.
#include <algorithm>
#include <ostream>
#include <string>

#include "cli/commands.hpp"
#include "cli/inputs.hpp"

namespace polarsketch::cli {

int run_stats(const StatsRequest& r, std::istream& in, std::ostream& out, std::ostream& err) {
  const LoadedInputs inputs = load_inputs(r.input, in, err);
  if (inputs.status != kExitOk) return inputs.status;
  // One row per data set, columns padded to their widest entry.
  std::size_t width = 4;
  for (const data::DataSet& s : inputs.sets) width = std::max(width, shown_name(s).size());
  auto pad = [](std::string s, std::size_t w) {
    s.resize(std::max(s.size(), w), ' ');
    return s;
  };
  out << pad("file", width) << "  " << pad("kind", 6) << "  " << pad("count", 8) << "  notation\n";
  for (const data::DataSet& s : inputs.sets) {
    out << pad(shown_name(s), width) << "  " << pad(std::string(data::kind_name(s.kind)), 6)
        << "  " << pad(std::to_string(s.size()), 8) << "  " << s.notation << '\n';
  }
  return kExitOk;
}

}  // namespace polarsketch::cli
