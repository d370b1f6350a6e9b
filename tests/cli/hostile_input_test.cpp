// The command line under hostile arguments and inputs: no run writes over
// its inputs or keeps half of its outputs, values at the ends of the
// accepted ranges give finite output, and a file read short is never taken
// for the whole file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.hpp"
#include "console/units.hpp"
#include "postscript/ps_test_support.hpp"
#include "postscript/writer.hpp"
#include "render/cairo_device.hpp"

namespace polarsketch::cli {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

const std::string kPlanes = "dipdir,dip\n30,40\n120,60\n200,15\n";

// The names in the current directory.
std::vector<std::string> listing() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(".")) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(HostileArguments, OutputsThatWouldLoseDataAreUsageErrors) {
  ScratchDir dir;
  write_file("site.ps", kPlanes);
  write_file("more.csv", kPlanes);
  fs::create_hard_link("more.csv", "hard.ps");
  fs::create_symlink("more.csv", "soft.ps");
  const std::vector<std::vector<std::string>> cases = {
      {"plot", "--output=", "site.ps", "more.csv"},  // an unset variable in a script
      {"plot", "-o", "", "site.ps", "more.csv"},
      {"plot", "--contour", "--density-out", "", "more.csv"},
      {"plot", "--contour", "--density-out=", "site.ps", "more.csv"},
      {"plot", "-o", "hard.ps", "more.csv"},  // one file by two names
      {"plot", "-o", "soft.ps", "more.csv"},
      {"plot", "-o", "x.ps", "--contour", "--density-out", "./hard.ps", "more.csv"},
      {"plot", "--contour", "--sigma", "1e-300", "more.csv"},  // weights beyond a double
      {"plot", "--contour", "--sigma", "0.0009", "more.csv"},
      {"rose", "--output=", "site.ps", "more.csv"},
      {"kinematics", "--slope", "120/65", "--csv=", "site.ps", "more.csv"},
      {"faults", "--result-csv", "", "more.csv"},
      {"rotate", "--axis", "0/90", "--angle", "10", "-o", "", "more.csv"},
  };
  const std::vector<std::string> before = listing();
  for (const auto& args : cases) {
    const CliRun r = run_cli(args);
    EXPECT_EQ(r.status, 64) << args[2] << " " << args[3] << ": " << r.err;
    EXPECT_NE(r.err.find("polarsketch " + args[0] + ": "), std::string::npos) << r.err;
  }
  EXPECT_EQ(read_file("site.ps"), kPlanes);
  EXPECT_EQ(read_file("more.csv"), kPlanes);
  EXPECT_EQ(listing(), before);
}

TEST(HostileArguments, LevelsUpToTheStatedLimit) {
  ScratchDir dir;
  write_file("d.csv", kPlanes);
  const auto list = [](int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) text += (i > 1 ? "," : "") + std::to_string(i);
    return text;
  };
  EXPECT_EQ(run_cli({"plot", "--contour", "--levels", list(1000), "d.csv"}).status, 0);
  const CliRun r = run_cli({"plot", "--contour", "--levels", list(1001), "d.csv"});
  EXPECT_EQ(r.status, 64);
  EXPECT_EQ(r.err, "polarsketch plot: --levels: 1001 levels; at most 1000 are drawn (see "
                   "'polarsketch plot --help')\n");
  EXPECT_NE(run_cli({"plot", "--help"}).out.find("at most 1000 levels"), std::string::npos);
}

TEST(HostileArguments, ExtremeSigmaGivesFiniteDensities) {
  ScratchDir dir;
  write_file("d.csv", kPlanes);
  for (const char* method : {"exp-kamb", "kamb", "linear-kamb"})
    for (const char* sigma : {"0.001", "1000"}) {
      const CliRun r = run_cli({"plot", "--contour", method, "--sigma", sigma, "--units", "sigma",
                                "--density-out", "g.csv", "d.csv"});
      ASSERT_EQ(r.status, 0) << method << " " << sigma << ": " << r.err;
      const std::string csv = read_file("g.csv");
      EXPECT_EQ(csv.find("nan"), std::string::npos) << method << " " << sigma;
      EXPECT_EQ(csv.find("inf"), std::string::npos) << method << " " << sigma;
    }
}

TEST(HostileArguments, AFailedOutputLeavesEveryOutputAsItWas) {
  ScratchDir dir;
  write_file("d.csv", kPlanes);
  for (const char* plot : {"old.ps", "old.pdf"}) {
    write_file(plot, "older");
    write_file("dens.csv", "older");
    for (const std::vector<std::string>& outputs :
         {std::vector<std::string>{"-o", plot, "--density-out", "nodir/d.csv"},
          {"-o", std::string("nodir/") + plot, "--density-out", "dens.csv"}}) {
      std::vector<std::string> args{"plot", "--contour", "d.csv"};
      args.insert(args.end(), outputs.begin(), outputs.end());
      const CliRun r = run_cli(args);
      EXPECT_EQ(r.status, 73) << r.err;
      EXPECT_NE(r.err.find("cannot write 'nodir/"), std::string::npos) << r.err;
      EXPECT_EQ(read_file(plot), "older");
      EXPECT_EQ(read_file("dens.csv"), "older");
    }
    fs::remove(plot);
    fs::remove("dens.csv");
  }
  EXPECT_EQ(listing(), std::vector<std::string>{"d.csv"});  // no temporary file left
}

TEST(HostileArguments, TheLongestNameTheSystemAllowsIsWritten) {
  ScratchDir dir;
  write_file("d.csv", kPlanes);
  const long limit = ::pathconf(".", _PC_NAME_MAX);
  const std::string name = std::string(static_cast<std::size_t>(limit) - 3, 'x') + ".ps";
  const CliRun r = run_cli({"plot", "-o", name, "d.csv"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_regular_file(name));
  EXPECT_EQ(listing().size(), 2u);
}

TEST(HostileInputs, AFailedReadIsNeverTheEndOfTheFile) {
  // A read error of the system, and a device without end whose first line
  // never ends.
  const CliRun io = run_cli({"stats", "/proc/self/mem"});
  EXPECT_EQ(io.status, 66);
  EXPECT_EQ(io.err, "polarsketch: cannot read '/proc/self/mem': Input/output error\n");
  const CliRun zero = run_cli({"stats", "/dev/zero"});
  EXPECT_EQ(zero.status, 65);
  EXPECT_EQ(zero.err.rfind("/dev/zero:1: a line longer than 64 MiB", 0), 0u) << zero.err;
}

// The program run by the shell with `limits` set first; status, stdout, stderr.
CliRun run_limited(const std::string& limits, const std::string& args) {
  const std::string command = "cd '" + fs::current_path().string() + "' && (" + limits +
                              "; exec '" + POLARSKETCH_BINARY + "' " + args +
                              " >out.txt 2>err.txt)";
  CliRun r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = read_file("out.txt");
  r.err = read_file("err.txt");
  return r;
}

TEST(HostileArguments, StandardInputsFileIsNotAnOutput) {
  ScratchDir dir;
  write_file("site.ps", kPlanes);
  for (const char* args : {"plot -o site.ps - <site.ps",
                           "plot --contour --density-out site.ps - <site.ps",
                           "rose -o site.ps - <site.ps",
                           "kinematics --slope 120/65 --csv site.ps - <site.ps",
                           "rotate --axis 0/90 --angle 10 -o site.ps - <site.ps"}) {
    const CliRun r = run_limited(":", args);
    EXPECT_EQ(r.status, 64) << args << ": " << r.err;
    EXPECT_NE(r.err.find("standard input reads"), std::string::npos) << r.err;
  }
  EXPECT_EQ(read_file("site.ps"), kPlanes);
}

#if defined(__SANITIZE_ADDRESS__)
#define POLARSKETCH_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define POLARSKETCH_ASAN 1
#endif
#endif

TEST(HostileInputs, AnAddressSpaceLimitNeverShortensTheData) {
#ifdef POLARSKETCH_ASAN
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
#endif
  ScratchDir dir;
  // 20 measurements among 64 MB of comments, under a 48 MB limit: the file
  // is read in pieces, so all 20 count.
  {
    std::ofstream f("big.csv", std::ios::binary);
    f << "dipdir,dip\n";
    const std::string comment = "# " + std::string(3200000, 'c') + "\n";
    for (int i = 0; i < 20; ++i) f << i * 15 << "," << 10 + i * 3 << "\n" << comment;
    // One label line of 40 MB: it needs the memory the limit denies.
    std::ofstream g("long.csv", std::ios::binary);
    g << "dipdir,dip,label\n30,40," << std::string(40 << 20, 'x') << "\n";
  }
  const std::string limit = "ulimit -v 49152";
  for (const char* input : {"big.csv", "- <big.csv"}) {
    const CliRun r = run_limited(limit, std::string("stats --csv ") + input);
    if (r.status == 0) {
      EXPECT_NE(r.out.find(",planes,20,"), std::string::npos) << r.out;
    } else {  // never fewer than 20 with success
      EXPECT_EQ(r.status, 70) << r.err;
      EXPECT_NE(r.err.find("out of memory"), std::string::npos) << r.err;
    }
  }
  const CliRun r = run_limited(limit, "stats long.csv");
  EXPECT_EQ(r.status, 70);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "polarsketch: cannot read 'long.csv': out of memory while reading it\n");
  fs::remove("big.csv");
  fs::remove("long.csv");
}

TEST(HostileOutputs, AFailedWriteNamesTheFileGivenNotItsTemporaryFile) {
  ScratchDir dir;
  write_file("d.csv", kPlanes);
  write_file("old.ps", "older");
  const CliRun r = run_limited("ulimit -f 4", "plot --net 1 -o old.ps d.csv");
  EXPECT_EQ(r.status, 73) << r.err;
  EXPECT_NE(r.err.find("'old.ps'"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(".old.ps."), std::string::npos) << r.err;
  EXPECT_EQ(read_file("old.ps"), "older");
}

TEST(HostileOutputs, TheWritersCountNumbersThatAreNotFinite) {
  render::CairoDevice figure;
  const std::size_t before = render::non_finite_coordinates();
  figure.begin_page(1, render::Orientation::portrait);
  const std::vector<render::Point> line{{1, 2}, {std::nan(""), 3}, {4, HUGE_VAL}};
  figure.polyline(line, {});
  figure.end_page();
  EXPECT_EQ(render::non_finite_coordinates() - before, 2u);

  std::ostringstream sink;
  console::bind_output(98, sink);
  postscript::PlotWriter w;
  w.start(98, "t.ps");
  w.put_real2(1.5f).put_real2(std::numeric_limits<float>::quiet_NaN());
  w.point_line(std::numeric_limits<float>::infinity(), 0.0f, "L");
  EXPECT_EQ(w.non_finite_count(), 2u);
  w.reset();
  console::reset_units();
}

}  // namespace
}  // namespace polarsketch::cli
