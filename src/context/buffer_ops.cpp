// A context's whole-buffer operations, on the buffers and clear values it
// holds.
#include "context/buffer_ops.h"

#include <bit>

#include "context/context.h"
#include "raster/raster.h"

BufferSet buffersOf(const RukContext* context) {
  const uint32_t bytesPerPixel = context->colorModel.bytesPerPixel;
  const uint32_t rowBytes = context->rowBytes != 0 ? context->rowBytes : context->width * bytesPerPixel;
  return {context->colorModel.format, bytesPerPixel, context->width,       context->height,
          context->colorBuffer,       rowBytes,      context->depthBuffer, context->accumBuffer,
          context->bufferFlags};
}

RukStatus clearContext(RukContext* context, uint32_t mask) {
  const RasterState* raster = context->rasterState;
  const uint32_t pixel =
      clearPixelValue(&context->colorModel, raster != nullptr ? raster->inverseColorMap12 : nullptr,
                      raster != nullptr ? raster->inverseColorMap6 : nullptr, context->attributes[ATTR_CLEAR_COLOR]);
  const int32_t depth =
      clearDepthValue(context->nearZ, context->farZ, std::bit_cast<float>(context->attributes[ATTR_CLEAR_DEPTH]));
  return clearBuffers(buffersOf(context), mask, pixel, depth) ? RUK_OK : RUK_ERR_FAILED;
}

RukStatus copyContextBuffers(const RukContext* source, RukContext* destination, uint32_t mask) {
  if (source->width != destination->width || source->height != destination->height) return RUK_ERR_FAILED;
  // A context copied onto itself already holds what the copy would write.
  if (source == destination) return RUK_OK;
  return copyBuffers(buffersOf(source), buffersOf(destination), mask) ? RUK_OK : RUK_ERR_FAILED;
}

RukStatus accumulateContext(RukContext* context, uint32_t operation, float value) {
  return accumulateBuffer(buffersOf(context), operation, value) ? RUK_OK : RUK_ERR_FAILED;
}
