// The checks of the kel.ruk natives. A failed check ends the process with the
// fatal report: a leading text saying what failed, then the native's source
// file as a Windows-style relative path ("..\..\..\src\share\kel\ruk\" and the
// file's name) and the line of the check. Every check takes the location of
// its caller by default, so the reported line is the line of the check in the
// native.
#pragma once
#include <cstdint>

#include "runtime/native_refs.h"
#include "runtime/status.h"

struct RukContext;

// Where a check stands: the source file and line of the call that takes
// CheckSite::current() as its default argument. (The compiler builtins serve
// every compiler we build with, which std::source_location does not.)
struct CheckSite {
  const char* file;
  unsigned lineNumber;
  static constexpr CheckSite current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE()) {
    return {file, line};
  }
  constexpr const char* file_name() const { return file; }
  constexpr unsigned line() const { return lineNumber; }
};

// "<lead> <path>:<line>" and exit status -1.
[[noreturn]] void failCheck(const char* lead, CheckSite site);
[[noreturn]] void failRange(int32_t value, CheckSite site);
[[noreturn]] void failStatus(RukStatus status, const RukContext* context, CheckSite site);
[[noreturn]] void failReference(NativeKind kind, uint32_t reference, CheckSite site);

// A null object or array argument.
inline void requireArgument(uint32_t handle, CheckSite site = CheckSite::current()) {
  if (handle == 0) failCheck("kelruk: null argument at", site);
}

// Any other condition a native insists on; `lead` says what is wrong.
inline void requireThat(bool condition, const char* lead, CheckSite site = CheckSite::current()) {
  if (!condition) failCheck(lead, site);
}

// A Java constant checked against its bound as an unsigned number, so that
// negative values fail too. Gives the value.
inline uint32_t requireBelow(int32_t value, uint32_t limit, CheckSite site = CheckSite::current()) {
  if (static_cast<uint32_t>(value) >= limit) failRange(value, site);
  return static_cast<uint32_t>(value);
}

// A worker's status. With a context (still alive), its last recorded error
// message joins the report.
inline void requireOk(RukStatus status, const RukContext* context, CheckSite site = CheckSite::current()) {
  if (status != RUK_OK) failStatus(status, context, site);
}

// The record a native reference names; 0, stale, forged or of another kind
// is fatal.
template <class T>
inline T* requireRecord(uint32_t reference, NativeKind kind, CheckSite site = CheckSite::current()) {
  T* record = nativeRefResolveAs<T>(reference, kind);
  if (record == nullptr) failReference(kind, reference, site);
  return record;
}

// The same, but 0 is allowed and gives null.
template <class T>
inline T* optionalRecord(uint32_t reference, NativeKind kind, CheckSite site = CheckSite::current()) {
  bool valid = false;
  T* record = nativeRefResolveAs<T>(reference, kind, &valid);
  if (!valid) failReference(kind, reference, site);
  return record;
}
