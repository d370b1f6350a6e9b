// Geometric figures in user units on top of the polyline primitive: full
// circles, arcs and arrows. Circles and arcs are sampled at the angles a
// step function gives (the curve library's running point, which sets itself
// up as the step function: the plot library does not call up into it).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace polarsketch::plot {

// Gives the angles of an arc from `first` to `last` (radians) for `count`
// points (a count the step function may correct), in drawing order.
using ArcSteps = void (*)(std::int32_t count, float first, float last, std::vector<float>& angles);
// Sets the step function of every arc and circle drawn from now on.
void set_arc_steps(ArcSteps steps);

// Full circle of centre (xc, yc) drawn with npa points for the whole turn.
void uscircle(float xc, float yc, float radius, std::int32_t npa);

// Arc from angle ar1 to ar2 (radians, counter-clockwise when ar2 > ar1),
// with npa points per full turn; built in the 2-D point buffer.
void usacircle(float xc, float yc, float radius, float ar1, float ar2, std::int32_t npa);

// na arrows from tail (xa1(i), ya1(i)) to tip (xa2(i), ya2(i)): the shaft to
// 60 % of the way and a closed triangular head.
void usarrow1(std::span<const float> xa1, std::span<const float> ya1, std::span<const float> xa2,
              std::span<const float> ya2, std::int32_t na);
void usarrow1(const float* xa1, const float* ya1, const float* xa2, const float* ya2,
              std::int32_t na);

}  // namespace polarsketch::plot
