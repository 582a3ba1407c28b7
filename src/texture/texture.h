// Texture records: power-of-two images of 32-bit colour words in the layout
// of their device's colour model (alpha in bits 24-31). Row 0 is the bottom
// row of the source image.
#pragma once
#include <cstdint>

#include "runtime/status.h"

struct RukColorModel;
struct RukDevice;
struct RukContext;

struct RukTexture {
  uint32_t width;   // a power of two
  uint32_t height;  // a power of two
  uint32_t log2Width;
  uint32_t log2Height;
  uint32_t* texels;  // width x height colour words; owned (a context's copy shares them)
};

// 0 with the new texture (every byte 0xFF), 9 when a side is not a power of two.
RukStatus createTexture(RukDevice* device, RukTexture** out, uint32_t width, uint32_t height);

// Converts a rectangle of 32-bit source pixels described by four channel
// masks. The rectangle is clipped to the texture.
RukStatus convertRect32Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y,
                              int32_t w, int32_t h, uint32_t redMask, uint32_t greenMask,
                              uint32_t blueMask, uint32_t alphaMask, const uint32_t* firstPixel,
                              int32_t scansize);

// Converts a rectangle of 8-bit indexes through a palette of 0xAARRGGBB
// entries; indexes at or above paletteSize leave their texel unchanged.
RukStatus convertRect8Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y,
                             int32_t w, int32_t h, const uint32_t* palette, uint32_t paletteSize,
                             const uint8_t* firstByte, int32_t scansize);

RukStatus destroyTexture(RukDevice* device, RukTexture* texture);

// Binds a copy of the texture into the context, or unbinds with null.
RukStatus bindTexture(RukContext* context, const RukTexture* textureOrNull);
