// Drawing one model: primitives are collected into batches of up to 128,
// and each batch runs through the vertex stage, lighting and assembly. The
// walk draws the raster queue whenever assembly has filled it, and once more
// at the end, so every primitive has been drawn when the call returns.
#include "pipeline/render.h"

#include "context/context.h"
#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"
#include "pipeline/lighting.h"
#include "pipeline/render_stages.h"
#include "raster/raster_queue.h"

namespace {

bool drawRasterQueue(RukContext* context, uint32_t pipelineFlags) {
  const RasterTarget target = makeRasterTarget(context);
  return flushRasterQueue(context->rasterState, &target, pipelineFlags);
}

// Assembles the batch by the model's type and the render mode, from the
// cursor on; false when the queue became full first.
bool assembleBatch(RukContext* context, uint32_t type, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  const uint32_t renderMode = context->attributes[ATTR_RENDER_MODE];
  switch (type) {
    case MODEL_TRIANGLES:
      if (renderMode == RENDER_FILLED) return assembleTriangles(context, frame, cursor);
      if (renderMode == RENDER_EDGES) return assembleLines(context, MODEL_TRIANGLES, frame, cursor);
      return assemblePoints(context, MODEL_TRIANGLES, frame, cursor);
    case MODEL_LINES:
      if (renderMode != RENDER_POINTS) return assembleLines(context, MODEL_LINES, frame, cursor);
      return assemblePoints(context, MODEL_LINES, frame, cursor);
    default: return assemblePoints(context, MODEL_POINTS, frame, cursor);
  }
}

}  // namespace

void resetVertexCache(RukContext* context) {
  for (VertexCacheEntry& slot : context->vertexCache) {
    slot.tag = VERTEX_CACHE_EMPTY;
    slot.normalRef = nullptr;
  }
}

bool processBatch(RukContext* context, const ModelPacket* packet, uint32_t pipelineFlags) {
  const uint32_t type = packet->type;
  const uint32_t corners = cornersPerPrimitive(type);
  transformBatch(context, corners, packet, pipelineFlags);
  if ((pipelineFlags & RF_SMOOTH) != 0) {
    lightBatchSmooth(context, corners, packet, pipelineFlags);
  } else {
    lightBatchFlat(context, corners, packet, pipelineFlags);
  }

  // A full queue is drawn before the next primitive is queued.
  const AssemblyFrame frame = makeAssemblyFrame(context, pipelineFlags);
  AssemblyCursor cursor;
  while (!assembleBatch(context, type, frame, &cursor)) drawRasterQueue(context, pipelineFlags);
  return true;
}

bool walkPrimitives(RukContext* context, const ModelPacket* packet, uint32_t pipelineFlags, BatchProcessor process) {
  BatchEntry* const batch = context->batch;
  const uint32_t capacity = context->batchCapacity < BATCH_CAPACITY ? context->batchCapacity : BATCH_CAPACITY;
  const uint32_t count = packet->primitiveCount;
  uint32_t filled = 0;
  const auto add = [&](uint32_t primitive, uint32_t facing) {
    batch[filled].primitiveIndex = primitive;
    batch[filled].facing = facing;
    if (++filled < capacity) return true;
    context->batchCount = filled;
    filled = 0;
    return process(context, packet, pipelineFlags);
  };

  bool ok = true;
  if (packet->type == MODEL_TRIANGLES) {
    const bool cull = context->attributes[ATTR_CULL_BACK] != 0;
    const uint32_t backFacing =
        context->attributes[ATTR_TWO_SIDED] != 0 ? FACING_BACK | FACING_LIT_AS_BACK : FACING_BACK;
    const float* eye = context->eyeInModel;
    for (uint32_t i = 0; ok && i < count; ++i) {
      if (!isBackFacing(packet, eye, i)) {
        ok = add(i, 0);
      } else if (!cull) {
        ok = add(i, backFacing);
      }
    }
  } else {
    for (uint32_t i = 0; ok && i < count; ++i) ok = add(i, 0);
  }
  if (ok) {
    context->batchCount = filled;
    ok = process(context, packet, pipelineFlags);
  }
  context->batchCount = 0;
  return ok;
}

RukStatus renderModel(RukContext* context, const ModelPacket* packet) {
  if (context->derivedDirty != 0) {
    context->derivedDirty = 0;
    updateModelSpaceLighting(context);
  }
  resetVertexCache(context);
  const uint32_t pipelineFlags = computePipelineFlags(context, packet);
  // The batch is empty between render calls; a call made without
  // beginRendering must not start from whatever count the record held.
  context->batchCount = 0;

  if (packet->type > MODEL_TRIANGLES) {
    recordError(context, "Bad model type");
    return RUK_ERR_BAD_MODEL_TYPE;
  }
  if (validateModelPacket(packet) != RUK_OK) {
    recordError(context, "Model index out of range");
    return RUK_ERR_BAD_ARGUMENT;
  }

  const bool drawn = walkPrimitives(context, packet, pipelineFlags, processBatch);
  // What was queued before a failure is drawn all the same.
  const bool flushed = drawRasterQueue(context, pipelineFlags);
  return drawn && flushed ? RUK_OK : RUK_ERR_FAILED;
}
