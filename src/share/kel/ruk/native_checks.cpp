// The fatal reports of the kel.ruk natives.
#include "share/kel/ruk/native_checks.h"

#include <cstdio>
#include <cstring>

#include "context/context.h"
#include "runtime/fatal.h"

namespace {

// The native's file under the Windows-style relative path of its sources.
[[noreturn]] void report(const char* lead, CheckSite site) {
  const char* file = site.file_name();
  const char* slash = std::strrchr(file, '/');
  const char* name = slash == nullptr ? file : slash + 1;
  char path[256];
  std::snprintf(path, sizeof path, "..\\..\\..\\src\\share\\kel\\ruk\\%s", name);
  fatalReport(lead, path, static_cast<int>(site.line()));
}

const char* statusMeaning(RukStatus status) {
  switch (status) {
    case RUK_ERR_ALLOCATION: return "allocation failed";
    case RUK_ERR_STACK_FULL: return "model matrix stack full";
    case RUK_ERR_STACK_EMPTY: return "model matrix stack empty";
    case RUK_ERR_LIGHTS_FULL: return "light list full";
    case RUK_ERR_LIGHTS_EMPTY: return "light list empty";
    case RUK_ERR_FAILED: return "a lower-level step failed";
    case RUK_ERR_BAD_ARGUMENT: return "bad argument";
    case RUK_ERR_PIXEL_FORMAT: return "pixel format not supported";
    case RUK_ERR_NOT_POWER_OF_TWO: return "texture side not a power of two";
    case RUK_ERR_BAD_MODEL_TYPE: return "bad model type";
    case RUK_ERR_NOT_IMPLEMENTED: return "not implemented";
    default: return "unknown status";
  }
}

const char* kindName(NativeKind kind) {
  switch (kind) {
    case NativeKind::Device: return "device";
    case NativeKind::Context: return "context";
    case NativeKind::Texture: return "texture";
    case NativeKind::Model: return "model";
  }
  return "record";
}

}  // namespace

void failCheck(const char* lead, CheckSite site) { report(lead, site); }

void failRange(int32_t value, CheckSite site) {
  char lead[64];
  std::snprintf(lead, sizeof lead, "kelruk: value %d out of range at", value);
  report(lead, site);
}

void failStatus(RukStatus status, const RukContext* context, CheckSite site) {
  char lead[400];
  // The message is read in place, bounded by its buffer, whatever recorded it.
  if (context != nullptr && context->errorMessage[0] != '\0') {
    std::snprintf(lead, sizeof lead, "kelruk: status %u (%s), context error \"%.*s\", at", status,
                  statusMeaning(status), static_cast<int>(ERROR_MESSAGE_SIZE - 1), context->errorMessage);
  } else {
    std::snprintf(lead, sizeof lead, "kelruk: status %u (%s) at", status, statusMeaning(status));
  }
  report(lead, site);
}

void failReference(NativeKind kind, uint32_t reference, CheckSite site) {
  char lead[96];
  if (reference == 0) {
    std::snprintf(lead, sizeof lead, "kelruk: no native %s at", kindName(kind));
  } else {
    std::snprintf(lead, sizeof lead, "kelruk: stale or forged %s reference 0x%08x at", kindName(kind), reference);
  }
  report(lead, site);
}
