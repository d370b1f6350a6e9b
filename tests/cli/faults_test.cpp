// `polarsketch faults`: the per-fault CSV against the definitions, the
// result CSV, unknown senses skipped, and options that do not fit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

// Four normal faults about a vertical sigma1, and a slip of unknown sense.
const std::string kFaults =
    "dipdir,dip,rake\n90,60,-90\n270,60,-90\n0,60,-90\n180,60,-90\n";

TEST(FaultsCommand, CsvGivesEachFaultItsSlipAndAxesAndTheResultItsTensor) {
  testing::ScratchDir dir;
  const CliRun r = run_cli({"faults", "--csv", "--result-csv", "result.csv", "-"}, kFaults);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "label,dipdir,dip,slip_trend,slip_plunge,rake,sense,p_trend,p_plunge,t_trend,"
            "t_plunge,b_trend,b_plunge,ang,rup");
  // 000/60 rake -90 on line 2 (no label column): slip 090/60 down, P 270/75, T 090/15.
  EXPECT_NE(r.out.find("\n2,90.0,60.0,90.0,60.0,-90.0,N,270.0,75.0,90.0,15.0,"), std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Phi = (s2 - s3)/(s1 - s3)"), std::string::npos) << r.err;
  const std::string result = testing::read_file("result.csv");
  EXPECT_EQ(result.substr(0, result.find('\n')),
            "method,n,s1_trend,s1_plunge,s2_trend,s2_plunge,s3_trend,s3_plunge,phi,r,mean_ang");
  // Compression positive: sigma1 is the vertical.
  EXPECT_NE(result.find("\nangelier,4,0.0,90.0,"), std::string::npos) << result;
}

TEST(FaultsCommand, UnknownSensesAreSkippedAndNoneLeftIsBadData) {
  const CliRun some = run_cli({"faults", "-"}, "dipdir,dip,pitch,sense\n110,60,80S,N\n"
                                             "105,55,75N,N\n290,65,20N,D\n285,70,15S,S\n"
                                             "100,50,40S,U\n");
  EXPECT_EQ(some.status, 0) << some.err;
  EXPECT_NE(some.out.find("skipped (sense unknown): 1"), std::string::npos) << some.out;
  const CliRun none = run_cli({"faults", "-"}, "dipdir,dip,trend,plunge\n90,60,90,60\n");
  EXPECT_EQ(none.status, 65);
  EXPECT_NE(none.err.find("1 slip(s) of unknown sense skipped"), std::string::npos) << none.err;
  EXPECT_EQ(run_cli({"faults", "-"}, "dipdir,dip\n90,60\n").status, 65);  // planes
}

TEST(FaultsCommand, OptionsThatDoNotFitAreWrongUsage) {
  testing::ScratchDir dir;
  testing::write_file("f.csv", kFaults);
  const std::vector<std::vector<std::string>> cases = {
      {"--method", "bott", "f.csv"},
      {"--pt-angle", "0", "f.csv"},
      {"--pt-angle", "x", "f.csv"},
      {"--result-csv", "f.csv", "f.csv"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"faults"};
    args.insert(args.end(), c.begin(), c.end());
    EXPECT_EQ(run_cli(args).status, 64) << c[0];
  }
}

}  // namespace
}  // namespace polarsketch::cli

namespace polarsketch::cli {
namespace {

TEST(FaultMarks, PlotDrawsArrowsAxesStressAndDihedraAndRefusesWhatDoesNotFit) {
  testing::ScratchDir dir;
  testing::write_file("f.csv", kFaults);
  for (const char* how : {"angelier", "hoeppener", "tangent-lineation"}) {
    const CliRun r = run_cli({"plot", "-o", "f.ps", "--fault-plot", how, "--pt", "b", "--pt-angle",
                              "30", "--stress", "michael", "--dihedra", "f.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string ps = testing::read_file("f.ps");
    EXPECT_NE(ps.find("Phi = \\(s2 - s3\\)/\\(s1 - s3\\) = 0.00, R = 1 - Phi = 1.00"),
              std::string::npos);
    EXPECT_NE(ps.find("Right dihedra"), std::string::npos);
  }
  const std::vector<std::vector<std::string>> wrong = {
      {"plot", "--pt-angle", "30", "f.csv"},             // no --pt
      {"plot", "--dihedra", "--contour", "f.csv"},       // one field of bands
      {"plot", "--fault-plot", "beachball", "f.csv"},
  };
  for (const auto& args : wrong) EXPECT_EQ(run_cli(args).status, 64) << args[1];
  EXPECT_EQ(run_cli({"plot", "--contour-of", "p", "f.csv"}).status, 64);  // no --contour
  const CliRun p = run_cli({"plot", "-o", "p.ps", "--contour", "--contour-of", "p", "f.csv"});
  EXPECT_EQ(p.status, 0) << p.err;
  EXPECT_NE(testing::read_file("p.ps").find("\\(n = 4\\)) show"), std::string::npos);  // 4 P axes
  // --pt before a FILE keeps the FILE.
  EXPECT_EQ(run_cli({"plot", "-o", "g.ps", "--stress", "--pt", "f.csv"}).status, 0);
}

}  // namespace
}  // namespace polarsketch::cli
