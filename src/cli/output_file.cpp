// Output formats, default names and files renamed into place when complete.
#include "cli/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace polarsketch::cli {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

// The extension with its dot, or "" when the base name has none.
std::string extension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (dot == std::string::npos || dot <= base) return "";
  return path.substr(dot);
}

// The temporary file being written, for the interrupt handler: a fixed
// buffer, since the handler may only call async-signal-safe functions.
char g_temporary[4096] = {};
volatile std::sig_atomic_t g_have_temporary = 0;

void note_temporary(const std::string& path) {
  g_have_temporary = 0;
  if (path.empty() || path.size() >= sizeof g_temporary) return;
  std::memcpy(g_temporary, path.c_str(), path.size() + 1);
  g_have_temporary = 1;
}

extern "C" void remove_temporary_and_end(int sig) {
  if (g_have_temporary != 0) ::unlink(g_temporary);
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

// The permissions a newly created file gets under the process's umask.
mode_t default_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

void remove_temporary_on_interrupt() {
  struct sigaction sa {};
  sa.sa_handler = remove_temporary_and_end;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

FormatChoice output_format(const std::string& path) {
  const std::string ext = lower(extension(path));
  if (ext == ".ps") return {OutputFormat::postscript, ""};
  if (ext == ".eps") return {OutputFormat::eps, ""};
  if (ext == ".pdf") return {OutputFormat::pdf, ""};
  if (ext == ".svg") return {OutputFormat::svg, ""};
  if (ext == ".png") return {OutputFormat::png, ""};
  const std::string what =
      ext.empty() ? "the name has no extension" : "'" + ext + "' is not written";
  return {std::nullopt, what + "; the plot file must end in .ps, .eps, .pdf, .svg or .png"};
}

std::string default_output_name(const std::vector<std::string>& files) {
  if (files.empty() || files.front() == "-") return "stdin.ps";
  const std::string& first = files.front();
  const std::string ext = extension(first);
  std::string name = first.substr(0, first.size() - ext.size()) + ".ps";
  if (std::find(files.begin(), files.end(), name) != files.end()) name = first + ".ps";
  return name;
}

AtomicOutput::AtomicOutput(std::string target) : target_(std::move(target)) {}

AtomicOutput::~AtomicOutput() { discard(); }

bool AtomicOutput::create() {
  discard();
  // A link is followed, so the file it names is replaced and the link kept.
  namespace fs = std::filesystem;
  std::error_code ec;
  for (int links = 0; links < 40 && fs::is_symlink(target_, ec); ++links) {
    const fs::path to = fs::read_symlink(target_, ec);
    if (ec) break;
    target_ = (to.is_absolute() ? to : fs::path(target_).parent_path() / to).string();
  }
  // An existing file keeps its permissions; a device, a pipe or a directory
  // is never replaced by a renamed file.
  mode_t mode = default_file_mode();
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) {
      error_ = "it is not a regular file";
      return false;
    }
    mode = existing.st_mode & 07777;
  }
  const std::size_t slash = target_.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  std::string pattern = dir + "." + base + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  ::fchmod(fd, mode);
  ::close(fd);
  temp_ = pattern;
  note_temporary(temp_);
  return true;
}

bool AtomicOutput::commit() {
  if (temp_.empty()) return false;
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    error_ = std::strerror(errno);
    discard();
    return false;
  }
  note_temporary("");
  temp_.clear();
  return true;
}

void AtomicOutput::discard() {
  if (temp_.empty()) return;
  note_temporary("");
  std::remove(temp_.c_str());
  temp_.clear();
}

}  // namespace polarsketch::cli
