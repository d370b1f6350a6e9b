// Files written whole: a new file under a unique name beside the target,
// renamed onto the target once complete. A reader never sees part of the
// file, and a failed or interrupted run leaves the old file as it was and no
// temporary file behind.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::files {

// Makes an interrupt (SIGINT, SIGTERM, SIGHUP) remove the temporary files
// being written and then end the program by that signal.
void remove_temporaries_on_interrupt();
// The same for one signal. Async-signal-safe, so that a handler that lets
// the first interrupt end the run in order can hand the next one on to it.
void remove_temporaries_on(int sig) noexcept;

// A file written under a temporary name in the target's directory and renamed
// onto the target by commit(); removed unless committed. The target's
// symbolic links are followed (the file a link names is replaced and the
// link kept), and an existing target keeps its permissions. A target that is
// not a regular file, or that the user may not write, is refused, as a shell
// redirection would refuse it. While it exists the temporary file is removed
// by an interrupt (see remove_temporaries_on_interrupt).
class AtomicFile {
 public:
  explicit AtomicFile(std::string target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the empty temporary file. False (with error()) when the target
  // is refused or the file cannot be created.
  bool create();
  // The temporary file's name, for writers that open the file themselves.
  const std::string& temp_path() const { return temp_; }
  // Appends `data` to the temporary file. False (with error()) on failure.
  bool write(std::string_view data);
  // Flushes the temporary file to the disk and closes it, not yet renamed.
  // False (with error()) on failure; the temporary file is then removed.
  bool complete();
  // Completes the temporary file (unless done) and renames it onto the
  // target. False (with error()) when either fails; the temporary file is
  // then removed.
  bool commit();
  // Removes the temporary file.
  void discard();
  // The reason of the last failure, e.g. "Permission denied" or "it is not
  // a regular file".
  const std::string& error() const { return error_; }

 private:
  bool fail(int err);

  std::string target_;
  std::string temp_;
  std::string error_;
  int fd_ = -1;
  int slot_ = -1;  // where the interrupt handler finds temp_, -1 for nowhere
};

// Several files written all or none: every temporary file is created
// before any is written, and none is renamed onto its target until every one
// is complete. A failure discards them all, leaving every target as it was.
class AtomicGroup {
 public:
  // Adds a file to the group; the reference stays valid while the group lives.
  AtomicFile& add(const std::string& target);
  // Creates every temporary file. False on the first failure, with its
  // target in failed_target() and the reason in error(); all are discarded.
  bool create();
  // Completes every file, then renames each onto its target. False on the
  // first failure (as create()); every file not yet renamed is discarded.
  bool commit();
  // Removes every temporary file.
  void discard();
  const std::string& failed_target() const { return failed_target_; }
  const std::string& error() const { return error_; }

 private:
  bool fail(std::size_t index);

  std::vector<std::unique_ptr<AtomicFile>> files_;
  std::vector<std::string> targets_;
  std::string failed_target_;
  std::string error_;
};

// Whether two names are one file: the same file system object when both
// exist (links, hard links and different spellings of one path are seen
// through), else the same absolute path once the links of its existing part
// are followed.
bool same_file(const std::string& a, const std::string& b);

// Whether `path` names the regular file the process's standard input reads.
bool is_standard_input(const std::string& path);

// Replaces the file `path` by one holding `contents`, through an AtomicFile.
// False (with the reason in `error` when given) on failure, the old file
// then left as it was.
bool replace_file(const std::string& path, std::string_view contents,
                  std::string* error = nullptr);

}  // namespace polarsketch::files
