// Converting rectangles of source pixels (32-bit pixels described by channel
// masks, or 8-bit indexes into a colour map) into texels: 32-bit colour words
// in the layout of the device's colour model, alpha in bits 24-31. Source row
// y lands in texture row height - 1 - y.
#include <algorithm>
#include <bit>

#include "device/color_model.h"
#include "texture/texture.h"

namespace {

// The part of a conversion rectangle that lies inside the texture, and the
// source element index of its first pixel.
struct ClippedRect {
  uint32_t x, y;  // first texel column and source row inside the texture
  uint32_t w, h;  // size inside the texture; 0 when nothing is inside
  int64_t start;  // element index of the first pixel read
};

// Element indices a Java array can have: 0 to 2^31 - 2.
constexpr int64_t ARRAY_INDEX_LIMIT = INT32_MAX;

ClippedRect clipToTexture(const RukTexture* texture, int32_t x, int32_t y, int32_t w, int32_t h, int32_t offset,
                          int32_t scansize) {
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, texture->width);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, texture->height);
  if (right <= left || bottom <= top) return {0, 0, 0, 0, 0};
  return {static_cast<uint32_t>(left), static_cast<uint32_t>(top), static_cast<uint32_t>(right - left),
          static_cast<uint32_t>(bottom - top), offset + (top - y) * int64_t{scansize} + (left - x)};
}

// True when every element the clipped rectangle reads is an index of the
// array; the rows may run forwards or backwards.
bool readsWithinArray(const ClippedRect& rect, int32_t scansize) {
  const int64_t lastRow = rect.start + int64_t{rect.h - 1} * scansize;
  const int64_t lowest = std::min(rect.start, lastRow);
  const int64_t highest = std::max(rect.start, lastRow) + rect.w - 1;
  return lowest >= 0 && highest < ARRAY_INDEX_LIMIT;
}

uint32_t* texelRow(RukTexture* texture, uint32_t sourceRow, uint32_t column) {
  return texture->texels + size_t{texture->height - 1 - sourceRow} * texture->width + column;
}

// How one channel of a 32-bit source pixel reaches its place in a texel:
// ((p >> shift) & narrow) << destination.
struct ChannelMove {
  uint32_t shift;
  uint32_t narrow;
  uint32_t destination;
};

// Masks wider than 8 bits keep their top 8 bits, so a channel never spills
// into its neighbour's byte; narrower ones are widened to 8 bits by shifting
// their highest bit up to bit 7.
ChannelMove channelMove(uint32_t mask, uint32_t wordShift) {
  if (mask == 0) return {0, 0, 0};
  uint32_t shift = static_cast<uint32_t>(std::countr_zero(mask));
  uint32_t narrow = mask >> shift;
  const auto width = static_cast<uint32_t>(std::bit_width(narrow));
  if (width > 8) {
    shift += width - 8;
    narrow >>= width - 8;
  }
  const uint32_t widen = width < 8 ? 8 - width : 0;
  return {shift, narrow, wordShift + widen};
}

// Calls convertRow(source row start, texel row start, count) for each row of
// the clipped rectangle.
template <class Source, class ConvertRow>
void forEachRow(RukTexture* texture, const ClippedRect& rect, const Source* elements, int32_t scansize,
                ConvertRow convertRow) {
  for (uint32_t r = 0; r < rect.h; ++r) {
    convertRow(elements + (rect.start + int64_t{r} * scansize), texelRow(texture, rect.y + r, rect.x), rect.w);
  }
}

inline uint32_t moveChannel(uint32_t pixel, const ChannelMove& move) {
  return ((pixel >> move.shift) & move.narrow) << move.destination;
}

}  // namespace

RukStatus convertRect32Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y, int32_t w,
                              int32_t h, uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask,
                              const uint32_t* pixels, int32_t offset, int32_t scansize) {
  const ClippedRect rect = clipToTexture(texture, x, y, w, h, offset, scansize);
  if (rect.w == 0) return RUK_OK;
  if (!readsWithinArray(rect, scansize)) return RUK_ERR_BAD_ARGUMENT;
  const ChannelMove red = channelMove(redMask, model->redWordShift);
  const ChannelMove green = channelMove(greenMask, model->greenWordShift);
  const ChannelMove blue = channelMove(blueMask, model->blueWordShift);
  const ChannelMove alpha = channelMove(alphaMask, 24);

  forEachRow(texture, rect, pixels, scansize, [&](const uint32_t* source, uint32_t* texel, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t p = source[i];
      texel[i] = moveChannel(p, red) | moveChannel(p, green) | moveChannel(p, blue) | moveChannel(p, alpha);
    }
  });
  return RUK_OK;
}

RukStatus convertRect8Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y, int32_t w,
                             int32_t h, const uint32_t* palette, int32_t paletteSize, const uint8_t* bytes,
                             int32_t offset, int32_t scansize) {
  const ClippedRect rect = clipToTexture(texture, x, y, w, h, offset, scansize);
  if (rect.w == 0) return RUK_OK;
  if (!readsWithinArray(rect, scansize)) return RUK_ERR_BAD_ARGUMENT;

  // Every index a byte can hold, converted once; indexes at or above the
  // palette's size leave their texel unchanged.
  const auto usable = static_cast<uint32_t>(std::clamp(paletteSize, 0, 256));
  uint32_t converted[256];
  for (uint32_t i = 0; i < usable; ++i) {
    const uint32_t e = palette[i];
    converted[i] = ((e >> 16) & 0xFF) << model->redWordShift | ((e >> 8) & 0xFF) << model->greenWordShift |
                   (e & 0xFF) << model->blueWordShift | (e >> 24) << 24;
  }

  forEachRow(texture, rect, bytes, scansize, [&](const uint8_t* source, uint32_t* texel, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t b = source[i];
      if (b < usable) texel[i] = converted[b];
    }
  });
  return RUK_OK;
}
