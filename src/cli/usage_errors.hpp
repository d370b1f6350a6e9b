// CLI11's parse errors said in plain words.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace polarsketch::cli {

// One sentence for a usage error CLI11 found: the option as the user wrote
// it and what is wrong with it ("-o/--output is given more than once",
// "unknown option '--bogus'"). `form` is the command being parsed (or the
// program itself), `program` the program with every command. An argument no
// option took is named before a missing FILE. Messages of our own validators
// are passed on as they are.
std::string plain_usage_error(const CLI::ParseError& error, const CLI::App& form,
                              const CLI::App& program);

// CLI11 takes the argument after an option as its value even when it is
// another option ("--dpi --page", "--density-out --hide-data"): the
// sentence for the first option of `form` left so without its value, or "".
std::string option_taken_as_value(const std::vector<std::string>& args, const CLI::App& form);

// The sentence for the first argument that is neither an option, nor the
// value of an option before it, nor a command of `program`; "" when the
// first such word is a command (or there is none).
std::string unknown_command(const std::vector<std::string>& args, const CLI::App& program);

}  // namespace polarsketch::cli
