// The benchmark scenes S2 and S6 through the host kit, inside the Java
// benchmark's process: kel.bench.HostScenes times them in C++ beside the same
// scenes through the JNI bridge, on the same libkelruk.so and display.
#include <jni.h>

#include <chrono>
#include <mutex>

#include "bench_scene.h"
#include "host/host_kit.h"
#include "platform/display.h"

namespace {

void useLoadedLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { kelhost::useStubLibrary("libkelruk.so"); });
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Renders `frames` frames of the model (one clear and render each) and gives
// the seconds they took.
double timeFrames(const bench::BenchContext& c, kel::ruk::KELRendModel model, int frames) {
  const auto start = std::chrono::steady_clock::now();
  for (int f = 0; f < frames; ++f) {
    c.g.beginRendering();
    c.g.clear(1 | 2);
    c.g.doRender(model);
    c.g.endRendering();
  }
  return seconds(start);
}

}  // namespace

// Seconds for `frames` frames of S2 (scene 2) or S6 (scene 6) on a 32-bit
// screen, after `warmUp` frames that are not timed; -1 for another scene.
extern "C" JNIEXPORT jdouble JNICALL Java_kel_bench_HostScenes_timeScene(JNIEnv*, jclass, jint scene, jint warmUp,
                                                                         jint frames) {
  if (scene != 2 && scene != 6) return -1;
  useLoadedLibrary();
  bench::BenchContext c = bench::makeContext(bench::Screen::Rgb32);
  kel::ruk::KELRendModel model = scene == 2 ? bench::fillModel(bench::Fill::Smooth) : bench::sphereModel();
  if (scene == 6) bench::lightSphere(c);
  timeFrames(c, model, warmUp);
  const double taken = timeFrames(c, model, frames);
  model.dispose();
  bench::releaseContext(c);
  return taken;
}

// Seconds for `calls` calls of the setClearDepth stub through the host kit,
// the stub found once beforehand.
extern "C" JNIEXPORT jdouble JNICALL Java_kel_bench_HostScenes_timeSetter(JNIEnv*, jclass, jint calls) {
  useLoadedLibrary();
  bench::BenchContext c = bench::makeContext(bench::Screen::Rgb32);
  const kelhost::StubFunction stub = kelhost::findStub("Java_kel_ruk_KELRendGraphics3D_setClearDepth_stub");
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) kelhost::callStub(stub, {c.g.handle, static_cast<float>(i & 1023)});
  const double taken = seconds(start);
  bench::releaseContext(c);
  return taken;
}

// Seconds for `calls` renders of a small quad (two triangles, 4 x 4 pixels),
// between one beginRendering and endRendering: the cost of a render call.
extern "C" JNIEXPORT jdouble JNICALL Java_kel_bench_HostScenes_timeSmallRenders(JNIEnv*, jclass, jint calls) {
  useLoadedLibrary();
  bench::BenchContext c = bench::makeContext(bench::Screen::Rgb32);
  bench::MeshData quad;
  quad.vertices = {-0.01f, -0.01f, -1, 0.01f, -0.01f, -1, 0.01f, 0.01f, -1, -0.01f, 0.01f, -1};
  quad.indices = {0, 1, 2, 0, 2, 3};
  quad.colors.assign(6, static_cast<int32_t>(0xFF808080u));
  kel::ruk::KELRendModel model = bench::makeModel(quad);
  const kelhost::StubFunction render = kelhost::findStub("Java_kel_ruk_KELRendGraphics3D_doRender_stub");
  c.g.beginRendering();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) kelhost::callStub(render, {c.g.handle, model.handle});
  const double taken = seconds(start);
  c.g.endRendering();
  model.dispose();
  bench::releaseContext(c);
  return taken;
}

// The lit sphere's vertices as the C++ scenes compute them, so that both sides
// draw the same numbers.
extern "C" JNIEXPORT jfloatArray JNICALL Java_kel_bench_HostScenes_sphereVertices(JNIEnv* env, jclass) {
  const bench::MeshData sphere = bench::sphereMesh();
  jfloatArray out = env->NewFloatArray(static_cast<jsize>(sphere.vertices.size()));
  if (out != nullptr)
    env->SetFloatArrayRegion(out, 0, static_cast<jsize>(sphere.vertices.size()), sphere.vertices.data());
  return out;
}
