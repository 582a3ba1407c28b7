// Smoothed vertex normals with a crease angle.
//
// Each corner not yet assigned opens a group: its triangle's face normal plus
// the face normals of every other triangle at the same vertex that lies
// within the crease angle of it. The group's normal is the normalised,
// unweighted sum. A neighbour that joins a later group moves there; its face
// normal stays counted in the earlier sum.
#include <cmath>

#include "model/model.h"
#include "model/normal_helpers.h"
#include "runtime/memory.h"

namespace {

constexpr uint32_t UNASSIGNED = 0xFFFFFFFFu;

// Triangles at each vertex, by counting sort: the triangles of vertex v are
// list[start[v]] .. list[start[v + 1] - 1], in ascending order.
struct Adjacency {
  uint32_t* start;  // vertexCount + 1 entries
  uint32_t* list;   // one entry per corner
};

Adjacency buildAdjacency(const uint32_t* vertexIndices, uint32_t corners, uint32_t vertexCount) {
  Adjacency adjacency;
  adjacency.start = rukAllocateArray<uint32_t>(vertexCount + 1);
  adjacency.list = rukAllocateArray<uint32_t>(corners);
  uint32_t* start = adjacency.start;
  for (uint32_t v = 0; v <= vertexCount; ++v) start[v] = 0;
  for (uint32_t c = 0; c < corners; ++c) start[vertexIndices[c]] += 1;
  uint32_t sum = 0;
  for (uint32_t v = 0; v < vertexCount; ++v) {
    const uint32_t count = start[v];
    start[v] = sum;
    sum += count;
  }
  start[vertexCount] = corners;
  // Appending advances each start to the next vertex's; shifting restores them.
  for (uint32_t c = 0; c < corners; ++c) adjacency.list[start[vertexIndices[c]]++] = c / 3;
  for (uint32_t v = vertexCount; v > 0; --v) start[v] = start[v - 1];
  start[0] = 0;
  return adjacency;
}

void releaseAdjacency(Adjacency& adjacency) {
  rukRelease(adjacency.start);
  rukRelease(adjacency.list);
}

float dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The first corner of triangle u that uses vertex v.
uint32_t cornerOf(const uint32_t* vertexIndices, uint32_t u, uint32_t v) {
  const uint32_t* corner = vertexIndices + 3 * static_cast<uint64_t>(u);
  return 3 * u + (corner[0] == v ? 0 : corner[1] == v ? 1 : 2);
}

// Makes room for one more normal, growing by half plus one. False when the
// buffer cannot grow.
bool reserveNormal(RukModel* model, uint32_t& capacity) {
  if (model->normalCount < capacity) return true;
  const uint64_t grown = uint64_t{capacity} * 3 / 2 + 1;
  const uint32_t bytes = byteSize(grown, 3 * sizeof(float));
  void* resized = bytes != 0 ? rukReallocate(model->normals, bytes) : nullptr;
  if (resized == nullptr) return false;
  model->normals = static_cast<float*>(resized);
  capacity = static_cast<uint32_t>(grown);
  return true;
}

}  // namespace

bool generateVertexNormals(RukModel* model, float angle, const float* vertices, const uint32_t* vertexIndices,
                           const float* faceNormals, int32_t* javaNormalCount) {
  (void)vertices;  // the face normals already carry what the vertices say
  if (model->type != MODEL_TRIANGLES) return true;

  if (model->primitiveCount >= 2) {
    // Every buffer below must be addressable with the allocator's sizes.
    if (byteSize(model->primitiveCount, 3 * sizeof(uint32_t)) == 0 ||
        byteSize(model->vertexCount, 3 * sizeof(float)) == 0 || vertexIndices == nullptr || faceNormals == nullptr) {
      return false;
    }
    const uint32_t corners = model->primitiveCount * 3;
    if (!indicesWithin(vertexIndices, corners, model->vertexCount)) return false;
    const float cosLimit = static_cast<float>(std::cos(static_cast<double>(angle)));

    releaseGeneratedNormals(model);
    model->normalIndices = rukAllocateArray<uint32_t>(corners);
    for (uint32_t c = 0; c < corners; ++c) model->normalIndices[c] = UNASSIGNED;
    uint32_t capacity = model->vertexCount;
    model->normals = rukAllocateArray<float>(capacity * 3);
    model->normalCount = 0;
    model->normalBinding = BINDING_PER_CORNER;

    Adjacency adjacency = buildAdjacency(vertexIndices, corners, model->vertexCount);
    for (uint32_t c = 0; c < corners; ++c) {
      if (model->normalIndices[c] != UNASSIGNED) continue;
      const uint32_t t = c / 3;
      const uint32_t v = vertexIndices[c];
      const float* own = faceNormals + 3 * uint64_t{t};
      model->normalIndices[c] = model->normalCount;
      float sum[3] = {own[0], own[1], own[2]};
      for (uint32_t i = adjacency.start[v]; i < adjacency.start[v + 1]; ++i) {
        const uint32_t u = adjacency.list[i];
        const float* other = faceNormals + 3 * uint64_t{u};
        if (u == t || !(dot(own, other) > cosLimit)) continue;
        model->normalIndices[cornerOf(vertexIndices, u, v)] = model->normalCount;
        sum[0] += other[0];
        sum[1] += other[1];
        sum[2] += other[2];
      }
      float unit[3];
      storeUnitOrX(sum, unit);
      if (!reserveNormal(model, capacity)) {
        // Without room for the normals the model keeps its face normals.
        releaseAdjacency(adjacency);
        releaseGeneratedNormals(model);
        model->normalCount = 0;
        model->normalBinding = BINDING_PER_PRIMITIVE;
        return false;
      }
      float* slot = model->normals + 3 * uint64_t{model->normalCount};
      slot[0] = unit[0];
      slot[1] = unit[1];
      slot[2] = unit[2];
      model->normalCount += 1;
    }
    releaseAdjacency(adjacency);
  }

  if (javaNormalCount != nullptr) *javaNormalCount = static_cast<int32_t>(model->normalCount);
  model->vertices = nullptr;
  model->vertexIndices = nullptr;
  model->faceNormals = nullptr;
  model->normalBinding = BINDING_PER_CORNER;
  return true;
}
