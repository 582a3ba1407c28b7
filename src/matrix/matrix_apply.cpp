// Applying a matrix to directions, points and normals (row vectors, p' = p·M).
//
// Each function reads its input before writing, so the in-place forms are the
// out-of-place ones with the same array on both sides. A homogeneous divisor w
// of exactly zero leaves the division out: a direction keeps v·M₃ and a point
// is copied through untransformed, rather than turning into infinities.
#include "matrix/matrix.h"
#include "matrix/matrix_kernels.h"

using namespace matrix_kernels;

namespace {

void copy3(const float* src, float* dst) {
  const float x = src[0], y = src[1], z = src[2];
  dst[0] = x;
  dst[1] = y;
  dst[2] = z;
}

void scaleByDiagonal(const float* m, const float* src, float* dst) {
  dst[0] = src[0] * m[0];
  dst[1] = src[1] * m[5];
  dst[2] = src[2] * m[10];
}

}  // namespace

void matrixTransformVector2(const Matrix4* m, const float* src, float* dst) {
  const uint32_t h = m->hints;
  const float* e = m->m;
  if (claims(h, MATRIX_IDENTITY | MATRIX_PURE_TRANSLATION)) return copy3(src, dst);
  if (claims(h, MATRIX_PURE_SCALE)) return scaleByDiagonal(e, src, dst);
  const double x = src[0], y = src[1], z = src[2];
  double r[3] = {rowTimesBlock(x, y, z, e, 0), rowTimesBlock(x, y, z, e, 1), rowTimesBlock(x, y, z, e, 2)};
  if (!claims(h, MATRIX_AFFINE)) {
    const double w = rowTimesBlock(x, y, z, e, 3);
    if (w != 0.0) {
      for (double& v : r) v /= w;
    }
  }
  for (int c = 0; c < 3; ++c) dst[c] = static_cast<float>(r[c]);
}

void matrixTransformVector(const Matrix4* m, float* v) { matrixTransformVector2(m, v, v); }

void matrixTransformPoint2(const Matrix4* m, const float* src, float* dst) {
  const uint32_t h = m->hints;
  const float* e = m->m;
  if (claims(h, MATRIX_IDENTITY)) return copy3(src, dst);
  if (claims(h, MATRIX_PURE_TRANSLATION)) {
    for (int c = 0; c < 3; ++c) dst[c] = src[c] + e[12 + c];
    return;
  }
  if (claims(h, MATRIX_PURE_SCALE)) return scaleByDiagonal(e, src, dst);
  const double x = src[0], y = src[1], z = src[2];
  double r[3];
  if (claims(h, MATRIX_AFFINE)) {
    const bool translate = !claims(h, MATRIX_NO_TRANSLATION);
    for (int c = 0; c < 3; ++c) r[c] = rowTimesBlock(x, y, z, e, c) + (translate ? e[12 + c] : 0.0);
  } else {
    const double w = rowTimesBlock(x, y, z, e, 3) + e[15];
    if (w == 0.0) return copy3(src, dst);
    for (int c = 0; c < 3; ++c) r[c] = (rowTimesBlock(x, y, z, e, c) + e[12 + c]) / w;
  }
  for (int c = 0; c < 3; ++c) dst[c] = static_cast<float>(r[c]);
}

void matrixTransformPoint(const Matrix4* m, float* p) { matrixTransformPoint2(m, p, p); }

void matrixTransformNormal2(const Matrix4* m, const float* src, float* dst) {
  if (claims(m->hints, MATRIX_IDENTITY | MATRIX_PURE_TRANSLATION)) return copy3(src, dst);
  // n·M₃ᵀ: each output is the dot product of n with a row of the block.
  const float* e = m->m;
  const double x = src[0], y = src[1], z = src[2];
  double r[3];
  for (int row = 0; row < 3; ++row) r[row] = x * e[4 * row] + y * e[4 * row + 1] + z * e[4 * row + 2];
  for (int c = 0; c < 3; ++c) dst[c] = static_cast<float>(r[c]);
}

void matrixTransformNormal(const Matrix4* m, float* n) { matrixTransformNormal2(m, n, n); }
