// The command line: `polarsketch --help | --version | plot ... | stats ...`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace polarsketch::cli {

// Runs the command line on the arguments (without the program name);
// standard input is `in` (for "-"). Returns the exit status. Never asks a
// question.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::istream& in);

}  // namespace polarsketch::cli
