// The cairo device's own rules: the stand-in fonts, the text's characters,
// and which path points a figure may leave out.
#include "render/cairo_device.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "postscript/ps_test_support.hpp"
#include "render/fonts.hpp"

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
  for (const auto& p : paths) cairo.polyline(p, Rgb{});
  cairo.end_page();
  cairo.write_svg("paths.svg", 0, PageLayout{true});
  const std::vector<std::string> d = svg_paths(testing::read_file("paths.svg"));
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(count_of(d[0], 'L'), 1) << d[0];
  EXPECT_EQ(count_of(d[1], 'L'), 2) << d[1];
  EXPECT_EQ(count_of(d[2], 'L'), 2) << d[2];
}

}  // namespace
}  // namespace polarsketch::render
