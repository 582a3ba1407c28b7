// Flushing the primitive queue through the dispatch tables, and the dither
// switch of indexed contexts.
#include <gtest/gtest.h>

#include <array>

#include "recording_tables.h"

namespace {

TEST(RasterQueue, DrawsInQueueOrderAndEmptiesTheQueue) {
  RecordingState r(Rgb32);
  const RasterPrimitive& point = r.queuePrimitive(RP_POINT, 0);
  RasterPrimitive& triangle = r.queuePrimitive(RP_TRIANGLE, 0);
  triangle.halves = 1;
  const RasterPrimitive& line = r.queuePrimitive(RP_LINE, 0);
  EXPECT_TRUE(r.flush(0x7F));
  const auto& calls = recordedCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].table, 'P');
  EXPECT_EQ(calls[0].primitive, &point);
  EXPECT_EQ(calls[1].table, 'T');
  EXPECT_EQ(calls[1].primitive, &triangle);
  EXPECT_EQ(calls[2].table, 'L');
  EXPECT_EQ(calls[2].primitive, &line);
  EXPECT_EQ(r.state.queuedCount, 0u);
}

struct SlotCase {
  uint32_t kind, flags, pipelineFlags, slot;
};
class RasterQueueSlots : public testing::TestWithParam<SlotCase> {};

TEST_P(RasterQueueSlots, IndexIsFlagsAndPipelineFlags) {
  const SlotCase& s = GetParam();
  RecordingState r(Rgb32);
  RasterPrimitive& primitive = r.queuePrimitive(s.kind, s.flags);
  primitive.halves = 1;
  r.flush(s.pipelineFlags);
  ASSERT_EQ(recordedCalls().size(), 1u);
  EXPECT_EQ(recordedCalls()[0].slot, s.slot);
}

INSTANTIATE_TEST_SUITE_P(
    All, RasterQueueSlots,
    testing::Values(SlotCase{RP_TRIANGLE, 0x7F, 0x7F, 127}, SlotCase{RP_TRIANGLE, 0x7F, 0x05, 5},
                    SlotCase{RP_TRIANGLE, 0x0A, 0x7F, 10}, SlotCase{RP_TRIANGLE, 0x7F, 0, 0},
                    // Without a depth buffer the render call enables no depth bit.
                    SlotCase{RP_TRIANGLE, RF_DEPTH_TEST | RF_DEPTH_WRITE | RF_SMOOTH, RF_SMOOTH | RF_BLEND, 4},
                    SlotCase{RP_TRIANGLE, 0x60, 0x7F, 96}, SlotCase{RP_LINE, 0x1F, 0x1F, 31},
                    // A translucent line with blending disabled keeps its other bits.
                    SlotCase{RP_LINE, RF_BLEND | RF_SMOOTH | RF_DEPTH_TEST, 0x77, 5},
                    SlotCase{RP_POINT, 0x0B, 0x7F, 11},
                    // Bits beyond a table's slots never index past it.
                    SlotCase{RP_LINE, 0x7F, 0x7F, 31}, SlotCase{RP_POINT, 0xFFFFFFFF, 0xFFFFFFFF, 31},
                    SlotCase{RP_TRIANGLE, 0xFFFFFFFF, 0xFFFFFFFF, 127}));

// A triangle whose middle vertex and long-edge point lie at given columns.
RasterPrimitive& queueTriangle(RecordingState& r, int32_t middleX, int32_t longEdgeX, uint32_t halves) {
  RasterPrimitive& t = r.queuePrimitive(RP_TRIANGLE, RF_SMOOTH);
  t.vertices[1].x = middleX;
  t.vertices[3].x = longEdgeX;
  t.halves = halves;
  t.upperLeftX = 11;
  t.upperRightX = 12;
  t.upperLeftStep = 13;
  t.upperRightStep = 14;
  t.upperPrestep = 0.25f;
  t.lowerLeftX = 21;
  t.lowerRightX = 22;
  t.lowerLeftStep = 23;
  t.lowerRightStep = 24;
  t.lowerPrestep = 0.75f;
  return t;
}

void expectUpperHalf(const RecordedCall& call, const RasterPrimitive& t, const RasterVertex* leftMiddle) {
  EXPECT_EQ(call.leftStart, &t.vertices[0]);
  EXPECT_EQ(call.leftEnd, leftMiddle);
  EXPECT_EQ(call.leftX, 11);
  EXPECT_EQ(call.rightX, 12);
  EXPECT_EQ(call.leftStep, 13);
  EXPECT_EQ(call.rightStep, 14);
  EXPECT_EQ(call.prestep, 0.25f);
}

void expectLowerHalf(const RecordedCall& call, const RasterPrimitive& t, const RasterVertex* leftMiddle) {
  EXPECT_EQ(call.leftStart, leftMiddle);
  EXPECT_EQ(call.leftEnd, &t.vertices[2]);
  EXPECT_EQ(call.leftX, 21);
  EXPECT_EQ(call.rightX, 22);
  EXPECT_EQ(call.leftStep, 23);
  EXPECT_EQ(call.rightStep, 24);
  EXPECT_EQ(call.prestep, 0.75f);
}

TEST(RasterQueue, UpperHalfIsDrawnBeforeTheLower) {
  RecordingState r(Rgb32);
  const RasterPrimitive& t = queueTriangle(r, 0x10000, 0x50000, 3);
  r.flush(0x7F);
  ASSERT_EQ(recordedCalls().size(), 2u);
  expectUpperHalf(recordedCalls()[0], t, &t.vertices[1]);
  expectLowerHalf(recordedCalls()[1], t, &t.vertices[1]);
  EXPECT_EQ(recordedCalls()[0].slot, RF_SMOOTH);
}

TEST(RasterQueue, EachHalfOnlyWhenItsBitIsSet) {
  RecordingState r(Rgb32);
  const RasterPrimitive& upper = queueTriangle(r, 0, 5, 1);
  const RasterPrimitive& lower = queueTriangle(r, 0, 5, 2);
  queueTriangle(r, 0, 5, 0);  // within one pixel row: nothing
  r.flush(0x7F);
  ASSERT_EQ(recordedCalls().size(), 2u);
  EXPECT_EQ(recordedCalls()[0].primitive, &upper);
  expectUpperHalf(recordedCalls()[0], upper, &upper.vertices[1]);
  EXPECT_EQ(recordedCalls()[1].primitive, &lower);
  expectLowerHalf(recordedCalls()[1], lower, &lower.vertices[1]);
}

struct LeftMiddleCase {
  int32_t middleX, longEdgeX;
  int slot;
};
class RasterQueueLeftMiddle : public testing::TestWithParam<LeftMiddleCase> {};

TEST_P(RasterQueueLeftMiddle, TheFurtherLeftPointBoundsTheLeftEdge) {
  const LeftMiddleCase& c = GetParam();
  RecordingState r(Rgb32);
  const RasterPrimitive& t = queueTriangle(r, c.middleX, c.longEdgeX, 3);
  r.flush(0x7F);
  ASSERT_EQ(recordedCalls().size(), 2u);
  expectUpperHalf(recordedCalls()[0], t, &t.vertices[c.slot]);
  expectLowerHalf(recordedCalls()[1], t, &t.vertices[c.slot]);
}

INSTANTIATE_TEST_SUITE_P(All, RasterQueueLeftMiddle,
                         testing::Values(LeftMiddleCase{0x10000, 0x20000, 1}, LeftMiddleCase{0x20000, 0x10000, 3},
                                         LeftMiddleCase{0x18000, 0x18000, 3},  // ties take the long edge
                                         LeftMiddleCase{-5, 3, 1},             // signed comparison
                                         LeftMiddleCase{3, -5, 3}));

TEST(RasterQueue, UnknownKindsAreSkipped) {
  RecordingState r(Rgb32);
  r.queuePrimitive(3, 0x7F);
  const RasterPrimitive& point = r.queuePrimitive(RP_POINT, 1);
  r.queuePrimitive(0xFFFFFFFFu, 0x7F);
  r.flush(0x7F);
  ASSERT_EQ(recordedCalls().size(), 1u);
  EXPECT_EQ(recordedCalls()[0].primitive, &point);
  EXPECT_EQ(r.state.queuedCount, 0u);
}

TEST(RasterQueue, FormatWithoutTablesDrawsNothing) {
  RecordingState r(Rgb24, nullptr);
  r.queuePrimitive(RP_POINT, 0);
  queueTriangle(r, 0, 1, 3);
  r.queuePrimitive(RP_LINE, 0);
  EXPECT_TRUE(r.flush(0x7F));
  EXPECT_TRUE(recordedCalls().empty());
  EXPECT_EQ(r.state.queuedCount, 0u);
}

TEST(RasterQueue, FullQueueIsDrawnWhole) {
  RecordingState r(Rgb32);
  for (uint32_t i = 0; i < RASTER_QUEUE_CAPACITY; ++i) r.queuePrimitive(RP_POINT, i & 3);
  r.flush(0x7F);
  ASSERT_EQ(recordedCalls().size(), RASTER_QUEUE_CAPACITY);
  for (uint32_t i = 0; i < RASTER_QUEUE_CAPACITY; ++i) {
    EXPECT_EQ(recordedCalls()[i].primitive, &r.queue[i]);
    EXPECT_EQ(recordedCalls()[i].slot, i & 3);
  }
}

TEST(DitherSwitch, IndexedContextSwitchesItsTriangleTable) {
  RecordingState r(Indexed8);
  r.attributeChanged(RASTER_DITHER_ATTRIBUTE, 1);
  EXPECT_EQ(r.state.triangleTable, DITHERED_TRIANGLES.data());
  EXPECT_EQ(r.state.lineTable, LINES.data());
  EXPECT_EQ(r.state.pointTable, POINTS.data());
  // Primitives flushed after the change use the dithered routines.
  queueTriangle(r, 0, 1, 1);
  r.flush(0x7F);
  ASSERT_EQ(recordedCalls().size(), 1u);
  EXPECT_EQ(recordedCalls()[0].table, 'D');

  r.attributeChanged(RASTER_DITHER_ATTRIBUTE, 0);
  EXPECT_EQ(r.state.triangleTable, PLAIN_TRIANGLES.data());
  r.attributeChanged(RASTER_DITHER_ATTRIBUTE, static_cast<uint32_t>(-7));
  EXPECT_EQ(r.state.triangleTable, DITHERED_TRIANGLES.data());
}

TEST(DitherSwitch, OtherAttributesLeaveTheTables) {
  RecordingState r(Indexed8);
  for (uint32_t id = 0; id < 38; ++id) {
    if (id != RASTER_DITHER_ATTRIBUTE) r.attributeChanged(id, 1);
  }
  EXPECT_EQ(r.state.triangleTable, PLAIN_TRIANGLES.data());
}

TEST(DitherSwitch, DirectFormatsIgnoreTheDitherAttribute) {
  for (uint32_t format : {Rgb555, Rgb16, Rgb24, Rgb32}) {
    RecordingState r(format);
    r.attributeChanged(RASTER_DITHER_ATTRIBUTE, 1);
    EXPECT_EQ(r.state.triangleTable, PLAIN_TRIANGLES.data()) << format;
  }
}

TEST(DitherSwitch, IndexedTablesWithoutADitheredVariantStayPlain) {
  const RasterTableSet plainOnly = {PLAIN_TRIANGLES.data(), nullptr, LINES.data(), POINTS.data(), nullptr};
  RecordingState r(Indexed8, &plainOnly);
  r.attributeChanged(RASTER_DITHER_ATTRIBUTE, 1);
  EXPECT_EQ(r.state.triangleTable, PLAIN_TRIANGLES.data());
}

}  // namespace
