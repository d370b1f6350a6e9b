// The start banner and its pause, the run information on the console record
// and on the plot page, the end banner and the closing pictures.
#include "console/runinfo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "console/units.hpp"
#include "e2e/session.hpp"
#include "plot/records.hpp"
#include "plot/runinfo_text.hpp"
#include "postscript/document.hpp"
#include "postscript/writer.hpp"
#include "support/test_support.hpp"

namespace polarsketch::console {
namespace {

using testing::ConsoleCapture;
using testing::FixedClock;
using testing::FixedNames;

const std::string kAts(43, '@');
const std::string kAtRule = "@" + std::string(42, '-');

TEST(Progheadbc, PrintsTheBannerAndWaitsForOneLine) {
  FixedClock clock(2010, 2, 3, 9, 5, 7);
  FixedNames names("field-laptop", "ana");
  ConsoleCapture cap("anything\n12\n");
  progheadbc("polarsketch", "11.3", "10-10-2009");
  const auto lines = cap.lines();
  ASSERT_EQ(lines.size(), 22u);
  const std::vector<std::string> top = {" " + kAts,
                                        " @",
                                        " @       MAIN PROGRAM: polarsketch",
                                        " @            Version: 11.3",
                                        " @               Date: 10-10-2009",
                                        " @",
                                        " " + kAtRule,
                                        " @ Running on: 2010-02-03 at: 09:05:07",
                                        " @ On system: field-laptop",
                                        " " + kAtRule};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), top);
  // The maker's block: nine lines that begin with an at-sign, within the rules' width.
  for (std::size_t i = 10; i < 19; ++i) {
    EXPECT_EQ(lines[i].rfind(" @", 0), 0u) << lines[i];
    EXPECT_LE(lines[i].size(), 44u) << lines[i];
  }
  const std::vector<std::string> bottom = {" " + kAtRule, " @         HIT RETURN TO CONTINUE",
                                           " " + kAts};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 19, lines.end()), bottom);
  // Exactly one line was taken.
  std::string next;
  ASSERT_TRUE(read_line(kUnitIn, next));
  EXPECT_EQ(next, "12");
}

TEST(Progheadbc, EndOfInputAtThePauseIsIgnored) {
  ConsoleCapture cap("");
  EXPECT_NO_THROW(progheadbc("polarsketch", "11.3", "10-10-2009"));
  EXPECT_EQ(cap.text().find("END OF INPUT"), std::string::npos);
}

TEST(Smaininfo, FillsTheRunRecord) {
  FixedClock clock(2010, 2, 3, 9, 5, 7);
  FixedNames names("field-laptop", "geologist-on-duty");
  reset_runinfocom();
  smaininfo("polarsketch", "11.3", "10-10-2009", 0);
  EXPECT_EQ(runinfocom.pname(1).str(), "polarsketch");
  EXPECT_EQ(runinfocom.pversion(1).str(), "11.3");
  EXPECT_EQ(runinfocom.pdate(1).str(), "10-10-2009");
  EXPECT_EQ(runinfocom.usnam.str(), "geologist-");
  EXPECT_EQ(runinfocom.hnam.str(), "field-laptop             ");
  EXPECT_EQ(runinfocom.date10.str(), "2010-02-03");
  EXPECT_EQ(runinfocom.time8.str(), "09:05:07");
  EXPECT_EQ(runinfocom.pname(2).str(), std::string(11, ' '));
}

// The end banner's picture for each units digit of the seconds, checked
// against the pictures as described; the lines of our own art are checked for
// their width and shape below.
TEST(Maintail, PictureFollowsTheLastDigitOfTheSeconds) {
  for (int s = 0; s <= 9; ++s) {
    SCOPED_TRACE(s);
    FixedClock clock(2010, 2, 3, 23, 59, 50 + s);
    ConsoleCapture cap;
    maintail("polarsketch", "11.3", "10-10-2009");
    const auto lines = cap.lines();
    ASSERT_GE(lines.size(), 7u);
    const std::vector<std::string> head = {
        " " + kAts, " @ PROGRAM polarsketch", " @ Version: 11.3",
        " @ EXECUTION TERMINATED AT: 23:59:5" + std::to_string(s), " " + kAtRule};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5), head);
    EXPECT_EQ(lines.back(), " " + kAts);
    const std::vector<std::string> picture(lines.begin() + 5, lines.end() - 1);
    const auto want = e2e::closing_picture(static_cast<char>('0' + s));
    ASSERT_EQ(picture.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
      if (want[k] != "\x01") {
        EXPECT_EQ(picture[k], want[k]) << k;
      }
    }
  }
}

std::vector<std::string> picture_lines(void (*draw)()) {
  ConsoleCapture cap;
  draw();
  return cap.lines();
}

TEST(Pictures, OwnArtKeepsItsWidthsAndShapes) {
  // endfun1: three lines of faces over the box, 44 columns after the indent.
  const auto fun = picture_lines(endfun1);
  ASSERT_EQ(fun.size(), 10u);
  for (std::size_t i = 1; i <= 8; ++i) EXPECT_EQ(fun[i].size(), 45u);
  for (std::size_t i = 1; i <= 3; ++i) EXPECT_NE(fun[i].find_first_not_of(' '), std::string::npos);
  // Each face sits straight above its chin on the box's top edge: twice the
  // centre column of each "|..|" face equals that of "(_)" or "\--U-/" below.
  const std::string& box = fun[4];
  const std::vector<std::size_t> chins = {
      2 * box.find("(_)") + 2, box.find("\\--U-/") + box.find("U-/") + 2, 2 * box.rfind("(_)") + 2};
  std::vector<std::size_t> faces;
  for (std::size_t a = fun[3].find('|'); a != std::string::npos; a = fun[3].find('|', a + 1)) {
    const std::size_t b = fun[3].find('|', a + 1);
    ASSERT_NE(b, std::string::npos);
    faces.push_back(a + b);
    a = b;
  }
  EXPECT_EQ(faces, chins);

  // tetratemple2: 18 lines of 35, blank first and last, drawn with O, = and /.
  const auto temple = picture_lines(tetratemple2);
  ASSERT_EQ(temple.size(), 20u);
  EXPECT_EQ(temple[1], std::string(36, ' '));
  EXPECT_EQ(temple[18], std::string(36, ' '));
  std::set<char> used;
  for (std::size_t i = 1; i <= 18; ++i) {
    EXPECT_EQ(temple[i].size(), 36u);
    used.insert(temple[i].begin(), temple[i].end());
  }
  EXPECT_EQ(used, (std::set<char>{' ', 'O', '=', '/'}));

  // The staircases: 10 lines of 43 in the band characters, the shading byte
  // 164, and "\" or "/"; the first lines end in "+"; one is the other's mirror.
  const auto nf = picture_lines(offsetnf);
  const auto rf = picture_lines(offsetrf);
  ASSERT_EQ(nf.size(), 12u);
  ASSERT_EQ(rf.size(), 12u);
  const std::string shade(1, static_cast<char>(164));
  for (std::size_t i = 1; i <= 10; ++i) {
    ASSERT_EQ(nf[i].size(), 44u);
    ASSERT_EQ(rf[i].size(), 44u);
    EXPECT_EQ(nf[i].find_first_not_of(" -&0=#+\\" + shade), std::string::npos) << nf[i];
    EXPECT_EQ(rf[i].find_first_not_of(" -&0=#+/" + shade), std::string::npos) << rf[i];
    std::string mirror = nf[i].substr(1, 42);
    std::reverse(mirror.begin(), mirror.end());
    std::replace(mirror.begin(), mirror.end(), '\\', '/');
    EXPECT_EQ(rf[i].substr(1, 42), mirror);
    EXPECT_EQ(rf[i][43], nf[i][43]);
  }
  EXPECT_EQ(nf[1].back(), '+');
  EXPECT_NE(nf[1].find(shade), std::string::npos);
}

// The run information on a plot page bound to a string ("NeWS" dialect).
TEST(Cmplotruninfo01, TwoLinesAtHalfTheTextSizeWhichIsRestored) {
  FixedClock clock(2010, 2, 3, 9, 5, 7);
  FixedNames names("field-laptop", "ana");
  ConsoleCapture cap;
  reset_runinfocom();
  smaininfo("polarsketch", "11.3", "10-10-2009", 0);
  postscript::reset_postscript();
  plot::reset_plot_records();
  std::ostringstream ps;
  bind_output(kUnitPlotFile, ps);
  postscript::psparams.ips = 2;
  postscript::writer().start(kUnitPlotFile, "test.ps");
  iocom.lop = true;
  plot::plt1blk.isubplot = 1;
  plot::plt1blk.cmtode(1, 1) = 28.35f;
  plot::plt1blk.cmtode(2, 2) = 28.35f;
  plot::plt1blk.rcmtode = 28.35f;
  plot::plt2blk.itxtfont = 1;
  plot::plt2blk.itxtjust = -2;  // centred and trimmed, as the page preparation sets it
  plot::plt2blk.txtheight = 1.0f;
  postscript::psparams.pstxtheight = 28.35f;

  plot::cmplotruninfo01(10.5f, 28.0f, 1);
  postscript::writer().flush();

  std::vector<double> ys;
  std::vector<std::string> texts;
  std::vector<std::string> sizes;
  std::istringstream in(ps.str());
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    double x = 0, y = 0;
    std::string op;
    if (ls >> x >> y >> op && op == "moveto") {
      EXPECT_NEAR(x, 10.5 * 28.35, 0.01);
      ys.push_back(y);
    }
    if (line.rfind("(", 0) == 0) texts.push_back(line);
    if (line.find("findfont") != std::string::npos) sizes.push_back(line.substr(0, line.find(' ')));
  }
  ASSERT_EQ(ys.size(), 2u);
  EXPECT_NEAR(ys[0], 28.0 * 28.35, 0.01);
  EXPECT_NEAR(ys[0] - ys[1], 1.5 * 0.5 * 28.35, 0.01);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "(Main program polarsketch v11.3 on 10-10-2009)");
  EXPECT_EQ(texts[1], "(Run on field-laptop on 2010-02-03 at 09:05:07)");
  EXPECT_EQ(sizes, (std::vector<std::string>{"14", "14"}));  // half of 28.35, truncated
  EXPECT_EQ(plot::plt2blk.txtheight, 1.0f);
  EXPECT_EQ(postscript::psparams.pstxtheight, 28.35f);
  postscript::writer().reset();
}

}  // namespace
}  // namespace polarsketch::console
