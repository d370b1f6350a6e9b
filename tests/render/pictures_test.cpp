// The cairo device against the PostScript device on the same calls, the way
// a reader checks them: each file rendered at 100 dpi by its usual viewer
// (Ghostscript, pdftoppm, rsvg-convert), the ink's boxes within 2 pixels
// and few pixels of ink without a counterpart in the other picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/ps_test_support.hpp"
#include "postscript/writer.hpp"
#include "render/cairo_device.hpp"
#include "render/images.hpp"
#include "render/pdf_device.hpp"
#include "render/postscript_device.hpp"
#include "render/seam.hpp"
#include "render/svg_device.hpp"

namespace polarsketch::render {
namespace {

using plot::plt2blk;
using testing::Picture;

bool have_viewers() {
  return testing::run_quietly(
      "command -v gs && command -v pdftoppm && command -v rsvg-convert && command -v xmllint");
}

// A card of the driver's text rules: every alignment code at a cross, at
// two angles, in four fonts (Symbol among them) and sizes, with colours, a filled polygon and
// lines of several widths; drawn once through a tee into a PostScript file
// and a figure device.
void draw_card(const char* sys, Orientation orientation, Device& figure) {
  testing::reset_driver();
  math::trigoset();
  postscript::psparams.ips = 2;
  postscript::psparams.npage = 1;
  postscript::psparams.sys = sys;
  static constexpr const char* kFonts[16] = {
      "/Helvetica",   "/Helvetica-Bold", "/Helvetica-Oblique", "/Helvetica-BoldOblique",
      "/Times-Roman", "/Times-Bold",     "/Times-Italic",      "/Times-BoldItalic",
      "/Courier",     "/Courier-Bold",   "/Courier-Oblique",   "/Courier-BoldOblique",
      "/Symbol",      "/Symbol-Bold",    "/Symbol-Oblique",    "/Symbol-BoldOblique"};
  for (int i = 1; i <= 16; ++i) postscript::psparams.fonts(i) = kFonts[i - 1];
  ASSERT_TRUE(console::open_file(console::kUnitPlotFile, "card.ps", console::FileStatus::unknown));
  postscript::writer().start(console::kUnitPlotFile, "card.ps");
  postscript::writer().line("%!");
  if (orientation == Orientation::landscape_us)
    postscript::writer().line(" 612 0 translate 90 rotate");

  plt2blk.loncolor = true;
  plt2blk.red(2) = 100.0f;
  plt2blk.blue(3) = 80.0f;
  plt2blk.green(4) = 60.0f;

  PostScriptDevice ps;
  TeeDevice tee(ps, figure);
  Device* before = use_device(&tee);
  tee.begin_page(1, orientation);
  const float width[3] = {0.5f, 1.5f, 4.0f};
  for (int code = 0; code < 12; ++code) {
    for (int turn = 0; turn < 2; ++turn) {
      const float x = 60.0f + 40.0f * static_cast<float>(code);
      const float y = 120.0f + 260.0f * static_cast<float>(turn);
      plt2blk.ilinecolor = 1 + code % 2;
      set_line_width(width[code % 3]);
      const float cx[2] = {x - 6.0f, x + 6.0f}, cy[2] = {y, y};
      const float vx[2] = {x, x}, vy[2] = {y - 6.0f, y + 6.0f};
      draw_polyline(cx, cy, 2);
      draw_polyline(vx, vy, 2);
      static constexpr std::int32_t kCardFonts[4] = {1, 6, 11, 13};
      postscript::psparams.ipsfont = kCardFonts[code % 4];
      postscript::psparams.pstxtheight = 9.0f + static_cast<float>(code % 4) * 1.3f;
      // The driver writes the text in its own font and height; the cairo
      // device takes the same from the plot's records.
      plt2blk.itxtfont = postscript::psparams.ipsfont;
      set_text_height(postscript::psparams.pstxtheight);
      plt2blk.itxtjust = code;
      plt2blk.txtangle = turn == 0 ? 0.0f : 35.0f;
      plt2blk.itxtcolor = 1 + (code + turn) % 3;
      // A quote and a byte of the upper half: the standard encoding shows ’ and Ø.
      draw_text(x, y, "Ag" + std::to_string(code) + "'\xe9");
    }
  }
  plt2blk.ifillstyle = 1;
  plt2blk.ifillcolor = 4;
  plt2blk.ilinecolor = 3;
  const float px[4] = {80.0f, 300.0f, 200.0f, 90.0f}, py[4] = {560.0f, 600.0f, 700.0f, 680.0f};
  draw_polygon(px, py, 4);
  tee.end_page();
  use_device(before);
  postscript::psend();
}

TEST(CairoPictures, TextAlignmentFontsColoursAndFillsMatchGhostscript) {
  if (!have_viewers()) GTEST_SKIP() << "a viewer is missing";
  for (const auto& [sys, orientation, w, h] :
       {std::tuple{"P  ", Orientation::portrait, 595, 842},
        std::tuple{"LUS", Orientation::landscape_us, 612, 792}}) {
    SCOPED_TRACE(sys);
    testing::ConsoleCapture console;
    testing::ScratchDir dir;
    CairoDevice cairo;
    draw_card(sys, orientation, cairo);
    cairo.write_pdf("card.pdf", PageLayout{true});
    cairo.write_svg("card.svg", 0, PageLayout{true});
    // On the whole page, the ink lies where Ghostscript puts it; a landscape
    // page is written wide, the drawing upright.
    const Picture sheet = testing::render_postscript("card.ps", w, h);
    const Picture ps =
        orientation == Orientation::portrait ? sheet : testing::turned_clockwise(sheet);
    for (const auto& [kind, other] : {std::pair{"PDF", testing::render_pdf("card.pdf")},
                                      std::pair{"SVG", testing::render_svg("card.svg")}}) {
      testing::compare_ink(ps, other, std::string("card ") + kind + " " + sys);
      EXPECT_NEAR(testing::ink_box(other).left, testing::ink_box(ps).left, 2);
      EXPECT_NEAR(testing::ink_box(other).top, testing::ink_box(ps).top, 2);
    }
  }
}

// The PDF device's document of the card, its text in the base fonts placed
// by built-in widths, against Ghostscript.
TEST(PdfPictures, TextAlignmentFontsColoursAndFillsMatchGhostscript) {
  if (!have_viewers()) GTEST_SKIP() << "a viewer is missing";
  testing::ConsoleCapture console;
  testing::ScratchDir dir;
  PdfDevice pdf;
  draw_card("P  ", Orientation::portrait, pdf);
  pdf.write_pdf("card.pdf", PageLayout{true});
  const Picture ps = testing::render_postscript("card.ps", 595, 842);
  const Picture ours = testing::render_pdf("card.pdf");
  testing::compare_ink(ps, ours, "card PDF device");
  EXPECT_NEAR(testing::ink_box(ours).left, testing::ink_box(ps).left, 2);
  EXPECT_NEAR(testing::ink_box(ours).top, testing::ink_box(ps).top, 2);
}

// The SVG device's own document of the card, placed by built-in metrics
// and the reader's text anchors, against Ghostscript; cropped, its ink keeps
// the margin on every side.
TEST(SvgPictures, TextAlignmentFontsColoursAndFillsMatchGhostscript) {
  if (!have_viewers()) GTEST_SKIP() << "a viewer is missing";
  testing::ConsoleCapture console;
  testing::ScratchDir dir;
  SvgDevice svg;
  draw_card("P  ", Orientation::portrait, svg);
  testing::write_file("card.svg", svg.document(0, PageLayout{true}));
  ASSERT_TRUE(testing::run_quietly("xmllint --noout card.svg"));
  const Picture ps = testing::render_postscript("card.ps", 595, 842);
  const Picture whole = testing::render_svg("card.svg");
  testing::compare_ink(ps, whole, "card SVG device");
  EXPECT_NEAR(testing::ink_box(whole).left, testing::ink_box(ps).left, 2);
  EXPECT_NEAR(testing::ink_box(whole).top, testing::ink_box(ps).top, 2);

  testing::write_file("crop.svg", svg.document(0, PageLayout{}));
  const Picture crop = testing::render_svg("crop.svg");
  const testing::InkBox ink = testing::ink_box(crop);
  const int margin = 8;  // 2 mm at 100 dpi, less a pixel for the metrics' estimate
  EXPECT_GE(ink.left, margin - 2);
  EXPECT_GE(ink.top, margin - 2);
  EXPECT_GE(crop.width - 1 - ink.right, margin - 2);
  EXPECT_GE(crop.height - 1 - ink.bottom, margin - 2);
  EXPECT_NEAR(crop.width - ink.width(), 2 * margin, 6);
  EXPECT_NEAR(crop.height - ink.height(), 2 * margin, 6);
}

}  // namespace
}  // namespace polarsketch::render
