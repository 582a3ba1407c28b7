// Line assembly: line models, and triangle models drawn as their edges.
#include <algorithm>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"

namespace {

// Lines are clipped against one plane only: the first their ends cross, in
// this order.
constexpr uint32_t LINE_PLANE_ORDER[] = {CLIP_NEAR, CLIP_FAR, CLIP_LEFT, CLIP_RIGHT, CLIP_TOP, CLIP_BOTTOM};

// Queues the line unless it lies outside; true when the queue is full then.
bool assembleLine(RukContext* context, const AssemblyFrame& frame, BatchEntry* line) {
  if (line->clipOr != 0 && line->clipAnd == 0) {
    for (uint32_t plane : LINE_PLANE_ORDER) {
      if (line->clipOr & plane) {
        clipLine(context, line, plane, frame.rules.pipelineFlags);
        break;
      }
    }
  }
  if (line->clipOr != 0 || line->clipAnd != 0) return false;

  const ScreenVertex start = mapToScreen(frame, line->corners[0]);
  const ScreenVertex end = mapToScreen(frame, line->corners[1]);
  if (!onScreen(frame, start) || !onScreen(frame, end)) return false;
  RasterPrimitive* primitive = takeQueueRecord(context->rasterState);
  primitive->kind = RP_LINE;
  fillPerVertexSlot(frame, start, &primitive->vertices[0]);
  fillPerVertexSlot(frame, end, &primitive->vertices[1]);
  uint32_t flags = RF_DEPTH_TEST | RF_DEPTH_WRITE;
  if (start.color != end.color) flags |= RF_SMOOTH;
  if (((start.color & end.color) >> 24) != 0xFFu) flags |= RF_BLEND;
  primitive->flags = flags;
  return commitQueueRecord(context->rasterState);
}

// A scratch line entry from two corners.
BatchEntry edgeOf(const BatchVertex& from, const BatchVertex& to) {
  BatchEntry line;
  line.corners[0] = from;
  line.corners[1] = to;
  line.corners[2] = to;
  line.primitiveIndex = 0;
  line.facing = 0;
  line.clipOr = from.clipCode | to.clipCode;
  line.clipAnd = from.clipCode & to.clipCode;
  return line;
}

}  // namespace

bool assembleLines(RukContext* context, uint32_t sourceKind, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  // Every triangle draws its three edges, shared ones included.
  const uint32_t lines = sourceKind == MODEL_TRIANGLES ? 3 : (sourceKind == MODEL_LINES ? 1 : 0);
  const uint32_t entries = std::min(context->batchCount, context->batchCapacity);
  for (; cursor->entry < entries; ++cursor->entry, cursor->part = 0) {
    const BatchEntry& entry = context->batch[cursor->entry];
    for (uint32_t k = cursor->part; k < lines; ++k) {
      BatchEntry line = sourceKind == MODEL_TRIANGLES ? edgeOf(entry.corners[k], entry.corners[(k + 1) % 3]) : entry;
      if (assembleLine(context, frame, &line)) {
        cursor->part = k + 1;
        return false;
      }
    }
  }
  return true;
}
