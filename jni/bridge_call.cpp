#include "jni/bridge_call.h"

#include <cstring>
#include <string>

#include "jni/call_memory.h"
#include "jni/java_errors.h"

namespace kelbridge {
namespace {

constexpr uint64_t kBelow4GiB = uint64_t{1} << 32;
constexpr std::size_t kMaxSlots = 16;

std::size_t elementBytes(Want kind) { return kind == Want::ByteArray ? 1 : 4; }

uint32_t readWord(JNIEnv* env, jobject object, const JavaField& field) {
  switch (field.kind) {
    case FieldKind::Int: return static_cast<uint32_t>(env->GetIntField(object, field.id));
    case FieldKind::Float: return std::bit_cast<uint32_t>(env->GetFloatField(object, field.id));
    case FieldKind::Boolean: return env->GetBooleanField(object, field.id) ? 1u : 0u;
    case FieldKind::Byte: return static_cast<uint32_t>(env->GetByteField(object, field.id));
    case FieldKind::Short: return static_cast<uint32_t>(env->GetShortField(object, field.id));
    case FieldKind::Char: return env->GetCharField(object, field.id);
    default: return 0;
  }
}

void writeWord(JNIEnv* env, jobject object, const JavaField& field, uint32_t value) {
  switch (field.kind) {
    case FieldKind::Int: env->SetIntField(object, field.id, static_cast<jint>(value)); break;
    case FieldKind::Float: env->SetFloatField(object, field.id, std::bit_cast<jfloat>(value)); break;
    case FieldKind::Boolean: env->SetBooleanField(object, field.id, value != 0); break;
    case FieldKind::Byte: env->SetByteField(object, field.id, static_cast<jbyte>(value)); break;
    case FieldKind::Short: env->SetShortField(object, field.id, static_cast<jshort>(value)); break;
    case FieldKind::Char: env->SetCharField(object, field.id, static_cast<jchar>(value)); break;
    default: break;
  }
}

}  // namespace

Call::Call(JNIEnv* env) : env_(env) { enterCall(); }

Call::~Call() { leaveCall(); }

bool Call::failed() const { return failed_ || env_->ExceptionCheck(); }

void Call::fail(const char* exceptionClass, const std::string& message) {
  throwJava(env_, exceptionClass, message);
  failed_ = true;
}

void Call::requireLength(JHandle array, uint64_t needed, const char* what) {
  if (array == 0 || failed_) return;
  const uint32_t length = lengthOf(array);
  if (length >= needed) return;
  fail("java/lang/ArrayIndexOutOfBoundsException", std::string(what) + " holds " + std::to_string(length) +
                                                       " elements where " + std::to_string(needed) + " are needed");
}

Call::LaidObject* Call::find(jobject object) {
  for (int i = 0; i < objectCount_; ++i) {
    if (env_->IsSameObject(objects_[i].ref, object)) return &objects_[i];
  }
  return nullptr;
}

JHandle Call::object(jobject object, const Role& role) {
  if (object == nullptr || failed()) return 0;
  LaidObject* o = find(object);
  if (o != nullptr) {
    if (!layoutFits(env_, *o->layout, role) || !layOutFields(*o, role)) failed_ = true;
    return o->handle;
  }
  if (objectCount_ == kMaxObjects) {
    fail("java/lang/IllegalStateException", "a native call laid out more objects than the bridge holds");
    return 0;
  }
  const ClassLayout* layout = layoutFor(env_, object, role);
  if (layout == nullptr) {
    failed_ = true;
    return 0;
  }
  const std::size_t words = layout->words.size();
  auto* memory = static_cast<uint32_t*>(callAllocate((2 + 2 * words) * sizeof(uint32_t)));
  o = &objects_[objectCount_++];
  *o = {object, layout, memory + 2, memory + 2 + words, 0, kelhost::address32(memory)};
  memory[0] = kelhost::address32(o->block);
  memory[1] = static_cast<uint32_t>(words);
  std::memset(o->block, 0, 2 * words * sizeof(uint32_t));
  if (!layOutFields(*o, role)) failed_ = true;
  return o->handle;
}

bool Call::layOutFields(LaidObject& o, const Role& role) {
  for (const FieldUse& use : role.uses) {
    const uint64_t bit = uint64_t{1} << use.field;
    if (o.laid & bit) continue;
    const JavaField& field = o.layout->words[static_cast<std::size_t>(use.field)];
    if (use.want == Want::Word) {
      o.block[use.field] = o.snapshot[use.field] = readWord(env_, o.ref, field);
      o.laid |= bit;
      continue;
    }
    if (use.want != Want::Object && role.gate >= 0 && o.block[role.gate] == 0) continue;
    jobject value = env_->GetObjectField(o.ref, field.id);
    const JHandle handle =
        use.want == Want::Object ? object(value, *use.child) : array(static_cast<jarray>(value), use.want, use.written);
    if (failed()) return false;
    o.block[use.field] = o.snapshot[use.field] = handle;
    o.laid |= bit;
  }
  return true;
}

JHandle Call::array(jarray array, Want kind, bool written) {
  if (array == nullptr || failed()) return 0;
  for (int i = 0; i < arrayCount_; ++i) {
    if (env_->IsSameObject(arrays_[i].ref, array)) {
      arrays_[i].written |= written;
      return kelhost::address32(arrays_[i].handle);
    }
  }
  if (arrayCount_ == kMaxArrays) {
    fail("java/lang/IllegalStateException", "a native call passed more arrays than the bridge holds");
    return 0;
  }
  const auto length = static_cast<uint32_t>(env_->GetArrayLength(array));
  auto* handle = static_cast<uint32_t*>(callAllocate(2 * sizeof(uint32_t)));
  handle[0] = 0;
  handle[1] = length;
  arrays_[arrayCount_++] = {array, handle, std::size_t{length} * elementBytes(kind), written, nullptr, nullptr};
  return kelhost::address32(handle);
}

bool Call::pinArrays() {
  for (int i = 0; i < arrayCount_; ++i) {
    LaidArray& a = arrays_[i];
    a.pinned = env_->GetPrimitiveArrayCritical(a.ref, nullptr);
    if (a.pinned == nullptr) {
      unpinArrays();
      if (!env_->ExceptionCheck()) fail("java/lang/OutOfMemoryError", "cannot pin an array for a native call");
      failed_ = true;
      return false;
    }
    const auto address = reinterpret_cast<uintptr_t>(a.pinned);
    if (address + a.bytes <= kBelow4GiB) {
      a.handle[0] = static_cast<uint32_t>(address);
      continue;
    }
    a.copy = callAllocate(a.bytes);
    std::memcpy(a.copy, a.pinned, a.bytes);
    a.handle[0] = kelhost::address32(a.copy);
    if (!a.written) {
      env_->ReleasePrimitiveArrayCritical(a.ref, a.pinned, JNI_ABORT);
      a.pinned = nullptr;
    }
  }
  return true;
}

void Call::unpinArrays() {
  for (int i = arrayCount_ - 1; i >= 0; --i) {
    LaidArray& a = arrays_[i];
    if (a.pinned == nullptr) continue;
    if (a.copy != nullptr && a.written) std::memcpy(a.pinned, a.copy, a.bytes);
    env_->ReleasePrimitiveArrayCritical(a.ref, a.pinned, a.written ? 0 : JNI_ABORT);
    a.pinned = nullptr;
  }
}

void Call::writeBack() {
  for (int i = 0; i < objectCount_; ++i) {
    const LaidObject& o = objects_[i];
    for (uint64_t laid = o.laid; laid != 0; laid &= laid - 1) {
      const int field = std::countr_zero(laid);
      if (o.block[field] != o.snapshot[field]) {
        writeWord(env_, o.ref, o.layout->words[static_cast<std::size_t>(field)], o.block[field]);
      }
    }
  }
}

uint32_t Call::run(kelhost::StubFunction stub, std::initializer_list<uint32_t> words) {
  if (failed() || !pinArrays()) return 0;
  JSlot slots[kMaxSlots] = {};
  std::size_t n = 0;
  for (uint32_t w : words) slots[n++] = w;
  stub(slots, nullptr);
  unpinArrays();
  writeBack();
  return slots[0];
}

}  // namespace kelbridge
