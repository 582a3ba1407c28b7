// Dispatch tables of routines that only record how they were called, so the
// flush can be checked without drawing.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "raster/raster_queue.h"

struct RecordedCall {
  char table;  // 'T' plain triangles, 'D' dithered triangles, 'L' lines, 'P' points
  uint32_t slot;
  const RasterPrimitive* primitive;
  const RasterVertex* leftStart = nullptr;
  const RasterVertex* leftEnd = nullptr;
  int32_t leftX = 0, rightX = 0, leftStep = 0, rightStep = 0;
  float prestep = 0.0f;
};

inline std::vector<RecordedCall>& recordedCalls() {
  static std::vector<RecordedCall> calls;
  return calls;
}

template <char Table, uint32_t Slot>
void recordTriangle(const RasterTarget*, const RasterPrimitive* primitive, const RasterVertex* leftStart,
                    const RasterVertex* leftEnd, int32_t leftX, int32_t rightX, int32_t leftStep, int32_t rightStep,
                    float prestep) {
  recordedCalls().push_back({Table, Slot, primitive, leftStart, leftEnd, leftX, rightX, leftStep, rightStep, prestep});
}

template <char Table, uint32_t Slot>
void recordPrimitive(const RasterTarget*, const RasterPrimitive* primitive) {
  recordedCalls().push_back({Table, Slot, primitive});
}

template <char Table, uint32_t... Slots>
constexpr auto triangleTable(std::integer_sequence<uint32_t, Slots...>) {
  return std::array<TriangleRoutine, sizeof...(Slots)>{&recordTriangle<Table, Slots>...};
}
template <char Table, uint32_t... Slots>
constexpr auto primitiveTable(std::integer_sequence<uint32_t, Slots...>) {
  return std::array<PointRoutine, sizeof...(Slots)>{&recordPrimitive<Table, Slots>...};
}

inline constexpr auto PLAIN_TRIANGLES = triangleTable<'T'>(std::make_integer_sequence<uint32_t, TRIANGLE_TABLE_SIZE>());
inline constexpr auto DITHERED_TRIANGLES =
    triangleTable<'D'>(std::make_integer_sequence<uint32_t, TRIANGLE_TABLE_SIZE>());
inline constexpr auto LINES = primitiveTable<'L'>(std::make_integer_sequence<uint32_t, LINE_TABLE_SIZE>());
inline constexpr auto POINTS = primitiveTable<'P'>(std::make_integer_sequence<uint32_t, POINT_TABLE_SIZE>());

inline const RasterTableSet RECORDING_TABLES = {PLAIN_TRIANGLES.data(), DITHERED_TRIANGLES.data(), LINES.data(),
                                                POINTS.data(), nullptr};

// A rasterizer block of one pixel format that uses the recording tables,
// with its own queue, and a record to flush into (the routines never draw).
struct RecordingState {
  std::unique_ptr<RasterPrimitive[]> queue = std::make_unique<RasterPrimitive[]>(RASTER_QUEUE_CAPACITY);
  RasterState state{};
  RasterTarget target{};

  explicit RecordingState(uint32_t format, const RasterTableSet* tables = &RECORDING_TABLES) {
    state.format = format;
    state.tables = tables;
    if (tables != nullptr) {
      state.triangleTable = tables->triangles;
      state.lineTable = tables->lines;
      state.pointTable = tables->points;
    }
    state.queue = queue.get();
    state.queueCapacity = RASTER_QUEUE_CAPACITY;
    recordedCalls().clear();
  }

  bool flush(uint32_t pipelineFlags) { return flushRasterQueue(&state, &target, pipelineFlags); }
  void attributeChanged(uint32_t attributeId, uint32_t value) { rasterAttributeChanged(&state, attributeId, value); }

  RasterPrimitive& queuePrimitive(uint32_t kind, uint32_t flags) {
    RasterPrimitive& primitive = queue[state.queuedCount++];
    primitive = RasterPrimitive{};
    primitive.kind = kind;
    primitive.flags = flags;
    return primitive;
  }
};
