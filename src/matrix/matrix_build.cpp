// Building matrices: identity, translation, rotation and scale, each composed
// before the existing transform (M := T·M).
//
// Each operation takes the cheapest path the claims allow: identity, then the
// special shape, then affine. A matrix without the affine claim is composed in
// full (all four columns), so a matrix that claims nothing gets the same result
// as one that claims its true shape. The out-of-place forms copy the source and
// build in place; since the claims hold, that writes exactly what a dedicated
// out-of-place path would.
#include <cstring>

#include "matrix/axis_angle.h"
#include "matrix/matrix.h"
#include "matrix/matrix_kernels.h"

using namespace matrix_kernels;

namespace {

// Claims that each building operation preserves.
constexpr uint32_t kTranslationKeeps = MATRIX_AFFINE | MATRIX_CONFORMAL | MATRIX_RIGID | MATRIX_PURE_TRANSLATION;
constexpr uint32_t kRotationKeeps =
    MATRIX_NO_TRANSLATION | MATRIX_AFFINE | MATRIX_PURE_ROTATION | MATRIX_CONFORMAL | MATRIX_RIGID;
constexpr uint32_t kScaleKeeps = MATRIX_NO_TRANSLATION | MATRIX_AFFINE | MATRIX_PURE_SCALE;
constexpr uint32_t kIsotropicScaleKeeps = kScaleKeeps | MATRIX_UNIFORM_SCALE | MATRIX_CONFORMAL;
constexpr uint32_t kSingularScaleKeeps = MATRIX_NO_TRANSLATION | MATRIX_AFFINE;

// Columns that a row operation touches: the 3x3 block of an affine matrix,
// whose fourth column is fixed, or all four of any other.
int columnsToCompose(uint32_t hints) { return claims(hints, MATRIX_AFFINE) ? 3 : 4; }

// M := S(x, y, z)·M: rows 0, 1, 2 scaled by x, y, z.
void scaleRows(Matrix4* m, float x, float y, float z) {
  const uint32_t h = m->hints;
  float* e = m->m;
  if (claims(h, MATRIX_IDENTITY)) {
    std::memcpy(e, kIdentityElements, sizeof kIdentityElements);
    e[0] = x;
    e[5] = y;
    e[10] = z;
  } else if (claims(h, MATRIX_PURE_SCALE)) {
    e[0] *= x;
    e[5] *= y;
    e[10] *= z;
  } else {
    const int columns = columnsToCompose(h);
    const float factor[3] = {x, y, z};
    for (int row = 0; row < 3; ++row) {
      for (int c = 0; c < columns; ++c) e[4 * row + c] *= factor[row];
    }
  }
}

}  // namespace

void matrixIdentity(Matrix4* m) {
  std::memcpy(m->m, kIdentityElements, sizeof kIdentityElements);
  m->hints = MATRIX_ALL_CLAIMS;
}

void matrixTranslate(Matrix4* m, float x, float y, float z) {
  const uint32_t h = m->hints;
  float* e = m->m;
  if (claims(h, MATRIX_IDENTITY)) {
    std::memcpy(e, kIdentityElements, sizeof kIdentityElements);
    e[12] = x;
    e[13] = y;
    e[14] = z;
  } else if (claims(h, MATRIX_PURE_TRANSLATION)) {
    e[12] += x;
    e[13] += y;
    e[14] += z;
  } else {
    // Row 3 := x·row 0 + y·row 1 + z·row 2 + row 3.
    const int columns = columnsToCompose(h);
    for (int c = 0; c < columns; ++c) e[12 + c] = static_cast<float>(rowTimesBlock(x, y, z, e, c) + e[12 + c]);
  }
  m->hints = h & kTranslationKeeps;
}

void matrixTranslate2(const Matrix4* src, Matrix4* dst, float x, float y, float z) {
  *dst = *src;
  matrixTranslate(dst, x, y, z);
}

void matrixQuatRotate(Matrix4* m, const float* q) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  const float r[9] = {
      static_cast<float>(1 - 2 * y * y - 2 * z * z), static_cast<float>(2 * x * y + 2 * z * w),
      static_cast<float>(2 * x * z - 2 * y * w),     static_cast<float>(2 * x * y - 2 * z * w),
      static_cast<float>(1 - 2 * x * x - 2 * z * z), static_cast<float>(2 * y * z + 2 * w * x),
      static_cast<float>(2 * x * z + 2 * y * w),     static_cast<float>(2 * y * z - 2 * w * x),
      static_cast<float>(1 - 2 * x * x - 2 * y * y),
  };
  const uint32_t h = m->hints;
  float* e = m->m;
  if (claims(h, MATRIX_IDENTITY)) {
    std::memcpy(e, kIdentityElements, sizeof kIdentityElements);
    for (int row = 0; row < 3; ++row) std::memcpy(e + 4 * row, r + 3 * row, 3 * sizeof(float));
  } else {
    // Rows 0..2 := R·rows 0..2; the translation row is untouched.
    const int columns = columnsToCompose(h);
    float rows[12];
    for (int row = 0; row < 3; ++row) {
      for (int c = 0; c < columns; ++c) {
        rows[4 * row + c] = static_cast<float>(rowTimesBlock(r[3 * row], r[3 * row + 1], r[3 * row + 2], e, c));
      }
    }
    for (int row = 0; row < 3; ++row) std::memcpy(e + 4 * row, rows + 4 * row, columns * sizeof(float));
  }
  m->hints = h & kRotationKeeps;
}

void matrixQuatRotate2(const Matrix4* src, Matrix4* dst, const float* q) {
  float quaternion[4];
  std::memcpy(quaternion, q, sizeof quaternion);  // q may lie inside dst
  *dst = *src;
  matrixQuatRotate(dst, quaternion);
}

void matrixRotate(Matrix4* m, float x, float y, float z, float angle) {
  float q[4];
  quaternionFromAxisAngle(x, y, z, angle, q);
  matrixQuatRotate(m, q);
}

void matrixRotate2(const Matrix4* src, Matrix4* dst, float x, float y, float z, float angle) {
  float q[4];
  quaternionFromAxisAngle(x, y, z, angle, q);
  matrixQuatRotate2(src, dst, q);
}

void matrixScale(Matrix4* m, float x, float y, float z) {
  const uint32_t h = m->hints;
  scaleRows(m, x, y, z);
  m->hints = h & (x != 0.0f && y != 0.0f && z != 0.0f ? kScaleKeeps : kSingularScaleKeeps);
}

void matrixScale2(const Matrix4* src, Matrix4* dst, float x, float y, float z) {
  *dst = *src;
  matrixScale(dst, x, y, z);
}

void matrixIsotropicScale(Matrix4* m, float s) {
  const uint32_t h = m->hints;
  scaleRows(m, s, s, s);
  m->hints = h & (s != 0.0f ? kIsotropicScaleKeeps : kSingularScaleKeeps);
}

void matrixIsotropicScale2(const Matrix4* src, Matrix4* dst, float s) {
  *dst = *src;
  matrixIsotropicScale(dst, s);
}
