// A device that passes on to another only the drawing below a height on the
// page: a figure of the net and its labels from a page that also carries a
// header high above them. A shape or text wholly above the line is left
// out; one that reaches below it is passed whole.
#pragma once

#include <algorithm>

#include "render/device.hpp"

namespace polarsketch::render {

class BandDevice final : public Device {
 public:
  // `below`: points above the paper's foot.
  BandDevice(Device& next, double below) : next_(next), below_(below) {}

  void begin_page(int number, Orientation orientation) override {
    next_.begin_page(number, orientation);
  }
  void end_page() override { next_.end_page(); }
  void line_width(double width) override { next_.line_width(width); }
  void polyline(std::span<const Point> points, const Rgb& colour) override {
    if (reaches_band(points)) next_.polyline(points, colour);
  }
  void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
               const Rgb& edge) override {
    if (reaches_band(points)) next_.polygon(points, filled, fill, edge);
  }
  void text(Point at, std::string_view text, const TextStyle& style) override {
    if (at.y < below_) next_.text(at, text, style);
  }

 private:
  bool reaches_band(std::span<const Point> points) const {
    return std::any_of(points.begin(), points.end(),
                       [this](const Point& p) { return !(p.y >= below_); });
  }

  Device& next_;
  double below_;
};

}  // namespace polarsketch::render
