// Plain buffers for calling scan converters directly, and the narrow record
// that points the routines at them: colour rows padded past the pixels (the
// padding must stay untouched), a depth buffer, inverse colour maps, an
// optional texture and a fog colour, and the product table.
#pragma once
#include <cstdint>
#include <vector>

#include "device/color_model.h"
#include "device/product_table.h"
#include "raster/raster.h"

// productTable8 by its definition, (a x b + 128) / 255.
inline void fillProductTable() {
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t b = 0; b < 256; ++b) productTable8[a * 256 + b] = static_cast<uint8_t>((a * b + 128) / 255);
  }
}

inline uint32_t bytesPerPixelOf(uint32_t format) {
  switch (format) {
    case Rgb555:
    case Rgb16: return 2;
    case Rgb24: return 3;
    case Rgb32: return 4;
    default: return 1;
  }
}

inline constexpr uint8_t PADDING_BYTE = 0xA5;

struct RasterCanvas {
  uint32_t format, width, height, bytesPerPixel, rowBytes;
  std::vector<uint8_t> color;
  std::vector<int32_t> depth;
  std::vector<uint8_t> map12 = std::vector<uint8_t>(4096);
  std::vector<uint8_t> map6 = std::vector<uint8_t>(64);
  std::vector<uint32_t> texels;
  uint32_t log2Width = 0, log2Height = 0;
  uint32_t fog[3] = {0, 0, 0};  // red, green, blue
  RasterTarget record{};

  // rowPadding extra bytes follow each row's pixels.
  RasterCanvas(uint32_t pixelFormat, uint32_t w, uint32_t h, uint32_t rowPadding = 6)
      : format(pixelFormat), width(w), height(h), bytesPerPixel(bytesPerPixelOf(pixelFormat)) {
    fillProductTable();
    rowBytes = width * bytesPerPixel + rowPadding;
    color.assign(static_cast<size_t>(rowBytes) * height, PADDING_BYTE);
    depth.assign(static_cast<size_t>(width) * height, 0x7FFFFFFF);
    // Map entries that depend on every bit of the index, so that a wrong
    // level of any channel shows: map12[i] = (157 i + 71 (i >> 8)) ^ 0x5A
    // (low byte), map6[i] = 100 + i.
    for (uint32_t i = 0; i < 4096; ++i) map12[i] = static_cast<uint8_t>((i * 157u + (i >> 8) * 71u) ^ 0x5A);
    for (uint32_t i = 0; i < 64; ++i) map6[i] = static_cast<uint8_t>(100 + i);
  }

  // The record the routines draw through, pointing at the current buffers.
  const RasterTarget* target() {
    record = RasterTarget{color.data(), rowBytes,   width,
                          depth.data(), width,      fog[0],
                          fog[1],       fog[2],     texels.empty() ? nullptr : texels.data(),
                          log2Width,    log2Height, map12.data(),
                          map6.data()};
    return &record;
  }

  void setTexture(uint32_t log2W, uint32_t log2H, std::vector<uint32_t> words) {
    texels = std::move(words);
    log2Width = log2W;
    log2Height = log2H;
  }
  void setFog(uint32_t red, uint32_t green, uint32_t blue) {
    fog[0] = red;
    fog[1] = green;
    fog[2] = blue;
  }

  uint8_t* pixelAddress(uint32_t row, uint32_t column) {
    return color.data() + static_cast<size_t>(row) * rowBytes + column * bytesPerPixel;
  }
  // The stored pixel as a little-endian number of bytesPerPixel bytes.
  uint32_t pixel(uint32_t row, uint32_t column) {
    const uint8_t* at = pixelAddress(row, column);
    uint32_t value = 0;
    for (uint32_t i = 0; i < bytesPerPixel; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
  }
  void setPixel(uint32_t row, uint32_t column, uint32_t value) {
    uint8_t* at = pixelAddress(row, column);
    for (uint32_t i = 0; i < bytesPerPixel; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
  }
  int32_t& depthAt(uint32_t row, uint32_t column) { return depth[static_cast<size_t>(row) * width + column]; }

  // Fills every pixel (not the padding) with one value.
  void fillPixels(uint32_t value) {
    for (uint32_t row = 0; row < height; ++row) {
      for (uint32_t column = 0; column < width; ++column) setPixel(row, column, value);
    }
  }
  bool paddingUntouched() const {
    const uint32_t used = width * bytesPerPixel;
    for (uint32_t row = 0; row < height; ++row) {
      for (uint32_t i = used; i < rowBytes; ++i) {
        if (color[static_cast<size_t>(row) * rowBytes + i] != PADDING_BYTE) return false;
      }
    }
    return true;
  }
};

// A vertex with the given position and every other field zero.
inline RasterVertex vertexAt(double x, double y) {
  RasterVertex v{};
  v.x = static_cast<int32_t>(x * 65536.0);
  v.y = static_cast<int32_t>(y * 65536.0);
  return v;
}

inline int32_t fixed16(double value) { return static_cast<int32_t>(value * 65536.0); }
