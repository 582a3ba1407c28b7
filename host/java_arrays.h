// Thin value classes over Java arrays in the host kit's heap. A default-made
// array is the null reference.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "host/host_kit.h"

namespace kelhost {

template <class T>
struct JavaArray {
  JHandle handle = 0;

  static JavaArray create(std::size_t length) {
    if constexpr (sizeof(T) == 1) {
      return {newByteArray(length)};
    } else {
      return {newIntArray(length)};
    }
  }
  static JavaArray of(std::span<const T> values) {
    JavaArray array = create(values.size());
    std::copy(values.begin(), values.end(), array.data());
    return array;
  }
  static JavaArray of(std::initializer_list<T> values) { return of(std::span(values.begin(), values.size())); }

  bool isNull() const { return handle == 0; }
  T* data() const { return elementsOf<T>(handle); }
  std::size_t size() const { return handle == 0 ? 0 : lengthOf(handle); }
  std::span<T> span() const { return {data(), size()}; }
  T& operator[](std::size_t i) const { return data()[i]; }
};

using IntArray = JavaArray<int32_t>;
using FloatArray = JavaArray<float>;
using ByteArray = JavaArray<uint8_t>;

// A new object of `fieldCount` fields whose first fields hold `words`.
inline JHandle newObjectOf(int fieldCount, std::initializer_list<JArg> words) {
  const JHandle object = newObject(fieldCount);
  int field = 0;
  for (const JArg& word : words) setWord(object, field++, word.word);
  return object;
}

// Calls a stub, with the words of the arguments in order.
inline void callVoid(const char* stub, std::initializer_list<JArg> args) { callStub(stub, args); }
inline bool callBoolean(const char* stub, std::initializer_list<JArg> args) { return callStub(stub, args).boolean(); }
inline float callFloat(const char* stub, std::initializer_list<JArg> args) { return callStub(stub, args).real(); }

}  // namespace kelhost
