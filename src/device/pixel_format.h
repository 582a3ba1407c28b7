// One description per pixel format: how three 8-bit intensities become a
// stored pixel and how a stored pixel reads back. The scan converters, the
// clears and the accumulation buffer all encode and decode through it, so a
// format is added or changed here alone.
//
// Direct formats are the bits and shift of each channel; the two indexed
// encodings are codecs that hold their inverse colour map. Channel
// arithmetic is written once over a lane type L: a 32-bit unsigned integer
// for one pixel, or a GCC vector of them for a block of pixels, so the
// scalar and the block forms cannot differ. Channels are cut, never rounded.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "device/color_model.h"
#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

// Three channel values, red, green and blue, of one pixel or of a block.
template <class L>
struct Channels {
  L r, g, b;
  friend constexpr bool operator==(const Channels&, const Channels&) = default;
};

// Three 8-bit intensities.
using Rgb8 = Channels<uint32_t>;

// ---- Pixel elements ---------------------------------------------------------

// A pixel of `Bytes` bytes in memory, little-endian, at any byte address,
// zero-extended to 32 bits.
template <uint32_t Bytes>
uint32_t loadPixel(const uint8_t* at) {
  static_assert(Bytes >= 1 && Bytes <= 4);
  uint32_t value = 0;
  std::memcpy(&value, at, Bytes);
  return value;
}

template <uint32_t Bytes>
void storePixel(uint8_t* at, uint32_t value) {
  static_assert(Bytes >= 1 && Bytes <= 4);
  std::memcpy(at, &value, Bytes);
}

// ---- Direct formats ---------------------------------------------------------

// Where a channel lies in a direct pixel: `bits` bits from bit `shift`.
struct ChannelField {
  uint32_t bits, shift;
};

struct DirectLayout {
  ChannelField red, green, blue;
};

// An intensity 0..255 cut to its field (or widened, for fields of more than
// 8 bits) and moved into place.
template <class L>
[[gnu::always_inline]] constexpr L fieldOf(L intensity, ChannelField field) {
  return field.bits >= 8 ? intensity << (field.bits - 8) << field.shift : intensity >> (8 - field.bits) << field.shift;
}

// A field of at most 8 bits read back as an intensity whose dropped low bits
// are zero.
template <class L>
[[gnu::always_inline]] constexpr L intensityOfField(L pixel, ChannelField field) {
  const int32_t toTop = static_cast<int32_t>(field.shift + field.bits) - 8;
  const uint32_t kept = (0xFFu << (8 - field.bits)) & 0xFFu;
  return (toTop >= 0 ? pixel >> toTop : pixel << -toTop) & kept;
}

template <class L>
[[gnu::always_inline]] constexpr L encodeDirect(const DirectLayout& layout, const Channels<L>& c) {
  return fieldOf(c.r, layout.red) | fieldOf(c.g, layout.green) | fieldOf(c.b, layout.blue);
}

// A direct format: a layout fixed at compile time and a pixel size. Bits
// outside the three fields are written 0.
template <uint32_t Bytes, DirectLayout Layout>
struct DirectFormat {
  static_assert(Layout.red.bits <= 8 && Layout.green.bits <= 8 && Layout.blue.bits <= 8);
  static constexpr uint32_t bytesPerPixel = Bytes;
  static constexpr DirectLayout layout = Layout;
  // The widest channel. The accumulation buffer reads every channel at this
  // width: a narrower channel's value is doubled to it, and halved again
  // when written back.
  static constexpr uint32_t channelBits = std::max({Layout.red.bits, Layout.green.bits, Layout.blue.bits});

  static uint32_t load(const uint8_t* at) { return loadPixel<Bytes>(at); }
  static void store(uint8_t* at, uint32_t pixel) { storePixel<Bytes>(at, pixel); }
  template <class L>
  [[gnu::always_inline]] static constexpr L encode(const Channels<L>& c) {
    return encodeDirect(Layout, c);
  }
  template <class L>
  [[gnu::always_inline]] static constexpr Channels<L> decode(L pixel) {
    return {intensityOfField(pixel, Layout.red), intensityOfField(pixel, Layout.green),
            intensityOfField(pixel, Layout.blue)};
  }
};

// Red in the highest field and blue in the lowest, whatever masks the colour
// model names: the framebuffer only ever yields these layouts.
using Rgb32Format = DirectFormat<4, DirectLayout{{8, 16}, {8, 8}, {8, 0}}>;
using Rgb24Format = DirectFormat<3, DirectLayout{{8, 16}, {8, 8}, {8, 0}}>;  // bytes blue, green, red
using Rgb16Format = DirectFormat<2, DirectLayout{{5, 11}, {6, 5}, {5, 0}}>;
using Rgb555Format = DirectFormat<2, DirectLayout{{5, 10}, {5, 5}, {5, 0}}>;

// The layout a colour model's masks describe.
constexpr DirectLayout layoutOf(const RukColorModel& model) {
  return {{model.redBits, model.redShift}, {model.greenBits, model.greenShift}, {model.blueBits, model.blueShift}};
}

// ---- Indexed formats --------------------------------------------------------

// An indexed pixel is its palette index, one byte. Blending into an indexed
// buffer treats the stored index itself as the intensity of all three
// channels.
template <class L>
constexpr Channels<L> decodeIndex(L pixel) {
  return {pixel, pixel, pixel};
}

// Indexed8 without dither: the nearest palette colour, looked up in the
// 4,096-entry inverse map by the top four bits of each channel, red lowest.
struct IndexedNearestCodec {
  const uint8_t* map12;

  static constexpr uint32_t bytesPerPixel = 1;
  static uint32_t load(const uint8_t* at) { return loadPixel<1>(at); }
  static void store(uint8_t* at, uint32_t index) { storePixel<1>(at, index); }

  template <class L>
  static constexpr L mapIndex(const Channels<L>& c) {
    return (c.r >> 4) | (c.g & 0xF0u) | ((c.b & 0xF0u) << 4);
  }
  uint32_t encode(const Rgb8& c) const { return map12[mapIndex(c)]; }
  template <class L>
  static constexpr Channels<L> decode(L pixel) {
    return decodeIndex(pixel);
  }
};

// Ordered dither thresholds, row-major, indexed by (row & 3) * 4 + (k & 3)
// where k is the pixel's byte offset in the colour buffer.
inline constexpr std::array<uint8_t, 16> DitherMatrix = {0, 60, 15, 75, 40, 20, 55, 35, 10, 70, 5, 65, 50, 30, 45, 25};

// Indexed8 with the ordered dither: each channel to one of four levels, the
// level of its intensity c (c div 85) raised by one where c mod 85 exceeds
// the pixel's threshold, looked up in the 64-entry inverse map.
struct IndexedDitheredCodec {
  const uint8_t* map6;

  static constexpr uint32_t bytesPerPixel = 1;
  static uint32_t load(const uint8_t* at) { return loadPixel<1>(at); }
  static void store(uint8_t* at, uint32_t index) { storePixel<1>(at, index); }

  // The threshold of the pixel at `row` whose byte offset in the colour
  // buffer is `offset`.
  static constexpr uint32_t threshold(uint32_t row, uint32_t offset) {
    return DitherMatrix[(row & 3) * 4 + (offset & 3)];
  }
  // c div 85 + (c mod 85 > t) equals (c + 84 - t) div 85 for thresholds t of
  // 0..84, and x div 85 equals (3 x + 3) >> 8 for every x up to 339, so the
  // level is (3 c + 255 - 3 t) >> 8: no division, no table.
  template <class L>
  static constexpr L level(L threshold, L c) {
    return (c * 3u + (255u - threshold * 3u)) >> 8;
  }
  template <class L>
  static constexpr L mapIndex(L threshold, const Channels<L>& c) {
    return level(threshold, c.r) + (level(threshold, c.g) << 2) + (level(threshold, c.b) << 4);
  }
  uint32_t encode(uint32_t threshold, const Rgb8& c) const { return map6[mapIndex(threshold, c)]; }
  template <class L>
  static constexpr Channels<L> decode(L pixel) {
    return decodeIndex(pixel);
  }
};

// ---- Sizes ------------------------------------------------------------------

// Bytes per pixel of a format, 0 for values that name none (the reserved
// format 1 is never produced).
constexpr uint32_t pixelFormatBytes(uint32_t format) {
  switch (format) {
    case Indexed8: return IndexedNearestCodec::bytesPerPixel;
    case Rgb555: return Rgb555Format::bytesPerPixel;
    case Rgb16: return Rgb16Format::bytesPerPixel;
    case Rgb24: return Rgb24Format::bytesPerPixel;
    case Rgb32: return Rgb32Format::bytesPerPixel;
    default: return 0;
  }
}

// Calls visit(format description) for a direct format; false for the others.
template <class Visit>
bool visitDirectFormat(uint32_t format, Visit&& visit) {
  switch (format) {
    case Rgb555: visit(Rgb555Format{}); return true;
    case Rgb16: visit(Rgb16Format{}); return true;
    case Rgb24: visit(Rgb24Format{}); return true;
    case Rgb32: visit(Rgb32Format{}); return true;
    default: return false;
  }
}

}  // namespace KELRUK_ISA
