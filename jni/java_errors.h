// Java exceptions the bridge throws where the Java side breaks a rule the
// library cannot check itself: a class of the wrong layout, an array shorter
// than its counts call for, a graphics object that is no live surface.
#pragma once

#include <jni.h>

#include <string>

namespace kelbridge {

// Throws a new exception of the class (a JNI class name such as
// "java/lang/IllegalArgumentException") unless one is pending already.
void throwJava(JNIEnv* env, const char* className, const std::string& message);

}  // namespace kelbridge
