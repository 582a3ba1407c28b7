// A hand-built context for the assembly tests: 100 x 100 pixels, perspective
// with both limits 1 (so screen x = 50 + 49.95 x/z), near 1, far 100, colour
// words with red at bit 16, and a raster state whose tables record every call
// instead of drawing.
#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "context/context.h"
#include "device/product_table.h"
#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"
#include "raster/raster.h"

namespace assembly_test {

struct RecordedCall {
  uint32_t kind;
  uint32_t slot;         // the table slot the flush chose
  uint32_t queuedCount;  // the queue's count while it was being flushed
  RasterPrimitive primitive;
};

inline std::vector<RecordedCall>& recordedCalls() {
  static std::vector<RecordedCall> calls;
  return calls;
}

// The rasterizer block whose queue the recording routines report on.
inline const RasterState* recordingState = nullptr;

template <uint32_t Slot>
void recordPoint(const RasterTarget*, const RasterPrimitive* primitive) {
  recordedCalls().push_back({RP_POINT, Slot, recordingState->queuedCount, *primitive});
}
template <uint32_t Slot>
void recordLine(const RasterTarget*, const RasterPrimitive* primitive) {
  recordedCalls().push_back({RP_LINE, Slot, recordingState->queuedCount, *primitive});
}
template <uint32_t Slot>
void recordTriangle(const RasterTarget*, const RasterPrimitive* primitive, const RasterVertex*, const RasterVertex*,
                    int32_t, int32_t, int32_t, int32_t, float) {
  recordedCalls().push_back({RP_TRIANGLE, Slot, recordingState->queuedCount, *primitive});
}

template <uint32_t... Slots>
constexpr std::array<TriangleRoutine, sizeof...(Slots)> triangleTable(std::integer_sequence<uint32_t, Slots...>) {
  return {&recordTriangle<Slots>...};
}
template <uint32_t... Slots>
constexpr std::array<LineRoutine, sizeof...(Slots)> lineTable(std::integer_sequence<uint32_t, Slots...>) {
  return {&recordLine<Slots>...};
}
template <uint32_t... Slots>
constexpr std::array<PointRoutine, sizeof...(Slots)> pointTable(std::integer_sequence<uint32_t, Slots...>) {
  return {&recordPoint<Slots>...};
}

inline constexpr auto TRIANGLES = triangleTable(std::make_integer_sequence<uint32_t, TRIANGLE_TABLE_SIZE>());
inline constexpr auto LINES = lineTable(std::make_integer_sequence<uint32_t, LINE_TABLE_SIZE>());
inline constexpr auto POINTS = pointTable(std::make_integer_sequence<uint32_t, POINT_TABLE_SIZE>());

inline constexpr uint32_t DEPTH = RF_DEPTH_TEST | RF_DEPTH_WRITE;

// Rounded products of two intensities, as the colour tables hold them.
inline void fillProductTable() {
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t b = 0; b < 256; ++b) productTable8[a * 256 + b] = static_cast<uint8_t>((a * b + 128) / 255);
  }
}

class AssemblyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fillProductTable();
    recordedCalls().clear();
    context = std::make_unique<RukContext>();
    RukContext* c = context.get();
    c->width = 100;
    c->height = 100;
    c->pitch = 100;
    c->colorModel.format = Rgb32;
    c->colorModel.redWordShift = 16;
    c->colorModel.greenWordShift = 8;
    c->colorModel.blueWordShift = 0;
    c->perspective = 1;
    c->xLimit = 1.0f;
    c->yLimit = 1.0f;
    c->nearZ = 1.0f;
    c->farZ = 100.0f;
    queue.resize(RASTER_QUEUE_CAPACITY);
    state = RasterState{};
    state.triangleTable = TRIANGLES.data();
    state.lineTable = LINES.data();
    state.pointTable = POINTS.data();
    state.setupTriangles = rasterTablesFor(Rgb32)->setupTriangles;
    state.queueCapacity = RASTER_QUEUE_CAPACITY;
    state.queue = queue.data();
    c->rasterState = &state;
    recordingState = &state;
    batch.resize(BATCH_CAPACITY);
    c->batch = batch.data();
    c->batchCapacity = BATCH_CAPACITY;
    c->batchCount = 0;
  }

  const RasterPrimitive& queued(uint32_t i) const { return queue[i]; }
  uint32_t queuedCount() const { return state.queuedCount; }

  AssemblyFrame frame(uint32_t pipelineFlags) const { return makeAssemblyFrame(context.get(), pipelineFlags); }

  // One assembly pass over the whole batch into an empty enough queue;
  // true when the batch was done before the queue filled.
  bool triangles(uint32_t pipelineFlags) {
    AssemblyCursor cursor;
    return assembleTriangles(context.get(), frame(pipelineFlags), &cursor);
  }
  bool lines(uint32_t sourceKind, uint32_t pipelineFlags) {
    AssemblyCursor cursor;
    return assembleLines(context.get(), sourceKind, frame(pipelineFlags), &cursor);
  }
  bool points(uint32_t sourceKind, uint32_t pipelineFlags) {
    AssemblyCursor cursor;
    return assemblePoints(context.get(), sourceKind, frame(pipelineFlags), &cursor);
  }

  // Appends a batch entry, with clip codes computed from the corners.
  BatchEntry& addEntry(std::initializer_list<BatchVertex> corners) {
    BatchEntry& e = batch[context->batchCount++];
    e = BatchEntry{};
    e.clipOr = 0;
    e.clipAnd = 0xFFFFFFFFu;
    uint32_t k = 0;
    for (const BatchVertex& v : corners) {
      e.corners[k] = v;
      e.clipOr |= v.clipCode;
      e.clipAnd &= v.clipCode;
      ++k;
    }
    return e;
  }

  // An eye-space vertex with w and its clip code under the context's view.
  BatchVertex eye(float x, float y, float z, uint32_t color = 0xFFFFFFFFu, uint32_t specular = 0) const {
    BatchVertex v{};
    v.x = x;
    v.y = y;
    v.z = z;
    v.w = context->perspective ? 1.0f / z : 1.0f;
    v.color = color;
    v.specular = specular;
    v.clipCode = computeClipCode(context.get(), x, y, z, v.w);
    return v;
  }

  std::unique_ptr<RukContext> context;
  std::vector<RasterPrimitive> queue;
  std::vector<BatchEntry> batch;
  RasterState state{};
};

inline ScreenVertex at(float x, float y, uint32_t color = 0xFFFFFFFFu, float depth = 0.0f, uint32_t specular = 0) {
  return ScreenVertex{x, y, depth, 0.0f, 0.0f, color, specular};
}

}  // namespace assembly_test
