// Matching paths against the shapes and the paths seen before.
#include "render/repeated_shapes.hpp"

#include <cmath>

namespace polarsketch::render {
namespace {

constexpr std::size_t kMinPoints = 3;   // a segment is cheaper drawn than placed
constexpr std::size_t kMaxPoints = 64;  // marks, not curves
constexpr double kMaxExtent = 72.0;     // points: an inch
constexpr int kMaxShapes = 64;          // a page of marks has a handful
constexpr double kTolerance = 1e-3;     // points

}  // namespace

bool ShapeCatalog::alike(const Shape& shape, std::span<const Point> points, bool closed) {
  if (shape.closed != closed || shape.offsets.size() != points.size()) return false;
  const Point o = points[0];
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (!(std::abs(points[i].x - o.x - shape.offsets[i].x) <= kTolerance) ||
        !(std::abs(points[i].y - o.y - shape.offsets[i].y) <= kTolerance))
      return false;
  }
  return true;
}

ShapeCatalog::Sighting ShapeCatalog::see(std::span<const Point> points, bool closed) {
  if (points.size() < kMinPoints || points.size() > kMaxPoints) return {};
  if (last_ >= 0 && alike(shapes_[index(last_)], points, closed)) return {last_};
  for (int k = 0; k < size(); ++k)
    if (alike(shapes_[index(k)], points, closed)) return {last_ = k};
  if (size() >= kMaxShapes) return {};
  for (int slot = 0; slot < kRemembered; ++slot) {
    Shape& first = seen_once_[index(slot)];
    if (first.offsets.empty() || !alike(first, points, closed)) continue;
    shapes_.push_back(std::move(first));
    first = Shape{};
    return {last_ = size() - 1, -1, slot};
  }
  Shape s;
  s.closed = closed;
  const Point o = points[0];
  for (const Point& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return {};
    s.offsets.push_back({p.x - o.x, p.y - o.y});
    s.extent.add(p.x - o.x, p.y - o.y);
  }
  if (s.extent.right() - s.extent.left() > kMaxExtent ||
      s.extent.top() - s.extent.bottom() > kMaxExtent)
    return {};
  const int slot = next_slot_;
  next_slot_ = (next_slot_ + 1) % kRemembered;
  seen_once_[index(slot)] = std::move(s);
  return {-1, slot};
}

}  // namespace polarsketch::render
