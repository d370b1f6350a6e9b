// Opening files on units with the retry dialog, and the host, user, time and
// date texts.
#include "console/files.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "console/stop.hpp"
#include "console/units.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::testing {
namespace {

using console::opef2;

std::size_t count_lines(const std::vector<std::string>& lines, const std::string& l) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), l));
}

class Opef2 : public ::testing::Test {
 protected:
  void TearDown() override { console::reset_units(); }
  ScratchDir dir_;
  ConsoleCapture cap_;
};

TEST_F(Opef2, OpensAndShowsTheOpeningFrame) {
  std::string name = fit_text("plot.ps", 20);
  opef2(name, "postcript plot", 50, "unknown", 1);
  EXPECT_TRUE(console::is_file_open(50));
  EXPECT_TRUE(std::filesystem::exists("plot.ps"));
  EXPECT_EQ(count_lines(cap_.lines(), " OPENING postcript plot FILE"), 1u);
  EXPECT_EQ(name.size(), 20u);
}

TEST_F(Opef2, InteractiveRetryKeepsTheFailedNameAsDefault) {
  // keep the name, pause, keep it again, pause, then a name that works
  cap_.set_input("\n\n\n\nplot.ps\n");
  std::string name = fit_text("nodir/plot.ps", 20);
  opef2(name, "postcript plot", 50, "unknown", 0);
  EXPECT_EQ(name, fit_text("plot.ps", 20));
  EXPECT_TRUE(console::is_file_open(50));
  const auto l = cap_.lines();
  EXPECT_EQ(count_lines(l, " COULD NOT OPEN FILE nodir/plot.ps       "), 2u);
  EXPECT_EQ(count_lines(l, " ===> RETRYING"), 2u);
  EXPECT_EQ(count_lines(l, " OPENING postcript plot FILE"), 3u);
  EXPECT_EQ(count_lines(l, " Enter postcript plot file name"), 3u);
}

TEST_F(Opef2, NonInteractiveFailureStopsTheRun) {
  cap_.set_input("\n");
  std::string name = fit_text("nodir/plot.ps", 15);
  try {
    opef2(name, "postcript plot", 50, "unknown", 1);
    FAIL() << "returned without an open file";
  } catch (const console::OrderlyStop& s) {
    EXPECT_EQ(s.status, console::kExitError);
  }
  const auto l = cap_.lines();
  EXPECT_EQ(count_lines(l, " COULD NOT OPEN FILE nodir/plot.ps  "), 1u);
  EXPECT_EQ(count_lines(l, " for unit =   50"), 1u);
  EXPECT_EQ(count_lines(l, " ===> STOPPING EXECUTION"), 1u);
  EXPECT_EQ(count_lines(l, " ===> RETRYING"), 0u);
}

TEST_F(Opef2, OtherFlagsRetryOnceThenStop) {
  cap_.set_input("\n\n");
  std::string name = "nodir/plot.ps";
  try {
    opef2(name, "colour table", 20, "old", 3);
    FAIL() << "returned without an open file";
  } catch (const console::OrderlyStop& s) {
    EXPECT_EQ(s.status, console::kExitError);
  }
  const auto l = cap_.lines();
  EXPECT_EQ(count_lines(l, " ===> RETRYING"), 1u);
  EXPECT_EQ(count_lines(l, " ===> STOPPING EXECUTION"), 1u);
  EXPECT_EQ(count_lines(l, " Enter colour table file name"), 0u);
}

TEST_F(Opef2, NamesAreOpenedWithoutTrailingBlanksAndCarriageReturn) {
  std::string name = "plot.ps\r   ";
  opef2(name, "postcript plot", 50, "unknown", 1);
  EXPECT_TRUE(std::filesystem::exists("plot.ps"));
  EXPECT_EQ(console::file_name_to_open("a b \r \r"), "a b");
}

TEST_F(Opef2, EmptyNamesAndWrongStatusesFail) {
  for (const auto& [fname, stat] : {std::pair<std::string, std::string>{"        ", "unknown"},
                                    {"absent.txt", "old"},
                                    {"there.txt", "new"}}) {
    SCOPED_TRACE(fname + stat);
    write_file("there.txt", "x\n");
    cap_.set_input("\n");
    std::string name = fname;
    EXPECT_THROW(opef2(name, "test", 20, stat, 1), console::OrderlyStop);
  }
  std::string name = "there.txt";
  opef2(name, "test", 20, "old", 1);
  std::string line;
  EXPECT_TRUE(console::read_line(20, line, console::OnEnd::report));
  EXPECT_EQ(line, "x");
}

TEST(SystemQueries, HostAndUserAreTheSystemNamesCutOrPadded) {
  struct Case {
    const char* host;
    const char* user;
    const char* host25;
    const char* user10;
  };
  const Case cases[] = {
      {"node7", "ana", "node7                    ", "ana       "},
      {"a-very-long-host-name.example.org", "geologist-on-duty", "a-very-long-host-name.exa",
       "geologist-"},
      {"", "", "WindowsOS-ix86           ", "Windows us"},  // the system gave none
      {"tab\there", "new\nline", "tab?here                 ", "new?line  "},
  };
  for (const Case& c : cases) {
    FixedNames names(c.host, c.user);
    std::string h(25, '?');
    console::hostname(h);
    EXPECT_EQ(h, c.host25);
    std::string u(10, '?');
    console::username(u);
    EXPECT_EQ(u, c.user10);
  }
  FixedNames names("node7", "ana");
  FixedText<4> f;
  console::hostname(f);
  EXPECT_EQ(f.str(), "node");
}

TEST(SystemQueries, TimeAndDateHaveLeadingZeros) {
  FixedClock clock(2010, 2, 3, 9, 5, 7);
  std::string t(8, ' ');
  console::c8time(t);
  EXPECT_EQ(t, "09:05:07");
  std::string d(10, ' ');
  console::c10date(d);
  EXPECT_EQ(d, "2010-02-03");
  FixedClock late(987, 12, 31, 23, 59, 0);
  console::c10date(d);
  EXPECT_EQ(d, "0987-12-31");
}

}  // namespace
}  // namespace polarsketch::testing
