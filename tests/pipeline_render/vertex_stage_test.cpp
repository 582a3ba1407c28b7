// The vertex stage: eye-space positions, w, clip codes, texture coordinates
// and the vertex cache.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <map>
#include <vector>

#include "pipeline/lighting.h"
#include "pipeline/render.h"
#include "pipeline/render_stages.h"
#include "pipeline_support/hand_context.h"
#include "raster/raster.h"

namespace {

// A point model over the given vertices, one point per index.
struct Points {
  std::vector<float> vertices;
  std::vector<uint32_t> indices;
  ModelPacket packet{};
  Points(std::vector<float> xyz, std::vector<uint32_t> order) : vertices(std::move(xyz)), indices(std::move(order)) {
    packet.type = MODEL_POINTS;
    packet.primitiveCount = static_cast<uint32_t>(indices.size());
    packet.vertexCount = static_cast<uint32_t>(vertices.size() / 3);
    packet.vertices = vertices.data();
    packet.vertexIndices = indices.data();
  }
};

// Transforms the first `count` points of the model as one batch.
void transformPoints(RukContext* c, const Points& points, uint32_t flags = 0) {
  c->batchCount = points.packet.primitiveCount;
  for (uint32_t i = 0; i < c->batchCount; ++i) c->batch[i].primitiveIndex = i;
  transformBatch(c, 1, &points.packet, flags);
}

TEST(VertexStage, EachCoordinateIsRoundedOnceFromDoubleSums) {
  HandContext hand;
  RukContext* c = hand.context;
  // Row by row in single precision 1 + 2^-24 + 2^-24 would stay 1; summed in
  // double precision it is 1 + 2^-23, a float.
  Matrix4& m = c->modelStack[++c->modelDepth];
  matrixIdentity(&m);
  m.m[4] = std::ldexp(1.0f, -24);
  m.m[8] = std::ldexp(1.0f, -24);
  m.m[14] = -5.0f;
  m.hints = 0;
  Points points({1.0f, 1.0f, 1.0f}, {0});
  resetVertexCache(c);
  transformPoints(c, points);
  const BatchVertex& v = c->batch[0].corners[0];
  EXPECT_EQ(v.x, 1.0f + std::ldexp(1.0f, -23));
  EXPECT_EQ(v.y, 1.0f);
  // Depth is the negated z: 1 - 5 = -4 in front of the eye is 4.
  EXPECT_EQ(v.z, 4.0f);
  EXPECT_EQ(v.w, 0.25f);
  EXPECT_EQ(v.clipCode, 0u);
  EXPECT_EQ(c->batch[0].clipOr, 0u);
  EXPECT_EQ(c->batch[0].clipAnd, 0u);
}

TEST(VertexStage, VertexAtTheEyeGetsTheHugeWAndIsNearClipped) {
  HandContext hand;
  RukContext* c = hand.context;
  Points points({0.0f, 0.0f, 0.0f}, {0});
  resetVertexCache(c);
  transformPoints(c, points);
  const BatchVertex& v = c->batch[0].corners[0];
  EXPECT_EQ(v.z, 0.0f);
  EXPECT_EQ(std::bit_cast<uint32_t>(v.w), 0x58635FA9u);
  EXPECT_EQ(v.clipCode, CLIP_NEAR);
}

TEST(VertexStage, OrthographicProjectionKeepsWAtOne) {
  HandContext hand;
  RukContext* c = hand.context;
  c->perspective = 0;
  c->xLimit = c->yLimit = 2.0f;
  Points points({0.5f, 3.0f, -5.0f, 0.0f, 0.0f, 0.0f}, {0, 1});
  resetVertexCache(c);
  transformPoints(c, points);
  EXPECT_EQ(c->batch[0].corners[0].w, 1.0f);
  EXPECT_EQ(c->batch[0].corners[0].clipCode, CLIP_TOP);
  EXPECT_EQ(c->batch[1].corners[0].w, 1.0f);
}

TEST(VertexStage, ClipCodesFoldIntoTheEntry) {
  HandContext hand;
  RukContext* c = hand.context;
  // yLimit = xLimit = tan(pi/8) = 0.414; near 1, far 1000.
  std::vector<float> xyz = {0, 0, -5, 0, 10, -5, 0, -10, -5, -10, 0, -5, 10, 0, -5, 0, 0, -2000, 0, 0, 5};
  Points points(xyz, {});
  ModelPacket& p = points.packet;
  p.type = MODEL_LINES;
  std::vector<uint32_t> lines = {0, 1, 1, 4, 2, 3, 5, 6};
  p.vertexIndices = lines.data();
  p.primitiveCount = 4;
  c->batchCount = 4;
  for (uint32_t i = 0; i < 4; ++i) c->batch[i].primitiveIndex = i;
  resetVertexCache(c);
  transformBatch(c, 2, &p, 0);
  EXPECT_EQ(c->batch[0].corners[1].clipCode, CLIP_TOP);
  EXPECT_EQ(c->batch[0].clipOr, CLIP_TOP);
  EXPECT_EQ(c->batch[0].clipAnd, 0u);
  EXPECT_EQ(c->batch[1].corners[1].clipCode, CLIP_RIGHT);
  EXPECT_EQ(c->batch[1].clipOr, CLIP_TOP | CLIP_RIGHT);
  EXPECT_EQ(c->batch[2].corners[0].clipCode, CLIP_BOTTOM);
  EXPECT_EQ(c->batch[2].corners[1].clipCode, CLIP_LEFT);
  EXPECT_EQ(c->batch[3].corners[0].clipCode, CLIP_FAR);
  EXPECT_EQ(c->batch[3].corners[1].clipCode, CLIP_NEAR);
  EXPECT_EQ(c->batch[3].clipAnd, 0u);
  EXPECT_EQ(c->batch[3].clipOr, CLIP_FAR | CLIP_NEAR);
}

struct TextureCase {
  const char* name;
  float m0, m1, m4, m5, m12;
  uint32_t hints;
  float u, v;
};

class TextureMatrix : public ::testing::TestWithParam<TextureCase> {};

TEST_P(TextureMatrix, AppliesOnlyTheTwoByTwoBlock) {
  HandContext hand;
  RukContext* c = hand.context;
  const TextureCase& t = GetParam();
  Matrix4& m = c->textureMatrix;
  matrixIdentity(&m);
  m.m[0] = t.m0;
  m.m[1] = t.m1;
  m.m[4] = t.m4;
  m.m[5] = t.m5;
  m.m[12] = t.m12;
  m.hints = t.hints;
  std::vector<float> xyz = {0, 0, -5, 1, 0, -5, 0, 1, -5};
  std::vector<uint32_t> corners = {0, 1, 2};
  std::vector<float> st = {0.0f, 0.0f, 0.25f, 0.5f};
  std::vector<uint32_t> stIndex = {0, 1, 0};
  ModelPacket p{};
  p.type = MODEL_TRIANGLES;
  p.primitiveCount = 1;
  p.vertexCount = 3;
  p.vertices = xyz.data();
  p.vertexIndices = corners.data();
  p.texCoordBinding = 1;
  p.texCoords = st.data();
  p.texCoordIndices = stIndex.data();
  c->batchCount = 1;
  c->batch[0].primitiveIndex = 0;
  resetVertexCache(c);
  transformBatch(c, 3, &p, RF_TEXTURE);
  EXPECT_EQ(c->batch[0].corners[1].u, t.u) << t.name;
  EXPECT_EQ(c->batch[0].corners[1].v, t.v) << t.name;
  EXPECT_EQ(c->batch[0].corners[2].u, 0.0f) << t.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, TextureMatrix,
                         ::testing::Values(TextureCase{"identity claimed", 1, 0, 0, 1, 0, MATRIX_ALL_CLAIMS, 0.25f,
                                                       0.5f},
                                           TextureCase{"translation only", 1, 0, 0, 1, 7, 0, 0.25f, 0.5f},
                                           TextureCase{"swap and scale", 0, 2, 4, 0, 7, 0, 2.0f, 0.5f}));

// A vertex position and its lit colours, as a render call leaves them in a
// batch corner.
struct CornerResult {
  float x, y, z, w;
  uint32_t clipCode, color, specular;
  bool operator==(const CornerResult&) const = default;
};

std::vector<CornerResult> collected;

bool collectLitCorners(RukContext* c, const ModelPacket* p, uint32_t flags) {
  transformBatch(c, 1, p, flags);
  lightBatchSmooth(c, 1, p, flags);
  for (uint32_t e = 0; e < c->batchCount; ++e) {
    const BatchVertex& v = c->batch[e].corners[0];
    collected.push_back({v.x, v.y, v.z, v.w, v.clipCode, v.color, v.specular});
  }
  return true;
}

// Runs a whole point model through the vertex stage and smooth lighting.
std::vector<CornerResult> renderCorners(RukContext* c, const Points& points) {
  collected.clear();
  resetVertexCache(c);
  walkPrimitives(c, &points.packet, RF_SMOOTH, collectLitCorners);
  return collected;
}

class CacheCollision : public ::testing::TestWithParam<std::vector<uint32_t>> {};

// Vertices 5, 1029 and 2053 share a cache slot. Vertices 5 and 1029 lie in
// view, at different distances from a point light; 2053 lies behind the eye
// and is never lit. Whatever the order and however the batches fall, every
// corner carries what its own vertex gives when rendered alone.
TEST_P(CacheCollision, SharedSlotGivesTheUncachedResult) {
  HandContext hand;
  RukContext* c = hand.context;
  const float lightAt[3] = {0.0f, 0.0f, -4.0f};
  pushPointLight(c, 0xFFFFFF, 0, lightAt, 1000.0f, 0, 0, 1);
  setMaterial(c, 0, 0, 0xFFFFFF, 0, 0.0f, 255);
  updateModelSpaceLighting(c);
  std::vector<float> xyz(3 * 2054, 0.0f);
  const auto place = [&](uint32_t v, float x, float z) {
    xyz[3 * v] = x;
    xyz[3 * v + 2] = z;
  };
  place(5, 0.5f, -5.0f);
  place(1029, -1.0f, -8.0f);
  place(2053, 2.0f, 3.0f);

  std::map<uint32_t, CornerResult> alone;
  for (uint32_t v : {5u, 1029u, 2053u}) alone[v] = renderCorners(c, Points(xyz, {v}))[0];
  ASSERT_NE(alone[5].color, alone[1029].color);
  ASSERT_EQ(alone[5].clipCode, 0u);
  ASSERT_EQ(alone[1029].clipCode, 0u);
  ASSERT_EQ(alone[2053].clipCode, CLIP_NEAR);

  const std::vector<uint32_t>& order = GetParam();
  const std::vector<CornerResult> corners = renderCorners(c, Points(xyz, order));
  ASSERT_EQ(corners.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    CornerResult expected = alone[order[i]];
    if (expected.clipCode != 0) {
      // Lighting skips what lies wholly outside: only the position counts.
      expected.color = corners[i].color;
      expected.specular = corners[i].specular;
    }
    ASSERT_EQ(corners[i], expected) << "corner " << i << " vertex " << order[i];
  }
}

std::vector<uint32_t> sequence(uint32_t count, uint32_t first, uint32_t other, uint32_t period) {
  std::vector<uint32_t> order(count);
  for (uint32_t i = 0; i < count; ++i) order[i] = (i / period) % 2 == 0 ? first : other;
  return order;
}

INSTANTIATE_TEST_SUITE_P(Orders, CacheCollision,
                         ::testing::Values(std::vector<uint32_t>{5, 1029, 5, 1029, 5}, sequence(129, 5, 1029, 1),
                                           sequence(129, 1029, 5, 1), sequence(129, 5, 1029, 128),
                                           sequence(129, 1029, 5, 128), sequence(300, 5, 1029, 3),
                                           // The last corner of the first batch lies outside and is
                                           // not lit; the first corner of the second batch finds
                                           // the slot as the lit corner before it left it.
                                           sequence(129, 5, 2053, 1), sequence(129, 1029, 2053, 1),
                                           std::vector<uint32_t>{5, 2053, 1029, 2053, 5}));

TEST(VertexCache, SharedVertexIsTransformedOnce) {
  HandContext hand;
  RukContext* c = hand.context;
  Points points({0.0f, 0.0f, -5.0f}, {0, 0});
  resetVertexCache(c);
  c->batchCount = 1;
  c->batch[0].primitiveIndex = 0;
  transformBatch(c, 1, &points.packet, 0);
  // Moving the vertex afterwards does not show: the second use is served
  // from the cache within the call.
  points.vertices[2] = -50.0f;
  c->batch[0].primitiveIndex = 1;
  transformBatch(c, 1, &points.packet, 0);
  EXPECT_EQ(c->batch[0].corners[0].z, 5.0f);
  EXPECT_EQ(c->vertexCache[0].tag, 0u);
}

}  // namespace
