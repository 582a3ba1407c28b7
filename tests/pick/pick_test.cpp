// Ray picking against triangle models, with hand-worked hits.
#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "context/context.h"
#include "pipeline/pick.h"

namespace {

// A triangle model built from plain arrays; bounds are the vertices' box
// unless a test overrides them.
struct TestModel {
  std::vector<float> vertices;
  std::vector<uint32_t> indices;
  std::vector<float> faceNormals;
  std::vector<float> texCoords;
  std::vector<uint32_t> texCoordIndices;
  ModelPacket packet{};

  const ModelPacket* build() {
    packet.type = MODEL_TRIANGLES;
    packet.normalBinding = BINDING_PER_PRIMITIVE;
    packet.primitiveCount = static_cast<uint32_t>(indices.size() / 3);
    packet.vertexCount = static_cast<uint32_t>(vertices.size() / 3);
    packet.vertices = vertices.data();
    packet.vertexIndices = indices.data();
    packet.faceNormals = faceNormals.empty() ? nullptr : faceNormals.data();
    if (!texCoords.empty()) {
      packet.texCoordBinding = 1;
      packet.texCoordCount = static_cast<uint32_t>(texCoords.size() / 2);
      packet.texCoords = texCoords.data();
      packet.texCoordIndices = texCoordIndices.data();
    }
    if (packet.boundsHalf[0] == 0 && packet.boundsHalf[1] == 0 && packet.boundsHalf[2] == 0) {
      for (int a = 0; a < 3; ++a) {
        float lo = vertices[a], hi = vertices[a];
        for (size_t i = a; i < vertices.size(); i += 3) {
          lo = std::min(lo, vertices[i]);
          hi = std::max(hi, vertices[i]);
        }
        packet.boundsCentre[a] = (lo + hi) / 2;
        packet.boundsHalf[a] = (hi - lo) / 2;
      }
    }
    return &packet;
  }

  // A triangle facing +z at height z.
  void addFlatTriangle(float ax, float ay, float bx, float by, float cx, float cy, float z) {
    const uint32_t base = static_cast<uint32_t>(vertices.size() / 3);
    vertices.insert(vertices.end(), {ax, ay, z, bx, by, z, cx, cy, z});
    indices.insert(indices.end(), {base, base + 1, base + 2});
    faceNormals.insert(faceNormals.end(), {0, 0, 1});
  }
};

class Pick : public ::testing::Test {
 protected:
  void SetUp() override { context = std::make_unique<RukContext>(); }

  // Picks along a ray; gives the hit count.
  uint32_t pick(const ModelPacket* packet, std::initializer_list<float> origin, std::initializer_list<float> direction,
                float maxDistance) {
    std::copy(origin.begin(), origin.end(), this->origin);
    std::copy(direction.begin(), direction.end(), this->direction);
    hit = RukHitRecord{};
    hit.distance = maxDistance;
    hit.request = PICK_POINT | PICK_NORMAL | PICK_TEXCOORDS;
    uint32_t count = 99;
    EXPECT_EQ(pickModel(context.get(), packet, this->origin, this->direction, &count, &hit), RUK_OK);
    return count;
  }

  std::unique_ptr<RukContext> context;
  float origin[3]{}, direction[3]{};
  RukHitRecord hit{};
};

TEST_F(Pick, HitsTheUnitTriangleFromTheFront) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  ASSERT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 100), 1u);
  EXPECT_FLOAT_EQ(hit.distance, 5);
  EXPECT_EQ(hit.primitive, 0u);
  EXPECT_FLOAT_EQ(hit.point[0], 0.25f);
  EXPECT_FLOAT_EQ(hit.point[1], 0.25f);
  EXPECT_FLOAT_EQ(hit.point[2], 0);
  EXPECT_FLOAT_EQ(hit.normal[2], 1);
  EXPECT_FLOAT_EQ(hit.u, 0);  // no texture coordinates
  EXPECT_FLOAT_EQ(hit.v, 0);
}

TEST_F(Pick, IgnoresTheBackSide) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, -5}, {0, 0, 1}, 100), 0u);
  EXPECT_FLOAT_EQ(hit.distance, 100);
}

TEST_F(Pick, MissesOutsideTheTriangle) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  EXPECT_EQ(pick(m.build(), {0.75f, 0.75f, 5}, {0, 0, -1}, 100), 0u);  // inside the box only
}

TEST_F(Pick, EdgeOnAndZeroDirectionsHitNothing) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  EXPECT_EQ(pick(m.build(), {-1, 0.25f, 0}, {1, 0, 0}, 100), 0u);
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, 0}, {0, 0, 0}, 100), 0u);
}

// The box test decides first: with bounds claiming the model lies 10 below
// the triangle, a ray whose maximum distance ends before the box finds
// nothing, though the triangle itself is within reach.
TEST_F(Pick, MaximumDistanceShorterThanTheBoxEndsThePick) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  m.packet.boundsCentre[0] = 0.5f;
  m.packet.boundsCentre[1] = 0.5f;
  m.packet.boundsCentre[2] = -10;
  m.packet.boundsHalf[0] = 0.5f;
  m.packet.boundsHalf[1] = 0.5f;
  m.packet.boundsHalf[2] = 1;
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 10), 0u);  // box at 14
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 14), 1u);
  EXPECT_FLOAT_EQ(hit.distance, 5);
}

TEST_F(Pick, MaximumDistanceShorterThanTheTriangle) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 4.5f), 0u);
}

// Two triangles stacked along the ray, in either order: the nearer wins.
TEST_F(Pick, ReportsTheNearestOfTwo) {
  TestModel below;
  below.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  below.addFlatTriangle(0, 0, 1, 0, 0, 1, 1);
  ASSERT_EQ(pick(below.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 100), 1u);
  EXPECT_EQ(hit.primitive, 1u);
  EXPECT_FLOAT_EQ(hit.distance, 4);
  EXPECT_FLOAT_EQ(hit.point[2], 1);

  TestModel above;
  above.addFlatTriangle(0, 0, 1, 0, 0, 1, 1);
  above.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  ASSERT_EQ(pick(above.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 100), 1u);
  EXPECT_EQ(hit.primitive, 0u);
  EXPECT_FLOAT_EQ(hit.distance, 4);
}

// The unit square split along its diagonal, hit exactly on the diagonal:
// only the triangle right of it (x > y) counts the point. Since the last of
// equally near hits would win, listing the other triangle second (and then
// first) shows it is not counted.
TEST_F(Pick, SharedEdgeIsCountedOnce) {
  for (bool rightFirst : {true, false}) {
    TestModel m;
    if (rightFirst) m.addFlatTriangle(0, 0, 1, 0, 1, 1, 0);
    m.addFlatTriangle(0, 0, 1, 1, 0, 1, 0);
    if (!rightFirst) m.addFlatTriangle(0, 0, 1, 0, 1, 1, 0);
    ASSERT_EQ(pick(m.build(), {0.5f, 0.5f, 3}, {0, 0, -1}, 100), 1u);
    EXPECT_EQ(hit.primitive, rightFirst ? 0u : 1u);
  }
}

TEST_F(Pick, OriginInsideTheBoxStillTestsTheTriangles) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, -1);
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 1);
  ASSERT_EQ(pick(m.build(), {0.25f, 0.25f, 0.5f}, {0, 0, -1}, 100), 1u);
  EXPECT_EQ(hit.primitive, 0u);
  EXPECT_FLOAT_EQ(hit.distance, 1.5f);
}

TEST_F(Pick, HitAtExactlyTheMaximumDistanceIsNotReported) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 5), 0u);
  EXPECT_FLOAT_EQ(hit.distance, 5);
}

// Corners A (0,0), B (1,0), C (0,1) carry (0.5, 0.5), (1, 0.5), (0.5, 1.5)
// through the index list; at (0.25, 0.25) the weights of B and C are 0.25.
TEST_F(Pick, InterpolatesTextureCoordinatesAtTheHit) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  m.texCoords = {1, 0.5f, 0.5f, 1.5f, 0.5f, 0.5f};
  m.texCoordIndices = {2, 0, 1};
  ASSERT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 100), 1u);
  EXPECT_FLOAT_EQ(hit.u, 0.625f);
  EXPECT_FLOAT_EQ(hit.v, 0.75f);
}

// Triangles facing +x and +y are tested in the (y, z) and (x, z) planes; in
// the (x, y) plane they would have no area and never be hit.
TEST_F(Pick, ProjectsAlongTheNormalsLargestAxis) {
  TestModel facingX;
  facingX.vertices = {0, 0, 0, 0, 1, 0, 0, 0, 1};
  facingX.indices = {0, 1, 2};
  facingX.faceNormals = {1, 0, 0};
  ASSERT_EQ(pick(facingX.build(), {5, 0.25f, 0.25f}, {-1, 0, 0}, 100), 1u);
  EXPECT_FLOAT_EQ(hit.distance, 5);
  EXPECT_EQ(pick(facingX.build(), {5, 0.75f, 0.75f}, {-1, 0, 0}, 100), 0u);

  TestModel facingY;
  facingY.vertices = {0, 0, 0, 0, 0, 1, 1, 0, 0};
  facingY.indices = {0, 1, 2};
  facingY.faceNormals = {0, 1, 0};
  ASSERT_EQ(pick(facingY.build(), {0.25f, 5, 0.25f}, {0, -1, 0}, 100), 1u);
  EXPECT_FLOAT_EQ(hit.point[1], 0);
}

TEST_F(Pick, ModelWithoutFaceNormalsHasNoHits) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  m.faceNormals.clear();
  EXPECT_EQ(pick(m.build(), {0.25f, 0.25f, 5}, {0, 0, -1}, 100), 0u);
}

TEST_F(Pick, PointAndLineModelsAreNotImplemented) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  ModelPacket packet = *m.build();
  const float o[3] = {0.25f, 0.25f, 5}, d[3] = {0, 0, -1};
  uint32_t count = 7;
  for (uint32_t type : {MODEL_POINTS, MODEL_LINES}) {
    packet.type = type;
    EXPECT_EQ(pickModel(context.get(), &packet, o, d, &count, &hit), RUK_ERR_NOT_IMPLEMENTED);
    EXPECT_EQ(count, 0u);
  }
}

TEST_F(Pick, OtherModelTypesAreRecordedAsBad) {
  TestModel m;
  m.addFlatTriangle(0, 0, 1, 0, 0, 1, 0);
  ModelPacket packet = *m.build();
  packet.type = 3;
  const float o[3] = {0.25f, 0.25f, 5}, d[3] = {0, 0, -1};
  uint32_t count = 7;
  EXPECT_EQ(pickModel(context.get(), &packet, o, d, &count, &hit), RUK_ERR_BAD_MODEL_TYPE);
  EXPECT_EQ(count, 0u);
  EXPECT_STREQ(context->errorMessage, "Bad model type");
}

}  // namespace
