// The PostScript device: the driver's operators behind the device interface.
#include "render/postscript_device.hpp"

#include <cstdint>

#include "postscript/document.hpp"
#include "postscript/operators.hpp"

namespace polarsketch::render {

void PostScriptDevice::begin_page(int number, Orientation /*orientation*/) {
  if (number > 1) postscript::intnewpage();
}

void PostScriptDevice::line_width(double width) {
  postscript::intslinewidth(static_cast<float>(width));
}

void PostScriptDevice::load(std::span<const Point> points) {
  x_.resize(points.size());
  y_.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    x_[i] = static_cast<float>(points[i].x);
    y_[i] = static_cast<float>(points[i].y);
  }
}

void PostScriptDevice::polyline(std::span<const Point> points, const Rgb& /*colour*/) {
  load(points);
  postscript::deline(x_.data(), y_.data(), static_cast<std::int32_t>(points.size()));
}

void PostScriptDevice::polygon(std::span<const Point> points, bool /*filled*/, const Rgb& /*fill*/,
                               const Rgb& /*edge*/) {
  load(points);
  postscript::depolygon(x_.data(), y_.data(), static_cast<std::int32_t>(points.size()));
}

void PostScriptDevice::text(Point at, std::string_view text, const TextStyle& /*style*/) {
  auto x = static_cast<float>(at.x);
  auto y = static_cast<float>(at.y);
  postscript::detext2(x, y, text);
}

}  // namespace polarsketch::render
