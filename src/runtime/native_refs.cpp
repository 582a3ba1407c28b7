// The table of native references.
//
// A reference is generation << 20 | slot index, with generations 1..4095, so
// no reference is 0 and no small integer is ever a live reference. Each slot
// holds the generation and kind of its current record in one state word;
// revoking bumps the generation, so every earlier reference to the slot stops
// resolving. A slot whose generation would wrap is retired for good.
//
// The slots live in chunks of 1,024 that are allocated on demand and never
// move or go away, so a lookup is a few atomic loads without a lock. Issue
// and revoke take the mutex. Freed slots queue first in, first out, and fresh
// slots are preferred while fewer than REUSE_DELAY slots wait, which keeps a
// just-revoked slot out of use for as long as possible.
#include "runtime/native_refs.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

#include "runtime/memory.h"
#include "runtime/process_exit.h"

namespace {

constexpr uint32_t INDEX_BITS = 20;
constexpr uint32_t INDEX_MASK = (1u << INDEX_BITS) - 1;
constexpr uint32_t GENERATION_LIMIT = 1u << (32 - INDEX_BITS);  // generations 1..4095
constexpr uint32_t CHUNK_BITS = 10;
constexpr uint32_t CHUNK_SIZE = 1u << CHUNK_BITS;
constexpr uint32_t CHUNK_COUNT = 1u << (INDEX_BITS - CHUNK_BITS);
constexpr uint32_t SLOT_COUNT = 1u << INDEX_BITS;
constexpr uint32_t REUSE_DELAY = 256;
constexpr uint32_t NO_SLOT = 0xFFFFFFFFu;

// state = generation << 4 | kind; kind 0 marks a free (or retired) slot.
constexpr uint32_t stateOf(uint32_t generation, uint32_t kind) { return generation << 4 | kind; }
constexpr uint32_t generationOf(uint32_t state) { return state >> 4; }

struct Slot {
  std::atomic<uint32_t> state{stateOf(1, 0)};
  std::atomic<void*> record{nullptr};
  uint32_t nextFree = NO_SLOT;  // guarded by tableMutex
};

std::atomic<Slot*> chunks[CHUNK_COUNT];
std::mutex tableMutex;
uint32_t freshSlots = 0;  // slots [0, freshSlots) have been handed out at least once
uint32_t freeHead = NO_SLOT, freeTail = NO_SLOT, freeCount = 0;

Slot* slotAt(uint32_t index) {
  Slot* chunk = chunks[index >> CHUNK_BITS].load(std::memory_order_acquire);
  return chunk == nullptr ? nullptr : chunk + (index & (CHUNK_SIZE - 1));
}

// Called with the mutex held.
uint32_t takeSlot() {
  bool reuse = freeHead != NO_SLOT && (freeCount >= REUSE_DELAY || freshSlots == SLOT_COUNT);
  if (reuse) {
    uint32_t index = freeHead;
    Slot* slot = slotAt(index);
    freeHead = slot->nextFree;
    if (freeHead == NO_SLOT) freeTail = NO_SLOT;
    slot->nextFree = NO_SLOT;
    --freeCount;
    return index;
  }
  if (freshSlots == SLOT_COUNT) {
    // Every slot is live or retired: as fatal as an exhausted heap.
    std::fputs("Memory allocation failed!\n", stderr);
    rukExitProcess(1);
  }
  uint32_t index = freshSlots++;
  if ((index & (CHUNK_SIZE - 1)) == 0) {
    auto* chunk = static_cast<Slot*>(rukAllocate(CHUNK_SIZE * sizeof(Slot)));
    for (uint32_t i = 0; i < CHUNK_SIZE; ++i) new (chunk + i) Slot();
    chunks[index >> CHUNK_BITS].store(chunk, std::memory_order_release);
  }
  return index;
}

}  // namespace

uint32_t nativeRefIssue(NativeKind kind, void* record) {
  std::lock_guard lock(tableMutex);
  uint32_t index = takeSlot();
  Slot* slot = slotAt(index);
  uint32_t generation = generationOf(slot->state.load(std::memory_order_relaxed));
  slot->record.store(record, std::memory_order_relaxed);
  slot->state.store(stateOf(generation, static_cast<uint32_t>(kind)), std::memory_order_release);
  return generation << INDEX_BITS | index;
}

void* nativeRefResolve(uint32_t reference, NativeKind kind, bool* isValid) {
  if (isValid != nullptr) *isValid = reference == 0;
  if (reference == 0) return nullptr;
  const uint32_t generation = reference >> INDEX_BITS;
  const Slot* slot = slotAt(reference & INDEX_MASK);
  if (slot == nullptr) return nullptr;
  const uint32_t expected = stateOf(generation, static_cast<uint32_t>(kind));
  if (slot->state.load(std::memory_order_acquire) != expected) return nullptr;
  void* record = slot->record.load(std::memory_order_relaxed);
  // A revoke (and reissue) between the two state loads changes the state.
  std::atomic_thread_fence(std::memory_order_acquire);
  if (slot->state.load(std::memory_order_relaxed) != expected) return nullptr;
  if (isValid != nullptr) *isValid = true;
  return record;
}

bool nativeRefRevoke(uint32_t reference, NativeKind kind) {
  if (reference == 0) return false;
  std::lock_guard lock(tableMutex);
  const uint32_t index = reference & INDEX_MASK;
  const uint32_t generation = reference >> INDEX_BITS;
  Slot* slot = slotAt(index);
  if (slot == nullptr) return false;
  if (slot->state.load(std::memory_order_relaxed) != stateOf(generation, static_cast<uint32_t>(kind))) {
    return false;
  }
  const uint32_t next = generation + 1;
  if (next == GENERATION_LIMIT) {
    slot->state.store(stateOf(0, 0), std::memory_order_release);  // retired: nothing resolves here
    slot->record.store(nullptr, std::memory_order_relaxed);
    return true;
  }
  slot->state.store(stateOf(next, 0), std::memory_order_release);
  slot->record.store(nullptr, std::memory_order_relaxed);
  if (freeTail == NO_SLOT) {
    freeHead = index;
  } else {
    slotAt(freeTail)->nextFree = index;
  }
  freeTail = index;
  ++freeCount;
  return true;
}
