// The model matrix stack, the texture matrix and the projection limits.
#include <cmath>
#include <cstring>
#include <functional>

#include "context/model_stack.h"
#include "context_fixture.h"

namespace {

bool sameMatrix(const Matrix4& a, const Matrix4& b) { return std::memcmp(&a, &b, sizeof(Matrix4)) == 0; }

Matrix4 topOf(const RukContext* context) {
  Matrix4 m;
  EXPECT_EQ(doGetModelMatrix(context, &m), RUK_OK);
  return m;
}

TEST(ModelStack, ThirtyOnePushesFitAndTheThirtySecondIsRefused) {
  TestContext c(rgb32Screen(), 2, 2);
  for (int i = 1; i <= 31; ++i) ASSERT_EQ(translateModel(c.context, 1.0f, 0.0f, 0.0f), RUK_OK) << i;
  EXPECT_EQ(c->modelDepth, 31u);
  const Matrix4 top = topOf(c.context);
  EXPECT_EQ(top.m[12], 31.0f);
  c->derivedDirty = 0;
  EXPECT_EQ(translateModel(c.context, 1.0f, 0.0f, 0.0f), RUK_ERR_STACK_FULL);
  EXPECT_EQ(doScaleModel(c.context, 2.0f, 2.0f, 2.0f), RUK_ERR_STACK_FULL);
  EXPECT_EQ(loadModelMatrix(c.context, &top), RUK_ERR_STACK_FULL);
  EXPECT_EQ(c->modelDepth, 31u);
  EXPECT_EQ(c->derivedDirty, 0u);
  EXPECT_TRUE(sameMatrix(topOf(c.context), top));

  for (int i = 1; i <= 31; ++i) ASSERT_EQ(popModelMatrix(c.context), RUK_OK) << i;
  EXPECT_EQ(c->derivedDirty, 1u);
  EXPECT_EQ(popModelMatrix(c.context), RUK_ERR_STACK_EMPTY);
  EXPECT_EQ(c->modelDepth, 0u);
  EXPECT_TRUE(sameMatrix(topOf(c.context), c->modelStack[0]));
}

// Every transforming call is undone exactly by one pop.
using Transform = std::function<RukStatus(RukContext*)>;
class PushThenPop : public testing::TestWithParam<Transform> {};

TEST_P(PushThenPop, RestoresThePreviousMatrixExactly) {
  TestContext c(rgb32Screen(), 2, 2);
  ASSERT_EQ(translateModel(c.context, 1.5f, -2.0f, 3.25f), RUK_OK);
  ASSERT_EQ(doRotateModel(c.context, 0.0f, 1.0f, 0.0f, 0.3f), RUK_OK);
  const Matrix4 before = topOf(c.context);
  c->derivedDirty = 0;
  ASSERT_EQ(GetParam()(c.context), RUK_OK);
  EXPECT_EQ(c->derivedDirty, 1u);
  EXPECT_EQ(c->modelDepth, 3u);
  EXPECT_TRUE(sameMatrix(c->modelStack[2], before)) << "the entry below is not modified";
  c->derivedDirty = 0;
  ASSERT_EQ(popModelMatrix(c.context), RUK_OK);
  EXPECT_EQ(c->derivedDirty, 1u);
  EXPECT_TRUE(sameMatrix(topOf(c.context), before));
}

const Matrix4 SOME_MATRIX = {{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 5, 6, 7, 1}, MATRIX_AFFINE};
const float SOME_QUATERNION[4] = {0.0f, 0.6f, 0.0f, 0.8f};

INSTANTIATE_TEST_SUITE_P(
    EveryTransform, PushThenPop,
    testing::Values(Transform([](RukContext* c) { return concatModelMatrix(c, &SOME_MATRIX); }),
                    Transform([](RukContext* c) { return loadModelMatrix(c, &SOME_MATRIX); }),
                    Transform([](RukContext* c) { return translateModel(c, 4.0f, 5.0f, 6.0f); }),
                    Transform([](RukContext* c) { return doScaleModel(c, 2.0f, 2.0f, 2.0f); }),
                    Transform([](RukContext* c) { return doScaleModel(c, 1.0f, 2.0f, 3.0f); }),
                    Transform([](RukContext* c) { return doRotateModel(c, 1.0f, 0.0f, 0.0f, 1.0f); }),
                    Transform([](RukContext* c) { return doQuatRotateModel(c, SOME_QUATERNION); })));

TEST(ModelStack, LoadPushesAllSeventeenWords) {
  TestContext c(rgb32Screen(), 2, 2);
  const Matrix4 m = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 0};
  ASSERT_EQ(loadModelMatrix(c.context, &m), RUK_OK);
  EXPECT_TRUE(sameMatrix(topOf(c.context), m));
  const Matrix4 hinted = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0xFC7};
  ASSERT_EQ(loadModelMatrix(c.context, &hinted), RUK_OK);
  EXPECT_EQ(topOf(c.context).hints, 0xFC7u);
}

TEST(ModelStack, ConcatAppliesTheNewMatrixFirst) {
  TestContext c(rgb32Screen(), 2, 2);
  ASSERT_EQ(translateModel(c.context, 1.0f, 2.0f, 3.0f), RUK_OK);
  // A scale by 2 applied before the translation: the translation stays put.
  const Matrix4 scale = {{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}, 0};
  ASSERT_EQ(concatModelMatrix(c.context, &scale), RUK_OK);
  const Matrix4 top = topOf(c.context);
  const float expected[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(top.m[i], expected[i]) << i;
}

TEST(ModelStack, TranslateFromIdentity) {
  TestContext c(rgb32Screen(), 2, 2);
  ASSERT_EQ(translateModel(c.context, 1.0f, 2.0f, 3.0f), RUK_OK);
  const Matrix4 top = topOf(c.context);
  EXPECT_EQ(top.m[12], 1.0f);
  EXPECT_EQ(top.m[13], 2.0f);
  EXPECT_EQ(top.m[14], 3.0f);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(top.m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

TEST(ModelStack, EqualScaleFactorsTakeTheIsotropicPath) {
  TestContext c(rgb32Screen(), 2, 2);
  ASSERT_EQ(doScaleModel(c.context, 2.0f, 2.0f, 2.0f), RUK_OK);
  Matrix4 top = topOf(c.context);
  // Isotropic scaling of the identity keeps the uniform-scale and conformal claims.
  EXPECT_EQ(top.hints, 0x2C6u);
  EXPECT_EQ(top.m[0], 2.0f);
  EXPECT_EQ(top.m[5], 2.0f);
  EXPECT_EQ(top.m[10], 2.0f);

  ASSERT_EQ(popModelMatrix(c.context), RUK_OK);
  const float almostTwo = floatFrom(0x40000001u);  // 2.0000002
  ASSERT_EQ(doScaleModel(c.context, 2.0f, 2.0f, almostTwo), RUK_OK);
  top = topOf(c.context);
  EXPECT_EQ(top.hints, 0x46u);
  EXPECT_EQ(top.m[10], almostTwo);
}

TEST(ModelStack, RotationAboutZTurnsXTowardY) {
  TestContext c(rgb32Screen(), 2, 2);
  ASSERT_EQ(doRotateModel(c.context, 0.0f, 0.0f, 1.0f, 1.5707964f), RUK_OK);
  const Matrix4 top = topOf(c.context);
  EXPECT_NEAR(top.m[0], 0.0f, 1e-6f);
  EXPECT_NEAR(top.m[1], 1.0f, 1e-6f);
  EXPECT_NEAR(top.m[4], -1.0f, 1e-6f);
  EXPECT_EQ(top.m[10], 1.0f);
}

TEST(ModelStack, IdentityQuaternionKeepsTheElements) {
  TestContext c(rgb32Screen(), 2, 2);
  const float identity[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  ASSERT_EQ(doQuatRotateModel(c.context, identity), RUK_OK);
  const Matrix4 top = topOf(c.context);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(top.m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
  EXPECT_EQ(top.hints, 0x706u);
}

TEST(ModelStack, ResetOnAnEmptyStackLeavesDerivedDirtyAlone) {
  TestContext c(rgb32Screen(), 2, 2);
  c->derivedDirty = 0;
  EXPECT_EQ(resetModelMatrix(c.context), RUK_OK);
  EXPECT_EQ(c->derivedDirty, 0u);
  c->derivedDirty = 7;
  EXPECT_EQ(resetModelMatrix(c.context), RUK_OK);
  EXPECT_EQ(c->derivedDirty, 7u);
}

TEST(ModelStack, ResetReturnsToTheIdentity) {
  TestContext c(rgb32Screen(), 2, 2);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(translateModel(c.context, 1.0f, 1.0f, 1.0f), RUK_OK);
  c->derivedDirty = 0;
  EXPECT_EQ(resetModelMatrix(c.context), RUK_OK);
  EXPECT_EQ(c->modelDepth, 0u);
  EXPECT_EQ(c->derivedDirty, 1u);
  const Matrix4 top = topOf(c.context);
  EXPECT_EQ(top.hints, 0xFC7u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(top.m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

TEST(TextureMatrix, LoadAndGetCopySeventeenWords) {
  TestContext c(rgb32Screen(), 2, 2);
  const Matrix4 m = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 0x1234};
  EXPECT_EQ(loadTextureMatrix(c.context, &m), RUK_OK);
  Matrix4 out{};
  EXPECT_EQ(doGetTextureMatrix(c.context, &out), RUK_OK);
  EXPECT_TRUE(sameMatrix(out, m));
  EXPECT_EQ(c->modelDepth, 0u) << "the texture matrix is not on the model stack";
}

struct Limits {
  float yLimit, xLimit, nearZ, farZ;
  uint32_t perspective;
};
Limits limitsOf(const RukContext* c) { return {c->yLimit, c->xLimit, c->nearZ, c->farZ, c->perspective}; }
bool sameLimits(const Limits& a, const Limits& b) { return std::memcmp(&a, &b, sizeof(Limits)) == 0; }

TEST(Projection, FieldOfViewMustStayBelowPi) {
  TestContext c(rgb32Screen(), 2, 2);
  const Limits before = limitsOf(c.context);
  EXPECT_EQ(doSetPerspectiveProjection(c.context, floatFrom(0x40490FDBu), 1.0f, 1.0f, 2.0f), RUK_ERR_BAD_ARGUMENT);
  EXPECT_TRUE(sameLimits(limitsOf(c.context), before));
  EXPECT_EQ(doSetPerspectiveProjection(c.context, floatFrom(0x40490FDAu), 2.0f, 0.5f, 9.0f), RUK_OK);
  EXPECT_EQ(bitsOf(c->yLimit), 0x4B4A1BDAu);  // tan of half of 3.1415925
  EXPECT_EQ(c->xLimit, 2.0f * c->yLimit);
  EXPECT_EQ(c->nearZ, 0.5f);
  EXPECT_EQ(c->farZ, 9.0f);
  EXPECT_EQ(c->perspective, 1u);
}

TEST(Projection, NegativeFieldOfViewIsAccepted) {
  TestContext c(rgb32Screen(), 2, 2);
  EXPECT_EQ(doSetPerspectiveProjection(c.context, -1.0f, 1.0f, 1.0f, 2.0f), RUK_OK);
  EXPECT_EQ(bitsOf(c->yLimit), 0xBF0BDA7Bu);  // tan(-0.5)
}

struct BadPerspective {
  float fov, aspect, nearZ, farZ;
};
class PerspectiveRejects : public testing::TestWithParam<BadPerspective> {};

TEST_P(PerspectiveRejects, AndKeepsThePreviousProjection) {
  TestContext c(rgb32Screen(), 2, 2);
  ASSERT_EQ(doSetOrthographicProjection(c.context, 3.0f, 4.0f, 1.0f, 5.0f), RUK_OK);
  const Limits before = limitsOf(c.context);
  const BadPerspective& p = GetParam();
  EXPECT_EQ(doSetPerspectiveProjection(c.context, p.fov, p.aspect, p.nearZ, p.farZ), RUK_ERR_BAD_ARGUMENT);
  EXPECT_TRUE(sameLimits(limitsOf(c.context), before));
}

INSTANTIATE_TEST_SUITE_P(All, PerspectiveRejects,
                         testing::Values(BadPerspective{1.0f, 1.0f, 5.0f, 5.0f},  // near = far
                                         BadPerspective{1.0f, 1.0f, 6.0f, 5.0f}, BadPerspective{1.0f, 0.0f, 1.0f, 5.0f},
                                         BadPerspective{1.0f, -1.0f, 1.0f, 5.0f},
                                         BadPerspective{4.0f, 1.0f, 1.0f, 5.0f}, BadPerspective{NAN, 1.0f, 1.0f, 5.0f},
                                         BadPerspective{1.0f, NAN, 1.0f, 5.0f}, BadPerspective{1.0f, 1.0f, NAN, 5.0f},
                                         BadPerspective{-INFINITY, 1.0f, 1.0f, 5.0f},
                                         BadPerspective{0.0f, INFINITY, 1.0f, 5.0f}));

struct BadOrtho {
  float halfWidth, halfHeight, nearZ, farZ;
};
class OrthographicRejects : public testing::TestWithParam<BadOrtho> {};

TEST_P(OrthographicRejects, AndKeepsThePreviousProjection) {
  TestContext c(rgb32Screen(), 2, 2);
  const Limits before = limitsOf(c.context);
  const BadOrtho& o = GetParam();
  EXPECT_EQ(doSetOrthographicProjection(c.context, o.halfWidth, o.halfHeight, o.nearZ, o.farZ), RUK_ERR_BAD_ARGUMENT);
  EXPECT_TRUE(sameLimits(limitsOf(c.context), before));
}

INSTANTIATE_TEST_SUITE_P(All, OrthographicRejects,
                         testing::Values(BadOrtho{0.0f, 1.0f, 1.0f, 2.0f}, BadOrtho{1.0f, 0.0f, 1.0f, 2.0f},
                                         BadOrtho{-1.0f, 1.0f, 1.0f, 2.0f}, BadOrtho{1.0f, 1.0f, 2.0f, 2.0f},
                                         BadOrtho{1.0f, 1.0f, 3.0f, 2.0f}, BadOrtho{NAN, 1.0f, 1.0f, 2.0f}));

TEST(Projection, OrthographicStoresItsLimits) {
  TestContext c(rgb32Screen(), 2, 2);
  EXPECT_EQ(doSetOrthographicProjection(c.context, 3.0f, 4.0f, -1.0f, 5.0f), RUK_OK);
  EXPECT_EQ(c->perspective, 0u);
  EXPECT_EQ(c->xLimit, 3.0f);
  EXPECT_EQ(c->yLimit, 4.0f);
  EXPECT_EQ(c->nearZ, -1.0f);
  EXPECT_EQ(c->farZ, 5.0f);
}

}  // namespace
