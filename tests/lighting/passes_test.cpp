// The flat and smooth lighting passes over a batch filled by hand, and the
// fog amounts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pipeline/lighting.h"
#include "pipeline/render_stages.h"
#include "pipeline_support/hand_context.h"
#include "raster/raster.h"

namespace {

const float kIntoScreen[3] = {0.0f, 0.0f, -1.0f};

// Triangles in front of the viewer, facing it.
struct TriangleModel {
  std::vector<float> vertices = {0, 0, -10, 1, 0, -10, 0, 1, -10, 1, 1, -10};
  std::vector<uint32_t> indices;
  std::vector<uint32_t> colors;
  std::vector<float> normals = {0, 0, 1};
  std::vector<uint32_t> normalIndices;
  ModelPacket packet{};

  explicit TriangleModel(std::vector<uint32_t> corners) : indices(std::move(corners)) {
    packet.type = MODEL_TRIANGLES;
    packet.primitiveCount = static_cast<uint32_t>(indices.size() / 3);
    packet.vertexCount = 4;
    packet.vertices = vertices.data();
    packet.vertexIndices = indices.data();
  }
  void colorPerCorner(std::vector<uint32_t> words) {
    colors = std::move(words);
    packet.colorBinding = BINDING_PER_CORNER;
    packet.colors = colors.data();
  }
  void sharedCornerNormal() {
    normalIndices.assign(indices.size(), 0);
    packet.normalBinding = BINDING_PER_CORNER;
    packet.normalCount = 1;
    packet.normals = normals.data();
    packet.normalIndices = normalIndices.data();
  }
};

// Puts primitives 0..count-1 into the batch with the given facing, corners
// at the given depths, and sentinel colour words.
void fillBatch(RukContext* c, uint32_t count, uint32_t facing = 0, std::vector<float> depths = {10, 10, 10}) {
  c->batchCount = count;
  for (uint32_t e = 0; e < count; ++e) {
    BatchEntry& entry = c->batch[e];
    entry.primitiveIndex = e;
    entry.facing = facing;
    entry.clipOr = 0;
    entry.clipAnd = 0;
    for (uint32_t k = 0; k < 3; ++k) {
      entry.corners[k].z = depths[k];
      entry.corners[k].color = 0xDEADBEEF;
      entry.corners[k].specular = 0xDEADBEEF;
    }
  }
}

// A white light shining straight into the screen, refreshed in model space,
// and a material without specular.
void headlight(RukContext* c, uint32_t emission, uint32_t diffuse, uint32_t alpha) {
  pushDirectionalLight(c, 0xFFFFFF, 0, kIntoScreen);
  updateModelSpaceLighting(c);
  setMaterial(c, emission, 0, diffuse, 0, 0.0f, alpha);
}

void smoothPass(RukContext* c, const TriangleModel& model, uint32_t flags = RF_SMOOTH) {
  resetVertexCache(c);
  lightBatchSmooth(c, 3, &model.packet, flags);
}

TEST(FlatPass, LightsOnceAtTheFirstCornerAndCopiesToTheOthers) {
  HandContext hand;
  RukContext* c = hand.context;
  setMaterial(c, 0, 0, 0, 0, 0.0f, 200);
  c->attributes[ATTR_COLOR_MATERIAL] = 0;  // colours replace the emission
  TriangleModel model({0, 1, 2});
  model.colorPerCorner({0x80112233, 0xFF445566, 0xFF778899});
  fillBatch(c, 1);
  lightBatchFlat(c, 3, &model.packet, 0);
  // Alpha: 200 x 0x80 = (25600 + 128) / 255 = 100.
  for (const BatchVertex& corner : c->batch[0].corners) {
    EXPECT_EQ(corner.color, 0x64112233u);
    EXPECT_EQ(corner.specular, 0u);
  }
}

TEST(FlatPass, SkipsEntriesWhollyOutsideAClipPlane) {
  HandContext hand;
  RukContext* c = hand.context;
  TriangleModel model({0, 1, 2});
  fillBatch(c, 1);
  c->batch[0].clipAnd = CLIP_LEFT;
  lightBatchFlat(c, 3, &model.packet, RF_FOG);
  EXPECT_EQ(c->batch[0].corners[0].color, 0xDEADBEEFu);
  EXPECT_EQ(c->batch[0].corners[2].specular, 0xDEADBEEFu);
}

struct FacingCase {
  uint32_t facing;
  uint32_t color;
};

class TwoSided : public ::testing::TestWithParam<FacingCase> {};

TEST_P(TwoSided, BackFacesLitTwoSidedUseTheReversedNormal) {
  HandContext hand;
  RukContext* c = hand.context;
  headlight(c, 0x000001, 0x808080, 255);
  TriangleModel model({0, 1, 2});
  model.sharedCornerNormal();
  for (const bool smooth : {false, true}) {
    fillBatch(c, 1, GetParam().facing);
    if (smooth) {
      smoothPass(c, model);
    } else {
      lightBatchFlat(c, 3, &model.packet, 0);
    }
    for (const BatchVertex& corner : c->batch[0].corners) EXPECT_EQ(corner.color, GetParam().color);
  }
}

INSTANTIATE_TEST_SUITE_P(Facings, TwoSided,
                         ::testing::Values(FacingCase{0, 0xFF808081}, FacingCase{FACING_BACK, 0xFF808081},
                                           FacingCase{FACING_BACK | FACING_LIT_AS_BACK, 0xFF000001}));

TEST(SmoothPass, LightsEachCornerWithItsOwnColour) {
  HandContext hand;
  RukContext* c = hand.context;
  headlight(c, 0, 0x123456, 128);
  TriangleModel model({0, 1, 2});
  model.colorPerCorner({0xFF102030, 0x00405060, 0x80FFFFFF});  // replace the diffuse colour
  fillBatch(c, 1);
  smoothPass(c, model);
  // Alpha: 128 x 0xFF = 128, 128 x 0 = 0, 128 x 0x80 = (16384 + 128) / 255 = 64.
  EXPECT_EQ(c->batch[0].corners[0].color, 0x80102030u);
  EXPECT_EQ(c->batch[0].corners[1].color, 0x00405060u);
  EXPECT_EQ(c->batch[0].corners[2].color, 0x40FFFFFFu);
}

TEST(SmoothPass, WithoutColoursUsesTheMaterialDiffuseAndAlpha) {
  HandContext hand;
  RukContext* c = hand.context;
  headlight(c, 0, 0x123456, 77);
  TriangleModel model({0, 1, 2});
  fillBatch(c, 1);
  smoothPass(c, model);
  for (const BatchVertex& corner : c->batch[0].corners) EXPECT_EQ(corner.color, 0x4D123456u);
}

// Without lights a corner shows the material's emission plus its ambient
// colour times the ambient light (which only a hand-made context has without
// lights), with the model colour standing in for one of them, and no
// specular part. Material: emission 0x010203, ambient 0x333333, diffuse
// 0x445566, specular white. Corner colours, in batch order:
// 0xFF102030, 0x80405060, 0xFF102030 | 0x80405060, 0xFF102030, 0xFFF0F0F0.
struct UnlitCase {
  const char* name;
  uint32_t colorMaterial;
  uint32_t ambientLight;
  uint32_t expected[6];
};

// 0x33 x 0x80 = 26; 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0xF0 x 0x80 = 8, 16, 24, 32, 40, 48, 120.
const UnlitCase kUnlitCases[] = {
    {"EachCornerIsItsOwnEmission", 0, 0, {0xFF102030, 0x80405060, 0xFF102030, 0x80405060, 0xFF102030, 0xFFF0F0F0}},
    {"ReplacedDiffuseLeavesTheEmission",
     2,
     0,
     {0xFF010203, 0x80010203, 0xFF010203, 0x80010203, 0xFF010203, 0xFF010203}},
    {"ReplacedAmbientWithoutAmbientLight",
     1,
     0,
     {0xFF010203, 0x80010203, 0xFF010203, 0x80010203, 0xFF010203, 0xFF010203}},
    {"EmissionPlusTheAmbientTermClamped",
     0,
     0x808080,
     {0xFF2A3A4A, 0x805A6A7A, 0xFF2A3A4A, 0x805A6A7A, 0xFF2A3A4A, 0xFFFFFFFF}},
    {"AmbientColourTimesTheAmbientLight",
     1,
     0x808080,
     {0xFF09121B, 0x80212A33, 0xFF09121B, 0x80212A33, 0xFF09121B, 0xFF797A7B}},
};

class UnlitSmoothPass : public testing::TestWithParam<UnlitCase> {};

TEST_P(UnlitSmoothPass, CornerColours) {
  const UnlitCase& test = GetParam();
  HandContext hand;
  RukContext* c = hand.context;
  setMaterial(c, 0x010203, 0x333333, 0x445566, 0xFFFFFF, 16.0f, 255);
  c->attributes[ATTR_COLOR_MATERIAL] = test.colorMaterial;
  c->ambientLight = test.ambientLight;
  TriangleModel model({0, 1, 2, 1, 2, 3});
  model.colorPerCorner({0xFF102030, 0x80405060, 0xFF102030, 0x80405060, 0xFF102030, 0xFFF0F0F0});
  fillBatch(c, 2);
  smoothPass(c, model);
  for (uint32_t corner = 0; corner < 6; ++corner) {
    const BatchVertex& out = c->batch[corner / 3].corners[corner % 3];
    EXPECT_EQ(out.color, test.expected[corner]) << "corner " << corner;
    EXPECT_EQ(out.specular, 0u) << "corner " << corner;
  }
}

INSTANTIATE_TEST_SUITE_P(WithoutLights, UnlitSmoothPass, testing::ValuesIn(kUnlitCases),
                         [](const testing::TestParamInfo<UnlitCase>& info) { return std::string(info.param.name); });

TEST(SmoothPass, SharedVertexIsRelitWhenItsColourDiffers) {
  HandContext hand;
  RukContext* c = hand.context;
  headlight(c, 0, 0, 255);
  TriangleModel model({0, 1, 2, 0, 2, 3});
  model.colorPerCorner({0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0xFF0000FF});
  fillBatch(c, 2);
  smoothPass(c, model);
  EXPECT_EQ(c->batch[0].corners[0].color, 0xFF0000FFu);
  EXPECT_EQ(c->batch[1].corners[0].color, 0xFF00FF00u);
  EXPECT_EQ(c->batch[1].corners[1].color, 0xFF0000FFu);
}

// Vertices 0 and 1024 share a cache slot: within one batch the slot is
// claimed by 0, then 1024, then 0 again, and each corner keeps the colour of
// its own vertex; the slot ends holding vertex 0's.
TEST(SmoothPass, SlotClaimedAgainWithinABatchKeepsEachCornersColour) {
  HandContext hand;
  RukContext* c = hand.context;
  headlight(c, 0, 0, 255);
  TriangleModel model({0, 1, 2, 1024, 1, 2, 0, 2, 3});
  model.vertices.resize(3 * 1025, -10.0f);
  model.packet.vertices = model.vertices.data();
  model.packet.vertexCount = 1025;
  model.colorPerCorner(
      {0xFF000011, 0xFF000022, 0xFF000033, 0xFF000044, 0xFF000022, 0xFF000033, 0xFF000011, 0xFF000033, 0xFF000055});
  fillBatch(c, 3);
  smoothPass(c, model);
  EXPECT_EQ(c->batch[0].corners[0].color, 0xFF000011u);
  EXPECT_EQ(c->batch[1].corners[0].color, 0xFF000044u);
  EXPECT_EQ(c->batch[2].corners[0].color, 0xFF000011u);
  EXPECT_EQ(c->batch[2].corners[2].color, 0xFF000055u);
  EXPECT_EQ(c->vertexCache[0].tag, 0u);
  EXPECT_EQ(c->vertexCache[0].litColor, 0xFF000011u);
  EXPECT_EQ(c->vertexCache[3].litColor, 0xFF000055u);
}

TEST(SmoothPass, SharedVertexOfAFrontAndATwoSidedBackFaceIsLitForEachSide) {
  HandContext hand;
  RukContext* c = hand.context;
  headlight(c, 0x000001, 0x808080, 255);
  TriangleModel model({0, 1, 2, 0, 2, 3});
  model.sharedCornerNormal();
  fillBatch(c, 2);
  c->batch[1].facing = FACING_BACK | FACING_LIT_AS_BACK;
  smoothPass(c, model);
  EXPECT_EQ(c->batch[0].corners[0].color, 0xFF808081u);
  EXPECT_EQ(c->batch[1].corners[0].color, 0xFF000001u);
}

TEST(FogPass, FlatPassCopiesCornerZerosAmountSmoothPassComputesEachCorner) {
  HandContext hand;
  RukContext* c = hand.context;
  setMaterial(c, 0, 0, 0, 0x010203, 0.0f, 255);  // specular on, no lights: word 0
  c->attributes[ATTR_FOG_MODE] = FOG_LINEAR;
  hand.setFloat(ATTR_FOG_START, 0.0f);
  hand.setFloat(ATTR_FOG_END, 255.0f);
  TriangleModel model({0, 1, 2});

  fillBatch(c, 1, 0, {10.0f, 50.0f, 90.0f});
  lightBatchFlat(c, 3, &model.packet, RF_FOG | RF_SPECULAR);
  for (const BatchVertex& corner : c->batch[0].corners) EXPECT_EQ(corner.specular, 10u << 24);

  fillBatch(c, 1, 0, {10.0f, 50.0f, 90.0f});
  smoothPass(c, model, RF_FOG | RF_SPECULAR | RF_SMOOTH);
  EXPECT_EQ(c->batch[0].corners[0].specular, 10u << 24);
  EXPECT_EQ(c->batch[0].corners[1].specular, 50u << 24);
  EXPECT_EQ(c->batch[0].corners[2].specular, 90u << 24);
}

TEST(FogPass, RunsOnlyWhenFogIsInTheFlags) {
  HandContext hand;
  RukContext* c = hand.context;
  c->attributes[ATTR_FOG_MODE] = FOG_LINEAR;
  hand.setFloat(ATTR_FOG_START, 0.0f);
  hand.setFloat(ATTR_FOG_END, 255.0f);
  TriangleModel model({0, 1, 2});
  fillBatch(c, 1, 0, {10.0f, 10.0f, 10.0f});
  lightBatchFlat(c, 3, &model.packet, 0);
  EXPECT_EQ(c->batch[0].corners[0].specular, 0u);
}

struct FogCase {
  uint32_t mode;
  float start, end, density;
  float z;
  uint32_t amount;
};

class FogAmount : public ::testing::TestWithParam<FogCase> {};

TEST_P(FogAmount, MatchesTheModesFormula) {
  HandContext hand;
  RukContext* c = hand.context;
  const FogCase& fog = GetParam();
  c->attributes[ATTR_FOG_MODE] = fog.mode;
  hand.setFloat(ATTR_FOG_START, fog.start);
  hand.setFloat(ATTR_FOG_END, fog.end);
  hand.setFloat(ATTR_FOG_DENSITY, fog.density);
  fillBatch(c, 1, 0, {fog.z, 0.0f, 0.0f});
  c->batch[0].corners[0].specular = 0x00123456;
  computeFogAmounts(c, 1, RF_FOG, false);
  EXPECT_EQ(c->batch[0].corners[0].specular, fog.amount << 24 | 0x00123456u);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FogAmount,
    ::testing::Values(
        // Linear with the default range: none before the start, full past the end.
        FogCase{FOG_LINEAR, 1.0f, 1e6f, 0.0f, 0.5f, 0}, FogCase{FOG_LINEAR, 1.0f, 1e6f, 0.0f, 1.0f, 0},
        FogCase{FOG_LINEAR, 1.0f, 1e6f, 0.0f, 2e6f, 255},
        // Linear from 10 to 265: one step per unit of depth.
        FogCase{FOG_LINEAR, 10.0f, 265.0f, 0.0f, 100.5f, 90}, FogCase{FOG_LINEAR, 10.0f, 265.0f, 0.0f, 265.0f, 255},
        // A range of zero length at its own start.
        FogCase{FOG_LINEAR, 5.0f, 5.0f, 0.0f, 5.0f, 0},
        // Exponential: density 0 gives no fog; 255 (1 - e^-0.5) = 100.3.
        FogCase{FOG_EXP, 1.0f, 1e6f, 0.0f, 1000.0f, 0}, FogCase{FOG_EXP, 1.0f, 1e6f, 0.01f, 50.0f, 100},
        FogCase{FOG_EXP, 1.0f, 1e6f, 0.01f, -5.0f, 0},
        // Squared exponential: 255 (1 - e^-0.25) = 56.4.
        FogCase{FOG_EXP2, 1.0f, 1e6f, 0.01f, 50.0f, 56}, FogCase{FOG_EXP2, 1.0f, 1e6f, 0.01f, -5.0f, 0},
        // Unknown modes fog nothing.
        FogCase{5, 0.0f, 1.0f, 1.0f, 100.0f, 0}));

}  // namespace
