// 2x2 matrix products (column-by-column storage) and inversion.
#include "math/matrix2.hpp"

#include <gtest/gtest.h>

#include "console/fields.hpp"
#include "console/stop.hpp"
#include "support/test_support.hpp"

namespace polarsketch::math {
namespace {

// Column by column: (1,1), (2,1), (1,2), (2,2).
TEST(Matrix2Test, ProductsUseColumnStorageAndAllowAliasing) {
  const float b[4] = {1.0f, 3.0f, 2.0f, 4.0f};  // [[1 2] [3 4]]
  float c[2] = {5.0f, 6.0f};
  float a[2];
  m22x21(a, b, c);
  EXPECT_EQ(a[0], 17.0f);
  EXPECT_EQ(a[1], 39.0f);
  m22x21(c, b, c);  // output is the input vector
  EXPECT_EQ(c[0], 17.0f);
  EXPECT_EQ(c[1], 39.0f);

  float m[4] = {5.0f, 7.0f, 6.0f, 8.0f};  // [[5 6] [7 8]]
  m22x22(m, b, m);
  // [[1 2] [3 4]] * [[5 6] [7 8]] = [[19 22] [43 50]]
  EXPECT_EQ(m[0], 19.0f);
  EXPECT_EQ(m[1], 43.0f);
  EXPECT_EQ(m[2], 22.0f);
  EXPECT_EQ(m[3], 50.0f);
}

TEST(Matrix2Test, InverseOfRegularMatrices) {
  const float id[4] = {1.0f, 0.0f, 0.0f, 1.0f};
  float a[4] = {9.0f, 9.0f, 9.0f, 9.0f};
  minv2d(a, id);
  for (int p = 0; p < 4; ++p) EXPECT_EQ(a[p], id[p]) << p;

  const float b[4] = {1.0f, 3.0f, 2.0f, 4.0f};  // det -2
  minv2d(a, b);
  // Exact: [[-2 1] [1.5 -0.5]].
  EXPECT_EQ(a[0], -2.0f);
  EXPECT_EQ(a[1], 1.5f);
  EXPECT_EQ(a[2], 1.0f);
  EXPECT_EQ(a[3], -0.5f);
}

TEST(Matrix2Test, SingularMatrixIsReportedAndThePreviousInverseKept) {
  testing::ConsoleCapture cap("\n");  // RESUME: default yes
  const float b[4] = {1.0f, 2.0f, 2.0f, 4.0f};
  float a[4] = {0.5f, 0.0f, 0.0f, 0.5f};
  minv2d(a, b);
  EXPECT_EQ(a[0], 0.5f);
  EXPECT_EQ(a[1], 0.0f);
  EXPECT_EQ(a[2], 0.0f);
  EXPECT_EQ(a[3], 0.5f);
  const auto lines = cap.lines();
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(lines[3], " ***        subroutine minv2d            ***");
  EXPECT_EQ(lines[5], " ***                ERROR                ***");
  using console::fmt_general;
  EXPECT_EQ(lines[9], " det(B) = " + fmt_general(0.0f, 15, 3));
  EXPECT_EQ(lines[10],
            " b(1,1) = " + fmt_general(1.0f, 15, 3) + " b(1,2) = " + fmt_general(2.0f, 15, 3));
  EXPECT_EQ(lines[11],
            " b(2,1) = " + fmt_general(2.0f, 15, 3) + " b(2,2) = " + fmt_general(4.0f, 15, 3));
  EXPECT_EQ(lines[12], " => Cannot Invert B");
  EXPECT_EQ(lines[13], " RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED");
  EXPECT_EQ(lines.back(), " RESUMING EXECUTION");
}

TEST(Matrix2Test, SingularMatrixStopsWhenTheUserDeclinesToResume) {
  testing::ConsoleCapture cap("n\n");
  const float b[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float a[4] = {};
  try {
    minv2d(a, b);
    FAIL() << "expected an orderly stop";
  } catch (const console::OrderlyStop& s) {
    EXPECT_EQ(s.status, console::kExitError);
  }
  EXPECT_NE(cap.text().find(" => Cannot Invert B\n"), std::string::npos);
}

}  // namespace
}  // namespace polarsketch::math
