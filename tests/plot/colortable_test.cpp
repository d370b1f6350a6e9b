// The colour table: default table, table menu, reading a table from a file,
// the number of colours and the setting of one slot.
#include "plot/colortable.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "plot/records.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

using console::iocom;
using testing::ConsoleCapture;
using namespace testing::frames;

class ColorTableTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_plot_records(); }
  void TearDown() override {
    for (const auto& f : files_) std::remove(f.c_str());
  }
  // Installs the default table silently (its report is tested on its own).
  static void install_defaults() {
    ConsoleCapture quiet;
    scolortable(5);
  }
  // Writes a colour-table file in the working directory.
  std::string write_file(const std::string& name, const std::string& content) {
    std::ofstream(name) << content;
    files_.push_back(name);
    return name;
  }

 private:
  std::vector<std::string> files_;
};

TEST_F(ColorTableTest, StartUpInstallsTheDefaultTableWithItsReport) {
  ConsoleCapture cap;
  scolortable(5);
  const Lines expected =
      concat({menu_head("scolortable"),
              {ln("INITIALIZING COLOR TABLE:"), ln("0   -> BKG = WHITE"), ln("1   -> FRG = BLACK"),
               ln("2-4 -> RGB COLORS"), ln("5-7 -> CMY COLORS"), ln("8   -> GREY 50%")}});
  EXPECT_EQ(cap.lines(), expected);
  EXPECT_EQ(plt2blk.ncolor, 12);
  EXPECT_TRUE(plt2blk.loncolor);
  EXPECT_EQ(pltcharblk.colornam(0).trimmed(), "White-bk");
  EXPECT_EQ(pltcharblk.colornam(8).trimmed(), "Grey20");
  EXPECT_EQ(pltcharblk.colornam(12).trimmed(), "Grey70");
  EXPECT_EQ(plt2blk.red(2), 50.0f);
  EXPECT_EQ(plt2blk.green(2), 0.0f);
  EXPECT_EQ(plt2blk.blue(6), 50.0f);
  EXPECT_EQ(plt2blk.green(8), 80.0f);
  EXPECT_EQ(plt2blk.blue(12), 30.0f);
}

TEST_F(ColorTableTest, TableMenuListsEverySlotInUse) {
  install_defaults();
  ConsoleCapture cap("99\n");
  scolortable(2);
  const Lines block = {
      ln("SETTING COLOR TABLE"),
      ln(std::string(43, '-')),
      ln("Current nb of colors:   12"),
      ln(std::string(43, '-')),
      ln("|index|      name|   red% | green% |  blue% |"),
      ln("|   0 |  White-bk|  100.0 |  100.0 |  100.0 |"),
      ln("|   1 |  Black   |    0.0 |    0.0 |    0.0 |"),
  };
  EXPECT_TRUE(contains_block(cap.lines(), block)) << cap.text();
  EXPECT_TRUE(contains_block(
      cap.lines(),
      {ln("|  12 |  Grey70  |   30.0 |   30.0 |   30.0 |"), ln(std::string(43, '-')),
       ln("modify nb of colors ..........100"), ln("modify rgb color content .....200"),
       ln("read color table from file ...300"), ln(std::string(43, '-')),
       ln("EXIT ..........................99"), menu_tail()}))
      << cap.text();
}

TEST_F(ColorTableTest, FlagsOneAndThreeDoNothing) {
  install_defaults();
  ConsoleCapture cap;
  scolortable(1);
  scolortable(3);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(ColorTableTest, OneColourMakesABlackAndWhitePlot) {
  install_defaults();
  ConsoleCapture cap("10\n1\n99\n");
  std::int32_t n = 7;
  scolornb(n, 2);
  EXPECT_TRUE(contains_block(
      cap.lines(),
      {ln("SETTING THE NUMBER OF COLORS:"), ln(std::string(43, '-')),
       ln("max nb of colors ................  12"), ln("current nb of colors ............  12"),
       ln("new nb of colors to apply .....10  12")}))
      << cap.text();
  EXPECT_TRUE(contains_block(cap.lines(), {ln("NB of colors =   1 ==> Black & White plot"),
                                           ln("The nb of colors has been reduced")}))
      << cap.text();
  EXPECT_EQ(n, 1);
  EXPECT_EQ(plt2blk.ncolor, 1);
  EXPECT_FALSE(plt2blk.loncolor);
}

TEST_F(ColorTableTest, CancelLeavesTheNumberOfColours) {
  install_defaults();
  ConsoleCapture cap("10\n3\n98\n");
  std::int32_t n = 0;
  scolornb(n, 2);
  EXPECT_EQ(plt2blk.ncolor, 12);
  EXPECT_TRUE(plt2blk.loncolor);
  EXPECT_EQ(cap.text().find("NB of colors ="), std::string::npos);
}

TEST_F(ColorTableTest, NumberOutsideOneToTwelveIsReset) {
  install_defaults();
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t n = 20;
  scolornb(n, 1);
  EXPECT_EQ(cap.lines(),
            warn("scolornb", {"trying to set nb of color  =  20", "max nb of color  =  12",
                              "===> RESET nb of color =  12"}));
  EXPECT_EQ(n, 12);
  cap.take();
  n = -2;
  scolornb(n, 1);
  const Lines expected =
      concat({warn("scolornb", {"trying to set nb of color  =  -2", "min nb of color  = 1",
                                "===> RESET nb of color =   1"}),
              {ln("The nb of colors has been reduced"),
               ln("==> checking current set up versus new max"), ln("==> checking done")}});
  EXPECT_EQ(cap.lines(), expected);
  EXPECT_EQ(plt2blk.ncolor, 1);
  EXPECT_FALSE(plt2blk.loncolor);
}

TEST_F(ColorTableTest, DroppingTheNumberReChecksTheStoredColours) {
  install_defaults();
  plt2blk.ilinecolor = 7;
  plt2blk.ifillcolor = 10;
  plt2blk.itxtcolor = 3;
  ConsoleCapture cap;
  iocom.lcrerr = false;
  scolornb(4, 1);
  const Lines expected = concat(
      {{ln("The nb of colors has been reduced"), ln("==> checking current set up versus new max")},
       warn("slinecolor", {"trying to set color nb =      7", "when max color nb      =      4",
                           "===> RESET color nb    =      2"}),
       warn("sfillcolor", {"trying to set color nb =     10", "when max color nb      =      4",
                           "===> RESET color nb    =      1"}),
       {ln("==> checking done")}});
  EXPECT_EQ(cap.lines(), expected);
  EXPECT_EQ(plt2blk.ilinecolor, 2);
  EXPECT_EQ(plt2blk.ifillcolor, 1);  // 10 mod 5 is 0, which becomes 1
  EXPECT_EQ(plt2blk.itxtcolor, 3);
}

TEST_F(ColorTableTest, ResetToFourColoursAlsoReChecksTheStoredColours) {
  install_defaults();
  plt2blk.itxtcolor = 9;
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t n = 0;
  scolornb(n, 5);
  const Lines expected = concat(
      {menu_head("scolornb"),
       {ln("INITIALIZING NUMBER OF COLORS TO:   4"), ln("NB of colors =   4 ==> Color plot"),
        ln("The nb of colors has been reduced"), ln("==> checking current set up versus new max")},
       warn("stextcolor", {"trying to set color nb =      9", "when max color nb      =      4",
                           "===> RESET color nb    =      4"}),
       {ln("==> checking done")}});
  EXPECT_EQ(cap.lines(), expected);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(plt2blk.ncolor, 4);
  EXPECT_EQ(plt2blk.itxtcolor, 4);
}

TEST_F(ColorTableTest, SlotIndexAboveTheNumberWrapsAround) {
  install_defaults();
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t i = 15;
  std::string name = "Orange";
  float r = 100.0f, g = 50.0f, b = 0.0f;
  scolorrgb(i, name, r, g, b, 1);
  EXPECT_EQ(cap.lines(),
            warn("scolorgb", {"trying to set color nb =  15", "when nb of color  =  12",
                              "===> RESET nb of color =   2"}));
  EXPECT_EQ(i, 2);
  EXPECT_EQ(pltcharblk.colornam(2).trimmed(), "Orange");
  EXPECT_EQ(plt2blk.red(2), 100.0f);
  EXPECT_EQ(plt2blk.green(2), 50.0f);

  cap.take();
  i = -4;
  scolorrgb(i, name, r, g, b, 1);
  EXPECT_EQ(cap.lines(),
            warn("scolorgb", {"trying to set nb of color  =  -4", "min nb of color  = 0",
                              "===> RESET nb of color =   1"}));
  EXPECT_EQ(i, 1);
  EXPECT_EQ(pltcharblk.colornam(1).trimmed(), "Orange");
}

TEST_F(ColorTableTest, LoadingFormsCheckTheSlotToo) {
  install_defaults();
  ConsoleCapture cap;
  iocom.lcrerr = false;
  std::int32_t i = 20;
  std::string name;
  float r = -1.0f, g = -1.0f, b = -1.0f;
  scolorrgb(i, name, r, g, b, 3);
  EXPECT_EQ(i, 7);  // 20 mod 13
  EXPECT_EQ(name, "Yellow  ");
  EXPECT_EQ(r, 50.0f);
  EXPECT_EQ(g, 50.0f);
  EXPECT_EQ(b, 0.0f);
  EXPECT_EQ(plt2blk.red(7), 50.0f);
}

TEST_F(ColorTableTest, IntensitiesAreClampedToPercent) {
  install_defaults();
  ConsoleCapture cap;
  iocom.lcrerr = false;
  scolorrgb(3, "Lime is a long name", 150.0f, -5.0f, 40.0f, 1);
  EXPECT_EQ(plt2blk.red(3), 100.0f);
  EXPECT_EQ(plt2blk.green(3), 0.0f);
  EXPECT_EQ(plt2blk.blue(3), 40.0f);
  EXPECT_EQ(pltcharblk.colornam(3).str(), "Lime is ");
  EXPECT_NE(cap.text().find("scolorgb"), std::string::npos);
}

TEST_F(ColorTableTest, SmallDefaultSetDependsOnTheNumberOfColours) {
  install_defaults();
  {
    ConsoleCapture cap;
    std::int32_t i = 0;
    std::string name;
    float r = 0.0f, g = 0.0f, b = 0.0f;
    scolorrgb(i, name, r, g, b, 5);
    EXPECT_EQ(cap.lines(),
              concat({menu_head("scolorgb"), {ln("INITIALIZING RGB: 4 COLORS + BKG")}}));
    EXPECT_EQ(name, "White-bk");
  }
  EXPECT_EQ(plt2blk.red(2), 100.0f);
  EXPECT_EQ(plt2blk.green(3), 100.0f);
  EXPECT_EQ(plt2blk.blue(4), 100.0f);
  EXPECT_EQ(plt2blk.green(5), 50.0f);  // Cyan untouched

  reset_plot_records();
  plt2blk.ncolor = 3;
  ConsoleCapture cap;
  scolorrgb(0, "", 0.0f, 0.0f, 0.0f, 5);
  EXPECT_EQ(pltcharblk.colornam(1).trimmed(), "Black");
  EXPECT_EQ(pltcharblk.colornam(2).trimmed(), "");
  EXPECT_EQ(plt2blk.red(2), 0.0f);
}

TEST_F(ColorTableTest, SlotMenuEditsNameAndIntensities) {
  install_defaults();
  ConsoleCapture cap("20\nPurple\n30\n60\n\n70\n99\n");
  std::int32_t i = 2;
  std::string name;
  float r = 0.0f, g = 0.0f, b = 0.0f;
  scolorrgb(i, name, r, g, b, 2);
  EXPECT_TRUE(contains_block(
      cap.lines(),
      {ln("SETTING RGB COLORS:"), ln(std::string(43, '-')),
       ln("max nb of colors ................  12"), ln("current nb of colors ............  12"),
       ln("color index ...................10   2"),
       ln("current color name .............. Red     "),
       ln("new    color  name ............20 Red     "), ln(std::string(43, '-')),
       ln("       |   red% | green% |  blue% |"), ln("current|   50.0 |    0.0 |    0.0 |"),
       ln("    new|   50.0 |    0.0 |    0.0 |")}))
      << cap.text();
  // The last showing of the menu holds the edited working values.
  EXPECT_TRUE(contains_block(
      cap.lines(),
      {ln("new    color  name ............20 Purple  "), ln(std::string(43, '-')),
       ln("       |   red% | green% |  blue% |"), ln("current|   50.0 |    0.0 |    0.0 |"),
       ln("    new|   60.0 |    0.0 |   70.0 |")}))
      << cap.text();
  EXPECT_EQ(pltcharblk.colornam(2).trimmed(), "Purple");
  EXPECT_EQ(plt2blk.red(2), 60.0f);
  EXPECT_EQ(plt2blk.green(2), 0.0f);
  EXPECT_EQ(plt2blk.blue(2), 70.0f);
}

TEST_F(ColorTableTest, SlotMenuCancelStoresNothing) {
  install_defaults();
  ConsoleCapture cap("20\nPurple\n98\n");
  std::int32_t i = 2;
  std::string name;
  float r = 0.0f, g = 0.0f, b = 0.0f;
  scolorrgb(i, name, r, g, b, 2);
  EXPECT_EQ(pltcharblk.colornam(2).trimmed(), "Red");
}

TEST_F(ColorTableTest, TableMenuModifiesOneSlot) {
  install_defaults();
  ConsoleCapture cap("200\n4\n30\n10\n20\n30\n99\n99\n");
  scolortable(0);
  EXPECT_EQ(plt2blk.red(4), 10.0f);
  EXPECT_EQ(plt2blk.green(4), 20.0f);
  EXPECT_EQ(plt2blk.blue(4), 30.0f);
  EXPECT_TRUE(contains_block(cap.lines(), {ln("|   4 |  Blue    |   10.0 |   20.0 |   30.0 |")}))
      << cap.text();
}

TEST_F(ColorTableTest, FileWithTooManyColoursIsReadAsTwelve) {
  install_defaults();
  std::string content = "20\n";
  for (int i = 12; i >= 0; --i) {
    content += std::to_string(i) + ", " + std::to_string(i * 5) + " 10.5 0 'c " +
               std::to_string(i) + "'\n";
  }
  const std::string file = write_file("ct_many.txt", content);
  ConsoleCapture cap("300\n" + file + "\n99\n");
  iocom.lcrerr = false;
  scolortable(2);
  const Lines lines = cap.lines();
  EXPECT_TRUE(contains_block(
      lines, warn("scolornb", {"trying to set nb of color  =  20", "max nb of color  =  12",
                               "===> RESET nb of color =  12"})))
      << cap.text();
  EXPECT_TRUE(contains_block(
      lines, concat({menu_head("scolortable"),
                     {ln("Input file ct_many.txt is closed"), ln("Could read up to:   12 DATA"),
                      ln("Actually read   :   12 DATA"), menu_tail()}})))
      << cap.text();
  EXPECT_EQ(plt2blk.ncolor, 12);
  EXPECT_EQ(pltcharblk.colornam(12).trimmed(), "c 12");
  EXPECT_EQ(plt2blk.red(12), 60.0f);
  EXPECT_EQ(plt2blk.green(0), 10.5f);
  EXPECT_EQ(pltcharblk.colornam(0).trimmed(), "c 0");
}

TEST_F(ColorTableTest, ShortFileReportsTheLineAndKeepsWhatWasRead) {
  install_defaults();
  const std::string file =
      write_file("ct_short.txt", "3\n1 10 20 30 \"ink one\"\n0 100 100 90 paper\n");
  ConsoleCapture cap("300\n" + file + "\n99\n");
  iocom.lcrerr = false;
  scolortable(2);
  const Lines expected =
      concat({{ln("END OF FILE REACHED UNEXPECTEDLY")},
              error_head("scolortable"),
              {ln("WHILE READING LINE NUMBER     4"), ln("Input file ct_short.txt is closed"),
               ln(std::string(43, '*'))}});
  EXPECT_TRUE(contains_block(cap.lines(), expected)) << cap.text();
  EXPECT_EQ(plt2blk.ncolor, 3);
  EXPECT_EQ(pltcharblk.colornam(1).trimmed(), "ink one");
  EXPECT_EQ(plt2blk.green(1), 20.0f);
  EXPECT_EQ(pltcharblk.colornam(0).trimmed(), "paper");
  EXPECT_EQ(plt2blk.blue(0), 90.0f);
  EXPECT_EQ(pltcharblk.colornam(2).trimmed(), "Red");
  EXPECT_EQ(cap.text().find("Actually read"), std::string::npos);
}

TEST_F(ColorTableTest, UnreadableValueReportsItsLine) {
  install_defaults();
  const std::string file = write_file("ct_bad.txt", "2\n0,100,100,100,paper\n1 x 0 0 ink\n");
  ConsoleCapture cap("300\n" + file + "\n99\n");
  iocom.lcrerr = false;
  scolortable(2);
  const Lines expected =
      concat({error_head("scolortable"),
              {ln("WHILE READING LINE NUMBER     3"), ln("Input file ct_bad.txt is closed"),
               ln(std::string(43, '*'))}});
  EXPECT_TRUE(contains_block(cap.lines(), expected)) << cap.text();
  EXPECT_EQ(cap.text().find("END OF FILE"), std::string::npos);
  EXPECT_EQ(pltcharblk.colornam(0).trimmed(), "paper");
  EXPECT_EQ(pltcharblk.colornam(1).trimmed(), "Black");
  EXPECT_EQ(plt2blk.ncolor, 2);
}

TEST_F(ColorTableTest, LineWithoutItsNameIsUnreadable) {
  install_defaults();
  const std::string file = write_file("ct_noname.txt", "2\n0 1 2 3\n1 0 0 0 ink\n2 0 0 0 z\n");
  ConsoleCapture cap("300\n" + file + "\n99\n");
  iocom.lcrerr = false;
  scolortable(2);
  EXPECT_TRUE(contains_block(cap.lines(), {ln("WHILE READING LINE NUMBER     2")})) << cap.text();
  EXPECT_EQ(cap.text().find("END OF FILE"), std::string::npos);
  EXPECT_EQ(pltcharblk.colornam(0).trimmed(), "White-bk");
  EXPECT_EQ(pltcharblk.colornam(1).trimmed(), "Black");
}

TEST_F(ColorTableTest, UnreadableCountLeavesTheTable) {
  install_defaults();
  const std::string file = write_file("ct_count.txt", "twelve\n");
  ConsoleCapture cap("300\n" + file + "\n99\n");
  iocom.lcrerr = false;
  scolortable(2);
  EXPECT_TRUE(contains_block(cap.lines(), {ln("WHILE READING LINE NUMBER     1")})) << cap.text();
  EXPECT_EQ(plt2blk.ncolor, 12);
}

TEST_F(ColorTableTest, FileValuesAreCheckedLikeTypedOnes) {
  install_defaults();
  const std::string file = write_file("ct_fix.txt", "1\n5 150 -3 20 x\n0 1 2 3 y\n");
  ConsoleCapture cap("300\n" + file + "\n99\n");
  iocom.lcrerr = false;
  scolortable(2);
  EXPECT_TRUE(contains_block(
      cap.lines(), warn("scolorgb", {"trying to set color nb =   5", "when nb of color  =   1",
                                     "===> RESET nb of color =   1"})))
      << cap.text();
  EXPECT_EQ(plt2blk.ncolor, 1);
  EXPECT_FALSE(plt2blk.loncolor);
  EXPECT_EQ(pltcharblk.colornam(1).trimmed(), "x");
  EXPECT_EQ(plt2blk.red(1), 100.0f);
  EXPECT_EQ(plt2blk.green(1), 0.0f);
  EXPECT_EQ(pltcharblk.colornam(0).trimmed(), "y");
  EXPECT_TRUE(contains_block(cap.lines(), {ln("Actually read   :    1 DATA")})) << cap.text();
}

}  // namespace
}  // namespace polarsketch::plot
