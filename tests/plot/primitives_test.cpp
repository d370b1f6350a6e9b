// Polylines in chunks, the buffer copy, text placement and marker symbols,
// read back from the plot file written in the "NeWS" dialect.
#include "plot/primitives.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

using testing::ConsoleCapture;
using testing::split_lines;

// A plot file bound to a string in dialect 2, black and white, with user
// units equal to device units in subplot 1 and one device unit per cm.
class PlotCapture {
 public:
  PlotCapture() {
    math::trigoset();  // symbol outlines turn degrees into radians
    postscript::reset_postscript();
    reset_plot_records();
    reset_pltbuff1();
    console::bind_output(console::kUnitPlotFile, ps_);
    postscript::psparams.ips = 2;
    postscript::writer().start(console::kUnitPlotFile, "test.ps");
    plt1blk.isubplot = 1;
    plt1blk.ustode(1, 1, 1) = 1.0f;
    plt1blk.ustode(2, 2, 1) = 1.0f;
    plt1blk.cmtode(1, 1) = 1.0f;
    plt1blk.cmtode(2, 2) = 1.0f;
    plt1blk.rcmtode = 1.0f;
  }
  ~PlotCapture() { postscript::writer().reset(); }
  std::vector<std::string> lines() {
    postscript::writer().flush();
    return split_lines(ps_.str());
  }

 private:
  std::ostringstream ps_;
};

long count(const std::vector<std::string>& v, const std::string& s) {
  return std::count(v.begin(), v.end(), s);
}

std::vector<float> ramp(int n) {
  std::vector<float> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = static_cast<float>(i + 1);
  return v;
}

TEST(Usline, OnePointIsAZeroLengthSegment) {
  ConsoleCapture cap;
  PlotCapture plot;
  const float x[1] = {3.0f};
  const float y[1] = {4.0f};
  usline(x, y, 1);
  EXPECT_EQ(plot.lines(), (std::vector<std::string>{"newpath", "3.00 4.00 moveto",
                                                    "3.00 4.00 lineto", "stroke"}));
}

TEST(Usline, ChunksOf501PointsShareTheirBoundaryPoint) {
  for (int n : {501, 502, 1000}) {
    SCOPED_TRACE(n);
    ConsoleCapture cap;
    PlotCapture plot;
    const std::vector<float> x = ramp(n);
    const std::vector<float> y(static_cast<std::size_t>(n), 0.0f);
    usline(x, y, n);
    const auto lines = plot.lines();
    const long paths = n == 501 ? 1 : 2;
    EXPECT_EQ(count(lines, "newpath"), paths);
    EXPECT_EQ(count(lines, "stroke"), paths);
    EXPECT_EQ(lines.at(1), "1.00 0.00 moveto");
    // One line-to per point after each path's first.
    EXPECT_EQ(static_cast<long>(lines.size()), 3 * paths + (n - 1));
    if (paths == 2) {
      EXPECT_EQ(lines.at(501), "501.00 0.00 lineto");
      EXPECT_EQ(lines.at(502), "stroke");
      EXPECT_EQ(lines.at(503), "newpath");
      EXPECT_EQ(lines.at(504), "501.00 0.00 moveto");
      EXPECT_EQ(lines.back(), "stroke");
      EXPECT_EQ(lines.at(lines.size() - 2), std::to_string(n) + ".00 0.00 lineto");
    }
  }
}

TEST(Usline, NoPointReportsReadingPastTheArrayAndDrawsNothing) {
  ConsoleCapture cap("\n");
  PlotCapture plot;
  const float x[1] = {0.0f};
  usline(x, x, 0);
  EXPECT_TRUE(plot.lines().empty());
  const std::string out = cap.text();
  EXPECT_NE(out.find(" is =            1 > nx =           0\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" attempt to read past array\n"), std::string::npos);
  EXPECT_NE(out.find("subroutine buffer2"), std::string::npos);
}

TEST(Buffer2, CopiesAChunkAndAdvancesToItsLastPoint) {
  ConsoleCapture cap;
  const std::vector<float> x = ramp(10);
  const std::vector<float> y = ramp(10);
  std::vector<float> xb(4, -1.0f), yb(4, -1.0f);
  std::int32_t is = 3, ibe = 0;
  buffer2(xb, yb, 4, ibe, x, y, 10, is);
  EXPECT_EQ(ibe, 4);
  EXPECT_EQ(is, 6);
  EXPECT_EQ(xb, (std::vector<float>{3, 4, 5, 6}));
  // The last chunk is cut at nx.
  is = 8;
  buffer2(xb, yb, 4, ibe, x, y, 10, is);
  EXPECT_EQ(ibe, 3);
  EXPECT_EQ(is, 10);
  EXPECT_EQ(yb[2], 10.0f);
  EXPECT_TRUE(cap.text().empty());
}

TEST(Buffer2, PastTheEndCopiesNothing) {
  ConsoleCapture cap("\n");
  const std::vector<float> x = ramp(5);
  std::vector<float> xb(4, -1.0f), yb(4, -1.0f);
  std::int32_t is = 6, ibe = 7;
  buffer2(xb, yb, 4, ibe, x, x, 5, is);
  EXPECT_EQ(ibe, 0);
  EXPECT_EQ(is, 6);
  EXPECT_EQ(xb[0], -1.0f);
  EXPECT_NE(cap.text().find(" is =            6 > nx =           5\n"), std::string::npos);
}

// Symbols of radius 1 device unit (size 2 cm at 1 unit per cm) at (100, 50).
class SymbolTest : public ::testing::Test {
 protected:
  std::vector<std::string> draw(std::int32_t code, std::int32_t fill = 0) {
    plt2blk.symbsize = 2.0f;
    plt2blk.isymbtype = code;
    plt2blk.ifillstyle = fill;
    const float x[1] = {100.0f};
    const float y[1] = {50.0f};
    ussymbol(x, y, 1);
    return plot.lines();
  }
  ConsoleCapture cap;
  PlotCapture plot;
};

TEST_F(SymbolTest, DiamondStandsOnACorner) {
  EXPECT_EQ(draw(4),
            (std::vector<std::string>{"newpath", "100.00 51.00 moveto", "99.00 50.00 lineto",
                                      "100.00 49.00 lineto", "101.00 50.00 lineto",
                                      "100.00 51.00 lineto", "stroke"}));
}

TEST_F(SymbolTest, SquareFortyHasHorizontalSides) {
  EXPECT_EQ(draw(40),
            (std::vector<std::string>{"newpath", "100.71 50.71 moveto", "99.29 50.71 lineto",
                                      "99.29 49.29 lineto", "100.71 49.29 lineto",
                                      "100.71 50.71 lineto", "stroke"}));
}

TEST_F(SymbolTest, NegativeCodeFillsTheOutlineByTheFillStyle) {
  const auto filled = draw(-3, 1);
  ASSERT_EQ(filled.size(), 8u);
  EXPECT_EQ(filled[1], "100.00 51.00 moveto");
  EXPECT_EQ(filled[5], "closepath gsave");
  EXPECT_EQ(filled[6], " 0.500 setgray fill grestore");
  EXPECT_EQ(filled[7], "stroke");
}

TEST(Symbols, NegativeCodeHollowStyleDrawsTheOutlineOnly) {
  ConsoleCapture cap;
  PlotCapture plot;
  plt2blk.symbsize = 2.0f;
  plt2blk.isymbtype = -3;
  plt2blk.ifillstyle = 0;
  const float x[1] = {100.0f};
  ussymbol(x, x, 1);
  const auto lines = plot.lines();
  EXPECT_EQ(count(lines, "closepath"), 1);
  EXPECT_EQ(count(lines, "closepath gsave"), 0);
  EXPECT_EQ(lines.back(), "stroke");
}

TEST(Symbols, LineSymbolsIgnoreTheSignAndCircleIsTheFallback) {
  auto draw = [](std::int32_t code) {
    ConsoleCapture cap;
    PlotCapture plot;
    plt2blk.symbsize = 2.0f;
    plt2blk.isymbtype = code;
    plt2blk.ifillstyle = 1;
    const float x[1] = {100.0f};
    const float y[1] = {50.0f};
    ussymbol(x, y, 1);
    return plot.lines();
  };
  const auto plus = draw(13);
  EXPECT_EQ(plus, (std::vector<std::string>{"newpath", "99.00 50.00 moveto", "101.00 50.00 lineto",
                                            "stroke", "newpath", "100.00 49.00 moveto",
                                            "100.00 51.00 lineto", "stroke"}));
  EXPECT_EQ(draw(-13), plus);
  // Codes without a shape of their own draw the 20-point circle.
  const auto circle = draw(99);
  ASSERT_EQ(circle.size(), 22u);
  EXPECT_EQ(circle[1], "101.00 50.00 moveto");
  EXPECT_EQ(circle[20], "101.00 50.00 lineto");
  EXPECT_EQ(draw(0), circle);
  // The most negative code has no 32-bit opposite: a filled circle all the same.
  const auto lowest = draw(std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(count(lowest, "closepath gsave"), 1);
  EXPECT_EQ(lowest[1], circle[1]);
  // Circled marks: the outline then the marks, only the outline filled.
  const auto circled = draw(-23);
  EXPECT_EQ(count(circled, "closepath gsave"), 1);
  EXPECT_EQ(count(circled, "newpath"), 3);
}

TEST(Symbols, NothingForNoPointAndOneSymbolPerPoint) {
  ConsoleCapture cap;
  PlotCapture plot;
  plt2blk.symbsize = 2.0f;
  plt2blk.isymbtype = 11;
  const float x[3] = {1.0f, 2.0f, 3.0f};
  ussymbol(x, x, 0);
  EXPECT_TRUE(plot.lines().empty());
  ussymbol(x, x, 3);
  const auto lines = plot.lines();
  EXPECT_EQ(count(lines, "newpath"), 3);
  EXPECT_EQ(lines.at(5), "1.00 2.00 moveto");  // (2, 2) less the arm
}

TEST(Text, UserAndPageTextConvertTheirPoint) {
  ConsoleCapture cap;
  PlotCapture plot;
  plt1blk.us0tode(1, 1) = 10.0f;
  plt1blk.cmtode(1, 1) = 2.0f;
  plt2blk.itxtjust = 1;
  postscript::psparams.ipsfont = 1;
  postscript::psparams.fonts(1) = "/Helvetica";
  postscript::psparams.pstxtheight = 12.0f;
  ustext2(1.0f, 2.0f, "AB");
  cmtext2(1.0f, 2.0f, "CD");
  const auto lines = plot.lines();
  EXPECT_EQ(count(lines, "11.00 2.00 moveto"), 1);
  EXPECT_EQ(count(lines, "2.00 2.00 moveto"), 1);
  EXPECT_EQ(count(lines, "(AB) show"), 1);
  EXPECT_EQ(count(lines, "(CD) show"), 1);
}

}  // namespace
}  // namespace polarsketch::plot
