// How line and point routines store a pixel: one policy per pixel format.
//
// Lines and points address each pixel on its own (a line steps by a whole row
// or a single pixel at a time), so a policy works on a pixel's address rather
// than on a bound row. Colours arrive as 8.16 channels whose integer part is
// already 0..255, or (after a blend) as three intensities 0..255.
#pragma once
#include <cstdint>

#include "raster/pixel_encoding.h"
#include "raster/raster_target.h"

// A direct format: the store is the format's own encoding.
template <class Encoding>
struct DirectPixels {
  static constexpr uint32_t bytesPerPixel = Encoding::bytesPerPixel;

  explicit DirectPixels(const RasterTarget&) {}
  uint32_t encode816(int32_t c0, int32_t c1, int32_t c2) const { return Encoding::from816(c0, c1, c2); }
  uint32_t encodeBytes(uint32_t r, uint32_t g, uint32_t b) const { return Encoding::fromBytes(r, g, b); }
  void write(uint8_t* at, uint32_t value) const { Encoding::write(at, value); }
  Rgb8 load(const uint8_t* at) const { return Encoding::readBack(Encoding::read(at)); }
};

using Rgb32Pixels = DirectPixels<Rgb32Encoding>;
using Rgb24Pixels = DirectPixels<Rgb24Encoding>;
using Rgb16Pixels = DirectPixels<Rgb16Encoding>;
using Rgb555Pixels = DirectPixels<Rgb555Encoding>;

// Indexed8: the nearest palette colour through inverseColorMap12, no dither.
// A stored index reads back as the intensity of all three channels.
struct IndexedNearestPixels {
  static constexpr uint32_t bytesPerPixel = 1;

  const uint8_t* map12;

  explicit IndexedNearestPixels(const RasterTarget& target) : map12(target.inverseColorMap12) {}
  uint32_t encode816(int32_t c0, int32_t c1, int32_t c2) const { return map12[nearestIndex12From816(c0, c1, c2)]; }
  uint32_t encodeBytes(uint32_t r, uint32_t g, uint32_t b) const { return map12[nearestIndex12(r, g, b)]; }
  void write(uint8_t* at, uint32_t value) const { *at = static_cast<uint8_t>(value); }
  Rgb8 load(const uint8_t* at) const { return indexedReadBack(*at); }
};

// The byte offset of pixel (row, column) in the colour buffer: rows are
// `rowBytes` apart.
inline int64_t colorOffsetOf(const RasterTarget& target, int32_t row, int32_t column, uint32_t bytesPerPixel) {
  return static_cast<int64_t>(row) * target.rowBytes + static_cast<int64_t>(column) * bytesPerPixel;
}

// The entry of pixel (row, column) in the depth buffer: rows are `depthRow` apart.
inline int64_t depthOffsetOf(const RasterTarget& target, int32_t row, int32_t column) {
  return static_cast<int64_t>(row) * target.depthRow + column;
}
