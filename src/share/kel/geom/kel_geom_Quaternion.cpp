// Natives of kel.geom.Quaternion: fields x, y, z, w (w the scalar part).
//
// p ⊗ q is the Hamilton product; as a rotation it applies q first, then p.
// Every product reads both operands completely before writing, so the
// receiver may be either operand.
#include "matrix/axis_angle.h"
#include "share/kel/geom/geom_objects.h"

namespace {

// out := p ⊗ q.
void hamiltonProduct(const float* p, const float* q, float* out) {
  const double px = p[0], py = p[1], pz = p[2], pw = p[3];
  const double qx = q[0], qy = q[1], qz = q[2], qw = q[3];
  const float r[4] = {
      static_cast<float>(pw * qx + px * qw + py * qz - pz * qy),
      static_cast<float>(pw * qy + py * qw + pz * qx - px * qz),
      static_cast<float>(pw * qz + pz * qw + px * qy - py * qx),
      static_cast<float>(pw * qw - px * qx - py * qy - pz * qz),
  };
  for (int i = 0; i < 4; ++i) out[i] = r[i];
}

// this := p ⊗ q; nothing when p or q is null.
void productInto(JHandle self, JHandle p, JHandle q) {
  const float* a = floatsOf(p);
  const float* b = floatsOf(q);
  if (a == nullptr || b == nullptr) return;
  hamiltonProduct(a, b, floatsOf(self));
}

}  // namespace

// this := a ⊗ b, whichever objects a and b are (so b's rotation applies
// first; the receiver may be a or b).
void kel_geom_Quaternion_multiply(JHandle self, JHandle a, JHandle b) { productInto(self, a, b); }

// this := this ⊗ q: q applies before the old rotation.
void kel_geom_Quaternion_preMultiply(JHandle self, JHandle q) { productInto(self, self, q); }

// this := q ⊗ this: q applies after the old rotation.
void kel_geom_Quaternion_postMultiply(JHandle self, JHandle q) { productInto(self, q, self); }

float kel_geom_Quaternion_dot(JHandle self, JHandle q) { return dotOf(self, q, 4); }

float kel_geom_Quaternion_magnitude(JHandle self) { return static_cast<float>(lengthOf(floatsOf(self), 4)); }

float kel_geom_Quaternion_doNormalize(JHandle self) { return normalizeFrom(self, self, 4); }

float kel_geom_Quaternion_doNormalize2(JHandle self, JHandle src) { return normalizeFrom(self, src, 4); }

void kel_geom_Quaternion_doRotation(JHandle self, float x, float y, float z, float angle) {
  quaternionFromAxisAngle(x, y, z, angle, floatsOf(self));
}

KELRUK_STUB(kel_geom_Quaternion_multiply)
KELRUK_STUB(kel_geom_Quaternion_preMultiply)
KELRUK_STUB(kel_geom_Quaternion_postMultiply)
KELRUK_STUB(kel_geom_Quaternion_dot)
KELRUK_STUB(kel_geom_Quaternion_magnitude)
KELRUK_STUB(kel_geom_Quaternion_doNormalize)
KELRUK_STUB(kel_geom_Quaternion_doNormalize2)
KELRUK_STUB(kel_geom_Quaternion_doRotation)
