// The rasterizer block of a context: its dispatch tables, the primitive queue
// and, for indexed colour, the inverse colour maps.
#include <new>

#include "context/context.h"
#include "raster/raster.h"
#include "runtime/memory.h"

namespace {

bool isIndexedFormat(uint32_t format) { return format == Indexed8 || format == PixelFormatReserved1; }

}  // namespace

// The allocation wrappers never return null (exhaustion ends the process), so
// creation cannot fail part-way.
bool selectRasterTables(RukContext* context) {
  auto* state = new (rukAllocate(sizeof(RasterState))) RasterState{};
  context->rasterState = state;

  const RasterTableSet* tables = rasterTablesFor(context->colorModel.format);
  state->tables = tables;
  if (tables != nullptr) {
    state->triangleTable = tables->triangles;
    state->lineTable = tables->lines;
    state->pointTable = tables->points;
  }

  state->queue = rukAllocateArray<RasterPrimitive>(RASTER_QUEUE_CAPACITY);
  state->queuedCount = 0;
  state->queueCapacity = RASTER_QUEUE_CAPACITY;

  if (isIndexedFormat(context->colorModel.format)) {
    state->inverseColorMap6 = static_cast<uint8_t*>(rukAllocate(64));
    state->inverseColorMap12 = static_cast<uint8_t*>(rukAllocate(4096));
    buildInverseColorMaps(context, state);
  }
  return true;
}

void freeRasterState(RasterState* state) {
  if (state == nullptr) return;
  if (state->queue != nullptr) rukRelease(state->queue);
  if (state->inverseColorMap12 != nullptr) rukRelease(state->inverseColorMap12);
  if (state->inverseColorMap6 != nullptr) rukRelease(state->inverseColorMap6);
  rukRelease(state);
}

void rasterAttributeChanged(RukContext* context, uint32_t attributeId) {
  if (attributeId != ATTR_DITHER || context->colorModel.format != Indexed8) return;
  RasterState* state = context->rasterState;
  if (state == nullptr || state->tables == nullptr) return;
  const bool dithered = context->attributes[ATTR_DITHER] != 0 && state->tables->ditheredTriangles != nullptr;
  state->triangleTable = dithered ? state->tables->ditheredTriangles : state->tables->triangles;
}
