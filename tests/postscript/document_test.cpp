// The document level of the driver: the settings file and its dialog, the
// prolog variants, page breaks, the trailer and write failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "console/stop.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::testing {
namespace {

using namespace polarsketch::postscript;

bool has_line(const std::vector<std::string>& lines, const std::string& l) {
  return std::find(lines.begin(), lines.end(), l) != lines.end();
}

std::size_t count_lines(const std::vector<std::string>& lines, const std::string& l) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), l));
}

class Document : public ::testing::Test {
 protected:
  void SetUp() override { reset_driver(); }
  void TearDown() override { reset_driver(); }
  // Opens "plot.ps" without a name prompt, answering the console with `input`.
  void open_plot(const std::string& input) {
    cap_.set_input(input);
    FixedText<20> name("plot.ps");
    intplinit(name, 1);
  }
  std::vector<std::string> plot_lines() { return split_lines(read_file("plot.ps")); }
  ScratchDir dir_;
  ConsoleCapture cap_;
};

TEST_F(Document, FirstRunCreatesTheSettingsFileAndWritesTheNewsProlog) {
  open_plot("\n");
  EXPECT_EQ(read_file(kSettingsFile), "  F   1 P    2\n \n");
  psend();
  EXPECT_EQ(read_file("plot.ps"),
            join_lines({"%!", "% Initialize coordinate system and scales", "%%Pages: (atend)",
                        "%%BoundingBox: 0 0 595 842", "% Ready to go", "%%Page:   1   1",
                        "showpage", "%%End Page", "%%Trailer", "%%Pages:   1", "%%EOF"}));
  const auto con = cap_.lines();
  EXPECT_TRUE(has_line(con, " quill7_ini.txt updated or created"));
  EXPECT_TRUE(has_line(con, "          Default Settings:            "));
  EXPECT_TRUE(has_line(con, " Overlay ?  = No"));
  EXPECT_TRUE(has_line(con, " # Copies   =   1"));
  EXPECT_TRUE(has_line(con, " System     = Portrait"));
  EXPECT_TRUE(has_line(con, " PostScript = NeWS                "));
}

TEST_F(Document, ColourPlotsResetToSlotOneBeforeReadyToGo) {
  plot::plt2blk.loncolor = true;
  plot::plt2blk.red(1) = 50.0f;
  plot::plt2blk.icurrentcolor = 7;
  open_plot("\n");
  psend();
  const auto l = plot_lines();
  ASSERT_GE(l.size(), 6u);
  EXPECT_EQ(l[4], " 0.500  0.000  0.000 setrgbcolor");
  EXPECT_EQ(l[5], "% Ready to go");
  EXPECT_EQ(plot::plt2blk.icurrentcolor, 1);
}

TEST_F(Document, UnreadableSettingsFilesFallBackToTheDefaultsAndAreRewritten) {
  for (const std::string& content :
       {std::string(""), std::string("  X   1 P    2\n"), std::string("  F ***P    2\n")}) {
    SCOPED_TRACE(content);
    reset_driver();
    write_file(kSettingsFile, content);
    open_plot("\n");
    psend();
    EXPECT_EQ(read_file(kSettingsFile), "  F   1 P    2\n \n");
    EXPECT_EQ(psparams.ips, 2);
  }
}

TEST_F(Document, ReadSettingsKeepFieldsAsReadButReplaceAnUnknownDialect) {
  write_file(kSettingsFile, "  T  12 LUS  7\n");
  DriverSettings s;
  ASSERT_TRUE(read_settings_file(s));
  EXPECT_TRUE(s.ovly);
  EXPECT_EQ(s.ncopies, 12);
  EXPECT_EQ(s.sys.str(), "LUS");
  EXPECT_EQ(s.ips, 7);

  open_plot("\n");
  EXPECT_EQ(psparams.ips, 2);
  writer().finish();
  // Read successfully, so not rewritten; the overlay writes only the start line.
  EXPECT_EQ(read_file(kSettingsFile), "  T  12 LUS  7\n");
  EXPECT_EQ(plot_lines(), std::vector<std::string>({"% Ready to go"}));
}

TEST_F(Document, ShortSettingsLineReadsAsPaddedWithBlanks) {
  struct Case {
    const char* line;
    bool ovly;
    std::int32_t ncopies;
    const char* sys;
    std::int32_t ips;
  };
  const Case cases[] = {{"  T   3 LA4", true, 3, "LA4", 0},
                        {"  T   3 L", true, 3, "L  ", 0},
                        {" T", true, 0, "   ", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    write_file(kSettingsFile, std::string(c.line) + "\n");
    DriverSettings s;
    ASSERT_TRUE(read_settings_file(s));
    EXPECT_EQ(s.ovly, c.ovly);
    EXPECT_EQ(s.ncopies, c.ncopies);
    EXPECT_EQ(s.sys.str(), c.sys);
    EXPECT_EQ(s.ips, c.ips);
  }
  // A blank overlay flag is no logical: the defaults.
  write_file(kSettingsFile, " \n");
  DriverSettings s;
  s.ncopies = 9;
  EXPECT_FALSE(read_settings_file(s));
  EXPECT_EQ(s.ncopies, 1);
}

TEST_F(Document, UnknownOrientationGivesNoBoundingBoxAndNoRotation) {
  write_file(kSettingsFile, "  F   1 XYZ  1\n");
  open_plot("\n");
  psend();
  const auto l = plot_lines();
  EXPECT_FALSE(has_line(l, "%%BoundingBox: 0 0 595 842"));
  EXPECT_EQ(
      std::count_if(l.begin(), l.end(),
                    [](const std::string& s) { return s.find("translate") != std::string::npos; }),
      0);
  EXPECT_TRUE(has_line(cap_.lines(), " System     = "));
  EXPECT_EQ(psparams.sys.str(), "XYZ");
}

TEST_F(Document, OverlayInCompressedAndNewsWritesOnlyTheStartLine) {
  for (std::int32_t ips : {1, 2}) {
    SCOPED_TRACE(ips);
    reset_driver();
    write_file(kSettingsFile, "  T   3 LA4  " + std::to_string(ips) + "\n");
    open_plot("\n");
    psend();
    EXPECT_EQ(read_file("plot.ps"), join_lines({"% Ready to go", "showpage", "%%End Page",
                                                "%%Trailer", "%%Pages:   1", "%%EOF"}));
  }
}

TEST_F(Document, PageBreaksCountPagesInTheTrailer) {
  write_file(kSettingsFile, "  F   1 P    2\n");
  open_plot("\n");
  intnewpage();
  intnewpage();
  psend();
  const auto l = plot_lines();
  EXPECT_EQ(count_lines(l, "gsave showpage"), 2u);
  EXPECT_TRUE(has_line(l, "%%Page:   3   3"));
  EXPECT_EQ(l[l.size() - 2], "%%Pages:   3");
}

TEST_F(Document, PageNumbersBeyondThreeColumnsAreWrittenInFull) {
  write_file(kSettingsFile, "  F   1 P    1\n");
  open_plot("\n");
  psparams.npage = 999;
  intnewpage();
  psend();
  const auto l = plot_lines();
  EXPECT_TRUE(has_line(l, "%%Page: 1000 1000"));
  EXPECT_TRUE(has_line(l, "%%Pages: 1000"));
}

TEST_F(Document, DialogStoresOrientationAnswersAndAsksAgainOnUnknownOnes) {
  // Not the defaults; overlay and copies kept; "X" then "la4"; dialect 1.
  open_plot("n\n\n\nX\nla4\n1\n");
  EXPECT_EQ(read_file(kSettingsFile), "  F   1 LA4  1\n \n");
  EXPECT_EQ(count_lines(cap_.lines(), " Unknown command ==> Asking again"), 1u);
  EXPECT_EQ(count_lines(cap_.lines(), " Page orientation...Command"), 2u);
  EXPECT_TRUE(has_line(cap_.lines(), " Compressed             1"));
  EXPECT_TRUE(has_line(cap_.lines(), " Illustrator v.2 = 88   3"));
  psend();

  reset_driver();
  open_plot("n\ny\n4\nportrait\n\n");
  EXPECT_EQ(read_file(kSettingsFile), "  T   4 P    1\n \n");
}

TEST_F(Document, CopiesOutsideTheStorableRangeAreResetToTheNearestBound) {
  open_plot("n\n\n1000\n\nP\n\n");
  EXPECT_EQ(read_file(kSettingsFile), "  F 999 P    2\n \n");
  EXPECT_TRUE(has_line(cap_.lines(), " ==> RESET number of copies =          999"));
  psend();

  reset_driver();
  open_plot("n\n\n0\n\nP\n1\n");
  EXPECT_EQ(read_file(kSettingsFile), "  F   1 P    1\n \n");
  // One copy: no copies line in the compressed prolog.
  const auto l = plot_lines();
  EXPECT_EQ(std::count_if(l.begin(), l.end(),
                          [](const std::string& s) { return s.rfind("/#copies", 0) == 0; }),
            0);
}

TEST_F(Document, SettingsFileThatCannotBeWrittenIsReportedAndThePlotStillOpens) {
  std::filesystem::create_directory(kSettingsFile);
  open_plot("\n\n");
  EXPECT_TRUE(has_line(cap_.lines(), " COULD NOT WRITE FILE quill7_ini.txt"));
  EXPECT_TRUE(writer().is_open());
  psend();
  EXPECT_EQ(plot_lines().back(), "%%EOF");
}

TEST_F(Document, PlotFileWriteFailureStopsTheRunWithAnErrorFrame) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  write_file(kSettingsFile, "  F   1 P    2\n");
  cap_.set_input("\n\n");
  std::string name = "/dev/full";
  intplinit(name, 1);
  try {
    psend();
    FAIL() << "psend returned after a failed write";
  } catch (const console::OrderlyStop& s) {
    EXPECT_EQ(s.status, console::kExitError);
  }
  EXPECT_TRUE(has_line(cap_.lines(), " COULD NOT WRITE FILE /dev/full"));
  EXPECT_FALSE(writer().is_open());
}

TEST_F(Document, FinishOnStopCompletesTheFileWithoutAQuestion) {
  write_file(kSettingsFile, "  F   1 P    3\n");
  open_plot("\n");
  const std::string before = cap_.take();
  float x[] = {1.0f, 2.0f};
  float y[] = {1.0f, 2.0f};
  psmoveto(x[0], y[0], 1);  // a path left open
  EXPECT_TRUE(finish_on_stop());
  EXPECT_EQ(cap_.text(), "");
  const auto l = plot_lines();
  EXPECT_EQ(l[l.size() - 8], "S");
  EXPECT_EQ(l.back(), "%%EOF");
  EXPECT_FALSE(writer().is_open());
  EXPECT_TRUE(finish_on_stop());  // nothing open: nothing to do
}

TEST_F(Document, IntplendAsksForAReturnThenCloses) {
  write_file(kSettingsFile, "  F   1 P    2\n");
  open_plot("\n");
  cap_.take();
  cap_.set_input("\n");
  intplend();
  const auto con = cap_.lines();
  EXPECT_TRUE(has_line(con, " Ready to close the PostScript plot file"));
  EXPECT_TRUE(has_line(con, " The PostScript plot file is closed"));
  EXPECT_FALSE(writer().is_open());
  EXPECT_EQ(plot_lines().back(), "%%EOF");
}

TEST_F(Document, NothingIsWrittenWhileNoPlotFileIsOpen) {
  std::ostringstream sink;
  console::bind_output(console::kUnitPlotFile, sink);
  plot::plt2blk.loncolor = true;
  psparams.lopenpath = true;
  float x[] = {1.0f};
  float y[] = {2.0f};
  deline(x, y, 1);
  psrgbcolor(-1);
  intnewpage();
  intslinewidth(1.0f);
  float tx = 1.0f, ty = 1.0f;
  detext2(tx, ty, "A");
  psend();
  EXPECT_EQ(sink.str(), "");
  EXPECT_EQ(cap_.text(), "");
}

TEST_F(Document, ColourLinesOnlyWhenTheColourChangesAndNeverInBlackAndWhite) {
  BoundPlot plot(1);
  plot::plt2blk.loncolor = true;
  plot::plt2blk.green(4) = 25.0f;
  plot::plt2blk.icurrentcolor = 1;
  plot::plt2blk.ilinecolor = 4;
  float x[] = {1.0f, 2.0f};
  float y[] = {1.0f, 2.0f};
  deline(x, y, 2);
  deline(x, y, 2);
  psrgbcolor(0);
  psrgbcolor(7);
  const auto l = plot.lines();
  EXPECT_EQ(count_lines(l, " 0.000  0.250  0.000 setrgbcolor"), 2u);
  EXPECT_EQ(plot::plt2blk.icurrentcolor, 4);

  BoundPlot bw(2);
  plot::plt2blk.loncolor = false;
  plot::plt2blk.ilinecolor = 2;
  plot::plt2blk.ifillstyle = 1;
  deline(x, y, 2);
  depolygon(x, y, 2);
  psrgbcolor(-1);
  const std::string t = bw.text();
  EXPECT_EQ(t.find("setrgbcolor"), std::string::npos);
  EXPECT_NE(t.find("closepath gsave\n 0.500 setgray fill grestore\nstroke\n"), std::string::npos);
}

TEST_F(Document, IllustratorTitleBlanksBytesThatWouldEndItsComment) {
  // Dialect 3, portrait, from a settings file; the name holds a carriage
  // return and an unbalanced parenthesis.
  {
    std::ofstream f(kSettingsFile);
    f << "  F   1 P    3\n \n";
  }
  cap_.set_input("\n");
  std::string name = "x\r(y.ps";
  intplinit(name, 1);
  psend();
  const auto lines = split_lines(read_file(name));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "%%Title: x (y.ps");
  EXPECT_RENDERS(name, 3);
}

TEST(SettingsLine, HoldsTheDocumentedColumns) {
  DriverSettings s;
  EXPECT_EQ(settings_line(s), "  F   1 P    2");
  s.ovly = true;
  s.ncopies = 999;
  s.sys = "LA4";
  s.ips = 3;
  EXPECT_EQ(settings_line(s), "  T 999 LA4  3");
}

}  // namespace
}  // namespace polarsketch::testing
