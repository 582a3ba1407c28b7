// Pixel encodings of the formats that have scan converters, and the ordered
// dither of indexed colour.
//
// Every scan converter ends a pixel the same way: three intensities (8-bit, or
// the 8.16 values of a RasterVertex) become one stored pixel; blending routines
// also read a stored pixel back into three intensities. The direct formats
// hard-code red in the highest field and blue in the lowest. Channels are cut,
// never rounded.
//
// Byte forms take intensities 0..255. The 8.16 forms take values whose integer
// part is already 0..255 (the caller clamps drifted values with
// clampIntensity816 first) and give exactly what the byte forms give for
// r = c0 >> 16 and so on.
#pragma once
#include <array>
#include <cstdint>
#include <cstring>

// An interpolated 8.16 quantity whose integer part drifted outside 0..255 at a
// primitive's rim, clamped back: the result's integer part is 0..255.
constexpr int32_t clampIntensity816(int32_t value) {
  return value < 0 ? 0 : (value > 0xFFFFFF ? 0xFFFFFF : value);
}

// The clamped integer part of an 8.16 quantity: the intensity 0..255.
constexpr uint32_t intensityOf816(int32_t value) {
  const int32_t whole = value >> 16;
  return static_cast<uint32_t>(whole < 0 ? 0 : (whole > 255 ? 255 : whole));
}

// (a x b + 128) / 255, the entry of productTable8, without a division: with
// t = a b + 128, (t + (t >> 8) + 1) >> 8 gives the same for every pair of
// intensities. The eight-pixel spans multiply this way.
constexpr uint32_t roundedProduct255(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return (t + (t >> 8) + 1) >> 8;
}

struct Rgb8 {
  uint32_t r, g, b;
  friend constexpr bool operator==(const Rgb8&, const Rgb8&) = default;
};

// ---- Direct formats --------------------------------------------------------

// Rgb32: u32 0x00RRGGBB, bits 24-31 written 0.
struct Rgb32Encoding {
  using Element = uint32_t;
  static constexpr uint32_t bytesPerPixel = 4;
  static constexpr uint32_t fromBytes(uint32_t r, uint32_t g, uint32_t b) {
    return (r << 16) | (g << 8) | b;
  }
  static constexpr uint32_t from816(int32_t c0, int32_t c1, int32_t c2) {
    return (static_cast<uint32_t>(c0) & 0xFF0000) | ((static_cast<uint32_t>(c1) & 0xFF0000) >> 8) |
           (static_cast<uint32_t>(c2) >> 16);
  }
  static constexpr Rgb8 readBack(uint32_t p) { return {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}; }
  static void write(uint8_t* at, uint32_t value) { std::memcpy(at, &value, 4); }
  static uint32_t read(const uint8_t* at) {
    uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
  }
};

// Rgb24: three bytes per pixel, blue, green, red in memory (red highest).
struct Rgb24Encoding {
  using Element = uint32_t;  // 0xRRGGBB while in a register
  static constexpr uint32_t bytesPerPixel = 3;
  static constexpr uint32_t fromBytes(uint32_t r, uint32_t g, uint32_t b) {
    return Rgb32Encoding::fromBytes(r, g, b);
  }
  static constexpr uint32_t from816(int32_t c0, int32_t c1, int32_t c2) {
    return Rgb32Encoding::from816(c0, c1, c2);
  }
  static constexpr Rgb8 readBack(uint32_t p) { return Rgb32Encoding::readBack(p); }
  static void write(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
  }
  static uint32_t read(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16);
  }
};

// Rgb16: u16 5-6-5, red in bits 11-15.
struct Rgb16Encoding {
  using Element = uint16_t;
  static constexpr uint32_t bytesPerPixel = 2;
  static constexpr uint32_t fromBytes(uint32_t r, uint32_t g, uint32_t b) {
    return ((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3);
  }
  static constexpr uint32_t from816(int32_t c0, int32_t c1, int32_t c2) {
    return ((static_cast<uint32_t>(c0) >> 8) & 0xF800) | ((static_cast<uint32_t>(c1) & 0xFC0000) >> 13) |
           (static_cast<uint32_t>(c2) >> 19);
  }
  static constexpr Rgb8 readBack(uint32_t p) { return {(p >> 8) & 0xF8, (p >> 3) & 0xFC, (p << 3) & 0xF8}; }
  static void write(uint8_t* at, uint32_t value) {
    const uint16_t element = static_cast<uint16_t>(value);
    std::memcpy(at, &element, 2);
  }
  static uint32_t read(const uint8_t* at) {
    uint16_t element;
    std::memcpy(&element, at, 2);
    return element;
  }
};

// Rgb555: u16 5-5-5, red in bits 10-14, bit 15 written 0.
struct Rgb555Encoding {
  using Element = uint16_t;
  static constexpr uint32_t bytesPerPixel = 2;
  static constexpr uint32_t fromBytes(uint32_t r, uint32_t g, uint32_t b) {
    return ((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3);
  }
  static constexpr uint32_t from816(int32_t c0, int32_t c1, int32_t c2) {
    return ((static_cast<uint32_t>(c0) & 0xF80000) >> 9) | ((static_cast<uint32_t>(c1) & 0xF80000) >> 14) |
           (static_cast<uint32_t>(c2) >> 19);
  }
  static constexpr Rgb8 readBack(uint32_t p) {
    return {(p & 0x7C00) >> 7, (p & 0x03E0) >> 2, (p << 3) & 0xF8};
  }
  static void write(uint8_t* at, uint32_t value) { Rgb16Encoding::write(at, value); }
  static uint32_t read(const uint8_t* at) { return Rgb16Encoding::read(at); }
};

// ---- Indexed colour --------------------------------------------------------

// The 12-bit index of inverseColorMap12 (4-bit levels, red lowest) for the
// nearest palette colour of three intensities.
constexpr uint32_t nearestIndex12(uint32_t r, uint32_t g, uint32_t b) {
  return (r >> 4) | ((g >> 4) << 4) | ((b >> 4) << 8);
}
constexpr uint32_t nearestIndex12From816(int32_t c0, int32_t c1, int32_t c2) {
  return ((static_cast<uint32_t>(c0) & 0xF00000) >> 20) | ((static_cast<uint32_t>(c1) & 0xF00000) >> 16) |
         ((static_cast<uint32_t>(c2) & 0xF00000) >> 12);
}

// Blending into an indexed buffer treats the stored palette index itself as
// the destination intensity of all three channels.
constexpr Rgb8 indexedReadBack(uint32_t p) { return {p, p, p}; }

// Ordered dither thresholds, row-major, indexed by (row & 3) * 4 + (k & 3)
// where k is the pixel's byte offset in the colour buffer.
inline constexpr std::array<uint8_t, 16> DitherMatrix = {0,  60, 15, 75, 40, 20, 55, 35,
                                                         10, 70, 5,  65, 50, 30, 45, 25};

namespace dither_detail {
template <uint32_t Divisor, uint32_t Scale, bool Remainder>
constexpr std::array<uint8_t, 256> byIntensity() {
  std::array<uint8_t, 256> table{};
  for (uint32_t c = 0; c < 256; ++c) {
    table[c] = static_cast<uint8_t>(Remainder ? c % Divisor : (c / Divisor) * Scale);
  }
  return table;
}
}  // namespace dither_detail

// Intensity c: level c div 85 (0..3) and remainder c mod 85 (0..84); the level
// again pre-multiplied by its channel's place in the 6-bit map index.
inline constexpr std::array<uint8_t, 256> levelTable = dither_detail::byIntensity<85, 1, false>();
inline constexpr std::array<uint8_t, 256> remainderTable = dither_detail::byIntensity<85, 1, true>();
inline constexpr std::array<uint8_t, 256> levelRedTable = dither_detail::byIntensity<85, 1, false>();
inline constexpr std::array<uint8_t, 256> levelGreenTable = dither_detail::byIntensity<85, 4, false>();
inline constexpr std::array<uint8_t, 256> levelBlueTable = dither_detail::byIntensity<85, 16, false>();

// 1 when the intensity's remainder exceeds the threshold: bit 8 of the 32-bit
// two's-complement difference (threshold - remainder); both are below 256.
constexpr uint32_t ditherCarry(uint32_t threshold, uint32_t intensity) {
  return ((threshold - remainderTable[intensity]) >> 8) & 1;
}

// The inverseColorMap6 index of three intensities dithered at one threshold.
constexpr uint32_t ditherIndex6(uint32_t threshold, uint32_t r, uint32_t g, uint32_t b) {
  return levelRedTable[r] + levelGreenTable[g] + levelBlueTable[b] + ditherCarry(threshold, r) +
         (ditherCarry(threshold, g) << 2) + (ditherCarry(threshold, b) << 4);
}

// The dither threshold of a pixel at `row` whose byte offset in the colour
// buffer is `offset`.
constexpr uint32_t ditherThreshold(uint32_t row, uint32_t offset) {
  return DitherMatrix[(row & 3) * 4 + (offset & 3)];
}
