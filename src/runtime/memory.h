// Allocation wrappers for every native record. Exhaustion and the release of a
// null block end the process, so no worker carries an out-of-memory path.
#pragma once
#include <cstdint>

// Never returns null: on exhaustion writes "Memory allocation failed!\n" to
// standard error and exits with status 1. The block is not cleared. A size of
// 0 is passed to the system heap unchanged.
void* rukAllocate(uint32_t size);

// A null block is served by rukAllocate; a size of 0 releases the block and
// returns null; otherwise returns the resized block, or null when it cannot be
// resized (the old block then stays valid and is the caller's).
void* rukReallocate(void* block, uint32_t size);

// A null block writes "Attempted to free NULL!\n" to standard error and exits
// with status 1.
void rukRelease(void* block);

// Typed conveniences over rukAllocate for arrays of records.
template <class T>
inline T* rukAllocateArray(uint32_t count) {
  return static_cast<T*>(rukAllocate(static_cast<uint32_t>(sizeof(T)) * count));
}
