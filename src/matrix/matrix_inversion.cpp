// Inversion and determinant.
//
// Inversion takes the first path whose claim holds: identity, pure translation,
// pure scale, pure rotation, rigid, affine (3x3 cofactors with a relative
// singularity test), general (4x4 adjugate). A singular matrix is left
// untouched and reported by a 0 result.
#include <cmath>

#include "matrix/matrix.h"
#include "matrix/matrix_kernels.h"

using namespace matrix_kernels;

namespace {

constexpr double kSingular = 1e-8;

// 3x3 determinant of the elements given row by row.
double det3(double a, double b, double c, double d, double e, double f, double g, double h, double i) {
  return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// Cofactor (r, c) of a 4x4 matrix: (−1)^(r+c) times the determinant of the
// 3x3 matrix left when row r and column c are removed.
double cofactor4(const float* m, int r, int c) {
  double s[9];
  int n = 0;
  for (int row = 0; row < 4; ++row) {
    if (row == r) continue;
    for (int col = 0; col < 4; ++col) {
      if (col != c) s[n++] = m[4 * row + col];
    }
  }
  const double minor = det3(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], s[8]);
  return ((r + c) & 1) ? -minor : minor;
}

// Expansion along column 0.
double determinant4(const float* m) {
  return m[0] * cofactor4(m, 0, 0) + m[4] * cofactor4(m, 1, 0) + m[8] * cofactor4(m, 2, 0) + m[12] * cofactor4(m, 3, 0);
}

// The six terms of the 3x3 block's determinant, split by sign.
struct BlockDeterminant {
  double positive = 0.0;
  double negative = 0.0;
};

BlockDeterminant blockDeterminant(const float* m) {
  const double terms[6] = {
      double(m[0]) * m[5] * m[10],   double(m[1]) * m[6] * m[8],     double(m[9]) * m[2] * m[4],
      -(double(m[2]) * m[5] * m[8]), -(double(m[1]) * m[10] * m[4]), -(double(m[0]) * m[9] * m[6]),
  };
  BlockDeterminant d;
  for (double t : terms) (t > 0.0 ? d.positive : d.negative) += t;
  return d;
}

// Affine inverse in place. The block is singular when its determinant is tiny
// in absolute terms or relative to the size of its terms.
bool invertAffine(float* m, bool hasTranslation) {
  const BlockDeterminant d = blockDeterminant(m);
  const double det = d.positive + d.negative;
  if (std::fabs(det) < kSingular) return false;
  if (std::fabs(det / (d.positive - d.negative)) < kSingular) return false;
  const double inv = 1.0 / det;

  const double a = m[0], b = m[1], c = m[2];
  const double e = m[4], f = m[5], g = m[6];
  const double i = m[8], j = m[9], k = m[10];
  const float block[9] = {
      static_cast<float>((f * k - g * j) * inv), static_cast<float>((c * j - b * k) * inv),
      static_cast<float>((b * g - c * f) * inv), static_cast<float>((g * i - e * k) * inv),
      static_cast<float>((a * k - c * i) * inv), static_cast<float>((c * e - a * g) * inv),
      static_cast<float>((e * j - f * i) * inv), static_cast<float>((b * i - a * j) * inv),
      static_cast<float>((a * f - b * e) * inv),
  };
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) m[4 * row + col] = block[3 * row + col];
  }
  if (hasTranslation) {
    const double tx = m[12], ty = m[13], tz = m[14];
    for (int col = 0; col < 3; ++col) m[12 + col] = static_cast<float>(-rowTimesBlock(tx, ty, tz, m, col));
  }
  return true;
}

// General inverse in place: the adjugate over the determinant.
bool invertGeneral(float* m) {
  const double det = determinant4(m);
  if (std::fabs(det) < kSingular) return false;
  float r[16];
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) r[4 * row + col] = static_cast<float>(cofactor4(m, col, row) / det);
  }
  for (int n = 0; n < 16; ++n) m[n] = r[n];
  return true;
}

}  // namespace

int matrixInvert(Matrix4* m) {
  const uint32_t h = m->hints;
  float* e = m->m;
  if (claims(h, MATRIX_IDENTITY)) return 1;
  if (claims(h, MATRIX_PURE_TRANSLATION)) {
    e[12] = -e[12];
    e[13] = -e[13];
    e[14] = -e[14];
    return 1;
  }
  if (claims(h, MATRIX_PURE_SCALE)) {
    e[0] = 1.0f / e[0];
    e[5] = 1.0f / e[5];
    e[10] = 1.0f / e[10];
    return 1;
  }
  if (claims(h, MATRIX_PURE_ROTATION)) {
    transposeBlock(e);
    return 1;
  }
  if (claims(h, MATRIX_RIGID)) {
    // [R 0; t 1]⁻¹ = [Rᵀ 0; −t·Rᵀ 1].
    transposeBlock(e);
    const double tx = e[12], ty = e[13], tz = e[14];
    for (int c = 0; c < 3; ++c) e[12 + c] = static_cast<float>(-rowTimesBlock(tx, ty, tz, e, c));
    return 1;
  }
  if (claims(h, MATRIX_AFFINE)) return invertAffine(e, !claims(h, MATRIX_NO_TRANSLATION)) ? 1 : 0;
  if (!invertGeneral(e)) return 0;
  m->hints = 0;
  return 1;
}

int matrixInvert2(const Matrix4* src, Matrix4* dst) {
  if (claims(src->hints, MATRIX_IDENTITY)) {
    matrixIdentity(dst);
    return 1;
  }
  // The in-place paths on a copy write what the out-of-place ones would, given
  // that the claims hold; dst is untouched when the source is singular.
  Matrix4 inverse = *src;
  if (!matrixInvert(&inverse)) return 0;
  *dst = inverse;
  return 1;
}

float matrixDeterminant(const Matrix4* m) {
  const uint32_t h = m->hints;
  const float* e = m->m;
  if (claims(h, MATRIX_PURE_ROTATION)) return 1.0f;
  if (claims(h, MATRIX_PURE_SCALE)) return static_cast<float>(double(e[0]) * e[5] * e[10]);
  if (claims(h, MATRIX_AFFINE)) {
    const BlockDeterminant d = blockDeterminant(e);
    return static_cast<float>(d.negative + d.positive);
  }
  return static_cast<float>(determinant4(e));
}
