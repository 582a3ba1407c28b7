// The one skeleton from which every line routine is generated: template
// arguments are the pixel target (format) and the LineVariant (depth mode,
// smooth colour, blending), so each combination is its own routine and nothing
// is tested per pixel.
//
// A line runs between the integer pixels of its two end points. It steps one
// pixel at a time along the longer axis (the y axis when both are equally
// long) with an integer error term for the other axis, and visits exactly n
// pixels, n being the longer axis' length: the start pixel first, never the
// end pixel. Depth and the 8.16 quantities change by a constant integer step
// per pixel, (end - start) / n truncated toward zero, so they stay between
// their end values.
//
// Blended lines mix with the stored pixel by alpha, per channel
// out = P[a][c] + P[255 - a][dst], with dst the stored pixel read back in the
// format's way. Flat members use slot 0's colour and alpha throughout; smooth
// members interpolate colour and alpha.
#pragma once
#include <array>
#include <cstdint>
#include <utility>

#include "device/product_table.h"
#include "raster/intensity.h"
#include "raster/pixel_targets.h"
#include "raster/raster.h"
#include "raster/raster_tables.h"
#include "raster/triangle_variants.h"
#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

// One line routine's identity; also the template argument that generates it.
struct LineVariant {
  uint32_t depthMode;
  bool smooth;
  bool blend;
  friend constexpr bool operator==(const LineVariant&, const LineVariant&) = default;

  constexpr bool testsDepth() const { return (depthMode & DEPTH_TEST) != 0; }
  constexpr bool writesDepth() const { return (depthMode & DEPTH_WRITE) != 0; }
  constexpr bool carriesDepth() const { return depthMode != DEPTH_NONE; }
};

// A line slot is depth mode + 4 smooth + 8 blend + 16 texture. Only triangle
// models are textured, so the texture slots never arise: they draw nothing.
constexpr bool lineSlotDraws(uint32_t slot) { return (slot & RF_TEXTURE) == 0; }
constexpr LineVariant lineSlotVariant(uint32_t slot) {
  return {slot & 3, (slot & RF_SMOOTH) != 0, (slot & RF_BLEND) != 0};
}

inline void drawNoLine(const RasterTarget*, const RasterPrimitive*) {}

namespace line_detail {

inline constexpr uint32_t ALPHA = 3;  // index of alpha after the three colour channels

// Slot 0's 8.16 colour and alpha, clamped to intensities 0..255: with both
// ends clamped, every interpolated value between them is in range as well.
inline std::array<int32_t, 4> channelsOf(const RasterVertex& v) {
  return {clampIntensity816(v.c0), clampIntensity816(v.c1), clampIntensity816(v.c2), clampIntensity816(v.a)};
}

inline uint32_t product(uint32_t a, uint32_t b) { return productTable8[(a << 8) | b]; }

}  // namespace line_detail

// The intensities of three clamped 8.16 channels.
inline Rgb8 intensitiesOf(const std::array<int32_t, 4>& c) {
  return {static_cast<uint32_t>(c[0]) >> 16, static_cast<uint32_t>(c[1]) >> 16, static_cast<uint32_t>(c[2]) >> 16};
}

template <class Target, LineVariant V>
void drawLine(const RasterTarget* target, const RasterPrimitive* primitive) {
  using namespace line_detail;
  const RasterVertex& start = primitive->vertices[0];
  const RasterVertex& end = primitive->vertices[1];
  const int32_t x0 = start.x >> 16;
  const int32_t y0 = start.y >> 16;
  const int32_t x1 = end.x >> 16;
  const int32_t y1 = end.y >> 16;
  const int32_t dx = x1 > x0 ? x1 - x0 : x0 - x1;
  const int32_t dy = y1 > y0 ? y1 - y0 : y0 - y1;
  const bool xMajor = dy < dx;
  const int32_t n = xMajor ? dx : dy;
  if (n < 1) return;

  // One step along each axis, in colour-buffer bytes and in depth entries.
  constexpr int64_t bytesPerPixel = Target::bytesPerPixel;
  const int64_t columnBytes = x1 > x0 ? bytesPerPixel : -bytesPerPixel;
  const int64_t rowBytes = y1 > y0 ? int64_t{target->rowBytes} : -int64_t{target->rowBytes};
  const int64_t columnEntries = x1 > x0 ? 1 : -1;
  const int64_t rowEntries = y1 > y0 ? int64_t{target->depthRow} : -int64_t{target->depthRow};
  const int64_t majorBytes = xMajor ? columnBytes : rowBytes;
  const int64_t minorBytes = xMajor ? rowBytes : columnBytes;
  const int64_t majorEntries = xMajor ? columnEntries : rowEntries;
  const int64_t minorEntries = xMajor ? rowEntries : columnEntries;
  const int32_t minorLength = xMajor ? dy : dx;

  uint8_t* const color = target->colorBuffer;
  int32_t* const depth = target->depthBuffer;
  int64_t colorOffset = colorOffsetOf(*target, y0, x0, Target::bytesPerPixel);
  int64_t depthOffset = 0;
  int64_t z = start.z;
  int64_t zStep = 0;
  if constexpr (V.carriesDepth()) {
    depthOffset = depthOffsetOf(*target, y0, x0);
    zStep = (int64_t{end.z} - int64_t{start.z}) / n;  // truncates toward zero
  }

  const Target pixels(*target);
  std::array<int32_t, 4> c = channelsOf(start);
  std::array<int32_t, 4> cStep{};
  if constexpr (V.smooth) {
    const std::array<int32_t, 4> last = channelsOf(end);
    for (uint32_t i = 0; i < 4; ++i) cStep[i] = (last[i] - c[i]) / n;
  }

  // Flat members work their colour out once.
  uint32_t flatValue = 0;
  uint32_t flatSource[3] = {};
  const uint8_t* flatKeep = nullptr;
  if constexpr (!V.smooth && !V.blend) flatValue = pixels.encode(intensitiesOf(c));
  if constexpr (!V.smooth && V.blend) {
    const uint32_t a = static_cast<uint32_t>(c[ALPHA]) >> 16;
    for (uint32_t i = 0; i < 3; ++i) flatSource[i] = product(a, static_cast<uint32_t>(c[i]) >> 16);
    flatKeep = productRow(255 - a);
  }

  int32_t error = -(n >> 1);
  for (int32_t visited = 0; visited < n; ++visited) {
    bool visible = true;
    if constexpr (V.testsDepth()) visible = depth[depthOffset] > z;
    if (visible) {
      uint8_t* const at = color + colorOffset;
      if constexpr (!V.blend && !V.smooth) {
        pixels.write(at, flatValue);
      } else if constexpr (!V.blend) {
        pixels.write(at, pixels.encode(intensitiesOf(c)));
      } else {
        const Rgb8 dst = pixels.read(at);
        uint32_t out[3];
        if constexpr (V.smooth) {
          const uint32_t a = static_cast<uint32_t>(c[ALPHA]) >> 16;
          const uint8_t* const keep = productRow(255 - a);
          out[0] = product(a, static_cast<uint32_t>(c[0]) >> 16) + keep[dst.r];
          out[1] = product(a, static_cast<uint32_t>(c[1]) >> 16) + keep[dst.g];
          out[2] = product(a, static_cast<uint32_t>(c[2]) >> 16) + keep[dst.b];
        } else {
          out[0] = flatSource[0] + flatKeep[dst.r];
          out[1] = flatSource[1] + flatKeep[dst.g];
          out[2] = flatSource[2] + flatKeep[dst.b];
        }
        pixels.write(at, pixels.encode({out[0], out[1], out[2]}));
      }
      // Without a test every pixel is visible: write-only members replace
      // the depth of every visited pixel, nearer or not.
      if constexpr (V.writesDepth()) depth[depthOffset] = static_cast<int32_t>(z);
    }

    colorOffset += majorBytes;
    if constexpr (V.carriesDepth()) depthOffset += majorEntries;
    error += minorLength;
    if (error > 0) {
      error -= n;
      colorOffset += minorBytes;
      if constexpr (V.carriesDepth()) depthOffset += minorEntries;
    }
    if constexpr (V.carriesDepth()) z += zStep;
    if constexpr (V.smooth) {
      for (uint32_t i = 0; i < (V.blend ? 4u : 3u); ++i) c[i] += cStep[i];
    }
  }
}

// The 32 slots of a format's line table.
template <class Target>
consteval LineTable makeLineTable() {
  LineTable table{};
  [&]<uint32_t... Slot>(std::integer_sequence<uint32_t, Slot...>) {
    ((table[Slot] = lineSlotDraws(Slot) ? &drawLine<Target, lineSlotVariant(Slot)> : &drawNoLine), ...);
  }
  (std::make_integer_sequence<uint32_t, LINE_TABLE_SIZE>{});
  return table;
}

}  // namespace KELRUK_ISA
