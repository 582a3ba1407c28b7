// The inverse colour maps of an indexed colour model.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "device/color_model.h"

namespace {

struct IndexedMaps {
  RukColorModel model{};
  std::array<uint8_t, 64> map6{};
  std::array<uint8_t, 4096> map12{};

  explicit IndexedMaps(std::initializer_list<uint32_t> palette)
      : IndexedMaps(std::span<const uint32_t>(palette.begin(), palette.size())) {}
  explicit IndexedMaps(std::span<const uint32_t> palette) {
    model.format = Indexed8;
    model.paletteSize = static_cast<uint32_t>(palette.size());
    std::copy(palette.begin(), palette.end(), storage.begin());
    model.palette = palette.size() == 0 ? nullptr : storage.data();
    map6.fill(0xAA);
    map12.fill(0xAA);
    buildInverseColorMaps(&model, map6.data(), map12.data());
  }

 private:
  std::array<uint32_t, 256> storage{};
};

TEST(InverseColorMaps, IndexRedLowestBlueHighest) {
  // Black, pure red, pure green, pure blue, white.
  IndexedMaps maps{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  EXPECT_EQ(maps.map12[0], 0);
  EXPECT_EQ(maps.map12[15], 1);       // red level 15, green 0, blue 0
  EXPECT_EQ(maps.map12[15 * 16], 2);  // green level 15
  EXPECT_EQ(maps.map12[3840], 3);     // blue level 15
  EXPECT_EQ(maps.map12[4095], 4);     // white
  EXPECT_EQ(maps.map6[3], 1);         // red level 3
  EXPECT_EQ(maps.map6[3 * 4], 2);     // green level 3
  EXPECT_EQ(maps.map6[3 * 16], 3);    // blue level 3
  EXPECT_EQ(maps.map6[63], 4);
  // (85, 85, 85) lies nearer black (3 * 85^2) than white (3 * 170^2).
  EXPECT_EQ(maps.map6[1 + 4 + 16], 0);
  // (170, 170, 170): white at 3 * 85^2 beats black at 3 * 170^2.
  EXPECT_EQ(maps.map6[2 + 8 + 32], 4);
}

TEST(InverseColorMaps, LevelsStepBy17And85) {
  // A grey ramp with one entry per 17 steps: level n of the 12-bit map is
  // exactly entry n; the 6-bit map's level n (85 n) is entry 5 n.
  IndexedMaps maps{0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777,
                   0x888888, 0x999999, 0xAAAAAA, 0xBBBBBB, 0xCCCCCC, 0xDDDDDD, 0xEEEEEE, 0xFFFFFF};
  for (uint32_t n = 0; n < 16; ++n) EXPECT_EQ(maps.map12[n * 256 + n * 16 + n], n) << n;
  for (uint32_t n = 0; n < 4; ++n) EXPECT_EQ(maps.map6[n * 16 + n * 4 + n], 5 * n) << n;
}

TEST(InverseColorMaps, EmptyPaletteStores255) {
  IndexedMaps maps{};
  for (uint8_t entry : maps.map6) EXPECT_EQ(entry, 255);
  for (uint8_t entry : maps.map12) ASSERT_EQ(entry, 255);
}

// Every entry of both maps is the palette's nearest index to its grid
// colour, lowest index first among equals, for palettes of every size with
// repeated entries among random ones.
TEST(InverseColorMaps, EveryEntryIsTheNearestPaletteIndex) {
  uint32_t seed = 12345;
  for (uint32_t size : {1u, 2u, 17u, 255u, 256u}) {
    std::vector<uint32_t> palette(size);
    for (uint32_t& colour : palette) {
      seed = seed * 1664525u + 1013904223u;
      colour = seed >> 8;
    }
    if (size > 2) palette[size - 1] = palette[size / 2];  // a tie the lower index must win
    IndexedMaps maps{std::span<const uint32_t>(palette)};
    const RukColorModel& model = maps.model;
    for (uint32_t i = 0; i < 4096; ++i) {
      const uint32_t expected = nearestPaletteIndex(&model, 17 * (i % 16), 17 * (i / 16 % 16), 17 * (i / 256));
      ASSERT_EQ(maps.map12[i], expected) << "size " << size << " entry " << i;
    }
    for (uint32_t i = 0; i < 64; ++i) {
      ASSERT_EQ(maps.map6[i], nearestPaletteIndex(&model, 85 * (i % 4), 85 * (i / 4 % 4), 85 * (i / 16)))
          << "size " << size << " entry " << i;
    }
  }
}

}  // namespace
