// Recognising repeated marks: a path whose points are those of a path seen
// before moved as a whole (a data symbol drawn at every measurement) is the
// same shape, which a figure defines once and places many times. A path
// becomes a shape on its second copy, so curves drawn once are never
// defined: its first copy is remembered, and the figure may go back to it.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "render/device.hpp"
#include "render/page_layout.hpp"

namespace polarsketch::render {

class ShapeCatalog {
 public:
  // How many paths seen once are remembered (the latest).
  static constexpr int kRemembered = 16;

  struct Sighting {
    int shape = -1;       // the shape the path is a copy of, or -1 when none (yet)
    int remembered = -1;  // shape -1: the slot the path is remembered in, or -1 when not
    int first_copy = -1;  // when this copy made the shape: the slot of its first copy
  };

  // What the path is: a copy of a shape, a path remembered to match later
  // copies, or neither (too few or too many points, too large, not finite,
  // or the catalogue full). Closed and open paths are shapes apart. Offsets
  // from the first point agreeing within a thousandth of a point are alike:
  // the driver computes each mark's corners in single precision from its
  // centre, so copies differ by a rounding.
  Sighting see(std::span<const Point> points, bool closed);

  // A shape's points less its origin (the first is 0, 0), taken from its first copy.
  const std::vector<Point>& offsets(int shape) const { return shapes_[index(shape)].offsets; }
  bool closed(int shape) const { return shapes_[index(shape)].closed; }
  // The box of its offsets.
  const InkBox& extent(int shape) const { return shapes_[index(shape)].extent; }
  int size() const { return static_cast<int>(shapes_.size()); }

 private:
  struct Shape {
    std::vector<Point> offsets;
    bool closed = false;
    InkBox extent;
  };
  static std::size_t index(int shape) { return static_cast<std::size_t>(shape); }
  static bool alike(const Shape& shape, std::span<const Point> points, bool closed);

  std::vector<Shape> shapes_;
  std::array<Shape, kRemembered> seen_once_{};
  int next_slot_ = 0;  // the slot the next path seen once takes (the oldest)
  int last_ = -1;      // the shape matched last, tried first
};

}  // namespace polarsketch::render
