// Point assembly: the corners of point, line or triangle models.
#include <algorithm>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"

bool assemblePoints(RukContext* context, uint32_t sourceKind, const ModelPacket* /*packet*/,
                    uint32_t pipelineFlags) {
  const AssemblyFrame frame = makeAssemblyFrame(context, pipelineFlags);
  const uint32_t corners = cornersPerPrimitive(sourceKind);
  const uint32_t entries = std::min(context->batchCount, context->batchCapacity);
  for (uint32_t i = 0; i < entries; ++i) {
    const BatchEntry& entry = context->batch[i];
    if (entry.clipAnd != 0) continue;
    // A corner shared by several primitives is drawn once for each of them.
    for (uint32_t k = 0; k < corners; ++k) {
      const BatchVertex& corner = entry.corners[k];
      if (corner.clipCode != 0) continue;
      const ScreenVertex vertex = mapToScreen(frame, corner);
      if (!onScreen(frame, vertex)) continue;
      RasterPrimitive* primitive = nextClearedQueueRecord(context);
      primitive->kind = RP_POINT;
      fillPerVertexSlot(frame, vertex, &primitive->vertices[0]);
      primitive->flags = RF_DEPTH_TEST | RF_DEPTH_WRITE;
      if ((vertex.color >> 24) != 0xFFu) primitive->flags |= RF_BLEND;
      commitQueueRecord(context, pipelineFlags);
    }
  }
  return true;
}
