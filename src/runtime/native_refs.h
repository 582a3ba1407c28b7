// The table of native references. Java int fields (`nativeDevice`, `context`,
// `nativeTexture`, `nativeModel`) hold 32-bit references into this table
// instead of addresses; 0 means none. A reference names one record of one kind
// for as long as it is registered; once revoked, or if it was never issued, it
// resolves to nothing, so a stale or forged reference can never reach a freed
// record. Issue and revoke may run on different threads; resolving is a few
// loads with no lock.
#pragma once
#include <cstdint>

enum class NativeKind : uint32_t { Device = 1, Context = 2, Texture = 3, Model = 4 };

// Registers a record and returns its reference (never 0).
uint32_t nativeRefIssue(NativeKind kind, void* record);

// The record a reference names, or null when the reference is 0, stale,
// forged, or names a record of another kind. `isValid` (optional) is set to
// true for 0 and for live references of this kind, false otherwise.
void* nativeRefResolve(uint32_t reference, NativeKind kind, bool* isValid = nullptr);

// Revokes a live reference; returns false when it is not live for this kind.
bool nativeRefRevoke(uint32_t reference, NativeKind kind);

template <class T>
inline T* nativeRefResolveAs(uint32_t reference, NativeKind kind, bool* isValid = nullptr) {
  return static_cast<T*>(nativeRefResolve(reference, kind, isValid));
}
