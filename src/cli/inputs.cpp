// Reading the measurement files of a command and reporting their faults.
#include "cli/inputs.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The data sets of one file: one, or one per kind of a mixed file.
struct FileSets {
  std::string shown;  // the name messages give the file
  std::vector<data::DataSet> sets;
};

// Reads every file into `files`; returns the first failure's status.
int read_inputs(const InputOptions& input, std::istream& in, std::ostream& err,
                std::vector<FileSets>& files) {
  int first_failure = kExitOk;
  auto fail = [&](int status) {
    if (first_failure == kExitOk) first_failure = status;
  };
  data::ReadOptions options;
  options.columns = input.columns;
  options.skip_bad = input.skip_bad;
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
    for (const std::string& warning : r.warnings) {
      err << "polarsketch: warning: " << warning << '\n';
    }
    const int status = report(r, shown, input.skip_bad, err);
    if (status != kExitOk) {
      fail(status);
      continue;
    }
    // A file mixing planes and lines gives a set of each.
    FileSets& file = files.emplace_back(FileSets{shown, {}});
    r.data.name = name;
    file.sets.push_back(std::move(r.data));
    for (data::DataSet& more : r.more_data) {
      more.name = name;
      file.sets.push_back(std::move(more));
    }
  }
  return first_failure;
}

bool any_set_has(const std::vector<FileSets>& files, const std::string& column) {
  for (const FileSets& file : files)
    for (const data::DataSet& set : file.sets)
      if (data::has_column(set, column)) return true;
  return false;
}

// The columns the sets can be asked by, in order of first appearance: the
// kept text columns, then the orientation fields of the kinds read.
std::string column_list(const std::vector<FileSets>& files) {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  };
  bool planes = false, lines = false, slips = false;
  for (const FileSets& file : files)
    for (const data::DataSet& set : file.sets) {
      for (const std::string& name : set.attribute_names) add(name);
      planes = planes || set.kind == data::Kind::planes;
      lines = lines || set.kind == data::Kind::lines;
      slips = slips || set.kind == data::Kind::slips;
    }
  std::vector<std::string> fields;
  if (planes || slips) fields.insert(fields.end(), {"dipdir", "dip"});
  if (lines || slips) fields.insert(fields.end(), {"trend", "plunge"});
  if (slips) fields.emplace_back("rake");
  for (const std::string& name : fields) add(name);
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return list;
}

// The first column an option names that no file has, as a message; empty
// when every one is found. A column no file has is a mistyped name, not a
// choice of nothing.
std::string missing_column(const std::vector<FileSets>& files, const InputOptions& input,
                           const std::vector<std::string>& more_columns) {
  std::vector<std::pair<std::string, std::string>> named;  // option, column
  for (const data::Condition& c : input.where) named.emplace_back("--where", c.column);
  if (!input.by.empty()) named.emplace_back("--by", input.by);
  for (const std::string& c : more_columns) named.emplace_back("--label", c);
  for (const auto& [option, column] : named) {
    if (any_set_has(files, column)) continue;
    return option + ": no file has a column '" + column + "' (the columns are " +
           column_list(files) + ")";
  }
  return "";
}

// The rows of a file meeting every condition, their count said on `err`:
// "polarsketch: FILE: kept 12 of 40 rows (3 not numbers)".
void keep_rows(FileSets& file, const std::vector<data::Condition>& where, std::ostream& err) {
  std::size_t before = 0, after = 0, not_numbers = 0;
  for (data::DataSet& set : file.sets) {
    data::Filtered kept = data::filter(set, where);
    before += set.size();
    after += kept.data.size();
    not_numbers += kept.not_numbers;
    set = std::move(kept.data);
  }
  err << "polarsketch: " << file.shown << ": kept " << after << " of " << plural(before, "row");
  if (not_numbers > 0)
    err << " (" << not_numbers << (not_numbers == 1 ? " not a number)" : " not numbers)");
  err << '\n';
}

}  // namespace

LoadedInputs load_inputs(const InputOptions& input, std::istream& in, std::ostream& err,
                         const std::vector<std::string>& more_columns) {
  LoadedInputs result;
  std::vector<FileSets> files;
  result.status = read_inputs(input, in, err, files);
  if (result.status != kExitOk) return result;
  if (const std::string why = missing_column(files, input, more_columns); !why.empty()) {
    err << "polarsketch: " << why << '\n';
    result.status = kExitUsage;
    return result;
  }
  for (FileSets& file : files) {
    if (!input.where.empty()) keep_rows(file, input.where, err);
    for (data::DataSet& set : file.sets) {
      if (input.by.empty()) {
        result.sets.push_back(std::move(set));
        continue;
      }
      for (data::Group& group : data::split_by(set, input.by)) {
        result.sets.push_back(std::move(group.data));
        result.groups.push_back(std::move(group.value));
      }
    }
  }
  return result;
}

}  // namespace polarsketch::cli
