// Records of the geometry pipeline: the model packet a render call works on,
// the batch of up to 128 transformed primitives and the per-call vertex cache.
#pragma once
#include <cstdint>

#include "model/model.h"

// Built by the binding layer for each render call or pick: the first ten
// words from the RukModel, the rest from the Java object.
using ModelPacket = RukModel;

// Clip code bits of a vertex.
inline constexpr uint32_t CLIP_NEAR = 1;  // when set, no other bit is computed
inline constexpr uint32_t CLIP_FAR = 2;
inline constexpr uint32_t CLIP_TOP = 4;
inline constexpr uint32_t CLIP_BOTTOM = 8;
inline constexpr uint32_t CLIP_LEFT = 16;
inline constexpr uint32_t CLIP_RIGHT = 32;

inline constexpr uint32_t BATCH_CAPACITY = 128;
inline constexpr uint32_t VERTEX_CACHE_SIZE = 1024;
inline constexpr uint32_t VERTEX_CACHE_EMPTY = 0xFFFFFFFFu;

// One transformed corner.
struct BatchVertex {
  float x, y, z;      // eye space; z is the depth in front of the eye
  float u, v;         // texture coordinates after the texture matrix (textured triangles)
  float w;            // 1/z under perspective (1e15 when z is 0), 1 under orthographic
  uint32_t color;     // lit colour word, alpha in bits 24-31
  uint32_t specular;  // specular colour in bits 0-23, fog amount in bits 24-31
  uint32_t clipCode;
};

inline constexpr uint32_t FACING_BACK = 1;         // back-facing
inline constexpr uint32_t FACING_LIT_AS_BACK = 2;  // lit with the reversed normal

struct BatchEntry {
  BatchVertex corners[3];  // the first 1, 2 or 3 are used
  uint32_t primitiveIndex;
  uint32_t facing;
  uint32_t clipOr;
  uint32_t clipAnd;  // nonzero: wholly outside one boundary
};

struct VertexCacheEntry {
  uint32_t tag;            // vertex index held, VERTEX_CACHE_EMPTY when none
  const float* normalRef;  // normal the lit colours were computed with; null = not lit
  uint32_t inColor;        // colour value the lit colours were computed from
  float x, y, z, w;
  uint32_t clipCode;
  uint32_t litColor, litSpecular;
};
