// `polarsketch plot --slope`: the construction read back from the plot file
// against its definitions (the face's great circle, the friction cone, the
// straight lateral limits), every mode rendered, and the options refused
// without a slope.
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

// The equal-area net's point (x, y) in points as a unit vector (north, east, down).
std::array<double, 3> unprojected(double x, double y) {
  const double u = (x - kCx) / kR, v = (y - kCy) / kR;
  const double plunge = kPi / 2 - 2 * std::asin(std::min(1.0, std::hypot(u, v) / std::sqrt(2.0)));
  const double trend = std::atan2(u, v);
  return {std::cos(plunge) * std::cos(trend), std::cos(plunge) * std::sin(trend), std::sin(plunge)};
}

// Whether some drawn path of at least 20 points lies wholly where `on` says.
template <class On>
bool some_path(const std::string& ps, On on) {
  for (const auto& p : testing::drawn_paths(testing::split_lines(ps))) {
    if (p.size() < 20) continue;
    bool all = true;
    for (const auto& [x, y] : p) all = all && on(unprojected(x, y));
    if (all) return true;
  }
  return false;
}

TEST(KinematicsPlot, TheConstructionLinesLieWhereTheirDefinitionsPutThem) {
  ScratchDir dir;
  write_file("j.csv", "dipdir,dip\n90,40\n100,45\n200,70\n0,70\n");
  // Slope 090/60: face pole 270/30; friction 30; lateral 20.
  const double face[3] = {0.0, -std::sin(60 * kPi / 180), std::cos(60 * kPi / 180)};
  auto on_face = [&](const std::array<double, 3>& v) {
    return std::abs(v[0] * face[0] + v[1] * face[1] + v[2] * face[2]) < 2e-3;
  };
  auto plunging = [](double degrees) {
    return [degrees](const std::array<double, 3>& v) {
      return std::abs(std::asin(v[2]) * 180 / kPi - degrees) < 0.2;
    };
  };
  ASSERT_EQ(plot({"-o", "w.ps", "--slope", "90/60", "--kinematic", "wedge", "j.csv"}), 0);
  const std::string wedge = read_file("w.ps");
  EXPECT_TRUE(some_path(wedge, on_face));
  EXPECT_TRUE(some_path(wedge, plunging(30)));  // lines plunging phi
  ASSERT_EQ(plot({"-o", "p.ps", "--slope", "90/60", "j.csv"}), 0);
  const std::string planar = read_file("p.ps");
  EXPECT_TRUE(some_path(planar, on_face));
  EXPECT_TRUE(some_path(planar, plunging(60)));  // poles of planes dipping phi
  for (const double trend : {250.0, 290.0}) {    // poles' trends 270 +- 20
    EXPECT_TRUE(some_path(planar, [trend](const std::array<double, 3>& v) {
      const double t = std::atan2(v[1], v[0]) * 180 / kPi + 360;
      return std::hypot(v[0], v[1]) < 1e-3 || std::abs(std::remainder(t - trend, 360.0)) < 0.2;
    })) << trend;
  }
}

TEST(KinematicsPlot, EveryModeRendersAndOptionsNeedASlope) {
  ScratchDir dir;
  write_file("j.csv", "dipdir,dip\n90,40\n100,45\n200,70\n0,70\n270,75\n10,10\n");
  for (const char* mode : {"planar", "wedge", "flexural", "direct"}) {
    for (const char* limits : {"straight", "curved"}) {
      ASSERT_EQ(plot({"-o", "k.ps", "--slope", "90/60", "--kinematic", mode, "--limits", limits,
                      "j.csv"}),
                0);
      if (testing::have_ghostscript()) {
        bool ok = false;
        const std::string messages = testing::render({"k.ps"}, ok);
        EXPECT_TRUE(ok) << mode << " " << messages;
      }
    }
  }
  ASSERT_EQ(plot({"-o", "k.svg", "--slope", "90/20", "--kinematic", "wedge", "j.csv"}), 0);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"plot", "--friction", "30", "j.csv"},
           {"plot", "--kinematic", "wedge", "j.csv"},
           {"plot", "--slope", "90/60", "--kinematic", "sliding", "j.csv"},
           {"plot", "--slope", "90", "j.csv"}}) {
    const CliRun r = run_cli(args);
    EXPECT_EQ(r.status, 64) << args[1];
    EXPECT_NE(r.err, "");
  }
}

}  // namespace
}  // namespace polarsketch::cli
