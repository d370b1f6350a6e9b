// Reading the measurement files of a command and reporting their faults.
#include "cli/inputs.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

namespace polarsketch::cli {

namespace {

// The name a file is shown by in messages and legends.
std::string shown_file_name(const std::string& file) {
  return file == "-" ? "standard input" : file;
}

// The whole content of a file; nullopt with `reason` when it cannot be read.
std::optional<std::string> read_file(const std::string& path, std::string& reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    reason = "it is a directory";
    return std::nullopt;
  }
  std::ifstream f(path, std::ios::binary);
  if (!f) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  std::ostringstream text;
  text << f.rdbuf();
  if (f.bad()) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  return std::move(text).str();
}

std::string read_stream(std::istream& in) {
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

std::string plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// Reports what the reader found wrong in one file; returns the exit status.
int report(const data::ReadResult& r, const std::string& name, bool skip_bad, std::ostream& err) {
  if (!r.fatal.empty()) {
    const bool named = r.fatal.rfind(name + ":", 0) == 0;
    err << (named ? "" : name + ": ") << r.fatal << '\n';
    return kExitDataError;
  }
  if (r.error_count == 0) return kExitOk;
  if (skip_bad && r.skipped == r.error_count) {
    err << "polarsketch: " << name << ": skipped " << plural(r.skipped, "bad line");
    if (!r.errors.empty()) err << " (the first: " << r.errors.front().message() << ")";
    err << '\n';
    return kExitOk;
  }
  for (const data::DataError& e : r.errors) err << e.message() << '\n';
  err << name << ": " << plural(r.error_count, "error");
  if (r.error_count > r.errors.size()) err << " (the first " << r.errors.size() << " listed)";
  err << "; nothing written (--skip-bad skips bad lines)\n";
  return kExitDataError;
}

}  // namespace

LoadedInputs load_inputs(const InputOptions& input, std::istream& in, std::ostream& err) {
  LoadedInputs result;
  data::ReadOptions options;
  options.columns = input.columns;
  options.skip_bad = input.skip_bad;
  auto fail = [&](int status) {
    if (result.status == kExitOk) result.status = status;
  };
  for (const std::string& name : input.files) {
    std::string text;
    if (name == "-") {
      text = read_stream(in);
    } else {
      std::string reason;
      std::optional<std::string> content = read_file(name, reason);
      if (!content) {
        err << "polarsketch: cannot open '" << name << "': " << reason << '\n';
        fail(kExitNoInput);
        continue;
      }
      text = std::move(*content);
    }
    const std::string shown = shown_file_name(name);
    data::ReadResult r = data::read_measurements(text, shown, options);
    for (const std::string& warning : r.warnings) {
      err << "polarsketch: warning: " << warning << '\n';
    }
    const int status = report(r, shown, input.skip_bad, err);
    if (status != kExitOk) {
      fail(status);
      continue;
    }
    // A file mixing planes and lines gives a set of each.
    r.data.name = name;
    result.sets.push_back(std::move(r.data));
    for (data::DataSet& more : r.more_data) {
      more.name = name;
      result.sets.push_back(std::move(more));
    }
  }
  return result;
}

}  // namespace polarsketch::cli
