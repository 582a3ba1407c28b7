// The native record of a KELRendModel. The mesh's arrays stay in Java arrays
// owned by the Java side; the record keeps the kind, bindings, counts and
// bounds, and owns the generated vertex normals until they are copied back.
// Render calls and picks read a ModelPacket, which has this same layout: its
// first ten words come from the record, the rest from the Java object.
#pragma once
#include <cstdint>
#include <type_traits>

inline constexpr uint32_t MODEL_POINTS = 0;
inline constexpr uint32_t MODEL_LINES = 1;
inline constexpr uint32_t MODEL_TRIANGLES = 2;

inline constexpr uint32_t BINDING_NONE = 0;
inline constexpr uint32_t BINDING_PER_PRIMITIVE = 1;  // colours: one per primitive; normals: face normals
inline constexpr uint32_t BINDING_PER_CORNER = 2;

struct RukModel {
  uint32_t type;             // MODEL_POINTS, MODEL_LINES or MODEL_TRIANGLES
  uint32_t colorBinding;     // 0 none, 1 per primitive, 2 per corner
  uint32_t normalBinding;    // 0 none, 1 face normals, 2 per-corner normals through normal indices
  uint32_t texCoordBinding;  // nonzero: per-corner texture coordinates
  float boundsCentre[3];
  float boundsHalf[3];
  uint32_t primitiveCount;
  uint32_t vertexCount;
  uint32_t normalCount;
  uint32_t texCoordCount;
  float* vertices;            // x, y, z per vertex; set only during a native call
  float* normals;             // record: generated normals awaiting copy-back; packet: the Java normals or null
  float* texCoords;           // packet only: u, v per entry or null
  float* faceNormals;         // x, y, z per primitive
  uint32_t* vertexIndices;    // one per corner
  uint32_t* colors;           // packet only: per primitive or per corner, or null
  uint32_t* normalIndices;    // record: generated indices awaiting copy-back; packet: Java indices or null
  uint32_t* texCoordIndices;  // packet only
};

// Corners per primitive of a model type: 3 triangles, 2 lines, 1 points.
inline uint32_t cornersPerPrimitive(uint32_t type) { return type == MODEL_TRIANGLES ? 3 : type == MODEL_LINES ? 2 : 1; }

// Calls f(std::integral_constant<uint32_t, n>{}) for a count n of corners
// per primitive (3, 2 or 1), so that loops over a primitive's corners unroll.
template <class F>
inline void withCornerCount(uint32_t corners, F&& f) {
  if (corners == 3) return f(std::integral_constant<uint32_t, 3>{});
  if (corners == 2) return f(std::integral_constant<uint32_t, 2>{});
  f(std::integral_constant<uint32_t, 1>{});
}

// The record's type for a Java primitiveKind: 0 triangles, 1 lines, any
// other value points.
inline uint32_t modelTypeOfKind(int32_t primitiveKind) {
  return primitiveKind == 0 ? MODEL_TRIANGLES : primitiveKind == 1 ? MODEL_LINES : MODEL_POINTS;
}

// The record's colour binding for a Java colorBinding: 1 and 2 as they are,
// anything else none.
inline uint32_t colorBindingOf(int32_t javaColorBinding) {
  return javaColorBinding == 1 || javaColorBinding == 2 ? static_cast<uint32_t>(javaColorBinding) : BINDING_NONE;
}

// Creates the record from the Java fields (primitiveKind 0 triangles, 1 lines,
// other points; Java normalBinding 2 and texCoordBinding 2 mean per corner)
// and computes its bounds from `vertices`.
RukModel* createModel(int32_t primitiveKind, uint32_t primitiveCount, uint32_t vertexCount, int32_t javaNormalBinding,
                      uint32_t normalCount, int32_t javaColorBinding, int32_t javaTexCoordBinding,
                      uint32_t texCoordCount, const float* vertices);

// Fills `faceNormalsOut` (3 floats per primitive) for a triangle model; sets
// the normal binding to 1 if it was 0. False when an index is out of range.
bool generateFaceNormals(RukModel* model, const float* vertices, const uint32_t* vertexIndices, float* faceNormalsOut);

// Computes crease-angle vertex normals into the record's own buffers and
// stores their count in *javaNormalCount. False when growing the buffer fails
// or an index is out of range.
bool generateVertexNormals(RukModel* model, float angle, const float* vertices, const uint32_t* vertexIndices,
                           const float* faceNormals, int32_t* javaNormalCount);

// Copies the generated normals and indices into the Java arrays and releases
// them; with javaNormalCount 0 switches the model to its face normals, and
// with a negative count copies nothing. The Java normals array is taken to
// hold javaNormalCount normals and the index array javaIndexRoom indices;
// nothing past either is written.
void copyVertexNormals(RukModel* model, int32_t javaNormalCount, float* javaNormals, uint32_t* javaNormalIndices,
                       uint64_t javaIndexRoom);
// The same with room for an index per corner of the record's triangles.
inline void copyVertexNormals(RukModel* model, int32_t javaNormalCount, float* javaNormals,
                              uint32_t* javaNormalIndices) {
  copyVertexNormals(model, javaNormalCount, javaNormals, javaNormalIndices, uint64_t{model->primitiveCount} * 3);
}

void destroyModel(RukModel* model);
