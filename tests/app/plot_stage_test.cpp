// The plot-file stage of the main loop and the page preparation, with the
// files it writes rendered by Ghostscript in each dialect.
#include "app/plot_stage.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_program.hpp"
#include "app/params.hpp"
#include "console/iocom.hpp"
#include "postscript/ps_test_support.hpp"
#include "support/test_support.hpp"

namespace polarsketch::app {
namespace {

using testing::ConsoleCapture;
using testing::read_file;
using testing::split_lines;

constexpr float kDevPerCm = 28.35f;

// Answers to the opening dialog (keep the settings, keep the name) and to
// the closing question.
constexpr const char* kOpen = "\n\n";
constexpr const char* kClose = "\n";

class PlotStageTest : public ::testing::Test {
 protected:
  PlotStageTest() {
    testing::reset_driver();
    startup(p);
    cap.take();
    dialect(2);
  }
  ~PlotStageTest() override {
    if (postscript::writer().is_open()) postscript::writer().finish();
    console::iocom.lop = false;
  }
  void dialect(std::int32_t ips) {
    postscript::DriverSettings s;
    s.ips = ips;
    postscript::write_settings_file(s);
  }
  std::vector<std::string> file() { return split_lines(read_file(dir.path() / "polar_sketch.ps")); }
  long count(const std::string& s) {
    const auto f = file();
    return std::count(f.begin(), f.end(), s);
  }
  // Points of every path-starting move and line in the file, by path.
  std::vector<std::vector<std::pair<float, float>>> paths() { return testing::drawn_paths(file()); }

  testing::ScratchDir dir;
  ConsoleCapture cap;
  MainParams p;
};

TEST_F(PlotStageTest, OpenThenCloseGivesRunInformationAndFrameInEveryDialect) {
  for (std::int32_t ips = 1; ips <= 3; ++ips) {
    SCOPED_TRACE(ips);
    dialect(ips);
    cap.set_input(std::string(kOpen) + kClose);
    EXPECT_TRUE(plot_stage(10, p));
    EXPECT_TRUE(console::iocom.lop);
    EXPECT_TRUE(plot_stage(20, p));
    EXPECT_FALSE(console::iocom.lop);
    const auto f = file();
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f.back(), "%%EOF");
    // The frame's labels and the run information are written.
    const std::string all = read_file(dir.path() / "polar_sketch.ps");
    EXPECT_NE(all.find("(North)"), std::string::npos);
    EXPECT_NE(all.find("(East)"), std::string::npos);
    EXPECT_RENDERS((dir.path() / "polar_sketch.ps").string(), ips);
  }
}

TEST_F(PlotStageTest, FrameIsDrawnAtTheRadiusOfThePlotSizeType) {
  struct Case {
    std::int32_t type;
    float radius_cm;
  };
  for (const Case c : {Case{1, 8.0f}, Case{2, 3.0f}, Case{3, 7.0f}}) {
    SCOPED_TRACE(c.type);
    p.ipltsize = c.type;
    cap.set_input(std::string(kOpen) + kClose);
    plot_stage(150, p);  // any drawing number opens and prepares the plot
    plot_stage(20, p);
    const auto v = paths();
    // The 200-point circle about the page point (10.5 cm, 12.0 cm).
    const auto circle =
        std::find_if(v.begin(), v.end(), [](const auto& q) { return q.size() == 200; });
    ASSERT_NE(circle, v.end());
    for (const auto& [x, y] : *circle) {
      const float r = std::hypot(x - 10.5f * kDevPerCm, y - 12.0f * kDevPerCm);
      EXPECT_NEAR(r, c.radius_cm * kDevPerCm, 0.02f);
    }
    EXPECT_EQ(std::count_if(v.begin(), v.end(), [](const auto& q) { return q.size() == 200; }), 1);
  }
}

TEST_F(PlotStageTest, FrameFlagOffDrawsRunInformationOnly) {
  p.ldrwframe = false;
  cap.set_input(std::string(kOpen) + kClose);
  plot_stage(10, p);
  plot_stage(20, p);
  EXPECT_EQ(count("newpath"), 0);
  const std::string all = read_file(dir.path() / "polar_sketch.ps");
  EXPECT_EQ(all.find("(North)"), std::string::npos);
  EXPECT_NE(all.find("show"), std::string::npos);
}

TEST_F(PlotStageTest, OpeningTwiceWarnsAndPreparesThePageAgain) {
  cap.set_input(std::string(kOpen) + "\n" + kClose);
  plot_stage(10, p);
  plot_stage(10, p);
  EXPECT_NE(cap.text().find(" Plot file or window is already opened\n"), std::string::npos);
  plot_stage(20, p);
  EXPECT_EQ(count("%!"), 1);
  EXPECT_EQ(count("(North)"), 2);
}

TEST_F(PlotStageTest, CommandsThatLeaveThePlotAlone) {
  cap.set_input("\n");
  // 20 with no plot: only the warning of plend.
  EXPECT_TRUE(plot_stage(20, p));
  EXPECT_NE(cap.take().find(" The plot window or file is already closed\n"), std::string::npos);
  // 19, 999 and 9999 with no plot, and settings commands, do nothing here.
  for (std::int32_t irep : {19, 999, 9999, 11, 99, 604, 0}) {
    EXPECT_FALSE(plot_stage(irep, p)) << irep;
  }
  EXPECT_TRUE(cap.text().empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "polar_sketch.ps"));
  // A drawing number with the plot open only draws (stage 4).
  cap.set_input(std::string(kOpen) + kClose);
  plot_stage(100, p);
  EXPECT_FALSE(plot_stage(603, p));
  EXPECT_FALSE(plot_stage(100, p));
  plot_stage(20, p);
  EXPECT_EQ(count("%!"), 1);
}

TEST_F(PlotStageTest, NewPageThenPreparation) {
  // 19 with choice 0: page 2 with run information and frame again.
  cap.set_input(std::string(kOpen) + "0\n" + "2\n" + kClose);
  plot_stage(10, p);
  EXPECT_TRUE(plot_stage(19, p));
  // 19 with choice 2: the page is prepared again on the same page.
  EXPECT_TRUE(plot_stage(19, p));
  plot_stage(20, p);
  EXPECT_EQ(count("%%Page:   2   2"), 1);
  EXPECT_EQ(count("(North)"), 3);
  EXPECT_EQ(count("%%Pages:   2"), 1);
  EXPECT_RENDERS((dir.path() / "polar_sketch.ps").string(), 2);
}

TEST_F(PlotStageTest, NewPageChoiceOneStartsNextPlot) {
  cap.set_input(std::string(kOpen) + "1\n" + kClose + kOpen + kClose);
  plot_stage(10, p);
  plot_stage(19, p);
  plot_stage(20, p);
  EXPECT_EQ(file().back(), "%%EOF");
  const std::string next = read_file(dir.path() / "Next_plot");
  EXPECT_NE(next.find("(North)"), std::string::npos);
  EXPECT_NE(next.find("%%EOF"), std::string::npos);
  EXPECT_RENDERS((dir.path() / "Next_plot").string(), 2);
}

TEST_F(PlotStageTest, QuitCommandsCloseAnOpenPlot) {
  for (std::int32_t irep : {999, 9999}) {
    SCOPED_TRACE(irep);
    cap.set_input(std::string(kOpen) + kClose);
    plot_stage(10, p);
    EXPECT_TRUE(plot_stage(irep, p));
    EXPECT_FALSE(console::iocom.lop);
    EXPECT_EQ(file().back(), "%%EOF");
  }
}

}  // namespace
}  // namespace polarsketch::app
