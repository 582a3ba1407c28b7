// The feature mask of a render call, packet validation, and the failures a
// render call reports before drawing anything.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pipeline/render.h"
#include "pipeline_support/hand_context.h"
#include "raster/raster.h"

namespace {

struct FlagsCase {
  const char* name;
  uint32_t bufferFlags;
  std::vector<std::pair<uint32_t, uint32_t>> attributes;
  uint32_t specular;
  uint32_t modelType;
  bool textureBound;
  bool texCoords;
  uint32_t flags;
};

class PipelineFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(PipelineFlags, FollowAttributesBuffersMaterialAndTexture) {
  HandContext hand;
  RukContext* c = hand.context;
  const FlagsCase& f = GetParam();
  c->bufferFlags = f.bufferFlags;
  for (const auto& [id, value] : f.attributes) c->attributes[id] = value;
  c->material.specular = f.specular;
  uint32_t texel = 0xFFFFFFFF;
  c->boundTexture.texels = f.textureBound ? &texel : nullptr;
  float st[2] = {0, 0};
  uint32_t stIndex[3] = {0, 0, 0};
  ModelPacket packet{};
  packet.type = f.modelType;
  if (f.texCoords) {
    packet.texCoordBinding = 1;
    packet.texCoords = st;
    packet.texCoordIndices = stIndex;
  }
  EXPECT_EQ(computePipelineFlags(c, &packet), f.flags) << f.name;
}

constexpr uint32_t kDepth = RF_DEPTH_TEST | RF_DEPTH_WRITE;

INSTANTIATE_TEST_SUITE_P(
    Cases, PipelineFlags,
    ::testing::Values(
        FlagsCase{"defaults without depth buffer", 1, {}, 0, MODEL_TRIANGLES, false, false, RF_SMOOTH | RF_BLEND},
        FlagsCase{"defaults with depth buffer", 3, {}, 0, MODEL_TRIANGLES, false, false, kDepth | RF_SMOOTH | RF_BLEND},
        FlagsCase{"depth test off",
                  3,
                  {{ATTR_DEPTH_TEST, 0}},
                  0,
                  MODEL_POINTS,
                  false,
                  false,
                  RF_DEPTH_WRITE | RF_SMOOTH | RF_BLEND},
        FlagsCase{"flat shade mode 2, no blend",
                  2,
                  {{ATTR_SHADE_MODE, 2}, {ATTR_BLEND, 0}},
                  0,
                  MODEL_LINES,
                  false,
                  false,
                  kDepth},
        FlagsCase{"specular and fog",
                  0,
                  {{ATTR_FOG_MODE, 3}},
                  0x000100,
                  MODEL_LINES,
                  false,
                  false,
                  RF_SMOOTH | RF_BLEND | RF_SPECULAR | RF_FOG},
        FlagsCase{"textured triangles",
                  0,
                  {},
                  0x010000,
                  MODEL_TRIANGLES,
                  true,
                  true,
                  RF_SMOOTH | RF_BLEND | RF_SPECULAR | RF_TEXTURE},
        FlagsCase{"texture replacing colour",
                  0,
                  {{ATTR_TEXTURE_BLEND, 0}},
                  0x010000,
                  MODEL_TRIANGLES,
                  true,
                  true,
                  RF_BLEND | RF_TEXTURE},
        FlagsCase{
            "no texture for lines", 0, {{ATTR_TEXTURE_BLEND, 0}}, 0, MODEL_LINES, true, true, RF_SMOOTH | RF_BLEND},
        FlagsCase{
            "no texture bound", 0, {{ATTR_TEXTURE_BLEND, 0}}, 0, MODEL_TRIANGLES, false, true, RF_SMOOTH | RF_BLEND},
        FlagsCase{"texturing off", 0, {{ATTR_TEXTURE, 0}}, 0, MODEL_TRIANGLES, true, true, RF_SMOOTH | RF_BLEND},
        FlagsCase{"no texture coordinates", 0, {}, 0, MODEL_TRIANGLES, true, false, RF_SMOOTH | RF_BLEND}));

// A packet of two triangles over four vertices, with per-corner normals and
// texture coordinates.
struct Packet {
  std::vector<float> vertices = std::vector<float>(12, 0.0f);
  std::vector<uint32_t> indices = {0, 1, 2, 2, 1, 3};
  std::vector<float> normals = std::vector<float>(6, 0.0f);
  std::vector<uint32_t> normalIndices = {0, 1, 0, 1, 0, 1};
  std::vector<float> texCoords = std::vector<float>(6, 0.0f);
  std::vector<uint32_t> texCoordIndices = {0, 1, 2, 0, 1, 2};
  ModelPacket packet{};
  Packet() {
    packet.type = MODEL_TRIANGLES;
    packet.normalBinding = BINDING_PER_CORNER;
    packet.texCoordBinding = 1;
    packet.primitiveCount = 2;
    packet.vertexCount = 4;
    packet.normalCount = 2;
    packet.texCoordCount = 3;
    packet.vertices = vertices.data();
    packet.normals = normals.data();
    packet.texCoords = texCoords.data();
    packet.vertexIndices = indices.data();
    packet.normalIndices = normalIndices.data();
    packet.texCoordIndices = texCoordIndices.data();
  }
};

TEST(ValidatePacket, AcceptsIndicesWithinTheCounts) {
  Packet p;
  EXPECT_EQ(validateModelPacket(&p.packet), RUK_OK);
}

TEST(ValidatePacket, RejectsAnyIndexAtOrPastItsCount) {
  {
    Packet p;
    p.indices[5] = 4;
    EXPECT_EQ(validateModelPacket(&p.packet), RUK_ERR_BAD_ARGUMENT);
  }
  {
    Packet p;
    p.normalIndices[3] = 2;
    EXPECT_EQ(validateModelPacket(&p.packet), RUK_ERR_BAD_ARGUMENT);
  }
  {
    Packet p;
    p.texCoordIndices[0] = 0xFFFFFFFF;
    EXPECT_EQ(validateModelPacket(&p.packet), RUK_ERR_BAD_ARGUMENT);
  }
  {
    Packet p;
    p.packet.vertexIndices = nullptr;
    EXPECT_EQ(validateModelPacket(&p.packet), RUK_ERR_BAD_ARGUMENT);
  }
}

TEST(ValidatePacket, IgnoresIndicesOfArraysThatAreNotRead) {
  Packet p;
  p.normalIndices[3] = 99;
  p.texCoordIndices[3] = 99;
  p.packet.normalBinding = BINDING_PER_PRIMITIVE;
  p.packet.texCoordBinding = 0;
  EXPECT_EQ(validateModelPacket(&p.packet), RUK_OK);
  // Lines never read texture coordinates: two lines of three corners' worth.
  p.packet.type = MODEL_LINES;
  p.packet.texCoordBinding = 1;
  p.packet.primitiveCount = 3;
  EXPECT_EQ(validateModelPacket(&p.packet), RUK_OK);
  // Nothing to draw, nothing to check.
  p.packet.primitiveCount = 0;
  p.packet.vertexIndices = nullptr;
  EXPECT_EQ(validateModelPacket(&p.packet), RUK_OK);
}

TEST(RenderModel, BadModelTypeIsRecordedAndReturns500) {
  HandContext hand;
  Packet p;
  p.packet.type = 3;
  EXPECT_EQ(renderModel(hand.context, &p.packet), RUK_ERR_BAD_MODEL_TYPE);
  EXPECT_STREQ(hand.context->errorMessage, "Bad model type");
  EXPECT_EQ(hand.context->batchCount, 0u);
}

TEST(RenderModel, OutOfRangeIndexReturns7BeforeAnythingIsTransformed) {
  HandContext hand;
  std::memset(hand.context->errorMessage, 0, ERROR_MESSAGE_SIZE);
  Packet p;
  p.indices[4] = 4;
  // The context has no rasterizer: reaching any stage would crash.
  EXPECT_EQ(renderModel(hand.context, &p.packet), RUK_ERR_BAD_ARGUMENT);
  EXPECT_STRNE(hand.context->errorMessage, "");
  EXPECT_EQ(hand.context->batchCount, 0u);
  for (const VertexCacheEntry& slot : hand.context->vertexCache) ASSERT_EQ(slot.tag, VERTEX_CACHE_EMPTY);
}

}  // namespace
