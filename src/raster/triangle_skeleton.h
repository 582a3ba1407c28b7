// The one skeleton from which every triangle routine is generated: template
// arguments are the pixel target (format) and the TriangleVariant (depth mode
// and colour-step features), so each combination is its own routine and
// nothing is tested per row or per pixel.
//
// A routine draws one half of a triangle. Each carried quantity q has a value
// qRow at the start of a row and a per-pixel gradient dq; at the k-th pixel of
// the row its value is qRow + k * dq in wrapping 32-bit arithmetic. Spans use
// that to shade eight pixels per step, with results identical to the
// pixel-by-pixel definition; a span's last pixels go as one partial block,
// or one at a time at the right edge of the image.
//
// Only sources compiled for x86-64-v3 include this header.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "device/product_table.h"
#include "raster/intensity.h"
#include "raster/pixel_targets.h"
#include "raster/raster.h"
#include "raster/simd8.h"
#include "raster/triangle_variants.h"

namespace triangle_detail {

enum Quantity : uint32_t { Q_Z, Q_C0, Q_C1, Q_C2, Q_A, Q_S0, Q_S1, Q_S2, Q_F, Q_U, Q_V, QUANTITY_COUNT };

inline constexpr int32_t RasterPrimitive::* quantityGradient[QUANTITY_COUNT] = {
    &RasterPrimitive::dzdx,  &RasterPrimitive::dc0dx, &RasterPrimitive::dc1dx, &RasterPrimitive::dc2dx,
    &RasterPrimitive::dadx,  &RasterPrimitive::ds0dx, &RasterPrimitive::ds1dx, &RasterPrimitive::ds2dx,
    &RasterPrimitive::dfdx,  &RasterPrimitive::dudx,  &RasterPrimitive::dvdx};

constexpr uint32_t bit(Quantity q) { return 1u << q; }

// The quantities a variant interpolates.
constexpr uint32_t carriedQuantities(const TriangleVariant& v) {
  uint32_t mask = 0;
  if (v.carriesDepth()) mask |= bit(Q_Z);
  if (v.interpolated) mask |= bit(Q_C0) | bit(Q_C1) | bit(Q_C2);
  if (v.blend) mask |= bit(Q_A);
  if (v.specular) mask |= bit(Q_S0) | bit(Q_S1) | bit(Q_S2);
  if (v.fog) mask |= bit(Q_F);
  if (v.texture) mask |= bit(Q_U) | bit(Q_V);
  return mask;
}

// Calls f(std::integral_constant<uint32_t, q>) for every quantity in Mask.
template <uint32_t Mask, class F>
inline void forEachQuantity(F&& f) {
  [&]<uint32_t... Q>(std::integer_sequence<uint32_t, Q...>) {
    (
        [&] {
          if constexpr ((Mask >> Q) & 1) f(std::integral_constant<uint32_t, Q>{});
        }(),
        ...);
  }(std::make_integer_sequence<uint32_t, QUANTITY_COUNT>{});
}

inline uint32_t wrapAdd(uint32_t a, int32_t b) { return a + static_cast<uint32_t>(b); }

// A quantity's value at the start of a half's first row, rowValue =
// trunc((1 - along) start + along end), and its step per row,
// trunc((end - rowValue) inverseHeight), in double precision; a value out of
// the 32-bit range (or not a number) converts to 0x80000000. Four quantities
// go at once: the vertex fields lie in quantity order.
struct RowStartFactors {
  __m256d keep, along, inverseHeight;
};

static_assert(offsetof(RasterVertex, v) - offsetof(RasterVertex, z) == (QUANTITY_COUNT - 1) * sizeof(int32_t));

// Quantities First .. First + 3.
template <uint32_t First>
inline void rowStartGroup(const RasterVertex* leftStart, const RasterVertex* leftEnd, const RowStartFactors& f,
                          uint32_t* qRow, int32_t* qRowStep) {
  static_assert(First + 4 <= QUANTITY_COUNT);
  const auto fields = [](const RasterVertex* vertex) {
    const auto* at = reinterpret_cast<const uint8_t*>(vertex) + offsetof(RasterVertex, z) + First * sizeof(int32_t);
    return _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
  };
  const __m256d start = fields(leftStart);
  const __m256d end = fields(leftEnd);
  const __m128i row = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(f.keep, start), _mm256_mul_pd(f.along, end)));
  const __m128i step = _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_sub_pd(end, _mm256_cvtepi32_pd(row)), f.inverseHeight));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(qRow + First), row);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(qRowStep + First), step);
}

// What a half needs besides its carried quantities.
struct HalfConstants {
  uint32_t flat[3];  // the flat groups' colour, from the left edge's start
  uint32_t fog[3];   // fog colour channels
  const uint32_t* texels;
  uint32_t shiftU, shiftV, log2Width;  // a shift of 32 makes the texel index 0
  int32_t gradient[QUANTITY_COUNT];
};

inline uint32_t product(uint32_t a, uint32_t b) { return productTable8[(a << 8) | b]; }
inline uint32_t min255(uint32_t x) { return x > 255 ? 255 : x; }

inline uint32_t texelAt(const HalfConstants& k, uint32_t u, uint32_t v) {
  const uint64_t fractionU = static_cast<uint32_t>(u << 16);
  const uint64_t fractionV = static_cast<uint32_t>(v << 16);
  const uint32_t column = static_cast<uint32_t>(fractionU >> k.shiftU);
  const uint32_t texelRow = static_cast<uint32_t>(fractionV >> k.shiftV);
  return k.texels[(texelRow << k.log2Width) | column];
}

// The colour step of one pixel: texture modulation, specular sum, blend with
// the stored pixel and fog mix, each present only in the variants that have it.
template <TriangleVariant V, class Target>
inline Rgb8 colourStep(const Target& target, int32_t column, const uint32_t* q, const HalfConstants& k) {
  uint32_t c[3];
  for (uint32_t i = 0; i < 3; ++i) {
    if constexpr (V.interpolated) {
      c[i] = intensityOf816(static_cast<int32_t>(q[Q_C0 + i]));
    } else {
      c[i] = k.flat[i];
    }
  }
  if constexpr (V.texture) {
    const uint32_t texel = texelAt(k, q[Q_U], q[Q_V]);
    c[0] = product((texel >> 16) & 0xFF, c[0]);
    c[1] = product((texel >> 8) & 0xFF, c[1]);
    c[2] = product(texel & 0xFF, c[2]);
  }
  if constexpr (V.specular) {
    for (uint32_t i = 0; i < 3; ++i) c[i] = min255(c[i] + intensityOf816(static_cast<int32_t>(q[Q_S0 + i])));
  }
  if constexpr (V.blend) {
    const uint32_t a = intensityOf816(static_cast<int32_t>(q[Q_A]));
    const Rgb8 dst = target.load(column);
    c[0] = product(a, c[0]) + product(255 - a, dst.r);
    c[1] = product(a, c[1]) + product(255 - a, dst.g);
    c[2] = product(a, c[2]) + product(255 - a, dst.b);
  }
  if constexpr (V.fog) {
    const uint32_t f = intensityOf816(static_cast<int32_t>(q[Q_F]));
    for (uint32_t i = 0; i < 3; ++i) c[i] = product(k.fog[i], f) + product(255 - f, c[i]);
  }
  return {c[0], c[1], c[2]};
}

// Pixel by pixel from `column` to `endColumn`; q holds the quantities at
// `column` and is stepped past every visited pixel.
template <class Target, TriangleVariant V>
inline void shadeSpanByPixel(const Target& target, int32_t* depthRow, int32_t column, int32_t endColumn, uint32_t* q,
                             const HalfConstants& k) {
  constexpr uint32_t carried = carriedQuantities(V);
  for (; column < endColumn; ++column) {
    bool visible = true;
    if constexpr (V.testsDepth()) visible = depthRow[column] > static_cast<int32_t>(q[Q_Z]);
    if (visible) {
      const Rgb8 out = colourStep<V>(target, column, q, k);
      target.store(column, out);
      if constexpr (V.writesDepth()) depthRow[column] = static_cast<int32_t>(q[Q_Z]);
    }
    forEachQuantity<carried>([&](auto i) { q[i] = wrapAdd(q[i], k.gradient[i]); });
  }
}

// ---- Eight pixels per step --------------------------------------------------

// Kept as single vectors, never as Channels8 records: copying such records
// out of memory makes the compiler move them in halves through the stack.
struct BlockConstants {
  Lanes8 laneOffset[QUANTITY_COUNT];  // 0, dq, ... 7 dq
  Lanes8 step[QUANTITY_COUNT];        // 8 dq
  Lanes8 flatR, flatG, flatB;
  Lanes8 flatPixels;  // the flat colour encoded, for the flat group
  Lanes8 fogR, fogG, fogB;
  Lanes8 shiftU, shiftV, log2Width;
};

// The flat group: one colour, no colour arithmetic.
constexpr bool plainFlat(const TriangleVariant& v) {
  return !v.interpolated && !v.texture && !v.specular && !v.blend && !v.fog;
}

template <TriangleVariant V>
inline Channels8 colourStep8(const Lanes8* q, const BlockConstants& b, const uint32_t* texels, Lanes8 oldPixels,
                             auto decode) {
  Channels8 c;
  if constexpr (V.interpolated) {
    c = {intensity8(q[Q_C0]), intensity8(q[Q_C1]), intensity8(q[Q_C2])};
  } else {
    c = {b.flatR, b.flatG, b.flatB};
  }
  if constexpr (V.texture) {
    const Lanes8 fractionU = _mm256_slli_epi32(q[Q_U], 16);
    const Lanes8 fractionV = _mm256_slli_epi32(q[Q_V], 16);
    const Lanes8 index = _mm256_or_si256(_mm256_sllv_epi32(_mm256_srlv_epi32(fractionV, b.shiftV), b.log2Width),
                                         _mm256_srlv_epi32(fractionU, b.shiftU));
    const Channels8 texel = channelsOfWord8(_mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index, 4));
    c = {product8(texel.r, c.r), product8(texel.g, c.g), product8(texel.b, c.b)};
  }
  if constexpr (V.specular) {
    c = {min255x8(add8(c.r, intensity8(q[Q_S0]))), min255x8(add8(c.g, intensity8(q[Q_S1]))),
         min255x8(add8(c.b, intensity8(q[Q_S2])))};
  }
  if constexpr (V.blend) {
    const Lanes8 a = intensity8(q[Q_A]);
    const Lanes8 keep = complement255x8(a);
    const Channels8 dst = decode(oldPixels);
    c = {add8(product8(a, c.r), product8(keep, dst.r)), add8(product8(a, c.g), product8(keep, dst.g)),
         add8(product8(a, c.b), product8(keep, dst.b))};
  }
  if constexpr (V.fog) {
    const Lanes8 f = intensity8(q[Q_F]);
    const Lanes8 keep = complement255x8(f);
    c = {add8(product8(b.fogR, f), product8(keep, c.r)), add8(product8(b.fogG, f), product8(keep, c.g)),
         add8(product8(b.fogB, f), product8(keep, c.b))};
  }
  return c;
}

// Shades the eight pixels starting at colorAt / depthAt. A partial block
// (the end of a span) touches only the lanes set in inSpan: the others are
// read and written back unchanged, so the caller keeps all eight inside the
// row.
// The flat group stores flatPixels, the flat colour encoded for this span.
template <class Target, TriangleVariant V, bool Partial>
inline void shadeBlock8(const Target& target, int32_t column, uint8_t* colorAt, int32_t* depthAt, const Lanes8* q,
                        const BlockConstants& b, const uint32_t* texels, Lanes8 flatPixels, Lanes8 inSpan) {
  Lanes8 pass = Partial ? inSpan : _mm256_set1_epi32(-1);
  Lanes8 storedDepth = _mm256_setzero_si256();
  if constexpr (V.carriesDepth()) {
    storedDepth = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(depthAt));
  }
  if constexpr (V.testsDepth()) {
    pass = _mm256_and_si256(pass, _mm256_cmpgt_epi32(storedDepth, q[Q_Z]));
    if (_mm256_testz_si256(pass, pass)) return;  // all eight hidden
  }
  constexpr bool merges = V.testsDepth() || Partial;
  Lanes8 oldPixels = _mm256_setzero_si256();
  if constexpr (merges || V.blend) oldPixels = target.loadBlock(colorAt);
  Lanes8 pixels;
  if constexpr (plainFlat(V)) {
    pixels = flatPixels;
  } else {
    pixels = target.encodeBlock(
        colourStep8<V>(q, b, texels, oldPixels, [&target](Lanes8 p) { return target.decodeBlock(p); }), column);
  }
  if constexpr (merges) pixels = _mm256_blendv_epi8(oldPixels, pixels, pass);
  target.storeBlock(colorAt, pixels);
  if constexpr (V.writesDepth()) {
    const Lanes8 depth = merges ? _mm256_blendv_epi8(storedDepth, q[Q_Z], pass) : q[Q_Z];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(depthAt), depth);
  }
}

// Lanes below `count` set.
inline Lanes8 firstLanes8(int32_t count) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// One span: whole blocks of eight, then the rest as one partial block when
// eight pixels from its start still lie inside the row (`rowPixels` wide),
// otherwise pixel by pixel.
template <class Target, TriangleVariant V>
[[gnu::always_inline]] inline void shadeSpan(const Target& target, uint8_t* colorRow, int32_t* depthRow,
                                             int32_t column, int32_t endColumn, int32_t rowPixels, uint32_t* q,
                                             const HalfConstants& k, const BlockConstants& b) {
  constexpr uint32_t carried = carriedQuantities(V);
  const auto colorAt = [&](int32_t c) { return colorRow + static_cast<uint32_t>(c) * Target::bytesPerPixel; };
  // Variants without depth have no depth row to offset.
  const auto depthAt = [&](int32_t c) -> int32_t* {
    if constexpr (V.carriesDepth()) return depthRow + c;
    return nullptr;
  };
  Lanes8 lanes[QUANTITY_COUNT];
  forEachQuantity<carried>([&](auto i) { lanes[i] = add8(splat8(q[i]), b.laneOffset[i]); });
  // Blocks start eight columns apart, so a column-dependent encoding of the
  // flat colour is the same for every block of the span.
  Lanes8 flatPixels = _mm256_setzero_si256();
  if constexpr (plainFlat(V) && Target::encodingVariesByColumn) {
    flatPixels = target.encodeBlock({b.flatR, b.flatG, b.flatB}, column);
  } else if constexpr (plainFlat(V)) {
    flatPixels = b.flatPixels;
  }
  for (; endColumn - column >= 8; column += 8) {
    shadeBlock8<Target, V, false>(target, column, colorAt(column), depthAt(column), lanes, b, k.texels, flatPixels,
                                  Lanes8{});
    forEachQuantity<carried>([&](auto i) { lanes[i] = add8(lanes[i], b.step[i]); });
  }
  if (column == endColumn) return;
  if (column <= rowPixels - 8) {
    shadeBlock8<Target, V, true>(target, column, colorAt(column), depthAt(column), lanes, b, k.texels, flatPixels,
                                 firstLanes8(endColumn - column));
    return;
  }
  forEachQuantity<carried>([&](auto i) { q[i] = static_cast<uint32_t>(firstLane8(lanes[i])); });
  shadeSpanByPixel<Target, V>(target, depthRow, column, endColumn, q, k);
}

}  // namespace triangle_detail

// Draws one half of a triangle: rows leftStart.y >> 16 up to leftEnd.y >> 16,
// each from column leftX >> 16 up to rightX >> 16.
template <class Target, TriangleVariant V>
void drawTriangleHalf(const RasterTarget* target, const RasterPrimitive* primitive, const RasterVertex* leftStart,
                      const RasterVertex* leftEnd, int32_t leftX, int32_t rightX, int32_t leftStep,
                      int32_t rightStep, float prestep) {
  using namespace triangle_detail;
  constexpr uint32_t carried = carriedQuantities(V);
  const int32_t firstRow = leftStart->y >> 16;
  const int32_t endRow = leftEnd->y >> 16;
  if (firstRow >= endRow) return;

  // Distance in rows from the line below the first row to the end of the left
  // edge; a half of one row may divide by zero, and then never uses its steps.
  const double edgeHeight =
      (static_cast<double>(leftEnd->y) - static_cast<double>((static_cast<int64_t>(firstRow) + 1) * 65536)) /
      65536.0;
  const float inverseHeight = static_cast<float>(1.0 / edgeHeight);
  const double along = prestep;

  uint32_t qRow[QUANTITY_COUNT] = {};
  int32_t qRowStep[QUANTITY_COUNT] = {};
  const RowStartFactors factors{_mm256_set1_pd(1.0 - along), _mm256_set1_pd(along),
                                _mm256_set1_pd(static_cast<double>(inverseHeight))};
  if constexpr ((carried & 0x00Fu) != 0) rowStartGroup<0>(leftStart, leftEnd, factors, qRow, qRowStep);
  if constexpr ((carried & 0x0F0u) != 0) rowStartGroup<4>(leftStart, leftEnd, factors, qRow, qRowStep);
  if constexpr ((carried & 0x700u) != 0) rowStartGroup<7>(leftStart, leftEnd, factors, qRow, qRowStep);
  // Only the members a variant uses are set: clearing these records for
  // every half costs more than drawing a small triangle.
  HalfConstants k;
  forEachQuantity<carried>([&](auto i) { k.gradient[i] = primitive->*quantityGradient[i]; });
  if constexpr (!V.interpolated) {
    k.flat[0] = intensityOf816(leftStart->c0);
    k.flat[1] = intensityOf816(leftStart->c1);
    k.flat[2] = intensityOf816(leftStart->c2);
  }
  if constexpr (V.fog) {
    k.fog[0] = target->fogRed;
    k.fog[1] = target->fogGreen;
    k.fog[2] = target->fogBlue;
  }
  k.texels = nullptr;
  if constexpr (V.texture) {
    k.texels = target->texels;
    k.log2Width = target->log2Width;
    k.shiftU = 32 - target->log2Width;
    k.shiftV = 32 - target->log2Height;
  }

  Target pixels(*target);
  BlockConstants b;
  forEachQuantity<carried>([&](auto i) {
    b.laneOffset[i] = laneMultiples8(k.gradient[i]);
    b.step[i] = splat8(static_cast<uint32_t>(k.gradient[i]) * 8);
  });
  if constexpr (!V.interpolated) {
    b.flatR = splat8(k.flat[0]);
    b.flatG = splat8(k.flat[1]);
    b.flatB = splat8(k.flat[2]);
    if constexpr (!Target::encodingVariesByColumn) b.flatPixels = pixels.encodeBlock({b.flatR, b.flatG, b.flatB}, 0);
  }
  if constexpr (V.fog) {
    b.fogR = splat8(k.fog[0]);
    b.fogG = splat8(k.fog[1]);
    b.fogB = splat8(k.fog[2]);
  }
  if constexpr (V.texture) {
    b.shiftU = splat8(k.shiftU);
    b.shiftV = splat8(k.shiftV);
    b.log2Width = splat8(k.log2Width);
  }

  const uint32_t rowBytes = target->rowBytes;
  const uint32_t depthRow = target->depthRow;
  const int32_t rowPixels = static_cast<int32_t>(target->width);
  uint32_t left = static_cast<uint32_t>(leftX);
  uint32_t right = static_cast<uint32_t>(rightX);
  for (int32_t row = firstRow; row < endRow; ++row) {
    uint8_t* colorRow = target->colorBuffer + static_cast<size_t>(row) * rowBytes;
    int32_t* depthSpan = nullptr;
    if constexpr (V.carriesDepth()) depthSpan = target->depthBuffer + static_cast<size_t>(row) * depthRow;
    pixels.beginRow(static_cast<uint32_t>(row), colorRow);
    const int32_t startColumn = static_cast<int32_t>(left) >> 16;
    const int32_t endColumn = static_cast<int32_t>(right) >> 16;
    if (startColumn < endColumn) {
      uint32_t q[QUANTITY_COUNT];
      forEachQuantity<carried>([&](auto i) { q[i] = qRow[i]; });
      shadeSpan<Target, V>(pixels, colorRow, depthSpan, startColumn, endColumn, rowPixels, q, k, b);
    }
    forEachQuantity<carried>([&](auto i) { qRow[i] = wrapAdd(qRow[i], qRowStep[i]); });
    left = wrapAdd(left, leftStep);
    right = wrapAdd(right, rightStep);
  }
}

// The 128-slot triangle table of one target.
template <class Target>
consteval std::array<TriangleRoutine, TRIANGLE_TABLE_SIZE> makeTriangleTable() {
  return []<uint32_t... S>(std::integer_sequence<uint32_t, S...>) {
    return std::array<TriangleRoutine, TRIANGLE_TABLE_SIZE>{&drawTriangleHalf<Target, triangleSlotVariant(S)>...};
  }(std::make_integer_sequence<uint32_t, TRIANGLE_TABLE_SIZE>{});
}
