// Where short labels may stand on the net without covering each other or the
// marks under them: a grid of the cells the marks take, and the placing of a
// label near its point or, when no room is near, outside the net along a
// leader from the point.
#pragma once

#include <cstddef>
#include <vector>

namespace polarsketch::figure {

// A box in the page's user units (the net's centre at 0, its rim at 1).
struct Box {
  float left = 0, bottom = 0, right = 0, top = 0;
  bool overlaps(const Box& o) const {
    return left < o.right && o.left < right && bottom < o.top && o.bottom < top;
  }
};

// The cells of a square grid over the net and a margin around it that some
// mark takes. Anything outside the grid counts as taken.
class MarkGrid {
 public:
  // Cells of `cell` user units over [-extent, extent] in x and y.
  explicit MarkGrid(float cell = 0.01f, float extent = 1.5f);
  void take(const Box& b);
  // A disc about (x, y), taken by its bounding square.
  void take_point(float x, float y, float radius) {
    take({x - radius, y - radius, x + radius, y + radius});
  }
  // Every cell within `radius` of the centre.
  void take_disc(float radius);
  bool is_free(const Box& b) const;

 private:
  bool cells(const Box& b, long& i0, long& j0, long& i1, long& j1) const;
  float cell_, extent_;
  long side_;
  std::vector<unsigned char> taken_;
};

// Where a label of `width` by `height` was put: its box, and whether a
// leader joins it to its point because no room was found near the point.
struct PlacedLabel {
  Box box;
  bool leader = false;
};

// Places a label for the point (x, y): at the first free spot of a ring of
// spots around the point, nearest first, that lies inside the net; else
// outside the rim, on the point's side of the centre, at the free spot
// nearest that direction. The box chosen is taken in `grid`, so labels
// placed one after another never overlap.
PlacedLabel place_label(float x, float y, float width, float height, MarkGrid& grid);

}  // namespace polarsketch::figure
