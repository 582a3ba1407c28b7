// One lighting evaluation, with values derived by hand. The viewer looks
// down -z from the origin; the lit vertex lies at (0, 0, -10) facing it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "pipeline/lighting.h"
#include "pipeline_support/hand_context.h"

namespace {

const float kVertex[3] = {0.0f, 0.0f, -10.0f};
const float kFacingViewer[3] = {0.0f, 0.0f, 1.0f};
const float kIntoScreen[3] = {0.0f, 0.0f, -1.0f};

struct Lit {
  uint32_t color, specular;
};

Lit evaluate(RukContext* c, const float* position = kVertex, const float* normal = kFacingViewer) {
  updateModelSpaceLighting(c);
  Lit lit{0xDEADBEEF, 0xDEADBEEF};
  evaluateLighting(c, position, normal, &c->material, &lit.color, &lit.specular);
  return lit;
}

struct Directional {
  uint32_t color;
  float direction[3];
};

struct DirectionalCase {
  const char* name;
  std::vector<Directional> lights;
  RukMaterial material;
  uint32_t color, specular;
};

class DirectionalLights : public ::testing::TestWithParam<DirectionalCase> {};

TEST_P(DirectionalLights, LightTheVertex) {
  HandContext hand;
  RukContext* c = hand.context;
  const DirectionalCase& t = GetParam();
  for (const Directional& light : t.lights) pushDirectionalLight(c, light.color, 0, light.direction);
  const RukMaterial& m = t.material;
  setMaterial(c, m.emission, m.ambient, m.diffuse, m.specular, m.shininess, m.alpha);
  const Lit lit = evaluate(c);
  EXPECT_EQ(lit.color, t.color) << t.name;
  EXPECT_EQ(lit.specular, t.specular) << t.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DirectionalLights,
    ::testing::Values(
        DirectionalCase{"no lights: the emission exactly", {}, {0x808080, 0, 0xFFFFFF, 0xFFFFFF, 1, 255}, 0x808080, 0},
        // Red and green: 0xC0 + 0x80 saturate; blue: 0x10 + 0xC0.
        DirectionalCase{"diffuse sums clamp per channel",
                        {{0xC0C0C0, {0, 0, -1}}, {0x808000, {0, 0, -1}}},
                        {0x000010, 0, 0xFFFFFF, 0, 0, 255},
                        0xFFFFD0,
                        0},
        DirectionalCase{"light behind the surface adds nothing",
                        {{0xFFFFFF, {0, 0, 1}}},
                        {0x010203, 0, 0xFFFFFF, 0xFFFFFF, 0, 255},
                        0x010203,
                        0},
        DirectionalCase{
            "no specular colour: specular word 0", {{0xFFFFFF, {0, 0, -1}}}, {0, 0, 0x404040, 0, 0, 255}, 0x404040, 0},
        // Light travelling along (0.6, 0, -0.8); the view vector is (0, 0, -1),
        // so the half vector is (0.6, 0, -1.8) / sqrt(3.6) and t = 1.8 /
        // sqrt(3.6) = 0.948683. With n = 2: s = t / (2 - t) = 0.902375, and
        // the channels 100, 10 and 1 give 90.2, 9.02 and 0.90.
        DirectionalCase{"specular by the rational approximation",
                        {{0xFFFFFF, {3, 0, -4}}},
                        {0, 0, 0, 0x640A01, 2, 255},
                        0,
                        0x5A0900}));

TEST(Evaluate, AmbientLightTimesMaterialAmbientAddsToEmission) {
  HandContext hand;
  RukContext* c = hand.context;
  // Black lights: only their ambient colours count.
  pushDirectionalLight(c, 0, 0xC08010, kIntoScreen);
  pushDirectionalLight(c, 0, 0x608020, kIntoScreen);
  setMaterial(c, 0x000102, 0x808080, 0xFFFFFF, 0, 0.0f, 255);
  // 0xFF x 0x80 = 0x80; 0x30 x 0x80 = (48 * 128 + 128) / 255 = 24.
  EXPECT_EQ(evaluate(c).color, 0x80811Au);
  // No ambient material colour: no ambient term.
  setMaterial(c, 0x000102, 0, 0xFFFFFF, 0, 0.0f, 255);
  EXPECT_EQ(evaluate(c).color, 0x000102u);
}

TEST(Evaluate, PointLightJustOutOfRangeContributesNothingNotEvenSpecular) {
  HandContext hand;
  RukContext* c = hand.context;
  const float fiveAhead[3] = {0.0f, 0.0f, -5.0f};
  pushPointLight(c, 0xFFFFFF, 0, fiveAhead, 4.999f, 0, 0, 1);
  setMaterial(c, 0x010101, 0, 0x808080, 0xFFFFFF, 3.0f, 255);
  Lit lit = evaluate(c);
  EXPECT_EQ(lit.color, 0x010101u);
  EXPECT_EQ(lit.specular, 0u);

  // At exactly the range the light counts: full diffuse, and the half
  // vector lies on the normal, so the specular factor is 1 for any n.
  popLight(c);
  pushPointLight(c, 0xFFFFFF, 0, fiveAhead, 5.0f, 0, 0, 1);
  lit = evaluate(c);
  EXPECT_EQ(lit.color, 0x818181u);
  EXPECT_EQ(lit.specular, 0xFFFFFFu);
}

TEST(Evaluate, PointLightAttenuationDividesBothTerms) {
  HandContext hand;
  RukContext* c = hand.context;
  const float fiveAhead[3] = {0.0f, 0.0f, -5.0f};
  // q = 0 x 25 + 0.125 x 5 + 1.375 = 2.
  pushPointLight(c, 0xFFFFFF, 0, fiveAhead, 100.0f, 0.0f, 0.125f, 1.375f);
  setMaterial(c, 0, 0, 0xC8C8C8, 0x646464, 0.0f, 255);
  const Lit lit = evaluate(c);
  EXPECT_EQ(lit.color, 0x646464u);
  EXPECT_EQ(lit.specular, 0x323232u);
}

TEST(Evaluate, PointLightAtTheVertexShinesAlongTheNormal) {
  HandContext hand;
  RukContext* c = hand.context;
  // q = 2, so att = 0.5 and d = att: 255 x 0.5 = 127.5.
  pushPointLight(c, 0xFFFFFF, 0, kVertex, 1.0f, 0, 0, 2.0f);
  setMaterial(c, 0, 0, 0xFFFFFF, 0, 0.0f, 255);
  EXPECT_EQ(evaluate(c).color, 0x7F7F7Fu);
}

// A spot light at (0, 0, -5) pointing along -z, and a vertex at (3, 0, -9):
// the vertex sees the light along (-0.6, 0, 0.8), so the cone cosine is 0.8
// and N·L = 0.8.
struct SpotCase {
  float cosOuter, cosInner;
  uint32_t color;
};

class SpotCone : public ::testing::TestWithParam<SpotCase> {};

TEST_P(SpotCone, RampsFromTheOuterEdge) {
  HandContext hand;
  RukContext* c = hand.context;
  const float at[3] = {0.0f, 0.0f, -5.0f};
  const float vertex[3] = {3.0f, 0.0f, -9.0f};
  pushSpotLight(c, 0xFFFFFF, 0, at, kIntoScreen, 100.0f, GetParam().cosOuter, GetParam().cosInner, 0, 0, 1);
  setMaterial(c, 0x000001, 0, 0xFFFFFF, 0, 0.0f, 255);
  EXPECT_EQ(evaluate(c, vertex).color, GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(Edges, SpotCone,
                         ::testing::Values(
                             // Inside the inner cone: full light, 255 x 0.8 = 204.
                             SpotCase{0.5f, 0.7f, 0xCCCCCD},
                             // Half way up the ramp: (0.8 - 0.6) / (1 - 0.6) = 0.5, 255 x 0.4 = 102.
                             SpotCase{0.6f, 1.0f, 0x666667},
                             // On the outer edge the ramp gives 0; just outside the light is skipped.
                             SpotCase{0.8f, 0.9f, 0x000001}, SpotCase{std::nextafter(0.8f, 1.0f), 0.9f, 0x000001}));

TEST(Evaluate, NotANumberNormalAddsNothing) {
  HandContext hand;
  RukContext* c = hand.context;
  pushDirectionalLight(c, 0xFFFFFF, 0, kIntoScreen);
  setMaterial(c, 0x050505, 0, 0xFFFFFF, 0xFFFFFF, 0.0f, 255);
  const float broken[3] = {NAN, 0.0f, 1.0f};
  const Lit lit = evaluate(c, kVertex, broken);
  EXPECT_EQ(lit.color, 0x050505u);
  EXPECT_EQ(lit.specular, 0u);
}

TEST(Evaluate, HugeAttenuationSaturatesWithoutOverflow) {
  HandContext hand;
  RukContext* c = hand.context;
  const float fiveAhead[3] = {0.0f, 0.0f, -5.0f};
  pushPointLight(c, 0x010101, 0, fiveAhead, 100.0f, 0, 0, 1e-30f);
  setMaterial(c, 0, 0, 0xFFFFFF, 0xFFFFFF, 0.0f, 255);
  const Lit lit = evaluate(c);
  EXPECT_EQ(lit.color, 0xFFFFFFu);
  EXPECT_EQ(lit.specular, 0xFFFFFFu);
}

}  // namespace

// Evaluations in lanes: each lane, with its own position, normal and
// material, gives what it gives alone, under every kind of light at once
// (the spot's cone and the point light's range take some lanes and not
// others; one lane has no specular colour).
TEST(Evaluate, LanesGiveWhatEachGivesAlone) {
  HandContext hand;
  RukContext* c = hand.context;
  const float ahead[3] = {0.0f, 0.0f, -5.0f};
  const float slanted[3] = {0.3f, -0.2f, -1.0f};
  pushDirectionalLight(c, 0x8040C0, 0x101010, slanted);
  pushPointLight(c, 0xFFFFFF, 0, ahead, 6.0f, 0.01f, 0.05f, 1.0f);
  pushSpotLight(c, 0x40FF40, 0, ahead, kIntoScreen, 100.0f, 0.9f, 0.97f, 0, 0.1f, 1);
  setMaterial(c, 0x050505, 0x202020, 0xC08040, 0xFFFFFF, 12.0f, 255);
  updateModelSpaceLighting(c);
  const float positions[4][3] = {{0, 0, -10}, {2.5f, 1, -9}, {-4, 3, -12}, {0.5f, -0.5f, -10.5f}};
  const float normals[4][3] = {{0, 0, 1}, {0.6f, 0, 0.8f}, {-0.48f, 0.6f, 0.64f}, {0, -0.6f, 0.8f}};
  LightingLanes lanes;
  for (uint32_t l = 0; l < LIGHTING_LANES; ++l) {
    for (uint32_t k = 0; k < 3; ++k) {
      lanes.position[k][l] = positions[l][k];
      lanes.normal[k][l] = normals[l][k];
    }
    lanes.material[l] = c->material;
  }
  lanes.material[1].diffuse = 0x30F0A0;
  lanes.material[2].specular = 0;
  lanes.material[3].emission = 0xFF0000;
  uint32_t color[LIGHTING_LANES], specular[LIGHTING_LANES];
  evaluateLightingLanes(c, lanes, color, specular);
  for (uint32_t l = 0; l < LIGHTING_LANES; ++l) {
    Lit alone{};
    evaluateLighting(c, positions[l], normals[l], &lanes.material[l], &alone.color, &alone.specular);
    EXPECT_EQ(color[l], alone.color) << "lane " << l;
    EXPECT_EQ(specular[l], alone.specular) << "lane " << l;
  }
  EXPECT_EQ(specular[2], 0u);
  EXPECT_NE(color[0], color[1]);
}
