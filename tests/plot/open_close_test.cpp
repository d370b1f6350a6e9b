// Opening, paging and closing the plot file, and completing it on a stop.
#include "plot/open_close.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "console/units.hpp"
#include "plot/colortable.hpp"
#include "postscript/ps_test_support.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

using testing::ConsoleCapture;
using testing::read_file;
using testing::split_lines;

class OpenCloseTest : public ::testing::Test {
 protected:
  OpenCloseTest() {
    testing::reset_driver();
    scolortable(5);
    cap.take();
    postscript::DriverSettings s;
    s.ips = 2;
    postscript::write_settings_file(s);
  }
  ~OpenCloseTest() override {
    if (postscript::writer().is_open()) postscript::writer().finish();
    console::iocom.lop = false;
  }
  std::vector<std::string> file(const std::string& name) {
    return split_lines(read_file(dir.path() / name));
  }
  static bool contains(const std::vector<std::string>& v, const std::vector<std::string>& seq) {
    return std::search(v.begin(), v.end(), seq.begin(), seq.end()) != v.end();
  }

  testing::ScratchDir dir;
  ConsoleCapture cap;
};

// Answers: keep the driver settings, keep the file name.
constexpr const char* kOpen = "\n\n";
// Answer to the closing question.
constexpr const char* kClose = "\n";

TEST_F(OpenCloseTest, OpeningTwiceWarnsAndKeepsOneFile) {
  cap.set_input(std::string(kOpen) + "\n" + kClose);
  FixedText<50> name{"first.ps"};
  plinit(name, 2);
  EXPECT_TRUE(console::iocom.lop);
  cap.take();
  plinit(name, 2);
  EXPECT_EQ(
      cap.lines(),
      (std::vector<std::string>{
          " ///////////////////////////////////////////",
          " ///        subroutine plinit            ///",
          " ///               WARNING               ///",
          " ///////////////////////////////////////////", " Plot file or window is already opened",
          " ==> appending to current plot file/window", " ===> HIT RETURN TO CONTINUE",
          " ///////////////////////////////////////////"}));
  plend();
  EXPECT_FALSE(console::iocom.lop);
  const auto f = file("first.ps");
  EXPECT_EQ(std::count(f.begin(), f.end(), "%!"), 1);
  EXPECT_EQ(std::count(f.begin(), f.end(), "%%Page:   1   1"), 1);
  EXPECT_EQ(f.back(), "%%EOF");
}

TEST_F(OpenCloseTest, ClosingWithNoPlotOnlyWarns) {
  cap.set_input("\n");
  plend();
  EXPECT_EQ(cap.lines(),
            (std::vector<std::string>{" ///////////////////////////////////////////",
                                      " ///        subroutine plend             ///",
                                      " ///               WARNING               ///",
                                      " ///////////////////////////////////////////",
                                      " The plot window or file is already closed",
                                      " ===> HIT RETURN TO CONTINUE",
                                      " ///////////////////////////////////////////"}));
  EXPECT_FALSE(console::iocom.lop);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / ".") ||
              !std::filesystem::exists(dir.path() / "polar_sketch.ps"));
}

TEST_F(OpenCloseTest, NewPageMenuAndItsThreeChoices) {
  // Open, new page (0), append (2), new file (1): close the first file and
  // open "Next_plot", then close that.
  cap.set_input(std::string(kOpen) + "0\n" + "2\n" + "1\n" + kClose + kOpen + kClose);
  std::string name = "pages.ps";
  plinit(name, 2);
  cap.take();
  newpage();
  EXPECT_EQ(cap.lines().at(4), " You can:");
  const std::vector<std::string> menu = {" @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
                                         " @ subroutine newpage    ",
                                         " @==========================================",
                                         " IT IS SUGGESTED TO CLEAR THE PLOT",
                                         " You can:",
                                         " clear the window / add a page to the file ..0",
                                         " close the window / file and open a new one .1",
                                         " append to the current window / file ........2",
                                         " @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@"};
  const auto lines = cap.lines();
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 9), menu);
  newpage();  // append: nothing written
  postscript::writer().flush();
  console::output(console::kUnitPlotFile).flush();
  const auto after_two = file("pages.ps");
  ASSERT_GE(after_two.size(), 4u);
  EXPECT_EQ(
      std::vector<std::string>(after_two.end() - 4, after_two.end()),
      (std::vector<std::string>{"gsave showpage", "%%End Page", "grestore", "%%Page:   2   2"}));
  newpage();  // new file
  EXPECT_TRUE(console::iocom.lop);
  const auto first = file("pages.ps");
  EXPECT_TRUE(contains(first, {"%%Pages:   2", "%%EOF"}));
  EXPECT_EQ(first.back(), "%%EOF");
  plend();
  const auto next = file("Next_plot");
  ASSERT_FALSE(next.empty());
  EXPECT_EQ(next.front(), "%!");
  EXPECT_TRUE(contains(next, {"% Ready to go", "%%Page:   1   1"}));
  EXPECT_TRUE(contains(next, {"%%Pages:   1", "%%EOF"}));
}

TEST_F(OpenCloseTest, StopCompletesTheFileWithoutAsking) {
  cap.set_input(kOpen);
  std::string name = "stopped.ps";
  plinit(name, 2);
  cap.take();
  plend_on_stop();
  EXPECT_FALSE(console::iocom.lop);
  EXPECT_EQ(cap.text().find("CR = Return"), std::string::npos);
  const auto f = file("stopped.ps");
  EXPECT_EQ(f.back(), "%%EOF");
  EXPECT_RENDERS((dir.path() / "stopped.ps").string(), 2);
  // Nothing open: nothing to do.
  plend_on_stop();
  EXPECT_TRUE(cap.text().empty());
}

TEST_F(OpenCloseTest, NamesOfAnyLengthAreKept) {
  // The dialect-3 title holds the name at the caller's length.
  postscript::DriverSettings s;
  s.ips = 3;
  postscript::write_settings_file(s);
  cap.set_input(std::string(kOpen) + kClose);
  std::string name = "titled.ps ";
  plinit(name, 2);
  plend();
  const auto f = file("titled.ps");
  ASSERT_GE(f.size(), 2u);
  EXPECT_EQ(f[1], "%%Title: titled.ps ");
}

}  // namespace
}  // namespace polarsketch::plot
