// The Vector3 and Quaternion natives, called through their stubs.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geom_heap.h"

using namespace geom_test;

namespace {

TEST(Vector3Natives, FloatResultsAreExactWhereTheFormulaIs) {
  const JHandle v = newVector(3, 4, 12);
  EXPECT_EQ(callFloat("Vector3_magnitude", {v}), 13.0f);
  EXPECT_EQ(callFloat("Vector3_dot", {v, newVector(1, -2, 0.5f)}), 1.0f);
  EXPECT_EQ(callFloat("Vector3_crossmag", {newVector(1, 0, 0), newVector(0, 2, 0)}), 2.0f);
  EXPECT_EQ(callFloat("Vector3_crossmag", {v, v}), 0.0f);
  EXPECT_TRUE(bitsEqual<3>({3, 4, 12}, vectorIn(v))) << "queries leave the vector alone";
}

TEST(Vector3Natives, CrossWritesTheReceiverAndToleratesAliasing) {
  // (1, 2, 3) × (4, 5, 6) = (−3, 6, −3).
  const Vec3 expected = {-3, 6, -3};
  const JHandle a = newVector(1, 2, 3), b = newVector(4, 5, 6), out = newVector(9, 9, 9);
  callVoid("Vector3_cross", {out, a, b});
  EXPECT_TRUE(bitsEqual(expected, vectorIn(out)));
  EXPECT_TRUE(bitsEqual<3>({1, 2, 3}, vectorIn(a)));

  const JHandle a2 = newVector(1, 2, 3);
  callVoid("Vector3_cross", {a2, a2, b});  // this = a
  EXPECT_TRUE(bitsEqual(expected, vectorIn(a2)));
  const JHandle b2 = newVector(4, 5, 6);
  callVoid("Vector3_cross", {b2, a, b2});  // this = b
  EXPECT_TRUE(bitsEqual(expected, vectorIn(b2)));
}

TEST(Vector3Natives, NormalizeReturnsTheReciprocalLength) {
  const JHandle v = newVector(3, 4, 0);
  EXPECT_EQ(callFloat("Vector3_doNormalize", {v}), 0.2f);
  EXPECT_TRUE(bitsEqual<3>({0.6f, 0.8f, 0.0f}, vectorIn(v)));

  const JHandle zero = newVector(0, -0.0f, 0);
  EXPECT_EQ(callFloat("Vector3_doNormalize", {zero}), 0.0f);
  EXPECT_TRUE(bitsEqual<3>({0, -0.0f, 0}, vectorIn(zero)));

  const JHandle out = newVector(7, 7, 7);
  EXPECT_EQ(callFloat("Vector3_doNormalize2", {out, newVector(0, 0, -5)}), 0.2f);
  EXPECT_TRUE(bitsEqual<3>({0, 0, -1}, vectorIn(out)));
  EXPECT_EQ(callFloat("Vector3_doNormalize2", {out, newVector(0, 0, 0)}), 0.0f);
  EXPECT_TRUE(bitsEqual<3>({0, 0, -1}, vectorIn(out))) << "a zero source leaves the receiver";
  const JHandle self = newVector(0, 5, 0);
  EXPECT_EQ(callFloat("Vector3_doNormalize2", {self, self}), 0.2f);
  EXPECT_TRUE(bitsEqual<3>({0, 1, 0}, vectorIn(self)));
}

TEST(Vector3Natives, NullArgumentsChangeNothing) {
  const JHandle v = newVector(1, 2, 3);
  EXPECT_EQ(callFloat("Vector3_dot", {v, 0u}), 0.0f);
  EXPECT_EQ(callFloat("Vector3_crossmag", {v, 0u}), 0.0f);
  EXPECT_EQ(callFloat("Vector3_doNormalize2", {v, 0u}), 0.0f);
  callVoid("Vector3_cross", {v, 0u, v});
  EXPECT_TRUE(bitsEqual<3>({1, 2, 3}, vectorIn(v)));
}

// Basis quaternions i, j, k.
const Quat kI = {1, 0, 0, 0}, kJ = {0, 1, 0, 0}, kK = {0, 0, 1, 0}, kMinusK = {0, 0, -1, 0};

JHandle newQuat(const Quat& q) { return newQuaternion(q[0], q[1], q[2], q[3]); }

TEST(QuaternionNatives, MultiplyIsAlwaysAThenB) {
  const JHandle i = newQuat(kI), j = newQuat(kJ), out = newQuat(kI);
  callVoid("Quaternion_multiply", {out, i, j});
  EXPECT_TRUE(bitsEqual(kK, quaternionIn(out)));  // i ⊗ j = k
  callVoid("Quaternion_multiply", {out, j, i});
  EXPECT_TRUE(bitsEqual(kMinusK, quaternionIn(out)));  // j ⊗ i = −k

  // The receiver as either operand gives the same order.
  const JHandle a = newQuat(kI);
  callVoid("Quaternion_multiply", {a, a, j});
  EXPECT_TRUE(bitsEqual(kK, quaternionIn(a)));
  const JHandle b = newQuat(kJ);
  callVoid("Quaternion_multiply", {b, i, b});
  EXPECT_TRUE(bitsEqual(kK, quaternionIn(b)));
  const JHandle both = newQuat(kI);
  callVoid("Quaternion_multiply", {both, both, both});
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, -1}, quaternionIn(both)));  // i ⊗ i = −1
}

TEST(QuaternionNatives, PreAndPostMultiplyPutTheArgumentOnEitherSide) {
  const JHandle j = newQuat(kJ);
  const JHandle pre = newQuat(kI);
  callVoid("Quaternion_preMultiply", {pre, j});
  EXPECT_TRUE(bitsEqual(kK, quaternionIn(pre)));  // this ⊗ q
  const JHandle post = newQuat(kI);
  callVoid("Quaternion_postMultiply", {post, j});
  EXPECT_TRUE(bitsEqual(kMinusK, quaternionIn(post)));  // q ⊗ this
  const JHandle self = newQuat(kJ);
  callVoid("Quaternion_preMultiply", {self, self});
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, -1}, quaternionIn(self)));
}

TEST(QuaternionNatives, ProductComposesLikeTheMatrices) {
  // R(p ⊗ q) = R(q)·R(p): p ⊗ q rotates by q first.
  const JHandle p = newQuaternion(0, 0, 0, 1), q = newQuaternion(0, 0, 0, 1);
  callVoid("Quaternion_doRotation", {p, 0.0f, 0.0f, 1.0f, 0.7f});
  callVoid("Quaternion_doRotation", {q, 1.0f, 0.0f, 0.0f, -1.1f});
  const JHandle pq = newQuaternion(0, 0, 0, 0);
  callVoid("Quaternion_multiply", {pq, p, q});
  Matrix4 rp, rq, rpq, expected;
  matrixIdentity(&rp);
  matrixIdentity(&rq);
  matrixIdentity(&rpq);
  const Quat qp = quaternionIn(p), qq = quaternionIn(q), qpq = quaternionIn(pq);
  matrixQuatRotate(&rp, qp.data());
  matrixQuatRotate(&rq, qq.data());
  matrixQuatRotate(&rpq, qpq.data());
  matrixMultiply(&rq, &rp, &expected);
  for (int n = 0; n < 16; ++n) EXPECT_NEAR(rpq.m[n], expected.m[n], 1e-6f) << n;
}

TEST(QuaternionNatives, Queries) {
  const JHandle q = newQuaternion(1, 2, 2, 4);
  EXPECT_EQ(callFloat("Quaternion_magnitude", {q}), 5.0f);
  EXPECT_EQ(callFloat("Quaternion_dot", {q, newQuaternion(1, 1, 1, -1)}), 1.0f);
  EXPECT_EQ(callFloat("Quaternion_dot", {q, 0u}), 0.0f);
}

TEST(QuaternionNatives, NormalizeOverFourComponents) {
  const JHandle q = newQuaternion(0, 3, 0, 4);
  EXPECT_EQ(callFloat("Quaternion_doNormalize", {q}), 0.2f);
  EXPECT_TRUE(bitsEqual<4>({0, 0.6f, 0, 0.8f}, quaternionIn(q)));
  const JHandle zero = newQuaternion(0, 0, 0, 0);
  EXPECT_EQ(callFloat("Quaternion_doNormalize", {zero}), 0.0f);
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, 0}, quaternionIn(zero)));
  const JHandle out = newQuaternion(9, 9, 9, 9);
  EXPECT_EQ(callFloat("Quaternion_doNormalize2", {out, newQuaternion(0, 0, 0, -2)}), 0.5f);
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, -1}, quaternionIn(out)));
  EXPECT_EQ(callFloat("Quaternion_doNormalize2", {out, zero}), 0.0f);
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, -1}, quaternionIn(out)));
}

TEST(QuaternionNatives, RotationFromAxisAndAngle) {
  const JHandle q = newQuaternion(5, 5, 5, 5);
  callVoid("Quaternion_doRotation", {q, 0.3f, 0.4f, 12.0f, 0.0f});
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, 1}, quaternionIn(q))) << "angle 0 gives the identity whatever the axis";
  callVoid("Quaternion_doRotation", {q, 0.0f, 1.0f, 0.0f, 1.5e-8f});
  EXPECT_TRUE(bitsEqual<4>({0, 0, 0, 1}, quaternionIn(q))) << "a half-angle sine below 1e-8 counts as 0";
  callVoid("Quaternion_doRotation", {q, 0.0f, 2.0f, 0.0f, std::numbers::pi_v<float>});
  const Quat half = quaternionIn(q);
  EXPECT_EQ(half[0], 0.0f);
  EXPECT_EQ(half[1], 2.0f) << "the axis is not normalised: y·sin(π/2)";
  EXPECT_NEAR(half[3], 0.0f, 1e-7f);
  callVoid("Quaternion_doRotation", {q, 1.0f, 0.0f, 0.0f, -2 * std::numbers::pi_v<float> / 3});
  const Quat third = quaternionIn(q);
  EXPECT_NEAR(third[0], -std::sqrt(3.0f) / 2, 1e-7f);
  EXPECT_NEAR(third[3], 0.5f, 1e-7f);
}

}  // namespace
