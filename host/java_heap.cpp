// The Java heap: one region reserved below 4 GiB, handed out by bumping a
// pointer. Nothing is collected; `heapRewind` gives back a suffix.
#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "host/host_kit.h"
#include "platform/low_memory.h"

namespace kelhost {
namespace {

constexpr std::size_t kHeapBytes = std::size_t{256} << 20;
constexpr std::size_t kAlignment = 16;
// Never handed out after each allocation, so that a native running past the
// end of an array does not silently land in the next object.
constexpr std::size_t kGapBytes = 16;

[[noreturn]] void die(const char* what) {
  std::fprintf(stderr, "kelhost: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

struct Heap {
  std::mutex lock;
  unsigned char* base = nullptr;
  std::size_t used = 0;
  std::size_t touched = 0;  // below this, memory may hold rewound contents

  Heap() {
    void* region = kelplatform::mapBelow4GiB(kHeapBytes, PROT_READ | PROT_WRITE);
    if (region == nullptr) die("cannot reserve the Java heap below 4 GiB");
    base = static_cast<unsigned char*>(region);
    ASAN_POISON_MEMORY_REGION(base, kHeapBytes);
  }
};

Heap& heap() {
  static Heap* instance = new Heap();  // never destroyed: handles outlive static destructors
  return *instance;
}

std::size_t roundUp(std::size_t value, std::size_t to) { return (value + to - 1) / to * to; }

}  // namespace

void* heapAllocate(std::size_t bytes) {
  Heap& h = heap();
  std::lock_guard guard(h.lock);
  const std::size_t span = roundUp(bytes == 0 ? 1 : bytes, kAlignment) + kGapBytes;
  if (bytes > kHeapBytes || span > kHeapBytes - h.used) die("the Java heap is exhausted");
  unsigned char* memory = h.base + h.used;
  h.used += span;
  ASAN_UNPOISON_MEMORY_REGION(memory, bytes);
  // Rewound memory may hold old contents; fresh pages are zero already.
  const std::size_t offset = static_cast<std::size_t>(memory - h.base);
  if (offset < h.touched) std::memset(memory, 0, std::min(bytes, h.touched - offset));
  h.touched = std::max(h.touched, h.used);
  return memory;
}

uint32_t address32(const void* pointer) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(pointer);
  if (value > UINT32_MAX) die("an address handed to the library does not fit in 32 bits");
  return static_cast<uint32_t>(value);
}

std::size_t heapUsed() {
  Heap& h = heap();
  std::lock_guard guard(h.lock);
  return h.used;
}

std::size_t heapCapacity() { return kHeapBytes; }

HeapMark heapMark() { return heapUsed(); }

void heapRewind(HeapMark mark) {
  Heap& h = heap();
  std::lock_guard guard(h.lock);
  if (mark > h.used) die("heapRewind past the end of the heap");
  ASAN_POISON_MEMORY_REGION(h.base + mark, h.used - mark);
  h.used = mark;
}

}  // namespace kelhost
