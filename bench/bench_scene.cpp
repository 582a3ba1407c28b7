#include "bench_scene.h"

#include <cmath>
#include <numbers>
#include <span>

#include "platform/display.h"

namespace bench {

using kel::ruk::KELRend3DDevice;
using kel::ruk::KELRendGraphics3D;
using kel::ruk::KELRendModel;
using kel::ruk::KELRendTexture;
using kel::ruk::Material;
using kelhost::ByteArray;
using kelhost::FloatArray;
using kelhost::IntArray;

const char* screenName(Screen screen) {
  switch (screen) {
    case Screen::Rgb32: return "Rgb32";
    case Screen::Rgb16: return "Rgb16";
    case Screen::Indexed8Dithered: return "Indexed8Dithered";
  }
  return "?";
}

BenchContext makeContext(Screen screen, int width, int height) {
  BenchContext c;
  c.width = width;
  c.height = height;
  c.device = KELRend3DDevice::create();
  switch (screen) {
    case Screen::Rgb32:
      displaySetDepth(32);
      displaySetMasks(0xFF0000, 0x00FF00, 0x0000FF);
      c.device.initDirect(0xFF0000, 0x00FF00, 0x0000FF);
      break;
    case Screen::Rgb16:
      displaySetDepth(16);
      displaySetMasks(0xF800, 0x07E0, 0x001F);
      c.device.initDirect(0xF800, 0x07E0, 0x001F);
      break;
    case Screen::Indexed8Dithered: {
      displaySetDepth(8);
      ByteArray red = ByteArray::create(256), green = ByteArray::create(256), blue = ByteArray::create(256);
      for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = displaySystemPaletteEntry(i);
        red[static_cast<std::size_t>(i)] = static_cast<uint8_t>(rgb >> 16);
        green[static_cast<std::size_t>(i)] = static_cast<uint8_t>(rgb >> 8);
        blue[static_cast<std::size_t>(i)] = static_cast<uint8_t>(rgb);
      }
      c.device.initIndexed(256, red, green, blue);
      break;
    }
  }
  c.window = displayCreateWindow(width, height);
  displayActivateWindow(c.window);
  c.g = KELRendGraphics3D::create(c.device);
  c.g.init(2, width, height);
  if (screen == Screen::Indexed8Dithered) c.g.enableFeature(4);
  // Model colours become the emission; without lights that is the lit colour.
  c.g.setMaterial(Material::create(0, 0, 0, 0, 0.0f, 255));
  c.g.setModifiedMaterialColor(0);
  c.g.doSetClearColor(0x000000);
  c.heapMark = kelhost::heapMark();
  return c;
}

void releaseContext(BenchContext& c) {
  c.g.dispose();
  displayDestroyWindow(c.window);
  kelhost::heapRewind(c.heapMark);
}

KELRendModel makeModel(const MeshData& mesh) {
  const int32_t triangles = static_cast<int32_t>(mesh.indices.size() / 3);
  KELRendModel m = KELRendModel::create();
  m.setPrimitiveKind(KELRendModel::TRIANGLES);
  m.setPrimitiveCount(triangles);
  m.setVertexCount(static_cast<int32_t>(mesh.vertices.size() / 3));
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
    m.setTexCoordIndices(IntArray::of(std::span<const int32_t>(mesh.indices)));
  }
  m.init();
  m.setFaceNormals(FloatArray::create(static_cast<std::size_t>(triangles) * 3));
  m.generateFaceNormals();
  m.setReady(1);
  return m;
}

ViewLimits viewLimits(float aspect, float margin) {
  // The default view: a quarter-turn field of view at the frame's aspect.
  const float y = static_cast<float>(std::tan(0.7853982 / 2)) * margin;
  return {y * aspect, y};
}

MeshData fullScreenQuad(float depth, const int32_t colors[4], float uvSpan, float aspect) {
  // 1% larger than the view, so the clipper trims it to exactly the image.
  const ViewLimits limits = viewLimits(aspect, 1.01f);
  MeshData quad;
  const float x = limits.x * depth, y = limits.y * depth;
  quad.vertices = {-x, y, -depth, x, y, -depth, x, -y, -depth, -x, -y, -depth};
  quad.indices = {0, 3, 2, 0, 2, 1};  // counter-clockwise as seen from the eye
  quad.colors.assign(colors, colors + 4);
  if (uvSpan > 0) quad.texCoords = {0, uvSpan, uvSpan, uvSpan, uvSpan, 0, 0, 0};
  return quad;
}

KELRendTexture makeTexture(const BenchContext& c) {
  constexpr int kSize = 256;
  KELRendTexture t = KELRendTexture::create(c.device);
  t.init(kSize, kSize);
  IntArray pixels = IntArray::create(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      pixels[static_cast<std::size_t>(y * kSize + x)] =
          static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 |
                               static_cast<uint32_t>((x ^ y) & 0xFF));
    }
  }
  t.convertRect32(0, 0, kSize, kSize, 0xFF0000, 0xFF00, 0xFF, static_cast<int32_t>(0xFF000000u), pixels, 0, kSize);
  t.setComplete(1);
  c.g.doUseTexture(t);
  return t;
}

// 64 quads from far to near in one model (128 triangles: one batch).
KELRendModel fillModel(Fill fill, float aspect) {
  MeshData all;
  for (int i = 0; i < kQuads; ++i) {
    const float depth = 20.0f - 0.25f * static_cast<float>(i);
    const uint32_t alpha = fill == Fill::Blend ? 0x80000000u : 0xFF000000u;
    const uint32_t base = static_cast<uint32_t>(i) * 0x030507u;
    int32_t colors[4];
    for (int k = 0; k < 4; ++k) {
      const uint32_t rgb = fill == Fill::Flat
                               ? (0x406080u + base)
                               : (0x204060u + base + 0x500000u * (k & 1) + 0x005000u * (k >> 1) + 0x000050u * k);
      colors[k] = static_cast<int32_t>(alpha | (rgb & 0xFFFFFFu));
    }
    const MeshData quad = fullScreenQuad(depth, colors, fill == Fill::Textured ? 2.0f : 0.0f, aspect);
    const int32_t first = static_cast<int32_t>(all.vertices.size() / 3);
    all.vertices.insert(all.vertices.end(), quad.vertices.begin(), quad.vertices.end());
    for (int32_t index : quad.indices) all.indices.push_back(first + index);
    for (int32_t index : quad.indices) all.colors.push_back(quad.colors[static_cast<std::size_t>(index)]);
    // Texture coordinates go with the vertices: the model indexes them alike.
    all.texCoords.insert(all.texCoords.end(), quad.texCoords.begin(), quad.texCoords.end());
  }
  return makeModel(all);
}

MeshData sphereMesh() {
  constexpr int kSegments = 256, kRings = 128;
  const float pi = std::numbers::pi_v<float>;
  MeshData sphere;
  for (int i = 0; i <= kRings; ++i) {
    const float theta = pi * static_cast<float>(i) / kRings;
    for (int j = 0; j <= kSegments; ++j) {
      const float phi = 2 * pi * static_cast<float>(j) / kSegments;
      sphere.vertices.insert(sphere.vertices.end(),
                             {std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi)});
    }
  }
  for (int i = 0; i < kRings; ++i) {
    for (int j = 0; j < kSegments; ++j) {
      const int32_t a = i * (kSegments + 1) + j, b = a + 1, cc = a + kSegments + 1, d = cc + 1;
      sphere.indices.insert(sphere.indices.end(), {a, cc, d, a, d, b});
    }
  }
  return sphere;
}

KELRendModel sphereModel() {
  const MeshData sphere = sphereMesh();
  KELRendModel m = makeModel(sphere);
  m.generateVertexNormals(1.0f);
  m.setNormals(kelhost::FloatArray::create(static_cast<std::size_t>(m.normalCount()) * 3));
  m.setNormalIndices(kelhost::IntArray::create(sphere.indices.size()));
  m.copyVertexNormals();
  return m;
}

void lightSphere(const BenchContext& c) {
  kel::ruk::Light light = kel::ruk::Light::create();
  light.setColor(0xFFFFFF);
  light.setPosition(kel::ruk::Vector3::create(-0.5f, -0.5f, -1.0f));
  c.g.pushDirectionalLight(light);
  c.g.setMaterial(kel::ruk::Material::create(0, 0, 0xC0C0C0, 0xFFFFFF, 16.0f, 255));
  c.g.setModifiedMaterialColor(2);
  c.g.translateModel(0, 0, -3);
}

}  // namespace bench
