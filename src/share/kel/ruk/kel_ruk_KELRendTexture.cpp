// Natives of kel.ruk.KELRendTexture: a power-of-two image converted from
// 32-bit or 8-bit source pixels into its device's colour layout.
#include <cstdint>

#include "device/color_model.h"
#include "share/kel/binding.h"
#include "share/kel/ruk/java_fields.h"
#include "share/kel/ruk/native_checks.h"
#include "texture/texture.h"

namespace {

RukTexture* textureOf(const uint32_t* fields, CheckSite site = CheckSite::current()) {
  return requireRecord<RukTexture>(fields[TEXTURE_NATIVE_TEXTURE], NativeKind::Texture, site);
}

// The texture's RukDevice, or null when it has no device object or the
// object has no device yet.
RukDevice* optionalDeviceOf(const uint32_t* fields, CheckSite site = CheckSite::current()) {
  const JHandle device = fields[TEXTURE_DEVICE];
  if (device == 0) return nullptr;
  return optionalRecord<RukDevice>(fieldsOf(device)[DEVICE_NATIVE_DEVICE], NativeKind::Device, site);
}

// Conversions need the device's colour model.
const RukDevice* conversionDeviceOf(const uint32_t* fields, CheckSite site = CheckSite::current()) {
  const JHandle device = fields[TEXTURE_DEVICE];
  requireThat(device != 0, "kelruk: texture without device at", site);
  return requireRecord<RukDevice>(fieldsOf(device)[DEVICE_NATIVE_DEVICE], NativeKind::Device, site);
}

void kel_ruk_KELRendTexture_init(JHandle self, int32_t width, int32_t height) {
  uint32_t* fields = fieldsOf(self);
  RukDevice* device = optionalDeviceOf(fields);
  RukTexture* texture = nullptr;
  // A negative side is no power of two (as an unsigned number -2^31 would be).
  const auto side = [](int32_t value) { return value < 0 ? 0u : static_cast<uint32_t>(value); };
  requireOk(createTexture(device, &texture, side(width), side(height)), nullptr);
  fields[TEXTURE_NATIVE_TEXTURE] = nativeRefIssue(NativeKind::Texture, texture);
}

void kel_ruk_KELRendTexture_doComplete(JHandle) {}

void kel_ruk_KELRendTexture_convertRect32(JHandle self, int32_t x, int32_t y, int32_t w, int32_t h, int32_t redMask,
                                          int32_t greenMask, int32_t blueMask, int32_t alphaMask, JHandle pixels,
                                          int32_t offset, int32_t scansize) {
  const uint32_t* fields = fieldsOf(self);
  RukTexture* texture = textureOf(fields);
  requireArgument(pixels);
  const RukDevice* device = conversionDeviceOf(fields);
  // Element `offset` is the first source pixel; the conversion refuses (7)
  // any element it would read before the array's start.
  requireOk(convertRect32Texels(&device->colorModel, texture, x, y, w, h, static_cast<uint32_t>(redMask),
                                static_cast<uint32_t>(greenMask), static_cast<uint32_t>(blueMask),
                                static_cast<uint32_t>(alphaMask), elementsOf<uint32_t>(pixels), offset, scansize),
            nullptr);
}

void kel_ruk_KELRendTexture_convertRect8(JHandle self, int32_t x, int32_t y, int32_t w, int32_t h, JHandle palette,
                                         int32_t paletteSize, JHandle pixels, int32_t offset, int32_t scansize) {
  const uint32_t* fields = fieldsOf(self);
  RukTexture* texture = textureOf(fields);
  requireArgument(pixels);
  // A palette size of 0 or less names no entry, so no palette is read.
  if (paletteSize > 0) requireArgument(palette);
  const RukDevice* device = conversionDeviceOf(fields);
  requireOk(convertRect8Texels(&device->colorModel, texture, x, y, w, h, elementsOf<uint32_t>(palette), paletteSize,
                               elementsOf<uint8_t>(pixels), offset, scansize),
            nullptr);
}

void kel_ruk_KELRendTexture_dispose(JHandle self) {
  uint32_t* fields = fieldsOf(self);
  const uint32_t reference = fields[TEXTURE_NATIVE_TEXTURE];
  RukTexture* texture = textureOf(fields);
  RukDevice* device = optionalDeviceOf(fields);
  nativeRefRevoke(reference, NativeKind::Texture);
  fields[TEXTURE_NATIVE_TEXTURE] = 0;
  requireOk(destroyTexture(device, texture), nullptr);
}

}  // namespace

KELRUK_STUB(kel_ruk_KELRendTexture_init)
KELRUK_STUB(kel_ruk_KELRendTexture_doComplete)
KELRUK_STUB(kel_ruk_KELRendTexture_convertRect32)
KELRUK_STUB(kel_ruk_KELRendTexture_convertRect8)
KELRUK_STUB(kel_ruk_KELRendTexture_dispose)
