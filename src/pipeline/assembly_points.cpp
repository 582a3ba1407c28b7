// Point assembly: the corners of point, line or triangle models.
#include <algorithm>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"

bool assemblePoints(RukContext* context, uint32_t sourceKind, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  const uint32_t corners = cornersPerPrimitive(sourceKind);
  const uint32_t entries = std::min(context->batchCount, context->batchCapacity);
  for (; cursor->entry < entries; ++cursor->entry, cursor->part = 0) {
    const BatchEntry& entry = context->batch[cursor->entry];
    if (entry.clipAnd != 0) continue;
    // A corner shared by several primitives is drawn once for each of them.
    for (uint32_t k = cursor->part; k < corners; ++k) {
      const BatchVertex& corner = entry.corners[k];
      if (corner.clipCode != 0) continue;
      const ScreenVertex vertex = mapToScreen(frame, corner);
      if (!onScreen(frame, vertex)) continue;
      RasterPrimitive* primitive = takeQueueRecord(context->rasterState);
      primitive->kind = RP_POINT;
      fillPerVertexSlot(frame, vertex, &primitive->vertices[0]);
      primitive->flags = RF_DEPTH_TEST | RF_DEPTH_WRITE;
      if ((vertex.color >> 24) != 0xFFu) primitive->flags |= RF_BLEND;
      if (commitQueueRecord(context->rasterState)) {
        cursor->part = k + 1;
        return false;
      }
    }
  }
  return true;
}
