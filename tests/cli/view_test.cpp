// `polarsketch plot --view`: the vertical view leaves the plot file as it
// was, lines land where the definition of the view puts them (read back from
// the PostScript file), the statistics do not depend on the view, and views
// that cannot be drawn are refused.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

constexpr double kPi = 3.14159265358979323846;
constexpr double kPointsPerCm = 28.35;
constexpr double kCx = 10.5 * kPointsPerCm, kCy = 12.0 * kPointsPerCm, kR = 8.0 * kPointsPerCm;

const std::string kLines = "trend,plunge\n90,30\n0,0\n0,90\n";
const std::string kPlanes = "dipdir,dip\n120,30\n300,60\n100,80\n240,20\n";

// The centres of the closed symbols inside the net, in the order drawn.
std::vector<std::pair<double, double>> symbol_centres(const std::string& ps) {
  std::vector<std::pair<double, double>> centres;
  for (const auto& p : testing::drawn_paths(testing::split_lines(ps))) {
    if (p.size() < 4 || p.size() > 20 || p.front() != p.back()) continue;
    double sx = 0, sy = 0;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
      sx += static_cast<double>(p[i].first);
      sy += static_cast<double>(p[i].second);
    }
    const double n = static_cast<double>(p.size() - 1);
    if (std::hypot(sx / n - kCx, sy / n - kCy) <= kR + 1.0) centres.emplace_back(sx / n, sy / n);
  }
  return centres;
}

TEST(PlotView, TheVerticalViewLeavesThePlotFileAsItWas) {
  ScratchDir dir;
  write_file("planes.csv", kPlanes);
  for (const char* hemisphere : {"lower", "upper"}) {
    const std::vector<std::string> common = {"--stats",     "--contour",  "--planes", "both",
                                             "--cone-fit",  "--hemisphere", hemisphere,
                                             "planes.csv"};
    std::vector<std::string> plain = {"plot", "-o", "plain.ps"};
    std::vector<std::string> viewed = {"plot", "-o", "view.ps", "--view", "000/90"};
    plain.insert(plain.end(), common.begin(), common.end());
    viewed.insert(viewed.end(), common.begin(), common.end());
    ASSERT_EQ(run_cli(plain).status, 0);
    ASSERT_EQ(run_cli(viewed).status, 0);
    EXPECT_EQ(read_file("plain.ps"), read_file("view.ps")) << hemisphere;
  }
}

TEST(PlotView, LinesLandWhereTheViewPutsThem) {
  ScratchDir dir;
  write_file("lines.csv", kLines);
  struct Case {
    std::string view, hemisphere;
    // Where 090/30, 000/00 and 000/90 are drawn: trend and plunge on the
    // net after the view (its hemisphere turn included).
    std::vector<std::pair<double, double>> drawn;
  };
  const std::vector<Case> cases = {
      // About 000/00 by 60: the centre comes to the centre, the axis of the
      // rotation stays at the top, the old centre rises to 270/30.
      {"090/30", "lower", {{0, 90}, {0, 0}, {270, 30}}},
      {"090/30", "upper", {{0, 90}, {180, 0}, {90, 30}}},
      // About 270/00 by 90: north comes to the centre, the vertical goes to
      // 180/00 and 090/30 to the horizontal 30 degrees past east.
      {"000/00", "lower", {{120, 0}, {0, 90}, {180, 0}}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(plot({"-o", "l.ps", "--view", c.view, "--hemisphere", c.hemisphere, "lines.csv"}), 0);
    const auto centres = symbol_centres(read_file("l.ps"));
    ASSERT_EQ(centres.size(), c.drawn.size()) << c.view;
    for (std::size_t i = 0; i < c.drawn.size(); ++i) {
      const double r = std::sqrt(2.0) * std::sin((90.0 - c.drawn[i].second) * kPi / 360.0);
      const double t = c.drawn[i].first * kPi / 180;
      // 0.05 points: the file's rounding and float arithmetic.
      EXPECT_NEAR(centres[i].first, kCx + kR * r * std::sin(t), 0.05) << c.view << " " << i;
      EXPECT_NEAR(centres[i].second, kCy + kR * r * std::cos(t), 0.05) << c.view << " " << i;
    }
  }
}

TEST(PlotView, StatisticsAndTheCaptionUnderAView) {
  ScratchDir dir;
  write_file("planes.csv", kPlanes);
  const CliRun a = run_cli({"plot", "--stats", "-o", "a.ps", "--view", "180/30", "planes.csv"});
  const CliRun b = run_cli({"plot", "--stats", "-o", "b.ps", "--view", "045/10", "planes.csv"});
  const CliRun c = run_cli({"plot", "--stats", "-o", "c.ps", "planes.csv"});
  ASSERT_EQ(a.status, 0);
  EXPECT_FALSE(a.err.empty());
  EXPECT_EQ(a.err, b.err);
  EXPECT_EQ(a.err, c.err);
  // North is 150 degrees from 180/30: on the far side, south marked.
  const std::string ps = read_file("a.ps");
  EXPECT_NE(ps.find("centred on 180/30 \\(north on the far side, S marked\\)"), std::string::npos);
  EXPECT_NE(ps.find("(S) show"), std::string::npos);
  EXPECT_NE(read_file("b.ps").find("centred on 045/10)"), std::string::npos);
}

TEST(PlotView, ViewsThatCannotBeDrawnAreRefused) {
  ScratchDir dir;
  write_file("planes.csv", kPlanes);
  for (const char* view : {"090/91", "361/30", "-1/30", "090", "east/30", "090/-5", "nan/30"}) {
    const CliRun r = run_cli({"plot", "--view", view, "planes.csv"});
    EXPECT_EQ(r.status, 64) << view;
    EXPECT_NE(r.err.find("--view"), std::string::npos) << r.err;
  }
  const CliRun slope = run_cli({"plot", "--view", "090/30", "--slope", "120/60", "planes.csv"});
  EXPECT_EQ(slope.status, 64);
  EXPECT_NE(slope.err.find("--slope"), std::string::npos) << slope.err;
  EXPECT_FALSE(std::filesystem::exists("planes.ps"));
  // 360 is 0, and a vertical view of any trend is the ordinary net.
  EXPECT_EQ(run_cli({"plot", "--view", "360/90", "--slope", "120/60", "planes.csv"}).status, 0);
}

}  // namespace
}  // namespace polarsketch::cli
