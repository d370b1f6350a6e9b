// Circles, arcs and arrows in user units, drawn with usline.
#include "plot/figures.hpp"

#include <cmath>
#include <cstddef>

#include "curve/running_point.hpp"
#include "math/angles.hpp"
#include "math/saturate.hpp"
#include "plot/primitives.hpp"
#include "stereonet/orientation.hpp"

namespace polarsketch::plot {

void uscircle(float xc, float yc, float radius, std::int32_t npa) {
  usacircle(xc, yc, radius, 0.0f, math::anglerad.pi2o1, npa);
}

void usacircle(float xc, float yc, float radius, float ar1, float ar2, std::int32_t npa) {
  using curve::ptblock;
  // The count is computed in single precision and truncated, as the callers'
  // point counts per turn have always been: a full turn of 23 gives 22 points.
  std::int32_t i1 =
      math::trunc_to_int(std::fabs(ar2 - ar1) * static_cast<float>(npa) / math::anglerad.pi2o1);
  curve::scptnp(i1, 1);
  float ptia = ar1;
  float ptfa = ar2;
  curve::scptif(ptia, ptfa, 1);
  curve::scptend(101, 1);

  auto& xp = stereonet::cc2dbuff.xp;
  auto& yp = stereonet::cc2dbuff.yp;
  // The angle advances by adding the increment at each step.
  ptblock.pt = ptblock.pti - ptblock.ptd;
  for (ptblock.ip = 1; ptblock.ip <= ptblock.np; ++ptblock.ip) {
    ptblock.pt = ptblock.pt + ptblock.ptd;
    xp(ptblock.ip) = xc + radius * std::cos(ptblock.pt);
    yp(ptblock.ip) = yc + radius * std::sin(ptblock.pt);
  }
  usline(xp.v, yp.v, ptblock.np);
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
