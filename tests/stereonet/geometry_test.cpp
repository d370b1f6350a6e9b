// Whole sessions of the program, checked by their geometry: the drawn points
// are read back from the plot file, taken back to user units through the map
// of the plot size type, un-projected, and compared with the orientations
// asked for, in every projection and plot size type. Also the point and curve
// counts of the stereonets, and that every file renders in Ghostscript.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/session.hpp"

namespace polarsketch {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kDevPerCm = 28.35;

struct Pt {
  double x, y;
};
using Path = std::vector<Pt>;

// Every path of a "NeWS" plot file that has at least one line segment (a move
// alone, as before text, is not a path), in device units.
std::vector<Path> read_paths(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<Path> out;
  Path cur;
  auto flush = [&] {
    if (cur.size() >= 2) out.push_back(cur);
    cur.clear();
  };
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    double x = 0, y = 0;
    std::string op;
    if (ls >> x >> y >> op && op == "moveto") {
      flush();
      cur.push_back({x, y});
    } else if (op == "lineto") {
      cur.push_back({x, y});
    } else {
      flush();
    }
  }
  flush();
  return out;
}

// The centimetre scale of each plot size type around the origin (10.5, 12.0) cm.
double scale_of(int size_type) { return size_type == 1 ? 8.0 : size_type == 2 ? 3.0 : 7.0; }

Pt to_user(Pt d, int size_type) {
  const double s = scale_of(size_type);
  return {(d.x / kDevPerCm - 10.5) / s, (d.y / kDevPerCm - 12.0) / s};
}

struct Dir {
  double x, y, z;  // north, east, down
};

Dir direction(double trend_deg, double plunge_deg) {
  const double t = trend_deg * kDeg, p = plunge_deg * kDeg;
  return {std::cos(p) * std::cos(t), std::cos(p) * std::sin(t), std::sin(p)};
}

// The inverse of projection iproj (1, 2 Wulff, 3, 4 Schmidt; 2 and 4 count
// the azimuth clockwise from +y, 1 and 3 counter-clockwise from +x).
Dir unproject(Pt u, int iproj) {
  const double d = std::hypot(u.x, u.y);
  const double az = (iproj == 2 || iproj == 4) ? std::atan2(u.x, u.y) : std::atan2(u.y, u.x);
  const double colat =
      (iproj <= 2) ? 2.0 * std::atan(d) : 2.0 * std::asin(std::min(1.0, d / std::sqrt(2.0)));
  const double plunge = kPi / 2.0 - colat;
  return {std::cos(plunge) * std::cos(az), std::cos(plunge) * std::sin(az), std::sin(plunge)};
}

double angle_deg(Dir a, Dir b) {
  const double c = a.x * b.x + a.y * b.y + a.z * b.z;
  return std::acos(std::max(-1.0, std::min(1.0, c))) / kDeg;
}

// Two decimals of device units on a net of 3 cm radius resolve about 0.005
// degrees; single-precision work adds less.
constexpr double kAngTol = 0.03;

std::string lines(std::initializer_list<const char*> answers) {
  std::string s;
  for (const char* a : answers) s += std::string(a) + "\n";
  return s;
}

// Renders a plot file with Ghostscript when it is installed.
void expect_renders(const std::filesystem::path& file) {
  if (std::system("command -v gs > /dev/null 2>&1") != 0) return;
  const std::string log = (file.parent_path() / "gs.log").string();
  const std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage '" + file.string() +
                          "' > '" + log + "' 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << e2e::detail::read_file(log);
  EXPECT_EQ(e2e::detail::read_file(log).find("Error"), std::string::npos)
      << e2e::detail::read_file(log);
}

// The rendering checks below pass silently without Ghostscript; say so.
TEST(Rendering, GhostscriptIsInstalled) {
  if (std::system("command -v gs > /dev/null 2>&1") != 0) GTEST_SKIP() << "gs not installed";
}

class GeometryTest : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(GeometryTest, DrawnOrientationsLieWhereTheyWereAsked) {
  // Plain variables rather than a structured binding: the lambdas below
  // capture them, which clang 14 does not allow for bindings.
  const int iproj = std::get<0>(GetParam());
  const int size_type = std::get<1>(GetParam());
  const std::string proj = std::to_string(iproj);
  const std::string size = std::to_string(size_type);
  std::string script =
      lines({"",                                                  // start banner
             "41",  "n",                                          // no stereonet frame
             "30",  proj.c_str(),                                 // projection
             "11",  size.c_str(),                                 // plot size type
             "42",  "10",         "41",  "99",                    // 41 points per great circle
             "60",  "30",         "61",  "50",  "63",  "25",      // az 30, dip 50, cone 25
             "200", "",           "",                             // plane; open with defaults
             "400",                                               // full small circle
             "64",  "100",        "250", "500",                   // arc 100..250
             "40",  "10",         "100", "99",                    // axes as radial lines
             "100", "99",                                         // axis (30, 50)
             "60",  "0",          "61",  "0",   "100", "99",      // axis (0, 0)
             "61",  "45",         "62",  "-90", "300", "99", "",  // slip; one-point pause
             "20",  "",                                           // close
             "9999"});
  const e2e::SessionResult r = e2e::run_session(script);
  ASSERT_EQ(r.status, 0) << r.output;
  const auto file = r.directory / "polar_sketch.ps";
  ASSERT_TRUE(std::filesystem::exists(file));
  std::vector<Path> paths = read_paths(file);
  ASSERT_EQ(paths.size(), 6u);
  auto user = [&](const Pt& d) { return to_user(d, size_type); };

  // The plane of strike 30, dip 50: every point 90 degrees from its pole
  // (trend 300, plunge 40), the middle point on the dip line (120, 50), the
  // ends along the strike.
  const Path& plane = paths[0];
  ASSERT_EQ(plane.size(), 41u);
  const Dir pole = direction(300.0, 40.0);
  for (const Pt& p : plane) EXPECT_NEAR(angle_deg(unproject(user(p), iproj), pole), 90.0, kAngTol);
  EXPECT_NEAR(angle_deg(unproject(user(plane[20]), iproj), direction(120.0, 50.0)), 0.0, kAngTol);
  EXPECT_NEAR(angle_deg(unproject(user(plane.front()), iproj), direction(30.0, 0.0)), 0.0, kAngTol);
  EXPECT_NEAR(angle_deg(unproject(user(plane.back()), iproj), direction(210.0, 0.0)), 0.0, kAngTol);

  // The cone about (30, 50) of half angle 25, full and as an arc.
  const Dir axis = direction(30.0, 50.0);
  for (int k : {1, 2}) {
    for (const Pt& p : paths[static_cast<std::size_t>(k)])
      EXPECT_NEAR(angle_deg(unproject(user(p), iproj), axis), 25.0, kAngTol);
  }
  // 41 points per half turn: 82 for the full turn, 34 for the 150 degrees.
  EXPECT_EQ(paths[1].size(), 82u);
  EXPECT_EQ(paths[2].size(), 34u);

  // The axis (30, 50): a radial line starting at the axis, 0.2 user units long.
  auto radial = [&](const Path& m, Dir want) {
    ASSERT_EQ(m.size(), 2u);
    EXPECT_NEAR(angle_deg(unproject(user(m[0]), iproj), want), 0.0, kAngTol);
    const Pt a = user(m[0]), b = user(m[1]);
    EXPECT_NEAR(std::hypot(b.x, b.y) - std::hypot(a.x, a.y), 0.2, 1e-3);
  };
  radial(paths[3], axis);
  // The axis (0, 0) on the primitive circle at north: (0, 1) with the axes
  // counted from +y (2, 4), (1, 0) with the direct axes (1, 3).
  radial(paths[4], direction(0.0, 0.0));
  const Pt north = user(paths[4][0]);
  const bool retro = (iproj == 2 || iproj == 4);
  EXPECT_NEAR(north.x, retro ? 0.0 : 1.0, 1e-3);
  EXPECT_NEAR(north.y, retro ? 1.0 : 0.0, 1e-3);
  // The slip of strike 0, dip 45, rake -90: the down-dip line (90, 45).
  radial(paths[5], direction(90.0, 45.0));

  expect_renders(file);
  std::filesystem::remove_all(r.directory);
}

INSTANTIATE_TEST_SUITE_P(ProjectionsAndSizes, GeometryTest,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4),
                                            ::testing::Values(1, 2, 3)));

// Runs a session that sets up with `setup` (after the banner and with the
// frame off), draws `command`, closes and quits; returns the drawn paths.
std::vector<Path> net_session(const std::string& setup, const std::string& command,
                              std::string* console = nullptr) {
  const std::string script =
      lines({"", "41", "n"}) + setup + command + "\n\n\n" + lines({"20", "", "9999"});
  const e2e::SessionResult r = e2e::run_session(script);
  EXPECT_EQ(r.status, 0) << r.output;
  if (console) *console = r.output;
  const auto file = r.directory / "polar_sketch.ps";
  std::vector<Path> paths = read_paths(file);
  expect_renders(file);
  std::filesystem::remove_all(r.directory);
  return paths;
}

TEST(Nets, FullStandardNet) {
  // Half sphere (start value): great circles of dips 0..180, arcs 90..270.
  auto half = net_session("", "600");
  EXPECT_EQ(half.size(), 37u + 36u);
  // Full sphere: dips 0..360 and full small circles, 18 pairs of half angles 0..85.
  auto full = net_session(lines({"90", "1"}), "600");
  ASSERT_EQ(full.size(), 73u + 36u);
  for (std::size_t k = 0; k < 73; ++k) EXPECT_EQ(full[k].size(), 40u);
  for (std::size_t k = 73; k < full.size(); ++k) EXPECT_EQ(full[k].size(), 80u);
  // Great circles through north and south; small circles about the north or
  // south horizontal axis at half angles 0, 5, ..., 85.
  for (std::size_t k = 0; k < 73; ++k) {
    EXPECT_NEAR(angle_deg(unproject(to_user(full[k].front(), 1), 4), direction(0, 0)), 0, kAngTol);
    EXPECT_NEAR(angle_deg(unproject(to_user(full[k].back(), 1), 4), direction(180, 0)), 0, kAngTol);
  }
  for (std::size_t k = 73; k < full.size(); ++k) {
    const double half_angle = 5.0 * static_cast<double>((k - 73) / 2);
    const Dir axis = direction((k - 73) % 2 == 0 ? 0.0 : 180.0, 0.0);
    for (const Pt& p : full[k]) {
      const Dir d = unproject(to_user(p, 1), 4);
      // Far above the horizontal the inverse of the Schmidt projection loses
      // the precision of the file's two decimals: check the lower hemisphere.
      if (d.z >= 0.0) {
        EXPECT_NEAR(angle_deg(d, axis), half_angle, kAngTol);
      }
    }
  }
}

TEST(Nets, FullPolarNet) {
  auto net = net_session("", "601");
  ASSERT_EQ(net.size(), 73u + 18u);
  for (std::size_t k = 73; k < net.size(); ++k) {
    const double radius = std::hypot(to_user(net[k][0], 1).x, to_user(net[k][0], 1).y);
    for (const Pt& p : net[k])
      EXPECT_NEAR(std::hypot(to_user(p, 1).x, to_user(p, 1).y), radius, 1e-3);
  }
}

TEST(Nets, QuadrangleAndLimitedNet) {
  EXPECT_EQ(net_session("", "602").size(), 4u);
  // Dips 10.7 and 80.2: great circles of dips 10, 15, ..., 80 (strike 90).
  auto limited = net_session(lines({"71", "10.7", "80.2"}), "603");
  ASSERT_EQ(limited.size(), 15u + 36u);
  for (std::size_t k = 0; k < 15; ++k) {
    const double dip = 10.0 + 5.0 * static_cast<double>(k);
    const Dir pole = direction(0.0, 90.0 - dip);
    for (const Pt& p : limited[k])
      EXPECT_NEAR(angle_deg(unproject(to_user(p, 1), 4), pole), 90.0, kAngTol);
  }
  // d1 above d2: no great circle, the small-circle arcs all the same.
  EXPECT_EQ(net_session(lines({"71", "60", "20"}), "603").size(), 36u);
}

TEST(Nets, ZeroIncrementWarnsAndDrawsTheOtherFamily) {
  std::string console;
  // idg = 0: one warning (its pause takes a line), then the small circles.
  auto net = net_session(lines({"70", "0"}), "600\n", &console);
  EXPECT_EQ(net.size(), 36u);
  EXPECT_NE(console.find(" great circle increment =     0\n ===> NO ACTION\n"), std::string::npos);
  auto polar = net_session(lines({"80", "0"}), "601\n", &console);
  EXPECT_EQ(polar.size(), 73u);
  EXPECT_NE(console.find(" small circle increment =     0\n ===> NO ACTION\n"), std::string::npos);
}

}  // namespace
}  // namespace polarsketch
