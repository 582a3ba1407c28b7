#include "jni/java_layout.h"

#include <memory>
#include <mutex>

#include "jni/java_errors.h"

namespace kelbridge {
namespace {

constexpr jint kStaticModifier = 0x0008;  // java.lang.reflect.Modifier.STATIC

FieldKind kindOfType(const std::string& type) {
  if (type == "int") return FieldKind::Int;
  if (type == "float") return FieldKind::Float;
  if (type == "boolean") return FieldKind::Boolean;
  if (type == "byte") return FieldKind::Byte;
  if (type == "short") return FieldKind::Short;
  if (type == "char") return FieldKind::Char;
  if (type == "long") return FieldKind::Long;
  if (type == "double") return FieldKind::Double;
  if (type == "[I") return FieldKind::IntArray;
  if (type == "[F") return FieldKind::FloatArray;
  if (type == "[B") return FieldKind::ByteArray;
  if (!type.empty() && type[0] == '[') return FieldKind::OtherArray;
  return FieldKind::Object;
}

std::string stringOf(JNIEnv* env, jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  if (chars == nullptr) return {};
  std::string result(chars);
  env->ReleaseStringUTFChars(text, chars);
  return result;
}

struct Reflection {
  jmethodID getDeclaredFields, getName, getModifiers, getType, fieldName;

  explicit Reflection(JNIEnv* env) {
    jclass classClass = env->FindClass("java/lang/Class");
    jclass fieldClass = env->FindClass("java/lang/reflect/Field");
    getDeclaredFields = env->GetMethodID(classClass, "getDeclaredFields", "()[Ljava/lang/reflect/Field;");
    getName = env->GetMethodID(classClass, "getName", "()Ljava/lang/String;");
    getModifiers = env->GetMethodID(fieldClass, "getModifiers", "()I");
    getType = env->GetMethodID(fieldClass, "getType", "()Ljava/lang/Class;");
    fieldName = env->GetMethodID(fieldClass, "getName", "()Ljava/lang/String;");
    env->DeleteLocalRef(classClass);
    env->DeleteLocalRef(fieldClass);
  }
};

std::string classNameOf(JNIEnv* env, const Reflection& r, jclass cls) {
  auto name = static_cast<jstring>(env->CallObjectMethod(cls, r.getName));
  if (env->ExceptionCheck() || name == nullptr) return {};
  std::string result = stringOf(env, name);
  env->DeleteLocalRef(name);
  return result;
}

// Appends the instance fields of cls and its superclasses, the superclass's
// first. False with an exception pending when reflection fails.
bool appendFields(JNIEnv* env, const Reflection& r, jclass cls, std::vector<JavaField>& words) {
  jclass super = env->GetSuperclass(cls);
  if (super != nullptr) {
    const bool ok = appendFields(env, r, super, words);
    env->DeleteLocalRef(super);
    if (!ok) return false;
  }
  auto fields = static_cast<jobjectArray>(env->CallObjectMethod(cls, r.getDeclaredFields));
  if (fields == nullptr || env->ExceptionCheck()) return false;
  const jsize count = env->GetArrayLength(fields);
  for (jsize i = 0; i < count; ++i) {
    jobject field = env->GetObjectArrayElement(fields, i);
    const jint modifiers = env->CallIntMethod(field, r.getModifiers);
    if (env->ExceptionCheck()) return false;
    if ((modifiers & kStaticModifier) == 0) {
      auto type = static_cast<jclass>(env->CallObjectMethod(field, r.getType));
      if (env->ExceptionCheck()) return false;
      auto name = static_cast<jstring>(env->CallObjectMethod(field, r.fieldName));
      if (env->ExceptionCheck()) return false;
      const std::string typeName = classNameOf(env, r, type);
      if (env->ExceptionCheck()) return false;
      JavaField entry{env->FromReflectedField(field), kindOfType(typeName), stringOf(env, name)};
      const bool wide = entry.kind == FieldKind::Long || entry.kind == FieldKind::Double;
      words.push_back(entry);
      if (wide) words.push_back({nullptr, FieldKind::SecondWord, entry.name});
      env->DeleteLocalRef(type);
      env->DeleteLocalRef(name);
    }
    env->DeleteLocalRef(field);
  }
  env->DeleteLocalRef(fields);
  return !env->ExceptionCheck();
}

struct LayoutCache {
  std::mutex lock;
  std::vector<std::unique_ptr<ClassLayout>> layouts;
};

LayoutCache& cache() {
  static LayoutCache* instance = new LayoutCache();
  return *instance;
}

const ClassLayout* findCached(JNIEnv* env, jclass cls) {
  std::lock_guard guard(cache().lock);
  for (const auto& layout : cache().layouts) {
    if (env->IsSameObject(layout->cls, cls)) return layout.get();
  }
  return nullptr;
}

bool fitsWant(FieldKind kind, Want want) {
  switch (want) {
    case Want::Word:
      return kind == FieldKind::Int || kind == FieldKind::Float || kind == FieldKind::Boolean ||
             kind == FieldKind::Byte || kind == FieldKind::Short || kind == FieldKind::Char;
    case Want::Object: return kind == FieldKind::Object;
    case Want::IntArray: return kind == FieldKind::IntArray;
    case Want::FloatArray: return kind == FieldKind::FloatArray;
    case Want::ByteArray: return kind == FieldKind::ByteArray;
  }
  return false;
}

const char* wantName(Want want) {
  switch (want) {
    case Want::Word: return "an int, float or boolean";
    case Want::Object: return "an object reference";
    case Want::IntArray: return "an int[]";
    case Want::FloatArray: return "a float[]";
    case Want::ByteArray: return "a byte[]";
  }
  return "?";
}

const ClassLayout* layoutOfClass(JNIEnv* env, jclass cls) {
  const ClassLayout* found = findCached(env, cls);
  if (found == nullptr) {
    // Reflection runs Java code, so no lock is held meanwhile; a class read
    // twice by two threads at once is kept once.
    static const Reflection* reflection = new Reflection(env);
    auto layout = std::make_unique<ClassLayout>();
    layout->name = classNameOf(env, *reflection, cls);
    if (!env->ExceptionCheck() && appendFields(env, *reflection, cls, layout->words)) {
      layout->cls = static_cast<jclass>(env->NewGlobalRef(cls));
      std::lock_guard guard(cache().lock);
      for (const auto& other : cache().layouts) {
        if (env->IsSameObject(other->cls, cls)) found = other.get();
      }
      if (found == nullptr) {
        found = layout.get();
        cache().layouts.push_back(std::move(layout));
      } else {
        env->DeleteGlobalRef(layout->cls);
      }
    }
  }
  return found;
}

}  // namespace

bool layoutFits(JNIEnv* env, const ClassLayout& layout, const Role& role) {
  for (const auto& fit : role.fits) {
    if (fit.load(std::memory_order_acquire) == &layout) return true;
  }
  for (const FieldUse& use : role.uses) {
    const auto field = static_cast<std::size_t>(use.field);
    if (field >= layout.words.size() || !fitsWant(layout.words[field].kind, use.want)) {
      const std::string got =
          field >= layout.words.size() ? "missing" : "\"" + layout.words[field].name + "\" of another kind";
      throwJava(env, "java/lang/IncompatibleClassChangeError",
                layout.name + " as " + role.what + ": field " + std::to_string(use.field) + " must be " +
                    wantName(use.want) + ", but it is " + got);
      return false;
    }
  }
  for (auto& fit : role.fits) {
    const ClassLayout* empty = nullptr;
    if (fit.compare_exchange_strong(empty, &layout, std::memory_order_acq_rel)) break;
  }
  return true;
}

const ClassLayout* layoutFor(JNIEnv* env, jobject object, const Role& role) {
  jclass cls = env->GetObjectClass(object);
  const ClassLayout* layout = nullptr;
  for (const auto& fit : role.fits) {
    const ClassLayout* seen = fit.load(std::memory_order_acquire);
    if (seen != nullptr && env->IsSameObject(seen->cls, cls)) {
      layout = seen;
      break;
    }
  }
  if (layout == nullptr) {
    layout = layoutOfClass(env, cls);
    if (layout != nullptr && !layoutFits(env, *layout, role)) layout = nullptr;
  }
  env->DeleteLocalRef(cls);
  return layout;
}

}  // namespace kelbridge
