// Files written whole under a temporary name and renamed into place.
#include "files/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace polarsketch::files {

namespace {

// The temporary files being written, for the interrupt handler: fixed
// buffers, since a handler may only call async-signal-safe functions. More
// than one slot, so that a file written while another is open (a settings
// file while a plot file is written) is removed too.
struct Slot {
  char path[4096];
  volatile std::sig_atomic_t used;
};
Slot g_slots[8] = {};

int register_temporary(const std::string& path) {
  if (path.size() >= sizeof g_slots[0].path) return -1;
  for (int i = 0; i < static_cast<int>(std::size(g_slots)); ++i) {
    Slot& slot = g_slots[i];
    if (slot.used != 0) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    // The name is complete before the handler may read it.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.used = 1;
    return i;
  }
  return -1;
}

void unregister_temporary(int& slot) {
  if (slot >= 0) g_slots[slot].used = 0;
  slot = -1;
}

extern "C" void remove_temporaries_and_end(int sig) {
  for (const Slot& slot : g_slots) {
    if (slot.used != 0) ::unlink(slot.path);
  }
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

// The permissions a newly created file gets under the process's umask.
mode_t default_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// The file `path` names once its symbolic links are followed; empty when
// the links go round in a circle.
std::string follow_links(std::string path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (int links = 0; links < 40; ++links) {
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path to = fs::read_symlink(path, ec);
    if (ec) return path;
    path = (to.is_absolute() ? to : fs::path(path).parent_path() / to).string();
  }
  return "";
}

}  // namespace

void remove_temporaries_on(int sig) noexcept {
  struct sigaction sa {};
  sa.sa_handler = remove_temporaries_and_end;
  sigemptyset(&sa.sa_mask);
  ::sigaction(sig, &sa, nullptr);
}

void remove_temporaries_on_interrupt() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) remove_temporaries_on(sig);
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::fail(int err) {
  error_ = std::strerror(err);
  return false;
}

bool AtomicFile::create() {
  discard();
  const std::string target = follow_links(target_);
  if (target.empty()) return fail(ELOOP);
  // An existing file keeps its permissions (its owners too where the user
  // may give them); a device, a pipe or a directory is never replaced by a
  // renamed file, nor a file the user may not write.
  mode_t mode = default_file_mode();
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (!S_ISREG(existing.st_mode)) {
      error_ = "it is not a regular file";
      return false;
    }
    if (::access(target.c_str(), W_OK) != 0) return fail(errno);
    mode = existing.st_mode & 0777;
  }
  const std::size_t slash = target.find_last_of('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  std::string pattern = target.substr(0, base) + "." + target.substr(base) + ".XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return fail(errno);
  temp_ = pattern;
  slot_ = register_temporary(temp_);
  target_ = target;
  if (exists && ::fchown(fd_, existing.st_uid, existing.st_gid) != 0) {
    // Not the user's to give: the new file is the user's own.
  }
  if (::fchmod(fd_, mode) != 0) {
    const int err = errno;
    discard();
    return fail(err);
  }
  return true;
}

bool AtomicFile::write(std::string_view data) {
  if (fd_ < 0) return fail(EBADF);
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(n < 0 ? errno : EIO);
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool AtomicFile::commit() {
  if (fd_ < 0) return fail(EBADF);
  int err = ::fsync(fd_) == 0 ? 0 : errno;
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err == 0 && std::rename(temp_.c_str(), target_.c_str()) != 0) err = errno;
  if (err != 0) {
    discard();
    return fail(err);
  }
  temp_.clear();
  unregister_temporary(slot_);
  return true;
}

void AtomicFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (temp_.empty()) return;
  ::unlink(temp_.c_str());
  temp_.clear();
  unregister_temporary(slot_);
}

bool replace_file(const std::string& path, std::string_view contents, std::string* error) {
  AtomicFile file(path);
  const bool ok = file.create() && file.write(contents) && file.commit();
  if (!ok && error != nullptr) *error = file.error();
  return ok;
}

}  // namespace polarsketch::files
