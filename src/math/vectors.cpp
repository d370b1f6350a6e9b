// Direction cosines to azimuth and plunge, 3-vectors, Euler rotation, sums.
#include "math/vectors.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "math/angles.hpp"
#include "report/report.hpp"

namespace polarsketch::math {

namespace {

// Reports a vector that is not of unit length (values before normalisation,
// r its length). A vector with no direction is reported and skipped.
void report_not_unitary(std::int32_t ndat, std::int32_t i, float x0, float y0, float z0, float r,
                        bool skipped) {
  using report::Line;
  report::Message m{report::Level::warning, "cc2lln", {}, {}};
  m.lines = {
      Line("Expecting unitary V = (Vx,Vy,Vz)"),
      Line().text("Loop final   index = ").integer(ndat, 6),
      Line().text("Loop current index = ").integer(i, 6),
      Line().text("Vx = ").fixed(x0, 8, 4).text(" Vy = ").fixed(y0, 8, 4).text(" Vz = ").fixed(
          z0, 8, 4),
      Line().text("||V|| = ").fixed(r, 8, 4),
      Line("V is not unitary"),
      Line(skipped ? "==> No direction: point skipped" : "==> Normalizing it to 1"),
  };
  report::report(m);
}

}  // namespace

void cc2lln(float* long_, float* lat, const float* x1, const float* y1, const float* z1,
            std::int32_t ndat) {
  for (std::int32_t i = 1; i <= ndat; ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    float x0 = x1[k];
    float y0 = y1[k];
    float z0 = z1[k];
    float r = x0 * x0 + y0 * y0 + z0 * z0;
    // A zero or non-finite vector has no direction: its output point is left as it was.
    if (!std::isfinite(r) || r == 0.0f) {
      report_not_unitary(ndat, i, x0, y0, z0, std::sqrt(r), true);
      continue;
    }
    if (std::fabs(r - 1.0f) > 0.00005f) {
      r = std::sqrt(r);
      if (std::fabs(r - 1.0f) > 0.0001f) report_not_unitary(ndat, i, x0, y0, z0, r, false);
      x0 = x0 / r;
      y0 = y0 / r;
      z0 = z0 / r;
    }

    float az;
    if (x0 > 0.0f) {
      az = std::atan(y0 / x0);
    } else if (x0 < 0.0f) {
      az = y0 >= 0.0f ? std::atan(y0 / x0) + anglerad.pi1o1 : std::atan(y0 / x0) - anglerad.pi1o1;
    } else if (y0 > 0.0f) {
      az = anglerad.pi1o2;
    } else if (y0 < 0.0f) {
      az = -anglerad.pi1o2;
    } else {
      az = 0.0f;
    }
    long_[k] = az;
    // An unnormalised vertical may have |z0| slightly above 1: its plunge is +-pi/2.
    lat[k] = std::atan2(z0, std::sqrt(std::max(0.0f, 1.0f - z0 * z0)));
  }
}

void mat3x1(float* x, float x1, float x2, float x3) {
  x[0] = x1;
  x[1] = x2;
  x[2] = x3;
}

void euler2(float* x, const float* e) {
  const float c1 = std::cos(e[0]);
  const float c2 = std::cos(e[1]);
  const float c3 = std::cos(e[2]);
  const float s1 = std::sin(e[0]);
  const float s2 = std::sin(e[1]);
  const float s3 = std::sin(e[2]);
  x[0] = c3 * c1 - c2 * s1 * s3;
  x[1] = c2 * c1 * s3 + c3 * s1;
  x[2] = s2 * s3;
}

void vsum(float* w, const float* u, const float* v, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    w[k] = v[k] + u[k];
  }
}

}  // namespace polarsketch::math
