// A context drawing into buffers the test owns, created through
// createContext, with optional padding after each colour row.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "context/context.h"
#include "device/color_model.h"

enum class Buffers { ColorOnly, ColorDepth, ColorAccum, All };

inline RukDeviceDescriptor screenFor(PixelFormat format) {
  RukDeviceDescriptor d{};
  switch (format) {
    case Rgb555: d = {16, 0, nullptr, nullptr, nullptr, 0x7C00, 0x03E0, 0x001F}; break;
    case Rgb16: d = {16, 0, nullptr, nullptr, nullptr, 0xF800, 0x07E0, 0x001F}; break;
    case Rgb24: d = {24, 0, nullptr, nullptr, nullptr, 0xFF0000, 0x00FF00, 0x0000FF}; break;
    case Rgb32: d = {32, 0, nullptr, nullptr, nullptr, 0xFF0000, 0x00FF00, 0x0000FF}; break;
    default: d.depth = 8; break;
  }
  return d;
}

inline uint32_t bytesPerPixelOf(PixelFormat format) {
  switch (format) {
    case Rgb555:
    case Rgb16: return 2;
    case Rgb24: return 3;
    case Rgb32: return 4;
    default: return 1;
  }
}

// Bytes after each row's pixels that no operation may write.
inline constexpr uint8_t PADDING_BYTE = 0xA5;

struct TestContext {
  uint32_t width, height, rowBytes, bytesPerPixel;
  std::vector<uint8_t> color;
  std::vector<int32_t> depth;
  std::vector<uint32_t> accum;
  RukContext* context = nullptr;

  // An indexed screen takes `palette` (0x00RRGGBB entries).
  TestContext(PixelFormat format, uint32_t w, uint32_t h, Buffers buffers = Buffers::All, uint32_t padding = 0,
              std::vector<uint32_t> palette = {})
      : width(w), height(h), bytesPerPixel(bytesPerPixelOf(format)) {
    rowBytes = w * bytesPerPixel + padding;
    color.assign(size_t{rowBytes} * h + 8, PADDING_BYTE);  // 8 guard bytes after the last row
    if (buffers == Buffers::ColorDepth || buffers == Buffers::All) depth.assign(size_t{w} * h, 0x5A5A5A5A);
    if (buffers == Buffers::ColorAccum || buffers == Buffers::All) accum.assign(size_t{w} * h, 0x5A5A5A5A);

    RukDeviceDescriptor screen = screenFor(format);
    std::vector<uint8_t> red, green, blue;
    for (uint32_t entry : palette) {
      red.push_back(static_cast<uint8_t>(entry >> 16));
      green.push_back(static_cast<uint8_t>(entry >> 8));
      blue.push_back(static_cast<uint8_t>(entry));
    }
    if (format == Indexed8) {
      screen.paletteSize = static_cast<uint32_t>(palette.size());
      screen.paletteRed = red.data();
      screen.paletteGreen = green.data();
      screen.paletteBlue = blue.data();
    }
    const RukStatus status =
        createContext(nullptr, &context, &screen, w, h, color.data(), rowBytes, depth.empty() ? nullptr : depth.data(),
                      accum.empty() ? nullptr : accum.data());
    EXPECT_EQ(status, RUK_OK);
  }
  ~TestContext() { freeContext(context); }
  TestContext(const TestContext&) = delete;
  TestContext& operator=(const TestContext&) = delete;

  uint8_t* pixelAddress(uint32_t row, uint32_t col) { return color.data() + row * rowBytes + col * bytesPerPixel; }
  uint32_t pixel(uint32_t row, uint32_t col) {
    uint32_t value = 0;
    std::memcpy(&value, pixelAddress(row, col), bytesPerPixel);
    return value;
  }
  void setPixel(uint32_t row, uint32_t col, uint32_t value) {
    std::memcpy(pixelAddress(row, col), &value, bytesPerPixel);
  }
  void fillPixels(uint32_t value) {
    for (uint32_t r = 0; r < height; ++r)
      for (uint32_t c = 0; c < width; ++c) setPixel(r, c, value);
  }
  // True when every byte outside the pixels still holds PADDING_BYTE.
  bool paddingUntouched() const {
    const size_t used = size_t{width} * bytesPerPixel;
    for (size_t i = 0; i < color.size(); ++i) {
      const bool inPixels = i < size_t{rowBytes} * height && i % rowBytes < used;
      if (!inPixels && color[i] != PADDING_BYTE) return false;
    }
    return true;
  }
};
