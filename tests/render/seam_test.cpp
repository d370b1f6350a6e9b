// The device seam: the calls a device receives for a small drawing made
// through the plot library, with the attributes of the plot records.
#include "render/seam.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "math/angles.hpp"
#include "plot/primitives.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "render/recording_device.hpp"
#include "support/test_support.hpp"

namespace polarsketch::render {
namespace {

using plot::plt1blk;
using plot::plt2blk;

// Records reset, user units equal to device units, the recording device installed.
class Recording {
 public:
  Recording() {
    math::trigoset();
    postscript::reset_postscript();
    plot::reset_plot_records();
    plot::reset_pltbuff1();
    plt1blk.isubplot = 1;
    plt1blk.ustode(1, 1, 1) = 1.0f;
    plt1blk.ustode(2, 2, 1) = 1.0f;
    previous_ = use_device(&device_);
  }
  ~Recording() { use_device(previous_); }
  const std::vector<std::string>& calls() const { return device_.calls; }

 private:
  testing::RecordingDevice device_;
  Device* previous_ = nullptr;
};

TEST(DeviceSeam, SmallDrawingReachesTheDeviceWithItsAttributes) {
  testing::ConsoleCapture console;
  Recording rec;
  plt2blk.loncolor = true;
  plt2blk.red(2) = 100.0f;
  plt2blk.blue(3) = 50.0f;
  plt2blk.ilinecolor = 2;
  plt2blk.itxtcolor = 3;
  plt2blk.ifillcolor = 3;
  plt2blk.ifillstyle = 1;
  plt2blk.isymbtype = -4;  // a filled square
  plt2blk.symbsize = 4.0f;
  plt1blk.rcmtode = 1.0f;
  plt1blk.cmtode(1, 1) = 1.0f;
  plt1blk.cmtode(2, 2) = 1.0f;
  plt2blk.itxtjust = -6;  // centred, half a height down; the blanks are not shown
  plt2blk.txtangle = 30.0f;
  postscript::psparams.ipsfont = 7;
  postscript::psparams.pstxtheight = 12.5f;
  plt2blk.itxtfont = 7;  // the text style comes from the plot, not the driver
  set_text_height(12.5f);

  plot_opened();
  set_line_width(2.0f);
  const float x[3] = {1.0f, 2.0f, 3.0f};
  const float y[3] = {4.0f, 5.0f, 4.0f};
  plot::usline(x, y, 3);
  plot::ussymbol(x, y, 1);
  plot::ustext2(10.0f, 20.0f, "  Pole  ");
  plt2blk.loncolor = false;  // black and white: black lines, gray fills
  plot::usline(x, y, 2);
  plot_new_page();
  plot_closed();

  const std::vector<std::string> want{
      "begin_page 1 portrait",
      "line_width 2",
      "polyline 1,4 2,5 3,4 rgb 1 0 0",
      "filled polygon 1,6 -1,4 1,2 3,4 1,6 fill 0 0 0.5 edge 1 0 0",
      "text (Pole) at 10,20 Times-Italic size 12 height 12.5 angle 30 align -6 rgb 0 0 0.5",
      "polyline 1,4 2,5 rgb 0 0 0",
      "end_page",
      "begin_page 2 portrait",
      "end_page",
  };
  // Symbol vertices come from single-precision sines: printed to 6 digits
  // they are the square's corners.
  EXPECT_EQ(rec.calls(), want);
}

TEST(DeviceSeam, TeeSendsEveryCallToBothDevicesInOrder) {
  testing::RecordingDevice a, b;
  TeeDevice tee(a, b);
  const Point p[2] = {{0, 0}, {1, 1}};
  tee.begin_page(1, Orientation::landscape_a4);
  tee.line_width(3);
  tee.polyline(p, {});
  tee.polygon(p, false, {}, {});
  tee.text({2, 2}, "x", TextStyle{"Courier", 10, 10, 0, 0, {}});
  tee.end_page();
  EXPECT_EQ(a.calls.size(), 6u);
  EXPECT_EQ(a.calls, b.calls);
}

}  // namespace
}  // namespace polarsketch::render
