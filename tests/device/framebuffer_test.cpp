// Framebuffer creation (its trace, the screen's colour model, every failure),
// presentation into windows and toolkit surfaces, and release.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>
#include <cstring>
#include <string>

#include "context/context.h"
#include "device/framebuffer.h"
#include "device_helpers.h"
#include "platform/display.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Device contexts, DIB sections and palettes are all released.
void expectNoDisplayObjectsLeft() {
  const DisplayCounts counts = displayCounts();
  EXPECT_EQ(counts.deviceContexts, 0);
  EXPECT_EQ(counts.bitmaps, 0);
  EXPECT_EQ(counts.palettes, 0);
}

class Framebuffer : public testing::Test {
 protected:
  void SetUp() override {
    displayReset();
    window = displayCreateWindow(32, 32);
    displayActivateWindow(window);
  }
  void TearDown() override {
    disposeFramebuffer(context);
    freeContext(context);
    displayReset();
  }

  // Creates a framebuffer with its context and returns the trace.
  std::string create(int32_t width, int32_t height, RukDevice* device = nullptr, int32_t* depthBuffer = nullptr,
                     uint32_t* accumBuffer = nullptr) {
    CaptureStderr();
    status = CreateRukFramebuffer(device == nullptr ? defaultDevice.get() : device, &context, depthBuffer, accumBuffer,
                                  width, height);
    return GetCapturedStderr();
  }

  // What a framebuffer of this size and depth traces on success.
  static std::string successTrace(int32_t width, int32_t height, int depth, bool guessed, const char* masks) {
    return "CreateRukFramebuffer\ndepth = " + std::to_string(depth) + " bpp\nCreating " + std::to_string(width) + "x" +
           std::to_string(height) + " DIBSection.\nbyteSize = 84\nshould be: 84\ndepth = " + std::to_string(depth) +
           "\n" + (guessed ? "Color masks are all zero . . . guessing . . .\n" : "") + "Creating viewport.\n" + masks +
           "\nSuccessful!\n";
  }

  TestDevice defaultDevice = makeDirectDevice(32, 0xFF0000, 0x00FF00, 0x0000FF);
  HWND window = 0;
  RukContext* context = nullptr;
  RukStatus status = 0xFFFF;
};

TEST_F(Framebuffer, ThirtyTwoBitScreenGivesRgb32) {
  EXPECT_EQ(create(5, 3), successTrace(5, 3, 32, true, "r = 00ff0000, g = 0000ff00, b = 000000ff"));
  ASSERT_EQ(status, RUK_OK);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(context->colorModel.format, Rgb32);
  EXPECT_EQ(context->colorModel.redWordShift, 16u);
  EXPECT_EQ(context->colorModel.greenWordShift, 8u);
  EXPECT_EQ(context->colorModel.blueWordShift, 0u);
  EXPECT_EQ(context->width, 5u);
  EXPECT_EQ(context->height, 3u);
  EXPECT_EQ(context->rowBytes, 20u);
  EXPECT_EQ(context->bufferFlags, 1u);

  const RukFramebuffer* fb = context->framebuffer;
  ASSERT_NE(fb, nullptr);
  EXPECT_EQ(fb->width, 5);
  EXPECT_EQ(fb->height, 3);
  EXPECT_EQ(fb->depth, 32u);
  EXPECT_EQ(fb->bits, context->colorBuffer);
  EXPECT_EQ(fb->paintWindow, 0u);
  EXPECT_EQ(fb->palette, 0u);
  EXPECT_EQ(fb->dcWindow, window);
}

TEST_F(Framebuffer, SixteenBitScreenWithoutMasksIsGuessedAs555) {
  displaySetDepth(16);
  EXPECT_EQ(create(3, 2), successTrace(3, 2, 16, true, "r = 00007c00, g = 000003e0, b = 0000001f"));
  ASSERT_EQ(status, RUK_OK);
  EXPECT_EQ(context->colorModel.format, Rgb555);
  EXPECT_EQ(context->rowBytes, 8u);  // 6 bytes of pixels padded to 8
}

TEST_F(Framebuffer, SixteenBitScreenMasksAreTaken) {
  displaySetDepth(16);
  displaySetMasks(0xF800, 0x07E0, 0x001F);
  EXPECT_EQ(create(4, 4), successTrace(4, 4, 16, false, "r = 0000f800, g = 000007e0, b = 0000001f"));
  ASSERT_EQ(status, RUK_OK);
  EXPECT_EQ(context->colorModel.format, Rgb16);
  EXPECT_EQ(context->colorModel.greenBits, 6u);
}

TEST_F(Framebuffer, TwentyFourBitScreenGivesRgb24) {
  displaySetDepth(24);
  EXPECT_EQ(create(3, 2), successTrace(3, 2, 24, true, "r = 00ff0000, g = 0000ff00, b = 000000ff"));
  ASSERT_EQ(status, RUK_OK);
  EXPECT_EQ(context->colorModel.format, Rgb24);
  EXPECT_EQ(context->rowBytes, 12u);  // 9 bytes padded to 12
}

TEST_F(Framebuffer, EightBitScreenTakesTheSystemPalette) {
  displaySetDepth(8);
  EXPECT_EQ(create(2, 2), successTrace(2, 2, 8, true, "r = 00000000, g = 00000000, b = 00000000"));
  ASSERT_EQ(status, RUK_OK);
  EXPECT_EQ(context->colorModel.format, Indexed8);
  ASSERT_EQ(context->colorModel.paletteSize, 256u);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(context->colorModel.palette[i], displaySystemPaletteEntry(i)) << i;
  EXPECT_NE(context->framebuffer->palette, 0u);
  EXPECT_EQ(displayCounts().palettes, 1);
  EXPECT_EQ(context->rowBytes, 4u);
}

TEST_F(Framebuffer, EightBitScreenTakesAnIndexedDevicesPalette) {
  displaySetDepth(8);
  const uint8_t red[3] = {1, 2, 3}, green[3] = {4, 5, 6}, blue[3] = {7, 8, 9};
  RukDeviceDescriptor d{8, 3, red, green, blue, 0, 0, 0};
  RukDevice* device = nullptr;
  ASSERT_EQ(createDevice(&d, &device), RUK_OK);
  const TestDevice owner(device);
  create(2, 2, device);
  ASSERT_EQ(status, RUK_OK);
  ASSERT_EQ(context->colorModel.paletteSize, 3u);
  EXPECT_EQ(context->colorModel.palette[0], 0x00010407u);
  EXPECT_EQ(context->colorModel.palette[2], 0x00030609u);
}

struct FailureCase {
  const char* what;
  void (*arrange)();
  int32_t width, height;
  RukStatus status;
  const char* trace;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.what; }

class FramebufferFailure : public Framebuffer, public testing::WithParamInterface<FailureCase> {};

TEST_P(FramebufferFailure, TracesReleasesAndGivesTheStatus) {
  const FailureCase& c = GetParam();
  c.arrange();
  EXPECT_EQ(create(c.width, c.height), c.trace) << c.what;
  EXPECT_EQ(status, c.status) << c.what;
  EXPECT_EQ(context, nullptr);
  expectNoDisplayObjectsLeft();
}

constexpr const char* DIB_TRACE_32 = "CreateRukFramebuffer\ndepth = 32 bpp\nCreating 4x3 DIBSection.\n";

INSTANTIATE_TEST_SUITE_P(
    Failures, FramebufferFailure,
    testing::Values(
        FailureCase{"no device context", [] { displayFailGetDCOfActiveWindow(TRUE); }, 4, 3, RUK_ERR_FAILED,
                    "CreateRukFramebuffer\n"},
        FailureCase{"15-bit screen", [] { displaySetDepth(15); }, 4, 3, RUK_ERR_PIXEL_FORMAT, "CreateRukFramebuffer\n"},
        FailureCase{"DIB section refused", [] { displayFailNextCreateDIBSection(); }, 4, 3, RUK_ERR_FAILED,
                    DIB_TRACE_32},
        FailureCase{"8-bit DIB section refused",
                    [] {
                      displaySetDepth(8);
                      displayFailNextCreateDIBSection();
                    },
                    4, 3, RUK_ERR_FAILED, "CreateRukFramebuffer\ndepth = 8 bpp\nCreating 4x3 DIBSection.\n"},
        FailureCase{"zero width", [] {}, 0, 3, RUK_ERR_FAILED,
                    "CreateRukFramebuffer\ndepth = 32 bpp\nCreating 0x3 DIBSection.\n"},
        FailureCase{"zero height", [] {}, 4, 0, RUK_ERR_FAILED,
                    "CreateRukFramebuffer\ndepth = 32 bpp\nCreating 4x0 DIBSection.\n"},
        FailureCase{"negative height", [] {}, 4, -3, RUK_ERR_FAILED,
                    "CreateRukFramebuffer\ndepth = 32 bpp\nCreating 4x-3 DIBSection.\n"},
        FailureCase{"screen masks the colour model refuses",
                    [] {
                      displaySetDepth(16);
                      displaySetMasks(0xF000, 0x0F00, 0x00F0);
                    },
                    4, 3, RUK_ERR_PIXEL_FORMAT,
                    "CreateRukFramebuffer\ndepth = 16 bpp\nCreating 4x3 DIBSection.\nbyteSize = 84\n"
                    "should be: 84\ndepth = 16\nCreating viewport.\nr = 0000f000, g = 00000f00, b = 000000f0\n"
                    "Failed.  Windows sucks.\n"}));

TEST_F(Framebuffer, UnreadableDescriptionIsReportedAndGuessed) {
  displayFailNextGetObject(1234);
  EXPECT_EQ(create(4, 3), std::string(DIB_TRACE_32) +
                              "byteSize = 0\nshould be: 84\nError: 1234\ndepth = 0\n"
                              "Color masks are all zero . . . guessing . . .\nCreating viewport.\n"
                              "r = 00ff0000, g = 0000ff00, b = 000000ff\nSuccessful!\n");
  ASSERT_EQ(status, RUK_OK);
  EXPECT_EQ(context->colorModel.format, Rgb32);
}

TEST_F(Framebuffer, WithoutAnActiveWindowUsesTheScreen) {
  displayActivateWindow(0);
  create(2, 2);
  ASSERT_EQ(status, RUK_OK);
  EXPECT_EQ(context->framebuffer->dcWindow, 0u);
  disposeFramebuffer(context);
  EXPECT_EQ(displayCounts().deviceContexts, 0);
}

// Fills the colour buffer with pixel (row, col) = 0x00RRCC00 + col.
void paintPattern(RukContext* context) {
  for (uint32_t row = 0; row < context->height; ++row) {
    auto* pixels = reinterpret_cast<uint32_t*>(context->colorBuffer + row * context->rowBytes);
    for (uint32_t col = 0; col < context->width; ++col) pixels[col] = (row + 1) << 16 | (col + 1) << 8 | 0x40;
  }
}

uint32_t patternAt(int row, int col) { return uint32_t(row + 1) << 16 | uint32_t(col + 1) << 8 | 0x40; }

TEST_F(Framebuffer, PresentCopiesTheImageToTheWindowAt) {
  create(4, 3);
  ASSERT_EQ(status, RUK_OK);
  paintPattern(context);
  const HWND target = displayCreateWindow(10, 10);
  displayFillWindow(target, 0x00ABCDEF);
  presentFramebuffer(context, 0, target, 2, 5);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 5 && y < 8;
      ASSERT_EQ(displayWindowPixel(target, x, y), inside ? patternAt(y - 5, x - 2) : 0x00ABCDEFu) << x << "," << y;
    }
  }
  EXPECT_EQ(context->framebuffer->paintWindow, target);
  const HWND second = displayCreateWindow(8, 8);
  presentFramebuffer(context, 0, second, 0, 0);
  EXPECT_EQ(context->framebuffer->paintWindow, target);  // the first window painted stays
  EXPECT_EQ(displayWindowPixel(second, 3, 2), patternAt(2, 3));
  EXPECT_EQ(displayCounts().deviceContexts, 1);  // only the framebuffer's own
}

TEST_F(Framebuffer, PresentWithoutWindowDrawsIntoTheToolkitSurface) {
  create(4, 3);
  ASSERT_EQ(status, RUK_OK);
  paintPattern(context);
  const HDC surface = displayCreateSurface(6, 6);
  displayFillSurface(surface, 0x00010101);
  presentFramebuffer(context, surface, 0, 1, 2);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 2 && y < 5;
      ASSERT_EQ(displaySurfacePixel(surface, x, y), inside ? patternAt(y - 2, x - 1) : 0x00010101u) << x << "," << y;
    }
  }
  EXPECT_EQ(context->framebuffer->paintWindow, 0u);
}

TEST_F(Framebuffer, EightBitPixelsShowSystemPaletteColours) {
  displaySetDepth(8);
  create(4, 1);
  ASSERT_EQ(status, RUK_OK);
  const uint8_t indexes[4] = {0, 5, 215, 255};
  std::memcpy(context->colorBuffer, indexes, 4);
  const HDC surface = displayCreateSurface(4, 1);
  presentFramebuffer(context, surface, 0, 0, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(displaySurfacePixel(surface, i, 0), displaySystemPaletteEntry(indexes[i]));
  // The surface does not keep the framebuffer's palette, so it can be deleted.
  disposeFramebuffer(context);
  EXPECT_EQ(displayCounts().palettes, 0);
}

TEST_F(Framebuffer, CreateAndDisposeThousandTimesLeavesNothing) {
  for (int i = 0; i < 1000; ++i) {
    auto* depth = static_cast<int32_t*>(std::malloc(8 * 8 * 4));
    auto* accum = static_cast<uint32_t*>(std::malloc(8 * 8 * 4));
    create(8, 8, nullptr, depth, accum);
    ASSERT_EQ(status, RUK_OK);
    ASSERT_EQ(context->bufferFlags, 1u | 2u | 8u);
    disposeFramebuffer(context);
    EXPECT_EQ(context->depthBuffer, nullptr);
    EXPECT_EQ(context->accumBuffer, nullptr);
    freeContext(context);
    context = nullptr;
  }
  expectNoDisplayObjectsLeft();
}

TEST_F(Framebuffer, EightBitCreateAndDisposeReleasesThePalette) {
  displaySetDepth(8);
  for (int i = 0; i < 20; ++i) {
    create(5, 5);
    ASSERT_EQ(status, RUK_OK);
    disposeFramebuffer(context);
    freeContext(context);
    context = nullptr;
  }
  expectNoDisplayObjectsLeft();
}

}  // namespace
