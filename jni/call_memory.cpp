#include "jni/call_memory.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

#include "host/host_kit.h"

namespace kelbridge {
namespace {

constexpr std::size_t kFirstChunkBytes = std::size_t{64} << 10;
constexpr std::size_t kAlignment = 16;

struct Chunk {
  unsigned char* base = nullptr;
  std::size_t size = 0;
};

// Chunks not in use by any thread, smallest first.
struct Pool {
  std::mutex lock;
  std::vector<Chunk> free;
  std::size_t reserved = 0;

  Chunk take(std::size_t atLeast) {
    {
      std::lock_guard guard(lock);
      auto fits = std::find_if(free.begin(), free.end(), [&](const Chunk& c) { return c.size >= atLeast; });
      if (fits != free.end()) {
        const Chunk chunk = *fits;
        free.erase(fits);
        return chunk;
      }
      reserved += atLeast;
    }
    return {static_cast<unsigned char*>(kelhost::heapAllocate(atLeast)), atLeast};
  }

  void give(const Chunk& chunk) {
    if (chunk.base == nullptr) return;
    std::lock_guard guard(lock);
    free.insert(std::upper_bound(free.begin(), free.end(), chunk,
                                 [](const Chunk& a, const Chunk& b) { return a.size < b.size; }),
                chunk);
  }
};

Pool& pool() {
  static Pool* instance = new Pool();  // never destroyed: threads may end after static destructors
  return *instance;
}

// One thread's memory: the chunk calls allocate from, and chunks outgrown
// during the current call, which stay valid until the call ends.
struct ThreadMemory {
  Chunk current;
  std::size_t used = 0;
  std::vector<Chunk> outgrown;
  int depth = 0;

  ~ThreadMemory() {
    endCall();
    pool().give(current);
  }

  void endCall() {
    for (const Chunk& chunk : outgrown) pool().give(chunk);
    outgrown.clear();
    used = 0;
  }

  void* allocate(std::size_t bytes) {
    const std::size_t start = (used + kAlignment - 1) / kAlignment * kAlignment;
    if (current.base == nullptr || bytes > current.size || start > current.size - bytes) {
      std::size_t size = std::max(kFirstChunkBytes, current.size * 2);
      while (size < bytes) size *= 2;
      if (current.base != nullptr) outgrown.push_back(current);
      current = pool().take(size);
      used = bytes;
      return current.base;
    }
    used = start + bytes;
    return current.base + start;
  }
};

thread_local ThreadMemory memory;

}  // namespace

void enterCall() {
  if (memory.depth++ == 0) memory.endCall();
}

void leaveCall() { --memory.depth; }

void* callAllocate(std::size_t bytes) { return memory.allocate(bytes == 0 ? 1 : bytes); }

std::size_t callMemoryReserved() {
  std::lock_guard guard(pool().lock);
  return pool().reserved;
}

}  // namespace kelbridge
