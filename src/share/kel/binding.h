// The calling convention between the Java virtual machine and the natives.
//
// A stub receives a pointer to its argument words on the Java operand stack
// (slot 0 first; `this` in slot 0 for instance methods) and the environment
// pointer, which no stub uses. It calls the method's implementation function
// with the slot words converted to the implementation's parameter types
// (floats keep their exact bit patterns), and returns:
//   void result    -> the slot pointer unchanged,
//   boolean result -> slot 0 := 0 or 1, pointer to slot 1,
//   float result   -> slot 0 := the float's bits, pointer to slot 1.
// Implementation functions of static methods take a leading `JStatic*`
// placeholder, which the stub passes as null.
//
// Handles, field blocks and element blocks are addresses below 4 GiB: a handle
// is the address of two words whose first is the address of the object's
// field block (or the array's element block). A null reference is handle 0.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#define KELRUK_EXPORT extern "C" __attribute__((visibility("default")))

using JSlot = uint32_t;
using JHandle = uint32_t;
struct JStatic;

// The field block (or element block) a non-null handle refers to.
inline uint32_t* fieldsOf(JHandle handle) {
  const uint32_t* twoWords = reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(handle));
  return reinterpret_cast<uint32_t*>(static_cast<uintptr_t>(twoWords[0]));
}

// The element block of an array handle, typed; null for a null handle.
template <class T>
inline T* elementsOf(JHandle array) {
  return array == 0 ? nullptr : reinterpret_cast<T*>(fieldsOf(array));
}

// Float fields live in place as their IEEE-754 bit patterns.
inline float fieldFloat(const uint32_t* fields, int index) { return std::bit_cast<float>(fields[index]); }
inline void setFieldFloat(uint32_t* fields, int index, float value) { fields[index] = std::bit_cast<uint32_t>(value); }

namespace binding_detail {

template <class F>
struct ImplTraits;
template <class R, class... A>
struct ImplTraits<R (*)(A...)> {
  using Result = R;
  using Args = std::tuple<A...>;
  static constexpr std::size_t arity = sizeof...(A);
};

template <class T>
inline T fromSlot(JSlot word) {
  if constexpr (std::is_same_v<T, float>) {
    return std::bit_cast<float>(word);
  } else if constexpr (std::is_same_v<T, bool>) {
    return word != 0;
  } else {
    static_assert(std::is_integral_v<T> && sizeof(T) == 4, "slot arguments are 32-bit words");
    return static_cast<T>(word);
  }
}

template <class Args>
inline constexpr bool takesPlaceholder = [] {
  if constexpr (std::tuple_size_v<Args> == 0) {
    return false;
  } else {
    return std::is_same_v<std::tuple_element_t<0, Args>, JStatic*>;
  }
}();

}  // namespace binding_detail

// The body of every stub: unpack the slots, call the implementation, push the
// result.
template <auto Impl>
inline JSlot* invokeStub(JSlot* slots) {
  using Traits = binding_detail::ImplTraits<decltype(Impl)>;
  using Args = typename Traits::Args;
  using Result = typename Traits::Result;
  constexpr bool isStatic = binding_detail::takesPlaceholder<Args>;
  constexpr std::size_t first = isStatic ? 1 : 0;

  auto call = [&]<std::size_t... I>(std::index_sequence<I...>)->Result {
    if constexpr (isStatic) {
      return Impl(nullptr, binding_detail::fromSlot<std::tuple_element_t<I + first, Args>>(slots[I])...);
    } else {
      return Impl(binding_detail::fromSlot<std::tuple_element_t<I, Args>>(slots[I])...);
    }
  };
  constexpr auto indices = std::make_index_sequence<Traits::arity - first>{};

  if constexpr (std::is_void_v<Result>) {
    call(indices);
    return slots;
  } else if constexpr (std::is_same_v<Result, bool>) {
    slots[0] = call(indices) ? 1u : 0u;
    return slots + 1;
  } else if constexpr (std::is_same_v<Result, float>) {
    slots[0] = std::bit_cast<JSlot>(call(indices));
    return slots + 1;
  } else {
    static_assert(std::is_void_v<Result>, "natives return void, boolean or float");
  }
}

// Defines the exported stub of one native: KELRUK_STUB(kel_ruk_KELRendGraphics3D_doRender)
// exports Java_kel_ruk_KELRendGraphics3D_doRender_stub, which calls the
// implementation function kel_ruk_KELRendGraphics3D_doRender.
#define KELRUK_STUB(implementation)                                                \
  KELRUK_EXPORT JSlot* Java_##implementation##_stub(JSlot* slots, void* /*env*/);  \
  KELRUK_EXPORT JSlot* Java_##implementation##_stub(JSlot* slots, void* /*env*/) { \
    return invokeStub<&implementation>(slots);                                     \
  }
