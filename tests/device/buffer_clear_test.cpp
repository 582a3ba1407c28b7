// Clearing colour, depth and accumulation buffers.
#include <gtest/gtest.h>

#include <ostream>

#include "context/attributes.h"
#include "context/buffer_ops.h"
#include "raster/raster.h"
#include "test_context.h"

namespace {

struct ClearCase {
  PixelFormat format;
  uint32_t width, height, padding;
  uint32_t clearColor;
  uint32_t expectedPixel;
};

void PrintTo(const ClearCase& c, std::ostream* os) {
  *os << "format " << c.format << ", " << c.width << "x" << c.height << " padding " << c.padding << ", colour "
      << std::hex << c.clearColor;
}

class ColorClear : public testing::TestWithParam<ClearCase> {};

TEST_P(ColorClear, FillsEveryPixelAndNoPadding) {
  const ClearCase& c = GetParam();
  TestContext t(c.format, c.width, c.height, Buffers::ColorOnly, c.padding, {0x000000, 0xFF0000, 0xFF8000, 0x0000FF});
  ASSERT_NE(t.context, nullptr);
  setAttributeColor(t.context, ATTR_CLEAR_COLOR, c.clearColor);
  EXPECT_EQ(clearContext(t.context, BUFFER_COLOR), RUK_OK);
  for (uint32_t r = 0; r < c.height; ++r)
    for (uint32_t col = 0; col < c.width; ++col) ASSERT_EQ(t.pixel(r, col), c.expectedPixel) << r << "," << col;
  EXPECT_TRUE(t.paddingUntouched());
}

INSTANTIATE_TEST_SUITE_P(
    ClearValues, ColorClear,
    testing::Values(
        // 9 pixels: four 32-bit pairs and one single pixel.
        ClearCase{Rgb555, 3, 3, 0, 0x00FF8000, 0x7E00}, ClearCase{Rgb16, 3, 3, 0, 0x00FF8000, 0xFC00},
        ClearCase{Rgb32, 3, 3, 0, 0x00FF8000, 0x00FF8000}, ClearCase{Rgb24, 5, 3, 0, 0x00FF8000, 0xFF8000},
        // (255, 136, 0) is nearest palette entry 2, 0xFF8000.
        ClearCase{Indexed8, 3, 3, 0, 0x00FF8000, 2}, ClearCase{Indexed8, 4, 2, 0, 0x000000FF, 3},
        // Colour channels are cut, never rounded.
        ClearCase{Rgb555, 4, 4, 0, 0x00070F17, 0x0022}, ClearCase{Rgb16, 4, 4, 0, 0x00FFFFFF, 0xFFFF},
        // Padded rows (as DIB sections pad them to 4 bytes) are filled row by row.
        ClearCase{Rgb555, 3, 3, 2, 0x00FF8000, 0x7E00}, ClearCase{Rgb16, 5, 2, 2, 0x00FF8000, 0xFC00},
        ClearCase{Rgb24, 3, 3, 3, 0x00123456, 0x123456}, ClearCase{Rgb24, 7, 2, 3, 0x00ABCDEF, 0xABCDEF},
        ClearCase{Indexed8, 5, 3, 3, 0x00FF0000, 1}, ClearCase{Rgb32, 3, 2, 4, 0x00010203, 0x010203}));

TEST(ColorClear, MaskWithoutColourLeavesPixels) {
  TestContext t(Rgb32, 4, 4, Buffers::All);
  t.fillPixels(0x00123456);
  EXPECT_EQ(clearContext(t.context, BUFFER_DEPTH | BUFFER_ACCUM), RUK_OK);
  EXPECT_EQ(t.pixel(3, 3), 0x00123456u);
}

TEST(DepthClear, WritesTheDepthOfTheClearDistance) {
  TestContext t(Rgb32, 3, 3, Buffers::All);
  // Default clear distance 1000000 with the default near 1 and far 1000:
  // 1000 (10^6 - 1) / (10^6 * 999) * 2^30 = 1074815565.8.
  EXPECT_EQ(clearContext(t.context, BUFFER_DEPTH), RUK_OK);
  for (int32_t d : t.depth) ASSERT_EQ(d, 1074815565);

  setAttributeFloat(t.context, ATTR_CLEAR_DEPTH, 1000.0f);  // the far plane
  clearContext(t.context, BUFFER_DEPTH);
  EXPECT_EQ(t.depth[8], 1 << 30);
  setAttributeFloat(t.context, ATTR_CLEAR_DEPTH, 1.0f);  // the near plane
  clearContext(t.context, BUFFER_DEPTH);
  EXPECT_EQ(t.depth[0], 0);
  setAttributeFloat(t.context, ATTR_CLEAR_DEPTH, 10.0f);  // 9000 / 9990 * 2^30
  clearContext(t.context, BUFFER_DEPTH);
  EXPECT_EQ(t.depth[4], 967334976);
  setAttributeFloat(t.context, ATTR_CLEAR_DEPTH, 0.0f);  // infinitely near: saturates
  clearContext(t.context, BUFFER_DEPTH);
  EXPECT_EQ(t.depth[4], INT32_MIN);
}

TEST(DepthClear, ColourMaskOnAContextWithoutDepthClearsColourOnly) {
  TestContext t(Rgb555, 2, 2, Buffers::ColorOnly);
  setAttributeColor(t.context, ATTR_CLEAR_COLOR, 0xFFFFFF);
  EXPECT_EQ(clearContext(t.context, BUFFER_COLOR | BUFFER_DEPTH), RUK_OK);
  EXPECT_EQ(t.pixel(1, 1), 0x7FFFu);
}

TEST(AccumulationClear, ZeroesEveryWord) {
  TestContext t(Rgb32, 3, 2, Buffers::All);
  EXPECT_EQ(clearContext(t.context, BUFFER_ACCUM), RUK_OK);
  for (uint32_t a : t.accum) EXPECT_EQ(a, 0u);
  EXPECT_EQ(t.depth[0], 0x5A5A5A5A);  // untouched
}

TEST(AccumulationClear, NothingToDoWithoutTheBuffer) {
  TestContext t(Rgb32, 3, 2, Buffers::ColorDepth);
  t.fillPixels(0x00ABCDEF);
  EXPECT_EQ(clearContext(t.context, BUFFER_ACCUM), RUK_OK);
  EXPECT_EQ(t.pixel(0, 0), 0x00ABCDEFu);
  EXPECT_EQ(t.depth[0], 0x5A5A5A5A);
}

TEST(ColorClear, DitheredIndexedFormatUsesTheTwoBitMap) {
  // Entry 1 is exactly (85, 170, 170), entry 2 exactly (34, 119, 204).
  TestContext t(Indexed8, 4, 4, Buffers::ColorOnly, 0, {0x000000, 0x55AAAA, 0x2277CC});
  setAttributeColor(t.context, ATTR_CLEAR_COLOR, 0x002878C8);  // (40, 120, 200)
  clearContext(t.context, BUFFER_COLOR);
  // Plain indexed: the 4-bit levels (2, 7, 12) give (34, 119, 204).
  EXPECT_EQ(t.pixel(0, 0), 2u);

  // With the threshold fixed at 32: 40 = 0 * 85 + 40 gives level 1,
  // 120 = 85 + 35 level 2, 200 = 170 + 30 level 2: (85, 170, 170).
  t.context->colorModel.format = PixelFormatReserved1;
  clearContext(t.context, BUFFER_COLOR);
  t.context->colorModel.format = Indexed8;
  for (uint32_t r = 0; r < 4; ++r)
    for (uint32_t c = 0; c < 4; ++c) EXPECT_EQ(t.pixel(r, c), 1u);
}

}  // namespace
