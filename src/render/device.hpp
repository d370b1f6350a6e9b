// The drawing device under the plot library: the primitives the driver
// receives, as one interface with a PostScript, a cairo and a tee device
// behind it. Coordinates are device units (points, 28.35 per cm) on the
// page, origin at its lower left corner, y upwards.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace polarsketch::render {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

// Colour intensities 0..1.
struct Rgb {
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// How the drawing sits on the paper: portrait A4, or rotated a quarter turn
// onto landscape US Letter or landscape A4.
enum class Orientation { portrait, landscape_us, landscape_a4 };

// Text attributes as the driver applies them.
struct TextStyle {
  std::string font;     // PostScript font name, e.g. "Helvetica-Bold"
  double size = 0.0;    // font size in device units (whole units, as written)
  double height = 0.0;  // text height the vertical alignment steps by
  double angle = 0.0;   // degrees, counter-clockwise
  int align = 0;        // alignment code -11..11, its size placing the text:
                        // size % 4 horizontal (0, 1 left, 2 centre, 3 right),
                        // size / 4 vertical (0 baseline, 1 half a height
                        // below, 2 a full height below); a negative code has
                        // already cut the blanks around the text
  Rgb colour;
};

class Device {
 public:
  virtual ~Device() = default;

  // Pages are numbered from 1; every page begun is ended before the next
  // begins, and before the device is finished.
  virtual void begin_page(int number, Orientation orientation) = 0;
  virtual void end_page() = 0;

  // Width of the lines stroked from now on.
  virtual void line_width(double width) = 0;
  // Moves to the first point, draws lines through the others and strokes.
  virtual void polyline(std::span<const Point> points, const Rgb& colour) = 0;
  // Closed polygon: filled in `fill` when `filled`, outlined in `edge`.
  virtual void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
                       const Rgb& edge) = 0;
  // Text placed at `at` by the style's alignment.
  virtual void text(Point at, std::string_view text, const TextStyle& style) = 0;
};

// Sends every call to two devices, the first first.
class TeeDevice final : public Device {
 public:
  TeeDevice(Device& first, Device& second) : first_(first), second_(second) {}

  void begin_page(int number, Orientation orientation) override {
    first_.begin_page(number, orientation);
    second_.begin_page(number, orientation);
  }
  void end_page() override {
    first_.end_page();
    second_.end_page();
  }
  void line_width(double width) override {
    first_.line_width(width);
    second_.line_width(width);
  }
  void polyline(std::span<const Point> points, const Rgb& colour) override {
    first_.polyline(points, colour);
    second_.polyline(points, colour);
  }
  void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
               const Rgb& edge) override {
    first_.polygon(points, filled, fill, edge);
    second_.polygon(points, filled, fill, edge);
  }
  void text(Point at, std::string_view text, const TextStyle& style) override {
    first_.text(at, text, style);
    second_.text(at, text, style);
  }

 private:
  Device& first_;
  Device& second_;
};

}  // namespace polarsketch::render
