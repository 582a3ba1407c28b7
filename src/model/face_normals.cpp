// Unit face normals of a triangle model.
#include <cstring>

#include "model/model.h"
#include "model/normal_helpers.h"
#include "runtime/memory.h"

namespace {

// n = (a - b) x (b - c): counter-clockwise corners face the viewer.
void faceNormal(const float* a, const float* b, const float* c, float* out) {
  const float ab[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
  const float bc[3] = {b[0] - c[0], b[1] - c[1], b[2] - c[2]};
  const float n[3] = {ab[1] * bc[2] - ab[2] * bc[1], ab[2] * bc[0] - ab[0] * bc[2], ab[0] * bc[1] - ab[1] * bc[0]};
  storeUnitOrX(n, out);
}

}  // namespace

bool generateFaceNormals(RukModel* model, const float* vertices, const uint32_t* vertexIndices, float* faceNormalsOut) {
  if (model->type == MODEL_TRIANGLES && model->primitiveCount != 0) {
    const uint64_t corners = uint64_t{model->primitiveCount} * 3;
    const uint32_t bytes = byteSize(model->primitiveCount, 3 * sizeof(float));
    if (bytes == 0 || vertices == nullptr || vertexIndices == nullptr || faceNormalsOut == nullptr ||
        !indicesWithin(vertexIndices, corners, model->vertexCount)) {
      return false;
    }
    // Computed apart and copied at the end, so that an output array that is
    // also the vertex array does not change the vertices still to be read.
    auto* normals = static_cast<float*>(rukAllocate(bytes));
    for (uint64_t t = 0; t < model->primitiveCount; ++t) {
      const uint32_t* corner = vertexIndices + 3 * t;
      faceNormal(vertices + 3 * uint64_t{corner[0]}, vertices + 3 * uint64_t{corner[1]},
                 vertices + 3 * uint64_t{corner[2]}, normals + 3 * t);
    }
    std::memcpy(faceNormalsOut, normals, bytes);
    rukRelease(normals);
  }
  if (model->normalBinding == BINDING_NONE) model->normalBinding = BINDING_PER_PRIMITIVE;
  return true;
}
