// 2-by-2 matrix products and inversion (column-by-column storage).
#include "math/matrix2.hpp"

#include "report/report.hpp"

namespace polarsketch::math {

namespace {

// Position of element (i, j), 1-based, in column-by-column storage.
constexpr int at(int i, int j) { return (i - 1) + 2 * (j - 1); }

}  // namespace

void m22x21(float* a, const float* b, const float* c) {
  float aa[2];
  for (int i = 1; i <= 2; ++i) {
    aa[i - 1] = 0.0f;
    for (int j = 1; j <= 2; ++j) aa[i - 1] = aa[i - 1] + b[at(i, j)] * c[j - 1];
  }
  a[0] = aa[0];
  a[1] = aa[1];
}

void m22x22(float* a, const float* b, const float* c) {
  float aa[4];
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      aa[at(i, j)] = 0.0f;
      for (int k = 1; k <= 2; ++k) aa[at(i, j)] = aa[at(i, j)] + b[at(i, k)] * c[at(k, j)];
    }
  }
  for (int p = 0; p < 4; ++p) a[p] = aa[p];
}

void minv2d(float* a, const float* b) {
  const float detb = b[at(2, 2)] * b[at(1, 1)] - b[at(1, 2)] * b[at(2, 1)];
  if (detb == 0.0f) {
    using report::Line;
    report::Message m{report::Level::error, "minv2d", {}, report::Escalation::resume_advised};
    m.lines = {
        Line().text("det(B) = ").general(detb, 15, 3),
        Line()
            .text("b(1,1) = ")
            .general(b[at(1, 1)], 15, 3)
            .text(" b(1,2) = ")
            .general(b[at(1, 2)], 15, 3),
        Line()
            .text("b(2,1) = ")
            .general(b[at(2, 1)], 15, 3)
            .text(" b(2,2) = ")
            .general(b[at(2, 2)], 15, 3),
        Line("=> Cannot Invert B"),
    };
    // The inverse is never used for drawing, so the run may go on (the
    // console asks whether to resume); a keeps the previous inverse.
    report::report(m);
    return;
  }
  float aa[4];
  aa[at(1, 1)] = b[at(2, 2)];
  aa[at(1, 2)] = -b[at(1, 2)];
  aa[at(2, 1)] = -b[at(2, 1)];
  aa[at(2, 2)] = b[at(1, 1)];
  for (int p = 0; p < 4; ++p) a[p] = aa[p] / detb;
}

}  // namespace polarsketch::math
