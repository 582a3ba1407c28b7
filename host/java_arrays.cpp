// Objects and arrays: a two-word handle (block address, length) and a block.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/host_kit.h"

namespace kelhost {
namespace {

JHandle newBlock(std::size_t count, std::size_t elementBytes) {
  if (count > UINT32_MAX / elementBytes) {
    std::fprintf(stderr, "kelhost: an array of %zu elements is too large\n", count);
    std::abort();
  }
  auto* handle = static_cast<uint32_t*>(heapAllocate(2 * sizeof(uint32_t)));
  handle[0] = address32(heapAllocate(count * elementBytes));
  handle[1] = static_cast<uint32_t>(count);
  return address32(handle);
}

template <class T>
JHandle newFilled(std::span<const T> values) {
  const JHandle array = newBlock(values.size(), sizeof(T));
  if (!values.empty()) std::memcpy(fieldsOf(array), values.data(), values.size_bytes());
  return array;
}

}  // namespace

JHandle newObject(int fieldCount) { return newBlock(fieldCount < 0 ? 0 : static_cast<std::size_t>(fieldCount), 4); }

JHandle newIntArray(std::size_t length) { return newBlock(length, 4); }
JHandle newFloatArray(std::size_t length) { return newBlock(length, 4); }
JHandle newByteArray(std::size_t length) { return newBlock(length, 1); }
JHandle newIntArray(std::span<const int32_t> values) { return newFilled(values); }
JHandle newIntArray(std::initializer_list<int32_t> values) {
  return newFilled(std::span(values.begin(), values.size()));
}
JHandle newFloatArray(std::span<const float> values) { return newFilled(values); }
JHandle newFloatArray(std::initializer_list<float> values) {
  return newFilled(std::span(values.begin(), values.size()));
}
JHandle newByteArray(std::span<const uint8_t> values) { return newFilled(values); }

uint32_t lengthOf(JHandle handle) { return pointer32<const uint32_t>(handle)[1]; }

}  // namespace kelhost
