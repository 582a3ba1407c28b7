// Back-face selection and the walk that fills and drains the batch.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "pipeline/render_stages.h"
#include "pipeline_support/hand_context.h"

namespace {

struct Batch {
  std::vector<uint32_t> primitives;
  std::vector<uint32_t> facings;
};
std::vector<Batch> seen;

bool recordBatch(RukContext* c, const ModelPacket*, uint32_t) {
  Batch batch;
  for (uint32_t e = 0; e < c->batchCount; ++e) {
    batch.primitives.push_back(c->batch[e].primitiveIndex);
    batch.facings.push_back(c->batch[e].facing);
  }
  seen.push_back(batch);
  return true;
}

bool failSecondBatch(RukContext* c, const ModelPacket* p, uint32_t f) {
  recordBatch(c, p, f);
  return seen.size() < 2;
}

std::vector<size_t> batchSizes(RukContext* c, uint32_t type, uint32_t primitiveCount) {
  std::vector<float> vertices = {0, 0, -5};
  std::vector<uint32_t> indices(3 * size_t{primitiveCount}, 0);
  ModelPacket p{};
  p.type = type;
  p.primitiveCount = primitiveCount;
  p.vertexCount = 1;
  p.vertices = vertices.data();
  p.vertexIndices = indices.data();
  seen.clear();
  EXPECT_TRUE(walkPrimitives(c, &p, 0, recordBatch));
  EXPECT_EQ(c->batchCount, 0u);
  std::vector<size_t> sizes;
  for (const Batch& b : seen) sizes.push_back(b.primitives.size());
  return sizes;
}

TEST(Batching, FullBatchesThenTheLastOneEvenWhenEmpty) {
  HandContext hand;
  for (uint32_t type : {MODEL_POINTS, MODEL_LINES, MODEL_TRIANGLES}) {
    EXPECT_EQ(batchSizes(hand.context, type, 0), (std::vector<size_t>{0}));
    EXPECT_EQ(batchSizes(hand.context, type, 1), (std::vector<size_t>{1}));
    EXPECT_EQ(batchSizes(hand.context, type, 128), (std::vector<size_t>{128, 0}));
    EXPECT_EQ(batchSizes(hand.context, type, 129), (std::vector<size_t>{128, 1}));
    EXPECT_EQ(batchSizes(hand.context, type, 300), (std::vector<size_t>{128, 128, 44}));
  }
  EXPECT_EQ(seen[1].primitives.front(), 128u);
  EXPECT_EQ(seen[2].primitives.back(), 299u);
}

TEST(Batching, AFailingBatchEndsTheWalkAtOnce) {
  HandContext hand;
  std::vector<float> vertices = {0, 0, -5};
  std::vector<uint32_t> indices(1000, 0);
  ModelPacket p{};
  p.type = MODEL_POINTS;
  p.primitiveCount = 1000;
  p.vertexCount = 1;
  p.vertices = vertices.data();
  p.vertexIndices = indices.data();
  seen.clear();
  EXPECT_FALSE(walkPrimitives(hand.context, &p, 0, failSecondBatch));
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(hand.context->batchCount, 0u);
}

// Four triangles seen from the origin: 0 faces the eye, 1 faces away, 2 has
// its first corner in its own plane as seen from the eye, 3 has a normal
// that is not a number.
struct Triangles {
  std::vector<float> vertices = {0, 0, -5, 1, 0, -5, 0, 1, -5, 0, 0, 0};
  std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 1, 0, 1, 3, 0, 1, 2};
  std::vector<float> faceNormals = {0, 0, 1, 0, 0, -1, 0, 1, 0, NAN, 0, 1};
  ModelPacket packet{};
  Triangles() {
    packet.type = MODEL_TRIANGLES;
    packet.primitiveCount = 4;
    packet.vertexCount = 4;
    packet.normalBinding = BINDING_PER_PRIMITIVE;
    packet.vertices = vertices.data();
    packet.vertexIndices = indices.data();
    packet.faceNormals = faceNormals.data();
  }
};

TEST(BackFacing, InPlaneCountsAsBackAndNotANumberAsFront) {
  Triangles t;
  const float eye[3] = {0, 0, 0};
  EXPECT_FALSE(isBackFacing(&t.packet, eye, 0));
  EXPECT_TRUE(isBackFacing(&t.packet, eye, 1));
  EXPECT_TRUE(isBackFacing(&t.packet, eye, 2));
  EXPECT_FALSE(isBackFacing(&t.packet, eye, 3));
  t.packet.faceNormals = nullptr;
  for (uint32_t i = 0; i < 4; ++i) EXPECT_FALSE(isBackFacing(&t.packet, eye, i));
}

TEST(BackFacing, FormsTheProductsInDoublePrecision) {
  std::vector<float> vertices = {1.0f, 1.0f + std::ldexp(1.0f, -23), 0.0f};
  std::vector<uint32_t> indices = {0, 0, 0};
  std::vector<float> normal = {-1.0f, 1.0f - std::ldexp(1.0f, -23), 0.0f};
  ModelPacket p{};
  p.type = MODEL_TRIANGLES;
  p.primitiveCount = 1;
  p.vertices = vertices.data();
  p.vertexIndices = indices.data();
  p.faceNormals = normal.data();
  const float eye[3] = {0, 0, 0};
  // Exactly: -1 + (1 - 2^-46) = -2^-46 < 0, front facing. Rounded to single
  // precision the second product is 1 and the sum 0: back facing.
  EXPECT_FALSE(isBackFacing(&p, eye, 0));
}

struct CullCase {
  uint32_t cullBack, twoSided;
  std::vector<uint32_t> primitives, facings;
};

class Culling : public ::testing::TestWithParam<CullCase> {};

TEST_P(Culling, BackFacesAreDroppedOrMarked) {
  HandContext hand;
  RukContext* c = hand.context;
  c->attributes[ATTR_CULL_BACK] = GetParam().cullBack;
  c->attributes[ATTR_TWO_SIDED] = GetParam().twoSided;
  c->eyeInModel[0] = c->eyeInModel[1] = c->eyeInModel[2] = 0.0f;
  Triangles t;
  seen.clear();
  ASSERT_TRUE(walkPrimitives(c, &t.packet, 0, recordBatch));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].primitives, GetParam().primitives);
  EXPECT_EQ(seen[0].facings, GetParam().facings);
}

INSTANTIATE_TEST_SUITE_P(Attributes, Culling,
                         ::testing::Values(CullCase{1, 0, {0, 3}, {0, 0}}, CullCase{1, 1, {0, 3}, {0, 0}},
                                           CullCase{0, 0, {0, 1, 2, 3}, {0, 1, 1, 0}},
                                           CullCase{0, 1, {0, 1, 2, 3}, {0, 3, 3, 0}}));

TEST(Culling, PointsAndLinesAreNeverCulled) {
  HandContext hand;
  Triangles t;
  t.packet.type = MODEL_LINES;
  t.packet.primitiveCount = 6;
  seen.clear();
  ASSERT_TRUE(walkPrimitives(hand.context, &t.packet, 0, recordBatch));
  EXPECT_EQ(seen[0].facings, (std::vector<uint32_t>(6, 0)));
}

}  // namespace
