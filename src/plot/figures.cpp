// Circles, arcs and arrows in user units, drawn with usline.
#include "plot/figures.hpp"

#include <cmath>
#include <cstddef>

#include "math/angles.hpp"
#include "math/saturate.hpp"
#include "plot/primitives.hpp"

namespace polarsketch::plot {
namespace {

constinit ArcSteps arc_steps = nullptr;

// The arc's angles and points (scratch kept between calls).
struct ArcPoints {
  std::vector<float> angle;
  std::vector<float> x;
  std::vector<float> y;
};

ArcPoints& arc_points() {
  static ArcPoints p;
  return p;
}

}  // namespace

void set_arc_steps(ArcSteps steps) { arc_steps = steps; }

void uscircle(float xc, float yc, float radius, std::int32_t npa) {
  usacircle(xc, yc, radius, 0.0f, math::anglerad.pi2o1, npa);
}

void usacircle(float xc, float yc, float radius, float ar1, float ar2, std::int32_t npa) {
  // The count is computed in single precision and truncated, as the callers'
  // point counts per turn have always been: a full turn of 23 gives 22 points.
  const std::int32_t i1 =
      math::trunc_to_int(std::fabs(ar2 - ar1) * static_cast<float>(npa) / math::anglerad.pi2o1);
  if (arc_steps == nullptr) return;
  ArcPoints& p = arc_points();
  p.angle.clear();
  arc_steps(i1, ar1, ar2, p.angle);
  p.x.resize(p.angle.size());
  p.y.resize(p.angle.size());
  for (std::size_t k = 0; k < p.angle.size(); ++k) {
    p.x[k] = xc + radius * std::cos(p.angle[k]);
    p.y[k] = yc + radius * std::sin(p.angle[k]);
  }
  usline(p.x, p.y, static_cast<std::int32_t>(p.angle.size()));
}

void usarrow1(std::span<const float> xa1, std::span<const float> ya1, std::span<const float> xa2,
              std::span<const float> ya2, std::int32_t na) {
  for (std::int32_t i = 1; i <= na; ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    const float x1 = xa1[k];
    const float y1 = ya1[k];
    const float x2 = xa2[k];
    const float y2 = ya2[k];
    // The head's base centre lies at 60 % of the way to the tip.
    const float dx = 0.6f * (x2 - x1);
    const float dy = 0.6f * (y2 - y1);
    const float xm = x1 + dx;
    const float ym = y1 + dy;
    const float hx = -0.25f * dy;
    const float hy = 0.25f * dx;
    const float xs[2] = {x1, xm};
    const float ys[2] = {y1, ym};
    usline(xs, ys, 2);
    const float xh[4] = {xm + hx, xm - hx, x2, xm + hx};
    const float yh[4] = {ym + hy, ym - hy, y2, ym + hy};
    usline(xh, yh, 4);
  }
}

void usarrow1(const float* xa1, const float* ya1, const float* xa2, const float* ya2,
              std::int32_t na) {
  const auto n = static_cast<std::size_t>(na > 0 ? na : 0);
  usarrow1(std::span<const float>(xa1, n), std::span<const float>(ya1, n),
           std::span<const float>(xa2, n), std::span<const float>(ya2, n), na);
}

}  // namespace polarsketch::plot
