// `polarsketch plot -o` with a figure's extension: each format written,
// cropped to the ink plus 2 mm (or the whole page with --page), and the
// encapsulated file's box checked by rendering it within that box.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_run.hpp"
#include "postscript/ps_test_support.hpp"
#include "render/images.hpp"

namespace polarsketch::cli {
namespace {

using testing::read_file;

const std::string kPlanes = "dipdir,dip\n120,30\n300,60\n45,80\n";
constexpr double kMargin = 2.0 / 25.4 * 100.0;  // 2 mm at 100 dpi

TEST(PlotFigures, EachExtensionWritesItsFormatCroppedToTheInk) {
  testing::ScratchDir dir;
  testing::write_file("planes.csv", kPlanes);
  for (const char* name : {"net.ps", "net.eps", "net.pdf", "net.svg", "net.png", "page.pdf"}) {
    std::vector<std::string> args{"--net", "10", "-o", name, "planes.csv"};
    if (std::string(name) == "page.pdf") args.push_back("--page");
    ASSERT_EQ(plot(args), 0) << name;
  }
  EXPECT_EQ(read_file("net.eps").substr(0, 24), "%!PS-Adobe-3.0 EPSF-3.0\n");
  EXPECT_EQ(read_file("net.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(read_file("net.png").substr(1, 3), "PNG");
  for (const auto& e : std::filesystem::directory_iterator("."))
    EXPECT_NE(e.path().extension(), ".part") << "a temporary file is left";

  if (!testing::run_quietly("command -v gs && command -v pdftoppm && command -v rsvg-convert"))
    GTEST_SKIP() << "a viewer is missing";
  const testing::Picture ps = testing::render_postscript("net.ps");
  const testing::InkBox ink = testing::ink_box(ps);
  // The encapsulated file's box, rendered as the page: the ink plus 2 mm.
  testing::run_quietly(
      "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r100 -sOutputFile=eps.png "
      "net.eps");
  const struct {
    const char* what;
    testing::Picture picture;
  } figures[] = {{"EPS", testing::load_picture("eps.png")},
                 {"PDF", testing::render_pdf("net.pdf")},
                 {"SVG", testing::render_svg("net.svg")}};
  for (const auto& f : figures) {
    SCOPED_TRACE(f.what);
    testing::compare_ink(ps, f.picture, std::string("plot -o ") + f.what);
    const testing::InkBox b = testing::ink_box(f.picture);
    EXPECT_NEAR(b.left, kMargin, 2.0);
    EXPECT_NEAR(b.top, kMargin, 2.0);
    EXPECT_NEAR(f.picture.width, ink.width() + 2.0 * kMargin, 3.0);
    EXPECT_NEAR(f.picture.height, ink.height() + 2.0 * kMargin, 3.0);
  }
  // PNG at 150 dpi; the whole A4 page with --page, the ink where Ghostscript puts it.
  const testing::Picture png = testing::load_picture("net.png");
  EXPECT_NEAR(png.width, 1.5 * figures[1].picture.width, 2.0);
  const testing::Picture page = testing::render_pdf("page.pdf");
  EXPECT_NEAR(page.width, ps.width, 1);
  EXPECT_NEAR(page.height, ps.height, 1);
  EXPECT_NEAR(testing::ink_box(page).left, ink.left, 2);
  EXPECT_NEAR(testing::ink_box(page).top, ink.top, 2);
}

TEST(PlotFigures, ContourBandsAndStatisticsMatchThePlotFile) {
  if (!testing::run_quietly("command -v gs && command -v pdftoppm")) GTEST_SKIP() << "no viewer";
  testing::ScratchDir dir;
  const std::string data = std::string(POLARSKETCH_SOURCE_DIR) + "/examples/fold_bedding.csv";
  for (const char* name : {"bands.ps", "bands.pdf"})
    ASSERT_EQ(
        run_cli({"plot", "--contour", "--stats", "--planes", "poles", "-o", name, data}).status, 0);
  testing::compare_ink(testing::render_postscript("bands.ps"), testing::render_pdf("bands.pdf"),
                       "contour bands PDF");
}

TEST(PlotFigures, ALandscapePageIsWideWithTheDrawingUpright) {
  testing::ScratchDir dir;
  testing::write_file("planes.csv", kPlanes);
  for (const char* name : {"land.ps", "land.png", "land.pdf", "page.pdf"}) {
    std::vector<std::string> args{"--landscape", "a4", "-o", name, "planes.csv"};
    if (std::string(name) == "page.pdf") args.push_back("--page");
    ASSERT_EQ(plot(args), 0) << name;
  }
  // The net with its legend beside it is wider than tall once upright.
  const testing::Picture png = testing::load_picture("land.png");
  EXPECT_GT(png.width, png.height);

  if (!testing::run_quietly("command -v gs && command -v pdftoppm")) GTEST_SKIP() << "no viewer";
  // Ghostscript shows the plot file's sheet with the drawing's top to the left.
  const testing::Picture upright =
      testing::turned_clockwise(testing::render_postscript("land.ps"));
  testing::compare_ink(upright, testing::render_pdf("land.pdf"), "landscape PDF");
  const testing::Picture page = testing::render_pdf("page.pdf");
  EXPECT_NEAR(page.width, upright.width, 1);
  EXPECT_NEAR(page.height, upright.height, 1);
  testing::compare_ink(upright, page, "landscape page");
  EXPECT_NEAR(testing::ink_box(page).left, testing::ink_box(upright).left, 2);
  EXPECT_NEAR(testing::ink_box(page).top, testing::ink_box(upright).top, 2);
}

TEST(PlotFigures, DpiSetsThePngResolution) {
  testing::ScratchDir dir;
  testing::write_file("planes.csv", kPlanes);
  ASSERT_EQ(plot({"--dpi", "72", "--page", "-o", "a.png", "planes.csv"}), 0);
  const testing::Picture p = testing::load_picture("a.png");
  EXPECT_EQ(p.width, 595);
  EXPECT_EQ(p.height, 842);
}

}  // namespace
}  // namespace polarsketch::cli
