// Lanes: N 32-bit values processed as one GCC vector, written once for every
// instruction set. Plain operators do the arithmetic (wrapping, lane by
// lane); the functions here add what operators cannot say, each giving lane
// by lane exactly what its scalar counterpart gives. Where a portable form
// would be slow, an instruction set's own instruction is used when the source
// is compiled for it, with the same result.
//
// The lane count of a source's instruction set is nativeLanes: 16 with
// AVX-512, 8 with AVX2, else 4 (SSE2, and NEON on 64-bit ARM).
#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

template <class T, uint32_t Bytes>
struct VectorOf {
  using type [[gnu::vector_size(Bytes)]] = T;
};

template <uint32_t N>
using LaneU32 = typename VectorOf<uint32_t, 4 * N>::type;
template <uint32_t N>
using LaneI32 = typename VectorOf<int32_t, 4 * N>::type;
template <uint32_t N>
using LaneF32 = typename VectorOf<float, 4 * N>::type;
template <uint32_t N>
using LaneF64 = typename VectorOf<double, 8 * N>::type;

#if defined(__AVX512F__)
inline constexpr uint32_t nativeLanes = 16;
#elif defined(__AVX2__)
inline constexpr uint32_t nativeLanes = 8;
#else
inline constexpr uint32_t nativeLanes = 4;
#endif

// Whether the instruction set has 32-bit minimum and maximum (SSE2 has them
// for sixteen-bit lanes only).
#if defined(__SSE2__) && !defined(__SSE4_1__)
inline constexpr bool hasMinMax32 = false;
#else
inline constexpr bool hasMinMax32 = true;
#endif

// The lane count of a vector of 32-bit lanes, and its element type.
template <class V>
inline constexpr uint32_t laneCountOf = sizeof(V) / 4;
template <class V>
using LaneElement = std::remove_cvref_t<decltype(std::declval<V>()[0])>;

template <class V>
[[gnu::always_inline]] inline V splat(uint32_t value) {
  return V{} + static_cast<LaneElement<V>>(value);
}

// 0, 1, 2, ... N - 1.
template <class V>
[[gnu::always_inline]] inline V laneIndexes() {
  return []<uint32_t... K>(std::integer_sequence<uint32_t, K...>) { return V{static_cast<LaneElement<V>>(K)...}; }
  (std::make_integer_sequence<uint32_t, laneCountOf<V>>{});
}

// 0, d, 2d, ... (N - 1) d in wrapping 32-bit arithmetic.
template <class V>
[[gnu::always_inline]] inline V laneMultiples(int32_t d) {
  return splat<V>(static_cast<uint32_t>(d)) * laneIndexes<V>();
}

template <class V>
[[gnu::always_inline]] inline V bitsOf(auto lanes) {
  static_assert(sizeof(lanes) == sizeof(V));
  return reinterpret_cast<V>(lanes);
}

// Lanes below `count` set to all ones, the others zero.
template <class V>
[[gnu::always_inline]] inline V firstLanes(int32_t count) {
  using I = LaneI32<laneCountOf<V>>;
  return bitsOf<V>(bitsOf<I>(laneIndexes<V>()) < count);
}

// The first lanes of a vector, as a vector of at most as many lanes.
template <class V, class W>
[[gnu::always_inline]] inline V lowLanes(W wide) {
  static_assert(sizeof(V) <= sizeof(W));
  V low;
  std::memcpy(&low, &wide, sizeof low);
  return low;
}

// a where the mask lane is set, else b.
template <class V>
[[gnu::always_inline]] inline V select(V mask, V a, V b) {
  return (a & mask) | (b & ~mask);
}

// Whether any lane of a mask (lanes all ones or zero) is set.
template <class V>
[[gnu::always_inline]] inline bool anyLane(V mask) {
#if defined(__AVX512F__)
  if constexpr (sizeof(V) == 64) return _mm512_test_epi32_mask(bitsOf<__m512i>(mask), bitsOf<__m512i>(mask)) != 0;
#endif
#if defined(__AVX__)
  if constexpr (sizeof(V) == 32) return !_mm256_testz_si256(bitsOf<__m256i>(mask), bitsOf<__m256i>(mask));
#endif
#if defined(__SSE2__)
  if constexpr (sizeof(V) % 16 == 0) {
    __m128i any = _mm_setzero_si128();
    for (uint32_t part = 0; part < sizeof(V) / 16; ++part) {
      __m128i piece;
      std::memcpy(&piece, reinterpret_cast<const uint8_t*>(&mask) + 16 * part, 16);
      any = _mm_or_si128(any, piece);
    }
    // A mask lane is all ones or zero: its sign bit says which.
    return _mm_movemask_ps(_mm_castsi128_ps(any)) != 0;
  }
#endif
  uint32_t any = 0;
  for (uint32_t k = 0; k < laneCountOf<V>; ++k) any |= static_cast<uint32_t>(mask[k]);
  return any != 0;
}

// The clamped integer part (0..255) of 8.16 quantities, as intensityOf816.
template <class V>
[[gnu::always_inline]] inline V intensityLanes(V q) {
  using I = LaneI32<laneCountOf<V>>;
  I whole = bitsOf<I>(q) >> 16;
  whole = whole < 0 ? I{} : whole;
  whole = whole > 255 ? I{} + 255 : whole;
  return bitsOf<V>(whole);
}

// ---- Two quantities in sixteen-bit lanes ---------------------------------
// The colour arithmetic of a block works on intensities (0..255) and their
// rounded products (below 2^16), so two channels of a block share one
// vector of sixteen-bit lanes: half the instructions of 32-bit lanes. A pair
// holds, within each 16-byte piece, four lanes of its first quantity and
// then the same four lanes of its second: the order of the processors' pack
// instructions, which work piece by piece.
template <class V>
using PairLanes = typename VectorOf<uint16_t, sizeof(V)>::type;
template <class V>
using SignedPairLanes = typename VectorOf<int16_t, sizeof(V)>::type;

// a and b, 32-bit lanes, as one pair; values beyond the int16 range saturate.
template <class V>
[[gnu::always_inline]] inline PairLanes<V> packPair(V a, V b) {
  static_assert(laneCountOf<V> % 4 == 0);
#if defined(__AVX512BW__)
  if constexpr (sizeof(V) == 64) {
    return bitsOf<PairLanes<V>>(_mm512_packs_epi32(bitsOf<__m512i>(a), bitsOf<__m512i>(b)));
  }
#endif
#if defined(__AVX2__)
  if constexpr (sizeof(V) == 32) {
    return bitsOf<PairLanes<V>>(_mm256_packs_epi32(bitsOf<__m256i>(a), bitsOf<__m256i>(b)));
  }
#endif
#if defined(__SSE2__)
  if constexpr (sizeof(V) == 16) return bitsOf<PairLanes<V>>(_mm_packs_epi32(bitsOf<__m128i>(a), bitsOf<__m128i>(b)));
#endif
  constexpr uint32_t n = laneCountOf<V>;
  using I = LaneI32<n>;
  using Half = typename VectorOf<uint16_t, 2 * n>::type;
  const auto saturate = [](V x) {
    I s = bitsOf<I>(x);
    s = s < -32768 ? I{} - 32768 : s;
    s = s > 32767 ? I{} + 32767 : s;
    return __builtin_convertvector(bitsOf<LaneU32<n>>(s), Half);
  };
  return [ low = saturate(a), high = saturate(b) ]<uint32_t... K>(std::integer_sequence<uint32_t, K...>) {
    return __builtin_shufflevector(low, high, (K % 8 < 4 ? K / 8 * 4 + K % 8 : n + K / 8 * 4 + K % 8 - 4)...);
  }
  (std::make_integer_sequence<uint32_t, 2 * n>{});
}

// A pair's first (Second false) or second quantity in 32-bit lanes, with
// the same quantity of `high` in the upper halves (zero by default).
template <class V, bool Second>
[[gnu::always_inline]] inline V unpackPair(PairLanes<V> pair, PairLanes<V> high = PairLanes<V>{}) {
#if defined(__AVX512BW__)
  if constexpr (sizeof(V) == 64) {
    const __m512i p = bitsOf<__m512i>(pair), h = bitsOf<__m512i>(high);
    return bitsOf<V>(Second ? _mm512_unpackhi_epi16(p, h) : _mm512_unpacklo_epi16(p, h));
  }
#endif
#if defined(__AVX2__)
  if constexpr (sizeof(V) == 32) {
    const __m256i p = bitsOf<__m256i>(pair), h = bitsOf<__m256i>(high);
    return bitsOf<V>(Second ? _mm256_unpackhi_epi16(p, h) : _mm256_unpacklo_epi16(p, h));
  }
#endif
#if defined(__SSE2__)
  if constexpr (sizeof(V) == 16) {
    const __m128i p = bitsOf<__m128i>(pair), h = bitsOf<__m128i>(high);
    return bitsOf<V>(Second ? _mm_unpackhi_epi16(p, h) : _mm_unpacklo_epi16(p, h));
  }
#endif
  constexpr uint32_t n = laneCountOf<V>;
  constexpr uint32_t offset = Second ? 4 : 0;
  // Output halfword 2k is the pair's lane of output lane k, 2k + 1 high's.
  return bitsOf<V>([ pair, high ]<uint32_t... K>(std::integer_sequence<uint32_t, K...>) {
    return __builtin_shufflevector(pair, high, (K / 8 * 8 + offset + K / 2 % 4 + (K % 2 == 0 ? 0 : 2 * n))...);
  }(std::make_integer_sequence<uint32_t, 2 * n>{}));
}

// The bytes at offsets First and Second (0..3, from the low end) of every
// lane, as a pair: one byte shuffle where the processor has it.
template <class V, uint32_t First, uint32_t Second>
[[gnu::always_inline]] inline PairLanes<V> bytePair(V lanes) {
  constexpr uint32_t n = laneCountOf<V>;
  using Bytes = typename VectorOf<uint8_t, 4 * n>::type;
  // Within each 16-byte piece, output halfword h takes lane h % 4's byte of
  // the first or second offset; 0x80 zeroes a byte.
  [[maybe_unused]] constexpr Bytes control = []<uint32_t... M>(std::integer_sequence<uint32_t, M...>) {
    return Bytes{static_cast<uint8_t>(M % 2 == 1 ? 0x80 : M / 2 % 4 * 4 + (M / 8 % 2 == 1 ? Second : First))...};
  }
  (std::make_integer_sequence<uint32_t, 4 * n>{});
#if defined(__AVX512BW__)
  if constexpr (sizeof(V) == 64) {
    return bitsOf<PairLanes<V>>(_mm512_shuffle_epi8(bitsOf<__m512i>(lanes), bitsOf<__m512i>(control)));
  }
#endif
#if defined(__AVX2__)
  if constexpr (sizeof(V) == 32) {
    return bitsOf<PairLanes<V>>(_mm256_shuffle_epi8(bitsOf<__m256i>(lanes), bitsOf<__m256i>(control)));
  }
#endif
#if defined(__SSSE3__)
  if constexpr (sizeof(V) == 16) {
    return bitsOf<PairLanes<V>>(_mm_shuffle_epi8(bitsOf<__m128i>(lanes), bitsOf<__m128i>(control)));
  }
#endif
  return packPair((lanes >> (8 * First)) & 0xFFu, (lanes >> (8 * Second)) & 0xFFu);
}

// Every piece's second quantity in both its halves. The unpack works
// within 16-byte pieces, where a compiler left to itself may pick a slower
// shuffle across them.
template <class P>
[[gnu::always_inline]] inline P secondOfPairTwice(P pair) {
#if defined(__AVX512F__)
  if constexpr (sizeof(P) == 64) {
    // The zero-masked form: the plain one starts from an undefined vector.
    return bitsOf<P>(_mm512_maskz_unpackhi_epi64(0xFF, bitsOf<__m512i>(pair), bitsOf<__m512i>(pair)));
  }
#endif
#if defined(__AVX2__)
  if constexpr (sizeof(P) == 32) {
    return bitsOf<P>(_mm256_unpackhi_epi64(bitsOf<__m256i>(pair), bitsOf<__m256i>(pair)));
  }
#endif
#if defined(__SSE2__)
  if constexpr (sizeof(P) == 16) return bitsOf<P>(_mm_unpackhi_epi64(bitsOf<__m128i>(pair), bitsOf<__m128i>(pair)));
#endif
  return [pair]<uint32_t... K>(std::integer_sequence<uint32_t, K...>) {
    return __builtin_shufflevector(pair, pair, (K / 8 * 8 + 4 + K % 4)...);
  }
  (std::make_integer_sequence<uint32_t, sizeof(P) / 2>{});
}

// intensityLanes of two 8.16 quantities, as a pair: their integer parts fit
// sixteen bits, and the saturation of the pack cannot move them into 0..255.
template <class V>
[[gnu::always_inline]] inline PairLanes<V> intensityPair(V a, V b) {
  using I = LaneI32<laneCountOf<V>>;
  using S = SignedPairLanes<V>;
  S whole = bitsOf<S>(packPair(bitsOf<V>(bitsOf<I>(a) >> 16), bitsOf<V>(bitsOf<I>(b) >> 16)));
  whole = whole < 0 ? S{} : whole;
  whole = whole > 255 ? S{} + 255 : whole;
  return bitsOf<PairLanes<V>>(whole);
}

// Sums of two intensities (at most 510) capped at 255.
template <class P>
[[gnu::always_inline]] inline P min255Pair(P x) {
  using S = typename VectorOf<int16_t, sizeof(P)>::type;
  const S s = bitsOf<S>(x);
  return bitsOf<P>(s > 255 ? S{} + 255 : s);
}

// The upper sixteen bits of each lane's 32-bit product.
template <class P>
[[gnu::always_inline]] inline P multiplyHigh(P a, P b) {
#if defined(__AVX512BW__)
  if constexpr (sizeof(P) == 64) return bitsOf<P>(_mm512_mulhi_epu16(bitsOf<__m512i>(a), bitsOf<__m512i>(b)));
#endif
#if defined(__AVX2__)
  if constexpr (sizeof(P) == 32) return bitsOf<P>(_mm256_mulhi_epu16(bitsOf<__m256i>(a), bitsOf<__m256i>(b)));
#endif
#if defined(__SSE2__)
  if constexpr (sizeof(P) == 16) return bitsOf<P>(_mm_mulhi_epu16(bitsOf<__m128i>(a), bitsOf<__m128i>(b)));
#endif
  using Wide = typename VectorOf<uint32_t, 2 * sizeof(P)>::type;
  return __builtin_convertvector((__builtin_convertvector(a, Wide) * __builtin_convertvector(b, Wide)) >> 16, P);
}

// roundedProduct255 of intensity pairs in sixteen-bit lanes. With t = a b + 128
// = 256 h + l, (t + (t >> 8) + 1) >> 8 is h + (l + h + 1) / 256, which is
// also ((t + 1) 257) >> 16: one high multiply for the rounding steps, and
// t + 1 stays below 2^16 (at most 65,154).
template <class P>
[[gnu::always_inline]] inline P productPair(P a, P b) {
  return multiplyHigh(a * b + 129, P{} + 257);
}

// base[index] of every lane.
template <class V>
[[gnu::always_inline]] inline V gatherLanes(const uint32_t* base, V index) {
#if defined(__AVX512F__)
  // The masked form: the plain one starts from an undefined vector, which
  // the compiler reports as uninitialised.
  if constexpr (sizeof(V) == 64) {
    return bitsOf<V>(_mm512_mask_i32gather_epi32(_mm512_setzero_si512(), 0xFFFF, bitsOf<__m512i>(index), base, 4));
  }
#endif
#if defined(__AVX2__)
  if constexpr (sizeof(V) == 32) {
    return bitsOf<V>(_mm256_i32gather_epi32(reinterpret_cast<const int*>(base), bitsOf<__m256i>(index), 4));
  }
  if constexpr (sizeof(V) == 16) {
    return bitsOf<V>(_mm_i32gather_epi32(reinterpret_cast<const int*>(base), bitsOf<__m128i>(index), 4));
  }
#endif
  V out;
  for (uint32_t k = 0; k < laneCountOf<V>; ++k) out[k] = base[index[k]];
  return out;
}

// table[index] of every lane, for a byte table whose size is a multiple of
// four: each lane reads the aligned word holding its byte, so nothing past
// the table is read.
template <class V>
[[gnu::always_inline]] inline V tableByteLanes(const uint8_t* table, V index) {
  const V words = gatherLanes(reinterpret_cast<const uint32_t*>(table), index >> 2);
  return (words >> ((index & 3u) << 3)) & 0xFFu;
}

// Pixels of `Bytes` bytes each, zero-extended into the lanes, and back:
// exactly the pixels' bytes are read and written.
template <uint32_t Bytes, class V>
[[gnu::always_inline]] inline V loadPixelLanes(const uint8_t* at) {
  constexpr uint32_t n = laneCountOf<V>;
  if constexpr (Bytes == 4) {
    V out;
    std::memcpy(&out, at, sizeof out);
    return out;
  } else if constexpr (Bytes == 3) {
    // The 3 n bytes spread over 4 n, a zero byte after each pixel.
    using Bytes4 = typename VectorOf<uint8_t, 4 * n>::type;
    Bytes4 packed{};
    std::memcpy(&packed, at, 3 * n);
    return bitsOf<V>([packed]<uint32_t... K>(std::integer_sequence<uint32_t, K...>) {
      return __builtin_shufflevector(packed, Bytes4{}, (K % 4 == 3 ? 4 * n : K / 4 * 3 + K % 4)...);
    }(std::make_integer_sequence<uint32_t, 4 * n>{}));
  } else {
    using Narrow = typename VectorOf<std::conditional_t<Bytes == 2, uint16_t, uint8_t>, Bytes * n>::type;
    Narrow narrow;
    std::memcpy(&narrow, at, sizeof narrow);
    return __builtin_convertvector(narrow, V);
  }
}

// Stores the low `Bytes` bytes of each lane.
template <uint32_t Bytes, class V>
[[gnu::always_inline]] inline void storePixelLanes(uint8_t* at, V pixels) {
  constexpr uint32_t n = laneCountOf<V>;
  if constexpr (Bytes == 4) {
    std::memcpy(at, &pixels, sizeof pixels);
  } else if constexpr (Bytes == 3) {
    using Bytes4 = typename VectorOf<uint8_t, 4 * n>::type;
    const Bytes4 packed = [bytes = bitsOf<Bytes4>(pixels)]<uint32_t... K>(std::integer_sequence<uint32_t, K...>) {
      return __builtin_shufflevector(bytes, bytes, (K < 3 * n ? K / 3 * 4 + K % 3 : 0)...);
    }
    (std::make_integer_sequence<uint32_t, 4 * n>{});
    std::memcpy(at, &packed, 3 * n);
  } else {
    using Narrow = typename VectorOf<std::conditional_t<Bytes == 2, uint16_t, uint8_t>, Bytes * n>::type;
    const Narrow narrow = __builtin_convertvector(pixels, Narrow);
    std::memcpy(at, &narrow, sizeof narrow);
  }
}

// Whether this instruction set moves pixels and depths under a lane mask
// (AVX-512 with its byte, word and vector-length extensions): lanes outside
// the mask are then neither read nor written, so a partial block needs no
// stored pixels to merge with and may reach past the row.
#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512DQ__)
#define KELRUK_LANE_MASKS 1
inline constexpr bool hasLaneMasks = true;
#else
#define KELRUK_LANE_MASKS 0
inline constexpr bool hasLaneMasks = false;
#endif

// Masked moves of pixels of `Bytes` bytes (4, 2 or 1; three-byte pixels have
// none) for blocks of 4, 8 or 16 lanes.
template <uint32_t Bytes>
inline constexpr bool movesUnderMask = hasLaneMasks&& Bytes != 3;

#if KELRUK_LANE_MASKS
// The mask of a vector mask (lanes all ones or zero), a bit per lane.
template <class V>
[[gnu::always_inline]] inline __mmask16 laneMaskBits(V mask) {
  if constexpr (sizeof(V) == 64) return _mm512_movepi32_mask(bitsOf<__m512i>(mask));
  if constexpr (sizeof(V) == 32) return _mm256_movepi32_mask(bitsOf<__m256i>(mask));
  if constexpr (sizeof(V) == 16) return _mm_movepi32_mask(bitsOf<__m128i>(mask));
}

// Pixels zero-extended into the lanes set in `mask`, the other lanes zero;
// only the masked pixels' bytes are read.
template <uint32_t Bytes, class V>
[[gnu::always_inline]] inline V loadPixelLanesMasked(const uint8_t* at, V mask) {
  static_assert(movesUnderMask<Bytes>);
  // The zero-masked conversions: the plain ones start from an undefined
  // vector, which the compiler reports as uninitialised.
  const __mmask16 m = laneMaskBits(mask);
  if constexpr (sizeof(V) == 64) {
    if constexpr (Bytes == 4) return bitsOf<V>(_mm512_maskz_loadu_epi32(m, at));
    if constexpr (Bytes == 2) return bitsOf<V>(_mm512_maskz_cvtepu16_epi32(0xFFFF, _mm256_maskz_loadu_epi16(m, at)));
    if constexpr (Bytes == 1) return bitsOf<V>(_mm512_maskz_cvtepu8_epi32(0xFFFF, _mm_maskz_loadu_epi8(m, at)));
  } else if constexpr (sizeof(V) == 32) {
    if constexpr (Bytes == 4) return bitsOf<V>(_mm256_maskz_loadu_epi32(m, at));
    if constexpr (Bytes == 2) return bitsOf<V>(_mm256_cvtepu16_epi32(_mm_maskz_loadu_epi16(m, at)));
    if constexpr (Bytes == 1) return bitsOf<V>(_mm256_cvtepu8_epi32(_mm_maskz_loadu_epi8(m, at)));
  } else {
    if constexpr (Bytes == 4) return bitsOf<V>(_mm_maskz_loadu_epi32(m, at));
    if constexpr (Bytes == 2) return bitsOf<V>(_mm_cvtepu16_epi32(_mm_maskz_loadu_epi16(m, at)));
    if constexpr (Bytes == 1) return bitsOf<V>(_mm_cvtepu8_epi32(_mm_maskz_loadu_epi8(m, at)));
  }
}

// Stores the low `Bytes` bytes of the lanes set in `mask`; nothing else is
// written.
template <uint32_t Bytes, class V>
[[gnu::always_inline]] inline void storePixelLanesMasked(uint8_t* at, V pixels, V mask) {
  static_assert(movesUnderMask<Bytes>);
  const __mmask16 m = laneMaskBits(mask);
  if constexpr (sizeof(V) == 64) {
    if constexpr (Bytes == 4) _mm512_mask_storeu_epi32(at, m, bitsOf<__m512i>(pixels));
    if constexpr (Bytes == 2) _mm512_mask_cvtepi32_storeu_epi16(at, m, bitsOf<__m512i>(pixels));
    if constexpr (Bytes == 1) _mm512_mask_cvtepi32_storeu_epi8(at, m, bitsOf<__m512i>(pixels));
  } else if constexpr (sizeof(V) == 32) {
    if constexpr (Bytes == 4) _mm256_mask_storeu_epi32(at, m, bitsOf<__m256i>(pixels));
    if constexpr (Bytes == 2) _mm256_mask_cvtepi32_storeu_epi16(at, m, bitsOf<__m256i>(pixels));
    if constexpr (Bytes == 1) _mm256_mask_cvtepi32_storeu_epi8(at, m, bitsOf<__m256i>(pixels));
  } else {
    if constexpr (Bytes == 4) _mm_mask_storeu_epi32(at, m, bitsOf<__m128i>(pixels));
    if constexpr (Bytes == 2) _mm_mask_cvtepi32_storeu_epi16(at, m, bitsOf<__m128i>(pixels));
    if constexpr (Bytes == 1) _mm_mask_cvtepi32_storeu_epi8(at, m, bitsOf<__m128i>(pixels));
  }
}
#else
template <uint32_t Bytes, class V>
V loadPixelLanesMasked(const uint8_t* at, V mask);  // never called without lane masks
template <uint32_t Bytes, class V>
void storePixelLanesMasked(uint8_t* at, V pixels, V mask);
#endif

// The processor's truncating conversion to int32 of every lane: a value out
// of range or not a number gives 0x80000000, on every instruction set.
template <class F>
[[gnu::always_inline]] inline auto truncateLanes(F value) {
  constexpr uint32_t n = sizeof(F) / sizeof(value[0]);
  using I = LaneI32<n>;
  I out;
#if defined(__AVX512F__)
  // The zero-masked forms: the plain ones start from an undefined vector,
  // which the compiler reports as uninitialised.
  if constexpr (sizeof(value[0]) == 4 && n == 16) {
    return bitsOf<I>(_mm512_maskz_cvttps_epi32(0xFFFF, bitsOf<__m512>(value)));
  }
  if constexpr (sizeof(value[0]) == 8 && n == 8) {
    return bitsOf<I>(_mm512_maskz_cvttpd_epi32(0xFF, bitsOf<__m512d>(value)));
  }
#endif
#if defined(__AVX__)
  if constexpr (sizeof(value[0]) == 4 && n == 8) return bitsOf<I>(_mm256_cvttps_epi32(bitsOf<__m256>(value)));
  if constexpr (sizeof(value[0]) == 8 && n == 4) return bitsOf<I>(_mm256_cvttpd_epi32(bitsOf<__m256d>(value)));
#endif
#if defined(__SSE2__)
  if constexpr (sizeof(value[0]) == 4 && n % 4 == 0) {
    for (uint32_t part = 0; part < n / 4; ++part) {
      __m128 piece;
      std::memcpy(&piece, reinterpret_cast<const uint8_t*>(&value) + 16 * part, 16);
      const __m128i whole = _mm_cvttps_epi32(piece);
      std::memcpy(reinterpret_cast<uint8_t*>(&out) + 16 * part, &whole, 16);
    }
    return out;
  } else if constexpr (sizeof(value[0]) == 8 && n % 2 == 0) {
    for (uint32_t part = 0; part < n / 2; ++part) {
      __m128d piece;
      std::memcpy(&piece, reinterpret_cast<const uint8_t*>(&value) + 16 * part, 16);
      const __m128i whole = _mm_cvttpd_epi32(piece);
      std::memcpy(reinterpret_cast<uint8_t*>(&out) + 8 * part, &whole, 8);
    }
    return out;
  }
#endif
  for (uint32_t k = 0; k < n; ++k) {
    const auto v = value[k];
    out[k] = v >= -2147483648.0 && v < 2147483648.0 ? static_cast<int32_t>(v) : INT32_MIN;
  }
  return out;
}

}  // namespace KELRUK_ISA
