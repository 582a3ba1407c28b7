// Natives of kel.geom.Vector3: fields x, y, z.
#include "share/kel/geom/geom_objects.h"

namespace {

// a × b in double, read completely before anything is written.
void crossInto(const float* a, const float* b, double* out) {
  const double ax = a[0], ay = a[1], az = a[2];
  const double bx = b[0], by = b[1], bz = b[2];
  out[0] = ay * bz - by * az;
  out[1] = az * bx - bz * ax;
  out[2] = by * ax - ay * bx;
}

}  // namespace

float kel_geom_Vector3_magnitude(JHandle self) { return static_cast<float>(lengthOf(floatsOf(self), 3)); }

float kel_geom_Vector3_dot(JHandle self, JHandle other) { return dotOf(self, other, 3); }

void kel_geom_Vector3_cross(JHandle self, JHandle a, JHandle b) {
  const float* va = floatsOf(a);
  const float* vb = floatsOf(b);
  if (va == nullptr || vb == nullptr) return;
  double r[3];
  crossInto(va, vb, r);
  float* out = floatsOf(self);
  for (int i = 0; i < 3; ++i) out[i] = static_cast<float>(r[i]);
}

float kel_geom_Vector3_crossmag(JHandle self, JHandle other) {
  const float* b = floatsOf(other);
  if (b == nullptr) return 0.0f;
  double r[3];
  crossInto(floatsOf(self), b, r);
  return static_cast<float>(std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]));
}

float kel_geom_Vector3_doNormalize(JHandle self) { return normalizeFrom(self, self, 3); }

float kel_geom_Vector3_doNormalize2(JHandle self, JHandle src) { return normalizeFrom(self, src, 3); }

KELRUK_STUB(kel_geom_Vector3_magnitude)
KELRUK_STUB(kel_geom_Vector3_dot)
KELRUK_STUB(kel_geom_Vector3_cross)
KELRUK_STUB(kel_geom_Vector3_crossmag)
KELRUK_STUB(kel_geom_Vector3_doNormalize)
KELRUK_STUB(kel_geom_Vector3_doNormalize2)
