// Output names checked before CLI11 sees them: CLI11 would take the argument
// after "--output=" as its value, and an empty "-o ''" as no option at all.
#include "cli/usage_checks.hpp"

#include <array>
#include <string_view>

#include "files/atomic_file.hpp"

namespace polarsketch::cli {

std::string empty_file_name(const std::vector<std::string>& args, std::string_view form) {
  // Only plot has a default name to fall back on.
  constexpr std::array<std::string_view, 5> kOptions{"-o", "--output", "--density-out", "--csv",
                                                    "--result-csv"};
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    for (const std::string_view option : kOptions) {
      // stats and rose take --csv as a flag: their CSV goes to standard output.
      if (option == "--csv" && form != "kinematics") continue;
      const std::string_view arg = args[i];
      const bool joined = arg.size() == option.size() + 1 && arg.starts_with(option) &&
                          arg.back() == '=';
      const bool apart = arg == option && i + 1 < args.size() && args[i + 1].empty();
      if (!joined && !apart) continue;
      const std::string name = option == "-o" ? "-o/--output" : std::string(option);
      return name + " is given an empty file name; name a file" +
             ((option == "-o" || option == "--output") && form == "plot"
                  ? ", or leave the option out for the default name"
                  : "");
    }
  }
  return "";
}

std::string overwrites_input(const std::string& output, const std::string& named,
                             const std::vector<std::string>& inputs) {
  if (output.empty()) return "";
  for (const std::string& input : inputs) {
    if (input == "-" ? files::is_standard_input(output) : files::same_file(output, input))
      return named + " '" + output + "' " +
             (input == "-" ? "is the file standard input reads" : "would overwrite the input file");
  }
  return "";
}

}  // namespace polarsketch::cli
