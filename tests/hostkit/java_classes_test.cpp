// The value classes of kel.geom and kel.ruk: field layouts, and for every
// native the stub name and the argument words it is called with (a recording
// stub stands in for the library).
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <bit>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/kel_ruk.h"
#include "platform/display.h"

using namespace kel::ruk;
using kel::geom::BoundingBox3;
using kel::geom::Geom;

namespace {

struct Recorded {
  std::string name;
  std::vector<uint32_t> words;
  std::size_t count = 0;
} recorded;

std::string pendingName;
std::size_t expectedWords = 0;

JSlot* recordingStub(JSlot* slots, void*) {
  recorded.name = pendingName;
  recorded.words.assign(slots, slots + expectedWords);
  ++recorded.count;
  slots[0] = std::bit_cast<uint32_t>(2.5f);  // 1 as a boolean, 2.5 as a float
  return slots + 1;
}

kelhost::StubFunction route(const char* name) {
  pendingName = name;
  return &recordingStub;
}

uint32_t bits(float f) { return std::bit_cast<uint32_t>(f); }

struct Case {
  const char* stub;
  std::function<void()> call;
  std::vector<uint32_t> words;
};

class JavaClasses : public ::testing::Test {
 protected:
  void SetUp() override { kelhost::routeStubs(&route); }
  void TearDown() override { kelhost::routeStubs(nullptr); }

  // Runs every case and checks the stub it called. Then, against the built
  // renderer library: a class whose natives the library serves at all must
  // have every one of them (a misspelt method name shows up here).
  void check(const std::vector<Case>& cases) {
    void* library = dlopen(KELRUK_LIBRARY_PATH, RTLD_LAZY | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    std::map<std::string, std::vector<std::string>> missingByClass;
    std::map<std::string, int> foundByClass;
    for (const Case& c : cases) {
      const std::string stub = std::string("Java_") + c.stub + "_stub";
      const std::string className = std::string(c.stub).substr(0, std::string(c.stub).rfind('_'));
      if (dlsym(library, stub.c_str()) != nullptr) {
        ++foundByClass[className];
      } else {
        missingByClass[className].push_back(stub);
      }
      expectedWords = c.words.size();
      const std::size_t before = recorded.count;
      c.call();
      EXPECT_EQ(recorded.count, before + 1) << c.stub;
      EXPECT_EQ(recorded.name, std::string("Java_") + c.stub + "_stub");
      EXPECT_EQ(recorded.words, c.words) << c.stub;
    }
    for (const auto& [className, missing] : missingByClass) {
      if (foundByClass[className] > 0) ADD_FAILURE() << "the library lacks " << missing.front() << " of " << className;
    }
    dlclose(library);
  }
};

TEST_F(JavaClasses, GeomNatives) {
  const Vector3 v = Vector3::create(1, 2, 3), a = Vector3::create(), b = Vector3::create();
  const kel::geom::Quaternion q = kel::geom::Quaternion::create(), p = kel::geom::Quaternion::create();
  const Matrix4 m = Matrix4::create(), n = Matrix4::create();
  const Ray ray = Ray::create(a, b);
  const BoundingBox3 box = BoundingBox3::create(a, b), box2 = BoundingBox3::create(b, a);
  const uint32_t V = v.handle, A = a.handle, B = b.handle, Q = q.handle, P = p.handle, M = m.handle, N = n.handle;
  const float half = 0.5f;
  check({
      {"kel_geom_Vector3_magnitude", [&] { EXPECT_EQ(v.magnitude(), 2.5f); }, {V}},
      {"kel_geom_Vector3_dot", [&] { EXPECT_EQ(v.dot(a), 2.5f); }, {V, A}},
      {"kel_geom_Vector3_cross", [&] { v.cross(a, b); }, {V, A, B}},
      {"kel_geom_Vector3_crossmag", [&] { v.crossmag(b); }, {V, B}},
      {"kel_geom_Vector3_doNormalize", [&] { v.doNormalize(); }, {V}},
      {"kel_geom_Vector3_doNormalize2", [&] { v.doNormalize2(a); }, {V, A}},
      {"kel_geom_Quaternion_multiply", [&] { q.multiply(p, q); }, {Q, P, Q}},
      {"kel_geom_Quaternion_preMultiply", [&] { q.preMultiply(p); }, {Q, P}},
      {"kel_geom_Quaternion_postMultiply", [&] { q.postMultiply(p); }, {Q, P}},
      {"kel_geom_Quaternion_dot", [&] { EXPECT_EQ(q.dot(p), 2.5f); }, {Q, P}},
      {"kel_geom_Quaternion_doNormalize", [&] { q.doNormalize(); }, {Q}},
      {"kel_geom_Quaternion_doNormalize2", [&] { q.doNormalize2(p); }, {Q, P}},
      {"kel_geom_Quaternion_magnitude", [&] { q.magnitude(); }, {Q}},
      {"kel_geom_Quaternion_doRotation",
       [&] { q.doRotation(1, 0, -0.0f, half); },
       {Q, bits(1), 0, 0x80000000u, bits(half)}},
      {"kel_geom_Matrix4_identity", [&] { m.identity(); }, {M}},
      {"kel_geom_Matrix4_doTranslate", [&] { m.doTranslate(1, 2, 3); }, {M, bits(1), bits(2), bits(3)}},
      {"kel_geom_Matrix4_doTranslate2", [&] { m.doTranslate2(n, 1, 2, 3); }, {M, N, bits(1), bits(2), bits(3)}},
      {"kel_geom_Matrix4_doIsoscale", [&] { m.doIsoscale(2); }, {M, bits(2)}},
      {"kel_geom_Matrix4_doIsoscale2", [&] { m.doIsoscale2(n, 2); }, {M, N, bits(2)}},
      {"kel_geom_Matrix4_doScale", [&] { m.doScale(1, 2, 3); }, {M, bits(1), bits(2), bits(3)}},
      {"kel_geom_Matrix4_doScale2", [&] { m.doScale2(n, 1, 2, 3); }, {M, N, bits(1), bits(2), bits(3)}},
      {"kel_geom_Matrix4_doRotate", [&] { m.doRotate(1, 2, 3, half); }, {M, bits(1), bits(2), bits(3), bits(half)}},
      {"kel_geom_Matrix4_doRotate2",
       [&] { m.doRotate2(n, 1, 2, 3, half); },
       {M, N, bits(1), bits(2), bits(3), bits(half)}},
      {"kel_geom_Matrix4_doQuatRotate", [&] { m.doQuatRotate(q); }, {M, Q}},
      {"kel_geom_Matrix4_doQuatRotate2", [&] { m.doQuatRotate2(n, q); }, {M, N, Q}},
      {"kel_geom_Matrix4_preMultiply", [&] { m.preMultiply(n); }, {M, N}},
      {"kel_geom_Matrix4_postMultiply", [&] { m.postMultiply(n); }, {M, N}},
      {"kel_geom_Matrix4_multiply", [&] { m.multiply(n, m); }, {M, N, M}},
      {"kel_geom_Matrix4_doTranspose", [&] { m.doTranspose(); }, {M}},
      {"kel_geom_Matrix4_doTranspose2", [&] { m.doTranspose2(n); }, {M, N}},
      {"kel_geom_Matrix4_doInvert", [&] { EXPECT_TRUE(m.doInvert()); }, {M}},
      {"kel_geom_Matrix4_doInvert2", [&] { EXPECT_TRUE(m.doInvert2(n)); }, {M, N}},
      {"kel_geom_Matrix4_determinant", [&] { EXPECT_EQ(m.determinant(), 2.5f); }, {M}},
      {"kel_geom_BoundingBox3_transform", [&] { box.transform(m); }, {box.handle, M}},
      {"kel_geom_BoundingBox3_rayIntersection", [&] { box.rayIntersection(ray); }, {box.handle, ray.handle}},
      {"kel_geom_Geom_doTransformVector", [&] { Geom::doTransformVector(m, a, b); }, {M, A, B}},
      {"kel_geom_Geom_doTransformNormal", [&] { Geom::doTransformNormal(a, m, b); }, {A, M, B}},
      {"kel_geom_Geom_doTransformPoint", [&] { Geom::doTransformPoint(m, a, b); }, {M, A, B}},
      {"kel_geom_Geom_doTransformBoundingBox",
       [&] { Geom::doTransformBoundingBox(m, box, box2); },
       {M, box.handle, box2.handle}},
  });
}

TEST_F(JavaClasses, RukDeviceTextureAndModelNatives) {
  const KELRend3DDevice device = KELRend3DDevice::create();
  const KELRendTexture texture = KELRendTexture::create(device);
  const KELRendModel model = KELRendModel::create();
  const kelhost::ByteArray r = kelhost::ByteArray::create(4), g = kelhost::ByteArray::create(4),
                           bl = kelhost::ByteArray::create(4);
  const kelhost::IntArray pixels = kelhost::IntArray::create(16), palette = kelhost::IntArray::create(2);
  const uint32_t D = device.handle, T = texture.handle, Mo = model.handle;
  check({
      {"kel_ruk_KELRend3DDevice_initDirect",
       [&] { device.initDirect(0xF800, 0x07E0, 0x001F); },
       {D, 0xF800, 0x07E0, 0x001F}},
      {"kel_ruk_KELRend3DDevice_initIndexed",
       [&] { device.initIndexed(4, r, g, bl); },
       {D, 4, r.handle, g.handle, bl.handle}},
      {"kel_ruk_Graphics3DDevice_getDeviceClass", [&] { Graphics3DDevice::getDeviceClass(r); }, {r.handle}},
      {"kel_ruk_KELRendTexture_init", [&] { texture.init(8, 4); }, {T, 8, 4}},
      {"kel_ruk_KELRendTexture_doComplete", [&] { texture.doComplete(); }, {T}},
      {"kel_ruk_KELRendTexture_convertRect32",
       [&] { texture.convertRect32(1, 2, 3, 4, 0xFF0000, 0xFF00, 0xFF, -16777216, pixels, 5, 6); },
       {T, 1, 2, 3, 4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, pixels.handle, 5, 6}},
      {"kel_ruk_KELRendTexture_convertRect8",
       [&] { texture.convertRect8(1, 2, 3, 4, palette, 2, r, 5, 6); },
       {T, 1, 2, 3, 4, palette.handle, 2, r.handle, 5, 6}},
      {"kel_ruk_KELRendTexture_dispose", [&] { texture.dispose(); }, {T}},
      {"kel_ruk_KELRendModel_init", [&] { EXPECT_TRUE(model.init()); }, {Mo}},
      {"kel_ruk_KELRendModel_generateFaceNormals", [&] { model.generateFaceNormals(); }, {Mo}},
      {"kel_ruk_KELRendModel_generateVertexNormals", [&] { model.generateVertexNormals(0.5f); }, {Mo, bits(0.5f)}},
      {"kel_ruk_KELRendModel_copyVertexNormals", [&] { model.copyVertexNormals(); }, {Mo}},
      {"kel_ruk_KELRendModel_dispose", [&] { model.dispose(); }, {Mo}},
  });
}

TEST_F(JavaClasses, RukGraphics3DNatives) {
  const KELRend3DDevice device = KELRend3DDevice::create();
  const KELRendGraphics3D g = KELRendGraphics3D::create(device), other = KELRendGraphics3D::create(device);
  const KELRendModel model = KELRendModel::create();
  const KELRendTexture texture = KELRendTexture::create(device);
  const Matrix4 m = Matrix4::create();
  const kel::geom::Quaternion q = kel::geom::Quaternion::create();
  const Ray ray = Ray::create(Vector3::create(), Vector3::create(0, 0, -1));
  const PickResult pick = PickResult::create(PickResult::WANT_POINT, 100);
  const Material material = Material::create(1, 2, 3, 4, 5, 6);
  const Light light = Light::create();
  const kelhost::Graphics toolkit = kelhost::Graphics::create(0x1234);
  const uint32_t G = g.handle, M = m.handle, L = light.handle;
  const float f = 0.75f, z = -0.0f;
  const std::string prefix = "kel_ruk_KELRendGraphics3D_";
  std::vector<std::string> names;  // keeps the c_str()s alive
  names.reserve(64);
  auto n = [&](const char* method) { return names.emplace_back(prefix + method).c_str(); };
  check({
      {n("init"), [&] { EXPECT_TRUE(g.init(6, 320, 240)); }, {G, 6, 320, 240}},
      {n("dispose"), [&] { g.dispose(); }, {G}},
      {n("beginRendering"), [&] { g.beginRendering(); }, {G}},
      {n("endRendering"), [&] { g.endRendering(); }, {G}},
      {n("doPaint"), [&] { g.doPaint(toolkit, -3, 4); }, {G, toolkit.handle, 0xFFFFFFFDu, 4}},
      {n("doRender"), [&] { g.doRender(model); }, {G, model.handle}},
      {n("doRayPick"), [&] { EXPECT_TRUE(g.doRayPick(model, ray, pick)); }, {G, model.handle, ray.handle, pick.handle}},
      {n("concatModelMatrix"), [&] { g.concatModelMatrix(m); }, {G, M}},
      {n("loadModelMatrix"), [&] { g.loadModelMatrix(m); }, {G, M}},
      {n("popModelMatrix"), [&] { g.popModelMatrix(); }, {G}},
      {n("resetModelMatrix"), [&] { g.resetModelMatrix(); }, {G}},
      {n("translateModel"), [&] { g.translateModel(1, 2, z); }, {G, bits(1), bits(2), bits(z)}},
      {n("doScaleModel"), [&] { g.doScaleModel(1, 2, 3); }, {G, bits(1), bits(2), bits(3)}},
      {n("doRotateModel"), [&] { g.doRotateModel(0, 1, 0, f); }, {G, 0, bits(1), 0, bits(f)}},
      {n("doQuatRotateModel"), [&] { g.doQuatRotateModel(q); }, {G, q.handle}},
      {n("doGetModelMatrix"), [&] { g.doGetModelMatrix(m); }, {G, M}},
      {n("loadTextureMatrix"), [&] { g.loadTextureMatrix(m); }, {G, M}},
      {n("doGetTextureMatrix"), [&] { g.doGetTextureMatrix(m); }, {G, M}},
      {n("doSetPerspectiveProjection"),
       [&] { g.doSetPerspectiveProjection(1, 2, 3, 4); },
       {G, bits(1), bits(2), bits(3), bits(4)}},
      {n("doSetOrthographicProjection"),
       [&] { g.doSetOrthographicProjection(1, 2, 3, 4); },
       {G, bits(1), bits(2), bits(3), bits(4)}},
      {n("setMaterial"), [&] { g.setMaterial(material); }, {G, material.handle}},
      {n("setModifiedMaterialColor"), [&] { g.setModifiedMaterialColor(-1); }, {G, 0xFFFFFFFFu}},
      {n("pushDirectionalLight"), [&] { g.pushDirectionalLight(light); }, {G, L}},
      {n("pushPointLight"), [&] { g.pushPointLight(light); }, {G, L}},
      {n("pushSpotLight"), [&] { g.pushSpotLight(light); }, {G, L}},
      {n("popLight"), [&] { g.popLight(); }, {G}},
      {n("resetLights"), [&] { g.resetLights(); }, {G}},
      {n("doSetFog"), [&] { g.doSetFog(1, 0x808080, 1, 2, f); }, {G, 1, 0x808080, bits(1), bits(2), bits(f)}},
      {n("setDepthBufferMask"), [&] { g.setDepthBufferMask(3); }, {G, 3}},
      {n("doUseTexture"), [&] { g.doUseTexture(texture); }, {G, texture.handle}},
      {n("doSetTextureCoordinateGeneration"),
       [&] { g.doSetTextureCoordinateGeneration(1, 2, 3, 4, 5, 6, 7, 8); },
       {G, 1, 2, bits(3), bits(4), bits(5), bits(6), bits(7), bits(8)}},
      {n("enableFeature"), [&] { g.enableFeature(7); }, {G, 7}},
      {n("disableFeature"), [&] { g.disableFeature(0); }, {G, 0}},
      {n("setModelRenderMode"), [&] { g.setModelRenderMode(2); }, {G, 2}},
      {n("setShadeMode"), [&] { g.setShadeMode(1); }, {G, 1}},
      {n("setTextureBlendMode"), [&] { g.setTextureBlendMode(1); }, {G, 1}},
      {n("setTextureFilter"), [&] { g.setTextureFilter(5); }, {G, 5}},
      {n("setTextureWrapping"), [&] { g.setTextureWrapping(true, false); }, {G, 1, 0}},
      {n("clear"), [&] { g.clear(3); }, {G, 3}},
      {n("doSetClearColor"), [&] { g.doSetClearColor(0x123456); }, {G, 0x123456}},
      {n("setClearDepth"), [&] { g.setClearDepth(f); }, {G, bits(f)}},
      {n("enableTwoSidedLighting"), [&] { g.enableTwoSidedLighting(); }, {G}},
      {n("disableTwoSidedLighting"), [&] { g.disableTwoSidedLighting(); }, {G}},
      {n("enableBackfaceCulling"), [&] { g.enableBackfaceCulling(); }, {G}},
      {n("disableBackfaceCulling"), [&] { g.disableBackfaceCulling(); }, {G}},
      {n("doCopyBuffers"), [&] { g.doCopyBuffers(other, 1); }, {G, other.handle, 1}},
      {n("accumulate"), [&] { g.accumulate(f); }, {G, bits(f)}},
      {n("accumLoad"), [&] { g.accumLoad(f); }, {G, bits(f)}},
      {n("accumReturn"), [&] { g.accumReturn(f); }, {G, bits(f)}},
      {n("accumMult"), [&] { g.accumMult(f); }, {G, bits(f)}},
  });
  EXPECT_EQ(names.size(), 50u) << "every native of KELRendGraphics3D";
}

TEST(JavaClassLayouts, FieldNumbersMatchTheJavaFieldBlocks) {
  const KELRend3DDevice device = KELRend3DDevice::create();
  const KELRendGraphics3D g = KELRendGraphics3D::create(device);
  g.setWindow(0xABCD);
  g.setContext(77);
  EXPECT_EQ(kelhost::getHandle(g.handle, 0), device.handle);
  EXPECT_EQ(kelhost::getWord(g.handle, 6), 0xABCDu);
  EXPECT_EQ(kelhost::getInt(g.handle, 7), 77);
  EXPECT_GE(kelhost::lengthOf(g.handle), 8u);

  const KELRendTexture t = KELRendTexture::create(device);
  t.setComplete(1);
  t.setNativeTexture(9);
  EXPECT_EQ(kelhost::getHandle(t.handle, 0), device.handle);
  EXPECT_EQ(kelhost::getInt(t.handle, 6), 1);
  EXPECT_EQ(kelhost::getInt(t.handle, 10), 9);
  EXPECT_EQ(kelhost::lengthOf(t.handle), 11u);

  const KELRendModel model = KELRendModel::create();
  const kelhost::FloatArray vertices = kelhost::FloatArray::of({0, 0, 0, 1, 0, 0, 0, 1, 0});
  const kelhost::IntArray indices = kelhost::IntArray::of({0, 1, 2});
  model.setPrimitiveKind(KELRendModel::LINES);
  model.setPrimitiveCount(1);
  model.setVertexCount(3);
  model.setNormalCount(4);
  model.setTexCoordCount(5);
  model.setNormalBinding(2);
  model.setColorBinding(1);
  model.setTexCoordBinding(2);
  model.setReady(1);
  model.setVertices(vertices);
  model.setVertexIndices(indices);
  model.setColors(indices);
  const std::vector<std::pair<int, uint32_t>> words = {{1, 1},
                                                       {2, 1},
                                                       {3, 3},
                                                       {5, 4},
                                                       {6, 5},
                                                       {10, 2},
                                                       {11, 1},
                                                       {12, 2},
                                                       {15, 1},
                                                       {16, vertices.handle},
                                                       {17, 0},
                                                       {18, 0},
                                                       {19, 0},
                                                       {20, indices.handle},
                                                       {23, indices.handle}};
  for (auto [field, word] : words) EXPECT_EQ(kelhost::getWord(model.handle, field), word) << "field " << field;
  EXPECT_EQ(kelhost::lengthOf(model.handle), 24u);
  EXPECT_EQ(model.vertices()[4], 0.0f);
  EXPECT_EQ(model.vertices()[3], 1.0f);
  EXPECT_EQ(model.vertexIndices().size(), 3u);

  const Material material = Material::create(0x1000001, 2, 3, 4, -0.0f, 300);
  EXPECT_EQ(kelhost::getWord(material.handle, 0), 0x1000001u);
  EXPECT_EQ(kelhost::getWord(material.handle, 4), 0x80000000u);
  EXPECT_EQ(kelhost::getInt(material.handle, 5), 300);

  const Light light = Light::create();
  light.setColor(0xFF0000);
  light.setAmbient(0x0000FF);
  light.setAttenuation(1, 2, 3);
  light.setRange(4);
  light.setCone(0.5f, 0.75f);
  const std::vector<std::pair<int, float>> lightFloats = {{4, 1}, {5, 2}, {6, 3}, {7, 4}, {9, 0.5f}, {10, 0.75f}};
  for (auto [field, value] : lightFloats) EXPECT_EQ(kelhost::getFloat(light.handle, field), value) << "field " << field;
  EXPECT_EQ(kelhost::getInt(light.handle, 0), 0xFF0000);
  EXPECT_EQ(kelhost::getInt(light.handle, 2), 0x0000FF);
  EXPECT_EQ(kelhost::getHandle(light.handle, 3), light.position().handle);
  EXPECT_EQ(kelhost::getHandle(light.handle, 8), light.direction().handle);
  EXPECT_NE(light.position().handle, light.direction().handle);

  const PickResult pick = PickResult::create(7, 50);
  EXPECT_EQ(kelhost::getInt(pick.handle, 0), 7);
  EXPECT_EQ(kelhost::getFloat(pick.handle, 1), 50.0f);
  EXPECT_NE(pick.point().handle, 0u);
  EXPECT_NE(pick.normal().handle, 0u);
  EXPECT_EQ(kelhost::lengthOf(pick.uv().handle), 2u);

  const Matrix4 m = Matrix4::create();
  m.setElement(12, 5);
  m.setHints(0x400);
  EXPECT_EQ(kelhost::lengthOf(m.handle), 17u);
  EXPECT_EQ(m.words()[12], std::bit_cast<uint32_t>(5.0f));
  EXPECT_EQ(m.words()[16], 0x400u);

  const Vector3 c = Vector3::create(1, 2, 3), h = Vector3::create(-1, 0, 0);
  const BoundingBox3 box = BoundingBox3::create(c, h);
  EXPECT_EQ(kelhost::getHandle(box.handle, 0), c.handle);
  EXPECT_EQ(box.halfExtents().x(), -1.0f);
  const Ray ray = Ray::create(c, h);
  EXPECT_EQ(kelhost::getHandle(ray.handle, 1), h.handle);
}

TEST(JavaClassLayouts, ToolkitGraphicsRecordHoldsTheDeviceContext) {
  const HDC surface = displayCreateSurface(2, 2);
  const kelhost::Graphics graphics = kelhost::Graphics::create(surface);
  const uint32_t recordAddress = kelhost::getWord(graphics.handle, 0);
  ASSERT_NE(recordAddress, 0u);
  EXPECT_EQ(*kelhost::pointer32<uint32_t>(recordAddress), surface);
  EXPECT_EQ(graphics.dc(), surface);
  displayDestroySurface(surface);
}

}  // namespace
