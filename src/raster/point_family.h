// The one skeleton from which every point routine is generated: template
// arguments are the pixel target (format) and the depth mode. A point is one
// pixel, drawn opaque in slot 0's colour: the smooth, blend and texture bits
// of its slot are ignored.
#pragma once
#include <cstdint>
#include <utility>

#include "raster/intensity.h"
#include "raster/pixel_targets.h"
#include "raster/raster.h"
#include "raster/raster_tables.h"
#include "raster/triangle_variants.h"
#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

template <class Target, uint32_t DepthMode>
void drawPoint(const RasterTarget* target, const RasterPrimitive* primitive) {
  const RasterVertex& point = primitive->vertices[0];
  const int32_t column = point.x >> 16;
  const int32_t row = point.y >> 16;
  int32_t* depthAt = nullptr;
  if constexpr (DepthMode != DEPTH_NONE) depthAt = target->depthBuffer + depthOffsetOf(*target, row, column);
  if constexpr ((DepthMode & DEPTH_TEST) != 0) {
    if (*depthAt <= point.z) return;
  }
  const Target pixels(*target);
  pixels.write(target->colorBuffer + colorOffsetOf(*target, row, column, Target::bytesPerPixel),
               pixels.encode({intensityOf816(point.c0), intensityOf816(point.c1), intensityOf816(point.c2)}));
  if constexpr ((DepthMode & DEPTH_WRITE) != 0) *depthAt = point.z;
}

// The 32 slots of a format's point table: only the depth mode matters.
template <class Target>
consteval PointTable makePointTable() {
  PointTable table{};
  [&]<uint32_t... Slot>(std::integer_sequence<uint32_t, Slot...>) {
    ((table[Slot] = &drawPoint<Target, Slot & 3>), ...);
  }
  (std::make_integer_sequence<uint32_t, POINT_TABLE_SIZE>{});
  return table;
}

}  // namespace KELRUK_ISA
