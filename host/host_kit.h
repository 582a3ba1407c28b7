// The host kit: the Java virtual machine side of kelruk, for programs and tests.
//
// What a host may rely on:
// - The Java heap lies below 4 GiB and is never moved or collected. Every
//   allocation is zeroed and 16-byte aligned, and is followed by a gap that
//   is never handed out (under AddressSanitizer the gaps are poisoned, so a
//   native that runs past an array is caught).
// - A handle (`JHandle`, 32 bits) is the address of two words: the address of
//   the field block (object) or element block (array), then the number of
//   fields or elements. The library reads only the first word.
// - Fields and elements are 32-bit words (floats as their bit patterns); byte
//   arrays hold bytes. Field numbers are those of the Java field block.
// - `callStub` lays the argument words into consecutive slots of an operand
//   stack below 4 GiB, apart from the heap (one per thread), calls the
//   exported stub `JSlot* stub(JSlot* slots, void* env)` and reports slot 0 and how
//   far the returned pointer lies from the slots. Stubs are found by name in
//   the running process, or in the library named by `useStubLibrary`. A name
//   that is not found ends the process with a message naming it.
// - Everything here is thread-safe; the heap is shared by all threads.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "src/share/kel/binding.h"

namespace kelhost {

// ---------------------------------------------------------------------------
// The Java heap.

// Zeroed, 16-byte aligned memory below 4 GiB. Ends the process with a message
// when the heap is exhausted.
void* heapAllocate(std::size_t bytes);

// The 32-bit address of memory in the Java heap (or anywhere below 4 GiB);
// ends the process when the pointer does not fit in 32 bits.
uint32_t address32(const void* pointer);
template <class T = void>
inline T* pointer32(uint32_t address) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

// Bytes of the heap handed out so far (gaps included), and its capacity.
std::size_t heapUsed();
std::size_t heapCapacity();

// Rewinding: everything allocated after `heapMark()` is given back by
// `heapRewind(mark)`; handles allocated since then must not be used again.
using HeapMark = std::size_t;
HeapMark heapMark();
void heapRewind(HeapMark mark);

// ---------------------------------------------------------------------------
// Objects and arrays.

// A new object with `fieldCount` zeroed 32-bit fields.
JHandle newObject(int fieldCount);

JHandle newIntArray(std::size_t length);
JHandle newFloatArray(std::size_t length);
JHandle newByteArray(std::size_t length);
JHandle newIntArray(std::span<const int32_t> values);
JHandle newIntArray(std::initializer_list<int32_t> values);
JHandle newFloatArray(std::span<const float> values);
JHandle newFloatArray(std::initializer_list<float> values);
JHandle newByteArray(std::span<const uint8_t> values);

// The second word of the handle: number of fields or elements.
uint32_t lengthOf(JHandle handle);

// The field block / element block of a non-null handle.
inline uint32_t* blockOf(JHandle handle) { return fieldsOf(handle); }

// Typed field access by field number.
inline int32_t getInt(JHandle object, int field) { return static_cast<int32_t>(fieldsOf(object)[field]); }
inline void setInt(JHandle object, int field, int32_t value) { fieldsOf(object)[field] = static_cast<uint32_t>(value); }
inline uint32_t getWord(JHandle object, int field) { return fieldsOf(object)[field]; }
inline void setWord(JHandle object, int field, uint32_t value) { fieldsOf(object)[field] = value; }
inline float getFloat(JHandle object, int field) { return std::bit_cast<float>(fieldsOf(object)[field]); }
inline void setFloat(JHandle object, int field, float value) {
  fieldsOf(object)[field] = std::bit_cast<uint32_t>(value);
}
inline JHandle getHandle(JHandle object, int field) { return fieldsOf(object)[field]; }
inline void setHandle(JHandle object, int field, JHandle value) { fieldsOf(object)[field] = value; }

// Element access. The spans cover the whole array.
inline int32_t* intElements(JHandle array) { return elementsOf<int32_t>(array); }
inline float* floatElements(JHandle array) { return elementsOf<float>(array); }
inline uint8_t* byteElements(JHandle array) { return elementsOf<uint8_t>(array); }
inline std::span<int32_t> intSpan(JHandle array) { return {intElements(array), array ? lengthOf(array) : 0}; }
inline std::span<float> floatSpan(JHandle array) { return {floatElements(array), array ? lengthOf(array) : 0}; }
inline std::span<uint8_t> byteSpan(JHandle array) { return {byteElements(array), array ? lengthOf(array) : 0}; }

// ---------------------------------------------------------------------------
// Calling stubs.

// One argument word. Implicit from int, unsigned (handles), float and bool;
// floats keep their bit patterns, negative zero and NaN payloads included.
struct JArg {
  uint32_t word;
  JArg(int32_t value) : word(static_cast<uint32_t>(value)) {}
  JArg(uint32_t value) : word(value) {}
  JArg(float value) : word(std::bit_cast<uint32_t>(value)) {}
  JArg(bool value) : word(value ? 1u : 0u) {}
};
inline JArg jint(int32_t value) { return JArg(value); }
inline JArg jfloat(float value) { return JArg(value); }
inline JArg jbool(bool value) { return JArg(value); }
inline JArg jref(JHandle value) { return JArg(value); }
inline JArg jbits(uint32_t word) { return JArg(word); }

// What a stub left behind.
struct StubResult {
  uint32_t slot0;           // slot 0 after the call (the result, if any)
  std::ptrdiff_t advanced;  // returned pointer minus the slot pointer, in slots
  bool boolean() const { return slot0 != 0; }
  float real() const { return std::bit_cast<float>(slot0); }
};

using StubFunction = JSlot* (*)(JSlot* slots, void* env);

// From now on resolve stubs in the shared library at `path` (opened with
// dlopen); null goes back to the running process. Ends the process with the
// loader's message when the library cannot be opened.
void useStubLibrary(const char* path);

// The stub of that exported name; ends the process with a message when there
// is none.
StubFunction findStub(const char* name);
// The same, or null when there is none.
StubFunction lookupStub(const char* name);

// Test hook: while a router is set, every lookup asks it first (and nothing
// is cached), so a test can stand a recording stub in for any native. Null
// removes it.
using StubRouter = StubFunction (*)(const char* name);
void routeStubs(StubRouter router);

// Calls the stub `name` with the given argument words.
StubResult callStub(const char* name, std::initializer_list<JArg> args);
StubResult callStub(StubFunction stub, std::initializer_list<JArg> args);

// The result of the last stub call made by this thread.
const StubResult& lastStubResult();

}  // namespace kelhost
