// Sessions with extreme or malformed answers: the program must end in time,
// with a known status, and leave complete plot files behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "e2e/session.hpp"

namespace polarsketch::e2e {
namespace {

// Answers to the plot opening: keep the driver settings, keep the file name.
const std::string kOpen = "\n\n";

// Empty lines for the pauses of the warnings a session may show; at the main
// menu they are passed over.
std::string returns(int n) { return std::string(static_cast<std::size_t>(n), '\n'); }

std::string file_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::size_t count_of(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

bool ends_with_trailer(const std::string& text) {
  return text.size() >= 6 && text.substr(text.size() - 6) == "%%EOF\n";
}

// Runs the limited net with the given dip bounds and great-circle increment,
// then closes and quits; returns the number of paths in the plot file and
// the console text.
struct LimitedNet {
  std::size_t paths = 0;
  std::string console;
};
LimitedNet limited_net(const std::string& d1, const std::string& d2, const std::string& idg) {
  const SessionResult r = run_session("\n71\n" + d1 + "\n" + d2 + "\n70\n" + idg + "\n603\n" +
                                      kOpen + returns(100) + "20\n\n9999\n");
  EXPECT_EQ(r.status, 0) << "in " << r.directory;
  const std::string ps = file_text(r.directory / "polar_sketch.ps");
  EXPECT_TRUE(ends_with_trailer(ps));
  return {count_of(ps, "newpath"), r.output};
}

TEST(Robustness, LimitedNetDrawsItsLoopUpTo10000CirclesAndEachDistinctOneAbove) {
  // Dips a whole turn apart give the same circle. Up to 10,000 circles the
  // loop is drawn as asked; above, one turn of 360 steps and its closing
  // circle are drawn, not four thousand million circles, and the program
  // says so. An increment that runs away from d2 draws no great circle and
  // gives the other paths.
  struct Case {
    const char *d1, *d2, *idg;
    std::size_t circles;
    const char* asked;  // the count the warning shows, or none
  };
  const Case cases[] = {{"0", "720", "5", 145, nullptr},
                        {"0", "9999", "1", 10000, nullptr},
                        {"0", "10000", "1", 361, "      10001"},
                        {"-3e38", "3e38", "1", 361, " 4294967296"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.d1) + " " + c.d2);
    const LimitedNet with = limited_net(c.d1, c.d2, c.idg);
    const LimitedNet without = limited_net(c.d1, c.d2, "-1");
    EXPECT_EQ(with.paths - without.paths, c.circles);
    const std::string once = " ===> EACH DISTINCT GREAT CIRCLE DRAWN ONCE\n";
    if (c.asked != nullptr) {
      EXPECT_NE(with.console.find(std::string(" great circles asked for = ") + c.asked + "\n" +
                                  " great circles drawn     =         361\n" + once),
                std::string::npos);
    } else {
      EXPECT_EQ(with.console.find(once), std::string::npos);
    }
    EXPECT_EQ(without.console.find(once), std::string::npos);
  }
}

// Runs the program on `script` in a fresh directory with its console output
// going into a pipe that nobody reads any more, as when the output is piped
// into a reader that has already ended. Returns the wait status (-1 when the
// run had to be killed after 30 s) and the directory.
int run_with_vanished_console(const std::string& script, std::filesystem::path& dir) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "polarsketch_rob_XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) return -1;
  dir = tmpl;
  std::ofstream(dir / "input.txt", std::ios::binary) << script;
  int fds[2];
  if (pipe(fds) != 0) return -1;
  close(fds[0]);
  const pid_t pid = fork();
  if (pid == 0) {
    // The default action, whatever the test runner does with the signal.
    signal(SIGPIPE, SIG_DFL);
    const int in = open((dir / "input.txt").c_str(), O_RDONLY);
    if (in < 0 || chdir(dir.c_str()) != 0) _exit(126);
    dup2(in, 0);
    dup2(fds[1], 1);
    execl(POLARSKETCH_BINARY, POLARSKETCH_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  int status = 0;
  for (int i = 0; i < 3000; ++i) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

TEST(Robustness, ConsoleThatGoesAwayDoesNotCutThePlotFileShort) {
  std::filesystem::path dir;
  const int status = run_with_vanished_console("\n600\n" + kOpen + "601\n20\n\n9999\n", dir);
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status << " in " << dir;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string ps = file_text(dir / "polar_sketch.ps");
  EXPECT_TRUE(ends_with_trailer(ps)) << "in " << dir;
  EXPECT_GT(count_of(ps, "newpath"), 100u);
  if (!::testing::Test::HasFailure()) std::filesystem::remove_all(dir);
}

// Starts the program in a fresh directory with its standard input on a pipe
// that stays open (a user who has not typed the next line yet) and its output
// in a file. Writes `typed` to the pipe.
struct LiveRun {
  pid_t pid = -1;
  int input = -1;
  std::filesystem::path dir;
};

LiveRun start_live(const std::string& typed) {
  LiveRun r;
  std::string tmpl = (std::filesystem::temp_directory_path() / "polarsketch_int_XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) return r;
  r.dir = tmpl;
  int fds[2];
  if (pipe(fds) != 0) return r;
  r.pid = fork();
  if (r.pid == 0) {
    const int out = open((r.dir / "console.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || chdir(r.dir.c_str()) != 0) _exit(126);
    dup2(fds[0], 0);
    dup2(out, 1);
    close(fds[1]);
    execl(POLARSKETCH_BINARY, POLARSKETCH_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[0]);
  r.input = fds[1];
  if (write(r.input, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
    close(r.input);
    r.input = -1;
  }
  return r;
}

// Waits until the console text holds `what` `times` times (at most 20 s).
bool wait_for_console(const LiveRun& r, const std::string& what, std::size_t times) {
  for (int i = 0; i < 2000; ++i) {
    if (count_of(file_text(r.dir / "console.txt"), what) >= times) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

int wait_exit(pid_t pid) {
  int status = 0;
  for (int i = 0; i < 2000; ++i) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

TEST(Robustness, InterruptWhileWaitingAtTheMenuCompletesThePlotFile) {
  // The plot is opened and a plane drawn; the program then waits at the main
  // menu for a line that never comes, and is interrupted there.
  for (int sig : {SIGINT, SIGTERM}) {
    LiveRun r = start_live("\n200\n" + kOpen);
    ASSERT_GT(r.pid, 0);
    ASSERT_GE(r.input, 0);
    ASSERT_TRUE(wait_for_console(r, "Enter your choice", 2)) << "in " << r.dir;
    ASSERT_EQ(kill(r.pid, sig), 0);
    const int status = wait_exit(r.pid);
    close(r.input);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status << " in " << r.dir;
    EXPECT_EQ(WEXITSTATUS(status), 3);
    const std::string console = file_text(r.dir / "console.txt");
    EXPECT_NE(console.find(" ===> INTERRUPTED: STOPPING EXECUTION\n"), std::string::npos);
    const std::string ps = file_text(r.dir / "polar_sketch.ps");
    EXPECT_TRUE(ends_with_trailer(ps)) << "in " << r.dir;
    EXPECT_GT(count_of(ps, "newpath"), 1u);
    if (!::testing::Test::HasFailure()) std::filesystem::remove_all(r.dir);
  }
}

}  // namespace
}  // namespace polarsketch::e2e
