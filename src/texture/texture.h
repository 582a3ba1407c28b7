// Texture records: power-of-two images of 32-bit colour words in the layout
// of their device's colour model (alpha in bits 24-31). Row 0 is the bottom
// row of the source image.
#pragma once
#include <cstdint>

#include "runtime/status.h"

struct RukColorModel;
struct RukDevice;

// The holders of a texture's texels: the texture itself and every context it
// is bound into. The texels go when the last holder lets go, so a texture
// disposed while bound keeps drawing in that context until it is unbound.
struct RukTexelHolders;

struct RukTexture {
  uint32_t width;   // a power of two
  uint32_t height;  // a power of two
  uint32_t log2Width;
  uint32_t log2Height;
  uint32_t* texels;  // width x height colour words (a context's copy shares them)
  // Who keeps `texels` alive; null for texels that the record does not share
  // this way (a copy made by hand), which binding then only borrows.
  RukTexelHolders* holders = nullptr;
};

// 0 with the new texture (every byte 0xFF), 9 when a side is not a power of
// two, 1 when its texels would not fit in 4 GiB. *out is null on failure.
RukStatus createTexture(RukDevice* device, RukTexture** out, uint32_t width, uint32_t height);

// The rectangle (x, y, w, h) of source pixels is clipped to the texture:
// only texels inside it are written, and only the source elements of those
// texels are read. Source pixel (x + i, y + r) is element
// offset + r * scansize + i of the source array (`pixels` or `bytes`); it
// lands in texel (x + i, height - 1 - (y + r)). Offsets and scan sizes are
// the signed values they are: a negative scan size walks the rows backwards.
// When an element to be read would lie before the array's first element, or
// at an index no Java array reaches (2^31 - 1 and beyond), nothing is
// converted and the status is 7.

// Converts a rectangle of 32-bit source pixels described by four channel
// masks. A mask narrower than 8 bits is widened by shifting (a 5-bit 31
// becomes 248); one wider than 8 bits keeps its top 8 bits. An empty mask
// gives 0 for its channel.
RukStatus convertRect32Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y, int32_t w,
                              int32_t h, uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask,
                              const uint32_t* pixels, int32_t offset, int32_t scansize);

// Converts a rectangle of 8-bit indexes through a palette of 0xAARRGGBB
// entries; indexes at or above paletteSize leave their texel unchanged, so a
// palette size of 0 or less reads no palette entry and changes no texel.
RukStatus convertRect8Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y, int32_t w,
                             int32_t h, const uint32_t* palette, int32_t paletteSize, const uint8_t* bytes,
                             int32_t offset, int32_t scansize);

// The same with the first source pixel (or byte) given as element 0.
inline RukStatus convertRect32Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y, int32_t w,
                                     int32_t h, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                                     uint32_t alphaMask, const uint32_t* firstPixel, int32_t scansize) {
  return convertRect32Texels(model, texture, x, y, w, h, redMask, greenMask, blueMask, alphaMask, firstPixel, 0,
                             scansize);
}
inline RukStatus convertRect8Texels(const RukColorModel* model, RukTexture* texture, int32_t x, int32_t y, int32_t w,
                                    int32_t h, const uint32_t* palette, int32_t paletteSize, const uint8_t* firstByte,
                                    int32_t scansize) {
  return convertRect8Texels(model, texture, x, y, w, h, palette, paletteSize, firstByte, 0, scansize);
}

// Frees the record and lets go of its texels (freed unless a context still
// has them bound); null is accepted.
RukStatus destroyTexture(RukDevice* device, RukTexture* texture);

// Makes `copy` a copy of the texture record that shares its texels and holds
// them for as long as it has them, or with null clears the copy's texels.
// Either lets go of the texels the copy held before.
void shareTexture(RukTexture* copy, const RukTexture* textureOrNull);

// Lets go of whatever texels the copy holds and clears them.
void unshareTexture(RukTexture* copy);
