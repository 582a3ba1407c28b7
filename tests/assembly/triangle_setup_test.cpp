// Fixed-point setup of screen-space triangles: the exact queue records.
#include "assembly_fixture.h"

namespace assembly_test {
namespace {

struct Half {
  int32_t leftX, rightX, leftStep, rightStep;
  float prestep;
};

struct EdgeCase {
  const char* name;
  ScreenVertex p[3];  // batch order
  uint32_t halves;
  int32_t x[4], y[4];
  Half upper, lower;
};

constexpr int32_t F(double v) { return static_cast<int32_t>(v * 65536.0); }

// Every value below is worked out by hand from the screen positions.
const EdgeCase EDGE_CASES[] = {
    // Whole rows: each half is first sampled a whole row below its start
    // (prestep 1 of a height of 4). Long edge 10 -> 14 (0.5 per row), at the
    // middle row at x 12, right of the middle vertex (x 2); at y 3 the edges
    // are 8 and 10.5, at y 7 they are 5 and 12.5.
    {"WholeRows",
     {at(10, 2), at(2, 6), at(14, 10)},
     3,
     {F(10), F(2), F(14), F(12)},
     {F(2), F(6), F(10), F(6)},
     {F(8), F(10.5), F(-2), F(0.5), 0.25f},
     {F(5), F(12.5), F(3), F(0.5), 0.25f}},
    // Rows start half a row below each vertex: prestep 0.5 of a height of 2.
    // Batch order bottom, top, middle. Upper edges 8 -> 2 and 8 -> 10 sampled
    // at y 2: 6.5 and 8.5, then 4.5 left per 1.5 rows; lower edges 2 -> 12 and
    // 10 -> 12 sampled at y 4: 4.5 and 10.5.
    {"FractionalRows",
     {at(12, 5.5f), at(8, 1.5f), at(2, 3.5f)},
     3,
     {F(8), F(2), F(12), F(10)},
     {F(1.5), F(3.5), F(5.5), F(3.5)},
     {F(6.5), F(8.5), F(-3), F(1), 0.25f},
     {F(4.5), F(10.5), F(5), F(1), 0.25f}},
    // The long edge (8 -> 4) crosses the middle row at 6, left of the middle
    // vertex at 14.
    {"LongEdgeLeft",
     {at(8, 1.5f), at(14, 3.5f), at(4, 5.5f)},
     3,
     {F(8), F(14), F(4), F(6)},
     {F(1.5), F(3.5), F(5.5), F(3.5)},
     {F(7.5), F(9.5), F(-1), F(3), 0.25f},
     {F(5.5), F(11.5), F(-1), F(-5), 0.25f}},
    // Top and middle share row 3: only the lower half, from row 4.
    {"TopAndMiddleShareRow",
     {at(4, 3.25f), at(8, 3.75f), at(2, 5.25f)},
     2,
     {F(4), F(8), F(2), F(3.5)},
     {F(3.25), F(3.75), F(5.25), F(3.75)},
     {0, 0, 0, 0, 0.0f},
     {F(3.25), F(7), F(-1), F(-4), 0.25f / 1.5f}},
    // Middle and bottom share row 4: only the upper half, from row 3.
    {"MiddleAndBottomShareRow",
     {at(6, 2.5f), at(3, 4.0f), at(10, 4.5f)},
     1,
     {F(6), F(3), F(10), F(9)},
     {F(2.5), F(4), F(4.5), F(4)},
     {F(5), F(7), F(-2), F(2), 0.5f / 1.5f},
     {0, 0, 0, 0, 0.0f}},
    // The upper half's first sampled row (3) is the middle vertex's row:
    // nothing remains of the short edge after the prestep, and its step is 0;
    // the long edge 8 -> 12 keeps its 2 per row. The lower half starts on the
    // whole row 3 and is first sampled at y 4: the short edge 4 -> 12 there at
    // 4 + 8 / 1.5 = 9.333 (prestep 1 of 1.5), 5.333 per row; the long edge at
    // 9 + 2 = 11.
    {"NothingAfterPrestep",
     {at(8, 2.5f), at(4, 3.0f), at(12, 4.5f)},
     3,
     {F(8), F(4), F(12), F(9)},
     {F(2.5), F(3), F(4.5), F(3)},
     {F(4), F(9), 0, F(2), 1.0f},
     {F(28 / 3.0), F(11), F(16 / 3.0), F(2), 1.0f / 1.5f}},
};

class EdgeSetup : public AssemblyTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(EdgeSetup, FillsPositionsHalvesAndEdges) {
  const EdgeCase& c = GetParam();
  setupTriangle(context.get(), frame(DEPTH), c.p[0], c.p[1], c.p[2]);
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.kind, RP_TRIANGLE);
  EXPECT_EQ(q.halves, c.halves);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(q.vertices[k].x, c.x[k]) << "slot " << k;
    EXPECT_EQ(q.vertices[k].y, c.y[k]) << "slot " << k;
  }
  EXPECT_EQ(q.upperLeftX, c.upper.leftX);
  EXPECT_EQ(q.upperRightX, c.upper.rightX);
  EXPECT_EQ(q.upperLeftStep, c.upper.leftStep);
  EXPECT_EQ(q.upperRightStep, c.upper.rightStep);
  EXPECT_FLOAT_EQ(q.upperPrestep, c.upper.prestep);
  EXPECT_EQ(q.lowerLeftX, c.lower.leftX);
  EXPECT_EQ(q.lowerRightX, c.lower.rightX);
  EXPECT_EQ(q.lowerLeftStep, c.lower.leftStep);
  EXPECT_EQ(q.lowerRightStep, c.lower.rightStep);
  EXPECT_FLOAT_EQ(q.lowerPrestep, c.lower.prestep);
}

INSTANTIATE_TEST_SUITE_P(Triangles, EdgeSetup, ::testing::ValuesIn(EDGE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AssemblyTest, TriangleWithinOneRowIsDropped) {
  setupTriangle(context.get(), frame(DEPTH), at(1, 3.1f), at(5, 3.5f), at(3, 3.9f));
  EXPECT_EQ(queuedCount(), 0u);
}

// Which vertex the sort makes top, middle and bottom, for screen y values
// with ties; x (10, 40, 20) identifies the vertex in each slot.
struct SortCase {
  float y[3];
  int top, middle, bottom;
};

class SortRule : public AssemblyTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortRule, OrdersByHeightWithFixedTies) {
  const SortCase& c = GetParam();
  const float xs[3] = {10, 40, 20};
  setupTriangle(context.get(), frame(DEPTH), at(xs[0], c.y[0] * 10), at(xs[1], c.y[1] * 10), at(xs[2], c.y[2] * 10));
  ASSERT_EQ(queuedCount(), 1u);
  EXPECT_EQ(queued(0).vertices[0].x, F(xs[c.top]));
  EXPECT_EQ(queued(0).vertices[1].x, F(xs[c.middle]));
  EXPECT_EQ(queued(0).vertices[2].x, F(xs[c.bottom]));
}

INSTANTIATE_TEST_SUITE_P(Triangles, SortRule,
                         ::testing::Values(SortCase{{1, 2, 3}, 0, 1, 2}, SortCase{{1, 3, 2}, 0, 2, 1},
                                           SortCase{{1, 3, 3}, 0, 2, 1}, SortCase{{1, 1, 3}, 1, 0, 2},
                                           SortCase{{1, 3, 1}, 2, 0, 1}, SortCase{{2, 1, 1}, 2, 1, 0},
                                           SortCase{{3, 2, 1}, 2, 1, 0}, SortCase{{3, 1, 2}, 1, 2, 0},
                                           SortCase{{2, 1, 3}, 1, 0, 2}, SortCase{{2, 3, 1}, 2, 0, 1},
                                           SortCase{{2, 2, 1}, 2, 0, 1}));

// The middle row is exactly `width` wide; the long edge runs down x = 0.
class MiddleRowWidth : public AssemblyTest, public ::testing::WithParamInterface<std::pair<float, uint32_t>> {};

TEST_P(MiddleRowWidth, NarrowTrianglesAreDropped) {
  setupTriangle(context.get(), frame(DEPTH), at(0, 1), at(GetParam().first, 2), at(0, 3));
  EXPECT_EQ(queuedCount(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Triangles, MiddleRowWidth,
                         ::testing::Values(std::pair{0.005f, 0u}, std::pair{0.0099f, 0u}, std::pair{0.01f, 1u},
                                           std::pair{0.5f, 1u}));

// The "FractionalRows" triangle with depth, colours, alpha and texture
// coordinates. Its long edge meets the middle row half way down (t = 0.5)
// and the middle row is 8 pixels wide, from the middle vertex (left) to the
// long edge.
TEST_F(AssemblyTest, InterpolatesSlotThreeAndGradients) {
  ScreenVertex top = at(8, 1.5f, 0xFF102030, 1000);
  ScreenVertex middle = at(2, 3.5f, 0x80405060, 3000);
  ScreenVertex bottom = at(12, 5.5f, 0xFFA08090, 9000);
  top.u = 0.25f;
  middle.u = 0.5f;
  bottom.u = 1.0f;
  bottom.v = 2.0f;
  setupTriangle(context.get(), frame(DEPTH | RF_TEXTURE), bottom, top, middle);
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.flags, DEPTH | RF_SMOOTH | RF_BLEND | RF_TEXTURE);
  const RasterVertex* s = q.vertices;
  // z 1000, 3000, 9000; slot 3 half way from 1000 to 9000.
  EXPECT_EQ(s[0].z, 1000);
  EXPECT_EQ(s[1].z, 3000);
  EXPECT_EQ(s[2].z, 9000);
  EXPECT_EQ(s[3].z, 5000);
  EXPECT_EQ(q.dzdx, 250);  // (5000 - 3000) / 8
  EXPECT_EQ(s[0].c0, 0x100000);
  EXPECT_EQ(s[1].c0, 0x400000);
  EXPECT_EQ(s[2].c0, 0xA00000);
  EXPECT_EQ(s[3].c0, 0x580000);
  EXPECT_EQ(q.dc0dx, 0x30000);  // (0x580000 - 0x400000) / 8
  EXPECT_EQ(s[3].c1, 0x500000);
  EXPECT_EQ(q.dc1dx, 0);
  EXPECT_EQ(s[0].c2, 0x300000);
  EXPECT_EQ(s[3].c2, 0x600000);
  EXPECT_EQ(q.dc2dx, 0);
  EXPECT_EQ(s[0].a, 0xFF0000);
  EXPECT_EQ(s[1].a, 0x800000);
  EXPECT_EQ(s[3].a, 0xFF0000);
  EXPECT_EQ(q.dadx, (0xFF0000 - 0x800000) / 8);
  EXPECT_EQ(s[0].u, 0x4000);
  EXPECT_EQ(s[1].u, 0x8000);
  EXPECT_EQ(s[2].u, 0x10000);
  EXPECT_EQ(s[3].u, 0xA000);
  EXPECT_EQ(q.dudx, 0x400);
  EXPECT_EQ(s[2].v, 0x20000);
  EXPECT_EQ(s[3].v, 0x10000);
  EXPECT_EQ(q.dvdx, 0x2000);
  // Nothing asked for specular or fog.
  EXPECT_EQ(s[3].s0, 0);
  EXPECT_EQ(s[3].f, 0);
  EXPECT_EQ(q.ds0dx, 0);
  EXPECT_EQ(q.dfdx, 0);
}

// With the long edge on the left the gradient runs from slot 3 to slot 1.
TEST_F(AssemblyTest, GradientRunsFromTheLeftEndOfTheMiddleRow) {
  setupTriangle(context.get(), frame(DEPTH), at(8, 1.5f, 0xFFFFFFFF, 0), at(14, 3.5f, 0xFFFFFFFF, 0),
                at(4, 5.5f, 0xFFFFFFFF, 8192));
  ASSERT_EQ(queuedCount(), 1u);
  EXPECT_EQ(queued(0).vertices[3].z, 4096);
  EXPECT_EQ(queued(0).dzdx, -512);  // (0 - 4096) / 8
}

TEST_F(AssemblyTest, DepthIsLeftOutWithoutDepthFlags) {
  setupTriangle(context.get(), frame(0), at(8, 1.5f, 0xFFFFFFFF, 10), at(2, 3.5f, 0xFFFFFFFF, 20),
                at(12, 5.5f, 0xFFFFFFFF, 90));
  ASSERT_EQ(queuedCount(), 1u);
  EXPECT_EQ(queued(0).flags, DEPTH);
  EXPECT_EQ(queued(0).vertices[0].z, 0);
  EXPECT_EQ(queued(0).dzdx, 0);
}

TEST_F(AssemblyTest, EqualColoursGiveAFlatPrimitive) {
  setupTriangle(context.get(), frame(DEPTH | RF_SMOOTH | RF_BLEND), at(12, 5.5f, 0xFF336699), at(8, 1.5f, 0xFF336699),
                at(2, 3.5f, 0xFF336699));
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.flags, DEPTH);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(q.vertices[k].c0, 0x330000);
    EXPECT_EQ(q.vertices[k].c1, 0x660000);
    EXPECT_EQ(q.vertices[k].c2, 0x990000);
  }
  EXPECT_EQ(q.dc0dx, 0);
  EXPECT_EQ(q.dc1dx, 0);
  EXPECT_EQ(q.dc2dx, 0);
}

// Colour 0xF01008 everywhere; specular 0x200408 at the top, 0x100000 in the
// middle, none at the bottom.
TEST_F(AssemblyTest, SpecularIsAddedAndClampedPerVertex) {
  setupTriangle(context.get(), frame(DEPTH | RF_SPECULAR), at(12, 5.5f, 0xFFF01008, 0, 0),
                at(8, 1.5f, 0xFFF01008, 0, 0x200408), at(2, 3.5f, 0xFFF01008, 0, 0x100000));
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.flags, DEPTH | RF_SMOOTH);
  const RasterVertex* s = q.vertices;
  EXPECT_EQ(s[0].c0, 0xFF0000);  // 0xF0 + 0x20 clamped
  EXPECT_EQ(s[0].c1, 0x140000);
  EXPECT_EQ(s[0].c2, 0x100000);
  EXPECT_EQ(s[1].c0, 0xFF0000);  // 0xF0 + 0x10 clamped
  EXPECT_EQ(s[2].c0, 0xF00000);
  EXPECT_EQ(s[3].c0, (0xFF0000 + 0xF00000) / 2);
  EXPECT_EQ(q.dc0dx, ((0xFF0000 + 0xF00000) / 2 - 0xFF0000) / 8);
  EXPECT_EQ(s[0].s0, 0);
}

// The same corners under a colour model that keeps red in the word's low
// byte and blue in its third: the channels follow the model's shifts.
TEST_F(AssemblyTest, ChannelsFollowTheColourModelsWordShifts) {
  context->colorModel.redWordShift = 0;
  context->colorModel.blueWordShift = 16;
  for (uint32_t separate : {0u, 1u}) {
    context->attributes[ATTR_SEPARATE_SPECULAR] = separate;
    state.queuedCount = 0;
    setupTriangle(context.get(), frame(DEPTH | RF_SPECULAR), at(12, 5.5f, 0xFFF01008, 0, 0),
                  at(8, 1.5f, 0xFFF01008, 0, 0x200408), at(2, 3.5f, 0xFFF01008, 0, 0x100000));
    ASSERT_EQ(queuedCount(), 1u);
    const RasterVertex* s = queued(0).vertices;
    if (separate) {
      EXPECT_EQ(s[0].c0, 0x080000);
      EXPECT_EQ(s[0].c2, 0xF00000);
      EXPECT_EQ(s[0].s0, 0x080000);
      EXPECT_EQ(s[0].s1, 0x040000);
      EXPECT_EQ(s[0].s2, 0x200000);
    } else {
      EXPECT_EQ(s[0].c0, 0x100000);  // 0x08 + 0x08
      EXPECT_EQ(s[0].c1, 0x140000);
      EXPECT_EQ(s[0].c2, 0xFF0000);  // 0xF0 + 0x20 clamped
      EXPECT_EQ(s[1].c0, 0x080000);
      EXPECT_EQ(s[1].c2, 0xFF0000);  // 0xF0 + 0x10 clamped
      EXPECT_EQ(s[2].c2, 0xF00000);
      EXPECT_EQ(s[0].s0, 0);
    }
  }
}

TEST_F(AssemblyTest, SeparateSpecularIsInterpolated) {
  context->attributes[ATTR_SEPARATE_SPECULAR] = 1;
  setupTriangle(context.get(), frame(DEPTH | RF_SPECULAR), at(12, 5.5f, 0xFFF01008, 0, 0),
                at(8, 1.5f, 0xFFF01008, 0, 0x200408), at(2, 3.5f, 0xFFF01008, 0, 0x100000));
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.flags, DEPTH | RF_SMOOTH | RF_SPECULAR);
  const RasterVertex* s = q.vertices;
  EXPECT_EQ(s[0].c0, 0xF00000);
  EXPECT_EQ(s[3].c0, 0xF00000);
  EXPECT_EQ(q.dc0dx, 0);
  EXPECT_EQ(s[0].s0, 0x200000);
  EXPECT_EQ(s[0].s1, 0x040000);
  EXPECT_EQ(s[0].s2, 0x080000);
  EXPECT_EQ(s[1].s0, 0x100000);
  EXPECT_EQ(s[3].s0, 0x100000);
  EXPECT_EQ(q.ds0dx, 0);
  EXPECT_EQ(s[3].s1, 0x020000);
  EXPECT_EQ(q.ds1dx, 0x020000 / 8);
  EXPECT_EQ(s[3].s2, 0x040000);
  EXPECT_EQ(q.ds2dx, 0x040000 / 8);
}

// Colour (200, 200, 200) everywhere, fog colour (100, 50, 0); fog amounts 51
// at the top, 0 in the middle, 255 at the bottom.
TEST_F(AssemblyTest, FogIsMixedPerVertex) {
  context->attributes[ATTR_FOG_COLOR] = 0x643200;
  setupTriangle(context.get(), frame(DEPTH | RF_FOG), at(12, 5.5f, 0xFFC8C8C8, 0, 0xFF000000u),
                at(8, 1.5f, 0xFFC8C8C8, 0, 51u << 24), at(2, 3.5f, 0xFFC8C8C8, 0, 0));
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.flags, DEPTH | RF_SMOOTH);
  const RasterVertex* s = q.vertices;
  // (200*204 + 128)/255 = 160, (100*51 + 128)/255 = 20, (50*51 + 128)/255 = 10
  EXPECT_EQ(s[0].c0, 180 << 16);
  EXPECT_EQ(s[0].c1, 170 << 16);
  EXPECT_EQ(s[0].c2, 160 << 16);
  EXPECT_EQ(s[1].c0, 200 << 16);
  EXPECT_EQ(s[2].c0, 100 << 16);
  EXPECT_EQ(s[2].c1, 50 << 16);
  EXPECT_EQ(s[2].c2, 0);
  EXPECT_EQ(s[0].f, 0);
}

TEST_F(AssemblyTest, PerPixelFogIsInterpolated) {
  context->attributes[ATTR_FOG_COLOR] = 0x643200;
  context->attributes[ATTR_FOG_PER_PIXEL] = 1;
  setupTriangle(context.get(), frame(DEPTH | RF_FOG), at(12, 5.5f, 0xFFC8C8C8, 0, 0xFF000000u),
                at(8, 1.5f, 0xFFC8C8C8, 0, 51u << 24), at(2, 3.5f, 0xFFC8C8C8, 0, 0));
  ASSERT_EQ(queuedCount(), 1u);
  const RasterPrimitive& q = queued(0);
  EXPECT_EQ(q.flags, DEPTH | RF_SMOOTH | RF_FOG);
  const RasterVertex* s = q.vertices;
  EXPECT_EQ(s[0].c0, 200 << 16);
  EXPECT_EQ(s[0].f, 51 << 16);
  EXPECT_EQ(s[1].f, 0);
  EXPECT_EQ(s[2].f, 255 << 16);
  EXPECT_EQ(s[3].f, ((51 << 16) + (255 << 16)) / 2);
  EXPECT_EQ(q.dfdx, ((51 << 16) + (255 << 16)) / 2 / 8);
}

// A corner outside the image (or not a number) is never handed to the
// rasterizers, whatever reached the setup.
TEST_F(AssemblyTest, PositionsOutsideTheImageAreNotQueued) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  setupTriangle(context.get(), frame(DEPTH), at(8, 1.5f), at(2, 3.5f), at(12, 100.0f));
  setupTriangle(context.get(), frame(DEPTH), at(-0.5f, 1.5f), at(2, 3.5f), at(12, 5.5f));
  setupTriangle(context.get(), frame(DEPTH), at(nan, 1.5f), at(2, 3.5f), at(12, 5.5f));
  EXPECT_EQ(queuedCount(), 0u);
}

}  // namespace
}  // namespace assembly_test
