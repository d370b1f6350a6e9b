// The drawing operators: number texts, coordinate limits, paths, polygons,
// text in each dialect, the font menu, line width, text height and scaling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "console/formatting.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::testing {
namespace {

using namespace polarsketch::postscript;

bool has_line(const std::vector<std::string>& lines, const std::string& l) {
  return std::find(lines.begin(), lines.end(), l) != lines.end();
}

class Operators : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_driver();
    console::iocom.lcrerr = false;  // frames do not pause
  }
  void TearDown() override { reset_driver(); }
  ConsoleCapture cap_;
};

TEST_F(Operators, NumberTextsFollowTheTwoDecimalRule) {
  BoundPlot plot(1);
  float x[] = {0.5f, 283.5f, 9.99f, 99.99f, 0.0f, 9.996f, 1234567.0f};
  float y[] = {-0.5f, -9.99f, -1234.56f, 0.004f, -0.004f, 12345678.0f, -2345678.0f};
  deline(x, y, 7);
  EXPECT_EQ(plot.text(), join_lines({"np", "0.50 -0.50 M", "283.50  -9.99 L", " 9.99 -1234.56 L",
                                     " 99.99 0.00 L", "0.00 -0.00 L", "10.00  12345678. L",
                                     "1234567.00 -2345678.0 L", "sk"}));
  EXPECT_EQ(cap_.text(), "");
}

// The writer builds the 2-decimal texts itself; they must be the texts of
// real2charf1 everywhere: around every power of ten (where the digit count
// turns), around the values that round up to one, at exact ties, and across
// the range.
TEST_F(Operators, NumberTextsAreTheTextsOfRealToChar) {
  std::vector<float> values = {0.0f, -0.0f, 0.004f, -0.004f, 0.005f, -0.005f, 0.995f, -0.995f};
  for (float p = 1.0f; p <= 1.0e7f; p *= 10.0f) {
    for (float centre : {p, p - 0.01f, p - 0.005f}) {
      for (float sign : {1.0f, -1.0f}) {
        float v = sign * centre;
        for (int i = 0; i < 600; ++i)
          v = std::nextafter(v, -std::numeric_limits<float>::infinity());
        for (int i = 0; i < 1200; ++i) {
          values.push_back(v);
          v = std::nextafter(v, std::numeric_limits<float>::infinity());
        }
      }
    }
  }
  for (int j = 1; j < 4000; j += 2) {  // odd eighths: exact ties, rounded to even
    values.push_back(static_cast<float>(j) / 8.0f);
    values.push_back(static_cast<float>(-j) / 8.0f);
  }
  for (std::uint32_t bits = 0x3c000000u; bits < 0x4b800000u; bits += 4099u) {
    float v = 0.0f;
    std::memcpy(&v, &bits, sizeof v);
    values.push_back(v);
    values.push_back(-v);
  }
  BoundPlot plot(1);
  for (float v : values) writer().put_real2(v).end_line();
  const std::vector<std::string> got = plot.lines();
  ASSERT_EQ(got.size(), values.size());
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::string chr(10, ' ');
    std::int32_t n = 0;
    console::real2charf1(chr, n, 2, 10, values[i]);
    chr.resize(static_cast<std::size_t>(n));
    if (got[i] != chr && wrong++ == 0)
      ADD_FAILURE() << "value " << values[i] << ": \"" << got[i] << "\" instead of \"" << chr
                    << "\"";
  }
  EXPECT_EQ(wrong, 0u);
}

TEST_F(Operators, CoordinatesBeyondTheLimitsAreClampedWithAWarning) {
  BoundPlot plot(1);
  float x = 1.0e8f, y = 10.0f;
  psmoveto(x, y, 1);
  EXPECT_EQ(x, 9.9e7f);
  EXPECT_EQ(plot.text(), "np\n 99000000. 10.00 M\n");
  const auto con = cap_.lines();
  EXPECT_TRUE(has_line(con, " ///        subroutine psmoveto          ///"));
  EXPECT_TRUE(has_line(con, " x in meters =  0.353E+05"));
  EXPECT_TRUE(has_line(con, " ==> reset to xmax =  0.349E+05"));

  cap_.take();
  float x2[] = {0.0f};
  float y2[] = {-std::numeric_limits<float>::infinity()};
  pslineto(x2, y2, 1);
  EXPECT_EQ(y2[0], -9.9e7f);
  EXPECT_TRUE(has_line(cap_.lines(), " ///        subroutine pslineto          ///"));
  EXPECT_TRUE(has_line(cap_.lines(), " y in meters =  -Infinity"));
  EXPECT_TRUE(has_line(cap_.lines(), " ==> reset to ymin = -0.349E+05"));
  EXPECT_EQ(plot.lines().back(), "0.00 -99000000. L");
}

TEST_F(Operators, NaNCoordinatesAreReportedAndWrittenAsZero) {
  BoundPlot plot(2);
  float x[] = {std::numeric_limits<float>::quiet_NaN(), 1.0f};
  float y[] = {2.0f, std::numeric_limits<float>::quiet_NaN()};
  deline(x, y, 2);
  EXPECT_EQ(x[0], 0.0f);
  EXPECT_EQ(y[1], 0.0f);
  EXPECT_EQ(plot.text(), "newpath\n0.00 2.00 moveto\n1.00 0.00 lineto\nstroke\n");
  EXPECT_TRUE(has_line(cap_.lines(), " x in meters =        NaN"));
  EXPECT_TRUE(has_line(cap_.lines(), " y in meters =        NaN"));
  EXPECT_EQ(plot.text().find("NaN"), std::string::npos);
}

TEST_F(Operators, LineWithoutMoveIsReportedAndStillWritten) {
  BoundPlot plot(3);
  float x[] = {1.0f};
  float y[] = {2.0f};
  pslineto(x, y, 1);
  EXPECT_TRUE(psparams.lopenpath);
  EXPECT_TRUE(has_line(cap_.lines(), " Path begins with Draw instead of Move"));
  psstrokepath();
  EXPECT_EQ(plot.text(), "1.00 2.00 l\nS\n");
}

TEST_F(Operators, MoveWithoutPenStartsNoPathAndOtherPensWriteNothing) {
  BoundPlot plot(1);
  float x = 3.0f, y = 4.0f;
  psmoveto(x, y, 0);
  EXPECT_FALSE(psparams.lopenpath);
  psmoveto(x, y, 2);
  EXPECT_EQ(plot.text(), "3.00 4.00 M\n");
}

TEST_F(Operators, BlackAndWhiteFilledPolygonUsesHalfGray) {
  BoundPlot plot(1);
  plot::plt2blk.ifillstyle = 1;
  float x[] = {0.0f, 1.0f, 1.0f};
  float y[] = {0.0f, 0.0f, 1.0f};
  depolygon(x, y, 3);
  EXPECT_EQ(plot.text(),
            "np\n0.00 0.00 M\n1.00 0.00 L\n1.00 1.00 L\ncp gs\n 0.500 stg fill gr\nsk\n");
}

TEST_F(Operators, FillColourDoesNotChangeTheCurrentColour) {
  BoundPlot plot(2);
  plot::plt2blk.loncolor = true;
  plot::plt2blk.icurrentcolor = 1;
  plot::plt2blk.ilinecolor = 1;
  plot::plt2blk.ifillcolor = 5;
  plot::plt2blk.blue(5) = 100.0f;
  plot::plt2blk.ifillstyle = 1;
  float x[] = {0.0f, 1.0f, 1.0f};
  float y[] = {0.0f, 0.0f, 1.0f};
  depolygon(x, y, 3);
  EXPECT_EQ(plot::plt2blk.icurrentcolor, 1);
  EXPECT_EQ(plot.lines()[4], "closepath gsave");
  EXPECT_EQ(plot.lines()[5], " 0.000  0.000  1.000 setrgbcolor fill grestore");
  EXPECT_EQ(plot.lines()[6], "stroke");
}

// Sets up text drawing in dialect ips with font 1 and a height of 12 units.
void text_setup(std::int32_t ips) {
  psparams.ips = ips;
  for (int i = 1; i <= 16; ++i)
    psparams.fonts(i) = ips == 1 ? "HPP" : ips == 2 ? "/Helvetica" : "Helvetica";
  psparams.ipsfont = 1;
  psparams.pstxtheight = 12.0f;
}

TEST_F(Operators, CentredTextInCompressedAndNews) {
  {
    BoundPlot plot(1);
    text_setup(1);
    plot::plt2blk.itxtjust = 2;
    float x = 283.5f, y = 340.2f;
    detext2(x, y, "AB");
    EXPECT_EQ(plot.text(), "283.50 340.20 M\n12 HPP sym\n(AB)\nsl -2 div 0 G\nshow\n");
  }
  {
    BoundPlot plot(2);
    text_setup(2);
    plot::plt2blk.itxtjust = 3;
    float x = 283.5f, y = 340.2f;
    detext2(x, y, "AB");
    EXPECT_EQ(plot.text(),
              "283.50 340.20 moveto\n12 /Helvetica findfont exch scalefont setfont\n(AB)\n"
              "dup stringwidth pop -1 div 0 rmoveto\nshow\n");
  }
}

TEST_F(Operators, NegativeAlignmentTrimsTheText) {
  BoundPlot plot(1);
  text_setup(1);
  float x = 1.0f, y = 1.0f;
  plot::plt2blk.itxtjust = -1;
  detext2(x, y, "  N  ");
  plot::plt2blk.itxtjust = 1;
  detext2(x, y, "  N  ");
  const auto l = plot.lines();
  EXPECT_EQ(l[2], "(N) show");
  EXPECT_EQ(l[5], "(  N  ) show");
  EXPECT_EQ(plot.text().find("rotate"), std::string::npos);
}

TEST_F(Operators, VerticalPlacementFollowsTheTextAngle) {
  BoundPlot plot(2);
  text_setup(2);
  plot::plt2blk.itxtjust = 5;  // middle left: half a height below the point
  plot::plt2blk.txtangle = 90.0f;
  float x = 100.0f, y = 100.0f;
  detext2(x, y, "A");
  // At 90 degrees "down" along the text is +x.
  const auto l = plot.lines();
  EXPECT_EQ(l[0], "106.00 100.00 moveto");
  EXPECT_EQ(l[1], "  90.00 rotate");
  EXPECT_EQ(l.back(), " -90.00 rotate");
}

TEST_F(Operators, RotationThatDoesNotFitItsFieldIsWrittenInFull) {
  BoundPlot plot(1);
  text_setup(1);
  plot::plt2blk.itxtjust = 1;
  plot::plt2blk.txtangle = -12345.5f;
  float x = 0.0f, y = 0.0f;
  detext2(x, y, "A");
  const auto l = plot.lines();
  EXPECT_EQ(l[1], "-12345.50 rotate");
  EXPECT_EQ(l.back(), "12345.50 rotate");
  EXPECT_EQ(plot.text().find('*'), std::string::npos);
}

TEST_F(Operators, PlotFileFieldsNeverHoldAsterisks) {
  EXPECT_EQ(plot_int(7, 3), "  7");
  EXPECT_EQ(plot_int(12345, 3), "12345");
  EXPECT_EQ(plot_fixed(30.0f, 7, 2), "  30.00");
  EXPECT_EQ(plot_fixed(123456.0f, 7, 2), "123456.00");
  EXPECT_EQ(colour_text(100.0f, 0.0f, 50.0f, "setrgbcolor"), " 1.000  0.000  0.500 setrgbcolor");
  EXPECT_EQ(colour_text(123456.0f, std::numeric_limits<float>::quiet_NaN(), 0.0f, "x"),
            "1234.560  0.000  0.000 x");
}

TEST_F(Operators, TextIsEscapedInsideThePostScriptString) {
  EXPECT_EQ(ps_string("plain text"), "(plain text)");
  EXPECT_EQ(ps_string("a(b)c\\d"), "(a\\(b\\)c\\\\d)");
  EXPECT_EQ(ps_string(std::string("x\ty\xe9") + '\x7f'), "(x\\011y\\351\\177)");
}

TEST_F(Operators, IllustratorTextObject) {
  BoundPlot plot(3);
  text_setup(3);
  plot::plt2blk.itxtjust = 1;
  plot::plt2blk.loncolor = true;
  plot::plt2blk.itxtcolor = 4;
  float x = 283.5f, y = 340.2f;
  detext2(x, y, "N");
  EXPECT_EQ(plot.text(),
            "/_Helvetica 12 19.68 0 0 z [  1.000  0.000 -0.000  1.000   283.5   340.2]e\n"
            "(N)t T\n");
}

TEST_F(Operators, IllustratorTextCoordinatesAreClampedAndKeptApart) {
  BoundPlot plot(3);
  text_setup(3);
  plot::plt2blk.itxtjust = 11;
  float x = 2.0e8f, y = -12345678.0f;
  detext2(x, y, "N");
  EXPECT_EQ(x, 9.9e7f);
  EXPECT_TRUE(has_line(cap_.lines(), " ///        subroutine detext2           ///"));
  EXPECT_EQ(plot.lines()[0],
            "/_Helvetica 12 19.68 0 2 z [  1.000  0.000 -0.000  1.000 99000000.0 -12345678.0]e");

  // A text height that is not a number never reaches the file as "NaN".
  psparams.pstxtheight = std::numeric_limits<float>::quiet_NaN();
  x = 1.0f;
  y = 2.0f;
  detext2(x, y, "N");
  EXPECT_EQ(plot.lines()[2],
            "/_Helvetica 0 0.00 0 2 z [  1.000  0.000 -0.000  1.000     1.0     2.0]e");
}

TEST_F(Operators, EscapedLabelsRender) {
  ScratchDir dir;
  for (std::int32_t ips : {1, 2, 3}) {
    SCOPED_TRACE(ips);
    std::ostringstream out;
    {
      BoundPlot plot(ips);
      text_setup(ips);
      plot::plt2blk.itxtjust = 6;
      plot::plt2blk.txtangle = 15.0f;
      float x = 200.0f, y = 300.0f;
      detext2(x, y, "a) \\ (b\xb0");
      out << plot.text();
    }
    std::string body = out.str();
    if (ips == 3) {
      body = "Adobe_Illustrator881 /initialize get exec\n" + body +
             "Adobe_Illustrator881 /terminate get exec\n";
    } else if (ips == 1) {
      body =
          "/M {moveto} def /G {rmoveto} def /sl {dup stringwidth pop} def "
          "/sym {findfont exch scalefont setfont} def /HPP {/Helvetica} def\n" +
          body;
    }
    write_file("label.ps", "%!\n" + body + "showpage\n");
    EXPECT_RENDERS((dir.path() / "label.ps").string(), ips);
  }
}

TEST_F(Operators, LineWidthStrokesFirst) {
  BoundPlot plot(2);
  float x = 1.0f, y = 1.0f;
  psmoveto(x, y, 1);
  intslinewidth(0.57f);
  intslinewidth(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(plot.text(), "newpath\n1.00 1.00 moveto\nstroke\n0.57 setlinewidth\n");
}

TEST_F(Operators, ScalingAndTextHeight) {
  scm2de();
  EXPECT_FLOAT_EQ(plot::plt1blk.rcmtode, 28.35f);
  EXPECT_FLOAT_EQ(plot::plt1blk.cmtode(1, 1), 28.35f);
  EXPECT_FLOAT_EQ(plot::plt1blk.cmtode(2, 2), 28.35f);
  EXPECT_EQ(plot::plt1blk.cmtode(1, 2), 0.0f);
  EXPECT_EQ(plot::plt1blk.cm0tode(2, 35), 0.0f);
  intstextsize(0.5f);
  EXPECT_EQ(psparams.pstxtheight, 28.35f * 0.5f);  // exact: same float product
}

TEST_F(Operators, FontMenuStoresTheChoiceAndRejectsBadValues) {
  BoundPlot plot(1);
  plot::plt2blk.itxtfont = 3;
  cap_.set_input("12\n");
  std::int32_t f = 0;
  stextfont(f, 2);
  EXPECT_EQ(f, 12);
  EXPECT_EQ(plot::plt2blk.itxtfont, 12);
  EXPECT_EQ(psparams.ipsfont, 12);
  const auto con = cap_.lines();
  EXPECT_TRUE(has_line(con, " present value..............       3"));
  EXPECT_TRUE(has_line(con, " Courier-BoldOblique.......12"));
  EXPECT_TRUE(has_line(con, "          TEXT FONT"));

  cap_.take();
  std::int32_t bad = 17;
  stextfont(bad, 1);
  EXPECT_TRUE(has_line(cap_.lines(), " font number =     17"));
  EXPECT_TRUE(has_line(cap_.lines(), " ===> NO ACTION"));
  EXPECT_EQ(psparams.ipsfont, 12);

  cap_.take();
  std::int32_t one = 1;
  stextfont(one, 9);
  EXPECT_TRUE(has_line(cap_.lines(), " inter =      9"));
  EXPECT_EQ(psparams.ipsfont, 12);

  cap_.take();
  stextfont(one, 5);
  EXPECT_TRUE(has_line(cap_.lines(), " INITIALISING TEXT FONT TO: 1 = Helvetica"));
  EXPECT_EQ(psparams.ipsfont, 1);
}

}  // namespace
}  // namespace polarsketch::testing
