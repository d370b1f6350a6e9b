// plot's presentation through cli::run: the North and East labels' size
// under every layer, the --stats choices and their key, --name and --title,
// and the warnings and legend of contouring.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

const std::string kExamples = std::string(POLARSKETCH_SOURCE_DIR) + "/examples/";
const std::string kFold = kExamples + "fold_bedding.csv";      // planes in a girdle
const std::string kLines = kExamples + "lineations.csv";       // lines in a cluster
const std::string kFaults = kExamples + "quarry_faults.csv";  // slips

// The font size the text "(text)" is set in: the scalefont before it.
std::string font_of(const std::string& ps, const std::string& text) {
  const std::size_t at = ps.find("(" + text + ")");
  if (at == std::string::npos) return "none";
  const std::size_t font = ps.rfind(" /Helvetica findfont", at);
  const std::size_t line = ps.rfind('\n', font) + 1;
  return ps.substr(line, font - line);
}

TEST(PresentationCli, NorthAndEastKeepTheirSizeUnderEveryLayer) {
  ScratchDir dir;
  const std::vector<std::vector<std::string>> layers = {
      {kFold},
      {"--stats", "all", kFold},
      {"--contour", "--planes", "poles", kFold},
      {"--label", "label", kFold},
      {"--cone-fit", "--net", "10", "--polar-net", "10", kFold},
      {"--slope", "120/60", kFold},
      {"--pt", "b", "--stress", "--dihedra", kFaults},
      {"--title", "T", "--run-info", "--stats", "--contour", kLines, kFold},
  };
  for (const auto& options : layers) {
    std::vector<std::string> args{"plot", "-o", "n.ps"};
    args.insert(args.end(), options.begin(), options.end());
    const CliRun r = run_cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string ps = read_file("n.ps");
    EXPECT_EQ(font_of(ps, "North"), "9") << args[3];
    EXPECT_EQ(font_of(ps, "East"), "9") << args[3];
  }
}

TEST(PresentationCli, StatsDrawsTheChosenMarksOrThoseOfTheShapeWithAKey) {
  ScratchDir dir;
  // The key's rows as the PostScript strings write them.
  const std::string mean = "mean direction", cone = "95 % cone of the mean \\(Fisher\\)",
                    eigen = "eigenvectors 1, 2, 3",
                    girdle = "girdle \\(best-fit great circle\\), beta axis",
                    ellipse = "95 % confidence ellipse about 1 \\(Bingham\\)";
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> keys;
  } cases[] = {
      {{"--stats", kFold}, {girdle}},        // a girdle: K < 1
      {{"--stats", kLines}, {mean, cone}},   // a cluster: K > 1
      {{"--stats", "mean,eigen", kLines}, {mean, eigen}},
      {{"--stats", "bingham", kLines}, {ellipse}},
      {{"--stats", "all", kLines}, {mean, cone, eigen, girdle, ellipse}},
      {{"--stats", kLines, kFold}, {mean, cone, girdle}},  // each set by its own shape
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"plot", "-o", "s.ps"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun r = run_cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string ps = read_file("s.ps");
    for (const std::string& key : {mean, cone, eigen, girdle, ellipse}) {
      const bool wanted = std::find(c.keys.begin(), c.keys.end(), key) != c.keys.end();
      EXPECT_EQ(ps.find("(" + key + ")") != std::string::npos, wanted) << c.args[1] << ": " << key;
    }
    EXPECT_EQ(ps.find("(3) show") != std::string::npos, c.args[1].find("eigen") != std::string::npos ||
                                                          c.args[1] == "all");
    EXPECT_RENDERS("s.ps", 2);
  }
  const CliRun bad = run_cli({"plot", "--stats", "mean,cones", kLines});
  EXPECT_EQ(bad.status, 64);
  EXPECT_NE(bad.err.find("'mean,cones' is not a list of mean, cone, eigen"), std::string::npos)
      << bad.err;
}

TEST(PresentationCli, EigenvectorLabelsCoverNoPoleAndNoOtherLabel) {
  ScratchDir dir;
  ASSERT_EQ(run_cli({"plot", "--stats", "eigen", "--planes", "poles", "-o", "e.ps", kFold}).status, 0);
  // Each label's white patch: the four corners before "(k) show", points.
  const std::vector<std::string> lines = testing::split_lines(read_file("e.ps"));
  std::vector<std::array<double, 4>> boxes;  // left, bottom, right, top
  for (std::size_t i = 8; i < lines.size(); ++i) {
    if (lines[i] != "(1) show" && lines[i] != "(2) show" && lines[i] != "(3) show") continue;
    std::array<double, 4> b{1e9, 1e9, -1e9, -1e9};
    for (std::size_t k = i - 11; k <= i - 8; ++k) {
      const double x = std::stod(lines[k]), y = std::stod(lines[k].substr(lines[k].find(' ')));
      b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), std::max(b[3], y)};
    }
    boxes.push_back(b);
  }
  ASSERT_EQ(boxes.size(), 3u);
  for (std::size_t a = 0; a < 3; ++a)
    for (std::size_t b = a + 1; b < 3; ++b)
      EXPECT_TRUE(boxes[a][2] <= boxes[b][0] || boxes[b][2] <= boxes[a][0] ||
                  boxes[a][3] <= boxes[b][1] || boxes[b][3] <= boxes[a][1])
          << a << " " << b;
  // The poles by the equal-area projection (planes by strike, right-hand
  // rule): none of their 1.25 mm discs reaches into a label.
  constexpr double kCm = 28.35, kDeg = std::numbers::pi / 180;
  std::istringstream file(read_file(kFold));
  std::size_t poles = 0;
  for (std::string row; std::getline(file, row);) {
    if (row.empty() || row[0] == '#' || row[0] == 's') continue;
    const double strike = std::stod(row), dip = std::stod(row.substr(row.find(',') + 1));
    const double trend = strike + 270, r = std::sqrt(2.0) * std::sin(dip / 2 * kDeg);
    const double x = 10.5 * kCm + 8 * kCm * r * std::sin(trend * kDeg);
    const double y = 12.0 * kCm + 8 * kCm * r * std::cos(trend * kDeg);
    ++poles;
    for (const auto& b : boxes) {
      const double dx = std::max({b[0] - x, 0.0, x - b[2]}), dy = std::max({b[1] - y, 0.0, y - b[3]});
      EXPECT_GT(std::hypot(dx, dy), 0.125 * kCm - 0.5) << row;
    }
  }
  EXPECT_EQ(poles, 40u);
}

TEST(PresentationCli, NamesReplaceFileNamesOneEachAndTheTitleStandsAboveAll) {
  ScratchDir dir;
  const CliRun r = run_cli({"plot", "--name", "Bedding", "--name", "L1", "--title", "Site (4)",
                            "--contour", "--stats", "all", "-o", "t.ps", kFold, kLines});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string ps = read_file("t.ps");
  EXPECT_NE(ps.find("(Bedding \\(40 planes\\))"), std::string::npos);
  EXPECT_NE(ps.find("(L1 \\(25 lines\\))"), std::string::npos);
  EXPECT_EQ(ps.find("fold_bedding.csv"), std::string::npos);
  // The contour pools both sets and says so, by their names.
  EXPECT_NE(ps.find("(2 sets pooled: Bedding, L1)"), std::string::npos);
  // The title's baseline above every other text on the page.
  const std::size_t title = ps.find("(Site \\(4\\))");
  ASSERT_NE(title, std::string::npos);
  const auto y_before = [&ps](std::size_t at) {
    const std::size_t move = ps.rfind(" moveto", at);
    const std::size_t line = ps.rfind('\n', move) + 1;
    return std::stod(ps.substr(ps.find(' ', line) + 1, move));
  };
  for (const std::string other : {"(Density ", "(mean direction)", "(95 % confidence", "(North)"})
    EXPECT_GT(y_before(title), y_before(ps.find(other)) + 10) << other;
  EXPECT_RENDERS("t.ps", 2);

  // One name for two files, and three for two: each wrong usage.
  for (const CliRun& wrong : {run_cli({"plot", "--name", "A", kFold, kLines}),
                              run_cli({"plot", "--name", "A", "--name", "B", "--name", "C", kFold,
                                       kLines})}) {
    EXPECT_EQ(wrong.status, 64);
    EXPECT_NE(wrong.err.find("time(s) for 2 file(s); give one --name per file"), std::string::npos)
        << wrong.err;
  }
}

TEST(PresentationCli, ContouringFewerThanTenWarnsAndDrawsAnyway) {
  ScratchDir dir;
  write_file("few.csv", "trend,plunge\n10,20\n12,25\n15,30\n200,10\n");
  const CliRun few = run_cli({"plot", "--contour", "-o", "few.ps", "few.csv"});
  EXPECT_EQ(few.status, 0);
  EXPECT_NE(few.err.find("4 measurement(s) contoured; a density of fewer than 10 is not meaningful"),
            std::string::npos)
      << few.err;
  EXPECT_NE(read_file("few.ps").find("(Density "), std::string::npos);
  const CliRun enough = run_cli({"plot", "--contour", "-o", "enough.ps", kLines});
  EXPECT_EQ(enough.err, "");
  EXPECT_EQ(read_file("enough.ps").find("pooled"), std::string::npos);  // one set: nothing pooled
}

TEST(PresentationCli, OutlinedSymbolsAreFilledWhiteOverTheBandsOnly) {
  ScratchDir dir;
  // The second set's symbols are outlined triangles: 25 lines.
  const auto white_fills = [](const std::string& ps) {
    std::size_t n = 0;
    for (std::size_t at = ps.find("1.000  1.000  1.000 setrgbcolor fill"); at != std::string::npos;
         at = ps.find("1.000  1.000  1.000 setrgbcolor fill", at + 1))
      ++n;
    return n;
  };
  ASSERT_EQ(plot({"--contour", "--planes", "poles", "-o", "bands.ps", kFold, kLines}), 0);
  ASSERT_EQ(plot({"--planes", "poles", "-o", "plain.ps", kFold, kLines}), 0);
  EXPECT_EQ(white_fills(read_file("bands.ps")), 25u);  // one under each triangle
  EXPECT_EQ(white_fills(read_file("plain.ps")), 0u);
}

TEST(PresentationCli, SymbolSizeOptionSetsTheDrawnSymbols) {
  ScratchDir dir;
  write_file("one.csv", "trend,plunge\n90,90\n");  // one symbol at the net's centre
  ASSERT_EQ(plot({"--symbol-size", "5", "-o", "one.ps", "one.csv"}), 0);
  std::size_t found = 0;
  for (const auto& path : testing::drawn_paths(testing::split_lines(read_file("one.ps")))) {
    auto [left, right] = std::minmax_element(path.begin(), path.end());
    const double middle = 0.5 * static_cast<double>(left->first + right->first);
    const double width = static_cast<double>(right->first - left->first);
    if (std::abs(middle - 10.5 * 28.35) < 1 && std::abs(width - 5 / 25.4 * 72) < 0.3) ++found;
  }
  EXPECT_EQ(found, 1u);
  EXPECT_EQ(run_cli({"plot", "--symbol-size", "0", "one.csv"}).status, 64);
}

}  // namespace
}  // namespace polarsketch::cli
