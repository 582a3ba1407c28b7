// Placement below 4 GiB: MAP_32BIT first where it exists, then probing low
// addresses with hints that may not replace anything.
#include "platform/low_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>

// Linux's value on x86-64 and arm64. Kernels before 4.17 ignore the flag and
// take the address as a hint, which is why every result is checked.
#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

namespace kelplatform {
namespace {

constexpr uintptr_t kLimit = uintptr_t{1} << 32;
// Nothing is placed in the lowest 64 KiB, so that a null pointer plus a
// small offset still faults (and kernels refuse the lowest pages anyway).
constexpr uintptr_t kLowest = uintptr_t{1} << 16;
// Probing starts where MAP_32BIT places memory too: above the images of
// programs linked at fixed low addresses.
constexpr uintptr_t kFirstProbe = uintptr_t{1} << 30;
// Misses in a row double the step up to this, so that an occupied stretch
// (a sanitizer's shadow covers gigabytes) is crossed in a few probes.
constexpr uintptr_t kWidestStep = uintptr_t{1} << 28;

constexpr int kFlags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;

std::atomic<bool> map32BitAllowed{true};
// Just past the last placement found by probing: mappings laid end to end
// mean that the next probe usually succeeds at once.
std::atomic<uintptr_t> cursor{kFirstProbe};

// `region` when all of it lies below 4 GiB; otherwise it is given back.
void* keepIfLow(void* region, std::size_t bytes) {
  if (region == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(region);
  if (start < kLimit && bytes <= kLimit - start) return region;
  munmap(region, bytes);
  return nullptr;
}

enum class Probe { Placed, Occupied, Refused };

// One probe at `hint`. A kernel that ignores MAP_FIXED_NOREPLACE places the
// memory elsewhere when the hint is taken: kept if that is below 4 GiB too
// (it overlaps nothing), given back and counted as a miss otherwise.
Probe probeAt(uintptr_t hint, std::size_t bytes, int protection, void** placed) {
  void* region = mmap(reinterpret_cast<void*>(hint), bytes, protection, kFlags | MAP_FIXED_NOREPLACE, -1, 0);
  if (region == MAP_FAILED) {
    // Something lies there, or the address is below the kernel's minimum.
    return errno == EEXIST || errno == EPERM || errno == EACCES ? Probe::Occupied : Probe::Refused;
  }
  *placed = keepIfLow(region, bytes);
  return *placed != nullptr ? Probe::Placed : Probe::Occupied;
}

// Probes page-aligned hints from `first` up to `last`, in steps of `bytes`,
// doubling after each miss when `widen` is set.
Probe sweep(uintptr_t first, uintptr_t last, std::size_t bytes, int protection, bool widen, void** placed) {
  uintptr_t step = bytes;
  for (uintptr_t hint = first; hint <= last; hint += step) {
    const Probe probe = probeAt(hint, bytes, protection, placed);
    if (probe != Probe::Occupied) return probe;
    if (widen) step = std::min<uintptr_t>(step * 2, std::max<uintptr_t>(bytes, kWidestStep));
    if (last - hint < step) break;
  }
  return Probe::Occupied;
}

// First from the cursor to the top and from the bottom up to the cursor,
// with widening steps; then once more from the bottom in steps of the size,
// for holes that the wide steps jumped over.
void* probeLowAddresses(std::size_t bytes, std::size_t page, int protection) {
  const uintptr_t lowest = (kLowest + page - 1) / page * page;
  if (bytes > kLimit - lowest) return nullptr;
  const uintptr_t highest = (kLimit - bytes) / page * page;
  const uintptr_t start = std::clamp(cursor.load(std::memory_order_relaxed), lowest, highest) / page * page;
  void* placed = nullptr;
  Probe probe = sweep(start, highest, bytes, protection, true, &placed);
  if (probe == Probe::Occupied && start > lowest) probe = sweep(lowest, start - page, bytes, protection, true, &placed);
  if (probe == Probe::Occupied) probe = sweep(lowest, highest, bytes, protection, false, &placed);
  if (probe != Probe::Placed) return nullptr;
  cursor.store(reinterpret_cast<uintptr_t>(placed) + bytes, std::memory_order_relaxed);
  return placed;
}

}  // namespace

void* mapBelow4GiB(std::size_t bytes, int protection) {
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  if (bytes == 0 || bytes > kLimit) return nullptr;
  bytes = (bytes + page - 1) / page * page;
#ifdef MAP_32BIT
  if (map32BitAllowed.load(std::memory_order_relaxed)) {
    if (void* region = keepIfLow(mmap(nullptr, bytes, protection, kFlags | MAP_32BIT, -1, 0), bytes)) return region;
  }
#endif
  return probeLowAddresses(bytes, page, protection);
}

void allowMap32Bit(bool allowed) { map32BitAllowed.store(allowed, std::memory_order_relaxed); }

}  // namespace kelplatform
