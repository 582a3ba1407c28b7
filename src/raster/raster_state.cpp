// The rasterizer block of a context: its dispatch tables, the primitive queue
// and, for indexed colour, the inverse colour maps.
#include <new>

#include "device/color_model.h"
#include "raster/raster.h"
#include "runtime/memory.h"

namespace {

bool isIndexedFormat(uint32_t format) { return format == Indexed8 || format == PixelFormatReserved1; }

}  // namespace

RasterState* selectRasterTables(const RukColorModel* model) {
  auto* state = new (rukAllocate(sizeof(RasterState))) RasterState{};
  state->format = model->format;
  const RasterTableSet* tables = rasterTablesFor(model->format);
  state->tables = tables;
  // Formats without scan converters still set triangles up (and draw
  // nothing): any format's copy has the same setup.
  state->setupTriangles = (tables != nullptr ? tables : rasterTablesFor(Rgb32))->setupTriangles;
  if (tables != nullptr) {
    state->triangleTable = tables->triangles;
    state->lineTable = tables->lines;
    state->pointTable = tables->points;
  }

  state->queue = rukAllocateArray<RasterPrimitive>(RASTER_QUEUE_CAPACITY);
  state->queuedCount = 0;
  state->queueCapacity = RASTER_QUEUE_CAPACITY;

  if (isIndexedFormat(model->format)) {
    state->inverseColorMap6 = static_cast<uint8_t*>(rukAllocate(64));
    state->inverseColorMap12 = static_cast<uint8_t*>(rukAllocate(4096));
    buildInverseColorMaps(model, state->inverseColorMap6, state->inverseColorMap12);
  }
  return state;
}

void freeRasterState(RasterState* state) {
  if (state == nullptr) return;
  if (state->queue != nullptr) rukRelease(state->queue);
  if (state->inverseColorMap12 != nullptr) rukRelease(state->inverseColorMap12);
  if (state->inverseColorMap6 != nullptr) rukRelease(state->inverseColorMap6);
  rukRelease(state);
}

void rasterAttributeChanged(RasterState* state, uint32_t attributeId, uint32_t value) {
  if (state == nullptr || attributeId != RASTER_DITHER_ATTRIBUTE || state->format != Indexed8) return;
  if (state->tables == nullptr) return;
  const bool dithered = value != 0 && state->tables->ditheredTriangles != nullptr;
  state->triangleTable = dithered ? state->tables->ditheredTriangles : state->tables->triangles;
}
