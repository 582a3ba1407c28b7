// Natives of kel.ruk.Graphics3DDevice.
#include <cstdint>
#include <cstring>

#include "share/kel/binding.h"
#include "share/kel/ruk/native_checks.h"

namespace {

// The class that serves as this library's device, with its terminating zero.
constexpr char DEVICE_CLASS[] = "kel.ruk.KELRend3DDevice";
static_assert(sizeof DEVICE_CLASS == 24);

void kel_ruk_Graphics3DDevice_getDeviceClass(JStatic*, JHandle name) {
  requireArgument(name);
  std::memcpy(elementsOf<uint8_t>(name), DEVICE_CLASS, sizeof DEVICE_CLASS);
}

}  // namespace

KELRUK_STUB(kel_ruk_Graphics3DDevice_getDeviceClass)
