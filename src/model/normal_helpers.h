// Small pieces shared by the face- and vertex-normal generators.
#pragma once
#include <cmath>
#include <cstdint>

#include "model/model.h"
#include "runtime/memory.h"

// Writes v divided by its length; a zero vector becomes (1, 0, 0).
inline void storeUnitOrX(const float v[3], float* out) {
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0.0f) {
    out[0] = 1.0f;
    out[1] = 0.0f;
    out[2] = 0.0f;
    return;
  }
  out[0] = v[0] / length;
  out[1] = v[1] / length;
  out[2] = v[2] / length;
}

// True when every one of `count` indices names one of `vertexCount` vertices.
inline bool indicesWithin(const uint32_t* indices, uint64_t count, uint32_t vertexCount) {
  for (uint64_t i = 0; i < count; ++i) {
    if (indices[i] >= vertexCount) return false;
  }
  return true;
}

// Byte size of `count` items of `itemBytes`, or 0 when it does not fit the
// allocator's 32-bit sizes.
inline uint32_t byteSize(uint64_t count, uint64_t itemBytes) {
  const uint64_t bytes = count * itemBytes;
  return count != 0 && bytes / count == itemBytes && bytes <= UINT32_MAX ? static_cast<uint32_t>(bytes) : 0;
}

// Releases the generated normals and normal indices a record holds.
inline void releaseGeneratedNormals(RukModel* model) {
  if (model->normals != nullptr) rukRelease(model->normals);
  if (model->normalIndices != nullptr) rukRelease(model->normalIndices);
  model->normals = nullptr;
  model->normalIndices = nullptr;
}
