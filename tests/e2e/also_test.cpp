// `polarsketch --also`: every plot file gets its PDF, SVG and PNG siblings
// when it is closed; the session and the plot file are those of a run
// without the option.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "e2e/session.hpp"
#include "render/images.hpp"

namespace polarsketch::e2e {
namespace {

// A net on page 1 and a plane on page 2 of net2.ps.
const std::string kTwoPages = "\n18\nnet2.ps\n600\n\n\n19\n0\n200\n20\n\n9999\n";

std::set<std::string> files_in(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.insert(e.path().filename().string());
  return names;
}

TEST(AlsoOption, WritesSiblingsOfEveryPageAndChangesNothingElse) {
  const SessionResult plain = run_session(kTwoPages);
  const SessionResult also = run_session(kTwoPages, 30, "--also pdf,svg,png");
  ASSERT_EQ(also.status, 0);
  EXPECT_EQ(mask_session(also.output), mask_session(plain.output));
  EXPECT_EQ(mask_clock(read_file(also.directory / "net2.ps")),
            mask_clock(read_file(plain.directory / "net2.ps")));
  const std::set<std::string> common{"input.txt", "output.txt", "errors.txt", "quill7_ini.txt",
                                     "net2.ps"};
  EXPECT_EQ(files_in(plain.directory), common);
  std::set<std::string> with_siblings = common;
  with_siblings.insert({"net2.pdf", "net2.svg", "net2-2.svg", "net2-1.png", "net2-2.png"});
  EXPECT_EQ(files_in(also.directory), with_siblings);
  EXPECT_EQ(read_file(also.directory / "errors.txt"), "");

  if (!testing::run_quietly("command -v gs && command -v pdftoppm && command -v rsvg-convert"))
    GTEST_SKIP() << "a viewer is missing";
  // Page 1 cropped to the net and its labels plus 2 mm, against the plot
  // file on A4 without the run information above 27 cm.
  testing::Picture ps = testing::render_postscript(also.directory / "net2.ps");
  const int header_rows = static_cast<int>((29.7 - 27.0) / 2.54 * 100.0);
  std::fill(ps.ink.begin(), ps.ink.begin() + header_rows * ps.width, false);
  const testing::Picture pdf = testing::render_pdf(also.directory / "net2.pdf");
  const testing::Picture svg = testing::render_svg(also.directory / "net2.svg");
  const testing::InkBox ink = testing::ink_box(ps);
  const double margin = 2.0 / 25.4 * 100.0;
  for (const auto& [name, picture] : {std::pair{"PDF", &pdf}, std::pair{"SVG", &svg}}) {
    SCOPED_TRACE(name);
    const testing::InkBox b = testing::ink_box(*picture);
    EXPECT_NEAR(b.left, margin, 2.0);
    EXPECT_NEAR(b.top, margin, 2.0);
    // The page: the ink plus the margin on each side, give or take cairo's
    // whole-point rounding of the ink's extent.
    EXPECT_NEAR(picture->width, ink.width() + 2.0 * margin, 3.0);
    EXPECT_NEAR(picture->height, ink.height() + 2.0 * margin, 3.0);
    testing::compare_ink(ps, *picture, std::string("standard net ") + name);
  }
  for (const char* page : {"net2.svg", "net2-2.svg"})
    EXPECT_TRUE(testing::run_quietly("xmllint --noout " + testing::quoted(also.directory / page)))
        << page;
  // PNG at 150 dpi: one and a half times the 100 dpi picture.
  const testing::Picture png = testing::load_picture(also.directory / "net2-1.png");
  EXPECT_NEAR(png.width, 1.5 * pdf.width, 2.0);
  EXPECT_NEAR(png.height, 1.5 * pdf.height, 2.0);
}

TEST(AlsoOption, PageGivesTheWholePageRunInformationIncluded) {
  const SessionResult r = run_session(kTwoPages, 30, "--also png --page");
  ASSERT_EQ(r.status, 0);
  const testing::Picture png = testing::load_picture(r.directory / "net2-1.png");
  // A4 at 150 dpi, and ink within 2 cm of the top: the run information.
  EXPECT_NEAR(png.width, 595.0 / 72.0 * 150.0, 2.0);
  EXPECT_NEAR(png.height, 842.0 / 72.0 * 150.0, 2.0);
  EXPECT_LT(testing::ink_box(png).top, 2.0 / 2.54 * 150.0);
}

TEST(AlsoOption, APlotFileNamedLikeASiblingIsKept) {
  const SessionResult r = run_session("\n18\nfig.pdf\n200\n\n\n20\n\n9999\n", 30, "--also pdf,svg");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(read_file(r.directory / "fig.pdf").substr(0, 2), "%!");
  EXPECT_TRUE(std::filesystem::exists(r.directory / "fig.svg"));
  EXPECT_EQ(read_file(r.directory / "errors.txt"),
            "polarsketch: not writing fig.pdf: it is the plot file itself\n");
}

TEST(AlsoOption, AnUnknownFormatIsAUsageError) {
  const SessionResult r = run_session("", 30, "--also pdf,gif");
  EXPECT_EQ(r.status, 64);
  EXPECT_EQ(r.output, "");
}

}  // namespace
}  // namespace polarsketch::e2e
