// Contexts for the context tests, created the way framebuffer creation does.
#pragma once
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "context/context.h"

inline uint32_t bitsOf(float value) { return std::bit_cast<uint32_t>(value); }
inline float floatFrom(uint32_t bits) { return std::bit_cast<float>(bits); }

inline RukDeviceDescriptor rgb32Screen() { return {32, 0, nullptr, nullptr, nullptr, 0xFF0000, 0x00FF00, 0x0000FF}; }
inline RukDeviceDescriptor rgb24Screen() { return {24, 0, nullptr, nullptr, nullptr, 0xFF0000, 0x00FF00, 0x0000FF}; }
inline RukDeviceDescriptor rgb565Screen() { return {16, 0, nullptr, nullptr, nullptr, 0xF800, 0x07E0, 0x001F}; }

// A context over a buffer it owns; freed with the fixture.
struct TestContext {
  std::vector<uint8_t> pixels;
  RukContext* context = nullptr;

  TestContext(const RukDeviceDescriptor& screen, uint32_t width, uint32_t height, uint32_t rowBytes = 0,
              int32_t* depth = nullptr, uint32_t* accum = nullptr)
      : pixels(size_t{height} * (rowBytes != 0 ? rowBytes : width * 4)) {
    EXPECT_EQ(createContext(nullptr, &context, &screen, width, height, pixels.data(), rowBytes, depth, accum), RUK_OK);
  }
  ~TestContext() { freeContext(context); }
  TestContext(const TestContext&) = delete;
  TestContext& operator=(const TestContext&) = delete;
  RukContext* operator->() const { return context; }
};
