// The batch session's report of the library's warning and error frames.
#include "stereonet/batch_session.hpp"

#include <gtest/gtest.h>

#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"
#include "support/test_support.hpp"

namespace polarsketch::stereonet {
namespace {

TEST(BatchSession, EachWarningOrErrorFrameBecomesOneLine) {
  testing::ConsoleCapture console;
  console::iocom.lcrerr = false;
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
  EXPECT_EQ(
      frame_messages(console.text()),
      (std::vector<std::string>{"warning in stextsize: TEXT SIZE OUT OF RANGE:; txtheight =  0.00",
                                "error in psend: COULD NOT WRITE FILE out.ps"}));
}

}  // namespace
}  // namespace polarsketch::stereonet
