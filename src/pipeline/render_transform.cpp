// The vertex stage: each corner of the batch is carried into eye space by the
// model matrix, given its w and its clip code, and textured triangles get
// their texture coordinates through the texture matrix. Transformed vertices
// are kept in the direct-mapped vertex cache for the rest of the call.
#include <cstddef>

#include "context/context.h"
#include "pipeline/assembly.h"
#include "pipeline/render.h"
#include "raster/raster.h"

namespace {

// The model matrix's used elements, widened once per batch.
struct WideMatrix {
  double m[12];  // columns 0-2 of rows 0-3
};

inline WideMatrix widen(const Matrix4* matrix) {
  WideMatrix wide;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 3; ++column) wide.m[3 * row + column] = matrix->m[4 * row + column];
  }
  return wide;
}

// Fills a cache slot with vertex `index`: products and sums in double
// precision, each coordinate rounded once; depth grows away from the eye.
inline void fillSlot(const RukContext* context, const WideMatrix& w, const float* p, uint32_t index,
                     VertexCacheEntry& slot) {
  const double px = p[0], py = p[1], pz = p[2];
  const auto row = [&](int c) { return px * w.m[c] + py * w.m[3 + c] + pz * w.m[6 + c] + w.m[9 + c]; };
  const float x = static_cast<float>(row(0));
  const float y = static_cast<float>(row(1));
  const float z = -static_cast<float>(row(2));
  float reciprocal = 1.0f;
  if (context->perspective != 0) reciprocal = z == 0.0f ? 1.0e15f : 1.0f / z;
  slot.tag = index;
  slot.normalRef = nullptr;  // the lit colours of the slot's former vertex are gone
  slot.x = x;
  slot.y = y;
  slot.z = z;
  slot.w = reciprocal;
  slot.clipCode = computeClipCode(context, x, y, z, reciprocal);
}

// Carries the corners of every batch entry through the cache; Corners is
// the model's corners per primitive, so the corner loop unrolls.
template <uint32_t Corners>
void transformCorners(RukContext* context, const WideMatrix& model, const ModelPacket* packet) {
  const float* const vertices = packet->vertices;
  const uint32_t* const vertexIndices = packet->vertexIndices;
  VertexCacheEntry* const cache = context->vertexCache;
  BatchEntry* const batch = context->batch;
  const uint32_t count = context->batchCount;
  for (uint32_t e = 0; e < count; ++e) {
    BatchEntry& entry = batch[e];
    uint32_t clipOr = 0, clipAnd = 0xFFFFFFFFu;
    const uint32_t* indices = vertexIndices + size_t{Corners} * entry.primitiveIndex;
    for (uint32_t k = 0; k < Corners; ++k) {
      const uint32_t index = indices[k];
      VertexCacheEntry& slot = cache[index & (VERTEX_CACHE_SIZE - 1)];
      if (slot.tag != index) fillSlot(context, model, vertices + 3 * size_t{index}, index, slot);
      BatchVertex& corner = entry.corners[k];
      corner.x = slot.x;
      corner.y = slot.y;
      corner.z = slot.z;
      corner.w = slot.w;
      corner.clipCode = slot.clipCode;
      clipOr |= slot.clipCode;
      clipAnd &= slot.clipCode;
    }
    entry.clipOr = clipOr;
    entry.clipAnd = clipAnd;
  }
}

}  // namespace

void transformBatch(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                    uint32_t pipelineFlags) {
  const WideMatrix model = widen(currentModelMatrix(context));
  withCornerCount(cornersPerPrimitive, [&](auto corners) { transformCorners<corners()>(context, model, packet); });
  const uint32_t count = context->batchCount;
  BatchEntry* const batch = context->batch;

  if ((pipelineFlags & RF_TEXTURE) == 0) return;
  const Matrix4& texture = context->textureMatrix;
  const bool identity = (texture.hints & MATRIX_IDENTITY) != 0;
  const float* const texCoords = packet->texCoords;
  const uint32_t* const texCoordIndices = packet->texCoordIndices;
  for (uint32_t e = 0; e < count; ++e) {
    BatchEntry& entry = batch[e];
    const size_t first = 3 * size_t{entry.primitiveIndex};
    for (uint32_t k = 0; k < 3; ++k) {
      const float* st = texCoords + 2 * size_t{texCoordIndices[first + k]};
      BatchVertex& corner = entry.corners[k];
      if (identity) {
        corner.u = st[0];
        corner.v = st[1];
      } else {
        // Only the 2x2 block applies; the translation row is not used.
        corner.u = st[0] * texture.m[0] + st[1] * texture.m[4];
        corner.v = st[0] * texture.m[1] + st[1] * texture.m[5];
      }
    }
  }
}
