// `polarsketch plot` end to end: the drawn points read back from the
// PostScript file and checked against the projection formulas (on a net
// centred off the vertical too), the same slip drawn alike from its rake and
// from its line, and every file rendered.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "cli/cli_run.hpp"
#include "data/measurements.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

constexpr double kPi = 3.14159265358979323846;
constexpr double kPointsPerCm = 28.35;  // the driver's points per centimetre
// The net of a portrait page: centre and radius in points.
constexpr double kCx = 10.5 * kPointsPerCm, kCy = 12.0 * kPointsPerCm, kR = 8.0 * kPointsPerCm;

using Paths = std::vector<std::vector<std::pair<float, float>>>;
Paths paths(const std::string& ps) { return testing::drawn_paths(testing::split_lines(ps)); }

// Radius of the projected point of plunge p (degrees), net radius 1.
double projected_radius(double plunge, bool equal_area) {
  const double half_colatitude = (90.0 - plunge) * kPi / 360.0;
  return equal_area ? std::sqrt(2.0) * std::sin(half_colatitude) : std::tan(half_colatitude);
}

// The unit vector (north, east, down) of the point drawn at (x, y) points.
data::Vector3 unprojected(double x, double y, bool equal_area) {
  const double u = (x - kCx) / kR, v = (y - kCy) / kR;
  const double r = std::hypot(u, v);
  const double half = equal_area ? std::asin(std::min(1.0, r / std::sqrt(2.0))) : std::atan(r);
  const double plunge = kPi / 2 - 2 * half;
  const double trend = std::atan2(u, v);
  return {std::cos(plunge) * std::cos(trend), std::cos(plunge) * std::sin(trend), std::sin(plunge)};
}

// The centres of the symbols (regular closed outlines of up to 20 points)
// inside the net, in the order drawn.
std::vector<std::pair<double, double>> symbol_centres(const std::string& ps) {
  std::vector<std::pair<double, double>> centres;
  for (const auto& p : paths(ps)) {
    if (p.size() < 4 || p.size() > 20 || p.front() != p.back()) continue;
    double sx = 0, sy = 0;
    const std::size_t n = p.size() - 1;
    for (std::size_t i = 0; i < n; ++i) {
      sx += static_cast<double>(p[i].first);
      sy += static_cast<double>(p[i].second);
    }
    const double x = sx / static_cast<double>(n), y = sy / static_cast<double>(n);
    if (std::hypot(x - kCx, y - kCy) <= kR + 1.0) centres.emplace_back(x, y);
  }
  return centres;
}

TEST(PlotCommand, LinesAndPolesLandWhereTheProjectionPutsThem) {
  ScratchDir dir;
  write_file("lines.csv", "trend,plunge\n0,0\n45,30\n200,60\n300,90\n");
  write_file("planes.csv", "dipdir,dip\n90,40\n");  // pole 270/50
  struct Case {
    std::vector<std::string> options;
    bool equal_area;
    double turn;  // the upper hemisphere is the lower turned half a turn
  };
  const std::vector<Case> cases = {
      {{}, true, 0},
      {{"--projection", "equal-angle"}, false, 0},
      {{"--hemisphere", "upper"}, true, 180},
  };
  const std::vector<std::pair<double, double>> expected = {
      {0, 0}, {45, 30}, {200, 60}, {300, 90}, {270, 50}};
  for (const Case& c : cases) {
    std::vector<std::string> args = c.options;
    for (const char* a : {"-o", "out.ps", "--planes", "poles", "lines.csv", "planes.csv"}) {
      args.push_back(a);
    }
    ASSERT_EQ(plot(args), 0);
    const auto centres = symbol_centres(read_file("out.ps"));
    ASSERT_EQ(centres.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const double r = projected_radius(expected[i].second, c.equal_area);
      const double t = (expected[i].first + c.turn) * kPi / 180;
      // Within the 0.01-point rounding of the file and float arithmetic.
      EXPECT_NEAR(centres[i].first, kCx + kR * r * std::sin(t), 0.05) << i;
      EXPECT_NEAR(centres[i].second, kCy + kR * r * std::cos(t), 0.05) << i;
    }
  }
}

TEST(PlotCommand, AViewPutsLinesWhereItsRotationTakesThem) {
  ScratchDir dir;
  write_file("lines.csv", "trend,plunge\n90,30\n0,0\n0,90\n");
  struct Case {
    std::string view, hemisphere;
    // Where 090/30, 000/00 and 000/90 are drawn after the rotation about
    // (trend - 90)/00 by 90 - plunge: trend (hemisphere turn included), plunge.
    std::vector<std::pair<double, double>> drawn;
  };
  const std::vector<Case> cases = {
      {"090/30", "lower", {{0, 90}, {0, 0}, {270, 30}}},
      {"090/30", "upper", {{0, 90}, {180, 0}, {90, 30}}},
      {"000/00", "lower", {{120, 0}, {0, 90}, {180, 0}}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(plot({"-o", "l.ps", "--view", c.view, "--hemisphere", c.hemisphere, "lines.csv"}), 0);
    const auto centres = symbol_centres(read_file("l.ps"));
    ASSERT_EQ(centres.size(), c.drawn.size()) << c.view;
    for (std::size_t i = 0; i < c.drawn.size(); ++i) {
      const double r = projected_radius(c.drawn[i].second, true);
      const double t = c.drawn[i].first * kPi / 180;
      EXPECT_NEAR(centres[i].first, kCx + kR * r * std::sin(t), 0.05) << c.view << " " << i;
      EXPECT_NEAR(centres[i].second, kCy + kR * r * std::cos(t), 0.05) << c.view << " " << i;
    }
  }
}

TEST(PlotCommand, AVerticalViewIsTheOrdinaryNetAndNoViewChangesTheStatistics) {
  ScratchDir dir;
  write_file("planes.csv", "dipdir,dip\n120,30\n300,60\n100,80\n240,20\n");
  const std::vector<std::string> layers = {"--stats", "--contour", "--planes", "both",
                                           "--cone-fit", "planes.csv"};
  std::vector<CliRun> runs;
  for (const std::vector<std::string>& view :
       {std::vector<std::string>{"-o", "plain.ps"}, {"-o", "000.ps", "--view", "000/90"},
        {"-o", "180.ps", "--view", "180/30"}, {"-o", "045.ps", "--view", "045/10"}}) {
    std::vector<std::string> args = {"plot"};
    args.insert(args.end(), view.begin(), view.end());
    args.insert(args.end(), layers.begin(), layers.end());
    runs.push_back(run_cli(args));
    ASSERT_EQ(runs.back().status, 0) << runs.back().err;
    EXPECT_EQ(runs.back().err, runs.front().err);  // the statistics table
  }
  EXPECT_EQ(read_file("plain.ps"), read_file("000.ps"));
  // North is 150 degrees from 180/30: on the far side, south is marked.
  const std::string far = read_file("180.ps");
  EXPECT_NE(far.find("centred on 180/30 \\(north on the far side, S marked\\)"), std::string::npos);
  EXPECT_NE(far.find("(S) show"), std::string::npos);
  EXPECT_NE(read_file("045.ps").find("centred on 045/10)"), std::string::npos);
}

TEST(PlotCommand, GreatCirclePointsArePerpendicularToThePole) {
  ScratchDir dir;
  write_file("planes.csv", "dipdir,dip\n30,20\n135,60\n250,85\n");
  // The upper hemisphere shows the upward halves of the planes.
  for (const auto& [equal_area, upper] : {std::pair{true, false}, {false, false}, {true, true}}) {
    ASSERT_EQ(plot({"--projection", equal_area ? "equal-area" : "equal-angle", "--hemisphere",
                    upper ? "upper" : "lower", "planes.csv"}),
              0);
    std::vector<data::Vector3> poles;
    for (const auto& [dd, dip] : {std::pair{30.0, 20.0}, {135.0, 60.0}, {250.0, 85.0}}) {
      poles.push_back(data::to_vector(data::pole_of(data::Plane{dd, dip})));
    }
    std::size_t circle = 0;
    for (const auto& p : paths(read_file("planes.ps"))) {
      if (p.size() != 40) continue;  // the half great circles of 40 points
      ASSERT_LT(circle, poles.size());
      const data::Vector3& n = poles[circle++];
      for (const auto& [x, y] : p) {
        data::Vector3 v = unprojected(static_cast<double>(x), static_cast<double>(y), equal_area);
        if (upper) v[2] = -v[2];
        EXPECT_NEAR(v[0] * n[0] + v[1] * n[1] + v[2] * n[2], 0.0, 2e-3);
      }
    }
    EXPECT_EQ(circle, poles.size());
  }
}

TEST(PlotCommand, SlipByRakeAndByItsLineAreDrawnAlike) {
  ScratchDir dir;
  const data::Plane plane{112, 58};
  const data::Line line = data::line_from_rake(plane, -84);
  write_file("rake.csv", "dipdir,dip,rake\n112,58,-84\n");
  char text[128];
  std::snprintf(text, sizeof text, "dipdir,dip,trend,plunge\n112,58,%.6f,%.6f\n", line.trend,
                line.plunge);
  write_file("line.csv", text);
  ASSERT_EQ(plot({"rake.csv"}), 0);
  ASSERT_EQ(plot({"line.csv"}), 0);
  // Everything up to the sets' legend text is the drawing of the data and
  // frame; the fault marks after it differ (the rake's slip has a sense).
  auto drawing = [](const std::string& ps) {
    return ps.substr(0, ps.rfind("\n(", ps.find(".csv \\(1 slip\\))")));
  };
  const std::string a = read_file("rake.ps"), b = read_file("line.ps");
  EXPECT_TRUE(drawing(a) == drawing(b));
  // The slip line's symbol lies on the plane's great circle.
  const auto centres = symbol_centres(a);
  ASSERT_EQ(centres.size(), 1u);
  const data::Vector3 v = unprojected(centres[0].first, centres[0].second, true);
  const data::Vector3 n = data::to_vector(data::pole_of(plane));
  EXPECT_NEAR(v[0] * n[0] + v[1] * n[1] + v[2] * n[2], 0.0, 2e-3);
}

TEST(PlotCommand, ALongFileNameInTheLegendIsCutAtAFolder) {
  ScratchDir dir;
  const std::string folder = "field_campaign_of_the_northern_ridge_2019/site";
  std::filesystem::create_directories(folder);
  write_file(folder + "/lines.csv", "trend,plunge\n10,20\n");
  ASSERT_EQ(plot({"-o", "l.ps", folder + "/lines.csv"}), 0);
  EXPECT_NE(read_file("l.ps").find("(.../site/lines.csv \\(1 line\\)) show"), std::string::npos);
}

TEST(PlotCommand, NeitherReadsNorWritesTheDriverSettingsFile) {
  ScratchDir dir;
  const std::string settings = " F   3 LUS  1\n \n";  // copies, landscape, dialect 1
  write_file("quill7_ini.txt", settings);
  write_file("lines.csv", "trend,plunge\n10,20\n");
  ASSERT_EQ(plot({"lines.csv"}), 0);
  const std::string ps = read_file("lines.ps");
  EXPECT_EQ(ps.rfind("%!\n% Initialize coordinate system and scales\n", 0), 0u);  // dialect 2
  EXPECT_EQ(ps.find("rotate"), std::string::npos);
  EXPECT_EQ(ps.find("#copies"), std::string::npos);
  EXPECT_EQ(read_file("quill7_ini.txt"), settings);
}

TEST(PlotCommand, EveryDialectAndPageRendersInGhostscript) {
  ScratchDir dir;
  write_file("planes.csv", "strike,dip\n10,20\n100,50\n");
  write_file("lines.csv", "trend,plunge\n10,20\n100,50\n");
  write_file("slips.csv", "dipdir,dip,rake\n100,50,30\n");
  const std::vector<std::vector<std::string>> runs = {
      {"--dialect", "1", "--net", "10", "--run-info"},
      {"--dialect", "2", "--polar-net", "15", "--landscape", "a4", "--planes", "both"},
      {"--dialect", "3", "--landscape", "letter", "--projection", "equal-angle"},
  };
  for (std::size_t i = 0; i < runs.size(); ++i) {
    std::vector<std::string> args = runs[i];
    const std::string name = "page" + std::to_string(i + 1) + ".ps";
    for (const std::string a : {"-o", name.c_str(), "planes.csv", "lines.csv", "slips.csv"}) {
      args.push_back(a);
    }
    ASSERT_EQ(plot(args), 0);
    EXPECT_RENDERS(name, static_cast<int>(i + 1));
  }
}

}  // namespace
}  // namespace polarsketch::cli
