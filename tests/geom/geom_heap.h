// kel.geom objects in the host kit's Java heap, and calls of their natives by
// exported stub name.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <string>

#include "host/host_kit.h"
#include "matrix/matrix.h"

namespace geom_test {

using namespace kelhost;
using Vec3 = std::array<float, 3>;
using Quat = std::array<float, 4>;

inline JHandle newFloats(std::initializer_list<float> values) {
  const JHandle object = newObject(static_cast<int>(values.size()));
  int field = 0;
  for (float v : values) setFloat(object, field++, v);
  return object;
}

inline JHandle newVector(float x, float y, float z) { return newFloats({x, y, z}); }
inline JHandle newQuaternion(float x, float y, float z, float w) { return newFloats({x, y, z, w}); }

inline JHandle newMatrix(const Matrix4& m) {
  const JHandle object = newObject(17);
  std::memcpy(blockOf(object), &m, sizeof m);
  return object;
}

inline Vec3 vectorIn(JHandle v) { return {getFloat(v, 0), getFloat(v, 1), getFloat(v, 2)}; }
inline Quat quaternionIn(JHandle q) { return {getFloat(q, 0), getFloat(q, 1), getFloat(q, 2), getFloat(q, 3)}; }
inline Matrix4 matrixIn(JHandle object) {
  Matrix4 m;
  std::memcpy(&m, blockOf(object), sizeof m);
  return m;
}

// A BoundingBox3 (field 0 centre, field 1 half-extents) or a ray (field 0
// origin, field 1 direction): two Vector3 references.
inline JHandle newPair(Vec3 first, Vec3 second) {
  const JHandle object = newObject(2);
  setHandle(object, 0, newVector(first[0], first[1], first[2]));
  setHandle(object, 1, newVector(second[0], second[1], second[2]));
  return object;
}
inline Vec3 firstOf(JHandle pair) { return vectorIn(getHandle(pair, 0)); }
inline Vec3 secondOf(JHandle pair) { return vectorIn(getHandle(pair, 1)); }

// Calls Java_kel_geom_<Class>_<method>_stub.
inline StubResult callGeom(const std::string& classAndMethod, std::initializer_list<JArg> args) {
  return callStub(("Java_kel_geom_" + classAndMethod + "_stub").c_str(), args);
}

// A void native leaves the stack where it was; a float or boolean one leaves
// one word.
inline StubResult callVoid(const std::string& classAndMethod, std::initializer_list<JArg> args) {
  const StubResult r = callGeom(classAndMethod, args);
  EXPECT_EQ(r.advanced, 0) << classAndMethod;
  return r;
}
inline float callFloat(const std::string& classAndMethod, std::initializer_list<JArg> args) {
  const StubResult r = callGeom(classAndMethod, args);
  EXPECT_EQ(r.advanced, 1) << classAndMethod;
  return r.real();
}
inline bool callBoolean(const std::string& classAndMethod, std::initializer_list<JArg> args) {
  const StubResult r = callGeom(classAndMethod, args);
  EXPECT_EQ(r.advanced, 1) << classAndMethod;
  EXPECT_LE(r.slot0, 1u) << classAndMethod;
  return r.boolean();
}

inline bool sameBits(const Matrix4& a, const Matrix4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Bit-for-bit float equality (tells 0 from −0).
template <std::size_t N>
inline ::testing::AssertionResult bitsEqual(const std::array<float, N>& expected, const std::array<float, N>& actual) {
  if (std::memcmp(expected.data(), actual.data(), sizeof(float) * N) == 0) return ::testing::AssertionSuccess();
  auto out = ::testing::AssertionFailure() << "expected (";
  for (float v : expected) out << v << " ";
  out << ") got (";
  for (float v : actual) out << v << " ";
  return out << ")";
}

}  // namespace geom_test
