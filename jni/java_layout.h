// What the bridge knows of Java classes: each class's instance fields in the
// order of a Java 1.0 field block (the superclass's first, each class's in
// declaration order, one 32-bit word per field and two for a long or double),
// read once per class by reflection and kept; and the roles in which natives
// take objects, which say the fields a native reads or may write, so that
// any class of that layout serves, ours or another's.
#pragma once

#include <jni.h>

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelbridge {

enum class FieldKind : uint8_t {
  Int,
  Float,
  Boolean,
  Byte,
  Short,
  Char,
  Long,
  Double,
  Object,
  IntArray,
  FloatArray,
  ByteArray,
  OtherArray,
  SecondWord,  // the second word of a long or double
};

struct JavaField {
  jfieldID id = nullptr;
  FieldKind kind = FieldKind::Int;
  std::string name;
};

struct ClassLayout {
  jclass cls = nullptr;          // a global reference
  std::string name;              // "kel.ruk.KELRendModel"
  std::vector<JavaField> words;  // by field number
};

// What a role needs of one field.
enum class Want : uint8_t {
  Word,    // an int, float or boolean (a byte, short or char is widened)
  Object,  // a reference, laid out in its own role
  IntArray,
  FloatArray,
  ByteArray,
};

struct Role;

struct FieldUse {
  int field;
  Want want;
  const Role* child = nullptr;  // for Want::Object
  bool written = false;         // arrays whose elements the native may write
};

struct Role {
  const char* what;  // "a context", for messages
  std::span<const FieldUse> uses;
  // Arrays of the role are laid out only when this field (laid out before
  // them) is nonzero; -1 for always.
  int gate = -1;
  // Layouts already found to fit, for the fast path.
  mutable std::atomic<const ClassLayout*> fits[4] = {};
};

// True when the layout has every field the role uses, of a fitting kind;
// otherwise throws IncompatibleClassChangeError naming the field.
bool layoutFits(JNIEnv* env, const ClassLayout& layout, const Role& role);

// The layout of a non-null object's class, which fits the role: built on
// first sight of the class, then found through the role's recent fits. Null
// with a Java exception pending when it does not fit or reflection fails.
const ClassLayout* layoutFor(JNIEnv* env, jobject object, const Role& role);

}  // namespace kelbridge
