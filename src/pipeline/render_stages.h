// The pieces of a render call between the packet and the stages: back-face
// selection and the walk that fills and drains the batch.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pipeline/batch.h"

struct RukContext;

// True when triangle `primitive` faces away from the eye: the vector from the
// eye to its first corner points along its face normal, (P - E)·N >= 0,
// formed in double precision. A result that is not a number counts as
// facing the eye, and so does every triangle of a model without face normals.
inline bool isBackFacing(const ModelPacket* packet, const float* eye, uint32_t primitive) {
  if (packet->faceNormals == nullptr) return false;
  const float* p = packet->vertices + 3 * size_t{packet->vertexIndices[3 * size_t{primitive}]};
  const float* n = packet->faceNormals + 3 * size_t{primitive};
  const double along = (double{p[0]} - eye[0]) * n[0] + (double{p[1]} - eye[1]) * n[1] + (double{p[2]} - eye[2]) * n[2];
  return along >= 0.0;
}

// Runs the stages over the batch in context->batch (batchCount entries);
// false when a stage fails.
using BatchProcessor = bool (*)(RukContext* context, const ModelPacket* packet, uint32_t pipelineFlags);

// Transform, lighting and assembly of one batch, by the packet's type and
// the render mode.
bool processBatch(RukContext* context, const ModelPacket* packet, uint32_t pipelineFlags);

// Collects the packet's primitives (triangles: those not culled) into the
// batch, hands every full batch and then the last one (also when empty) to
// `process`, and leaves the batch empty. False as soon as `process` fails.
bool walkPrimitives(RukContext* context, const ModelPacket* packet, uint32_t pipelineFlags, BatchProcessor process);

// Empties the vertex cache: no slot holds a vertex or lit colours.
void resetVertexCache(RukContext* context);
