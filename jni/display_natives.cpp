// Natives of kel.ruk.Display and kel.ruk.Surface: the display stand-in's host
// controls, for Java programs. These are the bridge's own, not library stubs.
#include <jni.h>

#include <array>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "jni/bridge_natives.h"
#include "jni/java_errors.h"
#include "jni/surfaces.h"
#include "platform/display.h"

namespace {

// The sizes of the windows Java made: the display reports pixels, not sizes.
struct WindowSizes {
  std::mutex lock;
  std::map<HWND, std::pair<int, int>> sizes;
};

WindowSizes& windowSizes() {
  static auto* instance = new WindowSizes();
  return *instance;
}

std::pair<int, int> windowSize(HWND window) {
  std::lock_guard guard(windowSizes().lock);
  const auto found = windowSizes().sizes.find(window);
  return found == windowSizes().sizes.end() ? std::pair{0, 0} : found->second;
}

// Copies pixels into a Java int[], which must hold them all.
jint copyPixels(JNIEnv* env, const std::vector<uint32_t>& pixels, jintArray dst) {
  if (dst == nullptr) {
    kelbridge::throwJava(env, "java/lang/NullPointerException", "no array for the pixels");
    return 0;
  }
  if (static_cast<std::size_t>(env->GetArrayLength(dst)) < pixels.size()) {
    kelbridge::throwJava(env, "java/lang/ArrayIndexOutOfBoundsException",
                         "the array is smaller than the " + std::to_string(pixels.size()) + " pixels");
    return 0;
  }
  env->SetIntArrayRegion(dst, 0, static_cast<jsize>(pixels.size()), reinterpret_cast<const jint*>(pixels.data()));
  return static_cast<jint>(pixels.size());
}

}  // namespace

KELRUK_JNI(void, ruk_Display_setDepth)(JNIEnv*, jclass, jint bits) { displaySetDepth(bits); }
KELRUK_JNI(jint, ruk_Display_getDepth)(JNIEnv*, jclass) { return displayDepth(); }
KELRUK_JNI(void, ruk_Display_setMasks)(JNIEnv*, jclass, jint red, jint green, jint blue) {
  displaySetMasks(static_cast<uint32_t>(red), static_cast<uint32_t>(green), static_cast<uint32_t>(blue));
}
KELRUK_JNI(void, ruk_Display_setSystemPalette0)(JNIEnv* env, jclass, jintArray colors) {
  std::array<uint32_t, 256> palette{};
  env->GetIntArrayRegion(colors, 0, 256, reinterpret_cast<jint*>(palette.data()));
  if (!env->ExceptionCheck()) displaySetSystemPalette(palette);
}
KELRUK_JNI(jint, ruk_Display_getSystemPaletteEntry)(JNIEnv*, jclass, jint index) {
  return static_cast<jint>(displaySystemPaletteEntry(index));
}
KELRUK_JNI(void, ruk_Display_resetSystemPalette)(JNIEnv*, jclass) { displayResetSystemPalette(); }

KELRUK_JNI(jint, ruk_Display_createWindow)(JNIEnv*, jclass, jint width, jint height) {
  const HWND window = displayCreateWindow(width, height);
  if (window != 0) {
    std::lock_guard guard(windowSizes().lock);
    windowSizes().sizes[window] = {width, height};
  }
  return static_cast<jint>(window);
}
KELRUK_JNI(jboolean, ruk_Display_activateWindow)(JNIEnv*, jclass, jint window) {
  return displayActivateWindow(static_cast<HWND>(window)) ? JNI_TRUE : JNI_FALSE;
}
KELRUK_JNI(jboolean, ruk_Display_destroyWindow)(JNIEnv*, jclass, jint window) {
  {
    std::lock_guard guard(windowSizes().lock);
    windowSizes().sizes.erase(static_cast<HWND>(window));
  }
  return displayDestroyWindow(static_cast<HWND>(window)) ? JNI_TRUE : JNI_FALSE;
}
KELRUK_JNI(jint, ruk_Display_getWindowWidth)(JNIEnv*, jclass, jint window) {
  return windowSize(static_cast<HWND>(window)).first;
}
KELRUK_JNI(jint, ruk_Display_getWindowHeight)(JNIEnv*, jclass, jint window) {
  return windowSize(static_cast<HWND>(window)).second;
}
KELRUK_JNI(jint, ruk_Display_getWindowPixels)(JNIEnv* env, jclass, jint window, jintArray dst) {
  const std::vector<uint32_t> pixels = displayWindowPixels(static_cast<HWND>(window));
  return pixels.empty() ? 0 : copyPixels(env, pixels, dst);
}
KELRUK_JNI(void, ruk_Display_reset)(JNIEnv*, jclass) {
  {
    std::lock_guard guard(windowSizes().lock);
    windowSizes().sizes.clear();
  }
  displayReset();
}

KELRUK_JNI(jint, ruk_Surface_create)(JNIEnv*, jclass, jint width, jint height) {
  return static_cast<jint>(kelbridge::createSurfaceRecord(width, height));
}
KELRUK_JNI(void, ruk_Surface_destroy)(JNIEnv*, jclass, jint record) {
  kelbridge::destroySurfaceRecord(static_cast<uint32_t>(record));
}
KELRUK_JNI(jint, ruk_Surface_readPixels)(JNIEnv* env, jclass, jint record, jintArray dst) {
  const HDC surface = kelbridge::surfaceOfRecord(static_cast<uint32_t>(record));
  return surface == 0 ? 0 : copyPixels(env, displaySurfacePixels(surface), dst);
}
KELRUK_JNI(void, ruk_Surface_fill)(JNIEnv*, jclass, jint record, jint rgb) {
  const HDC surface = kelbridge::surfaceOfRecord(static_cast<uint32_t>(record));
  if (surface != 0) displayFillSurface(surface, static_cast<uint32_t>(rgb));
}
