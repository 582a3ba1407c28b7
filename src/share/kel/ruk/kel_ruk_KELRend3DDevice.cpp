// Natives of kel.ruk.KELRend3DDevice: the output device whose colour model
// textures take their texel layout from. A device lives until the process
// ends; initialising the object again makes a new device.
#include <cstdint>

#include "device/color_model.h"
#include "share/kel/binding.h"
#include "share/kel/ruk/java_fields.h"
#include "share/kel/ruk/native_checks.h"

namespace {

// An 8-bit pixel reaches at most 256 palette entries.
constexpr uint32_t PALETTE_LIMIT = 256;

// A failed creation is reported at the caller's line.
void createAndStoreDevice(JHandle self, const RukDeviceDescriptor& descriptor, CheckSite site = CheckSite::current()) {
  RukDevice* device = nullptr;
  requireOk(createDevice(&descriptor, &device), nullptr, site);
  fieldsOf(self)[DEVICE_NATIVE_DEVICE] = nativeRefIssue(NativeKind::Device, device);
}

void kel_ruk_KELRend3DDevice_initDirect(JHandle self, int32_t redMask, int32_t greenMask, int32_t blueMask) {
  RukDeviceDescriptor descriptor{};
  const uint32_t allMasks = static_cast<uint32_t>(redMask | greenMask | blueMask);
  descriptor.depth = allMasks == 0xFFFFFF ? 32 : 16;
  descriptor.redMask = static_cast<uint32_t>(redMask);
  descriptor.greenMask = static_cast<uint32_t>(greenMask);
  descriptor.blueMask = static_cast<uint32_t>(blueMask);
  createAndStoreDevice(self, descriptor);
}

void kel_ruk_KELRend3DDevice_initIndexed(JHandle self, int32_t count, JHandle red, JHandle green, JHandle blue) {
  const uint32_t paletteSize = requireBelow(count, PALETTE_LIMIT + 1);
  if (paletteSize != 0) {
    requireArgument(red);
    requireArgument(green);
    requireArgument(blue);
  }
  RukDeviceDescriptor descriptor{};
  descriptor.depth = 8;
  descriptor.paletteSize = paletteSize;
  descriptor.paletteRed = elementsOf<uint8_t>(red);
  descriptor.paletteGreen = elementsOf<uint8_t>(green);
  descriptor.paletteBlue = elementsOf<uint8_t>(blue);
  createAndStoreDevice(self, descriptor);
}

}  // namespace

KELRUK_STUB(kel_ruk_KELRend3DDevice_initDirect)
KELRUK_STUB(kel_ruk_KELRend3DDevice_initIndexed)
