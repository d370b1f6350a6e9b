// The command line through cli::run: exit statuses, help and version, the
// error report, --skip-bad, and no partial output file on failure.
#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::split_lines;
using testing::write_file;

const std::string kPlanes = "dipdir,dip\n120,30\n300,60\n";

TEST(Cli, ExitStatusOfEachOutcomeWithOneLineNamingTheFault) {
  ScratchDir dir;
  write_file("planes.csv", kPlanes);
  write_file("bad.csv", "dipdir,dip\n120,95\n");
  write_file("bare.csv", "120,30\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string named;  // must appear in the single stderr line
  };
  const std::vector<Case> cases = {
      {{"plot", "planes.csv"}, 0, ""},
      {{"--bogus"}, 64, "--bogus"},
      {{"frobnicate", "planes.csv"}, 64, "frobnicate"},
      {{"plot"}, 64, "FILE"},
      {{"plot", "--dialect", "4", "planes.csv"}, 64, "--dialect"},
      {{"plot", "--net", "10.5", "planes.csv"}, 64, "--net: 10.5 is not a whole number"},
      {{"stats", "--columns", "dipdr,dip", "planes.csv"}, 64, "--columns: unknown column 'dipdr'"},
      {{"plot", "--columns", "dipdir,strike", "planes.csv"}, 64, "--columns: a dip direction"},
      {{"stats", "--columns", "dipdir,dip", "bare.csv", "bare.csv"}, 0, ""},
      {{"stats", "planes.csv", "--", "planes.csv"}, 0, ""},  // files after "--" too
      {{"plot", "planes.csv", "stats"}, 66, "'stats'"},      // a file, not the other command
      {{"plot", "--net", "090", "planes.csv"}, 0, ""},       // decimal, not octal
      {{"stats", "-", "planes.csv", "-"}, 64, "'-' (standard input) is given more than once"},
      {{"plot", "--projection", "mercator", "planes.csv"}, 64, "mercator"},
      {{"plot", "--view", "090/91", "planes.csv"}, 64, "--view '090/91'"},
      {{"plot", "--view", "east/30", "planes.csv"}, 64, "--view 'east/30'"},
      {{"plot", "--view", "090/30", "--slope", "120/60", "planes.csv"}, 64, "--slope"},
      {{"plot", "--view", "360/90", "--slope", "120/60", "planes.csv"}, 0, ""},
      {{"--page", "plot", "planes.csv"}, 64, "'--page' goes after a command: polarsketch plot"},
      {{"plot", "-o", "out.gif", "planes.csv"}, 64, ".gif"},
      {{"stats", "missing.csv"}, 66, "missing.csv"},
      {{"plot", "-o", "no/such/dir/out.ps", "planes.csv"}, 73, "no/such/dir/out.ps"},
      {{"plot", "-o", "no/such/dir/out.pdf", "planes.csv"}, 73, "no/such/dir/out.pdf"},
  };
  for (const Case& c : cases) {
    const CliRun r = run_cli(c.args);
    SCOPED_TRACE(c.args.front());
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 0) {
      EXPECT_EQ(r.err, "");
      continue;
    }
    ASSERT_EQ(split_lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    if (c.status == 64) {
      EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    }
  }
  EXPECT_TRUE(std::filesystem::exists("planes.ps"));
  EXPECT_EQ(run_cli({"plot", "bad.csv"}).status, 65);
  // Nothing is left behind by the failures: no plot and no temporary file.
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    left.push_back(e.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"bad.csv", "bare.csv", "planes.csv", "planes.ps"}));
}

TEST(Cli, UsageErrorsNameTheOptionAndTheFaultInPlainWords) {
  ScratchDir dir;
  write_file("l.csv", "trend,plunge\n10,20\n");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"plot", "l.csv", "-o", "a.ps", "--output", "b.ps"}, "-o/--output is given more than once"},
      {{"--also"}, "--also needs a value, e.g. pdf,svg,png"},
      {{"plot", "l.csv", "--sigma"}, "--sigma needs a value"},
      {{"plot", "l.csv", "--planes"}, "--planes needs a value: one of both, great-circles, poles"},
      {{"plot", "l.csv", "--contour", "--density-out", "--hide-data"},
       "--density-out needs a value"},
      {{"plot", "--bogus"}, "unknown option '--bogus'"},  // before the missing FILE
      {{"stats", "l.csv", "--dpi", "3"}, "'--dpi' is not an option of stats"},
      {{"plot", "l.csv", "--also", "pdf"}, "'--also' is not an option of plot"},
      {{"--page"}, "'--page' goes after a command: polarsketch plot --page ..."},
      {{"--net", "10"}, "'--net' goes after a command: polarsketch plot --net ..."},
      {{"stats", "l.csv", "--csv=x"}, "--csv takes no value"},
      {{"stats"}, "no FILE given"},
      {{"plot", "l.csv", "--dialect", "5"}, "--dialect: 5 is not in the range 1 to 3"},
      {{"plot", "l.csv", "--landscape", "legal"}, "--landscape: 'legal' is not one of a4, letter"},
  };
  for (const auto& [args, says] : cases) {
    const CliRun r = run_cli(args);
    const std::string form =
        args.front() == "plot" || args.front() == "stats" ? " " + args.front() : "";
    EXPECT_EQ(r.status, 64) << says;
    EXPECT_EQ(r.err,
              "polarsketch" + form + ": " + says + " (see 'polarsketch" + form + " --help')\n");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);  // l.csv alone
}

TEST(Cli, AFailedRunLeavesTheOldPlotFileAndNeverReplacesADevice) {
  ScratchDir dir;
  write_file("planes.csv", "dipdir,dip\n120,95\n");
  write_file("planes.ps", "old plot");
  EXPECT_EQ(run_cli({"plot", "planes.csv"}).status, 65);
  EXPECT_EQ(read_file("planes.ps"), "old plot");
  write_file("good.csv", kPlanes);
  std::filesystem::create_directory("dir.ps");
  const CliRun r = run_cli({"plot", "-o", "dir.ps", "good.csv"});
  EXPECT_EQ(r.status, 73);
  EXPECT_NE(r.err.find("'dir.ps': it is not a regular file"), std::string::npos) << r.err;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 4);
}

TEST(Cli, VersionAndHelpOfEveryForm) {
  const CliRun v = run_cli({"--version"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, "polarsketch 11.3\n");
  const CliRun h = run_cli({"--help"});
  EXPECT_EQ(h.status, 0);
  for (const char* form :
       {"polarsketch plot [OPTIONS] FILE...", "polarsketch stats [OPTIONS] FILE...", "--version",
        "-h | --help", "Exit statuses"}) {
    EXPECT_NE(h.out.find(form), std::string::npos) << form;
  }
  const CliRun ph = run_cli({"plot", "--help"});
  EXPECT_EQ(ph.status, 0);
  EXPECT_NE(ph.out.find("Usage: polarsketch plot [OPTIONS] FILE..."), std::string::npos) << ph.out;
  for (const char* option :
       {"--output", "--dialect", "--landscape", "--projection", "--net", "--polar-net", "--planes",
        "--hemisphere", "--run-info", "--columns", "--skip-bad", "Examples"}) {
    EXPECT_NE(ph.out.find(option), std::string::npos) << option;
  }
  const CliRun sh = run_cli({"stats", "--help"});
  EXPECT_EQ(sh.status, 0);
  EXPECT_NE(sh.out.find("Usage: polarsketch stats [OPTIONS] FILE..."), std::string::npos);
  EXPECT_NE(sh.out.find("--skip-bad"), std::string::npos);
  EXPECT_EQ(sh.out.find("--projection"), std::string::npos);
}

TEST(Cli, AnUnwritableStandardOutputIsAFailure) {
  std::ostream out(nullptr);  // every write fails
  std::ostringstream err;
  std::istringstream in;
  EXPECT_EQ(run({"--version"}, out, err, in), 73);
  EXPECT_EQ(err.str(), "polarsketch: cannot write standard output\n");
}

TEST(Cli, BadLinesAreListedUpToTwentyThenCountedOrSkipped) {
  ScratchDir dir;
  std::string text = "dipdir,dip\n";
  for (int i = 0; i < 25; ++i) text += "120,9" + std::to_string(i % 9 + 1) + "\n";
  text += "130,40\n";
  write_file("many.csv", text);

  const CliRun r = run_cli({"plot", "many.csv"});
  EXPECT_EQ(r.status, 65);
  const std::vector<std::string> lines = split_lines(r.err);
  ASSERT_EQ(lines.size(), 21u) << r.err;
  EXPECT_EQ(lines[0].rfind("many.csv:2:5: '91': ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[19].rfind("many.csv:21:5: ", 0), 0u) << lines[19];
  EXPECT_NE(lines[20].find("25 errors"), std::string::npos) << lines[20];
  EXPECT_FALSE(std::filesystem::exists("many.ps"));

  const CliRun s = run_cli({"plot", "--skip-bad", "many.csv"});
  EXPECT_EQ(s.status, 0) << s.err;
  ASSERT_EQ(split_lines(s.err).size(), 1u) << s.err;
  EXPECT_NE(s.err.find("skipped 25 bad lines"), std::string::npos) << s.err;
  EXPECT_TRUE(std::filesystem::exists("many.ps"));
}

TEST(Cli, StatsNamesEachDataSetItsKindCountAndNotation) {
  ScratchDir dir;
  write_file("bedding.csv", "strike,dip\n30,20\n40,25\n50,30\n");
  const CliRun r = run_cli({"stats", "bedding.csv", "-"}, "trend,plunge\n10,20\n");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = split_lines(r.out);
  // planes, a blank line, one line (each with the two Bingham rows)
  ASSERT_EQ(lines.size(), 15u + 1u + 13u) << r.out;
  EXPECT_EQ(lines[0],
            "bedding.csv: 3 planes (strike,dip (right-hand rule)), statistics of the poles");
  EXPECT_EQ(lines[16], "standard input: 1 line (trend,plunge), statistics of the lines");
  EXPECT_EQ(lines[17], "  mean trend / plunge   10.00 / 20.00");
  EXPECT_EQ(lines[19], "  Fisher k              -");  // undefined for one line
}

}  // namespace
}  // namespace polarsketch::cli
