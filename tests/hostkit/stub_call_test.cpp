// Calling stubs by name: argument slots, result conventions, lookup failures.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <thread>

#include "host/host_kit.h"

using namespace kelhost;

namespace {

// What the fake stubs saw.
struct Seen {
  uint32_t slots[6];
  uintptr_t slotAddress;
  void* env;
} seen;

}  // namespace

// Echo: records its first six slots, then returns slot 1 as a float-style
// result (slot 0 := slot 1, pointer past slot 0).
extern "C" __attribute__((visibility("default"))) uint32_t* Java_test_Fake_echo_stub(uint32_t* slots, void* env) {
  for (int i = 0; i < 6; ++i) seen.slots[i] = slots[i];
  seen.slotAddress = reinterpret_cast<uintptr_t>(slots);
  seen.env = env;
  slots[0] = slots[1];
  return slots + 1;
}

// A void native: leaves the stack as it was.
extern "C" __attribute__((visibility("default"))) uint32_t* Java_test_Fake_nothing_stub(uint32_t* slots, void*) {
  return slots;
}

namespace {

TEST(StubCall, ArgumentsOccupyConsecutiveSlotsBitForBit) {
  const JHandle object = newObject(2);
  const StubResult result = callStub("Java_test_Fake_echo_stub", {object, -0.0f, 7, true, false, -1});
  EXPECT_EQ(seen.slots[0], object);
  EXPECT_EQ(seen.slots[1], 0x80000000u);
  EXPECT_EQ(seen.slots[2], 7u);
  EXPECT_EQ(seen.slots[3], 1u);
  EXPECT_EQ(seen.slots[4], 0u);
  EXPECT_EQ(seen.slots[5], 0xFFFFFFFFu);
  EXPECT_LT(seen.slotAddress, uintptr_t{1} << 32) << "the operand stack lives below 4 GiB";
  EXPECT_EQ(seen.env, nullptr);

  EXPECT_EQ(result.advanced, 1);
  EXPECT_EQ(result.slot0, 0x80000000u);
  EXPECT_TRUE(std::signbit(result.real()));
  EXPECT_EQ(lastStubResult().advanced, 1);
}

// A heap rewound past a thread's first call must not hand its operand stack
// out again: an object allocated afterwards keeps its fields across calls.
TEST(StubCall, RewindingTheHeapKeepsTheOperandStackApart) {
  std::thread([] {
    const HeapMark mark = heapMark();
    callStub("Java_test_Fake_nothing_stub", {1});
    heapRewind(mark);
    const JHandle object = newObject(8);
    for (int field = 0; field < 8; ++field) setInt(object, field, 100 + field);
    callStub("Java_test_Fake_echo_stub", {1, 2, 3, 4, 5, 6});
    for (int field = 0; field < 8; ++field) EXPECT_EQ(getInt(object, field), 100 + field);
  }).join();
}

TEST(StubCall, NamedArgumentHelpersKeepWords) {
  callStub("Java_test_Fake_echo_stub", {jref(0), jfloat(1.0f), jint(INT32_MIN), jbool(true), jbits(0x7FC00001u), 0u});
  EXPECT_EQ(seen.slots[1], 0x3F800000u);
  EXPECT_EQ(seen.slots[2], 0x80000000u);
  EXPECT_EQ(seen.slots[3], 1u);
  EXPECT_EQ(seen.slots[4], 0x7FC00001u);
}

TEST(StubCall, VoidResultLeavesNoWord) {
  const StubResult result = callStub("Java_test_Fake_nothing_stub", {42});
  EXPECT_EQ(result.advanced, 0);
  EXPECT_EQ(result.slot0, 42u);
}

TEST(StubCall, LookupFindsProcessExportsAndCachesThem) {
  EXPECT_EQ(lookupStub("Java_test_Fake_no_such_stub"), nullptr);
  const StubFunction echo = findStub("Java_test_Fake_echo_stub");
  EXPECT_EQ(echo, &Java_test_Fake_echo_stub);
  EXPECT_EQ(findStub("Java_test_Fake_echo_stub"), echo);
  EXPECT_EQ(callStub(echo, {1, 2}).slot0, 2u);
}

TEST(StubCallDeathTest, MissingStubNamesItself) {
  EXPECT_DEATH(callStub("Java_test_Fake_missing_stub", {}),
               "no stub named Java_test_Fake_missing_stub in the running process");
}

TEST(StubCallDeathTest, UnloadableLibraryIsReported) {
  EXPECT_DEATH(useStubLibrary("/nonexistent/libnothing.so"), "cannot load /nonexistent/libnothing.so");
}

TEST(StubCall, StubsResolveInALoadedLibrary) {
  // The renderer library exports no test stubs: a name found in the process
  // is not found once lookups go to the library, and comes back afterwards.
  useStubLibrary(KELRUK_LIBRARY_PATH);
  EXPECT_EQ(lookupStub("Java_test_Fake_echo_stub"), nullptr);
  useStubLibrary(nullptr);
  EXPECT_NE(lookupStub("Java_test_Fake_echo_stub"), nullptr);
}

}  // namespace
