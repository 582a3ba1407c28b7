// The rounded product of two intensities and the clamping of drifted 8.16
// quantities, on hand-derived values; the sixteen-bit pair forms of both
// against them, with the processor's pack instructions (4 lanes) and the
// portable shuffles (8 and 16 lanes).
#include "raster/intensity.h"

#include "raster/lanes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "raster_canvas.h"

namespace {

TEST(Intensity, RoundedProductEqualsTheProductTable) {
  fillProductTable();
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t b = 0; b < 256; ++b) ASSERT_EQ(roundedProduct255(a, b), productTable8[a * 256 + b]) << a << " " << b;
  }
  EXPECT_EQ(roundedProduct255(255, 255), 255u);
  EXPECT_EQ(roundedProduct255(128, 128), 64u);
  EXPECT_EQ(roundedProduct255(1, 127), 1u);
  EXPECT_EQ(roundedProduct255(1, 1), 0u);
}

TEST(Intensity, ClampsDriftedIntensities) {
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

template <class V>
class PairLanesTest : public ::testing::Test {};
using PairWidths = ::testing::Types<LaneU32<4>, LaneU32<8>, LaneU32<16>>;
TYPED_TEST_SUITE(PairLanesTest, PairWidths);

// Lane k of a and b: 8.16 quantities, drifted ones among them, and their
// expected intensities through the scalar clamp.
TYPED_TEST(PairLanesTest, IntensitiesAndProductsMatchTheScalarForms) {
  using V = TypeParam;
  constexpr uint32_t n = laneCountOf<V>;
  const int32_t samples[] = {0,  0xFFFF,      0x10000,    0x7F8000, 0xFF0000, 0xFFFFFF,  0x1000000,
                             -1, -0x7FFFFFFF, 0x7FFFFFFF, 0x123456, 0x40FFFF, INT32_MIN, 0x8000000};
  constexpr uint32_t count = sizeof samples / sizeof samples[0];
  for (uint32_t first = 0; first < count; ++first) {
    V a, b;
    for (uint32_t k = 0; k < n; ++k) {
      a[k] = static_cast<uint32_t>(samples[(first + k) % count]);
      b[k] = static_cast<uint32_t>(samples[(first + 3 * k + 1) % count]);
    }
    const PairLanes<V> pair = intensityPair(a, b);
    const V low = unpackPair<V, false>(pair), high = unpackPair<V, true>(pair);
    const V twice = unpackPair<V, true>(secondOfPairTwice(pair));
    const V twiceLow = unpackPair<V, false>(secondOfPairTwice(pair));
    for (uint32_t k = 0; k < n; ++k) {
      ASSERT_EQ(low[k], intensityOf816(static_cast<int32_t>(a[k]))) << std::hex << a[k];
      ASSERT_EQ(high[k], intensityOf816(static_cast<int32_t>(b[k]))) << std::hex << b[k];
      ASSERT_EQ(twice[k], high[k]);
      ASSERT_EQ(twiceLow[k], high[k]);
    }
  }
  // Every pair of intensities, n products per step.
  for (uint32_t x = 0; x < 256; ++x) {
    for (uint32_t y = 0; y < 256; y += n) {
      V left = V{} + x, right = laneIndexes<V>() + y;
      const PairLanes<V> products = productPair(packPair(left, right), packPair(right, left));
      const V sums = unpackPair<V, false>(min255Pair(packPair(left + right, right)));
      const V firstProducts = unpackPair<V, false>(products), secondProducts = unpackPair<V, true>(products);
      for (uint32_t k = 0; k < n; ++k) {
        ASSERT_EQ(firstProducts[k], roundedProduct255(x, y + k)) << x << " " << y + k;
        ASSERT_EQ(secondProducts[k], roundedProduct255(x, y + k));
        ASSERT_EQ(sums[k], std::min(x + y + k, 255u));
      }
    }
  }
}

// Bytes 2 and 1 of every lane (red and green of a stored pixel), and byte 0
// twice.
TYPED_TEST(PairLanesTest, BytePairsTakeTheirBytesOfEveryLane) {
  using V = TypeParam;
  constexpr uint32_t n = laneCountOf<V>;
  V pixels;
  for (uint32_t k = 0; k < n; ++k) pixels[k] = 0xF0000000u | (k + 1) << 16 | (k + 0x41) << 8 | (0xFF - k);
  const PairLanes<V> redGreen = bytePair<V, 2, 1>(pixels), blue = bytePair<V, 0, 0>(pixels);
  const V red = unpackPair<V, false>(redGreen), green = unpackPair<V, true>(redGreen);
  const V blueFirst = unpackPair<V, false>(blue), blueSecond = unpackPair<V, true>(blue);
  for (uint32_t k = 0; k < n; ++k) {
    ASSERT_EQ(red[k], k + 1) << k;
    ASSERT_EQ(green[k], k + 0x41) << k;
    ASSERT_EQ(blueFirst[k], 0xFF - k) << k;
    ASSERT_EQ(blueSecond[k], 0xFF - k) << k;
  }
}

TYPED_TEST(PairLanesTest, PacksSaturateToSixteenBits) {
  using V = TypeParam;
  constexpr uint32_t n = laneCountOf<V>;
  V a, b;
  const int32_t values[] = {40000, -40000, 32767, -32768, 255, 0, 1, -1};
  for (uint32_t k = 0; k < n; ++k) {
    a[k] = static_cast<uint32_t>(values[k % 8]);
    b[k] = static_cast<uint32_t>(values[(k + 5) % 8]);
  }
  const PairLanes<V> pair = packPair(a, b);
  const int16_t expected[] = {32767, -32768, 32767, -32768, 255, 0, 1, -1};
  for (uint32_t k = 0; k < n; ++k) {
    ASSERT_EQ(static_cast<int16_t>(pair[k / 4 * 8 + k % 4]), expected[k % 8]) << k;
    ASSERT_EQ(static_cast<int16_t>(pair[k / 4 * 8 + 4 + k % 4]), expected[(k + 5) % 8]) << k;
  }
}

}  // namespace
