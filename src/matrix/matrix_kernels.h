// Building blocks shared by the matrix library's source files (not exported).
//
// Sums of products are formed in double and rounded once when stored. Every
// kernel reads all of its inputs before it writes, so an output may be one of
// the inputs.
#pragma once

#include <cstring>

#include "matrix/matrix.h"

namespace matrix_kernels {

inline bool claims(uint32_t hints, uint32_t claim) { return (hints & claim) != 0; }

inline constexpr float kIdentityElements[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// m[3] = m[7] = m[11] = 0 and m[15] = 1.
inline void setAffineColumn(float* m) {
  m[3] = 0.0f;
  m[7] = 0.0f;
  m[11] = 0.0f;
  m[15] = 1.0f;
}

// Row vector (x, y, z) times column c of the upper-left 3x3 block.
inline double rowTimesBlock(double x, double y, double z, const float* m, int c) {
  return x * m[c] + y * m[4 + c] + z * m[8 + c];
}

// out := a·b, all sixteen elements.
inline void fullProduct(const float* a, const float* b, float* out) {
  float r[16];
  for (int row = 0; row < 4; ++row) {
    const float* ar = a + 4 * row;
    for (int c = 0; c < 4; ++c) {
      r[4 * row + c] = static_cast<float>(double(ar[0]) * b[c] + double(ar[1]) * b[4 + c] + double(ar[2]) * b[8 + c] +
                                          double(ar[3]) * b[12 + c]);
    }
  }
  std::memcpy(out, r, sizeof r);
}

// out := a·b for two affine matrices: 3x3 block a₃·b₃, translation a.t·b₃ + b.t
// (or zero when `translate` is false), and the affine column.
inline void affineProduct(const float* a, const float* b, float* out, bool translate) {
  float r[16];
  for (int row = 0; row < 3; ++row) {
    for (int c = 0; c < 3; ++c) {
      r[4 * row + c] = static_cast<float>(rowTimesBlock(a[4 * row], a[4 * row + 1], a[4 * row + 2], b, c));
    }
  }
  for (int c = 0; c < 3; ++c) {
    r[12 + c] = translate ? static_cast<float>(rowTimesBlock(a[12], a[13], a[14], b, c) + b[12 + c]) : 0.0f;
  }
  setAffineColumn(r);
  std::memcpy(out, r, sizeof r);
}

// Swaps the off-diagonal elements of the upper-left 3x3 block.
inline void transposeBlock(float* m) {
  auto swap = [m](int i, int j) {
    const float t = m[i];
    m[i] = m[j];
    m[j] = t;
  };
  swap(1, 4);
  swap(2, 8);
  swap(6, 9);
}

}  // namespace matrix_kernels
