// Natives of kel.geom.Geom (static): carrying vectors, normals, points and
// boxes through a Matrix4 into a destination object, which may be the source.
#include "share/kel/geom/geom_objects.h"

namespace {

// Runs op(matrix, src, dst) on the three objects' field blocks when all exist.
template <class Op>
void transformVector(JHandle matrix, JHandle src, JHandle dst, Op op) {
  const Matrix4* m = matrixOf(matrix);
  const float* s = floatsOf(src);
  float* d = floatsOf(dst);
  if (m == nullptr || s == nullptr || d == nullptr) return;
  op(m, s, d);
}

}  // namespace

// The out-of-place library forms read their input before writing, so one call
// serves both the aliased and the separate case.

void kel_geom_Geom_doTransformVector(JStatic*, JHandle matrix, JHandle src, JHandle dst) {
  transformVector(matrix, src, dst, matrixTransformVector2);
}

// The vector comes first: dst := src·M₃ᵀ (the caller passes the inverse
// transform to carry a normal).
void kel_geom_Geom_doTransformNormal(JStatic*, JHandle src, JHandle matrix, JHandle dst) {
  transformVector(matrix, src, dst, matrixTransformNormal2);
}

void kel_geom_Geom_doTransformPoint(JStatic*, JHandle matrix, JHandle src, JHandle dst) {
  transformVector(matrix, src, dst, matrixTransformPoint2);
}

// dst := the box enclosing src's image; an empty src box passes through
// unchanged, as in BoundingBox3.transform.
void kel_geom_Geom_doTransformBoundingBox(JStatic*, JHandle matrix, JHandle src, JHandle dst) {
  const Matrix4* m = matrixOf(matrix);
  const BoxFields from = boxOf(src);
  const BoxFields to = boxOf(dst);
  if (m == nullptr || !from || !to) return;
  if (from.empty()) {
    const float centre[3] = {from.centre[0], from.centre[1], from.centre[2]};
    const float half[3] = {from.half[0], from.half[1], from.half[2]};
    for (int a = 0; a < 3; ++a) {
      to.centre[a] = centre[a];
      to.half[a] = half[a];
    }
    return;
  }
  matrixTransformBBox2(m, from.centre, from.half, to.centre, to.half);
}

KELRUK_STUB(kel_geom_Geom_doTransformVector)
KELRUK_STUB(kel_geom_Geom_doTransformNormal)
KELRUK_STUB(kel_geom_Geom_doTransformPoint)
KELRUK_STUB(kel_geom_Geom_doTransformBoundingBox)
