// Runs the command line inside a test: the arguments in, the exit status and
// what went to standard output and standard error out.
#pragma once

#include <gtest/gtest.h>

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

// Runs `polarsketch plot ARGS`, which must say nothing on standard error;
// returns the exit status.
inline int plot(std::vector<std::string> args) {
  args.insert(args.begin(), "plot");
  const CliRun r = run_cli(args);
  EXPECT_EQ(r.err, "");
  return r.status;
}

}  // namespace polarsketch::cli
