// Circles, arcs and arrows, read back from the plot file ("NeWS" dialect,
// 100 device units per user unit).
#include "plot/figures.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "console/units.hpp"
#include "curve/running_point.hpp"
#include "math/angles.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

using testing::ConsoleCapture;
using testing::split_lines;

class FigureTest : public ::testing::Test {
 protected:
  FigureTest() {
    console::iocom.lcrerr = false;  // frames do not pause
    math::set_angle_constants();
    curve::reset_ptblock();
    postscript::reset_postscript();
    reset_plot_records();
    console::bind_output(console::kUnitPlotFile, ps_);
    postscript::psparams.ips = 2;
    postscript::writer().start(console::kUnitPlotFile, "test.ps");
    plt1blk.isubplot = 1;
    plt1blk.ustode(1, 1, 1) = 100.0f;
    plt1blk.ustode(2, 2, 1) = 100.0f;
  }
  ~FigureTest() override { postscript::writer().reset(); }
  std::vector<std::string> lines() {
    postscript::writer().flush();
    return split_lines(ps_.str());
  }
  long count(const std::string& s) {
    const auto v = lines();
    return std::count(v.begin(), v.end(), s);
  }
  // Points drawn: one move plus one line-to per further point.
  long points() {
    const auto v = lines();
    return std::count_if(v.begin(), v.end(),
                         [](const std::string& s) { return s.ends_with(" lineto"); }) +
           1;
  }

  ConsoleCapture cap;
  std::ostringstream ps_;
};

TEST_F(FigureTest, FullCircleClosesOnItsFirstPoint) {
  uscircle(0.0f, 0.0f, 1.0f, 100);
  EXPECT_EQ(points(), 100);
  EXPECT_EQ(curve::ptblock.np, 100);
  EXPECT_FLOAT_EQ(curve::ptblock.ptd, math::anglerad.pi2o1 / 99.0f);
  const auto v = lines();
  EXPECT_EQ(v.at(1), "100.00 0.00 moveto");
  EXPECT_EQ(v.at(100), "100.00 0.00 lineto");
  EXPECT_EQ(count("newpath"), 1);
  EXPECT_TRUE(cap.text().empty());
}

TEST_F(FigureTest, CircleCentreAndRadius) {
  uscircle(2.0f, -1.0f, 0.5f, 5);
  const auto v = lines();
  ASSERT_EQ(v.size(), 7u);
  EXPECT_EQ(v.at(1), "250.00 -100.00 moveto");
  EXPECT_EQ(v.at(2), "200.00 -50.00 lineto");
  EXPECT_EQ(v.at(3), "150.00 -100.00 lineto");
  EXPECT_EQ(v.at(4), "200.00 -150.00 lineto");
}

TEST_F(FigureTest, AngleAdvancesByAddingTheIncrement) {
  // The frame circle at 8 cm on the page: where stepping the angle by
  // addition and computing it from the start value print differently, the
  // file holds the stepped value.
  const float scale = 8.0f * 28.35f;
  const float x0 = 10.5f * 28.35f;
  const float y0 = 12.0f * 28.35f;
  plt1blk.ustode(1, 1, 1) = scale;
  plt1blk.ustode(2, 2, 1) = scale;
  plt1blk.us0tode(1, 1) = x0;
  plt1blk.us0tode(2, 1) = y0;
  uscircle(0.0f, 0.0f, 1.0f, 200);
  const auto v = lines();
  ASSERT_EQ(v.size(), 202u);
  const float ptd = math::anglerad.pi2o1 / 199.0f;
  auto text = [&](float a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f %.2f", static_cast<double>(x0 + scale * std::cos(a)),
                  static_cast<double>(y0 + scale * std::sin(a)));
    return std::string(buf);
  };
  float stepped = -ptd;
  int differing = 0;
  for (int ip = 1; ip <= 200; ++ip) {
    stepped = stepped + ptd;
    const float direct = static_cast<float>(ip - 1) * ptd;
    if (text(stepped) == text(direct)) continue;
    ++differing;
    EXPECT_EQ(v.at(static_cast<std::size_t>(ip)).rfind(text(stepped), 0), 0u) << ip;
  }
  EXPECT_GT(differing, 0);
}

TEST_F(FigureTest, PointCountsOutsideTheBufferAreCorrected) {
  uscircle(0.0f, 0.0f, 1.0f, 1500);
  EXPECT_EQ(points(), 1000);
  EXPECT_NE(cap.text().find(" ===> WILL NOT PLOT ALL THE DATA"), std::string::npos);
}

TEST_F(FigureTest, OnePointCircleIsASinglePoint) {
  uscircle(0.0f, 0.0f, 1.0f, 1);
  EXPECT_EQ(lines(), (std::vector<std::string>{"newpath", "100.00 0.00 moveto",
                                               "100.00 0.00 lineto", "stroke"}));
  EXPECT_NE(cap.text().find(" ===> WILL PLOT ONLY ONE POINT"), std::string::npos);
}

TEST_F(FigureTest, CountIsTruncatedInSinglePrecision) {
  // 2 pi * 23 / 2 pi falls just below 23 in single precision.
  uscircle(0.0f, 0.0f, 1.0f, 23);
  EXPECT_EQ(points(), 22);
}

TEST_F(FigureTest, HalfTurnArcGetsHalfTheCount) {
  usacircle(0.0f, 0.0f, 1.0f, 0.0f, math::anglerad.pi1o1, 100);
  EXPECT_EQ(points(), 50);
  const auto v = lines();
  EXPECT_EQ(v.at(1), "100.00 0.00 moveto");
  EXPECT_EQ(v.at(50), "-100.00 0.00 lineto");
}

TEST_F(FigureTest, ArcRunsClockwiseWhenItsBoundsDecrease) {
  usacircle(0.0f, 0.0f, 1.0f, math::anglerad.pi1o2, 0.0f, 13);  // 3.25 points
  const auto v = lines();
  ASSERT_EQ(points(), 3);
  EXPECT_EQ(v.at(1), "0.00 100.00 moveto");
  EXPECT_EQ(v.at(2), "70.71 70.71 lineto");
  // The last angle lands a rounding error below zero.
  EXPECT_EQ(v.at(3), "100.00 -0.00 lineto");
}

TEST_F(FigureTest, ArrowShaftAndClosedHead) {
  const float x1[1] = {0.0f}, y1[1] = {0.0f}, x2[1] = {1.0f}, y2[1] = {0.0f};
  usarrow1(x1, y1, x2, y2, 1);
  EXPECT_EQ(lines(),
            (std::vector<std::string>{"newpath", "0.00 0.00 moveto", "60.00 0.00 lineto", "stroke",
                                      "newpath", "60.00 15.00 moveto", "60.00 -15.00 lineto",
                                      "100.00 0.00 lineto", "60.00 15.00 lineto", "stroke"}));
}

TEST_F(FigureTest, ArrowsFollowTheirDirection) {
  const float x1[2] = {0.0f, 1.0f}, y1[2] = {0.0f, 1.0f};
  const float x2[2] = {0.0f, 1.0f}, y2[2] = {1.0f, -1.0f};
  usarrow1(x1, y1, x2, y2, 2);
  const auto v = lines();
  ASSERT_EQ(v.size(), 20u);
  // Upward arrow: head base across x at y = 0.6.
  EXPECT_EQ(v.at(5), "-15.00 60.00 moveto");
  EXPECT_EQ(v.at(6), "15.00 60.00 lineto");
  EXPECT_EQ(v.at(7), "0.00 100.00 lineto");
  // Downward arrow from (1, 1): shaft ends at y = 1 - 1.2.
  EXPECT_EQ(v.at(12), "100.00 -20.00 lineto");
}

TEST_F(FigureTest, NoArrowForZeroOrNegativeCount) {
  const float x[1] = {0.0f};
  usarrow1(x, x, x, x, 0);
  usarrow1(x, x, x, x, -3);
  EXPECT_TRUE(lines().empty());
}

}  // namespace
}  // namespace polarsketch::plot
