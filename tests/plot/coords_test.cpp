// Subplot maps between user units, centimetres and device units, the
// conversion set-up dialog and subplot switching.
#include "plot/coords.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "plot/records.hpp"
#include "support/test_support.hpp"

namespace polarsketch::plot {
namespace {

class CoordsTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_plot_records(); }
  // The PostScript driver's device scaling: 28.35 device units per cm.
  static void scale_device() {
    plt1blk.rcmtode = 28.35f;
    plt1blk.cmtode(1, 1) = 28.35f;
    plt1blk.cmtode(2, 2) = 28.35f;
  }
};

TEST_F(CoordsTest, PagePointsConvertAlikeInEverySubplot) {
  scale_device();
  for (std::int32_t s = 1; s <= 35; ++s) {
    plt1blk.isubplot = s;
    const float xcm[] = {1.0f, 0.0f};
    const float ycm[] = {2.0f, -1.0f};
    float xdev[2], ydev[2];
    cm2de(xdev, ydev, xcm, ycm, 2);
    // Within float rounding of 28.35 * 2.
    EXPECT_NEAR(xdev[0], 28.35f, 1e-5f) << s;
    EXPECT_NEAR(ydev[0], 56.7f, 1e-5f) << s;
    EXPECT_EQ(xdev[1], 0.0f);
    EXPECT_EQ(ydev[1], -28.35f);
  }
  float del = 0.0f;
  lengthcm2de(del, 0.1f);
  EXPECT_NEAR(del, 2.835f, 1e-6f);
}

TEST_F(CoordsTest, UserPointsConvertThroughTheSubplotOnceThePlotIsOpen) {
  testing::ConsoleCapture cap;
  scale_device();
  plt1blk.isubplot = 1;
  float x0 = 10.5f, y0 = 12.0f, xx = 8.0f, xy = 0.0f, yx = 0.0f, yy = 8.0f;
  sus2cm1(x0, y0, xx, xy, yx, yy, 1);  // closed plot: no device map yet
  EXPECT_EQ(plt1blk.ustode(1, 1, 1), 0.0f);
  console::iocom.lop = true;
  sus2cm1(x0, y0, xx, xy, yx, yy, 1);
  const float xus[] = {1.0f, 0.0f};
  const float yus[] = {0.0f, -1.0f};
  float xdev[2] = {}, ydev[2] = {};
  us2de(xdev, ydev, xus, yus, 2);
  // Within float rounding: 28.35 * 18.5, 28.35 * 12.0 and 28.35 * 4.0.
  EXPECT_NEAR(xdev[0], 524.475f, 1e-3f);
  EXPECT_NEAR(ydev[0], 340.2f, 1e-3f);
  EXPECT_NEAR(xdev[1], 297.675f, 1e-3f);
  EXPECT_NEAR(ydev[1], 113.4f, 1e-3f);
  // The inverse map: 1/8 and the user position of the page origin (exact).
  EXPECT_EQ(plt1blk.cmtous(1, 1, 1), 0.125f);
  EXPECT_EQ(plt1blk.cmtous(2, 1, 1), 0.0f);
  EXPECT_EQ(plt1blk.cm0tous(1, 1), -1.3125f);
  EXPECT_EQ(plt1blk.cm0tous(2, 1), -1.5f);
  // Nothing converted for np <= 0.
  us2de(xdev, ydev, xus, yus, 0);
  EXPECT_NEAR(xdev[0], 524.475f, 1e-3f);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(CoordsTest, Mode3ReturnsWhatIsStoredAndChangesNothing) {
  testing::ConsoleCapture cap;
  plt1blk.isubplot = 2;
  float a[6] = {3.0f, 4.0f, 0.5f, 0.25f, -0.25f, 2.0f};
  sus2cm1(a[0], a[1], a[2], a[3], a[4], a[5], 1);
  const auto before = plt1blk.ustocm.v;
  float b[6] = {-1, -1, -1, -1, -1, -1};
  sus2cm1(b[0], b[1], b[2], b[3], b[4], b[5], 3);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(b[k], a[k]) << k;
  EXPECT_EQ(plt1blk.ustocm.v, before);
  EXPECT_EQ(plt1blk.us0tocm(1, 2), 3.0f);
  EXPECT_EQ(plt1blk.ustocm(1, 2, 2), 0.25f);  // xy is row 1, column 2
  EXPECT_EQ(plt1blk.ustocm(2, 1, 2), -0.25f);
  EXPECT_EQ(plt1blk.us0tocm(1, 1), 0.0f);  // other subplots untouched
  EXPECT_EQ(cap.text(), "");
}

TEST_F(CoordsTest, Mode7SetsEverySubplotToTheDefaultSilently) {
  testing::ConsoleCapture cap;
  plt1blk.isubplot = 5;
  float a[6] = {};
  sus2cm1(a[0], a[1], a[2], a[3], a[4], a[5], 7);
  for (std::int32_t s = 1; s <= 35; ++s) {
    EXPECT_EQ(plt1blk.us0tocm(1, s), 10.0f);
    EXPECT_EQ(plt1blk.us0tocm(2, s), 10.0f);
    EXPECT_EQ(plt1blk.ustocm(1, 1, s), 1.0f);
    EXPECT_EQ(plt1blk.ustocm(1, 2, s), 0.0f);
    EXPECT_EQ(plt1blk.ustocm(2, 1, s), 0.0f);
    EXPECT_EQ(plt1blk.ustocm(2, 2, s), 1.0f);
  }
  EXPECT_EQ(a[0], 10.0f);
  EXPECT_EQ(a[5], 1.0f);
  EXPECT_EQ(plt1blk.isubplot, 5);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(CoordsTest, Mode6AsksOncePerSubplot) {
  std::string answers;
  for (int s = 1; s <= 35; ++s) answers += "\n";
  testing::ConsoleCapture cap(answers);
  plt1blk.isubplot = 1;
  float a[6] = {};
  sus2cm1(a[0], a[1], a[2], a[3], a[4], a[5], 6);
  int shown = 0;
  for (const auto& l : cap.lines()) shown += l == "           CONVERSION SET UP               ";
  EXPECT_EQ(shown, 35);
  EXPECT_EQ(plt1blk.us0tocm(1, 35), 10.0f);
}

std::vector<std::string> conversion_picture() {
  const std::string eq = " " + std::string(42, '=');
  return {
      eq,
      "           CONVERSION SET UP               ",
      eq,
      " |  cm  |                   |user units|",
      " |  on  | <---------------- |   used   |",
      " | plot |                   | in calls |",
      "  ",
      "  |xcm|                         |xu|",
      "  |   | <---------------------- |  |",
      "  |ycm|                         |yu|",
      "  ",
      "  |xcm|     |xx   xy|   |xu|   |xcm0|",
      "  |   |  =  |       | * |  | + |    |",
      "  |ycm|     |yx   yy|   |yu|   |ycm0|",
      eq,
      "             Current set up:",
      eq,
  };
}

TEST_F(CoordsTest, ConversionDialogShowsTheMapAndKeepsItOnNo) {
  testing::ConsoleCapture cap("\n");
  float x0 = 10.5f, y0 = 12.0f, xx = 8.0f, xy = 0.0f, yx = -0.25f, yy = 8.0f;
  mus2cm1(x0, y0, xx, xy, yx, yy);
  const auto lines = cap.lines();
  std::vector<std::string> expected = {" " + std::string(43, '@'), " @ subroutine mus2cm1    ",
                                       " @" + std::string(42, '=')};
  const auto pic = conversion_picture();
  expected.insert(expected.end(), pic.begin(), pic.end());
  expected.push_back(" |xcm|   |  8.000   0.000|   |xu|   | 10.500|");
  expected.push_back(" |   | = |               | * |  | + |       |");
  expected.push_back(" |ycm|   | -0.250   8.000|   |yu|   | 12.000|");
  expected.push_back(" " + std::string(42, '='));
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
  EXPECT_NE(cap.text().find("Do you want to alter this ?"), std::string::npos);
  EXPECT_EQ(x0, 10.5f);
  EXPECT_EQ(yx, -0.25f);
}

TEST_F(CoordsTest, ConversionDialogAsksSixValuesInOrder) {
  testing::ConsoleCapture cap("y\n1\n2\n3\n\n5\n6\n");
  console::iocom.lwito(2) = false;
  float x0 = 10.5f, y0 = 12.0f, xx = 8.0f, xy = 0.5f, yx = 0.0f, yy = 8.0f;
  mus2cm1(x0, y0, xx, xy, yx, yy);
  EXPECT_EQ(x0, 1.0f);
  EXPECT_EQ(y0, 2.0f);
  EXPECT_EQ(xx, 3.0f);
  EXPECT_EQ(xy, 0.5f);  // empty answer keeps the value
  EXPECT_EQ(yx, 5.0f);
  EXPECT_EQ(yy, 6.0f);
  const std::string text = cap.text();
  EXPECT_EQ(text.find("CONVERSION SET UP"), std::string::npos);  // picture needs lwito(2)
  const char* labels[] = {"Enter xcm0", "Enter ycm0", "Enter xx",
                          "Enter xy",   "Enter yx",   "Enter yy"};
  std::size_t pos = 0;
  for (const char* l : labels) {
    const auto at = text.find(l, pos);
    ASSERT_NE(at, std::string::npos) << l;
    pos = at;
  }
}

TEST_F(CoordsTest, EditedMapIsStoredAndASingularOneIsResumed) {
  // Plot open, subplot 1 at origin (10, 10) scale 2; the user types a zero
  // matrix: the inverse keeps its previous value after RESUME.
  testing::ConsoleCapture cap;
  scale_device();
  console::iocom.lop = true;
  plt1blk.isubplot = 1;
  float a[6] = {10.0f, 10.0f, 2.0f, 0.0f, 0.0f, 2.0f};
  sus2cm1(a[0], a[1], a[2], a[3], a[4], a[5], 1);
  EXPECT_EQ(plt1blk.cmtous(1, 1, 1), 0.5f);
  cap.set_input("y\n\n\n0\n\n\n0\n\n");  // alter; keep origin; xx = yy = 0; RESUME
  sus2cm1(a[0], a[1], a[2], a[3], a[4], a[5], 2);
  EXPECT_EQ(plt1blk.ustocm(1, 1, 1), 0.0f);
  EXPECT_EQ(plt1blk.ustocm(2, 2, 1), 0.0f);
  EXPECT_EQ(plt1blk.us0tocm(1, 1), 10.0f);
  EXPECT_EQ(plt1blk.ustode(1, 1, 1), 0.0f);  // device map follows the new matrix
  EXPECT_EQ(plt1blk.cmtous(1, 1, 1), 0.5f);  // previous inverse kept
  EXPECT_EQ(plt1blk.cmtous(2, 2, 1), 0.5f);
  EXPECT_NE(cap.text().find(" => Cannot Invert B\n"), std::string::npos);
  EXPECT_NE(cap.text().find(" RESUMING EXECUTION\n"), std::string::npos);
}

std::vector<std::string> subplot_frame(std::int32_t last, std::int32_t number,
                                       bool with_name = true) {
  auto n2 = [](std::int32_t v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? " " + s : s;
  };
  std::vector<std::string> lines = {
      " " + std::string(43, '@'),
      " @ subroutine ssubplot   ",
      " @" + std::string(42, '='),
      " |             SUBPLOTS              |",
      " |-----------------------------------|",
      " |max nb .......... 35",
      " |last used ....... " + n2(last),
      " |-----------------------------------|",
      " |      SWITCHING TO SUBPLOT:         ",
      " |-----------------------------------|",
      " |number .......... " + n2(number),
  };
  if (with_name) lines.push_back(" |name ............ " + std::string(20, ' '));
  lines.push_back(" " + std::string(43, '@'));
  return lines;
}

TEST_F(CoordsTest, SubplotSwitchWithDialog) {
  testing::ConsoleCapture cap;
  plt1blk.isubplot = 1;
  std::int32_t isa = 3;
  ssubplot(isa, 0);
  EXPECT_EQ(plt1blk.isubplot, 3);
  EXPECT_EQ(isa, 3);
  EXPECT_EQ(cap.lines(), subplot_frame(1, 3));
  cap.take();
  isa = 17;
  ssubplot(isa, 3);  // silent query of the current subplot
  EXPECT_EQ(isa, 3);
  isa = 12;
  ssubplot(isa, 1);
  EXPECT_EQ(plt1blk.isubplot, 12);
  EXPECT_EQ(cap.text(), "");
}

TEST_F(CoordsTest, SubplotOutOfRangeFallsBackToSubplotOne) {
  // cinvin's STOP question (answer no) and its pause.
  testing::ConsoleCapture cap("n\n\n");
  plt1blk.isubplot = 2;
  std::int32_t isa = 36;
  ssubplot(isa, 1);
  EXPECT_EQ(isa, 1);
  EXPECT_EQ(plt1blk.isubplot, 1);
  const auto lines = cap.lines();
  EXPECT_EQ(lines[3], " ***        subroutine cinvin            ***");
  EXPECT_EQ(lines[9], " subplot nb =           36");
  std::vector<std::string> tail = {" " + std::string(43, '@'), " @ subroutine ssubplot   ",
                                   " @" + std::string(42, '='), " INITIALISING SUBPLOT =  1"};
  const auto frame = subplot_frame(2, 1);
  tail.insert(tail.end(), frame.begin(), frame.end());
  ASSERT_GE(lines.size(), tail.size());
  EXPECT_EQ(
      std::vector<std::string>(lines.end() - static_cast<std::ptrdiff_t>(tail.size()), lines.end()),
      tail);
}

TEST_F(CoordsTest, SubplotOutOfRangeShownWithoutNameLine) {
  testing::ConsoleCapture cap("n\n\n");
  plt1blk.isubplot = 1;
  std::int32_t isa = 0;
  ssubplot(isa, 0);
  const auto lines = cap.lines();
  const auto first = subplot_frame(1, 0, false);
  ASSERT_GE(lines.size(), first.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + first.size()), first);
  EXPECT_EQ(plt1blk.isubplot, 1);
}

}  // namespace
}  // namespace polarsketch::plot
