// Transposition.
//
// A pure scale is its own transpose. An affine matrix without translation
// transposes within its 3x3 block and keeps its claims (the transposed block
// is diagonal, orthonormal or conformal exactly when the block was). Any other
// matrix moves its fourth column into the translation row, so its claims go.
#include "matrix/matrix.h"
#include "matrix/matrix_kernels.h"

using namespace matrix_kernels;

namespace {

bool transposeKeepsClaims(uint32_t hints) {
  return claims(hints, MATRIX_NO_TRANSLATION) && claims(hints, MATRIX_AFFINE);
}

void fullTranspose(const float* src, float* dst) {
  float r[16];
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) r[4 * col + row] = src[4 * row + col];
  }
  for (int n = 0; n < 16; ++n) dst[n] = r[n];
}

}  // namespace

void matrixTranspose(Matrix4* m) {
  const uint32_t h = m->hints;
  if (claims(h, MATRIX_PURE_SCALE)) return;
  if (transposeKeepsClaims(h)) {
    transposeBlock(m->m);
    return;
  }
  fullTranspose(m->m, m->m);
  m->hints = 0;
}

void matrixTranspose2(const Matrix4* src, Matrix4* dst) {
  const uint32_t h = src->hints;
  fullTranspose(src->m, dst->m);
  dst->hints = transposeKeepsClaims(h) ? h : 0;
}
