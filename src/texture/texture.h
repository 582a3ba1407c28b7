// Texture records: power-of-two images of 32-bit colour words in the layout
// of their device's colour model (alpha in bits 24-31). Row 0 is the bottom
// row of the source image.
#pragma once
#include <cstdint>

#include "runtime/status.h"

struct RukColorModel;
struct RukDevice;

struct RukTexture {
  uint32_t width;   // a power of two
  uint32_t height;  // a power of two
  uint32_t log2Width;
  uint32_t log2Height;
  uint32_t* texels;  // width x height colour words; owned (a context's copy shares them)
};

// 0 with the new texture (every byte 0xFF), 9 when a side is not a power of
// two, 1 when its texels would not fit in 4 GiB. *out is null on failure.
RukStatus createTexture(RukDevice* device, RukTexture** out, uint32_t width, uint32_t height);

// The rectangle (x, y, w, h) of source pixels is clipped to the texture:
// only texels inside it are written, and only the source elements of those
// texels are read. Source pixel (x + i, y + r) is firstPixel[r * scansize + i]
// (firstByte likewise); it lands in texel (x + i, height - 1 - (y + r)).

// Converts a rectangle of 32-bit source pixels described by four channel
// masks. A mask narrower than 8 bits is widened by shifting (a 5-bit 31
// becomes 248); one wider than 8 bits keeps its top 8 bits. An empty mask
// gives 0 for its channel.
RukStatus convertRect32Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y,
                              int32_t w, int32_t h, uint32_t redMask, uint32_t greenMask,
                              uint32_t blueMask, uint32_t alphaMask, const uint32_t* firstPixel,
                              int32_t scansize);

// Converts a rectangle of 8-bit indexes through a palette of 0xAARRGGBB
// entries; indexes at or above paletteSize leave their texel unchanged.
RukStatus convertRect8Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y,
                             int32_t w, int32_t h, const uint32_t* palette, uint32_t paletteSize,
                             const uint8_t* firstByte, int32_t scansize);

// Frees the texels and the record; null is accepted.
RukStatus destroyTexture(RukDevice* device, RukTexture* texture);

