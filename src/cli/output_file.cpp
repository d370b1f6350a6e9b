// Output formats, default names and files renamed into place when complete.
#include "cli/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

// The permissions a newly created file gets under the process's umask.
mode_t default_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

FormatChoice output_format(const std::string& path) {
  const std::string ext = lower(extension(path));
  if (ext == ".ps") return {OutputFormat::postscript, ""};
  const std::string what = ext.empty() ? "the name has no extension" : "'" + ext + "' is not written";
  return {std::nullopt, what + "; the plot file must end in .ps (PostScript)"};
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
  const std::size_t slash = target_.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  std::string pattern = dir + "." + base + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  ::fchmod(fd, default_file_mode());
  ::close(fd);
  temp_ = pattern;
  return true;
}

bool AtomicOutput::commit() {
  if (temp_.empty()) return false;
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    error_ = std::strerror(errno);
    discard();
    return false;
  }
  temp_.clear();
  return true;
}

void AtomicOutput::discard() {
  if (temp_.empty()) return;
  std::remove(temp_.c_str());
  temp_.clear();
}

}  // namespace polarsketch::cli
