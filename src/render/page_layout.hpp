// How a recorded page is laid out in a figure: the paper of each
// orientation, the box a page is written in, and the ink box that decides
// the crop. Shared by every figure device; no drawing library here.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/device.hpp"

namespace polarsketch::render {

// A box on the paper in points, a figure's orientation (origin top left, y down).
struct Box {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

struct PageLayout {
  bool whole_page = false;            // the whole paper instead of the ink plus the margin
  double margin = 72.0 * 2.0 / 25.4;  // around the ink: 2 mm in points
};

// The paper of an orientation, in points. A landscape page is a wide page
// with the drawing upright, though the plot file draws it turned a quarter
// turn onto portrait paper: a figure is read as the drawing, not as the
// sheet that goes through the printer.
struct Paper {
  double width;
  double height;
};

constexpr Paper paper_of(Orientation o) {
  switch (o) {
    case Orientation::landscape_us:
      return {792.0, 612.0};
    case Orientation::landscape_a4:
      return {842.0, 595.0};
    case Orientation::portrait:
      break;
  }
  return {595.0, 842.0};
}

// The smallest box holding everything added, in device units (y up).
class InkBox {
 public:
  void add(double x, double y) {
    left_ = std::min(left_, x);
    right_ = std::max(right_, x);
    bottom_ = std::min(bottom_, y);
    top_ = std::max(top_, y);
  }
  // A point with a disc of radius `r` around it (half a stroke's width).
  void add(double x, double y, double r) {
    add(x - r, y - r);
    add(x + r, y + r);
  }
  void add(const InkBox& other) {
    if (other.empty()) return;
    add(other.left_, other.bottom_);
    add(other.right_, other.top_);
  }
  bool empty() const { return !(right_ >= left_) || !(top_ >= bottom_); }
  double left() const { return left_; }
  double right() const { return right_; }
  double bottom() const { return bottom_; }
  double top() const { return top_; }

  // The box a page of `paper` is written in: the ink (clipped to the paper,
  // which clips the drawing) plus the layout's margin, or the whole paper
  // when asked for or when nothing was drawn on it.
  Box page_box(const Paper& paper, const PageLayout& layout) const {
    const Box whole{0.0, 0.0, paper.width, paper.height};
    if (layout.whole_page || empty()) return whole;
    const double l = std::max(left_, 0.0), r = std::min(right_, paper.width);
    const double b = std::max(bottom_, 0.0), t = std::min(top_, paper.height);
    if (!(r > l) || !(t > b)) return whole;
    return {l - layout.margin, paper.height - t - layout.margin, r - l + 2.0 * layout.margin,
            t - b + 2.0 * layout.margin};
  }

 private:
  static constexpr double kHuge = std::numeric_limits<double>::infinity();
  double left_ = kHuge, right_ = -kHuge, bottom_ = kHuge, top_ = -kHuge;
};

}  // namespace polarsketch::render
