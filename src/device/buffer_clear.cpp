// Clearing a context's colour, depth and accumulation buffers to the clear
// values of its attributes.
#include <bit>
#include <cmath>
#include <cstring>

#include "device/buffer_ops.h"
#include "device/color_buffer.h"
#include "device/pixel_fill.h"
#include "raster/raster.h"

namespace {

// The depth the pipeline gives a vertex at eye-space distance `distance`:
// farZ (distance - nearZ) / (distance (farZ - nearZ)) in units of 2^30, so
// that the far plane gives exactly 2^30 and the near plane exactly 0.
// Values beyond the 32-bit range saturate; an undefined one (NaN) clears to
// the farthest depth.
int32_t clearDepthValue(const RukContext* context) {
  const double nearZ = context->nearZ, farZ = context->farZ;
  const double distance = std::bit_cast<float>(context->attributes[ATTR_CLEAR_DEPTH]);
  const double depth = farZ * (distance - nearZ) / (distance * (farZ - nearZ)) * 1073741824.0;
  if (std::isnan(depth)) return INT32_MAX;
  if (depth >= 2147483647.0) return INT32_MAX;
  if (depth <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(depth);
}

// An 8-bit intensity cut (or widened) to a channel of `bits` bits.
uint32_t channelValue(uint32_t intensity, uint32_t bits) {
  return bits >= 8 ? intensity << (bits - 8) : intensity >> (8 - bits);
}

// The 2-bit level of the ordered dither at a fixed threshold.
uint32_t ditherLevel(uint32_t intensity, uint32_t threshold) {
  return intensity / 85 + (intensity % 85 > threshold ? 1 : 0);
}

uint32_t clearPixelValue(const RukContext* context) {
  const uint32_t color = context->attributes[ATTR_CLEAR_COLOR];
  const uint32_t r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
  const RukColorModel& model = context->colorModel;
  const RasterState* raster = context->rasterState;
  switch (model.format) {
    case Indexed8:
      if (raster == nullptr || raster->inverseColorMap12 == nullptr) return 0;
      return raster->inverseColorMap12[(b >> 4) * 256 + (g >> 4) * 16 + (r >> 4)];
    case PixelFormatReserved1: {
      if (raster == nullptr || raster->inverseColorMap6 == nullptr) return 0;
      constexpr uint32_t threshold = 32;
      const uint32_t index =
          ditherLevel(r, threshold) + 4 * ditherLevel(g, threshold) + 16 * ditherLevel(b, threshold);
      return raster->inverseColorMap6[index];
    }
    default:
      return channelValue(r, model.redBits) << model.redShift |
             channelValue(g, model.greenBits) << model.greenShift |
             channelValue(b, model.blueBits) << model.blueShift;
  }
}

using FillRun = void (*)(uint8_t* at, size_t pixels, uint32_t pixel);

FillRun fillRunFor(uint32_t format) {
  switch (format) {
    case Indexed8:
    case PixelFormatReserved1: return pixel_fill::fill8;
    case Rgb555:
    case Rgb16: return pixel_fill::fill16;
    case Rgb24: return pixel_fill::fill24;
    case Rgb32: return pixel_fill::fill32;
    default: return nullptr;
  }
}

void clearColor(const RukContext* context) {
  const FillRun fill = fillRunFor(context->colorModel.format);
  if (fill == nullptr) return;
  const uint32_t pixel = clearPixelValue(context);
  // Contiguous rows are one block; padded rows are filled one by one so the
  // padding bytes are never written.
  if (colorRowStride(context) == colorRowLength(context)) {
    fill(context->colorBuffer, pixelCount(context), pixel);
    return;
  }
  for (uint32_t row = 0; row < context->height; ++row) fill(colorRow(context, row), context->width, pixel);
}

}  // namespace

bool clearBuffers(RukContext* context, uint32_t mask) {
  const uint32_t clear = mask & context->bufferFlags;
  if (clear & BUFFER_ACCUM) std::memset(context->accumBuffer, 0, pixelCount(context) * sizeof(uint32_t));
  if (clear & BUFFER_COLOR) clearColor(context);
  if (clear & BUFFER_DEPTH) {
    pixel_fill::fill32(reinterpret_cast<uint8_t*>(context->depthBuffer), pixelCount(context),
                       static_cast<uint32_t>(clearDepthValue(context)));
  }
  return true;
}

RukStatus clearContext(RukContext* context, uint32_t mask) {
  return clearBuffers(context, mask) ? RUK_OK : RUK_ERR_FAILED;
}
