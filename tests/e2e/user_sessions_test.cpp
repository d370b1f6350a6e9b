// Sessions as a user runs them across components: the driver settings kept
// from one run to the next, the plot size types and the rescaling of type 1
// as they reach the page, the draw-frame flag at a new page, the new-page
// choices and the label placement of each projection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "e2e/session.hpp"

namespace polarsketch::e2e {
namespace {

// Answers to the plot opening: keep the driver settings, keep the file name.
const std::string kOpen = "\n\n";
// Quit with the plot open, confirming its closing.
const std::string kQuitClosing = "9999\n\n";

std::string file_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::size_t count_of(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// Runs the program once more in the directory of an earlier session, so that
// the files that session left (the settings file) are there.
std::string run_again(const SessionResult& earlier, const std::string& script) {
  const std::filesystem::path dir = earlier.directory;
  {
    std::ofstream in(dir / "input2.txt", std::ios::binary);
    in << script;
  }
  const std::string cmd = "cd '" + dir.string() +
                          "' && timeout 30 '" POLARSKETCH_BINARY
                          "' < input2.txt > output2.txt 2> errors2.txt";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  return file_text(dir / "output2.txt");
}

// The first path of the page after the run information: the primitive
// circle, whose first point lies on the +X axis at the net's radius.
std::string first_path_start(const std::string& ps) {
  const std::size_t at = ps.find("newpath\n");
  if (at == std::string::npos) return {};
  const std::size_t from = at + 8;
  return ps.substr(from, ps.find('\n', from) - from);
}

TEST(UserSessions, SettingsChangedInTheDialogAreOfferedInTheNextRun) {
  // No to the defaults; no overlay, 2 copies, landscape A4, dialect 1.
  const SessionResult first = run_session("\n10\nn\nn\n2\nla4\n1\n\n" + kQuitClosing);
  ASSERT_EQ(first.status, 0);
  const std::string ini = file_text(first.directory / "quill7_ini.txt");
  EXPECT_EQ(ini.substr(0, ini.find('\n')), "  F   2 LA4  1");
  EXPECT_NE(first.output.find(" quill7_ini.txt updated or created\n"), std::string::npos);

  const std::string out = run_again(first, "\n10\n" + kOpen + kQuitClosing);
  EXPECT_NE(out.find(" # Copies   =   2\n System     = Landscape A4\n"
                     " PostScript = Compressed          \n"),
            std::string::npos);
  EXPECT_EQ(out.find("updated or created"), std::string::npos);  // read, not rewritten
  const std::string ps = file_text(first.directory / "polar_sketch.ps");
  EXPECT_NE(ps.find("% Initialize coordinate system and scales\n/#copies   2 def\n"
                    " 595 0 translate 90 rotate\n"),
            std::string::npos);
}

TEST(UserSessions, PlotSizeTypeAndRescalingSetTheNetOnThePage) {
  // Centre 10.5 cm, 12 cm; radius 8, 3 and 7 cm; then type 1 moved to
  // 5 cm, 10 cm with radius 4 cm by command 13 before the plot is opened.
  const struct {
    const char* script;
    const char* start;
  } cases[] = {
      {"\n10\n\n\n", "524.48 340.20 moveto"},
      {"\n11\n2\n10\n\n\n", "382.73 340.20 moveto"},
      {"\n11\n3\n10\n\n\n", "496.12 340.20 moveto"},
      {"\n13\ny\n5\n10\n4\n\n\n4\n10\n\n\n", "255.15 283.50 moveto"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const SessionResult r = run_session(std::string(c.script) + kQuitClosing);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(first_path_start(file_text(r.directory / "polar_sketch.ps")), c.start);
  }
}

TEST(UserSessions, NewPageDrawsTheFrameOnlyWhileTheFlagIsOn) {
  const SessionResult r = run_session("\n10\n" + kOpen + "41\nn\n19\n0\n" + kQuitClosing);
  EXPECT_EQ(r.status, 0);
  const std::string ps = file_text(r.directory / "polar_sketch.ps");
  EXPECT_EQ(count_of(ps, "%%Page:"), 2u);
  EXPECT_EQ(count_of(ps, "(Main program polarsketch"), 2u);
  EXPECT_EQ(count_of(ps, "(North)"), 1u);
  EXPECT_EQ(count_of(ps, "newpath"), 43u);  // circle, two diameters, 40 ticks
}

TEST(UserSessions, NewPageChoicesOneAndTwo) {
  // 1: the file is closed and "Next_plot" opened with its own dialog.
  const SessionResult next = run_session("\n10\n" + kOpen + "19\n1\n\n" + kOpen + kQuitClosing);
  EXPECT_EQ(next.status, 0);
  const std::string first = file_text(next.directory / "polar_sketch.ps");
  const std::string second = file_text(next.directory / "Next_plot");
  for (const std::string* ps : {&first, &second}) {
    EXPECT_EQ(count_of(*ps, "%%Page:"), 1u);
    EXPECT_EQ(count_of(*ps, "(North)"), 1u);
    EXPECT_EQ(ps->substr(ps->size() - 19), "%%Pages:   1\n%%EOF\n");
  }
  // A name typed at the new file's prompt is taken whole, not cut to the
  // length of "Next_plot".
  const SessionResult named =
      run_session("\n10\n" + kOpen + "19\n1\n\n\nsecond_page_file.ps\n" + kQuitClosing);
  EXPECT_EQ(named.status, 0);
  EXPECT_TRUE(std::filesystem::exists(named.directory / "second_page_file.ps"));
  EXPECT_FALSE(std::filesystem::exists(named.directory / "second_pa"));
  // 2: the page goes on; the preparation draws onto it again.
  const SessionResult same = run_session("\n10\n" + kOpen + "19\n2\n" + kQuitClosing);
  EXPECT_EQ(same.status, 0);
  const std::string ps = file_text(same.directory / "polar_sketch.ps");
  EXPECT_EQ(count_of(ps, "%%Page:"), 1u);
  EXPECT_EQ(count_of(ps, "(Main program polarsketch"), 2u);
}

TEST(UserSessions, FrameLabelsFollowTheProjectionAxes) {
  // Retrograde axes (2, 4): North centred above the circle, East beside its
  // right end; direct axes (1, 3): the two swap places.
  const std::string above = "297.68 589.68 moveto\n14 /Helvetica findfont exch scalefont setfont\n";
  const std::string right = "547.16 333.11 moveto\n14 /Helvetica findfont exch scalefont setfont\n";
  for (int proj = 1; proj <= 4; ++proj) {
    SCOPED_TRACE(proj);
    const SessionResult r =
        run_session("\n30\n" + std::to_string(proj) + "\n10\n" + kOpen + kQuitClosing);
    EXPECT_EQ(r.status, 0);
    const std::string ps = file_text(r.directory / "polar_sketch.ps");
    const bool retrograde = proj % 2 == 0;
    EXPECT_NE(ps.find(above + (retrograde ? "(North)\n" : "(East)\n")), std::string::npos);
    EXPECT_NE(ps.find(right + (retrograde ? "(East) show\n" : "(North) show\n")),
              std::string::npos);
  }
}

}  // namespace
}  // namespace polarsketch::e2e
