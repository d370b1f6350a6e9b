// `polarsketch rose`: the bins and statistics as CSV, the figure in every
// format, the rings' scale, and the options that do not fit refused with 64.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_run.hpp"
#include "figure/rose_page.hpp"
#include "postscript/ps_test_support.hpp"
#include "render/images.hpp"

namespace polarsketch::cli {
namespace {

// Strikes 10, 190 and 100 (right-hand rule): 10 and 190 are one axis.
const std::string kPlanes = "dipdir,dip\n100,30\n280,40\n190,50\n";

TEST(RoseCommand, CsvCountsAnAxisOnceAndGivesPercentOfN) {
  const CliRun r = run_cli({"rose", "--csv", "-"}, kPlanes);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "start,end,count,percent");
  EXPECT_NE(r.out.find("\n10,20,2,66.6667\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n100,110,1,33.3333\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n170,180,0,0\n\nstatistic,value\nn,3\n"), std::string::npos);
  // Weighted by a vertical borehole: 1/cos(dip) per plane, percent of the weights.
  const CliRun w = run_cli({"rose", "--csv", "--weight", "terzaghi:000/90", "-"}, kPlanes);
  ASSERT_EQ(w.status, 0) << w.err;
  EXPECT_EQ(w.out.substr(0, w.out.find('\n')), "start,end,count,weight,percent");
  EXPECT_NE(w.out.find("\n10,20,2,2.46011,61.2602\n"), std::string::npos) << w.out;
}

TEST(RoseCommand, OptionsThatDoNotFitAreWrongUsage) {
  testing::ScratchDir dir;
  testing::write_file("planes.csv", kPlanes);
  testing::write_file("lines.csv", "trend,plunge\n10,20\n");
  testing::write_file("data.ps", kPlanes);
  const std::vector<std::vector<std::string>> cases = {
      {"--bin", "7", "--csv", "planes.csv"},   // 7 does not divide 180
      {"--bin", "24", "--csv", "planes.csv"},  // 180 / 24 is no whole number
      {"--of", "dipdir", "--bin", "7", "--csv", "planes.csv"},
      {"--axial", "--directional", "--csv", "planes.csv"},
      {"--weight", "terzaghi:400/10", "--csv", "planes.csv"},
      {"--weight", "fisher:000/90", "--csv", "planes.csv"},
      {"--min-bias", "10", "--csv", "planes.csv"},  // no --weight
      {"--dips", "60-30", "--csv", "planes.csv"},
      {"planes.csv"},  // neither -o nor --csv
      {"-o", "rose.txt", "planes.csv"},
      {"-o", "data.ps", "data.ps"},              // the input overwritten
      {"--of", "trend", "--csv", "planes.csv"},  // planes have no trend
      {"--csv", "planes.csv", "lines.csv"},      // strikes or trends?
      {"--dips", "10-20", "--csv", "lines.csv"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"rose"};
    args.insert(args.end(), c.begin(), c.end());
    const CliRun r = run_cli(args);
    EXPECT_EQ(r.status, 64) << args[1] << " " << args[2] << ": " << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(testing::read_file("data.ps"), kPlanes);
  EXPECT_EQ(run_cli({"rose", "--bin", "24", "--directional", "--csv", "planes.csv"}).status, 0);
}

TEST(RoseCommand, TheFigureIsWrittenInEveryFormatAndRenders) {
  testing::ScratchDir dir;
  const std::string data = std::string(POLARSKETCH_SOURCE_DIR) + "/examples/fold_bedding.csv";
  for (const char* name : {"r.ps", "r.eps", "r.pdf", "r.svg", "r.png"})
    ASSERT_EQ(run_cli({"rose", "-o", name, data}).status, 0) << name;
  ASSERT_EQ(run_cli({"rose", "--dialect", "3", "--of", "dipdir", "-o", "r3.ps", data}).status, 0);
  EXPECT_NE(testing::read_file("r.ps").find("Rose of strikes of planes, axial"), std::string::npos);
  EXPECT_RENDERS("r3.ps", 3);
  if (!testing::run_quietly("command -v gs && command -v pdftoppm && command -v rsvg-convert"))
    GTEST_SKIP() << "a viewer is missing";
  const testing::Picture ps = testing::render_postscript("r.ps");
  EXPECT_GT(testing::ink_pixels(ps), 10000);
  testing::compare_ink(ps, testing::render_pdf("r.pdf"), "rose PDF");
  EXPECT_GT(testing::ink_pixels(testing::render_svg("r.svg")), 10000);
}

TEST(RoseCommand, PetalsSpanTheirBinsBothWaysAndScaleByAreaOrShare) {
  // Strikes 10 three times and 100 once: petals 10-20 and 190-200 of 75 %,
  // 100-110 and 280-290 of 25 %, read back from the plot file.
  testing::ScratchDir dir;
  testing::write_file("four.csv", "dipdir,dip\n100,30\n100,40\n100,50\n190,50\n");
  const struct {
    const char* scale;
    double ratio;
  } cases[] = {{"area", std::sqrt(3.0)}, {"linear", 3.0}};
  for (const auto& c : cases) {
    ASSERT_EQ(run_cli({"rose", "--scale", c.scale, "-o", "four.ps", "four.csv"}).status, 0);
    const auto paths = testing::drawn_paths(testing::split_lines(testing::read_file("four.ps")));
    // The centre: where most paths start (every petal and the mean's lines).
    std::map<std::pair<float, float>, int> starts;
    for (const auto& p : paths) ++starts[p.front()];
    const auto centre = std::max_element(starts.begin(), starts.end(), [](auto& a, auto& b) {
                          return a.second < b.second;
                        })->first;
    std::map<long, double> radius;  // by the azimuth a petal starts at
    for (const auto& p : paths) {
      if (p.front() != centre || p.size() < 4) continue;
      const double dx = static_cast<double>(p[1].first - centre.first),
                   dy = static_cast<double>(p[1].second - centre.second);
      const long from = std::lround(std::fmod(std::atan2(dx, dy) * 180 / M_PI + 360, 360));
      radius[from] = std::hypot(dx, dy);
      // The arc's last point: the outline returns to the centre, the fill does not.
      const auto& end = p.back() == centre ? p[p.size() - 2] : p.back();
      const double to = std::atan2(static_cast<double>(end.first - centre.first),
                                   static_cast<double>(end.second - centre.second));
      EXPECT_NEAR(std::remainder(to * 180 / M_PI - static_cast<double>(from), 360), 10, 0.1);
    }
    ASSERT_EQ(radius.size(), 4u) << c.scale;
    EXPECT_NEAR(radius[10] / radius[100], c.ratio, 0.01) << c.scale;
    EXPECT_NEAR(radius[190], radius[10], 0.02);
    EXPECT_NEAR(radius[280], radius[100], 0.02);
  }
}

TEST(RoseCommand, RingsAreNiceStepsAndPetalsScaleByArea) {
  analysis::Rose rose = analysis::rose_of(std::vector<double>{10, 10, 10, 50, 90, 130, 170, 20}, {},
                                          0, 10, analysis::RoseSymmetry::axial);
  const figure::RoseRings rings = figure::rose_rings(rose);  // largest bin 37.5 %
  EXPECT_DOUBLE_EQ(rings.step, 10);
  EXPECT_DOUBLE_EQ(rings.outer, 40);
  EXPECT_DOUBLE_EQ(figure::rose_radius(10, rings, figure::RoseScale::area), 0.5);
  EXPECT_DOUBLE_EQ(figure::rose_radius(10, rings, figure::RoseScale::linear), 0.25);
  EXPECT_DOUBLE_EQ(figure::rose_radius(40, rings, figure::RoseScale::area), 1);
}

TEST(RoseCommand, AMeanThatRoundsToTheFullCircleReadsZero) {
  // Means -0.00002 (trends) and 179.98 (strikes), and no spread (sqrt of -0).
  testing::ScratchDir dir;
  const CliRun t = run_cli({"rose", "--csv", "-"}, "trend,plunge\n0,1\n10,1\n359.9999,1\n350,1\n");
  EXPECT_NE(t.out.find("\nmean,0.00\n"), std::string::npos) << t.out;
  testing::write_file("strikes.csv", "dipdir,dip\n89.97,30\n90,30\n89.98,30\n");
  ASSERT_EQ(run_cli({"rose", "-o", "s.ps", "strikes.csv"}).status, 0);
  EXPECT_NE(testing::read_file("s.ps").find("(mean direction: 0.0 / 180.0)"), std::string::npos);
  const CliRun one = run_cli({"rose", "--csv", "-"}, "trend,plunge\n90,10\n");
  EXPECT_NE(one.out.find("\ncircular_sd,0.00\n"), std::string::npos) << one.out;
}

}  // namespace
}  // namespace polarsketch::cli
