// Reading the measurement files of a command and reporting their faults.
#include "cli/inputs.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::cli {

namespace {

// The name a file is shown by in messages and legends.
std::string shown_file_name(const std::string& file) {
  return file == "-" ? "standard input" : file;
}

// Pieces read at a time: a file is parsed as it arrives, so that a large
// block of comments never needs its size in memory.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// Why a read failed: the system's reason, or what ran out.
struct ReadFailure {
  int status = kExitOk;  // kExitNoInput or kExitSoftware
  std::string reason;
  bool opened = true;  // false: the file could not be opened at all
};

// Feeds the file descriptor's bytes to the stream until the end of the file
// (a read of zero bytes), a read error or a fault of the whole file.
ReadFailure feed_descriptor(int fd, data::MeasurementStream& stream) {
  std::vector<char> piece(kPieceBytes);
  while (!stream.done()) {
    const ssize_t n = ::read(fd, piece.data(), piece.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {kExitNoInput, std::strerror(errno)};
    if (n == 0) break;
    stream.feed(std::string_view(piece.data(), static_cast<std::size_t>(n)));
  }
  return {};
}

// The same for a stream other than the process's standard input.
ReadFailure feed_stream(std::istream& in, data::MeasurementStream& stream) {
  std::vector<char> piece(kPieceBytes);
  while (!stream.done() && in) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    stream.feed(std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
  }
  if (in.bad()) return {kExitNoInput, "a read failed"};
  return {};
}

// Opens and feeds a file; the failure says why it could not be read.
ReadFailure feed_file(const std::string& path, data::MeasurementStream& stream) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {kExitNoInput, std::strerror(errno), false};
  struct stat st {};
  ReadFailure failure;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    failure = {kExitNoInput, "it is a directory", false};
  } else {
    failure = feed_descriptor(fd, stream);
  }
  ::close(fd);
  return failure;
}

// Reads one input into the reader, or says why it could not.
ReadFailure read_input(const std::string& name, std::istream& in,
                       data::MeasurementStream& stream) {
  try {
    if (name != "-") return feed_file(name, stream);
    return &in == &std::cin ? feed_descriptor(STDIN_FILENO, stream) : feed_stream(in, stream);
  } catch (const std::bad_alloc&) {
    return {kExitSoftware, "out of memory while reading it"};
  }
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

std::string shown_name(const data::DataSet& set) { return shown_file_name(set.name); }

std::string counted(const data::DataSet& set) {
  std::string kind(data::kind_name(set.kind));
  if (set.size() == 1 && !kind.empty()) kind.pop_back();
  return std::to_string(set.size()) + " " + kind;
}

LoadedInputs load_inputs(const InputOptions& input, std::istream& in, std::ostream& err) {
  LoadedInputs result;
  data::ReadOptions options;
  options.columns = input.columns;
  options.skip_bad = input.skip_bad;
  auto fail = [&](int status) {
    if (result.status == kExitOk) result.status = status;
  };
  for (const std::string& name : input.files) {
    const std::string shown = shown_file_name(name);
    data::MeasurementStream stream(shown, options);
    const ReadFailure failure = read_input(name, in, stream);
    if (failure.status != kExitOk) {
      // Never the part read so far as if it were the whole file.
      err << "polarsketch: cannot " << (failure.opened ? "read '" : "open '") << shown
          << "': " << failure.reason << '\n';
      fail(failure.status);
      continue;
    }
    data::ReadResult r;
    try {
      r = stream.finish();
    } catch (const std::bad_alloc&) {
      err << "polarsketch: cannot read '" << shown << "': out of memory while reading it\n";
      fail(kExitSoftware);
      continue;
    }
    const int status = report(r, shown, input.skip_bad, err);
    if (status != kExitOk) {
      fail(status);
      continue;
    }
    r.data.name = name;
    result.sets.push_back(std::move(r.data));
  }
  return result;
}

}  // namespace polarsketch::cli
