// One native call through the bridge: the Java objects and arrays it is given
// laid out as field blocks and element blocks below 4 GiB, the operand-stack
// slots built, the library's stub called, and everything the stub changed
// written back.
//
//   Call call(env);
//   const JHandle self = call.object(jself, roles::kContext);
//   call.run(stub, {self, word(rgb)});
//
// An object met twice in one call (this as a source, say) is laid out once,
// so natives see the aliasing they test for. Arrays are pinned for the stub:
// their elements are passed in place when they lie below 4 GiB, else copied
// (and copied back only when the stub may write them). Primitive fields whose
// words the stub changed are written back to the Java objects.
//
// A Java exception (a class that does not fit its role, an array check that
// failed) leaves the call failed: `run` then does not call the stub.
#pragma once

#include <jni.h>

#include <bit>
#include <cstdint>
#include <initializer_list>

#include "host/host_kit.h"
#include "jni/java_layout.h"

namespace kelbridge {

inline uint32_t word(jint value) { return static_cast<uint32_t>(value); }
inline uint32_t word(jfloat value) { return std::bit_cast<uint32_t>(value); }
inline uint32_t word(jboolean value) { return value ? 1u : 0u; }

class Call {
 public:
  explicit Call(JNIEnv* env);
  ~Call();
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  JNIEnv* env() const { return env_; }

  // The handle of an object laid out in a role (0 for null).
  JHandle object(jobject object, const Role& role);
  // The handle of an array argument (0 for null). `written`: the stub may
  // write its elements.
  JHandle array(jarray array, Want kind, bool written);

  // True once a Java exception is pending.
  bool failed() const;
  // Throws ArrayIndexOutOfBoundsException unless the array (when not null)
  // has at least `needed` elements; `what` names it in the message.
  void requireLength(JHandle array, uint64_t needed, const char* what);
  // Throws an exception of the class with the message; the call is failed.
  void fail(const char* exceptionClass, const std::string& message);

  // Calls the stub with the argument words (this first) and returns slot 0
  // after it, or 0 without calling when the call has failed.
  uint32_t run(kelhost::StubFunction stub, std::initializer_list<uint32_t> words);

  // The field word of a laid-out object after `run`, for bookkeeping.
  static uint32_t fieldWord(JHandle object, int field) { return fieldsOf(object)[field]; }
  static uint32_t lengthOf(JHandle handle) { return handle == 0 ? 0 : kelhost::lengthOf(handle); }

 private:
  struct LaidObject {
    jobject ref;
    const ClassLayout* layout;
    uint32_t* block;     // the field block the stub sees
    uint32_t* snapshot;  // the words as laid out, to find what the stub changed
    uint64_t laid;       // bit n: field n has been laid out
    JHandle handle;
  };
  struct LaidArray {
    jarray ref;
    uint32_t* handle;  // [element block address, length]
    std::size_t bytes;
    bool written;
    void* pinned;  // while held
    void* copy;    // the copy below 4 GiB, or null when passed in place
  };
  static constexpr int kMaxObjects = 32;
  static constexpr int kMaxArrays = 24;

  LaidObject* find(jobject object);
  bool layOutFields(LaidObject& o, const Role& role);
  bool pinArrays();
  void unpinArrays();
  void writeBack();

  JNIEnv* env_;
  LaidObject objects_[kMaxObjects];
  LaidArray arrays_[kMaxArrays];
  int objectCount_ = 0;
  int arrayCount_ = 0;
  bool failed_ = false;
};

}  // namespace kelbridge
