// The accumulation buffer operations and their scale tables.
#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "context/buffer_ops.h"
#include "test_context.h"

namespace {

constexpr uint32_t accumWord(uint32_t r, uint32_t g, uint32_t b) { return r << 20 | g << 10 | b; }

TEST(ScaleTable, WorkedValues) {
  std::vector<int32_t> t(1024);
  buildScaleTable(t.data(), 5, 10, 1.0f);  // K = 1023
  EXPECT_EQ(t[31], 1023);
  EXPECT_EQ(t[16], 528);  // (16 * 1023 + 16) / 31
  EXPECT_EQ(t[0], 0);
  buildScaleTable(t.data(), 10, 8, 1.0f);
  EXPECT_EQ(t[1023], 255);
  EXPECT_EQ(t[512], 128);                   // (512 * 255 + 512) / 1023
  buildScaleTable(t.data(), 10, 10, 0.5f);  // K = trunc(511.5) = 511
  EXPECT_EQ(t[1023], 511);
  buildScaleTable(t.data(), 8, 10, 0.5f);
  EXPECT_EQ(t[255], 511);
  EXPECT_EQ(t[128], 257);  // (128 * 511 + 128) / 255 = 65536 / 255
}

struct RoundTripCase {
  PixelFormat format;
  std::vector<uint32_t> pixels;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << "format " << c.format; }

class LoadThenReturn : public testing::TestWithParam<RoundTripCase> {};

TEST_P(LoadThenReturn, GivesEveryPixelBackUnchanged) {
  const RoundTripCase& c = GetParam();
  const auto width = static_cast<uint32_t>(c.pixels.size());
  TestContext t(c.format, width, 2, Buffers::ColorAccum, 2);
  for (uint32_t i = 0; i < width; ++i) {
    t.setPixel(0, i, c.pixels[i]);
    t.setPixel(1, width - 1 - i, c.pixels[i]);
  }
  ASSERT_EQ(accumulateContext(t.context, ACCUM_LOAD, 1.0f), RUK_OK);
  t.fillPixels(0);
  ASSERT_EQ(accumulateContext(t.context, ACCUM_RETURN, 1.0f), RUK_OK);
  for (uint32_t i = 0; i < width; ++i) {
    EXPECT_EQ(t.pixel(0, i), c.pixels[i]) << i;
    EXPECT_EQ(t.pixel(1, width - 1 - i), c.pixels[i]) << i;
  }
  EXPECT_TRUE(t.paddingUntouched());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LoadThenReturn,
    testing::Values(RoundTripCase{Rgb32, {0x000000, 0xFFFFFF, 0x123456, 0x80FF01, 0x7F007F}},
                    RoundTripCase{Rgb555, {0x0000, 0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x4210, 0x1234}},
                    RoundTripCase{Rgb16, {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8410, 0x1234, 0x0821}},
                    RoundTripCase{Rgb24, {0x000000, 0xFFFFFF, 0x123456, 0xFE0180}}));

TEST(Accumulate, TwoHalvesOfWhiteSumTo1022AndReturnAsWhite) {
  TestContext t(Rgb32, 3, 3, Buffers::ColorAccum);
  t.fillPixels(0x00FFFFFF);
  clearContext(t.context, BUFFER_ACCUM);
  EXPECT_EQ(accumulateContext(t.context, ACCUM_ADD, 0.5f), RUK_OK);
  EXPECT_EQ(accumulateContext(t.context, ACCUM_ADD, 0.5f), RUK_OK);
  for (uint32_t a : t.accum) ASSERT_EQ(a, accumWord(1022, 1022, 1022));
  t.fillPixels(0);
  EXPECT_EQ(accumulateContext(t.context, ACCUM_RETURN, 1.0f), RUK_OK);
  EXPECT_EQ(t.pixel(2, 2), 0x00FFFFFFu);  // (1022 * 255 + 512) / 1023 = 255
}

TEST(Accumulate, FiveBitChannelsWiden) {
  TestContext t(Rgb555, 2, 1, Buffers::ColorAccum);
  t.setPixel(0, 0, 0x7FFF);
  t.setPixel(0, 1, 16 << 10 | 1 << 5 | 0);
  accumulateContext(t.context, ACCUM_LOAD, 1.0f);
  EXPECT_EQ(t.accum[0], accumWord(1023, 1023, 1023));
  EXPECT_EQ(t.accum[1], accumWord(528, 33, 0));  // T[1] = (1023 + 16) / 31 = 33
}

TEST(Accumulate, SixBitRedAndBlueAreReadDoubled) {
  TestContext t(Rgb16, 1, 1, Buffers::ColorAccum);
  t.setPixel(0, 0, 1 << 11 | 1 << 5 | 1);  // red 1, green 1, blue 1
  accumulateContext(t.context, ACCUM_LOAD, 1.0f);
  // Red and blue read as 2 on the 6-bit scale: (2 * 1023 + 32) / 63 = 32;
  // green 1: (1023 + 32) / 63 = 16.
  EXPECT_EQ(t.accum[0], accumWord(32, 16, 32));
}

TEST(Accumulate, FieldsCarryWhenTheWeightsPassOne) {
  TestContext t(Rgb32, 1, 1, Buffers::ColorAccum);
  t.setPixel(0, 0, 0x00FFFFFF);
  accumulateContext(t.context, ACCUM_LOAD, 1.0f);
  accumulateContext(t.context, ACCUM_ADD, 1.0f);
  // 1023 + 1023 = 2046 in each field: blue's carry lands in green's lowest
  // bit, green's in red's, red's in bit 30.
  EXPECT_EQ(t.accum[0], 2u * accumWord(1023, 1023, 1023));
  EXPECT_EQ(t.accum[0], 0x7FFFFFFEu);
}

TEST(AccumReturn, ScalesTenBitFieldsDown) {
  TestContext t(Rgb32, 2, 1, Buffers::ColorAccum);
  t.accum[0] = accumWord(1023, 512, 0);
  t.accum[1] = 3u << 30 | accumWord(0, 0, 1023);  // overflow bits are ignored
  accumulateContext(t.context, ACCUM_RETURN, 1.0f);
  EXPECT_EQ(t.pixel(0, 0), 0x00FF8000u);
  EXPECT_EQ(t.pixel(0, 1), 0x000000FFu);

  accumulateContext(t.context, ACCUM_RETURN, 0.5f);  // K = trunc(127.5) = 127
  EXPECT_EQ(t.pixel(0, 0), 0x007F4000u);             // (1023 * 127 + 512) / 1023 = 127; 512 gives 64
}

TEST(AccumReturn, RebuildsEachDirectFormat) {
  TestContext a(Rgb555, 1, 1, Buffers::ColorAccum);
  TestContext b(Rgb16, 1, 1, Buffers::ColorAccum);
  TestContext c(Rgb24, 1, 1, Buffers::ColorAccum);
  for (TestContext* t : {&a, &b, &c}) {
    t->accum[0] = accumWord(1023, 512, 0);
    accumulateContext(t->context, ACCUM_RETURN, 1.0f);
  }
  // 512 on 5 bits: (512 * 31 + 512) / 1023 = 16; on 6 bits: 32.
  EXPECT_EQ(a.pixel(0, 0), 31u << 10 | 16u << 5);
  EXPECT_EQ(b.pixel(0, 0), 31u << 11 | 32u << 5);  // red 63 halved to 31
  EXPECT_EQ(c.pixel(0, 0), 0xFF8000u);
}

TEST(AccumMult, ClampsTheFactor) {
  TestContext t(Rgb32, 2, 1, Buffers::ColorAccum);
  const uint32_t words[2] = {accumWord(1023, 512, 7), accumWord(0, 1, 1000)};
  t.accum.assign(words, words + 2);
  EXPECT_EQ(accumulateContext(t.context, ACCUM_MULT, 2.0f), RUK_OK);  // as 1: unchanged
  EXPECT_EQ(t.accum[0], words[0]);
  EXPECT_EQ(t.accum[1], words[1]);
  accumulateContext(t.context, ACCUM_MULT, 0.5f);
  EXPECT_EQ(t.accum[0], accumWord(511, 256, 3));  // (512 * 511 + 512) / 1023 = 256; (7 * 511 + 512) / 1023 = 3
  accumulateContext(t.context, ACCUM_MULT, -1.0f);
  EXPECT_EQ(t.accum[0], 0u);
  EXPECT_EQ(t.accum[1], 0u);
}

TEST(Accumulation, IndexedContextsHaveNone) {
  TestContext t(Indexed8, 2, 2, Buffers::ColorAccum, 0, {0x000000, 0xFFFFFF});
  t.fillPixels(1);
  for (uint32_t op : {ACCUM_ADD, ACCUM_LOAD, ACCUM_RETURN, ACCUM_MULT})
    EXPECT_EQ(accumulateContext(t.context, op, 1.0f), RUK_OK);
  EXPECT_EQ(t.accum[3], 0x5A5A5A5Au);
  EXPECT_EQ(t.pixel(1, 1), 1u);
}

TEST(Accumulation, MissingBufferIsStatus6) {
  TestContext noAccum(Rgb32, 2, 2, Buffers::ColorDepth);
  for (uint32_t op : {ACCUM_ADD, ACCUM_LOAD, ACCUM_RETURN, ACCUM_MULT})
    EXPECT_EQ(accumulateContext(noAccum.context, op, 1.0f), RUK_ERR_FAILED);

  TestContext withAccum(Rgb32, 2, 2, Buffers::ColorAccum);
  EXPECT_EQ(accumulateContext(withAccum.context, 4, 1.0f), RUK_ERR_FAILED);
  withAccum.context->bufferFlags &= ~BUFFER_COLOR;  // as a context without a colour buffer
  EXPECT_EQ(accumulateContext(withAccum.context, ACCUM_LOAD, 1.0f), RUK_ERR_FAILED);
  EXPECT_EQ(withAccum.accum[0], 0x5A5A5A5Au);
}

}  // namespace
