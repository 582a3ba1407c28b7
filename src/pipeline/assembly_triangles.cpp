// Triangle assembly: clipping to the view volume, then the fixed-point setup
// of each surviving triangle as a RasterPrimitive with two halves, split at
// the middle vertex's row.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"
#include "pipeline/clip_planes.h"
#include "raster/lanes.h"

namespace {

// Top, middle and bottom by screen y into corner[0..2]. Ties are broken by
// this fixed rule so that the same triangle always splits the same way.
inline void sortByHeight(const ScreenVertex& p0, const ScreenVertex& p1, const ScreenVertex& p2,
                         const ScreenVertex** corner) {
  const auto put = [corner](const ScreenVertex& top, const ScreenVertex& middle, const ScreenVertex& bottom) {
    corner[0] = &top;
    corner[1] = &middle;
    corner[2] = &bottom;
  };
  if (p0.y < p1.y && p0.y < p2.y) {
    if (p1.y < p2.y) return put(p0, p1, p2);
    return put(p0, p2, p1);
  }
  if (p2.y <= p1.y) {
    if (p0.y <= p1.y) return put(p2, p0, p1);
    return put(p2, p1, p0);
  }
  if (p2.y <= p0.y) return put(p1, p2, p0);
  return put(p1, p0, p2);
}

// Where a half's fields live in the record.
struct HalfFields {
  int32_t RasterPrimitive::*leftX;
  int32_t RasterPrimitive::*rightX;
  int32_t RasterPrimitive::*leftStep;
  int32_t RasterPrimitive::*rightStep;
  float RasterPrimitive::*prestep;
};
constexpr HalfFields UPPER_HALF{&RasterPrimitive::upperLeftX, &RasterPrimitive::upperRightX,
                                &RasterPrimitive::upperLeftStep, &RasterPrimitive::upperRightStep,
                                &RasterPrimitive::upperPrestep};
constexpr HalfFields LOWER_HALF{&RasterPrimitive::lowerLeftX, &RasterPrimitive::lowerRightX,
                                &RasterPrimitive::lowerLeftStep, &RasterPrimitive::lowerRightStep,
                                &RasterPrimitive::lowerPrestep};

// A pixel's sample point is its lower right corner: the rasterizers draw row
// r with the edges' x at y = r + 1 and a span covers the columns whose sample
// x lies in (leftX, rightX]. So the first row sampled below a 16.16 y is the
// next whole one, also when y is itself whole.
inline float firstSampleRow(int32_t fixedY) { return static_cast<float>((fixedY >> 16) + 1); }

// One edge in 16.16: its x at its first sample row and its change per row.
// Both follow from the edge's two ends alone (top first), computed alike in
// every triangle and half, so that the triangles on either side of a shared
// edge place it at the same x on every row and each pixel along it goes to
// exactly one of them.
struct EdgeWalk {
  int32_t x, step;
};

[[gnu::always_inline]] inline EdgeWalk walkEdge(int32_t topFixedY, float topY, float topX, float bottomY,
                                                float bottomX) {
  const float height = bottomY - topY;
  const float pre = firstSampleRow(topFixedY) - topY;
  const float rest = height - pre;
  const float x = topX + pre * ((bottomX - topX) / height);
  // With nothing left after the first sample row the step is never used.
  return {truncToInt(x * FIXED_ONE), rest != 0.0f ? truncToInt((bottomX - x) / rest * FIXED_ONE) : 0};
}

// The edge `rows` rows further down: the value the rasterizer's repeated
// addition of the step reaches, in the same wrapping 32-bit arithmetic.
inline EdgeWalk advance(const EdgeWalk& edge, int32_t rows) {
  const uint32_t moved = static_cast<uint32_t>(rows) * static_cast<uint32_t>(edge.step);
  return {static_cast<int32_t>(static_cast<uint32_t>(edge.x) + moved), edge.step};
}

// A half's fields: its left and right edges at its first sample row, and
// how far down its left edge that row lies (startY to endY).
[[gnu::always_inline]] inline void setupHalf(RasterPrimitive* primitive, const HalfFields& half, const EdgeWalk& left,
                                             const EdgeWalk& right, int32_t startFixedY, float startY, float endY) {
  primitive->*half.leftX = left.x;
  primitive->*half.rightX = right.x;
  primitive->*half.leftStep = left.step;
  primitive->*half.rightStep = right.step;
  primitive->*half.prestep = (firstSampleRow(startFixedY) - startY) / (endY - startY);
}

// Where the long edge meets the middle row, and which end of the middle row
// is the left one.
struct LongEdge {
  float t, oneMinusT;  // position of slot 3 along the long edge
  float inverseWidth;
  const RasterVertex* left;   // the left end of the middle row (slot 1 or 3)
  const RasterVertex* right;  // the other one
};

// Four fields at a time: the baseline's vector width, so that no vector is
// assembled through the stack.
using Fields = LaneF32<4>;
using FieldWords = LaneI32<4>;

// Four carried fields of a vertex as floats, from field `first` (z is 0).
inline Fields fieldsOf(const RasterVertex& vertex, uint32_t first) {
  FieldWords words;
  std::memcpy(&words, reinterpret_cast<const uint8_t*>(&vertex) + offsetof(RasterVertex, z) + first * 4, sizeof words);
  return __builtin_convertvector(words, Fields);
}

// truncToInt of four values: the processor's conversion gives 0x80000000
// for every value out of range, so large positive ones are set apart.
inline FieldWords truncToInt4(Fields value) {
  const FieldWords tooLarge = value >= 2147483648.0f;
  return select(tooLarge, FieldWords{} + INT32_MAX, truncateLanes(value));
}

// Slot 3 of four fields from field `first`, interpolated along the long
// edge, and their change per pixel along a row.
inline FieldWords spanFields(RasterVertex* slot, const LongEdge& edge, uint32_t first) {
  const Fields atMiddle = fieldsOf(slot[0], first) * edge.oneMinusT + fieldsOf(slot[2], first) * edge.t;
  const FieldWords middleWords = truncToInt4(atMiddle);
  std::memcpy(reinterpret_cast<uint8_t*>(&slot[3]) + offsetof(RasterVertex, z) + first * 4, &middleWords,
              sizeof middleWords);
  return truncToInt4((fieldsOf(*edge.right, first) - fieldsOf(*edge.left, first)) * edge.inverseWidth);
}

// Slot 3 and the per-pixel change of every carried field, all at once.
// Fields the primitive does not carry are zero at every corner and come out
// zero in slot 3 and in their gradients too.
[[gnu::always_inline]] inline void spanAllFields(RasterPrimitive* primitive, const LongEdge& edge) {
  static_assert(offsetof(RasterVertex, v) - offsetof(RasterVertex, z) == 10 * sizeof(int32_t));
  static_assert(offsetof(RasterPrimitive, dvdx) - offsetof(RasterPrimitive, dc0dx) == 9 * sizeof(int32_t));
  RasterVertex* slot = primitive->vertices;
  auto* gradients = reinterpret_cast<uint8_t*>(primitive) + offsetof(RasterPrimitive, dc0dx);
  // Fields z .. c2, a .. s2, then s2 .. v (s2 twice, the same both times).
  const FieldWords first = spanFields(slot, edge, 0);
  const FieldWords second = spanFields(slot, edge, 4);
  const FieldWords third = spanFields(slot, edge, 7);
  primitive->dzdx = first[0];
  primitive->dc0dx = first[1];
  primitive->dc1dx = first[2];
  primitive->dc2dx = first[3];
  std::memcpy(gradients + 3 * sizeof(int32_t), &second, sizeof second);
  std::memcpy(gradients + 6 * sizeof(int32_t), &third, sizeof third);
}

void setColorChannels(const AssemblyFrame& frame, uint32_t color, RasterVertex* slot) {
  slot->c0 = channel816(color, frame.redShift);
  slot->c1 = channel816(color, frame.greenShift);
  slot->c2 = channel816(color, frame.blueShift);
}

}  // namespace

// The setup of every triangle: on processors with AVX2 a copy compiled for
// them runs (picked once, when the library is loaded), the same arithmetic
// with wider registers and without the baseline's stack traffic.
#if defined(__x86_64__) && !defined(__clang__)
[[gnu::target_clones("default", "arch=x86-64-v3")]]
#endif
bool setupTriangle(RukContext* context, const AssemblyFrame& frame, const ScreenVertex& p0,
                   const ScreenVertex& p1, const ScreenVertex& p2) {
  if (!onScreen(frame, p0) || !onScreen(frame, p1) || !onScreen(frame, p2)) return false;
  const ScreenVertex* corner[3];
  sortByHeight(p0, p1, p2, corner);
  const ScreenVertex& top = *corner[0];
  const ScreenVertex& middle = *corner[1];
  const ScreenVertex& bottom = *corner[2];
  const int32_t topFixedY = truncToInt(top.y * FIXED_ONE);
  const int32_t middleFixedY = truncToInt(middle.y * FIXED_ONE);
  const int32_t bottomFixedY = truncToInt(bottom.y * FIXED_ONE);
  uint32_t halves = 0;
  if ((topFixedY >> 16) != (middleFixedY >> 16)) halves |= 1;
  if ((middleFixedY >> 16) != (bottomFixedY >> 16)) halves |= 2;
  if (halves == 0) return false;

  const float topY = top.y;
  const float middleY = middle.y;
  const float bottomY = bottom.y;
  const float xt = top.x;
  const float xm = middle.x;
  const float xb = bottom.x;
  const float t = (topY - middleY) / (topY - bottomY);
  const float xLong = (1.0f - t) * xt + t * xb;
  const bool longEdgeLeft = xLong < xm;
  const float width = longEdgeLeft ? xm - xLong : xLong - xm;
  if (width < 0.01f) return false;

  // Fields the flags do not call for stay zero, so that a routine that
  // carries a quantity the primitive lacks adds nothing with it.
  RasterPrimitive* primitive = takeQueueRecord(context->rasterState);
  primitive->kind = RP_TRIANGLE;
  primitive->halves = halves;
  RasterVertex* slot = primitive->vertices;
  slot[0].y = topFixedY;
  slot[1].y = middleFixedY;
  slot[2].y = bottomFixedY;
  slot[3].y = middleFixedY;
  slot[0].x = truncToInt(xt * FIXED_ONE);
  slot[1].x = truncToInt(xm * FIXED_ONE);
  slot[2].x = truncToInt(xb * FIXED_ONE);
  slot[3].x = truncToInt(xLong * FIXED_ONE);

  const LongEdge edge{t, 1.0f - t, 1.0f / width, longEdgeLeft ? &slot[3] : &slot[1],
                      longEdgeLeft ? &slot[1] : &slot[3]};
  const uint32_t pipelineFlags = frame.pipelineFlags;
  uint32_t flags = RF_DEPTH_TEST | RF_DEPTH_WRITE;

  if (pipelineFlags & (RF_DEPTH_TEST | RF_DEPTH_WRITE)) {
    for (int k = 0; k < 3; ++k) slot[k].z = truncToInt(corner[k]->depth);
  }

  if (p0.color == p1.color && p1.color == p2.color) {
    for (int k = 0; k < 3; ++k) setColorChannels(frame, p0.color, &slot[k]);
  } else {
    for (int k = 0; k < 3; ++k) setColorChannels(frame, corner[k]->color, &slot[k]);
    flags |= RF_SMOOTH;
  }

  if (((p0.color & p1.color & p2.color) >> 24) != 0xFFu) {
    for (int k = 0; k < 3; ++k) slot[k].a = static_cast<int32_t>((corner[k]->color >> 24) << 16);
    flags |= RF_BLEND;
  }

  if (pipelineFlags & RF_TEXTURE) {
    for (int k = 0; k < 3; ++k) {
      slot[k].u = truncToInt(corner[k]->u * FIXED_ONE);
      slot[k].v = truncToInt(corner[k]->v * FIXED_ONE);
    }
    flags |= RF_TEXTURE;
  }

  if (pipelineFlags & RF_SPECULAR) {
    if (frame.separateSpecular) {
      for (int k = 0; k < 3; ++k) {
        slot[k].s0 = channel816(corner[k]->specular, frame.redShift);
        slot[k].s1 = channel816(corner[k]->specular, frame.greenShift);
        slot[k].s2 = channel816(corner[k]->specular, frame.blueShift);
      }
      flags |= RF_SPECULAR;
    } else {
      for (int k = 0; k < 3; ++k) addSpecular(frame, corner[k]->specular, &slot[k]);
    }
    flags |= RF_SMOOTH;
  }

  if (pipelineFlags & RF_FOG) {
    if (frame.perPixelFog) {
      for (int k = 0; k < 3; ++k) slot[k].f = static_cast<int32_t>((corner[k]->specular >> 24) << 16);
      flags |= RF_FOG;
    } else {
      for (int k = 0; k < 3; ++k) mixFog(frame, corner[k]->specular >> 24, &slot[k]);
    }
    flags |= RF_SMOOTH;
  }

  // The halves' edges come between writing the corner fields and reading
  // them back as vectors: by then those stores have left the store buffer,
  // and the vector reads need not wait for them.
  const EdgeWalk longEdge = walkEdge(topFixedY, topY, xt, bottomY, xb);
  if (halves & 1) {
    const EdgeWalk shortEdge = walkEdge(topFixedY, topY, xt, middleY, xm);
    setupHalf(primitive, UPPER_HALF, longEdgeLeft ? longEdge : shortEdge, longEdgeLeft ? shortEdge : longEdge,
              topFixedY, topY, middleY);
  }
  if (halves & 2) {
    // The long edge carries on from the rows above the middle vertex's.
    const EdgeWalk longBelow = advance(longEdge, (middleFixedY >> 16) - (topFixedY >> 16));
    const EdgeWalk shortEdge = walkEdge(middleFixedY, middleY, xm, bottomY, xb);
    setupHalf(primitive, LOWER_HALF, longEdgeLeft ? longBelow : shortEdge, longEdgeLeft ? shortEdge : longBelow,
              middleFixedY, middleY, bottomY);
  }
  spanAllFields(primitive, edge);
  if ((flags & RF_SMOOTH) == 0) {
    // One colour: slot 3 repeats it exactly and nothing changes along a row.
    slot[3].c0 = slot[0].c0;
    slot[3].c1 = slot[0].c1;
    slot[3].c2 = slot[0].c2;
    primitive->dc0dx = primitive->dc1dx = primitive->dc2dx = 0;
  }
  primitive->flags = flags;
  return commitQueueRecord(context->rasterState);
}

namespace {

// Clips an entry that crosses the view volume into the current clip buffer;
// gives the vertex count of the result (below 3 when nothing remains).
uint32_t clipEntry(RukContext* context, const BatchEntry& entry, uint32_t pipelineFlags) {
  std::copy_n(entry.corners, 3, context->clipBufferA);
  context->clipCurrent = context->clipBufferA;
  uint32_t count = 3;
  uint32_t clipOr = entry.clipOr;
  if (clipOr & CLIP_NEAR) {
    count = clipPolygon(context, count, CLIP_NEAR, pipelineFlags);
    // Codes were not computed past the near bit; the polygon now lies beyond
    // the near plane, so the remaining planes are found afresh.
    clipOr = 0;
    for (uint32_t i = 0; i < count; ++i) {
      BatchVertex& v = context->clipCurrent[i];
      v.clipCode = computeClipCode(context, v.x, v.y, v.z, v.w);
      clipOr |= v.clipCode;
    }
  }
  static constexpr uint32_t PLANE_ORDER[] = {CLIP_FAR, CLIP_LEFT, CLIP_RIGHT, CLIP_TOP, CLIP_BOTTOM};
  for (uint32_t plane : PLANE_ORDER) {
    if (count < 3) return count;
    if (clipOr & plane) count = clipPolygon(context, count, plane, pipelineFlags);
  }
  return count;
}

}  // namespace

bool assembleTriangles(RukContext* context, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  const uint32_t entries = std::min(context->batchCount, context->batchCapacity);
  for (; cursor->entry < entries; ++cursor->entry, cursor->part = 0) {
    const BatchEntry& entry = context->batch[cursor->entry];
    if (entry.clipAnd != 0) continue;
    if (entry.clipOr == 0) {
      if (cursor->part == 0 &&
          setupTriangle(context, frame, mapToScreen(frame, entry.corners[0]), mapToScreen(frame, entry.corners[1]),
                        mapToScreen(frame, entry.corners[2]))) {
        cursor->part = 1;
        return false;
      }
      continue;
    }
    // Clipping is repeated when a fan goes on after the queue was drawn: it
    // gives the same polygon again.
    const uint32_t count = clipEntry(context, entry, frame.pipelineFlags);
    if (count < 3) continue;
    // A fan around the polygon's first vertex.
    const BatchVertex* polygon = context->clipCurrent;
    for (uint32_t k = 0; k + 2 < count; ++k) {
      BatchEntry& fan = context->fanTriangles[k];
      fan.corners[0] = polygon[0];
      fan.corners[1] = polygon[k + 1];
      fan.corners[2] = polygon[k + 2];
      fan.primitiveIndex = entry.primitiveIndex;
      fan.facing = entry.facing;
      fan.clipOr = 0;
      fan.clipAnd = 0;
    }
    for (uint32_t k = cursor->part; k + 2 < count; ++k) {
      const BatchEntry& fan = context->fanTriangles[k];
      if (setupTriangle(context, frame, mapToScreen(frame, fan.corners[0]), mapToScreen(frame, fan.corners[1]),
                        mapToScreen(frame, fan.corners[2]))) {
        cursor->part = k + 1;
        return false;
      }
    }
  }
  return true;
}
