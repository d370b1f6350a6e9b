// Layer: the stereonet's frame (primitive, ticks, North) over the data.
#include "stereonet/frame.hpp"

#include "figure/layers.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

// The North and East labels' height, cm: the legend's, whatever the layers
// below left set, so that every page's labels match.
constexpr float kDirectionText = 0.35f;

}  // namespace

void draw_frame(const Page&, Sheet&) {
  use_color(kBlack);
  plot::stextsize(kDirectionText, 1);
  stereonet::repstereo();
}

}  // namespace polarsketch::figure
