// Layer: "Equal-area, lower hemisphere" above the net's upper right, so that
// a page says what it shows (an upper-hemisphere plot looks like a lower one).
#include <string>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kCaptionText = 0.35f;  // cm, as the legend's
constexpr float kCaptionInset = 1.0f;  // caption's right end past the net's, cm

}  // namespace

void draw_caption(const Page& page, Sheet& sheet) {
  const NetPlacement& net = sheet.net;
  const std::string projection =
      page.projection == Projection::equal_area ? "Equal-area" : "Equal-angle";
  const std::string hemisphere = page.hemisphere == Hemisphere::lower ? "lower" : "upper";
  use_color(kBlack);
  plot::stextsize(kCaptionText, 1);
  plot::stextalign(-7, 1);  // right end, middle of the height
  plot::cmtext2(net.x_cm + net.radius_cm + kCaptionInset, net.y_cm + net.radius_cm + kAboveNet,
                projection + ", " + hemisphere + " hemisphere");
}

}  // namespace polarsketch::figure
