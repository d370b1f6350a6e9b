// Layer: the stereonet's frame (primitive, ticks, North) over the data.
#include "stereonet/frame.hpp"

#include "figure/layers.hpp"

namespace polarsketch::figure {

void draw_frame(const Page&, Sheet&) {
  use_color(kBlack);
  stereonet::repstereo();
}

}  // namespace polarsketch::figure
