// Primitive assembly: clipping against the view volume, screen mapping, the
// fixed-point setup of RasterPrimitive records and queueing them.
#pragma once
#include <cstdint>

#include "pipeline/batch.h"

struct RukContext;

bool assembleTriangles(RukContext* context, const ModelPacket* packet, uint32_t pipelineFlags);
bool assembleLines(RukContext* context, uint32_t sourceKind, const ModelPacket* packet,
                   uint32_t pipelineFlags);
bool assemblePoints(RukContext* context, uint32_t sourceKind, const ModelPacket* packet,
                    uint32_t pipelineFlags);

// Clips the polygon in the current clip buffer against one plane and makes
// the other buffer current; gives the new vertex count.
uint32_t clipPolygon(RukContext* context, uint32_t vertexCount, uint32_t planeBit,
                     uint32_t pipelineFlags);
// Clips a two-vertex entry against one plane, in place.
void clipLine(RukContext* context, BatchEntry* line, uint32_t planeBit, uint32_t pipelineFlags);
// The clip code of an eye-space vertex under the context's projection.
uint32_t computeClipCode(const RukContext* context, float x, float y, float z, float w);
