// The accumulation buffer operations: adding a scaled image, loading one,
// writing the scaled sum back, and scaling the sum. Each call builds one small
// conversion table and then converts every pixel by lookup, shifts and masks.
#include <cmath>
#include <cstring>

#include "device/buffer_ops.h"
#include "device/color_buffer.h"

namespace {

// An accumulation word: three 10-bit fields, red highest.
constexpr uint32_t ACCUM_FIELD_BITS = 10;
constexpr uint32_t ACCUM_FIELD_MASK = 0x3FF;
constexpr uint32_t ACCUM_TABLE_SIZE = 1u << ACCUM_FIELD_BITS;

struct Channels {
  uint32_t red, green, blue;
};

// Each direct format's pixel as the accumulation operations see it: the
// channel values it reads (tableBits wide) and how it rebuilds a pixel from
// tableBits-wide values.
struct Rgb555Pixels {
  static constexpr uint32_t bytes = 2, tableBits = 5;
  static Channels read(const uint8_t* at) {
    uint16_t p;
    std::memcpy(&p, at, 2);
    return {uint32_t{p} >> 10 & 0x1F, uint32_t{p} >> 5 & 0x1F, uint32_t{p} & 0x1F};
  }
  static void write(uint8_t* at, Channels c) {
    const auto p = static_cast<uint16_t>(c.red << 10 | c.green << 5 | c.blue);
    std::memcpy(at, &p, 2);
  }
};

// 5-6-5: red and blue are read as 6-bit values (doubled) so one 6-bit table
// serves all three channels, and halved again when written.
struct Rgb16Pixels {
  static constexpr uint32_t bytes = 2, tableBits = 6;
  static Channels read(const uint8_t* at) {
    uint16_t p;
    std::memcpy(&p, at, 2);
    return {uint32_t{p} >> 10 & 0x3E, uint32_t{p} >> 5 & 0x3F, uint32_t{p} << 1 & 0x3E};
  }
  static void write(uint8_t* at, Channels c) {
    const auto p = static_cast<uint16_t>((c.red >> 1) << 11 | c.green << 5 | c.blue >> 1);
    std::memcpy(at, &p, 2);
  }
};

struct Rgb24Pixels {
  static constexpr uint32_t bytes = 3, tableBits = 8;
  static Channels read(const uint8_t* at) { return {at[2], at[1], at[0]}; }
  static void write(uint8_t* at, Channels c) {
    at[0] = static_cast<uint8_t>(c.blue);
    at[1] = static_cast<uint8_t>(c.green);
    at[2] = static_cast<uint8_t>(c.red);
  }
};

struct Rgb32Pixels {
  static constexpr uint32_t bytes = 4, tableBits = 8;
  static Channels read(const uint8_t* at) {
    uint32_t p;
    std::memcpy(&p, at, 4);
    return {p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF};
  }
  static void write(uint8_t* at, Channels c) {
    const uint32_t p = c.red << 16 | c.green << 8 | c.blue;
    std::memcpy(at, &p, 4);
  }
};

inline uint32_t accumWord(const int32_t* table, Channels c) {
  return static_cast<uint32_t>(table[c.red]) << 20 | static_cast<uint32_t>(table[c.green]) << 10 |
         static_cast<uint32_t>(table[c.blue]);
}

// Calls visit(pixel address, accumulation word) for every pixel, walking the
// colour buffer by its row stride and the accumulation buffer by `width`.
template <class Pixels, class Visit>
void forEachPixel(RukContext* context, Visit visit) {
  uint32_t* accum = context->accumBuffer;
  for (uint32_t row = 0; row < context->height; ++row) {
    uint8_t* pixel = colorRow(context, row);
    for (uint32_t col = 0; col < context->width; ++col, pixel += Pixels::bytes, ++accum) visit(pixel, *accum);
  }
}

void multiplyAccumulation(RukContext* context, float s) {
  int32_t table[ACCUM_TABLE_SIZE];
  buildScaleTable(table, ACCUM_FIELD_BITS, ACCUM_FIELD_BITS, s);
  uint32_t* accum = context->accumBuffer;
  const size_t count = pixelCount(context);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t a = accum[i];
    accum[i] = accumWord(table, {a >> 20 & ACCUM_FIELD_MASK, a >> 10 & ACCUM_FIELD_MASK, a & ACCUM_FIELD_MASK});
  }
}

template <class Pixels>
void accumulatePixels(RukContext* context, uint32_t operation, float s) {
  int32_t table[ACCUM_TABLE_SIZE];
  switch (operation) {
    case ACCUM_ADD:
      buildScaleTable(table, Pixels::tableBits, ACCUM_FIELD_BITS, s);
      // One 32-bit addition: a field that passes 1023 carries into the next.
      forEachPixel<Pixels>(context, [&](uint8_t* p, uint32_t& a) { a += accumWord(table, Pixels::read(p)); });
      break;
    case ACCUM_LOAD:
      buildScaleTable(table, Pixels::tableBits, ACCUM_FIELD_BITS, s);
      forEachPixel<Pixels>(context, [&](uint8_t* p, uint32_t& a) { a = accumWord(table, Pixels::read(p)); });
      break;
    case ACCUM_RETURN:
      buildScaleTable(table, ACCUM_FIELD_BITS, Pixels::tableBits, s);
      forEachPixel<Pixels>(context, [&](uint8_t* p, uint32_t& a) {
        Pixels::write(p, {static_cast<uint32_t>(table[a >> 20 & ACCUM_FIELD_MASK]),
                          static_cast<uint32_t>(table[a >> 10 & ACCUM_FIELD_MASK]),
                          static_cast<uint32_t>(table[a & ACCUM_FIELD_MASK])});
      });
      break;
    case ACCUM_MULT:
      multiplyAccumulation(context, s);
      break;
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

bool accumulateBuffer(RukContext* context, uint32_t operation, float value) {
  if ((context->bufferFlags & BUFFER_COLOR) == 0 || (context->bufferFlags & BUFFER_ACCUM) == 0) return false;
  if (operation > ACCUM_MULT) return false;
  // Clamped to 0..1; NaN counts as 0.
  const float s = value > 1.0f ? 1.0f : (value > 0.0f ? value : 0.0f);

  switch (context->colorModel.format) {
    case Rgb555: accumulatePixels<Rgb555Pixels>(context, operation, s); break;
    case Rgb16: accumulatePixels<Rgb16Pixels>(context, operation, s); break;
    case Rgb24: accumulatePixels<Rgb24Pixels>(context, operation, s); break;
    case Rgb32: accumulatePixels<Rgb32Pixels>(context, operation, s); break;
    default: break;  // indexed formats have no accumulation
  }
  return true;
}

RukStatus accumulateContext(RukContext* context, uint32_t operation, float value) {
  return accumulateBuffer(context, operation, value) ? RUK_OK : RUK_ERR_FAILED;
}
