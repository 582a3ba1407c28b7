// Allocation wrappers: the only way native records obtain heap memory.
#include "runtime/memory.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/process_exit.h"

namespace {

[[noreturn]] void memoryFailure(const char* message) {
  std::fputs(message, stderr);
  rukExitProcess(1);
}

}  // namespace

void* rukAllocate(uint32_t size) {
  void* block = std::malloc(size);
  if (block == nullptr) memoryFailure("Memory allocation failed!\n");
  return block;
}

void* rukReallocate(void* block, uint32_t size) {
  if (block == nullptr) return rukAllocate(size);
  if (size == 0) {
    rukRelease(block);
    return nullptr;
  }
  // On failure the old block stays valid and is the caller's.
  return std::realloc(block, size);
}

void rukRelease(void* block) {
  if (block == nullptr) memoryFailure("Attempted to free NULL!\n");
  std::free(block);
}
