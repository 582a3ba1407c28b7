// Running the primitive queue through the dispatch tables.
#include "raster/raster_queue.h"

namespace {

// The routine index keeps only the features both the primitive asks for and
// the render call enables. It is confined to the table's slots, so stray
// flag bits can never index past a table.
uint32_t slotOf(const RasterPrimitive& primitive, uint32_t pipelineFlags, uint32_t tableSize) {
  return primitive.flags & pipelineFlags & (tableSize - 1);
}

void drawTriangle(const RasterTarget* target, const RasterState& state, const RasterPrimitive& primitive,
                  uint32_t pipelineFlags) {
  const TriangleRoutine routine = state.triangleTable[slotOf(primitive, pipelineFlags, TRIANGLE_TABLE_SIZE)];
  const RasterVertex* vertices = primitive.vertices;
  // The left edge of both halves ends or starts at whichever of the middle
  // vertex and the long edge's point lies further left; ties take the latter.
  const RasterVertex* leftMiddle = vertices[1].x < vertices[3].x ? &vertices[1] : &vertices[3];
  if (primitive.halves & 1) {
    routine(target, &primitive, &vertices[0], leftMiddle, primitive.upperLeftX, primitive.upperRightX,
            primitive.upperLeftStep, primitive.upperRightStep, primitive.upperPrestep);
  }
  if (primitive.halves & 2) {
    routine(target, &primitive, leftMiddle, &vertices[2], primitive.lowerLeftX, primitive.lowerRightX,
            primitive.lowerLeftStep, primitive.lowerRightStep, primitive.lowerPrestep);
  }
}

}  // namespace

bool flushRasterQueue(RasterState* state, const RasterTarget* target, uint32_t pipelineFlags) {
  const uint32_t count = state->queuedCount < state->queueCapacity ? state->queuedCount : state->queueCapacity;
  // A kind without a table (a format without rasterizers) is not drawn.
  for (uint32_t i = 0; i < count; ++i) {
    const RasterPrimitive& primitive = state->queue[i];
    if (primitive.kind == RP_POINT && state->pointTable != nullptr) {
      state->pointTable[slotOf(primitive, pipelineFlags, POINT_TABLE_SIZE)](target, &primitive);
    } else if (primitive.kind == RP_LINE && state->lineTable != nullptr) {
      state->lineTable[slotOf(primitive, pipelineFlags, LINE_TABLE_SIZE)](target, &primitive);
    } else if (primitive.kind == RP_TRIANGLE && state->triangleTable != nullptr) {
      drawTriangle(target, *state, primitive, pipelineFlags);
    }
  }
  state->queuedCount = 0;
  return true;
}
