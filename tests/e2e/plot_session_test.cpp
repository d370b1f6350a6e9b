// Sessions that open, draw into and close the plot file: the main loop's
// handling of the plot across quitting and early ends, and the example scripts.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "e2e/session.hpp"

namespace polarsketch::e2e {
namespace {

// Answers to the plot opening: keep the driver settings, keep the file name.
const std::string kOpen = "\n\n";
// Answer to the closing question.
const std::string kClose = "\n";

std::string file_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Checks that the lines appear in the text in this order (each one a whole
// console line); reports the first that is missing.
void expect_in_order(const std::string& text, const std::vector<std::string>& lines) {
  std::size_t at = 0;
  for (const auto& l : lines) {
    const std::size_t found = text.find("\n " + l + "\n", at == 0 ? 0 : at - 1);
    if (found == std::string::npos) {
      ADD_FAILURE() << "missing, or out of order: \"" << l << "\"";
      return;
    }
    at = found + l.size() + 2;
  }
}

std::size_t count_of(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// The plot file is complete (ends with its trailer) and renders without error.
void expect_complete_and_renderable(const std::filesystem::path& ps) {
  ASSERT_TRUE(std::filesystem::exists(ps)) << ps;
  const std::string text = file_text(ps);
  EXPECT_GE(text.size(), 6u);
  EXPECT_EQ(text.substr(text.size() - 6), "%%EOF\n") << ps;
  if (std::system("command -v gs > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "Ghostscript is not installed";
  }
  const std::string cmd = "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=nullpage '" + ps.string() +
                          "' > '" + ps.string() + ".gs.txt' 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << file_text(ps.string() + ".gs.txt");
}

// The plot file with the run's date and time masked.
std::string plot_file(const SessionResult& r, const std::string& name = "polar_sketch.ps") {
  return mask_clock(file_text(r.directory / name));
}

TEST(EndToEndPlot, QuitWithAnOpenPlotClosesItBeforeTheConfirmation) {
  // 999 closes the plot, 0 cancels the quit; 19 then finds no plot and does
  // nothing; 9999 quits without a second closing.
  const SessionResult r = run_session("\n10\n" + kOpen + "999\n" + kClose + "0\n19\n9999\n");
  EXPECT_EQ(r.status, 0);
  const std::string out = mask_session(r.output);
  expect_in_order(
      out, {"New value =            10", "@ subroutine intplinit  ", "New value =           999",
            "@ subroutine plend      ", "The PostScript plot file is closed",
            "Enter 999 to confirm quit", "New value =             0", "@ subroutine polarsketch",
            "New value =            19", "@ subroutine polarsketch", "New value =          9999",
            "SEE YOU LATER ..."});
  EXPECT_EQ(count_of(out, "@ subroutine plend"), 1u);
  EXPECT_EQ(count_of(out, "@ subroutine newpage"), 0u);
  expect_complete_and_renderable(r.directory / "polar_sketch.ps");
}

TEST(EndToEndPlot, FastQuitWithAnOpenPlotClosesIt) {
  const SessionResult r = run_session("\n10\n" + kOpen + "9999\n" + kClose);
  EXPECT_EQ(r.status, 0);
  expect_in_order(mask_session(r.output), {"New value =          9999", "@ subroutine plend      ",
                                           "The PostScript plot file is closed",
                                           "@ PROGRAM polarsketch", "SEE YOU LATER ..."});
  expect_complete_and_renderable(r.directory / "polar_sketch.ps");
}

TEST(EndToEndPlot, DrawingCommandAsQuitAnswerOpensThePlotAndDraws) {
  // 200 typed at the quit confirmation draws the same page as 200 typed at
  // the menu: the plot is opened and prepared first.
  const SessionResult direct = run_session("\n200\n" + kOpen + "9999\n" + kClose);
  const SessionResult as_answer = run_session("\n999\n200\n" + kOpen + "9999\n" + kClose);
  EXPECT_EQ(direct.status, 0);
  EXPECT_EQ(as_answer.status, 0);
  expect_in_order(mask_session(as_answer.output),
                  {"Enter 999 to confirm quit", "New value =           200",
                   "@ subroutine intplinit  ", "The PostScript plot file is closed"});
  EXPECT_EQ(plot_file(as_answer), plot_file(direct));
  const SessionResult frame_only = run_session("\n10\n" + kOpen + "9999\n" + kClose);
  EXPECT_NE(plot_file(direct), plot_file(frame_only));  // the plane was drawn
  expect_complete_and_renderable(as_answer.directory / "polar_sketch.ps");
}

TEST(EndToEndPlot, UnknownNumberInTheDrawingRangeOpensAndPreparesOnly) {
  const SessionResult unknown = run_session("\n150\n" + kOpen + "9999\n" + kClose);
  const SessionResult open = run_session("\n10\n" + kOpen + "9999\n" + kClose);
  EXPECT_EQ(unknown.status, 0);
  EXPECT_EQ(plot_file(unknown), plot_file(open));
  // A quit answer outside the drawing range opens nothing.
  const SessionResult cancelled = run_session("\n999\n10\n9999\n");
  EXPECT_EQ(cancelled.status, 0);
  EXPECT_FALSE(std::filesystem::exists(cancelled.directory / "polar_sketch.ps"));
}

TEST(EndToEndPlot, EndOfInputWithAnOpenPlotCompletesTheFile) {
  const SessionResult r = run_session("\n18\nearly.ps\n600\n" + kOpen);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.output.substr(r.output.size() - 39), " ===> END OF INPUT: STOPPING EXECUTION\n");
  expect_complete_and_renderable(r.directory / "early.ps");
}

TEST(EndToEndPlot, StopAfterAnErrorCompletesTheFileWithStatus1) {
  // A singular scale matrix typed at command 13 while the plot is open: the
  // user declines to resume.
  const SessionResult r = run_session("\n10\n" + kOpen + "13\ny\n\n\n0\n0\n0\n0\nn\n");
  EXPECT_EQ(r.status, 1);
  expect_in_order(mask_session(r.output), {"RESUME ?", "New value =  No",
                                           "EXECUTION STOPPED BY USER", "AFTER RECOVERABLE ERROR"});
  expect_complete_and_renderable(r.directory / "polar_sketch.ps");
}

TEST(EndToEndPlot, SingularScaleMatrixResumedKeepsTheRunGoing) {
  // The same mistyped matrix, resumed with the default answer: the run goes
  // on, draws a plane and quits normally.
  const SessionResult r =
      run_session("\n10\n" + kOpen + "13\ny\n\n\n0\n0\n0\n0\n\n200\n9999\n" + kClose);
  EXPECT_EQ(r.status, 0);
  expect_in_order(mask_session(r.output),
                  {"=> Cannot Invert B", "RESUME ?", "New value =  Yes", "RESUMING EXECUTION",
                   "New value =           200", "SEE YOU LATER ..."});
  expect_complete_and_renderable(r.directory / "polar_sketch.ps");
}

TEST(EndToEndPlot, NewPageWithAnOpenPlotPreparesTheNextPage) {
  // New page (choice 0) redraws the run information and the frame on page 2.
  const SessionResult r = run_session("\n10\n" + kOpen + "19\n0\n9999\n" + kClose);
  EXPECT_EQ(r.status, 0);
  const std::string ps = plot_file(r);
  EXPECT_EQ(count_of(ps, "%%Page:"), 2u);
  EXPECT_EQ(count_of(ps, "(Main program polarsketch"), 2u);
  EXPECT_EQ(count_of(ps, "(North)"), 2u);
  expect_complete_and_renderable(r.directory / "polar_sketch.ps");
}

TEST(EndToEndPlot, SettingsMenusOpenFromTheMainMenu) {
  // 30 projection (keep 4), 40 axis symbols (leave), 42 great-circle points
  // (leave), 13 rescaling of type 1 (alter: xx = 5), then 13 again shows it.
  const std::string script = "\n30\n\n40\n\n42\n\n11\n2\n13\ny\n\n\n5\n\n\n\n13\nn\n9999\n";
  const SessionResult r = run_session(script);
  EXPECT_EQ(r.status, 0);
  const std::string out = mask_session(r.output);
  expect_in_order(
      out,
      {"STEREOGRAPHIC PROJECTION SET UP", "Enter projection number", "STEREOPLOT AXIS SYMBOLS",
       "      GREAT CIRCLES PARAMETERS: ", "New value =             2",
       "          CONVERSION SET UP               ", "|xcm|   |  8.000   0.000|   |xu|   | 10.500|",
       "Do you want to alter this ?", "Enter xx", "          CONVERSION SET UP               ",
       "|xcm|   |  5.000   0.000|   |xu|   | 10.500|"});
}

TEST(EndToEndExamples, EveryExampleRunsToAQuitAndItsPlotRenders) {
  const std::filesystem::path dir = std::filesystem::path(POLARSKETCH_SOURCE_DIR) / "examples";
  const std::pair<const char*, const char*> examples[] = {
      {"standard_net.txt", "standard_net.ps"},
      {"polar_net.txt", "polar_net.ps"},
      {"plane_axis_slip.txt", "plane_axis_slip.ps"},
  };
  for (const auto& [script, plot] : examples) {
    SCOPED_TRACE(script);
    const SessionResult r = run_session(file_text(dir / script));
    EXPECT_EQ(r.status, 0);
    const std::string out = mask_session(r.output);
    // Every answer was taken as meant: no error or warning frame.
    EXPECT_EQ(out.find("ERROR "), std::string::npos) << out;
    EXPECT_EQ(count_of(out, "WARNING"), std::string(script) == "plane_axis_slip.txt" ? 1u : 0u);
    EXPECT_NE(out.find("SEE YOU LATER ..."), std::string::npos);
    expect_complete_and_renderable(r.directory / plot);
  }
}

}  // namespace
}  // namespace polarsketch::e2e
