// kelruk-demo: plays the part of a Java program on kel.ruk. It loads
// libkelruk.so like a host, creates a device for the chosen screen, a
// context, a scene of models, a texture and lights, renders frames, paints
// them into a stand-in window and writes the window as a PNG file.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/host_kit.h"
#include "host/kel_ruk.h"
#include "options.h"
#include "platform/display.h"
#include "scene.h"

namespace {

using kel::geom::Geom;
using kel::geom::Matrix4;
using kel::geom::Ray;
using kel::geom::Vector3;
using kel::ruk::KELRend3DDevice;
using kel::ruk::KELRendGraphics3D;
using kel::ruk::PickResult;
using kelhost::ByteArray;

// The usual channel layout of a screen depth.
void defaultMasks(int depth, uint32_t masks[3]) {
  if (masks[0] | masks[1] | masks[2]) return;
  if (depth == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
}

// A device describing the screen: indexed by the system palette at 8 bits,
// direct colour by the screen's masks otherwise.
KELRend3DDevice makeDevice(const demo::Options& o) {
  KELRend3DDevice device = KELRend3DDevice::create();
  if (o.depth == 8) {
    ByteArray red = ByteArray::create(256), green = ByteArray::create(256), blue = ByteArray::create(256);
    for (int i = 0; i < 256; ++i) {
      const uint32_t c = displaySystemPaletteEntry(i);
      red[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c >> 16);
      green[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c >> 8);
      blue[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c);
    }
    device.initIndexed(256, red, green, blue);
  } else {
    device.initDirect(static_cast<int32_t>(o.masks[0]), static_cast<int32_t>(o.masks[1]),
                      static_cast<int32_t>(o.masks[2]));
  }
  return device;
}

void renderFrame(KELRendGraphics3D g, const demo::Scene& scene, int frame) {
  g.beginRendering();
  g.clear(1 | 2);
  for (const demo::SceneObject& o : scene.objects) {
    demo::placeObject(g, o, frame);
    g.doRender(o.model);
  }
  g.endRendering();
}

// Casts a ray from the eye through the centre of pixel (x, y) into every
// object and prints the nearest hit.
void pick(KELRendGraphics3D g, const demo::Scene& scene, const demo::Options& o, int frame) {
  const auto [px, py] = *o.pick;
  // The default projection: a quarter-turn field of view and the image's aspect.
  const double yLimit = std::tan(0.7853982 / 2);
  const double xLimit = yLimit * static_cast<float>(o.width) / static_cast<float>(o.height);
  const double scaleX = (o.width - 0.1) / xLimit / 2, scaleY = (o.height - 0.1) / yLimit / 2;
  const float slopeX = static_cast<float>((px + 0.5 - o.width / 2.0) / scaleX);
  const float slopeY = static_cast<float>(-(py + 0.5 - o.height / 2.0) / scaleY);

  const char* bestName = nullptr;
  float best = 1e30f;
  float point[3] = {}, normal[3] = {}, uv[2] = {};
  for (const demo::SceneObject& obj : scene.objects) {
    demo::placeObject(g, obj, frame);
    Matrix4 inverse = Matrix4::create();
    g.doGetModelMatrix(inverse);
    if (!inverse.doInvert()) continue;
    Vector3 origin = Vector3::create(0, 0, 0), direction = Vector3::create(slopeX, slopeY, -1);
    Geom::doTransformPoint(inverse, origin, origin);
    Geom::doTransformVector(inverse, direction, direction);
    PickResult result =
        PickResult::create(PickResult::WANT_POINT | PickResult::WANT_NORMAL | PickResult::WANT_UV, best);
    if (g.doRayPick(obj.model, Ray::create(origin, direction), result) && result.distance() < best) {
      best = result.distance();
      bestName = obj.name.c_str();
      point[0] = result.point().x(), point[1] = result.point().y(), point[2] = result.point().z();
      normal[0] = result.normal().x(), normal[1] = result.normal().y(), normal[2] = result.normal().z();
      uv[0] = result.uv().u(), uv[1] = result.uv().v();
    }
  }
  if (bestName == nullptr) {
    std::printf("pick (%d, %d): nothing\n", px, py);
  } else {
    std::printf(
        "pick (%d, %d): %s at distance %.4f, point (%.4f, %.4f, %.4f), normal (%.4f, %.4f, %.4f), uv (%.4f, %.4f)\n",
        px, py, bestName, best, point[0], point[1], point[2], normal[0], normal[1], normal[2], uv[0], uv[1]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  demo::Options o;
  if (!demo::parseOptions(argc, argv, &o)) return 2;
  kelhost::useStubLibrary(o.library.empty() ? KELRUK_LIBRARY_PATH : o.library.c_str());

  demo::Mesh objMesh;
  if (!o.obj.empty()) {
    std::string error;
    if (!demo::loadObj(o.obj, &objMesh, &error)) {
      std::fprintf(stderr, "kelruk-demo: %s\n", error.c_str());
      return 1;
    }
  }

  // The screen and the window the program draws into.
  defaultMasks(o.depth, o.masks);
  displaySetDepth(o.depth);
  if (o.depth == 16 || o.depth == 32) displaySetMasks(o.masks[0], o.masks[1], o.masks[2]);
  const HWND window = displayCreateWindow(o.width, o.height);
  displayActivateWindow(window);

  KELRend3DDevice device = makeDevice(o);
  KELRendGraphics3D g = KELRendGraphics3D::create(device);
  if (!g.init(2, o.width, o.height)) {
    std::fprintf(stderr, "kelruk-demo: could not create a %dx%d context at %d bits\n", o.width, o.height, o.depth);
    return 1;
  }
  g.setWindow(window);

  demo::Scene scene = o.obj.empty() ? demo::buildDefaultScene(device) : demo::buildObjScene(objMesh);
  demo::setUpLighting(g);
  g.doSetClearColor(0x101828);
  g.setShadeMode(o.smooth ? 1 : 0);
  g.setModelRenderMode(o.renderMode);
  if (o.depth == 8) {
    if (o.dither)
      g.enableFeature(4);
    else
      g.disableFeature(4);
  }
  g.doUseTexture(scene.texture);

  const kelhost::Graphics graphics = kelhost::Graphics::create(0);
  const auto start = std::chrono::steady_clock::now();
  for (int frame = 0; frame < o.frames; ++frame) {
    renderFrame(g, scene, frame);
    g.doPaint(graphics, 0, 0);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (o.frames > 1) {
    std::printf("%d frames of %dx%d at %d bits in %.3f s: %.1f frames per second\n", o.frames, o.width, o.height,
                o.depth, seconds, o.frames / seconds);
  }
  if (o.pick) pick(g, scene, o, o.frames - 1);

  if (!displaySaveWindowPng(window, o.output.c_str())) {
    std::fprintf(stderr, "kelruk-demo: could not write %s\n", o.output.c_str());
    return 1;
  }
  std::printf("wrote %s\n", o.output.c_str());
  g.doUseTexture({});
  for (const demo::SceneObject& obj : scene.objects) obj.model.dispose();
  if (scene.texture.handle != 0) scene.texture.dispose();
  g.dispose();
  displayDestroyWindow(window);
  return 0;
}
