// The PostScript device: hands each call to the PostScript driver, which
// writes the plot file text exactly as it always has. The driver takes its
// attributes from the plot records itself, so the call's explicit colours
// and text style (the same values) are not needed here.
#pragma once

#include <vector>

#include "render/device.hpp"

namespace polarsketch::render {

class PostScriptDevice final : public Device {
 public:
  // Page 1 begins with the file's prolog; each later page starts with the
  // driver's page break. Pages end at the next break or the trailer.
  void begin_page(int number, Orientation orientation) override;
  void end_page() override {}
  void line_width(double width) override;
  void polyline(std::span<const Point> points, const Rgb& colour) override;
  void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
               const Rgb& edge) override;
  void text(Point at, std::string_view text, const TextStyle& style) override;

 private:
  // The driver's single-precision point buffers.
  void load(std::span<const Point> points);
  std::vector<float> x_;
  std::vector<float> y_;
};

}  // namespace polarsketch::render
