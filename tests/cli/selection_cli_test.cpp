// --where, --by and --label through cli::run: the rows kept and counted, a
// data set per value in the CSV and the legend, labels written and rendered.
#include <gtest/gtest.h>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::split_lines;
using testing::write_file;

// Four beds: dips 20, 40, 60, 80; a unit in two spellings and one missing;
// a thickness that is once not a number.
constexpr const char* kBeds =
    "dipdir,dip,unit,thick\n10,20,Shale,1.5\n30,40,sand,x\n50,60,shale,3\n70,80,,12\n";

TEST(SelectionCli, WhereKeepsTheRowsMeetingEveryCondition) {
  const struct {
    std::vector<std::string> where;
    int status;
    std::string said;  // on standard error
  } cases[] = {
      {{"unit=SHALE"}, 0, "kept 2 of 4 rows\n"},
      {{"unit!=shale"}, 0, "kept 2 of 4 rows\n"},  // the empty unit is not shale
      {{"unit="}, 0, "kept 1 of 4 rows\n"},
      {{"dip>=40"}, 0, "kept 3 of 4 rows\n"},
      {{"dip>=40", "dip<80"}, 0, "kept 2 of 4 rows\n"},
      {{"thick<5"}, 0, "kept 2 of 4 rows (1 not a number)\n"},
      {{"thick>0", "unit=shale"}, 0, "kept 2 of 4 rows (1 not a number)\n"},
      {{"dip>steep"}, 64, "which is not a number"},
      {{"dip"}, 64, "is not a condition"},
      {{"colour=red"}, 64, "--where: no file has a column 'colour'"},
  };
  ScratchDir dir;
  write_file("beds.csv", kBeds);
  for (const auto& c : cases) {
    std::vector<std::string> args{"stats"};
    for (const std::string& w : c.where) args.insert(args.end(), {"--where", w});
    args.push_back("beds.csv");
    const CliRun r = run_cli(args);
    EXPECT_EQ(r.status, c.status) << c.where[0] << ": " << r.err;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << c.where[0] << ": " << r.err;
  }
}

TEST(SelectionCli, ByGivesASetPerValueInTheCsvAndTheLegend) {
  ScratchDir dir;
  write_file("beds.csv", kBeds);
  const CliRun r = run_cli({"stats", "--csv", "--by", "unit", "beds.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = split_lines(r.out);
  ASSERT_EQ(lines.size(), 5u) << r.out;
  EXPECT_EQ(lines[0].rfind("file,group,kind,n,mean_trend,", 0), 0u);
  // Values are text as written: "Shale" and "shale" are two sets.
  const char* rows[] = {"beds.csv,Shale,planes,1,", "beds.csv,sand,planes,1,",
                        "beds.csv,shale,planes,1,", "beds.csv,(none),planes,1,"};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(lines[i + 1].rfind(rows[i], 0), 0u) << lines[i + 1];

  const CliRun p =
      run_cli({"plot", "--by", "unit", "--where", "dip<70", "-o", "beds.ps", "beds.csv"});
  ASSERT_EQ(p.status, 0) << p.err;
  const std::string ps = read_file("beds.ps");
  for (const char* entry : {"(Shale \\(1 plane\\)) show", "(sand \\(1 plane\\)) show"})
    EXPECT_NE(ps.find(entry), std::string::npos) << entry;
  EXPECT_EQ(ps.find("(none)"), std::string::npos);  // its one bed dips 80
  EXPECT_EQ(run_cli({"stats", "--by", "station", "beds.csv"}).status, 64);
}

TEST(SelectionCli, LabelsAreWrittenBesideTheirMeasurementsAndRender) {
  ScratchDir dir;
  write_file("lines.csv", "trend,plunge,station\n10,20,\"a(b)\\c\"\n100,50,B2\n");
  const CliRun r = run_cli({"plot", "--label", "station", "-o", "l.ps", "lines.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string ps = read_file("l.ps");
  for (const char* label : {"(a\\(b\\)\\\\c) show", "(B2) show"})
    EXPECT_NE(ps.find(label), std::string::npos) << label;
  EXPECT_RENDERS("l.ps", 2);
  EXPECT_EQ(run_cli({"plot", "--label", "unit", "-o", "m.ps", "lines.csv"}).status, 64);
  // An orientation field labels with its number.
  ASSERT_EQ(run_cli({"plot", "--label", "plunge", "-o", "p.ps", "lines.csv"}).status, 0);
  EXPECT_NE(read_file("p.ps").find("(50) show"), std::string::npos);
}

}  // namespace
}  // namespace polarsketch::cli
