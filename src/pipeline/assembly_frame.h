// What the assembly routines share: the per-call screen mapping, the
// screen-space form of a batch vertex, colour-channel helpers and the queue.
//
// Screen mapping (single precision): x = halfWidth + w*x*scaleX and
// y = halfHeight - w*y*scaleY, where the scales map the view volume's limits
// onto width - 0.1 and height - 0.1 pixels, so that a vertex exactly on a side
// plane lands 0.05 pixel inside the image. Depth is 0 at the near plane and
// 2^30 at the far plane: under perspective (depthScale - w*depthOffset)*2^30,
// under orthographic projection, where w is 1 and that formula would give
// every vertex the same depth, (z - near)/(far - near)*2^30 instead.
#pragma once
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "context/context.h"
#include "pipeline/batch.h"
#include "raster/raster.h"
#include "raster/raster_queue.h"
#include "raster/triangle_batch.h"

// Conversion toward zero into 32 bits; values beyond the range (and NaN)
// saturate instead of being undefined.
inline int32_t truncToInt(float value) {
  if (value > -2147483648.0f && value < 2147483648.0f) return static_cast<int32_t>(value);
  return value > 0.0f ? INT32_MAX : INT32_MIN;
}

inline constexpr float FIXED_ONE = 65536.0f;         // 16.16
inline constexpr float DEPTH_RANGE = 1073741824.0f;  // 2^30

// A batch vertex mapped to the screen.
struct ScreenVertex {
  float x, y;   // pixels; rows grow downwards
  float depth;  // 0 at the near plane, 2^30 at the far plane
  float u, v;
  uint32_t color;     // lit colour word, alpha in bits 24-31
  uint32_t specular;  // specular colour, fog amount in bits 24-31
};

// Everything an assembly call needs from the context, computed once per call:
// the screen mapping, and the rules by which corners become fixed-point
// fields (the same for triangles, lines and points).
struct AssemblyFrame {
  float halfWidth, halfHeight;
  float scaleX, scaleY;
  float depthScale, depthOffset;  // perspective
  float nearZ, depthPerUnit;      // orthographic
  bool perspective;
  CornerRules rules;
};

AssemblyFrame makeAssemblyFrame(const RukContext* context, uint32_t pipelineFlags);

// What the scan converters draw into, taken from the context for a flush.
RasterTarget makeRasterTarget(const RukContext* context);

inline ScreenVertex mapToScreen(const AssemblyFrame& frame, const BatchVertex& vertex) {
  ScreenVertex out;
  out.x = frame.halfWidth + vertex.w * vertex.x * frame.scaleX;
  out.y = frame.halfHeight - vertex.w * vertex.y * frame.scaleY;
  out.depth = frame.perspective ? (frame.depthScale - vertex.w * frame.depthOffset) * DEPTH_RANGE
                                : (vertex.z - frame.nearZ) * frame.depthPerUnit;
  out.u = vertex.u;
  out.v = vertex.v;
  out.color = vertex.color;
  out.specular = vertex.specular;
  return out;
}

inline bool onScreen(const AssemblyFrame& frame, const ScreenVertex& vertex) {
  return vertex.x >= 0.0f && vertex.x < frame.rules.limitX && vertex.y >= 0.0f && vertex.y < frame.rules.limitY;
}

// The 8.16 channel of a colour word at a word shift.
inline int32_t channel816(uint32_t word, uint32_t shift) {
  return static_cast<int32_t>(((word >> shift) & 0xFFu) << 16);
}

// Fills the position, depth, colour and alpha of a point or line slot, with
// the specular colour added and the fog mixed in per vertex when the call
// asks for them.
void fillPerVertexSlot(const AssemblyFrame& frame, const ScreenVertex& vertex, RasterVertex* slot);

// The three 8.16 channels of a colour word (colour or specular).
template <class Shifts>
inline void setChannels(const Shifts& shifts, uint32_t word, int32_t& red, int32_t& green, int32_t& blue) {
  red = channel816(word, shifts.red);
  green = channel816(word, shifts.green);
  blue = channel816(word, shifts.blue);
}

// Adds a specular colour word to the slot's colour, each channel clamped at
// 0xFF0000. Inline: lit models call it for every corner of every triangle.
template <class Shifts>
inline void addSpecular(const Shifts& shifts, uint32_t specular, RasterVertex* slot) {
  slot->c0 = std::min(slot->c0 + channel816(specular, shifts.red), 0xFF0000);
  slot->c1 = std::min(slot->c1 + channel816(specular, shifts.green), 0xFF0000);
  slot->c2 = std::min(slot->c2 + channel816(specular, shifts.blue), 0xFF0000);
}
inline void addSpecular(const AssemblyFrame& frame, uint32_t specular, RasterVertex* slot) {
  addSpecular(frame.rules.shifts, specular, slot);
}
// Mixes the slot's colour towards the fog colour by a fog amount 0..255.
void mixFog(const AssemblyFrame& frame, uint32_t fogAmount, RasterVertex* slot);

// An empty batch whose lanes hold numbers.
inline void clearTriangleBatch(TriangleBatch* batch) {
  batch->count = 0;
  for (auto* corners : {batch->x, batch->y, batch->depth, batch->u, batch->v}) {
    for (int k = 0; k < 3; ++k) std::fill(std::begin(corners[k]), std::end(corners[k]), 0.0f);
  }
  for (auto* corners : {batch->color, batch->specular}) {
    for (int k = 0; k < 3; ++k) std::fill(std::begin(corners[k]), std::end(corners[k]), 0u);
  }
}

// Adds a screen-space triangle (p0, p1, p2 in batch order) to the batch,
// with the fields the call's flags read. The batch must have room. Its setup
// drops it when a corner lies outside the image.
inline void stageTriangle(const AssemblyFrame& frame, TriangleBatch* batch, const ScreenVertex& p0,
                          const ScreenVertex& p1, const ScreenVertex& p2) {
  const uint32_t i = batch->count++;
  const uint32_t flags = frame.rules.pipelineFlags;
  const ScreenVertex* corner[3] = {&p0, &p1, &p2};
  for (int k = 0; k < 3; ++k) {
    batch->x[k][i] = corner[k]->x;
    batch->y[k][i] = corner[k]->y;
    batch->depth[k][i] = corner[k]->depth;
    batch->color[k][i] = corner[k]->color;
    if (flags & RF_TEXTURE) {
      batch->u[k][i] = corner[k]->u;
      batch->v[k][i] = corner[k]->v;
    }
    if (flags & (RF_SPECULAR | RF_FOG)) batch->specular[k][i] = corner[k]->specular;
  }
}

// Sets up one screen-space triangle (p0, p1, p2 in batch order) and queues
// it, unless it covers no row, is narrower than 0.01 pixel or lies outside
// the image. True when the queue is full afterwards.
bool setupTriangle(RukContext* context, const AssemblyFrame& frame, const ScreenVertex& p0, const ScreenVertex& p1,
                   const ScreenVertex& p2);
