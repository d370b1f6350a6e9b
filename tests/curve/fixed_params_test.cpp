// Fixed curve parameters: the count in use, one parameter's checks, its
// dependent values and texts, and its menu.
#include "curve/fixed_params.hpp"

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

// Answers to the range checker's frame: go on ("n" to STOP), then its pause.
constexpr const char* kGoOn = "n\n\n";

// The arguments of one fixed parameter, with the texts at given lengths.
struct Param {
  std::string name = std::string(12, ' ');
  std::int32_t itype = 0;
  float value = 0.0f;
  std::int32_t ivalue = 0;
  std::string text = std::string(12, ' ');
  std::int32_t index = 1;

  void set(std::int32_t inter) { scparfix1(name, itype, value, ivalue, text, index, inter); }
};

Param real_param(std::string_view name, float v, std::int32_t index) {
  Param p;
  p.name = fit_text(name, 12);
  p.itype = 1;
  p.value = v;
  p.index = index;
  return p;
}

// The block that marks the outdated warning tail of the parameter setter.
fr::Lines outdated_warning_tail() {
  auto row = [](std::size_t b) {
    return fr::ln(std::string(b, ' ') + std::string(24 - 2 * b, '@') + std::string(b, ' '));
  };
  const std::string full = fr::ln(std::string(24, '@'));
  fr::Lines l{full};
  for (std::size_t b : {2, 4, 6, 8, 10}) l.push_back(row(b));
  l.push_back(full);
  l.push_back(fr::ln("OUTDATED    warningtail0"));
  l.push_back(full);
  for (std::size_t b : {10, 8, 6, 4, 2}) l.push_back(row(b));
  l.push_back(full);
  for (const auto& t : fr::warning_tail()) l.push_back(t);
  return l;
}

class FixedParamsTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_pfixblock(); }
};

TEST_F(FixedParamsTest, CountOutOfRangeIsResetToFour) {
  for (std::int32_t bad : {7, -1}) {
    ConsoleCapture cap(kGoOn);
    std::int32_t n = bad;
    scparfixnb(n, 1);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(pfixblock.nparfix, 4);
    const auto lines = cap.lines();
    EXPECT_TRUE(fr::contains_block(lines, fr::error_head("cinvin")));
    EXPECT_TRUE(fr::contains_block(lines, {" Problem originated in :", " subroutine: scparfixnb"}));
    EXPECT_EQ(lines.back(), "   ===> reset nparfixa =      4");
  }
  ConsoleCapture cap;
  std::int32_t n = 0;
  scparfixnb(n, 1);
  EXPECT_EQ(pfixblock.nparfix, 0);
  n = 3;
  scparfixnb(n, 5);  // the default: none in use
  EXPECT_EQ(n, 0);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(FixedParamsTest, CountMenuAcceptsOneToFour) {
  ConsoleCapture cap("10\n0\n3\n99\n");
  console::iocom.lcrerr = false;
  pfixblock.nparfix = 2;
  std::int32_t n = 0;
  scparfixnb(n, 2);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(pfixblock.nparfix, 3);
  fr::Lines menu = fr::menu_head("scparfixnb");
  for (const char* l :
       {"-------------------------------------------", "          CURVES FIXED PARAMETERS",
        "-------------------------------------------", "max nb of fixed params ..........      4",
        "current nb of fixed params ....10      2", "-------------------------------------------",
        "EXIT ..........................99"})
    menu.push_back(fr::ln(l));
  menu.push_back(fr::menu_tail());
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(lines, menu));
  EXPECT_TRUE(fr::contains_block(lines, {" current nb of fixed params ....10      3"}));
}

TEST_F(FixedParamsTest, NumberBeyondTheCountGoesToTheLastInUse) {
  ConsoleCapture cap(kGoOn);
  pfixblock.nparfix = 2;
  Param p = real_param("abcdefgh", 2.7f, 3);
  p.set(1);
  EXPECT_EQ(p.index, 2);
  EXPECT_EQ(cap.lines().back(), "   ===> reset ifix1 =      2");
  EXPECT_TRUE(
      fr::contains_block(cap.lines(), {" Problem originated in :", " subroutine: scparfix"}));
  EXPECT_EQ(pfixblock.pfixname(2).str(), "abcde");
  EXPECT_EQ(pfixblock.ipfixtype(2), 1);
  EXPECT_EQ(pfixblock.pfix(2), 2.7f);
  EXPECT_EQ(pfixblock.ipfix(2), 2);
  EXPECT_EQ(pfixblock.pfixvalue(2).str(), " 2.700000   ");
  EXPECT_EQ(pfixblock.pfixinfo(2).str(), "abcdefgh = 2.7000");  // 19 characters cut to 17
  EXPECT_EQ(pfixblock.pfixname(3).str(), "     ");              // untouched
}

TEST_F(FixedParamsTest, NothingInUseRefusesTheCall) {
  for (std::int32_t inter : {1, 3}) {
    ConsoleCapture cap("\n");
    Param p = real_param("x", 1.5f, 1);
    p.set(inter);
    EXPECT_EQ(cap.lines(),
              fr::frame(fr::warning_head("scparfix"),
                        {"nparfix =      0", "need to set nparfix > 1 first", "=====> NO ACTION"},
                        outdated_warning_tail()));
    EXPECT_EQ(p.value, 1.5f);
    EXPECT_EQ(pfixblock.pfix(1), 0.0f);
    EXPECT_EQ(pfixblock.pfixname(1).str(), "     ");
  }
}

// Loading a stored parameter checks its number first: slot 9 is never read.
TEST_F(FixedParamsTest, LoadingChecksTheNumberFirst) {
  ConsoleCapture cap(kGoOn);
  pfixblock.nparfix = 2;
  pfixblock.pfixname(2) = "depth";
  pfixblock.ipfixtype(2) = 2;
  pfixblock.ipfix(2) = 12;
  pfixblock.pfix(2) = 12.0f;
  pfixblock.pfixvalue(2) = "12";
  Param p;
  p.index = 9;
  p.set(3);
  EXPECT_EQ(p.index, 2);
  EXPECT_EQ(p.name, "depth       ");
  EXPECT_EQ(p.itype, 2);
  EXPECT_EQ(p.ivalue, 12);
  EXPECT_EQ(p.value, 12.0f);
  EXPECT_EQ(p.text, "12          ");
  EXPECT_EQ(pfixblock.pfixinfo(2).str(), fit_text("depth = 12", 17));
  EXPECT_TRUE(fr::contains_block(cap.lines(), {" ifix1 =            9"}));
}

TEST_F(FixedParamsTest, ValuesFollowTheType) {
  ConsoleCapture cap;
  pfixblock.nparfix = 4;
  Param neg = real_param("a", -2.7f, 1);
  neg.set(1);
  EXPECT_EQ(neg.ivalue, -2);
  EXPECT_EQ(neg.text, "-2.700000   ");

  Param integer;
  integer.name = fit_text("n", 12);
  integer.itype = 2;
  integer.value = 99.0f;
  integer.ivalue = 5;
  integer.index = 2;
  integer.set(1);
  EXPECT_EQ(integer.value, 5.0f);
  EXPECT_EQ(integer.text, "5           ");
  EXPECT_EQ(pfixblock.pfixinfo(2).str(), fit_text("n = 5", 17));

  Param bare = real_param("  flag ", 3.0f, 3);
  bare.itype = 0;
  bare.ivalue = 8;
  bare.set(1);
  EXPECT_EQ(bare.value, 0.0f);
  EXPECT_EQ(bare.ivalue, 0);
  EXPECT_EQ(bare.text, "---         ");
  EXPECT_EQ(pfixblock.pfixinfo(3).str(), fit_text("flag", 17));

  Param chr = real_param("unit", 3.0f, 4);
  chr.itype = 3;
  chr.ivalue = 8;
  chr.text = fit_text(" metres", 12);
  chr.set(1);
  EXPECT_EQ(chr.value, 0.0f);
  EXPECT_EQ(chr.ivalue, 0);
  EXPECT_EQ(pfixblock.pfixvalue(4).str(), " metres     ");
  EXPECT_EQ(pfixblock.pfixinfo(4).str(), fit_text("unit = metres", 17));
  EXPECT_EQ(cap.text(), "");

  // An unknown type becomes a bare name after the range check.
  cap.set_input(kGoOn);
  Param odd = real_param("q", 3.0f, 1);
  odd.itype = 9;
  odd.set(1);
  EXPECT_EQ(odd.itype, 0);
  EXPECT_EQ(cap.lines().back(), "   ===> reset ipfixtypea =      0");
  EXPECT_EQ(pfixblock.pfixvalue(1).str(), "---         ");
}

TEST_F(FixedParamsTest, MenuShowsTheParameter) {
  ConsoleCapture cap("99\n");
  pfixblock.nparfix = 2;
  Param p = real_param("dip", 2.5f, 2);
  p.set(0);
  fr::Lines menu = fr::menu_head("scparfix");
  for (const char* l :
       {"-------------------------------------------", "          CURVES FIXED PARAMETERS",
        "-------------------------------------------", "max nb of fixed params .........      4",
        "current nb of fixed params .....      2", "-------------------------------------------",
        "Parameter to modify", "-------------------------------------------",
        "index  ..........................      2",
        "name ..........................10 dip         ",
        "type ..........................20      1", "real      value ...............30    2.500",
        "integer   value .................      2",
        "character value .................  2.500000   ", "info: dip = 2.500000      ",
        "-------------------------------------------", "EXIT ..........................99"})
    menu.push_back(fr::ln(l));
  menu.push_back(fr::menu_tail());
  EXPECT_TRUE(fr::contains_block(cap.lines(), menu));
}

TEST_F(FixedParamsTest, MenuCommandsChangeTheParameter) {
  // 40 on a real: refused. 20: type 2 (info kept). 40: 7. 10: new name.
  ConsoleCapture cap("40\n\n20\n2\n99\n");
  console::iocom.lcrerr = true;
  pfixblock.nparfix = 1;
  Param p = real_param("dip", 2.5f, 1);
  p.set(0);
  EXPECT_EQ(p.itype, 2);
  EXPECT_EQ(p.value, 2.5f);
  EXPECT_EQ(pfixblock.pfixinfo(1).str(), fit_text("dip = 2.500000", 17));
  const auto lines = cap.lines();
  EXPECT_TRUE(fr::contains_block(
      lines, fr::frame(fr::warning_head("scparfix"),
                       {"Wrong type of parameter", "=====> NO ACTION"}, outdated_warning_tail())));
  EXPECT_TRUE(fr::contains_block(
      lines, {" ----------------------------", " Parameter type:", " ----------------------------",
              " name only - no value ......0", " real.......................1",
              " integer....................2", " character..................3",
              " ----------------------------"}));
  EXPECT_TRUE(fr::contains_block(
      lines,
      {" real      value .................    2.500", " integer   value ...............40      2",
       " character value .................  2.500000   ", " info: dip = 2.500000      "}));

  cap.set_input("40\n7\n10\nazimuth\n99\n");
  p.set(2);
  EXPECT_EQ(p.ivalue, 7);
  EXPECT_EQ(p.value, 7.0f);
  EXPECT_EQ(p.name, "azimuth     ");
  EXPECT_EQ(pfixblock.pfixname(1).str(), "azimu");
  EXPECT_EQ(pfixblock.pfixvalue(1).str(), "7           ");
  EXPECT_EQ(pfixblock.pfixinfo(1).str(), fit_text("azimuth = 7", 17));

  cap.set_input("20\n0\n10\nmark\n50\n\n99\n");
  p.set(2);
  EXPECT_EQ(p.itype, 0);
  EXPECT_EQ(p.text, "---         ");
  EXPECT_EQ(p.value, 0.0f);
  EXPECT_EQ(pfixblock.pfixinfo(1).str(), fit_text("mark", 17));
}

TEST_F(FixedParamsTest, MenuEndsWhenInputEnds) {
  ConsoleCapture cap("10\n");
  pfixblock.nparfix = 1;
  Param p = real_param("dip", 2.5f, 1);
  EXPECT_THROW(p.set(0), console::OrderlyStop);
  EXPECT_EQ(pfixblock.pfixname(1).str(), "     ");
}

}  // namespace
}  // namespace polarsketch::curve
