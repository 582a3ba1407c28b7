// Ray picking: the nearest front-facing triangle a model-space ray hits.
#pragma once
#include <cstdint>

#include "pipeline/batch.h"
#include "runtime/status.h"

struct RukContext;

inline constexpr uint32_t PICK_POINT = 1;
inline constexpr uint32_t PICK_NORMAL = 2;
inline constexpr uint32_t PICK_TEXCOORDS = 4;

struct RukHitRecord {
  float point[3];
  float normal[3];
  float u, v;
  uint32_t primitive;
  float distance;  // in: the maximum distance; out: the nearest hit's ray parameter
  uint32_t request;
};

// 0 with *hitCount 0 or 1; 501 for point and line models; 500 for a bad type.
RukStatus pickModel(RukContext* context, const ModelPacket* packet, const float* origin, const float* direction,
                    uint32_t* hitCount, RukHitRecord* hit);
