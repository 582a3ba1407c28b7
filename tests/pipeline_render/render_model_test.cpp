// Whole render calls on a real context: the context's rasterizer tables are
// replaced by recording routines, so each test sees exactly which points,
// lines and triangle halves a model produced, in drawing order.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "context/context.h"
#include "context/model_stack.h"
#include "pipeline/lighting.h"
#include "pipeline/render.h"
#include "raster/raster.h"

namespace {

struct Drawn {
  uint32_t queued;  // primitives in the queue while it was drawn
  uint32_t kind;
  int32_t column, row;        // slot 0
  int32_t endColumn, endRow;  // lines: slot 1
  uint32_t color;             // slot 0, 0x00RRGGBB
};
std::vector<Drawn> drawn;
const RasterState* drawnState = nullptr;

uint32_t colorOf(const RasterVertex& v) {
  return static_cast<uint32_t>((v.c0 >> 16) << 16 | (v.c1 >> 16) << 8 | (v.c2 >> 16));
}

void recordPoint(const RasterTarget*, const RasterPrimitive* p) {
  const RasterVertex& v = p->vertices[0];
  drawn.push_back({drawnState->queuedCount, RP_POINT, v.x >> 16, v.y >> 16, 0, 0, colorOf(v)});
}
void recordLine(const RasterTarget*, const RasterPrimitive* p) {
  const RasterVertex& a = p->vertices[0];
  const RasterVertex& b = p->vertices[1];
  drawn.push_back({drawnState->queuedCount, RP_LINE, a.x >> 16, a.y >> 16, b.x >> 16, b.y >> 16, colorOf(a)});
}
void recordHalf(const RasterTarget*, const RasterPrimitive* p, const RasterVertex*, const RasterVertex*, int32_t,
                int32_t, int32_t, int32_t, float) {
  const RasterVertex& v = p->vertices[0];
  drawn.push_back({drawnState->queuedCount, RP_TRIANGLE, v.x >> 16, v.y >> 16, 0, 0, colorOf(v)});
}

template <class Routine, size_t N>
struct Table {
  Routine slots[N];
  explicit Table(Routine r) {
    for (Routine& slot : slots) slot = r;
  }
};
const Table<PointRoutine, POINT_TABLE_SIZE> kPoints(recordPoint);
const Table<LineRoutine, LINE_TABLE_SIZE> kLines(recordLine);
const Table<TriangleRoutine, TRIANGLE_TABLE_SIZE> kTriangles(recordHalf);

// A 16 x 16 direct-colour context without depth buffer, orthographic, so
// that eye-space (x, y) = (c - 7.5, 7.5 - r) lands in column c, row r.
class RenderCall : public ::testing::Test {
 protected:
  std::vector<uint32_t> pixels = std::vector<uint32_t>(16 * 16, 0);
  RukContext* c = nullptr;

  void SetUp() override {
    RukDeviceDescriptor screen{};
    screen.depth = 32;
    screen.redMask = 0xFF0000;
    screen.greenMask = 0x00FF00;
    screen.blueMask = 0x0000FF;
    ASSERT_EQ(
        createContext(nullptr, &c, &screen, 16, 16, reinterpret_cast<uint8_t*>(pixels.data()), 64, nullptr, nullptr),
        RUK_OK);
    ASSERT_EQ(beginRendering(c), RUK_OK);
    ASSERT_EQ(doSetOrthographicProjection(c, 8.0f, 8.0f, 1.0f, 100.0f), RUK_OK);
    setMaterial(c, 0x102030, 0, 0, 0, 0.0f, 255);
    c->rasterState->pointTable = kPoints.slots;
    c->rasterState->lineTable = kLines.slots;
    c->rasterState->triangleTable = kTriangles.slots;
    drawnState = c->rasterState;
    drawn.clear();
  }
  void TearDown() override { freeContext(c); }
};

// Vertices at pixel centres, depth 5 in front of the eye.
std::vector<float> at(std::initializer_list<std::pair<int, int>> pixels) {
  std::vector<float> xyz;
  for (auto [column, row] : pixels) {
    xyz.insert(xyz.end(), {column - 7.5f, 7.5f - row, -5.0f});
  }
  return xyz;
}

struct Model {
  std::vector<float> vertices;
  std::vector<uint32_t> indices;
  std::vector<float> faceNormals;
  ModelPacket packet{};
  Model(uint32_t type, std::vector<float> xyz, std::vector<uint32_t> corners)
      : vertices(std::move(xyz)), indices(std::move(corners)) {
    packet.type = type;
    packet.primitiveCount = static_cast<uint32_t>(indices.size() / cornersPerPrimitive(type));
    packet.vertexCount = static_cast<uint32_t>(vertices.size() / 3);
    packet.vertices = vertices.data();
    packet.vertexIndices = indices.data();
    if (type == MODEL_TRIANGLES) {
      // Facing the viewer.
      for (uint32_t i = 0; i < packet.primitiveCount; ++i) faceNormals.insert(faceNormals.end(), {0, 0, 1});
      packet.normalBinding = BINDING_PER_PRIMITIVE;
      packet.faceNormals = faceNormals.data();
    }
  }
};

// Points on the 16 x 16 grid, one per index, row by row.
Model grid(uint32_t count) {
  std::vector<float> xyz;
  std::vector<uint32_t> indices;
  for (uint32_t i = 0; i < count; ++i) {
    xyz.insert(xyz.end(), {(i % 16) - 7.5f, 7.5f - (i / 16), -5.0f});
    indices.push_back(i);
  }
  return Model(MODEL_POINTS, xyz, indices);
}

TEST_F(RenderCall, EveryPointOfBatchesOf128And129IsDrawnInOrder) {
  for (uint32_t count : {1u, 127u, 128u, 129u, 256u}) {
    drawn.clear();
    Model points = grid(count);
    ASSERT_EQ(renderModel(c, &points.packet), RUK_OK);
    ASSERT_EQ(drawn.size(), count);
    for (uint32_t i = 0; i < count; ++i) {
      ASSERT_EQ(drawn[i].kind, RP_POINT);
      ASSERT_EQ(drawn[i].column, static_cast<int32_t>(i % 16)) << i;
      ASSERT_EQ(drawn[i].row, static_cast<int32_t>(i / 16)) << i;
      ASSERT_EQ(drawn[i].color, 0x102030u);
      // A full queue is drawn before the 129th point is queued.
      ASSERT_EQ(drawn[i].queued, i < count / 128 * 128 ? 128 : count % 128) << i;
    }
    EXPECT_EQ(c->batchCount, 0u);
    EXPECT_EQ(c->rasterState->queuedCount, 0u);
  }
}

TEST_F(RenderCall, EmptyModelDrawsNothingAndSucceeds) {
  Model none(MODEL_TRIANGLES, at({{0, 0}}), {});
  EXPECT_EQ(renderModel(c, &none.packet), RUK_OK);
  EXPECT_TRUE(drawn.empty());
}

// Two triangles sharing the edge from (2, 2) to (12, 12).
Model square() { return Model(MODEL_TRIANGLES, at({{2, 2}, {12, 2}, {12, 12}, {2, 12}}), {0, 2, 1, 0, 3, 2}); }

TEST_F(RenderCall, RenderModeZeroDrawsEachTrianglesCorners) {
  setAttributeInt(c, ATTR_RENDER_MODE, RENDER_POINTS);
  Model model = square();
  ASSERT_EQ(renderModel(c, &model.packet), RUK_OK);
  ASSERT_EQ(drawn.size(), 6u);
  const int32_t expected[6][2] = {{2, 2}, {12, 12}, {12, 2}, {2, 2}, {2, 12}, {12, 12}};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(drawn[i].kind, RP_POINT);
    EXPECT_EQ(drawn[i].column, expected[i][0]) << i;
    EXPECT_EQ(drawn[i].row, expected[i][1]) << i;
  }
}

TEST_F(RenderCall, RenderModeOneDrawsEachTrianglesEdges) {
  setAttributeInt(c, ATTR_RENDER_MODE, RENDER_EDGES);
  Model model = square();
  ASSERT_EQ(renderModel(c, &model.packet), RUK_OK);
  ASSERT_EQ(drawn.size(), 6u);
  for (const Drawn& d : drawn) EXPECT_EQ(d.kind, RP_LINE);
  EXPECT_EQ(drawn[0].column, 2);
  EXPECT_EQ(drawn[0].endColumn, 12);
  EXPECT_EQ(drawn[0].endRow, 12);
}

TEST_F(RenderCall, RenderModeTwoFillsTheTriangles) {
  Model model = square();
  ASSERT_EQ(renderModel(c, &model.packet), RUK_OK);
  ASSERT_FALSE(drawn.empty());
  for (const Drawn& d : drawn) EXPECT_EQ(d.kind, RP_TRIANGLE);
}

TEST_F(RenderCall, LineModelsDrawLinesOrTheirEnds) {
  Model lines(MODEL_LINES, at({{1, 1}, {9, 1}, {3, 5}}), {0, 1, 1, 2});
  ASSERT_EQ(renderModel(c, &lines.packet), RUK_OK);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[1].kind, RP_LINE);
  EXPECT_EQ(drawn[1].column, 9);
  EXPECT_EQ(drawn[1].endColumn, 3);
  EXPECT_EQ(drawn[1].endRow, 5);

  drawn.clear();
  setAttributeInt(c, ATTR_RENDER_MODE, RENDER_POINTS);
  ASSERT_EQ(renderModel(c, &lines.packet), RUK_OK);
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[3].kind, RP_POINT);
  EXPECT_EQ(drawn[3].column, 3);
  EXPECT_EQ(drawn[3].row, 5);
}

TEST_F(RenderCall, BackFacesAreCulledUnlessCullingIsOff) {
  Model model = square();
  for (float& z : model.faceNormals) z = -z;  // both triangles now face away
  setAttributeInt(c, ATTR_RENDER_MODE, RENDER_POINTS);
  ASSERT_EQ(renderModel(c, &model.packet), RUK_OK);
  EXPECT_TRUE(drawn.empty());
  setAttributeInt(c, ATTR_CULL_BACK, 0);
  ASSERT_EQ(renderModel(c, &model.packet), RUK_OK);
  EXPECT_EQ(drawn.size(), 6u);
}

TEST_F(RenderCall, BadModelTypeRecordsItsMessageAndDrawsNothing) {
  Model model = square();
  model.packet.type = 7;
  EXPECT_EQ(renderModel(c, &model.packet), RUK_ERR_BAD_MODEL_TYPE);
  EXPECT_STREQ(errorMessageOf(c), "Bad model type");
  EXPECT_TRUE(drawn.empty());
}

TEST_F(RenderCall, IndexPastTheVerticesIsABadArgumentAndDrawsNothing) {
  Model model = square();
  model.indices[5] = 4;
  EXPECT_EQ(renderModel(c, &model.packet), RUK_ERR_BAD_ARGUMENT);
  EXPECT_TRUE(drawn.empty());
  EXPECT_EQ(c->batchCount, 0u);
}

// Indices are checked eight at a time with the rest one by one: an index
// at or past the count is found wherever it lies, and the largest valid one
// passes everywhere.
TEST(ModelPacketIndices, EveryPositionOfAnIndexIsChecked) {
  constexpr uint32_t corners = 15, vertexCount = 16;
  std::vector<float> vertices(3 * vertexCount, 0.0f);
  for (uint32_t at : {0u, 3u, 7u, 8u, 13u, 14u}) {
    for (uint32_t index : {vertexCount - 1, vertexCount, 0x80000000u, 0xFFFFFFFFu}) {
      std::vector<uint32_t> indices(corners);
      for (uint32_t k = 0; k < corners; ++k) indices[k] = k;
      indices[at] = index;
      ModelPacket packet{};
      packet.type = MODEL_TRIANGLES;
      packet.primitiveCount = corners / 3;
      packet.vertexCount = vertexCount;
      packet.vertices = vertices.data();
      packet.vertexIndices = indices.data();
      EXPECT_EQ(validateModelPacket(&packet), index < vertexCount ? RUK_OK : RUK_ERR_BAD_ARGUMENT)
          << "index " << index << " at " << at;
    }
  }
}

}  // namespace
