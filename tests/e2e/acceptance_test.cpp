// Acceptance sessions: what the drawing commands print on the console, run
// as a user runs the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/session.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::e2e {
namespace {

// Answers to the plot opening (keep the driver settings and the file name)
// and to the closing question.
const std::string kOpen = "\n\n";
const std::string kClose = "\n";

// The echo of a command at the menu, the lines it prints, then the next menu:
// nothing else may come between.
std::string command_block(long long command, const Expected& printed) {
  Expected e;
  e.line("New value =  " + rjust(command, 12)).line(std::string(42, '.'));
  return e.text() + printed.text() + " " + std::string(43, '@') + "\n @ subroutine polarsketch\n";
}

TEST(AcceptanceSession, SmallCircleCommandsPrintTheirParameters) {
  // A negative azimuth, a one-digit half angle and a final angle wider than
  // the usual three digits, each right-aligned in 8 columns with 2 decimals.
  const SessionResult r = run_session("\n60\n-123.456\n63\n5\n64\n\n1e3\n10\n" + kOpen +
                                      "400\n500\n20\n" + kClose + "9999\n");
  EXPECT_EQ(r.status, 0);
  const std::string out = mask_session(r.output);

  Expected cone;
  cone.line("Axis azimuth =  -123.46")
      .line("Axis plunge  =    45.00")
      .line("1/2 angle    =     5.00");
  EXPECT_NE(out.find(command_block(400, cone)), std::string::npos) << out;

  Expected arc = cone;
  arc.line("intial angle =    90.00")
      .line("final  angle =  1000.00")
      .line("N.B: initial & final angles from dip")
      .line("     lower sphere in [90,270]");
  EXPECT_NE(out.find(command_block(500, arc)), std::string::npos) << out;
}

std::size_t count_of(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

TEST(AcceptanceSession, EveryDrawingCommandInOneRunInEachDialect) {
  // A plane, an axis, a slip, a cone and an arc on the first page, then each
  // stereonet after a new page (the quadrangle and the limited net share the
  // last), close, quit: the run ends normally and the file is complete.
  for (int ips = 1; ips <= 3; ++ips) {
    SCOPED_TRACE(ips);
    const std::string open = "n\n\n\n\n" + std::to_string(ips) + "\n\n";
    const std::string script = "\n200\n" + open +
                               "100\n\n"    // axis after the axis-symbol menu
                               "300\n\n\n"  // slip: menu, then the one-point notice
                               "400\n500\n19\n0\n600\n19\n0\n601\n19\n0\n602\n603\n"
                               "20\n" +
                               kClose + "999\n\n";
    const SessionResult r = run_session(script);
    EXPECT_EQ(r.status, 0);
    const std::string out = mask_session(r.output);
    EXPECT_EQ(out.find("ERROR "), std::string::npos) << out;
    EXPECT_EQ(count_of(out, "WARNING"), 1u) << out;  // the slip's one-point notice
    EXPECT_EQ(count_of(out, "@ subroutine plend"), 1u);
    EXPECT_NE(out.find("SEE YOU LATER ..."), std::string::npos);

    const std::string ps = detail::read_file(r.directory / "polar_sketch.ps");
    // Written in the dialect chosen in the driver's dialog.
    EXPECT_EQ(ps.find("/L {lineto} def") != std::string::npos, ips == 1);
    EXPECT_EQ(ps.find(" lineto\n") != std::string::npos, ips == 2);
    EXPECT_EQ(ps.find("Adobe_Illustrator881 /terminate") != std::string::npos, ips == 3);
    // Three page breaks; dialect 3 has no page line for its first page.
    EXPECT_EQ(count_of(ps, "\n%%Page:"), ips == 3 ? 3u : 4u);
    EXPECT_EQ(count_of(ps, "gsave showpage"), 3u);
    ASSERT_GE(ps.size(), 6u);
    EXPECT_EQ(ps.substr(ps.size() - 6), "%%EOF\n");
    EXPECT_RENDERS((r.directory / "polar_sketch.ps").string(), ips);
  }
}

}  // namespace
}  // namespace polarsketch::e2e
