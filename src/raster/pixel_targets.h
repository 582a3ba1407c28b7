// Where a triangle routine writes its pixels: one target per triangle table.
//
// A target is bound to one colour-buffer row at a time and stores three
// 8-bit intensities at a column in its table's encoding, or reads a stored
// pixel back as three intensities for blending. The targets of the formats
// with 8-pixel span code also expose block forms (in pixel_targets_simd.h).
#pragma once
#include <cstdint>

#include "context/context.h"
#include "raster/pixel_encoding.h"
#include "raster/raster.h"

template <class Encoding, bool HasBlocks>
struct DirectTarget {
  using PixelEncoding = Encoding;
  static constexpr uint32_t bytesPerPixel = Encoding::bytesPerPixel;
  static constexpr bool hasBlocks = HasBlocks;

  uint8_t* row = nullptr;

  explicit DirectTarget(const RukContext*) {}
  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, uint32_t r, uint32_t g, uint32_t b) const {
    Encoding::write(row + static_cast<uint32_t>(column) * bytesPerPixel, Encoding::fromBytes(r, g, b));
  }
  Rgb8 load(int32_t column) const {
    return Encoding::readBack(Encoding::read(row + static_cast<uint32_t>(column) * bytesPerPixel));
  }
};

using Rgb32Target = DirectTarget<Rgb32Encoding, true>;
using Rgb24Target = DirectTarget<Rgb24Encoding, false>;
using Rgb16Target = DirectTarget<Rgb16Encoding, true>;
using Rgb555Target = DirectTarget<Rgb555Encoding, true>;

// Indexed8 without dither: the nearest palette colour through inverseColorMap12.
struct IndexedNearestTarget {
  static constexpr uint32_t bytesPerPixel = 1;
  static constexpr bool hasBlocks = false;

  const uint8_t* map12;
  uint8_t* row = nullptr;

  explicit IndexedNearestTarget(const RukContext* context) : map12(context->rasterState->inverseColorMap12) {}
  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, uint32_t r, uint32_t g, uint32_t b) const {
    row[column] = map12[nearestIndex12(r, g, b)];
  }
  Rgb8 load(int32_t column) const { return indexedReadBack(row[column]); }
};

// Indexed8 with the ordered dither through inverseColorMap6. The threshold
// comes from the row and from the pixel's byte offset in the colour buffer.
struct IndexedDitheredTarget {
  static constexpr uint32_t bytesPerPixel = 1;
  static constexpr bool hasBlocks = false;

  const uint8_t* map6;
  uint32_t rowBytes;
  uint8_t* row = nullptr;
  const uint8_t* thresholds = nullptr;  // the dither matrix row of the current row
  uint32_t rowOffset = 0;               // byte offset of the row's first pixel

  explicit IndexedDitheredTarget(const RukContext* context)
      : map6(context->rasterState->inverseColorMap6), rowBytes(context->rowBytes) {}
  void beginRow(uint32_t rowIndex, uint8_t* rowStart) {
    row = rowStart;
    thresholds = DitherMatrix.data() + (rowIndex & 3) * 4;
    rowOffset = rowIndex * rowBytes;
  }
  void store(int32_t column, uint32_t r, uint32_t g, uint32_t b) const {
    const uint32_t threshold = thresholds[(rowOffset + static_cast<uint32_t>(column)) & 3];
    row[column] = map6[ditherIndex6(threshold, r, g, b)];
  }
  Rgb8 load(int32_t column) const { return indexedReadBack(row[column]); }
};
