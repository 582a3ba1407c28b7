// Stores and read-backs of every format, nearest-colour indexes and the
// ordered dither, on hand-derived values.
#include "raster/pixel_encoding.h"

#include <gtest/gtest.h>

#include "raster_canvas.h"

namespace {

TEST(PixelEncoding, Rgb555StoresAndReadsBack) {
  EXPECT_EQ(Rgb555Encoding::fromBytes(255, 128, 7), 0x7E00u);
  EXPECT_EQ(Rgb555Encoding::readBack(0x7E00), (Rgb8{248, 128, 0}));
  EXPECT_EQ(Rgb555Encoding::from816(0xFF8000, 0x80FFFF, 0x07FFFF), 0x7E00u);
  EXPECT_EQ(Rgb555Encoding::fromBytes(255, 255, 255), 0x7FFFu);  // bit 15 stays 0
}

TEST(PixelEncoding, Rgb16StoresAndReadsBack) {
  EXPECT_EQ(Rgb16Encoding::fromBytes(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(Rgb16Encoding::readBack(0xFFFF), (Rgb8{248, 252, 248}));
  EXPECT_EQ(Rgb16Encoding::fromBytes(0x12, 0x34, 0x56), (0x10u << 8) | (0x34u << 3) | (0x56u >> 3));
  EXPECT_EQ(Rgb16Encoding::from816(0xFFFFFF, 0xFFFFFF, 0xFFFFFF), 0xFFFFu);
}

TEST(PixelEncoding, Rgb32StoresAndReadsBack) {
  EXPECT_EQ(Rgb32Encoding::from816(0x123456, 0xABCDEF, 0x00FF00), 0x12AB00u);
  EXPECT_EQ(Rgb32Encoding::fromBytes(0x12, 0xAB, 0x00), 0x12AB00u);
  EXPECT_EQ(Rgb32Encoding::readBack(0xFF123456), (Rgb8{0x12, 0x34, 0x56}));
}

TEST(PixelEncoding, Rgb24KeepsBlueGreenRedInMemory) {
  uint8_t bytes[4] = {0, 0, 0, 0xEE};
  Rgb24Encoding::write(bytes, Rgb24Encoding::fromBytes(0x11, 0x22, 0x33));
  EXPECT_EQ(bytes[0], 0x33);
  EXPECT_EQ(bytes[1], 0x22);
  EXPECT_EQ(bytes[2], 0x11);
  EXPECT_EQ(bytes[3], 0xEE);
  EXPECT_EQ(Rgb24Encoding::readBack(Rgb24Encoding::read(bytes)), (Rgb8{0x11, 0x22, 0x33}));
}

// The 8.16 forms equal the byte forms of the integer parts, whatever the fraction.
TEST(PixelEncoding, From816EqualsByteFormForEveryIntensity) {
  for (uint32_t c = 0; c < 256; ++c) {
    const int32_t value = static_cast<int32_t>((c << 16) | ((c * 2654435761u) & 0xFFFF));
    const uint32_t other = 255 - c;
    const int32_t otherValue = static_cast<int32_t>(other << 16 | 0xFFFF);
    EXPECT_EQ(Rgb32Encoding::from816(value, otherValue, value), Rgb32Encoding::fromBytes(c, other, c));
    EXPECT_EQ(Rgb16Encoding::from816(value, otherValue, value), Rgb16Encoding::fromBytes(c, other, c));
    EXPECT_EQ(Rgb555Encoding::from816(value, otherValue, value), Rgb555Encoding::fromBytes(c, other, c));
    EXPECT_EQ(nearestIndex12From816(value, otherValue, value), nearestIndex12(c, other, c));
  }
}

TEST(PixelEncoding, RoundedProductEqualsTheProductTable) {
  fillProductTable();
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t b = 0; b < 256; ++b) ASSERT_EQ(roundedProduct255(a, b), productTable8[a * 256 + b]) << a << " " << b;
  }
  EXPECT_EQ(roundedProduct255(255, 255), 255u);
  EXPECT_EQ(roundedProduct255(128, 128), 64u);
  EXPECT_EQ(roundedProduct255(1, 127), 1u);
  EXPECT_EQ(roundedProduct255(1, 1), 0u);
}

TEST(PixelEncoding, ClampsDriftedIntensities) {
  EXPECT_EQ(intensityOf816(-1), 0u);
  EXPECT_EQ(intensityOf816(-0x7FFFFFFF), 0u);
  EXPECT_EQ(intensityOf816(0x1000000), 255u);
  EXPECT_EQ(intensityOf816(0x7FFFFFFF), 255u);
  EXPECT_EQ(intensityOf816(0xFFFFFF), 255u);
  EXPECT_EQ(intensityOf816(0x7F0000), 127u);
  EXPECT_EQ(clampIntensity816(-5), 0);
  EXPECT_EQ(clampIntensity816(0x1234567), 0xFFFFFF);
  EXPECT_EQ(clampIntensity816(0x123456), 0x123456);
}

TEST(PixelEncoding, NearestColourIndexes) {
  EXPECT_EQ(nearestIndex12From816(0xFF0000, 0, 0), 15u);
  EXPECT_EQ(nearestIndex12From816(0, 0, 0xFF0000), 3840u);
  EXPECT_EQ(nearestIndex12(0, 0x10, 0), 16u);
  EXPECT_EQ(indexedReadBack(77), (Rgb8{77, 77, 77}));
}

TEST(Dither, MatrixHoldsEachMultipleOfFiveOnce) {
  bool seen[16] = {};
  for (uint8_t t : DitherMatrix) {
    ASSERT_EQ(t % 5, 0);
    ASSERT_LT(t, 80);
    EXPECT_FALSE(seen[t / 5]);
    seen[t / 5] = true;
  }
  EXPECT_EQ(ditherThreshold(0, 1), 60u);
  EXPECT_EQ(ditherThreshold(5, 2), 55u);  // row 5 is matrix row 1
  EXPECT_EQ(ditherThreshold(3, 7), 25u);
}

TEST(Dither, LevelAndRemainderTables) {
  EXPECT_EQ(levelTable[84], 0);
  EXPECT_EQ(levelTable[85], 1);
  EXPECT_EQ(levelTable[255], 3);
  EXPECT_EQ(remainderTable[254], 84);
  EXPECT_EQ(remainderTable[170], 0);
  EXPECT_EQ(levelGreenTable[170], 8);
  EXPECT_EQ(levelBlueTable[255], 48);
}

// level = c div 85, plus 1 where c mod 85 exceeds the threshold; the carry
// form gives the same for every intensity and threshold.
TEST(Dither, CarryFormMatchesDefinition) {
  for (uint32_t t : DitherMatrix) {
    for (uint32_t c = 0; c < 256; ++c) {
      const uint32_t level = c / 85 + (c % 85 > t ? 1 : 0);
      ASSERT_EQ(ditherIndex6(t, c, 0, 0), level) << c << " at " << t;
      ASSERT_EQ(ditherIndex6(t, 0, c, 0), 4 * level);
      ASSERT_EQ(ditherIndex6(t, 0, 0, c), 16 * level);
    }
  }
}

TEST(Dither, WorkedLevels) {
  uint32_t levelOne40 = 0;
  for (uint32_t t : DitherMatrix) {
    EXPECT_EQ(ditherIndex6(t, 85, 0, 0), 1u);
    EXPECT_EQ(ditherIndex6(t, 84, 0, 0), 1u);
    EXPECT_EQ(ditherIndex6(t, 255, 0, 0), 3u);
    EXPECT_EQ(ditherIndex6(t, 254, 0, 0), 3u);
    EXPECT_EQ(ditherIndex6(t, 85, 170, 255), 57u);
    levelOne40 += ditherIndex6(t, 40, 0, 0);
    EXPECT_EQ(ditherIndex6(t, 40, 0, 0), t < 40 ? 1u : 0u);
  }
  EXPECT_EQ(levelOne40, 8u);
}

}  // namespace
