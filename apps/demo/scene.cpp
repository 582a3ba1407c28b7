#include "scene.h"

#include <cstdio>
#include <span>

namespace demo {

using kel::ruk::KELRend3DDevice;
using kel::ruk::KELRendGraphics3D;
using kel::ruk::KELRendModel;
using kel::ruk::KELRendTexture;
using kelhost::FloatArray;
using kelhost::IntArray;

KELRendModel makeModel(const Mesh& mesh, float creaseAngle) {
  const int32_t cornersPer = mesh.primitiveKind == 0 ? 3 : mesh.primitiveKind == 1 ? 2 : 1;
  const int32_t primitives = mesh.corners() / cornersPer;
  KELRendModel m = KELRendModel::create();
  m.setPrimitiveKind(mesh.primitiveKind);
  m.setPrimitiveCount(primitives);
  m.setVertexCount(mesh.vertexCount());
  m.setVertices(FloatArray::of(std::span<const float>(mesh.vertices)));
  m.setVertexIndices(IntArray::of(std::span<const int32_t>(mesh.indices)));
  if (!mesh.colors.empty()) {
    m.setColorBinding(2);
    m.setColors(IntArray::of(std::span<const int32_t>(mesh.colors)));
  }
  if (!mesh.texCoords.empty()) {
    m.setTexCoordBinding(2);
    m.setTexCoordCount(static_cast<int32_t>(mesh.texCoords.size() / 2));
    m.setTexCoords(FloatArray::of(std::span<const float>(mesh.texCoords)));
    m.setTexCoordIndices(IntArray::of(std::span<const int32_t>(mesh.texCoordIndices)));
  }
  if (!m.init()) {
    std::fprintf(stderr, "kelruk-demo: KELRendModel.init failed\n");
    return m;
  }
  if (mesh.primitiveKind == 0) {
    m.setFaceNormals(FloatArray::create(static_cast<std::size_t>(primitives) * 3));
    if (!m.generateFaceNormals()) std::fprintf(stderr, "kelruk-demo: generateFaceNormals failed\n");
    if (m.generateVertexNormals(creaseAngle) && m.normalCount() > 0) {
      m.setNormals(FloatArray::create(static_cast<std::size_t>(m.normalCount()) * 3));
      m.setNormalIndices(IntArray::create(static_cast<std::size_t>(primitives) * 3));
    }
    m.copyVertexNormals();
  }
  m.setReady(1);
  return m;
}

namespace {

// A 64 x 64 checkerboard of two tiles, with a soft border inside each tile.
KELRendTexture makeCheckerTexture(KELRend3DDevice device) {
  constexpr int kSize = 64;
  KELRendTexture t = KELRendTexture::create(device);
  t.init(kSize, kSize);
  IntArray pixels = IntArray::create(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool dark = ((x / 32) ^ (y / 32)) & 1;
      const bool edge = x % 32 == 0 || y % 32 == 0;
      const uint32_t rgb = edge ? 0x808080u : dark ? 0x585870u : 0xE8E0D0u;
      pixels[static_cast<std::size_t>(y * kSize + x)] = static_cast<int32_t>(0xFF000000u | rgb);
    }
  }
  t.convertRect32(0, 0, kSize, kSize, 0xFF0000, 0xFF00, 0xFF, static_cast<int32_t>(0xFF000000u), pixels, 0, kSize);
  t.setComplete(1);
  t.doComplete();
  return t;
}

}  // namespace

Scene buildDefaultScene(KELRend3DDevice device) {
  Scene scene;
  scene.texture = makeCheckerTexture(device);
  scene.objects.push_back({"floor", makeModel(makeFloor(8.0f, 8.0f), 0.5f), {0, -1.3f, -7}, {0, 1, 0}, 0, 0.3f, true});
  scene.objects.push_back(
      {"sphere", makeModel(makeSphere(1.1f, 24, 32), 1.0f), {-1.2f, 0, -7}, {0, 1, 0}, 0.03f, 0.5f});
  scene.objects.push_back(
      {"cube", makeModel(makeCube(0.8f), 0.5f), {1.4f, -0.2f, -6.5f}, {0.577f, 0.577f, 0.577f}, 0.04f, 0.7f});
  scene.objects.push_back(
      {"torus", makeModel(makeTorus(1.6f, 0.22f, 48, 12), 1.0f), {0, 0.1f, -7}, {1, 0, 0}, 0.02f, 1.2f});
  return scene;
}

Scene buildObjScene(const Mesh& mesh) {
  Scene scene;
  scene.objects.push_back({"model", makeModel(mesh, 0.6f), {0, 0, -3.2f}, {0, 1, 0}, 0.03f, 0.4f});
  return scene;
}

void setUpLighting(KELRendGraphics3D g) {
  using kel::ruk::Light;
  using kel::ruk::Material;
  using kel::ruk::Vector3;
  g.resetModelMatrix();
  g.resetLights();
  Light sun = Light::create();
  sun.setColor(0xFFF4E0);
  sun.setAmbient(0x303038);
  sun.setPosition(Vector3::create(-0.4f, -1.0f, -0.5f));  // a directional light's travel direction
  g.pushDirectionalLight(sun);
  Light lamp = Light::create();
  lamp.setColor(0x6080FF);
  lamp.setPosition(Vector3::create(3, 2, -4));
  lamp.setAttenuation(0.0f, 0.15f, 1.0f);
  lamp.setRange(30);
  g.pushPointLight(lamp);
  g.setMaterial(Material::create(0x000000, 0x505050, 0xFFFFFF, 0x707070, 12.0f, 255));
  g.doSetFog(1, 0x101828, 7.0f, 22.0f, 0.0f);
}

void placeObject(KELRendGraphics3D g, const SceneObject& o, int frame) {
  g.resetModelMatrix();
  g.translateModel(o.position[0], o.position[1], o.position[2]);
  g.doRotateModel(o.axis[0], o.axis[1], o.axis[2], o.angle + o.spin * static_cast<float>(frame));
}

}  // namespace demo
