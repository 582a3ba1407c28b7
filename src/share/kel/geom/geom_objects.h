// Field blocks of the kel.geom objects as the natives see them.
//
// The natives work on the field blocks in place: a Vector3 is three floats, a
// Quaternion four, a Matrix4 the library's 17-word matrix record, and a
// BoundingBox3 two references to Vector3s (centre, half-extents). A null
// reference resolves to null; the natives then leave everything unchanged and
// return 0 (−1 for a ray test, false for an inversion) instead of crashing the
// virtual machine.
#pragma once

#include <cmath>

#include "matrix/matrix.h"
#include "share/kel/binding.h"

inline float* floatsOf(JHandle object) { return object == 0 ? nullptr : reinterpret_cast<float*>(fieldsOf(object)); }

inline Matrix4* matrixOf(JHandle object) {
  return object == 0 ? nullptr : reinterpret_cast<Matrix4*>(fieldsOf(object));
}

// A box's centre and half-extents; both null unless the box and both of its
// vectors exist.
struct BoxFields {
  float* centre = nullptr;
  float* half = nullptr;
  explicit operator bool() const { return centre != nullptr; }
  bool empty() const { return half[0] < 0.0f; }  // a negative x half-extent marks an empty box
};

inline BoxFields boxOf(JHandle box) {
  if (box == 0) return {};
  const uint32_t* fields = fieldsOf(box);
  float* centre = floatsOf(fields[0]);
  float* half = floatsOf(fields[1]);
  if (centre == nullptr || half == nullptr) return {};
  return {centre, half};
}

// Length of an n-component vector, in double.
inline double lengthOf(const float* v, int n) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += double(v[i]) * v[i];
  return std::sqrt(sum);
}

// The receiver := src / |src| over n components; returns 1/|src|. A zero or
// null src leaves the receiver unchanged and returns 0.
inline float normalizeFrom(JHandle self, JHandle src, int n) {
  const float* s = floatsOf(src);
  if (s == nullptr) return 0.0f;
  const double length = lengthOf(s, n);
  if (length == 0.0) return 0.0f;
  float r[4];
  for (int i = 0; i < n; ++i) r[i] = static_cast<float>(s[i] / length);
  float* dst = floatsOf(self);
  for (int i = 0; i < n; ++i) dst[i] = r[i];
  return static_cast<float>(1.0 / length);
}

// The n-component dot product of two objects' fields; 0 when b is null.
inline float dotOf(JHandle a, JHandle b, int n) {
  const float* u = floatsOf(a);
  const float* v = floatsOf(b);
  if (v == nullptr) return 0.0f;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += double(u[i]) * v[i];
  return static_cast<float>(sum);
}
