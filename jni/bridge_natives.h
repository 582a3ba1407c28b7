// What the JNI functions of the bridge share: the exported name of each
// (Java_kel_<package>_<Class>_<method>), the library stub it calls (found by
// name once, then kept), and the one-line form of a native that only lays
// out its arguments, calls the stub and returns its result.
#pragma once

#include <jni.h>

#include <bit>

#include "host/host_kit.h"
#include "jni/bridge_call.h"
#include "jni/roles.h"

namespace kelbridge {

// The stub of that exported name in libkelruk.so; ends the process with a
// message naming it when the library has none.
kelhost::StubFunction resolveStub(const char* name);

template <class Result>
inline Result resultOf(uint32_t slot0) {
  if constexpr (std::is_same_v<Result, jfloat>) {
    return std::bit_cast<jfloat>(slot0);
  } else if constexpr (std::is_same_v<Result, jboolean>) {
    return slot0 != 0 ? JNI_TRUE : JNI_FALSE;
  } else {
    static_assert(std::is_void_v<Result>);
  }
}

}  // namespace kelbridge

#define KELRUK_JNI(Result, name) extern "C" JNIEXPORT Result JNICALL Java_kel_##name

#define KELRUK_LIBRARY_STUB(name)                                                                    \
  ([] {                                                                                              \
    static const ::kelhost::StubFunction stub = ::kelbridge::resolveStub("Java_kel_" #name "_stub"); \
    return stub;                                                                                     \
  }())

// A native whose arguments are the words listed after its parameters.
#define KELRUK_BRIDGE(Result, name, params, ...)                                              \
  KELRUK_JNI(Result, name) params {                                                           \
    ::kelbridge::Call call(env);                                                              \
    return ::kelbridge::resultOf<Result>(call.run(KELRUK_LIBRARY_STUB(name), {__VA_ARGS__})); \
  }
