// How the buffer operations walk a context's colour buffer: rows `rowBytes`
// apart (DIB rows are padded to 4 bytes), `width` pixels of
// `bytesPerPixel` bytes each.
#pragma once
#include <cstddef>
#include <cstdint>

#include "context/context.h"

inline size_t colorRowLength(const RukContext* context) {
  return size_t{context->width} * context->colorModel.bytesPerPixel;
}

inline size_t colorRowStride(const RukContext* context) {
  return context->rowBytes != 0 ? context->rowBytes : colorRowLength(context);
}

inline uint8_t* colorRow(const RukContext* context, uint32_t row) {
  return context->colorBuffer + row * colorRowStride(context);
}

inline size_t pixelCount(const RukContext* context) { return size_t{context->width} * context->height; }
