// Hints never change a result: for random matrices of every shape, each
// function's hinted path agrees with its general path (the same matrix with
// hints 0), and the claims it leaves in the result hold.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "matrix/matrix.h"
#include "matrix_shapes.h"

using namespace matrix_test;

namespace {

constexpr int kRounds = 10000;
constexpr float kTight = 2.5e-7f;  // about two units in the last place of the largest element
constexpr float kInverse = 6e-7f;  // inverses: the orthonormal paths take float rotations as exact

// Runs `op` on a copy of m as claimed and on a copy claiming nothing, and
// compares the two results.
void expectSameAsGeneral(const Matrix4& m, const std::function<void(Matrix4&)>& op, float tolerance, const char* what) {
  Matrix4 hinted = m;
  Matrix4 general = withHints(m, 0);
  op(hinted);
  op(general);
  ASSERT_TRUE(nearMatrix(general, hinted, tolerance)) << what << " of a matrix with hints 0x" << std::hex << m.hints;
  ASSERT_TRUE(claimsHold(hinted)) << what << " of a matrix with hints 0x" << std::hex << m.hints;
  ASSERT_TRUE(claimsHold(general)) << what;
}

TEST(HintPaths, BuildingOperationsMatchTheGeneralPath) {
  ShapeGenerator gen(1234);
  for (int round = 0; round < kRounds; ++round) {
    const Matrix4 m = gen.any();
    float t[3], axis[3], q[4];
    gen.point(t);
    gen.unitAxis(axis);
    gen.unitQuaternion(q);
    const float angle = gen.uniform(-3.2f, 3.2f);
    float s[3] = {gen.factor(), gen.factor(), gen.factor()};
    if (gen.chance(0.05)) s[round % 3] = 0.0f;
    const float iso = gen.chance(0.05) ? 0.0f : gen.factor();

    expectSameAsGeneral(
        m, [&](Matrix4& a) { matrixTranslate(&a, t[0], t[1], t[2]); }, kTight, "translate");
    expectSameAsGeneral(
        m, [&](Matrix4& a) { matrixQuatRotate(&a, q); }, kTight, "quaternion rotate");
    expectSameAsGeneral(
        m, [&](Matrix4& a) { matrixRotate(&a, axis[0], axis[1], axis[2], angle); }, kTight, "rotate");
    expectSameAsGeneral(
        m, [&](Matrix4& a) { matrixScale(&a, s[0], s[1], s[2]); }, kTight, "scale");
    expectSameAsGeneral(
        m, [&](Matrix4& a) { matrixIsotropicScale(&a, iso); }, kTight, "isotropic scale");

    // The out-of-place forms write what the in-place ones do, claims included.
    struct OutOfPlace {
      std::function<void(Matrix4&)> inPlace;
      std::function<void(const Matrix4&, Matrix4&)> outOfPlace;
    };
    const OutOfPlace pairs[] = {
        {[&](Matrix4& a) { matrixTranslate(&a, t[0], t[1], t[2]); },
         [&](const Matrix4& a, Matrix4& b) { matrixTranslate2(&a, &b, t[0], t[1], t[2]); }},
        {[&](Matrix4& a) { matrixQuatRotate(&a, q); },
         [&](const Matrix4& a, Matrix4& b) { matrixQuatRotate2(&a, &b, q); }},
        {[&](Matrix4& a) { matrixRotate(&a, axis[0], axis[1], axis[2], angle); },
         [&](const Matrix4& a, Matrix4& b) { matrixRotate2(&a, &b, axis[0], axis[1], axis[2], angle); }},
        {[&](Matrix4& a) { matrixScale(&a, s[0], s[1], s[2]); },
         [&](const Matrix4& a, Matrix4& b) { matrixScale2(&a, &b, s[0], s[1], s[2]); }},
        {[&](Matrix4& a) { matrixIsotropicScale(&a, iso); },
         [&](const Matrix4& a, Matrix4& b) { matrixIsotropicScale2(&a, &b, iso); }},
    };
    for (const OutOfPlace& p : pairs) {
      Matrix4 inPlace = m;
      Matrix4 outOfPlace;
      std::memset(&outOfPlace, 0xAB, sizeof outOfPlace);
      const Matrix4 source = m;
      p.inPlace(inPlace);
      p.outOfPlace(source, outOfPlace);
      ASSERT_TRUE(sameBits(inPlace, outOfPlace));
      ASSERT_TRUE(sameBits(source, m)) << "the source is only read";
    }
  }
}

TEST(HintPaths, ProductsMatchTheGeneralPath) {
  ShapeGenerator gen(99);
  for (int round = 0; round < kRounds; ++round) {
    const Matrix4 a = gen.any();
    const Matrix4 b = gen.any();
    const Matrix4 a0 = withHints(a, 0), b0 = withHints(b, 0);

    Matrix4 reference;
    matrixMultiply(&a0, &b0, &reference);
    Matrix4 c;
    matrixMultiply(&a, &b, &c);
    ASSERT_TRUE(nearMatrix(reference, c, kTight)) << std::hex << a.hints << " · " << b.hints;
    ASSERT_TRUE(claimsHold(c)) << std::hex << a.hints << " · " << b.hints;

    Matrix4 post = a;
    matrixPostMultiply(&post, &b);
    ASSERT_TRUE(nearMatrix(reference, post, kTight)) << std::hex << a.hints << " · " << b.hints;
    ASSERT_EQ(post.hints, c.hints);

    Matrix4 pre = b;
    matrixPreMultiply(&pre, &a);
    ASSERT_TRUE(nearMatrix(reference, pre, kTight)) << std::hex << a.hints << " · " << b.hints;
    ASSERT_EQ(pre.hints, c.hints);

    // A matrix multiplied by itself, through every entry point.
    Matrix4 square0;
    matrixMultiply(&a0, &a0, &square0);
    Matrix4 postSelf = a, preSelf = a;
    matrixPostMultiply(&postSelf, &postSelf);
    matrixPreMultiply(&preSelf, &preSelf);
    ASSERT_TRUE(nearMatrix(square0, postSelf, kTight)) << std::hex << a.hints;
    ASSERT_TRUE(sameBits(postSelf, preSelf));
    ASSERT_TRUE(claimsHold(postSelf));
  }
}

TEST(HintPaths, InversionAndDeterminantMatchTheGeneralPath) {
  ShapeGenerator gen(7);
  for (int round = 0; round < kRounds; ++round) {
    const Matrix4 m = gen.any();
    Matrix4 hinted = m, general = withHints(m, 0);
    ASSERT_EQ(matrixInvert(&hinted), 1);
    ASSERT_EQ(matrixInvert(&general), 1);
    ASSERT_TRUE(nearMatrix(general, hinted, kInverse)) << "hints 0x" << std::hex << m.hints;
    ASSERT_EQ(hinted.hints, m.hints) << "inversion keeps the claims";
    ASSERT_EQ(general.hints, 0u);
    ASSERT_TRUE(claimsHold(hinted)) << "hints 0x" << std::hex << m.hints;

    Matrix4 out;
    std::memset(&out, 0xCD, sizeof out);
    ASSERT_EQ(matrixInvert2(&m, &out), 1);
    ASSERT_TRUE(nearMatrix(hinted, out, 0.0f)) << "hints 0x" << std::hex << m.hints;
    ASSERT_EQ(out.hints, m.hints);

    const float det = matrixDeterminant(&m);
    const Matrix4 m0 = withHints(m, 0);
    const float det0 = matrixDeterminant(&m0);
    ASSERT_NEAR(det, det0, kInverse * (1.0f + std::fabs(det0))) << "hints 0x" << std::hex << m.hints;
  }
}

TEST(HintPaths, TranspositionMatchesTheGeneralPath) {
  ShapeGenerator gen(31);
  for (int round = 0; round < kRounds; ++round) {
    const Matrix4 m = gen.any();
    expectSameAsGeneral(
        m, [](Matrix4& a) { matrixTranspose(&a); }, 0.0f, "transpose");
    Matrix4 out, out0;
    const Matrix4 m0 = withHints(m, 0);
    matrixTranspose2(&m, &out);
    matrixTranspose2(&m0, &out0);
    ASSERT_TRUE(nearMatrix(out0, out, 0.0f));
    ASSERT_TRUE(claimsHold(out)) << "hints 0x" << std::hex << m.hints;
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) ASSERT_EQ(out.m[4 * c + r], m.m[4 * r + c]);
    }
  }
}

TEST(HintPaths, ApplyingMatchesTheGeneralPath) {
  ShapeGenerator gen(555);
  using Apply = void (*)(const Matrix4*, float*);
  using Apply2 = void (*)(const Matrix4*, const float*, float*);
  struct Pair {
    Apply inPlace;
    Apply2 outOfPlace;
    const char* name;
  };
  const Pair pairs[] = {{matrixTransformVector, matrixTransformVector2, "vector"},
                        {matrixTransformPoint, matrixTransformPoint2, "point"},
                        {matrixTransformNormal, matrixTransformNormal2, "normal"}};
  for (int round = 0; round < kRounds; ++round) {
    const Matrix4 m = gen.any();
    const Matrix4 m0 = withHints(m, 0);
    float v[3];
    gen.point(v);
    for (const Pair& p : pairs) {
      float hinted[3] = {v[0], v[1], v[2]}, general[3] = {v[0], v[1], v[2]};
      p.inPlace(&m, hinted);
      p.inPlace(&m0, general);
      ASSERT_TRUE(near(general, hinted, 3, kTight)) << p.name << ", hints 0x" << std::hex << m.hints;
      float out[3] = {-1, -1, -1};
      p.outOfPlace(&m, v, out);
      ASSERT_TRUE(near(hinted, out, 3, 0.0f)) << p.name;
    }
  }
}

TEST(HintPaths, BoxesMatchTheGeneralPath) {
  ShapeGenerator gen(8080);
  for (int round = 0; round < kRounds; ++round) {
    const Matrix4 m = gen.any();
    const Matrix4 m0 = withHints(m, 0);
    float centre[3], half[3];
    gen.point(centre);
    for (float& h : half) h = gen.uniform(0.0f, 5.0f);
    float c1[3] = {centre[0], centre[1], centre[2]}, h1[3] = {half[0], half[1], half[2]};
    float c0[3] = {centre[0], centre[1], centre[2]}, h0[3] = {half[0], half[1], half[2]};
    matrixTransformBBox(&m, c1, h1);
    matrixTransformBBox(&m0, c0, h0);
    ASSERT_TRUE(near(c0, c1, 3, kTight)) << "hints 0x" << std::hex << m.hints;
    ASSERT_TRUE(near(h0, h1, 3, kTight)) << "hints 0x" << std::hex << m.hints;
    float c2[3], h2[3];
    matrixTransformBBox2(&m, centre, half, c2, h2);
    ASSERT_TRUE(near(c1, c2, 3, 0.0f));
    ASSERT_TRUE(near(h1, h2, 3, 0.0f));
  }
}

}  // namespace
