// Matrix products. All three entry points share one routine that forms a·b by
// the cheapest path the two operands' claims allow, reading every input before
// writing, so an operand may also be the destination.
#include "matrix/matrix.h"
#include "matrix/matrix_kernels.h"

using namespace matrix_kernels;

namespace {

// Returns a·b. The result claims what both operands claim; a product with an
// identity operand is the other operand, claims included.
Matrix4 productByClaims(const Matrix4& a, const Matrix4& b) {
  if (claims(b.hints, MATRIX_IDENTITY)) return a;
  if (claims(a.hints, MATRIX_IDENTITY)) return b;

  Matrix4 r;
  r.hints = a.hints & b.hints;
  if (!claims(r.hints, MATRIX_AFFINE)) {
    fullProduct(a.m, b.m, r.m);
    return r;
  }
  if (claims(b.hints, MATRIX_PURE_TRANSLATION)) {
    // a's 3x3 block, translations added (a pure translation a included).
    r = a;
    r.hints = a.hints & b.hints;
    for (int c = 0; c < 3; ++c) r.m[12 + c] = a.m[12 + c] + b.m[12 + c];
  } else if (claims(a.hints, MATRIX_PURE_TRANSLATION)) {
    // b's 3x3 block, translation a.t·b₃ + b.t.
    r = b;
    r.hints = a.hints & b.hints;
    for (int c = 0; c < 3; ++c)
      r.m[12 + c] = static_cast<float>(rowTimesBlock(a.m[12], a.m[13], a.m[14], b.m, c) + b.m[12 + c]);
  } else if (claims(b.hints, MATRIX_PURE_SCALE)) {
    // Columns of a scaled, the translation row included.
    const float scale[3] = {b.m[0], b.m[5], b.m[10]};
    r = a;
    r.hints = a.hints & b.hints;
    for (int row = 0; row < 4; ++row) {
      for (int c = 0; c < 3; ++c) r.m[4 * row + c] *= scale[c];
    }
  } else {
    affineProduct(a.m, b.m, r.m, !claims(r.hints, MATRIX_NO_TRANSLATION));
    return r;
  }
  setAffineColumn(r.m);
  return r;
}

}  // namespace

void matrixPostMultiply(Matrix4* a, const Matrix4* b) { *a = productByClaims(*a, *b); }

void matrixPreMultiply(Matrix4* a, const Matrix4* b) { *a = productByClaims(*b, *a); }

void matrixMultiply(const Matrix4* a, const Matrix4* b, Matrix4* c) { *c = productByClaims(*a, *b); }
