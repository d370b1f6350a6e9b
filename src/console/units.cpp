// The unit table and the line reader.
#include "console/units.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <memory>

#include "console/report_frames.hpp"
#include "console/stop.hpp"
#include "files/atomic_file.hpp"
#include "report/report.hpp"

namespace polarsketch::console {
namespace {

// A file opened on a descriptor of our own (so that it can be locked and
// checked before it is used), read and written through a stream.
class FileStream : public std::iostream {
 public:
  FileStream(int fd, std::ios::openmode mode) : std::iostream(nullptr), buf_(fd, mode) {
    rdbuf(&buf_);
  }
  bool is_open() const { return buf_.is_open(); }
  // Flushes and closes the descriptor; false when either failed.
  bool close() { return buf_.close() != nullptr; }

 private:
  __gnu_cxx::stdio_filebuf<char> buf_;
};

struct Unit {
  std::istream* in = nullptr;
  std::ostream* out = nullptr;
  std::unique_ptr<FileStream> file;  // set for file units
};

std::map<int, Unit>& table() {
  static std::map<int, Unit> units = [] {
    std::map<int, Unit> u;
    u[kUnitIn].in = &std::cin;
    u[kUnitOut].out = &std::cout;
    return u;
  }();
  return units;
}

volatile std::sig_atomic_t g_interrupted = 0;

// Only async-signal-safe work here: note the interrupt and close standard
// input, so that a read in progress (or the next one) fails at once. The
// next interrupt of the same kind ends the program at once, removing any
// temporary file being written first.
extern "C" void on_interrupt(int sig) {
  g_interrupted = 1;
  ::close(0);
  files::remove_temporaries_on(sig);
}

[[noreturn]] void stop_on_console_end() {
  put_line(kUnitOut, g_interrupted ? kInterruptedLine : kEndOfInputLine);
  output(kUnitOut).flush();
  stop_run(g_interrupted ? kExitInterrupted : kExitEndOfInput);
}

std::ostream& null_stream() {
  static std::ofstream sink;  // never opened: writes are discarded
  return sink;
}

// std::getline with a limit: keeps at most kMaxLineLength characters and
// drops the rest of the line, its end included. Fails, as std::getline does,
// only when nothing at all could be read.
bool getline_limited(std::istream& in, std::string& line) {
  line.clear();
  const std::istream::sentry ok(in, true);
  if (!ok) return false;
  std::streambuf& sb = *in.rdbuf();
  bool extracted = false;
  for (;;) {
    const int c = sb.sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(extracted ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
      return extracted;
    }
    extracted = true;
    if (c == '\n') return true;
    if (line.size() == kMaxLineLength) {
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
}

// The descriptor of `path` opened as `status` asks, or -1 (with the reason
// in `failure` when it is not the common one).
int open_descriptor(const std::string& path, FileStatus status, OpenFailure& failure) {
  constexpr int kMode = 0666;  // less the user's umask, as any new file
  int fd = -1;
  switch (status) {
    case FileStatus::old_file:
      return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    case FileStatus::old_regular_file: {
      fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
      struct stat st {};
      if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        // A directory cannot be read as a file at all: the common failure.
        if (!S_ISDIR(st.st_mode)) failure.reason = "not a regular file";
        return -1;
      }
      if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
      return fd;
    }
    case FileStatus::new_file:
      fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kMode);
      break;
    case FileStatus::unknown:
      // Not truncated yet: another process may be writing it.
      fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, kMode);
      break;
  }
  if (fd < 0) return -1;
  // Only a regular file has contents to protect and a length to cut; a
  // device such as /dev/null is shared by every process and never locked.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return fd;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    failure.reason = err == EWOULDBLOCK ? "in use by another process (locked)"
                                        : std::string("cannot be locked: ") + std::strerror(err);
    return -1;
  }
  if (::ftruncate(fd, 0) != 0) {
    failure.reason = std::string("cannot be truncated: ") + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

void bind_input(int unit, std::istream& in) {
  Unit& u = table()[unit];
  u.file.reset();
  u.in = &in;
}

void bind_output(int unit, std::ostream& out) {
  Unit& u = table()[unit];
  u.file.reset();
  u.out = &out;
}

void bind_console(std::istream& in, std::ostream& out) {
  bind_input(kUnitIn, in);
  bind_output(kUnitOut, out);
}

void reset_units() {
  table().clear();
  table()[kUnitIn].in = &std::cin;
  table()[kUnitOut].out = &std::cout;
}

std::ostream& output(int unit) {
  auto it = table().find(unit);
  if (it == table().end() || it->second.out == nullptr) return null_stream();
  return *it->second.out;
}

namespace {
constinit LineObserver line_observer = nullptr;
// Every program that writes on the console starts with its frames as the
// fallback reporter, so a typed message is never lost.
[[maybe_unused]] const bool frames_report_by_default =
    (report::set_fallback(&frame_reporter()), true);
}  // namespace

void observe_lines(LineObserver observer) { line_observer = observer; }

void put_line(int unit, std::string_view text) {
  if (line_observer != nullptr) line_observer(unit, text);
  std::ostream& o = output(unit);
  o.put(' ');
  o.write(text.data(), static_cast<std::streamsize>(text.size()));
  o.put('\n');
}

void put_raw_line(int unit, std::string_view text) {
  std::ostream& o = output(unit);
  o.write(text.data(), static_cast<std::streamsize>(text.size()));
  o.put('\n');
}

void flush_outputs() {
  for (auto& [n, u] : table()) {
    if (u.out != nullptr && !u.file) u.out->flush();
  }
}

void install_interrupt_handlers() {
  struct sigaction sa {};
  sa.sa_handler = on_interrupt;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

void ignore_write_signals() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

bool interrupted() { return g_interrupted != 0; }

bool read_line(int unit, std::string& line, OnEnd on_end) {
  line.clear();
  auto it = table().find(unit);
  bool is_file = it != table().end() && it->second.file != nullptr;
  // After an interrupt no more console input is taken, not even what is
  // still buffered.
  if (!is_file && g_interrupted) stop_on_console_end();
  if (!is_file) flush_outputs();
  bool ok =
      it != table().end() && it->second.in != nullptr && getline_limited(*it->second.in, line);
  if (ok) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
  line.clear();
  if (is_file || (on_end == OnEnd::report && !g_interrupted)) return false;
  stop_on_console_end();
}

bool open_file(int unit, const std::string& path, FileStatus status, OpenFailure* failure) {
  close_file(unit);
  OpenFailure why;
  const int fd = open_descriptor(path, status, why);
  if (failure != nullptr) *failure = why;
  if (fd < 0) return false;
  const bool reading = status == FileStatus::old_file || status == FileStatus::old_regular_file;
  auto f = std::make_unique<FileStream>(fd, reading ? std::ios::in : std::ios::out);
  if (!f->is_open()) {
    ::close(fd);
    return false;
  }
  Unit& u = table()[unit];
  u.in = f.get();
  u.out = f.get();
  u.file = std::move(f);
  return true;
}

bool close_file(int unit) {
  auto it = table().find(unit);
  if (it == table().end() || !it->second.file) return true;
  FileStream& f = *it->second.file;
  f.flush();
  bool good = !f.bad() && !(f.fail() && !f.eof());
  good = f.close() && good;
  table().erase(it);
  return good;
}

bool is_file_open(int unit) {
  auto it = table().find(unit);
  return it != table().end() && it->second.file != nullptr;
}

bool unit_good(int unit) {
  auto it = table().find(unit);
  if (it == table().end() || it->second.out == nullptr) return false;
  return !it->second.out->bad();
}

}  // namespace polarsketch::console
