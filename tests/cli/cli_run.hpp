// Runs the command line inside a test: the arguments in, the exit status and
// what went to standard output and standard error out.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"

namespace polarsketch::cli {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline CliRun run_cli(const std::vector<std::string>& args, const std::string& input = "") {
  std::ostringstream out, err;
  std::istringstream in(input);
  CliRun r;
  r.status = run(args, out, err, in);
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace polarsketch::cli
