// Eight 32-bit lanes at a time (AVX2): the colour arithmetic of the triangle
// spans, and moving eight pixels of each size between memory and lanes.
// Every function gives, lane by lane, exactly what its scalar counterpart
// gives. The encodings themselves come from the format descriptions
// (device/pixel_format.h), which take U32x8 lanes.
// Only sources compiled for x86-64-v3 include this header.
#pragma once
#include <immintrin.h>

#include <cstdint>

#include "device/pixel_format.h"

using Lanes8 = __m256i;
using U32x8 = uint32_t __attribute__((vector_size(32)));

inline Lanes8 splat8(uint32_t value) { return _mm256_set1_epi32(static_cast<int32_t>(value)); }
inline Lanes8 add8(Lanes8 a, Lanes8 b) { return _mm256_add_epi32(a, b); }
inline int32_t firstLane8(Lanes8 a) { return _mm256_cvtsi256_si32(a); }

// 0, d, 2d, ... 7d in wrapping 32-bit arithmetic.
inline Lanes8 laneMultiples8(int32_t d) {
  return _mm256_mullo_epi32(_mm256_set1_epi32(d), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// The clamped integer part (0..255) of eight 8.16 quantities.
inline Lanes8 intensity8(Lanes8 q) {
  return _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(q, 16), _mm256_setzero_si256()), splat8(255));
}

inline Lanes8 min255x8(Lanes8 x) { return _mm256_min_epi32(x, splat8(255)); }
inline Lanes8 complement255x8(Lanes8 x) { return _mm256_sub_epi32(splat8(255), x); }

// productTable8[a][b] for eight pairs of intensities, computed as
// roundedProduct255 does: eight multiplies cost far less than eight table
// reads (a gather is no faster than eight loads). Both factors sit in the low
// half of each lane with a zero high half, so the 16-bit multiply gives the
// full product.
inline Lanes8 product8(Lanes8 a, Lanes8 b) {
  const Lanes8 t = _mm256_add_epi32(_mm256_mullo_epi16(a, b), splat8(128));
  return _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(t, _mm256_srli_epi32(t, 8)), splat8(1)), 8);
}

struct Channels8 {
  Lanes8 r, g, b;
};

inline Channels8 channelsOfWord8(Lanes8 word) {
  const Lanes8 mask = splat8(0xFF);
  return {_mm256_and_si256(_mm256_srli_epi32(word, 16), mask), _mm256_and_si256(_mm256_srli_epi32(word, 8), mask),
          _mm256_and_si256(word, mask)};
}

// The lanes as the format descriptions take them, and back.
inline U32x8 asU32x8(Lanes8 v) { return reinterpret_cast<U32x8>(v); }
inline Channels<U32x8> asU32x8(const Channels8& c) { return {asU32x8(c.r), asU32x8(c.g), asU32x8(c.b)}; }
inline Lanes8 asLanes8(U32x8 v) { return reinterpret_cast<Lanes8>(v); }
inline Channels8 asLanes8(const Channels<U32x8>& c) { return {asLanes8(c.r), asLanes8(c.g), asLanes8(c.b)}; }

// Eight pixels of `Bytes` bytes each, zero-extended into the lanes, and back:
// exactly the eight pixels' bytes are read and written.
template <uint32_t Bytes>
struct PixelBlock8;

template <>
struct PixelBlock8<4> {
  static Lanes8 load(const uint8_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
  static void store(uint8_t* at, Lanes8 pixels) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), pixels); }
};

// Eight 24-bit pixels are 24 bytes, read and written as 16 and 8.
template <>
struct PixelBlock8<3> {
  static Lanes8 load(const uint8_t* at) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at + 16));
    // Pixels 0-3 are bytes 0-11, pixels 4-7 bytes 12-23.
    const Lanes8 both = _mm256_set_m128i(_mm_alignr_epi8(high, low, 12), low);
    const Lanes8 spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                           0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_shuffle_epi8(both, spread);
  }
  static void store(uint8_t* at, Lanes8 pixels) {
    const Lanes8 squeeze = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                            0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const Lanes8 packed = _mm256_shuffle_epi8(pixels, squeeze);
    const __m128i first = _mm256_castsi256_si128(packed);        // bytes 0-11
    const __m128i second = _mm256_extracti128_si256(packed, 1);  // bytes 12-23
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_or_si128(first, _mm_slli_si128(second, 12)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + 16), _mm_srli_si128(second, 4));
  }
};

template <>
struct PixelBlock8<2> {
  static Lanes8 load(const uint8_t* at) {
    return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
  }
  static void store(uint8_t* at, Lanes8 pixels) {
    // packus keeps each 128-bit half apart: lanes 0-3 land in quadword 0 and
    // lanes 4-7 in quadword 2.
    const Lanes8 packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(pixels, pixels), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(packed));
  }
};

template <>
struct PixelBlock8<1> {
  static Lanes8 load(const uint8_t* at) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)));
  }
  static void store(uint8_t* at, Lanes8 pixels) {
    // Two packs leave pixels 0-3 in the low dword of the lower half and
    // 4-7 in the low dword of the upper half.
    const Lanes8 packed = _mm256_packus_epi16(_mm256_packus_epi32(pixels, pixels), _mm256_setzero_si256());
    const Lanes8 together = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 0, 0, 0, 0, 0, 0));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(together));
  }
};

// table[index] for eight indexes into a byte table whose size is a multiple
// of four: each lane gathers the aligned word holding its byte, so nothing
// past the table is read.
inline Lanes8 tableBytes8(const uint8_t* table, Lanes8 index) {
  const Lanes8 words = _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), _mm256_srli_epi32(index, 2), 4);
  const Lanes8 shift = _mm256_slli_epi32(_mm256_and_si256(index, splat8(3)), 3);
  return _mm256_and_si256(_mm256_srlv_epi32(words, shift), splat8(0xFF));
}
