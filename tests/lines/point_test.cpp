// Points: where they land, depth modes, opacity and each format's store.
#include <gtest/gtest.h>

#include <climits>

#include "lines/line_canvas.h"

namespace {

TEST(Point, LandsOnTheWholePixelOfItsPosition) {
  RasterCanvas canvas(Rgb32, 5, 4);
  canvas.fillPixels(0);
  RasterVertex at = pixelVertex(0, 0, intensities(0x12, 0x34, 0x56));
  at.x = 0x3FFFE;  // 3.99998
  at.y = 0x20000;  // 2.0
  drawPointSlot(canvas, 0, pointPrimitive(at));
  expectCanvas(canvas, 0, {{{3, 2}, 0x123456}});
}

struct PointDepthCase {
  uint32_t slot;
  int32_t stored;
  bool drawn;
  int32_t depthAfter;
};

class PointDepth : public testing::TestWithParam<PointDepthCase> {};

// The point's z is -7.
TEST_P(PointDepth, FollowsTheSlotsDepthMode) {
  const PointDepthCase& d = GetParam();
  RasterCanvas canvas(Rgb32, 3, 3);
  canvas.fillPixels(0);
  canvas.depthAt(1, 2) = d.stored;
  drawPointSlot(canvas, d.slot, pointPrimitive(pixelVertex(2, 1, intensities(0x12, 0x34, 0x56), -7)));
  PixelMap expected;
  if (d.drawn) expected[{2, 1}] = 0x123456;
  expectCanvas(canvas, 0, expected);
  EXPECT_EQ(canvas.depthAt(1, 2), d.depthAfter);
}

INSTANTIATE_TEST_SUITE_P(Modes, PointDepth,
                         testing::Values(PointDepthCase{0, -7, true, -7}, PointDepthCase{0, -9, true, -9},
                                         // Equal depth fails the test; a write-only point replaces both.
                                         PointDepthCase{1, -7, false, -7}, PointDepthCase{3, -7, false, -7},
                                         PointDepthCase{2, -9, true, -7}, PointDepthCase{2, INT32_MAX, true, -7},
                                         PointDepthCase{1, -6, true, -6}, PointDepthCase{3, -6, true, -7},
                                         PointDepthCase{3, -8, false, -8},
                                         // Smooth, blend and texture bits are ignored.
                                         PointDepthCase{31, -6, true, -7}, PointDepthCase{29, -8, false, -8},
                                         PointDepthCase{14, -9, true, -7}));

// Blending requested and alpha 64: the point is still opaque.
TEST(Point, TranslucentPointsAreDrawnOpaque) {
  RasterCanvas canvas(Rgb32, 2, 1);
  canvas.fillPixels(0x3296FF);
  drawPointSlot(canvas, RF_BLEND | RF_SMOOTH, pointPrimitive(pixelVertex(1, 0, intensities(200, 100, 0), 0, 64)));
  expectCanvas(canvas, 0x3296FF, {{{1, 0}, 0xC86400}});
}

TEST(Point, IndexedPointsStoreTheNearestColour) {
  RasterCanvas canvas(Indexed8, 3, 1);
  canvas.fillPixels(0);
  drawPointSlot(canvas, 0, pointPrimitive(pixelVertex(0, 0, intensities(255, 0, 0))));
  drawPointSlot(canvas, 0, pointPrimitive(pixelVertex(2, 0, intensities(0, 0, 255))));
  expectCanvas(canvas, 0, {{{0, 0}, canvas.map12[15]}, {{2, 0}, canvas.map12[3840]}});
}

struct PointFormatCase {
  uint32_t format;
  uint32_t value;  // channels (0x12, 0xAB, 0x00) with fractions
};

class PointFormats : public testing::TestWithParam<PointFormatCase> {};

// The last pixel of a padded row.
TEST_P(PointFormats, StoreTheFormatsEncoding) {
  const PointFormatCase& f = GetParam();
  RasterCanvas canvas(f.format, 3, 2);
  canvas.fillPixels(0);
  RasterVertex at = pixelVertex(2, 1);
  at.c0 = 0x123456;
  at.c1 = 0xABCDEF;
  at.c2 = 0x00FF00;
  drawPointSlot(canvas, 0, pointPrimitive(at));
  expectCanvas(canvas, 0, {{{2, 1}, f.format == Indexed8 ? canvas.map12[f.value] : f.value}});
}

INSTANTIATE_TEST_SUITE_P(Formats, PointFormats,
                         testing::Values(PointFormatCase{Rgb32, 0x12AB00}, PointFormatCase{Rgb24, 0x12AB00},
                                         PointFormatCase{Rgb16, 0x1540}, PointFormatCase{Rgb555, 0x0AA0},
                                         PointFormatCase{Indexed8, 0xA1}));

}  // namespace
