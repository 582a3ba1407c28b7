// The natives of kel.geom as fuzz program operations. Receivers and
// arguments come from small pools, so a source is often its destination.
#include "fuzz/fuzz_state.h"

namespace fuzz {
namespace {

#define GEOM_STUB(cls, method) "Java_kel_geom_" #cls "_" #method "_stub"

using kel::geom::BoundingBox3;
using kel::geom::Geom;

Vector3& vector(State& s) { return s.receiver(s.vectors); }
Quaternion& quaternion(State& s) { return s.receiver(s.quaternions); }
Matrix4& matrix(State& s) { return s.receiver(s.matrices); }

// Reads the receiver first, then the arguments, then the floats.
void vectorMagnitude(State& s) { vector(s).magnitude(); }
void vectorDot(State& s) {
  Vector3& v = vector(s);
  v.dot(s.argument(s.vectors));
}
void vectorCross(State& s) {
  Vector3& v = vector(s);
  const Vector3 a = s.argument(s.vectors), b = s.argument(s.vectors);
  v.cross(a, b);
}
void vectorCrossmag(State& s) {
  Vector3& v = vector(s);
  v.crossmag(s.argument(s.vectors));
}
void vectorNormalize(State& s) { vector(s).doNormalize(); }
void vectorNormalize2(State& s) {
  Vector3& v = vector(s);
  v.doNormalize2(s.argument(s.vectors));
}

void quaternionMultiply(State& s) {
  Quaternion& q = quaternion(s);
  const Quaternion a = s.argument(s.quaternions), b = s.argument(s.quaternions);
  q.multiply(a, b);
}
void quaternionPreMultiply(State& s) {
  Quaternion& q = quaternion(s);
  q.preMultiply(s.argument(s.quaternions));
}
void quaternionPostMultiply(State& s) {
  Quaternion& q = quaternion(s);
  q.postMultiply(s.argument(s.quaternions));
}
void quaternionDot(State& s) {
  Quaternion& q = quaternion(s);
  q.dot(s.argument(s.quaternions));
}
void quaternionMagnitude(State& s) { quaternion(s).magnitude(); }
void quaternionNormalize(State& s) { quaternion(s).doNormalize(); }
void quaternionNormalize2(State& s) {
  Quaternion& q = quaternion(s);
  q.doNormalize2(s.argument(s.quaternions));
}
void quaternionRotation(State& s) {
  Quaternion& q = quaternion(s);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real(), angle = s.in.real();
  q.doRotation(x, y, z, angle);
}

void matrixIdentity(State& s) { matrix(s).identity(); }
void matrixTranslate(State& s) {
  Matrix4& m = matrix(s);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real();
  m.doTranslate(x, y, z);
}
void matrixTranslate2(State& s) {
  Matrix4& m = matrix(s);
  const Matrix4 src = s.argument(s.matrices);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real();
  m.doTranslate2(src, x, y, z);
}
void matrixIsoscale(State& s) {
  Matrix4& m = matrix(s);
  m.doIsoscale(s.in.real());
}
void matrixIsoscale2(State& s) {
  Matrix4& m = matrix(s);
  const Matrix4 src = s.argument(s.matrices);
  m.doIsoscale2(src, s.in.real());
}
void matrixScale(State& s) {
  Matrix4& m = matrix(s);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real();
  m.doScale(x, y, z);
}
void matrixScale2(State& s) {
  Matrix4& m = matrix(s);
  const Matrix4 src = s.argument(s.matrices);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real();
  m.doScale2(src, x, y, z);
}
void matrixRotate(State& s) {
  Matrix4& m = matrix(s);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real(), angle = s.in.real();
  m.doRotate(x, y, z, angle);
}
void matrixRotate2(State& s) {
  Matrix4& m = matrix(s);
  const Matrix4 src = s.argument(s.matrices);
  const float x = s.in.real(), y = s.in.real(), z = s.in.real(), angle = s.in.real();
  m.doRotate2(src, x, y, z, angle);
}
void matrixQuatRotate(State& s) {
  Matrix4& m = matrix(s);
  m.doQuatRotate(s.argument(s.quaternions));
}
void matrixQuatRotate2(State& s) {
  Matrix4& m = matrix(s);
  const Matrix4 src = s.argument(s.matrices);
  m.doQuatRotate2(src, s.argument(s.quaternions));
}
void matrixPreMultiply(State& s) {
  Matrix4& m = matrix(s);
  m.preMultiply(s.argument(s.matrices));
}
void matrixPostMultiply(State& s) {
  Matrix4& m = matrix(s);
  m.postMultiply(s.argument(s.matrices));
}
void matrixMultiply(State& s) {
  Matrix4& m = matrix(s);
  const Matrix4 a = s.argument(s.matrices), b = s.argument(s.matrices);
  m.multiply(a, b);
}
void matrixTranspose(State& s) { matrix(s).doTranspose(); }
void matrixTranspose2(State& s) {
  Matrix4& m = matrix(s);
  m.doTranspose2(s.argument(s.matrices));
}
void matrixInvert(State& s) { matrix(s).doInvert(); }
void matrixInvert2(State& s) {
  Matrix4& m = matrix(s);
  m.doInvert2(s.argument(s.matrices));
}
void matrixDeterminant(State& s) { matrix(s).determinant(); }

void boxTransform(State& s) {
  BoundingBox3& b = s.receiver(s.boxes);
  b.transform(s.argument(s.matrices));
}
void boxRayIntersection(State& s) {
  BoundingBox3& b = s.receiver(s.boxes);
  b.rayIntersection(s.argument(s.rays));
}

// Geom's natives are static: every argument may be null.
void transformVector(State& s) {
  const Matrix4 m = s.argument(s.matrices);
  const Vector3 src = s.argument(s.vectors), dst = s.argument(s.vectors);
  Geom::doTransformVector(m, src, dst);
}
void transformNormal(State& s) {
  const Vector3 src = s.argument(s.vectors);
  const Matrix4 m = s.argument(s.matrices);
  const Vector3 dst = s.argument(s.vectors);
  Geom::doTransformNormal(src, m, dst);
}
void transformPoint(State& s) {
  const Matrix4 m = s.argument(s.matrices);
  const Vector3 src = s.argument(s.vectors), dst = s.argument(s.vectors);
  Geom::doTransformPoint(m, src, dst);
}
void transformBoundingBox(State& s) {
  const Matrix4 m = s.argument(s.matrices);
  const BoundingBox3 src = s.argument(s.boxes), dst = s.argument(s.boxes);
  Geom::doTransformBoundingBox(m, src, dst);
}

constexpr Operation GEOM_OPERATIONS[] = {
    {"Vector3.magnitude", GEOM_STUB(Vector3, magnitude), vectorMagnitude},
    {"Vector3.dot", GEOM_STUB(Vector3, dot), vectorDot},
    {"Vector3.cross", GEOM_STUB(Vector3, cross), vectorCross},
    {"Vector3.crossmag", GEOM_STUB(Vector3, crossmag), vectorCrossmag},
    {"Vector3.doNormalize", GEOM_STUB(Vector3, doNormalize), vectorNormalize},
    {"Vector3.doNormalize2", GEOM_STUB(Vector3, doNormalize2), vectorNormalize2},
    {"Quaternion.multiply", GEOM_STUB(Quaternion, multiply), quaternionMultiply},
    {"Quaternion.preMultiply", GEOM_STUB(Quaternion, preMultiply), quaternionPreMultiply},
    {"Quaternion.postMultiply", GEOM_STUB(Quaternion, postMultiply), quaternionPostMultiply},
    {"Quaternion.dot", GEOM_STUB(Quaternion, dot), quaternionDot},
    {"Quaternion.magnitude", GEOM_STUB(Quaternion, magnitude), quaternionMagnitude},
    {"Quaternion.doNormalize", GEOM_STUB(Quaternion, doNormalize), quaternionNormalize},
    {"Quaternion.doNormalize2", GEOM_STUB(Quaternion, doNormalize2), quaternionNormalize2},
    {"Quaternion.doRotation", GEOM_STUB(Quaternion, doRotation), quaternionRotation},
    {"Matrix4.identity", GEOM_STUB(Matrix4, identity), matrixIdentity},
    {"Matrix4.doTranslate", GEOM_STUB(Matrix4, doTranslate), matrixTranslate},
    {"Matrix4.doTranslate2", GEOM_STUB(Matrix4, doTranslate2), matrixTranslate2},
    {"Matrix4.doIsoscale", GEOM_STUB(Matrix4, doIsoscale), matrixIsoscale},
    {"Matrix4.doIsoscale2", GEOM_STUB(Matrix4, doIsoscale2), matrixIsoscale2},
    {"Matrix4.doScale", GEOM_STUB(Matrix4, doScale), matrixScale},
    {"Matrix4.doScale2", GEOM_STUB(Matrix4, doScale2), matrixScale2},
    {"Matrix4.doRotate", GEOM_STUB(Matrix4, doRotate), matrixRotate},
    {"Matrix4.doRotate2", GEOM_STUB(Matrix4, doRotate2), matrixRotate2},
    {"Matrix4.doQuatRotate", GEOM_STUB(Matrix4, doQuatRotate), matrixQuatRotate},
    {"Matrix4.doQuatRotate2", GEOM_STUB(Matrix4, doQuatRotate2), matrixQuatRotate2},
    {"Matrix4.preMultiply", GEOM_STUB(Matrix4, preMultiply), matrixPreMultiply},
    {"Matrix4.postMultiply", GEOM_STUB(Matrix4, postMultiply), matrixPostMultiply},
    {"Matrix4.multiply", GEOM_STUB(Matrix4, multiply), matrixMultiply},
    {"Matrix4.doTranspose", GEOM_STUB(Matrix4, doTranspose), matrixTranspose},
    {"Matrix4.doTranspose2", GEOM_STUB(Matrix4, doTranspose2), matrixTranspose2},
    {"Matrix4.doInvert", GEOM_STUB(Matrix4, doInvert), matrixInvert},
    {"Matrix4.doInvert2", GEOM_STUB(Matrix4, doInvert2), matrixInvert2},
    {"Matrix4.determinant", GEOM_STUB(Matrix4, determinant), matrixDeterminant},
    {"BoundingBox3.transform", GEOM_STUB(BoundingBox3, transform), boxTransform},
    {"BoundingBox3.rayIntersection", GEOM_STUB(BoundingBox3, rayIntersection), boxRayIntersection},
    {"Geom.doTransformVector", GEOM_STUB(Geom, doTransformVector), transformVector},
    {"Geom.doTransformNormal", GEOM_STUB(Geom, doTransformNormal), transformNormal},
    {"Geom.doTransformPoint", GEOM_STUB(Geom, doTransformPoint), transformPoint},
    {"Geom.doTransformBoundingBox", GEOM_STUB(Geom, doTransformBoundingBox), transformBoundingBox},
};

}  // namespace

std::span<const Operation> geomOperations() { return GEOM_OPERATIONS; }

}  // namespace fuzz
