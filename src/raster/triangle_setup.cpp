// The fixed-point setup of triangles, a lane per triangle: sorting the
// corners by height, the 16.16 rows and columns, the halves, the edges with
// their presteps, and the long edge's point at the middle row, for as many
// triangles at once as this copy's vectors hold. Every value is computed by
// the same single-precision operations, in the same order, as one triangle
// at a time would (no contraction into fused multiply-adds), so each lane
// gives exactly the fields of the scalar formulas. The fields of the corners
// then go into each queued record one triangle at a time.
#include <cstddef>
#include <cstring>

#include "raster/lanes.h"
#include "raster/raster_queue.h"
#include "raster/raster_tables.h"
#include "raster/triangle_batch.h"

inline namespace KELRUK_ISA {

namespace {

constexpr uint32_t N = nativeLanes;
static_assert(TRIANGLE_BATCH_SIZE % N == 0);
using F = LaneF32<N>;
using I = LaneI32<N>;

constexpr float FIXED_ONE = 65536.0f;  // 16.16

// Conversion toward zero into 32 bits, saturating: a value at or beyond 2^31
// gives INT32_MAX; one at or below -2^31, or not a number, INT32_MIN.
template <class Floats>
inline auto truncToIntLanes(Floats value) {
  using Words = LaneI32<laneCountOf<Floats>>;
  const Words tooLarge = value >= 2147483648.0f;
  return tooLarge ? Words{} + INT32_MAX : truncateLanes(value);
}

// A pixel's sample point is its lower right corner: row r is drawn with the
// edges' x at y = r + 1, so the first row sampled below a 16.16 y is the
// next whole one, also when y is itself whole.
inline F firstSampleRow(I fixedY) { return __builtin_convertvector((fixedY >> 16) + 1, F); }

// An edge in 16.16 from its two ends alone (top first): its x at its first
// sample row and its change per row. Every triangle and half computes an
// edge alike, so triangles sharing it place it at the same x on every row.
struct EdgeWalk {
  I x, step;
};

inline EdgeWalk walkEdge(I topFixedY, F topY, F topX, F bottomY, F bottomX) {
  const F height = bottomY - topY;
  const F pre = firstSampleRow(topFixedY) - topY;
  const F rest = height - pre;
  const F x = topX + pre * ((bottomX - topX) / height);
  // With nothing left after the first sample row the step is never used.
  const I step = truncToIntLanes((bottomX - x) / rest * FIXED_ONE);
  return {truncToIntLanes(x * FIXED_ONE), rest != 0.0f ? step : I{}};
}

// corner k's value where index is k.
inline F pick(I index, F v0, F v1, F v2) { return index == 0 ? v0 : (index == 1 ? v1 : v2); }

// What the lanes give each triangle: where its corners go and the fields
// that do not come from the corners' carried quantities.
struct Geometry {
  int32_t top[N], middle[N], bottom[N];  // batch corners in slots 0, 1, 2
  int32_t fixedY[3][N], fixedX[4][N];    // slots 0 .. 3
  int32_t halves[N];                     // 0: not queued
  int32_t longEdgeLeft[N];
  float t[N], oneMinusT[N], inverseWidth[N];
  struct Half {
    int32_t leftX[N], rightX[N], leftStep[N], rightStep[N];
    float prestep[N];
  } upper, lower;
};

template <class V>
inline void put(auto* out, V lanes) {
  static_assert(sizeof(lanes) == N * 4);
  std::memcpy(out, &lanes, sizeof lanes);
}

template <class V>
inline V lanesAt(const float* at) {
  V lanes;
  std::memcpy(&lanes, at, sizeof lanes);
  return lanes;
}

// A half's edges, the long one on the left where the mask is set, and how
// far down its left edge its first sample row lies.
inline void putHalf(Geometry::Half* half, I longEdgeLeft, const EdgeWalk& longEdge, const EdgeWalk& shortEdge,
                    F prestep) {
  put(half->leftX, longEdgeLeft ? longEdge.x : shortEdge.x);
  put(half->rightX, longEdgeLeft ? shortEdge.x : longEdge.x);
  put(half->leftStep, longEdgeLeft ? longEdge.step : shortEdge.step);
  put(half->rightStep, longEdgeLeft ? shortEdge.step : longEdge.step);
  put(half->prestep, prestep);
}

// The geometry of triangles first .. first + N - 1.
void setupGeometry(const TriangleBatch& batch, uint32_t first, Geometry* g) {
  const F x0 = lanesAt<F>(batch.x[0] + first), x1 = lanesAt<F>(batch.x[1] + first);
  const F x2 = lanesAt<F>(batch.x[2] + first);
  const F y0 = lanesAt<F>(batch.y[0] + first), y1 = lanesAt<F>(batch.y[1] + first);
  const F y2 = lanesAt<F>(batch.y[2] + first);

  // Top, middle and bottom by y, ties broken by one fixed rule so that the
  // same triangle always splits the same way.
  const I zeroFirst = (y0 < y1) & (y0 < y2);
  const I oneBeforeTwo = y1 < y2;
  const I zeroNotBelowOne = y0 <= y1;
  const I twoNotBelowZero = y2 <= y0;
  const I topIndex = zeroFirst ? I{} : (oneBeforeTwo ? I{} + 1 : I{} + 2);
  const I middleIndex = zeroFirst
                            ? (oneBeforeTwo ? I{} + 1 : I{} + 2)
                            : (oneBeforeTwo ? (twoNotBelowZero ? I{} + 2 : I{}) : (zeroNotBelowOne ? I{} : I{} + 1));
  const I bottomIndex = (I{} + 3) - topIndex - middleIndex;
  put(g->top, topIndex);
  put(g->middle, middleIndex);
  put(g->bottom, bottomIndex);

  const F topY = pick(topIndex, y0, y1, y2), middleY = pick(middleIndex, y0, y1, y2);
  const F bottomY = pick(bottomIndex, y0, y1, y2);
  const F xt = pick(topIndex, x0, x1, x2), xm = pick(middleIndex, x0, x1, x2), xb = pick(bottomIndex, x0, x1, x2);
  const I topFixedY = truncToIntLanes(topY * FIXED_ONE);
  const I middleFixedY = truncToIntLanes(middleY * FIXED_ONE);
  const I bottomFixedY = truncToIntLanes(bottomY * FIXED_ONE);
  const I halves =
      (((topFixedY >> 16) != (middleFixedY >> 16)) & 1) | (((middleFixedY >> 16) != (bottomFixedY >> 16)) & 2);

  const F t = (topY - middleY) / (topY - bottomY);
  const F oneMinusT = 1.0f - t;
  const F xLong = oneMinusT * xt + t * xb;
  const I longEdgeLeft = xLong < xm;
  const F width = longEdgeLeft ? xm - xLong : xLong - xm;
  const I queued = (halves != 0) & ~(width < 0.01f) &
                   (bitsOf<I>(laneIndexes<LaneU32<N>>()) < static_cast<int32_t>(batch.count - first));
  put(g->halves, queued ? halves : I{});
  put(g->longEdgeLeft, longEdgeLeft);
  put(g->t, t);
  put(g->oneMinusT, oneMinusT);
  put(g->inverseWidth, 1.0f / width);
  put(g->fixedY[0], topFixedY);
  put(g->fixedY[1], middleFixedY);
  put(g->fixedY[2], bottomFixedY);
  put(g->fixedX[0], truncToIntLanes(xt * FIXED_ONE));
  put(g->fixedX[1], truncToIntLanes(xm * FIXED_ONE));
  put(g->fixedX[2], truncToIntLanes(xb * FIXED_ONE));
  put(g->fixedX[3], truncToIntLanes(xLong * FIXED_ONE));

  // The long edge's lower half carries on from its rows above the middle
  // vertex's, by the rasterizer's repeated wrapping addition of the step.
  const EdgeWalk longEdge = walkEdge(topFixedY, topY, xt, bottomY, xb);
  const EdgeWalk upperShort = walkEdge(topFixedY, topY, xt, middleY, xm);
  const EdgeWalk lowerShort = walkEdge(middleFixedY, middleY, xm, bottomY, xb);
  const LaneU32<N> rows = bitsOf<LaneU32<N>>((middleFixedY >> 16) - (topFixedY >> 16));
  const I longBelowX = bitsOf<I>(bitsOf<LaneU32<N>>(longEdge.x) + rows * bitsOf<LaneU32<N>>(longEdge.step));
  putHalf(&g->upper, longEdgeLeft, longEdge, upperShort, (firstSampleRow(topFixedY) - topY) / (middleY - topY));
  putHalf(&g->lower, longEdgeLeft, {longBelowX, longEdge.step}, lowerShort,
          (firstSampleRow(middleFixedY) - middleY) / (bottomY - middleY));
}

// ---- The carried fields of one triangle -------------------------------------

// Where the long edge meets the middle row, and which end of the middle row
// is the left one. The corners are read where assembly put them: reading
// them back from the record just written would wait for those stores.
struct LongEdge {
  float t, oneMinusT;  // position of slot 3 along the long edge
  float inverseWidth;
  bool longEdgeLeft;  // slot 3 is the middle row's left end, else slot 1
  const RasterVertex *top, *middle, *bottom;
};

// Four fields at a time: no narrower vector holds them, and a triangle has
// eleven.
using Fields = LaneF32<4>;
using FieldWords = LaneI32<4>;

// Four carried fields of a vertex as floats, from field `first` (z is 0).
inline Fields fieldsOf(const RasterVertex& vertex, uint32_t first) {
  FieldWords words;
  std::memcpy(&words, reinterpret_cast<const uint8_t*>(&vertex) + offsetof(RasterVertex, z) + first * 4, sizeof words);
  return __builtin_convertvector(words, Fields);
}

// Slot 3 of four fields from field `first`, interpolated along the long
// edge, and their change per pixel along a row.
inline FieldWords spanFields(RasterVertex* slot3, const LongEdge& edge, uint32_t first) {
  const Fields atMiddle = fieldsOf(*edge.top, first) * edge.oneMinusT + fieldsOf(*edge.bottom, first) * edge.t;
  const FieldWords middleWords = truncToIntLanes(atMiddle);
  std::memcpy(reinterpret_cast<uint8_t*>(slot3) + offsetof(RasterVertex, z) + first * 4, &middleWords,
              sizeof middleWords);
  const Fields longEnd = __builtin_convertvector(middleWords, Fields);
  const Fields shortEnd = fieldsOf(*edge.middle, first);
  return truncToIntLanes((edge.longEdgeLeft ? shortEnd - longEnd : longEnd - shortEnd) * edge.inverseWidth);
}

// Slot 3 and the per-pixel change of every carried field. Fields the
// primitive does not carry are zero at every corner and come out zero in
// slot 3 and in their gradients too, so a primitive with depth and colour
// alone leaves the rest as the record was taken: zero.
inline void spanAllFields(RasterPrimitive* primitive, const LongEdge& edge, uint32_t flags) {
  static_assert(offsetof(RasterVertex, v) - offsetof(RasterVertex, z) == 10 * sizeof(int32_t));
  static_assert(offsetof(RasterPrimitive, dvdx) - offsetof(RasterPrimitive, dc0dx) == 9 * sizeof(int32_t));
  RasterVertex* slot3 = &primitive->vertices[3];
  auto* gradients = reinterpret_cast<uint8_t*>(primitive) + offsetof(RasterPrimitive, dc0dx);
  // Fields z .. c2, a .. s2, then s2 .. v (s2 twice, the same both times).
  const FieldWords first = spanFields(slot3, edge, 0);
  primitive->dzdx = first[0];
  primitive->dc0dx = first[1];
  primitive->dc1dx = first[2];
  primitive->dc2dx = first[3];
  if ((flags & (RF_BLEND | RF_SPECULAR | RF_FOG | RF_TEXTURE)) == 0) return;
  const FieldWords second = spanFields(slot3, edge, 4);
  const FieldWords third = spanFields(slot3, edge, 7);
  std::memcpy(gradients + 3 * sizeof(int32_t), &second, sizeof second);
  std::memcpy(gradients + 6 * sizeof(int32_t), &third, sizeof third);
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

inline void copyHalf(RasterPrimitive* primitive, const HalfFields& fields, const Geometry::Half& half, uint32_t i) {
  primitive->*fields.leftX = half.leftX[i];
  primitive->*fields.rightX = half.rightX[i];
  primitive->*fields.leftStep = half.leftStep[i];
  primitive->*fields.rightStep = half.rightStep[i];
  primitive->*fields.prestep = half.prestep[i];
}

// Queues lane i of the geometry as a record.
inline void queueTriangle(RasterState* state, const TriangleBatch& batch, uint32_t index, const Geometry& g,
                          uint32_t i) {
  RasterPrimitive* primitive = takeQueueRecord(state);
  RasterVertex* slot = primitive->vertices;
  const RasterVertex* corners = batch.corners[index];
  const RasterVertex* top = &corners[g.top[i]];
  const RasterVertex* middle = &corners[g.middle[i]];
  const RasterVertex* bottom = &corners[g.bottom[i]];
  std::memcpy(&slot[0], top, sizeof(RasterVertex));
  std::memcpy(&slot[1], middle, sizeof(RasterVertex));
  std::memcpy(&slot[2], bottom, sizeof(RasterVertex));
  for (uint32_t k = 0; k < 4; ++k) slot[k].x = g.fixedX[k][i];
  for (uint32_t k = 0; k < 3; ++k) slot[k].y = g.fixedY[k][i];
  slot[3].y = g.fixedY[1][i];
  primitive->kind = RP_TRIANGLE;
  const uint32_t halves = static_cast<uint32_t>(g.halves[i]);
  primitive->halves = halves;
  if (halves & 1) copyHalf(primitive, UPPER_HALF, g.upper, i);
  if (halves & 2) copyHalf(primitive, LOWER_HALF, g.lower, i);
  const uint32_t flags = batch.flags[index];
  spanAllFields(primitive, {g.t[i], g.oneMinusT[i], g.inverseWidth[i], g.longEdgeLeft[i] != 0, top, middle, bottom},
                flags);
  if ((flags & RF_SMOOTH) == 0) {
    // One colour: slot 3 repeats it exactly and nothing changes along a row.
    slot[3].c0 = slot[0].c0;
    slot[3].c1 = slot[0].c1;
    slot[3].c2 = slot[0].c2;
    primitive->dc0dx = primitive->dc1dx = primitive->dc2dx = 0;
  }
  primitive->flags = flags;
}

}  // namespace

bool setupTriangleBatch(RasterState* state, const TriangleBatch* batch) {
  bool full = false;
  Geometry geometry;
  for (uint32_t first = 0; first < batch->count; first += N) {
    setupGeometry(*batch, first, &geometry);
    const uint32_t lanes = batch->count - first < N ? batch->count - first : N;
    for (uint32_t i = 0; i < lanes; ++i) {
      if (geometry.halves[i] == 0) continue;
      queueTriangle(state, *batch, first + i, geometry, i);
      full = commitQueueRecord(state);
    }
  }
  return full;
}

}  // namespace KELRUK_ISA
