// Layer: "Equal-area, lower hemisphere" above the net's upper right, so that
// a page says what it shows (an upper-hemisphere plot looks like a lower one),
// with the direction at the centre of a net centred off the vertical.
#include <algorithm>
#include <cstdio>
#include <string>

#include "figure/layers.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kCaptionText = 0.35f;  // cm, as the legend's
constexpr float kCaptionInset = 1.0f;  // caption's right end past the net's, cm

// "090", "045.5": whole degrees in `digits` digits, up to two decimals.
std::string padded(double degrees, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", degrees);
  std::string text = buffer;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  const std::size_t whole = std::min(text.find('.'), text.size());
  if (whole < static_cast<std::size_t>(digits))
    text.insert(0, static_cast<std::size_t>(digits) - whole, '0');
  return text;
}

// ", centred on 090/30" for a net centred off the vertical, and where north
// is when it is not on the hemisphere shown; empty for the ordinary net.
std::string view_caption(const Page& page) {
  const std::optional<analysis::Matrix3> r =
      page.view ? analysis::view_rotation(*page.view) : std::nullopt;
  if (!r) return "";
  std::string text = ", centred on " + padded(page.view->trend, 3) + "/" +
                     padded(page.view->plunge, 2);
  if (analysis::north_mark(*r, page.hemisphere).far_side)
    text += " (north on the far side, S marked)";
  return text;
}

}  // namespace

void draw_caption(const Page& page, Sheet& sheet) {
  const NetPlacement& net = sheet.net;
  const std::string projection =
      page.projection == Projection::equal_area ? "Equal-area" : "Equal-angle";
  const std::string hemisphere = page.hemisphere == Hemisphere::lower ? "lower" : "upper";
  const std::string view = view_caption(page);
  use_color(kBlack);
  plot::stextsize(kCaptionText, 1);
  plot::stextalign(-7, 1);  // right end, middle of the height
  plot::cmtext2(net.x_cm + net.radius_cm + kCaptionInset, net.y_cm + net.radius_cm + kAboveNet,
                projection + ", " + hemisphere + " hemisphere" + view);
}

}  // namespace polarsketch::figure
