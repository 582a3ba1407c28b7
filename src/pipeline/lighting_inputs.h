// Where the lighting passes take each corner's normal and colour from.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/model.h"
#include "pipeline/lighting.h"

// The normal of corners that have none of their own: towards the viewer of
// an unmoved model.
inline constexpr float DEFAULT_NORMAL[3] = {0.0f, 0.0f, 1.0f};

// The normal and colour arrays of one packet, resolved once per pass. A
// binding whose arrays are missing counts as absent: per-corner normals
// fall back to the face normals, and those to DEFAULT_NORMAL.
struct LightingInputs {
  const float* cornerNormals;  // with cornerNormalIndices, or null
  const uint32_t* cornerNormalIndices;
  const float* faceNormals;  // or null
  const uint32_t* colors;    // or null
  bool colorPerCorner;
  const float* vertices;
  const uint32_t* vertexIndices;
};

inline LightingInputs lightingInputsOf(const ModelPacket* packet) {
  LightingInputs in{};
  if (packet->normalBinding == BINDING_PER_CORNER && packet->normals != nullptr && packet->normalIndices != nullptr) {
    in.cornerNormals = packet->normals;
    in.cornerNormalIndices = packet->normalIndices;
  }
  if (packet->normalBinding != BINDING_NONE) in.faceNormals = packet->faceNormals;
  if (packet->colorBinding == BINDING_PER_PRIMITIVE || packet->colorBinding == BINDING_PER_CORNER) {
    in.colors = packet->colors;
    in.colorPerCorner = packet->colorBinding == BINDING_PER_CORNER;
  }
  in.vertices = packet->vertices;
  in.vertexIndices = packet->vertexIndices;
  return in;
}

inline const float* cornerNormal(const LightingInputs& in, uint32_t primitive, size_t corner) {
  if (in.cornerNormals != nullptr) return in.cornerNormals + 3 * size_t{in.cornerNormalIndices[corner]};
  if (in.faceNormals != nullptr) return in.faceNormals + 3 * size_t{primitive};
  return DEFAULT_NORMAL;
}

inline uint32_t cornerColor(const LightingInputs& in, uint32_t primitive, size_t corner) {
  return in.colorPerCorner ? in.colors[corner] : in.colors[primitive];
}

inline const float* cornerPosition(const LightingInputs& in, size_t corner) {
  return in.vertices + 3 * size_t{in.vertexIndices[corner]};
}

// The material colour that a model's own colours replace (ATTR_COLOR_MATERIAL
// 0 emission, 1 ambient, 2 diffuse, 3 specular); null for other values.
inline uint32_t* substitutedColor(RukMaterial* material, uint32_t which) {
  switch (which) {
    case 0: return &material->emission;
    case 1: return &material->ambient;
    case 2: return &material->diffuse;
    case 3: return &material->specular;
    default: return nullptr;
  }
}
