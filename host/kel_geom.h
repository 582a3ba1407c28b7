// The Java classes of kel.geom as the host kit sees them: plain value classes
// holding a handle, with field accessors and one method per native, named as
// in Java and taking the native's arguments in order. A default-made object is
// the null reference.
#pragma once

#include <span>

#include "host/java_arrays.h"

namespace kel::geom {

using kelhost::callBoolean;
using kelhost::callFloat;
using kelhost::callVoid;

struct Vector3 {
  static constexpr int kFields = 3;
  JHandle handle = 0;

  static Vector3 create(float x = 0, float y = 0, float z = 0) { return {kelhost::newObjectOf(kFields, {x, y, z})}; }
  float x() const { return kelhost::getFloat(handle, 0); }
  float y() const { return kelhost::getFloat(handle, 1); }
  float z() const { return kelhost::getFloat(handle, 2); }
  void set(float x, float y, float z) const {
    kelhost::setFloat(handle, 0, x);
    kelhost::setFloat(handle, 1, y);
    kelhost::setFloat(handle, 2, z);
  }
  float* fields() const { return reinterpret_cast<float*>(fieldsOf(handle)); }

  float magnitude() const { return callFloat("Java_kel_geom_Vector3_magnitude_stub", {handle}); }
  float dot(Vector3 b) const { return callFloat("Java_kel_geom_Vector3_dot_stub", {handle, b.handle}); }
  void cross(Vector3 a, Vector3 b) const { callVoid("Java_kel_geom_Vector3_cross_stub", {handle, a.handle, b.handle}); }
  float crossmag(Vector3 b) const { return callFloat("Java_kel_geom_Vector3_crossmag_stub", {handle, b.handle}); }
  float doNormalize() const { return callFloat("Java_kel_geom_Vector3_doNormalize_stub", {handle}); }
  float doNormalize2(Vector3 src) const {
    return callFloat("Java_kel_geom_Vector3_doNormalize2_stub", {handle, src.handle});
  }
};

struct Quaternion {
  static constexpr int kFields = 4;
  JHandle handle = 0;

  static Quaternion create(float x = 0, float y = 0, float z = 0, float w = 1) {
    return {kelhost::newObjectOf(kFields, {x, y, z, w})};
  }
  float x() const { return kelhost::getFloat(handle, 0); }
  float y() const { return kelhost::getFloat(handle, 1); }
  float z() const { return kelhost::getFloat(handle, 2); }
  float w() const { return kelhost::getFloat(handle, 3); }
  void set(float x, float y, float z, float w) const {
    kelhost::setFloat(handle, 0, x);
    kelhost::setFloat(handle, 1, y);
    kelhost::setFloat(handle, 2, z);
    kelhost::setFloat(handle, 3, w);
  }
  float* fields() const { return reinterpret_cast<float*>(fieldsOf(handle)); }

  void multiply(Quaternion a, Quaternion b) const {
    callVoid("Java_kel_geom_Quaternion_multiply_stub", {handle, a.handle, b.handle});
  }
  void preMultiply(Quaternion q) const { callVoid("Java_kel_geom_Quaternion_preMultiply_stub", {handle, q.handle}); }
  void postMultiply(Quaternion q) const { callVoid("Java_kel_geom_Quaternion_postMultiply_stub", {handle, q.handle}); }
  float dot(Quaternion q) const { return callFloat("Java_kel_geom_Quaternion_dot_stub", {handle, q.handle}); }
  float doNormalize() const { return callFloat("Java_kel_geom_Quaternion_doNormalize_stub", {handle}); }
  float doNormalize2(Quaternion src) const {
    return callFloat("Java_kel_geom_Quaternion_doNormalize2_stub", {handle, src.handle});
  }
  float magnitude() const { return callFloat("Java_kel_geom_Quaternion_magnitude_stub", {handle}); }
  void doRotation(float x, float y, float z, float angle) const {
    callVoid("Java_kel_geom_Quaternion_doRotation_stub", {handle, x, y, z, angle});
  }
};

// 16 floats (row r, column c at 4r + c) and the hint word.
struct Matrix4 {
  static constexpr int kFields = 17;
  JHandle handle = 0;

  // A new matrix of zeros with no hints (the Java side fills it).
  static Matrix4 create() { return {kelhost::newObject(kFields)}; }
  static Matrix4 create(std::span<const float, 16> elements, uint32_t hints) {
    Matrix4 m = create();
    m.set(elements, hints);
    return m;
  }
  float element(int index) const { return kelhost::getFloat(handle, index); }
  void setElement(int index, float value) const { kelhost::setFloat(handle, index, value); }
  uint32_t hints() const { return kelhost::getWord(handle, 16); }
  void setHints(uint32_t hints) const { kelhost::setWord(handle, 16, hints); }
  void set(std::span<const float, 16> elements, uint32_t hints) const {
    for (int i = 0; i < 16; ++i) setElement(i, elements[static_cast<std::size_t>(i)]);
    setHints(hints);
  }
  // The 17 words, laid out as the library's matrix record.
  uint32_t* words() const { return fieldsOf(handle); }

  void identity() const { callVoid("Java_kel_geom_Matrix4_identity_stub", {handle}); }
  void doTranslate(float x, float y, float z) const {
    callVoid("Java_kel_geom_Matrix4_doTranslate_stub", {handle, x, y, z});
  }
  void doTranslate2(Matrix4 src, float x, float y, float z) const {
    callVoid("Java_kel_geom_Matrix4_doTranslate2_stub", {handle, src.handle, x, y, z});
  }
  void doIsoscale(float s) const { callVoid("Java_kel_geom_Matrix4_doIsoscale_stub", {handle, s}); }
  void doIsoscale2(Matrix4 src, float s) const {
    callVoid("Java_kel_geom_Matrix4_doIsoscale2_stub", {handle, src.handle, s});
  }
  void doScale(float x, float y, float z) const { callVoid("Java_kel_geom_Matrix4_doScale_stub", {handle, x, y, z}); }
  void doScale2(Matrix4 src, float x, float y, float z) const {
    callVoid("Java_kel_geom_Matrix4_doScale2_stub", {handle, src.handle, x, y, z});
  }
  void doRotate(float x, float y, float z, float angle) const {
    callVoid("Java_kel_geom_Matrix4_doRotate_stub", {handle, x, y, z, angle});
  }
  void doRotate2(Matrix4 src, float x, float y, float z, float angle) const {
    callVoid("Java_kel_geom_Matrix4_doRotate2_stub", {handle, src.handle, x, y, z, angle});
  }
  void doQuatRotate(Quaternion q) const { callVoid("Java_kel_geom_Matrix4_doQuatRotate_stub", {handle, q.handle}); }
  void doQuatRotate2(Matrix4 src, Quaternion q) const {
    callVoid("Java_kel_geom_Matrix4_doQuatRotate2_stub", {handle, src.handle, q.handle});
  }
  void preMultiply(Matrix4 m) const { callVoid("Java_kel_geom_Matrix4_preMultiply_stub", {handle, m.handle}); }
  void postMultiply(Matrix4 m) const { callVoid("Java_kel_geom_Matrix4_postMultiply_stub", {handle, m.handle}); }
  void multiply(Matrix4 a, Matrix4 b) const {
    callVoid("Java_kel_geom_Matrix4_multiply_stub", {handle, a.handle, b.handle});
  }
  void doTranspose() const { callVoid("Java_kel_geom_Matrix4_doTranspose_stub", {handle}); }
  void doTranspose2(Matrix4 src) const { callVoid("Java_kel_geom_Matrix4_doTranspose2_stub", {handle, src.handle}); }
  bool doInvert() const { return callBoolean("Java_kel_geom_Matrix4_doInvert_stub", {handle}); }
  bool doInvert2(Matrix4 src) const {
    return callBoolean("Java_kel_geom_Matrix4_doInvert2_stub", {handle, src.handle});
  }
  float determinant() const { return callFloat("Java_kel_geom_Matrix4_determinant_stub", {handle}); }
};

// The ray object: field 0 origin, field 1 direction.
struct Ray {
  static constexpr int kFields = 2;
  JHandle handle = 0;

  static Ray create(Vector3 origin, Vector3 direction) {
    return {kelhost::newObjectOf(kFields, {origin.handle, direction.handle})};
  }
  Vector3 origin() const { return {kelhost::getHandle(handle, 0)}; }
  Vector3 direction() const { return {kelhost::getHandle(handle, 1)}; }
};

// Centre and half-extents; a negative x half-extent marks an empty box.
struct BoundingBox3 {
  static constexpr int kFields = 2;
  JHandle handle = 0;

  static BoundingBox3 create(Vector3 center, Vector3 halfExtents) {
    return {kelhost::newObjectOf(kFields, {center.handle, halfExtents.handle})};
  }
  Vector3 center() const { return {kelhost::getHandle(handle, 0)}; }
  Vector3 halfExtents() const { return {kelhost::getHandle(handle, 1)}; }

  void transform(Matrix4 m) const { callVoid("Java_kel_geom_BoundingBox3_transform_stub", {handle, m.handle}); }
  float rayIntersection(Ray ray) const {
    return callFloat("Java_kel_geom_BoundingBox3_rayIntersection_stub", {handle, ray.handle});
  }
};

// Static natives.
struct Geom {
  static void doTransformVector(Matrix4 m, Vector3 src, Vector3 dst) {
    callVoid("Java_kel_geom_Geom_doTransformVector_stub", {m.handle, src.handle, dst.handle});
  }
  // The vector comes first here.
  static void doTransformNormal(Vector3 src, Matrix4 m, Vector3 dst) {
    callVoid("Java_kel_geom_Geom_doTransformNormal_stub", {src.handle, m.handle, dst.handle});
  }
  static void doTransformPoint(Matrix4 m, Vector3 src, Vector3 dst) {
    callVoid("Java_kel_geom_Geom_doTransformPoint_stub", {m.handle, src.handle, dst.handle});
  }
  static void doTransformBoundingBox(Matrix4 m, BoundingBox3 src, BoundingBox3 dst) {
    callVoid("Java_kel_geom_Geom_doTransformBoundingBox_stub", {m.handle, src.handle, dst.handle});
  }
};

}  // namespace kel::geom
