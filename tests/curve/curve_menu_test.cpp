// The curve-parameters menu: initialisation of every curve parameter, the
// display, and the menu's dispatch to the setters.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "curve/fixed_params.hpp"
#include "support/frame_text.hpp"
#include "curve/levels.hpp"
#include "curve/running_point.hpp"
#include "support/test_support.hpp"

namespace polarsketch::curve {
namespace {

using testing::ConsoleCapture;
namespace fr = testing::frames;

class CurveMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_ptblock();
    reset_plevblock();
    reset_pfixblock();
  }
  static long count(const fr::Lines& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
  }
};

const std::string kDash = " -------------------------------------------";

TEST_F(CurveMenuTest, InitialisationSetsEveryDefaultQuietly) {
  ConsoleCapture cap;
  scall(5);
  fr::Lines expected = fr::menu_head("scall");
  expected.push_back(" INITIALIZING CURVES PARAMETERS");
  for (const auto& l : fr::menu_head("scptnp")) expected.push_back(l);
  expected.push_back(" INITIALIZING NUMBER OF POINTS TO:      11");
  EXPECT_EQ(cap.lines(), expected);

  EXPECT_EQ(pfixblock.nparfix, 0);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(pfixblock.pfixname(i).str(), "param");
    EXPECT_EQ(pfixblock.ipfixtype(i), 1);
    EXPECT_EQ(pfixblock.pfix(i), 0.0f);
    EXPECT_EQ(pfixblock.ipfix(i), 0);
    EXPECT_EQ(pfixblock.pfixvalue(i).str(), " 0.000000   ");
    EXPECT_EQ(pfixblock.pfixinfo(i).str(), "parameter = 0.000");
  }
  EXPECT_EQ(plevblock.nlev, 11);
  EXPECT_EQ(plevblock.plevd, 0.1f);
  EXPECT_EQ(plevblock.plevname.str(), "level");
  EXPECT_EQ(ptblock.np, 11);
  EXPECT_EQ(ptblock.pti, 0.0f);
  EXPECT_EQ(ptblock.ptf, 1.0f);
  EXPECT_EQ(ptblock.ptd, 0.1f);
  EXPECT_EQ(ptblock.ptname.str(), "Point");
}

TEST_F(CurveMenuTest, DisplayShowsAllThreeGroups) {
  ConsoleCapture cap;
  scall(5);
  pfixblock.nparfix = 2;
  pfixblock.pfixname(2) = "dip";
  pfixblock.pfixvalue(2) = "35.5000000000";
  pfixblock.ipfixtype(2) = 3;
  cap.take();
  scall(6);
  const std::string b9(9, ' ');
  fr::Lines expected = fr::menu_head("scall");
  for (const std::string& l : {
           kDash,
           " " + std::string(17, ' ') + "CURVES",
           " " + b9 + "1 - FIXED PARAMETERS",
           std::string(" max nb of fixed params    :      4"),
           std::string(" current nb of fixed params:      2"),
           std::string(" current fixed parameters:"),
           " name" + std::string(7, ' ') + "value" + std::string(5, ' ') + "type" +
               std::string(3, ' ') + "index",
           " " + std::string(5, ' ') + "param" + " " + " 0.000000" + "  1 ....... 1",
           " " + std::string(5, ' ') + "dip  " + " " + "35.500000" + "  3 ....... 2",
           kDash,
           " " + b9 + "2 - LEVEL PARAMETERS",
           std::string(" level name ...............: level"),
           std::string(" level initial value ......:    0.000"),
           std::string(" level final   value ......:    1.000"),
           std::string(" level increment ..........:    0.100"),
           std::string(" single level value .......:    0.000"),
           std::string(" nb of level curves .......:     11"),
           kDash,
           " " + b9 + "3 - RUNNING POINT PARAMETERS",
           std::string(" max nb of points .........:   1000"),
           std::string(" nb of points to draw .....:     11"),
           std::string(" nb of segments to draw ...:    0.000"),
           std::string(" initial value ............:    0.000"),
           std::string(" final   value ............:    1.000"),
           std::string(" increment ................:    0.100"),
           std::string(" name .....................: Point"),
       })
    expected.push_back(l);
  expected.push_back(fr::menu_tail());
  EXPECT_EQ(cap.lines(), expected);
}

TEST_F(CurveMenuTest, OtherFlagsDoNothing) {
  ConsoleCapture cap;
  for (std::int32_t inter : {1, 2, 3, 7, -1}) scall(inter);
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(ptblock.np, 0);
}

TEST_F(CurveMenuTest, MenuDispatchesToTheSetters) {
  // 3 (not in use): menu again; 1: the first parameter's menu; 210: levels
  // with the increment given, new increment 0.25; 100: the count menu;
  // 330: the running point's name; then leave.
  ConsoleCapture cap("3\n1\n99\n210\n12\n0.25\n99\n100\n99\n330\n10\nTheta\n99\n99\n");
  console::iocom.lcrerr = false;
  scall(5);
  pfixblock.nparfix = 2;
  cap.take();
  scall(0);
  const auto lines = cap.lines();
  const std::string scall_head = fr::menu_head("scall")[1];
  EXPECT_EQ(count(lines, scall_head), 6);
  EXPECT_EQ(count(lines, fr::menu_head("scparfix")[1]), 1);
  EXPECT_EQ(count(lines, fr::menu_head("sclevel2")[1]), 2);
  EXPECT_EQ(count(lines, fr::menu_head("scparfixnb")[1]), 1);
  EXPECT_EQ(count(lines, fr::menu_head("scptnam")[1]), 2);
  EXPECT_TRUE(fr::contains_block(lines, {" Calculation type =    2"}));
  EXPECT_EQ(plevblock.plevd, 0.25f);
  EXPECT_EQ(plevblock.nlev, 5);
  EXPECT_EQ(ptblock.ptname.str(), "Theta");
  EXPECT_EQ(pfixblock.nparfix, 2);

  // The menu as shown after the changes.
  fr::Lines menu = fr::menu_head("scall");
  for (const std::string& l : {
           kDash,
           " " + std::string(11, ' ') + "CURVES PARAMETERS",
           kDash,
           " " + std::string(9, ' ') + "1 - FIXED PARAMETERS",
           std::string(" max nb of fixed params ..........      4"),
           std::string(" current nb of fixed params ...100      2"),
           std::string(" current fixed parameters:"),
           std::string(" name       value     type   index"),
           std::string("      param  0.000000  1 ....... 1"),
           std::string("      param  0.000000  1 ....... 2"),
           kDash,
           " " + std::string(9, ' ') + "2 - LEVEL PARAMETERS",
           std::string(" nb of level curves ...........200      5"),
           std::string(" level initial value ..........210    0.000"),
           std::string(" level final   value ..........210    1.000"),
           std::string(" level increment ..............210    0.250"),
           std::string(" single level value ...........210    0.000"),
           std::string(" level name ...................210 level"),
           kDash,
           " " + std::string(9, ' ') + "3 - RUNNING POINT PARAMETERS",
           std::string(" max nb of points ................   1000"),
           std::string(" nb of points to draw .........300     11"),
           std::string(" nb of segments to draw .......300    0.000"),
           std::string(" initial value ................310    0.000"),
           std::string(" final   value ................310    1.000"),
           std::string(" increment ....................320    0.100"),
           std::string(" name .........................330 Theta"),
           kDash,
           std::string(" EXIT ..........................99"),
       })
    menu.push_back(l);
  menu.push_back(fr::menu_tail());
  EXPECT_TRUE(fr::contains_block(lines, menu));
}

TEST_F(CurveMenuTest, RunningPointChoicesChangeTheRecord) {
  ConsoleCapture cap("300\n10\n21\n99\n310\n10\n-1\n11\n3\n99\n320\n10\n0.2\n99\n99\n");
  console::iocom.lcrerr = false;
  scall(0);
  EXPECT_EQ(ptblock.np, 21);
  EXPECT_EQ(ptblock.pti, -1.0f);
  EXPECT_EQ(ptblock.ptf, 3.0f);
  EXPECT_EQ(ptblock.ptd, 0.2f);
  cap.set_input("200\n14\n4\n99\n99\n");
  scall(0);
  EXPECT_EQ(plevblock.nlev, 4);
}

TEST_F(CurveMenuTest, MenuEndsWhenInputEnds) {
  ConsoleCapture cap("5\n");
  try {
    scall(0);
    FAIL() << "expected an orderly stop";
  } catch (const console::OrderlyStop& stop) {
    EXPECT_EQ(stop.status, console::kExitEndOfInput);
  }
}

}  // namespace
}  // namespace polarsketch::curve
