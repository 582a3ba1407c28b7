// Hand-derived results of the matrix library: the hint masks each operation
// leaves, inverses, singular matrices and the application table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "matrix/matrix.h"
#include "matrix_shapes.h"

using namespace matrix_test;

namespace {

Matrix4 fromElements(std::initializer_list<float> elements, uint32_t hints) {
  Matrix4 m;
  std::copy(elements.begin(), elements.end(), m.m);
  m.hints = hints;
  return m;
}

TEST(MatrixBuild, IdentityClaimsEverything) {
  Matrix4 m;
  std::memset(&m, 0x7F, sizeof m);
  matrixIdentity(&m);
  EXPECT_EQ(m.hints, 0xFC7u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
}

TEST(MatrixBuild, TranslatingTheIdentityGivesATranslationThatStaysConformal) {
  Matrix4 m = identity();
  matrixTranslate(&m, 1, 2, 3);
  EXPECT_EQ(m.m[12], 1.0f);
  EXPECT_EQ(m.m[13], 2.0f);
  EXPECT_EQ(m.m[14], 3.0f);
  EXPECT_EQ(m.hints, MATRIX_AFFINE | MATRIX_CONFORMAL | MATRIX_RIGID | MATRIX_PURE_TRANSLATION);
  matrixTranslate(&m, 1, 1, 1);
  EXPECT_EQ(m.m[12], 2.0f);
  EXPECT_EQ(m.m[14], 4.0f);
}

TEST(MatrixBuild, TranslationActsInTheLocalFrame) {
  // M := T·M: translating a scale by (1, 0, 0) moves by the scaled amount.
  Matrix4 m = identity();
  matrixScale(&m, 2, 3, 4);
  matrixTranslate(&m, 1, 1, 1);
  EXPECT_EQ(m.m[12], 2.0f);
  EXPECT_EQ(m.m[13], 3.0f);
  EXPECT_EQ(m.m[14], 4.0f);
  EXPECT_EQ(m.hints, MATRIX_AFFINE);
}

TEST(MatrixBuild, RotationByAZeroAngleOnlyReducesTheClaims) {
  ShapeGenerator gen(3);
  for (Shape shape : kAllShapes) {
    const Matrix4 m = gen.make(shape);
    Matrix4 r = m;
    matrixRotate(&r, 0.3f, -0.5f, 0.8f, 0.0f);
    EXPECT_EQ(std::memcmp(r.m, m.m, sizeof m.m), 0);
    EXPECT_EQ(r.hints, m.hints & 0x706u);
  }
}

TEST(MatrixBuild, APositiveAngleAboutZTurnsXTowardY) {
  Matrix4 m = identity();
  matrixRotate(&m, 0, 0, 1, std::numbers::pi_v<float> / 2);
  float p[3] = {1, 0, 0};
  matrixTransformPoint(&m, p);
  EXPECT_NEAR(p[0], 0.0f, 1e-7f);
  EXPECT_NEAR(p[1], 1.0f, 1e-7f);
  EXPECT_EQ(p[2], 0.0f);
  EXPECT_EQ(m.hints, 0x706u);
}

TEST(MatrixBuild, QuaternionRotationUsesTheQuaternionUnnormalised) {
  // q = (0, 0, 2, 0): row 0 column 0 is 1 − 2·4 = −7.
  const float q[4] = {0, 0, 2, 0};
  Matrix4 m = identity();
  matrixQuatRotate(&m, q);
  EXPECT_EQ(m.m[0], -7.0f);
  EXPECT_EQ(m.m[5], -7.0f);
  EXPECT_EQ(m.m[10], 1.0f);
}

TEST(MatrixBuild, ScalingClaimsFollowTheFactors) {
  struct Case {
    float x, y, z;
    uint32_t hints;
  };
  const Case cases[] = {
      {2, 3, 4, MATRIX_NO_TRANSLATION | MATRIX_AFFINE | MATRIX_PURE_SCALE},
      {2, 0, 4, MATRIX_NO_TRANSLATION | MATRIX_AFFINE},
      {0, 0, 0, MATRIX_NO_TRANSLATION | MATRIX_AFFINE},
  };
  for (const Case& c : cases) {
    Matrix4 m = identity();
    matrixScale(&m, c.x, c.y, c.z);
    EXPECT_EQ(m.hints, c.hints) << c.x << " " << c.y << " " << c.z;
    EXPECT_EQ(m.m[0], c.x);
    EXPECT_EQ(m.m[5], c.y);
    EXPECT_EQ(m.m[10], c.z);
  }
  Matrix4 iso = identity();
  matrixIsotropicScale(&iso, 2);
  EXPECT_EQ(iso.hints, 0x2C6u);
  matrixIsotropicScale(&iso, 0);
  EXPECT_EQ(iso.hints, MATRIX_NO_TRANSLATION | MATRIX_AFFINE);

  Matrix4 moved = identity();
  matrixTranslate(&moved, 1, 2, 3);
  matrixScale(&moved, 0, 1, 1);
  EXPECT_EQ(moved.hints, MATRIX_AFFINE) << "a zero factor keeps only what held before";
}

TEST(MatrixBuild, ProjectiveMatricesAreComposedInFull) {
  // Column 3 = (1, 0, 0, 1): w = x + 1.
  const Matrix4 p = fromElements({1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, MATRIX_NO_TRANSLATION);
  Matrix4 t = p;
  matrixTranslate(&t, 2, 0, 0);
  EXPECT_EQ(t.m[12], 2.0f);
  EXPECT_EQ(t.m[15], 3.0f) << "T·M adds 2·m[3] to m[15]";
  EXPECT_EQ(t.hints, 0u);
  Matrix4 s = p;
  matrixScale(&s, 3, 1, 1);
  EXPECT_EQ(s.m[3], 3.0f);
  EXPECT_EQ(s.hints, MATRIX_NO_TRANSLATION);
  Matrix4 iso = p;
  matrixIsotropicScale(&iso, 2);
  EXPECT_EQ(iso.m[3], 2.0f);
}

TEST(MatrixProducts, OrderAppliesTheFirstOperandFirst) {
  Matrix4 scale = identity(), move = identity(), c;
  matrixScale(&scale, 2, 2, 2);
  matrixTranslate(&move, 1, 0, 0);
  matrixMultiply(&scale, &move, &c);  // scale, then move
  float p[3] = {1, 1, 1};
  matrixTransformPoint(&c, p);
  EXPECT_EQ(p[0], 3.0f);
  EXPECT_EQ(p[1], 2.0f);
  EXPECT_EQ(c.hints, MATRIX_AFFINE);

  Matrix4 post = scale;
  matrixPostMultiply(&post, &move);
  EXPECT_TRUE(sameBits(post, c));
  Matrix4 pre = move;
  matrixPreMultiply(&pre, &scale);
  EXPECT_TRUE(sameBits(pre, c));
}

TEST(MatrixProducts, PreMultiplyingByItselfSquares) {
  Matrix4 a = fromElements({1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 1, 0, 5, 6, 0, 1}, MATRIX_AFFINE);
  matrixPreMultiply(&a, &a);
  const float expected[16] = {7, 10, 0, 0, 15, 22, 0, 0, 0, 0, 1, 0, 28, 40, 0, 1};
  EXPECT_EQ(std::memcmp(a.m, expected, sizeof expected), 0);
  EXPECT_EQ(a.hints, MATRIX_AFFINE);
}

TEST(MatrixProducts, AnIdentityOperandYieldsTheOtherWithItsClaims) {
  Matrix4 move = identity(), id = identity(), c;
  matrixTranslate(&move, 4, 5, 6);
  matrixMultiply(&id, &move, &c);
  EXPECT_TRUE(sameBits(c, move));
  matrixMultiply(&move, &id, &c);
  EXPECT_TRUE(sameBits(c, move));
  Matrix4 a = id;
  matrixPostMultiply(&a, &move);
  EXPECT_TRUE(sameBits(a, move));
}

// m · m⁻¹ is the identity within rounding.
::testing::AssertionResult invertsBack(const Matrix4& m, const Matrix4& inverse) {
  Matrix4 m0 = withHints(m, 0), inv0 = withHints(inverse, 0), product;
  matrixMultiply(&m0, &inv0, &product);
  const Matrix4 id = identity();
  return nearMatrix(id, product, 2e-6f);
}

TEST(MatrixInversion, AffineAndGeneralMatricesOfBothSignsInvertBack) {
  ShapeGenerator gen(2024);
  int signs[2][2] = {};  // [general?][negative?]
  for (int round = 0; round < 10000; ++round) {
    const Shape shape = round % 2 ? Shape::General : Shape::Affine;
    Matrix4 m = gen.make(shape);
    if (gen.chance(0.5)) {
      for (int c = 0; c < 4; ++c) m.m[4 * 0 + c] = -m.m[4 * 0 + c];  // negate row 0: flips the sign
    }
    const Matrix4 m0 = withHints(m, 0);
    const float det = matrixDeterminant(&m0);
    signs[shape == Shape::General][det < 0]++;
    Matrix4 inverse = m;
    ASSERT_EQ(matrixInvert(&inverse), 1);
    ASSERT_TRUE(invertsBack(m, inverse)) << "det " << det << ", hints 0x" << std::hex << m.hints;
  }
  for (auto& s : signs) {
    EXPECT_GT(s[0], 1000);
    EXPECT_GT(s[1], 1000);
  }
}

TEST(MatrixInversion, RotationsInvertByTransposition) {
  ShapeGenerator gen(11);
  const Matrix4 rotation = gen.make(Shape::PureRotation);
  Matrix4 inverse = rotation;
  ASSERT_EQ(matrixInvert(&inverse), 1);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(inverse.m[4 * r + c], rotation.m[4 * c + r]);
  }
  EXPECT_EQ(inverse.hints, rotation.hints);

  // Rigid: transposed block, translation −t·Rᵀ. Rotation by 90° about z, then
  // a move by (1, 2, 3): the inverse's translation is (−2, 1, −3).
  Matrix4 rigid = identity();
  matrixTranslate(&rigid, 1, 2, 3);
  matrixRotate(&rigid, 0, 0, 1, std::numbers::pi_v<float> / 2);
  Matrix4 inv = rigid;
  ASSERT_EQ(matrixInvert(&inv), 1);
  EXPECT_NEAR(inv.m[12], -2.0f, 1e-6f);
  EXPECT_NEAR(inv.m[13], 1.0f, 1e-6f);
  EXPECT_NEAR(inv.m[14], -3.0f, 1e-6f);
  EXPECT_TRUE(invertsBack(rigid, inv));
  Matrix4 inv2;
  ASSERT_EQ(matrixInvert2(&rigid, &inv2), 1);
  EXPECT_TRUE(sameBits(inv, inv2));
}

TEST(MatrixInversion, SimplePathsAreExact) {
  Matrix4 move = identity();
  matrixTranslate(&move, 1, -2, 3);
  ASSERT_EQ(matrixInvert(&move), 1);
  EXPECT_EQ(move.m[12], -1.0f);
  EXPECT_EQ(move.m[13], 2.0f);
  EXPECT_EQ(move.m[14], -3.0f);
  Matrix4 scale = identity();
  matrixScale(&scale, 2, 4, -8);
  ASSERT_EQ(matrixInvert(&scale), 1);
  EXPECT_EQ(scale.m[0], 0.5f);
  EXPECT_EQ(scale.m[5], 0.25f);
  EXPECT_EQ(scale.m[10], -0.125f);
  Matrix4 id = identity(), out;
  std::memset(&out, 0, sizeof out);
  ASSERT_EQ(matrixInvert2(&id, &out), 1);
  EXPECT_TRUE(sameBits(out, id));
}

TEST(MatrixInversion, SingularMatricesAreLeftUntouched) {
  // Affine with a 3x3 determinant of 5e-9 (2e-3 · 5e-3 · 5e-4).
  const Matrix4 tiny = fromElements({2e-3f, 0, 0, 0, 0, 5e-3f, 0, 0, 0, 0, 5e-4f, 0, 1, 2, 3, 1}, MATRIX_AFFINE);
  // Affine with determinant n² − (n + 1)(n − 1) = 1 for n = 2²⁴ − 1: large in
  // absolute terms, but 2e-15 of the size of its terms.
  const Matrix4 relative =
      fromElements({16777215, 16777216, 0, 0, 16777214, 16777215, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, MATRIX_AFFINE);
  // General with two equal rows.
  const Matrix4 rank3 = fromElements({1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 2, 5, 0, 1, 1}, 0);
  for (const Matrix4& m : {tiny, relative, rank3, withHints(tiny, 0)}) {
    Matrix4 in = m;
    EXPECT_EQ(matrixInvert(&in), 0);
    EXPECT_TRUE(sameBits(in, m));
    Matrix4 out;
    std::memset(&out, 0x5A, sizeof out);
    const Matrix4 before = out;
    EXPECT_EQ(matrixInvert2(&m, &out), 0);
    EXPECT_TRUE(sameBits(out, before));
  }
}

TEST(MatrixInversion, GeneralInverseDropsTheClaims) {
  Matrix4 m = fromElements({2, 0, 0, 1, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}, MATRIX_NO_TRANSLATION);
  ASSERT_EQ(matrixInvert(&m), 1);
  EXPECT_EQ(m.hints, 0u);
  EXPECT_EQ(m.m[0], 0.5f);
  EXPECT_EQ(m.m[3], -0.5f);
}

TEST(MatrixDeterminant, ClaimsPickTheFormula) {
  ShapeGenerator gen(5);
  const Matrix4 rotation = gen.make(Shape::PureRotation);
  EXPECT_EQ(matrixDeterminant(&rotation), 1.0f);
  Matrix4 scale = identity();
  matrixScale(&scale, 2, 3, -4);
  EXPECT_EQ(matrixDeterminant(&scale), -24.0f);
  const Matrix4 affine = fromElements({0, 2, 0, 0, 3, 0, 0, 0, 0, 0, 5, 0, 7, 8, 9, 1}, MATRIX_AFFINE);
  EXPECT_EQ(matrixDeterminant(&affine), -30.0f);
  const Matrix4 general = fromElements({2, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1}, 0);
  EXPECT_EQ(matrixDeterminant(&general), 1.0f);  // 2·1 − 1·1
}

TEST(MatrixTranspose, ClaimsSurviveOnlyWithoutTranslation) {
  Matrix4 rot = identity();
  matrixRotate(&rot, 1, 0, 0, 0.5f);
  Matrix4 t = rot;
  matrixTranspose(&t);
  EXPECT_EQ(t.hints, rot.hints);
  EXPECT_EQ(t.m[6], rot.m[9]);
  Matrix4 moved = rot;
  matrixTranslate(&moved, 1, 2, 3);
  matrixTranspose(&moved);
  EXPECT_EQ(moved.hints, 0u);
  EXPECT_EQ(moved.m[3], 1.0f);
  EXPECT_EQ(moved.m[12], 0.0f);
  // Without translation but projective, the fourth column moves too.
  Matrix4 projective = fromElements({1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, MATRIX_NO_TRANSLATION);
  Matrix4 out;
  matrixTranspose2(&projective, &out);
  matrixTranspose(&projective);
  EXPECT_EQ(projective.m[12], 5.0f);
  EXPECT_EQ(projective.m[3], 0.0f);
  EXPECT_EQ(projective.hints, 0u);
  EXPECT_TRUE(sameBits(projective, out));
}

TEST(MatrixApply, TheTableOfPaths) {
  Matrix4 m = identity();
  matrixScale(&m, 2, 3, 4);
  matrixTranslate(&m, 1, 1, 1);  // affine: p·diag(2,3,4) + (2,3,4)
  float v[3] = {1, 1, 1}, p[3] = {1, 1, 1}, n[3] = {1, 1, 1};
  matrixTransformVector(&m, v);
  matrixTransformPoint(&m, p);
  matrixTransformNormal(&m, n);
  EXPECT_EQ(v[0], 2.0f);
  EXPECT_EQ(v[2], 4.0f);
  EXPECT_EQ(p[0], 4.0f);
  EXPECT_EQ(p[2], 8.0f);
  EXPECT_EQ(n[1], 3.0f);

  // Normals go through the transpose of the 3x3 block.
  const Matrix4 shear = fromElements({1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, MATRIX_AFFINE);
  float n2[3];
  const float up[3] = {1, 0, 0};
  matrixTransformNormal2(&shear, up, n2);
  EXPECT_EQ(n2[0], 1.0f);
  EXPECT_EQ(n2[1], 0.0f);
  float v2[3];
  matrixTransformVector2(&shear, up, v2);
  EXPECT_EQ(v2[1], 2.0f);

  // A pure translation leaves directions and normals alone.
  Matrix4 move = identity();
  matrixTranslate(&move, 5, 5, 5);
  float d[3] = {1, 2, 3};
  matrixTransformVector(&move, d);
  matrixTransformNormal(&move, d);
  EXPECT_EQ(d[0], 1.0f);
  EXPECT_EQ(d[2], 3.0f);
}

TEST(MatrixApply, ProjectivePointsDivideByW) {
  // w = x + 1.
  const Matrix4 m = fromElements({1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0);
  float p[3] = {1, 4, 6};
  matrixTransformPoint(&m, p);
  EXPECT_EQ(p[0], 0.5f);
  EXPECT_EQ(p[1], 2.0f);
  EXPECT_EQ(p[2], 3.0f);
  // w exactly 0 at x = −1: the point is left unchanged, in place and out of place.
  float q[3] = {-1, 4, 6}, out[3] = {9, 9, 9};
  matrixTransformPoint(&m, q);
  EXPECT_EQ(q[0], -1.0f);
  EXPECT_EQ(q[1], 4.0f);
  EXPECT_EQ(q[2], 6.0f);
  matrixTransformPoint2(&m, q, out);
  EXPECT_EQ(out[0], -1.0f);
  EXPECT_EQ(out[1], 4.0f);
  EXPECT_EQ(out[2], 6.0f);
  // Directions divide by x·m[3] + y·m[7] + z·m[11]; with that 0 they stay v·M₃.
  float v[3] = {2, 4, 6}, w0[3] = {0, 4, 6};
  matrixTransformVector(&m, v);
  EXPECT_EQ(v[0], 1.0f);
  EXPECT_EQ(v[1], 2.0f);
  matrixTransformVector(&m, w0);
  EXPECT_EQ(w0[1], 4.0f);
  EXPECT_EQ(w0[2], 6.0f);
}

TEST(MatrixBoxes, QuarterTurnAboutZSwapsXAndYExtents) {
  Matrix4 m = identity();
  matrixRotate(&m, 0, 0, 1, std::numbers::pi_v<float> / 2);
  float centre[3] = {1, 0, 0}, half[3] = {1, 2, 3};
  matrixTransformBBox(&m, centre, half);
  EXPECT_NEAR(half[0], 2.0f, 1e-6f);
  EXPECT_NEAR(half[1], 1.0f, 1e-6f);
  EXPECT_NEAR(half[2], 3.0f, 1e-6f);
  EXPECT_NEAR(centre[0], 0.0f, 1e-6f);
  EXPECT_NEAR(centre[1], 1.0f, 1e-6f);
}

TEST(MatrixBoxes, EachPath) {
  const float centre[3] = {1, 2, 3}, half[3] = {1, 1, 2};
  float c[3], h[3];
  Matrix4 move = identity();
  matrixTranslate(&move, 1, 1, 1);
  matrixTransformBBox2(&move, centre, half, c, h);
  EXPECT_EQ(c[0], 2.0f);
  EXPECT_EQ(h[2], 2.0f);
  Matrix4 scale = identity();
  matrixScale(&scale, -2, 1, 0.5f);
  matrixTransformBBox2(&scale, centre, half, c, h);
  EXPECT_EQ(c[0], -2.0f);
  EXPECT_EQ(h[0], 2.0f);
  EXPECT_EQ(h[2], 1.0f);
  // Shear x += y: the enclosing box widens in x by the y extent.
  const Matrix4 shear = fromElements({1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, MATRIX_AFFINE);
  matrixTransformBBox2(&shear, centre, half, c, h);
  EXPECT_EQ(c[0], 3.0f);
  EXPECT_EQ(h[0], 2.0f);
  EXPECT_EQ(h[1], 1.0f);
  // A projective matrix passes the box through, in place and out of place.
  const Matrix4 projective = fromElements({1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0);
  matrixTransformBBox2(&projective, centre, half, c, h);
  EXPECT_EQ(std::memcmp(c, centre, sizeof c), 0);
  EXPECT_EQ(std::memcmp(h, half, sizeof h), 0);
}

}  // namespace
