// Line assembly: line models, and triangle models drawn as their edges.
#include <algorithm>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"

namespace {

// Lines are clipped against one plane only: the first their ends cross, in
// this order.
constexpr uint32_t LINE_PLANE_ORDER[] = {CLIP_NEAR, CLIP_FAR,  CLIP_LEFT,
                                         CLIP_RIGHT, CLIP_TOP, CLIP_BOTTOM};

void assembleLine(RukContext* context, const AssemblyFrame& frame, BatchEntry* line) {
  if (line->clipOr != 0 && line->clipAnd == 0) {
    for (uint32_t plane : LINE_PLANE_ORDER) {
      if (line->clipOr & plane) {
        clipLine(context, line, plane, frame.pipelineFlags);
        break;
      }
    }
  }
  if (line->clipOr != 0 || line->clipAnd != 0) return;

  const ScreenVertex start = mapToScreen(frame, line->corners[0]);
  const ScreenVertex end = mapToScreen(frame, line->corners[1]);
  if (!onScreen(frame, start) || !onScreen(frame, end)) return;
  RasterPrimitive* primitive = nextClearedQueueRecord(context);
  primitive->kind = RP_LINE;
  fillPerVertexSlot(frame, start, &primitive->vertices[0]);
  fillPerVertexSlot(frame, end, &primitive->vertices[1]);
  uint32_t flags = RF_DEPTH_TEST | RF_DEPTH_WRITE;
  if (start.color != end.color) flags |= RF_SMOOTH;
  if (((start.color & end.color) >> 24) != 0xFFu) flags |= RF_BLEND;
  primitive->flags = flags;
  commitQueueRecord(context, frame.pipelineFlags);
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

bool assembleLines(RukContext* context, uint32_t sourceKind, const ModelPacket* /*packet*/,
                   uint32_t pipelineFlags) {
  const AssemblyFrame frame = makeAssemblyFrame(context, pipelineFlags);
  const uint32_t entries = std::min(context->batchCount, context->batchCapacity);
  for (uint32_t i = 0; i < entries; ++i) {
    const BatchEntry& entry = context->batch[i];
    if (sourceKind == MODEL_TRIANGLES) {
      // Every triangle draws its three edges, shared ones included.
      for (uint32_t k = 0; k < 3; ++k) {
        BatchEntry line = edgeOf(entry.corners[k], entry.corners[(k + 1) % 3]);
        assembleLine(context, frame, &line);
      }
    } else if (sourceKind == MODEL_LINES) {
      BatchEntry line = entry;
      assembleLine(context, frame, &line);
    }
  }
  return true;
}
