// Colour models and devices: turning a device descriptor (channel masks or a
// palette) into the record that says how pixels are encoded.
#include "device/color_model.h"

#include <bit>
#include <cstring>

#include "device/pixel_format.h"
#include "runtime/memory.h"

namespace {

// An 8-bit pixel can name at most this many palette entries.
constexpr uint32_t MAX_PALETTE_SIZE = 256;

struct ChannelLayout {
  uint32_t shift;  // lowest bit of the mask; 32 for an empty mask
  uint32_t bits;   // length of the run of ones starting there
  bool contiguous;
};

ChannelLayout channelLayout(uint32_t mask) {
  if (mask == 0) return {32, 0, true};
  const uint32_t shift = static_cast<uint32_t>(std::countr_zero(mask));
  const uint32_t run = mask >> shift;
  const uint32_t bits = static_cast<uint32_t>(std::countr_one(run));
  const bool contiguous = bits == 32 || (run >> bits) == 0;
  return {shift, bits, contiguous};
}

// Where a channel's byte goes in the 32-bit colour word: the channel lowest
// in the pixel at bit 0, the highest at bit 16, anything else at bit 8.
uint32_t wordShift(uint32_t shift, uint32_t otherA, uint32_t otherB) {
  if (shift == 0) return 0;
  if (shift > otherA && shift > otherB) return 16;
  return 8;
}

// The sizes of the format's pixels; false for values that name no format.
bool formatSizes(uint32_t format, uint32_t* bitsPerPixel, uint32_t* bytesPerPixel) {
  const uint32_t bytes = pixelFormatBytes(format);
  *bitsPerPixel = 8 * bytes;
  *bytesPerPixel = bytes;
  return bytes != 0;
}

bool buildIndexedModel(RukColorModel* model, const RukDeviceDescriptor* descriptor) {
  const uint32_t size = descriptor->paletteSize;
  if (size > MAX_PALETTE_SIZE) return false;
  model->format = Indexed8;
  model->paletteSize = size;
  model->palette = nullptr;
  if (size != 0) {
    model->palette = rukAllocateArray<uint32_t>(size);
    for (uint32_t i = 0; i < size; ++i) {
      model->palette[i] = uint32_t{descriptor->paletteRed[i]} << 16 | uint32_t{descriptor->paletteGreen[i]} << 8 |
                          descriptor->paletteBlue[i];
    }
  }
  model->redWordShift = 16;
  model->greenWordShift = 8;
  model->blueWordShift = 0;
  return true;
}

bool buildDirectModel(RukColorModel* model, const RukDeviceDescriptor* descriptor) {
  const uint32_t red = descriptor->redMask, green = descriptor->greenMask, blue = descriptor->blueMask;
  if ((red & green & blue) != 0) return false;

  const ChannelLayout r = channelLayout(red), g = channelLayout(green), b = channelLayout(blue);
  if (!r.contiguous || !g.contiguous || !b.contiguous) return false;

  if (descriptor->depth == 16) {
    if (((red | green | blue) & 0xFFFF0000u) != 0) return false;
    if (r.bits < 5 || g.bits < 5 || b.bits < 5) return false;
    model->format = (r.bits == 5 && g.bits == 5 && b.bits == 5) ? Rgb555 : Rgb16;
  } else {
    if (r.bits != 8 || g.bits != 8 || b.bits != 8) return false;
    model->format = descriptor->depth == 24 ? Rgb24 : Rgb32;
  }

  model->redBits = r.bits;
  model->greenBits = g.bits;
  model->blueBits = b.bits;
  model->redShift = r.shift;
  model->greenShift = g.shift;
  model->blueShift = b.shift;
  model->redWordShift = wordShift(r.shift, g.shift, b.shift);
  model->greenWordShift = wordShift(g.shift, r.shift, b.shift);
  model->blueWordShift = wordShift(b.shift, g.shift, r.shift);
  return true;
}

}  // namespace

bool buildColorModel(RukColorModel* model, const RukDeviceDescriptor* descriptor) {
  const uint32_t depth = descriptor->depth;
  if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return false;

  *model = RukColorModel{};
  const bool accepted = depth == 8 ? buildIndexedModel(model, descriptor) : buildDirectModel(model, descriptor);
  if (!accepted) return false;
  return formatSizes(model->format, &model->bitsPerPixel, &model->bytesPerPixel);
}

RukStatus createDevice(const RukDeviceDescriptor* descriptor, RukDevice** out) {
  *out = nullptr;
  auto* device = static_cast<RukDevice*>(rukAllocate(sizeof(RukDevice)));
  if (!buildColorModel(&device->colorModel, descriptor)) {
    rukRelease(device);
    return RUK_ERR_PIXEL_FORMAT;
  }
  device->descriptor = *descriptor;

  if (descriptor->depth == 8) {
    // The device keeps its own copy of the three palette arrays, red values
    // first, then green, then blue, in one block.
    const uint32_t size = descriptor->paletteSize;
    uint8_t* block = nullptr;
    if (size != 0) {
      block = static_cast<uint8_t*>(rukAllocate(3 * size));
      std::memcpy(block, descriptor->paletteRed, size);
      std::memcpy(block + size, descriptor->paletteGreen, size);
      std::memcpy(block + 2 * size, descriptor->paletteBlue, size);
    }
    device->descriptor.paletteRed = block;
    device->descriptor.paletteGreen = block == nullptr ? nullptr : block + size;
    device->descriptor.paletteBlue = block == nullptr ? nullptr : block + 2 * size;
  }
  *out = device;
  return RUK_OK;
}

void destroyDevice(RukDevice* device) {
  if (device == nullptr) return;
  if (device->colorModel.palette != nullptr) rukRelease(device->colorModel.palette);
  // The three palette arrays share one block, which the red one starts.
  if (device->descriptor.depth == 8 && device->descriptor.paletteRed != nullptr) {
    rukRelease(const_cast<uint8_t*>(device->descriptor.paletteRed));
  }
  rukRelease(device);
}

uint32_t nearestPaletteIndex(const RukColorModel* model, uint32_t red, uint32_t green, uint32_t blue) {
  uint32_t bestDistance = 0xFFFFFFFFu;
  uint32_t bestIndex = 0xFFFFFFFFu;
  for (uint32_t i = 0; i < model->paletteSize; ++i) {
    const uint32_t entry = model->palette[i];
    const uint32_t dr = ((entry >> 16) & 0xFF) - red;
    const uint32_t dg = ((entry >> 8) & 0xFF) - green;
    const uint32_t db = (entry & 0xFF) - blue;
    // Unsigned wrap-around squares equal the true squares modulo 2^32, and
    // the true sums stay far below 2^32 for 8-bit channels.
    const uint32_t distance = dg * dg + dr * dr + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      bestIndex = i;
    }
  }
  return bestIndex;
}
