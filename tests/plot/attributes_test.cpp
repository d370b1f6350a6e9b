// Line, fill, text and symbol attribute setters: the interaction forms, the
// corrections of bad values and the exact console lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "plot/colortable.hpp"
#include "plot/line_fill.hpp"
#include "plot/records.hpp"
#include "plot/text_symbol.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

using console::iocom;
using testing::ConsoleCapture;
using namespace testing::frames;

Lines no_action(std::string_view name, std::int32_t flag) {
  return warn(
      name, {"inter = " + std::string(6 - std::to_string(flag).size(), ' ') + std::to_string(flag),
             "===> NO ACTION"});
}

class AttributesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_plot_records();
    ConsoleCapture quiet;
    scolortable(5);  // 12 colours
  }
};

TEST_F(AttributesTest, ColourAboveTheNumberWrapsAndNegativeBecomesOne) {
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t c = 13;
  stextcolor(c, 1);
  EXPECT_EQ(cap.lines(), warn("stextcolor",
                              {"trying to set color nb =     13", "when max color nb      =     12",
                               "===> RESET color nb    =      1"}));
  EXPECT_EQ(c, 1);
  EXPECT_EQ(plt2blk.itxtcolor, 1);

  c = 20;
  stextcolor(c, 1);
  EXPECT_EQ(c, 7);

  cap.take();
  c = -3;
  slinecolor(c, 1);
  EXPECT_EQ(cap.lines(),
            warn("slinecolor", {"trying to set color nb =     -3", "when min color nb      = 0",
                                "===> RESET color nb    =      1"}));
  EXPECT_EQ(plt2blk.ilinecolor, 1);

  cap.take();
  sfillcolor(0, 1);  // slot 0 is a colour like any other
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(plt2blk.ifillcolor, 0);
}

TEST_F(AttributesTest, FlagThreeCorrectsAStoredColourBeyondTheNumber) {
  plt2blk.ilinecolor = 10;
  plt2blk.ncolor = 4;
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t c = 0;
  slinecolor(c, 3);
  EXPECT_EQ(c, 1);  // 10 mod 5 is 0, which becomes 1
  EXPECT_EQ(plt2blk.ilinecolor, 1);
}

TEST_F(AttributesTest, ColourInitialisationAndMenu) {
  {
    ConsoleCapture cap;
    std::int32_t c = 9;
    sfillcolor(c, 5);
    EXPECT_EQ(cap.lines(),
              concat({menu_head("sfillcolor"), {ln("INITIALISING FILL COLOR TO: Black   ")}}));
    EXPECT_EQ(plt2blk.ifillcolor, 1);
  }
  plt2blk.ncolor = 2;
  plt2blk.ilinecolor = 2;
  ConsoleCapture cap("1\n");
  std::int32_t c = 0;
  slinecolor(c, 2);
  const Lines expected =
      concat({menu_head("slinecolor"),
              {ln(std::string(43, '-')), ln("     LINE COLOR"), ln(std::string(43, '-')),
               ln("current value:      2"), ln("new     value:      2"),
               ln("White-bk.................  0"), ln("Black   .................  1"),
               ln("Red     .................  2"), menu_tail()}});
  const Lines lines = cap.lines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_NE(cap.text().find("Enter your choice"), std::string::npos);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(plt2blk.ilinecolor, 1);
}

TEST_F(AttributesTest, InvalidFlagStoresNothingButMayCorrect) {
  plt2blk.itxtcolor = 3;
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t c = 14;
  stextcolor(c, 7);
  EXPECT_EQ(cap.lines(), concat({warn("stextcolor", {"trying to set color nb =     14",
                                                     "when max color nb      =     12",
                                                     "===> RESET color nb    =      1"}),
                                 no_action("stextcolor", 7)}));
  EXPECT_EQ(c, 1);
  EXPECT_EQ(plt2blk.itxtcolor, 3);
}

TEST_F(AttributesTest, LineWidthBoundsAreExclusiveBelow) {
  ConsoleCapture cap("\n");
  iocom.lcrerr = false;
  float w = 0.01f;
  slinewidth(w, 1);
  EXPECT_EQ(cap.lines(),
            warn("slinewidth",
                 {"LINE THICKNESS OUT OF RANGE:", " line thickness (cm) =    0.010",
                  " min =    0.010", " max = 1000.000", "==> RESET line thickness =    0.020"}));
  EXPECT_EQ(w, 0.02f);
  EXPECT_EQ(plt2blk.rlinewidth, 0.02f);

  cap.take();
  slinewidth(0.011f, 0);  // the dialog keeps it
  EXPECT_EQ(plt2blk.rlinewidth, 0.011f);
  slinewidth(1000.0f, 1);
  EXPECT_EQ(plt2blk.rlinewidth, 1000.0f);
  EXPECT_EQ(cap.text().find("OUT OF RANGE"), std::string::npos);
}

TEST_F(AttributesTest, LineWidthRangeIsCheckedOnlyForFlagsZeroAndOne) {
  plt2blk.rlinewidth = 0.005f;
  ConsoleCapture cap;
  float w = 5000.0f;
  slinewidth(w, 3);
  EXPECT_EQ(w, 0.005f);
  EXPECT_EQ(plt2blk.rlinewidth, 0.005f);
  EXPECT_EQ(cap.text(), "");

  slinewidth(w, 5);
  EXPECT_EQ(cap.lines(),
            concat({menu_head("slinewidth"), {ln("INITIALISING LINE THICKNESS TO:    0.020 cm")}}));
  EXPECT_EQ(plt2blk.rlinewidth, 0.02f);

  cap.take();
  cap.set_input("\n");
  slinewidth(w, 4);
  const Lines expected =
      concat({menu_head("slinewidth"),
              {ln(std::string(43, '-')), ln("          LINE THICKNESS"), ln(std::string(43, '-')),
               ln("present value in cm .......     0.020"), menu_tail()}});
  const Lines lines = cap.lines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
}

TEST_F(AttributesTest, LineStyleDoesNothing) {
  plt2blk.ilinestyle = 3;
  ConsoleCapture cap;
  slinestyle(7, 0);
  slinestyle(-1, 9);
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(plt2blk.ilinestyle, 3);
}

TEST_F(AttributesTest, FillStyleKnowsHollowAndFilled) {
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t s = 2;
  sfillstyle(s, 1);
  EXPECT_EQ(cap.lines(),
            warn("sfillstyle", {"trying to set style nb =      2", "max style nb =      1",
                                "===> RESET style nb =      0"}));
  EXPECT_EQ(plt2blk.ifillstyle, 0);
  sfillstyle(3, 1);
  EXPECT_EQ(plt2blk.ifillstyle, 1);
  sfillstyle(0, 1);
  cap.take();
  sfillstyle(-1, 1);
  EXPECT_EQ(cap.lines(), warn("sfillstyle", {"trying to set nb of style  =     -1",
                                             "min style nb = 0", "===> RESET style nb =      1"}));
  EXPECT_EQ(plt2blk.ifillstyle, 1);

  cap.take();
  sfillstyle(0, 5);
  EXPECT_EQ(cap.lines(),
            concat({menu_head("sfillstyle"), {ln("INITIALISING FILL STYLE TO: filled")}}));
}

TEST_F(AttributesTest, TextSizeBoundsAndTheirWideningField) {
  ConsoleCapture cap;
  iocom.lop = true;
  iocom.lcrerr = false;
  float h = 0.02f;
  stextsize(h, 1);
  EXPECT_EQ(cap.lines(),
            warn("stextsize", {"TEXT SIZE OUT OF RANGE:", " txtheight =   0.02", " min =   0.02",
                               " max = 1000.00", "==> RESET txtheight =   0.50"}));
  EXPECT_EQ(h, 0.5f);
  EXPECT_EQ(plt2blk.txtheight, 0.5f);

  cap.take();
  stextsize(123456.0f, 1);
  EXPECT_TRUE(contains_block(cap.lines(), {ln(" txtheight = 123456.00")})) << cap.text();
  cap.take();
  stextsize(1000.0f, 1);
  EXPECT_EQ(cap.text(), "");
  EXPECT_EQ(plt2blk.txtheight, 1000.0f);
}

TEST_F(AttributesTest, TextSizeWithAClosedPlotIsStoredWithAWarning) {
  plt2blk.txtheight = 0.7f;
  ConsoleCapture cap;
  iocom.lcrerr = false;
  float h = 2.0f;
  stextsize(h, 3);
  EXPECT_EQ(cap.lines(), warn("stextsize", {"inter =      3", "Attempting to set textsize with",
                                            "a closed plot file",
                                            "===> Value stored but no further call to lib"}));
  EXPECT_EQ(h, 0.7f);
  EXPECT_EQ(plt2blk.txtheight, 0.7f);

  cap.take();
  cap.set_input("\n");
  stextsize(0.01f, 2);  // the stored value is offered; no range check
  EXPECT_EQ(plt2blk.txtheight, 0.7f);
  cap.take();
  stextsize(0.3f, 6);
  EXPECT_EQ(cap.lines(), no_action("stextsize", 6));
  EXPECT_EQ(plt2blk.txtheight, 0.7f);
}

TEST_F(AttributesTest, AlignmentCorrections) {
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t j = 12;
  stextalign(j, 1);
  EXPECT_EQ(cap.lines(),
            warn("stextalign", {"trying to set justif =     12", "justif must be in [-11,11]",
                                "===> RESET justif =     -1"}));
  EXPECT_EQ(plt2blk.itxtjust, -1);

  cap.take();
  stextalign(4, 1);
  EXPECT_EQ(cap.lines(), warn("stextalign", {"just =      4", "===> RESET just =      1"}));
  EXPECT_EQ(plt2blk.itxtjust, 1);

  stextalign(-8, 1);
  EXPECT_EQ(plt2blk.itxtjust, -1);
  stextalign(0, 1);
  EXPECT_EQ(plt2blk.itxtjust, -1);
  stextalign(8, 1);
  EXPECT_EQ(plt2blk.itxtjust, 1);
  stextalign(-11, 1);
  EXPECT_EQ(plt2blk.itxtjust, -11);

  // The stored-value form makes no range check.
  plt2blk.itxtjust = 15;
  cap.take();
  stextalign(j, 3);
  EXPECT_EQ(j, 15);
  EXPECT_EQ(plt2blk.itxtjust, 15);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(AttributesTest, AlignmentWithAnInvalidFlagWarnsTwiceAndStoresNothing) {
  plt2blk.itxtjust = 6;
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t j = 15;
  stextalign(j, 7);
  EXPECT_EQ(
      cap.lines(),
      concat({warn("stextalign", {"trying to set justif =     15", "justif must be in [-11,11]",
                                  "===> RESET justif =     -1"}),
              no_action("stextalign", 7)}));
  EXPECT_EQ(j, -1);
  EXPECT_EQ(plt2blk.itxtjust, 6);
}

TEST_F(AttributesTest, AlignmentMenuAndInitialisation) {
  {
    ConsoleCapture cap;
    stextalign(3, 5);
    EXPECT_EQ(
        cap.lines(),
        concat({menu_head("stextalign"),
                {ln("INITIALISING TEXT ALIGNMENT TO: -1"), ln("=====> left-bottom trimmed")}}));
    EXPECT_EQ(plt2blk.itxtjust, -1);
  }
  ConsoleCapture cap("6\n");
  std::int32_t j = 2;
  stextalign(j, 0);
  const Lines expected = concat(
      {menu_head("stextalign"),
       {ln(std::string(43, '-')), ln("          SETTING TEXT ALIGNMENT"), ln(std::string(43, '-')),
        ln(" |just| indicates where the x,y point"), ln("      is relative to the textstring"),
        ln(" if just < 0 leading and trailing blanks"), ln("      will be ignored"), ln(""),
        ln("   9              10              11"), ln("   |---------------|---------------|"),
        ln("   5<==textstring==6==============>7"), ln("   |---------------|---------------|"),
        ln("   1               2               3"), ln(""), ln(std::string(43, '-')),
        ln("currently stored   :     -1"), ln("suggested new value:      2"), menu_tail()}});
  const Lines lines = cap.lines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_EQ(j, 6);
  EXPECT_EQ(plt2blk.itxtjust, 6);
}

TEST_F(AttributesTest, AngleAndSymbolSizeTakeAnyValue) {
  ConsoleCapture cap;
  stextangle(-725.5f, 1);
  EXPECT_EQ(plt2blk.txtangle, -725.5f);
  ssymbolsize(-3.0f, 1);
  EXPECT_EQ(plt2blk.symbsize, -3.0f);
  EXPECT_EQ(cap.text(), "");

  float a = 9.0f;
  stextangle(a, 5);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(plt2blk.txtangle, 0.0f);
  float s = 9.0f;
  ssymbolsize(s, 5);
  EXPECT_EQ(plt2blk.symbsize, 0.4f);
  EXPECT_EQ(cap.lines(), concat({menu_head("stextangle"),
                                 {ln("INITIALISING TEXT ANGLE TO: 0.0")},
                                 menu_head("ssymbolsize"),
                                 {ln("INITIALISING SYMBOL SIZE (cm) =    0.400")}}));
}

TEST_F(AttributesTest, AngleMenuOffersTheValueInHand) {
  plt2blk.txtangle = 30.0f;
  ConsoleCapture cap("45\n");
  float a = 12.5f;
  stextangle(a, 0);
  const Lines expected = concat(
      {menu_head("stextangle"),
       {ln(std::string(43, '-')), ln("         TEXT ANGLE (degrees)"), ln(std::string(43, '-')),
        ln("currently stored   :   30.000"), ln("suggested new value:   12.500"), menu_tail()}});
  const Lines lines = cap.lines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_EQ(plt2blk.txtangle, 45.0f);
}

TEST_F(AttributesTest, SymbolSizeMenuTextFollowsTheOutputLevel) {
  plt2blk.symbsize = 0.25f;
  ConsoleCapture cap("\n");
  float s = 0.0f;
  ssymbolsize(s, 2);
  EXPECT_TRUE(contains_block(
      cap.lines(), concat({menu_head("ssymbolsize"),
                           {ln(std::string(43, '-')), ln("SYMBOL SIZE (cm):"),
                            ln(std::string(43, '-')), ln("currently stored size =    0.250"),
                            ln("ready to  store  size =    0.250"), menu_tail()}})))
      << cap.text();
  EXPECT_EQ(plt2blk.symbsize, 0.25f);

  cap.take();
  cap.set_input("0.75\n");
  iocom.lwito(2) = false;
  ssymbolsize(s, 0);
  EXPECT_EQ(cap.text().find("SYMBOL SIZE (cm):"), std::string::npos);
  EXPECT_EQ(plt2blk.symbsize, 0.75f);
}

const Lines& symbol_table() {
  static const Lines table = {
      ln("circle   .................. 0"), ln("circle   .................. 1"),
      ln("circle   .................. 2"), ln("triangle .................. 3"),
      ln("square   .................. 4"), ln("pentagon .................. 5"),
      ln("hexagon  .................. 6"), ln("heptagon .................. 7"),
      ln("octogon  .................. 8"), ln("enneagon .................. 9"),
      ln("   .     ................. 10"), ln("   -     ................. 11"),
      ln("   |     ................. 12"), ln("   +     ................. 13"),
      ln("   x     ................. 14"), ln("   *     ................. 15"),
      ln("   *     ................. 16"), ln("   *     ................. 17"),
      ln("circle . ................. 20"), ln("circle - ................. 21"),
      ln("circle | ................. 22"), ln("circle + ................. 23"),
      ln("square   ..................40"), ln("circle   ....... other values")};
  return table;
}

TEST_F(AttributesTest, SymbolTypeListOnlyForm) {
  plt2blk.isymbtype = 4;
  ConsoleCapture cap;
  std::int32_t t = 9;
  ssymboltype(t, 102);
  EXPECT_EQ(cap.lines(), symbol_table());
  EXPECT_EQ(t, 9);
  EXPECT_EQ(plt2blk.isymbtype, 4);
}

TEST_F(AttributesTest, SymbolTypeAskOnlyFormStoresNothing) {
  plt2blk.isymbtype = 4;
  ConsoleCapture cap("-23\n");
  std::int32_t t = 5;
  ssymboltype(t, 200);
  const Lines expected = concat(
      {menu_head("ssymboltype"),
       {ln(std::string(43, '-')), ln("SYMBOL TYPE:"), ln(" Negative number => filled symbol"),
        ln(" N.B. Symbols also depend on"), ln("      polygon & line attributes"),
        ln(std::string(43, '-')), ln("ready to set type =    5"), ln(std::string(43, '-')),
        ln("Symbol type ... symbol number")},
       symbol_table(),
       {menu_tail()}});
  const Lines lines = cap.lines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_EQ(t, -23);
  EXPECT_EQ(plt2blk.isymbtype, 4);
}

TEST_F(AttributesTest, SymbolTypeStoresAnyNumber) {
  plt2blk.isymbtype = 4;
  ConsoleCapture cap("999\n");
  std::int32_t t = 0;
  ssymboltype(t, 2);
  EXPECT_TRUE(contains_block(
      cap.lines(), {ln("currently stored type =    4"), ln("ready to  store  type =    4")}))
      << cap.text();
  EXPECT_EQ(plt2blk.isymbtype, 999);

  cap.take();
  iocom.lcrerr = false;
  ssymboltype(-40, 1);
  EXPECT_EQ(plt2blk.isymbtype, -40);
  ssymboltype(3, 5);
  EXPECT_EQ(plt2blk.isymbtype, 1);
  cap.take();
  ssymboltype(3, 9);
  EXPECT_EQ(cap.lines(), no_action("ssymboltype", 9));
  EXPECT_EQ(plt2blk.isymbtype, 1);
}

TEST_F(AttributesTest, WarningsPauseWhenAsked) {
  ConsoleCapture cap("\n");
  stextcolor(-1, 1);
  const Lines expected =
      concat({warning_head("stextcolor"),
              {ln("trying to set color nb =     -1"), ln("when min color nb      = 0"),
               ln("===> RESET color nb    =      1")},
              warning_tail()});
  EXPECT_EQ(cap.lines(), expected);
}

}  // namespace
}  // namespace polarsketch::plot
