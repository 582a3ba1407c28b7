// The accumulation buffer operations: adding a scaled image, loading one,
// writing the scaled sum back, and scaling the sum. Each call builds one small
// conversion table and then converts every pixel by lookup, shifts and masks.
#include <cmath>

#include "device/buffer_ops.h"
#include "device/pixel_format.h"

namespace {

// An accumulation word: three 10-bit fields, red highest.
constexpr uint32_t ACCUM_FIELD_BITS = 10;
constexpr uint32_t ACCUM_FIELD_MASK = 0x3FF;
constexpr uint32_t ACCUM_TABLE_SIZE = 1u << ACCUM_FIELD_BITS;

inline uint32_t accumWord(const int32_t* table, const Rgb8& c) {
  return static_cast<uint32_t>(table[c.r]) << 20 | static_cast<uint32_t>(table[c.g]) << 10 |
         static_cast<uint32_t>(table[c.b]);
}

inline Rgb8 accumFields(uint32_t word) {
  return {word >> 20 & ACCUM_FIELD_MASK, word >> 10 & ACCUM_FIELD_MASK, word & ACCUM_FIELD_MASK};
}

// A pixel's channels as the accumulation operations read them: each at the
// width of the format's widest channel (a 5-bit channel of 5-6-5 counts
// double), and the pixel rebuilt from values of that width.
template <class Format>
Rgb8 accumChannels(const uint8_t* at) {
  constexpr uint32_t drop = 8 - Format::channelBits;
  const Rgb8 c = Format::decode(Format::load(at));
  return {c.r >> drop, c.g >> drop, c.b >> drop};
}

template <class Format>
void storeAccumChannels(uint8_t* at, const Rgb8& c) {
  constexpr uint32_t raise = 8 - Format::channelBits;
  Format::store(at, Format::encode(Rgb8{c.r << raise, c.g << raise, c.b << raise}));
}

// Calls visit(pixel address, accumulation word) for every pixel, walking the
// colour buffer by its row stride and the accumulation buffer by `width`.
template <class Format, class Visit>
void forEachPixel(const BufferSet& buffers, Visit visit) {
  uint32_t* accum = buffers.accumBuffer;
  for (uint32_t row = 0; row < buffers.height; ++row) {
    uint8_t* pixel = colorRow(buffers, row);
    for (uint32_t col = 0; col < buffers.width; ++col, pixel += Format::bytesPerPixel, ++accum) visit(pixel, *accum);
  }
}

void multiplyAccumulation(const BufferSet& buffers, float s) {
  int32_t table[ACCUM_TABLE_SIZE];
  buildScaleTable(table, ACCUM_FIELD_BITS, ACCUM_FIELD_BITS, s);
  uint32_t* accum = buffers.accumBuffer;
  const size_t count = pixelCount(buffers);
  for (size_t i = 0; i < count; ++i) accum[i] = accumWord(table, accumFields(accum[i]));
}

template <class Format>
void accumulatePixels(const BufferSet& buffers, uint32_t operation, float s) {
  constexpr uint32_t pixelBits = Format::channelBits;
  int32_t table[ACCUM_TABLE_SIZE];
  switch (operation) {
    case ACCUM_ADD:
      buildScaleTable(table, pixelBits, ACCUM_FIELD_BITS, s);
      // One 32-bit addition: a field that passes 1023 carries into the next.
      forEachPixel<Format>(buffers, [&](uint8_t* p, uint32_t& a) { a += accumWord(table, accumChannels<Format>(p)); });
      break;
    case ACCUM_LOAD:
      buildScaleTable(table, pixelBits, ACCUM_FIELD_BITS, s);
      forEachPixel<Format>(buffers, [&](uint8_t* p, uint32_t& a) { a = accumWord(table, accumChannels<Format>(p)); });
      break;
    case ACCUM_RETURN:
      buildScaleTable(table, ACCUM_FIELD_BITS, pixelBits, s);
      forEachPixel<Format>(buffers, [&](uint8_t* p, uint32_t& a) {
        const Rgb8 f = accumFields(a);
        storeAccumChannels<Format>(p, {static_cast<uint32_t>(table[f.r]), static_cast<uint32_t>(table[f.g]),
                                       static_cast<uint32_t>(table[f.b])});
      });
      break;
    case ACCUM_MULT: multiplyAccumulation(buffers, s); break;
  }
}

}  // namespace

void buildScaleTable(int32_t* table, uint32_t inBits, uint32_t outBits, float s) {
  // The product of a float and an integer below 2^11 is exact in double, so
  // the truncation sees the true value.
  const auto k = static_cast<int32_t>(std::trunc(static_cast<double>((1u << outBits) - 1) * s));
  const int32_t inMax = static_cast<int32_t>((1u << inBits) - 1);
  const int32_t half = static_cast<int32_t>(1u << (inBits - 1));
  for (int32_t i = 0; i <= inMax; ++i) table[i] = (i * k + half) / inMax;
}

bool accumulateBuffer(const BufferSet& buffers, uint32_t operation, float value) {
  if ((buffers.bufferFlags & BUFFER_COLOR) == 0 || (buffers.bufferFlags & BUFFER_ACCUM) == 0) return false;
  if (operation > ACCUM_MULT) return false;
  // Clamped to 0..1; NaN counts as 0.
  const float s = value > 1.0f ? 1.0f : (value > 0.0f ? value : 0.0f);
  // Indexed formats have no accumulation.
  visitDirectFormat(buffers.format, [&](auto format) { accumulatePixels<decltype(format)>(buffers, operation, s); });
  return true;
}
