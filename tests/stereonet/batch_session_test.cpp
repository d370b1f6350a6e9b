// The batch session: the library's warnings and errors as typed messages,
// and sessions that draw alike however many run in one process.
#include "stereonet/batch_session.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"
#include "math/vectors.hpp"
#include "plot/primitives.hpp"
#include "render/cairo_device.hpp"
#include "stereonet/frame.hpp"
#include "support/test_support.hpp"

namespace polarsketch::stereonet {
namespace {

TEST(BatchSession, EachWarningOrErrorBecomesOneTypedMessage) {
  BatchSession session("polarsketch", "11.3", "2026-01-01");
  // Frames printed by the console's frame routines...
  console::submenuhead("sspro");
  console::put_line(6, "a menu line is no message");
  console::menutail();
  console::warninghead("stextsize");
  console::put_line(6, "TEXT SIZE OUT OF RANGE:");
  console::put_line(6, " txtheight =  0.00");
  console::warningtail00();
  console::errorhead("psend");
  console::put_line(6, "COULD NOT WRITE FILE out.ps");
  console::errortail00();
  // ... and a typed report from below the console, its numbers in their fields.
  const float x = 2.0f, y = 0.0f, z = 0.0f;
  float az = 0.0f, pl = 0.0f;
  math::cc2lln(&az, &pl, &x, &y, &z, 1);

  EXPECT_EQ(session.messages(),
            (std::vector<std::string>{
                "warning in stextsize: TEXT SIZE OUT OF RANGE:; txtheight =  0.00",
                "error in psend: COULD NOT WRITE FILE out.ps",
                "warning in cc2lln: Expecting unitary V = (Vx,Vy,Vz); Loop final   index =      1; "
                "Loop current index =      1; Vx =   2.0000 Vy =   0.0000 Vz =   0.0000; "
                "||V|| =   2.0000; V is not unitary; ==> Normalizing it to 1"}));
  const std::vector<report::Message> typed = session.reports();
  ASSERT_EQ(typed.size(), 3u);
  EXPECT_EQ(typed[1].level, report::Level::error);
  EXPECT_EQ(typed[2].where, "cc2lln");
  EXPECT_EQ(typed[2].lines[4], report::Line().text("||V|| = ").fixed(2.0f, 8, 4));
}

TEST(BatchSession, AFrameLeftOpenByAStopIsStillReported) {
  BatchSession session("polarsketch", "11.3", "2026-01-01");
  float v = 5.0f;
  std::int32_t ierr = 0;
  // Gravity 2 asks whether to resume: the session has no answer and stops.
  EXPECT_EQ(testing::stop_status([&] { console::crevin2("v", v, 0.0f, 1.0f, "spron", 2, ierr); }),
            console::kExitEndOfInput);
  const std::vector<std::string> m = session.messages();
  ASSERT_EQ(m.size(), 1u) << m.back();
  EXPECT_EQ(m[0].rfind("error in crevin: Problem in subroutine: spron; v = ", 0), 0u) << m[0];
  EXPECT_NE(m[0].find("; ==> RESET v =        1.000000; RECOVERABLE ERROR ==> RESUMING"),
            std::string::npos)
      << m[0];
}

// The same small drawing: the net's frame and a caption.
void draw_frame_and_caption() {
  repstereo();
  plot::cmtext2(2.0f, 2.0f, "Pole (test)");
}

std::string file_text(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(BatchSession, SessionsInARowDrawTheSamePage) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  postscript::DriverSettings driver;
  driver.sys = "LA4";
  std::string plot_files[2];
  render::Box boxes[2];
  for (int run = 0; run < 2; ++run) {
    const std::filesystem::path p = dir / ("batch_run" + std::to_string(run) + ".ps");
    {
      BatchSession session("polarsketch", "11.3", "2026-01-01");
      ASSERT_TRUE(session.open(p.string(), "runs", driver));
      draw_frame_and_caption();
      ASSERT_TRUE(session.close());
      EXPECT_TRUE(session.messages().empty());
    }
    plot_files[run] = file_text(p);
    std::filesystem::remove(p);

    // On a device of its own, the session writes no plot file at all.
    render::CairoDevice figure;
    {
      BatchSession session("polarsketch", "11.3", "2026-01-01");
      session.open_on(figure, render::Orientation::landscape_a4);
      draw_frame_and_caption();
    }
    ASSERT_EQ(figure.page_count(), 1);
    boxes[run] = figure.page_box(0, {});
  }
  EXPECT_NE(plot_files[0].find("Pole \\(test\\)"), std::string::npos);
  EXPECT_EQ(plot_files[0], plot_files[1]);
  EXPECT_GT(boxes[0].width, 100.0);  // the frame's ink, not an empty page
  EXPECT_EQ(boxes[0].x, boxes[1].x);
  EXPECT_EQ(boxes[0].y, boxes[1].y);
  EXPECT_EQ(boxes[0].width, boxes[1].width);
  EXPECT_EQ(boxes[0].height, boxes[1].height);
  EXPECT_EQ(console::iocom.lop, false);
}

}  // namespace
}  // namespace polarsketch::stereonet
