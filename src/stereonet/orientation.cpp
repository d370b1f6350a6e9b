// Axes, planes, slips and small circles turned into symbols and polylines on
// the net. Each curve is built as direction cosines, converted to azimuth and
// plunge, projected in place and drawn as one polyline.
#include "stereonet/orientation.hpp"

#include <algorithm>
#include <cmath>

#include "curve/running_point.hpp"
#include "math/angles.hpp"
#include "math/saturate.hpp"
#include "math/vectors.hpp"
#include "plot/figures.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"
#include "stereonet/display_settings.hpp"
#include "stereonet/projections.hpp"

namespace polarsketch::stereonet {

namespace {

using curve::ptblock;

float* at(Indexed<float, 1, 1000>& a) { return a.v.data(); }

// Sets the running point to np points from ti to tf (increment derived).
void set_running_point(std::int32_t np, float ti, float tf) {
  curve::scptnp(np, 1);
  curve::scptif(ti, tf, 1);
  curve::scptend(101, 1);
}

// Converts the np direction cosines of cc3dbuff in place to projected points
// and draws them.
void project_and_draw(std::int32_t np) {
  float* xe = at(cc3dbuff.xe);
  float* ye = at(cc3dbuff.ye);
  math::cc2lln(xe, ye, xe, ye, at(cc3dbuff.ze), np);
  spron(xe, ye, xe, ye, np);
  plot::usline(xe, ye, np);
}

}  // namespace

void reset_orientation_buffers() {
  cc3dbuff = Cc3dbuff{};
  cc2dbuff = Cc2dbuff{};
  axf = Axf{};
}

void dspaxfapn(const float* az, const float* plunge, std::int32_t nax) {
  const std::int32_t iaxtyp1 = dspaxbk.iaxtyp1;
  // An axis pointing upward is drawn at its downward end, in the opposite hemisphere.
  auto lower_end = [&](std::int32_t i, float& az1, float& plunge1) {
    if (plunge[i] >= 0.0f) {
      az1 = az[i];
      plunge1 = plunge[i];
      return true;
    }
    az1 = az[i] + math::anglerad.pi1o1;
    plunge1 = -plunge[i];
    return false;
  };

  if (std::abs(iaxtyp1) <= 99) {
    std::int32_t isymb0 = 0;
    plot::ssymboltype(isymb0, 3);
    for (std::int32_t i = 0; i < nax; ++i) {
      float az1 = 0.0f, plunge1 = 0.0f;
      const bool same = lower_end(i, az1, plunge1);
      float x1 = 0.0f, y1 = 0.0f;
      spron(&x1, &y1, &az1, &plunge1, 1);
      std::int32_t isymb1 = same ? iaxtyp1 : -iaxtyp1;
      plot::ssymboltype(isymb1, 1);
      plot::ussymbol(&x1, &y1, 1);
    }
    plot::ssymboltype(isymb0, 1);
  } else if (iaxtyp1 == 100 || iaxtyp1 == 101) {
    // A radial mark of length sl1 from the projected point: outward for a
    // downward axis, inward for an upward one.
    const float sl1 = 0.2f;
    for (std::int32_t i = 0; i < nax; ++i) {
      float az1 = 0.0f, plunge1 = 0.0f;
      const bool same = lower_end(i, az1, plunge1);
      const float sl2 = same ? sl1 : -sl1;
      float x1[2] = {0.0f, 0.0f};
      float y1[2] = {0.0f, 0.0f};
      spron(&x1[0], &y1[0], &az1, &plunge1, 1);
      float r1 = std::sqrt(x1[0] * x1[0] + y1[0] * y1[0]);
      if (r1 == 0.0f) {
        x1[1] = x1[0];
        y1[1] = y1[0];
      } else {
        r1 = 1.0f + sl2 / r1;
        x1[1] = x1[0] * r1;
        y1[1] = y1[0] * r1;
      }
      if (iaxtyp1 == 100) {
        plot::usline(x1, y1, 2);
      } else {
        plot::usarrow1(&x1[0], &y1[0], &x1[1], &y1[1], 1);
      }
    }
  }
}

void dspgcfadn(const float* az, const float* dip, std::int32_t ngc) {
  set_running_point(dspgcbk.npgc, 0.0f, math::anglerad.pi1o1);
  const std::int32_t np = std::clamp<std::int32_t>(ptblock.np, 0, curve::kMaxPoints);
  const float ptd = ptblock.ptd;
  // The half circle in the plane's own frame.
  // The running point's own index is the loop counter, so the record is left
  // as the loop leaves it (ip one past the last point).
  for (ptblock.ip = 1; ptblock.ip <= np; ++ptblock.ip) {
    const std::int32_t ip = ptblock.ip;
    ptblock.pt = ptd * static_cast<float>(ip - 1);
    cc2dbuff.xp(ip) = std::cos(ptblock.pt);
    cc2dbuff.yp(ip) = std::sin(ptblock.pt);
  }
  for (std::int32_t igc = 0; igc < ngc; ++igc) {
    const float c1 = std::cos(az[igc]);
    const float s1 = std::sin(az[igc]);
    const float c2 = std::cos(dip[igc]);
    const float s2 = std::sin(dip[igc]);
    const float r1 = c2 * s1;
    const float r2 = c2 * c1;
    for (std::int32_t ip = 1; ip <= np; ++ip) {
      const float xp = cc2dbuff.xp(ip);
      const float yp = cc2dbuff.yp(ip);
      cc3dbuff.xe(ip) = c1 * xp - r1 * yp;
      cc3dbuff.ye(ip) = s1 * xp + r2 * yp;
      cc3dbuff.ze(ip) = s2 * yp;
    }
    project_and_draw(np);
  }
}

void dspaxfadrn(const float* az, const float* dip, const float* rake, std::int32_t naxa) {
  std::int32_t nax = naxa;
  curve::scptnp(nax, 1);
  // With no slip given the count comes back raised to 1; there is still nothing to draw.
  if (naxa < 1) nax = 0;
  for (std::int32_t iax = 1; iax <= nax; ++iax) {
    float e[3];
    float xx[3];
    math::mat3x1(e, az[iax - 1], dip[iax - 1], -rake[iax - 1]);
    math::euler2(xx, e);
    math::cc2lln(&cc2dbuff.xp(iax), &cc2dbuff.yp(iax), &xx[0], &xx[1], &xx[2], 1);
  }
  dspaxfapn(at(cc2dbuff.xp), at(cc2dbuff.yp), nax);
}

void axfram(float az, float plunge) {
  const float ca = std::cos(az);
  const float sa = std::sin(az);
  const float cp = std::cos(plunge);
  const float sp = std::sin(plunge);
  auto& u = axf.u;
  u(1, 1) = sp * ca;
  u(2, 1) = sp * sa;
  u(3, 1) = -cp;
  u(1, 2) = -sa;
  u(2, 2) = ca;
  u(3, 2) = 0.0f;
  u(1, 3) = cp * ca;
  u(2, 3) = cp * sa;
  u(3, 3) = sp;
}

void dspscafaph(float az, float plunge, float a, float t1, float t2) {
  axfram(az, plunge);
  auto& u = axf.u;
  const float sina = std::sin(a);
  const float cosa = std::cos(a);
  for (int i = 1; i <= 3; ++i) {
    u(i, 1) = u(i, 1) * sina;
    u(i, 2) = u(i, 2) * sina;
    u(i, 3) = u(i, 3) * cosa;
  }
  // Points per arc in proportion to the arc, at npgc points per half turn;
  // the saturating truncation keeps huge arcs at the running point's cap.
  const float span = std::abs(t2 - t1) * static_cast<float>(dspgcbk.npgc) / math::anglerad.pi1o1;
  const std::int32_t count = std::max<std::int32_t>(2, math::trunc_to_int(span));
  set_running_point(count, t1, t2);
  const std::int32_t np = std::clamp<std::int32_t>(ptblock.np, 0, curve::kMaxPoints);
  const float pti = ptblock.pti;
  const float ptd = ptblock.ptd;
  for (ptblock.ip = 1; ptblock.ip <= np; ++ptblock.ip) {
    const std::int32_t ip = ptblock.ip;
    ptblock.pt = pti + ptd * static_cast<float>(ip - 1);
    cc2dbuff.xp(ip) = std::cos(ptblock.pt);
    cc2dbuff.yp(ip) = std::sin(ptblock.pt);
  }
  for (std::int32_t ip = 1; ip <= np; ++ip) {
    const float xp = cc2dbuff.xp(ip);
    const float yp = cc2dbuff.yp(ip);
    cc3dbuff.xe(ip) = u(1, 1) * xp + u(1, 2) * yp + u(1, 3);
    cc3dbuff.ye(ip) = u(2, 1) * xp + u(2, 2) * yp + u(2, 3);
    cc3dbuff.ze(ip) = u(3, 1) * xp + u(3, 2) * yp + u(3, 3);
  }
  project_and_draw(np);
}

}  // namespace polarsketch::stereonet
