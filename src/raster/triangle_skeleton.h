// The one skeleton from which every triangle routine is generated: template
// arguments are the pixel target (format) and the TriangleVariant (depth mode
// and colour-step features), so each combination is its own routine and
// nothing is tested per row or per pixel.
//
// A routine draws one half of a triangle. Each carried quantity q has a value
// qRow at the start of a row and a per-pixel gradient dq; at the k-th pixel of
// the row its value is qRow + k * dq in wrapping 32-bit arithmetic. Spans use
// that to shade a block of pixels (one per lane) per step, with results
// identical to the pixel-by-pixel definition; a span's last pixels go as one
// partial block (at the right edge of the image, the row's last block with
// the lanes before them masked).
#pragma once
#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "device/product_table.h"
#include "raster/intensity.h"
#include "raster/lanes.h"
#include "raster/pixel_targets.h"
#include "raster/raster.h"
#include "raster/triangle_variants.h"

inline namespace KELRUK_ISA {

namespace triangle_detail {

enum Quantity : uint32_t { Q_Z, Q_C0, Q_C1, Q_C2, Q_A, Q_S0, Q_S1, Q_S2, Q_F, Q_U, Q_V, QUANTITY_COUNT };

inline constexpr int32_t RasterPrimitive::*quantityGradient[QUANTITY_COUNT] = {
    &RasterPrimitive::dzdx, &RasterPrimitive::dc0dx, &RasterPrimitive::dc1dx, &RasterPrimitive::dc2dx,
    &RasterPrimitive::dadx, &RasterPrimitive::ds0dx, &RasterPrimitive::ds1dx, &RasterPrimitive::ds2dx,
    &RasterPrimitive::dfdx, &RasterPrimitive::dudx,  &RasterPrimitive::dvdx};

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
  }
  (std::make_integer_sequence<uint32_t, QUANTITY_COUNT>{});
}

inline uint32_t wrapAdd(uint32_t a, int32_t b) { return a + static_cast<uint32_t>(b); }

// A quantity's value at the start of a half's first row, rowValue =
// trunc((1 - along) start + along end), and its step per row,
// trunc((end - rowValue) inverseHeight), in double precision; a value out of
// the 32-bit range (or not a number) converts to 0x80000000. Several
// quantities go at once, as many doubles as a register holds (two with SSE2,
// four with AVX): the vertex fields lie in quantity order.
inline constexpr uint32_t rowStartWidth = nativeLanes >= 8 ? 4 : 2;
using RowDoubles = LaneF64<rowStartWidth>;
using RowWords = LaneI32<rowStartWidth>;

struct RowStartFactors {
  RowDoubles keep, along, inverseHeight;
};

// A double in every lane. Not RowDoubles{} + x: adding zero is no copy for
// -0, so the compiler keeps an addition in the way of every row start.
inline RowDoubles rowDoubles(double x) {
  return [x]<uint32_t... K>(std::integer_sequence<uint32_t, K...>) { return RowDoubles{(static_cast<void>(K), x)...}; }
  (std::make_integer_sequence<uint32_t, rowStartWidth>{});
}

static_assert(offsetof(RasterVertex, v) - offsetof(RasterVertex, z) == (QUANTITY_COUNT - 1) * sizeof(int32_t));

// Quantities First .. First + rowStartWidth - 1.
template <uint32_t First>
inline void rowStartGroup(const RasterVertex* leftStart, const RasterVertex* leftEnd, const RowStartFactors& f,
                          uint32_t* qRow, int32_t* qRowStep) {
  static_assert(First + rowStartWidth <= QUANTITY_COUNT);
  const auto fields = [](const RasterVertex* vertex) {
    RowWords values;
    std::memcpy(&values, reinterpret_cast<const uint8_t*>(vertex) + offsetof(RasterVertex, z) + First * 4,
                sizeof values);
    return __builtin_convertvector(values, RowDoubles);
  };
  const RowDoubles start = fields(leftStart);
  const RowDoubles end = fields(leftEnd);
  const RowWords row = truncateLanes(f.keep * start + f.along * end);
  const RowWords step = truncateLanes((end - __builtin_convertvector(row, RowDoubles)) * f.inverseHeight);
  std::memcpy(qRow + First, &row, sizeof row);
  std::memcpy(qRowStep + First, &step, sizeof step);
}

// The row starts of every carried quantity, group by group; the last group
// ends at the last quantity and may overlap the one before (an overlapped
// quantity comes out the same twice).
template <uint32_t Carried>
inline void rowStarts(const RasterVertex* leftStart, const RasterVertex* leftEnd, const RowStartFactors& f,
                      uint32_t* qRow, int32_t* qRowStep) {
  constexpr uint32_t groups = (QUANTITY_COUNT + rowStartWidth - 1) / rowStartWidth;
  [&]<uint32_t... G>(std::integer_sequence<uint32_t, G...>) {
    (
        [&] {
          constexpr uint32_t first = std::min(G * rowStartWidth, QUANTITY_COUNT - rowStartWidth);
          constexpr uint32_t members = ((1u << rowStartWidth) - 1) << first;
          if constexpr ((Carried & members) != 0) rowStartGroup<first>(leftStart, leftEnd, f, qRow, qRowStep);
        }(),
        ...);
  }
  (std::make_integer_sequence<uint32_t, groups>{});
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

// ---- A block of pixels per step ---------------------------------------------

// Kept as single vectors, never as Channels records: copying such records
// out of memory makes the compiler move them in halves through the stack.
struct BlockConstants {
  Block laneOffset[QUANTITY_COUNT];  // 0, dq, ... (n - 1) dq
  Block step[QUANTITY_COUNT];        // n dq
  Block flatR, flatG, flatB;
  Block flatPixels;                               // the flat colour encoded, for the flat group
  PairLanes<Block> flatRG, flatBB, fogRG, fogBB;  // as pairs, for the colour arithmetic
};

// The flat group: one colour, no colour arithmetic.
constexpr bool plainFlat(const TriangleVariant& v) {
  return !v.interpolated && !v.texture && !v.specular && !v.blend && !v.fog;
}

// The constants of a narrower block: the first lanes of the full ones.
template <class B>
[[gnu::always_inline]] inline B narrow(Block lanes) {
  return lowLanes<B>(lanes);
}

// Whether a variant does arithmetic on its colour: texture modulation,
// specular sum, blend or fog. Those work on two channels per vector of
// sixteen-bit lanes (red with green, blue with alpha or with itself).
constexpr bool colourArithmetic(const TriangleVariant& v) { return v.texture || v.specular || v.blend || v.fog; }

// A block's colour as pairs: red with green, blue with anything.
template <class B>
struct ColourPairs {
  PairLanes<B> rg, bx;
};

template <class Target, class B>
concept EncodesPairs = requires(const Target& target, PairLanes<B> pair) {
  { target.template encodePairs<B>(pair, pair, 0) } -> std::same_as<B>;
};

template <class Target, class B>
concept DecodesPairs = requires(const Target& target, B pixels) {
  { target.template decodePairs<B>(pixels) } -> std::same_as<std::pair<PairLanes<B>, PairLanes<B>>>;
};

// The byte formats take the short ways in and out of pairs.
static_assert(EncodesPairs<Rgb32Target, Block> && DecodesPairs<Rgb32Target, Block>);
static_assert(EncodesPairs<Rgb24Target, LaneU32<4>> && !EncodesPairs<Rgb16Target, Block>);

// Whether a variant's colour goes in pairs: where there is arithmetic, and
// for plain interpolated colour where the pairs clamp in fewer instructions
// (no 32-bit min and max).
template <TriangleVariant V>
constexpr bool colourInPairs = colourArithmetic(V) || (V.interpolated && !hasMinMax32);

// The block's pixels from its colour, as the target encodes it best.
template <class Target, class B>
[[gnu::always_inline]] inline B encodeColour(const Target& target, const Channels<B>& c, int32_t column) {
  return target.encodeBlock(c, column);
}
template <class Target, class B>
[[gnu::always_inline]] inline B encodeColour(const Target& target, const ColourPairs<B>& c, int32_t column) {
  if constexpr (EncodesPairs<Target, B>) {
    return target.template encodePairs<B>(c.rg, c.bx, column);
  } else {
    return target.encodeBlock(
        Channels<B>{unpackPair<B, false>(c.rg), unpackPair<B, true>(c.rg), unpackPair<B, false>(c.bx)}, column);
  }
}

// Stored pixels as pairs for the blend: red with green, blue with itself.
template <class Target, class B>
[[gnu::always_inline]] inline std::pair<PairLanes<B>, PairLanes<B>> decodeColour(const Target& target, B pixels) {
  if constexpr (DecodesPairs<Target, B>) {
    return target.template decodePairs<B>(pixels);
  } else {
    const Channels<B> c = target.decodeBlock(pixels);
    return {packPair(c.r, c.g), packPair(c.b, c.b)};
  }
}

// The texels of a block. Where every lane reads the same texture row, within
// 32 texels from the lane 0's column less 15 (a texture seen at about its
// own scale and not rotated), those texels are read as two runs and each
// lane takes its own from them; other blocks gather lane by lane.
template <class B>
[[gnu::always_inline]] inline B fetchTexels(const HalfConstants& k, B texelRow, B column) {
#if KELRUK_LANE_MASKS
  if constexpr (sizeof(B) == 64) {
    const uint32_t row = texelRow[0];
    const uint32_t start = column[0] >= 15 ? column[0] - 15 : 0;
    const B offset = column - start;
    if (!anyLane(bitsOf<B>((texelRow != row) | (offset >= 32u)))) {
      // Only texels of the row are read: the run stops at its end.
      const uint32_t available = (1u << k.log2Width) - start;
      const auto run = [available](uint32_t first) -> __mmask16 {
        return available >= first + 16 ? 0xFFFF : available > first ? (1u << (available - first)) - 1 : 0;
      };
      const uint32_t* at = k.texels + (row << k.log2Width) + start;
      const __m512i low = _mm512_maskz_loadu_epi32(run(0), at);
      const __m512i high = _mm512_maskz_loadu_epi32(run(16), at + 16);
      return bitsOf<B>(_mm512_permutex2var_epi32(low, bitsOf<__m512i>(offset), high));
    }
  }
#endif
  return gatherLanes(k.texels, (texelRow << k.log2Width) | column);
}

template <TriangleVariant V, class B>
inline auto colourStepBlock(const B* q, const BlockConstants& b, const HalfConstants& k, B oldPixels, auto decode) {
  if constexpr (!colourInPairs<V>) {
    static_assert(V.interpolated);
    return Channels<B>{intensityLanes(q[Q_C0]), intensityLanes(q[Q_C1]), intensityLanes(q[Q_C2])};
  } else {
    using P = PairLanes<B>;
    P rg, bx;  // bx: blue, then alpha where blending
    if constexpr (V.interpolated) {
      rg = intensityPair(q[Q_C0], q[Q_C1]);
      bx = intensityPair(q[Q_C2], V.blend ? q[Q_A] : q[Q_C2]);
    } else {
      rg = lowLanes<P>(b.flatRG);
      // The flat blue is an intensity: as an 8.16 quantity it passes the
      // clamp unchanged, beside the interpolated alpha.
      bx = V.blend ? intensityPair(splat<B>(k.flat[2] << 16), q[Q_A]) : lowLanes<P>(b.flatBB);
    }
    // Taken before the colour steps reuse bx's second half.
    P alpha{};
    if constexpr (V.blend) alpha = secondOfPairTwice(bx);
    if constexpr (V.texture) {
      // The shifts are 1..32: halving first keeps every count below 32.
      const B column = ((q[Q_U] << 16) >> 1) >> (k.shiftU - 1);
      const B texelRow = ((q[Q_V] << 16) >> 1) >> (k.shiftV - 1);
      const B texel = fetchTexels(k, texelRow, column);
      const B blue = texel & 0xFFu;
      rg = productPair(packPair((texel >> 16) & 0xFFu, (texel >> 8) & 0xFFu), rg);
      bx = productPair(packPair(blue, blue), bx);
    }
    if constexpr (V.specular) {
      rg = min255Pair(rg + intensityPair(q[Q_S0], q[Q_S1]));
      bx = min255Pair(bx + intensityPair(q[Q_S2], q[Q_S2]));
    }
    if constexpr (V.blend) {
      const P keep = 255 - alpha;
      const auto [dstRG, dstBB] = decode(oldPixels);
      rg = productPair(alpha, rg) + productPair(keep, dstRG);
      bx = productPair(alpha, bx) + productPair(keep, dstBB);
    }
    if constexpr (V.fog) {
      const P f = intensityPair(q[Q_F], q[Q_F]);
      const P keep = 255 - f;
      rg = productPair(lowLanes<P>(b.fogRG), f) + productPair(keep, rg);
      bx = productPair(lowLanes<P>(b.fogBB), f) + productPair(keep, bx);
    }
    return ColourPairs<B>{rg, bx};
  }
}

// Shades the block of pixels (one per lane of B) starting at colorAt /
// depthAt. A partial block (the end of a span) touches only the lanes set in
// inSpan. Where the instruction set moves lanes under a mask, the others are
// neither read nor written, and the block may reach past the row; elsewhere
// they are read and written back unchanged, so the caller keeps the whole
// block inside the row.
// The flat group stores flatPixels, the flat colour encoded for this span.
template <class Target, TriangleVariant V, bool Partial, class B, bool PastRow = false>
inline void shadeBlock(const Target& target, int32_t column, uint8_t* colorAt, int32_t* depthAt, const B* q,
                       const BlockConstants& b, const HalfConstants& k, B flatPixels, B inSpan) {
  using Signed = LaneI32<laneCountOf<B>>;
  constexpr uint32_t bytes = Target::bytesPerPixel;
  constexpr bool masked = movesUnderMask<bytes>;
  static_assert(!PastRow || (masked && Partial));
  const auto load = [&]<uint32_t Bytes>(const auto* at) {
    if constexpr (PastRow) return loadPixelLanesMasked<Bytes, B>(reinterpret_cast<const uint8_t*>(at), inSpan);
    return loadPixelLanes<Bytes, B>(reinterpret_cast<const uint8_t*>(at));
  };
  B pass = Partial ? inSpan : ~B{};
  B storedDepth{};
  if constexpr (V.carriesDepth()) storedDepth = load.template operator()<4>(depthAt);
  if constexpr (V.testsDepth()) {
    pass &= bitsOf<B>(bitsOf<Signed>(storedDepth) > bitsOf<Signed>(q[Q_Z]));
    if (!anyLane(pass)) return;  // the whole block hidden
  }
  constexpr bool merges = V.testsDepth() || Partial;
  B oldPixels{};
  if constexpr ((merges && !masked) || V.blend) oldPixels = load.template operator()<bytes>(colorAt);
  B pixels;
  if constexpr (plainFlat(V)) {
    pixels = flatPixels;
  } else {
    pixels = encodeColour(
        target, colourStepBlock<V>(q, b, k, oldPixels, [&target](B p) { return decodeColour(target, p); }), column);
  }
  if constexpr (merges && masked) {
    storePixelLanesMasked<bytes>(colorAt, pixels, pass);
    if constexpr (V.writesDepth()) storePixelLanesMasked<4>(reinterpret_cast<uint8_t*>(depthAt), q[Q_Z], pass);
  } else {
    if constexpr (merges) pixels = select(pass, pixels, oldPixels);
    storePixelLanes<bytes>(colorAt, pixels);
    if constexpr (V.writesDepth()) {
      const B depth = merges ? select(pass, q[Q_Z], storedDepth) : q[Q_Z];
      std::memcpy(depthAt, &depth, sizeof depth);
    }
  }
}

// A span's last pixels from `column`, fewer than B has lanes, as one
// partial block of B; `start` holds each quantity's value at `column`.
template <class Target, TriangleVariant V, class B, bool PastRow = false>
[[gnu::always_inline]] inline void shadeSpanEnd(const Target& target, int32_t column, int32_t endColumn,
                                                uint8_t* colorAt, int32_t* depthAt, const uint32_t* start,
                                                const BlockConstants& b, const HalfConstants& k, Block flatPixels) {
  constexpr uint32_t carried = carriedQuantities(V);
  B q[QUANTITY_COUNT];
  forEachQuantity<carried>([&](auto i) { q[i] = splat<B>(start[i]) + narrow<B>(b.laneOffset[i]); });
  shadeBlock<Target, V, true, B, PastRow>(target, column, colorAt, depthAt, q, b, k, narrow<B>(flatPixels),
                                          firstLanes<B>(endColumn - column));
}

// The flat group's pixels for a span whose blocks start at `column` (a
// multiple of four columns from every other block of the span).
template <TriangleVariant V, class Target>
[[gnu::always_inline]] inline Block flatPixelsAt(const Target& target, const BlockConstants& b, int32_t column) {
  if constexpr (Target::encodingVariesByColumn) {
    return target.encodeBlock(Channels<Block>{b.flatR, b.flatG, b.flatB}, column);
  } else {
    return b.flatPixels;
  }
}

// One span where blocks move under lane masks, so that no block needs to lie
// inside the row: a span shorter than a block is one partial block of 4 or
// 8 lanes where the vectors are wider; a longer one goes in blocks aligned
// to the block width (whole cache lines for 32-bit pixels and depths), the
// first and last partial. Blocks inside the row load their depths whole.
template <class Target, TriangleVariant V>
[[gnu::always_inline]] inline void shadeSpanMasked(const Target& target, uint8_t* colorRow, int32_t* depthRow,
                                                   int32_t column, int32_t endColumn, int32_t rowPixels,
                                                   const uint32_t* q, const HalfConstants& k, const BlockConstants& b) {
  constexpr uint32_t carried = carriedQuantities(V);
  constexpr int32_t n = blockPixels;
  constexpr uint32_t bytes = Target::bytesPerPixel;
  const int32_t length = endColumn - column;
  if constexpr (n > 4) {
    if (length <= (n > 8 ? 8 : 4)) {
      uint8_t* colorAt = colorRow + static_cast<uint32_t>(column) * bytes;
      int32_t* depthAt = V.carriesDepth() ? depthRow + column : nullptr;
      const Block flat = plainFlat(V) ? flatPixelsAt<V>(target, b, column) : Block{};
      const bool inRow = column <= rowPixels - (length <= 4 ? 4 : 8);
      if (length <= 4) {
        if (inRow)
          return shadeSpanEnd<Target, V, LaneU32<4>>(target, column, endColumn, colorAt, depthAt, q, b, k, flat);
        return shadeSpanEnd<Target, V, LaneU32<4>, true>(target, column, endColumn, colorAt, depthAt, q, b, k, flat);
      }
      if constexpr (n > 8) {
        if (inRow)
          return shadeSpanEnd<Target, V, LaneU32<8>>(target, column, endColumn, colorAt, depthAt, q, b, k, flat);
        return shadeSpanEnd<Target, V, LaneU32<8>, true>(target, column, endColumn, colorAt, depthAt, q, b, k, flat);
      }
    }
  }
  // Lane values step back from the span's start to the aligned block's
  // first column by whole gradients, which wraps exactly like stepping on.
  const int32_t firstBlock = column & ~(n - 1);
  const uint32_t before = static_cast<uint32_t>(column - firstBlock);
  Block lanes[QUANTITY_COUNT];
  forEachQuantity<carried>(
      [&](auto i) { lanes[i] = splat<Block>(q[i] - before * static_cast<uint32_t>(k.gradient[i])) + b.laneOffset[i]; });
  const Block flat = plainFlat(V) ? flatPixelsAt<V>(target, b, firstBlock) : Block{};
  uint8_t* colorAt = colorRow + static_cast<uint32_t>(firstBlock) * bytes;
  int32_t* depthAt = V.carriesDepth() ? depthRow + firstBlock : nullptr;
  int32_t left = endColumn - firstBlock;  // columns from the block's first to the span's end
  const auto advance = [&] {
    forEachQuantity<carried>([&](auto i) { lanes[i] += b.step[i]; });
    colorAt += n * bytes;
    if constexpr (V.carriesDepth()) depthAt += n;
    left -= n;
  };
  if (before != 0) {
    shadeBlock<Target, V, true, Block, true>(
        target, firstBlock, colorAt, depthAt, lanes, b, k, flat,
        firstLanes<Block>(left) & ~firstLanes<Block>(static_cast<int32_t>(before)));
    advance();
  }
  while (left >= n) {
    shadeBlock<Target, V, false>(target, endColumn - left, colorAt, depthAt, lanes, b, k, flat, Block{});
    advance();
  }
  if (left > 0) {
    shadeBlock<Target, V, true, Block, true>(target, endColumn - left, colorAt, depthAt, lanes, b, k, flat,
                                             firstLanes<Block>(left));
  }
}

// One span. Where lanes move under a mask, as shadeSpanMasked says;
// elsewhere whole blocks, then the rest as one partial block: from its start
// when a whole block from there still lies inside the row (`rowPixels`
// wide), else the row's last block with the lanes before the rest masked;
// pixel by pixel only in rows narrower than a block. A span shorter than a
// block is one partial block of 4 or 8 lanes where the vectors are wider.
template <class Target, TriangleVariant V>
[[gnu::always_inline]] inline void shadeSpan(const Target& target, uint8_t* colorRow, int32_t* depthRow, int32_t column,
                                             int32_t endColumn, int32_t rowPixels, uint32_t* q, const HalfConstants& k,
                                             const BlockConstants& b) {
  if constexpr (movesUnderMask<Target::bytesPerPixel>) {
    return shadeSpanMasked<Target, V>(target, colorRow, depthRow, column, endColumn, rowPixels, q, k, b);
  }
  constexpr uint32_t carried = carriedQuantities(V);
  const auto colorAt = [&](int32_t c) { return colorRow + static_cast<uint32_t>(c) * Target::bytesPerPixel; };
  // Variants without depth have no depth row to offset.
  const auto depthAt = [&](int32_t c) -> int32_t* {
    if constexpr (V.carriesDepth()) return depthRow + c;
    return nullptr;
  };
  constexpr int32_t n = blockPixels;
  // Blocks start a multiple of four columns apart, so a column-dependent
  // encoding of the flat colour is the same for every block of the span.
  Block flatPixels{};
  if constexpr (plainFlat(V) && Target::encodingVariesByColumn) {
    flatPixels = target.encodeBlock(Channels<Block>{b.flatR, b.flatG, b.flatB}, column);
  } else if constexpr (plainFlat(V)) {
    flatPixels = b.flatPixels;
  }
  // Spans shorter than a block (most of a small triangle's) go straight to
  // the narrowest block that holds them.
  if constexpr (n > 4) {
    const int32_t length = endColumn - column;
    if (length <= 4 && column <= rowPixels - 4) {
      return shadeSpanEnd<Target, V, LaneU32<4>>(target, column, endColumn, colorAt(column), depthAt(column), q, b, k,
                                                 flatPixels);
    }
    if constexpr (n > 8) {
      if (length <= 8 && column <= rowPixels - 8) {
        return shadeSpanEnd<Target, V, LaneU32<8>>(target, column, endColumn, colorAt(column), depthAt(column), q, b, k,
                                                   flatPixels);
      }
    }
  }
  Block lanes[QUANTITY_COUNT];
  forEachQuantity<carried>([&](auto i) { lanes[i] = splat<Block>(q[i]) + b.laneOffset[i]; });
  for (; endColumn - column >= n; column += n) {
    shadeBlock<Target, V, false>(target, column, colorAt(column), depthAt(column), lanes, b, k, flatPixels, Block{});
    forEachQuantity<carried>([&](auto i) { lanes[i] += b.step[i]; });
  }
  if (column == endColumn) return;
  if (column <= rowPixels - n) {
    shadeBlock<Target, V, true>(target, column, colorAt(column), depthAt(column), lanes, b, k, flatPixels,
                                firstLanes<Block>(endColumn - column));
    return;
  }
  if (rowPixels < n) {
    forEachQuantity<carried>([&](auto i) { q[i] = lanes[i][0]; });
    return shadeSpanByPixel<Target, V>(target, depthRow, column, endColumn, q, k);
  }
  // At the right edge of the image: the block that ends with the row, its
  // lanes before `column` left as they are. Lane values stay the row value
  // plus k gradients: stepping back `before` gradients wraps like stepping on.
  const int32_t blockColumn = rowPixels - n;
  const int32_t before = column - blockColumn;
  forEachQuantity<carried>(
      [&](auto i) { lanes[i] -= static_cast<uint32_t>(before) * static_cast<uint32_t>(k.gradient[i]); });
  if constexpr (plainFlat(V) && Target::encodingVariesByColumn) {
    flatPixels = target.encodeBlock(Channels<Block>{b.flatR, b.flatG, b.flatB}, blockColumn);
  }
  shadeBlock<Target, V, true>(target, blockColumn, colorAt(blockColumn), depthAt(blockColumn), lanes, b, k, flatPixels,
                              firstLanes<Block>(endColumn - blockColumn) & ~firstLanes<Block>(before));
}

}  // namespace triangle_detail

// Draws one half of a triangle: rows leftStart.y >> 16 up to leftEnd.y >> 16,
// each from column leftX >> 16 up to rightX >> 16.
template <class Target, TriangleVariant V>
void drawTriangleHalf(const RasterTarget* target, const RasterPrimitive* primitive, const RasterVertex* leftStart,
                      const RasterVertex* leftEnd, int32_t leftX, int32_t rightX, int32_t leftStep, int32_t rightStep,
                      float prestep) {
  using namespace triangle_detail;
  constexpr uint32_t carried = carriedQuantities(V);
  const int32_t firstRow = leftStart->y >> 16;
  const int32_t endRow = leftEnd->y >> 16;
  if (firstRow >= endRow) return;

  // Distance in rows from the line below the first row to the end of the left
  // edge; a half of one row may divide by zero, and then never uses its steps.
  const double edgeHeight =
      (static_cast<double>(leftEnd->y) - static_cast<double>((static_cast<int64_t>(firstRow) + 1) * 65536)) / 65536.0;
  const float inverseHeight = static_cast<float>(1.0 / edgeHeight);
  const double along = prestep;

  uint32_t qRow[QUANTITY_COUNT] = {};
  int32_t qRowStep[QUANTITY_COUNT] = {};
  const RowStartFactors factors{rowDoubles(1.0 - along), rowDoubles(along),
                                rowDoubles(static_cast<double>(inverseHeight))};
  rowStarts<carried>(leftStart, leftEnd, factors, qRow, qRowStep);
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
    b.laneOffset[i] = laneMultiples<Block>(k.gradient[i]);
    b.step[i] = splat<Block>(static_cast<uint32_t>(k.gradient[i]) * blockPixels);
  });
  if constexpr (!V.interpolated) {
    b.flatR = splat<Block>(k.flat[0]);
    b.flatG = splat<Block>(k.flat[1]);
    b.flatB = splat<Block>(k.flat[2]);
    if constexpr (!Target::encodingVariesByColumn) {
      b.flatPixels = pixels.encodeBlock(Channels<Block>{b.flatR, b.flatG, b.flatB}, 0);
    }
  }
  if constexpr (!V.interpolated && colourArithmetic(V)) {
    b.flatRG = packPair(b.flatR, b.flatG);
    b.flatBB = packPair(b.flatB, b.flatB);
  }
  if constexpr (V.fog) {
    b.fogRG = packPair(splat<Block>(k.fog[0]), splat<Block>(k.fog[1]));
    b.fogBB = packPair(splat<Block>(k.fog[2]), splat<Block>(k.fog[2]));
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
  }
  (std::make_integer_sequence<uint32_t, TRIANGLE_TABLE_SIZE>{});
}

}  // namespace KELRUK_ISA
