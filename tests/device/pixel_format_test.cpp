// Stores and read-backs of every format, nearest-colour indexes and the
// ordered dither, on hand-derived values; and the block forms (several lanes
// at once) giving what the scalar forms give.
#include "device/pixel_format.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(PixelFormat, Rgb555StoresAndReadsBack) {
  EXPECT_EQ(Rgb555Format::encode(Rgb8{255, 128, 7}), 0x7E00u);
  EXPECT_EQ(Rgb555Format::decode(0x7E00u), (Rgb8{248, 128, 0}));
  EXPECT_EQ(Rgb555Format::encode(Rgb8{255, 255, 255}), 0x7FFFu);  // bit 15 stays 0
}

TEST(PixelFormat, Rgb16StoresAndReadsBack) {
  EXPECT_EQ(Rgb16Format::encode(Rgb8{255, 255, 255}), 0xFFFFu);
  EXPECT_EQ(Rgb16Format::decode(0xFFFFu), (Rgb8{248, 252, 248}));
  EXPECT_EQ(Rgb16Format::encode(Rgb8{0x12, 0x34, 0x56}), (0x10u << 8) | (0x34u << 3) | (0x56u >> 3));
}

TEST(PixelFormat, Rgb32StoresAndReadsBack) {
  EXPECT_EQ(Rgb32Format::encode(Rgb8{0x12, 0xAB, 0x00}), 0x12AB00u);
  EXPECT_EQ(Rgb32Format::decode(0xFF123456u), (Rgb8{0x12, 0x34, 0x56}));
}

TEST(PixelFormat, Rgb24KeepsBlueGreenRedInMemory) {
  uint8_t bytes[4] = {0, 0, 0, 0xEE};
  Rgb24Format::store(bytes, Rgb24Format::encode(Rgb8{0x11, 0x22, 0x33}));
  EXPECT_EQ(bytes[0], 0x33);
  EXPECT_EQ(bytes[1], 0x22);
  EXPECT_EQ(bytes[2], 0x11);
  EXPECT_EQ(bytes[3], 0xEE);
  EXPECT_EQ(Rgb24Format::decode(Rgb24Format::load(bytes)), (Rgb8{0x11, 0x22, 0x33}));
}

// The widest channel sets the accumulation buffer's table width.
TEST(PixelFormat, ChannelBits) {
  EXPECT_EQ(Rgb555Format::channelBits, 5u);
  EXPECT_EQ(Rgb16Format::channelBits, 6u);
  EXPECT_EQ(Rgb24Format::channelBits, 8u);
  EXPECT_EQ(Rgb32Format::channelBits, 8u);
  EXPECT_EQ(pixelFormatBytes(Indexed8), 1u);
  EXPECT_EQ(pixelFormatBytes(Rgb555), 2u);
  EXPECT_EQ(pixelFormatBytes(Rgb24), 3u);
  EXPECT_EQ(pixelFormatBytes(PixelFormatReserved1), 0u);
}

// A colour model's own masks, as clears encode with them: red in the low
// byte, and a channel wider than 8 bits widened.
TEST(PixelFormat, ColourModelLayouts) {
  RukColorModel model{};
  model.redBits = 8, model.greenBits = 8, model.blueBits = 8;
  model.redShift = 0, model.greenShift = 8, model.blueShift = 16;
  EXPECT_EQ(encodeDirect(layoutOf(model), Rgb8{0x12, 0x34, 0x56}), 0x563412u);
  model.redBits = 11, model.redShift = 5, model.greenBits = 6, model.greenShift = 5, model.blueBits = 5;
  model.blueShift = 0;
  EXPECT_EQ(encodeDirect(layoutOf(model), Rgb8{0xFF, 0, 0}), 0xFFu << 3 << 5);
}

TEST(PixelFormat, NearestColourIndexes) {
  EXPECT_EQ(IndexedNearestCodec::mapIndex(Rgb8{255, 0, 0}), 15u);
  EXPECT_EQ(IndexedNearestCodec::mapIndex(Rgb8{0, 0, 255}), 3840u);
  EXPECT_EQ(IndexedNearestCodec::mapIndex(Rgb8{0, 0x10, 0}), 16u);
  EXPECT_EQ(IndexedNearestCodec::decode(77u), (Rgb8{77, 77, 77}));
  std::array<uint8_t, 4096> map{};
  map[15 + 16 + 512] = 9;
  EXPECT_EQ(IndexedNearestCodec{map.data()}.encode(Rgb8{255, 0x1F, 0x20}), 9u);
}

TEST(Dither, MatrixHoldsEachMultipleOfFiveOnce) {
  bool seen[16] = {};
  for (uint8_t t : DitherMatrix) {
    ASSERT_EQ(t % 5, 0);
    ASSERT_LT(t, 80);
    EXPECT_FALSE(seen[t / 5]);
    seen[t / 5] = true;
  }
  EXPECT_EQ(IndexedDitheredCodec::threshold(0, 1), 60u);
  EXPECT_EQ(IndexedDitheredCodec::threshold(5, 2), 55u);  // row 5 is matrix row 1
  EXPECT_EQ(IndexedDitheredCodec::threshold(3, 7), 25u);
}

// Levels c div 85 (a threshold of 84 never raises one) and remainders
// c mod 85 (the raise happens just below them); each channel's place in the
// 6-bit index.
TEST(Dither, LevelsAndRemainders) {
  EXPECT_EQ(IndexedDitheredCodec::level(84u, 84u), 0u);
  EXPECT_EQ(IndexedDitheredCodec::level(84u, 85u), 1u);
  EXPECT_EQ(IndexedDitheredCodec::level(84u, 255u), 3u);
  EXPECT_EQ(IndexedDitheredCodec::level(84u, 254u), 2u);  // remainder 84
  EXPECT_EQ(IndexedDitheredCodec::level(83u, 254u), 3u);
  EXPECT_EQ(IndexedDitheredCodec::level(0u, 170u), 2u);  // remainder 0
  EXPECT_EQ(IndexedDitheredCodec::mapIndex(84u, Rgb8{0, 170, 0}), 8u);
  EXPECT_EQ(IndexedDitheredCodec::mapIndex(84u, Rgb8{0, 0, 255}), 48u);
}

// level = c div 85, plus 1 where c mod 85 exceeds the threshold: for every
// threshold a remainder can be compared with, not only the matrix's.
TEST(Dither, LevelsMatchTheDefinition) {
  for (uint32_t t = 0; t < 85; ++t) {
    for (uint32_t c = 0; c < 256; ++c) {
      const uint32_t level = c / 85 + (c % 85 > t ? 1 : 0);
      ASSERT_EQ(IndexedDitheredCodec::mapIndex(t, Rgb8{c, 0, 0}), level) << c << " at " << t;
      ASSERT_EQ(IndexedDitheredCodec::mapIndex(t, Rgb8{0, c, 0}), 4 * level);
      ASSERT_EQ(IndexedDitheredCodec::mapIndex(t, Rgb8{0, 0, c}), 16 * level);
    }
  }
}

TEST(Dither, WorkedLevels) {
  uint32_t levelOne40 = 0;
  const auto index = [](uint32_t t, uint32_t r, uint32_t g, uint32_t b) {
    return IndexedDitheredCodec::mapIndex(t, Rgb8{r, g, b});
  };
  for (uint32_t t : DitherMatrix) {
    EXPECT_EQ(index(t, 85, 0, 0), 1u);
    EXPECT_EQ(index(t, 84, 0, 0), 1u);
    EXPECT_EQ(index(t, 255, 0, 0), 3u);
    EXPECT_EQ(index(t, 254, 0, 0), 3u);
    EXPECT_EQ(index(t, 85, 170, 255), 57u);
    levelOne40 += index(t, 40, 0, 0);
    EXPECT_EQ(index(t, 40, 0, 0), t < 40 ? 1u : 0u);
  }
  EXPECT_EQ(levelOne40, 8u);
}

// Four lanes at a time, as the block forms run.
using U32x4 = uint32_t __attribute__((vector_size(16)));

U32x4 lanes(uint32_t a, uint32_t b, uint32_t c, uint32_t d) { return U32x4{a, b, c, d}; }

template <class Format>
void expectBlocksEqualScalars() {
  for (uint32_t c = 0; c < 256; c += 4) {
    const Channels<U32x4> in{lanes(c, c + 1, c + 2, c + 3), lanes(255 - c, 254 - c, 253 - c, 252 - c),
                             lanes(c ^ 0x5A, (c + 1) ^ 0x5A, (c + 2) ^ 0x5A, (c + 3) ^ 0x5A)};
    const U32x4 encoded = Format::encode(in);
    for (int k = 0; k < 4; ++k) {
      const Rgb8 one{in.r[k], in.g[k], in.b[k]};
      ASSERT_EQ(encoded[k], Format::encode(one)) << c + k;
      const uint32_t pixel = (c + k) * 0x01010101u ^ 0x00A5C3u;
      const Channels<U32x4> back = Format::decode(lanes(pixel, pixel, pixel, pixel));
      ASSERT_EQ((Rgb8{back.r[k], back.g[k], back.b[k]}), Format::decode(pixel)) << pixel;
    }
  }
}

TEST(PixelFormat, BlockFormsGiveTheScalarResults) {
  expectBlocksEqualScalars<Rgb32Format>();
  expectBlocksEqualScalars<Rgb16Format>();
  expectBlocksEqualScalars<Rgb555Format>();
  for (uint32_t t : DitherMatrix) {
    for (uint32_t c = 0; c < 256; ++c) {
      const U32x4 v = lanes(c, 255 - c, c / 2, c ^ 0x33);
      const U32x4 levels = IndexedDitheredCodec::level(lanes(t, t, t, t), v);
      for (int k = 0; k < 4; ++k) ASSERT_EQ(levels[k], IndexedDitheredCodec::level(t, v[k]));
    }
  }
}

}  // namespace
