// Model records: creation, bounds, face normals and handing normals back.
#include <gtest/gtest.h>

#include <vector>

#include "model/model.h"

namespace {

struct ModelDeleter {
  void operator()(RukModel* model) const { destroyModel(model); }
};
using ModelPtr = std::unique_ptr<RukModel, ModelDeleter>;

ModelPtr triangles(uint32_t primitiveCount, const std::vector<float>& vertices, int32_t javaNormalBinding = 0,
                   uint32_t normalCount = 0) {
  return ModelPtr(createModel(0, primitiveCount, static_cast<uint32_t>(vertices.size() / 3), javaNormalBinding,
                              normalCount, 0, 0, 0, vertices.data()));
}

struct KindCase {
  int32_t javaKind;
  uint32_t type;
};
class ModelKinds : public testing::TestWithParam<KindCase> {};

TEST_P(ModelKinds, JavaKindSelectsTheType) {
  const float vertex[3] = {0, 0, 0};
  ModelPtr model(createModel(GetParam().javaKind, 1, 1, 0, 0, 0, 0, 0, vertex));
  EXPECT_EQ(model->type, GetParam().type);
}
INSTANTIATE_TEST_SUITE_P(All, ModelKinds,
                         testing::Values(KindCase{0, MODEL_TRIANGLES}, KindCase{1, MODEL_LINES},
                                         KindCase{2, MODEL_POINTS}, KindCase{-1, MODEL_POINTS}));

TEST(ModelCreate, BindingsAndCounts) {
  const float vertex[3] = {0, 0, 0};
  ModelPtr perCorner(createModel(0, 4, 1, 2, 9, 2, 2, 12, vertex));
  EXPECT_EQ(perCorner->primitiveCount, 4u);
  EXPECT_EQ(perCorner->vertexCount, 1u);
  EXPECT_EQ(perCorner->normalBinding, BINDING_PER_CORNER);
  EXPECT_EQ(perCorner->normalCount, 9u);
  EXPECT_EQ(perCorner->colorBinding, 2u);
  EXPECT_EQ(perCorner->texCoordBinding, 1u);
  EXPECT_EQ(perCorner->texCoordCount, 12u);
  EXPECT_EQ(perCorner->vertices, nullptr) << "no Java array is kept across calls";

  ModelPtr plain(createModel(0, 4, 1, 1, 9, 3, 1, 12, vertex));
  EXPECT_EQ(plain->normalBinding, BINDING_NONE);
  EXPECT_EQ(plain->normalCount, 0u);
  EXPECT_EQ(plain->colorBinding, 0u);
  EXPECT_EQ(plain->texCoordBinding, 0u);
  EXPECT_EQ(plain->texCoordCount, 0u);
  EXPECT_EQ(plain->normals, nullptr);
  EXPECT_EQ(plain->normalIndices, nullptr);

  ModelPtr perPrimitive(createModel(1, 4, 1, 0, 0, 1, 0, 0, vertex));
  EXPECT_EQ(perPrimitive->colorBinding, 1u);
}

TEST(ModelCreate, BoundsAreCentreAndHalfExtents) {
  ModelPtr model = triangles(1, {1, 2, 3, -1, 5, 0, 3, -2, 1});
  EXPECT_EQ(model->boundsCentre[0], 1.0f);
  EXPECT_EQ(model->boundsCentre[1], 1.5f);
  EXPECT_EQ(model->boundsCentre[2], 1.5f);
  EXPECT_EQ(model->boundsHalf[0], 2.0f);
  EXPECT_EQ(model->boundsHalf[1], 3.5f);
  EXPECT_EQ(model->boundsHalf[2], 1.5f);
}

TEST(ModelCreate, NoVerticesGiveAZeroBox) {
  ModelPtr model(createModel(0, 0, 0, 0, 0, 0, 0, 0, nullptr));
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_EQ(model->boundsCentre[axis], 0.0f);
    EXPECT_EQ(model->boundsHalf[axis], 0.0f);
  }
}

struct FaceCase {
  std::vector<float> vertices;
  float normal[3];
};
class FaceNormals : public testing::TestWithParam<FaceCase> {};

TEST_P(FaceNormals, UnitNormalOfCounterClockwiseCorners) {
  const FaceCase& f = GetParam();
  ModelPtr model = triangles(1, f.vertices);
  const uint32_t indices[3] = {0, 1, 2};
  float out[3] = {9, 9, 9};
  ASSERT_TRUE(generateFaceNormals(model.get(), f.vertices.data(), indices, out));
  EXPECT_EQ(out[0], f.normal[0]);
  EXPECT_EQ(out[1], f.normal[1]);
  EXPECT_EQ(out[2], f.normal[2]);
  EXPECT_EQ(model->normalBinding, BINDING_PER_PRIMITIVE);
}
INSTANTIATE_TEST_SUITE_P(All, FaceNormals,
                         testing::Values(FaceCase{{0, 0, 0, 1, 0, 0, 0, 1, 0},
                                                  {0, 0, 1}},  // counter-clockwise seen from +z
                                         FaceCase{{0, 0, 0, 0, 1, 0, 1, 0, 0}, {0, 0, -1}},  // clockwise
                                         FaceCase{{0, 0, 0, 1, 0, 0, 1, 4, -3}, {0, 0.6f, 0.8f}},
                                         FaceCase{{0, 0, 0, 1, 1, 1, 2, 2, 2}, {1, 0, 0}},    // zero area
                                         FaceCase{{5, 5, 5, 5, 5, 5, 5, 5, 5}, {1, 0, 0}}));  // one point

TEST(FaceNormals, PerCornerBindingIsKept) {
  const std::vector<float> v = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  ModelPtr model = triangles(1, v, 2, 3);
  const uint32_t indices[3] = {0, 1, 2};
  float out[3];
  ASSERT_TRUE(generateFaceNormals(model.get(), v.data(), indices, out));
  EXPECT_EQ(model->normalBinding, BINDING_PER_CORNER);
}

TEST(FaceNormals, OtherKindsOnlyTakeFaceBinding) {
  const float v[6] = {0, 0, 0, 1, 1, 1};
  ModelPtr lines(createModel(1, 1, 2, 0, 0, 0, 0, 0, v));
  const uint32_t indices[2] = {0, 1};
  float out[3] = {9, 9, 9};
  ASSERT_TRUE(generateFaceNormals(lines.get(), v, indices, out));
  EXPECT_EQ(out[0], 9.0f);
  EXPECT_EQ(lines->normalBinding, BINDING_PER_PRIMITIVE);
}

TEST(FaceNormals, AnIndexPastTheVerticesIsRefusedUnwritten) {
  const std::vector<float> v = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  ModelPtr model = triangles(2, v);
  const uint32_t indices[6] = {0, 1, 2, 0, 3, 1};
  float out[6] = {9, 9, 9, 9, 9, 9};
  EXPECT_FALSE(generateFaceNormals(model.get(), v.data(), indices, out));
  for (float value : out) EXPECT_EQ(value, 9.0f);
  EXPECT_EQ(model->normalBinding, BINDING_NONE);
}

TEST(FaceNormals, OutputSharingTheVertexArrayReadsTheOriginalVertices) {
  // Both triangles are the same; writing the first normal over vertex 0
  // must not change what the second one reads.
  std::vector<float> v = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  ModelPtr model = triangles(2, v);
  const uint32_t indices[6] = {0, 1, 2, 0, 1, 2};
  std::vector<float> shared = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  ASSERT_TRUE(generateFaceNormals(model.get(), shared.data(), indices, shared.data()));
  const float expected[6] = {0, 0, 1, 0, 0, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(shared[i], expected[i]) << i;
}

}  // namespace
