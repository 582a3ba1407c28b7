// Context creation: defaults, buffers, row stride, failures and release.
#include <cstring>
#include <string>

#include "context/model_stack.h"
#include "context_fixture.h"
#include "raster/raster.h"

namespace {

TEST(ContextCreate, IntegerAttributeDefaults) {
  TestContext c(rgb32Screen(), 4, 4);
  // id -> default, for every integer and colour attribute.
  const std::pair<uint32_t, uint32_t> expected[] = {{0, 1},  {1, 1},  {2, 2},  {3, 1},  {4, 1},  {5, 1},  {6, 1},
                                                    {7, 1},  {8, 0},  {9, 0},  {10, 0}, {11, 1}, {12, 1}, {13, 1},
                                                    {14, 0}, {15, 2}, {17, 0}, {18, 2}, {19, 0}, {20, 0}, {31, 0},
                                                    {32, 0}, {33, 0}, {34, 0}, {35, 0}, {36, 0}, {37, 0}};
  for (const auto& [id, value] : expected) EXPECT_EQ(c->attributes[id], value) << "attribute " << id;
}

TEST(ContextCreate, FloatAttributeDefaultsAsBits) {
  TestContext c(rgb32Screen(), 4, 4);
  EXPECT_EQ(c->attributes[21], 0x49742400u);  // 1000000.0
  EXPECT_EQ(c->attributes[22], 0x3F800000u);  // 1.0
  EXPECT_EQ(c->attributes[23], 0x49742400u);
  EXPECT_EQ(c->attributes[24], 0u);
  EXPECT_EQ(c->attributes[25], 0x3F800000u);
  EXPECT_EQ(c->attributes[26], 0u);
  EXPECT_EQ(c->attributes[27], 0u);
  EXPECT_EQ(c->attributes[28], 0u);
  EXPECT_EQ(c->attributes[29], 0x3F800000u);
  EXPECT_EQ(c->attributes[30], 0u);
  EXPECT_EQ(attributeFloat(c.context, ATTR_CLEAR_DEPTH), 1000000.0f);
}

TEST(ContextCreate, AttributeSixteenIsNeverWritten) {
  // The record starts cleared and no default touches id 16.
  TestContext c(rgb32Screen(), 4, 4);
  EXPECT_EQ(c->attributes[ATTR_RESERVED_16], 0u);
}

TEST(ContextCreate, InitialStateOfTheRecord) {
  TestContext c(rgb32Screen(), 4, 4);
  EXPECT_EQ(c->material.emission, 0u);
  EXPECT_EQ(c->material.ambient, 0x333333u);
  EXPECT_EQ(c->material.diffuse, 0xCCCCCCu);
  EXPECT_EQ(c->material.specular, 0u);
  EXPECT_EQ(c->material.shininess, 0.0f);
  EXPECT_EQ(c->material.alpha, 255u);
  EXPECT_EQ(c->lightCount, 0u);
  EXPECT_EQ(c->ambientLight, 0u);
  EXPECT_EQ(c->batchCapacity, 128u);
  EXPECT_NE(c->batch, nullptr);
  EXPECT_EQ(c->modelDepth, 0u);
  EXPECT_EQ(c->derivedDirty, 1u);
  EXPECT_EQ(c->modelStack[0].hints, 0xFC7u);
  EXPECT_EQ(c->textureMatrix.hints, 0xFC7u);
  for (int i = 0; i < 16; ++i) {
    const float one = i % 5 == 0 ? 1.0f : 0.0f;
    EXPECT_EQ(c->modelStack[0].m[i], one);
    EXPECT_EQ(c->textureMatrix.m[i], one);
  }
  EXPECT_EQ(c->boundTexture.texels, nullptr);
  EXPECT_EQ(c->framebuffer, nullptr);
  ASSERT_NE(c->rasterState, nullptr);
  EXPECT_EQ(c->rasterState->queuedCount, 0u);
  EXPECT_EQ(c->rasterState->queueCapacity, 128u);
  EXPECT_NE(c->rasterState->queue, nullptr);
  EXPECT_EQ(c->rasterState->inverseColorMap12, nullptr);
  EXPECT_EQ(c->rasterState->inverseColorMap6, nullptr);
  EXPECT_EQ(c->colorModel.format, static_cast<uint32_t>(Rgb32));
}

TEST(ContextCreate, DefaultPerspectiveOfOneByOneHasAspectOne) {
  TestContext c(rgb32Screen(), 1, 1);
  EXPECT_EQ(c->perspective, 1u);
  EXPECT_EQ(c->nearZ, 1.0f);
  EXPECT_EQ(c->farZ, 1000.0f);
  EXPECT_EQ(bitsOf(c->yLimit), 0x3ED413CDu);  // tan(pi/8) of the single-precision pi/4
  EXPECT_EQ(c->xLimit, c->yLimit);
}

TEST(ContextCreate, DefaultAspectOf640By480) {
  TestContext c(rgb32Screen(), 640, 480);
  EXPECT_EQ(bitsOf(c->yLimit), 0x3ED413CDu);
  // yLimit x 1.3333334 (0x3FAAAAAB), rounded to single precision.
  EXPECT_EQ(bitsOf(c->xLimit), 0x3F0D6289u);
}

struct BufferCase {
  bool depth, accum;
  uint32_t flags;
};
class ContextBuffers : public testing::TestWithParam<BufferCase> {};

TEST_P(ContextBuffers, FlagsNameThePresentBuffers) {
  const BufferCase& b = GetParam();
  int32_t depth[4];
  uint32_t accum[4];
  TestContext c(rgb32Screen(), 2, 2, 0, b.depth ? depth : nullptr, b.accum ? accum : nullptr);
  EXPECT_EQ(c->bufferFlags, b.flags);
  EXPECT_EQ(c->depthBuffer, b.depth ? depth : nullptr);
  EXPECT_EQ(c->accumBuffer, b.accum ? accum : nullptr);
  EXPECT_EQ(c->colorBuffer, c.pixels.data());
}
INSTANTIATE_TEST_SUITE_P(All, ContextBuffers,
                         testing::Values(BufferCase{false, false, 1}, BufferCase{true, false, 3},
                                         BufferCase{false, true, 9}, BufferCase{true, true, 11}));

TEST(ContextCreate, NoColourBufferLeavesFlagZero) {
  const RukDeviceDescriptor screen = rgb32Screen();
  RukContext* context = nullptr;
  ASSERT_EQ(createContext(nullptr, &context, &screen, 2, 2, nullptr, 0, nullptr, nullptr), RUK_OK);
  EXPECT_EQ(context->bufferFlags, 0u);
  freeContext(context);
}

struct StrideCase {
  RukDeviceDescriptor screen;
  uint32_t width, rowBytesIn, pitch;
};
class ContextStride : public testing::TestWithParam<StrideCase> {};

TEST_P(ContextStride, PitchFollowsTheRowStrideInWholePixels) {
  const StrideCase& s = GetParam();
  TestContext c(s.screen, s.width, 3, s.rowBytesIn);
  EXPECT_EQ(c->rowBytes, s.rowBytesIn);
  EXPECT_EQ(c->pitch, s.pitch);
}
INSTANTIATE_TEST_SUITE_P(All, ContextStride,
                         testing::Values(StrideCase{rgb32Screen(), 3, 12, 3}, StrideCase{rgb32Screen(), 3, 16, 4},
                                         StrideCase{rgb565Screen(), 3, 8, 4},
                                         // 16 bytes is not a whole number of 3-byte pixels.
                                         StrideCase{rgb24Screen(), 5, 16, 5}, StrideCase{rgb24Screen(), 4, 12, 4}));

TEST(ContextCreate, ZeroStrideMeansPackedRows) {
  const RukDeviceDescriptor screen = rgb565Screen();
  std::vector<uint8_t> pixels(64);
  RukContext* context = nullptr;
  ASSERT_EQ(createContext(nullptr, &context, &screen, 3, 2, pixels.data(), 0, nullptr, nullptr), RUK_OK);
  EXPECT_EQ(context->rowBytes, 6u);
  EXPECT_EQ(context->pitch, 3u);
  EXPECT_EQ(context->colorModel.format, static_cast<uint32_t>(Rgb16));
  freeContext(context);
}

TEST(ContextCreate, ZeroSizeIsRefused) {
  const RukDeviceDescriptor screen = rgb32Screen();
  uint8_t pixel[4];
  RukContext* context = reinterpret_cast<RukContext*>(&context);
  EXPECT_EQ(createContext(nullptr, &context, &screen, 0, 5, pixel, 0, nullptr, nullptr), RUK_ERR_BAD_ARGUMENT);
  EXPECT_EQ(context, nullptr);
  context = reinterpret_cast<RukContext*>(&context);
  EXPECT_EQ(createContext(nullptr, &context, &screen, 5, 0, pixel, 0, nullptr, nullptr), RUK_ERR_BAD_ARGUMENT);
  EXPECT_EQ(context, nullptr);
}

TEST(ContextCreate, RejectedScreenIsPixelFormatError) {
  const RukDeviceDescriptor screens[] = {
      {12, 0, nullptr, nullptr, nullptr, 0xF00, 0x0F0, 0x00F},
      {16, 0, nullptr, nullptr, nullptr, 0xF000, 0x0F00, 0x00F0},  // 4-bit channels
  };
  uint8_t pixels[64];
  for (const RukDeviceDescriptor& screen : screens) {
    RukContext* context = reinterpret_cast<RukContext*>(&context);
    EXPECT_EQ(createContext(nullptr, &context, &screen, 2, 2, pixels, 0, nullptr, nullptr), RUK_ERR_PIXEL_FORMAT);
    EXPECT_EQ(context, nullptr);
  }
}

TEST(ContextCreate, IndexedContextHasInverseMapsAndPalette) {
  const uint8_t red[2] = {0, 255}, green[2] = {0, 255}, blue[2] = {0, 255};
  const RukDeviceDescriptor screen = {8, 2, red, green, blue, 0, 0, 0};
  TestContext c(screen, 4, 4);
  EXPECT_EQ(c->colorModel.format, static_cast<uint32_t>(Indexed8));
  ASSERT_EQ(c->colorModel.paletteSize, 2u);
  EXPECT_EQ(c->colorModel.palette[1], 0xFFFFFFu);
  ASSERT_NE(c->rasterState->inverseColorMap12, nullptr);
  ASSERT_NE(c->rasterState->inverseColorMap6, nullptr);
  // White is nearest to entry 1, black to entry 0.
  EXPECT_EQ(c->rasterState->inverseColorMap12[4095], 1);
  EXPECT_EQ(c->rasterState->inverseColorMap6[0], 0);
  // The dither attribute switches the triangle table, and only that one.
  const RasterTableSet* tables = rasterTablesFor(Indexed8);
  EXPECT_EQ(c->rasterState->triangleTable, tables->triangles);
  EXPECT_EQ(setAttributeInt(c.context, ATTR_DITHER, 1), RUK_OK);
  EXPECT_EQ(c->rasterState->triangleTable, tables->ditheredTriangles);
  EXPECT_EQ(c->rasterState->lineTable, tables->lines);
  EXPECT_EQ(setAttributeEnum(c.context, ATTR_DITHER, 0), RUK_OK);
  EXPECT_EQ(c->rasterState->triangleTable, tables->triangles);
}

TEST(ContextCreate, IndexedScreenWithoutColoursTakesTheDevicePalette) {
  const uint8_t red[3] = {255, 0, 0}, green[3] = {0, 255, 0}, blue[3] = {0, 0, 255};
  RukDevice device{};
  device.descriptor = {8, 3, red, green, blue, 0, 0, 0};
  const RukDeviceDescriptor screen = {8, 0, nullptr, nullptr, nullptr, 0, 0, 0};
  uint8_t pixels[16];
  RukContext* context = nullptr;
  ASSERT_EQ(createContext(&device, &context, &screen, 4, 4, pixels, 0, nullptr, nullptr), RUK_OK);
  ASSERT_EQ(context->colorModel.paletteSize, 3u);
  EXPECT_EQ(context->colorModel.palette[0], 0xFF0000u);
  EXPECT_EQ(context->colorModel.palette[2], 0x0000FFu);
  freeContext(context);
}

TEST(BindTexture, CopiesTheRecordAndUnbindsWithNull) {
  TestContext c(rgb32Screen(), 2, 2);
  uint32_t texels[32] = {};
  const RukTexture texture{8, 4, 3, 2, texels};
  ASSERT_EQ(bindTexture(c.context, &texture), RUK_OK);
  EXPECT_EQ(c->boundTexture.width, 8u);
  EXPECT_EQ(c->boundTexture.height, 4u);
  EXPECT_EQ(c->boundTexture.log2Width, 3u);
  EXPECT_EQ(c->boundTexture.log2Height, 2u);
  EXPECT_EQ(c->boundTexture.texels, texels);  // shared, so later conversions show

  ASSERT_EQ(bindTexture(c.context, nullptr), RUK_OK);
  EXPECT_EQ(c->boundTexture.texels, nullptr);
}

// A texture disposed while bound keeps its texels for the binding: the
// context reads them until it binds something else, and then they go (the
// leak checker sees them go). Binding the same texture again holds them
// once more, not twice.
TEST(BindTexture, KeepsTheTexelsOfATextureDisposedWhileBound) {
  TestContext c(rgb32Screen(), 2, 2);
  RukTexture* texture = nullptr;
  ASSERT_EQ(createTexture(nullptr, &texture, 2, 2), RUK_OK);
  texture->texels[3] = 0x12345678;
  ASSERT_EQ(bindTexture(c.context, texture), RUK_OK);
  ASSERT_EQ(bindTexture(c.context, texture), RUK_OK);
  ASSERT_EQ(destroyTexture(nullptr, texture), RUK_OK);
  // Another texture of the same size made now gets texels of its own.
  RukTexture* other = nullptr;
  ASSERT_EQ(createTexture(nullptr, &other, 2, 2), RUK_OK);
  EXPECT_NE(other->texels, c->boundTexture.texels);
  EXPECT_EQ(c->boundTexture.texels[3], 0x12345678u);
  EXPECT_EQ(c->boundTexture.width, 2u);
  ASSERT_EQ(bindTexture(c.context, other), RUK_OK);
  EXPECT_EQ(c->boundTexture.texels, other->texels);
  ASSERT_EQ(destroyTexture(nullptr, other), RUK_OK);
  // The context still holds the second texture's texels; its release lets go.
}

TEST(ContextCreate, FreeAcceptsNull) { EXPECT_EQ(freeContext(nullptr), RUK_OK); }

TEST(ContextCreate, BeginEmptiesTheBatchAndLeavesTheBuffers) {
  TestContext c(rgb32Screen(), 2, 2);
  c->batchCount = 17;
  c.pixels.assign(c.pixels.size(), 0x5A);
  EXPECT_EQ(beginRendering(c.context), RUK_OK);
  EXPECT_EQ(c->batchCount, 0u);
  EXPECT_EQ(endRendering(c.context), RUK_OK);
  for (uint8_t byte : c.pixels) EXPECT_EQ(byte, 0x5A);
}

TEST(ContextCreate, ContextCostsAtMost128KiBBesideItsBuffers) {
  const size_t cost = sizeof(RukContext) + sizeof(RasterState) + RASTER_QUEUE_CAPACITY * sizeof(RasterPrimitive) +
                      BATCH_CAPACITY * sizeof(BatchEntry) + 4096 + 64;
  EXPECT_LE(cost, 128u * 1024u);
}

}  // namespace
