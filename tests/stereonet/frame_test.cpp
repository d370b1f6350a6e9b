// The stereonet frame read back from the plot file (geometry checked from the
// points written), and the frame, label and point-count menus.
#include "stereonet/frame.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "console/iocom.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "stereonet/projections.hpp"
#include "support/test_support.hpp"

namespace polarsketch::stereonet {
namespace {

using testing::ConsoleCapture;
using testing::split_lines;

using Path = std::vector<std::pair<float, float>>;

// A "NeWS" plot file of paths and texts, split into the point lists of the
// stroked paths and the remaining (text) lines.
struct Drawing {
  std::vector<Path> paths;
  std::vector<std::string> other;
};

Drawing parse(const std::vector<std::string>& lines) {
  Drawing d;
  bool in_path = false;
  for (const std::string& s : lines) {
    float x = 0.0f, y = 0.0f;
    char op[16] = {};
    if (s == "newpath") {
      d.paths.emplace_back();
      in_path = true;
    } else if (s == "stroke") {
      in_path = false;
    } else if (in_path && std::sscanf(s.c_str(), "%f %f %15s", &x, &y, op) == 3) {
      d.paths.back().emplace_back(x, y);
    } else {
      d.other.push_back(s);
    }
  }
  return d;
}

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() {
    console::iocom.lcrerr = false;
    math::set_angle_constants();
    reset_stefram2();
    postscript::reset_postscript();
    plot::reset_plot_records();
    console::bind_output(console::kUnitPlotFile, ps_);
    postscript::psparams.ips = 2;
    postscript::psparams.ipsfont = 1;
    postscript::psparams.fonts(1) = "/Helvetica";
    postscript::psparams.pstxtheight = 10.0f;
    postscript::writer().start(console::kUnitPlotFile, "test.ps");
    plot::plt1blk.isubplot = 1;
    plot::plt1blk.ustode(1, 1, 1) = 100.0f;
    plot::plt1blk.ustode(2, 2, 1) = 100.0f;
  }
  ~FrameTest() override { postscript::writer().reset(); }

  void projection(std::int32_t ip) {
    std::int32_t i = ip;
    sspro(i, 1);
    cap.take();
  }
  Drawing draw() {
    repstereo();
    postscript::writer().flush();
    return parse(split_lines(ps_.str()));
  }

  ConsoleCapture cap;
  std::ostringstream ps_;
};

float radius(const std::pair<float, float>& p) { return std::hypot(p.first, p.second); }

double angle_deg(const std::pair<float, float>& p) {
  return std::atan2(static_cast<double>(p.second), static_cast<double>(p.first)) * 180.0 /
         3.14159265358979;
}

TEST_F(FrameTest, StartFrameUnderRetrogradeSchmidt) {
  projection(4);
  const Drawing d = draw();
  ASSERT_EQ(d.paths.size(), 43u);  // circle, two diameters, 40 ticks

  const Path& circle = d.paths[0];
  ASSERT_EQ(circle.size(), 200u);
  for (const auto& p : circle) EXPECT_NEAR(radius(p), 100.0f, 0.006f);
  EXPECT_EQ(circle.front(), circle.back());

  EXPECT_EQ(d.paths[1], (Path{{-100.0f, 0.0f}, {100.0f, 0.0f}}));
  EXPECT_EQ(d.paths[2], (Path{{0.0f, -100.0f}, {0.0f, 100.0f}}));

  // Radial ticks from 1.02 to 1.08 every 10 degrees: 36 distinct, the four
  // on the axes twice.
  std::multiset<long> angles;
  for (std::size_t i = 3; i < d.paths.size(); ++i) {
    const Path& t = d.paths[i];
    ASSERT_EQ(t.size(), 2u);
    EXPECT_NEAR(radius(t[0]), 102.0f, 0.01f);
    EXPECT_NEAR(radius(t[1]), 108.0f, 0.01f);
    const double a = angle_deg(t[1]);
    EXPECT_NEAR(angle_deg(t[0]), a, 0.05);
    const long deg = std::lround(a < -0.5 ? a + 360.0 : a);
    EXPECT_EQ(deg % 10, 0);
    angles.insert(deg);
  }
  EXPECT_EQ(std::set<long>(angles.begin(), angles.end()).size(), 36u);
  for (long axis : {0L, 90L, 180L, 270L}) EXPECT_EQ(angles.count(axis), 2u) << axis;

  // "North" centred above the top, "East" to the right of the right end.
  EXPECT_EQ(d.other,
            (std::vector<std::string>{
                "0.00 110.00 moveto", "10 /Helvetica findfont exch scalefont setfont", "(North)",
                "dup stringwidth pop -2 div 0 rmoveto", "show", "110.00 -5.00 moveto",
                "10 /Helvetica findfont exch scalefont setfont", "(East) show"}));
}

TEST_F(FrameTest, DirectAxesSwapTheDirectionLabels) {
  projection(3);
  const Drawing d = draw();
  ASSERT_EQ(d.other.size(), 8u);
  EXPECT_EQ(d.other[0], "110.00 -5.00 moveto");
  EXPECT_EQ(d.other[2], "(North) show");
  // The projected east point lies a rounding error left of the axis.
  EXPECT_EQ(d.other[3], "-0.00 110.00 moveto");
  EXPECT_EQ(d.other[5], "(East)");
}

TEST_F(FrameTest, SettingsChooseWhatIsDrawn) {
  projection(4);
  auto& f = stefram2;
  f.nps = 20;
  f.laxis = false;
  f.ltics = false;
  f.llabel(1) = false;  // the direction labels are written whatever their flags say
  f.llabel(2) = false;
  f.llabel(3) = true;
  f.label(3) = "UpperRightCorner";
  f.llabel(5) = true;
  f.label(5) = "  LL";
  const Drawing d = draw();
  ASSERT_EQ(d.paths.size(), 1u);
  EXPECT_EQ(d.paths[0].size(), 20u);
  const auto& o = d.other;
  ASSERT_EQ(o.size(), 16u);
  EXPECT_EQ(o[2], "(North)");
  EXPECT_EQ(o[7], "(East) show");
  // Corner labels: first 10 characters, trimmed, middle-left and middle-right.
  EXPECT_EQ(o[8], "50.00 95.00 moveto");
  EXPECT_EQ(o[10], "(UpperRight) show");
  EXPECT_EQ(o[11], "-50.00 -105.00 moveto");
  EXPECT_EQ(o[13], "(LL)");
}

TEST_F(FrameTest, TextAngleAndAlignmentAreRestored) {
  projection(4);
  plot::plt2blk.txtangle = 30.0f;
  plot::plt2blk.itxtjust = 3;
  const Drawing d = draw();
  EXPECT_EQ(plot::plt2blk.txtangle, 30.0f);
  EXPECT_EQ(plot::plt2blk.itxtjust, 3);
  for (const auto& s : d.other) EXPECT_EQ(s.find("rotate"), std::string::npos) << s;
}

TEST(FrameMenus, ResetAnnouncesAndRestoresTheStartSettings) {
  ConsoleCapture cap;
  stefram2.nps = 7;
  stefram2.llabel(4) = true;
  stefram2.label(1) = "Up";
  srepstereo0(5);
  EXPECT_EQ(stefram2.nps, 200);
  EXPECT_FALSE(stefram2.llabel(4));
  EXPECT_EQ(stefram2.label(1), FixedText<15>("North"));
  EXPECT_EQ(cap.lines(),
            (std::vector<std::string>{
                " @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@", " @ subroutine srepstereo0",
                " @==========================================", " INITIALIZING STEREO FRAME"}));
}

TEST(FrameMenus, FrameMenuShowsEveryLabelAndSetting) {
  ConsoleCapture cap("99\n");
  reset_stefram2();
  srepstereo0(2);
  const auto lines = cap.lines();
  const std::vector<std::string> menu = {" -------------------------------------------",
                                         " STEREO FRAME PARAMETERS",
                                         " -------------------------------------------",
                                         " position   :     label     :?:command",
                                         " X axis     :North          :T:..1",
                                         " Y axis     :East           :T:..2",
                                         " Upper Right:None           :F:..3",
                                         " Lower Right:None           :F:..4",
                                         " Lower Left :None           :F:..5",
                                         " Upper Left :None           :F:..6",
                                         " nb of points to draw ..........10     200",
                                         " draw axis......................20 T",
                                         " draw tics......................30 T",
                                         " -------------------------------------------",
                                         " EXIT ..........................99",
                                         " @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@"};
  ASSERT_GE(lines.size(), 3 + menu.size());
  EXPECT_EQ(lines[1], " @ subroutine srepstereo0");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3,
                                     lines.begin() + 3 + static_cast<long>(menu.size())),
            menu);
}

TEST(FrameMenus, FrameMenuEditsLabelsPointsAndFlags) {
  // Label 4: text "South", drawn; 350 points; no ticks.
  ConsoleCapture cap("4\n2\nSouth\n3\n1\n99\n10\n10\n350\n99\n30\nn\n99\n");
  reset_stefram2();
  srepstereo0(2);
  EXPECT_EQ(stefram2.label(4), FixedText<15>("South"));
  EXPECT_TRUE(stefram2.llabel(4));
  EXPECT_EQ(stefram2.nps, 350);
  EXPECT_FALSE(stefram2.ltics);
  EXPECT_TRUE(stefram2.laxis);
  const std::string out = cap.text();
  EXPECT_NE(out.find(" label position        : Lower Right\n"), std::string::npos);
  EXPECT_NE(out.find(" label index...........1   4\n"), std::string::npos);
  EXPECT_NE(out.find(" label text............2 South          \n"), std::string::npos);
  EXPECT_NE(out.find(" draw label (0/1)......3   1\n"), std::string::npos);
  EXPECT_NE(out.find(" STEREO FRAME NUMBER OF POINT:              \n"), std::string::npos);
  EXPECT_NE(out.find(" nb of points to draw ..........10   350\n"), std::string::npos);
}

TEST(FrameMenus, LabelNumberOutsideTheTableIsResetToSix) {
  ConsoleCapture cap("99\n");
  console::iocom.lcrerr = false;
  reset_stefram2();
  std::string labela = "Corner";
  std::int32_t ion = 1;
  std::int32_t ilab = 9;
  srepstereolabel1(labela, ion, ilab, 1);
  EXPECT_EQ(ilab, 6);
  // The menu was shown with label 6 as stored, and that is stored back.
  EXPECT_EQ(labela, "None  ");
  EXPECT_EQ(ion, 0);
  const std::string out = cap.text();
  EXPECT_NE(out.find(" label number =    9\n label number must be in [1,6]\n"
                     " ==> label number reset to =    6\n"),
            std::string::npos);
  EXPECT_NE(out.find(" label position        : Upper Left \n"), std::string::npos);
}

TEST(FrameMenus, DrawFlagOutsideZeroOneIsReset) {
  ConsoleCapture cap("99\n");
  console::iocom.lcrerr = false;
  reset_stefram2();
  std::string labela(15, ' ');
  labela.replace(0, 3, "Top");
  std::int32_t ion = 5;
  std::int32_t ilab = 3;
  srepstereolabel1(labela, ion, ilab, 1);
  EXPECT_EQ(ion, 0);
  EXPECT_FALSE(stefram2.llabel(3));
  EXPECT_EQ(stefram2.label(3), FixedText<15>("Top"));
  EXPECT_NE(
      cap.text().find(" draw or not (0/1) =    5\n should be in [0,1]\n ==>reset to =    0\n"),
      std::string::npos);
}

TEST(FrameMenus, SilentSettersStoreTheirArguments) {
  ConsoleCapture cap;
  reset_stefram2();
  std::string labela = "A very long label text";
  std::int32_t ion = 1;
  std::int32_t ilab = 6;
  srepstereolabel1(labela, ion, ilab, 1);
  EXPECT_EQ(stefram2.label(6), FixedText<15>("A very long lab"));
  EXPECT_TRUE(stefram2.llabel(6));
  std::int32_t npsa = 33;
  srepstereonp(npsa, 1);
  EXPECT_EQ(stefram2.nps, 33);
  npsa = 0;
  srepstereonp(npsa, 3);
  EXPECT_EQ(npsa, 33);
  srepstereonp(npsa, 5);
  EXPECT_EQ(stefram2.nps, 200);
  EXPECT_NE(cap.text().find(" INITIALIZING STEREO FRAME: number of points\n"), std::string::npos);
  EXPECT_TRUE(cap.text().find("EXIT") == std::string::npos);
}

}  // namespace
}  // namespace polarsketch::stereonet
