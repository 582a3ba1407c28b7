// The material setter and the light list: ambient shares, limits, the
// eye-space placement of pushed lights and their model-space copies.
#include <gtest/gtest.h>

#include "pipeline/lighting.h"
#include "pipeline_support/hand_context.h"

namespace {

struct MaterialAlphaCase {
  uint32_t given;
  uint32_t stored;
};

class MaterialAlpha : public ::testing::TestWithParam<MaterialAlphaCase> {};

TEST_P(MaterialAlpha, IsClampedUnsigned) {
  HandContext hand;
  ASSERT_EQ(setMaterial(hand.context, 0x010203, 0x040506, 0x070809, 0x0A0B0C, 7.5f, GetParam().given), RUK_OK);
  const RukMaterial& m = hand.context->material;
  EXPECT_EQ(m.emission, 0x010203u);
  EXPECT_EQ(m.ambient, 0x040506u);
  EXPECT_EQ(m.diffuse, 0x070809u);
  EXPECT_EQ(m.specular, 0x0A0B0Cu);
  EXPECT_EQ(m.shininess, 7.5f);
  EXPECT_EQ(m.alpha, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Values, MaterialAlpha,
                         ::testing::Values(MaterialAlphaCase{300, 255}, MaterialAlphaCase{0xFFFFFFFFu, 255},
                                           MaterialAlphaCase{254, 254}, MaterialAlphaCase{255, 255},
                                           MaterialAlphaCase{0, 0}));

const float kDown[3] = {0.0f, 0.0f, -1.0f};

TEST(LightList, SaturatingAmbientIsRestoredExactlyByPop) {
  HandContext hand;
  RukContext* c = hand.context;
  ASSERT_EQ(pushDirectionalLight(c, 0, 0xC08010, kDown), RUK_OK);
  EXPECT_EQ(c->ambientLight, 0xC08010u);
  EXPECT_EQ(c->lights[0].ambientShare, 0xC08010u);
  ASSERT_EQ(pushDirectionalLight(c, 0, 0x608020, kDown), RUK_OK);
  // Red and green saturate; the second light only added what still fitted.
  EXPECT_EQ(c->ambientLight, 0xFFFF30u);
  EXPECT_EQ(c->lights[1].ambientShare, 0x3F7F20u);
  ASSERT_EQ(popLight(c), RUK_OK);
  EXPECT_EQ(c->ambientLight, 0xC08010u);
  EXPECT_EQ(c->lightCount, 1u);
  ASSERT_EQ(popLight(c), RUK_OK);
  EXPECT_EQ(c->ambientLight, 0u);
  EXPECT_EQ(popLight(c), RUK_ERR_LIGHTS_EMPTY);
}

TEST(LightList, HoldsSixteenLightsAndRefusesTheSeventeenth) {
  HandContext hand;
  RukContext* c = hand.context;
  const float at[3] = {1.0f, 2.0f, 3.0f};
  for (int i = 0; i < 16; ++i) ASSERT_EQ(pushPointLight(c, 0xFFFFFF, 0x010101, at, 10, 0, 0, 1), RUK_OK);
  EXPECT_EQ(c->ambientLight, 0x101010u);
  c->derivedDirty = 0;
  EXPECT_EQ(pushDirectionalLight(c, 0xFFFFFF, 0x010101, kDown), RUK_ERR_LIGHTS_FULL);
  EXPECT_EQ(pushSpotLight(c, 0xFFFFFF, 0x010101, at, kDown, 1, 0.5f, 0.9f, 0, 0, 1), RUK_ERR_LIGHTS_FULL);
  EXPECT_EQ(c->lightCount, 16u);
  EXPECT_EQ(c->ambientLight, 0x101010u);
  EXPECT_EQ(c->derivedDirty, 0u);
  EXPECT_EQ(resetLights(c), RUK_OK);
  EXPECT_EQ(c->lightCount, 0u);
  EXPECT_EQ(c->ambientLight, 0u);
}

TEST(LightList, PushCarriesByTheModelMatrixAndMarksDerivedStateDirty) {
  HandContext hand;
  RukContext* c = hand.context;
  // A model matrix that scales by 2 and moves by (1, 2, 3).
  Matrix4& top = c->modelStack[++c->modelDepth];
  matrixIdentity(&top);
  top.m[0] = top.m[5] = top.m[10] = 2.0f;
  top.m[12] = 1.0f;
  top.m[13] = 2.0f;
  top.m[14] = 3.0f;
  top.hints = MATRIX_AFFINE;
  c->derivedDirty = 0;

  const float position[3] = {1.0f, 1.0f, 1.0f};
  const float direction[3] = {3.0f, 0.0f, -4.0f};
  ASSERT_EQ(pushSpotLight(c, 0x102030, 0, position, direction, 3.0f, 0.5f, 0.25f, 1, 2, 4), RUK_OK);
  const RukLight& light = c->lights[0];
  EXPECT_EQ(c->derivedDirty, 1u);
  EXPECT_EQ(light.type, LIGHT_SPOT);
  EXPECT_EQ(light.position[0], 3.0f);
  EXPECT_EQ(light.position[1], 4.0f);
  EXPECT_EQ(light.position[2], 5.0f);
  EXPECT_FLOAT_EQ(light.direction[0], 0.6f);
  EXPECT_EQ(light.direction[1], 0.0f);
  EXPECT_FLOAT_EQ(light.direction[2], -0.8f);
  EXPECT_EQ(light.rangeSquared, 9.0f);
  EXPECT_EQ(light.quadratic, 1.0f);
  EXPECT_EQ(light.linear, 2.0f);
  EXPECT_EQ(light.constant, 4.0f);
  EXPECT_EQ(light.cosOuter, 0.5f);
  // An inner cone no narrower than the outer one is moved just inside it.
  EXPECT_EQ(light.cosInner, 0.5f + 1e-5f);
  EXPECT_EQ(light.ambientShare, 0u);
  EXPECT_EQ(light.colorRows[0], productRow(0x10));
  EXPECT_EQ(light.colorRows[1], productRow(0x20));
  EXPECT_EQ(light.colorRows[2], productRow(0x30));
}

TEST(LightList, ZeroDirectionShinesIntoTheScreen) {
  HandContext hand;
  const float zero[3] = {0.0f, 0.0f, 0.0f};
  ASSERT_EQ(pushDirectionalLight(hand.context, 0xFFFFFF, 0, zero), RUK_OK);
  const RukLight& light = hand.context->lights[0];
  EXPECT_EQ(light.direction[0], 0.0f);
  EXPECT_EQ(light.direction[1], 0.0f);
  EXPECT_EQ(light.direction[2], -1.0f);
}

TEST(ModelSpace, EyeAndLightsAreCarriedByTheInverseModelMatrix) {
  HandContext hand;
  RukContext* c = hand.context;
  const float position[3] = {0.0f, 0.0f, -5.0f};
  ASSERT_EQ(pushPointLight(c, 0xFFFFFF, 0, position, 100, 0, 0, 1), RUK_OK);
  ASSERT_EQ(pushDirectionalLight(c, 0xFFFFFF, 0, kDown), RUK_OK);
  hand.translateModelBy(0.0f, 1.0f, -10.0f);
  updateModelSpaceLighting(c);
  EXPECT_EQ(c->modelConformal, 0u);
  EXPECT_EQ(c->eyeInModel[0], 0.0f);
  EXPECT_EQ(c->eyeInModel[1], -1.0f);
  EXPECT_EQ(c->eyeInModel[2], 10.0f);
  EXPECT_EQ(c->lights[0].modelPosition[1], -1.0f);
  EXPECT_EQ(c->lights[0].modelPosition[2], 5.0f);
  EXPECT_EQ(c->lights[1].modelDirection[2], -1.0f);
}

TEST(ModelSpace, DirectionsStayUnitUnderAUniformScale) {
  HandContext hand;
  RukContext* c = hand.context;
  ASSERT_EQ(pushDirectionalLight(c, 0xFFFFFF, 0, kDown), RUK_OK);
  Matrix4& top = c->modelStack[++c->modelDepth];
  matrixIdentity(&top);
  top.m[0] = top.m[5] = top.m[10] = 4.0f;
  top.hints = MATRIX_AFFINE | MATRIX_NO_TRANSLATION | MATRIX_PURE_SCALE | MATRIX_UNIFORM_SCALE | MATRIX_CONFORMAL;
  updateModelSpaceLighting(c);
  EXPECT_EQ(c->modelConformal, 1u);
  EXPECT_EQ(c->lights[0].modelDirection[0], 0.0f);
  EXPECT_EQ(c->lights[0].modelDirection[1], 0.0f);
  EXPECT_EQ(c->lights[0].modelDirection[2], -1.0f);
}

}  // namespace
