// A context's whole-buffer operations: clearing to its clear values, copying
// from another context of the same size, and the accumulation operations.
// They run the buffer operations of device/buffer_ops.h on the context's
// buffers; a failure there is status 6.
#pragma once
#include <cstdint>

#include "device/buffer_ops.h"
#include "runtime/status.h"

struct RukContext;

// The context's buffers as the buffer operations see them.
BufferSet buffersOf(const RukContext* context);

RukStatus clearContext(RukContext* context, uint32_t mask);
RukStatus copyContextBuffers(const RukContext* source, RukContext* destination, uint32_t mask);
RukStatus accumulateContext(RukContext* context, uint32_t operation, float value);
