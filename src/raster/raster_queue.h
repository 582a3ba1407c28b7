// The primitive queue of a rasterizer block. Assembly takes the next record,
// fills it and commits it; the commit says when the queue is full, and then
// whoever drives assembly draws the queue before another record is taken.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>

#include "raster/raster.h"

// Sets a small record to zero with straight-line 16-byte stores (the widest
// of the baseline instruction set): left to the compiler, the clearing
// becomes a string store, whose start-up costs more than filling a record
// this small, and assembly clears one per primitive.
template <class Record>
inline void clearStraight(Record* record) {
  using Chunk = long long __attribute__((vector_size(16)));
  constexpr std::size_t chunks = sizeof(Record) / sizeof(Chunk);
  auto* bytes = reinterpret_cast<unsigned char*>(record);
  // A loop here would be turned back into memset.
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    const Chunk zero{};
    (__builtin_memcpy(bytes + I * sizeof(Chunk), &zero, sizeof(Chunk)), ...);
  }
  (std::make_index_sequence<chunks>{});
  __builtin_memset(bytes + chunks * sizeof(Chunk), 0, sizeof(Record) % sizeof(Chunk));
}

// The record the next primitive is written into, every field zero.
inline RasterPrimitive* takeQueueRecord(RasterState* state) {
  RasterPrimitive* record = &state->queue[state->queuedCount];
  clearStraight(record);
  return record;
}

// Counts the record taken last. True when the queue is now full: it must be
// drawn (flushRasterQueue) before the next record is taken.
inline bool commitQueueRecord(RasterState* state) {
  state->queuedCount += 1;
  return state->queuedCount >= state->queueCapacity;
}

// Draws and empties the queue into `target`, first queued first drawn:
// each primitive through the table of its kind at the slot
// (flags AND pipelineFlags). Always true.
bool flushRasterQueue(RasterState* state, const RasterTarget* target, uint32_t pipelineFlags);
