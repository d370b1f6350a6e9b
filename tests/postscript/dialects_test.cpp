// One exerciser per dialect: every writer of the driver is called once (a few
// twice, for their variants), the plot file is compared line by line with the
// text each dialect must hold, and then rendered by Ghostscript.
#include <gtest/gtest.h>

#include "postscript/ps_test_support.hpp"

namespace polarsketch::testing {
namespace {

using namespace polarsketch::postscript;

// The drawing every exerciser performs, in device units.
void exercise_every_writer(std::int32_t ips, const std::string& settings) {
  write_file(kSettingsFile, settings);
  plot::plt2blk.loncolor = true;
  plot::plt2blk.red(1) = 0.0f;  // slot 1 black, 2 red, 3 blue
  plot::plt2blk.red(2) = 100.0f;
  plot::plt2blk.blue(3) = 100.0f;
  plot::plt2blk.ilinecolor = 2;
  plot::plt2blk.ifillcolor = 3;
  plot::plt2blk.itxtcolor = 1;

  FixedText<20> name("plot.ps");
  intplinit(name, 1);
  ASSERT_EQ(psparams.ips, ips);
  scm2de();
  intstextsize(2.0f);
  std::int32_t font = 5;
  stextfont(font, 1);
  intslinewidth(0.57f);

  float x3[] = {283.5f, 300.0f, 0.5f};
  float y3[] = {340.2f, 340.2f, -0.5f};
  deline(x3, y3, 3);
  float x1[] = {9.99f};
  float y1[] = {10.0f};
  deline(x1, y1, 1);

  float px[] = {10.0f, 20.0f, 20.0f};
  float py[] = {10.0f, 10.0f, 20.0f};
  plot::plt2blk.ifillstyle = 0;
  depolygon(px, py, 3);
  plot::plt2blk.ifillstyle = 1;
  depolygon(px, py, 3);

  float tx = 100.0f, ty = 200.0f;
  plot::plt2blk.itxtjust = -2;
  plot::plt2blk.txtangle = 30.0f;
  detext2(tx, ty, " A(B  ");
  tx = 50.0f;
  ty = 100.0f;
  plot::plt2blk.itxtjust = 9;
  plot::plt2blk.txtangle = 0.0f;
  detext2(tx, ty, "N");

  intnewpage();
  psend();
}

const std::vector<std::string> kMacroLines = {
    "/L {lineto} def",
    "/D {rlineto} def",
    "/M {moveto} def",
    "/G {rmoveto} def",
    "/slw {setlinewidth} def",
    "/stg {setgray} def",
    "/sym {findfont exch scalefont setfont} def",
    "/HPP {/Helvetica} def",
    "/HBP {/Helvetica-Bold} def",
    "/HPI {/Helvetica-Oblique} def",
    "/HBI {/Helvetica-BoldOblique} def",
    "/TPP {/Times-Roman}def",
    "/TBP {/Times-Bold} def",
    "/TPI {/Times-Italic} def",
    "/TBI {/Times-BoldItalic} def",
    "/CPP {/Courier} def",
    "/CBP {/Courier-Bold} def",
    "/CPI {/Courier-Oblique} def",
    "/CBI {/Courier-BoldOblique} def",
    "/SPP {/Symbol} def",
    "/SBP {/Symbol-Bold} def",
    "/SPI {/Symbol-Oblique} def",
    "/SBI {/Symbol-BoldOblique} def",
    "/np {newpath} def",
    "/sk {stroke} def",
    "/cp {closepath} def",
    "/gs {gsave} def",
    "/gr {grestore} def",
    "/dot {sk arc gs stg fill gr sk} def",
    "/dotf {sk arc gs stg fill gr np} def",
    "/bx {3 {D} repeat cp gs stg fill gr sk} def",
    "/bxf {3 {D} repeat cp gs stg fill gr np} def",
    "/rect {3 {L} repeat cp gs stg fill gr sk} def",
    "/rectf {3 {L} repeat cp gs stg fill gr np} def",
    "/tri {D D cp gs stg fill gr sk} def",
    "/trif {D D cp gs stg fill gr np} def",
    "/pie {sk M arc cp gs stg fill gr sk} def",
    "/x {D G D sk} def",
    "/R {rotate} def",
    "/sl {dup stringwidth pop} def",
    "/sh {show} def",
    "/sd {setdash} def",
};

class DialectExerciser : public ::testing::Test {
 protected:
  void SetUp() override { reset_driver(); }
  void TearDown() override { reset_driver(); }
  ScratchDir dir_;
  ConsoleCapture cap_{"\n"};
};

TEST_F(DialectExerciser, CompressedLandscapeA4TwoCopies) {
  exercise_every_writer(1, "  F   2 LA4  1\n \n");
  std::vector<std::string> want = {"%!", "%%Pages: (atend)", "%%BoundingBox: 0 0 595 842",
                                   "%% Define macros etc"};
  want.insert(want.end(), kMacroLines.begin(), kMacroLines.end());
  const std::vector<std::string> body = {
      "% Initialize coordinate system and scales",
      "/#copies   2 def",
      " 595 0 translate 90 rotate",
      " 0.000  0.000  0.000 setrgbcolor",
      "% Ready to go",
      "%%Page:   1   1",
      "0.57 slw",
      "np",
      "283.50 340.20 M",
      "300.00 340.20 L",
      "0.50 -0.50 L",
      " 1.000  0.000  0.000 setrgbcolor",
      "sk",
      "np",
      " 9.99 10.00 M",
      " 9.99 10.00 L",
      "sk",
      "np",
      "10.00 10.00 M",
      "20.00 10.00 L",
      "20.00 20.00 L",
      "cp",
      "sk",
      "np",
      "10.00 10.00 M",
      "20.00 10.00 L",
      "20.00 20.00 L",
      "cp gs",
      " 0.000  0.000  1.000 setrgbcolor fill gr",
      "sk",
      "100.00 200.00 M",
      "  30.00 rotate",
      "56 TPP sym",
      " 0.000  0.000  0.000 setrgbcolor",
      "(A\\(B)",
      "sl -2 div 0 G",
      "show",
      " -30.00 rotate",
      "50.00 43.30 M",
      "56 TPP sym",
      "(N) show",
      "gsave showpage",
      "%%End Page",
      "grestore",
      "%%Page:   2   2",
      "showpage",
      "%%End Page",
      "%%Trailer",
      "%%Pages:   2",
      "%%EOF",
  };
  want.insert(want.end(), body.begin(), body.end());
  EXPECT_EQ(read_file("plot.ps"), join_lines(want));
  EXPECT_RENDERS((dir_.path() / "plot.ps").string(), 1);
}

TEST_F(DialectExerciser, NewsLandscapeLetterWritesNoCopies) {
  exercise_every_writer(2, "  F   3 LUS  2\n \n");
  const std::vector<std::string> want = {
      "%!",
      "% Initialize coordinate system and scales",
      "%%Pages: (atend)",
      "%%BoundingBox: 0 0 595 842",
      " 612 0 translate 90 rotate",
      " 0.000  0.000  0.000 setrgbcolor",
      "% Ready to go",
      "%%Page:   1   1",
      "0.57 setlinewidth",
      "newpath",
      "283.50 340.20 moveto",
      "300.00 340.20 lineto",
      "0.50 -0.50 lineto",
      " 1.000  0.000  0.000 setrgbcolor",
      "stroke",
      "newpath",
      " 9.99 10.00 moveto",
      " 9.99 10.00 lineto",
      "stroke",
      "newpath",
      "10.00 10.00 moveto",
      "20.00 10.00 lineto",
      "20.00 20.00 lineto",
      "closepath",
      "stroke",
      "newpath",
      "10.00 10.00 moveto",
      "20.00 10.00 lineto",
      "20.00 20.00 lineto",
      "closepath gsave",
      " 0.000  0.000  1.000 setrgbcolor fill grestore",
      "stroke",
      "100.00 200.00 moveto",
      "  30.00 rotate",
      "56 /Times-Roman findfont exch scalefont setfont",
      " 0.000  0.000  0.000 setrgbcolor",
      "(A\\(B)",
      "dup stringwidth pop -2 div 0 rmoveto",
      "show",
      " -30.00 rotate",
      "50.00 43.30 moveto",
      "56 /Times-Roman findfont exch scalefont setfont",
      "(N) show",
      "gsave showpage",
      "%%End Page",
      "grestore",
      "%%Page:   2   2",
      "showpage",
      "%%End Page",
      "%%Trailer",
      "%%Pages:   2",
      "%%EOF",
  };
  EXPECT_EQ(read_file("plot.ps"), join_lines(want));
  EXPECT_RENDERS((dir_.path() / "plot.ps").string(), 2);
}

TEST_F(DialectExerciser, IllustratorOverlayStillWritesTheFullProlog) {
  exercise_every_writer(3, "  T   1 P    3\n \n");
  const std::vector<std::string> want = {
      "%!PS-Adobe-2.0 EPSF-1.2",
      "%%Title: plot.ps             ",
      "%%DocumentProcessColors: Black",
      "%%DocumentFonts: Helvetica",
      "%%DocumentProcSets: Adobe_packedarray 1.0 0",
      "%%DocumentProcSets: Adobe_cmykcolor 1.1 0",
      "%%DocumentProcSets: Adobe_cshow 1.1 0",
      "%%DocumentProcSets: Adobe_customcolor 1.0 0",
      "%%DocumentProcSets: Adobe_Illustrator881 1.19 0",
      "%%BoundingBox: 0 0 595 842",
      "%AI3_IncludePlacedImages",
      "%%TemplateBox:297.5 421 297.5 421",
      "%%TileBox: 10 10 585 832",
      "%%DocumentPreview: None",
      "%%EndComments",
      "%%EndProlog",
      "%%BeginSetup",
      "Adobe_cshow /initialize get exec",
      "Adobe_customcolor /initialize get exec",
      "Adobe_Illustrator881 /initialize get exec",
      "%%EndSetup",
      " 0.00 G",
      " 0.00 g",
      " 0.000  0.000  0.000 setrgbcolor",
      "0.57 w",
      "283.50 340.20 m",
      "300.00 340.20 l",
      "0.50 -0.50 l",
      " 1.000  0.000  0.000 setrgbcolor",
      "S",
      " 9.99 10.00 m",
      " 9.99 10.00 l",
      "S",
      "10.00 10.00 m",
      "20.00 10.00 l",
      "20.00 20.00 l",
      "s",
      "10.00 10.00 m",
      "20.00 10.00 l",
      "20.00 20.00 l",
      "b",
      "/_Times-Roman 56 92.99 0 1 z [  0.866  0.500 -0.500  0.866   100.0   200.0]e",
      "(A\\(B)t T",
      "/_Times-Roman 56 92.99 0 0 z [  1.000  0.000 -0.000  1.000    50.0   100.0]e",
      "(N)t T",
      "gsave showpage",
      "%%End Page",
      "grestore",
      "%%Page:   2   2",
      "%%PageTrailer",
      "%%Trailer",
      "Adobe_Illustrator881 /terminate get exec",
      "Adobe_customcolor /terminate get exec",
      "Adobe_cshow /terminate get exec",
      "Adobe_packedarray /terminate get exec",
      "%%EOF",
  };
  EXPECT_EQ(read_file("plot.ps"), join_lines(want));
  EXPECT_RENDERS((dir_.path() / "plot.ps").string(), 3);
}

}  // namespace
}  // namespace polarsketch::testing
