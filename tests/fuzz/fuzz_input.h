// How a fuzz input's bytes become the values of a program: each reader takes
// one byte that names a common value or, through an escape, the raw bits
// that follow. An exhausted input reads as zeros, so every input is a
// complete program. The writer is the reader's inverse, for the seeds.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace fuzz {

// Integers a byte at or above SMALL_LIMIT names (0xFF: four raw bytes follow).
inline constexpr uint32_t SMALL_LIMIT = 0xF0;
inline constexpr int32_t SPECIAL_INTEGERS[15] = {-1,
                                                 -2,
                                                 -100,
                                                 std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max(),
                                                 256,
                                                 257,
                                                 1000,
                                                 4096,
                                                 65535,
                                                 65536,
                                                 0x40000000,
                                                 -65536,
                                                 -2054847097,
                                                 0x7FFFFFFE};

// Counts: small ones, the batch, queue and cache boundaries, and negatives
// (0xFF: two raw bytes follow, a count up to 65535).
inline constexpr int32_t SPECIAL_COUNTS[15] = {
    -1, -2, std::numeric_limits<int32_t>::min(), 127, 128, 129, 255, 256, 257, 1023, 1024, 1025, 2000, 4096, 300};

// Floats a byte at or above 0xE0 names (0xFF: four raw bytes follow); below
// that, b / 8 for b < 0x80 and -(b - 0x7F) / 8 up to 0xDF.
inline const float SPECIAL_FLOATS[31] = {-0.0f,
                                         std::numeric_limits<float>::quiet_NaN(),
                                         -std::numeric_limits<float>::quiet_NaN(),
                                         std::numeric_limits<float>::infinity(),
                                         -std::numeric_limits<float>::infinity(),
                                         std::numeric_limits<float>::max(),
                                         -std::numeric_limits<float>::max(),
                                         std::numeric_limits<float>::min(),
                                         std::numeric_limits<float>::denorm_min(),
                                         1e-30f,
                                         1e30f,
                                         -1e30f,
                                         1e6f,
                                         1e15f,
                                         1e16f,
                                         2147483648.0f,
                                         -2147483648.0f,
                                         65536.0f,
                                         0.7853982f,
                                         3.1415927f,
                                         std::bit_cast<float>(0x40490FDAu),
                                         6.2831855f,
                                         1000.0f,
                                         0.001f,
                                         0.1f,
                                         0.33333334f,
                                         100.0f,
                                         -100.0f,
                                         1e38f,
                                         4e9f,
                                         0.70710677f};

// Channel masks a byte below 0xF0 names by index (modulo the table).
inline constexpr uint32_t COMMON_MASKS[16] = {0,          0xFF,       0xFF00,     0xFF0000,  0xFF000000, 0x1F,
                                              0x3E0,      0x7C00,     0x7E0,      0xF800,    0x3FF00000, 0xF0F0,
                                              0x80000000, 0xFFFFFFFF, 0x000003FF, 0x000FFC00};

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool done() const { return at_ >= bytes_.size(); }
  uint8_t byte() { return done() ? 0 : bytes_[at_++]; }
  uint32_t word() {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w |= uint32_t{byte()} << (8 * i);
    return w;
  }
  uint32_t choice(uint32_t n) { return byte() % n; }
  bool flag() { return (byte() & 1) != 0; }

  int32_t integer() {
    const uint8_t b = byte();
    if (b < SMALL_LIMIT) return b;
    if (b == 0xFF) return static_cast<int32_t>(word());
    return SPECIAL_INTEGERS[b - SMALL_LIMIT];
  }
  int32_t count() {
    const uint8_t b = byte();
    if (b < SMALL_LIMIT) return b;
    if (b == 0xFF) return byte() | byte() << 8;
    return SPECIAL_COUNTS[b - SMALL_LIMIT];
  }
  float real() {
    const uint8_t b = byte();
    if (b < 0x80) return static_cast<float>(b) / 8.0f;
    if (b < 0xE0) return -static_cast<float>(b - 0x7F) / 8.0f;
    if (b == 0xFF) return std::bit_cast<float>(word());
    return SPECIAL_FLOATS[b - 0xE0];
  }
  uint32_t mask() {
    const uint8_t b = byte();
    return b < SMALL_LIMIT ? COMMON_MASKS[b % 16] : word();
  }
  // A colour: two bits per channel (0, 85, 170, 255) and alpha from the top
  // two bits (255, 128, 0, 64); 0xF8 and above give four raw bytes.
  uint32_t colour() {
    const uint8_t b = byte();
    if (b >= 0xF8) return word();
    constexpr uint32_t ALPHA[4] = {0xFF, 0x80, 0x00, 0x40};
    return ALPHA[b >> 6] << 24 | ((b >> 4) & 3) * 85u << 16 | ((b >> 2) & 3) * 85u << 8 | (b & 3) * 85u;
  }

 private:
  std::span<const uint8_t> bytes_;
  std::size_t at_ = 0;
};

// Builds inputs value by value, choosing the shortest encoding. `Self` is
// the class that extends it, so that calls chain through its own methods.
template <class Self>
class BasicWriter {
 public:
  Self& byte(uint8_t b) {
    bytes_.push_back(b);
    return static_cast<Self&>(*this);
  }
  Self& word(uint32_t w) {
    for (int i = 0; i < 4; ++i) byte(static_cast<uint8_t>(w >> (8 * i)));
    return static_cast<Self&>(*this);
  }
  Self& flag(bool f) { return byte(f ? 1 : 0); }
  Self& integer(int32_t v) {
    if (v >= 0 && v < static_cast<int32_t>(SMALL_LIMIT)) return byte(static_cast<uint8_t>(v));
    for (uint32_t i = 0; i < 15; ++i) {
      if (SPECIAL_INTEGERS[i] == v) return byte(static_cast<uint8_t>(SMALL_LIMIT + i));
    }
    return byte(0xFF).word(static_cast<uint32_t>(v));
  }
  Self& count(int32_t v) {
    if (v >= 0 && v < static_cast<int32_t>(SMALL_LIMIT)) return byte(static_cast<uint8_t>(v));
    for (uint32_t i = 0; i < 15; ++i) {
      if (SPECIAL_COUNTS[i] == v) return byte(static_cast<uint8_t>(SMALL_LIMIT + i));
    }
    return byte(0xFF).byte(static_cast<uint8_t>(v)).byte(static_cast<uint8_t>(v >> 8));
  }
  Self& real(float v) {
    const float eighths = v * 8.0f;
    if (std::bit_cast<uint32_t>(v) != 0x80000000u && eighths == std::floor(eighths)) {
      if (eighths >= 0 && eighths < 128) return byte(static_cast<uint8_t>(eighths));
      if (eighths <= -1 && eighths >= -96) return byte(static_cast<uint8_t>(0x7F - eighths));
    }
    for (uint32_t i = 0; i < 31; ++i) {
      if (std::bit_cast<uint32_t>(SPECIAL_FLOATS[i]) == std::bit_cast<uint32_t>(v)) {
        return byte(static_cast<uint8_t>(0xE0 + i));
      }
    }
    return byte(0xFF).word(std::bit_cast<uint32_t>(v));
  }
  Self& mask(uint32_t m) {
    for (uint32_t i = 0; i < 16; ++i) {
      if (COMMON_MASKS[i] == m) return byte(static_cast<uint8_t>(i));
    }
    return byte(0xF0).word(m);
  }
  // Colours with every channel in {0, 85, 170, 255} and alpha in {255, 128,
  // 0, 64} take one byte.
  Self& colour(uint32_t c) {
    constexpr uint32_t ALPHA[4] = {0xFF, 0x80, 0x00, 0x40};
    for (uint32_t b = 0; b < 0xF8; ++b) {
      const uint32_t decoded =
          ALPHA[b >> 6] << 24 | ((b >> 4) & 3) * 85u << 16 | ((b >> 2) & 3) * 85u << 8 | (b & 3) * 85u;
      if (decoded == c) return byte(static_cast<uint8_t>(b));
    }
    return byte(0xF8).word(c);
  }

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

struct Writer : BasicWriter<Writer> {};

}  // namespace fuzz
