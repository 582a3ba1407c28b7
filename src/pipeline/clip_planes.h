// The six planes of the view volume as the clippers see them.
//
// Under perspective the side planes pass through the eye: x = +-xLimit*z and
// y = +-yLimit*z. Under orthographic projection (w = 1) they are the fixed
// planes x = +-xLimit and y = +-yLimit, which is what the clip codes already
// test there; crossings and the plane coordinate of a new vertex follow the
// same planes, and a new vertex gets w = 1.
#pragma once
#include <cstdint>

#include "context/context.h"
#include "pipeline/batch.h"

struct ClipView {
  float nearZ, farZ, xLimit, yLimit;
  bool perspective;
};

inline ClipView clipViewOf(const RukContext* context) {
  return {context->nearZ, context->farZ, context->xLimit, context->yLimit, context->perspective != 0};
}

inline bool outsidePlane(const ClipView& view, uint32_t plane, const BatchVertex& p) {
  switch (plane) {
    case CLIP_NEAR: return p.z < view.nearZ;
    case CLIP_FAR: return p.z > view.farZ;
    case CLIP_TOP: return view.yLimit < p.w * p.y;
    case CLIP_BOTTOM: return p.w * p.y < -view.yLimit;
    case CLIP_LEFT: return p.w * p.x < -view.xLimit;
    case CLIP_RIGHT: return view.xLimit < p.w * p.x;
    default: return false;
  }
}

// The parameter t at which the segment from p to c meets the plane.
float crossingParameter(const ClipView& view, uint32_t plane, const BatchVertex& p, const BatchVertex& c);

// The w of a vertex at depth z.
inline float clipW(const ClipView& view, float z) { return view.perspective ? 1.0f / z : 1.0f; }

// Interpolates each byte of two colour words at t, adding `bias` (0.5 rounds,
// 0 truncates) before the conversion toward zero.
uint32_t interpolateColorWord(uint32_t p, uint32_t c, float t, float bias);

inline float lerp(float p, float c, float t) { return p * (1.0f - t) + c * t; }
