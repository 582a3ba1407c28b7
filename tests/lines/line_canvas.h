// Drawing single lines and points through a format's real tables onto a
// canvas of plain buffers, and comparing the whole canvas with the pixels expected.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <utility>

#include "raster/raster.h"
#include "raster/raster_canvas.h"

// 8.16 channels from three intensities.
struct Colour816 {
  int32_t c0, c1, c2;
};
inline Colour816 intensities(uint32_t r, uint32_t g, uint32_t b) {
  return {static_cast<int32_t>(r << 16), static_cast<int32_t>(g << 16), static_cast<int32_t>(b << 16)};
}

inline RasterVertex pixelVertex(int32_t column, int32_t row, Colour816 colour = {}, int32_t z = 0,
                                uint32_t alpha = 255) {
  RasterVertex v{};
  v.x = column * 65536;
  v.y = row * 65536;
  v.z = z;
  v.c0 = colour.c0;
  v.c1 = colour.c1;
  v.c2 = colour.c2;
  v.a = static_cast<int32_t>(alpha << 16);
  return v;
}

inline RasterPrimitive linePrimitive(const RasterVertex& start, const RasterVertex& end) {
  RasterPrimitive p{};
  p.kind = RP_LINE;
  p.vertices[0] = start;
  p.vertices[1] = end;
  return p;
}

inline RasterPrimitive pointPrimitive(const RasterVertex& at) {
  RasterPrimitive p{};
  p.kind = RP_POINT;
  p.vertices[0] = at;
  return p;
}

inline void drawLineSlot(RasterCanvas& canvas, uint32_t slot, const RasterPrimitive& line) {
  rasterTablesFor(canvas.format)->lines[slot](canvas.target(), &line);
}

inline void drawPointSlot(RasterCanvas& canvas, uint32_t slot, const RasterPrimitive& point) {
  rasterTablesFor(canvas.format)->points[slot](canvas.target(), &point);
}

// (column, row) -> stored pixel value.
using PixelMap = std::map<std::pair<uint32_t, uint32_t>, uint32_t>;

// Every pixel is its expected value or the background; the row padding is untouched.
inline void expectCanvas(RasterCanvas& canvas, uint32_t background, const PixelMap& expected) {
  for (uint32_t row = 0; row < canvas.height; ++row) {
    for (uint32_t column = 0; column < canvas.width; ++column) {
      const auto found = expected.find({column, row});
      const uint32_t want = found == expected.end() ? background : found->second;
      EXPECT_EQ(canvas.pixel(row, column), want) << "column " << column << " row " << row;
    }
  }
  EXPECT_TRUE(canvas.paddingUntouched());
}
