// Clipping of triangles, lines and points against the view volume, and the
// screen mapping of clipped vertices. The fixture maps eye-space x/z = +-1
// onto screen x = 50 -+ 49.95 (and likewise y, downwards).
#include "assembly_fixture.h"

namespace assembly_test {
namespace {

constexpr int32_t CENTRE = 50 << 16;
// trunc(99.95 * 65536) in single precision: a vertex exactly on the right
// plane lands 0.05 pixel inside the 100-pixel image.
constexpr int32_t RIGHT_EDGE = 6550323;

BatchVertex manual(float x, float y, float z, float w, uint32_t color, uint32_t clipCode) {
  BatchVertex v{};
  v.x = x;
  v.y = y;
  v.z = z;
  v.w = w;
  v.color = color;
  v.clipCode = clipCode;
  return v;
}

void expectVertex(const BatchVertex& v, float x, float y, float z, float w) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
  EXPECT_FLOAT_EQ(v.w, w);
}

TEST_F(AssemblyTest, ClipCodesFollowTheViewVolume) {
  const RukContext* c = context.get();
  EXPECT_EQ(computeClipCode(c, 0, 0, 2, 0.5f), 0u);
  EXPECT_EQ(computeClipCode(c, 2, 2, 2, 0.5f), 0u);  // on the right and top planes
  EXPECT_EQ(computeClipCode(c, 5, -5, 0.5f, 2.0f), CLIP_NEAR);
  EXPECT_EQ(computeClipCode(c, 0, 0, std::numeric_limits<float>::quiet_NaN(), 1), CLIP_NEAR);
  EXPECT_EQ(computeClipCode(c, 0, 0, 200, 0.005f), CLIP_FAR);
  EXPECT_EQ(computeClipCode(c, 2.5f, 2.5f, 2, 0.5f), CLIP_TOP | CLIP_RIGHT);
  EXPECT_EQ(computeClipCode(c, -2.5f, -2.5f, 2, 0.5f), CLIP_BOTTOM | CLIP_LEFT);
}

// Corner 0 lies behind the near plane (z 0); the near plane cuts both of its
// edges half way, at z 1.
TEST_F(AssemblyTest, OneNearCornerGivesTwoFanTriangles) {
  addEntry({manual(0, 1, 0, 1e15f, 0xFF0000FF, CLIP_NEAR), eye(-1, -1, 2, 0xFFFF0000), eye(1, -1, 2, 0xFF00FF00)});
  EXPECT_TRUE(triangles(DEPTH | RF_SMOOTH));
  EXPECT_EQ(queuedCount(), 2u);
  EXPECT_EQ(context->clipCurrent, context->clipBufferB);
  const BatchEntry* fan = context->fanTriangles;
  // The polygon is (corner 2, crossing 2-0, crossing 0-1, corner 1).
  expectVertex(fan[0].corners[0], 1, -1, 2, 0.5f);
  expectVertex(fan[0].corners[1], 0.5f, 0, 1, 1);
  expectVertex(fan[0].corners[2], -0.5f, 0, 1, 1);
  expectVertex(fan[1].corners[0], 1, -1, 2, 0.5f);
  expectVertex(fan[1].corners[1], -0.5f, 0, 1, 1);
  expectVertex(fan[1].corners[2], -1, -1, 2, 0.5f);
  // Half way between the colours, rounded: 127.5 + 0.5 = 128.
  EXPECT_EQ(fan[0].corners[1].color, 0xFF008080u);
  EXPECT_EQ(fan[0].corners[2].color, 0xFF800080u);
  // First fan triangle: crossing 0-1 at (25.025, 50) on top, the other
  // crossing at (74.975, 50) beside it, corner 2 at (74.975, 74.975) below.
  const RasterPrimitive& first = queued(0);
  EXPECT_EQ(first.halves, 2u);
  EXPECT_EQ(first.vertices[0].x, 1640038);
  EXPECT_EQ(first.vertices[0].y, CENTRE);
  EXPECT_EQ(first.vertices[1].x, 4913561);
  EXPECT_EQ(first.vertices[2].x, 4913561);
  EXPECT_EQ(first.vertices[2].y, 4913561);
}

TEST_F(AssemblyTest, ClippedColoursKeepTheFirstEndWithoutSmoothOrBlend) {
  addEntry({manual(0, 1, 0, 1e15f, 0xFF0000FF, CLIP_NEAR), eye(-1, -1, 2, 0xFFFF0000), eye(1, -1, 2, 0xFF00FF00)});
  triangles(DEPTH);
  EXPECT_EQ(context->fanTriangles[0].corners[1].color, 0xFF00FF00u);  // from corner 2
  EXPECT_EQ(context->fanTriangles[0].corners[2].color, 0xFF0000FFu);  // from corner 0
}

TEST_F(AssemblyTest, TwoNearCornersStayATriangle) {
  addEntry(
      {manual(0, 1, 0, 1e15f, 0xFFFFFFFF, CLIP_NEAR), manual(-1, -1, 0, 1e15f, 0xFFFFFFFF, CLIP_NEAR), eye(1, -1, 2)});
  triangles(DEPTH);
  EXPECT_EQ(queuedCount(), 1u);
  const BatchEntry& fan = context->fanTriangles[0];
  expectVertex(fan.corners[0], 1, -1, 2, 0.5f);
  expectVertex(fan.corners[1], 0.5f, 0, 1, 1);
  expectVertex(fan.corners[2], 0, -1, 1, 1);
}

// Corner 1 lies right of the view volume (x/z = 2): the right plane cuts its
// edges half way, and the crossings' x is put on the plane (x = z).
TEST_F(AssemblyTest, RightPlaneCutsAQuadrilateral) {
  addEntry({eye(0, 0, 2), eye(4, 0, 2), eye(0, 1, 2)});
  triangles(DEPTH);
  EXPECT_EQ(queuedCount(), 2u);
  const BatchEntry* fan = context->fanTriangles;
  expectVertex(fan[0].corners[0], 0, 1, 2, 0.5f);
  expectVertex(fan[0].corners[1], 0, 0, 2, 0.5f);
  expectVertex(fan[0].corners[2], 2, 0, 2, 0.5f);
  expectVertex(fan[1].corners[2], 2, 0.5f, 2, 0.5f);
  // The crossing on the plane maps 0.05 pixel inside the right edge.
  EXPECT_EQ(queued(0).vertices[1].x, RIGHT_EDGE);
}

TEST_F(AssemblyTest, EntriesWhollyOutsideOnePlaneAreSkipped) {
  addEntry({eye(4, 0, 2), eye(5, 1, 2), eye(6, 0, 2)});  // all right of the volume
  triangles(DEPTH);
  EXPECT_EQ(queuedCount(), 0u);
}

TEST_F(AssemblyTest, ClipPolygonAlternatesTheBuffers) {
  context->clipBufferA[0] = eye(0, 0, 2);
  context->clipBufferA[1] = eye(4, 0, 2);
  context->clipBufferA[2] = eye(0, 1, 2);
  context->clipCurrent = context->clipBufferA;
  EXPECT_EQ(clipPolygon(context.get(), 3, CLIP_RIGHT, DEPTH), 4u);
  EXPECT_EQ(context->clipCurrent, context->clipBufferB);
  EXPECT_EQ(clipPolygon(context.get(), 4, CLIP_LEFT, DEPTH), 4u);  // nothing outside
  EXPECT_EQ(context->clipCurrent, context->clipBufferA);
  EXPECT_EQ(clipPolygon(context.get(), 4, CLIP_TOP, DEPTH), 4u);
  EXPECT_EQ(clipPolygon(context.get(), 0, CLIP_TOP, DEPTH), 0u);
}

class Orthographic : public AssemblyTest {
 protected:
  void SetUp() override {
    AssemblyTest::SetUp();
    context->perspective = 0;
    context->xLimit = 2.0f;
    context->yLimit = 2.0f;
  }
};

// Under orthographic projection the side planes are x = +-xLimit and
// y = +-yLimit, and crossings keep w = 1.
TEST_F(Orthographic, SidePlanesAreFixed) {
  addEntry({eye(0, 0, 5), eye(4, 0, 5), eye(0, 1, 5)});
  triangles(DEPTH);
  EXPECT_EQ(queuedCount(), 2u);
  const BatchEntry* fan = context->fanTriangles;
  expectVertex(fan[0].corners[2], 2, 0, 5, 1);
  expectVertex(fan[1].corners[2], 2, 0.5f, 5, 1);
  EXPECT_EQ(queued(0).vertices[1].x, RIGHT_EDGE);
}

TEST_F(Orthographic, NearCrossingsKeepUnitW) {
  addEntry({manual(0, 0, 0, 1, 0xFFFFFFFF, CLIP_NEAR), eye(1, 0, 2), eye(0, 1, 2)});
  triangles(DEPTH);
  EXPECT_EQ(queuedCount(), 2u);
  // The polygon is (corner 2, crossing 2-0, crossing 0-1, corner 1).
  expectVertex(context->fanTriangles[0].corners[1], 0, 0.5f, 1, 1);
  expectVertex(context->fanTriangles[0].corners[2], 0.5f, 0, 1, 1);
}

// Depth grows with the distance from the near plane: 0 there, 2^30 at the far
// plane.
TEST_F(Orthographic, DepthIsOrderedByDistance) {
  addEntry({eye(0, 0, 1)});
  addEntry({eye(0, 0, 50.5f)});
  addEntry({eye(0, 0, 100)});
  points(MODEL_POINTS, DEPTH);
  ASSERT_EQ(queuedCount(), 3u);
  EXPECT_EQ(queued(0).vertices[0].z, 0);
  EXPECT_NEAR(queued(1).vertices[0].z, 1 << 29, 64);
  EXPECT_NEAR(queued(2).vertices[0].z, 1 << 30, 64);
}

TEST_F(AssemblyTest, PerspectiveDepthRunsFromNearToFar) {
  addEntry({eye(0, 0, 1)});
  addEntry({eye(0, 0, 100)});
  points(MODEL_POINTS, DEPTH);
  ASSERT_EQ(queuedCount(), 2u);
  EXPECT_EQ(queued(0).vertices[0].z, 0);
  EXPECT_NEAR(queued(1).vertices[0].z, 1 << 30, 256);
}

// A line from the centre to a point beyond both the left and the top plane is
// clipped against the left plane only, half way along: (-2, y/2, 2).
class LeftThenTop : public AssemblyTest, public ::testing::WithParamInterface<std::pair<float, bool>> {};

TEST_P(LeftThenTop, IsDrawnOnlyWhenTheLeftCrossingIsBelowTheTopPlane) {
  const auto [y, drawn] = GetParam();
  BatchEntry& e = addEntry({eye(0, 0, 2, 0xFF000000), eye(-4, y, 2, 0xFF0000FF)});
  ASSERT_EQ(e.clipOr, CLIP_LEFT | CLIP_TOP);
  lines(MODEL_LINES, DEPTH | RF_SMOOTH);
  ASSERT_EQ(queuedCount(), drawn ? 1u : 0u);
  if (!drawn) return;
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.kind, RP_LINE);
  EXPECT_EQ(q.flags, DEPTH | RF_SMOOTH);
  EXPECT_EQ(q.vertices[0].x, CENTRE);
  EXPECT_EQ(q.vertices[0].y, CENTRE);
  EXPECT_EQ(q.vertices[1].x, 3276);        // 0.05 pixel from the left edge
  EXPECT_EQ(q.vertices[1].y, 821657);      // 50 - 0.75 * 49.95 = 12.5375
  EXPECT_EQ(q.vertices[1].c2, 127 << 16);  // 127.5 truncated
  EXPECT_EQ(q.vertices[1].c0, 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, LeftThenTop, ::testing::Values(std::pair{3.0f, true}, std::pair{10.0f, false}));

TEST_F(AssemblyTest, LineCrossingTheRightPlaneIsShortened) {
  addEntry({eye(0, 0, 2, 0xFF000000), eye(4, 0, 2, 0xFF0000FF)});
  lines(MODEL_LINES, DEPTH);
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.vertices[1].x, RIGHT_EDGE);
  EXPECT_EQ(q.vertices[1].y, CENTRE);
  EXPECT_EQ(q.vertices[1].z, q.vertices[0].z);
  EXPECT_EQ(q.flags, DEPTH);  // without smooth shading the cut end takes the first colour
  EXPECT_EQ(q.vertices[1].c2, 0);
}

TEST_F(AssemblyTest, LineCrossingTheNearPlaneEndsOnIt) {
  addEntry({eye(0, 0, 2), manual(0, 0, 0, 1e15f, 0xFFFFFFFF, CLIP_NEAR)});
  lines(MODEL_LINES, DEPTH);
  ASSERT_EQ(queuedCount(), 1u);
  EXPECT_EQ(queued(0).vertices[1].z, 0);
  EXPECT_EQ(queued(0).vertices[1].x, CENTRE);
}

TEST_F(AssemblyTest, TranslucentLinesBlend) {
  addEntry({eye(0, 0, 2, 0x80FFFFFF), eye(1, 0, 2, 0xFFFFFFFF)});
  lines(MODEL_LINES, DEPTH);
  ASSERT_EQ(queuedCount(), 1u);
  EXPECT_EQ(queued(0).flags, DEPTH | RF_SMOOTH | RF_BLEND);
  EXPECT_EQ(queued(0).vertices[0].a, 0x800000);
  EXPECT_EQ(queued(0).vertices[1].a, 0xFF0000);
}

// Colour red 0xF0; specular red 0x20 and fog amount 51 at the start, none at
// the end; black fog.
TEST_F(AssemblyTest, LinesAddSpecularAndMixFogPerVertex) {
  addEntry({eye(0, 0, 2, 0xFFF00000, 0x33200000), eye(1, 0, 2, 0xFFF00000, 0)});
  lines(MODEL_LINES, DEPTH | RF_SPECULAR | RF_FOG);
  ASSERT_EQ(queuedCount(), 1u);
  EXPECT_EQ(queued(0).vertices[0].c0, 204 << 16);  // (255 * 204 + 128) / 255
  EXPECT_EQ(queued(0).vertices[1].c0, 0xF00000);
  EXPECT_EQ(queued(0).flags, DEPTH);
}

// A triangle drawn as edges gives three lines; an edge that leaves the view
// volume through the left plane and re-enters is clipped at one end only.
TEST_F(AssemblyTest, TriangleEdgesAreDrawnAsLines) {
  addEntry({eye(0, 0, 2), eye(1, 0, 2), eye(0, 1, 2)});
  lines(MODEL_TRIANGLES, DEPTH);
  ASSERT_EQ(queuedCount(), 3u);
  EXPECT_EQ(queued(0).vertices[0].x, CENTRE);
  EXPECT_EQ(queued(1).vertices[1].x, CENTRE);
  EXPECT_EQ(queued(2).vertices[1].x, CENTRE);
  EXPECT_EQ(queued(2).vertices[1].y, CENTRE);
  addEntry({eye(0, 0, 2), eye(-4, 0, 2), eye(0, 1, 2)});
  lines(MODEL_TRIANGLES, DEPTH);
  EXPECT_EQ(queuedCount(), 9u);  // the first entry again, then three more
  EXPECT_EQ(queued(6).vertices[1].x, 3276);
  EXPECT_EQ(queued(7).vertices[0].x, 3276);
}

TEST_F(AssemblyTest, PointsWithAnyClipBitAreNotDrawn) {
  addEntry({eye(0, 0, 2), eye(2.001f, 0, 2), eye(0, 0, 0.999f)});
  EXPECT_EQ(batch[0].clipAnd, 0u);
  points(MODEL_TRIANGLES, DEPTH);
  EXPECT_EQ(queuedCount(), 1u);
}

TEST_F(AssemblyTest, PointsTakeEachCornerOfTheirSourceKind) {
  addEntry({eye(2, 0, 2, 0x7F010203), eye(0, -2, 2), eye(0, 0, 2)});
  points(MODEL_LINES, DEPTH);
  ASSERT_EQ(queuedCount(), 2u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.kind, RP_POINT);
  EXPECT_EQ(q.flags, DEPTH | RF_BLEND);
  EXPECT_EQ(q.vertices[0].x, RIGHT_EDGE);
  EXPECT_EQ(q.vertices[0].y, CENTRE);
  EXPECT_EQ(q.vertices[0].a, 0x7F0000);
  EXPECT_EQ(q.vertices[0].c0, 0x010000);
  EXPECT_EQ(q.vertices[0].c1, 0x020000);
  EXPECT_EQ(q.vertices[0].c2, 0x030000);
  EXPECT_EQ(queued(1).flags, DEPTH);
  EXPECT_EQ(queued(1).vertices[0].y, RIGHT_EDGE);  // on the bottom plane
}

}  // namespace
}  // namespace assembly_test
