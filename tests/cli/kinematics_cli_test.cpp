// `polarsketch kinematics` through cli::run: the report's counts and
// denominators, the CSV of critical items with their labels, a slope no
// steeper than friction, and the options and data it refuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

// Slope 090/60, friction 30: 090/40 slides (planar, inside the limits),
// 120/40 slides outside them (secondary); 090/40 twice is a parallel pair;
// 270/70 topples (flexural).
constexpr const char* kSurvey = "dipdir,dip\n90,40\n120,40\n90,40\n270,70\n";

TEST(KinematicsCli, ReportsCountsPercentagesAndDenominators) {
  ScratchDir dir;
  write_file("s.csv", kSurvey);
  const CliRun r = run_cli({"kinematics", "--slope", "90/60", "--csv", "c.csv", "s.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("planar: 2 of 4 planes critical (50.0 %); secondary, outside the lateral "
                       "limits: 1 (25.0 %)"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("of 5 pairs critical"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1 parallel pair left out"), std::string::npos);
  EXPECT_NE(r.out.find("flexural: 1 of 4 planes critical (25.0 %)"), std::string::npos);
  EXPECT_NE(r.out.find("straight"), std::string::npos);
  // Labels are line numbers without a label column; the items are poles.
  const std::string csv = read_file("c.csv");
  EXPECT_EQ(csv.rfind("mode,zone,label_a,label_b,trend,plunge\n"
                      "planar,primary,2,,270.00,50.00\n"
                      "planar,secondary,3,,300.00,50.00\n"
                      "planar,primary,4,,270.00,50.00\n",
                      0),
            0u)
      << csv;
  EXPECT_NE(csv.find("flexural,primary,5,,90.00,20.00\n"), std::string::npos) << csv;
  // The label column, quoted in the CSV; curved limits named.
  write_file("l.csv", "label,dipdir,dip\n\"a,1\",115,35\n");
  const CliRun c =
      run_cli({"kinematics", "--slope", "90/75", "--limits", "curved", "--csv", "c.csv", "l.csv"});
  EXPECT_NE(c.out.find("curved"), std::string::npos);
  EXPECT_NE(read_file("c.csv").find("planar,primary,\"a,1\",,295.00,55.00"), std::string::npos);
}

TEST(KinematicsCli, ASlopeNoSteeperThanFrictionSaysSoInsteadOfPercentages) {
  ScratchDir dir;
  write_file("s.csv", kSurvey);
  const CliRun r = run_cli({"kinematics", "--slope", "90/30", "--friction", "30", "s.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("planar: no planar or wedge zone"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("wedge: no planar or wedge zone"), std::string::npos);
}

TEST(KinematicsCli, RefusesBadOptionsAndData) {
  ScratchDir dir;
  write_file("s.csv", kSurvey);
  write_file("l.csv", "trend,plunge\n10,20\n");
  write_file("bad.csv", "dipdir,dip\n90,x\n");
  struct Case {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"kinematics", "s.csv"}, 64},
      {{"kinematics", "--slope", "90", "s.csv"}, 64},
      {{"kinematics", "--slope", "a/60", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/0", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/91", "s.csv"}, 64},
      {{"kinematics", "--slope", "400/60", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/60", "--friction", "90", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/60", "--lateral", "-1", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/60", "--limits", "round", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/60", "--csv", "s.csv", "s.csv"}, 64},
      {{"kinematics", "--slope", "90/60", "l.csv"}, 65},
      {{"kinematics", "--slope", "90/60", "bad.csv"}, 65},
      {{"kinematics", "--slope", "90/60", "none.csv"}, 66},
  };
  for (const Case& c : cases) {
    const CliRun r = run_cli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[2] << " " << r.err;
    EXPECT_NE(r.err, "");
  }
  EXPECT_EQ(read_file("s.csv"), kSurvey);
}

}  // namespace
}  // namespace polarsketch::cli
