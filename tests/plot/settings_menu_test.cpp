// The plot settings: initialisation at plot opening and the
// "SETTING PLOT ATTRIBUTES" menu.
#include "plot/settings_menu.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "math/angles.hpp"
#include "plot/colortable.hpp"
#include "plot/records.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

using console::iocom;
using testing::ConsoleCapture;
using namespace testing::frames;

Lines first_lines(const Lines& lines, std::size_t n) {
  return Lines(lines.begin(), lines.begin() + static_cast<long>(std::min(n, lines.size())));
}

// The menu as shown with the output level on.
Lines settings_menu(bool llast, bool open) {
  Lines m = concat(
      {menu_head("splotparam2"),
       {ln(std::string(43, '-')), ln("         SETTING PLOT ATTRIBUTES"), ln(std::string(43, '-')),
        ln("GET SETTINGS"), ln(std::string(" from currently stored..... 1 ") + (llast ? "T" : "F")),
        ln(std::string(" from initialisation....... 1 ") + (llast ? "F" : "T")),
        ln(std::string(43, '-')), ln("COLOR TABLE:"), ln(" nb of color ..............50"),
        ln(" rgb values ...............51"), ln(" color table ..............52")}});
  const Lines closed = {ln("THE PLOT IS CLOSED:"), ln(" => OTHER SETTINGS WILL BE RESET"),
                        ln("    UPON PLOT OPENING")};
  const Lines attributes = {ln("LINE ATTRIBUTES:"),
                            ln(" thickness ................10"),
                            ln(" style ....................11"),
                            ln(" color ....................12"),
                            ln("POLYGON FILL ATTRIBUTES:"),
                            ln(" interior style ...........20"),
                            ln(" interior color ...........21"),
                            ln("TEXT ATTRIBUTES:"),
                            ln(" font .....................30"),
                            ln(" size .....................31"),
                            ln(" justification ............32"),
                            ln(" angle ....................33"),
                            ln(" color ....................34"),
                            ln("SYMBOL ATTRIBUTES:"),
                            ln(" type .....................40"),
                            ln(" size .....................41")};
  const Lines& middle = open ? attributes : closed;
  m.insert(m.end(), middle.begin(), middle.end());
  m.push_back(ln(std::string(43, '-')));
  m.push_back(ln("EXIT THIS SET UP  .........99"));
  m.push_back(menu_tail());
  return m;
}

class SettingsMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_plot_records();
    math::reset_angle_records();
    ConsoleCapture quiet;
    scolortable(5);
  }
  void TearDown() override { iocom.lop = false; }
};

TEST_F(SettingsMenuTest, OddFlagsWithoutInitialisationDoNothing) {
  plt2blk.rlinewidth = 0.3f;
  ConsoleCapture cap;
  splotparam2(1);
  splotparam2(3);
  splotparam2(11);
  splotparam2(-1);
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(plt2blk.rlinewidth, 0.3f);
  EXPECT_EQ(math::trig.pi, 0.0f);
}

TEST_F(SettingsMenuTest, MenuWithTheStoredValuesAndAClosedPlot) {
  ConsoleCapture cap("99\n");
  splotparam2(0);
  const Lines expected = settings_menu(true, false);
  EXPECT_EQ(first_lines(cap.lines(), expected.size()), expected);
  EXPECT_NE(cap.text().find("Enter your choice"), std::string::npos);
}

TEST_F(SettingsMenuTest, MenuOfAnOpenPlotListsEveryAttribute) {
  ConsoleCapture cap("99\n");
  iocom.lop = true;
  splotparam2(2);
  const Lines expected = settings_menu(true, true);
  EXPECT_EQ(first_lines(cap.lines(), expected.size()), expected);
}

TEST_F(SettingsMenuTest, AttributeChoicesDoNothingWhileThePlotIsClosed) {
  plt2blk.rlinewidth = 0.3f;
  plt2blk.ilinecolor = 5;
  plt2blk.txtheight = 0.7f;
  ConsoleCapture cap("10\n12\n31\n40\n50\n99\n");
  splotparam2(0);
  const std::string text = cap.text();
  for (const char* name : {"slinewidth", "slinecolor", "stextsize", "ssymboltype", "scolornb"}) {
    EXPECT_EQ(text.find(std::string("@ subroutine ") + name), std::string::npos) << name;
  }
  EXPECT_EQ(plt2blk.rlinewidth, 0.3f);
  EXPECT_EQ(plt2blk.ilinecolor, 5);
  EXPECT_EQ(plt2blk.txtheight, 0.7f);
  EXPECT_EQ(plt2blk.ncolor, 12);
  // The menu came back after each choice.
  std::size_t shown = 0;
  for (const auto& line : cap.lines()) shown += line == " EXIT THIS SET UP  .........99";
  EXPECT_EQ(shown, 6u);
}

TEST_F(SettingsMenuTest, ColourListingNeverOffersTheBackground) {
  ConsoleCapture cap("51\n0\n2\n99\n99\n");
  iocom.lcrerr = false;
  splotparam2(0);
  const Lines lines = cap.lines();
  EXPECT_TRUE(contains_block(
      lines, {ln(std::string(43, '-')), ln("|index|      name|   red% | green% |  blue% |"),
              ln("|   0 |White-bk  |  100.0 |  100.0 |  100.0 |"),
              ln("|   1 |Black     |    0.0 |    0.0 |    0.0 |"),
              ln("|   2 |Red       |   50.0 |    0.0 |    0.0 |")}))
      << cap.text();
  EXPECT_TRUE(contains_block(
      lines, {ln("|  12 |Grey70    |   30.0 |   30.0 |   30.0 |"), ln(std::string(43, '-'))}))
      << cap.text();
  // 0 is refused by the prompt; 2 opens the slot menu, which starts from the stored slot.
  EXPECT_NE(cap.text().find("outside [1,12]"), std::string::npos) << cap.text();
  EXPECT_TRUE(contains_block(lines, {ln("color index ...................10   2"),
                                     ln("current color name .............. Red     ")}))
      << cap.text();
}

TEST_F(SettingsMenuTest, ColourTableChoiceOpensTheTableMenu) {
  ConsoleCapture cap("52\n99\n99\n");
  splotparam2(0);
  EXPECT_TRUE(contains_block(cap.lines(), {ln("SETTING COLOR TABLE")})) << cap.text();
}

TEST_F(SettingsMenuTest, PlotOpeningResetsEveryAttributeAndShowsNoMenu) {
  iocom.lop = true;
  plt1blk.isubplot = 3;
  plt1blk.us0tocm(1, 20) = 10.5f;
  plt1blk.us0tocm(2, 20) = 12.0f;
  plt1blk.ustocm(1, 1, 20) = 8.0f;
  plt1blk.ustocm(2, 2, 20) = 8.0f;
  plt2blk.rlinewidth = 0.3f;
  plt2blk.itxtjust = 6;
  plt2blk.isymbtype = 17;
  plt2blk.txtangle = 45.0f;
  pltcharblk.colornam(1) = "Ink";
  ConsoleCapture cap;  // nothing to answer: no prompt may be shown
  iocom.lop = true;
  splotparam2(7);
  const Lines expected = concat({
      menu_head("splotparam2"),
      {ln("INITIALIZING PLOT PARAMETERS"), ln("INITIALIZING SUBPLOT SCALING"), ln(" 1: CM <-> DE"),
       ln(" 2: US <-> CM unchanged"), ln("    US <-> DE")},
      menu_head("ssubplot"),
      {ln("INITIALISING SUBPLOT =  1")},
      menu_head("slinewidth"),
      {ln("INITIALISING LINE THICKNESS TO:    0.020 cm")},
      menu_head("slinecolor"),
      {ln("INITIALISING LINE COLOR TO: Ink     ")},
      menu_head("stextsize"),
      {ln("INITIALISING TEXT SIZE TO:   0.50 cm")},
      menu_head("stextfont"),
      {ln("INITIALISING TEXT FONT TO: 1 = Helvetica")},
      menu_head("stextangle"),
      {ln("INITIALISING TEXT ANGLE TO: 0.0")},
      menu_head("stextalign"),
      {ln("INITIALISING TEXT ALIGNMENT TO: -1"), ln("=====> left-bottom trimmed")},
      menu_head("stextcolor"),
      {ln("INITIALISING TEXT COLOR TO: Ink     ")},
      menu_head("sfillstyle"),
      {ln("INITIALISING FILL STYLE TO: filled")},
      menu_head("sfillcolor"),
      {ln("INITIALISING FILL COLOR TO: Ink     ")},
      menu_head("ssymbolsize"),
      {ln("INITIALISING SYMBOL SIZE (cm) =    0.400")},
      menu_head("ssymboltype"),
      {ln("INITIALISING SYMBOL TYPE =    1")},
  });
  EXPECT_EQ(cap.lines(), expected);

  EXPECT_EQ(plt1blk.isubplot, 1);
  EXPECT_EQ(plt1blk.rcmtode, 28.35f);
  // Every subplot's device map is rebuilt from its kept user-to-cm map.
  EXPECT_EQ(plt1blk.ustocm(1, 1, 20), 8.0f);
  EXPECT_NEAR(plt1blk.ustode(1, 1, 20), 226.8f, 1e-4f);  // float rounding of 28.35 * 8
  EXPECT_NEAR(plt1blk.us0tode(2, 20), 340.2f, 1e-4f);
  EXPECT_EQ(math::trig.pi, 0.0f);  // angle constants left alone
  EXPECT_EQ(plt2blk.ncolor, 12);
  EXPECT_EQ(plt2blk.rlinewidth, 0.02f);
  EXPECT_EQ(plt2blk.ilinecolor, 1);
  EXPECT_EQ(plt2blk.txtheight, 0.5f);
  EXPECT_EQ(plt2blk.itxtfont, 1);
  EXPECT_EQ(plt2blk.txtangle, 0.0f);
  EXPECT_EQ(plt2blk.itxtjust, -1);
  EXPECT_EQ(plt2blk.itxtcolor, 1);
  EXPECT_EQ(plt2blk.ifillstyle, 1);
  EXPECT_EQ(plt2blk.ifillcolor, 1);
  EXPECT_EQ(plt2blk.symbsize, 0.4f);
  EXPECT_EQ(plt2blk.isymbtype, 1);
}

TEST_F(SettingsMenuTest, FullInitialisationWithAClosedPlotLeavesTheAttributes) {
  plt2blk.rlinewidth = 0.3f;
  plt2blk.ncolor = 4;
  plt1blk.ustocm(1, 1, 35) = 5.0f;
  ConsoleCapture cap;
  splotparam2(5);
  const Lines lines = cap.lines();
  EXPECT_TRUE(contains_block(
      lines, concat({menu_head("splotparam2"),
                     {ln("INITIALIZING PLOT PARAMETERS"), ln("INITIALIZING SUBPLOT SCALING"),
                      ln(" 1: CM <-> DE: untouched (plot file closed)"), ln(" 2: US <-> CM"),
                      ln("    US <-> DE: untouched (plot file closed)")},
                     menu_head("ssubplot"),
                     {ln("INITIALISING SUBPLOT =  1")}})))
      << cap.text();
  EXPECT_TRUE(contains_block(lines, {ln("INITIALIZING COLOR TABLE:")})) << cap.text();
  EXPECT_NE(math::trig.pi, 0.0f);  // angle constants recomputed
  EXPECT_EQ(plt2blk.ncolor, 12);
  EXPECT_EQ(plt1blk.ustocm(1, 1, 35), 1.0f);
  EXPECT_EQ(plt1blk.us0tocm(2, 35), 10.0f);
  EXPECT_EQ(plt2blk.rlinewidth, 0.3f);
  EXPECT_EQ(cap.text().find("INITIALISING LINE"), std::string::npos);
}

TEST_F(SettingsMenuTest, FlagNineLeavesTheAttributesOfAnOpenPlot) {
  plt2blk.rlinewidth = 0.3f;
  ConsoleCapture cap;
  iocom.lop = true;
  splotparam2(9);
  EXPECT_NE(math::trig.pi, 0.0f);
  EXPECT_TRUE(
      contains_block(cap.lines(), {ln(" 1: CM <-> DE"), ln(" 2: US <-> CM"), ln("    US <-> DE")}))
      << cap.text();
  EXPECT_TRUE(contains_block(cap.lines(), {ln("INITIALIZING COLOR TABLE:")})) << cap.text();
  EXPECT_EQ(plt2blk.rlinewidth, 0.3f);
}

TEST_F(SettingsMenuTest, ReInitialisingMenuStartsFromTheDefaults) {
  ConsoleCapture cap("99\n");
  splotparam2(6);
  EXPECT_TRUE(contains_block(
      cap.lines(), {ln(" from currently stored..... 1 F"), ln(" from initialisation....... 1 T")}))
      << cap.text();
  EXPECT_EQ(math::trig.pi, 0.0f);
}

TEST_F(SettingsMenuTest, ChoiceOneSwitchesTheSettersToTheirDefaults) {
  plt2blk.ilinecolor = 5;
  ConsoleCapture cap("1\n0\n12\n\n99\n");
  iocom.lop = true;
  splotparam2(0);
  EXPECT_TRUE(contains_block(
      cap.lines(), {ln(" from currently stored..... 1 F"), ln(" from initialisation....... 1 T")}))
      << cap.text();
  EXPECT_TRUE(
      contains_block(cap.lines(), {ln("current value:      5"), ln("new     value:      1")}))
      << cap.text();
  EXPECT_EQ(plt2blk.ilinecolor, 1);
}

TEST_F(SettingsMenuTest, AttributeChoicesStartFromTheStoredValues) {
  plt2blk.itxtjust = 7;
  ConsoleCapture cap("32\n-3\n99\n");
  iocom.lop = true;
  splotparam2(0);
  EXPECT_TRUE(contains_block(
      cap.lines(), {ln("currently stored   :      7"), ln("suggested new value:      7")}))
      << cap.text();
  EXPECT_EQ(plt2blk.itxtjust, -3);
}

}  // namespace
}  // namespace polarsketch::plot
