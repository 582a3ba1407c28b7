#include "pipeline/clip_planes.h"

#include <algorithm>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"

float crossingParameter(const ClipView& view, uint32_t plane, const BatchVertex& p, const BatchVertex& c) {
  const float dx = c.x - p.x;
  const float dy = c.y - p.y;
  const float dz = c.z - p.z;
  if (plane == CLIP_NEAR) return (view.nearZ - p.z) / dz;
  if (plane == CLIP_FAR) return (view.farZ - p.z) / dz;
  if (!view.perspective) {
    switch (plane) {
      case CLIP_TOP: return (view.yLimit - p.y) / dy;
      case CLIP_BOTTOM: return (-view.yLimit - p.y) / dy;
      case CLIP_LEFT: return (-view.xLimit - p.x) / dx;
      default: return (view.xLimit - p.x) / dx;
    }
  }
  switch (plane) {
    case CLIP_TOP: return (p.y - p.z * view.yLimit) / (dz * view.yLimit - dy);
    case CLIP_BOTTOM: return (p.z * view.yLimit + p.y) / (-dz * view.yLimit - dy);
    case CLIP_LEFT: return (p.z * view.xLimit + p.x) / (-dz * view.xLimit - dx);
    default: return (p.x - p.z * view.xLimit) / (dz * view.xLimit - dx);
  }
}

uint32_t interpolateColorWord(uint32_t p, uint32_t c, float t, float bias) {
  uint32_t word = 0;
  for (uint32_t shift = 0; shift < 32; shift += 8) {
    const float from = static_cast<float>((p >> shift) & 0xFFu);
    const float to = static_cast<float>((c >> shift) & 0xFFu);
    // A crossing slightly outside 0..1 (rounding) must not wrap a byte.
    const int32_t value = std::clamp(truncToInt(from * (1.0f - t) + to * t + bias), 0, 255);
    word |= static_cast<uint32_t>(value) << shift;
  }
  return word;
}
