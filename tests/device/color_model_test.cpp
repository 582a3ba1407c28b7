// Colour models built from masks and palettes, devices, and nearest-colour
// lookups.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cstring>

#include "device/color_model.h"
#include "device_helpers.h"
#include "runtime/memory.h"

namespace {

RukDeviceDescriptor directDescriptor(uint32_t depth, uint32_t red, uint32_t green, uint32_t blue) {
  RukDeviceDescriptor d{};
  d.depth = depth;
  d.redMask = red;
  d.greenMask = green;
  d.blueMask = blue;
  return d;
}

struct DirectCase {
  uint32_t red, green, blue, depth;
  PixelFormat format;
  uint32_t bits[3], shifts[3], wordShifts[3];
  uint32_t bitsPerPixel, bytesPerPixel;
};

void PrintTo(const DirectCase& c, std::ostream* os) {
  *os << "depth " << c.depth << " masks " << std::hex << c.red << " " << c.green << " " << c.blue;
}

class DirectModel : public testing::TestWithParam<DirectCase> {};

TEST_P(DirectModel, BuildsTheWorkedLayout) {
  const DirectCase& c = GetParam();
  const RukDeviceDescriptor d = directDescriptor(c.depth, c.red, c.green, c.blue);
  RukColorModel model{};
  ASSERT_TRUE(buildColorModel(&model, &d));
  EXPECT_EQ(model.format, c.format);
  EXPECT_EQ(model.bitsPerPixel, c.bitsPerPixel);
  EXPECT_EQ(model.bytesPerPixel, c.bytesPerPixel);
  EXPECT_EQ((std::array{model.redBits, model.greenBits, model.blueBits}),
            (std::array{c.bits[0], c.bits[1], c.bits[2]}));
  EXPECT_EQ((std::array{model.redShift, model.greenShift, model.blueShift}),
            (std::array{c.shifts[0], c.shifts[1], c.shifts[2]}));
  EXPECT_EQ((std::array{model.redWordShift, model.greenWordShift, model.blueWordShift}),
            (std::array{c.wordShifts[0], c.wordShifts[1], c.wordShifts[2]}));
}

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, DirectModel,
    testing::Values(DirectCase{0x7C00, 0x03E0, 0x001F, 16, Rgb555, {5, 5, 5}, {10, 5, 0}, {16, 8, 0}, 16, 2},
                    DirectCase{0xF800, 0x07E0, 0x001F, 16, Rgb16, {5, 6, 5}, {11, 5, 0}, {16, 8, 0}, 16, 2},
                    DirectCase{0xFF0000, 0x00FF00, 0x0000FF, 32, Rgb32, {8, 8, 8}, {16, 8, 0}, {16, 8, 0}, 32, 4},
                    DirectCase{0x0000FF, 0x00FF00, 0xFF0000, 32, Rgb32, {8, 8, 8}, {0, 8, 16}, {0, 8, 16}, 32, 4},
                    DirectCase{0xFF0000, 0x00FF00, 0x0000FF, 24, Rgb24, {8, 8, 8}, {16, 8, 0}, {16, 8, 0}, 24, 3},
                    // 6-5-5 and blue-highest 5-5-5 layouts.
                    DirectCase{0xFC00, 0x03E0, 0x001F, 16, Rgb16, {6, 5, 5}, {10, 5, 0}, {16, 8, 0}, 16, 2},
                    DirectCase{0x001F, 0x03E0, 0x7C00, 16, Rgb555, {5, 5, 5}, {0, 5, 10}, {0, 8, 16}, 16, 2},
                    // Two channels sharing bits pass the common-bit test; neither is
                    // strictly highest, so both take word shift 8.
                    DirectCase{0xFF0000, 0xFF0000, 0x0000FF, 32, Rgb32, {8, 8, 8}, {16, 16, 0}, {8, 8, 0}, 32, 4},
                    // No channel at bit 0: the lowest goes to 8, not 0.
                    DirectCase{
                        0xFF000000, 0x00FF0000, 0x0000FF00, 32, Rgb32, {8, 8, 8}, {24, 16, 8}, {16, 8, 8}, 32, 4}));

struct Rejection {
  const char* why;
  uint32_t depth, red, green, blue;
};

void PrintTo(const Rejection& r, std::ostream* os) { *os << r.why; }

class RejectedDescriptor : public testing::TestWithParam<Rejection> {};

TEST_P(RejectedDescriptor, IsRefusedWithStatus8) {
  const Rejection& r = GetParam();
  const RukDeviceDescriptor d = directDescriptor(r.depth, r.red, r.green, r.blue);
  RukColorModel model{};
  EXPECT_FALSE(buildColorModel(&model, &d)) << r.why;
  RukDevice* device = reinterpret_cast<RukDevice*>(1);
  EXPECT_EQ(createDevice(&d, &device), RUK_ERR_PIXEL_FORMAT) << r.why;
  EXPECT_EQ(device, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rejections, RejectedDescriptor,
                         testing::Values(Rejection{"depth 15", 15, 0x7C00, 0x03E0, 0x001F},
                                         Rejection{"depth 0", 0, 0x7C00, 0x03E0, 0x001F},
                                         Rejection{"red above bit 15 at depth 16", 16, 0xFF0000, 0xFF00, 0xFE},
                                         Rejection{"three equal masks", 16, 0x7C00, 0x7C00, 0x7C00},
                                         Rejection{"4-bit channels", 16, 0xF000, 0x0F00, 0x00F0},
                                         Rejection{"red not contiguous", 16, 0x7C01, 0x03E0, 0x001E},
                                         Rejection{"empty blue mask at depth 16", 16, 0xF800, 0x07E0, 0},
                                         Rejection{"5-bit channels at depth 32", 32, 0x7C00, 0x03E0, 0x001F},
                                         Rejection{"7-bit red at depth 32", 32, 0x7F0000, 0x00FF00, 0x0000FF},
                                         Rejection{"all masks empty at depth 24", 24, 0, 0, 0}));

struct Palette {
  std::array<uint8_t, 4> red{10, 200, 0, 255};
  std::array<uint8_t, 4> green{20, 100, 0, 255};
  std::array<uint8_t, 4> blue{30, 50, 255, 255};

  RukDeviceDescriptor descriptor(uint32_t size) {
    RukDeviceDescriptor d{};
    d.depth = 8;
    d.paletteSize = size;
    d.paletteRed = red.data();
    d.paletteGreen = green.data();
    d.paletteBlue = blue.data();
    return d;
  }
};

TEST(IndexedModel, PacksPaletteEntriesAsColourWords) {
  Palette p;
  const RukDeviceDescriptor d = p.descriptor(4);
  RukColorModel model{};
  ASSERT_TRUE(buildColorModel(&model, &d));
  EXPECT_EQ(model.format, Indexed8);
  EXPECT_EQ(model.bitsPerPixel, 8u);
  EXPECT_EQ(model.bytesPerPixel, 1u);
  EXPECT_EQ((std::array{model.redWordShift, model.greenWordShift, model.blueWordShift}),
            (std::array<uint32_t, 3>{16, 8, 0}));
  ASSERT_EQ(model.paletteSize, 4u);
  EXPECT_EQ(model.palette[0], 0x000A141Eu);
  EXPECT_EQ(model.palette[1], 0x00C86432u);
  EXPECT_EQ(model.palette[2], 0x000000FFu);
  EXPECT_EQ(model.palette[3], 0x00FFFFFFu);
  rukRelease(model.palette);
}

TEST(IndexedModel, RefusesMoreEntriesThanAPixelCanName) {
  std::array<uint8_t, 257> channel{};
  RukDeviceDescriptor d{};
  d.depth = 8;
  d.paletteSize = 257;
  d.paletteRed = d.paletteGreen = d.paletteBlue = channel.data();
  RukColorModel model{};
  EXPECT_FALSE(buildColorModel(&model, &d));
  d.paletteSize = 256;
  ASSERT_TRUE(buildColorModel(&model, &d));
  rukRelease(model.palette);
}

TEST(Device, KeepsItsOwnCopyOfThePalette) {
  Palette p;
  const RukDeviceDescriptor d = p.descriptor(4);
  RukDevice* device = nullptr;
  ASSERT_EQ(createDevice(&d, &device), RUK_OK);
  ASSERT_NE(device, nullptr);
  const TestDevice owner(device);
  p.red.fill(0);
  p.green.fill(0);
  p.blue.fill(0);  // the caller's arrays may change or go away

  const RukDeviceDescriptor& copy = device->descriptor;
  EXPECT_EQ(copy.depth, 8u);
  EXPECT_EQ(copy.paletteSize, 4u);
  EXPECT_EQ(copy.paletteGreen, copy.paletteRed + 4);
  EXPECT_EQ(copy.paletteBlue, copy.paletteRed + 8);
  EXPECT_EQ((std::array{copy.paletteRed[1], copy.paletteGreen[1], copy.paletteBlue[1]}),
            (std::array<uint8_t, 3>{200, 100, 50}));
  EXPECT_EQ(device->colorModel.palette[3], 0x00FFFFFFu);
}

TEST(Device, DirectDeviceCopiesTheMasks) {
  const RukDeviceDescriptor d = directDescriptor(16, 0xF800, 0x07E0, 0x001F);
  RukDevice* device = nullptr;
  ASSERT_EQ(createDevice(&d, &device), RUK_OK);
  const TestDevice owner(device);
  EXPECT_EQ(device->colorModel.format, Rgb16);
  EXPECT_EQ(device->descriptor.depth, 16u);
  EXPECT_EQ((std::array{device->descriptor.redMask, device->descriptor.greenMask, device->descriptor.blueMask}),
            (std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}));
}

TEST(NearestPaletteIndex, FindsTheClosestEntry) {
  Palette p;
  const RukDeviceDescriptor d = p.descriptor(4);
  RukColorModel model{};
  ASSERT_TRUE(buildColorModel(&model, &d));
  EXPECT_EQ(nearestPaletteIndex(&model, 0, 0, 0), 0u);
  EXPECT_EQ(nearestPaletteIndex(&model, 190, 110, 40), 1u);
  EXPECT_EQ(nearestPaletteIndex(&model, 0, 0, 200), 2u);
  EXPECT_EQ(nearestPaletteIndex(&model, 250, 250, 250), 3u);
  rukRelease(model.palette);
}

TEST(NearestPaletteIndex, TieGoesToTheLowerIndex) {
  // Entries 1 and 2 both lie 10 away from (100, 100, 100); entry 0 is far.
  std::array<uint8_t, 3> red{0, 110, 90}, green{0, 100, 100}, blue{0, 100, 100};
  RukDeviceDescriptor d{8, 3, red.data(), green.data(), blue.data(), 0, 0, 0};
  RukColorModel model{};
  ASSERT_TRUE(buildColorModel(&model, &d));
  EXPECT_EQ(nearestPaletteIndex(&model, 100, 100, 100), 1u);
  rukRelease(model.palette);
}

TEST(NearestPaletteIndex, EmptyPaletteGivesNoIndex) {
  RukDeviceDescriptor d{};
  d.depth = 8;
  RukDevice* device = nullptr;
  ASSERT_EQ(createDevice(&d, &device), RUK_OK);
  const TestDevice owner(device);
  EXPECT_EQ(device->colorModel.paletteSize, 0u);
  EXPECT_EQ(nearestPaletteIndex(&device->colorModel, 0, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(nearestPaletteIndex(&device->colorModel, 255, 255, 255), 0xFFFFFFFFu);
}

}  // namespace
