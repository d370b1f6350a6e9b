// The grid of taken cells and the placing of labels on it.
#include "figure/label_room.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace polarsketch::figure {

MarkGrid::MarkGrid(float cell, float extent)
    : cell_(cell),
      extent_(extent),
      side_(static_cast<long>(std::ceil(2.0f * extent / cell))),
      taken_(static_cast<std::size_t>(side_ * side_), 0) {}

bool MarkGrid::cells(const Box& b, long& i0, long& j0, long& i1, long& j1) const {
  const auto index = [this](float v) { return static_cast<long>(std::floor((v + extent_) / cell_)); };
  i0 = index(b.left);
  i1 = index(b.right);
  j0 = index(b.bottom);
  j1 = index(b.top);
  return i0 >= 0 && j0 >= 0 && i1 < side_ && j1 < side_;
}

void MarkGrid::take(const Box& b) {
  long i0 = 0, j0 = 0, i1 = 0, j1 = 0;
  cells(b, i0, j0, i1, j1);
  i0 = std::max(i0, 0L);
  j0 = std::max(j0, 0L);
  i1 = std::min(i1, side_ - 1);
  j1 = std::min(j1, side_ - 1);
  for (long j = j0; j <= j1; ++j)
    for (long i = i0; i <= i1; ++i) taken_[static_cast<std::size_t>(j * side_ + i)] = 1;
}

void MarkGrid::take_disc(float radius) {
  for (long j = 0; j < side_; ++j)
    for (long i = 0; i < side_; ++i) {
      // The cell's corner nearest the centre.
      const float x0 = static_cast<float>(i) * cell_ - extent_, y0 = static_cast<float>(j) * cell_ - extent_;
      const float x = std::clamp(0.0f, x0, x0 + cell_), y = std::clamp(0.0f, y0, y0 + cell_);
      if (x * x + y * y <= radius * radius) taken_[static_cast<std::size_t>(j * side_ + i)] = 1;
    }
}

bool MarkGrid::is_free(const Box& b) const {
  long i0 = 0, j0 = 0, i1 = 0, j1 = 0;
  if (!cells(b, i0, j0, i1, j1)) return false;
  for (long j = j0; j <= j1; ++j)
    for (long i = i0; i <= i1; ++i)
      if (taken_[static_cast<std::size_t>(j * side_ + i)] != 0) return false;
  return true;
}

namespace {

// The box of a label whose nearest side faces (x, y) from direction `angle`
// at distance `distance` (its centre beyond that point by half its size).
Box box_toward(float x, float y, float angle, float distance, float width, float height) {
  const float c = std::cos(angle), s = std::sin(angle);
  // The centre far enough along the direction that the box clears the point.
  const float reach = distance + 0.5f * (std::abs(c) * width + std::abs(s) * height);
  const float cx = x + c * reach, cy = y + s * reach;
  return {cx - 0.5f * width, cy - 0.5f * height, cx + 0.5f * width, cy + 0.5f * height};
}

bool inside_net(const Box& b) {
  for (const float px : {b.left, b.right})
    for (const float py : {b.bottom, b.top})
      if (px * px + py * py > 0.98f * 0.98f) return false;
  return true;
}

}  // namespace

PlacedLabel place_label(float x, float y, float width, float height, MarkGrid& grid) {
  constexpr float kPi = std::numbers::pi_v<float>;
  // Near the point: right first (the way labels are read), then round it.
  const float gap = 0.6f * height;
  for (int ring = 0; ring < 3; ++ring) {
    const float distance = gap * static_cast<float>(1 + 2 * ring);
    for (int k = 0; k < 8; ++k) {
      const float angle = static_cast<float>((k + 1) / 2 * (k % 2 == 0 ? -1 : 1)) * kPi / 4.0f;
      const Box b = box_toward(x, y, angle, distance, width, height);
      if (inside_net(b) && grid.is_free(b)) {
        grid.take(b);
        return {b, false};
      }
    }
  }
  // Outside the rim, past the ticks, nearest the point's own direction.
  const float home = std::hypot(x, y) > 1e-3f ? std::atan2(y, x) : 0.0f;
  for (int step = 0; step <= 144; ++step) {
    const float angle = home + static_cast<float>((step + 1) / 2 * (step % 2 == 0 ? -1 : 1)) *
                                   kPi / 72.0f;
    const Box b = box_toward(0.0f, 0.0f, angle, 1.12f, width, height);
    if (grid.is_free(b)) {
      grid.take(b);
      return {b, true};
    }
  }
  // Nowhere free (the rim crowded by other labels): beside the point.
  const Box b = box_toward(x, y, 0.0f, gap, width, height);
  grid.take(b);
  return {b, false};
}

}  // namespace polarsketch::figure
