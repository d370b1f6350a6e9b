// Checks of the command line's arguments made before they are parsed: file
// names that name no file, and the bounds of lists.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::cli {

// Contour levels one --levels list may hold: more would take minutes to
// draw, and no page shows them apart.
inline constexpr std::size_t kMaxLevels = 1000;

// The sentence for an option of an output file given an empty name
// ("--output=", "-o ''", "--density-out ''"), as a script with an unset
// variable writes it, in the command `form`; "" when there is none.
// Arguments after "--" are files.
std::string empty_file_name(const std::vector<std::string>& args, std::string_view form);

// The sentence for an output file that is one of the run's inputs (by the
// file system's identity; "-" is the file standard input reads), so that the
// data read would be lost: "NAMED 'OUTPUT' would overwrite the input file";
// "" when it is none of them.
std::string overwrites_input(const std::string& output, const std::string& named,
                             const std::vector<std::string>& inputs);

}  // namespace polarsketch::cli
