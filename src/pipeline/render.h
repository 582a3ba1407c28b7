// Drawing one model: the vertex cache, back-face selection, batching by 128,
// the vertex stage, then lighting, assembly and the queue flush.
#pragma once
#include <cstdint>

#include "pipeline/batch.h"
#include "runtime/status.h"

struct RukContext;

// 0, 500 for a bad model type, 6 when a stage fails, 7 when the packet's
// indices reach past its declared counts (nothing is drawn then).
RukStatus renderModel(RukContext* context, const ModelPacket* packet);

// 0 when every index of the packet lies within the counts it declares.
RukStatus validateModelPacket(const ModelPacket* packet);

// The feature mask of a render call of a model of the given type.
uint32_t computePipelineFlags(const RukContext* context, const ModelPacket* packet);

void transformBatch(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                    uint32_t pipelineFlags);
