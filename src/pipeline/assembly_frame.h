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

inline float screenX(const AssemblyFrame& frame, const BatchVertex& vertex) {
  return frame.halfWidth + vertex.w * vertex.x * frame.scaleX;
}
inline float screenY(const AssemblyFrame& frame, const BatchVertex& vertex) {
  return frame.halfHeight - vertex.w * vertex.y * frame.scaleY;
}
template <bool Perspective>
inline float screenDepthAs(const AssemblyFrame& frame, const BatchVertex& vertex) {
  if constexpr (Perspective) return (frame.depthScale - vertex.w * frame.depthOffset) * DEPTH_RANGE;
  return (vertex.z - frame.nearZ) * frame.depthPerUnit;
}
inline float screenDepth(const AssemblyFrame& frame, const BatchVertex& vertex) {
  return frame.perspective ? screenDepthAs<true>(frame, vertex) : screenDepthAs<false>(frame, vertex);
}

inline ScreenVertex mapToScreen(const AssemblyFrame& frame, const BatchVertex& vertex) {
  return ScreenVertex{screenX(frame, vertex), screenY(frame, vertex), screenDepth(frame, vertex), vertex.u, vertex.v,
                      vertex.color,           vertex.specular};
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

// Which of a corner's optional fields a render call's triangles read.
inline bool stagesTexture(uint32_t flags) { return (flags & RF_TEXTURE) != 0; }
inline bool stagesSpecular(uint32_t flags) { return (flags & (RF_SPECULAR | RF_FOG)) != 0; }

// Stores corner k of the batch's triangle i at (x, y) with `depth`, and the
// fields of `source` (a ScreenVertex or a BatchVertex) that the call reads:
// texture coordinates where textured, the specular word where specular.
// Inlined with constant modes, it tests nothing per corner.
template <class Source>
[[gnu::always_inline]] inline void stageCorner(TriangleBatch* batch, uint32_t k, uint32_t i, float x, float y,
                                               float depth, const Source& source, bool textured, bool specular) {
  batch->x[k][i] = x;
  batch->y[k][i] = y;
  batch->depth[k][i] = depth;
  batch->color[k][i] = source.color;
  if (textured) {
    batch->u[k][i] = source.u;
    batch->v[k][i] = source.v;
  }
  if (specular) batch->specular[k][i] = source.specular;
}

// Adds a screen-space triangle (p0, p1, p2 in batch order) to the batch. The
// batch must have room. Its setup drops it when a corner lies outside the
// image.
inline void stageTriangle(const AssemblyFrame& frame, TriangleBatch* batch, const ScreenVertex& p0,
                          const ScreenVertex& p1, const ScreenVertex& p2) {
  const uint32_t flags = frame.rules.pipelineFlags;
  const bool textured = stagesTexture(flags), specular = stagesSpecular(flags);
  const ScreenVertex* corner[3] = {&p0, &p1, &p2};
  const uint32_t i = batch->count;
  for (uint32_t k = 0; k < 3; ++k)
    stageCorner(batch, k, i, corner[k]->x, corner[k]->y, corner[k]->depth, *corner[k], textured, specular);
  batch->count = i + 1;
}

// What a render call stages of each corner besides its position and colour,
// fixed for its whole assembly so that staging tests nothing per corner.
template <bool Perspective, bool Textured, bool Specular>
struct StagingMode {
  static constexpr bool perspective = Perspective;
  static constexpr bool textured = Textured;  // RF_TEXTURE: texture coordinates
  static constexpr bool specular = Specular;  // RF_SPECULAR or RF_FOG: the specular word
};

template <class Mode>
inline void stageCornerAs(const AssemblyFrame& frame, TriangleBatch* batch, uint32_t k, uint32_t i,
                          const BatchVertex& v) {
  stageCorner(batch, k, i, screenX(frame, v), screenY(frame, v), screenDepthAs<Mode::perspective>(frame, v), v,
              Mode::textured, Mode::specular);
}

// Adds a batch entry's triangle, its corners mapped to the screen, staged
// as the call's mode says (the same fields stageTriangle stores).
template <class Mode>
inline void stageTriangleAs(const AssemblyFrame& frame, TriangleBatch* batch, const BatchEntry& triangle) {
  const uint32_t i = batch->count;
  stageCornerAs<Mode>(frame, batch, 0, i, triangle.corners[0]);
  stageCornerAs<Mode>(frame, batch, 1, i, triangle.corners[1]);
  stageCornerAs<Mode>(frame, batch, 2, i, triangle.corners[2]);
  batch->count = i + 1;
}

// Sets up one screen-space triangle (p0, p1, p2 in batch order) and queues
// it, unless it covers no row, is narrower than 0.01 pixel or lies outside
// the image. True when the queue is full afterwards.
bool setupTriangle(RukContext* context, const AssemblyFrame& frame, const ScreenVertex& p0, const ScreenVertex& p1,
                   const ScreenVertex& p2);
