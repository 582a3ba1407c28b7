// The rounded product of two intensities and the clamping of drifted 8.16
// quantities, on hand-derived values.
#include "raster/intensity.h"

#include <gtest/gtest.h>

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

}  // namespace
