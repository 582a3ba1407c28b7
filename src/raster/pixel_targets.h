// Where a triangle routine writes its pixels: one target per triangle table.
//
// A target is bound to one colour-buffer row at a time and stores three
// 8-bit intensities at a column in its table's encoding, or reads a stored
// pixel back as three intensities for blending. Every target also moves and
// encodes eight pixels at a time (loadBlock, storeBlock, encodeBlock,
// decodeBlock), with results identical pixel for pixel; an encoding that
// depends on the column (the dither) says so with encodingVariesByColumn.
//
// Only sources compiled for x86-64-v3 include this header.
#pragma once
#include <cstdint>

#include "raster/pixel_encoding.h"
#include "raster/raster_target.h"
#include "raster/simd8.h"

template <class Encoding>
struct DirectTarget {
  using PixelEncoding = Encoding;
  static constexpr uint32_t bytesPerPixel = Encoding::bytesPerPixel;

  uint8_t* row = nullptr;

  explicit DirectTarget(const RasterTarget&) {}
  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, uint32_t r, uint32_t g, uint32_t b) const {
    Encoding::write(row + static_cast<uint32_t>(column) * bytesPerPixel, Encoding::fromBytes(r, g, b));
  }
  Rgb8 load(int32_t column) const {
    return Encoding::readBack(Encoding::read(row + static_cast<uint32_t>(column) * bytesPerPixel));
  }

  static constexpr bool encodingVariesByColumn = false;
  Lanes8 loadBlock(const uint8_t* at) const { return BlockCodec<Encoding>::loadRaw(at); }
  void storeBlock(uint8_t* at, Lanes8 pixels) const { BlockCodec<Encoding>::storeRaw(at, pixels); }
  Lanes8 encodeBlock(const Channels8& c, int32_t) const { return BlockCodec<Encoding>::encode(c); }
  Channels8 decodeBlock(Lanes8 pixels) const { return BlockCodec<Encoding>::decode(pixels); }
};

using Rgb32Target = DirectTarget<Rgb32Encoding>;
using Rgb24Target = DirectTarget<Rgb24Encoding>;
using Rgb16Target = DirectTarget<Rgb16Encoding>;
using Rgb555Target = DirectTarget<Rgb555Encoding>;

// Indexed8 without dither: the nearest palette colour through inverseColorMap12.
struct IndexedNearestTarget {
  static constexpr uint32_t bytesPerPixel = 1;

  const uint8_t* map12;
  uint8_t* row = nullptr;

  explicit IndexedNearestTarget(const RasterTarget& target) : map12(target.inverseColorMap12) {}
  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, uint32_t r, uint32_t g, uint32_t b) const {
    row[column] = map12[nearestIndex12(r, g, b)];
  }
  Rgb8 load(int32_t column) const { return indexedReadBack(row[column]); }

  static constexpr bool encodingVariesByColumn = false;
  Lanes8 loadBlock(const uint8_t* at) const { return BlockCodec8::loadRaw(at); }
  void storeBlock(uint8_t* at, Lanes8 pixels) const { BlockCodec8::storeRaw(at, pixels); }
  Lanes8 encodeBlock(const Channels8& c, int32_t) const { return tableBytes8(map12, nearestIndex12x8(c)); }
  Channels8 decodeBlock(Lanes8 pixels) const { return BlockCodec8::decode(pixels); }
};

// Indexed8 with the ordered dither through inverseColorMap6. The threshold
// comes from the row and from the pixel's byte offset in the colour buffer.
struct IndexedDitheredTarget {
  static constexpr uint32_t bytesPerPixel = 1;

  const uint8_t* map6;
  uint32_t rowBytes;
  uint8_t* row = nullptr;
  const uint8_t* thresholds = nullptr;  // the dither matrix row of the current row
  uint32_t rowOffset = 0;               // byte offset of the row's first pixel

  explicit IndexedDitheredTarget(const RasterTarget& target)
      : map6(target.inverseColorMap6), rowBytes(target.rowBytes) {}
  Lanes8 rowThresholds = _mm256_setzero_si256();  // the row's four thresholds, twice

  void beginRow(uint32_t rowIndex, uint8_t* rowStart) {
    row = rowStart;
    thresholds = DitherMatrix.data() + (rowIndex & 3) * 4;
    rowOffset = rowIndex * rowBytes;
    int32_t four;
    __builtin_memcpy(&four, thresholds, sizeof four);
    rowThresholds = _mm256_broadcastsi128_si256(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(four)));
  }
  void store(int32_t column, uint32_t r, uint32_t g, uint32_t b) const {
    const uint32_t threshold = thresholds[(rowOffset + static_cast<uint32_t>(column)) & 3];
    row[column] = map6[ditherIndex6(threshold, r, g, b)];
  }
  Rgb8 load(int32_t column) const { return indexedReadBack(row[column]); }

  static constexpr bool encodingVariesByColumn = true;
  Lanes8 loadBlock(const uint8_t* at) const { return BlockCodec8::loadRaw(at); }
  void storeBlock(uint8_t* at, Lanes8 pixels) const { BlockCodec8::storeRaw(at, pixels); }
  Lanes8 encodeBlock(const Channels8& c, int32_t column) const {
    // Lane k takes the threshold of byte offset rowOffset + column + k.
    const Lanes8 first = splat8((rowOffset + static_cast<uint32_t>(column)) & 3);
    const Lanes8 phase = _mm256_and_si256(_mm256_add_epi32(first, _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)), splat8(7));
    return tableBytes8(map6, ditherIndex6x8(_mm256_permutevar8x32_epi32(rowThresholds, phase), c));
  }
  Channels8 decodeBlock(Lanes8 pixels) const { return BlockCodec8::decode(pixels); }
};
