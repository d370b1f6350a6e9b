// `stats` and `plot --stats --contour` through cli::run: the CSV columns,
// the table on standard error, every density method drawn and rendered,
// the density grid written, and the options that do not fit together.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;
using testing::ScratchDir;
using testing::split_lines;
using testing::write_file;

const std::string kFold = std::string(POLARSKETCH_SOURCE_DIR) + "/examples/fold_bedding.csv";

TEST(AnalysisCli, StatsCsvHasTheHeaderAndOneLinePerDataSet) {
  ScratchDir dir;
  write_file("lines.csv", "trend,plunge\n0,0\n0,90\n");
  // Poles in the east-west vertical plane: a vertical girdle about a
  // horizontal north-south axis.
  write_file("a,b.csv", "dipdir,dip\n90,10\n90,50\n270,30\n");
  const CliRun r = run_cli({"stats", "--csv", "lines.csv", "a,b.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = split_lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0],
            "file,kind,n,mean_trend,mean_plunge,R,k,alpha95,s1,s2,s3,v1_trend,v1_plunge,v2_trend,"
            "v2_plunge,v3_trend,v3_plunge,K,C,girdle_dipdir,girdle_dip,bingham_k2,bingham_k3,"
            "ellipse_v2,ellipse_v3");
  // Equal eigenvalues leave v1 and v2 undefined; a line has no girdle.
  EXPECT_EQ(lines[1], "lines.csv,lines,2,0.00,45.00,1.41421,1.70711,,0.5,0.5,0,,,,,90.00,0.00,,,,,,,,");
  EXPECT_EQ(lines[2].rfind("\"a,b.csv\",planes,3,", 0), 0u) << lines[2];
  EXPECT_NE(lines[2].find(",0.00,0.00,,,180.00,90.00"), std::string::npos) << lines[2];
}

TEST(AnalysisCli, PlotStatsDrawsAndPrintsTheTable) {
  ScratchDir dir;
  const CliRun table = run_cli({"stats", kFold});
  const CliRun plain = run_cli({"plot", "-o", "plain.ps", kFold});
  const CliRun drawn = run_cli({"plot", "--stats", "all", "-o", "stats.ps", kFold});
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_EQ(drawn.err, table.out);
  EXPECT_NE(table.out.find("  beta axis             60.27 / 14.72"), std::string::npos)
      << table.out;
  // The mean, its cone, three eigenvectors and the girdle add to the page.
  EXPECT_GT(read_file("stats.ps").size(), read_file("plain.ps").size() + 2000);
  // Each eigenvector's label stands on a white patch, readable over the darkest band.
  const std::string ps = read_file("stats.ps");
  for (const std::string label : {"(1) show", "(2) show", "(3) show"}) {
    const std::size_t at = ps.find(label);
    ASSERT_NE(at, std::string::npos) << label;
    const std::size_t patch = ps.rfind("1.000  1.000  1.000 setrgbcolor fill", at);
    EXPECT_TRUE(patch != std::string::npos && at - patch < 200) << label;
  }
  EXPECT_RENDERS("stats.ps", 2);
}

TEST(AnalysisCli, EveryMethodIsContouredWithItsLegendAndGrid) {
  ScratchDir dir;
  for (const std::string method : {"exp-kamb", "kamb", "linear-kamb", "schmidt"}) {
    const CliRun r = run_cli({"plot", "--contour", method, "--density-out", "grid.csv", "-o",
                              "c.ps", "--hide-data", "--dialect", "1", kFold});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string ps = read_file("c.ps");
    EXPECT_NE(ps.find("(Density " + method), std::string::npos) << method;
    EXPECT_RENDERS("c.ps", 1);
    // Nodes spread evenly over the equal-area net: their mean is the
    // hemisphere's mean density, 1 MUD.
    const std::vector<std::string> rows = split_lines(read_file("grid.csv"));
    ASSERT_GT(rows.size(), 30000u);
    EXPECT_EQ(rows[0], "trend,plunge,density");
    double sum = 0;
    for (std::size_t i = 1; i < rows.size(); ++i)
      sum += std::stod(rows[i].substr(rows[i].rfind(',') + 1));
    EXPECT_NEAR(sum / static_cast<double>(rows.size() - 1), 1.0, 0.03) << method;
  }
}

TEST(AnalysisCli, GivenLevelsAndUnitsReachTheLegend) {
  ScratchDir dir;
  // The list takes one argument: the FILE after it stays a FILE.
  const CliRun r = run_cli({"plot", "--contour", "kamb", "--units", "sigma", "--sigma", "2",
                            "-o", "k.ps", "--levels", "6, 2,4", kFold});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string ps = read_file("k.ps");
  EXPECT_NE(ps.find("(Density kamb, sigma 2, sigma \\(n = 40\\)) show"), std::string::npos);
  for (const std::string band : {"(2 - 4) show", "(4 - 6) show", "(>= 6) show"})
    EXPECT_NE(ps.find(band), std::string::npos) << band;
  // The Illustrator dialect has no fill colours: the contours are lines only.
  ASSERT_EQ(run_cli({"plot", "--contour", "--dialect", "3", "-o", "i.ps", kFold}).status, 0);
  EXPECT_RENDERS("i.ps", 3);
  // "--contour FILE" takes the default method and keeps FILE.
  write_file("l.csv", "trend,plunge\n10,20\n30,40\n");
  const CliRun d = run_cli({"plot", "--contour", "l.csv"});
  EXPECT_EQ(d.status, 0) << d.err;
  EXPECT_NE(read_file("l.ps").find("(Density exp-kamb"), std::string::npos);
}

TEST(AnalysisCli, ConeAcrossThePrimitiveContinuesOnTheFarSide) {
  ScratchDir dir;
  // Subhorizontal lines about 090/04: a cone of 6.7 degrees crosses the horizontal.
  write_file("l.csv", "trend,plunge\n90,0\n80,5\n100,5\n90,10\n95,0\n85,2\n");
  ASSERT_EQ(run_cli({"plot", "--stats", "l.csv"}).status, 0);
  constexpr double kCx = 10.5 * 28.35, kCy = 12.0 * 28.35, kR = 8.0 * 28.35;  // portrait net
  std::size_t west = 0;
  // The long paths are the primitive and the cone's runs: none leaves the net.
  for (const auto& path : testing::drawn_paths(split_lines(read_file("l.ps")))) {
    if (path.size() <= 20) continue;  // symbols, ticks, axes
    for (const auto& [x, y] : path)
      EXPECT_LE(std::hypot(static_cast<double>(x) - kCx, static_cast<double>(y) - kCy), kR + 0.1);
    if (static_cast<double>(path.front().first) < kCx - 0.9 * kR) ++west;
  }
  EXPECT_EQ(west, 1u);  // the cone's part above the horizontal, drawn at its lower ends
}

// The height (points) at which the text "(text)" is written: the moveto before it.
double text_y(const std::string& ps, const std::string& text) {
  const std::size_t at = ps.find("(" + text + ")");
  if (at == std::string::npos) return -1;
  const std::size_t move = ps.rfind(" moveto", at);
  const std::size_t line = ps.rfind('\n', move) + 1;
  return std::stod(ps.substr(ps.find(' ', line) + 1, move));
}

TEST(AnalysisCli, CaptionAndDensityLegendStandByTheNet) {
  ScratchDir dir;
  constexpr double kNetTop = 20.0 * 28.35, kCm = 28.35;  // portrait net: centre 12 cm, radius 8
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "Equal-area, lower hemisphere"},
      {{"--projection", "equal-angle", "--hemisphere", "upper"}, "Equal-angle, upper hemisphere"},
  };
  for (const auto& [options, caption] : cases) {
    std::vector<std::string> args{"plot", "--contour", "--levels", "1,2,3", "-o", "n.ps", kFold};
    args.insert(args.end(), options.begin(), options.end());
    ASSERT_EQ(run_cli(args).status, 0);
    const std::string ps = read_file("n.ps");
    // Just above the net, clear of its ticks: the caption and the legend's
    // last row; the title three rows higher, well inside the page.
    for (const std::string& text : {caption, std::string("1 - 2")}) {
      EXPECT_GT(text_y(ps, text), kNetTop + 0.5 * kCm) << text;
      EXPECT_LT(text_y(ps, text), kNetTop + 1.2 * kCm) << text;
    }
    EXPECT_NEAR(text_y(ps, "Density exp-kamb, sigma 3, MUD \\(n = 40\\)"),
                text_y(ps, "1 - 2") + 3 * 0.5 * kCm, 0.1);
  }
}

TEST(AnalysisCli, OptionsThatDoNotFitAreUsageErrors) {
  ScratchDir dir;
  write_file("l.csv", "trend,plunge\n10,20\n");
  struct Case {
    std::vector<std::string> args;
    std::string says;
  };
  const Case cases[] = {
      {{"--sigma", "2"}, "--sigma needs --contour"},
      {{"--density-out", "d.csv"}, "--density-out needs --contour"},
      {{"--contour", "schmidt", "--units", "sigma"}, "no sigma units"},
      {{"--contour", "--sigma", "0"}, "--sigma"},
      {{"--contour", "--sigma", "1e300"}, "--sigma"},
      {{"--contour", "--levels", "2,x"}, "--levels '2,x': 'x' is not a number"},
      {{"--contour", "--levels", "2,,4"}, "--levels '2,,4': '' is not a number"},
      {{"--contour", "--levels", "-1,2"}, "--levels '-1,2': '-1' is not above 0"},
      {{"--contour", "typo"},
       "polarsketch plot: --contour: 'typo' is not a method (exp-kamb, kamb, linear-kamb, "
       "schmidt) nor a file (see"},
      {{"--contour", "--units", "percent"}, "--units"},
      // An output over a measurement file or over the other output.
      {{"--contour", "--density-out", "l.csv"}, "--density-out 'l.csv' would overwrite the input"},
      {{"--contour", "--density-out", "l.ps"}, "--density-out 'l.ps' is the plot file too"},
      {{"-o", "./m.ps", "m.ps"}, "the plot file './m.ps' would overwrite the input file"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"plot"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("l.csv");
    const CliRun r = run_cli(args);
    EXPECT_EQ(r.status, 64) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists("l.ps")) << c.says;
  }
  EXPECT_EQ(read_file("l.csv"), "trend,plunge\n10,20\n");
}

}  // namespace
}  // namespace polarsketch::cli

namespace polarsketch::cli {
namespace {

TEST(AnalysisCli, StatsConeFitsAConeAcrossThePrimitiveAndAppendsItsColumns) {
  // Lines 40 degrees about 030/10, every 45 degrees round it (030/50 turned
  // about the axis), stored by their lower ends: three crossed the primitive.
  const std::string data =
      "trend,plunge\n30,50\n63.9360,35.4953\n70.4325,7.6443\n238.6091,18.3362\n"
      "210,30\n181.3909,18.3362\n349.5675,7.6443\n356.0640,35.4953\n";
  const CliRun plain = run_cli({"stats", "--csv", "-"}, data);
  const CliRun cone = run_cli({"stats", "--csv", "--cone", "-"}, data);
  ASSERT_EQ(cone.status, 0) << cone.err;
  const std::vector<std::string> a = split_lines(plain.out), b = split_lines(cone.out);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0], a[0] +
                      ",cone_trend,cone_plunge,cone_half_angle,cone_rms,great_pole_trend,"
                      "great_pole_plunge,great_rms,cone_F,cone_p,cone_better");
  EXPECT_EQ(b[1].substr(0, a[1].size() + 19), a[1] + ",30.00,10.00,40.00,") << b[1];
  const CliRun table = run_cli({"stats", "--cone", "-"}, data);
  EXPECT_NE(table.out.find("  cone axis             30.00 / 10.00\n"), std::string::npos)
      << table.out;
}

}  // namespace
}  // namespace polarsketch::cli

namespace polarsketch::cli {
namespace {

TEST(AnalysisCli, PlotConeFitDrawsTheConeAndRenders) {
  ScratchDir dir;
  write_file("cone.csv", "trend,plunge\n30,50\n90,20\n330,20\n0,10\n60,35\n");
  const CliRun plain = run_cli({"plot", "-o", "plain.ps", "cone.csv"});
  const CliRun fit = run_cli({"plot", "--cone-fit", "-o", "fit.ps", "cone.csv"});
  ASSERT_EQ(fit.status, 0) << fit.err;
  EXPECT_EQ(fit.err, "");
  EXPECT_GT(read_file("fit.ps").size(), read_file("plain.ps").size() + 1000);
  EXPECT_RENDERS("fit.ps", 1);
}

}  // namespace
}  // namespace polarsketch::cli
