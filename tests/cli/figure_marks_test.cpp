// `polarsketch plot` at scale: each symbol shape drawn once in a figure
// however many poles it marks, and the note on very many great circles.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

long occurrences(const std::string& text, const std::string& what) {
  long n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// `n` planes spread over the net.
std::string planes(int n) {
  std::string csv = "dipdir,dip\n";
  for (int i = 0; i < n; ++i)
    csv += std::to_string((i * 37) % 360) + "," + std::to_string(5 + (i * 13) % 85) + "\n";
  return csv;
}

TEST(FigureMarks, EachSymbolShapeIsOneObjectHoweverManyPoles) {
  testing::ScratchDir dir;
  testing::write_file("a.csv", planes(300));
  testing::write_file("b.csv", planes(200));
  struct Case {
    const char* file;
    const char* definition;
    long one_set, two_sets;  // definitions for a.csv, and for a.csv and b.csv
  };
  for (const Case& c :
       {Case{"net.svg", "<path id=", 1, 2}, Case{"net.pdf", "/Subtype /Form", 1, 2}}) {
    ASSERT_EQ(plot({"--planes", "poles", "-o", c.file, "a.csv"}), 0);
    std::string figure = testing::read_file(c.file);
    EXPECT_EQ(occurrences(figure, c.definition), c.one_set) << c.file;
    if (std::string(c.file) == "net.svg") {
      EXPECT_EQ(occurrences(figure, "<use "), 300 + 1);  // and the legend's
    }
    ASSERT_EQ(plot({"--planes", "poles", "-o", c.file, "a.csv", "b.csv"}), 0);
    figure = testing::read_file(c.file);
    EXPECT_EQ(occurrences(figure, c.definition), c.two_sets) << c.file;
  }
}

TEST(FigureMarks, MoreThanTenThousandGreatCirclesGetANoteAndAreDrawn) {
  testing::ScratchDir dir;
  testing::write_file("many.csv", planes(10001));
  testing::write_file("enough.csv", planes(10000));
  const CliRun many = run_cli({"plot", "-o", "many.svg", "many.csv"});
  EXPECT_EQ(many.status, 0);
  EXPECT_EQ(occurrences(many.err, "\n"), 1) << many.err;
  EXPECT_NE(many.err.find("10001 great circles"), std::string::npos) << many.err;
  EXPECT_NE(many.err.find("--contour --hide-data"), std::string::npos) << many.err;
  EXPECT_GT(testing::read_file("many.svg").size(), 100000u);
  for (const std::vector<std::string>& quiet :
       {std::vector<std::string>{"plot", "-o", "enough.ps", "enough.csv"},
        std::vector<std::string>{"plot", "--planes", "poles", "-o", "poles.ps", "many.csv"},
        std::vector<std::string>{"plot", "--contour", "--hide-data", "-o", "d.ps", "many.csv"}})
    EXPECT_EQ(run_cli(quiet).err, "") << quiet[quiet.size() - 2];
}

}  // namespace
}  // namespace polarsketch::cli
