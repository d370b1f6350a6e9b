// Output files of the command line: the format chosen by the name, the
// default name, and writing under a temporary name next to the target so
// that a failed run never leaves a partial file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/request.hpp"

namespace polarsketch::cli {

// The format a file name asks for by its extension (case ignored), or why
// it cannot be written.
struct FormatChoice {
  std::optional<OutputFormat> format;
  std::string error;
  explicit operator bool() const { return format.has_value(); }
  OutputFormat operator*() const { return *format; }
};
FormatChoice output_format(const std::string& path);

// The plot file for data files without -o: the first file's name with .ps
// instead of its extension ("stdin.ps" for standard input), never the name
// of one of the inputs.
std::string default_output_name(const std::vector<std::string>& files);

// Makes an interrupt (SIGINT, SIGTERM, SIGHUP) remove the temporary file
// of the AtomicOutput being written before the program ends as interrupted.
void remove_temporary_on_interrupt();

// A file written as a temporary file in the target's directory and renamed
// onto the target once complete; dropped (removed) unless committed.
class AtomicOutput {
 public:
  explicit AtomicOutput(std::string target);
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  // Creates the empty temporary file. False (with error()) when it cannot.
  bool create();
  const std::string& temp_path() const { return temp_; }
  // Renames the temporary file onto the target. False (with error()) when
  // it cannot; the temporary file is then removed.
  bool commit();
  // Removes the temporary file.
  void discard();
  // The reason of the last failure, e.g. "Permission denied".
  const std::string& error() const { return error_; }

 private:
  std::string target_;
  std::string temp_;
  std::string error_;
};

}  // namespace polarsketch::cli
