// Where the scan converters write their pixels: one target per routine
// table, made from a format's description (device/pixel_format.h) and the
// raster's record. Triangles, lines and points of a format share it.
//
// A target encodes three intensities and writes the pixel at an address, or
// reads a stored pixel back as intensities for blending (lines and points).
// Bound to a colour-buffer row, it stores and loads by column (triangles),
// and it also encodes and decodes a block of pixels at a time, one per lane
// of the instruction set (encodeBlock, decodeBlock; blocks are moved with
// loadPixelLanes and storePixelLanes of bytesPerPixel), with results
// identical pixel for pixel; a narrower block of 4 or 8 lanes serves short
// spans. A target may also encode a block from its colour as sixteen-bit
// pairs (encodePairs) and read one back as pairs (decodePairs), where that
// is shorter than through three channels. An encoding that depends on the column
// (the dither) says so with encodingVariesByColumn.
#pragma once
#include <array>
#include <cstdint>
#include <utility>

#include "device/pixel_format.h"
#include "raster/lanes.h"
#include "raster/raster_target.h"

inline namespace KELRUK_ISA {

// A block of pixels: one per lane.
using Block = LaneU32<nativeLanes>;
inline constexpr uint32_t blockPixels = nativeLanes;

template <class Format>
struct DirectTarget {
  static constexpr uint32_t bytesPerPixel = Format::bytesPerPixel;
  static constexpr bool encodingVariesByColumn = false;

  uint8_t* row = nullptr;

  explicit DirectTarget(const RasterTarget&) {}

  uint32_t encode(const Rgb8& c) const { return Format::encode(c); }
  static void write(uint8_t* at, uint32_t pixel) { Format::store(at, pixel); }
  static Rgb8 read(const uint8_t* at) { return Format::decode(Format::load(at)); }

  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, const Rgb8& c) const {
    write(row + static_cast<uint32_t>(column) * bytesPerPixel, encode(c));
  }
  Rgb8 load(int32_t column) const { return read(row + static_cast<uint32_t>(column) * bytesPerPixel); }

  template <class B>
  static B encodeBlock(const Channels<B>& c, int32_t) {
    return Format::encode(c);
  }
  template <class B>
  static Channels<B> decodeBlock(B pixels) {
    return Format::decode(pixels);
  }

  // Formats of 8-bit channels, red at bit 16 and blue at bit 0, build their
  // pixels straight from the colour pairs (red with green, then blue first):
  // blue | green << 8 beside red.
  static constexpr bool bytesRedGreenBlue = Format::layout.red.bits == 8 && Format::layout.red.shift == 16 &&
                                            Format::layout.green.bits == 8 && Format::layout.green.shift == 8 &&
                                            Format::layout.blue.bits == 8 && Format::layout.blue.shift == 0;
  template <class B>
  requires bytesRedGreenBlue static B encodePairs(PairLanes<B> redGreen, PairLanes<B> blue, int32_t) {
    return unpackPair<B, false>(blue | (secondOfPairTwice(redGreen) << 8), redGreen);
  }
  // Stored pixels back as red with green and blue with itself.
  template <class B>
  requires bytesRedGreenBlue static std::pair<PairLanes<B>, PairLanes<B>> decodePairs(B pixels) {
    return {bytePair<B, 2, 1>(pixels), bytePair<B, 0, 0>(pixels)};
  }
};

using Rgb32Target = DirectTarget<Rgb32Format>;
using Rgb24Target = DirectTarget<Rgb24Format>;
using Rgb16Target = DirectTarget<Rgb16Format>;
using Rgb555Target = DirectTarget<Rgb555Format>;

// Indexed8 without dither: the nearest palette colour through inverseColorMap12.
struct IndexedNearestTarget {
  using Codec = IndexedNearestCodec;
  static constexpr uint32_t bytesPerPixel = Codec::bytesPerPixel;
  static constexpr bool encodingVariesByColumn = false;

  Codec codec;
  uint8_t* row = nullptr;

  explicit IndexedNearestTarget(const RasterTarget& target) : codec{target.inverseColorMap12} {}

  uint32_t encode(const Rgb8& c) const { return codec.encode(c); }
  static void write(uint8_t* at, uint32_t pixel) { Codec::store(at, pixel); }
  static Rgb8 read(const uint8_t* at) { return Codec::decode(Codec::load(at)); }

  void beginRow(uint32_t, uint8_t* rowStart) { row = rowStart; }
  void store(int32_t column, const Rgb8& c) const { write(row + column, encode(c)); }
  Rgb8 load(int32_t column) const { return read(row + column); }

  template <class B>
  B encodeBlock(const Channels<B>& c, int32_t) const {
    return tableByteLanes(codec.map12, Codec::mapIndex(c));
  }
  template <class B>
  static Channels<B> decodeBlock(B pixels) {
    return Codec::decode(pixels);
  }
};

// Indexed8 with the ordered dither through inverseColorMap6. The threshold
// comes from the row and from the pixel's byte offset in the colour buffer,
// so this target draws bound to a row only.
struct IndexedDitheredTarget {
  using Codec = IndexedDitheredCodec;
  static constexpr uint32_t bytesPerPixel = Codec::bytesPerPixel;
  static constexpr bool encodingVariesByColumn = true;

  Codec codec;
  uint32_t rowBytes;
  uint8_t* row = nullptr;
  uint32_t rowIndex = 0;
  uint32_t rowOffset = 0;  // byte offset of the row's first pixel

  // The thresholds of a block by the row (0..3) and the phase of its first
  // pixel's byte offset (0..3): lane k takes the threshold of phase + k.
  static constexpr std::array<Block, 16> blockThresholds =
      []<uint32_t... Key>(std::integer_sequence<uint32_t, Key...>) {
    const auto block = []<uint32_t... K>(uint32_t row, uint32_t phase, std::integer_sequence<uint32_t, K...>) {
      return Block{Codec::threshold(row, phase + K)...};
    };
    return std::array<Block, 16>{block(Key / 4, Key % 4, std::make_integer_sequence<uint32_t, blockPixels>{})...};
  }
  (std::make_integer_sequence<uint32_t, 16>{});

  explicit IndexedDitheredTarget(const RasterTarget& target)
      : codec{target.inverseColorMap6}, rowBytes(target.rowBytes) {}

  void beginRow(uint32_t index, uint8_t* rowStart) {
    row = rowStart;
    rowIndex = index;
    rowOffset = index * rowBytes;
  }
  void store(int32_t column, const Rgb8& c) const {
    Codec::store(row + column, codec.encode(Codec::threshold(rowIndex, rowOffset + static_cast<uint32_t>(column)), c));
  }
  Rgb8 load(int32_t column) const { return Codec::decode(Codec::load(row + column)); }

  template <class B>
  B encodeBlock(const Channels<B>& c, int32_t column) const {
    const B thresholds =
        lowLanes<B>(blockThresholds[(rowIndex & 3) * 4 + ((rowOffset + static_cast<uint32_t>(column)) & 3)]);
    return tableByteLanes(codec.map6, Codec::mapIndex(thresholds, c));
  }
  template <class B>
  static Channels<B> decodeBlock(B pixels) {
    return Codec::decode(pixels);
  }
};

}  // namespace KELRUK_ISA
