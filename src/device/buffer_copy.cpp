// Copying buffers between two sets of buffers of the same size.
#include <cstring>

#include "device/buffer_ops.h"

namespace {

// Colour rows may be padded differently in the two buffers; only the
// `width` pixels of each row are copied.
void copyColor(const BufferSet& source, const BufferSet& destination) {
  const size_t length = colorRowLength(source);
  if (source.rowBytes == length && destination.rowBytes == length) {
    std::memmove(destination.colorBuffer, source.colorBuffer, length * source.height);
    return;
  }
  for (uint32_t row = 0; row < source.height; ++row) {
    std::memmove(colorRow(destination, row), colorRow(source, row), length);
  }
}

}  // namespace

bool copyBuffers(const BufferSet& source, const BufferSet& destination, uint32_t mask) {
  const uint32_t copy = mask & source.bufferFlags & destination.bufferFlags;
  if (source.width != destination.width || source.height != destination.height) return false;

  const size_t words = pixelCount(source);
  if (copy & BUFFER_DEPTH) std::memmove(destination.depthBuffer, source.depthBuffer, words * sizeof(int32_t));
  if ((copy & BUFFER_COLOR) && source.format == destination.format) copyColor(source, destination);
  if (copy & BUFFER_ACCUM) std::memmove(destination.accumBuffer, source.accumBuffer, words * sizeof(uint32_t));
  return true;
}
