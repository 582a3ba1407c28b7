// Copying buffers between contexts.
#include <gtest/gtest.h>

#include "context/buffer_ops.h"
#include "test_context.h"

namespace {

constexpr uint32_t ALL_BUFFERS = BUFFER_COLOR | BUFFER_DEPTH | BUFFER_ACCUM;

void fillAll(TestContext& t, uint32_t pixel, int32_t depth, uint32_t accum) {
  t.fillPixels(pixel);
  std::fill(t.depth.begin(), t.depth.end(), depth);
  std::fill(t.accum.begin(), t.accum.end(), accum);
}

TEST(CopyBuffers, SizesMustMatch) {
  TestContext source(Rgb32, 100, 100);
  TestContext destination(Rgb32, 100, 50);
  fillAll(source, 0x111111, 1, 2);
  fillAll(destination, 0x222222, 3, 4);
  EXPECT_EQ(copyContextBuffers(source.context, destination.context, ALL_BUFFERS), RUK_ERR_FAILED);
  EXPECT_EQ(destination.pixel(0, 0), 0x222222u);
  EXPECT_EQ(destination.depth[0], 3);
  EXPECT_EQ(destination.accum[0], 4u);
}

TEST(CopyBuffers, DifferentFormatsCopyDepthAndAccumulationOnly) {
  TestContext source(Rgb555, 4, 3);
  TestContext destination(Rgb32, 4, 3);
  fillAll(source, 0x7FFF, 11, 12);
  fillAll(destination, 0x222222, 3, 4);
  EXPECT_EQ(copyContextBuffers(source.context, destination.context, ALL_BUFFERS), RUK_OK);
  EXPECT_EQ(destination.pixel(2, 3), 0x222222u);
  EXPECT_EQ(destination.depth[11], 11);
  EXPECT_EQ(destination.accum[11], 12u);
}

TEST(CopyBuffers, ColourRowsFollowEachBuffersStride) {
  TestContext source(Rgb555, 3, 2, Buffers::ColorOnly, 0);
  TestContext destination(Rgb555, 3, 2, Buffers::ColorOnly, 2);
  for (uint32_t r = 0; r < 2; ++r)
    for (uint32_t c = 0; c < 3; ++c) source.setPixel(r, c, r * 16 + c);
  EXPECT_EQ(copyContextBuffers(source.context, destination.context, BUFFER_COLOR), RUK_OK);
  for (uint32_t r = 0; r < 2; ++r)
    for (uint32_t c = 0; c < 3; ++c) EXPECT_EQ(destination.pixel(r, c), r * 16 + c);
  EXPECT_TRUE(destination.paddingUntouched());
}

TEST(CopyBuffers, OnlyBuffersInTheMaskAndInBothContexts) {
  TestContext source(Rgb24, 2, 2, Buffers::All);
  TestContext destination(Rgb24, 2, 2, Buffers::ColorDepth);
  fillAll(source, 0xABCDEF, 7, 8);
  fillAll(destination, 0x010203, 3, 0);
  EXPECT_EQ(copyContextBuffers(source.context, destination.context, BUFFER_DEPTH | BUFFER_ACCUM), RUK_OK);
  EXPECT_EQ(destination.pixel(1, 1), 0x010203u);  // colour not in the mask
  EXPECT_EQ(destination.depth[3], 7);
  EXPECT_EQ(copyContextBuffers(source.context, destination.context, BUFFER_COLOR), RUK_OK);
  EXPECT_EQ(destination.pixel(1, 1), 0xABCDEFu);
  EXPECT_TRUE(destination.paddingUntouched());
}

TEST(CopyBuffers, OntoItselfChangesNothing) {
  TestContext t(Rgb32, 2, 2);
  fillAll(t, 0x123456, 5, 6);
  EXPECT_EQ(copyContextBuffers(t.context, t.context, ALL_BUFFERS), RUK_OK);
  EXPECT_EQ(t.pixel(1, 1), 0x123456u);
  EXPECT_EQ(t.depth[3], 5);
}

}  // namespace
