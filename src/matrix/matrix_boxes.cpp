// Transforming bounding boxes given by centre and half-extents. The result is
// the smallest box of that form that encloses the transformed box.
#include <cmath>

#include "matrix/matrix.h"
#include "matrix/matrix_kernels.h"

using namespace matrix_kernels;

namespace {

// True when the elements themselves are affine, whatever the claims say.
bool affineInFact(const float* m) { return m[3] == 0.0f && m[7] == 0.0f && m[11] == 0.0f && m[15] == 1.0f; }

}  // namespace

void matrixTransformBBox2(const Matrix4* m, const float* centre, const float* half, float* centreOut, float* halfOut) {
  const uint32_t h = m->hints;
  const float* e = m->m;
  const float c[3] = {centre[0], centre[1], centre[2]};
  const float s[3] = {half[0], half[1], half[2]};
  float cOut[3] = {c[0], c[1], c[2]};
  float sOut[3] = {s[0], s[1], s[2]};
  if (claims(h, MATRIX_IDENTITY)) {
    // unchanged
  } else if (claims(h, MATRIX_PURE_TRANSLATION)) {
    for (int a = 0; a < 3; ++a) cOut[a] = c[a] + e[12 + a];
  } else if (claims(h, MATRIX_PURE_SCALE)) {
    for (int a = 0; a < 3; ++a) {
      cOut[a] = c[a] * e[5 * a];
      sOut[a] = s[a] * std::fabs(e[5 * a]);
    }
  } else if (claims(h, MATRIX_AFFINE) || affineInFact(e)) {
    for (int a = 0; a < 3; ++a) {
      cOut[a] = static_cast<float>(rowTimesBlock(c[0], c[1], c[2], e, a) + e[12 + a]);
      sOut[a] = static_cast<float>(std::fabs(double(e[a])) * s[0] + std::fabs(double(e[4 + a])) * s[1] +
                                   std::fabs(double(e[8 + a])) * s[2]);
    }
  }
  // A projective matrix does not carry a box to a box: the box passes through
  // unchanged.
  for (int a = 0; a < 3; ++a) {
    centreOut[a] = cOut[a];
    halfOut[a] = sOut[a];
  }
}

void matrixTransformBBox(const Matrix4* m, float* centre, float* half) {
  matrixTransformBBox2(m, centre, half, centre, half);
}
