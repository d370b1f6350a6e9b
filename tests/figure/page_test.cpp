// The figure room on its own: a page given as values, with every layer,
// written in each format of the table (a new format is tested here without
// a change), or refused whole when its file cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "figure/output.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::figure {
namespace {

Page page_with_every_layer() {
  Page page;
  data::DataSet lines;
  lines.kind = data::Kind::lines;
  for (int i = 0; i < 12; ++i) lines.lines.push_back({200.0 + 3 * i, 30.0 + 2 * i});
  page.density = density_layer({lines}, {}, {}, page.projection);
  page.statistics = {analysis::compute_statistics(lines.unit_vectors())};
  page.sets.push_back({lines, "lines.csv", "12 lines"});
  page.net_step = 30;
  return page;
}

TEST(FigurePage, EachFormatOfTheTableIsWrittenOrLeavesNoFile) {
  const testing::ScratchDir dir;
  Page page = page_with_every_layer();
  for (const FigureFormat& format : figure_formats()) {
    page.format = &format;
    const std::string name = "page." + std::string(format.extension);
    const Written ok = write_page(page, name);
    EXPECT_TRUE(ok.ok()) << name << ": " << ok.why;
    EXPECT_GT(std::filesystem::file_size(name), 1000u) << name;

    const std::string unwritable = "no_such_folder/" + name;
    const Written failed = write_page(page, unwritable);
    EXPECT_EQ(failed.failure, Written::Failure::cannot_write) << name;
    EXPECT_NE(failed.why.find(unwritable), std::string::npos) << failed.why;
  }
  EXPECT_FALSE(std::filesystem::exists("no_such_folder"));
}

}  // namespace
}  // namespace polarsketch::figure
