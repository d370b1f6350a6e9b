// Files written whole: what a commit replaces, what a failure or an
// interrupt leaves behind (the old file, and never a temporary file), and
// which targets are refused.
#include "files/atomic_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "postscript/ps_test_support.hpp"

namespace polarsketch::files {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::write_file;

std::set<std::string> directory() {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(".")) names.insert(e.path().filename().string());
  return names;
}

fs::perms mode_of(const fs::path& p) { return fs::status(p).permissions() & fs::perms::all; }

TEST(AtomicFile, CommitReplacesTheFileALinkNamesAndKeepsItsMode) {
  testing::ScratchDir dir;
  const mode_t mask = ::umask(022);
  write_file("old.txt", "old");
  fs::permissions("old.txt", fs::perms(0640));
  fs::create_symlink("old.txt", "link.txt");
  fs::create_symlink("made.txt", "dangling.txt");
  const struct {
    const char* written;
    const char* file;  // the file that gets the text
    fs::perms mode;
  } cases[] = {
      {"new.txt", "new.txt", fs::perms(0644)},
      {"old.txt", "old.txt", fs::perms(0640)},
      {"link.txt", "old.txt", fs::perms(0640)},
      {"dangling.txt", "made.txt", fs::perms(0644)},
  };
  for (const auto& c : cases) {
    std::string error;
    ASSERT_TRUE(replace_file(c.written, std::string("text of ") + c.written, &error)) << error;
    EXPECT_EQ(read_file(c.file), std::string("text of ") + c.written);
    EXPECT_EQ(mode_of(c.file), c.mode) << c.written;
  }
  ::umask(mask);
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_TRUE(fs::is_symlink("dangling.txt"));
  EXPECT_EQ(directory(), (std::set<std::string>{"dangling.txt", "link.txt", "made.txt",
                                                "new.txt", "old.txt"}));
}

TEST(AtomicFile, AWriteNotCommittedOrFailingLeavesTheOldFileAndNoTemporary) {
  testing::ScratchDir dir;
  write_file("plot.ps", "old plot");
  {
    AtomicFile dropped("plot.ps");
    ASSERT_TRUE(dropped.create());
    ASSERT_TRUE(dropped.write("half a plot"));
    EXPECT_EQ(directory().size(), 2u);
  }
  EXPECT_EQ(read_file("plot.ps"), "old plot");
  EXPECT_EQ(directory(), std::set<std::string>{"plot.ps"});
  // The rename fails: the target became a directory meanwhile.
  AtomicFile failing("plot.ps");
  ASSERT_TRUE(failing.create());
  fs::remove("plot.ps");
  fs::create_directories("plot.ps/inside");
  EXPECT_FALSE(failing.commit());
  EXPECT_NE(failing.error(), "");
  EXPECT_EQ(directory(), std::set<std::string>{"plot.ps"});
}

TEST(AtomicFile, ATargetThatIsNotAWritableRegularFileIsRefused) {
  testing::ScratchDir dir;
  fs::create_directory("dir.ps");
  ASSERT_EQ(::mkfifo("fifo.ps", 0644), 0);
  write_file("readonly.ps", "kept");
  fs::permissions("readonly.ps", fs::perms(0444));
  const struct {
    const char* target;
    const char* error;
  } cases[] = {
      {"dir.ps", "it is not a regular file"},
      {"fifo.ps", "it is not a regular file"},
      {"readonly.ps", "Permission denied"},
      {"missing/new.ps", "No such file or directory"},
  };
  for (const auto& c : cases) {
    // The superuser may write any file.
    if (std::string(c.target) == "readonly.ps" && ::geteuid() == 0) continue;
    AtomicFile file(c.target);
    EXPECT_FALSE(file.create()) << c.target;
    EXPECT_EQ(file.error(), c.error) << c.target;
  }
  EXPECT_TRUE(fs::is_fifo("fifo.ps"));
  EXPECT_EQ(read_file("readonly.ps"), "kept");
  EXPECT_EQ(directory(), (std::set<std::string>{"dir.ps", "fifo.ps", "readonly.ps"}));
}

TEST(AtomicFile, AnInterruptRemovesEveryTemporaryFileBeingWritten) {
  testing::ScratchDir dir;
  write_file("plot.ps", "old plot");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    remove_temporaries_on_interrupt();
    AtomicFile plot("plot.ps");
    AtomicFile density("density.csv");
    if (plot.create() && density.create() && plot.write("half")) ::raise(SIGTERM);
    ::_exit(0);  // not reached when the interrupt ends the program
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(read_file("plot.ps"), "old plot");
  EXPECT_EQ(directory(), std::set<std::string>{"plot.ps"});
}

TEST(AtomicGroup, AllOrNone) {
  testing::ScratchDir dir;
  write_file("a.txt", "old a");
  write_file("b.txt", "old b");
  // One target that cannot be created: nothing is written.
  AtomicGroup failing;
  failing.add("a.txt");
  failing.add("nodir/b.txt");
  EXPECT_FALSE(failing.create());
  EXPECT_EQ(failing.failed_target(), "nodir/b.txt");
  // Written but not committed: the old files stay.
  {
    AtomicGroup unfinished;
    unfinished.add("a.txt");
    AtomicFile& b = unfinished.add("b.txt");
    ASSERT_TRUE(unfinished.create());
    ASSERT_TRUE(b.write("new b"));
  }
  EXPECT_EQ(read_file("a.txt"), "old a");
  EXPECT_EQ(read_file("b.txt"), "old b");
  AtomicGroup group;
  AtomicFile& a = group.add("a.txt");
  AtomicFile& b = group.add("b.txt");
  ASSERT_TRUE(group.create());
  ASSERT_TRUE(a.write("new a") && b.write("new b"));
  ASSERT_TRUE(group.commit()) << group.error();
  EXPECT_EQ(read_file("a.txt"), "new a");
  EXPECT_EQ(read_file("b.txt"), "new b");
  EXPECT_EQ(directory(), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST(AtomicFile, TheLongestNameTheDirectoryAllowsIsWritten) {
  testing::ScratchDir dir;
  const auto limit = static_cast<std::size_t>(::pathconf(".", _PC_NAME_MAX));
  for (const std::size_t length : {limit - 8, limit - 7, limit}) {
    const std::string name(length, 'n');
    std::string error;
    EXPECT_TRUE(replace_file(name, "text", &error)) << length << ": " << error;
    EXPECT_EQ(read_file(name), "text");
    fs::remove(name);
  }
  EXPECT_TRUE(directory().empty());
}

TEST(SameFile, NamesOfOneFile) {
  testing::ScratchDir dir;
  write_file("f.txt", "f");
  write_file("g.txt", "g");
  fs::create_hard_link("f.txt", "hard.txt");
  fs::create_symlink("f.txt", "soft.txt");
  fs::create_directory("sub");
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"f.txt", "f.txt", true},        {"f.txt", "./sub/../f.txt", true},
      {"f.txt", "hard.txt", true},     {"soft.txt", "f.txt", true},
      {"f.txt", "g.txt", false},       {"new.txt", "./new.txt", true},
      {"new.txt", "f.txt", false},     {"sub/new.txt", "new.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(same_file(c.a, c.b), c.same) << c.a << " " << c.b;
}

}  // namespace
}  // namespace polarsketch::files
