// Which pixels a line visits, in which order, and how depth and colour step
// along it; drawn through the Rgb32 table.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "lines/line_canvas.h"

namespace {

constexpr uint32_t BACKGROUND = 0;
constexpr uint32_t INK = 0x123456;

struct GeometryCase {
  int32_t x0, y0, x1, y1;
  std::vector<std::pair<uint32_t, uint32_t>> pixels;  // (column, row)
};

class LineGeometry : public testing::TestWithParam<GeometryCase> {};

TEST_P(LineGeometry, VisitsExactlyTheLinePixels) {
  const GeometryCase& g = GetParam();
  RasterCanvas canvas(Rgb32, 6, 6);
  canvas.fillPixels(BACKGROUND);
  const Colour816 ink = intensities(0x12, 0x34, 0x56);
  drawLineSlot(canvas, 0, linePrimitive(pixelVertex(g.x0, g.y0, ink), pixelVertex(g.x1, g.y1, ink)));
  PixelMap expected;
  for (const auto& p : g.pixels) expected[p] = INK;
  expectCanvas(canvas, BACKGROUND, expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineGeometry,
                         testing::Values(
                             // Both ends in one pixel: nothing.
                             GeometryCase{2, 3, 2, 3, {}},
                             // Horizontal both ways: the start pixel first, never the end pixel.
                             GeometryCase{0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
                             GeometryCase{4, 0, 0, 0, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
                             // Equal axes are y-major.
                             GeometryCase{0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
                             GeometryCase{3, 3, 0, 0, {{3, 3}, {2, 2}, {1, 1}}},
                             // Error -2, -1, 0, then 1 > 0 moves one row after the third pixel.
                             GeometryCase{0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
                             GeometryCase{4, 1, 0, 0, {{4, 1}, {3, 1}, {2, 1}, {1, 0}}},
                             // Y-major upwards, the column moving after the third pixel.
                             GeometryCase{0, 4, 1, 0, {{0, 4}, {0, 3}, {0, 2}, {1, 1}}},
                             // Vertical downwards.
                             GeometryCase{5, 1, 5, 4, {{5, 1}, {5, 2}, {5, 3}}}));

TEST(LineGeometry, EndPointsAreTheWholePixelsOfTheirPositions) {
  RasterCanvas canvas(Rgb32, 6, 3);
  canvas.fillPixels(BACKGROUND);
  RasterVertex start = pixelVertex(0, 0, intensities(0x12, 0x34, 0x56));
  RasterVertex end = start;
  start.x = 0x2C000;  // 2.75
  start.y = 0x18000;  // 1.5
  end.x = 0x51999;    // 5.1
  end.y = 0x1E666;    // 1.9
  drawLineSlot(canvas, 0, linePrimitive(start, end));
  expectCanvas(canvas, BACKGROUND, {{{2, 1}, INK}, {{3, 1}, INK}, {{4, 1}, INK}});
}

// Red from 0 to 255 over four pixels steps by 0xFF0000 / 4 = 0x3FC000.
TEST(SmoothLine, StepsTheColourFromTheStartPixel) {
  RasterCanvas canvas(Rgb32, 6, 2);
  canvas.fillPixels(BACKGROUND);
  drawLineSlot(canvas, 4,
               linePrimitive(pixelVertex(0, 0, intensities(0, 0, 0)), pixelVertex(4, 0, intensities(255, 0, 0))));
  drawLineSlot(canvas, 4,
               linePrimitive(pixelVertex(4, 1, intensities(0, 0, 0)), pixelVertex(0, 1, intensities(255, 0, 0))));
  expectCanvas(canvas, BACKGROUND,
               {{{0, 0}, 0x000000},
                {{1, 0}, 0x3F0000},
                {{2, 0}, 0x7F0000},
                {{3, 0}, 0xBF0000},
                {{4, 1}, 0x000000},
                {{3, 1}, 0x3F0000},
                {{2, 1}, 0x7F0000},
                {{1, 1}, 0xBF0000}});
}

// Green 0x20000 down to 0x1FFFD: the step -3 / 4 truncates to 0, so every
// pixel keeps intensity 2 (a step rounded down would give 2, 1, 1, 1).
TEST(SmoothLine, ColourStepTruncatesTowardZero) {
  RasterCanvas canvas(Rgb32, 5, 1);
  canvas.fillPixels(BACKGROUND);
  RasterVertex start = pixelVertex(0, 0);
  RasterVertex end = pixelVertex(4, 0);
  start.c1 = 0x20000;
  end.c1 = 0x1FFFD;
  drawLineSlot(canvas, 4, linePrimitive(start, end));
  expectCanvas(canvas, BACKGROUND, {{{0, 0}, 0x200}, {{1, 0}, 0x200}, {{2, 0}, 0x200}, {{3, 0}, 0x200}});
}

// Four pixels at z = -3 over stored depths -3 (equal), -2 (farther), -4
// (nearer) and the far plane. Every drawing slot follows its depth mode,
// whatever its colour members.
constexpr int32_t LINE_Z = -3;
constexpr int32_t STORED[4] = {-3, -2, -4, INT32_MAX};

struct DepthCase {
  uint32_t slot;
  bool drawn[4];
  int32_t depthAfter[4];
};

class LineDepth : public testing::TestWithParam<DepthCase> {};

TEST_P(LineDepth, FollowsTheSlotsDepthMode) {
  const DepthCase& d = GetParam();
  RasterCanvas canvas(Rgb32, 5, 1);
  canvas.fillPixels(BACKGROUND);
  for (uint32_t column = 0; column < 4; ++column) canvas.depthAt(0, column) = STORED[column];
  // Opaque and of one colour, so every colour member stores INK.
  const Colour816 ink = intensities(0x12, 0x34, 0x56);
  drawLineSlot(canvas, d.slot, linePrimitive(pixelVertex(0, 0, ink, LINE_Z), pixelVertex(4, 0, ink, LINE_Z)));
  PixelMap expected;
  for (uint32_t column = 0; column < 4; ++column) {
    if (d.drawn[column]) expected[{column, 0}] = INK;
    EXPECT_EQ(canvas.depthAt(0, column), d.depthAfter[column]) << "column " << column;
  }
  EXPECT_EQ(canvas.depthAt(0, 4), INT32_MAX);  // the end pixel is not visited
  expectCanvas(canvas, BACKGROUND, expected);
}

constexpr DepthCase depthModeCase(uint32_t slot) {
  switch (slot & 3) {
    case 0: return {slot, {true, true, true, true}, {-3, -2, -4, INT32_MAX}};
    case 1: return {slot, {false, true, false, true}, {-3, -2, -4, INT32_MAX}};
    case 2: return {slot, {true, true, true, true}, {-3, -3, -3, -3}};
    default: return {slot, {false, true, false, true}, {-3, -3, -4, -3}};
  }
}

INSTANTIATE_TEST_SUITE_P(FlatSmoothAndBlended, LineDepth,
                         testing::Values(depthModeCase(0), depthModeCase(1), depthModeCase(2), depthModeCase(3),
                                         depthModeCase(4), depthModeCase(5), depthModeCase(6), depthModeCase(7),
                                         depthModeCase(8), depthModeCase(9), depthModeCase(10), depthModeCase(11),
                                         depthModeCase(12), depthModeCase(13), depthModeCase(14), depthModeCase(15)),
                         [](const testing::TestParamInfo<DepthCase>& info) {
                           return "slot" + std::to_string(info.param.slot);
                         });

struct ZStepCase {
  int32_t z0, z1, columns;
  std::vector<int32_t> depths;
};

class LineDepthStep : public testing::TestWithParam<ZStepCase> {};

// Depth write only records every visited pixel's z.
TEST_P(LineDepthStep, TruncatesTowardZero) {
  const ZStepCase& s = GetParam();
  RasterCanvas canvas(Rgb32, 5, 1);
  drawLineSlot(canvas, 2, linePrimitive(pixelVertex(0, 0, {}, s.z0), pixelVertex(s.columns, 0, {}, s.z1)));
  for (int32_t column = 0; column < 5; ++column) {
    const int32_t want = column < s.columns ? s.depths[static_cast<size_t>(column)] : INT32_MAX;
    EXPECT_EQ(canvas.depthAt(0, static_cast<uint32_t>(column)), want) << "column " << column;
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, LineDepthStep,
                         testing::Values(ZStepCase{0, 10, 4, {0, 2, 4, 6}},
                                         // -10 / 4 is -2, not -3.
                                         ZStepCase{10, 0, 4, {10, 8, 6, 4}}, ZStepCase{-1, -8, 3, {-1, -3, -5}},
                                         // The full depth range does not overflow: (2^32 - 1) / 2.
                                         ZStepCase{INT32_MIN, INT32_MAX, 2, {INT32_MIN, -1}}));

// Textured lines never arise; their slots leave colour and depth alone.
TEST(LineSlots, TexturedSlotsDrawNothing) {
  for (uint32_t format : {Indexed8, Rgb555, Rgb16, Rgb24, Rgb32}) {
    RasterCanvas canvas(format, 5, 2);
    canvas.fillPixels(0);
    const Colour816 ink = intensities(200, 100, 50);
    for (uint32_t slot = 16; slot < LINE_TABLE_SIZE; ++slot) {
      drawLineSlot(canvas, slot, linePrimitive(pixelVertex(0, 0, ink, -5), pixelVertex(4, 1, ink, -5)));
    }
    expectCanvas(canvas, 0, {});
    for (int32_t stored : canvas.depth) EXPECT_EQ(stored, INT32_MAX);
  }
}

TEST(LineSlots, IndexedFormatsShareOneLineAndPointTable) {
  EXPECT_EQ(rasterTablesFor(Indexed8)->lines, rasterTablesFor(PixelFormatReserved1)->lines);
  EXPECT_EQ(rasterTablesFor(Indexed8)->points, rasterTablesFor(PixelFormatReserved1)->points);
}

}  // namespace
