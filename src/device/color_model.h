// Pixel formats, colour models and output devices.
//
// A colour model says how wide a pixel is and where its channels lie, or which
// palette an indexed pixel's value refers to. The same builder serves devices
// (from the Java side's masks or palette) and contexts (from the screen).
#pragma once
#include <cstdint>

#include "runtime/status.h"

enum PixelFormat : uint32_t {
  Indexed8 = 0,
  PixelFormatReserved1 = 1,  // never produced; treated as dithered indexed where it appears
  Rgb555 = 2,
  Rgb16 = 3,
  Rgb24 = 4,
  Rgb32 = 5,
};

// The request a colour model is built from.
struct RukDeviceDescriptor {
  uint32_t depth;        // 8, 16, 24 or 32
  uint32_t paletteSize;  // depth 8 only
  const uint8_t* paletteRed;
  const uint8_t* paletteGreen;
  const uint8_t* paletteBlue;
  uint32_t redMask;  // depths above 8 only
  uint32_t greenMask;
  uint32_t blueMask;
};

struct RukColorModel {
  uint32_t format;  // PixelFormat
  uint32_t bytesPerPixel;
  uint32_t bitsPerPixel;
  uint32_t redBits, greenBits, blueBits;     // direct formats only
  uint32_t redShift, greenShift, blueShift;  // direct formats only; 32 for an empty mask
  // Bit positions (0, 8 or 16) of each channel's byte in a 32-bit colour word.
  uint32_t redWordShift, greenWordShift, blueWordShift;
  uint32_t paletteSize;  // Indexed8 only
  uint32_t* palette;     // Indexed8 only: 0x00RRGGBB entries, owned by the holder
};

// The native state of one KELRend3DDevice.
struct RukDevice {
  RukColorModel colorModel;
  // A copy of the request; at depth 8 its palette addresses point into one
  // owned block of 3 x paletteSize bytes (red, then green, then blue).
  RukDeviceDescriptor descriptor;
};

// 0 with the new device, 8 when the descriptor is rejected. At depth 8 the
// device copies the three palette arrays into a block of its own.
RukStatus createDevice(const RukDeviceDescriptor* descriptor, RukDevice** out);

// Frees a device made by createDevice with its palettes; null is accepted.
// The natives never free a device (a process keeps its devices); a host
// that ends a program without ending the process does.
void destroyDevice(RukDevice* device);

// True when the descriptor is accepted; fills the model (allocating the
// palette at depth 8; an empty palette leaves `palette` null). A palette of
// more than 256 entries is refused: an 8-bit pixel cannot name the rest.
bool buildColorModel(RukColorModel* model, const RukDeviceDescriptor* descriptor);

// The palette index nearest to a colour; the lowest index wins ties; an empty
// palette gives 0xFFFFFFFF.
uint32_t nearestPaletteIndex(const RukColorModel* model, uint32_t red, uint32_t green, uint32_t blue);

// The inverse colour maps of an indexed colour model: for a grid of colours,
// the nearest palette index (255 for an empty palette). map6 has 64 entries,
// index b * 16 + g * 4 + r for levels 0..3 standing for 85 times the level;
// map12 has 4,096, index b * 256 + g * 16 + r for levels 0..15 standing for
// 17 times the level.
void buildInverseColorMaps(const RukColorModel* model, uint8_t* map6, uint8_t* map12);
