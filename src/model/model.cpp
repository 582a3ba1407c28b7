// The native model record: creation with its bounding box, handing generated
// vertex normals back, and release.
#include <algorithm>
#include <cstring>

#include "model/model.h"
#include "model/normal_helpers.h"
#include "runtime/memory.h"

namespace {

// Axis-aligned box of the vertices as centre and half-extents; all zero for
// no vertices.
void computeBounds(RukModel* model, const float* vertices, uint32_t vertexCount) {
  if (vertexCount == 0 || vertices == nullptr) {
    for (int axis = 0; axis < 3; ++axis) model->boundsCentre[axis] = model->boundsHalf[axis] = 0.0f;
    return;
  }
  float low[3] = {vertices[0], vertices[1], vertices[2]};
  float high[3] = {vertices[0], vertices[1], vertices[2]};
  for (uint32_t v = 1; v < vertexCount; ++v) {
    for (int axis = 0; axis < 3; ++axis) {
      const float value = vertices[3 * static_cast<uint64_t>(v) + axis];
      if (value < low[axis]) {
        low[axis] = value;
      } else if (value > high[axis]) {
        high[axis] = value;
      }
    }
  }
  for (int axis = 0; axis < 3; ++axis) {
    model->boundsCentre[axis] = (high[axis] + low[axis]) * 0.5f;
    model->boundsHalf[axis] = high[axis] - model->boundsCentre[axis];
  }
}

}  // namespace

RukModel* createModel(int32_t primitiveKind, uint32_t primitiveCount, uint32_t vertexCount, int32_t javaNormalBinding,
                      uint32_t normalCount, int32_t javaColorBinding, int32_t javaTexCoordBinding,
                      uint32_t texCoordCount, const float* vertices) {
  auto* model = static_cast<RukModel*>(rukAllocate(sizeof(RukModel)));
  std::memset(model, 0, sizeof(RukModel));
  model->type = modelTypeOfKind(primitiveKind);
  model->primitiveCount = primitiveCount;
  model->vertexCount = vertexCount;
  if (javaNormalBinding == 2) {
    model->normalBinding = BINDING_PER_CORNER;
    model->normalCount = normalCount;
  } else {
    model->normalBinding = BINDING_NONE;
  }
  model->colorBinding = colorBindingOf(javaColorBinding);
  if (javaTexCoordBinding == 2) {
    model->texCoordBinding = 1;
    model->texCoordCount = texCoordCount;
  }
  // The Java arrays may move between calls: the record keeps no address of them.
  computeBounds(model, vertices, vertexCount);
  return model;
}

void copyVertexNormals(RukModel* model, int32_t javaNormalCount, float* javaNormals, uint32_t* javaNormalIndices,
                       uint64_t javaIndexRoom) {
  if (javaNormalCount == 0) {
    model->normalBinding = BINDING_PER_PRIMITIVE;
    return;
  }
  // A negative count declares arrays for no normals: nothing is copied, and
  // the generated normals wait for a call that has room for them.
  if (javaNormalCount < 0) return;
  if (model->normals == nullptr || model->normalIndices == nullptr || javaNormals == nullptr ||
      javaNormalIndices == nullptr) {
    return;
  }
  // Never more than were generated, nor more than the Java arrays are
  // declared to hold, whatever the counts say now.
  const uint64_t count = std::min<uint64_t>(static_cast<uint32_t>(javaNormalCount), model->normalCount);
  const uint64_t indices = std::min<uint64_t>(javaIndexRoom, uint64_t{model->primitiveCount} * 3);
  std::memcpy(javaNormals, model->normals, count * 3 * sizeof(float));
  std::memcpy(javaNormalIndices, model->normalIndices, indices * sizeof(uint32_t));
  releaseGeneratedNormals(model);
}

void destroyModel(RukModel* model) {
  if (model == nullptr) return;
  releaseGeneratedNormals(model);
  rukRelease(model);
}
