// The axis-symbol and great-circle settings: start values, menus, the checks
// of caller-supplied types and the set-up form that stores nothing.
#include "stereonet/display_settings.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "support/test_support.hpp"

namespace polarsketch::stereonet {
namespace {

using testing::ConsoleCapture;

const std::string kAts(43, '@');
const std::string kRule(43, '-');

std::vector<std::string> head(const std::string& routine) {
  std::string name = routine;
  name.resize(11, ' ');
  return {" " + kAts, " @ subroutine " + name, " @" + std::string(42, '=')};
}

void append(std::vector<std::string>& v, const std::vector<std::string>& w) {
  v.insert(v.end(), w.begin(), w.end());
}

// The lines from `first` (inclusive) up to `last` (exclusive).
std::vector<std::string> between(const std::vector<std::string>& lines, const std::string& first,
                                 const std::string& last) {
  auto a = std::find(lines.begin(), lines.end(), first);
  auto b = std::find(a, lines.end(), last);
  return {a, b};
}

class DisplaySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_display_settings();
    dspaxbk.iaxtyp1 = 3;
    dspaxbk.iaxtyp2 = 4;
    dspgcbk.npgc = 7;
  }
};

TEST_F(DisplaySettingsTest, StartUpAnnouncesAndSetsTheStartValues) {
  ConsoleCapture cap;
  std::int32_t i1 = 0, i2 = 0, n = 0;
  sdspaxsymb(i1, i2, 5);
  sdspgc(n, 5);
  std::vector<std::string> want = head("sdspaxsymb");
  want.push_back(" INITIALIZING STEREOPLOT AXIS SYMBOLS");
  append(want, head("sdspgc"));
  want.push_back(" INITIALIZING GREAT CIRCLE PARAMETERS");
  EXPECT_EQ(cap.lines(), want);
  EXPECT_EQ(dspaxbk.iaxtyp1, 1);
  EXPECT_EQ(dspaxbk.iaxtyp2, -1);
  EXPECT_EQ(dspgcbk.npgc, 40);
  EXPECT_EQ(i1, 1);
  EXPECT_EQ(i2, -1);
  EXPECT_EQ(n, 40);
}

TEST_F(DisplaySettingsTest, AxisMenuShowsStoredAndReadyValuesAroundTheSymbolTable) {
  ConsoleCapture cap("\n");
  std::int32_t i1 = 0, i2 = 0;
  sdspaxsymb(i1, i2, 2);
  const auto lines = cap.lines();
  std::vector<std::string> want = head("sdspaxsymb");
  append(want,
         {" " + kRule, " STEREOPLOT AXIS SYMBOLS", " Standard  symbol <-> standard hemisphere",
          " Alternate symbol <-> opposite hemisphere", " " + kRule,
          " currently stored:", " standard  type =    3", " alternate type =    4",
          " " + kRule.substr(0, 21), " ready to store:", " standard  type =    3",
          " alternate type =    4", " " + kRule, " Axis symbol ... symbol number",
          " arrow    ................ 101", " line     ................ 100"});
  ASSERT_GE(lines.size(), want.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(want.size())),
            want);
  // The symbol type table (24 lines) sits between the radial types and the rule.
  const auto table = between(lines, " line     ................ 100", " MODIFY:");
  EXPECT_EQ(table.size(), 1u + 24u + 1u);
  const std::vector<std::string> tail = {" MODIFY:", "  standard type ............... 10",
                                         "  alternate type .............. 20",
                                         " STORE AND EXIT ............... 99", " " + kAts};
  const auto from_modify = between(lines, " MODIFY:", "");
  ASSERT_GE(from_modify.size(), tail.size());
  EXPECT_EQ(std::vector<std::string>(from_modify.begin(), from_modify.begin() + 5), tail);
  EXPECT_NE(cap.text().find("your choice"), std::string::npos);
  // An empty answer stores the values unchanged.
  EXPECT_EQ(dspaxbk.iaxtyp1, 3);
  EXPECT_EQ(dspaxbk.iaxtyp2, 4);
}

TEST_F(DisplaySettingsTest, AxisMenuWithoutMoreOutputShowsOnlyItsHeaderAndPrompt) {
  ConsoleCapture cap("99\n");
  console::iocom.lwito(2) = false;
  std::int32_t i1 = 0, i2 = 0;
  sdspaxsymb(i1, i2, 2);
  const auto lines = cap.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3), head("sdspaxsymb"));
  EXPECT_EQ(cap.text().find("STEREOPLOT"), std::string::npos);
  EXPECT_EQ(cap.text().find(kRule), std::string::npos);
  EXPECT_NE(cap.text().find("your choice"), std::string::npos);
}

TEST_F(DisplaySettingsTest, TypedTypesAreStoredWithinTheirBounds) {
  // 102 is refused by the prompt (error frame, pause), then -3 is accepted.
  ConsoleCapture cap("10\n101\n20\n102\n\n-3\n99\n");
  std::int32_t i1 = 0, i2 = 0;
  sdspaxsymb(i1, i2, 2);
  EXPECT_EQ(dspaxbk.iaxtyp1, 101);
  EXPECT_EQ(dspaxbk.iaxtyp2, -3);
  EXPECT_EQ(i1, 101);
  EXPECT_EQ(i2, -3);
  // The menu shown after each change offers the new value.
  EXPECT_NE(cap.text().find(" standard  type =  101"), std::string::npos);
}

TEST_F(DisplaySettingsTest, CallerTypesOutsideTheRangeAreResetWithAWarning) {
  ConsoleCapture cap("\n\n");
  std::int32_t i1 = 150, i2 = -100;
  sdspaxsymb(i1, i2, 1);
  const std::string slashes(43, '/');
  const std::vector<std::string> frame_head = {
      " " + slashes, " ///        subroutine sdspaxsymb        ///",
      " ///               WARNING               ///", " " + slashes};
  std::vector<std::string> want = frame_head;
  append(want, {" Standard  symbol =  150", " outside [  -99 ,  101 ]", " ==> RESETTING TO:",
                " Standard  symbol =    1", " ===> HIT RETURN TO CONTINUE", " " + slashes});
  append(want, frame_head);
  append(want, {" Alternate symbol = -100", " outside [  -99 ,  101 ]", " ==> RESETTING TO:",
                " Alternate symbol =   -1", " ===> HIT RETURN TO CONTINUE", " " + slashes});
  EXPECT_EQ(cap.lines(), want);
  EXPECT_EQ(i1, 1);
  EXPECT_EQ(i2, -1);
  EXPECT_EQ(dspaxbk.iaxtyp1, 1);
  EXPECT_EQ(dspaxbk.iaxtyp2, -1);
}

TEST_F(DisplaySettingsTest, ValidCallerTypesAreStoredSilently) {
  ConsoleCapture cap;
  std::int32_t i1 = 100, i2 = -99;
  sdspaxsymb(i1, i2, 1);
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(dspaxbk.iaxtyp1, 100);
  EXPECT_EQ(dspaxbk.iaxtyp2, -99);
}

TEST_F(DisplaySettingsTest, SetUpFormReturnsTheAnswerWithoutStoringIt) {
  ConsoleCapture cap("10\n7\n99\n");
  std::int32_t i1 = 5, i2 = 6;
  sdspaxsymb(i1, i2, 200);
  EXPECT_EQ(i1, 7);
  EXPECT_EQ(i2, 6);
  EXPECT_EQ(dspaxbk.iaxtyp1, 3);
  EXPECT_EQ(dspaxbk.iaxtyp2, 4);
  const std::string text = cap.text();
  EXPECT_NE(text.find("\n set up:\n standard  type =    5\n alternate type =    6\n"),
            std::string::npos);
  EXPECT_NE(text.find(" SET UP IS OK ==> EXIT ........ 99\n"), std::string::npos);
  EXPECT_EQ(text.find("currently stored:"), std::string::npos);
}

TEST_F(DisplaySettingsTest, GreatCircleMenuSetsThePointCount) {
  ConsoleCapture cap("10\n1000\n99\n");
  std::int32_t n = 0;
  sdspgc(n, 2);
  EXPECT_EQ(n, 1000);
  EXPECT_EQ(dspgcbk.npgc, 1000);
  const auto lines = cap.lines();
  std::vector<std::string> want = head("sdspgc");
  append(want, {" " + kRule, "       GREAT CIRCLES PARAMETERS: ", " " + kRule,
                " nb of points to draw ..........10            7", " " + kRule,
                " EXIT ..........................99", " " + kRule});
  ASSERT_GE(lines.size(), want.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(want.size())),
            want);
  EXPECT_NE(cap.text().find(" nb of points to draw ..........10         1000\n"),
            std::string::npos);
}

TEST_F(DisplaySettingsTest, GreatCirclePointCountIsBoundedByThePrompt) {
  ConsoleCapture cap("10\n1001\n\n0\n\n12\n99\n");
  std::int32_t n = 0;
  sdspgc(n, 2);
  EXPECT_EQ(dspgcbk.npgc, 12);
}

TEST_F(DisplaySettingsTest, QuietFlagsLoadOrStoreWithoutTalking) {
  ConsoleCapture cap;
  std::int32_t n = 0, i1 = 0, i2 = 0;
  sdspgc(n, 3);
  sdspaxsymb(i1, i2, 3);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(i1, 3);
  EXPECT_EQ(i2, 4);
  n = 250;
  sdspgc(n, 1);
  EXPECT_EQ(dspgcbk.npgc, 250);
  EXPECT_EQ(cap.text(), "");
}

}  // namespace
}  // namespace polarsketch::stereonet
