// Procedural meshes of the default scene.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "mesh.h"

namespace demo {
namespace {

using Vec3 = std::array<float, 3>;

Vec3 vertexAt(const Mesh& mesh, int32_t index) {
  const std::size_t base = static_cast<std::size_t>(index) * 3;
  return {mesh.vertices[base], mesh.vertices[base + 1], mesh.vertices[base + 2]};
}

int32_t addVertex(Mesh& mesh, Vec3 p) {
  mesh.vertices.insert(mesh.vertices.end(), p.begin(), p.end());
  return mesh.vertexCount() - 1;
}

// Adds the triangle so that its corners run counter-clockwise seen from the
// side `outward` points to: the renderer takes that side as the front.
void addTriangle(Mesh& mesh, int32_t a, int32_t b, int32_t c, Vec3 outward, int32_t colorA, int32_t colorB,
                 int32_t colorC) {
  const Vec3 pa = vertexAt(mesh, a), pb = vertexAt(mesh, b), pc = vertexAt(mesh, c);
  const Vec3 ab = {pa[0] - pb[0], pa[1] - pb[1], pa[2] - pb[2]};
  const Vec3 bc = {pb[0] - pc[0], pb[1] - pc[1], pb[2] - pc[2]};
  const Vec3 n = {ab[1] * bc[2] - ab[2] * bc[1], ab[2] * bc[0] - ab[0] * bc[2], ab[0] * bc[1] - ab[1] * bc[0]};
  if (n[0] * outward[0] + n[1] * outward[1] + n[2] * outward[2] < 0) {
    std::swap(b, c);
    std::swap(colorB, colorC);
  }
  mesh.indices.insert(mesh.indices.end(), {a, b, c});
  // Java colours carry their opacity in the top byte.
  constexpr int32_t kOpaque = static_cast<int32_t>(0xFF000000u);
  mesh.colors.insert(mesh.colors.end(), {colorA | kOpaque, colorB | kOpaque, colorC | kOpaque});
}

int32_t rgb(float r, float g, float b) {
  auto channel = [](float v) { return static_cast<int32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
  return channel(r) << 16 | channel(g) << 8 | channel(b);
}

// A colour wheel: hue in turns.
int32_t hueColor(float hue, float brightness) {
  const float r = 0.5f + 0.5f * std::cos(2 * std::numbers::pi_v<float> * hue);
  const float g = 0.5f + 0.5f * std::cos(2 * std::numbers::pi_v<float> * (hue - 1.0f / 3));
  const float b = 0.5f + 0.5f * std::cos(2 * std::numbers::pi_v<float> * (hue - 2.0f / 3));
  return rgb(r * brightness, g * brightness, b * brightness);
}

}  // namespace

Mesh makeSphere(float radius, int rings, int segments) {
  Mesh mesh;
  const float pi = std::numbers::pi_v<float>;
  std::vector<int32_t> colorOf;
  for (int i = 0; i <= rings; ++i) {
    const float theta = pi * static_cast<float>(i) / static_cast<float>(rings);
    for (int j = 0; j <= segments; ++j) {
      const float phi = 2 * pi * static_cast<float>(j) / static_cast<float>(segments);
      addVertex(mesh, {radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                       radius * std::sin(theta) * std::sin(phi)});
      colorOf.push_back(
          hueColor(static_cast<float>(j) / static_cast<float>(segments), 0.55f + 0.45f * std::sin(theta)));
    }
  }
  const int stride = segments + 1;
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < segments; ++j) {
      const int32_t a = i * stride + j, b = a + 1, c = a + stride, d = c + 1;
      const Vec3 out = vertexAt(mesh, a);
      const Vec3 outLow = vertexAt(mesh, d);
      if (i != 0) addTriangle(mesh, a, c, b, out, colorOf[a], colorOf[c], colorOf[b]);
      if (i != rings - 1) addTriangle(mesh, b, c, d, outLow, colorOf[b], colorOf[c], colorOf[d]);
    }
  }
  return mesh;
}

Mesh makeCube(float half) {
  Mesh mesh;
  for (int i = 0; i < 8; ++i) {
    addVertex(mesh, {(i & 1) ? half : -half, (i & 2) ? half : -half, (i & 4) ? half : -half});
  }
  // Each face: its four corners in order around it, the outward axis and a colour.
  struct Face {
    std::array<int32_t, 4> corners;
    Vec3 outward;
    int32_t color;
  };
  const Face faces[6] = {
      {{1, 3, 7, 5}, {1, 0, 0}, 0xE04040},  {{0, 4, 6, 2}, {-1, 0, 0}, 0x40E040}, {{2, 6, 7, 3}, {0, 1, 0}, 0x4060F0},
      {{0, 1, 5, 4}, {0, -1, 0}, 0xF0E040}, {{4, 5, 7, 6}, {0, 0, 1}, 0xE040E0},  {{0, 2, 3, 1}, {0, 0, -1}, 0x40E0E0},
  };
  for (const Face& f : faces) {
    addTriangle(mesh, f.corners[0], f.corners[1], f.corners[2], f.outward, f.color, f.color, f.color);
    addTriangle(mesh, f.corners[0], f.corners[2], f.corners[3], f.outward, f.color, f.color, f.color);
  }
  return mesh;
}

Mesh makeFloor(float half, float tiles) {
  Mesh mesh;
  const int32_t a = addVertex(mesh, {-half, 0, -half});
  const int32_t b = addVertex(mesh, {half, 0, -half});
  const int32_t c = addVertex(mesh, {half, 0, half});
  const int32_t d = addVertex(mesh, {-half, 0, half});
  addTriangle(mesh, a, c, b, {0, 1, 0}, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
  addTriangle(mesh, a, d, c, {0, 1, 0}, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
  mesh.texCoords = {0, 0, tiles, 0, tiles, tiles, 0, tiles};
  mesh.texCoordIndices = mesh.indices;  // corner k uses the texture coordinates of its vertex
  return mesh;
}

Mesh makeTorus(float major, float minor, int rings, int segments) {
  Mesh mesh;
  const float pi = std::numbers::pi_v<float>;
  std::vector<int32_t> colorOf;
  std::vector<Vec3> centreOf;
  for (int i = 0; i < rings; ++i) {
    const float u = 2 * pi * static_cast<float>(i) / static_cast<float>(rings);
    for (int j = 0; j < segments; ++j) {
      const float v = 2 * pi * static_cast<float>(j) / static_cast<float>(segments);
      const float r = major + minor * std::cos(v);
      addVertex(mesh, {r * std::cos(u), minor * std::sin(v), r * std::sin(u)});
      centreOf.push_back({major * std::cos(u), 0, major * std::sin(u)});
      colorOf.push_back(hueColor(0.6f + 0.4f * static_cast<float>(i) / static_cast<float>(rings), 1.0f));
    }
  }
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < segments; ++j) {
      const int32_t a = i * segments + j;
      const int32_t b = i * segments + (j + 1) % segments;
      const int32_t c = ((i + 1) % rings) * segments + j;
      const int32_t d = ((i + 1) % rings) * segments + (j + 1) % segments;
      const Vec3 p = vertexAt(mesh, a);
      const Vec3 out = {p[0] - centreOf[a][0], p[1] - centreOf[a][1], p[2] - centreOf[a][2]};
      addTriangle(mesh, a, c, b, out, colorOf[a], colorOf[c], colorOf[b]);
      const Vec3 q = vertexAt(mesh, d);
      const Vec3 outD = {q[0] - centreOf[d][0], q[1] - centreOf[d][1], q[2] - centreOf[d][2]};
      addTriangle(mesh, b, c, d, outD, colorOf[b], colorOf[c], colorOf[d]);
    }
  }
  return mesh;
}

}  // namespace demo
