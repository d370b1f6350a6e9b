// The figure devices of our own: repeated marks drawn once and placed many
// times (SVG <use>, PDF form XObjects, PNG stamps), each drawn where the
// cairo recording draws the same calls; the crop from the geometry; text
// that cannot break the XML.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "postscript/ps_test_support.hpp"
#include "render/cairo_device.hpp"
#include "render/decimal_text.hpp"
#include "render/images.hpp"
#include "render/pdf_device.hpp"
#include "render/svg_device.hpp"

namespace polarsketch::render {
namespace {

long occurrences(const std::string& text, const std::string& what) {
  long n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A mark's corners around a centre, in single precision as the driver
// computes them, so copies differ by a rounding.
std::vector<Point> mark(float cx, float cy, int corners, float r) {
  std::vector<Point> p;
  for (int i = 0; i < corners; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(corners);
    p.push_back(
        {static_cast<double>(cx + r * std::cos(a)), static_cast<double>(cy + r * std::sin(a))});
  }
  return p;
}

// Filled discs, open triangles and a curve drawn once between them.
void draw_marks(Device& d) {
  d.begin_page(1, Orientation::portrait);
  d.line_width(0.5);
  for (int i = 0; i < 50; ++i)
    d.polygon(mark(100.3f + 7.1f * static_cast<float>(i % 10),
                   500.7f + 9.3f * static_cast<float>(i / 10), 20, 3.5f),
              true, Rgb{0, 0, 0.5}, Rgb{0, 0, 0.5});
  std::vector<Point> curve;
  for (int i = 0; i < 100; ++i)
    curve.push_back({200.0 + 2.0 * i, 300.0 + 40.0 * std::sin(i / 10.0)});
  d.polyline(curve, Rgb{});
  d.polyline(std::vector<Point>{{200, 250}, {400, 250}}, Rgb{});
  for (int i = 0; i < 30; ++i) {
    std::vector<Point> t = mark(150.0f + 11.3f * static_cast<float>(i % 6),
                                150.0f + 13.1f * static_cast<float>(i / 6), 3, 4.0f);
    t.push_back(t.front());
    d.polyline(t, Rgb{1, 0, 0});
  }
  d.end_page();
}

TEST(SvgDevice, EachRepeatedMarkIsDefinedOnceAndPlacedByUse) {
  testing::ScratchDir dir;
  SvgDevice svg;
  draw_marks(svg);
  const std::string doc = svg.document(0, PageLayout{});
  EXPECT_EQ(occurrences(doc, "<path id="), 2);
  EXPECT_EQ(occurrences(doc, "<use xlink:href=\"#m0\""), 50);
  EXPECT_EQ(occurrences(doc, "<use xlink:href=\"#m1\""), 30);
  EXPECT_EQ(occurrences(doc, "<path d="), 1) << "the curve and the segment, one path";

  // Drawn where the cairo device draws the same calls.
  testing::write_file("marks.svg", doc);
  if (!testing::run_quietly("command -v rsvg-convert && command -v pdftoppm"))
    GTEST_SKIP() << "a viewer is missing";
  CairoDevice cairo;
  draw_marks(cairo);
  cairo.write_pdf("marks.pdf", PageLayout{});
  const testing::Picture ours = testing::render_svg("marks.svg");
  const testing::Picture theirs = testing::render_pdf("marks.pdf");
  EXPECT_GT(testing::ink_pixels(ours), 1000);
  testing::compare_ink(theirs, ours, "marks");
}

TEST(PdfDevice, EachRepeatedMarkIsOneFormAndTheCropFollowsTheInk) {
  testing::ScratchDir dir;
  PdfDevice pdf;
  draw_marks(pdf);
  pdf.begin_page(2, Orientation::landscape_us);
  pdf.polyline(std::vector<Point>{{100, 100}, {300, 200}}, Rgb{});
  pdf.end_page();
  const std::string doc = pdf.document(PageLayout{});
  EXPECT_EQ(occurrences(doc, "/Subtype /Form"), 2);
  EXPECT_EQ(occurrences(doc, "/Type /Page "), 2);
  // The second page: the segment's box (its width 0.5 from the first page)
  // plus 2 mm on each side.
  const double m = 72.0 * 2.0 / 25.4;
  EXPECT_NE(doc.find("/MediaBox [0 0 " + decimal(200.5 + 2 * m) + ' ' + decimal(100.5 + 2 * m)),
            std::string::npos);
  // As encapsulated PostScript: each form a procedure, called at each later copy.
  std::string eps;
  pdf.write_eps_document(0, PageLayout{true}, [&eps](std::string_view piece) { eps += piece; });
  EXPECT_EQ(occurrences(eps, "/M0 {"), 1);
  EXPECT_EQ(occurrences(eps, "/M0 Do"), 49);
  EXPECT_EQ(occurrences(eps, "/M1 Do"), 29);
  if (!testing::run_quietly("command -v pdftoppm && command -v gs"))
    GTEST_SKIP() << "a viewer is missing";
  testing::write_file("marks.pdf", doc);
  testing::write_file("marks.eps", eps);
  CairoDevice cairo;
  draw_marks(cairo);
  cairo.write_pdf("cairo.pdf", PageLayout{});
  testing::compare_ink(testing::render_pdf("cairo.pdf"), testing::render_pdf("marks.pdf"), "marks");
  cairo.write_pdf("cairo_page.pdf", PageLayout{true});
  testing::compare_ink(testing::render_pdf("cairo_page.pdf"),
                       testing::render_postscript("marks.eps"), "marks as EPS");
}

// Arcs like great circles across a net, in thin lines of two widths and an
// outlined square with sharp corners.
void draw_arcs(Device& d) {
  d.begin_page(1, Orientation::portrait);
  for (int k = 0; k < 60; ++k) {
    d.line_width(k % 2 == 0 ? 0.567 : 1.2);
    std::vector<Point> arc;
    for (int i = 0; i <= 90; ++i) {
      const double a = 3.14159265 * i / 90.0, tilt = 0.05 * k;
      arc.push_back(
          {300 + 200 * std::cos(a) * std::cos(tilt) - 120 * std::sin(a) * std::sin(tilt) * (k % 3),
           400 + 200 * std::sin(a) * (0.2 + 0.013 * k)});
    }
    d.polyline(arc, Rgb{0, 0, 0.5});
  }
  d.polygon(std::vector<Point>{{100, 100}, {200, 100}, {200, 180}, {100, 180}}, false, Rgb{},
            Rgb{});
  d.end_page();
}

// The raster device's page against the cairo recording's PDF as pdftoppm
// shows it (the recording replayed onto an image came out about 1 % small).
TEST(RasterDevice, StampedMarksLieWhereTheRecordedDrawingPutsThem) {
  if (!testing::run_quietly("command -v pdftoppm")) GTEST_SKIP() << "pdftoppm is missing";
  testing::ScratchDir dir;
  CairoDevice cairo;
  draw_marks(cairo);
  cairo.write_pdf("recorded.pdf", PageLayout{true});
  const testing::Picture recorded = testing::render_pdf("recorded.pdf");
  {
    // Thin strokes, drawn by the raster device itself.
    CairoDevice arcs;
    draw_arcs(arcs);
    arcs.write_pdf("arcs.pdf", PageLayout{true});
    CairoDevice raster(CairoDevice::Raster{100.0, PageLayout{true}});
    draw_arcs(raster);
    raster.write_png("arcs.png", 0, PageLayout{true}, 100.0);
    testing::compare_ink(testing::render_pdf("arcs.pdf"), testing::load_picture("arcs.png"),
                         "thin arcs");
  }
  for (const bool whole_page : {true, false}) {
    CairoDevice raster(CairoDevice::Raster{100.0, PageLayout{whole_page}});
    draw_marks(raster);
    raster.write_png("stamped.png", 0, PageLayout{whole_page}, 100.0);
    const testing::Picture stamped = testing::load_picture("stamped.png");
    testing::compare_ink(recorded, stamped, whole_page ? "whole page" : "cropped");
    const testing::InkBox ink = testing::ink_box(stamped);
    if (whole_page) {
      EXPECT_EQ(stamped.width, 827);
      EXPECT_NEAR(ink.left, testing::ink_box(recorded).left, 1);
      EXPECT_NEAR(ink.top, testing::ink_box(recorded).top, 1);
    } else {
      for (const int margin :
           {ink.left, ink.top, stamped.width - 1 - ink.right, stamped.height - 1 - ink.bottom})
        EXPECT_NEAR(margin, 2.0 / 25.4 * 100.0, 1.5);
    }
  }
}

// The view box's four numbers.
std::vector<double> view_box(const std::string& doc) {
  std::smatch m;
  EXPECT_TRUE(std::regex_search(doc, m, std::regex("viewBox=\"([^\"]*)\"")));
  std::istringstream in(m[1].str());
  std::vector<double> v(4);
  for (double& x : v) in >> x;
  return v;
}

TEST(SvgDevice, CroppedToTheInkPlusTheMarginAndClippedToThePaper) {
  SvgDevice svg;
  svg.begin_page(1, Orientation::portrait);
  svg.line_width(2.0);
  svg.polyline(std::vector<Point>{{100, 100}, {300, 200}}, Rgb{});
  svg.begin_page(2, Orientation::landscape_a4);  // no ink
  svg.begin_page(3, Orientation::portrait);
  svg.polyline(std::vector<Point>{{500, 400}, {700, 400}}, Rgb{});  // off the paper
  svg.end_page();
  const double m = 72.0 * 2.0 / 25.4;
  const std::vector<double> crop = view_box(svg.document(0, PageLayout{}));
  const std::vector<double> expected{99 - m, 842 - 201 - m, 202 + 2 * m, 102 + 2 * m};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(crop[i], expected[i], 1e-3) << i;
  EXPECT_EQ(view_box(svg.document(0, PageLayout{true})), (std::vector<double>{0, 0, 595, 842}));
  EXPECT_EQ(view_box(svg.document(1, PageLayout{})), (std::vector<double>{0, 0, 842, 595}));
  const std::string off = svg.document(2, PageLayout{});
  EXPECT_NEAR(view_box(off)[0] + view_box(off)[2], 595 + m, 1e-3);
  EXPECT_EQ(occurrences(off, "clip-path=\"url(#paper)\""), 1);
  EXPECT_EQ(occurrences(svg.document(0, PageLayout{}), "clip-path"), 0);
}

TEST(SvgDevice, TextIsEscapedAndSetInTheStandInFonts) {
  testing::ScratchDir dir;
  SvgDevice svg;
  svg.begin_page(1, Orientation::portrait);
  TextStyle style{"Times-BoldItalic", 12, 12, 90, 2, Rgb{1, 0, 0}};
  svg.text({200, 300}, "a<b & c>d'", style);
  svg.end_page();
  const std::string doc = svg.document(0, PageLayout{});
  EXPECT_NE(doc.find(">a&lt;b &amp; c&gt;d\u2019</text>"), std::string::npos) << doc;
  EXPECT_NE(doc.find("font-family=\"'Nimbus Roman',"), std::string::npos);
  EXPECT_NE(doc.find("font-weight=\"bold\" font-style=\"italic\" text-anchor=\"middle\""),
            std::string::npos);
  testing::write_file("text.svg", doc);
  if (testing::run_quietly("command -v xmllint")) {
    EXPECT_TRUE(testing::run_quietly("xmllint --noout text.svg"));
  }
  // Turned a quarter turn: the crop is tall and narrow.
  const std::vector<double> box = view_box(doc);
  EXPECT_GT(box[3], 2 * box[2]);
}

}  // namespace
}  // namespace polarsketch::render
