// Devices and contexts for the device tests. Devices live until the process
// ends in the library; the tests release theirs so leak checks stay quiet.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "context/context.h"
#include "device/color_model.h"
#include "runtime/memory.h"

inline void releaseTestDevice(RukDevice* device) {
  if (device == nullptr) return;
  if (device->colorModel.palette != nullptr) rukRelease(device->colorModel.palette);
  if (device->descriptor.depth == 8 && device->descriptor.paletteRed != nullptr) {
    rukRelease(const_cast<uint8_t*>(device->descriptor.paletteRed));
  }
  rukRelease(device);
}

struct DeviceRelease {
  void operator()(RukDevice* device) const { releaseTestDevice(device); }
};
using TestDevice = std::unique_ptr<RukDevice, DeviceRelease>;

inline TestDevice makeDirectDevice(uint32_t depth, uint32_t red, uint32_t green, uint32_t blue) {
  RukDeviceDescriptor d{};
  d.depth = depth;
  d.redMask = red;
  d.greenMask = green;
  d.blueMask = blue;
  RukDevice* device = nullptr;
  createDevice(&d, &device);
  return TestDevice(device);
}
