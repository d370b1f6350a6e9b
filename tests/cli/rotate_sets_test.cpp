// `polarsketch rotate` and `polarsketch sets`: the file written reads back
// with every column, steps in the order given, sets numbered by size and the
// same every run, and what does not fit refused before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

const std::string kSlips =
    "dipdir,dip,rake,sense,station\n90,60,-90,N,\"a, east\"\n90,60,30,U,b\n0,80,180,,c\n";

// Two measurement files alike: the same texts, numbers within 0.001 (an
// azimuth also across 0/360).
void expect_same_file(std::string got, std::string want) {
  std::replace(got.begin(), got.end(), '\n', ',');
  std::replace(want.begin(), want.end(), '\n', ',');
  std::istringstream a(got), b(want);
  std::string x, y;
  while (std::getline(a, x, ',') && std::getline(b, y, ',')) {
    char* end_x = nullptr;
    char* end_y = nullptr;
    const double u = std::strtod(x.c_str(), &end_x), v = std::strtod(y.c_str(), &end_y);
    if (x.empty() || *end_x != '\0' || y.empty() || *end_y != '\0')
      EXPECT_EQ(x, y) << got;
    else
      EXPECT_NEAR(std::remainder(u - v, 360.0), 0.0, 1e-3) << got;
  }
  EXPECT_TRUE(a.eof() && !std::getline(b, y, ',')) << got;
}

TEST(RotateCommand, OutputReadsBackAndRotatesBackToTheInput) {
  testing::ScratchDir dir;
  const struct {
    const char* data;
  } cases[] = {{"dipdir,dip,label\n90,30,x\n200,75,y\n"},
               {"trend,plunge,note\n10,20,\"q \"\"1\"\"\"\n300,85,\n"},
               {kSlips.c_str()}};
  for (const auto& c : cases) {
    testing::write_file("in.csv", c.data);
    const CliRun there = run_cli({"rotate", "--axis", "030/40", "--angle", "70", "--unfold",
                                  "100/20", "-o", "out.csv", "in.csv"});
    ASSERT_EQ(there.status, 0) << there.err;
    const CliRun back = run_cli({"rotate", "--unfold", "280/20", "--axis", "030/40", "--angle",
                                 "-70", "out.csv"});
    ASSERT_EQ(back.status, 0) << back.err;
    // Through the reader, the same as the input written by the writer.
    const CliRun same = run_cli({"rotate", "--axis", "0/90", "--angle", "0", "in.csv"});
    expect_same_file(back.out, same.out);
    EXPECT_NE(testing::read_file("out.csv"), same.out);
  }
}

TEST(RotateCommand, UnfoldingLevelsTheBedAndSaysTheNetRotation) {
  const CliRun r = run_cli({"rotate", "--unfold", "090/30", "-"}, "dipdir,dip\n90,30\n90,60\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "dipdir,dip\n0,0\n90,30\n");
  EXPECT_NE(r.err.find("30.00 degrees about 180.0/00.0"), std::string::npos) << r.err;
  const CliRun v = run_cli({"rotate", "--axis", "0/90", "--angle=-30", "-"}, "trend,plunge\n0,0\n");
  EXPECT_EQ(v.out, "trend,plunge\n330,0\n");
  EXPECT_NE(v.err.find("-30.00 degrees about 000.0/90.0"), std::string::npos) << v.err;
}

TEST(RotateCommand, OptionsThatDoNotFitAreWrongUsage) {
  testing::ScratchDir dir;
  testing::write_file("p.csv", "dipdir,dip\n90,30\n");
  testing::write_file("l.csv", "trend,plunge\n90,30\n");
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"rotate", "p.csv"}, 64},                                  // no step
      {{"rotate", "--angle", "10", "p.csv"}, 64},                 // no axis
      {{"rotate", "--axis", "0/90", "p.csv"}, 64},                // no angle
      {{"rotate", "--axis", "0/90", "--unfold", "0/10", "--angle", "5", "p.csv"}, 64},
      {{"rotate", "--axis", "0/95", "--angle", "5", "p.csv"}, 64},
      {{"rotate", "--unfold", "0/10", "-o", "p.csv", "p.csv"}, 64},  // input overwritten
      {{"rotate", "--unfold", "0/10", "p.csv", "l.csv"}, 65},        // two kinds, one file
      {{"sets", "p.csv"}, 64},                                       // no --k
      {{"sets", "--k", "2", "--seed", "0/10", "p.csv"}, 64},         // one seed short
      {{"sets", "--k", "2", "p.csv"}, 65},                           // fewer data than sets
      {{"sets", "--k", "1", "-o", "l.csv", "l.csv"}, 64},
  };
  for (const auto& c : cases) {
    const CliRun r = run_cli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[1] << " " << c.args[2] << ": " << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(testing::read_file("p.csv"), "dipdir,dip\n90,30\n");
}

TEST(SetsCommand, SplitsAcrossThePrimitiveNumbersBySizeAndIsRepeatable) {
  // Three joint sets: steep E-W strikes straddling the primitive (poles near
  // 000/00 and 180/00), steep N-S (poles near 090/05), and flat joints.
  const std::string data =
      "dipdir,dip,id\n"
      "180,88,1\n0,87,2\n182,86,3\n358,89,4\n"
      "270,85,5\n272,83,6\n268,86,7\n"
      "10,5,8\n200,3,9\n";
  const CliRun r = run_cli({"sets", "--k", "3", "-"}, data);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "dipdir,dip,id,set\n180,88,1,1\n0,87,2,1\n182,86,3,1\n358,89,4,1\n"
            "270,85,5,2\n272,83,6,2\n268,86,7,2\n10,5,8,3\n200,3,9,3\n");
  EXPECT_EQ(run_cli({"sets", "--k", "3", "-"}, data).out, r.out);
  // Seeds given in another order give the same sets, still numbered by size.
  const CliRun seeded =
      run_cli({"sets", "--k", "3", "--seed", "0/90", "--seed", "90/0", "--seed", "0/0", "-"}, data);
  EXPECT_EQ(seeded.out, r.out) << seeded.err;
}

}  // namespace
}  // namespace polarsketch::cli
