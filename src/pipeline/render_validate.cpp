// Checking a model packet before anything is drawn: every index it holds
// must lie within the counts it declares, so that no stage reads past the
// model's arrays.
#include <cstddef>
#include <cstring>

#include "pipeline/render.h"

namespace {

// True when all `count` indices are below `limit` (and the array exists when
// there is anything to read). Eight indices per step in vectors: a large
// model's indices are checked on every render call.
bool indicesBelow(const uint32_t* indices, size_t count, uint32_t limit) {
  if (count == 0) return true;
  if (indices == nullptr) return false;
  using Words [[gnu::vector_size(16)]] = uint32_t;
  Words outside{};
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    Words low, high;
    std::memcpy(&low, indices + i, sizeof low);
    std::memcpy(&high, indices + i + 4, sizeof high);
    outside |= (low >= limit) | (high >= limit);
  }
  uint32_t any = outside[0] | outside[1] | outside[2] | outside[3];
  for (; i < count; ++i) any |= indices[i] >= limit ? 1u : 0u;
  return any == 0;
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
