// Whole-buffer operations of a context: clear, copy between contexts of the
// same size, and the accumulation buffer operations.
#pragma once
#include <cstdint>

#include "runtime/status.h"

struct RukContext;

// Buffer mask bits, the same as the context's bufferFlags.
inline constexpr uint32_t BUFFER_COLOR = 1;
inline constexpr uint32_t BUFFER_DEPTH = 2;
inline constexpr uint32_t BUFFER_ACCUM = 8;

// Accumulation operations.
inline constexpr uint32_t ACCUM_ADD = 0;
inline constexpr uint32_t ACCUM_LOAD = 1;
inline constexpr uint32_t ACCUM_RETURN = 2;
inline constexpr uint32_t ACCUM_MULT = 3;

bool clearBuffers(RukContext* context, uint32_t mask);
bool copyBuffers(const RukContext* source, RukContext* destination, uint32_t mask);
bool accumulateBuffer(RukContext* context, uint32_t operation, float value);

// The context layer: false becomes status 6.
RukStatus clearContext(RukContext* context, uint32_t mask);
RukStatus copyContextBuffers(const RukContext* source, RukContext* destination, uint32_t mask);
RukStatus accumulateContext(RukContext* context, uint32_t operation, float value);

// The 2^inBits-entry table converting an inBits-wide intensity to an
// outBits-wide one scaled by s, with rounding.
void buildScaleTable(int32_t* table, uint32_t inBits, uint32_t outBits, float s);
