// Level parameters: every calculation type, the consistency frames, the menu
// choices and the stored value texts.
#include "curve/levels.hpp"

#include <gtest/gtest.h>

#include <string>

#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::curve {
namespace {

using testing::ConsoleCapture;
namespace fr = testing::frames;

struct Result {
  float plevi, plevf, plevd;
  std::int32_t nlev, itype;
  std::string name;
};

// One call of sclevel2 with the given values and flag.
Result levels(float i, float f, float d, std::int32_t n, std::int32_t type, std::int32_t inter = 1,
              std::string name = "level") {
  sclevel2(i, f, d, n, type, name, inter);
  return {i, f, d, n, type, name};
}

class LevelsTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_plevblock(); }
};

TEST_F(LevelsTest, CountGivenDerivesTheIncrement) {
  ConsoleCapture cap("\n");
  EXPECT_EQ(levels(0.0f, 1.0f, 5.0f, 11, 1).plevd, 0.1f);
  EXPECT_EQ(levels(0.0f, 1.0f, 5.0f, 1, 0).plevd, 1.0f);
  EXPECT_EQ(cap.text(), "");

  const Result r = levels(0.0f, 1.0f, 5.0f, 0, 1);
  EXPECT_EQ(r.nlev, 1);
  EXPECT_EQ(r.plevd, 1.0f);
  EXPECT_EQ(plevblock.nlev, 1);
  EXPECT_EQ(cap.lines(),
            fr::frame(fr::error_head("sclevel2"),
                      {"Computing increment from nb of curves", " Calculation type =    1",
                       " nb of curves =    0", "==> NEED nb > 0", "==> RESET nb =    1"},
                      fr::error_tail()));
}

TEST_F(LevelsTest, IncrementGivenWithALargeRemainder) {
  ConsoleCapture cap("\n\n");
  const Result r2 = levels(0.0f, 1.0f, 0.3f, 99, 2);
  EXPECT_EQ(r2.nlev, 4);
  EXPECT_EQ(r2.plevd, 1.0f / 3.0f);
  EXPECT_EQ(cap.lines(),
            fr::frame(fr::warning_head("sclevel2"),
                      {"Levels computed from increment:", " Calculation type    =    2",
                       " nb of levels        =    4", " initial             =    0.000",
                       " final               =    1.000", " increment           =    0.300",
                       " remainder/increment =    0.333", "==> large remainder",
                       "==> RECOMPUTED:", " increment =    0.333"},
                      fr::warning_tail()));
  cap.take();
  const Result r3 = levels(0.0f, 1.0f, 0.3f, 99, 3);
  EXPECT_EQ(r3.nlev, 4);
  EXPECT_EQ(r3.plevd, 0.3f);
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(lines, {" ==> large remainder", " ==> final level not reached"}));
  EXPECT_EQ(lines.back(), fr::warning_tail().back());
}

TEST_F(LevelsTest, SmallRemaindersAndSingleLevelsAreSilent) {
  ConsoleCapture cap;
  const Result r = levels(0.0f, 1.0f, 0.1000001f, 2, 2);
  EXPECT_EQ(r.nlev, 11);
  EXPECT_EQ(r.plevd, 0.1000001f);
  // Between the thresholds the increment is refitted without a message:
  // 0..1 by 0.09999 leaves 0.0001 of an increment after 10 steps.
  const Result refit = levels(0.0f, 1.0f, 0.09999f, 2, 2);
  EXPECT_EQ(refit.nlev, 11);
  EXPECT_EQ(refit.plevd, 0.1f);
  // A single level keeps its increment (no interval to refit, no division by zero).
  const Result single = levels(0.0f, 0.5f, 1.0f, 7, 2);
  EXPECT_EQ(single.nlev, 1);
  EXPECT_EQ(single.plevd, 1.0f);
  const Result same = levels(2.0f, 2.0f, 0.25f, 7, 2);
  EXPECT_EQ(same.nlev, 1);
  EXPECT_EQ(same.plevd, 0.25f);
  EXPECT_EQ(plevblock.plevd, 0.25f);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(LevelsTest, WrongDirectionOrZeroIncrementCollapsesToOneLevel) {
  ConsoleCapture cap("\n\n");
  const Result r = levels(1.0f, 0.0f, 0.1f, 5, 2);
  EXPECT_EQ(r.nlev, 1);
  EXPECT_EQ(r.itype, 1);
  EXPECT_EQ(r.plevd, 1.0f);
  EXPECT_EQ(cap.lines(),
            fr::frame(fr::error_head("sclevel2"),
                      {"Levels computed from increment:", " Calculation type    =    2",
                       " initial             =    1.000", " final               =    0.000",
                       " increment           =    0.100", "==> INCONSISTENT LOOP",
                       "==> NEED TO CORRECT IT", "==> SETTING SINGLE LEVEL",
                       " Nb of levels        =    1", " Calculation type    =    1"},
                      fr::error_tail()));
  cap.take();
  const Result z = levels(0.0f, 1.0f, 0.0f, 5, 3);
  EXPECT_EQ(z.nlev, 1);
  EXPECT_EQ(z.plevd, 1.0f);
  EXPECT_TRUE(fr::contains_block(cap.lines(), {" ==> INCONSISTENT LOOP"}));
}

TEST_F(LevelsTest, SingleLevelTypeAndUnknownType) {
  ConsoleCapture cap("\n\n");
  const Result r = levels(0.5f, 3.0f, 0.2f, 5, 4);
  EXPECT_EQ(r.nlev, 1);
  EXPECT_EQ(r.plevf, 3.0f);
  EXPECT_EQ(r.plevd, 0.2f);
  EXPECT_EQ(cap.lines(),
            fr::frame(fr::warning_head("sclevel2"),
                      {"Single level:", " Calculation type    =    4",
                       " nb of levels        =    5", " initial             =    0.500",
                       " final               =    3.000", " increment           =    0.200",
                       "==> RESETTING:", " Nb of levels        =    1"},
                      fr::warning_tail()));
  cap.take();
  const Result u = levels(0.0f, 1.0f, 0.25f, 3, 7);
  EXPECT_EQ(u.itype, 2);
  EXPECT_EQ(u.nlev, 5);
  EXPECT_EQ(cap.lines(),
            fr::frame(fr::warning_head("sclevel2"),
                      {"Calculation type =    7", "==> Unknown",
                       "==> RESETTING TYPE TO USE INCREMENT", "Calculation type =    2"},
                      fr::warning_tail()));
}

TEST_F(LevelsTest, StoredRecordAndTexts) {
  ConsoleCapture cap;
  const Result d = levels(9.0f, 9.0f, 9.0f, 9, 3, 5, "xxxxxxxx");
  EXPECT_EQ(d.name, "level   ");
  EXPECT_EQ(d.itype, 1);
  EXPECT_EQ(plevblock.nlev, 11);
  EXPECT_EQ(plevblock.plevd, 0.1f);
  EXPECT_EQ(plevblock.plevname.str(), "level");
  EXPECT_EQ(plevblock.plevvalue.str(), fit_text(" init = 0.000 final = 1.000 inc = 0.100", 51));
  EXPECT_EQ(plevblock.plevinfo.str(), fit_text("level init = 0.000 final = 1.000 inc = 0.100", 56));
  EXPECT_EQ(cap.text(), "");

  // Flag 7: the arguments, made consistent and stored without a menu.
  plevblock.plev = 4.0f;
  plevblock.ilev = 3;
  levels(-2.5f, 12.25f, 0.0f, 3, 1, 7, "  depth");
  EXPECT_EQ(plevblock.plevi, -2.5f);
  EXPECT_EQ(plevblock.plevf, 12.25f);
  EXPECT_EQ(plevblock.plevd, 7.375f);
  EXPECT_EQ(plevblock.plevname.str(), "  dep");
  EXPECT_EQ(plevblock.plevvalue.str(), fit_text(" init = -2.500 final = 12.250 inc = 7.375", 51));
  EXPECT_EQ(plevblock.plevinfo.str(),
            fit_text("depth init = -2.500 final = 12.250 inc = 7.375", 56));
  EXPECT_EQ(plevblock.plev, 4.0f);  // reserved members are left alone
  EXPECT_EQ(plevblock.ilev, 3);
  EXPECT_EQ(cap.text(), "");

  // Flag 3 starts from the record; the type stays as passed.
  const Result s = levels(0.0f, 0.0f, 0.0f, 0, 2, 3, "abc");
  EXPECT_EQ(s.plevi, -2.5f);
  EXPECT_EQ(s.itype, 2);
  EXPECT_EQ(s.nlev, 3);  // trunc(14.75 / 7.375 + 0.002) + 1
  EXPECT_EQ(s.name, "  d");
}

TEST_F(LevelsTest, MenuShowsTheLevels) {
  ConsoleCapture cap("99\n");
  const Result r = levels(0.0f, 0.0f, 0.0f, 0, 0, 4, "level");
  EXPECT_EQ(r.nlev, 11);
  fr::Lines menu = fr::menu_head("sclevel2");
  for (const char* l :
       {"-------------------------------------------", "         CURVES LEVEL PARAMETER",
        "-------------------------------------------", "level name       : level",
        "Calculation type =    1", "level initial value ...........10    0.000",
        "level final   value ...........11    1.000", "level increment ...............12    0.100",
        "modify init, final & inc ......13", "nb of level curves ............14   11",
        "modify init, final & nb .......15", "single level value ............20    0.000",
        "-------------------------------------------", "EXIT ..........................99"})
    menu.push_back(fr::ln(l));
  menu.push_back(fr::menu_tail());
  EXPECT_TRUE(fr::contains_block(cap.lines(), menu));
}

TEST_F(LevelsTest, MenuChoicesReAskAndRecompute) {
  // 12: a zero increment is refused, then 0.25; 14: a count of 0 is refused,
  // then 3; 20: a single level at 0.7.
  ConsoleCapture cap("12\n0\n\n0.25\n14\n0\n\n3\n20\n0.7\n99\n");
  plevblock.plevi = 0.0f;
  plevblock.plevf = 1.0f;
  plevblock.plevd = 0.1f;
  plevblock.nlev = 11;
  plevblock.plevname = "depth";
  std::int32_t type = 1;
  float i = 0, f = 0, d = 0;
  std::int32_t n = 0;
  std::string name = "xyz";  // the caller's length: 3
  sclevel2(i, f, d, n, type, name, 2);
  EXPECT_EQ(type, 4);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(i, 0.7f);
  EXPECT_EQ(f, 0.7f);
  EXPECT_EQ(d, 1.0f);
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(
      lines, fr::frame(fr::warning_head("sclevel2"),
                       {"Increment =    0.000", "Increment MUST be non zero", "==> BACK TO QUERY"},
                       fr::warning_tail())));
  EXPECT_TRUE(fr::contains_block(
      lines, fr::frame(fr::warning_head("sclevel2"),
                       {"Nb of level curves =    0", "MUST BE > 0", "==> BACK TO QUERY"},
                       fr::warning_tail())));
  // After 12: type 2 and 5 levels; after 14: type 1 and the increment 0.5.
  EXPECT_TRUE(fr::contains_block(
      lines, {" Calculation type =    2", " level initial value ...........10    0.000",
              " level final   value ...........11    1.000",
              " level increment ...............12    0.250"}));
  EXPECT_TRUE(fr::contains_block(lines, {" nb of level curves ............14    5"}));
  EXPECT_TRUE(fr::contains_block(lines, {" level increment ...............12    0.500"}));
  EXPECT_TRUE(fr::contains_block(lines, {" Calculation type =    4"}));
  EXPECT_EQ(name, "dep");
  EXPECT_TRUE(fr::contains_block(lines, {" level name       : dep"}));
  EXPECT_EQ(plevblock.plevname.str(), "dep  ");
}

TEST_F(LevelsTest, MenuEndsWhenInputEnds) {
  ConsoleCapture cap("13\n0\n1\n");
  EXPECT_THROW(levels(0.0f, 1.0f, 0.1f, 11, 1, 0), console::OrderlyStop);
  EXPECT_EQ(plevblock.nlev, 0);  // nothing stored
}

}  // namespace
}  // namespace polarsketch::curve
