// Where the scan converters write their pixels: one target per routine
// table, made from a format's description (device/pixel_format.h) and the
// raster's record. Triangles, lines and points of a format share it.
//
// A target encodes three intensities and writes the pixel at an address, or
// reads a stored pixel back as intensities for blending (lines and points).
// Bound to a colour-buffer row, it stores and loads by column (triangles),
// and it also moves and encodes eight pixels at a time (loadBlock,
// storeBlock, encodeBlock, decodeBlock) with results identical pixel for
// pixel. An encoding that depends on the column (the dither) says so with
// encodingVariesByColumn.
//
// Only sources compiled for x86-64-v3 include this header.
#pragma once
#include <cstdint>

#include "device/pixel_format.h"
#include "raster/raster_target.h"
#include "raster/simd8.h"

template <class Format>
struct DirectTarget {
  static constexpr uint32_t bytesPerPixel = Format::bytesPerPixel;
  static constexpr bool encodingVariesByColumn = false;

  uint8_t* row = nullptr;

  explicit DirectTarget(const RasterTarget&) {}

  uint32_t encode(const Rgb8& c) const { return Format::encode(c); }
  static void write(uint8_t* at, uint32_t pixel) { Format::store(at, pixel); }
  static Rgb8 read(const uint8_t* at) { return Format::decode(Format::load(at)); }

  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, const Rgb8& c) const { write(row + static_cast<uint32_t>(column) * bytesPerPixel, encode(c)); }
  Rgb8 load(int32_t column) const { return read(row + static_cast<uint32_t>(column) * bytesPerPixel); }

  static Lanes8 loadBlock(const uint8_t* at) { return PixelBlock8<bytesPerPixel>::load(at); }
  static void storeBlock(uint8_t* at, Lanes8 pixels) { PixelBlock8<bytesPerPixel>::store(at, pixels); }
  static Lanes8 encodeBlock(const Channels8& c, int32_t) { return asLanes8(Format::encode(asU32x8(c))); }
  static Channels8 decodeBlock(Lanes8 pixels) { return asLanes8(Format::decode(asU32x8(pixels))); }
};

using Rgb32Target = DirectTarget<Rgb32Format>;
using Rgb24Target = DirectTarget<Rgb24Format>;
using Rgb16Target = DirectTarget<Rgb16Format>;
using Rgb555Target = DirectTarget<Rgb555Format>;

// Indexed8 without dither: the nearest palette colour through inverseColorMap12.
struct IndexedNearestTarget {
  using Codec = IndexedNearestCodec;
  static constexpr uint32_t bytesPerPixel = Codec::bytesPerPixel;
  static constexpr bool encodingVariesByColumn = false;

  Codec codec;
  uint8_t* row = nullptr;

  explicit IndexedNearestTarget(const RasterTarget& target) : codec{target.inverseColorMap12} {}

  uint32_t encode(const Rgb8& c) const { return codec.encode(c); }
  static void write(uint8_t* at, uint32_t pixel) { Codec::store(at, pixel); }
  static Rgb8 read(const uint8_t* at) { return Codec::decode(Codec::load(at)); }

  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, const Rgb8& c) const { write(row + column, encode(c)); }
  Rgb8 load(int32_t column) const { return read(row + column); }

  static Lanes8 loadBlock(const uint8_t* at) { return PixelBlock8<1>::load(at); }
  static void storeBlock(uint8_t* at, Lanes8 pixels) { PixelBlock8<1>::store(at, pixels); }
  Lanes8 encodeBlock(const Channels8& c, int32_t) const {
    return tableBytes8(codec.map12, asLanes8(Codec::mapIndex(asU32x8(c))));
  }
  static Channels8 decodeBlock(Lanes8 pixels) { return asLanes8(Codec::decode(asU32x8(pixels))); }
};

// Indexed8 with the ordered dither through inverseColorMap6. The threshold
// comes from the row and from the pixel's byte offset in the colour buffer,
// so this target draws bound to a row only.
struct IndexedDitheredTarget {
  using Codec = IndexedDitheredCodec;
  static constexpr uint32_t bytesPerPixel = Codec::bytesPerPixel;
  static constexpr bool encodingVariesByColumn = true;

  Codec codec;
  uint32_t rowBytes;
  uint8_t* row = nullptr;
  uint32_t rowIndex = 0;
  uint32_t rowOffset = 0;                         // byte offset of the row's first pixel
  Lanes8 rowThresholds = _mm256_setzero_si256();  // the row's four thresholds, twice

  explicit IndexedDitheredTarget(const RasterTarget& target)
      : codec{target.inverseColorMap6}, rowBytes(target.rowBytes) {}

  void beginRow(uint32_t index, uint8_t* rowStart) {
    row = rowStart;
    rowIndex = index;
    rowOffset = index * rowBytes;
    int32_t four;
    __builtin_memcpy(&four, DitherMatrix.data() + (index & 3) * 4, sizeof four);
    rowThresholds = _mm256_broadcastsi128_si256(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(four)));
  }
  void store(int32_t column, const Rgb8& c) const {
    Codec::store(row + column, codec.encode(Codec::threshold(rowIndex, rowOffset + static_cast<uint32_t>(column)), c));
  }
  Rgb8 load(int32_t column) const { return Codec::decode(Codec::load(row + column)); }

  static Lanes8 loadBlock(const uint8_t* at) { return PixelBlock8<1>::load(at); }
  static void storeBlock(uint8_t* at, Lanes8 pixels) { PixelBlock8<1>::store(at, pixels); }
  Lanes8 encodeBlock(const Channels8& c, int32_t column) const {
    // Lane k takes the threshold of byte offset rowOffset + column + k.
    const Lanes8 first = splat8((rowOffset + static_cast<uint32_t>(column)) & 3);
    const Lanes8 phase = _mm256_and_si256(_mm256_add_epi32(first, _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)), splat8(7));
    const U32x8 thresholds = asU32x8(_mm256_permutevar8x32_epi32(rowThresholds, phase));
    return tableBytes8(codec.map6, asLanes8(Codec::mapIndex(thresholds, asU32x8(c))));
  }
  static Channels8 decodeBlock(Lanes8 pixels) { return asLanes8(Codec::decode(asU32x8(pixels))); }
};
