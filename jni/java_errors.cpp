#include "jni/java_errors.h"

namespace kelbridge {

void throwJava(JNIEnv* env, const char* className, const std::string& message) {
  if (env->ExceptionCheck()) return;
  jclass cls = env->FindClass(className);
  if (cls == nullptr) return;  // FindClass left its own exception
  env->ThrowNew(cls, message.c_str());
  env->DeleteLocalRef(cls);
}

}  // namespace kelbridge
