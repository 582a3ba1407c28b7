// The fixed-point setup of triangles, a lane per triangle: dropping those
// with a corner off the image, the corners' carried fields under the render
// call's rules, sorting the corners by height, the 16.16 rows and columns,
// the halves, the edges with their presteps, the long edge's point at the
// middle row and every gradient, for as many triangles at once as this
// copy's vectors hold. Every value is computed by the same single-precision
// operations, in the same order, as one triangle at a time would (no
// contraction into fused multiply-adds), so each lane gives exactly the
// fields of the scalar formulas. The lanes then go into each queued record
// one triangle at a time.
#include <cstddef>
#include <cstring>
#include <utility>

#include "device/product_table.h"
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
using U = LaneU32<N>;

constexpr float FIXED_ONE = 65536.0f;  // 16.16

// Conversion toward zero into 32 bits, saturating: a value at or beyond 2^31
// gives INT32_MAX; one at or below -2^31, or not a number, INT32_MIN.
inline I truncToIntLanes(F value) {
  const I tooLarge = value >= 2147483648.0f;
  return tooLarge ? I{} + INT32_MAX : truncateLanes(value);
}

inline F floatsOf(I words) { return __builtin_convertvector(words, F); }

template <class V>
inline V lanesAt(const void* at) {
  V lanes;
  std::memcpy(&lanes, at, sizeof lanes);
  return lanes;
}

template <class V>
inline void put(void* out, V lanes) {
  static_assert(sizeof(lanes) == N * 4);
  std::memcpy(out, &lanes, sizeof lanes);
}

// ---- The carried fields of the corners --------------------------------------

// The carried quantities in record order, from RasterVertex::z on.
enum Quantity : uint32_t { Q_Z, Q_C0, Q_C1, Q_C2, Q_A, Q_S0, Q_S1, Q_S2, Q_F, Q_U, Q_V, QUANTITY_COUNT };
constexpr uint32_t bit(Quantity q) { return 1u << q; }
constexpr uint32_t COLOUR = bit(Q_C0) | bit(Q_C1) | bit(Q_C2);

static_assert(offsetof(RasterVertex, v) - offsetof(RasterVertex, z) == (QUANTITY_COUNT - 1) * sizeof(int32_t));
static_assert(offsetof(RasterPrimitive, dvdx) - offsetof(RasterPrimitive, dc0dx) == 9 * sizeof(int32_t));

// The quantities a render call's triangles may carry; the others stay zero in
// every record. Alpha is added where a group of triangles has a translucent
// corner.
constexpr uint32_t callQuantities(const CornerRules& rules) {
  const uint32_t flags = rules.pipelineFlags;
  uint32_t carried = COLOUR;
  if (flags & (RF_DEPTH_TEST | RF_DEPTH_WRITE)) carried |= bit(Q_Z);
  if (flags & RF_TEXTURE) carried |= bit(Q_U) | bit(Q_V);
  if ((flags & RF_SPECULAR) && rules.separateSpecular) carried |= bit(Q_S0) | bit(Q_S1) | bit(Q_S2);
  if ((flags & RF_FOG) && rules.perPixelFog) carried |= bit(Q_F);
  return carried;
}

// The corners of a group of triangles: each quantity at corners 0, 1, 2 in
// batch order, the primitives' RF_ bits and which lanes lie on the image.
struct Corners {
  I q[QUANTITY_COUNT][3];
  I flags;
  I onImage;
  uint32_t carried;  // the quantities set
};

// An 8.16 channel of colour words at a word shift.
inline I channelLanes(U words, uint32_t shift) { return bitsOf<I>(((words >> shift) & 0xFFu) << 16); }

// Mixes an 8.16 channel towards the fog colour's channel by fog amounts
// 0..255: P[channel][255 - f] + P[fog][f].
inline I foggedLanes(I channel, uint32_t fog, U amount) {
  const U intensity = bitsOf<U>(channel) >> 16;  // 0..255: channels never exceed 0xFF0000
  const U kept = tableByteLanes(productTable8, (intensity << 8) | (255u - amount));
  const U added = tableByteLanes(productTable8, (fog << 8) | amount);
  return bitsOf<I>((kept + added) << 16);
}

Corners cornersOf(const CornerRules& rules, const TriangleBatch& batch, uint32_t first) {
  const uint32_t flags = rules.pipelineFlags;
  const ChannelShifts& shifts = rules.shifts;
  Corners c;
  c.carried = callQuantities(rules);
  U colour[3];
  I onImage = ~I{};
  for (uint32_t k = 0; k < 3; ++k) {
    const F x = lanesAt<F>(batch.x[k] + first), y = lanesAt<F>(batch.y[k] + first);
    onImage &= (x >= 0.0f) & (x < rules.limitX) & (y >= 0.0f) & (y < rules.limitY);
    colour[k] = lanesAt<U>(batch.color[k] + first);
    c.q[Q_Z][k] =
        (flags & (RF_DEPTH_TEST | RF_DEPTH_WRITE)) ? truncToIntLanes(lanesAt<F>(batch.depth[k] + first)) : I{};
    c.q[Q_C0][k] = channelLanes(colour[k], shifts.red);
    c.q[Q_C1][k] = channelLanes(colour[k], shifts.green);
    c.q[Q_C2][k] = channelLanes(colour[k], shifts.blue);
    c.q[Q_A][k] = bitsOf<I>((colour[k] >> 24) << 16);
    if (flags & RF_TEXTURE) {
      c.q[Q_U][k] = truncToIntLanes(lanesAt<F>(batch.u[k] + first) * FIXED_ONE);
      c.q[Q_V][k] = truncToIntLanes(lanesAt<F>(batch.v[k] + first) * FIXED_ONE);
    }
    if ((flags & (RF_SPECULAR | RF_FOG)) == 0) continue;
    const U specular = lanesAt<U>(batch.specular[k] + first);
    if ((flags & RF_SPECULAR) && rules.separateSpecular) {
      c.q[Q_S0][k] = channelLanes(specular, shifts.red);
      c.q[Q_S1][k] = channelLanes(specular, shifts.green);
      c.q[Q_S2][k] = channelLanes(specular, shifts.blue);
    } else if (flags & RF_SPECULAR) {
      for (uint32_t i = 0; i < 3; ++i) {
        const uint32_t shift = i == 0 ? shifts.red : (i == 1 ? shifts.green : shifts.blue);
        const I sum = c.q[Q_C0 + i][k] + channelLanes(specular, shift);
        c.q[Q_C0 + i][k] = sum > 0xFF0000 ? I{} + 0xFF0000 : sum;
      }
    }
    if ((flags & RF_FOG) && rules.perPixelFog) {
      c.q[Q_F][k] = bitsOf<I>((specular >> 24) << 16);
    } else if (flags & RF_FOG) {
      const U amount = specular >> 24;
      c.q[Q_C0][k] = foggedLanes(c.q[Q_C0][k], rules.fogRed, amount);
      c.q[Q_C1][k] = foggedLanes(c.q[Q_C1][k], rules.fogGreen, amount);
      c.q[Q_C2][k] = foggedLanes(c.q[Q_C2][k], rules.fogBlue, amount);
    }
  }
  c.onImage = onImage;

  const I smooth = bitsOf<I>((colour[0] != colour[1]) | (colour[1] != colour[2]));
  const I translucent = bitsOf<I>(((colour[0] & colour[1] & colour[2]) >> 24) != 0xFFu);
  I primitiveFlags =
      (I{} + static_cast<int32_t>(RF_DEPTH_TEST | RF_DEPTH_WRITE)) | (smooth & RF_SMOOTH) | (translucent & RF_BLEND);
  if (flags & RF_TEXTURE) primitiveFlags |= static_cast<int32_t>(RF_TEXTURE);
  if (flags & RF_SPECULAR)
    primitiveFlags |= static_cast<int32_t>(RF_SMOOTH | (rules.separateSpecular ? RF_SPECULAR : 0));
  if (flags & RF_FOG) primitiveFlags |= static_cast<int32_t>(RF_SMOOTH | (rules.perPixelFog ? RF_FOG : 0));
  c.flags = primitiveFlags;
  if (anyLane(translucent)) {
    c.carried |= bit(Q_A);
    // Opaque triangles carry no alpha.
    for (uint32_t k = 0; k < 3; ++k) c.q[Q_A][k] &= translucent;
  }
  return c;
}

// ---- Geometry ---------------------------------------------------------------

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
template <class V>
inline V pick(I index, V v0, V v1, V v2) {
  return index == 0 ? v0 : (index == 1 ? v1 : v2);
}

// What the lanes give each triangle, ready to be copied into its record.
struct Lanes {
  uint32_t carried;   // the quantities set in slot and gradient
  int32_t halves[N];  // 0: not queued
  int32_t flags[N];
  int32_t fixedX[4][N], fixedY[3][N];  // slots 0 .. 3 (slot 3 takes slot 1's y)
  struct Half {
    int32_t leftX[N], rightX[N], leftStep[N], rightStep[N];
    float prestep[N];
  } upper, lower;
  int32_t slot[4][QUANTITY_COUNT][N];  // each slot's carried quantities
  int32_t gradient[QUANTITY_COUNT][N];
};

// A half's edges, the long one on the left where the mask is set, and how
// far down its left edge its first sample row lies.
inline void putHalf(Lanes::Half* half, I longEdgeLeft, const EdgeWalk& longEdge, const EdgeWalk& shortEdge, F prestep) {
  put(half->leftX, longEdgeLeft ? longEdge.x : shortEdge.x);
  put(half->rightX, longEdgeLeft ? shortEdge.x : longEdge.x);
  put(half->leftStep, longEdgeLeft ? longEdge.step : shortEdge.step);
  put(half->rightStep, longEdgeLeft ? shortEdge.step : longEdge.step);
  put(half->prestep, prestep);
}

// Triangles first .. first + N - 1 into lanes.
void setupLanes(const CornerRules& rules, const TriangleBatch& batch, uint32_t first, Lanes* out) {
  const Corners corners = cornersOf(rules, batch, first);
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
  const F inverseWidth = 1.0f / width;
  const I queued = corners.onImage & (halves != 0) & ~(width < 0.01f) &
                   (bitsOf<I>(laneIndexes<U>()) < static_cast<int32_t>(batch.count - first));
  put(out->halves, queued ? halves : I{});
  put(out->flags, corners.flags);
  put(out->fixedY[0], topFixedY);
  put(out->fixedY[1], middleFixedY);
  put(out->fixedY[2], bottomFixedY);
  put(out->fixedX[0], truncToIntLanes(xt * FIXED_ONE));
  put(out->fixedX[1], truncToIntLanes(xm * FIXED_ONE));
  put(out->fixedX[2], truncToIntLanes(xb * FIXED_ONE));
  put(out->fixedX[3], truncToIntLanes(xLong * FIXED_ONE));

  // The long edge's lower half carries on from its rows above the middle
  // vertex's, by the rasterizer's repeated wrapping addition of the step.
  const EdgeWalk longEdge = walkEdge(topFixedY, topY, xt, bottomY, xb);
  const EdgeWalk upperShort = walkEdge(topFixedY, topY, xt, middleY, xm);
  const EdgeWalk lowerShort = walkEdge(middleFixedY, middleY, xm, bottomY, xb);
  const U rows = bitsOf<U>((middleFixedY >> 16) - (topFixedY >> 16));
  const I longBelowX = bitsOf<I>(bitsOf<U>(longEdge.x) + rows * bitsOf<U>(longEdge.step));
  putHalf(&out->upper, longEdgeLeft, longEdge, upperShort, (firstSampleRow(topFixedY) - topY) / (middleY - topY));
  putHalf(&out->lower, longEdgeLeft, {longBelowX, longEdge.step}, lowerShort,
          (firstSampleRow(middleFixedY) - middleY) / (bottomY - middleY));

  // Each carried quantity at the three corners in height order, at the long
  // edge's point on the middle row (interpolated from the top and bottom
  // values as floats) and its change per pixel along a row (from the middle
  // row's two ends). A triangle of one colour repeats it in slot 3 and
  // changes it by nothing along a row.
  out->carried = corners.carried;
  const I flat = (corners.flags & RF_SMOOTH) == 0;
  for (uint32_t q = 0; q < QUANTITY_COUNT; ++q) {
    if ((corners.carried & (1u << q)) == 0) continue;
    const I* at = corners.q[q];
    const I top = pick(topIndex, at[0], at[1], at[2]);
    const I middle = pick(middleIndex, at[0], at[1], at[2]);
    const I bottom = pick(bottomIndex, at[0], at[1], at[2]);
    I atLongEdge = truncToIntLanes(floatsOf(top) * oneMinusT + floatsOf(bottom) * t);
    const F longEnd = floatsOf(atLongEdge), shortEnd = floatsOf(middle);
    I gradient = truncToIntLanes((longEdgeLeft ? shortEnd - longEnd : longEnd - shortEnd) * inverseWidth);
    if ((COLOUR & (1u << q)) != 0) {
      atLongEdge = flat ? top : atLongEdge;
      gradient = flat ? I{} : gradient;
    }
    put(out->slot[0][q], top);
    put(out->slot[1][q], middle);
    put(out->slot[2][q], bottom);
    put(out->slot[3][q], atLongEdge);
    put(out->gradient[q], gradient);
  }
}

// ---- Records ----------------------------------------------------------------

inline int32_t* quantityIn(RasterVertex* vertex, uint32_t q) { return &vertex->z + q; }

inline int32_t* gradientIn(RasterPrimitive* primitive, uint32_t q) {
  return q == Q_Z ? &primitive->dzdx : &primitive->dc0dx + (q - 1);
}

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

inline void copyHalf(RasterPrimitive* primitive, const HalfFields& fields, const Lanes::Half& half, uint32_t i) {
  primitive->*fields.leftX = half.leftX[i];
  primitive->*fields.rightX = half.rightX[i];
  primitive->*fields.leftStep = half.leftStep[i];
  primitive->*fields.rightStep = half.rightStep[i];
  primitive->*fields.prestep = half.prestep[i];
}

// Copies quantity q of lane i into the four slots and its gradient;
// straight-line, so a constant q leaves only the stores.
[[gnu::always_inline]] inline void copyQuantity(RasterPrimitive* primitive, const Lanes& lanes, uint32_t i,
                                                uint32_t q) {
  *quantityIn(&primitive->vertices[0], q) = lanes.slot[0][q][i];
  *quantityIn(&primitive->vertices[1], q) = lanes.slot[1][q][i];
  *quantityIn(&primitive->vertices[2], q) = lanes.slot[2][q][i];
  *quantityIn(&primitive->vertices[3], q) = lanes.slot[3][q][i];
  *gradientIn(primitive, q) = lanes.gradient[q][i];
}

template <uint32_t Carried, uint32_t... Q>
inline void copyCarried(RasterPrimitive* primitive, const Lanes& lanes, uint32_t i,
                        std::integer_sequence<uint32_t, Q...>) {
  ((((Carried >> Q) & 1) != 0 ? copyQuantity(primitive, lanes, i, Q) : void()), ...);
}

// Copies the quantities in Carried of lane i, unrolled; the record's other
// quantities stay zero. Carried 0 copies those named in `carried` instead.
template <uint32_t Carried>
inline void copyQuantities(RasterPrimitive* primitive, const Lanes& lanes, uint32_t i, uint32_t carried) {
  if constexpr (Carried != 0) {
    copyCarried<Carried>(primitive, lanes, i, std::make_integer_sequence<uint32_t, QUANTITY_COUNT>{});
  } else {
    for (; carried != 0; carried &= carried - 1) {
      copyQuantity(primitive, lanes, i, static_cast<uint32_t>(__builtin_ctz(carried)));
    }
  }
}

// Queues lane i as a record.
template <uint32_t Carried>
inline void queueTriangle(RasterState* state, const Lanes& lanes, uint32_t i, uint32_t carried) {
  RasterPrimitive* primitive = takeQueueRecord(state);
  RasterVertex* slot = primitive->vertices;
  slot[0].x = lanes.fixedX[0][i];
  slot[1].x = lanes.fixedX[1][i];
  slot[2].x = lanes.fixedX[2][i];
  slot[3].x = lanes.fixedX[3][i];
  slot[0].y = lanes.fixedY[0][i];
  slot[1].y = lanes.fixedY[1][i];
  slot[2].y = lanes.fixedY[2][i];
  slot[3].y = lanes.fixedY[1][i];
  copyQuantities<Carried>(primitive, lanes, i, carried);
  primitive->kind = RP_TRIANGLE;
  const uint32_t halves = static_cast<uint32_t>(lanes.halves[i]);
  primitive->halves = halves;
  if (halves & 1) copyHalf(primitive, UPPER_HALF, lanes.upper, i);
  if (halves & 2) copyHalf(primitive, LOWER_HALF, lanes.lower, i);
  primitive->flags = static_cast<uint32_t>(lanes.flags[i]);
}

template <uint32_t Carried>
inline bool queueLanes(RasterState* state, const Lanes& lanes, uint32_t count, uint32_t carried) {
  bool full = false;
  for (uint32_t i = 0; i < count; ++i) {
    if (lanes.halves[i] == 0) continue;
    queueTriangle<Carried>(state, lanes, i, carried);
    full = commitQueueRecord(state);
  }
  return full;
}

}  // namespace

bool setupTriangleBatch(RasterState* state, const CornerRules* rules, const TriangleBatch* batch) {
  bool full = false;
  Lanes lanes;
  for (uint32_t first = 0; first < batch->count; first += N) {
    setupLanes(*rules, *batch, first, &lanes);
    const uint32_t count = batch->count - first < N ? batch->count - first : N;
    // The usual sets of quantities get copying loops of their own.
    if (lanes.carried == (COLOUR | bit(Q_Z))) {
      full = queueLanes<COLOUR | bit(Q_Z)>(state, lanes, count, lanes.carried);
    } else if (lanes.carried == COLOUR) {
      full = queueLanes<COLOUR>(state, lanes, count, lanes.carried);
    } else {
      full = queueLanes<0>(state, lanes, count, lanes.carried);
    }
  }
  return full;
}

}  // namespace KELRUK_ISA
