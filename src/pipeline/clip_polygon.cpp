// Sutherland-Hodgman clipping of the current clip polygon against one plane.
#include "pipeline/assembly.h"
#include "pipeline/clip_planes.h"
#include "raster/raster.h"

namespace {

constexpr uint32_t CLIP_BUFFER_SIZE = 9;

// The vertex where the edge from p to c crosses the plane.
BatchVertex crossing(const ClipView& view, uint32_t plane, const BatchVertex& p, const BatchVertex& c,
                     uint32_t pipelineFlags) {
  const float t = crossingParameter(view, plane, p, c);
  BatchVertex n = p;
  n.x = lerp(p.x, c.x, t);
  n.y = lerp(p.y, c.y, t);
  n.z = lerp(p.z, c.z, t);
  // The coordinate the plane fixes; under perspective it follows the new z.
  const float scale = view.perspective ? n.z : 1.0f;
  switch (plane) {
    case CLIP_NEAR: n.z = view.nearZ; break;
    case CLIP_FAR: n.z = view.farZ; break;
    case CLIP_TOP: n.y = scale * view.yLimit; break;
    case CLIP_BOTTOM: n.y = -scale * view.yLimit; break;
    case CLIP_LEFT: n.x = -scale * view.xLimit; break;
    default: n.x = scale * view.xLimit; break;
  }
  n.w = clipW(view, n.z);
  if (pipelineFlags & (RF_SMOOTH | RF_BLEND)) n.color = interpolateColorWord(p.color, c.color, t, 0.5f);
  if (pipelineFlags & RF_TEXTURE) {
    n.u = lerp(p.u, c.u, t);
    n.v = lerp(p.v, c.v, t);
  }
  if (pipelineFlags & (RF_SPECULAR | RF_FOG)) {
    n.specular = interpolateColorWord(p.specular, c.specular, t, 0.5f);
  }
  n.clipCode = 0;
  return n;
}

}  // namespace

uint32_t clipPolygon(RukContext* context, uint32_t vertexCount, uint32_t planeBit, uint32_t pipelineFlags) {
  BatchVertex* input = context->clipCurrent == context->clipBufferB ? context->clipBufferB : context->clipBufferA;
  BatchVertex* output = input == context->clipBufferA ? context->clipBufferB : context->clipBufferA;
  context->clipCurrent = output;
  if (vertexCount > CLIP_BUFFER_SIZE) vertexCount = CLIP_BUFFER_SIZE;
  if (vertexCount == 0) return 0;

  const ClipView view = clipViewOf(context);
  uint32_t count = 0;
  const BatchVertex* prev = &input[vertexCount - 1];
  bool prevOutside = outsidePlane(view, planeBit, *prev);
  for (uint32_t i = 0; i < vertexCount; ++i) {
    const BatchVertex* cur = &input[i];
    const bool curOutside = outsidePlane(view, planeBit, *cur);
    // A convex polygon gains at most one vertex per plane; the bound keeps a
    // polygon bent by rounding inside the buffer all the same.
    if (!prevOutside && count < CLIP_BUFFER_SIZE) output[count++] = *prev;
    if (prevOutside != curOutside && count < CLIP_BUFFER_SIZE) {
      output[count++] = crossing(view, planeBit, *prev, *cur, pipelineFlags);
    }
    prev = cur;
    prevOutside = curOutside;
  }
  return count;
}
