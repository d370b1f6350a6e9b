// The cairo device's own rules: the stand-in fonts, the text's characters,
// and which path points a figure may leave out.
#include "render/cairo_device.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "postscript/ps_test_support.hpp"
#include "render/fonts.hpp"
#include "render/images.hpp"

namespace polarsketch::render {
namespace {

TEST(CairoFonts, EachPostScriptBaseFontHasItsUrwFace) {
  struct Case {
    const char* name;
    const char* family;
    bool bold, italic;
  };
  for (const Case& c : std::vector<Case>{
           {"/Helvetica", "Nimbus Sans", false, false},
           {"Helvetica-BoldOblique", "Nimbus Sans", true, true},
           {"Times-Roman", "Nimbus Roman", false, false},
           {"Times-Italic", "Nimbus Roman", false, true},
           {"Courier-Bold", "Nimbus Mono PS", true, false},
           {"Symbol-BoldOblique", "Standard Symbols PS", false, false},  // one face
           {"Palatino-Roman", "Nimbus Mono PS", false, false},           // unknown: fixed pitch
       }) {
    const FontFace f = font_face(c.name);
    EXPECT_EQ(f.family, c.family) << c.name;
    EXPECT_EQ(f.bold, c.bold) << c.name;
    EXPECT_EQ(f.italic, c.italic) << c.name;
  }
  EXPECT_EQ(text_to_utf8("It's \xe9\xfb\xae\x80", false), "It’s Øßﬁ ");
  EXPECT_EQ(text_to_utf8("ab'", true), "ab'");
}

// The path data of an SVG page, one string per path.
std::vector<std::string> svg_paths(const std::string& svg) {
  std::vector<std::string> paths;
  const std::regex d(R"re(<path[^>]* d="([^"]*)")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), d); it != std::sregex_iterator();
       ++it)
    paths.push_back((*it)[1].str());
  return paths;
}

long count_of(const std::string& s, char c) { return std::count(s.begin(), s.end(), c); }

TEST(CairoDevice, FiguresLeaveOutOnlyPointsOnTheLineThroughTheirNeighbours) {
  testing::ScratchDir dir;
  CairoDevice cairo;
  cairo.begin_page(1, Orientation::portrait);
  const std::vector<std::vector<Point>> paths{
      {{0, 0}, {25, 0.004}, {50, 0}, {75, -0.004}, {100, 0}},  // within the flatness: one line
      {{0, 10}, {100, 10}, {50, 10}},                          // turns back: both lines kept
      {{0, 20}, {50, 20.01}, {100, 20}},                       // a bend of 0.01: kept
  };
  // Colours of their own keep the lines apart (alike they are one path).
  for (std::size_t i = 0; i < paths.size(); ++i)
    cairo.polyline(paths[i], Rgb{0.1 * static_cast<double>(i), 0.0, 0.0});
  cairo.end_page();
  cairo.write_svg("paths.svg", 0, PageLayout{true});
  const std::vector<std::string> d = svg_paths(testing::read_file("paths.svg"));
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(count_of(d[0], 'L'), 1) << d[0];
  EXPECT_EQ(count_of(d[1], 'L'), 2) << d[1];
  EXPECT_EQ(count_of(d[2], 'L'), 2) << d[2];
}

TEST(CairoDevice, ShapesPaintedAlikeArePaintedTogetherAndFillTheirUnion) {
  testing::ScratchDir dir;
  const Rgb blue{0, 0, 1}, red{1, 0, 0};
  // Two squares overlapping on [10, 20] x [10, 20], the second clockwise.
  const std::vector<Point> a{{0, 0}, {20, 0}, {20, 20}, {0, 20}};
  const std::vector<Point> b{{10, 10}, {10, 30}, {30, 30}, {30, 10}};
  const std::vector<Point> notch{{40, 0}, {60, 0}, {50, 5}, {60, 10}, {40, 10}};  // not convex
  // Turns one way at every corner, but twice round: not convex either.
  const std::vector<Point> star{{80, 40}, {74.12, 21.91}, {89.51, 33.09}, {70.49, 33.09},
                                {85.88, 21.91}};
  struct Case {
    const char* what;
    std::function<void(CairoDevice&)> draw;
    std::size_t paths;
    bool filled = false;  // the squares are filled
  };
  const std::vector<Case> cases{
      {"lines and outlines of one colour",
       [&](CairoDevice& c) {
         c.polyline(a, blue);
         c.polygon(b, false, red, blue);
         c.polyline(notch, blue);
       },
       1},
      {"another colour or width parts them",
       [&](CairoDevice& c) {
         c.polyline(a, blue);
         c.polyline(b, red);
         c.line_width(2.0);
         c.polyline(notch, red);
       },
       3},
      {"convex shapes filled in their edge's colour, either way round",
       [&](CairoDevice& c) {
         c.polygon(a, true, blue, blue);
         c.polygon(b, true, blue, blue);
       },
       1, true},
      {"not convex, or filled in another colour: each alone",
       [&](CairoDevice& c) {
         c.polygon(notch, true, blue, blue);
         c.polygon(star, true, blue, blue);
         c.polygon(a, true, red, blue);
         c.polygon(b, true, red, blue);
       },
       4, true},
  };
  for (const Case& c : cases) {
    CairoDevice cairo;
    cairo.begin_page(1, Orientation::portrait);
    c.draw(cairo);
    cairo.end_page();
    cairo.write_svg("shapes.svg", 0, PageLayout{true});
    EXPECT_EQ(svg_paths(testing::read_file("shapes.svg")).size(), c.paths) << c.what;
    // The overlap of filled squares is painted (no hole where they wind apart).
    cairo.write_png("shapes.png", 0, PageLayout{true}, 72.0);
    EXPECT_EQ(testing::load_picture("shapes.png").at(15, 842 - 15), c.filled) << c.what;
  }
}

TEST(CairoDevice, FiguresAreRenamedIntoPlaceUnderANameOfTheirOwn) {
  testing::ScratchDir dir;
  CairoDevice cairo;
  cairo.begin_page(1, Orientation::portrait);
  cairo.polyline(std::vector<Point>{{0, 0}, {100, 100}}, Rgb{});
  cairo.end_page();
  // A user's file named like a temporary one is neither used nor removed,
  // and a link keeps naming the figure.
  testing::write_file("fig.pdf.part", "mine");
  std::filesystem::create_symlink("fig.pdf", "latest.pdf");
  cairo.write_pdf("fig.pdf", PageLayout{});
  cairo.write_pdf("latest.pdf", PageLayout{});
  EXPECT_EQ(testing::read_file("fig.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(testing::read_file("fig.pdf.part"), "mine");
  EXPECT_TRUE(std::filesystem::is_symlink("latest.pdf"));
  std::filesystem::create_directory("dir.svg");
  try {
    cairo.write_svg("dir.svg", 0, PageLayout{});
    ADD_FAILURE() << "a directory was written";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "cannot write 'dir.svg': it is not a regular file");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 4);
}

// An encapsulated figure is finished before it is written, never read back
// from its file: a target the user may write but not read gets the whole
// figure. (Run as root, where any file is readable, this shows no fault.)
TEST(CairoDevice, EncapsulatedFigureOverATargetTheUserCannotRead) {
  testing::ScratchDir dir;
  CairoDevice cairo;
  cairo.begin_page(1, Orientation::portrait);
  cairo.polyline(std::vector<Point>{{100, 100}, {200, 200}}, Rgb{});
  cairo.end_page();
  testing::write_file("fig.eps", "");
  std::filesystem::permissions("fig.eps", std::filesystem::perms::owner_write);
  cairo.write_eps("fig.eps", 0, PageLayout{});
  std::filesystem::permissions("fig.eps", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::add);
  const std::string eps = testing::read_file("fig.eps");
  EXPECT_EQ(eps.substr(0, 24), "%!PS-Adobe-3.0 EPSF-3.0\n");
  // The ink, 100 points and the line's width across, plus 2 mm each side.
  EXPECT_NE(eps.find("\n%%BoundingBox: 0 0 113 113\n"), std::string::npos) << eps.substr(0, 300);
}

}  // namespace
}  // namespace polarsketch::render
