// Loading the bridge: the library's stubs are resolved by name in
// libkelruk.so, which the bridge links against (and so the one loaded with
// it, sharing one display with the bridge's own display natives).
#include <jni.h>

#include <mutex>

#include "host/host_kit.h"
#include "jni/bridge_natives.h"

namespace kelbridge {

kelhost::StubFunction resolveStub(const char* name) {
  static std::once_flag opened;
  std::call_once(opened, [] { kelhost::useStubLibrary("libkelruk.so"); });
  return kelhost::findStub(name);
}

}  // namespace kelbridge

extern "C" JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM*, void*) { return JNI_VERSION_1_8; }
