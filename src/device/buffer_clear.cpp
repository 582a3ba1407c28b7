// Clearing a context's colour, depth and accumulation buffers.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "device/buffer_ops.h"
#include "device/pixel_fill.h"
#include "device/pixel_format.h"

namespace {

// The threshold at which the reserved format 1 dithers its clear colour.
constexpr uint32_t CLEAR_DITHER_THRESHOLD = 32;

using FillRun = void (*)(uint8_t* at, size_t pixels, uint32_t pixel);

FillRun fillRunFor(uint32_t bytesPerPixel) {
  switch (bytesPerPixel) {
    case 1: return pixel_fill::fill8;
    case 2: return pixel_fill::fill16;
    case 3: return pixel_fill::fill24;
    case 4: return pixel_fill::fill32;
    default: return nullptr;
  }
}

void clearColor(const BufferSet& buffers, uint32_t pixel) {
  const FillRun fill = fillRunFor(buffers.bytesPerPixel);
  if (fill == nullptr) return;
  // Contiguous rows are one block; padded rows are filled one by one so the
  // padding bytes are never written.
  if (buffers.rowBytes == colorRowLength(buffers)) {
    fill(buffers.colorBuffer, pixelCount(buffers), pixel);
    return;
  }
  for (uint32_t row = 0; row < buffers.height; ++row) fill(colorRow(buffers, row), buffers.width, pixel);
}

}  // namespace

uint32_t clearPixelValue(const RukColorModel* model, const uint8_t* map12, const uint8_t* map6, uint32_t color) {
  const Rgb8 c{(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF};
  switch (model->format) {
    case Indexed8: return map12 == nullptr ? 0 : IndexedNearestCodec{map12}.encode(c);
    case PixelFormatReserved1:
      return map6 == nullptr ? 0 : IndexedDitheredCodec{map6}.encode(CLEAR_DITHER_THRESHOLD, c);
    default: return encodeDirect(layoutOf(*model), c);
  }
}

// farZ (distance - nearZ) / (distance (farZ - nearZ)) in units of 2^30, so
// that the far plane gives exactly 2^30 and the near plane exactly 0.
// Values beyond the 32-bit range saturate; an undefined one (NaN) clears to
// the farthest depth.
int32_t clearDepthValue(double nearZ, double farZ, double distance) {
  const double depth = farZ * (distance - nearZ) / (distance * (farZ - nearZ)) * 1073741824.0;
  if (std::isnan(depth)) return INT32_MAX;
  if (depth >= 2147483647.0) return INT32_MAX;
  if (depth <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(depth);
}

bool clearBuffers(const BufferSet& buffers, uint32_t mask, uint32_t pixel, int32_t depth) {
  const uint32_t clear = mask & buffers.bufferFlags;
  if (clear & BUFFER_ACCUM) std::memset(buffers.accumBuffer, 0, pixelCount(buffers) * sizeof(uint32_t));
  if (clear & BUFFER_COLOR) clearColor(buffers, pixel);
  if (clear & BUFFER_DEPTH) {
    pixel_fill::fill32(reinterpret_cast<uint8_t*>(buffers.depthBuffer), pixelCount(buffers),
                       static_cast<uint32_t>(depth));
  }
  return true;
}
