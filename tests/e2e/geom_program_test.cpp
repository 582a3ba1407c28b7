// A Java program's geometry: vectors, quaternions, matrices and boxes of
// kel.geom, each native called through its stub with a hand-worked result.
#include <cmath>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr uint32_t IDENTITY_HINTS = 0xFC7;
constexpr float kHalfTurn = 1.5707964f;  // pi / 2
const float kRootHalf = static_cast<float>(std::sin(0.7853982));

class GeomProgram : public Scenario {};

void expectVector(Vector3 v, float x, float y, float z, float tolerance = 0) {
  EXPECT_NEAR(v.x(), x, tolerance);
  EXPECT_NEAR(v.y(), y, tolerance);
  EXPECT_NEAR(v.z(), z, tolerance);
}

void expectMatrix(Matrix4 m, std::initializer_list<float> elements, uint32_t hints, float tolerance = 0) {
  int i = 0;
  for (float e : elements) {
    EXPECT_NEAR(m.element(i), e, tolerance) << "element " << i;
    ++i;
  }
  EXPECT_EQ(m.hints(), hints);
}

Matrix4 identity() {
  Matrix4 m = Matrix4::create();
  m.identity();
  return m;
}

Matrix4 translation(float x, float y, float z) {
  Matrix4 m = identity();
  m.doTranslate(x, y, z);
  return m;
}

Matrix4 scale(float x, float y, float z) {
  Matrix4 m = identity();
  m.doScale(x, y, z);
  return m;
}

TEST_F(GeomProgram, VectorArithmetic) {
  EXPECT_EQ(Vector3::create(3, 4, 0).magnitude(), 5.0f);
  EXPECT_EQ(kelhost::lastStubResult().advanced, 1) << "a float result leaves one word";
  EXPECT_EQ(Vector3::create(1, 2, 3).dot(Vector3::create(4, 5, 6)), 32.0f);

  Vector3 out = Vector3::create(9, 9, 9);
  out.cross(Vector3::create(1, 0, 0), Vector3::create(0, 1, 0));
  expectVector(out, 0, 0, 1);
  EXPECT_EQ(kelhost::lastStubResult().advanced, 0) << "a void native leaves no word";
  Vector3 a = Vector3::create(0, 1, 0);
  a.cross(a, Vector3::create(0, 0, 1));  // the receiver is also an operand
  expectVector(a, 1, 0, 0);

  EXPECT_EQ(Vector3::create(2, 0, 0).crossmag(Vector3::create(0, 3, 0)), 6.0f);

  Vector3 v = Vector3::create(3, 4, 0);
  EXPECT_FLOAT_EQ(v.doNormalize(), 0.2f);
  expectVector(v, 0.6f, 0.8f, 0, 1e-7f);
  Vector3 zero = Vector3::create(0, 0, 0);
  EXPECT_EQ(zero.doNormalize(), 0.0f);
  expectVector(zero, 0, 0, 0);

  Vector3 src = Vector3::create(0, 0, 2), dst = Vector3::create(7, 7, 7);
  EXPECT_EQ(dst.doNormalize2(src), 0.5f);
  expectVector(dst, 0, 0, 1);
  expectVector(src, 0, 0, 2);
  EXPECT_EQ(dst.doNormalize2(zero), 0.0f);
  expectVector(dst, 0, 0, 1);
}

TEST_F(GeomProgram, QuaternionArithmetic) {
  Quaternion q = Quaternion::create(5, 5, 5, 5);
  q.doRotation(0, 0, 1, kHalfTurn);
  EXPECT_EQ(q.x(), 0.0f);
  EXPECT_EQ(q.y(), 0.0f);
  EXPECT_NEAR(q.z(), kRootHalf, 1e-7f);
  EXPECT_NEAR(q.w(), kRootHalf, 1e-7f);
  q.doRotation(1, 2, 3, 0.0f);  // no turn: the identity, whatever the axis
  EXPECT_EQ(q.x(), 0.0f);
  EXPECT_EQ(q.w(), 1.0f);

  EXPECT_EQ(Quaternion::create(1, 2, 2, 4).magnitude(), 5.0f);
  EXPECT_EQ(Quaternion::create(1, 2, 3, 4).dot(Quaternion::create(5, 6, 7, 8)), 70.0f);

  Quaternion n = Quaternion::create(0, 3, 0, 4);
  EXPECT_FLOAT_EQ(n.doNormalize(), 0.2f);
  EXPECT_NEAR(n.y(), 0.6f, 1e-7f);
  EXPECT_NEAR(n.w(), 0.8f, 1e-7f);
  Quaternion into = Quaternion::create();
  EXPECT_EQ(into.doNormalize2(Quaternion::create(0, 0, 0, 2)), 0.5f);
  EXPECT_EQ(into.w(), 1.0f);

  // Hamilton products of the unit quaternions: i j = k, j i = -k.
  const Quaternion i = Quaternion::create(1, 0, 0, 0), j = Quaternion::create(0, 1, 0, 0);
  Quaternion product = Quaternion::create();
  product.multiply(i, j);
  EXPECT_EQ(product.z(), 1.0f);
  EXPECT_EQ(product.w(), 0.0f);
  Quaternion pre = Quaternion::create(1, 0, 0, 0);
  pre.preMultiply(j);  // this := this * q
  EXPECT_EQ(pre.z(), 1.0f);
  Quaternion post = Quaternion::create(1, 0, 0, 0);
  post.postMultiply(j);  // this := q * this
  EXPECT_EQ(post.z(), -1.0f);
  EXPECT_EQ(post.x(), 0.0f);
}

TEST_F(GeomProgram, MatrixBuilding) {
  Matrix4 m = Matrix4::create();
  m.identity();
  expectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, IDENTITY_HINTS);
  m.doTranslate(1, 2, 3);
  expectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}, 0xE04);

  Matrix4 moved = Matrix4::create();
  moved.doTranslate2(m, 4, 5, 6);
  expectMatrix(moved, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 7, 9, 1}, 0xE04);
  expectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}, 0xE04);

  Matrix4 s = identity();
  s.doIsoscale(2);
  expectMatrix(s, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}, IDENTITY_HINTS & 0x2C6);
  Matrix4 s3 = Matrix4::create();
  s3.doIsoscale2(identity(), 3);
  expectMatrix(s3, {3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}, IDENTITY_HINTS & 0x2C6);

  // Equal factors keep the conformal claim; unequal ones drop it.
  Matrix4 equal = identity();
  equal.doScale(2, 2, 2);
  EXPECT_EQ(equal.hints() & 0x200, 0x200u);
  Matrix4 unequal = identity();
  unequal.doScale(2, 2, 3);
  expectMatrix(unequal, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}, IDENTITY_HINTS & 0x46);
  Matrix4 scaled = Matrix4::create();
  scaled.doScale2(translation(1, 1, 1), 1, 2, 3);  // scale before the translation
  expectMatrix(scaled, {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 1, 1, 1, 1}, 0xE04 & 0x46);

  // A quarter turn about +z takes +x to +y.
  const float t = 1e-6f;
  Matrix4 r = identity();
  r.doRotate(0, 0, 1, kHalfTurn);
  expectMatrix(r, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, IDENTITY_HINTS & 0x706, t);
  Matrix4 r2 = Matrix4::create();
  r2.doRotate2(translation(1, 0, 0), 0, 0, 1, kHalfTurn);  // turn first, then move
  expectMatrix(r2, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1}, 0xE04 & 0x706, t);

  const Quaternion quarter = Quaternion::create(0, 0, kRootHalf, kRootHalf);
  Matrix4 q = identity();
  q.doQuatRotate(quarter);
  expectMatrix(q, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, IDENTITY_HINTS & 0x706, t);
  Matrix4 q2 = Matrix4::create();
  q2.doQuatRotate2(translation(0, 2, 0), quarter);
  expectMatrix(q2, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1}, 0xE04 & 0x706, t);
}

TEST_F(GeomProgram, MatrixProducts) {
  // A then B: move by (1, 2, 3), then double.
  Matrix4 ab = translation(1, 2, 3);
  ab.postMultiply(scale(2, 2, 2));
  expectMatrix(ab, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1}, 0xE04 & (IDENTITY_HINTS & 0x2C6));
  // B then A: double, then move.
  Matrix4 ba = translation(1, 2, 3);
  ba.preMultiply(scale(2, 2, 2));
  expectMatrix(ba, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1}, 0xE04 & (IDENTITY_HINTS & 0x2C6));
  Matrix4 c = Matrix4::create();
  c.multiply(translation(1, 2, 3), scale(2, 2, 2));
  expectMatrix(c, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1}, 0xE04 & (IDENTITY_HINTS & 0x2C6));

  // Transposing a matrix with a translation moves it into the last column.
  Matrix4 t = translation(5, 6, 7);
  t.doTranspose();
  expectMatrix(t, {1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 0, 0, 0, 1}, 0);
  Matrix4 t2 = Matrix4::create();
  t2.doTranspose2(t);
  expectMatrix(t2, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1}, 0);

  Matrix4 inv = translation(1, 2, 3);
  EXPECT_TRUE(inv.doInvert());
  EXPECT_EQ(kelhost::lastStubResult().advanced, 1) << "a boolean result leaves one word";
  expectMatrix(inv, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1}, 0xE04);
  Matrix4 singular = Matrix4::create();  // all zeros, no claims
  singular.setElement(0, 1);
  EXPECT_FALSE(singular.doInvert());
  EXPECT_EQ(singular.element(0), 1.0f);
  Matrix4 inv2 = Matrix4::create();
  EXPECT_TRUE(inv2.doInvert2(scale(2, 4, 8)));
  expectMatrix(inv2, {0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, 0, 0, 0, 1}, IDENTITY_HINTS & 0x46);

  EXPECT_EQ(scale(2, 3, 4).determinant(), 24.0f);
  Matrix4 general = Matrix4::create();  // the same diagonal without claims: the 4x4 expansion
  for (int i : {0, 5, 10, 15}) general.setElement(i, i == 15 ? 1.0f : static_cast<float>(2 + i / 5));
  EXPECT_EQ(general.determinant(), 24.0f);
}

TEST_F(GeomProgram, TransformsAndBoxes) {
  const float t = 1e-6f;
  Vector3 p = Vector3::create(1, 1, 1);
  Geom::doTransformPoint(translation(1, 2, 3), p, p);
  expectVector(p, 2, 3, 4);
  Vector3 out = Vector3::create();
  Geom::doTransformPoint(scale(2, 3, 4), Vector3::create(1, 1, 1), out);
  expectVector(out, 2, 3, 4);

  Geom::doTransformVector(translation(1, 2, 3), Vector3::create(1, 1, 1), out);  // directions ignore moves
  expectVector(out, 1, 1, 1);
  Matrix4 quarter = identity();
  quarter.doRotate(0, 0, 1, kHalfTurn);
  Geom::doTransformVector(quarter, Vector3::create(1, 0, 0), out);
  expectVector(out, 0, 1, 0, t);
  // Normals go through the transpose of the 3x3 block: (1, 0, 0) -> (0, -1, 0).
  Geom::doTransformNormal(Vector3::create(1, 0, 0), quarter, out);
  expectVector(out, 0, -1, 0, t);

  const BoundingBox3 box = BoundingBox3::create(Vector3::create(1, 0, 0), Vector3::create(1, 2, 3));
  const BoundingBox3 turned = BoundingBox3::create(Vector3::create(), Vector3::create());
  Geom::doTransformBoundingBox(quarter, box, turned);  // a quarter turn swaps the x and y extents
  expectVector(turned.center(), 0, 1, 0, t);
  expectVector(turned.halfExtents(), 2, 1, 3, t);
  box.transform(translation(1, 2, 3));
  expectVector(box.center(), 2, 2, 3);
  expectVector(box.halfExtents(), 1, 2, 3);
  const BoundingBox3 empty = BoundingBox3::create(Vector3::create(5, 5, 5), Vector3::create(-1, 1, 1));
  empty.transform(translation(1, 2, 3));
  expectVector(empty.center(), 5, 5, 5);

  const BoundingBox3 unit = BoundingBox3::create(Vector3::create(0, 0, 0), Vector3::create(1, 1, 1));
  EXPECT_EQ(unit.rayIntersection(Ray::create(Vector3::create(-5, 0, 0), Vector3::create(1, 0, 0))), 4.0f);
  EXPECT_EQ(unit.rayIntersection(Ray::create(Vector3::create(0.5f, 0, 0), Vector3::create(1, 0, 0))), 0.0f);
  EXPECT_EQ(unit.rayIntersection(Ray::create(Vector3::create(-5, 3, 0), Vector3::create(1, 0, 0))), -1.0f);
  EXPECT_EQ(empty.rayIntersection(Ray::create(Vector3::create(5, 5, 5), Vector3::create(1, 0, 0))), -1.0f);
}

}  // namespace
}  // namespace e2e
