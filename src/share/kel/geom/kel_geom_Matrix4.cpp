// Natives of kel.geom.Matrix4, whose field block is the library's matrix
// record (16 elements and the hint word).
//
// Each native hands the field blocks to the matrix library; where the source
// is the receiver itself it calls the in-place form, since the out-of-place
// forms need distinct source and destination.
#include "share/kel/geom/geom_objects.h"

namespace {

// Equal factors take the isotropic path, which keeps the conformal claim that
// a general scale drops. A factor neither less nor greater than x counts as
// equal to it.
bool isotropic(float x, float y, float z) { return !(y < x) && !(y > x) && !(z < x) && !(z > x); }

// Writes the receiver from the matrix src: in place when src is the receiver,
// else out of place. A null src changes nothing.
template <class InPlace, class OutOfPlace>
void fromSource(JHandle self, JHandle src, InPlace inPlace, OutOfPlace outOfPlace) {
  Matrix4* dst = matrixOf(self);
  const Matrix4* s = matrixOf(src);
  if (s == nullptr) return;
  if (s == dst) {
    inPlace(dst);
  } else {
    outOfPlace(s, dst);
  }
}

}  // namespace

void kel_geom_Matrix4_identity(JHandle self) { matrixIdentity(matrixOf(self)); }

void kel_geom_Matrix4_doTranslate(JHandle self, float x, float y, float z) { matrixTranslate(matrixOf(self), x, y, z); }

void kel_geom_Matrix4_doTranslate2(JHandle self, JHandle src, float x, float y, float z) {
  fromSource(
      self, src, [&](Matrix4* m) { matrixTranslate(m, x, y, z); },
      [&](const Matrix4* s, Matrix4* d) { matrixTranslate2(s, d, x, y, z); });
}

void kel_geom_Matrix4_doIsoscale(JHandle self, float s) { matrixIsotropicScale(matrixOf(self), s); }

void kel_geom_Matrix4_doIsoscale2(JHandle self, JHandle src, float factor) {
  fromSource(
      self, src, [&](Matrix4* m) { matrixIsotropicScale(m, factor); },
      [&](const Matrix4* s, Matrix4* d) { matrixIsotropicScale2(s, d, factor); });
}

void kel_geom_Matrix4_doScale2(JHandle self, JHandle src, float x, float y, float z) {
  const bool uniform = isotropic(x, y, z);
  fromSource(
      self, src, [&](Matrix4* m) { uniform ? matrixIsotropicScale(m, x) : matrixScale(m, x, y, z); },
      [&](const Matrix4* s, Matrix4* d) { uniform ? matrixIsotropicScale2(s, d, x) : matrixScale2(s, d, x, y, z); });
}

void kel_geom_Matrix4_doScale(JHandle self, float x, float y, float z) {
  kel_geom_Matrix4_doScale2(self, self, x, y, z);
}

void kel_geom_Matrix4_doRotate(JHandle self, float x, float y, float z, float angle) {
  matrixRotate(matrixOf(self), x, y, z, angle);
}

void kel_geom_Matrix4_doRotate2(JHandle self, JHandle src, float x, float y, float z, float angle) {
  fromSource(
      self, src, [&](Matrix4* m) { matrixRotate(m, x, y, z, angle); },
      [&](const Matrix4* s, Matrix4* d) { matrixRotate2(s, d, x, y, z, angle); });
}

void kel_geom_Matrix4_doQuatRotate(JHandle self, JHandle q) {
  const float* quaternion = floatsOf(q);
  if (quaternion == nullptr) return;
  matrixQuatRotate(matrixOf(self), quaternion);
}

void kel_geom_Matrix4_doQuatRotate2(JHandle self, JHandle src, JHandle q) {
  const float* quaternion = floatsOf(q);
  if (quaternion == nullptr) return;
  fromSource(
      self, src, [&](Matrix4* m) { matrixQuatRotate(m, quaternion); },
      [&](const Matrix4* s, Matrix4* d) { matrixQuatRotate2(s, d, quaternion); });
}

// this := m·this.
void kel_geom_Matrix4_preMultiply(JHandle self, JHandle m) {
  const Matrix4* other = matrixOf(m);
  if (other == nullptr) return;
  matrixPreMultiply(matrixOf(self), other);
}

// this := this·m.
void kel_geom_Matrix4_postMultiply(JHandle self, JHandle m) {
  const Matrix4* other = matrixOf(m);
  if (other == nullptr) return;
  matrixPostMultiply(matrixOf(self), other);
}

// this := a·b.
void kel_geom_Matrix4_multiply(JHandle self, JHandle a, JHandle b) {
  Matrix4* dst = matrixOf(self);
  const Matrix4* ma = matrixOf(a);
  const Matrix4* mb = matrixOf(b);
  if (ma == nullptr || mb == nullptr) return;
  if (ma == dst) {
    matrixPostMultiply(dst, mb);
  } else if (mb == dst) {
    matrixPreMultiply(dst, ma);
  } else {
    matrixMultiply(ma, mb, dst);
  }
}

void kel_geom_Matrix4_doTranspose(JHandle self) { matrixTranspose(matrixOf(self)); }

void kel_geom_Matrix4_doTranspose2(JHandle self, JHandle src) {
  fromSource(
      self, src, [&](Matrix4* m) { matrixTranspose(m); },
      [&](const Matrix4* s, Matrix4* d) { matrixTranspose2(s, d); });
}

bool kel_geom_Matrix4_doInvert(JHandle self) { return matrixInvert(matrixOf(self)) == 1; }

bool kel_geom_Matrix4_doInvert2(JHandle self, JHandle src) {
  int inverted = 0;
  fromSource(
      self, src, [&](Matrix4* m) { inverted = matrixInvert(m); },
      [&](const Matrix4* s, Matrix4* d) { inverted = matrixInvert2(s, d); });
  return inverted == 1;
}

float kel_geom_Matrix4_determinant(JHandle self) { return matrixDeterminant(matrixOf(self)); }

KELRUK_STUB(kel_geom_Matrix4_identity)
KELRUK_STUB(kel_geom_Matrix4_doTranslate)
KELRUK_STUB(kel_geom_Matrix4_doTranslate2)
KELRUK_STUB(kel_geom_Matrix4_doIsoscale)
KELRUK_STUB(kel_geom_Matrix4_doIsoscale2)
KELRUK_STUB(kel_geom_Matrix4_doScale)
KELRUK_STUB(kel_geom_Matrix4_doScale2)
KELRUK_STUB(kel_geom_Matrix4_doRotate)
KELRUK_STUB(kel_geom_Matrix4_doRotate2)
KELRUK_STUB(kel_geom_Matrix4_doQuatRotate)
KELRUK_STUB(kel_geom_Matrix4_doQuatRotate2)
KELRUK_STUB(kel_geom_Matrix4_preMultiply)
KELRUK_STUB(kel_geom_Matrix4_postMultiply)
KELRUK_STUB(kel_geom_Matrix4_multiply)
KELRUK_STUB(kel_geom_Matrix4_doTranspose)
KELRUK_STUB(kel_geom_Matrix4_doTranspose2)
KELRUK_STUB(kel_geom_Matrix4_doInvert)
KELRUK_STUB(kel_geom_Matrix4_doInvert2)
KELRUK_STUB(kel_geom_Matrix4_determinant)
