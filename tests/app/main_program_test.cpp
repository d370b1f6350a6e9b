// The main program's stages driven in-process with the console bound to strings.
#include "app/main_program.hpp"

#include <gtest/gtest.h>

#include "console/iocom.hpp"
#include "stereonet/projections.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::app {
namespace {

bool same(const MainParams& a, const MainParams& b) {
  return a.az == b.az && a.dip == b.dip && a.rake == b.rake && a.scang == b.scang &&
         a.ang01 == b.ang01 && a.ang02 == b.ang02 && a.idg == b.idg && a.d1 == b.d1 &&
         a.d2 == b.d2 && a.ids == b.ids && a.ang1 == b.ang1 && a.ang2 == b.ang2 && a.isp == b.isp &&
         a.ldrwframe == b.ldrwframe && a.pfnam == b.pfnam && a.ipltsize == b.ipltsize &&
         a.cpltsize == b.cpltsize;
}

TEST(MainProgramSettings, NumbersOfOtherStagesChangeNothingAndPrintNothing) {
  for (std::int32_t irep : {-1, 0, 10, 12, 19, 20, 99, 100, 150, 603, 999, 9999}) {
    testing::ConsoleCapture cap("5\n");
    MainParams p;
    p.az = 12.5f;
    const MainParams before = p;
    settings_stage(irep, p);
    EXPECT_TRUE(same(p, before)) << irep;
    EXPECT_EQ(cap.text(), "") << irep;
  }
}

TEST(MainProgramSettings, EachCommandSetsOnlyItsOwnParameters) {
  struct Case {
    std::int32_t irep;
    const char* answers;
    void (*change)(MainParams&);
  };
  const Case cases[] = {
      {60, "1\n", [](MainParams& p) { p.az = 1.0f; }},
      {61, "2\n", [](MainParams& p) { p.dip = 2.0f; }},
      {62, "3\n", [](MainParams& p) { p.rake = 3.0f; }},
      {63, "4\n", [](MainParams& p) { p.scang = 4.0f; }},
      {64, "5\n6\n", [](MainParams& p) { p.ang01 = 5.0f, p.ang02 = 6.0f; }},
      {70, "7\n", [](MainParams& p) { p.idg = 7; }},
      {71, "8\n9\n", [](MainParams& p) { p.d1 = 8.0f, p.d2 = 9.0f; }},
      {80, "0\n", [](MainParams& p) { p.ids = 0; }},
      {81, "1.5\n2.5\n", [](MainParams& p) { p.ang1 = 1.5f, p.ang2 = 2.5f; }},
      {90, "1\n", [](MainParams& p) { p.isp = 1; }},
      {41, "0\n", [](MainParams& p) { p.ldrwframe = false; }},
      {11, "3\n", [](MainParams& p) { p.ipltsize = 3; }},
      {18, "a.ps\n", [](MainParams& p) { p.pfnam = "a.ps"; }},
  };
  for (const Case& c : cases) {
    testing::ConsoleCapture cap(c.answers);
    MainParams p;
    MainParams want;
    c.change(want);
    settings_stage(c.irep, p);
    EXPECT_TRUE(same(p, want)) << c.irep;
  }
}

TEST(MainProgramSettings, ProjectionChangedUnderAnOpenPlotIsWarnedOf) {
  namespace f = testing::frames;
  const f::Lines warning = f::frame(
      f::warning_head("polarsketch"),
      {"old projection =    4 Schmidt, retrograde X,Y axis",
       "new projection =    1 Wulff, direct X,Y axis", "THE FRAME OF THE CURRENT PAGE SHOWS",
       "THE OLD PROJECTION", "===> COMMAND 19 STARTS A PAGE WITH THE NEW FRAME"},
      f::warning_tail());
  struct Case {
    bool open;
    const char* answer;
    bool warned;
  };
  const Case cases[] = {
      {true, "1\n", true}, {true, "4\n", false}, {true, "\n", false}, {false, "1\n", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    testing::ConsoleCapture cap(std::string(c.answer) + "\n");
    stereonet::sprojtype.iproj = 4;
    console::iocom.lop = c.open;
    MainParams p;
    settings_stage(30, p);
    console::iocom.lop = false;
    const auto lines = cap.lines();
    ASSERT_GE(lines.size(), warning.size());
    const f::Lines last(lines.end() - static_cast<std::ptrdiff_t>(warning.size()), lines.end());
    EXPECT_EQ(last == warning, c.warned);
    EXPECT_EQ(cap.text().find("WARNING") != std::string::npos, c.warned);
  }
  stereonet::sprojtype.iproj = 4;
}

TEST(MainProgramQuit, FastQuitEndsAndConfirmationDecides) {
  {
    testing::ConsoleCapture cap;
    std::int32_t irep = 9999;
    EXPECT_TRUE(quit_stage(irep));
    EXPECT_EQ(cap.text(), "");  // no question
  }
  {
    testing::ConsoleCapture cap("\n");
    std::int32_t irep = 999;
    EXPECT_TRUE(quit_stage(irep));
  }
  {
    // Any other answer cancels and becomes the command for drawing.
    testing::ConsoleCapture cap("600\n");
    std::int32_t irep = 999;
    EXPECT_FALSE(quit_stage(irep));
    EXPECT_EQ(irep, 600);
  }
  {
    testing::ConsoleCapture cap;
    std::int32_t irep = 20;
    EXPECT_FALSE(quit_stage(irep));
    EXPECT_EQ(irep, 20);
  }
}

TEST(MainProgramRun, ExitStatusAfterQuitAndAtEndOfInput) {
  {
    testing::ConsoleCapture cap("\n60\n33\n9999\n");
    EXPECT_EQ(run_program(), 0);
    EXPECT_NE(cap.text().find(" azimuth ..................60    33.00\n"), std::string::npos);
  }
  {
    testing::ConsoleCapture cap("\n60\n");
    EXPECT_EQ(run_program(), 2);
    EXPECT_FALSE(console::iocom.lop);
  }
}

TEST(MainProgramRun, StartUpRestoresTheStartValues) {
  testing::ConsoleCapture cap("\n");
  MainParams p;
  p.az = 1.0f;
  p.ipltsize = 3;
  p.pfnam = "other.ps";
  p.ldrwframe = false;
  startup(p);
  EXPECT_TRUE(same(p, MainParams{}));
  EXPECT_EQ(p.pfnam.trimmed(), "polar_sketch.ps");
  EXPECT_EQ(p.cpltsize(2).str(), "Fsa small stereo");
}

}  // namespace
}  // namespace polarsketch::app
