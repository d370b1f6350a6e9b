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

// The mkostemp pattern of the temporary file beside `target`: ".NAME.XXXXXX"
// in the target's directory, the name cut so that the whole stays within the
// directory's limit on a name's length (a name the system allows as a target
// must not be refused because its temporary file's name would be too long).
std::string temporary_pattern(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  const std::string dir = base == 0 ? "." : target.substr(0, base);
  const long limit = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  constexpr std::size_t kAdded = 8;  // the leading dot and ".XXXXXX"
  const std::size_t name_max = limit > static_cast<long>(kAdded) ? static_cast<std::size_t>(limit) : 255;
  std::string name = target.substr(base);
  if (name.size() + kAdded > name_max) name.resize(name_max - kAdded);
  return target.substr(0, base) + "." + name + ".XXXXXX";
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
  std::string pattern = temporary_pattern(target);
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

bool AtomicFile::complete() {
  if (fd_ < 0) return fail(EBADF);
  int err = ::fsync(fd_) == 0 ? 0 : errno;
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err != 0) {
    discard();
    return fail(err);
  }
  return true;
}

bool AtomicFile::commit() {
  if (fd_ >= 0 && !complete()) return false;
  if (temp_.empty()) return fail(EBADF);
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
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

AtomicFile& AtomicGroup::add(const std::string& target) {
  files_.push_back(std::make_unique<AtomicFile>(target));
  targets_.push_back(target);
  return *files_.back();
}

bool AtomicGroup::fail(std::size_t index) {
  failed_target_ = targets_[index];
  error_ = files_[index]->error();
  discard();
  return false;
}

bool AtomicGroup::create() {
  for (std::size_t i = 0; i < files_.size(); ++i)
    if (!files_[i]->create()) return fail(i);
  return true;
}

bool AtomicGroup::commit() {
  for (std::size_t i = 0; i < files_.size(); ++i)
    if (!files_[i]->complete()) return fail(i);
  for (std::size_t i = 0; i < files_.size(); ++i)
    if (!files_[i]->commit()) return fail(i);
  return true;
}

void AtomicGroup::discard() {
  for (auto& file : files_) file->discard();
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  namespace fs = std::filesystem;
  const auto resolved = [](const std::string& name) {
    std::error_code ec;
    const fs::path full = fs::absolute(name, ec);
    return ec ? fs::path() : fs::weakly_canonical(full, ec);
  };
  const fs::path ra = resolved(a);
  return !ra.empty() && ra == resolved(b);
}

bool is_standard_input(const std::string& path) {
  struct stat in {}, named {};
  return ::fstat(STDIN_FILENO, &in) == 0 && S_ISREG(in.st_mode) &&
         ::stat(path.c_str(), &named) == 0 && in.st_dev == named.st_dev &&
         in.st_ino == named.st_ino;
}

bool replace_file(const std::string& path, std::string_view contents, std::string* error) {
  AtomicFile file(path);
  const bool ok = file.create() && file.write(contents) && file.commit();
  if (!ok && error != nullptr) *error = file.error();
  return ok;
}

}  // namespace polarsketch::files
