// Output files of the command line: the format chosen by the name and the
// default name.
#pragma once

#include <string>
#include <vector>

#include "cli/request.hpp"

namespace polarsketch::cli {

// The format a file name asks for by its extension (case ignored), or why
// it cannot be written.
struct FormatChoice {
  const figure::FigureFormat* format = nullptr;
  std::string error;
  explicit operator bool() const { return format != nullptr; }
  const figure::FigureFormat* operator*() const { return format; }
};
FormatChoice output_format(const std::string& path);

// The formats' extensions with their dots, as lists in help and messages:
// ".ps, .eps, .pdf, .svg or .png" with `last` " or ", or with ", ".
std::string extension_list(const std::string& last);

// The plot file for data files without -o: the first file's name with .ps
// instead of its extension ("stdin.ps" for standard input), never the name
// of one of the inputs.
std::string default_output_name(const std::vector<std::string>& files);

}  // namespace polarsketch::cli
