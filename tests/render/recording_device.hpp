// A device that writes each call it receives as one line of text, so tests
// can compare the calls of a drawing with the calls expected.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "render/device.hpp"

namespace polarsketch::testing {

class RecordingDevice final : public render::Device {
 public:
  std::vector<std::string> calls;

  void begin_page(int number, render::Orientation o) override {
    calls.push_back("begin_page " + std::to_string(number) +
                    (o == render::Orientation::portrait ? " portrait" : " landscape"));
  }
  void end_page() override { calls.push_back("end_page"); }
  void line_width(double width) override { calls.push_back("line_width " + num(width)); }
  void polyline(std::span<const render::Point> points, const render::Rgb& colour) override {
    calls.push_back("polyline" + path(points) + " rgb" + rgb(colour));
  }
  void polygon(std::span<const render::Point> points, bool filled, const render::Rgb& fill,
               const render::Rgb& edge) override {
    calls.push_back(std::string(filled ? "filled" : "hollow") + " polygon" + path(points) +
                    " fill" + rgb(fill) + " edge" + rgb(edge));
  }
  void text(render::Point at, std::string_view text, const render::TextStyle& s) override {
    calls.push_back("text (" + std::string(text) + ") at" + point(at) + " " + s.font + " size " +
                    num(s.size) + " height " + num(s.height) + " angle " + num(s.angle) +
                    " align " + std::to_string(s.align) + " rgb" + rgb(s.colour));
  }

 private:
  static std::string num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
  }
  static std::string point(const render::Point& p) { return " " + num(p.x) + "," + num(p.y); }
  static std::string path(std::span<const render::Point> points) {
    std::string s;
    for (const render::Point& p : points) s += point(p);
    return s;
  }
  static std::string rgb(const render::Rgb& c) {
    return " " + num(c.red) + " " + num(c.green) + " " + num(c.blue);
  }
};

}  // namespace polarsketch::testing
