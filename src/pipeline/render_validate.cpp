// Checking a model packet before anything is drawn: every index it holds
// must lie within the counts it declares, so that no stage reads past the
// model's arrays.
#include <cstddef>

#include "pipeline/render.h"

namespace {

// True when all `count` indices are below `limit` (and the array exists when
// there is anything to read).
bool indicesBelow(const uint32_t* indices, size_t count, uint32_t limit) {
  if (count == 0) return true;
  if (indices == nullptr) return false;
  uint32_t largest = 0;
  for (size_t i = 0; i < count; ++i) largest = indices[i] > largest ? indices[i] : largest;
  return largest < limit;
}

}  // namespace

RukStatus validateModelPacket(const ModelPacket* packet) {
  if (packet->type > MODEL_TRIANGLES) return RUK_ERR_BAD_MODEL_TYPE;
  const size_t corners = size_t{packet->primitiveCount} * cornersPerPrimitive(packet->type);
  if (corners == 0) return RUK_OK;
  if (packet->vertices == nullptr || !indicesBelow(packet->vertexIndices, corners, packet->vertexCount)) {
    return RUK_ERR_BAD_ARGUMENT;
  }
  // Per-corner normals are read only when both their arrays are present.
  if (packet->normalBinding == BINDING_PER_CORNER && packet->normals != nullptr && packet->normalIndices != nullptr &&
      !indicesBelow(packet->normalIndices, corners, packet->normalCount)) {
    return RUK_ERR_BAD_ARGUMENT;
  }
  // Texture coordinates are read for triangles only.
  if (packet->type == MODEL_TRIANGLES && packet->texCoordBinding != 0 && packet->texCoords != nullptr &&
      packet->texCoordIndices != nullptr && !indicesBelow(packet->texCoordIndices, corners, packet->texCoordCount)) {
    return RUK_ERR_BAD_ARGUMENT;
  }
  return RUK_OK;
}
