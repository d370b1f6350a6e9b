// The command line: `polarsketch --help | --version | plot ... | stats ...`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/request.hpp"

namespace polarsketch::cli {

// What the arguments (without the program name) ask for; a fault of the
// program while parsing is an Answer that says so.
Request request_of(const std::vector<std::string>& args);

// Runs a request of the command line; standard input is `in` (for "-").
// Returns the exit status. Never asks a question. The interactive program
// (an InteractiveRequest) is main's to start, not the command line's.
int run(const Request& request, std::ostream& out, std::ostream& err, std::istream& in);

// The same for the arguments (without the program name).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::istream& in);

}  // namespace polarsketch::cli
