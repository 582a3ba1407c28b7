// What the scan converters read besides the primitive: the buffers they draw
// into and the few values of the context their colour steps use. The render
// walk builds it from the context for every flush, so that the rasterizers
// need nothing else from the layers above them.
#pragma once
#include <cstdint>

struct RasterTarget {
  uint8_t* colorBuffer;  // rows rowBytes apart, width pixels each
  uint32_t rowBytes;
  uint32_t width;        // pixels per row: no block of pixels reaches past it
  int32_t* depthBuffer;  // rows depthRow entries apart; null without a depth buffer
  uint32_t depthRow;
  uint32_t fogRed, fogGreen, fogBlue;  // the fog colour's channels
  const uint32_t* texels;              // the bound texture (colour words, red at bit 16); null when none
  uint32_t log2Width, log2Height;
  const uint8_t* inverseColorMap12;  // indexed formats: 4,096 entries
  const uint8_t* inverseColorMap6;   // indexed formats: 64 entries
};

// The byte offset of pixel (row, column) in the colour buffer.
inline int64_t colorOffsetOf(const RasterTarget& target, int32_t row, int32_t column, uint32_t bytesPerPixel) {
  return static_cast<int64_t>(row) * target.rowBytes + static_cast<int64_t>(column) * bytesPerPixel;
}

// The entry of pixel (row, column) in the depth buffer.
inline int64_t depthOffsetOf(const RasterTarget& target, int32_t row, int32_t column) {
  return static_cast<int64_t>(row) * target.depthRow + column;
}
