// Running point: the point-count setter's checks, the end check of every
// calculation type, its texts, and the fallback to the curve menu.
#include "curve/running_point.hpp"

#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "curve/fixed_params.hpp"
#include "support/frame_text.hpp"
#include "curve/levels.hpp"
#include "support/test_support.hpp"

namespace polarsketch::curve {
namespace {

using testing::ConsoleCapture;
namespace fr = testing::frames;

class RunningPointTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_ptblock();
    reset_plevblock();
    reset_pfixblock();
  }
  // The drawing routines' sequence with a given increment already in place.
  static void run(std::int32_t np, float pti, float ptf, float ptd, std::int32_t type) {
    ptblock.ptd = ptd;
    scptnp(np, 1);
    scptif(pti, ptf, 1);
    scptend(type, 1);
  }
};

TEST_F(RunningPointTest, PointCountIsCappedRaisedOrKept) {
  {
    ConsoleCapture cap("\n");
    std::int32_t n = 1500;
    scptnp(n, 1);
    EXPECT_EQ(n, 1000);
    EXPECT_EQ(ptblock.np, 1000);
    EXPECT_EQ(cap.lines(),
              fr::frame(fr::warning_head("scptnp"),
                        {"nb of points =    1500 > plot buffer size =    1000",
                         "===> reset nb of points =    1000", "===> WILL NOT PLOT ALL THE DATA"},
                        fr::warning_tail()));
  }
  {
    ConsoleCapture cap("\n");
    std::int32_t n = 0;
    scptnp(n, 1);
    EXPECT_EQ(ptblock.np, 1);
    EXPECT_EQ(cap.lines(),
              fr::frame(fr::error_head("scptnp"),
                        {"nb of points np =       0", "===> UPSTREAM PROBLEM ?",
                         "Increment inconsistent with bounds ?", "===> RESETTING np =       1"},
                        fr::error_tail()));
  }
  {
    ConsoleCapture cap("\n");
    std::int32_t n = 1;
    scptnp(n, 1);
    EXPECT_EQ(cap.lines(), fr::frame(fr::warning_head("scptnp"),
                                     {"nb of points =       1", "===> WILL PLOT ONLY ONE POINT"},
                                     fr::warning_tail()));
  }
  {
    ConsoleCapture cap;
    std::int32_t n = 1;
    scptnp(n, 7);
    EXPECT_EQ(ptblock.np, 1);
    EXPECT_EQ(cap.text(), "");
  }
}

TEST_F(RunningPointTest, InitialisingFlagAnnouncesTheDefaultCount) {
  ConsoleCapture cap;
  std::int32_t n = 0;
  scptnp(n, 5);
  EXPECT_EQ(n, 11);
  fr::Lines expected = fr::menu_head("scptnp");
  expected.push_back(" INITIALIZING NUMBER OF POINTS TO:      11");
  EXPECT_EQ(cap.lines(), expected);
}

TEST_F(RunningPointTest, CountMenuShowsPointsAndSegments) {
  ConsoleCapture cap("10\n25\n99\n");
  console::iocom.lcrerr = false;
  ptblock.np = 7;
  std::int32_t n = 0;
  scptnp(n, 2);
  EXPECT_EQ(ptblock.np, 25);
  const auto lines = cap.lines();
  fr::Lines menu = fr::menu_head("scptnp");
  for (const char* l :
       {"-------------------------------------------",
        "RUNNING POINT PARAMETERS:                  ",
        "-------------------------------------------", "max nb of points ................    1000",
        "nb of points ..................10       7", "nb of segments ..................       6",
        "-------------------------------------------", "EXIT ..........................99"})
    menu.push_back(fr::ln(l));
  menu.push_back(fr::menu_tail());
  EXPECT_TRUE(fr::contains_block(lines, menu));
  EXPECT_TRUE(fr::contains_block(lines, {" nb of points ..................10      25",
                                         " nb of segments ..................      24"}));
}

TEST_F(RunningPointTest, TypeOneDerivesIncrementAndTexts) {
  ConsoleCapture cap("\n");
  const float pi = std::numbers::pi_v<float>;
  ptblock.ptname = "Point";
  run(200, 0.0f, pi, 0.0f, 1);
  EXPECT_EQ(ptblock.ptd, pi / 199.0f);  // exact: the same float division
  EXPECT_EQ(ptblock.rnp, 200.0f);
  EXPECT_EQ(ptblock.rni, 199.0f);
  EXPECT_EQ(ptblock.ptvalue.str(), " init =  0.000000 final =  3.141593 inc =  0.015787");
  EXPECT_EQ(ptblock.ptinfo.str(), "Point init =  0.000000 final =  3.141593 inc =  0.015787");
  EXPECT_EQ(cap.text(), "");

  // A single point (warned about by the count setter) has no increment; type 101 leaves the texts
  // alone.
  const FixedText<56> before = ptblock.ptinfo;
  run(1, 2.0f, 5.0f, 0.7f, 101);
  EXPECT_EQ(ptblock.ptd, 0.0f);
  EXPECT_EQ(ptblock.ptinfo, before);
  EXPECT_TRUE(fr::contains_block(cap.lines(), {" ===> WILL PLOT ONLY ONE POINT"}));
}

TEST_F(RunningPointTest, TypeTwoRefitsALargeRemainder) {
  ConsoleCapture cap("\n");
  run(11, 0.0f, 1.0f, 0.3f, 2);
  EXPECT_EQ(ptblock.np, 4);
  EXPECT_EQ(ptblock.ptd, 1.0f / 3.0f);
  EXPECT_EQ(cap.lines(),
            fr::frame(fr::warning_head("scptend"),
                      {"Calculation type =      2", "np computed from td with:", " mp  =   1000",
                       " np  =      4", " pti =    0.000", " ptf =    1.000", " ptd =    0.300",
                       " remainder/ptd =    0.333", "==> large remainder",
                       "RECOMPUTED VALUE:", " ptd =    0.333"},
                      fr::warning_tail()));
}

TEST_F(RunningPointTest, TypeThreeKeepsTheIncrement) {
  ConsoleCapture cap("\n");
  run(11, 0.0f, 1.0f, 0.3f, 3);
  EXPECT_EQ(ptblock.np, 4);
  EXPECT_EQ(ptblock.ptd, 0.3f);
  const auto lines = cap.lines();
  EXPECT_TRUE(
      fr::contains_block(lines, {" ==> large remainder", " ==> final point is not reached"}));
  EXPECT_EQ(lines.back(), fr::warning_tail().back());
}

TEST_F(RunningPointTest, WholeIncrementsAndTinyRemaindersAreSilent) {
  ConsoleCapture cap;
  run(3, 0.0f, 1.0f, 0.1f, 2);
  EXPECT_EQ(ptblock.np, 11);
  EXPECT_EQ(ptblock.ptd, 0.1f);
  // Downward runs count the same way.
  run(3, 1.0f, 0.0f, -0.25f, 3);
  EXPECT_EQ(ptblock.np, 5);
  EXPECT_EQ(ptblock.ptd, -0.25f);
  EXPECT_EQ(cap.text(), "");
}

// A count beyond the integer range saturates, is capped at the buffer size,
// and the increment is refitted to the capped count.
TEST_F(RunningPointTest, TinyIncrementIsCappedNotOverflowed) {
  ConsoleCapture cap("\n\n");
  run(3, 0.0f, 1.0f, 1e-30f, 2);
  EXPECT_EQ(ptblock.np, 1000);
  EXPECT_EQ(ptblock.ptd, 1.0f / 999.0f);
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(lines, {" ===> reset nb of points =    1000"}));
  EXPECT_TRUE(fr::contains_block(lines, {" RECOMPUTED VALUE:", "  ptd =    0.001"}));
}

TEST_F(RunningPointTest, UnknownTypeFallsBackToTheCount) {
  ConsoleCapture cap("\n");
  run(5, 0.0f, 2.0f, 9.0f, 7);
  EXPECT_EQ(ptblock.ptd, 0.5f);
  EXPECT_EQ(cap.lines(), fr::frame(fr::warning_head("scptend"),
                                   {"Calculation type =      7", "==> Unknown",
                                    "==> RESETTING TYPE TO USE NP", "Calculation type =      1"},
                                   fr::warning_tail()));
}

// An inconsistent loop opens the curve menu; the corrected increment is used.
TEST_F(RunningPointTest, InconsistentLoopIsCorrectedThroughTheCurveMenu) {
  // Pause, curve menu: 320, increment menu: 10, 0.25, 99, curve menu: 99.
  ConsoleCapture cap("\n320\n10\n0.25\n99\n99\n");
  console::iocom.lcrerr = true;
  run(3, 0.0f, 1.0f, 0.0f, 2);
  EXPECT_EQ(ptblock.ptd, 0.25f);
  EXPECT_EQ(ptblock.np, 5);
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(
      lines, fr::frame(fr::error_head("scptend"),
                       {"Calculation type =      2",
                        "Computing np from td with:", "  pti =    0.000", "  ptf =    1.000",
                        "  ptd =    0.000", "==> INCONSISTENT LOOP", "==> NEED TO CORRECT IT"},
                       fr::error_tail())));
  EXPECT_TRUE(fr::contains_block(lines, fr::menu_head("scall")));
  EXPECT_TRUE(fr::contains_block(lines, fr::menu_head("scptd")));
}

TEST_F(RunningPointTest, MissingPointCountIsCorrectedThroughTheCurveMenu) {
  // Pause, curve menu: 300, count menu: 10, 3, 99, curve menu: 99.
  ConsoleCapture cap("\n300\n10\n3\n99\n99\n");
  ptblock.np = 0;
  ptblock.pti = 0.0f;
  ptblock.ptf = 1.0f;
  scptend(1, 1);
  EXPECT_EQ(ptblock.np, 3);
  EXPECT_EQ(ptblock.ptd, 0.5f);
  EXPECT_TRUE(fr::contains_block(
      cap.lines(), fr::frame(fr::error_head("scptend"),
                             {"Calculation type =      1", "Computing increment from np =      0",
                              "==> NEED TO SET np > 0"},
                             fr::error_tail())));
}

TEST_F(RunningPointTest, FallbackEndsWhenInputEnds) {
  ConsoleCapture cap("\n");
  try {
    run(3, 0.0f, 1.0f, -0.1f, 2);
    FAIL() << "expected an orderly stop";
  } catch (const console::OrderlyStop& stop) {
    EXPECT_EQ(stop.status, console::kExitEndOfInput);
  }
}

TEST_F(RunningPointTest, SettersLoadDefaultsAndStore) {
  ConsoleCapture cap;
  console::iocom.lwito(3) = true;  // shows the exit frame of the name setter
  float a = 5.0f, b = 6.0f, d = 7.0f;
  scptif(a, b, 5);
  scptd(d, 5);
  std::string name(15, ' ');
  scptnam(name, 5);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(b, 1.0f);
  EXPECT_EQ(d, 0.1f);
  EXPECT_EQ(name, "Point.parameter");
  EXPECT_EQ(ptblock.ptname.str(), "Point");
  EXPECT_EQ(ptblock.ptd, 0.1f);
  std::string shorter(3, 'x');
  scptnam(shorter, 3);
  EXPECT_EQ(shorter, "Poi");
  EXPECT_EQ(ptblock.ptname.str(), "Poi  ");
  EXPECT_EQ(cap.lines(), (fr::Lines{fr::ln(std::string(43, '@')), " @ exiting scptnam    ",
                                    fr::ln(std::string(43, '@')), fr::ln(std::string(43, '@')),
                                    " @ exiting scptnam    ", fr::ln(std::string(43, '@'))}));
}

TEST_F(RunningPointTest, BoundsIncrementAndNameMenus) {
  ConsoleCapture cap("10\n-2\n11\n4.5\n99\n10\n0.125\n99\n10\nAngle\n99\n");
  console::iocom.lcrerr = false;
  float a = 0.0f, b = 0.0f, d = 0.0f;
  scptif(a, b, 0);
  scptd(d, 4);
  std::string name(5, ' ');
  scptnam(name, 2);
  EXPECT_EQ(ptblock.pti, -2.0f);
  EXPECT_EQ(ptblock.ptf, 4.5f);
  EXPECT_EQ(ptblock.ptd, 0.125f);
  EXPECT_EQ(ptblock.ptname.str(), "Angle");
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(lines, {" RUNNING POINT parameters :                 ",
                                         " -------------------------------------------",
                                         " initial value .................10   -2.000",
                                         " final   value .................11    4.500"}));
  EXPECT_TRUE(fr::contains_block(lines, {" increment .....................10    0.100"}));
  EXPECT_TRUE(fr::contains_block(lines, {" increment .....................10    0.125"}));
  EXPECT_TRUE(fr::contains_block(lines, {" name ..........................10 Angle"}));
}

}  // namespace
}  // namespace polarsketch::curve
