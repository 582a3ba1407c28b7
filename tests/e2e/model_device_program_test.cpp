// A Java program's devices and meshes: devices for every kind of screen, the
// device class name, and a cube whose face and vertex normals the library
// generates and hands back.
#include <array>
#include <cmath>
#include <cstring>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

class DeviceProgram : public Scenario {};
class ModelProgram : public Scenario {};

// Each device lets a context of its screen draw: a cleared frame shows the
// clear colour encoded for that screen.
TEST_F(DeviceProgram, DevicesForEveryScreen) {
  const ByteArray name = ByteArray::create(26);
  std::memset(name.data(), 0xEE, 26);
  Graphics3DDevice::getDeviceClass(name);
  EXPECT_STREQ(reinterpret_cast<const char*>(name.data()), "kel.ruk.KELRend3DDevice");
  EXPECT_EQ(name[24], 0xEE) << "exactly 24 bytes";

  std::set<int32_t> devices;
  for (Format format : {Format::Rgb32, Format::Rgb24, Format::Rgb16, Format::Rgb555, Format::Indexed8}) {
    Screen& s = openScreen(format, 8, 4, NO_BUFFERS);
    EXPECT_NE(s.device.nativeDevice(), 0) << formatName(format);
    EXPECT_TRUE(devices.insert(s.device.nativeDevice()).second) << "each init makes a new device";
    s.g.doSetClearColor(0x00FF8000);
    s.g.clear(COLOR);
    const std::vector<uint32_t> pixels = s.paint();
    EXPECT_TRUE(framePixelsAre(s, pixels, [&](int, int) { return shownFlat(format, 0xFF8000); })) << formatName(format);
  }
  // The worked clears: 0xFF8000 is 0x7E00 on 5-5-5 and 0xFC00 on 5-6-5.
  EXPECT_EQ(storedPixel(Format::Rgb555, 0xFF8000), 0x7E00u);
  EXPECT_EQ(storedPixel(Format::Rgb16, 0xFF8000), 0xFC00u);
}

// The cube of corners (+-1, +-1, +-1), vertex index x + 2y + 4z (1 for +),
// two counter-clockwise triangles per face, seen from outside.
constexpr float kCubeVertices[] = {-1, -1, -1, 1, -1, -1, -1, 1, -1, 1, 1, -1, -1, -1, 1, 1, -1, 1, -1, 1, 1, 1, 1, 1};
constexpr int32_t kCubeIndices[] = {4, 5, 7, 4, 7, 6,   // +z
                                    0, 2, 3, 0, 3, 1,   // -z
                                    1, 3, 7, 1, 7, 5,   // +x
                                    0, 4, 6, 0, 6, 2,   // -x
                                    2, 6, 7, 2, 7, 3,   // +y
                                    0, 1, 5, 0, 5, 4};  // -y
constexpr float kFaceAxis[6][3] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};

KELRendModel cube() {
  KELRendModel m = KELRendModel::create();
  m.setPrimitiveKind(KELRendModel::TRIANGLES);
  m.setPrimitiveCount(12);
  m.setVertexCount(8);
  m.setVertices(FloatArray::of(std::span<const float>(kCubeVertices)));
  m.setVertexIndices(IntArray::of(std::span<const int32_t>(kCubeIndices)));
  EXPECT_TRUE(m.init());
  EXPECT_EQ(kelhost::lastStubResult().advanced, 1) << "a boolean result leaves one word";
  EXPECT_NE(m.nativeModel(), 0);
  m.setFaceNormals(FloatArray::create(36));
  EXPECT_TRUE(m.generateFaceNormals());
  return m;
}

// generateVertexNormals, then the arrays the Java side allocates for them.
void generateVertexNormals(KELRendModel m, float crease) {
  EXPECT_TRUE(m.generateVertexNormals(crease));
  m.setNormals(FloatArray::create(static_cast<std::size_t>(m.normalCount()) * 3));
  m.setNormalIndices(IntArray::create(36));
  m.copyVertexNormals();
}

// The vertex normal of the first corner that uses vertex v.
std::array<float, 3> normalAtVertex(KELRendModel m, int v) {
  for (int corner = 0; corner < 36; ++corner) {
    if (kCubeIndices[corner] == v) {
      const int32_t n = m.normalIndices()[static_cast<std::size_t>(corner)];
      return {m.normals()[static_cast<std::size_t>(3 * n)], m.normals()[static_cast<std::size_t>(3 * n + 1)],
              m.normals()[static_cast<std::size_t>(3 * n + 2)]};
    }
  }
  return {};
}

TEST_F(ModelProgram, CubeNormals) {
  // Face normals: each triangle's outward axis.
  KELRendModel sharp = cube();
  for (int t = 0; t < 12; ++t) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(sharp.faceNormals()[static_cast<std::size_t>(3 * t + k)], kFaceAxis[t / 2][k]) << "triangle " << t;
    }
  }

  // A crease of 0.5 radians keeps the faces apart: three normals per corner
  // of the cube, one per face meeting there, shared by the face's triangles.
  generateVertexNormals(sharp, 0.5f);
  EXPECT_EQ(sharp.normalCount(), 24);
  std::set<int32_t> used;
  for (int corner = 0; corner < 36; ++corner) {
    const int32_t n = sharp.normalIndices()[static_cast<std::size_t>(corner)];
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 24);
    used.insert(n);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(sharp.normals()[static_cast<std::size_t>(3 * n + k)], kFaceAxis[corner / 6][k]) << "corner " << corner;
    }
  }
  EXPECT_EQ(used.size(), 24u);
  // Two corners of one face at one vertex share their normal: vertex 4 in
  // both +z triangles (corners 0 and 3).
  EXPECT_EQ(sharp.normalIndices()[0], sharp.normalIndices()[3]);

  // A crease of 2 radians (cosine below 0) smooths every vertex: 8 normals,
  // each the normalised sum of the unit normals of the triangles there.
  KELRendModel smooth = cube();
  generateVertexNormals(smooth, 2.0f);
  EXPECT_EQ(smooth.normalCount(), 8);
  const float third = 1.0f / std::sqrt(3.0f), sixth = 1.0f / std::sqrt(6.0f);
  // Vertex 7 (+, +, +) is in two triangles of each of its faces.
  const auto n7 = normalAtVertex(smooth, 7);
  EXPECT_NEAR(n7[0], third, 1e-6f);
  EXPECT_NEAR(n7[1], third, 1e-6f);
  EXPECT_NEAR(n7[2], third, 1e-6f);
  // Vertex 4 (-, -, +) is in both +z triangles but one triangle each of -x
  // and -y: the sum is (-1, -1, 2).
  const auto n4 = normalAtVertex(smooth, 4);
  EXPECT_NEAR(n4[0], -sixth, 1e-6f);
  EXPECT_NEAR(n4[1], -sixth, 1e-6f);
  EXPECT_NEAR(n4[2], 2 * sixth, 1e-6f);

  // A single triangle has no neighbours: it falls back to its face normal.
  const float xyz[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const int32_t indices[] = {0, 1, 2};
  KELRendModel one = makeTriangles(xyz, indices, {});
  EXPECT_TRUE(one.generateVertexNormals(0.5f));
  EXPECT_EQ(one.normalCount(), 0);
  one.copyVertexNormals();

  sharp.dispose();
  smooth.dispose();
  one.dispose();
}

}  // namespace
}  // namespace e2e
