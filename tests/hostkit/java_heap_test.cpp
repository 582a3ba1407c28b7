// The Java heap: placement below 4 GiB, zeroing, handles and field words.
#include <gtest/gtest.h>
#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/host_kit.h"
#include "platform/low_memory.h"

using namespace kelhost;

namespace {

uintptr_t addressOf(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(JavaHeap, AllocationsAreBelow4GiBAlignedAndZeroed) {
  for (std::size_t bytes : {1u, 3u, 16u, 100u, 65536u}) {
    auto* memory = static_cast<unsigned char*>(heapAllocate(bytes));
    EXPECT_LT(addressOf(memory) + bytes, uintptr_t{1} << 32);
    EXPECT_EQ(addressOf(memory) % 16, 0u);
    for (std::size_t i = 0; i < bytes; ++i) ASSERT_EQ(memory[i], 0) << "byte " << i << " of " << bytes;
  }
}

TEST(JavaHeap, RewoundMemoryIsZeroedWhenHandedOutAgain) {
  const HeapMark mark = heapMark();
  auto* first = static_cast<uint32_t*>(heapAllocate(64));
  for (int i = 0; i < 16; ++i) first[i] = 0xDEADBEEF;
  heapRewind(mark);
  EXPECT_EQ(heapUsed(), mark);
  auto* second = static_cast<uint32_t*>(heapAllocate(64));
  EXPECT_EQ(second, first);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(second[i], 0u);
}

TEST(JavaHeap, AllocationsDoNotOverlap) {
  auto* a = static_cast<unsigned char*>(heapAllocate(5));
  auto* b = static_cast<unsigned char*>(heapAllocate(5));
  EXPECT_GE(addressOf(b), addressOf(a) + 5 + 1);
}

TEST(JavaObjects, HandleFirstWordIsTheFieldBlock) {
  const JHandle object = newObject(8);
  ASSERT_NE(object, 0u);
  const auto* twoWords = pointer32<const uint32_t>(object);
  EXPECT_EQ(twoWords[0], address32(fieldsOf(object)));
  EXPECT_EQ(lengthOf(object), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(getWord(object, i), 0u);
}

TEST(JavaObjects, FieldRoundTripsKeepBitPatterns) {
  const JHandle object = newObject(4);
  setFloat(object, 0, -0.0f);
  setFloat(object, 1, 1.5f);
  setInt(object, 2, -7);
  setHandle(object, 3, object);
  EXPECT_EQ(getWord(object, 0), 0x80000000u);
  EXPECT_TRUE(std::signbit(getFloat(object, 0)));
  EXPECT_EQ(getWord(object, 1), 0x3FC00000u);
  EXPECT_EQ(getInt(object, 2), -7);
  EXPECT_EQ(getWord(object, 2), 0xFFFFFFF9u);
  EXPECT_EQ(getHandle(object, 3), object);

  const uint32_t nanWithPayload = 0x7FC01234u;
  setWord(object, 1, nanWithPayload);
  EXPECT_EQ(std::bit_cast<uint32_t>(getFloat(object, 1)), nanWithPayload);
}

TEST(JavaArrays, CreatedFromValuesWithLengths) {
  const JHandle ints = newIntArray({1, -2, 3});
  const JHandle floats = newFloatArray({0.25f, -0.0f});
  const std::vector<uint8_t> bytes = {9, 8, 7, 6, 5};
  const JHandle byteArray = newByteArray(bytes);
  ASSERT_EQ(lengthOf(ints), 3u);
  ASSERT_EQ(lengthOf(floats), 2u);
  ASSERT_EQ(lengthOf(byteArray), 5u);
  EXPECT_EQ(intElements(ints)[1], -2);
  EXPECT_EQ(std::bit_cast<uint32_t>(floatElements(floats)[1]), 0x80000000u);
  EXPECT_EQ(byteSpan(byteArray)[4], 5);
  EXPECT_EQ(addressOf(elementsOf<uint8_t>(byteArray)) % 16, 0u);

  const JHandle empty = newIntArray(std::size_t{0});
  EXPECT_EQ(lengthOf(empty), 0u);
  EXPECT_TRUE(intSpan(0).empty());
}

TEST(JavaHeapDeathTest, AddressAbove4GiBIsRejected) {
  EXPECT_DEATH(address32(reinterpret_cast<void*>(uintptr_t{1} << 33)), "does not fit in 32 bits");
}

// Where MAP_32BIT is missing or ignored (other architectures, emulators) the
// heap is placed by probing low addresses; a fresh process, so that the heap
// is made there. The child reports what it found wrong.
TEST(JavaHeapDeathTest, PlacedBelow4GiBByProbingWithoutMap32Bit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto probedHeap = [] {
    kelplatform::allowMap32Bit(false);
    auto* first = static_cast<unsigned char*>(heapAllocate(100));
    const std::size_t rest = heapCapacity() - heapUsed() - 16;  // the heap's last bytes, before its last gap
    auto* last = static_cast<unsigned char*>(heapAllocate(rest));
    const char* fault = nullptr;
    if (addressOf(first) % 16 != 0) fault = "misaligned";
    if (addressOf(last) + rest > uintptr_t{1} << 32) fault = "not below 4 GiB";
    if (std::any_of(first, first + 100, [](unsigned char b) { return b != 0; }) || last[rest - 1] != 0)
      fault = "not zeroed";
    last[rest - 1] = 1;
#if defined(__SANITIZE_ADDRESS__)
    if (!__asan_address_is_poisoned(first + 100) || !__asan_address_is_poisoned(last + rest))
      fault = "gap not poisoned";
#endif
    if (fault != nullptr) std::fprintf(stderr, "%s\n", fault);
    std::exit(fault == nullptr ? 0 : 1);
  };
  EXPECT_EXIT(probedHeap(), ::testing::ExitedWithCode(0), "");
}

TEST(JavaHeapDeathTest, ExhaustionIsReported) {
  EXPECT_DEATH(heapAllocate(heapCapacity() + 1), "Java heap is exhausted");
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
namespace {

// The gap after each allocation is poisoned, so a native writing one element
// past an array is caught at once.
TEST(JavaHeapDeathTest, WritingPastAnArrayIsCaught) {
  const JHandle bytes = newByteArray(5);
  volatile uint8_t* elements = byteElements(bytes);
  EXPECT_DEATH(elements[5] = 1, "use-after-poison");
  const JHandle ints = newIntArray(3);
  volatile int32_t* words = intElements(ints);
  EXPECT_DEATH(words[3] = 1, "use-after-poison");
}

}  // namespace
#endif
