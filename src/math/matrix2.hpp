// 2-by-2 matrix operations. A matrix is 4 floats stored column by column:
// element (i, j) is at position (i - 1) + 2 (j - 1). The output may be the
// same array as an input.
#pragma once

namespace polarsketch::math {

// a = b * c, b a 2x2 matrix, a and c 2-vectors.
void m22x21(float* a, const float* b, const float* c);

// a = b * c for 2x2 matrices.
void m22x22(float* a, const float* b, const float* c);

// a = inverse of b. An exactly singular b is reported as a recoverable error
// (the console advises resuming); a is then left as it was.
void minv2d(float* a, const float* b);

}  // namespace polarsketch::math
