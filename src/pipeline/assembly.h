// Primitive assembly: clipping against the view volume, screen mapping, the
// fixed-point setup of RasterPrimitive records and queueing them.
//
// Assembly never draws. It stops as soon as the queue is full, so that the
// render walk draws the queue before the next primitive is queued, and then
// goes on from where it stopped.
#pragma once
#include <cstdint>

#include "context/context.h"
#include "pipeline/batch.h"

struct AssemblyFrame;

// How far an assembly pass over the batch has come: the entry it is at, and
// how many of that entry's primitives (the triangles of its clipped fan, its
// edges, its corners) it has already dealt with.
struct AssemblyCursor {
  uint32_t entry = 0;
  uint32_t part = 0;
};

// Each assembles the batch from `cursor` on: true when the batch is done,
// false when the queue became full, with the cursor just past the primitive
// that filled it. Lines and points come from models of `sourceKind`.
bool assembleTriangles(RukContext* context, const AssemblyFrame& frame, AssemblyCursor* cursor);
bool assembleLines(RukContext* context, uint32_t sourceKind, const AssemblyFrame& frame, AssemblyCursor* cursor);
bool assemblePoints(RukContext* context, uint32_t sourceKind, const AssemblyFrame& frame, AssemblyCursor* cursor);

// Clips the polygon in the current clip buffer against one plane and makes
// the other buffer current; gives the new vertex count.
uint32_t clipPolygon(RukContext* context, uint32_t vertexCount, uint32_t planeBit, uint32_t pipelineFlags);
// Clips a two-vertex entry against one plane, in place.
void clipLine(RukContext* context, BatchEntry* line, uint32_t planeBit, uint32_t pipelineFlags);
// The clip code of an eye-space vertex under the context's projection;
// inline, as the vertex stage computes one for every vertex it transforms.
inline uint32_t computeClipCode(const RukContext* context, float x, float y, float z, float w) {
  if (!(z >= context->nearZ)) return CLIP_NEAR;  // also when z does not compare
  uint32_t code = 0;
  if (z > context->farZ) code |= CLIP_FAR;
  const float sy = y * w;
  if (sy > context->yLimit) {
    code |= CLIP_TOP;
  } else if (sy < -context->yLimit) {
    code |= CLIP_BOTTOM;
  }
  const float sx = x * w;
  if (sx < -context->xLimit) {
    code |= CLIP_LEFT;
  } else if (sx > context->xLimit) {
    code |= CLIP_RIGHT;
  }
  return code;
}
